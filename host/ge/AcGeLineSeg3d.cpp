// Bounded 3D line segment: projection and intersections.
#include "host/ge/AcGeLineSeg3d.h"

#include <algorithm>

#include "host/ge/AcGeMatrix3d.h"
#include "host/ge/AcGePlane.h"

AcGeLineSeg3d& AcGeLineSeg3d::set(const AcGePoint3d& start, const AcGePoint3d& end) {
    m_start = start;
    m_end = end;
    return *this;
}

AcGeLineSeg3d& AcGeLineSeg3d::set(const AcGePoint3d& pnt, const AcGeVector3d& vec) { return set(pnt, pnt + vec); }

AcGePoint3d AcGeLineSeg3d::midPoint() const { return evalPoint(0.5); }
AcGeVector3d AcGeLineSeg3d::direction() const { return (m_end - m_start).normal(); }
AcGePoint3d AcGeLineSeg3d::evalPoint(double param) const { return m_start + (m_end - m_start) * param; }

double AcGeLineSeg3d::paramOf(const AcGePoint3d& pnt) const { return line().paramOf(pnt); }

AcGePoint3d AcGeLineSeg3d::closestPointTo(const AcGePoint3d& pnt, const AcGeTol&) const {
    return evalPoint(std::clamp(paramOf(pnt), 0.0, 1.0));
}

double AcGeLineSeg3d::distanceTo(const AcGePoint3d& pnt) const { return pnt.distanceTo(closestPointTo(pnt)); }

bool AcGeLineSeg3d::isOn(const AcGePoint3d& pnt, const AcGeTol& tol) const {
    return distanceTo(pnt) <= tol.equalPoint();
}

bool AcGeLineSeg3d::intersectWith(const AcGeLineSeg3d& other, AcGePoint3d& intPnt, const AcGeTol& tol) const {
    AcGePoint3d p;
    if (!line().intersectWith(other.line(), p, tol)) return false;
    if (!isOn(p, tol) || !other.isOn(p, tol)) return false;
    intPnt = p;
    return true;
}

bool AcGeLineSeg3d::intersectWith(const AcGeLine3d& ln, AcGePoint3d& intPnt, const AcGeTol& tol) const {
    AcGePoint3d p;
    if (!line().intersectWith(ln, p, tol) || !isOn(p, tol)) return false;
    intPnt = p;
    return true;
}

bool AcGeLineSeg3d::intersectWith(const AcGePlane& plane, AcGePoint3d& intPnt, const AcGeTol& tol) const {
    return plane.intersectWith(*this, intPnt, tol);
}

AcGeLineSeg3d& AcGeLineSeg3d::reverseParam() {
    std::swap(m_start, m_end);
    return *this;
}

AcGeLineSeg3d& AcGeLineSeg3d::transformBy(const AcGeMatrix3d& m) { return set(m * m_start, m * m_end); }
