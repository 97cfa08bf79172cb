// Which 8-bit Vietnamese encoding a text style's font implies, and the table of
// fonts that stand in for those fonts: Unicode fonts of the same look for
// pictures and converted drawings, and the way back for drawings handed to
// machines that only have the 8-bit fonts.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/core/VietEncodings.h"

namespace fendo::fonts
{

// The encoding of texts written in `fontFile` as a style names it (".VnTime",
// "VNTIMEH.TTF", "VNI-Helve.ttf" ...): ".Vn"/"vn" fonts are TCVN3, those whose
// name ends in H (before an optional B, I or BI of a bold or italic file) TCVN3
// capitals, "VNI-" fonts VNI; every other font Unicode.
viet::Encoding encodingOfFont(std::wstring_view fontFile);

// A font a style can point at: the file name (group 3) and, for styles that
// carry one, the family.
struct FontChoice {
    std::wstring file;
    std::wstring family;
};

enum class FontDirection { ToUnicode, ToTcvn3 };

// Lines "pattern = file | family" under [unicode] (8-bit font -> Unicode font)
// and [tcvn3] (the reverse). Patterns use * for any run of characters and are
// compared, letter case ignored, with the font name without folder, extension
// and leading dot; the first matching line wins.
class VietFontTable
{
public:
    // Parses the table's text; false with `error` ("line N: ...") when a line is
    // not understood.
    bool parse(std::string_view text, std::string* error = nullptr);
    // The table in Data/VietFonts.ini beside the program, or the built-in one
    // when that file is missing or unreadable.
    static const VietFontTable& installed();
    static const char* builtInText();

    std::optional<FontChoice> find(std::wstring_view fontFile, FontDirection direction) const;

private:
    struct Row {
        FontDirection direction;
        std::string pattern;
        FontChoice font;
    };
    std::vector<Row> m_rows;
};

// The font name reduced as the table compares it: ".VnTime" and
// "C:\\Fonts\\VNTIME.TTF" give "vntime".
std::string vietFontKey(std::wstring_view fontFile);

// What a picture draws for a text written in `font`: the text decoded and a
// Unicode font of the same look when the font is an 8-bit Vietnamese one, else
// both as they are.
struct DisplayText {
    std::wstring text;
    std::wstring fontFile;
};
DisplayText displayText(std::wstring_view text, std::wstring_view fontFile);

}  // namespace fendo::fonts
