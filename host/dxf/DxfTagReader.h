// Turns the bytes of a DXF file (ASCII or binary) into groups: a code and its value as
// text (binary values are formatted as an ASCII file would hold them). Tracks where each
// group came from for messages.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

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

class DxfTagReader {
public:
    static constexpr std::string_view kBinarySentinel{"AutoCAD Binary DXF\r\n\x1a\0", 22};

    explicit DxfTagReader(std::string_view data);
    // An ASCII reader that starts at a group's code line at byte start, numbered line.
    DxfTagReader(std::string_view data, size_t start, int line) : m_data(data), m_pos(start), m_line(line) {}

    bool isBinary() const { return m_binary; }
    // Reads the next group. False at the end of the data (error() empty) or on data that
    // is not a group (error() says where and what was expected).
    bool next(DxfTag& tag)
    {
        if (!m_error.empty()) return false;
        m_lastPos = m_pos;
        m_lastLine = m_line;
        return m_binary ? nextBinary(tag) : nextAscii(tag);
    }
    // The next call to next() returns the same group again.
    void pushBack()
    {
        m_pos = m_lastPos;
        m_line = m_lastLine;
    }
    // Reads on from a group boundary at byte offset (line numbers no longer count).
    void seek(size_t offset) { m_pos = m_lastPos = offset; }
    const std::string& error() const { return m_error; }
    // "line 12" or "byte 4711": where the reader stands, for messages.
    std::string where(int lineOrOffset) const;
    int position() const;
    // Bytes read so far.
    size_t offset() const { return m_pos; }

private:
    bool nextAscii(DxfTag& tag);
    [[gnu::noinline]] bool nextAsciiGeneral(DxfTag& tag);
    bool nextBinary(DxfTag& tag);
    bool fail(int at, const std::string& what);

    std::string_view m_data;
    size_t m_pos = 0;
    int m_line = 1;
    bool m_binary = false;
    bool m_wideCodes = true;  // binary R13 and later: two-byte group codes
    size_t m_lastPos = 0;  // where the last group read began, for pushBack
    int m_lastLine = 1;
    std::string m_error;
    std::string m_text;  // a binary value made text
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
