// Measures single-line drawing texts the way the CAD host sizes them: the text height is the height
// of capital letters, the width factor stretches x and the obliquing angle slants the letters.
#pragma once

#include <string>
#include <string_view>

namespace fendo::fonts {

class FontResolver;

// A text style's fonts as the drawing names them.
struct TextStyleFont {
    std::wstring fontFile;
    std::wstring bigFontFile;
};

struct TextFormat {
    double height = 1.0;      // capital-letter height, drawing units
    double widthFactor = 1.0; // x stretch; values <= 0 count as 1
    double oblique = 0.0;     // slant from the vertical, radians, positive leaning right
};

// Box in the text's own frame: x along the baseline from the insertion point, y up from the baseline.
struct TextBox {
    double left = 0.0;
    double right = 0.0;
    double bottom = 0.0;
    double top = 0.0;
};

enum class TextModel {
    Outline,      // glyph advances and outlines of a loaded font
    FixedAdvance  // no font could be loaded: every character kFixedAdvancePerHeight wide
};

// Fixed model used when no font loads: each character advances this many text heights (times the
// width factor); the box spans 0..advance by 0..height and there is no descender.
inline constexpr double kFixedAdvancePerHeight = 0.8;

struct TextMeasure {
    double advance = 0.0;  // pen advance over the whole string, width factor applied
    // Upright box (before obliquing): the character cells 0..advance by 0..height, grown by any ink
    // reaching beyond them (descenders, accents, overhangs). Width factor applied.
    TextBox box;
    // The upright box slanted by the obliquing angle, as an axis-aligned hull in the text's frame.
    TextBox obliqueBox;
    double descent = 0.0;  // the font's descender line, <= 0; anchors vertically bottom-aligned text
    TextModel model = TextModel::FixedAdvance;
    bool empty = true;     // nothing to draw (no characters after control codes are expanded)
};

// Replaces the host's control codes by the characters they stand for: %%d degree, %%p plus-minus,
// %%c diameter, %%% percent, %%nnn character nnn, \U+XXXX any character; %%u and %%o (underline
// and overline toggles) are removed. Anything else is kept as written.
std::wstring expandTextControlCodes(std::wstring_view text);

// Measures a text string as stored (control codes are expanded first) in the given style font,
// resolved through FontResolver::instance().
TextMeasure measureText(std::wstring_view text, const TextStyleFont& font, const TextFormat& format);
TextMeasure measureText(std::wstring_view text, const TextStyleFont& font, const TextFormat& format,
                        FontResolver& resolver);
// The fixed model on its own (control codes expanded first).
TextMeasure measureTextFixed(std::wstring_view text, const TextFormat& format);

} // namespace fendo::fonts
