// Which single-line text gives a contour its elevation ("GCD1"): the first text, in drawing order, whose box diagonal
// meets the contour.
#pragma once

#include <cstddef>
#include <memory>
#include <vector>

#include "commands/survey/PlanGrid.h"
#include "host/ge/AcGePoint2d.h"

class AcDbPolyline;

namespace fendo::survey {

inline constexpr std::size_t kNoText = static_cast<std::size_t>(-1);

// A text's box diagonal, from the lower-left to the upper-right corner of its extents.
struct TextDiagonal {
    AcGePoint2d lowerLeft, upperRight;
};

// Whether the diagonal (as a temporary two-vertex polyline at elevation 0) meets the contour, by the host's
// intersection of the two.
bool diagonalMeets(const TextDiagonal& text, const AcDbPolyline& contour);

// The diagonals in a grid, so that a contour meets only the texts near its segments.
class TextDiagonalIndex {
public:
    explicit TextDiagonalIndex(std::vector<TextDiagonal> texts);
    // The first text (by place) whose diagonal meets the contour, or kNoText.
    std::size_t firstCrossing(const AcDbPolyline& contour) const;

private:
    std::vector<TextDiagonal> m_texts;
    PlanBox m_world;
    std::unique_ptr<PlanGrid> m_grid;
};

}  // namespace fendo::survey
