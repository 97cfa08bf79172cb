// Places a measured single-line text in its plane: where its box lies for each justification, and
// the insertion point the host recomputes from the alignment point.
#pragma once

#include "host/fonts/TextMetrics.h"
#include "host/ge/AcGePoint2d.h"

#include <array>

namespace fendo::fonts {

// Values as stored in the drawing (TEXT groups 72 and 73).
enum class HorizontalMode { Left = 0, Center = 1, Right = 2, Aligned = 3, Middle = 4, Fit = 5 };
enum class VerticalMode { Baseline = 0, Bottom = 1, Middle = 2, Top = 3 };

// A text's placement data, all in the text's plane (object coordinates, before the plane's transform).
struct TextLayout {
    AcGePoint2d position;       // insertion point (group 10): start of the baseline
    AcGePoint2d alignmentPoint; // alignment point (group 11): used unless left/baseline
    HorizontalMode horizontal = HorizontalMode::Left;
    VerticalMode vertical = VerticalMode::Baseline; // ignored for Aligned, Middle and Fit
    double height = 1.0;
    double rotation = 0.0;      // radians; ignored for Aligned and Fit, whose baseline gives it
    double widthFactor = 1.0;
    double oblique = 0.0;       // radians
};

struct PlacedText {
    AcGePoint2d insertion;      // start of the baseline, as the host stores group 10
    double height = 0.0;        // height drawn (Aligned changes it)
    double widthFactor = 0.0;   // width factor drawn (Fit changes it)
    double rotation = 0.0;      // rotation drawn (Aligned and Fit take the baseline's direction)
    // Corners of the text's box, slanted by the obliquing angle: lower-left, lower-right,
    // upper-right, upper-left as seen along the text's direction.
    std::array<AcGePoint2d, 4> corners;
};

// Where the justification's anchor lies relative to the start of the baseline, in the text's frame
// (before rotation): x from the advance (0, half, all), y from the height (baseline 0, bottom at the
// font's descender line, middle at half the height, top at the height). Middle (4) is the centre of
// the advance at half the height. Aligned and Fit anchor at the baseline start.
AcGePoint2d justificationOffset(HorizontalMode horizontal, VerticalMode vertical, const TextMeasure& measure,
                                double height);

// The text's box in its plane. `measure` must come from measureText with layout.height and
// layout.widthFactor; layout.oblique is applied here. Aligned and Fit spread the advance from the
// insertion point to the alignment point (Aligned scales the height with it, Fit only the width);
// when either has no length, the text is placed as left-justified.
PlacedText placeText(const TextLayout& layout, const TextMeasure& measure);

// The insertion point the host derives: the position itself for left/baseline, Aligned and Fit, and
// for every other justification the point that puts the anchor on the alignment point.
AcGePoint2d insertionPointFor(const TextLayout& layout, const TextMeasure& measure);

// Measures and places in one step, through FontResolver::instance().
PlacedText placeText(std::wstring_view text, const TextStyleFont& font, const TextLayout& layout);

} // namespace fendo::fonts
