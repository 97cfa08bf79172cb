// "CHIAPL" and "ThayPl" through fendo on saved drawings.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "host/core/adsdef.h"
#include "host/db/AcDbSymbolTable.h"
#include "host/db/entities/AcDb2dPolyline.h"
#include "host/db/entities/AcDb3dPolyline.h"
#include "host/db/entities/AcDbLine.h"
#include "host/db/entities/AcDbPolyline.h"
#include "support/PolylinePoints.h"
#include "support/TestDrawing.h"

using namespace fendo::test;

namespace {
constexpr double kPi = 3.14159265358979323846;

AcDbPolyline* lightweight(const Points& vertices)  // (x, y, bulge)
{
    auto* p = new AcDbPolyline;
    for (const AcGePoint3d& v : vertices) p->addVertexAt(p->numVerts(), AcGePoint2d(v.x, v.y), v.z);
    return p;
}

// An entity kept open while the view lives.
struct Opened {
    AcDbEntity* e = nullptr;
    explicit Opened(AcDbObjectId id, AcDb::OpenMode mode = AcDb::kForRead) { acdbOpenObject(e, id, mode); }
    ~Opened()
    {
        if (e) e->close();
    }
};

void tag(AcDbObjectId id, const wchar_t* app, const wchar_t* text)
{
    ASSERT_TRUE(acdbRegApp(app));
    resbuf* data = acutBuildList(AcDb::kDxfRegAppName, app, AcDb::kDxfXdAsciiString, text, RTNONE);
    EXPECT_EQ(Opened(id, AcDb::kForWrite).e->setXData(data), Acad::eOk);
    acutRelRb(data);
}

// The text under the application, empty when the object has no such data.
std::wstring tagText(AcDbObjectId id, const wchar_t* app)
{
    resbuf* data = Opened(id).e->xData(app);
    std::wstring text;
    for (const resbuf* rb = data; rb; rb = rb->rbnext)
        if (rb->restype == AcDb::kDxfXdAsciiString) text = rb->resval.rstring;
    acutRelRb(data);
    return text;
}

// A half circle below the x axis from (0, 0) to (10, 0), then a straight run to (20, 0), at
// elevation 5 on layer "RANH" in colour ByBlock.
const Points kArcThenLine{{0, 0, 1.0}, {10, 0, 0}, {20, 0, 0}};
void addArcThenLine(TestDrawing& d)
{
    AcDbPolyline* p = lightweight(kArcThenLine);
    p->setElevation(5);
    Opened(d.add(p, L"RANH"), AcDb::kForWrite).e->setColorIndex(0);
}

TEST(SplitPolyline, InTheMiddleOfAnArcGivesTwoPolylinesWhoseArcsMakeUpTheArc)
{
    TestDrawing d;
    addArcThenLine(d);
    const Session s = runSession(d, "CHIAPL\n5,-5\n5,-5\n");
    ASSERT_TRUE(s.result) << s.run.output;
    const auto plines = modelSpaceEntities(*s.result, AcDbPolyline::desc());
    ASSERT_EQ(plines.size(), 2u) << s.run.output;
    const double quarter = std::tan(kPi / 8);
    EXPECT_THAT(verticesOf(plines[0]), PointsNear(Points{{0, 0, quarter}, {5, -5, 0}}));
    EXPECT_THAT(verticesOf(plines[1]), PointsNear(Points{{5, -5, quarter}, {10, 0, 0}, {20, 0, 0}}));
    // The new part lies where it was, on the source's layer and colour.
    const Opened opened(plines[1]);
    const auto* rest = AcDbPolyline::cast(opened.e);
    ASSERT_TRUE(rest);
    EXPECT_DOUBLE_EQ(rest->elevation(), 5.0);
    EXPECT_EQ(std::wstring(rest->layer()), L"RANH");
    EXPECT_EQ(rest->colorIndex(), 0);
}

TEST(SplitPolyline, AClosedPolylineKeepsItsStartPartClosedAndTheRestRunsRoundToItsStart)
{
    TestDrawing d;
    AcDbPolyline* square = lightweight({{0, 0, 0}, {10, 0, 0}, {10, 10, 0.5}, {0, 10, 0}});
    square->setClosed(true);
    d.add(square);
    const Session s = runSession(d, "CHIAPL\n10,5\n10,5\n");
    ASSERT_TRUE(s.result) << s.run.output;
    const auto plines = modelSpaceEntities(*s.result, AcDbPolyline::desc());
    ASSERT_EQ(plines.size(), 2u);
    EXPECT_THAT(verticesOf(plines[0]), PointsNear(Points{{0, 0, 0}, {10, 0, 0}, {10, 5, 0}}));
    EXPECT_TRUE(AcDbPolyline::cast(Opened(plines[0]).e)->isClosed());
    EXPECT_THAT(verticesOf(plines[1]), PointsNear(Points{{10, 5, 0}, {10, 10, 0.5}, {0, 10, 0}, {0, 0, 0}}));
}

TEST(SplitPolyline, ChangesNothingAtAnEndOrWhenCancelled)
{
    for (const char* script : {"CHIAPL\n5,-5\n0,0\n", "CHIAPL\n5,-5\n19.99995,0\n", "CHIAPL\n5,-5\n^C\n"}) {
        TestDrawing d;
        addArcThenLine(d);
        const Session s = runSession(d, script);
        ASSERT_TRUE(s.result) << s.run.output;
        const auto plines = modelSpaceEntities(*s.result, AcDbPolyline::desc());
        ASSERT_EQ(plines.size(), 1u) << script;
        EXPECT_THAT(verticesOf(plines[0]), PointsNear(kArcThenLine));
    }
}

TEST(SplitPolyline, OnALineLeavesTheLineAndAddsAPolylineOverThePartAfterThePoint)
{
    TestDrawing d;
    d.add(new AcDbLine({0, 0, 0}, {10, 0, 0}));
    const Session s = runSession(d, "CHIAPL\n4,0\n4,1\n");
    ASSERT_TRUE(s.result) << s.run.output;
    const auto lines = modelSpaceEntities(*s.result, AcDbLine::desc());
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(AcDbLine::cast(Opened(lines[0]).e)->startPoint(), AcGePoint3d(0, 0, 0));
    const auto plines = modelSpaceEntities(*s.result, AcDbPolyline::desc());
    ASSERT_EQ(plines.size(), 1u);
    EXPECT_THAT(verticesOf(plines[0]), PointsNear(Points{{4, 0, 0}, {10, 0, 0}}));
}

// ThayPl: a target on layer "RANH" tagged "TKD_GPMB" = "G1", and a stretch; the script picks both.
enum class Kind { Lightweight, Heavy2d, Heavy3d };
struct Case {
    const char* name;
    Kind targetKind;
    Points target;  // (x, y, bulge) or (x, y, z)
    Kind stretchKind;
    Points stretch;
    const char* picks;
    Points expected;
};
void PrintTo(const Case& c, std::ostream* os)
{
    *os << c.name;
}

AcDbEntity* make(Kind kind, const Points& pts)
{
    if (kind == Kind::Lightweight) return lightweight(pts);
    if (kind == Kind::Heavy2d) return new AcDb2dPolyline(AcDb::k2dSimplePoly, AcGePoint3dArray(pts));
    return new AcDb3dPolyline(AcDb::k3dSimplePoly, AcGePoint3dArray(pts));
}

class ReplacePolylineStretch : public ::testing::TestWithParam<Case> {};

TEST_P(ReplacePolylineStretch, PutsTheStretchInTheTargetsPlaceKeepingItsTag)
{
    const Case& c = GetParam();
    TestDrawing d;
    AcDbEntity* targetEntity = make(c.targetKind, c.target);
    if (auto* lw = AcDbPolyline::cast(targetEntity)) lw->setElevation(2);
    const AcDbObjectId target = d.add(targetEntity, L"RANH");
    tag(target, L"TKD_GPMB", L"G1");
    d.add(make(c.stretchKind, c.stretch));
    const Session s = runSession(d, std::string("ThayPl\n") + c.picks);
    ASSERT_TRUE(s.result) << s.run.output;

    // The stretch is gone and one polyline of the target's kind holds the result.
    const auto left = modelSpaceEntities(*s.result);
    ASSERT_EQ(left.size(), 1u) << s.run.output;
    EXPECT_THAT(verticesOf(left[0]), PointsNear(c.expected));
    EXPECT_EQ(tagText(left[0], L"TKD_GPMB"), L"G1");
    const Opened result(left[0]);
    EXPECT_EQ(std::wstring(result.e->layer()), L"RANH");
    if (c.targetKind == Kind::Lightweight) {
        // Same object, same elevation; arcs are not carried.
        EXPECT_EQ(left[0].handle(), target.handle());
        ASSERT_TRUE(AcDbPolyline::cast(result.e));
        EXPECT_DOUBLE_EQ(AcDbPolyline::cast(result.e)->elevation(), 2.0);
    } else {
        EXPECT_TRUE(AcDb3dPolyline::cast(result.e));
    }
}

const Points kLevel3d{{0, 0, 5}, {10, 0, 5}, {20, 0, 5}, {30, 0, 5}};
// clang-format off
INSTANTIATE_TEST_SUITE_P(Cases, ReplacePolylineStretch, ::testing::Values(
    // Both ends on a 3D target, drawn against its direction: a new polyline at height 0.
    Case{"AgainstA3dTarget", Kind::Heavy3d, kLevel3d, Kind::Lightweight, {{25, 0, 0}, {15, 3, 0}, {5, 0, 0}},
         "0,0\n15,3\n", {{0, 0, 0}, {5, 0, 0}, {15, 3, 0}, {25, 0, 0}, {30, 0, 0}}},
    // Only its last point on the target: the target's start, then the stretch backwards.
    Case{"EndingOnA3dTarget", Kind::Heavy3d, kLevel3d, Kind::Lightweight, {{15, 8, 0}, {12, 0, 0}},
         "0,0\n15,8\n", {{0, 0, 0}, {10, 0, 0}, {12, 0, 0}, {15, 8, 0}}},
    Case{"TouchingNeitherEnd", Kind::Lightweight, {{0, 0, 0}, {10, 0, 0}, {20, 0, 0}}, Kind::Heavy3d,
         {{0, 5, 7}, {20, 5, 7}}, "10,0\n10,5\n", {{0, 5, 0}, {20, 5, 0}}},
    Case{"LightweightWithArcs", Kind::Lightweight, {{0, 0, 0.5}, {10, 0, 0.5}, {20, 0, 0}, {30, 0, 0}},
         Kind::Heavy2d, {{20, 0, 0}, {25, 4, 0}, {30, 0, 0}}, "0,0\n25,4\n",
         {{0, 0, 0}, {10, 0, 0}, {20, 0, 0}, {25, 4, 0}, {30, 0, 0}}}));
// clang-format on

TEST(ReplacePolylineStretchFile, TheNewPolylineCarriesTheTagForOtherReaders)
{
    if (!haveEzdxf()) GTEST_SKIP() << "no ezdxf";
    TestDrawing d;
    const AcDbObjectId target = d.add(make(Kind::Heavy3d, kLevel3d));
    tag(target, L"TKD_LOGIOI", L"LG-2");
    d.add(lightweight({{5, 0, 0}, {15, 3, 0}, {25, 0, 0}}));
    const Session s = runSession(d, "ThayPl\n0,0\n15,3\n");
    const auto check = runPython("import ezdxf\n"
                                 "doc = ezdxf.readfile(r'" +
                                 s.output.string() +
                                 "')\n"
                                 "p = doc.modelspace().query('POLYLINE')[0]\n"
                                 "print(len(doc.modelspace()), [(t.code, t.value) for t in "
                                 "p.get_xdata('TKD_LOGIOI')])\n");
    EXPECT_NE(check.output.find("1 [(1000, 'LG-2')]"), std::string::npos) << check.output;
}

TEST(ReplacePolylineStretchCancel, ChangesNothingWhenCancelledOrGivenTheTargetAsItsOwnStretch)
{
    for (const char* script : {"ThayPl\n0,0\n^C\n", "ThayPl\n0,0\n10,0\n"}) {
        TestDrawing d;
        d.add(make(Kind::Heavy3d, kLevel3d));
        const Session s = runSession(d, script);
        ASSERT_TRUE(s.result) << s.run.output;
        const auto left = modelSpaceEntities(*s.result);
        ASSERT_EQ(left.size(), 1u) << script;
        EXPECT_THAT(verticesOf(left[0]), PointsNear(kLevel3d));
    }
}
}  // namespace
