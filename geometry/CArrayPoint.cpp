// Nearest-point search and filing of point lists.
#include "geometry/CArrayPoint.h"

#include <cmath>
#include <cstdint>
#include <limits>

#include "host/db/AcDbFiler.h"

namespace {
// Distances closer than this to the minimum count as the minimum.
constexpr double kNearestTieTolerance = 1e-10;
}  // namespace

AcGePoint3d CArrayPoint::nearestPoint(const AcGePoint3d& p, Distance distance, int& index) const
{
    index = -1;
    if (m_points.isEmpty()) return AcGePoint3d(0, 0, 0);
    auto dist = [&](const AcGePoint3d& q) {
        if (distance == Distance::Planar) return std::hypot(q.x - p.x, q.y - p.y);
        return q.distanceTo(p);
    };
    double best = std::numeric_limits<double>::max();
    for (const AcGePoint3d& q : m_points) best = std::fmin(best, dist(q));
    for (int i = 0; i < m_points.length(); ++i) {
        if (std::fabs(dist(m_points[i]) - best) < kNearestTieTolerance) {
            index = i;
            return m_points[i];
        }
    }
    return AcGePoint3d(0, 0, 0);
}

Acad::ErrorStatus CArrayPoint::dwgOutFields(AcDbDwgFiler* filer) const
{
    const auto count = static_cast<std::int16_t>(m_points.length() & 0xFFFF);
    filer->writeInt16(count);
    for (int i = 0; i < count; ++i) filer->writePoint3d(m_points[i]);
    return filer->filerStatus();
}

Acad::ErrorStatus CArrayPoint::dwgInFields(AcDbDwgFiler* filer)
{
    m_points.removeAll();
    std::int16_t count = 0;
    Acad::ErrorStatus es = filer->readInt16(&count);
    if (es != Acad::eOk) return es;
    for (int i = 0; i < count; ++i) {
        AcGePoint3d p;
        es = filer->readPoint3d(&p);
        if (es != Acad::eOk) return es;
        m_points.append(p);
    }
    return Acad::eOk;
}
