// Unbounded plane: construction, projection and intersections.
#include "host/ge/AcGePlane.h"

#include <cmath>

#include "host/ge/AcGeLine3d.h"
#include "host/ge/AcGeLineSeg3d.h"
#include "host/ge/AcGeMatrix3d.h"

const AcGePlane AcGePlane::kXYPlane(AcGePoint3d::kOrigin, AcGeVector3d::kXAxis, AcGeVector3d::kYAxis);
const AcGePlane AcGePlane::kYZPlane(AcGePoint3d::kOrigin, AcGeVector3d::kYAxis, AcGeVector3d::kZAxis);
const AcGePlane AcGePlane::kZXPlane(AcGePoint3d::kOrigin, AcGeVector3d::kZAxis, AcGeVector3d::kXAxis);

AcGePlane::AcGePlane() = default;

AcGePlane::AcGePlane(const AcGePoint3d& origin, const AcGeVector3d& normal) { set(origin, normal); }

AcGePlane::AcGePlane(const AcGePoint3d& pntU, const AcGePoint3d& org, const AcGePoint3d& pntV) {
    set(org, pntU - org, pntV - org);
}

AcGePlane::AcGePlane(const AcGePoint3d& org, const AcGeVector3d& uAxis, const AcGeVector3d& vAxis) {
    set(org, uAxis, vAxis);
}

AcGePlane& AcGePlane::set(const AcGePoint3d& origin, const AcGeVector3d& normal) {
    m_origin = origin;
    m_normal = normal.normal();
    fendo::ge::arbitraryAxes(m_normal, m_u, m_v);
    return *this;
}

AcGePlane& AcGePlane::set(const AcGePoint3d& org, const AcGeVector3d& uAxis, const AcGeVector3d& vAxis) {
    // Kept orthonormal: v is replaced by the unit vector in the (u, v) plane perpendicular to u.
    m_origin = org;
    m_u = uAxis.normal();
    m_normal = uAxis.crossProduct(vAxis).normal();
    m_v = m_normal.crossProduct(m_u);
    return *this;
}

void AcGePlane::get(AcGePoint3d& origin, AcGeVector3d& uAxis, AcGeVector3d& vAxis) const {
    origin = m_origin;
    uAxis = m_u;
    vAxis = m_v;
}

void AcGePlane::getCoefficients(double& a, double& b, double& c, double& d) const {
    a = m_normal.x;
    b = m_normal.y;
    c = m_normal.z;
    d = -m_normal.dotProduct(m_origin.asVector());
}

AcGePoint3d AcGePlane::evalPoint(const AcGePoint2d& uv) const { return m_origin + m_u * uv.x + m_v * uv.y; }

AcGePoint2d AcGePlane::paramOf(const AcGePoint3d& pnt) const {
    const AcGeVector3d d = pnt - m_origin;
    return {d.dotProduct(m_u), d.dotProduct(m_v)};
}

double AcGePlane::signedDistanceTo(const AcGePoint3d& pnt) const { return (pnt - m_origin).dotProduct(m_normal); }
double AcGePlane::distanceTo(const AcGePoint3d& pnt) const { return std::fabs(signedDistanceTo(pnt)); }
AcGePoint3d AcGePlane::closestPointTo(const AcGePoint3d& pnt) const {
    return pnt - m_normal * signedDistanceTo(pnt);
}
bool AcGePlane::isOn(const AcGePoint3d& pnt, const AcGeTol& tol) const { return distanceTo(pnt) <= tol.equalPoint(); }

bool AcGePlane::intersectWith(const AcGeLine3d& line, AcGePoint3d& intPnt, const AcGeTol& tol) const {
    const AcGeVector3d d = line.direction();
    if (d.isZeroLength(tol) || d.isPerpendicularTo(m_normal, tol)) return false;
    const AcGePoint3d p = line.pointOnLine();
    intPnt = p - d * (signedDistanceTo(p) / d.dotProduct(m_normal));
    return true;
}

bool AcGePlane::intersectWith(const AcGeLineSeg3d& seg, AcGePoint3d& intPnt, const AcGeTol& tol) const {
    AcGePoint3d p;
    if (!intersectWith(seg.line(), p, tol) || !seg.isOn(p, tol)) return false;
    intPnt = p;
    return true;
}

bool AcGePlane::intersectWith(const AcGePlane& other, AcGeLine3d& intLine, const AcGeTol& tol) const {
    const AcGeVector3d dir = m_normal.crossProduct(other.m_normal);
    if (dir.length() <= tol.equalVector()) return false;
    // The point of the line nearest the origin solves n1.p = d1, n2.p = d2, dir.p = 0.
    const double d1 = m_normal.dotProduct(m_origin.asVector());
    const double d2 = other.m_normal.dotProduct(other.m_origin.asVector());
    const AcGeVector3d p =
        (other.m_normal.crossProduct(dir) * d1 + dir.crossProduct(m_normal) * d2) / dir.lengthSqrd();
    intLine.set(AcGePoint3d(p.x, p.y, p.z), dir.normal());
    return true;
}

bool AcGePlane::isParallelTo(const AcGePlane& other, const AcGeTol& tol) const {
    return m_normal.isParallelTo(other.m_normal, tol);
}

bool AcGePlane::isCoplanarTo(const AcGePlane& other, const AcGeTol& tol) const {
    return isParallelTo(other, tol) && isOn(other.m_origin, tol);
}

AcGePlane& AcGePlane::transformBy(const AcGeMatrix3d& m) {
    AcGeVector3d u = m_u, v = m_v;
    return set(m * m_origin, u.transformBy(m), v.transformBy(m));
}
