// The result operation of the plan clean-up.
#include "geometry/MapCleanCAD.h"

namespace {
// A result of this many points or fewer would leave a single segment, so it is not kept.
constexpr int kMaxDroppedResult = 2;
}  // namespace

int MapCleanCAD::onResult(const AcGePoint2d* kept, int keptCount, const int*, int)
{
    m_planePoints.removeAll();
    if (keptCount > kMaxDroppedResult)
        for (int i = 0; i < keptCount; ++i) m_planePoints.append(kept[i]);
    return m_planePoints.length();
}
