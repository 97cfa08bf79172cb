// Circular arcs in space and in the plane: construction, projection, intersections.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "host/ge/AcGeCircArc2d.h"
#include "host/ge/AcGeCircArc3d.h"
#include "host/ge/AcGeMatrix3d.h"
#include "host/ge/AcGePlane.h"

namespace {
constexpr double kPi = std::numbers::pi;
}

TEST(GeCircArc3d, ArcThroughThreePointsCounterClockwise) {
    const AcGeCircArc3d arc(AcGePoint3d(3, 1, 0), AcGePoint3d(1, 3, 0), AcGePoint3d(-1, 1, 0));
    EXPECT_TRUE(arc.center().isEqualTo({1, 1, 0}));
    EXPECT_NEAR(arc.radius(), 2.0, 1e-12);
    EXPECT_TRUE(arc.normal().isEqualTo({0, 0, 1}));
    EXPECT_NEAR(arc.endAng() - arc.startAng(), kPi, 1e-12);
    EXPECT_TRUE(arc.startPoint().isEqualTo({3, 1, 0}));
    EXPECT_TRUE(arc.endPoint().isEqualTo({-1, 1, 0}));
    EXPECT_TRUE(arc.isOn(AcGePoint3d(1, 3, 0)));
    EXPECT_FALSE(arc.isOn(AcGePoint3d(1, -1, 0)));
    EXPECT_NEAR(arc.length(), 2 * kPi, 1e-12);
}

TEST(GeCircArc3d, ArcThroughThreePointsClockwiseAndInSpace) {
    // Clockwise seen from +z: the normal points down; a major arc keeps its size.
    const AcGeCircArc3d cw(AcGePoint3d(1, 0, 0), AcGePoint3d(0, -1, 0), AcGePoint3d(0, 1, 0));
    EXPECT_TRUE(cw.normal().isEqualTo({0, 0, -1}));
    EXPECT_NEAR(cw.endAng() - cw.startAng(), 1.5 * kPi, 1e-12);
    EXPECT_TRUE(cw.isOn(AcGePoint3d(-1, 0, 0)));
    // An arc in a tilted plane.
    const AcGePoint3d a(1, 0, 0), b(0, 1, 0), c(0, 0, 1);
    const AcGeCircArc3d tilted(a, b, c);
    const AcGePoint3d centre(1.0 / 3, 1.0 / 3, 1.0 / 3);
    EXPECT_TRUE(tilted.center().isEqualTo(centre));
    EXPECT_TRUE(tilted.normal().isEqualTo(AcGeVector3d(1, 1, 1).normal()));
    EXPECT_TRUE(tilted.isOn(b));
    // Collinear points make no arc.
    AcGeCircArc3d bad;
    EXPECT_FALSE(bad.set(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 1, 1), AcGePoint3d(2, 2, 2)));
    EXPECT_TRUE(AcGeCircArc3d(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0), AcGePoint3d(2, 0, 0)).isDegenerate());
}

TEST(GeCircArc3d, LineCrossesTouchesOrMissesTheCircle) {
    const AcGeCircArc3d circle(AcGePoint3d(0, 0, 0), AcGeVector3d::kZAxis, 2.0);
    int n = -1;
    AcGePoint3d p1, p2;
    ASSERT_TRUE(circle.intersectWith(AcGeLine3d(AcGePoint3d(-5, 1, 0), AcGeVector3d(1, 0, 0)), n, p1, p2));
    EXPECT_EQ(n, 2);
    EXPECT_TRUE(p1.isEqualTo({-std::sqrt(3.0), 1, 0}));
    EXPECT_TRUE(p2.isEqualTo({std::sqrt(3.0), 1, 0}));
    ASSERT_TRUE(circle.intersectWith(AcGeLine3d(AcGePoint3d(-5, 2, 0), AcGeVector3d(1, 0, 0)), n, p1, p2));
    EXPECT_EQ(n, 1);
    EXPECT_TRUE(p1.isEqualTo({0, 2, 0}));
    EXPECT_FALSE(circle.intersectWith(AcGeLine3d(AcGePoint3d(-5, 2.5, 0), AcGeVector3d(1, 0, 0)), n, p1, p2));
    EXPECT_EQ(n, 0);
    // A line piercing the plane meets the circle only where it crosses the rim.
    ASSERT_TRUE(circle.intersectWith(AcGeLine3d(AcGePoint3d(2, 0, -1), AcGeVector3d(0, 0, 1)), n, p1, p2));
    EXPECT_EQ(n, 1);
    EXPECT_TRUE(p1.isEqualTo({2, 0, 0}));
    EXPECT_FALSE(circle.intersectWith(AcGeLine3d(AcGePoint3d(1, 0, -1), AcGeVector3d(0, 0, 1)), n, p1, p2));
}

TEST(GeCircArc3d, OnlyPointsOnTheArcAndOnTheSegmentCount) {
    // Upper half of the circle of radius 2.
    const AcGeCircArc3d upper(AcGePoint3d(0, 0, 0), AcGeVector3d::kZAxis, AcGeVector3d::kXAxis, 2.0, 0.0, kPi);
    int n = -1;
    AcGePoint3d p1, p2;
    ASSERT_TRUE(upper.intersectWith(AcGeLine3d(AcGePoint3d(1, -5, 0), AcGeVector3d(0, 1, 0)), n, p1, p2));
    EXPECT_EQ(n, 1);
    EXPECT_TRUE(p1.isEqualTo({1, std::sqrt(3.0), 0}));
    ASSERT_TRUE(upper.intersectWith(AcGeLineSeg3d(AcGePoint3d(-3, 1, 0), AcGePoint3d(0, 1, 0)), n, p1, p2));
    EXPECT_EQ(n, 1);
    EXPECT_TRUE(p1.isEqualTo({-std::sqrt(3.0), 1, 0}));
    // Through both ends of the half circle.
    ASSERT_TRUE(upper.intersectWith(AcGeLine3d(AcGePoint3d(-5, 0, 0), AcGeVector3d(1, 0, 0)), n, p1, p2));
    EXPECT_EQ(n, 2);
}

TEST(GeCircArc3d, TwoCoplanarArcs) {
    const AcGeCircArc3d a(AcGePoint3d(0, 0, 0), AcGeVector3d::kZAxis, 1.0);
    const AcGeCircArc3d b(AcGePoint3d(1, 0, 0), AcGeVector3d::kZAxis, 1.0);
    int n = -1;
    AcGePoint3d p1, p2;
    ASSERT_TRUE(a.intersectWith(b, n, p1, p2));
    EXPECT_EQ(n, 2);
    EXPECT_NEAR(p1.x, 0.5, 1e-12);
    EXPECT_NEAR(std::fabs(p1.y), std::sqrt(3.0) / 2, 1e-12);
    EXPECT_NEAR(p1.y, -p2.y, 1e-12);
    // Touching from outside and from inside.
    ASSERT_TRUE(a.intersectWith(AcGeCircArc3d(AcGePoint3d(3, 0, 0), AcGeVector3d::kZAxis, 2.0), n, p1, p2));
    EXPECT_EQ(n, 1);
    EXPECT_TRUE(p1.isEqualTo({1, 0, 0}));
    ASSERT_TRUE(a.intersectWith(AcGeCircArc3d(AcGePoint3d(-1, 0, 0), AcGeVector3d::kZAxis, 2.0), n, p1, p2));
    EXPECT_EQ(n, 1);
    EXPECT_TRUE(p1.isEqualTo({1, 0, 0}));
    EXPECT_FALSE(a.intersectWith(AcGeCircArc3d(AcGePoint3d(5, 0, 0), AcGeVector3d::kZAxis, 1.0), n, p1, p2));
    EXPECT_FALSE(a.intersectWith(a, n, p1, p2));
    // A circle standing upright in the XZ plane meets the unit circle at (+-1, 0, 0);
    // shifted up by half its radius it meets it nowhere.
    const AcGeCircArc3d upright(AcGePoint3d(0, 0, 0), AcGeVector3d::kYAxis, 1.0);
    ASSERT_TRUE(a.intersectWith(upright, n, p1, p2));
    EXPECT_EQ(n, 2);
    EXPECT_NEAR(std::fabs(p1.x), 1.0, 1e-12);
    EXPECT_NEAR(p1.x, -p2.x, 1e-12);
    EXPECT_FALSE(a.intersectWith(AcGeCircArc3d(AcGePoint3d(0, 0, 0.5), AcGeVector3d::kYAxis, 0.4), n, p1, p2));
}

TEST(GeCircArc3d, ClosestPointOnAndOffTheArc) {
    const AcGeCircArc3d quarter(AcGePoint3d(0, 0, 0), AcGeVector3d::kZAxis, AcGeVector3d::kXAxis, 1.0, 0.0,
                                kPi / 2);
    EXPECT_TRUE(quarter.closestPointTo(AcGePoint3d(3, 3, 5)).isEqualTo(
        AcGePoint3d(std::sqrt(0.5), std::sqrt(0.5), 0)));
    EXPECT_TRUE(quarter.closestPointTo(AcGePoint3d(1, -0.5, 0)).isEqualTo({1, 0, 0}));
    EXPECT_TRUE(quarter.closestPointTo(AcGePoint3d(-1, 0.2, 0)).isEqualTo({0, 1, 0}));
}

TEST(GeCircArc3d, ReversingAndMirroringKeepThePointSet) {
    AcGeCircArc3d arc(AcGePoint3d(1, 2, 0), AcGeVector3d::kZAxis, AcGeVector3d::kXAxis, 3.0, 0.5, 2.0);
    const AcGePoint3d s = arc.startPoint(), e = arc.endPoint(), m = arc.evalPoint(1.25);
    AcGeCircArc3d rev = arc;
    rev.reverseParam();
    EXPECT_TRUE(rev.startPoint().isEqualTo(e));
    EXPECT_TRUE(rev.endPoint().isEqualTo(s));
    EXPECT_TRUE(rev.isOn(m));
    const AcGeMatrix3d mirror = AcGeMatrix3d::mirroring(AcGePlane(AcGePoint3d(0, 0, 0), AcGeVector3d::kXAxis));
    arc.transformBy(mirror);
    EXPECT_TRUE(arc.startPoint().isEqualTo(mirror * s));
    EXPECT_TRUE(arc.endPoint().isEqualTo(mirror * e));
    EXPECT_TRUE(arc.isOn(mirror * m));
    EXPECT_TRUE(arc.normal().isEqualTo({0, 0, -1}));
}

TEST(GeCircArc2d, ThreePointArcKnowsItsSense) {
    const AcGeCircArc2d ccw(AcGePoint2d(1, 0), AcGePoint2d(0, 1), AcGePoint2d(-1, 0));
    EXPECT_FALSE(ccw.isClockWise());
    EXPECT_TRUE(ccw.center().isEqualTo({0, 0}));
    EXPECT_NEAR(ccw.length(), kPi, 1e-12);
    EXPECT_TRUE(ccw.isOn(AcGePoint2d(0, 1)));
    EXPECT_FALSE(ccw.isOn(AcGePoint2d(0, -1)));

    const AcGeCircArc2d cw(AcGePoint2d(1, 0), AcGePoint2d(0, -1), AcGePoint2d(-1, 0));
    EXPECT_TRUE(cw.isClockWise());
    EXPECT_TRUE(cw.startPoint().isEqualTo({1, 0}));
    EXPECT_TRUE(cw.endPoint().isEqualTo({-1, 0}));
    EXPECT_TRUE(cw.isOn(AcGePoint2d(0, -1)));
    EXPECT_FALSE(cw.isOn(AcGePoint2d(0, 1)));

    int n = 0;
    AcGePoint2d p1, p2;
    ASSERT_TRUE(cw.intersectWith(AcGeLineSeg2d(AcGePoint2d(0, -3), AcGePoint2d(0, 3)), n, p1, p2));
    EXPECT_EQ(n, 1);
    EXPECT_TRUE(p1.isEqualTo({0, -1}));
}
