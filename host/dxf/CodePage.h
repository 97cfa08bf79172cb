// Text of drawing files in UTF-8: drawings before R2007 store text in the Windows code page
// named by $DWGCODEPAGE, with characters outside it written as \U+XXXX escapes.
#pragma once
#include <memory>
#include <string>
#include <string_view>

namespace fendo::dxf {

class TextDecoder {
public:
    TextDecoder();
    ~TextDecoder();
    TextDecoder(const TextDecoder&) = delete;
    TextDecoder& operator=(const TextDecoder&) = delete;

    // "ANSI_1258", "ANSI_932" ... (case ignored); unknown names read as ANSI_1252.
    void setCodePage(std::string_view dwgCodePage);
    // R2007 and later files are UTF-8; escapes are then left as they are.
    void setUtf8(bool utf8) { m_utf8 = utf8; }
    bool isUtf8() const { return m_utf8; }

    // True when text needs converting (bytes above 0x7F, or escapes in a pre-R2007 file).
    bool needsDecoding(std::string_view text) const;
    // Converts text to UTF-8. Invalid UTF-8 in an R2007 file is read as ANSI_1252.
    std::string decode(std::string_view text) const;

private:
    struct Iconv;
    const std::uint16_t* m_table = nullptr;  // upper half of a single-byte code page
    std::unique_ptr<Iconv> m_iconv;           // multi-byte code pages (932, 936, 949, 950)
    bool m_utf8 = false;
};

// Appends the UTF-8 form of a code point.
void appendUtf8(std::string& out, char32_t cp);
// Replaces \U+XXXX escapes by their characters (\M+nXXXX escapes are kept as they are).
std::string decodeUnicodeEscapes(std::string_view text);
bool isValidUtf8(std::string_view text);

}  // namespace fendo::dxf
