// Bounded 3D line segment of the host's geometry library; parameter 0 at the start,
// 1 at the end.
#pragma once
#include "host/ge/AcGeLine3d.h"
#include "host/ge/AcGePoint3d.h"
#include "host/ge/AcGeTol.h"
#include "host/ge/AcGeVector3d.h"

class AcGeMatrix3d;
class AcGePlane;

class AcGeLineSeg3d {
public:
    AcGeLineSeg3d() = default;
    AcGeLineSeg3d(const AcGePoint3d& start, const AcGePoint3d& end) : m_start(start), m_end(end) {}
    AcGeLineSeg3d(const AcGePoint3d& pnt, const AcGeVector3d& vec) : m_start(pnt), m_end(pnt + vec) {}

    AcGeLineSeg3d& set(const AcGePoint3d& start, const AcGePoint3d& end);
    AcGeLineSeg3d& set(const AcGePoint3d& pnt, const AcGeVector3d& vec);

    AcGePoint3d startPoint() const { return m_start; }
    AcGePoint3d endPoint() const { return m_end; }
    AcGePoint3d midPoint() const;
    double length() const { return m_start.distanceTo(m_end); }
    // Unit direction from start to end.
    AcGeVector3d direction() const;
    AcGePoint3d evalPoint(double param) const;
    double paramOf(const AcGePoint3d& pnt) const;
    // The unbounded line carrying the segment.
    AcGeLine3d line() const { return AcGeLine3d(m_start, m_end); }

    AcGePoint3d closestPointTo(const AcGePoint3d& pnt, const AcGeTol& tol = AcGeContext::gTol) const;
    double distanceTo(const AcGePoint3d& pnt) const;
    bool isOn(const AcGePoint3d& pnt, const AcGeTol& tol = AcGeContext::gTol) const;
    bool intersectWith(const AcGeLineSeg3d& other, AcGePoint3d& intPnt,
                       const AcGeTol& tol = AcGeContext::gTol) const;
    bool intersectWith(const AcGeLine3d& line, AcGePoint3d& intPnt,
                       const AcGeTol& tol = AcGeContext::gTol) const;
    bool intersectWith(const AcGePlane& plane, AcGePoint3d& intPnt,
                       const AcGeTol& tol = AcGeContext::gTol) const;

    AcGeLineSeg3d& reverseParam();
    AcGeLineSeg3d& transformBy(const AcGeMatrix3d& m);

private:
    AcGePoint3d m_start;
    AcGePoint3d m_end{1.0, 0.0, 0.0};
};
