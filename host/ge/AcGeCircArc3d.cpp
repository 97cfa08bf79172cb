// Circular arc in space: construction, projection and intersections.
#include "host/ge/AcGeCircArc3d.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "host/ge/AcGeMatrix3d.h"
#include "host/ge/AcGePlane.h"

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;

// Centre of the circle through three points in space; false when they are collinear.
bool circleCentre(const AcGePoint3d& p0, const AcGePoint3d& p1, const AcGePoint3d& p2, AcGePoint3d& centre,
                  const AcGeTol& tol) {
    const AcGeVector3d a = p0 - p2, b = p1 - p2;
    const AcGeVector3d axb = a.crossProduct(b);
    const double scale = std::max(a.lengthSqrd(), b.lengthSqrd());
    if (scale == 0.0 || axb.lengthSqrd() <= tol.equalVector() * tol.equalVector() * scale * scale) return false;
    const AcGeVector3d num = (b * a.lengthSqrd() - a * b.lengthSqrd()).crossProduct(axb);
    centre = p2 + num / (2.0 * axb.lengthSqrd());
    return true;
}

}  // namespace

AcGeCircArc3d::AcGeCircArc3d() = default;

AcGeCircArc3d::AcGeCircArc3d(const AcGePoint3d& center, const AcGeVector3d& normal, double radius) {
    set(center, normal, radius);
}

AcGeCircArc3d::AcGeCircArc3d(const AcGePoint3d& center, const AcGeVector3d& normal, const AcGeVector3d& refVec,
                             double radius, double startAngle, double endAngle) {
    set(center, normal, refVec, radius, startAngle, endAngle);
}

AcGeCircArc3d::AcGeCircArc3d(const AcGePoint3d& startPoint, const AcGePoint3d& pnt, const AcGePoint3d& endPoint) {
    if (!set(startPoint, pnt, endPoint)) {
        m_center = startPoint;
        m_radius = 0.0;
        m_startAng = m_endAng = 0.0;
    }
}

AcGeCircArc3d& AcGeCircArc3d::set(const AcGePoint3d& center, const AcGeVector3d& normal, double radius) {
    AcGeVector3d x, y;
    fendo::ge::arbitraryAxes(normal, x, y);
    return set(center, normal, x, radius, 0.0, kTwoPi);
}

AcGeCircArc3d& AcGeCircArc3d::set(const AcGePoint3d& center, const AcGeVector3d& normal, const AcGeVector3d& refVec,
                                  double radius, double startAngle, double endAngle) {
    m_center = center;
    m_radius = radius;
    setAxes(normal, refVec);
    return setAngles(startAngle, endAngle);
}

bool AcGeCircArc3d::set(const AcGePoint3d& startPoint, const AcGePoint3d& pnt, const AcGePoint3d& endPoint) {
    AcGePoint3d c;
    if (!circleCentre(startPoint, pnt, endPoint, c, AcGeContext::gTol)) return false;
    // The triangle start, pnt, end turns the same way as the arc through them.
    const AcGeVector3d n = (pnt - startPoint).crossProduct(endPoint - pnt).normal();
    const AcGeVector3d ref = (startPoint - c).normal();
    m_center = c;
    m_radius = startPoint.distanceTo(c);
    m_normal = n;
    m_refVec = ref;
    m_startAng = 0.0;
    m_endAng = ref.angleTo(endPoint - c, n);
    if (m_endAng <= 0.0) m_endAng = kTwoPi;
    return true;
}

AcGeCircArc3d& AcGeCircArc3d::setCenter(const AcGePoint3d& center) {
    m_center = center;
    return *this;
}

AcGeCircArc3d& AcGeCircArc3d::setRadius(double radius) {
    m_radius = radius;
    return *this;
}

AcGeCircArc3d& AcGeCircArc3d::setAngles(double startAngle, double endAngle) {
    // Sweep kept in (0, 2pi]; equal angles mean a full turn.
    m_startAng = startAngle;
    double sweep = std::fmod(endAngle - startAngle, kTwoPi);
    if (sweep <= 0.0) sweep += kTwoPi;
    if (endAngle - startAngle >= kTwoPi) sweep = kTwoPi;
    m_endAng = startAngle + sweep;
    return *this;
}

AcGeCircArc3d& AcGeCircArc3d::setAxes(const AcGeVector3d& normal, const AcGeVector3d& refVec) {
    m_normal = normal.normal();
    // The reference vector is kept in the plane of the arc.
    AcGeVector3d ref = refVec.orthoProject(m_normal);
    if (ref.isZeroLength()) {
        AcGeVector3d y;
        fendo::ge::arbitraryAxes(m_normal, ref, y);
    }
    m_refVec = ref.normal();
    return *this;
}

bool AcGeCircArc3d::isClosed(const AcGeTol& tol) const { return startPoint().isEqualTo(endPoint(), tol); }

AcGePoint3d AcGeCircArc3d::evalPoint(double angle) const {
    const AcGeVector3d y = m_normal.crossProduct(m_refVec);
    return m_center + (m_refVec * std::cos(angle) + y * std::sin(angle)) * m_radius;
}

AcGeVector3d AcGeCircArc3d::tangentAt(double angle) const {
    const AcGeVector3d y = m_normal.crossProduct(m_refVec);
    return m_refVec * -std::sin(angle) + y * std::cos(angle);
}

double AcGeCircArc3d::paramOf(const AcGePoint3d& pnt) const {
    const AcGeVector3d v = pnt - m_center;
    const AcGeVector3d y = m_normal.crossProduct(m_refVec);
    double a = std::atan2(v.dotProduct(y), v.dotProduct(m_refVec));
    a = m_startAng + std::fmod(a - m_startAng, kTwoPi);
    if (a < m_startAng) a += kTwoPi;
    return a;
}

double AcGeCircArc3d::length(double fromParam, double toParam) const { return m_radius * (toParam - fromParam); }

bool AcGeCircArc3d::isOnCircleAngle(double angle, const AcGeTol& tol) const {
    // angle comes from paramOf: within [startAng, startAng + 2pi).
    if (angle <= m_endAng) return true;
    const double slack = m_radius > 0.0 ? tol.equalPoint() / m_radius : 0.0;
    return angle - m_endAng <= slack || m_startAng + kTwoPi - angle <= slack;
}

bool AcGeCircArc3d::isOn(const AcGePoint3d& pnt, const AcGeTol& tol) const {
    const AcGeVector3d v = pnt - m_center;
    const double h = v.dotProduct(m_normal);
    if (std::fabs(h) > tol.equalPoint()) return false;
    const double inPlane = (v - m_normal * h).length();
    if (std::fabs(inPlane - m_radius) > tol.equalPoint()) return false;
    return isOnCircleAngle(paramOf(pnt), tol);
}

AcGePoint3d AcGeCircArc3d::closestPointTo(const AcGePoint3d& pnt, const AcGeTol& tol) const {
    const AcGeVector3d v = (pnt - m_center).orthoProject(m_normal);
    if (v.isZeroLength(tol)) return startPoint();
    const double a = paramOf(pnt);
    if (isOnCircleAngle(a, tol)) return evalPoint(std::min(a, m_endAng));
    const AcGePoint3d s = startPoint(), e = endPoint();
    return pnt.distanceTo(s) <= pnt.distanceTo(e) ? s : e;
}

double AcGeCircArc3d::distanceTo(const AcGePoint3d& pnt) const { return pnt.distanceTo(closestPointTo(pnt)); }

bool AcGeCircArc3d::intersectWith(const AcGeLine3d& line, int& numInt, AcGePoint3d& p1, AcGePoint3d& p2,
                                  const AcGeTol& tol) const {
    numInt = 0;
    AcGePoint3d cand[2];
    int n = 0;
    const AcGeVector3d d = line.direction();
    if (d.isZeroLength(tol)) return false;
    const AcGePlane plane(m_center, m_normal);
    if (!d.isPerpendicularTo(m_normal, tol)) {
        // The line crosses the arc's plane once.
        AcGePoint3d x;
        if (plane.intersectWith(line, x, tol) && std::fabs(x.distanceTo(m_center) - m_radius) <= tol.equalPoint())
            cand[n++] = x;
    } else {
        if (!plane.isOn(line.pointOnLine(), tol)) return false;
        const AcGePoint3d foot = line.closestPointTo(m_center);
        const double h = foot.distanceTo(m_center);
        if (std::fabs(h - m_radius) <= tol.equalPoint()) {
            cand[n++] = foot;  // tangent
        } else if (h < m_radius) {
            const double half = std::sqrt(m_radius * m_radius - h * h);
            cand[n++] = foot - d * half;
            cand[n++] = foot + d * half;
        }
    }
    for (int i = 0; i < n; ++i) {
        if (!isOnCircleAngle(paramOf(cand[i]), tol)) continue;
        (numInt == 0 ? p1 : p2) = cand[i];
        ++numInt;
    }
    return numInt > 0;
}

bool AcGeCircArc3d::intersectWith(const AcGeLineSeg3d& seg, int& numInt, AcGePoint3d& p1, AcGePoint3d& p2,
                                  const AcGeTol& tol) const {
    AcGePoint3d q[2];
    int n = 0;
    numInt = 0;
    if (!intersectWith(seg.line(), n, q[0], q[1], tol)) return false;
    for (int i = 0; i < n; ++i) {
        if (!seg.isOn(q[i], tol)) continue;
        (numInt == 0 ? p1 : p2) = q[i];
        ++numInt;
    }
    return numInt > 0;
}

bool AcGeCircArc3d::intersectWith(const AcGeCircArc3d& arc, int& numInt, AcGePoint3d& p1, AcGePoint3d& p2,
                                  const AcGeTol& tol) const {
    numInt = 0;
    const AcGePlane myPlane(m_center, m_normal), otherPlane(arc.m_center, arc.m_normal);
    AcGePoint3d cand[2];
    int n = 0;
    if (myPlane.isCoplanarTo(otherPlane, tol)) {
        const AcGeVector3d c1c2 = arc.m_center - m_center;
        const double d = c1c2.length();
        if (d <= tol.equalPoint()) return false;  // concentric: none or the whole circle
        const double r1 = m_radius, r2 = arc.m_radius;
        const AcGeVector3d u = c1c2 / d;
        const double a = (d * d + r1 * r1 - r2 * r2) / (2.0 * d);
        if (std::fabs(d - (r1 + r2)) <= tol.equalPoint() || std::fabs(d - std::fabs(r1 - r2)) <= tol.equalPoint()) {
            cand[n++] = m_center + u * std::clamp(a, -r1, r1);
        } else if (d < r1 + r2 && d > std::fabs(r1 - r2)) {
            const double h = std::sqrt(std::max(0.0, r1 * r1 - a * a));
            const AcGeVector3d w = m_normal.crossProduct(u);
            cand[n++] = m_center + u * a + w * h;
            cand[n++] = m_center + u * a - w * h;
        }
    } else {
        // Points on both must lie on the line where the two planes meet.
        AcGeLine3d common;
        if (!myPlane.intersectWith(otherPlane, common, tol)) return false;
        AcGePoint3d q[2];
        if (!intersectWith(common, n, q[0], q[1], tol)) return false;
        cand[0] = q[0];
        cand[1] = q[1];
    }
    for (int i = 0; i < n; ++i) {
        if (!isOn(cand[i], tol) || !arc.isOn(cand[i], tol)) continue;
        (numInt == 0 ? p1 : p2) = cand[i];
        ++numInt;
    }
    return numInt > 0;
}

AcGeCircArc3d& AcGeCircArc3d::reverseParam() {
    // Measured about the opposite normal, the old angle a becomes -a.
    const double sweep = m_endAng - m_startAng;
    m_normal = -m_normal;
    double start = std::fmod(-m_endAng, kTwoPi);
    if (start < 0.0) start += kTwoPi;
    m_startAng = start;
    m_endAng = start + sweep;
    return *this;
}

AcGeCircArc3d& AcGeCircArc3d::transformBy(const AcGeMatrix3d& m) {
    const AcGeVector3d y = m_normal.crossProduct(m_refVec);
    const AcGeVector3d ref = m * m_refVec, yImage = m * y;
    m_center = m * m_center;
    m_radius *= ref.length();
    m_refVec = ref.normal();
    // The normal follows the image axes so that every angle keeps its point.
    m_normal = m_refVec.crossProduct(yImage).normal();
    return *this;
}
