// Turns the bytes of a DXF file (ASCII or binary) into groups: a code and its value as
// text (binary values are formatted as an ASCII file would hold them). Tracks where each
// group came from for messages.
#pragma once
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace fendo::dxf {

namespace detail {
// The end of a value line from p: the first line feed or NUL byte (or end). special tells
// whether a byte before it is beyond ASCII, a backslash or a caret (a text the loader must
// decode). Eight bytes are looked at a time while eight remain.
inline const char* scanValueLine(const char* p, const char* end, bool& special)
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

}  // namespace detail

// value stays valid until the reader's next call to next(): it is seen in place in the
// file's bytes (ASCII) or in the reader's own buffer (binary values made text).
struct DxfTag {
    int code = 0;
    std::string_view value;
    int line = 0;  // line of the code (ASCII) or byte offset of the group (binary)
    // Known to be plain ASCII without backslash or caret: the loader uses such a value as it
    // stands. False says nothing (the value is looked at again).
    bool plain = false;
};

// The bytes of an ASCII file read a window at a time (a file, or bytes in memory in tests).
class DxfByteSource {
public:
    virtual ~DxfByteSource() = default;
    // Up to room bytes into to, from where the last call ended: 0 at the end of the data, -1
    // on an error (errno tells which).
    virtual long read(char* to, std::size_t room) = 0;
};

class DxfTagReader {
public:
    static constexpr std::string_view kBinarySentinel{"AutoCAD Binary DXF\r\n\x1a\0", 22};
    static constexpr std::size_t kWindowBytes = 256 * 1024;

    explicit DxfTagReader(std::string_view data);
    // An ASCII reader that starts at a group's code line at byte start, numbered line.
    DxfTagReader(std::string_view data, size_t start, int line) : m_data(data), m_pos(start), m_line(line) {}
    // An ASCII reader that takes its bytes from source a window at a time. Reading a big file
    // through a window that stays in the processor's cache costs far less than reading it
    // where it is mapped: the first touch of every mapped page is dear.
    explicit DxfTagReader(DxfByteSource& source, std::size_t windowBytes = kWindowBytes);
    DxfTagReader(DxfTagReader&&) = default;
    DxfTagReader& operator=(DxfTagReader&&) = default;

    bool isBinary() const { return m_binary; }
    // Reads the next group. False at the end of the data (error() empty) or on data that
    // is not a group (error() says where and what was expected).
    bool next(DxfTag& tag)
    {
        if (!m_error.empty()) return false;
        m_lastPos = m_pos;
        m_lastLine = m_line;
        if (m_binary) return nextBinary(tag);
        if (nextPlainAscii(tag)) return true;
        return m_error.empty() && nextAsciiGeneral(tag);
    }
    // The next call to next() returns the same group again.
    void pushBack()
    {
        m_pos = m_lastPos;
        m_line = m_lastLine;
    }
    // Reads on from a group boundary at byte offset (line numbers no longer count). Not for
    // a reader of windows.
    void seek(size_t offset) { m_pos = m_lastPos = offset; }
    const std::string& error() const { return m_error; }
    // "line 12" or "byte 4711": where the reader stands, for messages.
    std::string where(int lineOrOffset) const;
    int position() const;
    // Bytes read so far.
    size_t offset() const { return m_windowStart + m_pos; }
    // The bytes the groups read lately are seen in. A reader of windows keeps every window
    // that holds a group read since the last call to dropEarlierWindows: values stay valid
    // until then (and the last group's, for pushBack, until the second call after it).
    std::string_view window() const { return m_data; }
    void dropEarlierWindows()
    {
        if (!m_earlier.empty()) keepSpareWindows();
    }

private:
    // The usual group: a code of digits after spaces, then a value line without NUL bytes,
    // both ending in LF or CR LF, within the bytes at hand. False for anything else, which
    // nextAsciiGeneral reads. Inline: it runs for every group of a file.
    bool nextPlainAscii(DxfTag& tag)
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
        p = detail::scanValueLine(p, end, special);
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
    [[gnu::noinline]] bool nextAsciiGeneral(DxfTag& tag);
    bool nextBinary(DxfTag& tag);
    bool fail(int at, const std::string& what);
    // Windows: moves on to a new window that starts with the last group read (for pushBack),
    // holds at least need bytes from there where the data has them, and as many more as
    // fit. False on a read error (error() says so).
    bool moveWindow(std::size_t need);
    // The general path's look ahead: the window holds two line feeds from the read
    // position, or the end of the data.
    bool windowHoldsGroup();
    void keepSpareWindows();

    std::string_view m_data;
    size_t m_pos = 0;
    int m_line = 1;
    bool m_binary = false;
    bool m_wideCodes = true;  // binary R13 and later: two-byte group codes
    size_t m_lastPos = 0;  // where the last group read began, for pushBack
    int m_lastLine = 1;
    std::string m_error;
    std::string m_text;  // a binary value made text
    // Windows: where the bytes come from (null: m_data is all of them), the file offset of
    // m_data, whether m_data reaches the end of the data.
    DxfByteSource* m_source = nullptr;
    std::size_t m_windowBytes = kWindowBytes;
    std::size_t m_refillBelow = 0;  // a window moves on when fewer bytes than this are left
    std::size_t m_windowStart = 0;
    bool m_sourceDone = true;
    struct Window {
        std::unique_ptr<char[]> bytes;
        std::size_t capacity = 0;
    };
    Window m_window;
    std::vector<Window> m_earlier, m_spare;
};

// A group's text without the blanks (and carriage return) writers put round it.
inline std::string_view trimmed(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
    return s;
}

// The kind of value a group code carries in binary files.
enum class BinaryValue { String, Double, Int16, Int32, Int64, Bool, Bytes };
BinaryValue binaryValueKind(int code);

}  // namespace fendo::dxf
