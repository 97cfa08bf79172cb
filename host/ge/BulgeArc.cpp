// Arithmetic of bulged polyline segments.
#include "host/ge/BulgeArc.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "host/ge/AcGeCircArc2d.h"

namespace fendo::ge {

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;

double normalizedAngle(double a) {
    a = std::fmod(a, kTwoPi);
    return a < 0.0 ? a + kTwoPi : a;
}

AcGePoint2d lerp(const AcGePoint2d& p0, const AcGePoint2d& p1, double t) { return p0 + (p1 - p0) * t; }

}  // namespace

double includedAngle(double bulge) { return 4.0 * std::atan(bulge); }

double bulgeFromIncludedAngle(double sweep) { return std::tan(sweep / 4.0); }

std::optional<BulgeArc> arcFromBulge(const AcGePoint2d& p0, const AcGePoint2d& p1, double bulge) {
    // Most segments are straight: they are told before the chord is measured.
    if (std::fabs(bulge) <= kStraightBulge) return std::nullopt;
    const AcGeVector2d chord = p1 - p0;
    const double c = chord.length();
    if (c == 0.0) return std::nullopt;
    BulgeArc arc;
    arc.sweep = includedAngle(bulge);
    arc.ccw = bulge > 0.0;
    arc.radius = c * (1.0 + bulge * bulge) / (4.0 * std::fabs(bulge));
    // The centre lies on the chord's bisector, left of the chord for a counter-clockwise
    // arc of less than half a turn.
    const AcGeVector2d left = chord.perpVector() / c;
    const double offset = (c / 2.0) * (1.0 - bulge * bulge) / (2.0 * bulge);
    arc.center = lerp(p0, p1, 0.5) + left * offset;
    arc.startAngle = (p0 - arc.center).angle();
    arc.endAngle = (p1 - arc.center).angle();
    return arc;
}

double bulgeFromArc(double startAngle, double endAngle, ArcSense sense) {
    if (sense == ArcSense::kCounterClockwise) return std::tan(normalizedAngle(endAngle - startAngle) / 4.0);
    return -std::tan(normalizedAngle(startAngle - endAngle) / 4.0);
}

double bulgeFromArc(const BulgeArc& arc) {
    return bulgeFromArc(arc.startAngle, arc.endAngle, arc.ccw ? ArcSense::kCounterClockwise : ArcSense::kClockwise);
}

double bulgeFromThreePoints(const AcGePoint2d& p0, const AcGePoint2d& mid, const AcGePoint2d& p1) {
    const AcGeCircArc2d arc(p0, mid, p1);
    if (arc.isDegenerate()) return 0.0;
    const double b = std::tan((arc.endAng() - arc.startAng()) / 4.0);
    return arc.isClockWise() ? -b : b;
}

double bulgeSegmentLength(const AcGePoint2d& p0, const AcGePoint2d& p1, double bulge) {
    const auto arc = arcFromBulge(p0, p1, bulge);
    if (!arc) return p0.distanceTo(p1);
    return arc->radius * std::fabs(arc->sweep);
}

AcGePoint2d pointOnBulgeSegment(const AcGePoint2d& p0, const AcGePoint2d& p1, double bulge, double fraction) {
    const auto arc = arcFromBulge(p0, p1, bulge);
    if (!arc) return lerp(p0, p1, fraction);
    if (fraction <= 0.0) return p0;
    if (fraction >= 1.0) return p1;
    return pointOnBulgeArc(*arc, fraction);
}

AcGePoint2d pointOnBulgeArc(const BulgeArc& arc, double fraction)
{
    const double a = arc.startAngle + arc.sweep * fraction;
    return arc.center + AcGeVector2d(std::cos(a), std::sin(a)) * arc.radius;
}

AcGeVector2d tangentOnBulgeSegment(const AcGePoint2d& p0, const AcGePoint2d& p1, double bulge, double fraction) {
    const auto arc = arcFromBulge(p0, p1, bulge);
    if (!arc) return (p1 - p0).normal();
    const double a = arc->startAngle + arc->sweep * fraction;
    const AcGeVector2d ccwTangent(-std::sin(a), std::cos(a));
    return arc->ccw ? ccwTangent : -ccwTangent;
}

SegmentPoint closestPointOnBulgeSegment(const AcGePoint2d& p0, const AcGePoint2d& p1, double bulge,
                                        const AcGePoint2d& pnt) {
    const auto arc = arcFromBulge(p0, p1, bulge);
    if (!arc) {
        const AcGeVector2d d = p1 - p0;
        const double l2 = d.lengthSqrd();
        const double t = l2 == 0.0 ? 0.0 : std::clamp((pnt - p0).dotProduct(d) / l2, 0.0, 1.0);
        return {lerp(p0, p1, t), t};
    }
    const AcGeVector2d v = pnt - arc->center;
    if (v.lengthSqrd() > 0.0) {
        // Angle travelled from the start in the arc's own sense.
        const double along = normalizedAngle(arc->ccw ? v.angle() - arc->startAngle : arc->startAngle - v.angle());
        const double span = std::fabs(arc->sweep);
        if (along <= span) {
            const double t = along / span;
            return {arc->center + v.normal() * arc->radius, t};
        }
    }
    return pnt.distanceTo(p0) <= pnt.distanceTo(p1) ? SegmentPoint{p0, 0.0} : SegmentPoint{p1, 1.0};
}

}  // namespace fendo::ge
