// Turns the bytes of a DXF file (ASCII or binary) into groups: a code and its value as
// text (binary values are formatted as an ASCII file would hold them). Tracks where each
// group came from for messages.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace fendo::dxf {

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
    // nextAsciiGeneral reads.
    bool nextPlainAscii(DxfTag& tag);
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
