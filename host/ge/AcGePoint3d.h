// Three-dimensional point value type of the host's geometry library.
#pragma once
#include "host/ge/AcGePoint2d.h"
#include "host/ge/AcGeTol.h"
#include "host/ge/AcGeVector3d.h"

class AcGeMatrix3d;
class AcGePlane;

class AcGePoint3d {
public:
    static const AcGePoint3d kOrigin;

    constexpr AcGePoint3d() = default;
    constexpr AcGePoint3d(double xx, double yy, double zz) : x(xx), y(yy), z(zz) {}
    // The point of the plane at plane coordinates (u, v).
    AcGePoint3d(const AcGePlane& plane, const AcGePoint2d& uv);

    AcGePoint3d operator+(const AcGeVector3d& v) const { return {x + v.x, y + v.y, z + v.z}; }
    AcGePoint3d operator-(const AcGeVector3d& v) const { return {x - v.x, y - v.y, z - v.z}; }
    AcGeVector3d operator-(const AcGePoint3d& p) const { return {x - p.x, y - p.y, z - p.z}; }
    AcGePoint3d operator*(double s) const { return {x * s, y * s, z * s}; }
    friend AcGePoint3d operator*(double s, const AcGePoint3d& p) { return p * s; }
    friend AcGePoint3d operator*(const AcGeMatrix3d& m, const AcGePoint3d& p);
    AcGePoint3d operator/(double s) const { return {x / s, y / s, z / s}; }
    AcGePoint3d& operator+=(const AcGeVector3d& v) { x += v.x; y += v.y; z += v.z; return *this; }
    AcGePoint3d& operator-=(const AcGeVector3d& v) { x -= v.x; y -= v.y; z -= v.z; return *this; }
    AcGePoint3d& operator*=(double s) { x *= s; y *= s; z *= s; return *this; }
    AcGePoint3d& operator/=(double s) { x /= s; y /= s; z /= s; return *this; }
    bool operator==(const AcGePoint3d& p) const { return isEqualTo(p); }
    bool operator!=(const AcGePoint3d& p) const { return !isEqualTo(p); }
    double operator[](unsigned int i) const { return i == 0 ? x : (i == 1 ? y : z); }
    double& operator[](unsigned int i) { return i == 0 ? x : (i == 1 ? y : z); }

    AcGePoint3d& set(double xx, double yy, double zz) { x = xx; y = yy; z = zz; return *this; }
    AcGePoint3d& setToSum(const AcGePoint3d& p, const AcGeVector3d& v) { return *this = p + v; }
    AcGePoint3d& setToProduct(const AcGeMatrix3d& m, const AcGePoint3d& p);
    AcGeVector3d asVector() const { return {x, y, z}; }

    double distanceTo(const AcGePoint3d& p) const;
    AcGePoint3d& transformBy(const AcGeMatrix3d& m);
    // Right-hand rotation about the axis vec through wrtPoint.
    AcGePoint3d& rotateBy(double angle, const AcGeVector3d& vec, const AcGePoint3d& wrtPoint = kOrigin);
    AcGePoint3d& scaleBy(double factor, const AcGePoint3d& wrtPoint = kOrigin);
    AcGePoint3d& mirror(const AcGePlane& plane);
    // Foot of the perpendicular from the point to the plane.
    AcGePoint3d orthoProject(const AcGePlane& plane) const;
    // Where the line through the point along projectDirection meets the plane; the point
    // itself when the direction is parallel to the plane.
    AcGePoint3d project(const AcGePlane& plane, const AcGeVector3d& projectDirection) const;
    // Plane coordinates (u, v) of the point's projection onto the plane.
    AcGePoint2d convert2d(const AcGePlane& plane) const;
    bool isEqualTo(const AcGePoint3d& p, const AcGeTol& tol = AcGeContext::gTol) const;

    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
};

inline const AcGePoint3d AcGePoint3d::kOrigin{0.0, 0.0, 0.0};

namespace fendo::ge {

// Plain coordinate conversions between the 2D and 3D value types.
inline AcGePoint3d to3d(const AcGePoint2d& p, double z = 0.0) { return {p.x, p.y, z}; }
inline AcGePoint2d to2d(const AcGePoint3d& p) { return {p.x, p.y}; }
inline AcGeVector3d to3d(const AcGeVector2d& v, double z = 0.0) { return {v.x, v.y, z}; }
inline AcGeVector2d to2d(const AcGeVector3d& v) { return {v.x, v.y}; }

}  // namespace fendo::ge
