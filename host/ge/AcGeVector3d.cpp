// Three-dimensional vector operations.
#include "host/ge/AcGeVector3d.h"

#include <cmath>
#include <numbers>

#include "host/ge/AcGeMatrix3d.h"
#include "host/ge/AcGePlane.h"

AcGeVector3d operator*(const AcGeMatrix3d& m, const AcGeVector3d& v) {
    const auto& e = m.entry;
    return {e[0][0] * v.x + e[0][1] * v.y + e[0][2] * v.z, e[1][0] * v.x + e[1][1] * v.y + e[1][2] * v.z,
            e[2][0] * v.x + e[2][1] * v.y + e[2][2] * v.z};
}

AcGeVector3d& AcGeVector3d::setToProduct(const AcGeMatrix3d& m, const AcGeVector3d& v) { return *this = m * v; }

double AcGeVector3d::length() const { return std::sqrt(lengthSqrd()); }

AcGeVector3d AcGeVector3d::perpVector() const {
    // (-y, x, 0) loses all precision for a vector (nearly) along z.
    if (x * x + y * y <= 1e-24 * lengthSqrd()) return {z, 0.0, -x};
    return {-y, x, 0.0};
}

double AcGeVector3d::angleTo(const AcGeVector3d& v) const {
    return std::atan2(crossProduct(v).length(), dotProduct(v));
}

double AcGeVector3d::angleTo(const AcGeVector3d& v, const AcGeVector3d& refVec) const {
    const AcGeVector3d c = crossProduct(v);
    double s = c.length();
    if (c.dotProduct(refVec) < 0.0) s = -s;
    double a = std::atan2(s, dotProduct(v));
    if (a < 0.0) a += 2.0 * std::numbers::pi;
    return a;
}

AcGeVector3d& AcGeVector3d::rotateBy(double angle, const AcGeVector3d& axis) {
    const AcGeVector3d k = axis.normal();
    if (k.isZeroLength()) return *this;
    const double c = std::cos(angle), s = std::sin(angle);
    // Rodrigues' rotation formula.
    return *this = *this * c + k.crossProduct(*this) * s + k * (k.dotProduct(*this) * (1.0 - c));
}

AcGeVector3d& AcGeVector3d::transformBy(const AcGeMatrix3d& m) { return *this = m * *this; }

AcGeVector3d& AcGeVector3d::mirror(const AcGeVector3d& normalToPlane) {
    const AcGeVector3d n = normalToPlane.normal();
    return *this -= n * (2.0 * dotProduct(n));
}

AcGeVector3d AcGeVector3d::orthoProject(const AcGeVector3d& planeNormal) const {
    const AcGeVector3d n = planeNormal.normal();
    return *this - n * dotProduct(n);
}

AcGeVector2d AcGeVector3d::convert2d(const AcGePlane& plane) const {
    AcGePoint3d origin;
    AcGeVector3d u, v;
    plane.get(origin, u, v);
    return {dotProduct(u), dotProduct(v)};
}

AcGeVector3d AcGeVector3d::normal(const AcGeTol& tol) const {
    if (isZeroLength(tol)) return *this;
    return *this / length();
}

AcGeVector3d& AcGeVector3d::normalize(const AcGeTol& tol) { return *this = normal(tol); }

unsigned int AcGeVector3d::largestElement() const {
    const double ax = std::fabs(x), ay = std::fabs(y), az = std::fabs(z);
    if (ax >= ay && ax >= az) return 0;
    return ay >= az ? 1 : 2;
}

bool AcGeVector3d::isUnitLength(const AcGeTol& tol) const {
    return std::fabs(length() - 1.0) <= tol.equalVector();
}

bool AcGeVector3d::isZeroLength(const AcGeTol& tol) const { return length() <= tol.equalVector(); }

bool AcGeVector3d::isParallelTo(const AcGeVector3d& v, const AcGeTol& tol) const {
    if (isZeroLength(tol) || v.isZeroLength(tol)) return false;
    return normal().crossProduct(v.normal()).length() <= tol.equalVector();
}

bool AcGeVector3d::isCodirectionalTo(const AcGeVector3d& v, const AcGeTol& tol) const {
    return isParallelTo(v, tol) && dotProduct(v) > 0.0;
}

bool AcGeVector3d::isPerpendicularTo(const AcGeVector3d& v, const AcGeTol& tol) const {
    if (isZeroLength(tol) || v.isZeroLength(tol)) return false;
    return std::fabs(normal().dotProduct(v.normal())) <= tol.equalVector();
}

bool AcGeVector3d::isEqualTo(const AcGeVector3d& v, const AcGeTol& tol) const {
    return (*this - v).length() <= tol.equalVector();
}
