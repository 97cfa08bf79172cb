// Plan vertices of the three polyline kinds, rewriting their vertex lists, and the plan
// clean-up that keeps a simplification only when it leaves more than one segment.
#include <gtest/gtest.h>

#include "geometry/MapCleanCAD.h"
#include "geometry/PolylineVertices.h"
#include "host/db/DbHelpers.h"
#include "host/db/entities/AcDb3dPolyline.h"
#include "host/db/entities/AcDbPolyline.h"
#include "support/TestDrawing.h"

TEST(PlanVertices, AClosedPolylineEndsOnItsFirstPointAnd3dRepeatsAreDropped)
{
    AcDbPolyline square;
    const AcGePoint2d corners[] = {{0, 0}, {4, 0}, {4, 4}, {0, 4}};
    for (unsigned int i = 0; i < 4; ++i) square.addVertexAt(i, corners[i]);
    square.setClosed(true);
    AcGePoint2dArray plan;
    ASSERT_EQ(readPlanVertices(&square, plan), 5);
    EXPECT_TRUE(plan[4].isEqualTo(plan[0]));

    AcDb3dPolyline loop(AcDb::k3dSimplePoly, AcGePoint3dArray({{0, 0, 1}, {4, 0, 2}, {4, 4, 3}, {0, 0, 1}, {0, 4, 5}}));
    ASSERT_EQ(readPlanVertices(&loop, plan), 4);
    EXPECT_TRUE(plan[3].isEqualTo(AcGePoint2d(0, 4)));
}

TEST(ReplaceVertices, KeepsClosedStateAndElevationAndRefusesASinglePoint)
{
    AcDbPolyline pline;
    pline.addVertexAt(0, AcGePoint2d(0, 0), 0.5);
    pline.addVertexAt(1, AcGePoint2d(9, 0));
    pline.setClosed(true);
    pline.setElevation(7.0);
    EXPECT_EQ(replaceVertices(&pline, AcGePoint3dArray({{1, 1, 0}})), Acad::eInvalidInput);
    EXPECT_EQ(pline.numVerts(), 2u);

    ASSERT_EQ(replaceVertices(&pline, AcGePoint3dArray({{0, 0, 0}, {5, 0, 0}, {5, 5, 0}, {0, 0, 0}})), Acad::eOk);
    EXPECT_EQ(pline.numVerts(), 3u) << "the repeated first point of a closed list goes";
    EXPECT_TRUE(pline.isClosed());
    EXPECT_DOUBLE_EQ(pline.elevation(), 7.0);
    double bulge = 1.0;
    pline.getBulgeAt(0, bulge);
    EXPECT_EQ(bulge, 0.0);
}

TEST(ReplaceVertices, Gives3dPolylinesNewSimpleVertices)
{
    fendo::test::TestDrawing d;
    auto* spline = new AcDb3dPolyline(AcDb::k3dSimplePoly, AcGePoint3dArray({{0, 0, 0}, {5, 5, 5}, {10, 0, 0}, {15, 5, 5}}));
    spline->splineFit();
    const AcDbObjectId id = d.add(spline);
    {
        fendo::db::OpenedObject<AcDb3dPolyline> p(id, AcDb::kForWrite);
        ASSERT_TRUE(p);
        ASSERT_EQ(replaceVertices(p.get(), AcGePoint3dArray({{0, 0, 1}, {3, 0, 2}, {6, 0, 3}})), Acad::eOk);
    }
    fendo::db::OpenedObject<AcDb3dPolyline> p(id, AcDb::kForRead);
    EXPECT_EQ(p->polyType(), AcDb::k3dSimplePoly);
    const auto vertices = p->vertices();
    ASSERT_EQ(vertices.size(), 3u);
    EXPECT_TRUE(vertices[2]->position().isEqualTo(AcGePoint3d(6, 0, 3)));
}

TEST(MapCleanCAD, KeepsTheSimplifiedPlanOnlyWhenMoreThanTwoPointsSurvive)
{
    const AcGePoint2d corner[] = {{0, 0}, {1, 0.1}, {2, 0}, {2, 1}, {2, 2}};
    MapCleanCAD clean(corner, 5);
    EXPECT_EQ(clean.Approximate(0.5), 3);
    ASSERT_EQ(clean.planePoints().length(), 3);
    EXPECT_TRUE(clean.planePoints()[1].isEqualTo(AcGePoint2d(2, 0)));

    const AcGePoint2d straight[] = {{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}};
    MapCleanCAD line(straight, 5);
    EXPECT_EQ(line.Approximate(0.5), 2) << "the simplifier keeps both ends";
    EXPECT_TRUE(line.planePoints().isEmpty()) << "but a single segment is not kept";
}
