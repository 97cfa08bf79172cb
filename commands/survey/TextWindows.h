// Windows around markers and text corners in which the joining commands look
// for texts, and an index over text anchors that answers "the first text still
// listed inside this window" exactly as a scan of the list from its start
// would.
#pragma once
#include <unordered_map>
#include <vector>

#include "commands/survey/GridCell.h"
#include "host/ge/AcGePoint2d.h"

namespace fendo::survey {

// An axis-aligned rectangle around a centre: `left` to the left, `right` to the
// right and `halfHeight` above and below.
struct WindowSize {
    double left;
    double right;
    double halfHeight;
};

// Around a marker (and a left-aligned text's insertion point), around an
// integer text's corner, and the wide band around a marker whose texts are both
// integers.
inline constexpr WindowSize kMarkerSquare{0.3, 0.3, 0.3};
inline constexpr WindowSize kCornerSquare{0.1, 0.1, 0.1};
inline constexpr WindowSize kMarkerBand{4.0, 9.0, 0.1};

// A point meeting a window's left or right edge closer than this to a corner is
// on the corner.
inline constexpr double kEdgeTolerance = 0.0001;

struct Window {
    double left, right, bottom, top;
};

Window windowAround(double x, double y, const WindowSize& size);

// Strictly inside: the horizontal line through the point meets the left and
// right edges away from their corners (by more than kEdgeTolerance), and the
// point lies strictly between those meeting points. A point on an edge is
// outside.
inline bool isInside(const Window& w, double x, double y)
{
    return y - w.bottom > kEdgeTolerance && w.top - y > kEdgeTolerance && w.left < x && x < w.right;
}

// Text anchors numbered by their place in a list. Anchors can be taken out; a
// query gives the lowest-numbered anchor still in the index that lies inside a
// window, which is what scanning the list (closed up after each removal) from
// its start gives. Anchors are kept in a uniform grid of cells as large as the
// largest window asked about, so a query looks at four cells.
class AnchorIndex {
public:
    AnchorIndex(const std::vector<AcGePoint2d>& anchors, const WindowSize& largestWindow);

    // The lowest number above `after` of an anchor still in the index inside the
    // window; -1 when there is none.
    int firstInside(const Window& window, int after = -1) const;
    void remove(int number);
    bool contains(int number) const { return m_present[static_cast<std::size_t>(number)]; }
    int size() const { return static_cast<int>(m_anchors.size()); }
    const AcGePoint2d& anchor(int number) const { return m_anchors[static_cast<std::size_t>(number)]; }

private:
    GridCell cellOf(double x, double y) const;

    std::vector<AcGePoint2d> m_anchors;
    std::vector<bool> m_present;
    double m_cellWidth;
    double m_cellHeight;
    // Each cell's anchor numbers in ascending order.
    std::unordered_map<GridCell, std::vector<int>, GridCellHash> m_cells;
};

}  // namespace fendo::survey
