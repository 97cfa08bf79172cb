// Circular arc or circle in the plane of the host's geometry library. Angles are
// measured from refVec; a clockwise arc runs clockwise from startAng to endAng.
#pragma once
#include "host/ge/AcGeLineSeg2d.h"
#include "host/ge/AcGePoint2d.h"
#include "host/ge/AcGeTol.h"
#include "host/ge/AcGeVector2d.h"

class AcGeCircArc2d {
public:
    AcGeCircArc2d() = default;
    AcGeCircArc2d(const AcGePoint2d& center, double radius);
    AcGeCircArc2d(const AcGePoint2d& center, double radius, double startAngle, double endAngle,
                  const AcGeVector2d& refVec = AcGeVector2d::kXAxis, bool isClockWise = false);
    // The arc from startPoint through pnt to endPoint. Collinear points leave a
    // zero-radius arc (see isDegenerate).
    AcGeCircArc2d(const AcGePoint2d& startPoint, const AcGePoint2d& pnt, const AcGePoint2d& endPoint);

    AcGePoint2d center() const { return m_center; }
    double radius() const { return m_radius; }
    double startAng() const { return m_startAng; }
    double endAng() const { return m_endAng; }
    AcGeVector2d refVec() const { return m_refVec; }
    bool isClockWise() const { return m_clockWise; }
    bool isDegenerate() const { return m_radius <= 0.0; }
    bool isClosed(const AcGeTol& tol = AcGeContext::gTol) const;
    AcGePoint2d startPoint() const { return evalPoint(m_startAng); }
    AcGePoint2d endPoint() const { return evalPoint(m_endAng); }
    double length() const { return m_radius * (m_endAng - m_startAng); }

    // Point at an angle measured from refVec in the arc's own sense.
    AcGePoint2d evalPoint(double angle) const;
    // Angle of the point in the arc's own sense, within [startAng, startAng + 2pi).
    double paramOf(const AcGePoint2d& pnt) const;
    bool isOn(const AcGePoint2d& pnt, const AcGeTol& tol = AcGeContext::gTol) const;
    AcGePoint2d closestPointTo(const AcGePoint2d& pnt, const AcGeTol& tol = AcGeContext::gTol) const;
    bool intersectWith(const AcGeLineSeg2d& seg, int& numInt, AcGePoint2d& p1, AcGePoint2d& p2,
                       const AcGeTol& tol = AcGeContext::gTol) const;

private:
    AcGePoint2d m_center;
    double m_radius = 1.0;
    double m_startAng = 0.0;
    double m_endAng = 6.283185307179586;
    AcGeVector2d m_refVec{1.0, 0.0};
    bool m_clockWise = false;
};
