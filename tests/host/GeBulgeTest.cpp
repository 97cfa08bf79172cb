// Bulged polyline segment arithmetic.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "host/ge/BulgeArc.h"

using namespace fendo::ge;

namespace {
constexpr double kPi = std::numbers::pi;
constexpr double kEps = 1e-12;
}  // namespace

TEST(GeBulge, HalfCircleHasItsCentreAtTheChordMidpoint) {
    const AcGePoint2d p0(1, 1), p1(5, 1);
    const auto arc = arcFromBulge(p0, p1, 1.0);
    ASSERT_TRUE(arc);
    EXPECT_TRUE(arc->center.isEqualTo({3, 1}));
    EXPECT_NEAR(arc->radius, 2.0, kEps);
    EXPECT_TRUE(arc->ccw);
    EXPECT_NEAR(arc->sweep, kPi, kEps);
    EXPECT_NEAR(bulgeSegmentLength(p0, p1, 1.0), 2.0 * kPi, kEps);
    // Counter-clockwise from (1, 1) to (5, 1) passes below the chord.
    EXPECT_TRUE(pointOnBulgeSegment(p0, p1, 1.0, 0.5).isEqualTo({3, -1}));
}

TEST(GeBulge, NegativeBulgeRunsClockwise) {
    const AcGePoint2d p0(1, 1), p1(5, 1);
    const auto arc = arcFromBulge(p0, p1, -1.0);
    ASSERT_TRUE(arc);
    EXPECT_FALSE(arc->ccw);
    EXPECT_NEAR(arc->sweep, -kPi, kEps);
    EXPECT_TRUE(pointOnBulgeSegment(p0, p1, -1.0, 0.5).isEqualTo({3, 3}));
    EXPECT_TRUE(tangentOnBulgeSegment(p0, p1, -1.0, 0.0).isEqualTo({0, 1}));
    EXPECT_TRUE(tangentOnBulgeSegment(p0, p1, 1.0, 0.0).isEqualTo({0, -1}));
}

TEST(GeBulge, QuarterArcCentreAndBulgeRoundTrip) {
    // The counter-clockwise quarter from (1, 0) to (0, 1) about the origin.
    const double b = std::tan(kPi / 8);
    const auto arc = arcFromBulge(AcGePoint2d(1, 0), AcGePoint2d(0, 1), b);
    ASSERT_TRUE(arc);
    EXPECT_TRUE(arc->center.isEqualTo({0, 0}));
    EXPECT_NEAR(arc->radius, 1.0, kEps);
    EXPECT_NEAR(arc->startAngle, 0.0, kEps);
    EXPECT_NEAR(arc->endAngle, kPi / 2, kEps);
    EXPECT_NEAR(bulgeFromArc(*arc), b, kEps);
    EXPECT_NEAR(includedAngle(b), kPi / 2, kEps);
    EXPECT_NEAR(bulgeFromIncludedAngle(kPi / 2), b, kEps);
    // Clockwise the other way round: the three-quarter arc.
    EXPECT_NEAR(bulgeFromArc(0.0, kPi / 2, ArcSense::kClockwise), -std::tan(3 * kPi / 8), kEps);
    // Across zero angle: from 350 to 10 degrees counter-clockwise is 20 degrees.
    EXPECT_NEAR(bulgeFromArc(350 * kPi / 180, 10 * kPi / 180, ArcSense::kCounterClockwise),
                std::tan(20 * kPi / 180 / 4), kEps);
    EXPECT_NEAR(bulgeFromThreePoints(AcGePoint2d(1, 0), AcGePoint2d(std::sqrt(0.5), std::sqrt(0.5)),
                                     AcGePoint2d(0, 1)),
                b, kEps);
    EXPECT_NEAR(bulgeFromThreePoints(AcGePoint2d(0, 1), AcGePoint2d(std::sqrt(0.5), std::sqrt(0.5)),
                                     AcGePoint2d(1, 0)),
                -b, kEps);
    EXPECT_EQ(bulgeFromThreePoints(AcGePoint2d(0, 0), AcGePoint2d(1, 1), AcGePoint2d(2, 2)), 0.0);
}

TEST(GeBulge, StraightSegmentsAndDegenerateInput) {
    EXPECT_FALSE(arcFromBulge(AcGePoint2d(0, 0), AcGePoint2d(3, 4), 0.0));
    EXPECT_FALSE(arcFromBulge(AcGePoint2d(2, 2), AcGePoint2d(2, 2), 0.5));
    EXPECT_DOUBLE_EQ(bulgeSegmentLength(AcGePoint2d(0, 0), AcGePoint2d(3, 4), 0.0), 5.0);
    EXPECT_TRUE(pointOnBulgeSegment(AcGePoint2d(0, 0), AcGePoint2d(3, 4), 0.0, 0.2).isEqualTo({0.6, 0.8}));
}

TEST(GeBulge, PointsAtFractionsAreEvenlySpacedAlongTheArc) {
    const AcGePoint2d p0(0, 0), p1(4, 2);
    const double bulge = 0.6;
    const double len = bulgeSegmentLength(p0, p1, bulge);
    const auto arc = arcFromBulge(p0, p1, bulge);
    ASSERT_TRUE(arc);
    AcGePoint2d prev = p0;
    double walked = 0.0;
    constexpr int kSteps = 1000;
    for (int i = 1; i <= kSteps; ++i) {
        const AcGePoint2d p = pointOnBulgeSegment(p0, p1, bulge, double(i) / kSteps);
        EXPECT_NEAR(p.distanceTo(arc->center), arc->radius, 1e-9);
        walked += p.distanceTo(prev);
        prev = p;
    }
    EXPECT_NEAR(walked, len, 1e-5);
    EXPECT_TRUE(prev.isEqualTo(p1));
}

TEST(GeBulge, ClosestPointOnArcOrNearerEnd) {
    const AcGePoint2d p0(1, 1), p1(5, 1);
    // Half circle below the chord (bulge 1): a point far below projects onto the arc.
    SegmentPoint sp = closestPointOnBulgeSegment(p0, p1, 1.0, AcGePoint2d(3, -10));
    EXPECT_TRUE(sp.point.isEqualTo({3, -1}));
    EXPECT_NEAR(sp.fraction, 0.5, kEps);
    // Above the chord the arc's span is missed: the nearer end wins.
    sp = closestPointOnBulgeSegment(p0, p1, 1.0, AcGePoint2d(4.5, 3));
    EXPECT_TRUE(sp.point.isEqualTo(p1));
    EXPECT_DOUBLE_EQ(sp.fraction, 1.0);
    // Clockwise arc: the same point lies on its span.
    sp = closestPointOnBulgeSegment(p0, p1, -1.0, AcGePoint2d(5, 3));
    EXPECT_TRUE(sp.point.isEqualTo(AcGePoint2d(3 + std::sqrt(2.0), 1 + std::sqrt(2.0))));
    EXPECT_NEAR(sp.fraction, 0.75, kEps);
    sp = closestPointOnBulgeSegment(AcGePoint2d(0, 0), AcGePoint2d(2, 0), 0.0, AcGePoint2d(0.5, 7));
    EXPECT_TRUE(sp.point.isEqualTo({0.5, 0}));
    EXPECT_NEAR(sp.fraction, 0.25, kEps);
}
