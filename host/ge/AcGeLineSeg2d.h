// Bounded 2D line segment of the host's geometry library; parameter 0 at the start, 1 at the end.
#pragma once
#include "host/ge/AcGePoint2d.h"
#include "host/ge/AcGeTol.h"
#include "host/ge/AcGeVector2d.h"

class AcGeLineSeg2d {
public:
    AcGeLineSeg2d() = default;
    AcGeLineSeg2d(const AcGePoint2d& start, const AcGePoint2d& end) : m_start(start), m_end(end) {}
    AcGeLineSeg2d(const AcGePoint2d& pnt, const AcGeVector2d& vec) : m_start(pnt), m_end(pnt + vec) {}

    AcGeLineSeg2d& set(const AcGePoint2d& start, const AcGePoint2d& end);
    AcGePoint2d startPoint() const { return m_start; }
    AcGePoint2d endPoint() const { return m_end; }
    AcGePoint2d midPoint() const;
    double length() const { return m_start.distanceTo(m_end); }
    AcGeVector2d direction() const;
    AcGePoint2d evalPoint(double param) const;
    double paramOf(const AcGePoint2d& pnt) const;

    AcGePoint2d closestPointTo(const AcGePoint2d& pnt, const AcGeTol& tol = AcGeContext::gTol) const;
    double distanceTo(const AcGePoint2d& pnt) const;
    bool isOn(const AcGePoint2d& pnt, const AcGeTol& tol = AcGeContext::gTol) const;
    // A single crossing point of two non-parallel segments, ends included within tolerance.
    bool intersectWith(const AcGeLineSeg2d& other, AcGePoint2d& intPnt,
                       const AcGeTol& tol = AcGeContext::gTol) const;
    AcGeLineSeg2d& reverseParam();

private:
    AcGePoint2d m_start;
    AcGePoint2d m_end{1.0, 0.0};
};
