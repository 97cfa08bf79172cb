// "P2S", "S2P", "S3P", "S2P1", "TDSPL" and "LDSPL" driven through fendo on saved drawings.
#include <gtest/gtest.h>

#include <cmath>
#include "host/db/entities/AcDb3dPolyline.h"
#include "host/db/entities/AcDbLine.h"
#include "host/db/entities/AcDbPolyline.h"
#include "host/db/entities/AcDbSpline.h"
#include "support/TestDrawing.h"

using namespace fendo::test;

namespace {
AcGePoint3dArray points3d(std::initializer_list<AcGePoint3d> list)
{
    AcGePoint3dArray out;
    for (const auto& p : list) out.append(p);
    return out;
}

// A wave through five fit points at z = 0: fit point 2 is (20,0), fit point 3 is (30,5).
AcDbSpline* wave()
{
    return new AcDbSpline(points3d({{0, 0, 0}, {10, 5, 0}, {20, 0, 0}, {30, 5, 0}, {40, 0, 0}}));
}

// The fit points of the only spline of the result.
std::vector<AcGePoint3d> fitPointsOfOnlySpline(AcDbDatabase& db)
{
    std::vector<AcGePoint3d> out;
    const auto ids = modelSpaceEntities(db, AcDbSpline::desc());
    EXPECT_EQ(ids.size(), 1u);
    AcDbSpline* s = nullptr;
    if (ids.size() != 1 || acdbOpenObject(s, ids[0], AcDb::kForRead) != Acad::eOk) return out;
    for (int i = 0; i < s->numFitPoints(); ++i) {
        AcGePoint3d p;
        s->getFitPointAt(i, p);
        out.push_back(p);
    }
    s->close();
    return out;
}

std::vector<AcGePoint3d> verticesOfOnly3dPolyline(AcDbDatabase& db)
{
    std::vector<AcGePoint3d> out;
    const auto ids = modelSpaceEntities(db, AcDb3dPolyline::desc());
    EXPECT_EQ(ids.size(), 1u);
    AcDb3dPolyline* p = nullptr;
    if (ids.size() != 1 || acdbOpenObject(p, ids[0], AcDb::kForRead) != Acad::eOk) return out;
    for (const auto* v : p->vertices()) out.push_back(v->position());
    p->close();
    return out;
}

// Index of the first point equal in plan to p, or -1.
int indexInPlan(const std::vector<AcGePoint3d>& points, const AcGePoint3d& p)
{
    for (size_t i = 0; i < points.size(); ++i)
        if (std::abs(points[i].x - p.x) < 1e-9 && std::abs(points[i].y - p.y) < 1e-9) return static_cast<int>(i);
    return -1;
}
}  // namespace

TEST(PolylineToSpline, AClosedSquareGivesFiveFitPointsEndingWhereTheyStart)
{
    TestDrawing d;
    d.layer(L"ROAD", 2);
    auto* square = new AcDbPolyline;
    square->addVertexAt(0, AcGePoint2d(0, 0));
    square->addVertexAt(1, AcGePoint2d(10, 0));
    square->addVertexAt(2, AcGePoint2d(10, 10));
    square->addVertexAt(3, AcGePoint2d(0, 10));
    square->setClosed(true);
    square->setElevation(2.5);
    d.add(square, L"ROAD");
    const Session s = runSession(d, "P2S\nall\n\n");
    ASSERT_TRUE(s.result) << s.run.output;
    EXPECT_TRUE(modelSpaceEntities(*s.result, AcDbPolyline::desc()).empty());
    EXPECT_EQ(fitPointsOfOnlySpline(*s.result),
              (std::vector<AcGePoint3d>{{0, 0, 2.5}, {10, 0, 2.5}, {10, 10, 2.5}, {0, 10, 2.5}, {0, 0, 2.5}}));
    AcDbEntity* e = nullptr;
    ASSERT_EQ(acdbOpenObject(e, modelSpaceEntities(*s.result)[0], AcDb::kForRead), Acad::eOk);
    EXPECT_EQ(std::wstring(e->layer()), L"ROAD");
    e->close();
}

TEST(PolylineToSpline, NothingSelectedPrintsTheMessage)
{
    TestDrawing d;
    d.add(new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(10, 0, 0)));
    const Session s = runSession(d, "P2S\nall\n\n");
    ASSERT_TRUE(s.result) << s.run.output;
    EXPECT_NE(s.run.output.find("Khong chon duoc duong polyline!"), std::string::npos) << s.run.output;
}

TEST(SplineToPolyline, EveryFitPointIsAVertexInOrderAndTheRestLieOnTheSpline)
{
    TestDrawing d;
    d.add(wave());
    const Session s = runSession(d, "S2P\n0.01\nall\n\n");
    ASSERT_TRUE(s.result) << s.run.output;
    EXPECT_TRUE(modelSpaceEntities(*s.result, AcDbSpline::desc()).empty());
    const auto ids = modelSpaceEntities(*s.result, AcDbPolyline::desc());
    ASSERT_EQ(ids.size(), 1u);
    AcDbPolyline* p = nullptr;
    ASSERT_EQ(acdbOpenObject(p, ids[0], AcDb::kForRead), Acad::eOk);
    std::vector<AcGePoint3d> v;
    for (unsigned i = 0; i < p->numVerts(); ++i) {
        AcGePoint2d q;
        p->getPointAt(i, q);
        v.emplace_back(q.x, q.y, 0.0);
    }
    EXPECT_FALSE(p->isClosed());
    p->close();
    EXPECT_GT(v.size(), 10u);
    int previous = -1;
    for (const AcGePoint3d& f : {AcGePoint3d(0, 0, 0), AcGePoint3d(10, 5, 0), AcGePoint3d(20, 0, 0),
                                 AcGePoint3d(30, 5, 0), AcGePoint3d(40, 0, 0)}) {
        const int at = indexInPlan(v, f);
        EXPECT_GT(at, previous) << f.x;
        previous = at;
    }
    // No vertex goes back along the curve: x rises along this wave.
    for (size_t i = 1; i < v.size(); ++i) EXPECT_GT(v[i].x, v[i - 1].x) << i;
}

TEST(SplineTo3dPoly, HeightsRiseLinearlyWithLengthInPlanBetweenFitPoints)
{
    TestDrawing d;
    d.add(new AcDbSpline(points3d({{0, 0, 10}, {10, 10, 20}, {20, 0, 20}})));
    const Session s = runSession(d, "S3P\n\nall\n\n");
    ASSERT_TRUE(s.result) << s.run.output;
    const auto v = verticesOfOnly3dPolyline(*s.result);
    const int first = indexInPlan(v, AcGePoint3d(0, 0, 0));
    const int middle = indexInPlan(v, AcGePoint3d(10, 10, 0));
    const int last = indexInPlan(v, AcGePoint3d(20, 0, 0));
    ASSERT_EQ(first, 0);
    ASSERT_GT(middle, first + 1);
    ASSERT_GT(last, middle + 1);
    std::vector<double> along(v.size(), 0.0);
    for (size_t i = 1; i < v.size(); ++i)
        along[i] = along[i - 1] + std::hypot(v[i].x - v[i - 1].x, v[i].y - v[i - 1].y);
    EXPECT_DOUBLE_EQ(v[first].z, 10.0);
    EXPECT_DOUBLE_EQ(v[middle].z, 20.0);
    for (int k = first + 1; k < middle; ++k)
        EXPECT_NEAR(v[k].z, 10.0 + 10.0 * along[k] / along[middle], 1e-9) << k;
    for (int k = middle; k <= last; ++k) EXPECT_NEAR(v[k].z, 20.0, 1e-9) << k;
}

TEST(SplineTo3dPoly, ASplineWithoutFitPointsStaysAtTheHeightOfItsStart)
{
    TestDrawing d;
    AcGeDoubleArray knots, weights;
    for (double k : {0.0, 0.0, 0.0, 0.0, 1.0, 1.0, 1.0, 1.0}) knots.append(k);
    d.add(new AcDbSpline(3, false, false, false, points3d({{0, 0, 7}, {10, 10, 7}, {20, -10, 7}, {30, 0, 7}}),
                         knots, weights));
    const Session s = runSession(d, "S3P\n\nall\n\n");
    ASSERT_TRUE(s.result) << s.run.output;
    const auto v = verticesOfOnly3dPolyline(*s.result);
    ASSERT_GT(v.size(), 2u);
    for (const auto& p : v) EXPECT_DOUBLE_EQ(p.z, 7.0);
}

TEST(SplineFitPointsToPolyline, DrawsTheFitPointsAndKeepsTheSpline)
{
    TestDrawing d;
    AcDbEntity* spline = nullptr;
    ASSERT_EQ(acdbOpenObject(spline, d.add(wave()), AcDb::kForWrite), Acad::eOk);
    spline->setColorIndex(4);  // after adding, which sets the drawing's defaults
    spline->close();
    const Session s = runSession(d, "S2P1\n0,0\n");
    ASSERT_TRUE(s.result) << s.run.output;
    EXPECT_EQ(modelSpaceEntities(*s.result, AcDbSpline::desc()).size(), 1u);
    const auto ids = modelSpaceEntities(*s.result, AcDbPolyline::desc());
    ASSERT_EQ(ids.size(), 1u);
    AcDbPolyline* p = nullptr;
    ASSERT_EQ(acdbOpenObject(p, ids[0], AcDb::kForRead), Acad::eOk);
    EXPECT_EQ(p->numVerts(), 5u);
    AcGePoint2d third;
    p->getPointAt(3, third);
    EXPECT_EQ(third, AcGePoint2d(30, 5));
    EXPECT_EQ(p->colorIndex(), 4);
    p->close();
}

TEST(SplineFitPointEdits, RemovingAfterAPickInsideOrOnTheStartOfASpanTakesTheSpansEndPoint)
{
    const std::vector<AcGePoint3d> withoutThird{{0, 0, 0}, {10, 5, 0}, {20, 0, 0}, {40, 0, 0}};
    for (const char* pick : {"25,2.6", "20,0"}) {
        TestDrawing d;
        d.add(wave());
        const Session s = runSession(d, std::string("LDSPL\n0,0\n") + pick + "\n\n");
        ASSERT_TRUE(s.result) << s.run.output;
        EXPECT_EQ(fitPointsOfOnlySpline(*s.result), withoutThird) << pick;
    }
}

TEST(SplineFitPointEdits, InsertingMakesThePickedPointTheNextFitPointOfItsSpan)
{
    TestDrawing d;
    d.add(wave());
    const Session s = runSession(d, "TDSPL\n0,0\n25,3\n\n");
    ASSERT_TRUE(s.result) << s.run.output;
    const auto f = fitPointsOfOnlySpline(*s.result);
    ASSERT_EQ(f.size(), 6u);
    EXPECT_EQ(f[3], AcGePoint3d(25, 3, 0));
    EXPECT_EQ(f[4], AcGePoint3d(30, 5, 0));
}

TEST(SplineFitPointEdits, ARefusedRemovalLeavesTheSplineAndTheLoopGoesOn)
{
    TestDrawing d;
    d.add(new AcDbSpline(points3d({{0, 0, 0}, {10, 5, 0}})));
    // The last span's end cannot go (two fit points must stay); the loop then ends on the empty reply.
    const Session s = runSession(d, "LDSPL\n0,0\n5,2.5\n5,2.5\n\n");
    ASSERT_TRUE(s.result) << s.run.output;
    EXPECT_EQ(fitPointsOfOnlySpline(*s.result), (std::vector<AcGePoint3d>{{0, 0, 0}, {10, 5, 0}}));
}
