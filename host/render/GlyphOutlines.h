// Glyph outlines of drawing texts for pictures: the style font's outlines laid out along the
// baseline exactly as the text measurer places them (capital letters one unit high, unhinted
// advances, no kerning, missing characters taken from the fallback font).
#pragma once
#include <string_view>

#include "host/fonts/TextMetrics.h"

namespace fendo::render {

// Receives outlines in the text's own frame: x along the baseline from the insertion point,
// y up, both in text heights (width factor and slant not applied). Conic segments arrive
// already raised to cubics.
class OutlineSink {
public:
    virtual ~OutlineSink() = default;
    virtual void moveTo(double x, double y) = 0;
    virtual void lineTo(double x, double y) = 0;
    virtual void cubicTo(double x1, double y1, double x2, double y2, double x3, double y3) = 0;
    virtual void closeContour() = 0;
};

// Sends the outlines of `text` (control codes expanded) to `sink` and returns the advance
// in text heights. False when no outline font can be loaded; the caller then draws a box.
bool outlineText(std::wstring_view text, const fonts::TextStyleFont& font, OutlineSink& sink, double& advance);

}  // namespace fendo::render
