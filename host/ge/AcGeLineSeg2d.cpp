// Bounded 2D line segment: projection and intersection.
#include "host/ge/AcGeLineSeg2d.h"

#include <algorithm>
#include <cmath>
#include <utility>

AcGeLineSeg2d& AcGeLineSeg2d::set(const AcGePoint2d& start, const AcGePoint2d& end) {
    m_start = start;
    m_end = end;
    return *this;
}

AcGePoint2d AcGeLineSeg2d::midPoint() const { return evalPoint(0.5); }
AcGeVector2d AcGeLineSeg2d::direction() const { return (m_end - m_start).normal(); }
AcGePoint2d AcGeLineSeg2d::evalPoint(double param) const { return m_start + (m_end - m_start) * param; }

double AcGeLineSeg2d::paramOf(const AcGePoint2d& pnt) const {
    const AcGeVector2d d = m_end - m_start;
    const double l2 = d.lengthSqrd();
    return l2 == 0.0 ? 0.0 : (pnt - m_start).dotProduct(d) / l2;
}

AcGePoint2d AcGeLineSeg2d::closestPointTo(const AcGePoint2d& pnt, const AcGeTol&) const {
    return evalPoint(std::clamp(paramOf(pnt), 0.0, 1.0));
}

double AcGeLineSeg2d::distanceTo(const AcGePoint2d& pnt) const { return pnt.distanceTo(closestPointTo(pnt)); }

bool AcGeLineSeg2d::isOn(const AcGePoint2d& pnt, const AcGeTol& tol) const {
    return distanceTo(pnt) <= tol.equalPoint();
}

bool AcGeLineSeg2d::intersectWith(const AcGeLineSeg2d& other, AcGePoint2d& intPnt, const AcGeTol& tol) const {
    const AcGeVector2d d1 = m_end - m_start, d2 = other.m_end - other.m_start;
    if (d1.isZeroLength(tol) || d2.isZeroLength(tol) || d1.isParallelTo(d2, tol)) return false;
    const double cross = d1.x * d2.y - d1.y * d2.x;
    const AcGeVector2d r = other.m_start - m_start;
    const double s = (r.x * d2.y - r.y * d2.x) / cross;
    const AcGePoint2d p = evalPoint(s);
    if (!isOn(p, tol) || !other.isOn(p, tol)) return false;
    intPnt = p;
    return true;
}

AcGeLineSeg2d& AcGeLineSeg2d::reverseParam() {
    std::swap(m_start, m_end);
    return *this;
}
