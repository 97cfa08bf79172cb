// Intersections between the host's curves: lines, arcs, circles, bulged polylines and
// splines, bounded and extended, each point once and in order along the first curve.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "host/db/entities/AcDb3dPolyline.h"
#include "host/db/entities/AcDbArc.h"
#include "host/db/entities/AcDbCircle.h"
#include "host/db/entities/AcDbLine.h"
#include "host/db/entities/AcDbPolyline.h"
#include "host/db/entities/AcDbSpline.h"

namespace {

constexpr double kPi = std::numbers::pi;
const double kRoot3 = std::sqrt(3.0);

AcGePoint3dArray meet(const AcDbCurve& a, const AcDbCurve& b, AcDb::Intersect type = AcDb::kOnBothOperands)
{
    AcGePoint3dArray pts;
    EXPECT_EQ(a.intersectWith(&b, type, pts), Acad::eOk);
    return pts;
}

void expectPoint(const AcGePoint3d& p, double x, double y, double tol = 1e-9)
{
    EXPECT_NEAR(p.x, x, tol);
    EXPECT_NEAR(p.y, y, tol);
}

// To the last bit: the two ways of finding a point must agree exactly.
void expectSamePoint(const AcGePoint3d& p, const AcGePoint3d& q)
{
    EXPECT_EQ(p.x, q.x);
    EXPECT_EQ(p.y, q.y);
    EXPECT_EQ(p.z, q.z);
}

}  // namespace

TEST(CurveIntersect, ArcAndLineMeetTwiceOnceWhenTangentAndNotAtAll)
{
    AcDbArc upper({0, 0, 0}, 2.0, 0.0, kPi);
    AcDbLine across({-3, 1, 0}, {3, 1, 0});
    AcGePoint3dArray pts = meet(across, upper);
    ASSERT_EQ(pts.length(), 2);
    expectPoint(pts[0], -kRoot3, 1);  // along the line
    expectPoint(pts[1], kRoot3, 1);
    pts = meet(upper, across);
    ASSERT_EQ(pts.length(), 2);
    expectPoint(pts[0], kRoot3, 1);  // along the arc, counter-clockwise from angle 0
    expectPoint(pts[1], -kRoot3, 1);

    AcDbLine tangent({-3, 2, 0}, {3, 2, 0});
    pts = meet(upper, tangent);
    ASSERT_EQ(pts.length(), 1);
    expectPoint(pts[0], 0, 2);

    AcDbLine above({-3, 3, 0}, {3, 3, 0});
    EXPECT_EQ(meet(upper, above).length(), 0);
    AcDbLine below({-3, -1, 0}, {3, -1, 0});  // meets the circle, not the arc
    EXPECT_EQ(meet(upper, below).length(), 0);
}

TEST(CurveIntersect, CirclesAndArcsMeetTwiceOrTouch)
{
    AcDbCircle a({0, 0, 0}, {0, 0, 1}, 2.0);
    AcDbCircle b({2, 0, 0}, {0, 0, 1}, 2.0);
    AcGePoint3dArray pts = meet(a, b);
    ASSERT_EQ(pts.length(), 2);
    expectPoint(pts[0], 1, kRoot3);
    expectPoint(pts[1], 1, -kRoot3);

    AcDbCircle touching({4, 0, 0}, {0, 0, 1}, 2.0);
    pts = meet(a, touching);
    ASSERT_EQ(pts.length(), 1);
    expectPoint(pts[0], 2, 0);

    AcDbArc lowerHalfOfB({2, 0, 0}, 2.0, kPi, 2 * kPi);
    pts = meet(a, lowerHalfOfB);
    ASSERT_EQ(pts.length(), 1);
    expectPoint(pts[0], 1, -kRoot3);

    AcDbCircle inside({0.5, 0, 0}, {0, 0, 1}, 0.5);
    EXPECT_EQ(meet(a, inside).length(), 0);
}

TEST(CurveIntersect, BulgedPolylinesMeetOnTheirArcs)
{
    // Upper half of the circle about the origin, radius 2, and lower half of the circle
    // about (0, 2), radius 2: they cross at (+-sqrt3, 1).
    AcDbPolyline a;
    a.addVertexAt(0, {2, 0}, 1.0);
    a.addVertexAt(1, {-2, 0});
    AcDbPolyline b;
    b.addVertexAt(0, {-2, 2}, 1.0);
    b.addVertexAt(1, {2, 2});
    AcGePoint3dArray pts = meet(a, b);
    ASSERT_EQ(pts.length(), 2);
    expectPoint(pts[0], kRoot3, 1);
    expectPoint(pts[1], -kRoot3, 1);
}

TEST(CurveIntersect, APointAtASharedVertexIsReportedOnce)
{
    AcDbPolyline vee;
    vee.addVertexAt(0, {0, 0});
    vee.addVertexAt(1, {1, 1});
    vee.addVertexAt(2, {2, 0});
    AcDbLine upright({1, 0, 0}, {1, 2, 0});
    AcGePoint3dArray pts = meet(vee, upright);
    ASSERT_EQ(pts.length(), 1);
    expectPoint(pts[0], 1, 1);

    // A closed square crossed through two opposite corners.
    AcDbPolyline square;
    square.addVertexAt(0, {0, 0});
    square.addVertexAt(1, {1, 0});
    square.addVertexAt(2, {1, 1});
    square.addVertexAt(3, {0, 1});
    square.setClosed(true);
    AcDbLine diagonal({-1, -1, 0}, {2, 2, 0});
    pts = meet(square, diagonal);
    ASSERT_EQ(pts.length(), 2);
    expectPoint(pts[0], 0, 0);
    expectPoint(pts[1], 1, 1);
}

// A line through a vertex meets the pieces on both sides of it, at points a rounding apart;
// the one kept must not depend on whether the pieces were paired directly (a short curve) or
// through a grid (a long one), nor on the direction the curve runs.
TEST(CurveIntersect, ShortAndLongCurvesKeepTheSamePointAtAVertex)
{
    auto vertex = [](int k) { return AcGePoint2d(40.0 - k * 1.37, 0.7 * std::sin(k * 0.9) + 1e5 / 3.0); };
    constexpr int kVertices = 40;
    for (int k = 2; k + 2 < kVertices; k += 3) {
        AcDbPolyline longOne, shortOne;
        for (int v = 0; v < kVertices; ++v) longOne.addVertexAt(static_cast<unsigned int>(v), vertex(v));
        for (int v = k - 1; v <= k + 1; ++v) shortOne.addVertexAt(static_cast<unsigned int>(v - k + 1), vertex(v));
        const AcGePoint2d at = vertex(k);
        AcDbLine through({at.x - 0.3, at.y - 2.9, 0}, {at.x + 0.31, at.y + 3.1, 0});
        const AcGePoint3dArray viaGrid = meet(through, longOne), direct = meet(through, shortOne);
        ASSERT_EQ(direct.length(), 1) << "vertex " << k;
        ASSERT_EQ(viaGrid.length(), 1) << "vertex " << k;
        expectSamePoint(viaGrid[0], direct[0]);
        expectSamePoint(meet(longOne, through)[0], meet(shortOne, through)[0]);
    }
}

TEST(CurveIntersect, ExtensionsReachWhatTheBoundedCurvesMiss)
{
    AcDbLine shortLine({0, 0, 0}, {1, 0, 0});
    AcDbCircle circle({5, 0, 0}, {0, 0, 1}, 1.0);
    EXPECT_EQ(meet(shortLine, circle).length(), 0);
    AcGePoint3dArray pts = meet(shortLine, circle, AcDb::kExtendThis);
    ASSERT_EQ(pts.length(), 2);
    expectPoint(pts[0], 4, 0);
    expectPoint(pts[1], 6, 0);
    EXPECT_EQ(meet(circle, shortLine, AcDb::kExtendArg).length(), 2);
    EXPECT_EQ(meet(circle, shortLine, AcDb::kExtendThis).length(), 0);  // a circle has nothing to extend

    // Two short lines whose extensions cross far away, and behind the start of one.
    AcDbLine a({0, 0, 0}, {1, 0, 0});
    AcDbLine b({-10, 5, 0}, {-10, 4, 0});
    EXPECT_EQ(meet(a, b, AcDb::kExtendThis).length(), 0);
    pts = meet(a, b, AcDb::kExtendBoth);
    ASSERT_EQ(pts.length(), 1);
    expectPoint(pts[0], -10, 0);

    // An arc extends round its circle.
    AcDbArc quarter({0, 0, 0}, 1.0, 0.0, kPi / 2);
    AcDbLine left({-2, 0, 0}, {-0.5, 0, 0});
    EXPECT_EQ(meet(quarter, left).length(), 0);
    pts = meet(quarter, left, AcDb::kExtendThis);
    ASSERT_EQ(pts.length(), 1);
    expectPoint(pts[0], -1, 0);
}

TEST(CurveIntersect, SplineCrossingsLieOnBothCurves)
{
    AcGePoint3dArray fit{{0, 0, 0}, {1, 1, 0}, {2, 0, 0}, {3, 1, 0}};
    AcDbSpline spline(fit);
    AcDbLine level({-1, 0.5, 0}, {4, 0.5, 0});
    AcGePoint3dArray pts = meet(spline, level);
    ASSERT_EQ(pts.length(), 3);
    double last = -1.0;
    for (const AcGePoint3d& p : pts) {
        double t = 0;
        EXPECT_NEAR(p.y, 0.5, 1e-9);
        ASSERT_EQ(spline.getParamAtPoint(p, t), Acad::eOk);
        EXPECT_GT(t, last);  // in order along the spline
        last = t;
    }
    // The same crossings seen from the line.
    AcGePoint3dArray back = meet(level, spline);
    ASSERT_EQ(back.length(), 3);
    EXPECT_LT(back[0].x, back[1].x);
}

TEST(CurveIntersect, ThreeDimensionalPolylineMeetsAnInclinedCircle)
{
    // The circle about the origin in the plane x = 0, radius 1; the 3D polyline pierces
    // that plane at (0, 1, 0) and at (0, 0, 0.5).
    AcDbCircle upright({0, 0, 0}, {1, 0, 0}, 1.0);
    AcGePoint3dArray pts{{-1, 1, 0}, {1, 1, 0}, {1, 0, 0.5}, {-1, 0, 0.5}};
    AcDb3dPolyline pl(AcDb::k3dSimplePoly, pts);
    AcGePoint3dArray hits = meet(pl, upright);
    ASSERT_EQ(hits.length(), 1);
    expectPoint(hits[0], 0, 1);
}
