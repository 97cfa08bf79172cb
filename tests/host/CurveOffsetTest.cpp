// Offsets of lines, arcs, circles and lightweight polylines: positive to the right of the
// direction of travel, corners met by extending or trimming, collapsed arcs giving nothing.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <numbers>
#include <vector>

#include "host/db/entities/AcDbArc.h"
#include "host/db/entities/AcDbCircle.h"
#include "host/db/entities/AcDbLine.h"
#include "host/db/entities/AcDbPolyline.h"

namespace {

std::unique_ptr<AcDbPolyline> closedPolyline(const std::vector<AcGePoint2d>& pts)
{
    auto pl = std::make_unique<AcDbPolyline>();
    for (unsigned int i = 0; i < pts.size(); ++i) pl->addVertexAt(i, pts[i]);
    pl->setClosed(true);
    return pl;
}

// The single offset curve, owned by the caller.
template <typename T>
std::unique_ptr<T> offsetOf(const AcDbCurve& c, double d)
{
    AcDbVoidPtrArray curves;
    EXPECT_EQ(c.getOffsetCurves(d, curves), Acad::eOk);
    EXPECT_EQ(curves.length(), 1);
    if (curves.length() != 1) return nullptr;
    return std::unique_ptr<T>(T::cast(static_cast<AcDbEntity*>(curves[0])));
}

void expectVertices(const AcDbPolyline& pl, const std::vector<AcGePoint2d>& expected)
{
    ASSERT_EQ(pl.numVerts(), expected.size());
    for (unsigned int i = 0; i < expected.size(); ++i) {
        AcGePoint2d p;
        pl.getPointAt(i, p);
        EXPECT_NEAR(p.x, expected[i].x, 1e-9) << "vertex " << i;
        EXPECT_NEAR(p.y, expected[i].y, 1e-9) << "vertex " << i;
    }
}

}  // namespace

TEST(LwPolylineOffset, KeepsOneVertexPerCornerOfASquareOnBothSides)
{
    // Counter-clockwise square of side 4 about the origin: +1 goes outwards.
    auto square = closedPolyline({{-2, -2}, {2, -2}, {2, 2}, {-2, 2}});
    auto out = offsetOf<AcDbPolyline>(*square, 1.0);
    ASSERT_TRUE(out);
    EXPECT_TRUE(out->isClosed());
    expectVertices(*out, {{-3, -3}, {3, -3}, {3, 3}, {-3, 3}});
    auto in = offsetOf<AcDbPolyline>(*square, -1.0);
    ASSERT_TRUE(in);
    expectVertices(*in, {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}});
}

TEST(LwPolylineOffset, ASquareOffsetInwardsPastItsHalfWidthGivesNothing)
{
    // Counter-clockwise 10 x 10 square: negative offsets go inwards.
    auto square = closedPolyline({{0, 0}, {10, 0}, {10, 10}, {0, 10}});
    auto in = offsetOf<AcDbPolyline>(*square, -4.0);
    ASSERT_TRUE(in);
    EXPECT_TRUE(in->isClosed());
    expectVertices(*in, {{4, 4}, {6, 4}, {6, 6}, {4, 6}});
    for (double d : {-5.0, -6.0, -20.0}) {
        AcDbVoidPtrArray curves;
        EXPECT_EQ(square->getOffsetCurves(d, curves), Acad::eDegenerateGeometry) << d;
        EXPECT_EQ(curves.length(), 0) << d;
        for (void* c : curves) delete static_cast<AcDbEntity*>(c);
    }
    // The same square run clockwise collapses on the other side.
    auto clockwise = closedPolyline({{0, 0}, {0, 10}, {10, 10}, {10, 0}});
    AcDbVoidPtrArray curves;
    EXPECT_EQ(clockwise->getOffsetCurves(6.0, curves), Acad::eDegenerateGeometry);
    EXPECT_EQ(curves.length(), 0);
    for (void* c : curves) delete static_cast<AcDbEntity*>(c);
    auto out = offsetOf<AcDbPolyline>(*clockwise, -6.0);
    ASSERT_TRUE(out);
    EXPECT_EQ(out->numVerts(), 4u);
}

TEST(LwPolylineOffset, TrimsTheInnerCornerOfAnL)
{
    auto ell = closedPolyline({{0, 0}, {4, 0}, {4, 1}, {1, 1}, {1, 4}, {0, 4}});
    auto inner = offsetOf<AcDbPolyline>(*ell, -0.25);
    ASSERT_TRUE(inner);
    expectVertices(*inner, {{0.25, 0.25}, {3.75, 0.25}, {3.75, 0.75}, {0.75, 0.75}, {0.75, 3.75}, {0.25, 3.75}});
    auto outer = offsetOf<AcDbPolyline>(*ell, 0.25);
    ASSERT_TRUE(outer);
    expectVertices(*outer, {{-0.25, -0.25}, {4.25, -0.25}, {4.25, 1.25}, {1.25, 1.25}, {1.25, 4.25}, {-0.25, 4.25}});
}

TEST(LwPolylineOffset, OpenPolylineKeepsItsEndsAcrossFromTheSourceEnds)
{
    AcDbPolyline pl;
    pl.addVertexAt(0, {0, 0});
    pl.addVertexAt(1, {4, 0});
    pl.addVertexAt(2, {4, 4});
    auto right = offsetOf<AcDbPolyline>(pl, 1.0);  // right of travel: below, then right
    ASSERT_TRUE(right);
    EXPECT_FALSE(right->isClosed());
    expectVertices(*right, {{0, -1}, {5, -1}, {5, 4}});
}

TEST(LwPolylineOffset, ArcSegmentsAreOffsetConcentrically)
{
    // Straight, then a counter-clockwise half circle about (4, 2) radius 2, then straight.
    AcDbPolyline pl;
    pl.addVertexAt(0, {0, 0});
    pl.addVertexAt(1, {4, 0}, 1.0);
    pl.addVertexAt(2, {4, 4});
    pl.addVertexAt(3, {0, 4});
    auto out = offsetOf<AcDbPolyline>(pl, 0.5);
    ASSERT_TRUE(out);
    expectVertices(*out, {{0, -0.5}, {4, -0.5}, {4, 4.5}, {0, 4.5}});
    double bulge = 0;
    out->getBulgeAt(1, bulge);
    EXPECT_NEAR(bulge, 1.0, 1e-12);
    AcGePoint3d mid;
    out->getPointAtParam(1.5, mid);
    EXPECT_NEAR(mid.x, 6.5, 1e-9);
}

TEST(LwPolylineOffset, AFilletSmallerThanTheOffsetGoesAndItsNeighboursMeet)
{
    // A quarter-circle fillet of radius 0.5 about (4, 0.5) between two straights.
    AcDbPolyline pl;
    pl.addVertexAt(0, {0, 0});
    pl.addVertexAt(1, {4, 0}, std::tan(std::numbers::pi / 8));
    pl.addVertexAt(2, {4.5, 0.5});
    pl.addVertexAt(3, {4.5, 4});
    auto in = offsetOf<AcDbPolyline>(pl, -1.0);
    ASSERT_TRUE(in);
    expectVertices(*in, {{0, 1}, {3.5, 1}, {3.5, 4}});
    double b = 0;
    in->getBulgeAt(1, b);
    EXPECT_EQ(b, 0.0);
    auto out = offsetOf<AcDbPolyline>(pl, 1.0);
    ASSERT_TRUE(out);
    expectVertices(*out, {{0, -1}, {4, -1}, {5.5, 0.5}, {5.5, 4}});
    out->getBulgeAt(1, b);
    EXPECT_NEAR(b, std::tan(std::numbers::pi / 8), 1e-12);
}

TEST(CurveOffset, LinesArcsAndCircles)
{
    AcDbLine line({0, 0, 0}, {2, 0, 0});
    auto l = offsetOf<AcDbLine>(line, 1.0);
    ASSERT_TRUE(l);
    EXPECT_NEAR(l->startPoint().y, -1.0, 1e-12);  // right of travel

    AcDbArc arc({0, 0, 0}, 2.0, 0.0, std::numbers::pi / 2);
    auto a = offsetOf<AcDbArc>(arc, 1.0);
    ASSERT_TRUE(a);
    EXPECT_NEAR(a->radius(), 3.0, 1e-12);
    EXPECT_NEAR(a->endAngle(), std::numbers::pi / 2, 1e-12);

    AcDbVoidPtrArray none;
    EXPECT_NE(arc.getOffsetCurves(-2.5, none), Acad::eOk);
    EXPECT_EQ(none.length(), 0);
    EXPECT_NE(arc.getOffsetCurves(-2.0, none), Acad::eOk);  // radius exactly 0
    AcDbCircle circle({1, 1, 0}, {0, 0, 1}, 1.0);
    auto c = offsetOf<AcDbCircle>(circle, -0.25);
    ASSERT_TRUE(c);
    EXPECT_NEAR(c->radius(), 0.75, 1e-12);
    EXPECT_NE(circle.getOffsetCurves(-1.5, none), Acad::eOk);
}
