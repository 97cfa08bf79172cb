// Lines, segments and planes: closest points and intersections.
#include <gtest/gtest.h>

#include "host/ge/AcGeLine3d.h"
#include "host/ge/AcGeLineSeg2d.h"
#include "host/ge/AcGeLineSeg3d.h"
#include "host/ge/AcGePlane.h"

TEST(GeLine3d, CrossingLinesMeetAtTheirCommonPoint) {
    const AcGeLine3d a(AcGePoint3d(0, 0, 1), AcGeVector3d(1, 1, 0));
    const AcGeLine3d b(AcGePoint3d(4, 0, 1), AcGePoint3d(0, 4, 1));
    AcGePoint3d p;
    ASSERT_TRUE(a.intersectWith(b, p));
    EXPECT_TRUE(p.isEqualTo({2, 2, 1}));
}

TEST(GeLine3d, ParallelAndSkewLinesDoNotIntersect) {
    const AcGeLine3d a(AcGePoint3d(0, 0, 0), AcGeVector3d(1, 0, 0));
    AcGePoint3d p(9, 9, 9);
    EXPECT_FALSE(a.intersectWith(AcGeLine3d(AcGePoint3d(0, 1, 0), AcGeVector3d(-3, 0, 0)), p));
    EXPECT_FALSE(a.intersectWith(a, p));  // coincident lines are parallel too
    EXPECT_FALSE(a.intersectWith(AcGeLine3d(AcGePoint3d(0, 0, 1), AcGeVector3d(0, 1, 0)), p));
    EXPECT_TRUE(p.isEqualTo({9, 9, 9}));
    // Skew by less than the point tolerance counts as meeting.
    AcGeTol tol;
    tol.setEqualPoint(1e-3);
    EXPECT_TRUE(a.intersectWith(AcGeLine3d(AcGePoint3d(5, 0, 1e-4), AcGeVector3d(0, 1, 0)), p, tol));
    EXPECT_TRUE(p.isEqualTo({5, 0, 0}));
}

TEST(GeLine3d, ClosestPointsOfTwoLines) {
    const AcGeLine3d a(AcGePoint3d(0, 0, 0), AcGeVector3d(1, 0, 0));
    const AcGeLine3d b(AcGePoint3d(3, -2, 5), AcGeVector3d(0, 2, 0));
    AcGePoint3d onB;
    const AcGePoint3d onA = a.closestPointTo(b, onB);
    EXPECT_TRUE(onA.isEqualTo({3, 0, 0}));
    EXPECT_TRUE(onB.isEqualTo({3, 0, 5}));
    EXPECT_DOUBLE_EQ(a.distanceTo(b), 5.0);
    // Parallel lines: this line's own point and its foot on the other.
    const AcGeLine3d c(AcGePoint3d(7, 1, 0), AcGeVector3d(2, 0, 0));
    const AcGePoint3d onAp = a.closestPointTo(c, onB);
    EXPECT_TRUE(onAp.isEqualTo({0, 0, 0}));
    EXPECT_TRUE(onB.isEqualTo({0, 1, 0}));
}

TEST(GeLine3d, PointQueries) {
    const AcGeLine3d a(AcGePoint3d(1, 1, 0), AcGeVector3d(2, 0, 0));
    EXPECT_TRUE(a.closestPointTo(AcGePoint3d(-4, 3, 0)).isEqualTo({-4, 1, 0}));
    EXPECT_DOUBLE_EQ(a.distanceTo(AcGePoint3d(-4, 3, 0)), 2.0);
    EXPECT_TRUE(a.isOn(AcGePoint3d(100, 1, 0)));
    EXPECT_DOUBLE_EQ(a.paramOf(AcGePoint3d(5, 1, 0)), 2.0);
    EXPECT_TRUE(a.direction().isEqualTo({1, 0, 0}));
}

TEST(GeLineSeg3d, IntersectionMustLieOnBothSegments) {
    const AcGeLineSeg3d a(AcGePoint3d(0, 0, 0), AcGePoint3d(4, 0, 0));
    AcGePoint3d p;
    ASSERT_TRUE(a.intersectWith(AcGeLineSeg3d(AcGePoint3d(1, -1, 0), AcGePoint3d(1, 1, 0)), p));
    EXPECT_TRUE(p.isEqualTo({1, 0, 0}));
    // Touching at an end counts; stopping short does not.
    EXPECT_TRUE(a.intersectWith(AcGeLineSeg3d(AcGePoint3d(4, 0, 0), AcGePoint3d(4, 3, 0)), p));
    EXPECT_FALSE(a.intersectWith(AcGeLineSeg3d(AcGePoint3d(5, -1, 0), AcGePoint3d(5, 1, 0)), p));
    EXPECT_FALSE(a.intersectWith(AcGeLine3d(AcGePoint3d(2, 1, 0), AcGeVector3d(1, -0.1, 0)), p));
    EXPECT_TRUE(a.intersectWith(AcGeLine3d(AcGePoint3d(2, 1, 0), AcGeVector3d(-1, -1, 0)), p));
    EXPECT_TRUE(p.isEqualTo({1, 0, 0}));
}

TEST(GeLineSeg3d, ClosestPointIsClampedToTheEnds) {
    const AcGeLineSeg3d s(AcGePoint3d(0, 0, 0), AcGePoint3d(2, 0, 0));
    EXPECT_TRUE(s.closestPointTo(AcGePoint3d(-3, 1, 0)).isEqualTo({0, 0, 0}));
    EXPECT_TRUE(s.closestPointTo(AcGePoint3d(1.5, 1, 0)).isEqualTo({1.5, 0, 0}));
    EXPECT_TRUE(s.midPoint().isEqualTo({1, 0, 0}));
    EXPECT_FALSE(s.isOn(AcGePoint3d(2.1, 0, 0)));
    EXPECT_DOUBLE_EQ(s.length(), 2.0);
}

TEST(GeLineSeg2d, CrossingAndMissingSegments) {
    const AcGeLineSeg2d a(AcGePoint2d(0, 0), AcGePoint2d(2, 2));
    AcGePoint2d p;
    ASSERT_TRUE(a.intersectWith(AcGeLineSeg2d(AcGePoint2d(0, 2), AcGePoint2d(2, 0)), p));
    EXPECT_TRUE(p.isEqualTo({1, 1}));
    EXPECT_FALSE(a.intersectWith(AcGeLineSeg2d(AcGePoint2d(3, 0), AcGePoint2d(4, -1)), p));
    EXPECT_FALSE(a.intersectWith(AcGeLineSeg2d(AcGePoint2d(0, 1), AcGePoint2d(1, 2)), p));
}

TEST(GePlane, LineAndPlaneIntersections) {
    const AcGePlane plane(AcGePoint3d(0, 0, 2), AcGeVector3d(0, 0, 1));
    AcGePoint3d p;
    ASSERT_TRUE(plane.intersectWith(AcGeLine3d(AcGePoint3d(1, 1, 0), AcGeVector3d(1, 0, 1)), p));
    EXPECT_TRUE(p.isEqualTo({3, 1, 2}));
    EXPECT_FALSE(plane.intersectWith(AcGeLine3d(AcGePoint3d(1, 1, 0), AcGeVector3d(1, 0, 0)), p));
    EXPECT_FALSE(plane.intersectWith(AcGeLineSeg3d(AcGePoint3d(0, 0, 0), AcGePoint3d(0, 0, 1)), p));
    EXPECT_DOUBLE_EQ(plane.signedDistanceTo(AcGePoint3d(5, 5, -1)), -3.0);

    AcGeLine3d common;
    ASSERT_TRUE(plane.intersectWith(AcGePlane(AcGePoint3d(1, 0, 0), AcGeVector3d(1, 0, 0)), common));
    EXPECT_TRUE(common.isOn(AcGePoint3d(1, 7, 2)));
    EXPECT_TRUE(common.direction().isParallelTo(AcGeVector3d::kYAxis));
}
