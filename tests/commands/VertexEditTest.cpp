// "TDPL" and "LDPL" driven through fendo on saved drawings.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>
#include "host/db/entities/AcDb2dPolyline.h"
#include "host/db/entities/AcDb3dPolyline.h"
#include "host/db/entities/AcDbCircle.h"
#include "host/db/entities/AcDbPolyline.h"
#include "support/TestDrawing.h"

using namespace fendo::test;

namespace {
constexpr double kPi = 3.14159265358979323846;
constexpr double kTol = 1e-9;
// The quarter arc from (10,0) to (0,10) round the origin.
const double kQuarterBulge = std::tan(kPi / 8.0);

AcDbPolyline* lwPolyline(const std::vector<AcGePoint2d>& points, const std::vector<double>& bulges = {})
{
    auto* p = new AcDbPolyline;
    for (unsigned i = 0; i < points.size(); ++i) p->addVertexAt(i, points[i], i < bulges.size() ? bulges[i] : 0.0);
    return p;
}

AcDb3dPolyline* polyline3d(const std::vector<AcGePoint3d>& points)
{
    AcGePoint3dArray list;
    for (const auto& p : points) list.append(p);
    return new AcDb3dPolyline(AcDb::k3dSimplePoly, list);
}

// A zigzag of eleven vertices whose corners stand 2 units off the chord.
std::vector<AcGePoint2d> zigzag()
{
    std::vector<AcGePoint2d> out;
    for (int i = 0; i <= 10; ++i) out.emplace_back(i, i % 2 ? 2.0 : 0.0);
    return out;
}

// An L whose foot wobbles by 0.1: only its three corners matter at tolerance 0.5.
std::vector<AcGePoint2d> wobblyL()
{
    return {{0, 0}, {1, 0.1}, {2, 0}, {3, 0.1}, {4, 0}, {4, 1}, {4, 2}, {4, 3}, {4, 4}};
}

struct Vertex {
    AcGePoint3d point;
    double bulge = 0.0;
};

// The vertices of the only polyline (of any kind) in the saved result, in world coordinates.
std::vector<Vertex> resultVertices(const Session& s, bool* closed = nullptr)
{
    std::vector<Vertex> out;
    EXPECT_TRUE(s.result) << s.run.output;
    if (!s.result) return out;
    const auto ids = modelSpaceEntities(*s.result, AcDbCurve::desc());
    EXPECT_EQ(ids.size(), 1u) << s.run.output;
    if (ids.size() != 1) return out;
    AcDbEntity* e = nullptr;
    if (acdbOpenObject(e, ids[0], AcDb::kForRead) != Acad::eOk) return out;
    if (closed) *closed = AcDbCurve::cast(e)->isClosed();
    if (auto* lw = AcDbPolyline::cast(e)) {
        for (unsigned i = 0; i < lw->numVerts(); ++i) {
            Vertex v;
            lw->getPointAt(i, v.point);
            lw->getBulgeAt(i, v.bulge);
            out.push_back(v);
        }
    } else if (auto* p2 = AcDb2dPolyline::cast(e)) {
        for (AcDb2dVertex* v : p2->vertices()) out.push_back({v->position(), v->bulge()});
    } else if (auto* p3 = AcDb3dPolyline::cast(e)) {
        for (AcDb3dPolylineVertex* v : p3->vertices()) out.push_back({v->position(), 0.0});
    }
    e->close();
    return out;
}

void expectPlan(const std::vector<Vertex>& got, const std::vector<AcGePoint2d>& want)
{
    ASSERT_EQ(got.size(), want.size());
    for (size_t i = 0; i < want.size(); ++i) {
        EXPECT_NEAR(got[i].point.x, want[i].x, kTol) << "vertex " << i;
        EXPECT_NEAR(got[i].point.y, want[i].y, kTol) << "vertex " << i;
    }
}

Session runOn(AcDbEntity* entity, const std::string& script)
{
    TestDrawing d;
    d.add(entity);
    return runSession(d, script);
}
}  // namespace

TEST(InsertVerticesByTolerance, TurnsAQuarterArcIntoNineChordsOnTheCircle)
{
    const auto v = resultVertices(runOn(lwPolyline({{10, 0}, {0, 10}}, {kQuarterBulge}),
                                        "TDPL\n7.0711,7.0711\nD\n\n"));
    ASSERT_EQ(v.size(), 10u);
    for (const auto& vertex : v) {
        EXPECT_NEAR(std::hypot(vertex.point.x, vertex.point.y), 10.0, 1e-9);
        EXPECT_EQ(vertex.bulge, 0.0);
    }
    EXPECT_NEAR(v.back().point.x, 0.0, kTol);
    EXPECT_NEAR(v.back().point.y, 10.0, kTol);
}

TEST(InsertVerticesByTolerance, KeepsTheVerticesOfStraightPolylines)
{
    const std::vector<AcGePoint2d> open = {{0, 0}, {5, 0}, {5, 5}};
    expectPlan(resultVertices(runOn(lwPolyline(open), "TDPL\n2,0\nDung\n0.2\n")), open);

    // A closed polyline's closing segment is not written as a repeated vertex.
    const std::vector<AcGePoint2d> square = {{0, 0}, {5, 0}, {5, 5}, {0, 5}};
    auto* closedSquare = lwPolyline(square);
    closedSquare->setClosed(true);
    closedSquare->setElevation(2.0);
    bool closed = false;
    const auto v = resultVertices(runOn(closedSquare, "TDPL\n2,0\nD\n\n"), &closed);
    expectPlan(v, square);
    EXPECT_TRUE(closed);
    EXPECT_DOUBLE_EQ(v[0].point.z, 2.0) << "the elevation stays";
}

TEST(InsertVertexAtPick, Gives3dPolylineVerticesHeightsFromTheirNeighbours)
{
    const auto v = resultVertices(runOn(polyline3d({{0, 0, 0}, {10, 0, 10}}), "TDPL\n5,0\n4,0\n"));
    ASSERT_EQ(v.size(), 3u);
    EXPECT_TRUE(v[1].point.isEqualTo(AcGePoint3d(4, 0, 4))) << v[1].point.x << "," << v[1].point.z;
    EXPECT_TRUE(v[2].point.isEqualTo(AcGePoint3d(10, 0, 10)));
}

TEST(InsertVertexAtPick, InsertsNothingOnAnExistingVertex)
{
    EXPECT_EQ(resultVertices(runOn(polyline3d({{0, 0, 0}, {10, 0, 10}}), "TDPL\n5,0\n10,0\n")).size(), 2u);
    EXPECT_EQ(resultVertices(runOn(lwPolyline({{0, 0}, {10, 0}, {10, 5}}), "TDPL\n5,0\n10,0\n")).size(), 3u);
}

TEST(InsertVertexAtPick, SplitsAnArcSoTheShapeStays)
{
    // A pick on the middle of the quarter arc gives two eighth arcs.
    const double r = 10.0 / std::sqrt(2.0);
    const auto v = resultVertices(
        runOn(lwPolyline({{10, 0}, {0, 10}, {0, 20}}, {kQuarterBulge}), "TDPL\n0,15\n" + std::to_string(r) + "," +
                                                                            std::to_string(r) + "\n"));
    ASSERT_EQ(v.size(), 4u);
    EXPECT_NEAR(v[0].bulge, std::tan(kPi / 16.0), 1e-6);
    EXPECT_NEAR(v[1].bulge, std::tan(kPi / 16.0), 1e-6);
    EXPECT_NEAR(v[1].point.x, r, 1e-6);
    EXPECT_EQ(v[2].bulge, 0.0);
}

TEST(RemoveVertexAtPick, RemovesTheNearestVertexButLeavesTwo)
{
    // The first pick takes (5,5); the second finds only two vertices left; Enter ends.
    const auto v =
        resultVertices(runOn(lwPolyline({{0, 0}, {5, 5}, {10, 0}}), "LDPL\n2.5,2.5\n5.2,4.9\n0.1,0\n\n"));
    expectPlan(v, {{0, 0}, {10, 0}});
}

TEST(RemoveVertexAtPick, Erases3dPolylineVerticesKeepingTheOthersHeights)
{
    const auto v = resultVertices(
        runOn(polyline3d({{0, 0, 1}, {5, 0, 2}, {10, 0, 3}, {15, 0, 4}}), "LDPL\n2,0\n9,1\n^C\n"));
    ASSERT_EQ(v.size(), 3u);
    EXPECT_TRUE(v[2].point.isEqualTo(AcGePoint3d(15, 0, 4)));
    EXPECT_TRUE(v[1].point.isEqualTo(AcGePoint3d(5, 0, 2)));
}

TEST(RemoveVerticesByTolerance, KeepsCornersAndNeverLeavesASingleSegment)
{
    expectPlan(resultVertices(runOn(lwPolyline(zigzag()), "LDPL\n0.5,1\nD\n0.5\n")), zigzag());

    std::vector<AcGePoint2d> line;
    for (int i = 0; i <= 10; ++i) line.emplace_back(i, 0);
    expectPlan(resultVertices(runOn(lwPolyline(line), "LDPL\n0.5,0\nD\n0.5\n")), line);

    expectPlan(resultVertices(runOn(lwPolyline(wobblyL()), "LDPL\n4,2\nD\n\n")), {{0, 0}, {4, 0}, {4, 4}});
}

TEST(RemoveVerticesByTolerance, Puts3dPolylinesAtZeroHeight)
{
    std::vector<AcGePoint3d> points;
    for (const auto& p : wobblyL()) points.emplace_back(p.x, p.y, 5.0 + p.x);
    const auto v = resultVertices(runOn(polyline3d(points), "LDPL\n4,2\nD\n0.5\n"));
    expectPlan(v, {{0, 0}, {4, 0}, {4, 4}});
    for (const auto& vertex : v) EXPECT_EQ(vertex.point.z, 0.0);
}

TEST(RemoveVerticesByTolerance, Rewrites2dPolylinesAsSimpleOnesAtTheirElevation)
{
    AcGePoint3dArray list;
    for (const auto& p : wobblyL()) list.append(AcGePoint3d(p.x, p.y, 0));
    auto* p2 = new AcDb2dPolyline(AcDb::k2dSimplePoly, list, 3.0, true);
    bool closed = false;
    const auto v = resultVertices(runOn(p2, "LDPL\n4,2\nD\n\n"), &closed);
    expectPlan(v, {{0, 0}, {4, 0}, {4, 4}});
    EXPECT_TRUE(closed);
    for (const auto& vertex : v) EXPECT_DOUBLE_EQ(vertex.point.z, 3.0);
}

// However "LDPL" ends, the object snap setting comes back (SETVAR shows it) and no mark
// circle is left in the drawing.
TEST(RemoveVertices, RestoresObjectSnapAndLeavesNoMarksHoweverItEnds)
{
    struct Ending {
        const char* name;
        std::string answers;
    };
    const std::vector<Ending> endings = {
        {"Escape", "^C\n"},
        {"Enter", "\n"},
        {"tolerance keyword", "D\n0.5\n"},
        {"Escape at the tolerance", "D\n^C\n"},
        {"a pick then Escape", "5,5\n^C\n"},
        {"four bad answers", "what\nwhat\nwhat\nwhat\n"},
    };
    for (const auto& ending : endings) {
        const Session s = runOn(lwPolyline({{0, 0}, {5, 5}, {10, 0}}),
                                "SETVAR OSMODE 33\nLDPL\n2.5,2.5\n" + ending.answers + "SETVAR OSMODE\n\n");
        ASSERT_TRUE(s.result) << ending.name << "\n" << s.run.output;
        EXPECT_NE(s.run.output.find("Enter new value for OSMODE <33>"), std::string::npos)
            << ending.name << "\n" << s.run.output;
        EXPECT_TRUE(modelSpaceEntities(*s.result, AcDbCircle::desc()).empty()) << ending.name;
    }
    // The script may also end while the marks are shown.
    const Session s = runOn(lwPolyline({{0, 0}, {5, 5}, {10, 0}}), "LDPL\n2.5,2.5\n");
    ASSERT_TRUE(s.result) << s.run.output;
    EXPECT_TRUE(modelSpaceEntities(*s.result, AcDbCircle::desc()).empty());
    EXPECT_EQ(resultVertices(s).size(), 3u);
}
