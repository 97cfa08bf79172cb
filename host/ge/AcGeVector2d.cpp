// Two-dimensional vector operations.
#include "host/ge/AcGeVector2d.h"

#include <cmath>
#include <numbers>

double AcGeVector2d::length() const { return std::hypot(x, y); }

double AcGeVector2d::angle() const {
    double a = std::atan2(y, x);
    if (a < 0.0) a += 2.0 * std::numbers::pi;
    return a;
}

double AcGeVector2d::angleTo(const AcGeVector2d& v) const {
    return std::fabs(std::atan2(x * v.y - y * v.x, dotProduct(v)));
}

AcGeVector2d& AcGeVector2d::rotateBy(double angle) {
    const double c = std::cos(angle), s = std::sin(angle);
    return set(c * x - s * y, s * x + c * y);
}

AcGeVector2d AcGeVector2d::normal(const AcGeTol& tol) const {
    if (isZeroLength(tol)) return *this;
    return *this / length();
}

AcGeVector2d& AcGeVector2d::normalize(const AcGeTol& tol) { return *this = normal(tol); }

bool AcGeVector2d::isUnitLength(const AcGeTol& tol) const {
    return std::fabs(length() - 1.0) <= tol.equalVector();
}

bool AcGeVector2d::isZeroLength(const AcGeTol& tol) const { return length() <= tol.equalVector(); }

bool AcGeVector2d::isParallelTo(const AcGeVector2d& v, const AcGeTol& tol) const {
    if (isZeroLength(tol) || v.isZeroLength(tol)) return false;
    const AcGeVector2d a = normal(), b = v.normal();
    return std::fabs(a.x * b.y - a.y * b.x) <= tol.equalVector();
}

bool AcGeVector2d::isCodirectionalTo(const AcGeVector2d& v, const AcGeTol& tol) const {
    return isParallelTo(v, tol) && dotProduct(v) > 0.0;
}

bool AcGeVector2d::isPerpendicularTo(const AcGeVector2d& v, const AcGeTol& tol) const {
    if (isZeroLength(tol) || v.isZeroLength(tol)) return false;
    return std::fabs(normal().dotProduct(v.normal())) <= tol.equalVector();
}

bool AcGeVector2d::isEqualTo(const AcGeVector2d& v, const AcGeTol& tol) const {
    return (*this - v).length() <= tol.equalVector();
}
