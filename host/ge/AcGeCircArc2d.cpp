// Circular arc in the plane: construction, projection and intersection with segments.
#include "host/ge/AcGeCircArc2d.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {
constexpr double kTwoPi = 2.0 * std::numbers::pi;
}

AcGeCircArc2d::AcGeCircArc2d(const AcGePoint2d& center, double radius) : m_center(center), m_radius(radius) {}

AcGeCircArc2d::AcGeCircArc2d(const AcGePoint2d& center, double radius, double startAngle, double endAngle,
                             const AcGeVector2d& refVec, bool isClockWise)
    : m_center(center), m_radius(radius), m_refVec(refVec.normal()), m_clockWise(isClockWise) {
    m_startAng = startAngle;
    double sweep = std::fmod(endAngle - startAngle, kTwoPi);
    if (sweep <= 0.0) sweep += kTwoPi;
    if (endAngle - startAngle >= kTwoPi) sweep = kTwoPi;
    m_endAng = startAngle + sweep;
}

AcGeCircArc2d::AcGeCircArc2d(const AcGePoint2d& startPoint, const AcGePoint2d& pnt, const AcGePoint2d& endPoint) {
    const AcGeVector2d a = pnt - startPoint, b = endPoint - pnt;
    const double cross = a.x * b.y - a.y * b.x;
    const double scale = std::max(a.lengthSqrd(), b.lengthSqrd());
    const double eps = AcGeContext::gTol.equalVector();
    if (scale == 0.0 || std::fabs(cross) <= eps * scale) {
        m_center = startPoint;
        m_radius = 0.0;
        m_startAng = m_endAng = 0.0;
        return;
    }
    // Circumcentre relative to the start point.
    const AcGeVector2d e = endPoint - startPoint;
    const double d = 2.0 * (a.x * e.y - a.y * e.x);
    const double a2 = a.lengthSqrd(), e2 = e.lengthSqrd();
    const AcGeVector2d c((e.y * a2 - a.y * e2) / d, (a.x * e2 - e.x * a2) / d);
    m_center = startPoint + c;
    m_radius = c.length();
    m_clockWise = cross < 0.0;
    m_refVec = AcGeVector2d::kXAxis;
    m_startAng = 0.0;
    m_startAng = paramOf(startPoint);  // in [0, 2pi) while startAng is 0
    double end = paramOf(endPoint);
    if (end <= m_startAng) end += kTwoPi;
    m_endAng = end;
}

bool AcGeCircArc2d::isClosed(const AcGeTol& tol) const { return startPoint().isEqualTo(endPoint(), tol); }

AcGePoint2d AcGeCircArc2d::evalPoint(double angle) const {
    const AcGeVector2d y = m_clockWise ? -m_refVec.perpVector() : m_refVec.perpVector();
    return m_center + (m_refVec * std::cos(angle) + y * std::sin(angle)) * m_radius;
}

double AcGeCircArc2d::paramOf(const AcGePoint2d& pnt) const {
    const AcGeVector2d y = m_clockWise ? -m_refVec.perpVector() : m_refVec.perpVector();
    const AcGeVector2d v = pnt - m_center;
    double a = std::atan2(v.dotProduct(y), v.dotProduct(m_refVec));
    a = m_startAng + std::fmod(a - m_startAng, kTwoPi);
    if (a < m_startAng) a += kTwoPi;
    return a;
}

bool AcGeCircArc2d::isOn(const AcGePoint2d& pnt, const AcGeTol& tol) const {
    if (std::fabs(pnt.distanceTo(m_center) - m_radius) > tol.equalPoint()) return false;
    const double a = paramOf(pnt);
    if (a <= m_endAng) return true;
    const double slack = m_radius > 0.0 ? tol.equalPoint() / m_radius : 0.0;
    return a - m_endAng <= slack || m_startAng + kTwoPi - a <= slack;
}

AcGePoint2d AcGeCircArc2d::closestPointTo(const AcGePoint2d& pnt, const AcGeTol& tol) const {
    if (pnt.distanceTo(m_center) <= tol.equalPoint()) return startPoint();
    const double a = paramOf(pnt);
    if (a <= m_endAng) return evalPoint(a);
    const AcGePoint2d s = startPoint(), e = endPoint();
    return pnt.distanceTo(s) <= pnt.distanceTo(e) ? s : e;
}

bool AcGeCircArc2d::intersectWith(const AcGeLineSeg2d& seg, int& numInt, AcGePoint2d& p1, AcGePoint2d& p2,
                                  const AcGeTol& tol) const {
    numInt = 0;
    const AcGeVector2d d = seg.endPoint() - seg.startPoint();
    if (d.isZeroLength(tol)) return false;
    const AcGeVector2d u = d.normal();
    const AcGePoint2d foot = seg.startPoint() + u * (m_center - seg.startPoint()).dotProduct(u);
    const double h = foot.distanceTo(m_center);
    AcGePoint2d cand[2];
    int n = 0;
    if (std::fabs(h - m_radius) <= tol.equalPoint()) {
        cand[n++] = foot;
    } else if (h < m_radius) {
        const double half = std::sqrt(m_radius * m_radius - h * h);
        cand[n++] = foot - u * half;
        cand[n++] = foot + u * half;
    }
    for (int i = 0; i < n; ++i) {
        if (!seg.isOn(cand[i], tol) || !isOn(cand[i], tol)) continue;
        (numInt == 0 ? p1 : p2) = cand[i];
        ++numInt;
    }
    return numInt > 0;
}
