// Circular arc or full circle in space of the host's geometry library. The parameter
// is the angle from refVec counter-clockwise about the normal; the arc runs from
// startAng to endAng (endAng > startAng, sweep at most 2pi).
#pragma once
#include "host/ge/AcGeLine3d.h"
#include "host/ge/AcGeLineSeg3d.h"
#include "host/ge/AcGePoint3d.h"
#include "host/ge/AcGeTol.h"
#include "host/ge/AcGeVector3d.h"

class AcGeMatrix3d;
class AcGePlane;

class AcGeCircArc3d {
public:
    // Unit circle about the origin in the XY plane.
    AcGeCircArc3d();
    // Full circle; refVec by the arbitrary-axis rule.
    AcGeCircArc3d(const AcGePoint3d& center, const AcGeVector3d& normal, double radius);
    AcGeCircArc3d(const AcGePoint3d& center, const AcGeVector3d& normal, const AcGeVector3d& refVec,
                  double radius, double startAngle = 0.0, double endAngle = 6.283185307179586);
    // The arc from startPoint through pnt to endPoint; refVec points at startPoint and
    // startAng is 0. Collinear points leave a zero-radius arc (see isDegenerate).
    AcGeCircArc3d(const AcGePoint3d& startPoint, const AcGePoint3d& pnt, const AcGePoint3d& endPoint);

    AcGeCircArc3d& set(const AcGePoint3d& center, const AcGeVector3d& normal, double radius);
    AcGeCircArc3d& set(const AcGePoint3d& center, const AcGeVector3d& normal, const AcGeVector3d& refVec,
                       double radius, double startAngle, double endAngle);
    // Fails (returns false, arc unchanged) for coincident or collinear points.
    bool set(const AcGePoint3d& startPoint, const AcGePoint3d& pnt, const AcGePoint3d& endPoint);
    AcGeCircArc3d& setCenter(const AcGePoint3d& center);
    AcGeCircArc3d& setRadius(double radius);
    AcGeCircArc3d& setAngles(double startAngle, double endAngle);
    AcGeCircArc3d& setAxes(const AcGeVector3d& normal, const AcGeVector3d& refVec);

    AcGePoint3d center() const { return m_center; }
    AcGeVector3d normal() const { return m_normal; }
    AcGeVector3d refVec() const { return m_refVec; }
    double radius() const { return m_radius; }
    double startAng() const { return m_startAng; }
    double endAng() const { return m_endAng; }
    AcGePoint3d startPoint() const { return evalPoint(m_startAng); }
    AcGePoint3d endPoint() const { return evalPoint(m_endAng); }
    bool isClosed(const AcGeTol& tol = AcGeContext::gTol) const;
    bool isDegenerate() const { return m_radius <= 0.0; }

    AcGePoint3d evalPoint(double angle) const;
    // Unit tangent in the direction of increasing angle.
    AcGeVector3d tangentAt(double angle) const;
    // Angle of the point's projection, within [startAng, startAng + 2pi).
    double paramOf(const AcGePoint3d& pnt) const;
    double length() const { return m_radius * (m_endAng - m_startAng); }
    double length(double fromParam, double toParam) const;

    bool isOn(const AcGePoint3d& pnt, const AcGeTol& tol = AcGeContext::gTol) const;
    AcGePoint3d closestPointTo(const AcGePoint3d& pnt, const AcGeTol& tol = AcGeContext::gTol) const;
    double distanceTo(const AcGePoint3d& pnt) const;

    // Intersections with an unbounded line or a segment: count 0, 1 (tangent) or 2,
    // only points on the arc (and on the segment) are given, in line order.
    bool intersectWith(const AcGeLine3d& line, int& numInt, AcGePoint3d& p1, AcGePoint3d& p2,
                       const AcGeTol& tol = AcGeContext::gTol) const;
    bool intersectWith(const AcGeLineSeg3d& seg, int& numInt, AcGePoint3d& p1, AcGePoint3d& p2,
                       const AcGeTol& tol = AcGeContext::gTol) const;
    // Intersections of two coplanar arcs: count 0, 1 or 2. Non-coplanar arcs meet where
    // one crosses the other's plane on the other.
    bool intersectWith(const AcGeCircArc3d& arc, int& numInt, AcGePoint3d& p1, AcGePoint3d& p2,
                       const AcGeTol& tol = AcGeContext::gTol) const;

    AcGeCircArc3d& reverseParam();
    // Rigid motions and uniform scalings; mirrorings keep the arc's sense on screen.
    AcGeCircArc3d& transformBy(const AcGeMatrix3d& m);

private:
    bool isOnCircleAngle(double angle, const AcGeTol& tol) const;

    AcGePoint3d m_center;
    AcGeVector3d m_normal{0.0, 0.0, 1.0};
    AcGeVector3d m_refVec{1.0, 0.0, 0.0};
    double m_radius = 1.0;
    double m_startAng = 0.0;
    double m_endAng = 6.283185307179586;
};
