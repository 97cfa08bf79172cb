// The point set of "LDTT".
#include "commands/survey/SeenPoints.h"

#include <algorithm>
#include <cmath>

#include "host/ge/AcGeTol.h"

namespace fendo::survey {

namespace {
// The cells are never smaller than this, so that a zero tolerance still gives a
// usable grid.
constexpr double kSmallestCell = 1e-6;

bool finite(const AcGePoint3d& p) { return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z); }
}  // namespace

SeenPoints::SeenPoints()
    : m_tolerance(AcGeContext::gTol.equalPoint()),
      m_cellSize(std::max(4.0 * m_tolerance, kSmallestCell))
{
}

GridCell SeenPoints::cellOf(double x, double y) const { return gridCellOf(x, y, m_cellSize, m_cellSize); }

bool SeenPoints::contains(const AcGePoint3d& p) const
{
    // A point with an infinite or undefined coordinate is at no finite distance
    // from any other, so it equals none.
    if (!finite(p)) return false;
    AcGeTol tol;
    tol.setEqualPoint(m_tolerance);
    const auto equal = [&](const AcGePoint3d& q) { return p.isEqualTo(q, tol); };
    // An equal point is at most the tolerance away in x and in y; twice that
    // covers rounding.
    const double reach = 2.0 * m_tolerance;
    const GridCell low = cellOf(p.x - reach, p.y - reach);
    const GridCell high = cellOf(p.x + reach, p.y + reach);
    for (std::int64_t cx = low.x; cx <= high.x; ++cx)
        for (std::int64_t cy = low.y; cy <= high.y; ++cy) {
            const auto found = m_cells.find({cx, cy});
            if (found != m_cells.end() && std::any_of(found->second.begin(), found->second.end(), equal)) return true;
        }
    return false;
}

void SeenPoints::add(const AcGePoint3d& p)
{
    if (!finite(p)) return;
    // Only an identical point is left out: equality within a tolerance is not
    // transitive, so a point merely near one already there still widens what
    // counts as seen.
    std::vector<AcGePoint3d>& points = m_cells[cellOf(p.x, p.y)];
    const auto same = [&](const AcGePoint3d& q) { return q.x == p.x && q.y == p.y && q.z == p.z; };
    if (std::none_of(points.begin(), points.end(), same)) points.push_back(p);
}

}  // namespace fendo::survey
