// Arithmetic of bulged polyline segments: the arc from p0 to p1 whose bulge is
// tan(included angle / 4), positive counter-clockwise, 0 for a straight segment.
#pragma once
#include <optional>

#include "host/ge/AcGePoint2d.h"
#include "host/ge/AcGeVector2d.h"

namespace fendo::ge {

// Below this magnitude a bulge is treated as a straight segment.
inline constexpr double kStraightBulge = 1e-12;

struct BulgeArc {
    AcGePoint2d center;
    double radius = 0.0;
    // Angles of p0 and p1 seen from the centre, in [0, 2pi). Travelled counter-clockwise
    // from startAngle to endAngle when ccw, clockwise otherwise.
    double startAngle = 0.0;
    double endAngle = 0.0;
    bool ccw = true;
    // Signed included angle, 4 atan(bulge).
    double sweep = 0.0;
};

// Where a point on a segment lies: the point and its fraction of the segment's length.
struct SegmentPoint {
    AcGePoint2d point;
    double fraction = 0.0;
};

// 4 atan(bulge): positive counter-clockwise.
double includedAngle(double bulge);
// tan(sweep / 4) for a signed included angle.
double bulgeFromIncludedAngle(double sweep);

// The arc of a bulged segment; none for a straight segment (|bulge| <= kStraightBulge)
// or coincident ends.
std::optional<BulgeArc> arcFromBulge(const AcGePoint2d& p0, const AcGePoint2d& p1, double bulge);
enum class ArcSense { kCounterClockwise, kClockwise };

// The bulge of an arc from its start and end angles and the sense it is travelled in.
double bulgeFromArc(double startAngle, double endAngle, ArcSense sense);
double bulgeFromArc(const BulgeArc& arc);
// The bulge of the arc from p0 through mid to p1; 0 when the three are collinear.
double bulgeFromThreePoints(const AcGePoint2d& p0, const AcGePoint2d& mid, const AcGePoint2d& p1);

// Length of the segment: the chord, or the arc length r * |sweep|.
double bulgeSegmentLength(const AcGePoint2d& p0, const AcGePoint2d& p1, double bulge);
// The point at a fraction (0 at p0, 1 at p1) of the segment's length.
AcGePoint2d pointOnBulgeSegment(const AcGePoint2d& p0, const AcGePoint2d& p1, double bulge,
                                double fraction);
// The point at a fraction (strictly between 0 and 1) of the arc's sweep, as
// pointOnBulgeSegment gives it: for many points of one segment, its arc found once.
AcGePoint2d pointOnBulgeArc(const BulgeArc& arc, double fraction);
// Unit tangent at a fraction of the segment, in the direction of travel.
AcGeVector2d tangentOnBulgeSegment(const AcGePoint2d& p0, const AcGePoint2d& p1, double bulge,
                                   double fraction);
// The segment's point closest to pnt (the nearer end when pnt is off the arc's span).
SegmentPoint closestPointOnBulgeSegment(const AcGePoint2d& p0, const AcGePoint2d& p1, double bulge,
                                        const AcGePoint2d& pnt);

}  // namespace fendo::ge
