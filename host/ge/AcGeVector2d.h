// Two-dimensional vector value type of the host's geometry library.
#pragma once
#include "host/ge/AcGeTol.h"

class AcGeVector2d {
public:
    static const AcGeVector2d kIdentity;  // the zero vector, as the host names it
    static const AcGeVector2d kXAxis;
    static const AcGeVector2d kYAxis;

    constexpr AcGeVector2d() = default;
    constexpr AcGeVector2d(double xx, double yy) : x(xx), y(yy) {}

    AcGeVector2d operator*(double s) const { return {x * s, y * s}; }
    friend AcGeVector2d operator*(double s, const AcGeVector2d& v) { return v * s; }
    AcGeVector2d operator/(double s) const { return {x / s, y / s}; }
    AcGeVector2d operator+(const AcGeVector2d& v) const { return {x + v.x, y + v.y}; }
    AcGeVector2d operator-(const AcGeVector2d& v) const { return {x - v.x, y - v.y}; }
    AcGeVector2d operator-() const { return {-x, -y}; }
    AcGeVector2d& operator*=(double s) { x *= s; y *= s; return *this; }
    AcGeVector2d& operator/=(double s) { x /= s; y /= s; return *this; }
    AcGeVector2d& operator+=(const AcGeVector2d& v) { x += v.x; y += v.y; return *this; }
    AcGeVector2d& operator-=(const AcGeVector2d& v) { x -= v.x; y -= v.y; return *this; }
    bool operator==(const AcGeVector2d& v) const { return isEqualTo(v); }
    bool operator!=(const AcGeVector2d& v) const { return !isEqualTo(v); }
    double operator[](unsigned int i) const { return i == 0 ? x : y; }
    double& operator[](unsigned int i) { return i == 0 ? x : y; }

    AcGeVector2d& set(double xx, double yy) { x = xx; y = yy; return *this; }
    AcGeVector2d& setToSum(const AcGeVector2d& a, const AcGeVector2d& b) { return *this = a + b; }
    AcGeVector2d& setToProduct(const AcGeVector2d& v, double s) { return *this = v * s; }
    AcGeVector2d& negate() { x = -x; y = -y; return *this; }

    double length() const;
    double lengthSqrd() const { return x * x + y * y; }
    double dotProduct(const AcGeVector2d& v) const { return x * v.x + y * v.y; }
    // The vector turned a quarter turn counter-clockwise.
    AcGeVector2d perpVector() const { return {-y, x}; }
    // Direction angle from the x axis, in [0, 2pi).
    double angle() const;
    // Unsigned angle between the two vectors, in [0, pi].
    double angleTo(const AcGeVector2d& v) const;
    AcGeVector2d& rotateBy(double angle);
    AcGeVector2d normal(const AcGeTol& tol = AcGeContext::gTol) const;
    AcGeVector2d& normalize(const AcGeTol& tol = AcGeContext::gTol);

    bool isUnitLength(const AcGeTol& tol = AcGeContext::gTol) const;
    bool isZeroLength(const AcGeTol& tol = AcGeContext::gTol) const;
    bool isParallelTo(const AcGeVector2d& v, const AcGeTol& tol = AcGeContext::gTol) const;
    bool isCodirectionalTo(const AcGeVector2d& v, const AcGeTol& tol = AcGeContext::gTol) const;
    bool isPerpendicularTo(const AcGeVector2d& v, const AcGeTol& tol = AcGeContext::gTol) const;
    bool isEqualTo(const AcGeVector2d& v, const AcGeTol& tol = AcGeContext::gTol) const;

    double x = 0.0;
    double y = 0.0;
};

inline const AcGeVector2d AcGeVector2d::kIdentity{0.0, 0.0};
inline const AcGeVector2d AcGeVector2d::kXAxis{1.0, 0.0};
inline const AcGeVector2d AcGeVector2d::kYAxis{0.0, 1.0};
