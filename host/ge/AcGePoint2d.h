// Two-dimensional point value type of the host's geometry library.
#pragma once
#include "host/ge/AcGeTol.h"
#include "host/ge/AcGeVector2d.h"

class AcGePoint2d {
public:
    static const AcGePoint2d kOrigin;

    constexpr AcGePoint2d() = default;
    constexpr AcGePoint2d(double xx, double yy) : x(xx), y(yy) {}

    AcGePoint2d operator+(const AcGeVector2d& v) const { return {x + v.x, y + v.y}; }
    AcGePoint2d operator-(const AcGeVector2d& v) const { return {x - v.x, y - v.y}; }
    AcGeVector2d operator-(const AcGePoint2d& p) const { return {x - p.x, y - p.y}; }
    AcGePoint2d operator*(double s) const { return {x * s, y * s}; }
    friend AcGePoint2d operator*(double s, const AcGePoint2d& p) { return p * s; }
    AcGePoint2d operator/(double s) const { return {x / s, y / s}; }
    AcGePoint2d& operator+=(const AcGeVector2d& v) { x += v.x; y += v.y; return *this; }
    AcGePoint2d& operator-=(const AcGeVector2d& v) { x -= v.x; y -= v.y; return *this; }
    AcGePoint2d& operator*=(double s) { x *= s; y *= s; return *this; }
    AcGePoint2d& operator/=(double s) { x /= s; y /= s; return *this; }
    bool operator==(const AcGePoint2d& p) const { return isEqualTo(p); }
    bool operator!=(const AcGePoint2d& p) const { return !isEqualTo(p); }
    double operator[](unsigned int i) const { return i == 0 ? x : y; }
    double& operator[](unsigned int i) { return i == 0 ? x : y; }

    AcGePoint2d& set(double xx, double yy) { x = xx; y = yy; return *this; }
    AcGePoint2d& setToSum(const AcGePoint2d& p, const AcGeVector2d& v) { return *this = p + v; }
    AcGeVector2d asVector() const { return {x, y}; }

    double distanceTo(const AcGePoint2d& p) const;
    // Rotation counter-clockwise about a centre.
    AcGePoint2d& rotateBy(double angle, const AcGePoint2d& wrtPoint = kOrigin);
    AcGePoint2d& scaleBy(double factor, const AcGePoint2d& wrtPoint = kOrigin);
    bool isEqualTo(const AcGePoint2d& p, const AcGeTol& tol = AcGeContext::gTol) const;

    double x = 0.0;
    double y = 0.0;
};

inline const AcGePoint2d AcGePoint2d::kOrigin{0.0, 0.0};
