// Unbounded 3D line: projection, closest points and intersections.
#include "host/ge/AcGeLine3d.h"

#include <cmath>

#include "host/ge/AcGeMatrix3d.h"
#include "host/ge/AcGePlane.h"

const AcGeLine3d AcGeLine3d::kXAxis(AcGePoint3d::kOrigin, AcGeVector3d::kXAxis);
const AcGeLine3d AcGeLine3d::kYAxis(AcGePoint3d::kOrigin, AcGeVector3d::kYAxis);
const AcGeLine3d AcGeLine3d::kZAxis(AcGePoint3d::kOrigin, AcGeVector3d::kZAxis);

AcGeLine3d::AcGeLine3d() = default;
AcGeLine3d::AcGeLine3d(const AcGePoint3d& pnt, const AcGeVector3d& vec) : m_point(pnt), m_vector(vec) {}
AcGeLine3d::AcGeLine3d(const AcGePoint3d& pnt1, const AcGePoint3d& pnt2) : m_point(pnt1), m_vector(pnt2 - pnt1) {}

AcGeLine3d& AcGeLine3d::set(const AcGePoint3d& pnt, const AcGeVector3d& vec) {
    m_point = pnt;
    m_vector = vec;
    return *this;
}

AcGeLine3d& AcGeLine3d::set(const AcGePoint3d& pnt1, const AcGePoint3d& pnt2) { return set(pnt1, pnt2 - pnt1); }

AcGeVector3d AcGeLine3d::direction() const { return m_vector.normal(); }

double AcGeLine3d::paramOf(const AcGePoint3d& pnt) const {
    const double l2 = m_vector.lengthSqrd();
    if (l2 == 0.0) return 0.0;
    return (pnt - m_point).dotProduct(m_vector) / l2;
}

AcGePoint3d AcGeLine3d::closestPointTo(const AcGePoint3d& pnt, const AcGeTol&) const {
    return evalPoint(paramOf(pnt));
}

AcGePoint3d AcGeLine3d::closestPointTo(const AcGeLine3d& other, AcGePoint3d& pntOnOther, const AcGeTol& tol) const {
    if (isParallelTo(other, tol) || m_vector.isZeroLength(tol) || other.m_vector.isZeroLength(tol)) {
        pntOnOther = other.closestPointTo(m_point);
        return m_point;
    }
    const AcGeVector3d d1 = m_vector, d2 = other.m_vector, r = m_point - other.m_point;
    const double a = d1.dotProduct(d1), b = d1.dotProduct(d2), c = d2.dotProduct(d2);
    const double d = d1.dotProduct(r), e = d2.dotProduct(r);
    const double denom = a * c - b * b;
    const double s = (b * e - c * d) / denom;
    const double t = (a * e - b * d) / denom;
    pntOnOther = other.evalPoint(t);
    return evalPoint(s);
}

double AcGeLine3d::distanceTo(const AcGePoint3d& pnt) const { return pnt.distanceTo(closestPointTo(pnt)); }

double AcGeLine3d::distanceTo(const AcGeLine3d& other) const {
    AcGePoint3d q;
    return closestPointTo(other, q).distanceTo(q);
}

bool AcGeLine3d::isOn(const AcGePoint3d& pnt, const AcGeTol& tol) const { return distanceTo(pnt) <= tol.equalPoint(); }

bool AcGeLine3d::intersectWith(const AcGeLine3d& other, AcGePoint3d& intPnt, const AcGeTol& tol) const {
    if (isParallelTo(other, tol) || m_vector.isZeroLength(tol) || other.m_vector.isZeroLength(tol)) return false;
    AcGePoint3d q;
    const AcGePoint3d p = closestPointTo(other, q, tol);
    if (p.distanceTo(q) > tol.equalPoint()) return false;
    intPnt = p;
    return true;
}

bool AcGeLine3d::intersectWith(const AcGePlane& plane, AcGePoint3d& intPnt, const AcGeTol& tol) const {
    return plane.intersectWith(*this, intPnt, tol);
}

bool AcGeLine3d::isParallelTo(const AcGeLine3d& other, const AcGeTol& tol) const {
    return m_vector.isParallelTo(other.m_vector, tol);
}

bool AcGeLine3d::isPerpendicularTo(const AcGeLine3d& other, const AcGeTol& tol) const {
    return m_vector.isPerpendicularTo(other.m_vector, tol);
}

bool AcGeLine3d::isColinearTo(const AcGeLine3d& other, const AcGeTol& tol) const {
    return isParallelTo(other, tol) && isOn(other.m_point, tol);
}

AcGeLine3d& AcGeLine3d::transformBy(const AcGeMatrix3d& m) {
    const AcGePoint3d p = m * m_point;
    return set(p, m * m_vector);
}
