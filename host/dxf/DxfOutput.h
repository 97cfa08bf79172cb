// The buffered text writer behind DXF saving: groups are formatted straight into one
// growing buffer that is handed to the file in large blocks, so writing a drawing makes
// no allocation per group.
#pragma once
#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

#include "host/dxf/DxfTagReader.h"

namespace fendo::dxf {

// A growing block of text: groups are formatted straight into room() and committed.
class TextBuffer {
public:
    // At least n bytes to write at the returned place; commit(end) keeps them.
    char* room(std::size_t n)
    {
        if (m_capacity - m_size < n) grow(n);
        return m_data.get() + m_size;
    }
    void commit(const char* end) { m_size = static_cast<std::size_t>(end - m_data.get()); }
    void append(const char* p, std::size_t n)
    {
        if (n) std::memcpy(room(n), p, n);
        m_size += n;
    }
    void append(std::string_view s) { append(s.data(), s.size()); }
    void push_back(char c)
    {
        *room(1) = c;
        ++m_size;
    }
    void reserve(std::size_t n)
    {
        if (n > m_capacity) grow(n - m_size);
    }
    std::size_t size() const { return m_size; }
    bool empty() const { return m_size == 0; }
    const char* data() const { return m_data.get(); }
    void clear() { m_size = 0; }
    std::string_view view() const { return {m_data.get(), m_size}; }

private:
    void grow(std::size_t n)
    {
        const std::size_t capacity = std::max({m_capacity * 2, m_size + n, std::size_t(4096)});
        auto data = std::make_unique_for_overwrite<char[]>(capacity);
        if (m_size) std::memcpy(data.get(), m_data.get(), m_size);
        m_data = std::move(data);
        m_capacity = capacity;
    }
    std::unique_ptr<char[]> m_data;
    std::size_t m_size = 0, m_capacity = 0;
};

class DxfOutput {
public:
    // Without a file the text collects in buffer() (used by tests and in-memory filing), in
    // room that grows as it is needed.
    explicit DxfOutput(std::FILE* file = nullptr) : m_file(file)
    {
        if (file) m_buf.reserve(kFlushSize + 4096);
    }

    // Binary files: the sentinel now, then every group as its code in two bytes and its value
    // in the binary form its code calls for. R12 files give a code one byte (255 and two
    // bytes for codes above 254).
    void startBinary(bool oneByteCodes = false)
    {
        m_binary = true;
        m_oneByteCodes = oneByteCodes;
        m_buf.append(kBinarySentinel);
    }
    // Files before R2007 are not UTF-8: texts write characters beyond ASCII as \U+XXXX.
    void setEscapeUnicode(bool escape) { m_escapeUnicode = escape; }
    ~DxfOutput() { flush(); }
    DxfOutput(const DxfOutput&) = delete;
    DxfOutput& operator=(const DxfOutput&) = delete;

    void group(int code, std::string_view value)
    {
        if (m_escapeUnicode && binaryValueKind(code) == BinaryValue::String && hasNonAscii(value))
            return groupEscaped(code, value);
        if (m_binary) return binaryGroup(code, value);
        if (mayNeedCaret(value) && needsCaret(value)) {
            codeLine(code);
            appendCaretEncoded(value);
            m_buf.push_back('\n');
        } else {
            // The code and value lines go to the buffer in one piece.
            char* p = codeLineTo(m_buf.room(kCodeLine + value.size() + 1), code);
            std::memcpy(p, value.data(), value.size());
            p += value.size();
            *p++ = '\n';
            m_buf.commit(p);
        }
        maybeFlush();
    }

    // A line feed or other control character cannot stand in a line of an ASCII file: DXF
    // writes it as a caret and a letter (^J for a line feed), and a caret that would read as
    // such a pair as "^ ". Texts from binary files may hold them. Carets that cannot be read
    // as a pair are written as they are, so texts other programs wrote come back unchanged.
    static bool pairLetter(char c) { return c >= 'A' && c <= '_'; }
    // Whether the caret at i must be written as "^ ": read alone it would begin a pair.
    static bool caretNeedsSpace(std::string_view s, size_t i)
    {
        return i + 1 < s.size() &&
               (pairLetter(s[i + 1]) || (s[i + 1] == ' ' && i + 2 < s.size() && (pairLetter(s[i + 2]) || s[i + 2] == ' ')));
    }
    // False when no byte of value is a control character or a caret (then needsCaret is
    // false too); eight bytes are looked at a time.
    static bool mayNeedCaret(std::string_view value)
    {
        constexpr std::uint64_t kOnes = 0x0101010101010101ull, kHighs = 0x8080808080808080ull;
        const char* p = value.data();
        const char* const end = p + value.size();
        for (; end - p >= 8; p += 8) {
            std::uint64_t w;
            std::memcpy(&w, p, 8);
            // Bytes below 0x20 and bytes equal to '^' (each test may also mark bytes above a
            // marked one, never when none is marked).
            const std::uint64_t caret = w ^ (kOnes * '^');
            if (((w - kOnes * 0x20) & ~w & kHighs) | ((caret - kOnes) & ~caret & kHighs)) return true;
        }
        for (; p < end; ++p)
            if (static_cast<unsigned char>(*p) < 0x20 || *p == '^') return true;
        return false;
    }
    static bool needsCaret(std::string_view value)
    {
        for (size_t i = 0; i < value.size(); ++i) {
            const auto c = static_cast<unsigned char>(value[i]);
            if ((c < 0x20 && c != 0) || (c == '^' && caretNeedsSpace(value, i))) return true;
        }
        return false;
    }
    void appendCaretEncoded(std::string_view value)
    {
        for (size_t i = 0; i < value.size(); ++i) {
            const auto c = static_cast<unsigned char>(value[i]);
            if (c < 0x20 && c != 0) {
                m_buf.push_back('^');
                m_buf.push_back(static_cast<char>(c + 0x40));
            } else if (c == '^' && caretNeedsSpace(value, i)) {
                m_buf.append("^ ");
            } else {
                m_buf.push_back(static_cast<char>(c));
            }
        }
    }
    // The text a caret-encoded value stands for (the reverse of the writing above).
    static std::string caretDecoded(std::string_view value)
    {
        std::string out;
        out.reserve(value.size());
        for (size_t i = 0; i < value.size(); ++i) {
            if (value[i] == '^' && i + 1 < value.size() && pairLetter(value[i + 1])) {
                out.push_back(static_cast<char>(value[++i] - 0x40));
            } else if (value[i] == '^' && caretNeedsSpace(value, i)) {
                out.push_back('^');  // "^ " before a letter: the caret itself
                ++i;
            } else {
                out.push_back(value[i]);
            }
        }
        return out;
    }

    void groupInt(int code, long long value)
    {
        if (m_binary) return binaryNumber(code, static_cast<double>(value), value);
        char* p = codeLineTo(m_buf.room(kCodeLine + 24), code);
        p = std::to_chars(p, p + 23, value).ptr;
        *p++ = '\n';
        m_buf.commit(p);
        maybeFlush();
    }
    void groupDouble(int code, double value)
    {
        if (m_binary) return binaryNumber(code, value, static_cast<long long>(value));
        char* p = formatDouble(codeLineTo(m_buf.room(kCodeLine + 48), code), value);
        *p++ = '\n';
        m_buf.commit(p);
        maybeFlush();
    }
    void groupHandle(int code, std::uint64_t handle)
    {
        if (m_binary) {
            char hex[20];
            return binaryGroup(code, std::string_view(hex, formatHex(hex, handle) - hex));
        }
        char* p = formatHex(codeLineTo(m_buf.room(kCodeLine + 20), code), handle);
        *p++ = '\n';
        m_buf.commit(p);
        maybeFlush();
    }

    // Writes what is buffered to the file; false once any write has failed.
    bool flush()
    {
        if (m_file && !m_buf.empty()) {
            m_total += m_buf.size();
            if (std::fwrite(m_buf.data(), 1, m_buf.size(), m_file) != m_buf.size()) m_failed = true;
            m_buf.clear();
        }
        return !m_failed;
    }
    bool failed() const { return m_failed; }
    std::uint64_t bytesWritten() const { return m_total; }
    std::string_view buffer() const { return m_buf.view(); }
    // Without a file: forgets the text collected.
    void clearBuffer() { m_buf.clear(); }
    bool isBinary() const { return m_binary; }
    bool escapesUnicode() const { return m_escapeUnicode; }
    // Groups another output of the same kind made, as they are.
    void raw(std::string_view bytes)
    {
        m_buf.append(bytes);
        maybeFlush();
    }

    // The shortest text that reads back to the same double; integral values keep a ".0"
    // so that the group still looks like a real number to strict readers.
    static char* formatDouble(char* out, double v)
    {
        if (!(v == v) || v > 1.7e308 || v < -1.7e308) v = 0.0;  // no NaN or infinity in a file
        if (v == 0.0) v = 0.0;                                   // no "-0.0"
        if (char* end = formatFewDecimals(out, v)) return end;
        return formatShortest(out, v);
    }
    // The general form: the shortest digits (found by the Dragonbox method, several times
    // faster than std::to_chars), written as std::to_chars would write them.
    static char* formatShortest(char* out, double v);
    // The same with std::to_chars itself: for the values whose text the few-decimals form
    // cannot give (exponents, 100 or more places).
    static char* formatWithToChars(char* out, double v)
    {
        auto r = std::to_chars(out, out + 39, v);
        char* end = r.ptr;
        bool plain = true;
        for (char* p = out; p < end; ++p)
            if (*p == '.' || *p == 'e') plain = false;
        if (plain) {
            *end++ = '.';
            *end++ = '0';
        }
        return end;
    }
    // Drawing coordinates mostly have a few decimals (5050.615): the value is tried as an
    // integer over 10^k for k = 0, 1, ... 8, and the first k whose quotient is the value
    // gives the same digits std::to_chars would choose, at a fraction of its cost. Values
    // where the exponent form is shorter, or too large for the test to be exact, give null.
    static char* formatFewDecimals(char* out, double v)
    {
        static constexpr double kPowers[] = {1, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8};
        // Below this n is the only integer whose quotient can be the value (see above).
        constexpr double kExact = 9007199254740992.0 / 16;
        if (v == 0.0) {
            std::memcpy(out, "0.0", 3);
            return out + 3;
        }
        const double a = v < 0 ? -v : v;
        if (a * kPowers[8] < kExact) {
            // One test at eight decimals settles it: if any k works, its integer times
            // 10^(8-k) is the one found here (the errors stay below one half), and its
            // quotient is the same correctly rounded value; the trailing zeros of that
            // integer then give the smallest k, and no k works when eight does not.
            auto n = static_cast<std::uint64_t>(a * kPowers[8] + 0.5);
            if (n == 0 || static_cast<double>(n) / kPowers[8] != a) return nullptr;
            // Trailing zeros off four, four, two and one at a time: any count up to eight.
            int k = 8;
            if (n % 10000 == 0) {
                n /= 10000;
                k -= 4;
            }
            if (k >= 4 && n % 10000 == 0) {
                n /= 10000;
                k -= 4;
            }
            if (k >= 2 && n % 100 == 0) {
                n /= 100;
                k -= 2;
            }
            if (k >= 1 && n % 10 == 0) {
                n /= 10;
                k -= 1;
            }
            return fewDecimalsText(out, v < 0, n, k);
        }
        for (int k = 0; k <= 8; ++k) {
            const double scaled = a * kPowers[k];
            if (scaled >= kExact) return nullptr;
            const auto n = static_cast<std::uint64_t>(scaled + 0.5);
            if (n == 0 || static_cast<double>(n) / kPowers[k] != a) continue;
            return fewDecimalsText(out, v < 0, n, k);
        }
        return nullptr;
    }
    // The text of n / 10^k as std::to_chars writes it (null where it would take the
    // exponent form).
    static char* fewDecimalsText(char* out, bool negative, std::uint64_t n, int k)
    {
        char digits[24];
        auto r = std::to_chars(digits, digits + sizeof digits, n);
        const int count = static_cast<int>(r.ptr - digits);
        int significant = count;
        while (significant > 1 && digits[significant - 1] == '0') --significant;
        const int intDigits = count - k;  // <= 0 below 1
        const int fixedLength = intDigits > 0 ? intDigits + (k ? 1 + k : 0) : 2 + k;
        const int exponent = intDigits - 1;  // of the first digit: n has no leading zeros
        if (exponent <= -100 || exponent >= 100) return nullptr;
        const int scientificLength = significant + (significant > 1 ? 1 : 0) + 4;
        if (fixedLength > scientificLength) return nullptr;  // to_chars writes 1e+06
        char* p = out;
        if (negative) *p++ = '-';
        if (intDigits > 0) {
            std::memcpy(p, digits, static_cast<size_t>(intDigits));
            p += intDigits;
            *p++ = '.';
            if (k == 0) {
                *p++ = '0';
            } else {
                std::memcpy(p, digits + intDigits, static_cast<size_t>(k));
                p += k;
            }
        } else {
            *p++ = '0';
            *p++ = '.';
            for (int z = 0; z < -intDigits; ++z) *p++ = '0';
            std::memcpy(p, digits, static_cast<size_t>(count));
            p += count;
        }
        return p;
    }
    static char* formatHex(char* out, std::uint64_t v)
    {
        static constexpr char kDigits[] = "0123456789ABCDEF";
        char tmp[16];
        int n = 0;
        do {
            tmp[n++] = kDigits[v & 0xF];
            v >>= 4;
        } while (v);
        while (n) *out++ = tmp[--n];
        return out;
    }

private:
    static constexpr size_t kFlushSize = 1 << 20;
    static constexpr size_t kCodeLine = 16;  // the longest code line and its line feed
    static constexpr std::string_view kBinarySentinel{"AutoCAD Binary DXF\r\n\x1a\0", 22};

    static bool hasNonAscii(std::string_view s)
    {
        for (char c : s)
            if (static_cast<unsigned char>(c) >= 0x80) return true;
        return false;
    }
    // UTF-8 to ASCII with \U+XXXX for every other character (UTF-16 units beyond the BMP).
    void groupEscaped(int code, std::string_view value)
    {
        std::string out;
        for (size_t i = 0; i < value.size();) {
            const auto c = static_cast<unsigned char>(value[i]);
            if (c < 0x80) {
                out.push_back(static_cast<char>(c));
                ++i;
                continue;
            }
            const int length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
            std::uint32_t cp = length == 4 ? c & 0x07 : length == 3 ? c & 0x0F : length == 2 ? c & 0x1F : 0xFFFD;
            for (int k = 1; k < length && i + k < value.size(); ++k)
                cp = (cp << 6) | (static_cast<unsigned char>(value[i + k]) & 0x3F);
            i += static_cast<size_t>(length);
            auto unit = [&](std::uint32_t u) {
                char tmp[12];
                std::snprintf(tmp, sizeof tmp, "\\U+%04X", static_cast<unsigned>(u));
                out += tmp;
            };
            if (cp >= 0x10000) {
                unit(0xD800 + ((cp - 0x10000) >> 10));
                unit(0xDC00 + ((cp - 0x10000) & 0x3FF));
            } else {
                unit(cp);
            }
        }
        const bool escape = m_escapeUnicode;
        m_escapeUnicode = false;
        group(code, out);
        m_escapeUnicode = escape;
    }
    void binaryCode(int code)
    {
        if (m_oneByteCodes && code < 255) return m_buf.push_back(static_cast<char>(code));
        if (m_oneByteCodes) m_buf.push_back(static_cast<char>(0xFF));
        m_buf.push_back(static_cast<char>(code & 0xFF));
        m_buf.push_back(static_cast<char>((code >> 8) & 0xFF));
    }
    template <typename T>
    void binaryValue(T v)
    {
        char bytes[sizeof(T)];
        std::memcpy(bytes, &v, sizeof(T));
        m_buf.append(bytes, sizeof(T));
    }
    // A group whose value is given as the text an ASCII file would hold.
    void binaryGroup(int code, std::string_view text)
    {
        switch (binaryValueKind(code)) {
        case BinaryValue::String:
            binaryCode(code);
            m_buf.append(text.data(), text.size());
            m_buf.push_back('\0');
            break;
        case BinaryValue::Bytes: {
            // At most 255 bytes a group: longer data goes in several groups of the same code.
            auto nibble = [](char h) { return h <= '9' ? h - '0' : (h | 0x20) - 'a' + 10; };
            const size_t total = text.size() / 2;
            size_t at = 0;
            do {
                const size_t n = std::min<size_t>(255, total - at);
                binaryCode(code);
                m_buf.push_back(static_cast<char>(n));
                for (size_t k = at; k < at + n; ++k)
                    m_buf.push_back(static_cast<char>(nibble(text[2 * k]) * 16 + nibble(text[2 * k + 1])));
                at += n;
            } while (at < total);
            break;
        }
        default: {
            const std::string t(text);
            const double d = std::strtod(t.c_str(), nullptr);
            const bool real = t.find_first_of(".eE") != std::string::npos;
            binaryNumber(code, d, real ? static_cast<long long>(d) : std::strtoll(t.c_str(), nullptr, 10));
            return;
        }
        }
        maybeFlush();
    }
    void binaryNumber(int code, double d, long long i)
    {
        switch (binaryValueKind(code)) {
        case BinaryValue::Double: binaryCode(code), binaryValue<double>(d); break;
        case BinaryValue::Int16: binaryCode(code), binaryValue<std::int16_t>(static_cast<std::int16_t>(i)); break;
        case BinaryValue::Int32: binaryCode(code), binaryValue<std::int32_t>(static_cast<std::int32_t>(i)); break;
        case BinaryValue::Int64: binaryCode(code), binaryValue<std::int64_t>(i); break;
        case BinaryValue::Bool:
            binaryCode(code);
            m_buf.push_back(static_cast<char>(i != 0));
            break;
        default: {
            char tmp[40];
            auto r = std::to_chars(tmp, tmp + sizeof tmp, i);
            return binaryGroup(code, std::string_view(tmp, r.ptr - tmp));
        }
        }
        maybeFlush();
    }

    // The code line at out (codes from -32768 to 32767); returns its end.
    static char* codeLineTo(char* out, int code)
    {
        if (code >= 0 && code < 1000) {
            // Right-aligned in three columns, as CAD programs write them.
            out[0] = code >= 100 ? static_cast<char>('0' + code / 100) : ' ';
            out[1] = code >= 10 ? static_cast<char>('0' + code / 10 % 10) : ' ';
            out[2] = static_cast<char>('0' + code % 10);
            out[3] = '\n';
            return out + 4;
        }
        char digits[16];
        const auto length = static_cast<int>(std::to_chars(digits, digits + sizeof digits, code).ptr - digits);
        for (int pad = length; pad < 3; ++pad) *out++ = ' ';
        std::memcpy(out, digits, static_cast<size_t>(length));
        out[length] = '\n';
        return out + length + 1;
    }
    void codeLine(int code)
    {
        char tmp[24];
        m_buf.append(tmp, static_cast<size_t>(codeLineTo(tmp, code) - tmp));
    }
    void maybeFlush()
    {
        if (m_buf.size() >= kFlushSize && m_file) flush();
    }

    std::FILE* m_file;
    TextBuffer m_buf;
    std::uint64_t m_total = 0;
    bool m_failed = false;
    bool m_binary = false, m_oneByteCodes = false;
    bool m_escapeUnicode = false;
};

}  // namespace fendo::dxf
