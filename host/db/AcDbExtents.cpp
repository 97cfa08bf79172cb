// Axis-aligned boxes: growing by points and boxes, and the box of a transformed box.
#include "host/db/AcDbExtents.h"

#include <algorithm>

AcDbExtents::AcDbExtents() : m_min(1e20, 1e20, 1e20), m_max(-1e20, -1e20, -1e20) {}

Acad::ErrorStatus AcDbExtents::set(const AcGePoint3d& min, const AcGePoint3d& max)
{
    if (min.x > max.x || min.y > max.y || min.z > max.z) return Acad::eInvalidExtents;
    m_min = min;
    m_max = max;
    return Acad::eOk;
}

void AcDbExtents::addPoint(const AcGePoint3d& pt)
{
    m_min.set(std::min(m_min.x, pt.x), std::min(m_min.y, pt.y), std::min(m_min.z, pt.z));
    m_max.set(std::max(m_max.x, pt.x), std::max(m_max.y, pt.y), std::max(m_max.z, pt.z));
}

void AcDbExtents::addExt(const AcDbExtents& other)
{
    if (other.isEmpty()) return;
    addPoint(other.m_min);
    addPoint(other.m_max);
}

void AcDbExtents::expandBy(const AcGeVector3d& vec)
{
    if (isEmpty()) return;
    // Grows the box towards the vector's side in each axis, as the host does.
    addPoint(m_min + vec);
    addPoint(m_max + vec);
}

void AcDbExtents::transformBy(const AcGeMatrix3d& mat)
{
    if (isEmpty()) return;
    const AcGePoint3d lo = m_min, hi = m_max;
    *this = AcDbExtents();
    for (int i = 0; i < 8; ++i) {
        const double p[3] = {(i & 1) ? hi.x : lo.x, (i & 2) ? hi.y : lo.y, (i & 4) ? hi.z : lo.z};
        double q[3];
        for (int r = 0; r < 3; ++r)
            q[r] = mat.entry[r][0] * p[0] + mat.entry[r][1] * p[1] + mat.entry[r][2] * p[2] + mat.entry[r][3];
        addPoint(AcGePoint3d(q[0], q[1], q[2]));
    }
}
