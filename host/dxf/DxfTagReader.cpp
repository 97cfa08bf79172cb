// Group reading for ASCII and binary DXF files.
#include "host/dxf/DxfTagReader.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <charconv>
#include <cstdint>
#include <cmath>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "host/dxf/DxfOutput.h"

namespace fendo::dxf {

BinaryValue binaryValueKind(int c)
{
    if ((c >= 10 && c <= 59) || (c >= 110 && c <= 149) || (c >= 210 && c <= 239) || (c >= 460 && c <= 469) ||
        (c >= 1010 && c <= 1059))
        return BinaryValue::Double;
    if ((c >= 60 && c <= 79) || (c >= 170 && c <= 179) || (c >= 270 && c <= 289) || (c >= 370 && c <= 389) ||
        (c >= 400 && c <= 409) || (c >= 1060 && c <= 1070))
        return BinaryValue::Int16;
    if ((c >= 90 && c <= 99) || (c >= 420 && c <= 429) || (c >= 440 && c <= 459) || c == 1071)
        return BinaryValue::Int32;
    if (c >= 160 && c <= 169) return BinaryValue::Int64;
    if (c >= 290 && c <= 299) return BinaryValue::Bool;
    if ((c >= 310 && c <= 319) || c == 1004) return BinaryValue::Bytes;
    return BinaryValue::String;
}


namespace {

// The end of a value line from p: the first line feed or NUL byte (or end). special tells
// whether a byte before it is beyond ASCII, a backslash or a caret (a text the loader must
// decode). Eight bytes are looked at a time while eight remain.
const char* scanValueLine(const char* p, const char* end, bool& special)
{
    constexpr std::uint64_t kOnes = 0x0101010101010101ull, kHighs = 0x8080808080808080ull;
    // A high bit in each byte of v that is zero; exact up to the lowest such byte, which is
    // all that is used.
    auto zeroBytes = [](std::uint64_t v) { return (v - kOnes) & ~v & kHighs; };
    std::uint64_t seen = 0;
#if defined(__SSE2__)
    // Sixteen bytes at a time where the processor has SSE2 (every x86-64 does): most values
    // end within the first sixteen.
    const __m128i lf = _mm_set1_epi8('\n'), nul = _mm_setzero_si128(), backslash = _mm_set1_epi8('\\'),
                  caret = _mm_set1_epi8('^');
    while (end - p >= 16) {
        const __m128i w = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const unsigned stop =
            static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(w, lf), _mm_cmpeq_epi8(w, nul))));
        const unsigned odd = static_cast<unsigned>(
            _mm_movemask_epi8(_mm_or_si128(w, _mm_or_si128(_mm_cmpeq_epi8(w, backslash), _mm_cmpeq_epi8(w, caret)))));
        if (stop) {
            const int at = __builtin_ctz(stop);
            seen |= odd & ((1u << at) - 1);
            special = seen != 0;
            return p + at;
        }
        seen |= odd;
        p += 16;
    }
#endif
    while (end - p >= 8) {
        std::uint64_t w;
        std::memcpy(&w, p, 8);
        if constexpr (std::endian::native == std::endian::big) w = __builtin_bswap64(w);
        const std::uint64_t stop = zeroBytes(w ^ (kOnes * '\n')) | zeroBytes(w);
        const std::uint64_t odd = (w & kHighs) | zeroBytes(w ^ (kOnes * '\\')) | zeroBytes(w ^ (kOnes * '^'));
        if (stop) {
            const int bit = __builtin_ctzll(stop);  // the high bit of the first stop byte
            seen |= odd & ((std::uint64_t{1} << (bit - 7)) - 1);
            special = seen != 0;
            return p + bit / 8;
        }
        seen |= odd;
        p += 8;
    }
    for (; p < end && *p != '\n' && *p != '\0'; ++p) {
        const auto c = static_cast<unsigned char>(*p);
        if (c >= 0x80 || c == '\\' || c == '^') seen = 1;
    }
    special = seen != 0;
    return p;
}

}  // namespace

DxfTagReader::DxfTagReader(std::string_view data) : m_data(data)
{
    if (m_data.starts_with(kBinarySentinel)) {
        m_binary = true;
        m_pos = kBinarySentinel.size();
        // The first group is 0 SECTION: a second zero byte means two-byte codes.
        m_wideCodes = m_pos + 1 < m_data.size() && m_data[m_pos] == 0 && m_data[m_pos + 1] == 0;
    } else if (m_data.starts_with("\xEF\xBB\xBF")) {
        m_pos = 3;  // a byte order mark some editors add
    }
}

DxfTagReader::DxfTagReader(DxfByteSource& source, std::size_t windowBytes)
    : m_source(&source), m_windowBytes(std::max<std::size_t>(windowBytes, 16)),
      m_refillBelow(std::min<std::size_t>(4096, m_windowBytes / 4)), m_sourceDone(false)
{
    if (!moveWindow(0)) return;
    if (m_data.starts_with(kBinarySentinel)) {
        // Binary groups are read from the whole file.
        while (!m_sourceDone)
            if (!moveWindow(2 * m_data.size())) return;
        Window whole = std::move(m_window);
        *this = DxfTagReader(m_data);
        m_window = std::move(whole);
    } else if (m_data.starts_with("\xEF\xBB\xBF")) {
        m_pos = 3;
    }
}

bool DxfTagReader::moveWindow(std::size_t need)
{
    const std::size_t keep = m_data.size() - m_lastPos;
    const std::size_t capacity = std::max(m_windowBytes, keep + need);
    Window next;
    for (auto it = m_spare.begin(); it != m_spare.end(); ++it)
        if (it->capacity >= capacity) {
            next = std::move(*it);
            m_spare.erase(it);
            break;
        }
    if (!next.bytes) {
        next.bytes = std::make_unique_for_overwrite<char[]>(capacity);
        next.capacity = capacity;
    }
    if (keep > 0) std::memcpy(next.bytes.get(), m_data.data() + m_lastPos, keep);
    std::size_t filled = keep;
    while (filled < next.capacity) {
        const long n = m_source->read(next.bytes.get() + filled, next.capacity - filled);
        if (n < 0) {
            const std::string reason = std::strerror(errno);
            return fail(m_line, "cannot read the file: " + reason);
        }
        if (n == 0) {
            m_sourceDone = true;
            break;
        }
        filled += static_cast<std::size_t>(n);
    }
    m_windowStart += m_lastPos;
    m_pos -= m_lastPos;
    m_lastPos = 0;
    if (m_window.bytes) m_earlier.push_back(std::move(m_window));
    m_window = std::move(next);
    m_data = std::string_view(m_window.bytes.get(), filled);
    return true;
}

bool DxfTagReader::windowHoldsGroup()
{
    while (!m_sourceDone) {
        const std::size_t eol = m_data.find('\n', m_pos);
        if (eol != std::string_view::npos && m_data.find('\n', eol + 1) != std::string_view::npos) return true;
        if (!moveWindow(2 * (m_data.size() - m_lastPos))) return false;
    }
    return true;
}

void DxfTagReader::keepSpareWindows()
{
    // Two spare windows serve the usual reads; bigger ones made for long lines go.
    for (Window& w : m_earlier)
        if (m_spare.size() < 2) m_spare.push_back(std::move(w));
    m_earlier.clear();
}

std::string DxfTagReader::where(int lineOrOffset) const
{
    return (m_binary ? "byte " : "line ") + std::to_string(lineOrOffset);
}

int DxfTagReader::position() const { return m_binary ? static_cast<int>(m_pos) : m_line; }

bool DxfTagReader::fail(int at, const std::string& what)
{
    if (m_error.empty()) m_error = where(at) + ": " + what;
    m_pos = m_data.size();  // nothing more is read after an error
    return false;
}


bool DxfTagReader::nextPlainAscii(DxfTag& tag)
{
    if (m_data.size() - m_pos < m_refillBelow && !m_sourceDone && !moveWindow(0)) return false;
    const char* p = m_data.data() + m_pos;
    const char* const end = m_data.data() + m_data.size();
    auto digit = [](char c) { return static_cast<unsigned>(c - '0') <= 9; };
    int code = 0;
    if (end - p >= 4 && p[3] == '\n' && digit(p[2]) &&
        (p[1] == ' ' ? p[0] == ' ' : digit(p[1]) && (p[0] == ' ' || digit(p[0])))) {
        // The code as writers put it, right-aligned in three columns.
        code = p[2] - '0';
        if (p[1] != ' ') code += 10 * (p[1] - '0');
        if (p[0] != ' ') code += 100 * (p[0] - '0');
        p += 4;
    } else {
        while (p < end && *p == ' ') ++p;
        int digits = 0;
        while (p < end && digit(*p) && digits < 6) {
            code = code * 10 + (*p++ - '0');
            ++digits;
        }
        if (p < end && *p == '\r') ++p;
        if (digits == 0 || p >= end || *p != '\n') return false;
        ++p;
    }
    const char* const value = p;
    bool special = false;
    p = scanValueLine(p, end, special);
    if (p >= end || *p != '\n') return false;
    const char* valueEnd = p > value && p[-1] == '\r' ? p - 1 : p;
    tag.code = code;
    tag.value = std::string_view(value, static_cast<size_t>(valueEnd - value));
    tag.line = m_line;
    tag.plain = !special;
    m_line += 2;
    m_pos = static_cast<size_t>(p + 1 - m_data.data());
    return true;
}

// Any group form: blank lines, tabs, long codes, a last line without a line feed, errors.
bool DxfTagReader::nextAsciiGeneral(DxfTag& tag)
{
    // Skips blank lines between groups (some writers end files with them).
    while (windowHoldsGroup() && m_pos < m_data.size()) {
        const size_t eol = m_data.find('\n', m_pos);
        std::string_view codeLine = m_data.substr(m_pos, eol == std::string_view::npos ? std::string_view::npos : eol - m_pos);
        const int codeLineNo = m_line;
        while (!codeLine.empty() && (codeLine.back() == '\r' || codeLine.back() == ' ' || codeLine.back() == '\t'))
            codeLine.remove_suffix(1);
        while (!codeLine.empty() && (codeLine.front() == ' ' || codeLine.front() == '\t')) codeLine.remove_prefix(1);
        m_pos = eol == std::string_view::npos ? m_data.size() : eol + 1;
        ++m_line;
        if (codeLine.empty()) {
            if (m_pos >= m_data.size()) return false;
            continue;
        }
        int code = 0;
        auto r = std::from_chars(codeLine.data(), codeLine.data() + codeLine.size(), code);
        if (r.ec != std::errc() || r.ptr != codeLine.data() + codeLine.size()) {
            std::string shown(codeLine.substr(0, 40));
            for (char& c : shown)
                if (static_cast<unsigned char>(c) < 0x20) c = '?';
            return fail(codeLineNo, "expected a group code (an integer), found '" + shown + "'");
        }
        if (m_pos >= m_data.size())
            return fail(codeLineNo, "group code " + std::to_string(code) + ": expected a value, found the end of the file");
        const size_t vend = m_data.find('\n', m_pos);
        std::string_view value =
            m_data.substr(m_pos, vend == std::string_view::npos ? std::string_view::npos : vend - m_pos);
        if (!value.empty() && value.back() == '\r') value.remove_suffix(1);
        // A text file holds no NUL bytes; a value with one would lose its rest on saving.
        if (value.find('\0') != std::string_view::npos)
            return fail(codeLineNo + 1, "group code " + std::to_string(code) + ": expected text, found a NUL byte");
        m_pos = vend == std::string_view::npos ? m_data.size() : vend + 1;
        ++m_line;
        tag.code = code;
        tag.value = value;
        tag.line = codeLineNo;
        tag.plain = false;
        return true;
    }
    return false;
}

bool DxfTagReader::nextBinary(DxfTag& tag)
{
    if (m_pos >= m_data.size()) return false;
    const int at = static_cast<int>(m_pos);
    auto need = [&](size_t n) { return m_pos + n <= m_data.size(); };
    int code = 0;
    if (m_wideCodes) {
        if (!need(2)) return fail(at, "expected a group code, found the end of the file");
        code = static_cast<std::int16_t>(static_cast<unsigned char>(m_data[m_pos]) |
                                         (static_cast<unsigned char>(m_data[m_pos + 1]) << 8));
        m_pos += 2;
    } else {
        code = static_cast<unsigned char>(m_data[m_pos++]);
        if (code == 255) {  // extended code in the next two bytes
            if (!need(2)) return fail(at, "expected a group code, found the end of the file");
            code = static_cast<unsigned char>(m_data[m_pos]) | (static_cast<unsigned char>(m_data[m_pos + 1]) << 8);
            m_pos += 2;
        }
    }
    if (code < 0 || code > 1071)
        return fail(at, "expected a group code, found " + std::to_string(code));
    tag.code = code;
    tag.line = at;
    tag.plain = false;
    const std::string truncated = "group code " + std::to_string(code) + ": expected a value, found the end of the file";
    char tmp[48];
    switch (binaryValueKind(code)) {
    case BinaryValue::String: {
        const size_t end = m_data.find('\0', m_pos);
        if (end == std::string_view::npos) return fail(at, truncated);
        tag.value = m_data.substr(m_pos, end - m_pos);
        m_pos = end + 1;
        return true;
    }
    case BinaryValue::Double: {
        if (!need(8)) return fail(at, truncated);
        double v;
        std::memcpy(&v, m_data.data() + m_pos, 8);
        m_pos += 8;
        if (std::isfinite(v))
            m_text.assign(tmp, DxfOutput::formatDouble(tmp, v));
        else
            m_text = std::isnan(v) ? "nan" : "inf";  // refused, with a message, where a number is read
        tag.value = m_text;
        return true;
    }
    case BinaryValue::Int16:
    case BinaryValue::Int32:
    case BinaryValue::Int64:
    case BinaryValue::Bool: {
        const BinaryValue kind = binaryValueKind(code);
        const size_t n = kind == BinaryValue::Int16 ? 2 : kind == BinaryValue::Int32 ? 4 : kind == BinaryValue::Int64 ? 8 : 1;
        if (!need(n)) return fail(at, truncated);
        long long v = 0;
        if (n == 1) {
            v = static_cast<unsigned char>(m_data[m_pos]);
        } else if (n == 2) {
            std::int16_t x;
            std::memcpy(&x, m_data.data() + m_pos, 2);
            v = x;
        } else if (n == 4) {
            std::int32_t x;
            std::memcpy(&x, m_data.data() + m_pos, 4);
            v = x;
        } else {
            std::int64_t x;
            std::memcpy(&x, m_data.data() + m_pos, 8);
            v = x;
        }
        m_pos += n;
        auto r = std::to_chars(tmp, tmp + sizeof tmp, v);
        m_text.assign(tmp, r.ptr);
        tag.value = m_text;
        return true;
    }
    case BinaryValue::Bytes: {
        if (!need(1)) return fail(at, truncated);
        const size_t n = static_cast<unsigned char>(m_data[m_pos++]);
        if (!need(n)) return fail(at, truncated);
        static constexpr char kDigits[] = "0123456789ABCDEF";
        m_text.resize(2 * n);
        for (size_t i = 0; i < n; ++i) {
            const auto b = static_cast<unsigned char>(m_data[m_pos + i]);
            m_text[2 * i] = kDigits[b >> 4];
            m_text[2 * i + 1] = kDigits[b & 0xF];
        }
        tag.value = m_text;
        m_pos += n;
        return true;
    }
    }
    return false;
}

}  // namespace fendo::dxf
