// The working polyline: loading curves, cutting a stretch out, crossing it with a line.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "geometry/WorkingPolyline.h"
#include "host/db/DbHelpers.h"
#include "host/db/entities/AcDbCircle.h"
#include "host/db/entities/AcDbLine.h"
#include "support/TestDrawing.h"

namespace {

constexpr double kPi = 3.141592653589793;

AcGePoint2d vertex(const AcDbPolyline& pl, unsigned int i)
{
    AcGePoint2d p;
    pl.getPointAt(i, p);
    return p;
}

double bulge(const AcDbPolyline& pl, unsigned int i)
{
    double b = 0.0;
    pl.getBulgeAt(i, b);
    return b;
}

// (0,0) - (10,0) - half circle of bulge 1 to (10,10) - (0,10).
void makeHook(BsPolylineNew& pl)
{
    pl.addVertexAt(0, AcGePoint2d(0, 0));
    pl.addVertexAt(1, AcGePoint2d(10, 0), 1.0);
    pl.addVertexAt(2, AcGePoint2d(10, 10));
    pl.addVertexAt(3, AcGePoint2d(0, 10));
}

// Shoelace area of the straight polygon through the vertices.
double area(const AcDbPolyline& pl)
{
    double twice = 0;
    for (unsigned int i = 0; i < pl.numVerts(); ++i) {
        const AcGePoint2d a = vertex(pl, i), b = vertex(pl, (i + 1) % pl.numVerts());
        twice += a.x * b.y - b.x * a.y;
    }
    return std::fabs(twice) / 2;
}

}  // namespace

TEST(WorkingPolylineLoad, LinesOpenCirclesClosedWithTwoHalfCircles)
{
    fendo::test::TestDrawing dwg;
    const AcDbObjectId lineId = dwg.add(new AcDbLine(AcGePoint3d(1, 2, 3), AcGePoint3d(4, 6, 3)));
    {
        fendo::db::OpenedObject<AcDbEntity> line(lineId, AcDb::kForWrite);
        line->setColorIndex(3);
    }
    const AcDbObjectId circleId = dwg.add(new AcDbCircle(AcGePoint3d(5, 5, 0), AcGeVector3d(0, 0, 1), 2.0));

    BsPolylineNew pl;
    ASSERT_TRUE(pl.loadFrom(lineId));
    EXPECT_EQ(pl.numVerts(), 2u);
    EXPECT_FALSE(pl.isClosed());
    EXPECT_EQ(pl.colorIndex(), 3);
    EXPECT_TRUE(vertex(pl, 1).isEqualTo(AcGePoint2d(4, 6)));

    ASSERT_TRUE(pl.loadFrom(circleId));
    EXPECT_EQ(pl.numVerts(), 2u);
    EXPECT_TRUE(pl.isClosed());
    EXPECT_EQ(bulge(pl, 0), 1.0);
    EXPECT_EQ(bulge(pl, 1), 1.0);
    EXPECT_NEAR(vertex(pl, 0).distanceTo(vertex(pl, 1)), 4.0, 1e-12);
}

TEST(WorkingPolylineLoad, DropsAVertexLyingOnTheNext)
{
    fendo::test::TestDrawing dwg;
    auto* source = new AcDbPolyline;
    source->addVertexAt(0, AcGePoint2d(0, 0));
    source->addVertexAt(1, AcGePoint2d(5, 0));
    source->addVertexAt(2, AcGePoint2d(5, 5e-6));
    source->addVertexAt(3, AcGePoint2d(5, 5));
    source->setElevation(2.5);
    const AcDbObjectId id = dwg.add(source);
    BsPolylineNew pl;
    ASSERT_TRUE(pl.loadFrom(id));
    EXPECT_EQ(pl.numVerts(), 3u);
    EXPECT_EQ(pl.elevation(), 2.5);
}

TEST(WorkingPolylineSub, CutsInsideAnArcKeepingItsCentreInEitherOrder)
{
    BsPolylineNew pl;
    makeHook(pl);
    // The middle of the half circle centred on (10,5) with radius 5.
    const AcGePoint3d mid(15, 5, 0);
    BsPolylineNew forward, backward;
    ASSERT_TRUE(pl.subPolyline(AcGePoint3d(0, 0, 0), mid, forward));
    ASSERT_TRUE(pl.subPolyline(mid, AcGePoint3d(0, 0, 0), backward));
    for (const BsPolylineNew* part : {&forward, &backward}) {
        ASSERT_EQ(part->numVerts(), 3u);
        EXPECT_TRUE(vertex(*part, 2).isEqualTo(AcGePoint2d(15, 5), AcGeTol()));
        EXPECT_NEAR(bulge(*part, 1), std::tan(kPi / 8), 1e-9);
        EXPECT_EQ(bulge(*part, 0), 0.0);
        EXPECT_EQ(bulge(*part, 2), 0.0);
    }
    // From inside the first segment to inside the last one.
    BsPolylineNew part;
    ASSERT_TRUE(pl.subPolyline(AcGePoint3d(5, 10, 0), AcGePoint3d(5, 0, 0), part));
    ASSERT_EQ(part.numVerts(), 4u);
    EXPECT_TRUE(vertex(part, 0).isEqualTo(AcGePoint2d(5, 0)));
    EXPECT_EQ(bulge(part, 1), 1.0);
    EXPECT_TRUE(vertex(part, 3).isEqualTo(AcGePoint2d(5, 10)));
    EXPECT_FALSE(pl.subPolyline(AcGePoint3d(3, 3, 0), AcGePoint3d(5, 0, 0), part));
}

TEST(WorkingPolylineCross, BetweenOnlyPassesOverCrossingsOutsideTheTwoPoints)
{
    BsPolylineNew pl;
    makeHook(pl);
    AcGePoint3d x;
    // The vertical line x = 5 crosses the first segment at (5,0) and the last at (5,10).
    ASSERT_TRUE(
        pl.crossLine(AcGePoint3d(5, 20, 0), AcGePoint3d(5, 30, 0), x, BsPolylineNew::CrossMode::AnyCrossing));
    EXPECT_TRUE(x.isEqualTo(AcGePoint3d(5, 0, 0)));
    EXPECT_FALSE(
        pl.crossLine(AcGePoint3d(5, 20, 0), AcGePoint3d(5, 30, 0), x, BsPolylineNew::CrossMode::BetweenOnly));
    ASSERT_TRUE(
        pl.crossLine(AcGePoint3d(5, 5, 0), AcGePoint3d(5, 30, 0), x, BsPolylineNew::CrossMode::BetweenOnly));
    EXPECT_TRUE(x.isEqualTo(AcGePoint3d(5, 10, 0)));
    // A crossing on one of the two points is not between them.
    EXPECT_FALSE(pl.crossLine(AcGePoint3d(5, 10.00005, 0), AcGePoint3d(5, 5, 0), x,
                              BsPolylineNew::CrossMode::BetweenOnly));
    // The horizontal line y = 5 meets only the half circle, at (15,5).
    ASSERT_TRUE(
        pl.crossLine(AcGePoint3d(0, 5, 0), AcGePoint3d(20, 5, 0), x, BsPolylineNew::CrossMode::BetweenOnly));
    EXPECT_TRUE(x.isEqualTo(AcGePoint3d(15, 5, 0), AcGeTol()));
}

TEST(WorkingPolylineCross, TheClosingSegmentIsNeverExamined)
{
    BsPolylineNew pl;
    makeHook(pl);
    pl.setClosed(true);
    AcGePoint3d x;
    // y = 5 left of the hook crosses only the closing segment (0,10)-(0,0).
    EXPECT_FALSE(
        pl.crossLine(AcGePoint3d(-5, 5, 0), AcGePoint3d(5, 5, 0), x, BsPolylineNew::CrossMode::BetweenOnly));
}

TEST(WorkingPolylineOffset, ASquareOffsetKeepsOneVertexPerCorner)
{
    BsPolylineNew square;
    const AcGePoint2d corners[] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
    for (unsigned int i = 0; i < 4; ++i) square.addVertexAt(i, corners[i]);
    square.setClosed(true);
    BsPolylineNew outer, inner;
    ASSERT_TRUE(square.offsetTo(1.0, outer));
    ASSERT_TRUE(square.offsetTo(-1.0, inner));
    ASSERT_EQ(outer.numVerts(), 4u);
    ASSERT_EQ(inner.numVerts(), 4u);
    EXPECT_TRUE(outer.isClosed());
    // One offset lies outside the square and one inside, 1 away from each side.
    const double outerArea = area(outer), innerArea = area(inner);
    EXPECT_NEAR(std::max(outerArea, innerArea), 144.0, 1e-9);
    EXPECT_NEAR(std::min(outerArea, innerArea), 64.0, 1e-9);
    // Offset inwards (the square runs counter-clockwise) past its half-width it collapses and
    // gives nothing; outwards by the same distance it is still made.
    BsPolylineNew collapsed, grown;
    EXPECT_FALSE(square.offsetTo(-6.0, collapsed));
    ASSERT_TRUE(square.offsetTo(6.0, grown));
    EXPECT_NEAR(area(grown), 22.0 * 22.0, 1e-9);
}
