// Vertex editing of lightweight polylines and vertex ownership of 2D and 3D polylines.
#include <gtest/gtest.h>

#include "DbTestEntity.h"
#include "EntityTestSupport.h"
#include "host/db/entities/AcDb3dPolyline.h"
#include "host/db/entities/AcDbPolyline.h"
#include "host/ge/AcGeCircArc3d.h"
#include "host/ge/AcGeLineSeg3d.h"

using enttest::expectNear;

TEST(LwPolylineVertices, AddRemoveAndOutOfRangeIndices)
{
    AcDbPolyline pl;
    EXPECT_EQ(pl.segType(0), AcDbPolyline::kEmpty);
    ASSERT_EQ(pl.addVertexAt(0, {1, 1}), Acad::eOk);
    EXPECT_EQ(pl.segType(0), AcDbPolyline::kPoint);
    EXPECT_EQ(pl.addVertexAt(5, {0, 0}), Acad::eInvalidIndex);
    pl.addVertexAt(0, {0, 0});   // in front
    pl.addVertexAt(2, {2, 0});   // at the end
    ASSERT_EQ(pl.numVerts(), 3u);
    AcGePoint2d p;
    pl.getPointAt(0, p);
    EXPECT_EQ(p, AcGePoint2d(0, 0));
    pl.getPointAt(1, p);
    EXPECT_EQ(p, AcGePoint2d(1, 1));
    EXPECT_EQ(pl.removeVertexAt(3), Acad::eInvalidIndex);
    ASSERT_EQ(pl.removeVertexAt(1), Acad::eOk);
    pl.getPointAt(1, p);
    EXPECT_EQ(p, AcGePoint2d(2, 0));
    double b = 0;
    EXPECT_EQ(pl.getBulgeAt(2, b), Acad::eInvalidIndex);
    pl.reset(true, 1);
    EXPECT_EQ(pl.numVerts(), 1u);
    pl.reset(false, 0);
    EXPECT_EQ(pl.numVerts(), 0u);
}

TEST(LwPolylineVertices, BulgeOnTheLastVertexMattersOnlyWhenClosed)
{
    AcDbPolyline pl;
    pl.addVertexAt(0, {0, 0});
    pl.addVertexAt(1, {2, 0});
    pl.setBulgeAt(1, 1.0);
    EXPECT_EQ(pl.segType(1), AcDbPolyline::kEmpty);
    AcDbExtents open;
    pl.getGeomExtents(open);
    EXPECT_NEAR(open.maxPoint().y, 0.0, 1e-12);

    pl.setClosed(true);
    EXPECT_TRUE(pl.isClosed());
    EXPECT_EQ(pl.segType(1), AcDbPolyline::kArc);
    AcGeCircArc3d arc;
    ASSERT_EQ(pl.getArcSegAt(1, arc), Acad::eOk);
    expectNear(arc.center(), {1, 0, 0});
    AcGeLineSeg3d seg;
    EXPECT_EQ(pl.getLineSegAt(1, seg), Acad::eInvalidIndex);
    ASSERT_EQ(pl.getLineSegAt(0, seg), Acad::eOk);
    AcDbExtents closed;
    pl.getGeomExtents(closed);
    EXPECT_NEAR(closed.maxPoint().y, 1.0, 1e-12);  // from (2,0) back to (0,0) bulging up
}

TEST(LwPolylineVertices, DefaultWidthsTakeTheConstantWidth)
{
    AcDbPolyline pl;
    pl.setConstantWidth(0.5);
    pl.addVertexAt(0, {0, 0});
    pl.addVertexAt(1, {1, 0}, 0.0, 0.2, 0.3);
    double s = 0, e = 0;
    pl.getWidthsAt(0, s, e);
    EXPECT_EQ(s, 0.5);
    EXPECT_EQ(e, 0.5);
    double w = 0;
    EXPECT_EQ(pl.getConstantWidth(w), Acad::eInvalidInput);
    pl.setWidthsAt(1, 0.5, 0.5);
    EXPECT_EQ(pl.getConstantWidth(w), Acad::eOk);
    EXPECT_EQ(w, 0.5);
}

// Widths and identifiers are kept apart from the points once some vertex has one: they must
// stay with their vertices when that starts half-way and through every later edit.
TEST(LwPolylineVertices, WidthsAndIdentifiersFollowTheirVerticesThroughEdits)
{
    AcDbPolyline pl;
    for (unsigned int i = 0; i < 3; ++i) pl.addVertexAt(i, {static_cast<double>(i), 0});
    EXPECT_FALSE(pl.hasWidth());
    ASSERT_EQ(pl.setWidthsAt(1, 0.2, 0.4), Acad::eOk);
    pl.addVertexAt(0, {-1, 0});                  // plain, in front: the wide vertex is now third
    pl.addVertexAt(4, {3, 0}, 0.0, 0.0, 0.0, 9);  // an identifier alone, at the end
    pl.setVertexIdentifierAt(0, 7);
    auto widths = [&](unsigned int i) {
        double s = -1, e = -1;
        EXPECT_EQ(pl.getWidthsAt(i, s, e), Acad::eOk);
        return std::pair(s, e);
    };
    auto id = [&](unsigned int i) {
        Adesk::Int32 v = -1;
        EXPECT_EQ(pl.getVertexIdentifierAt(i, v), Acad::eOk);
        return v;
    };
    EXPECT_EQ(widths(2), std::pair(0.2, 0.4));
    EXPECT_EQ(widths(1), std::pair(0.0, 0.0));
    EXPECT_EQ(widths(3), std::pair(0.0, 0.0));
    EXPECT_EQ(id(0), 7);
    EXPECT_EQ(id(4), 9);
    EXPECT_EQ(id(2), 0);

    pl.removeVertexAt(1);  // the wide vertex moves back to second
    EXPECT_EQ(widths(1), std::pair(0.2, 0.4));
    EXPECT_EQ(id(3), 9);
    pl.reset(true, 2);
    ASSERT_EQ(pl.numVerts(), 2u);
    EXPECT_EQ(widths(1), std::pair(0.2, 0.4));
    EXPECT_EQ(id(0), 7);

    AcGeMatrix3d twice;
    twice.setToScaling(2.0);
    ASSERT_EQ(pl.transformBy(twice), Acad::eOk);
    EXPECT_EQ(widths(1), std::pair(0.4, 0.8));
    pl.setConstantWidth(0.0);
    EXPECT_FALSE(pl.hasWidth());
    EXPECT_EQ(id(0), 7) << "a constant width leaves identifiers alone";
}

TEST(LwPolylineConvert, TakesVerticesAndFlagsFromA2dPolyline)
{
    AcGePoint3dArray pts{{0, 0, 0}, {3, 0, 0}, {3, 4, 0}};
    AcGeDoubleArray bulges{0.0, 0.25, 0.0};
    auto* old = new AcDb2dPolyline(AcDb::k2dSimplePoly, pts, 7.0, true, 0.0, 0.0, &bulges);
    AcDbEntity* ent = old;
    AcDbPolyline pl;
    ASSERT_EQ(pl.convertFrom(ent, false), Acad::eOk);
    EXPECT_EQ(ent, old);
    ASSERT_EQ(pl.numVerts(), 3u);
    EXPECT_TRUE(pl.isClosed());
    EXPECT_EQ(pl.elevation(), 7.0);
    double b = 0;
    pl.getBulgeAt(1, b);
    EXPECT_EQ(b, 0.25);

    delete old;
}

TEST(LwPolylineConvert, ASplineFitPolylineGivesItsFittedShapeNotItsFrame)
{
    AcGePoint3dArray pts{{0, 0, 0}, {1, 2, 0}, {3, 2, 0}, {4, 0, 0}};
    AcGeDoubleArray bulges{0.0, 0.5, 0.0, 0.0};
    AcDb2dPolyline old(AcDb::k2dSimplePoly, pts, 2.0, false, 0.0, 0.0, &bulges);
    ASSERT_EQ(old.convertToPolyType(AcDb::k2dCubicSplinePoly), Acad::eOk);
    std::vector<AcDb2dVertex*> fitted = old.shapeVertices();
    AcDbEntity* ent = &old;
    AcDbPolyline pl;
    ASSERT_EQ(pl.convertFrom(ent, false), Acad::eOk);
    ASSERT_EQ(pl.numVerts(), fitted.size());
    for (unsigned int i = 0; i < pl.numVerts(); ++i) {
        AcGePoint2d p;
        pl.getPointAt(i, p);
        EXPECT_NEAR(p.x, fitted[i]->position().x, 1e-12);
        EXPECT_NEAR(p.y, fitted[i]->position().y, 1e-12);
        double b = 1;
        pl.getBulgeAt(i, b);
        EXPECT_EQ(b, 0.0);  // the fitted shape is straight pieces
    }
    EXPECT_EQ(pl.elevation(), 2.0);
}

TEST(LwPolylineConvert, TransferIdPutsTheNewPolylineInTheOldOnesPlace)
{
    dbtest::WorkingDrawing wd;
    AcDbBlockTableRecord* ms = nullptr;
    ASSERT_EQ(acdbOpenObject(ms, wd.db.modelSpaceId(), AcDb::kForWrite), Acad::eOk);
    AcGePoint3dArray pts{{0, 0, 0}, {1, 0, 0}};
    auto* old = new AcDb2dPolyline(AcDb::k2dSimplePoly, pts);
    AcDbObjectId id;
    ASSERT_EQ(ms->appendAcDbEntity(id, old), Acad::eOk);
    ms->close();
    AcDbObjectIdArray vertexIds = old->subentityIds();
    ASSERT_EQ(vertexIds.length(), 2);

    AcDbEntity* ent = old;
    auto* pl = new AcDbPolyline;
    ASSERT_EQ(pl->convertFrom(ent, true), Acad::eOk);
    EXPECT_EQ(ent, pl);
    EXPECT_EQ(pl->objectId(), id);
    pl->close();
    AcDbPolyline* reopened = nullptr;
    ASSERT_EQ(acdbOpenObject(reopened, id, AcDb::kForRead), Acad::eOk);
    EXPECT_EQ(reopened->numVerts(), 2u);
    reopened->close();
    EXPECT_TRUE(vertexIds[0].isErased());
}

TEST(HeavyPolylineVertices, IterationSkipsErasedVerticesAndInsertKeepsOrder)
{
    dbtest::WorkingDrawing wd;
    AcGePoint3dArray pts{{0, 0, 5}, {1, 0, 5}, {2, 0, 5}};
    auto* pl = new AcDb3dPolyline(AcDb::k3dSimplePoly, pts);
    AcDbBlockTableRecord* ms = nullptr;
    ASSERT_EQ(acdbOpenObject(ms, wd.db.modelSpaceId(), AcDb::kForWrite), Acad::eOk);
    AcDbObjectId plId;
    ASSERT_EQ(ms->appendAcDbEntity(plId, pl), Acad::eOk);
    ms->close();

    std::unique_ptr<AcDbObjectIterator> it(pl->vertexIterator());
    std::vector<AcDbObjectId> ids;
    for (; !it->done(); it->step()) ids.push_back(it->objectId());
    ASSERT_EQ(ids.size(), 3u);
    for (AcDbObjectId id : ids) EXPECT_FALSE(id.isNull());

    AcDbObjectId newId;
    ASSERT_EQ(pl->insertVertexAt(newId, ids[0], new AcDb3dPolylineVertex({0.5, 0, 5})), Acad::eOk);
    pl->close();

    AcDbObject* v = nullptr;
    ASSERT_EQ(acdbOpenAcDbObject(v, ids[1], AcDb::kForWrite), Acad::eOk);
    v->erase();
    v->close();

    ASSERT_EQ(acdbOpenObject(pl, plId, AcDb::kForRead), Acad::eOk);
    std::vector<AcGePoint3d> seen;
    it.reset(pl->vertexIterator());
    for (; !it->done(); it->step()) {
        AcDb3dPolylineVertex* vx = nullptr;
        ASSERT_EQ(pl->openVertex(vx, it->objectId(), AcDb::kForRead), Acad::eOk);
        seen.push_back(vx->position());
        vx->close();
    }
    ASSERT_EQ(seen.size(), 3u);
    expectNear(seen[0], {0, 0, 5});
    expectNear(seen[1], {0.5, 0, 5});
    expectNear(seen[2], {2, 0, 5});
    EXPECT_FALSE(pl->seqendId().isNull());
    AcDbExtents ext;
    pl->getGeomExtents(ext);
    expectNear(ext.maxPoint(), {2, 0, 5});
    pl->close();
}

TEST(HeavyPolylineTypes, SplineFitThroughTheFrameAndBackToSimple)
{
    AcGePoint3dArray pts{{0, 0, 0}, {1, 2, 0}, {3, 2, 0}, {4, 0, 0}};
    AcDb2dPolyline pl(AcDb::k2dSimplePoly, pts);
    ASSERT_EQ(pl.convertToPolyType(AcDb::k2dCubicSplinePoly), Acad::eOk);
    std::vector<AcDb2dVertex*> shape = pl.shapeVertices();
    ASSERT_GT(shape.size(), 4u);
    for (AcDb2dVertex* v : shape) EXPECT_EQ(v->vertexType(), AcDb::k2dSplineFitVertex);
    // A clamped spline starts and ends on the frame's end points.
    expectNear(shape.front()->position(), {0, 0, 0});
    expectNear(shape.back()->position(), {4, 0, 0});
    size_t fitted = shape.size();

    ASSERT_EQ(pl.convertToPolyType(AcDb::k2dSimplePoly), Acad::eOk);
    EXPECT_EQ(pl.polyType(), AcDb::k2dSimplePoly);
    // The frame stays, the generated vertices go: back to the polyline it was.
    std::vector<AcDb2dVertex*> back = pl.vertices();
    ASSERT_EQ(back.size(), 4u);
    for (size_t i = 0; i < back.size(); ++i) {
        EXPECT_EQ(back[i]->vertexType(), AcDb::k2dVertex);
        expectNear(back[i]->position(), pts[static_cast<int>(i)]);
    }
    // Fitting again gives the same shape as the first time.
    ASSERT_EQ(pl.convertToPolyType(AcDb::k2dCubicSplinePoly), Acad::eOk);
    EXPECT_EQ(pl.shapeVertices().size(), fitted);
}

TEST(HeavyPolylineTypes, ThreeDSplineFitBackToSimpleKeepsTheFrame)
{
    AcGePoint3dArray pts{{0, 0, 0}, {10, 10, 1}, {20, 0, 2}, {30, 10, 3}};
    AcDb3dPolyline pl(AcDb::k3dSimplePoly, pts);
    ASSERT_EQ(pl.convertToPolyType(AcDb::k3dCubicSplinePoly), Acad::eOk);
    ASSERT_GT(pl.shapeVertices().size(), 4u);
    ASSERT_EQ(pl.convertToPolyType(AcDb::k3dSimplePoly), Acad::eOk);
    std::vector<AcDb3dPolylineVertex*> back = pl.vertices();
    ASSERT_EQ(back.size(), 4u);
    for (size_t i = 0; i < back.size(); ++i) {
        EXPECT_EQ(back[i]->vertexType(), AcDb::k3dSimpleVertex);
        expectNear(back[i]->position(), pts[static_cast<int>(i)]);
    }
}

TEST(HeavyPolylineClone, CopiesTheVertices)
{
    AcGePoint3dArray pts{{0, 0, 0}, {1, 1, 1}};
    AcDb3dPolyline pl(AcDb::k3dSimplePoly, pts, true);
    std::unique_ptr<AcDb3dPolyline> copy(AcDb3dPolyline::cast(pl.clone()));
    ASSERT_TRUE(copy);
    EXPECT_TRUE(copy->isClosed());
    ASSERT_EQ(copy->vertices().size(), 2u);
    expectNear(copy->vertices()[1]->position(), {1, 1, 1});
    EXPECT_NE(copy->vertices()[1], pl.vertices()[1]);
}
