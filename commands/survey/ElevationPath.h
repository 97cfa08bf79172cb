// The path that "NDCD" and "NCDT" draw through survey points: from the first point, each step goes to the nearest
// remaining point whose segment from the current point does not cross the path drawn so far (the nearest of all when
// every one crosses).
#pragma once

#include <cstddef>
#include <vector>

#include "host/ge/AcGePoint2d.h"
#include "host/ge/AcGePoint3d.h"

namespace fendo::survey {

// Whether the segment from `from` to `to` meets the segment (a, b) anywhere but at `from`, by the host's intersection
// of two temporary two-vertex polylines. The candidate segment always shares `from` with the path, and a point reported
// there (within the host's own point-merging reach) is not a crossing; touching anywhere else (an end on the other
// segment, overlapping collinear pieces, a shared far end) is. Clear cases (well apart, or crossing well away from
// `from`) are decided without the host.
bool crossesAwayFrom(const AcGePoint2d& a, const AcGePoint2d& b, const AcGePoint2d& from, const AcGePoint2d& to);
// The same, always by the host's intersection.
bool crossesAwayFromByHost(const AcGePoint2d& a, const AcGePoint2d& b, const AcGePoint2d& from, const AcGePoint2d& to);

// The distance a step measures to a remaining point: from the current point (its z included) to the remaining point at
// z 0.
double stepDistance(const AcGePoint3d& current, const AcGePoint3d& candidate);

// The visiting order (places in `points`) of the path through points already in their sorted order, starting at the
// first. Candidates of each step are taken in the order an exchange sort by stepDistance gives them, with the remaining
// points listed in their sorted order.
std::vector<std::size_t> buildElevationPath(const std::vector<AcGePoint3d>& points);

}  // namespace fendo::survey
