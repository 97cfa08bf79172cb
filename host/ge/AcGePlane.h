// Unbounded plane of the host's geometry library: an origin and two unit axes u, v
// whose cross product is the unit normal.
#pragma once
#include "host/ge/AcGePoint2d.h"
#include "host/ge/AcGePoint3d.h"
#include "host/ge/AcGeTol.h"
#include "host/ge/AcGeVector3d.h"

class AcGeLine3d;
class AcGeLineSeg3d;
class AcGeMatrix3d;

class AcGePlane {
public:
    static const AcGePlane kXYPlane;
    static const AcGePlane kYZPlane;
    static const AcGePlane kZXPlane;

    AcGePlane();
    // Axes u, v from the normal by the arbitrary-axis rule.
    AcGePlane(const AcGePoint3d& origin, const AcGeVector3d& normal);
    // The plane through pntU, org, pntV with u towards pntU.
    AcGePlane(const AcGePoint3d& pntU, const AcGePoint3d& org, const AcGePoint3d& pntV);
    AcGePlane(const AcGePoint3d& org, const AcGeVector3d& uAxis, const AcGeVector3d& vAxis);

    AcGePlane& set(const AcGePoint3d& origin, const AcGeVector3d& normal);
    AcGePlane& set(const AcGePoint3d& org, const AcGeVector3d& uAxis, const AcGeVector3d& vAxis);

    AcGePoint3d pointOnPlane() const { return m_origin; }
    AcGeVector3d normal() const { return m_normal; }
    void get(AcGePoint3d& origin, AcGeVector3d& uAxis, AcGeVector3d& vAxis) const;
    // Coefficients of a x + b y + c z + d = 0 with (a, b, c) the unit normal.
    void getCoefficients(double& a, double& b, double& c, double& d) const;

    AcGePoint3d evalPoint(const AcGePoint2d& uv) const;
    AcGePoint2d paramOf(const AcGePoint3d& pnt) const;
    double signedDistanceTo(const AcGePoint3d& pnt) const;
    double distanceTo(const AcGePoint3d& pnt) const;
    AcGePoint3d closestPointTo(const AcGePoint3d& pnt) const;
    bool isOn(const AcGePoint3d& pnt, const AcGeTol& tol = AcGeContext::gTol) const;

    bool intersectWith(const AcGeLine3d& line, AcGePoint3d& intPnt,
                       const AcGeTol& tol = AcGeContext::gTol) const;
    bool intersectWith(const AcGeLineSeg3d& seg, AcGePoint3d& intPnt,
                       const AcGeTol& tol = AcGeContext::gTol) const;
    bool intersectWith(const AcGePlane& other, AcGeLine3d& intLine,
                       const AcGeTol& tol = AcGeContext::gTol) const;
    bool isParallelTo(const AcGePlane& other, const AcGeTol& tol = AcGeContext::gTol) const;
    bool isCoplanarTo(const AcGePlane& other, const AcGeTol& tol = AcGeContext::gTol) const;

    AcGePlane& transformBy(const AcGeMatrix3d& m);

private:
    AcGePoint3d m_origin;
    AcGeVector3d m_u{1.0, 0.0, 0.0};
    AcGeVector3d m_v{0.0, 1.0, 0.0};
    AcGeVector3d m_normal{0.0, 0.0, 1.0};
};
