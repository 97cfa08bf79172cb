// A set of points under the host's point equality (within the global
// equal-point tolerance), for finding repeated positions among many objects: a
// point is "seen" when one added before lies within the tolerance. Points sit
// in a uniform grid of cells at least as large as twice the tolerance, so a
// query looks at the few cells around the point.
#pragma once
#include <unordered_map>
#include <vector>

#include "commands/survey/GridCell.h"
#include "host/ge/AcGePoint3d.h"

namespace fendo::survey {

class SeenPoints {
public:
    // The tolerance is the host's global equal-point tolerance at this moment.
    SeenPoints();

    // True when a point added before is equal to p (AcGePoint3d::isEqualTo with
    // the tolerance).
    bool contains(const AcGePoint3d& p) const;
    // Adds p. A point with a coordinate that is not finite equals no point and is
    // not kept.
    void add(const AcGePoint3d& p);

private:
    GridCell cellOf(double x, double y) const;

    double m_tolerance;
    double m_cellSize;
    std::unordered_map<GridCell, std::vector<AcGePoint3d>, GridCellHash> m_cells;
};

}  // namespace fendo::survey
