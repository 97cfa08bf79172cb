// Text box placement for the host's single-line text justifications.
#include "host/fonts/TextPlacement.h"

#include <cmath>

namespace fendo::fonts {

namespace {

// Below this length a baseline span or an advance gives no direction or scale to spread over.
constexpr double kDegenerateLength = 1e-12;

bool spansBaseline(HorizontalMode mode)
{
    return mode == HorizontalMode::Aligned || mode == HorizontalMode::Fit;
}

bool usesAlignmentPoint(const TextLayout& layout)
{
    return layout.horizontal != HorizontalMode::Left || layout.vertical != VerticalMode::Baseline;
}

AcGePoint2d rotated(double x, double y, double angle)
{
    const double c = std::cos(angle);
    const double s = std::sin(angle);
    return {x * c - y * s, x * s + y * c};
}

} // namespace

AcGePoint2d justificationOffset(HorizontalMode horizontal, VerticalMode vertical, const TextMeasure& measure,
                                double height)
{
    switch (horizontal) {
    case HorizontalMode::Aligned:
    case HorizontalMode::Fit: return {0.0, 0.0};
    case HorizontalMode::Middle: return {measure.advance / 2.0, height / 2.0};
    default: break;
    }
    double x = 0.0;
    if (horizontal == HorizontalMode::Center) x = measure.advance / 2.0;
    if (horizontal == HorizontalMode::Right) x = measure.advance;
    double y = 0.0;
    switch (vertical) {
    case VerticalMode::Baseline: y = 0.0; break;
    case VerticalMode::Bottom: y = measure.descent; break;
    case VerticalMode::Middle: y = height / 2.0; break;
    case VerticalMode::Top: y = height; break;
    }
    return {x, y};
}

AcGePoint2d insertionPointFor(const TextLayout& layout, const TextMeasure& measure)
{
    if (!usesAlignmentPoint(layout) || spansBaseline(layout.horizontal)) return layout.position;
    const AcGePoint2d offset = justificationOffset(layout.horizontal, layout.vertical, measure, layout.height);
    const AcGePoint2d shift = rotated(offset.x, offset.y, layout.rotation);
    return {layout.alignmentPoint.x - shift.x, layout.alignmentPoint.y - shift.y};
}

PlacedText placeText(const TextLayout& layout, const TextMeasure& measure)
{
    PlacedText placed;
    placed.height = layout.height;
    placed.widthFactor = layout.widthFactor;
    placed.rotation = layout.rotation;
    placed.insertion = insertionPointFor(layout, measure);

    // Scales of the measured box in x and y for spread texts.
    double scaleX = 1.0;
    double scaleY = 1.0;
    if (spansBaseline(layout.horizontal)) {
        const double dx = layout.alignmentPoint.x - layout.position.x;
        const double dy = layout.alignmentPoint.y - layout.position.y;
        const double span = std::hypot(dx, dy);
        if (span > kDegenerateLength && measure.advance > kDegenerateLength) {
            placed.rotation = std::atan2(dy, dx);
            scaleX = span / measure.advance;
            if (layout.horizontal == HorizontalMode::Aligned) {
                scaleY = scaleX;
                placed.height = layout.height * scaleY;
            } else {
                placed.widthFactor = layout.widthFactor * scaleX;
            }
        }
    }

    const TextBox& b = measure.box;
    const double left = b.left * scaleX;
    const double right = b.right * scaleX;
    const double bottom = b.bottom * scaleY;
    const double top = b.top * scaleY;
    const double slant = std::tan(layout.oblique);
    const std::array<AcGePoint2d, 4> local{AcGePoint2d{left + slant * bottom, bottom},
                                           AcGePoint2d{right + slant * bottom, bottom},
                                           AcGePoint2d{right + slant * top, top},
                                           AcGePoint2d{left + slant * top, top}};
    for (size_t i = 0; i < local.size(); ++i) {
        const AcGePoint2d p = rotated(local[i].x, local[i].y, placed.rotation);
        placed.corners[i] = {placed.insertion.x + p.x, placed.insertion.y + p.y};
    }
    return placed;
}

PlacedText placeText(std::wstring_view text, const TextStyleFont& font, const TextLayout& layout)
{
    const TextMeasure measure =
        measureText(text, font, TextFormat{layout.height, layout.widthFactor, layout.oblique});
    return placeText(layout, measure);
}

} // namespace fendo::fonts
