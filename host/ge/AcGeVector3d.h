// Three-dimensional vector value type of the host's geometry library.
#pragma once
#include "host/ge/AcGeTol.h"
#include "host/ge/AcGeVector2d.h"

class AcGeMatrix3d;
class AcGePlane;

class AcGeVector3d {
public:
    static const AcGeVector3d kIdentity;  // the zero vector, as the host names it
    static const AcGeVector3d kXAxis;
    static const AcGeVector3d kYAxis;
    static const AcGeVector3d kZAxis;

    constexpr AcGeVector3d() = default;
    constexpr AcGeVector3d(double xx, double yy, double zz) : x(xx), y(yy), z(zz) {}

    AcGeVector3d operator*(double s) const { return {x * s, y * s, z * s}; }
    friend AcGeVector3d operator*(double s, const AcGeVector3d& v) { return v * s; }
    friend AcGeVector3d operator*(const AcGeMatrix3d& m, const AcGeVector3d& v);
    AcGeVector3d operator/(double s) const { return {x / s, y / s, z / s}; }
    AcGeVector3d operator+(const AcGeVector3d& v) const { return {x + v.x, y + v.y, z + v.z}; }
    AcGeVector3d operator-(const AcGeVector3d& v) const { return {x - v.x, y - v.y, z - v.z}; }
    AcGeVector3d operator-() const { return {-x, -y, -z}; }
    AcGeVector3d& operator*=(double s) { x *= s; y *= s; z *= s; return *this; }
    AcGeVector3d& operator/=(double s) { x /= s; y /= s; z /= s; return *this; }
    AcGeVector3d& operator+=(const AcGeVector3d& v) { x += v.x; y += v.y; z += v.z; return *this; }
    AcGeVector3d& operator-=(const AcGeVector3d& v) { x -= v.x; y -= v.y; z -= v.z; return *this; }
    bool operator==(const AcGeVector3d& v) const { return isEqualTo(v); }
    bool operator!=(const AcGeVector3d& v) const { return !isEqualTo(v); }
    double operator[](unsigned int i) const { return i == 0 ? x : (i == 1 ? y : z); }
    double& operator[](unsigned int i) { return i == 0 ? x : (i == 1 ? y : z); }

    AcGeVector3d& set(double xx, double yy, double zz) { x = xx; y = yy; z = zz; return *this; }
    AcGeVector3d& setToSum(const AcGeVector3d& a, const AcGeVector3d& b) { return *this = a + b; }
    AcGeVector3d& setToProduct(const AcGeVector3d& v, double s) { return *this = v * s; }
    AcGeVector3d& setToProduct(const AcGeMatrix3d& m, const AcGeVector3d& v);
    AcGeVector3d& negate() { x = -x; y = -y; z = -z; return *this; }

    double length() const;
    double lengthSqrd() const { return x * x + y * y + z * z; }
    double dotProduct(const AcGeVector3d& v) const { return x * v.x + y * v.y + z * v.z; }
    AcGeVector3d crossProduct(const AcGeVector3d& v) const {
        return {y * v.z - z * v.y, z * v.x - x * v.z, x * v.y - y * v.x};
    }
    // A vector perpendicular to this one: (-y, x, 0), which is perpendicular to any
    // (x, y, z); for a vector along z, (z, 0, -x) instead.
    AcGeVector3d perpVector() const;
    // Unsigned angle between the vectors, in [0, pi].
    double angleTo(const AcGeVector3d& v) const;
    // Angle from this vector to v counter-clockwise about refVec, in [0, 2pi).
    double angleTo(const AcGeVector3d& v, const AcGeVector3d& refVec) const;
    // Right-hand rotation about an axis through the origin.
    AcGeVector3d& rotateBy(double angle, const AcGeVector3d& axis);
    AcGeVector3d& transformBy(const AcGeMatrix3d& m);
    AcGeVector3d& mirror(const AcGeVector3d& normalToPlane);
    // The part of the vector lying in the plane with the given normal.
    AcGeVector3d orthoProject(const AcGeVector3d& planeNormal) const;
    // The vector expressed in the plane's (u, v) axes, after dropping its normal part.
    AcGeVector2d convert2d(const AcGePlane& plane) const;
    AcGeVector3d normal(const AcGeTol& tol = AcGeContext::gTol) const;
    AcGeVector3d& normalize(const AcGeTol& tol = AcGeContext::gTol);
    // Index (0, 1, 2) of the coordinate of largest magnitude.
    unsigned int largestElement() const;

    bool isUnitLength(const AcGeTol& tol = AcGeContext::gTol) const;
    bool isZeroLength(const AcGeTol& tol = AcGeContext::gTol) const;
    bool isParallelTo(const AcGeVector3d& v, const AcGeTol& tol = AcGeContext::gTol) const;
    bool isCodirectionalTo(const AcGeVector3d& v, const AcGeTol& tol = AcGeContext::gTol) const;
    bool isPerpendicularTo(const AcGeVector3d& v, const AcGeTol& tol = AcGeContext::gTol) const;
    bool isEqualTo(const AcGeVector3d& v, const AcGeTol& tol = AcGeContext::gTol) const;

    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
};

inline const AcGeVector3d AcGeVector3d::kIdentity{0.0, 0.0, 0.0};
inline const AcGeVector3d AcGeVector3d::kXAxis{1.0, 0.0, 0.0};
inline const AcGeVector3d AcGeVector3d::kYAxis{0.0, 1.0, 0.0};
inline const AcGeVector3d AcGeVector3d::kZAxis{0.0, 0.0, 1.0};
