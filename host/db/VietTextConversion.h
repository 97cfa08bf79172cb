// Converts a drawing's Vietnamese texts between the 8-bit encodings of the
// ".Vn" and "VNI-" fonts and Unicode: every text a user sees, and the styles
// those texts use. Texts already in the target form, plain ASCII texts and
// everything else in the drawing are left as they are, so converting twice
// changes nothing the second time.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/db/AcDbObjectId.h"
#include "host/fonts/VietFonts.h"

class AcDbDatabase;

namespace fendo::viet
{

enum class Direction { ToUnicode, ToTcvn3 };
enum class NameScope { TextsOnly, TextsAndNames };  // layer and block names too

// A converted text, and whether any of it was written in its style's font
// (rather than only in fonts an MTEXT names inline), in which case the style is
// pointed at the new font.
struct ConvertedText {
    std::wstring text;
    bool usesStyleFont = true;
};

// A single-line text (TEXT, attribute, dimension override) written in
// `styleFont`; nothing when it does not change. Characters without a TCVN3 form
// are added to `missing` and leave the text as it is.
std::optional<ConvertedText> convertText(std::wstring_view text, std::wstring_view styleFont, Direction direction,
                                         std::wstring* missing = nullptr);
// MTEXT contents: each run is converted by the font it is written in (the
// style's, or the one an inline \f or \F code names until its group closes);
// codes are kept, font names they carry are replaced by the new fonts' names.
std::optional<ConvertedText> convertMText(std::wstring_view contents, std::wstring_view styleFont, Direction direction,
                                          std::wstring* missing = nullptr);

// What a conversion changed: how many objects of each kind, in a fixed order of
// kinds, and the texts left as they were because some characters have no TCVN3
// form.
struct ConversionReport {
    std::vector<std::pair<std::wstring, int>> counts;  // kind ("TEXT", "MTEXT" ...) -> objects changed
    std::vector<std::wstring> problems;                // "TEXT 2F: no TCVN3 form for Ấ"
    int total() const;
    void add(const std::wstring& kind);
    // One line per kind that changed, then the problems; "No texts to convert."
    // when nothing did.
    std::wstring describe(Direction direction) const;
};

// Converts the texts of the whole drawing (every block, attribute defaults
// included), or of the given entities only (and the attributes of given block
// references), and points the styles they use at the fonts of `fonts`. Layer
// and block names are converted as TCVN3 only with TextsAndNames.
ConversionReport convertDrawing(AcDbDatabase& db, Direction direction, NameScope names,
                                const fonts::VietFontTable& fonts,
                                const std::vector<AcDbObjectId>* selection = nullptr);

}  // namespace fendo::viet
