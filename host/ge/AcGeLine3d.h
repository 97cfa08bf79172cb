// Unbounded 3D line of the host's geometry library: a point and a direction vector.
// evalPoint(t) = pointOnLine + t * the vector the line was built with.
#pragma once
#include "host/ge/AcGePoint3d.h"
#include "host/ge/AcGeTol.h"
#include "host/ge/AcGeVector3d.h"

class AcGeMatrix3d;
class AcGePlane;

class AcGeLine3d {
public:
    static const AcGeLine3d kXAxis;
    static const AcGeLine3d kYAxis;
    static const AcGeLine3d kZAxis;

    AcGeLine3d();
    AcGeLine3d(const AcGePoint3d& pnt, const AcGeVector3d& vec);
    AcGeLine3d(const AcGePoint3d& pnt1, const AcGePoint3d& pnt2);

    AcGeLine3d& set(const AcGePoint3d& pnt, const AcGeVector3d& vec);
    AcGeLine3d& set(const AcGePoint3d& pnt1, const AcGePoint3d& pnt2);

    AcGePoint3d pointOnLine() const { return m_point; }
    // Unit direction.
    AcGeVector3d direction() const;
    AcGePoint3d evalPoint(double param) const { return m_point + m_vector * param; }
    double paramOf(const AcGePoint3d& pnt) const;

    AcGePoint3d closestPointTo(const AcGePoint3d& pnt, const AcGeTol& tol = AcGeContext::gTol) const;
    // Closest points of two lines: returns the one on this line and gives the one on
    // the other. For parallel lines: this line's own point and its foot on the other.
    AcGePoint3d closestPointTo(const AcGeLine3d& other, AcGePoint3d& pntOnOther,
                               const AcGeTol& tol = AcGeContext::gTol) const;
    double distanceTo(const AcGePoint3d& pnt) const;
    double distanceTo(const AcGeLine3d& other) const;
    bool isOn(const AcGePoint3d& pnt, const AcGeTol& tol = AcGeContext::gTol) const;
    // True when the lines are not parallel and pass within tol.equalPoint() of each
    // other; the point is the one on this line.
    bool intersectWith(const AcGeLine3d& other, AcGePoint3d& intPnt,
                       const AcGeTol& tol = AcGeContext::gTol) const;
    bool intersectWith(const AcGePlane& plane, AcGePoint3d& intPnt,
                       const AcGeTol& tol = AcGeContext::gTol) const;
    bool isParallelTo(const AcGeLine3d& other, const AcGeTol& tol = AcGeContext::gTol) const;
    bool isPerpendicularTo(const AcGeLine3d& other, const AcGeTol& tol = AcGeContext::gTol) const;
    bool isColinearTo(const AcGeLine3d& other, const AcGeTol& tol = AcGeContext::gTol) const;

    AcGeLine3d& transformBy(const AcGeMatrix3d& m);

private:
    AcGePoint3d m_point;
    AcGeVector3d m_vector{1.0, 0.0, 0.0};
};
