// "N3d" and "DCPL" through fendo on saved drawings.
#include <gtest/gtest.h>

#include "host/db/entities/AcDb3dPolyline.h"
#include "host/db/entities/AcDbLine.h"
#include "host/db/entities/AcDbPolyline.h"
#include "support/TestDrawing.h"

using namespace fendo::test;

namespace {
AcDbLine* line(AcGePoint3d a, AcGePoint3d b) { return new AcDbLine(a, b); }

std::vector<AcGePoint3d> vertices3d(AcDbDatabase& db, AcDbObjectId id)
{
    std::vector<AcGePoint3d> pts;
    AcDb3dPolyline* p = nullptr;
    if (acdbOpenObject(p, id, AcDb::kForRead) != Acad::eOk) return pts;
    AcDbObjectIterator* it = p->vertexIterator();
    for (it->start(); !it->done(); it->step()) {
        AcDb3dPolylineVertex* v = nullptr;
        if (acdbOpenObject(v, it->objectId(), AcDb::kForRead) != Acad::eOk) continue;
        pts.push_back(v->position());
        v->close();
    }
    delete it;
    p->close();
    (void)db;
    return pts;
}
}  // namespace

TEST(JoinInto3dPolylines, ThreeLevelLinesInAnyOrderBecomeOnePolylineOfFourPoints)
{
    TestDrawing d;
    d.add(line({20, 0, 5}, {30, 0, 5}), L"BREAK");
    d.add(line({10, 0, 5}, {0, 0, 5}), L"BREAK");
    d.add(line({10, 0, 5}, {20, 0, 5}), L"BREAK");
    const Session s = runSession(d, "N3d\nall\n\n");
    ASSERT_TRUE(s.result) << s.run.output;
    EXPECT_TRUE(modelSpaceEntities(*s.result, AcDbLine::desc()).empty());
    const auto polys = modelSpaceEntities(*s.result, AcDb3dPolyline::desc());
    ASSERT_EQ(polys.size(), 1u);
    const auto pts = vertices3d(*s.result, polys[0]);
    ASSERT_EQ(pts.size(), 4u);
    EXPECT_DOUBLE_EQ(pts[0].z, 5.0);
    EXPECT_EQ(std::min(pts.front().x, pts.back().x), 0.0);
    EXPECT_EQ(std::max(pts.front().x, pts.back().x), 30.0);
}

TEST(JoinInto3dPolylines, AnIdenticalLineIsErasedBeforeJoining)
{
    TestDrawing d;
    d.add(line({0, 0, 0}, {10, 0, 0}));
    d.add(line({0, 0, 0}, {10, 0, 0}));
    const Session s = runSession(d, "N3d\nall\n\n");
    ASSERT_TRUE(s.result) << s.run.output;
    EXPECT_TRUE(modelSpaceEntities(*s.result, AcDbLine::desc()).empty());
    EXPECT_EQ(modelSpaceEntities(*s.result, AcDb3dPolyline::desc()).size(), 1u);
}

TEST(JoinInto3dPolylines, ARepeatTakesItsCornersFromTwoEarlierObjectsAndANudgeBeyondTheToleranceKeepsOne)
{
    TestDrawing d;
    d.add(line({0, 5, 0}, {10, 0, 0}));    // corners (0,0) and (10,5)
    d.add(line({5, 20, 0}, {20, 7, 0}));   // corners (5,7) and (20,20)
    d.add(line({0, 0, 0}, {20, 20, 0}));   // both corners seen before: erased
    d.add(line({0, 1e-9, 0}, {20, 20, 0}));  // its lower corner is new
    d.add(line({20, 20, 0}, {0, 1e-9, 0}));  // the same corners reversed: erased
    const Session s = runSession(d, "N3d\nall\n\n");
    ASSERT_TRUE(s.result) << s.run.output;
    EXPECT_TRUE(modelSpaceEntities(*s.result, AcDbLine::desc()).empty());
    EXPECT_EQ(modelSpaceEntities(*s.result, AcDb3dPolyline::desc()).size(), 3u);
}

TEST(JoinInto3dPolylines, EndsWithinTheToleranceInPlanJoinWhateverTheirHeights)
{
    TestDrawing d;
    d.add(line({0, 0, 0}, {10, 0, 0}));
    d.add(line({10.03, 0.02, 3}, {20, 0, 3}));
    const Session s = runSession(d, "N3d\nall\n\n");
    ASSERT_TRUE(s.result) << s.run.output;
    const auto polys = modelSpaceEntities(*s.result, AcDb3dPolyline::desc());
    ASSERT_EQ(polys.size(), 1u);
    EXPECT_EQ(vertices3d(*s.result, polys[0]).size(), 3u);
}

TEST(ReverseCurves, AnOpenPolylineKeepsEachArcOnItsSegmentTurnedTheOtherWay)
{
    TestDrawing d;
    auto* p = new AcDbPolyline;
    p->addVertexAt(0, AcGePoint2d(0, 0), 0.5);
    p->addVertexAt(1, AcGePoint2d(10, 0));
    p->addVertexAt(2, AcGePoint2d(20, 5));
    d.add(p);
    const Session s = runSession(d, "DCPL\nall\n\n");
    ASSERT_TRUE(s.result) << s.run.output;
    const auto ids = modelSpaceEntities(*s.result, AcDbPolyline::desc());
    ASSERT_EQ(ids.size(), 1u);
    AcDbPolyline* q = nullptr;
    ASSERT_EQ(acdbOpenObject(q, ids[0], AcDb::kForRead), Acad::eOk);
    ASSERT_EQ(q->numVerts(), 3u);
    AcGePoint2d first;
    q->getPointAt(0, first);
    EXPECT_EQ(first, AcGePoint2d(20, 5));
    double b0 = 0, b1 = 0, b2 = 0;
    q->getBulgeAt(0, b0);
    q->getBulgeAt(1, b1);
    q->getBulgeAt(2, b2);
    q->close();
    EXPECT_DOUBLE_EQ(b0, 0.0);
    EXPECT_DOUBLE_EQ(b1, -0.5);
    EXPECT_DOUBLE_EQ(b2, 0.0);
}

TEST(ReverseCurves, AnEmptySelectionChangesNothing)
{
    TestDrawing d;
    d.add(line({0, 0, 0}, {10, 0, 0}));
    const Session s = runSession(d, "DCPL\nall\n\n");
    ASSERT_TRUE(s.result) << s.run.output;
    EXPECT_EQ(modelSpaceEntities(*s.result, AcDbLine::desc()).size(), 1u);
}
