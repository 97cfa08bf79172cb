// "32P", "32D", "2P", "P23", "BA" and "BA1" driven through fendo on saved drawings.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include "host/db/entities/AcDb2dPolyline.h"
#include "host/db/entities/AcDb3dPolyline.h"
#include "host/db/entities/AcDbArc.h"
#include "host/db/entities/AcDbLine.h"
#include "host/db/entities/AcDbPolyline.h"
#include "support/TestDrawing.h"

using namespace fendo::test;

namespace {
constexpr double kPi = 3.14159265358979323846;

AcGePoint3dArray points3d(std::initializer_list<AcGePoint3d> list)
{
    AcGePoint3dArray out;
    for (const auto& p : list) out.append(p);
    return out;
}

// The only entity of kind T in the saved result, opened for read while the view lives.
template <typename T>
class Only {
public:
    explicit Only(AcDbDatabase& db)
    {
        const auto ids = modelSpaceEntities(db, T::desc());
        EXPECT_EQ(ids.size(), 1u);
        if (ids.size() == 1 && acdbOpenObject(m_obj, ids[0], AcDb::kForRead) != Acad::eOk) m_obj = nullptr;
    }
    ~Only()
    {
        if (m_obj) m_obj->close();
    }
    T* operator->() const { return m_obj; }
    explicit operator bool() const { return m_obj != nullptr; }

private:
    T* m_obj = nullptr;
};

std::vector<AcGePoint2d> verticesOf(const AcDbPolyline* p)
{
    std::vector<AcGePoint2d> out;
    for (unsigned i = 0; i < p->numVerts(); ++i) {
        AcGePoint2d v;
        p->getPointAt(i, v);
        out.push_back(v);
    }
    return out;
}

bool allStraight(const AcDbPolyline* p)
{
    for (unsigned i = 0; i < p->numVerts(); ++i) {
        double b = 1;
        p->getBulgeAt(i, b);
        if (b != 0.0) return false;
    }
    return true;
}

AcDbPolyline* rectangle(double elevation, bool closed)
{
    auto* p = new AcDbPolyline;
    p->addVertexAt(0, AcGePoint2d(0, 0));
    p->addVertexAt(1, AcGePoint2d(10, 0));
    p->addVertexAt(2, AcGePoint2d(10, 5));
    p->addVertexAt(3, AcGePoint2d(0, 5));
    p->setElevation(elevation);
    p->setClosed(closed);
    return p;
}

// Adds the entity and then gives it the colour (adding sets the drawing's defaults).
void addColoured(TestDrawing& d, AcDbEntity* e, int colorIndex, const wchar_t* layer = nullptr)
{
    const AcDbObjectId id = d.add(e, layer);
    AcDbEntity* added = nullptr;
    ASSERT_EQ(acdbOpenObject(added, id, AcDb::kForWrite), Acad::eOk);
    added->setColorIndex(static_cast<Adesk::UInt16>(colorIndex));
    added->close();
}
}  // namespace

TEST(ThreeDPolyToPolyline, ClosedPolylineKeepsItsShapeLayerAndColourWithoutTheRepeatedVertex)
{
    TestDrawing d;
    d.layer(L"ROAD", 3);
    auto* source = new AcDb3dPolyline(
        AcDb::k3dSimplePoly, points3d({{0, 0, 1}, {10, 0, 2}, {10, 10, 3}, {0, 10, 4}, {0, 0, 1}}), true);
    addColoured(d, source, 7, L"ROAD");
    const Session s = runSession(d, "32P\nall\n\n");
    ASSERT_TRUE(s.result) << s.run.output;
    EXPECT_TRUE(modelSpaceEntities(*s.result, AcDb3dPolyline::desc()).empty());
    Only<AcDbPolyline> p(*s.result);
    ASSERT_TRUE(p);
    EXPECT_EQ(verticesOf(p.operator->()),
              (std::vector<AcGePoint2d>{{0, 0}, {10, 0}, {10, 10}, {0, 10}}));
    EXPECT_TRUE(p->isClosed());
    EXPECT_EQ(p->elevation(), 0.0);
    EXPECT_EQ(std::wstring(p->layer()), L"ROAD");
    EXPECT_EQ(p->colorIndex(), 7);
}

TEST(ThreeDPolyToPolyline, APointPassedTwiceBecomesOneVertexAtItsFirstPlace)
{
    TestDrawing d;
    d.add(new AcDb3dPolyline(AcDb::k3dSimplePoly,
                             points3d({{0, 0, 0}, {10, 0, 0}, {10, 10, 0}, {10, 0, 0}, {20, 0, 0}}), false));
    d.add(new AcDbLine(AcGePoint3d(0, 50, 0), AcGePoint3d(10, 50, 0)));
    const Session s = runSession(d, "32P\nall\n\n");
    ASSERT_TRUE(s.result) << s.run.output;
    Only<AcDbPolyline> p(*s.result);
    ASSERT_TRUE(p);
    EXPECT_EQ(verticesOf(p.operator->()), (std::vector<AcGePoint2d>{{0, 0}, {10, 0}, {10, 10}, {20, 0}}));
    EXPECT_FALSE(p->isClosed());
    EXPECT_EQ(modelSpaceEntities(*s.result, AcDbLine::desc()).size(), 1u);  // not a 3D polyline: kept
}

TEST(KindConversions, AnEmptySelectionPrintsTheMessageOnlyForThePolylineConversions)
{
    TestDrawing d;
    d.add(new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(10, 0, 0)));
    for (const char* name : {"32P", "32D", "2P", "P23"}) {
        const Session s = runSession(d, std::string(name) + "\nall\n\n");
        ASSERT_TRUE(s.result) << s.run.output;
        EXPECT_NE(s.run.output.find("Khong chon duoc duong polyline!"), std::string::npos) << name << s.run.output;
        EXPECT_EQ(modelSpaceEntities(*s.result).size(), 1u) << name;
    }
    for (const char* name : {"BA", "BA1"}) {
        const Session s = runSession(d, std::string(name) + "\nall\n\n");
        ASSERT_TRUE(s.result) << s.run.output;
        EXPECT_EQ(s.run.output.find("Khong chon duoc"), std::string::npos) << name << s.run.output;
    }
}

TEST(KindConversions, ACancelledSelectionLeavesTheDrawingAsItWas)
{
    TestDrawing d;
    d.add(new AcDb3dPolyline(AcDb::k3dSimplePoly, points3d({{0, 0, 0}, {10, 0, 5}}), false));
    d.add(rectangle(0, true));
    for (const char* script : {"32P\n5,0\n^C\n", "P23\n^C\n", "BA\n10,2.5\n^C\n"}) {
        const Session s = runSession(d, script);
        ASSERT_TRUE(s.result) << s.run.output;
        EXPECT_EQ(modelSpaceEntities(*s.result, AcDb3dPolyline::desc()).size(), 1u) << script;
        EXPECT_EQ(modelSpaceEntities(*s.result, AcDbPolyline::desc()).size(), 1u) << script;
    }
}

TEST(ThreeDPolyTo2dPolyline, KeepsThePointsAndClosedStateAndLeavesAByLayerColourAlone)
{
    TestDrawing d;
    addColoured(d, new AcDb3dPolyline(AcDb::k3dSimplePoly, points3d({{0, 0, 1}, {10, 0, 2}, {10, 10, 3}}), true),
                256);
    const Session s = runSession(d, "32D\nall\n\n");
    ASSERT_TRUE(s.result) << s.run.output;
    Only<AcDb2dPolyline> p(*s.result);
    ASSERT_TRUE(p);
    EXPECT_TRUE(p->isClosed());
    EXPECT_EQ(p->polyType(), AcDb::k2dSimplePoly);
    EXPECT_EQ(p->colorIndex(), 256);
    std::vector<AcGePoint2d> xy;
    for (const auto* v : p->vertices()) xy.emplace_back(v->position().x, v->position().y);
    EXPECT_EQ(xy, (std::vector<AcGePoint2d>{{0, 0}, {10, 0}, {10, 10}}));
}

TEST(TwoDPolylineToPolyline, ArcSegmentsBecomeStraightAtTheSourceElevation)
{
    TestDrawing d;
    AcGeDoubleArray bulges;
    bulges.append(1.0);
    bulges.append(-0.5);
    bulges.append(0.0);
    addColoured(d,
                new AcDb2dPolyline(AcDb::k2dSimplePoly, points3d({{0, 0, 0}, {10, 0, 0}, {20, 0, 0}}), 5.0, false,
                                   0.0, 0.0, &bulges),
                0);
    const Session s = runSession(d, "2P\nall\n\n");
    ASSERT_TRUE(s.result) << s.run.output;
    EXPECT_TRUE(modelSpaceEntities(*s.result, AcDb2dPolyline::desc()).empty());
    Only<AcDbPolyline> p(*s.result);
    ASSERT_TRUE(p);
    EXPECT_EQ(verticesOf(p.operator->()), (std::vector<AcGePoint2d>{{0, 0}, {10, 0}, {20, 0}}));
    EXPECT_TRUE(allStraight(p.operator->()));
    EXPECT_DOUBLE_EQ(p->elevation(), 5.0);
    EXPECT_NE(p->colorIndex(), 0);  // ByBlock is not copied
}

TEST(PolylineTo3dPoly, AClosedRectangleBecomesAnOpenPolylineOfFiveVerticesAtItsElevation)
{
    TestDrawing d;
    d.add(rectangle(3.0, true));
    const Session s = runSession(d, "P23\nall\n\n");
    ASSERT_TRUE(s.result) << s.run.output;
    Only<AcDb3dPolyline> p(*s.result);
    ASSERT_TRUE(p);
    EXPECT_FALSE(p->isClosed());
    std::vector<AcGePoint3d> v;
    for (const auto* vertex : p->vertices()) v.push_back(vertex->position());
    EXPECT_EQ(v, (std::vector<AcGePoint3d>{{0, 0, 3}, {10, 0, 3}, {10, 5, 3}, {0, 5, 3}, {0, 0, 3}}));
}

TEST(PolylineTo3dPoly, ArcSegmentsOfA2dPolylineBecomeChordsBetweenTheirVertices)
{
    TestDrawing d;
    AcGeDoubleArray bulges;
    bulges.append(1.0);
    bulges.append(0.0);
    d.add(new AcDb2dPolyline(AcDb::k2dSimplePoly, points3d({{0, 0, 0}, {10, 0, 0}}), -2.0, false, 0.0, 0.0,
                             &bulges));
    const Session s = runSession(d, "P23\nall\n\n");
    ASSERT_TRUE(s.result) << s.run.output;
    Only<AcDb3dPolyline> p(*s.result);
    ASSERT_TRUE(p);
    std::vector<AcGePoint3d> v;
    for (const auto* vertex : p->vertices()) v.push_back(vertex->position());
    EXPECT_EQ(v, (std::vector<AcGePoint3d>{{0, 0, -2}, {10, 0, -2}}));
}

TEST(ArcsToChords, AHalfCircleGivesEighteenChordsAndATenDegreeArcFour)
{
    TestDrawing d;
    d.layer(L"KERB", 1);
    addColoured(d, new AcDbArc(AcGePoint3d(0, 0, 2), 10.0, 0.0, kPi), 5, L"KERB");
    d.add(new AcDbArc(AcGePoint3d(100, 0, 0), 10.0, 0.0, 10.0 * kPi / 180.0));
    const Session s = runSession(d, "BA\nall\n\n");
    ASSERT_TRUE(s.result) << s.run.output;
    EXPECT_TRUE(modelSpaceEntities(*s.result, AcDbArc::desc()).empty());
    const auto ids = modelSpaceEntities(*s.result, AcDbPolyline::desc());
    ASSERT_EQ(ids.size(), 2u);
    std::vector<unsigned> counts;
    for (const auto id : ids) {
        AcDbPolyline* p = nullptr;
        ASSERT_EQ(acdbOpenObject(p, id, AcDb::kForRead), Acad::eOk);
        counts.push_back(p->numVerts());
        EXPECT_TRUE(allStraight(p));
        AcGePoint2d first;
        p->getPointAt(0, first);
        if (p->numVerts() == 19) {
            EXPECT_EQ(std::wstring(p->layer()), L"KERB");
            EXPECT_EQ(p->colorIndex(), 5);
            EXPECT_DOUBLE_EQ(p->elevation(), 2.0);
            EXPECT_NEAR(first.x, 10.0, 1e-9);
            AcGePoint2d last;
            p->getPointAt(18, last);
            EXPECT_NEAR(last.x, -10.0, 1e-9);
            // Every vertex lies on the arc.
            for (unsigned i = 0; i < p->numVerts(); ++i) {
                AcGePoint2d v;
                p->getPointAt(i, v);
                EXPECT_NEAR(std::hypot(v.x, v.y), 10.0, 1e-9);
            }
        }
        p->close();
    }
    std::sort(counts.begin(), counts.end());
    EXPECT_EQ(counts, (std::vector<unsigned>{5, 19}));
}

TEST(ArcsToChords, ABulgedPolylineKeepsItsStraightVerticesAndClosedState)
{
    TestDrawing d;
    auto* p = new AcDbPolyline;
    p->addVertexAt(0, AcGePoint2d(0, 0), 1.0);  // half circle to (10,0)
    p->addVertexAt(1, AcGePoint2d(10, 0));
    p->addVertexAt(2, AcGePoint2d(10, 10));
    p->setClosed(true);
    d.add(p);
    const Session s = runSession(d, "BA\nall\n\n");
    ASSERT_TRUE(s.result) << s.run.output;
    Only<AcDbPolyline> out(*s.result);
    ASSERT_TRUE(out);
    EXPECT_TRUE(out->isClosed());
    EXPECT_TRUE(allStraight(out.operator->()));
    // 18 chords replace the half circle; the other two vertices stay.
    EXPECT_EQ(out->numVerts(), 20u);
    const auto v = verticesOf(out.operator->());
    EXPECT_EQ(v.front(), AcGePoint2d(0, 0));
    EXPECT_EQ(v.back(), AcGePoint2d(10, 10));
}

TEST(DropArcsAndWidths, KeepsOneStraightVertexPerSourceVertexOpenAndAtElevationZero)
{
    TestDrawing d;
    auto* p = new AcDbPolyline;
    p->addVertexAt(0, AcGePoint2d(0, 0), 0.5, 1.0, 2.0);
    p->addVertexAt(1, AcGePoint2d(10, 0), 0.0, 2.0, 2.0);
    p->addVertexAt(2, AcGePoint2d(10, 10), -1.0, 0.5, 0.5);
    p->setClosed(true);
    p->setElevation(4.0);
    addColoured(d, p, 7);
    const Session s = runSession(d, "BA1\nall\n\n");
    ASSERT_TRUE(s.result) << s.run.output;
    Only<AcDbPolyline> out(*s.result);
    ASSERT_TRUE(out);
    EXPECT_EQ(verticesOf(out.operator->()), (std::vector<AcGePoint2d>{{0, 0}, {10, 0}, {10, 10}}));
    EXPECT_TRUE(allStraight(out.operator->()));
    EXPECT_FALSE(out->isClosed());
    EXPECT_EQ(out->elevation(), 0.0);
    EXPECT_EQ(out->colorIndex(), 7);
    for (unsigned i = 0; i < out->numVerts(); ++i) {
        double sw = 1, ew = 1;
        out->getWidthsAt(i, sw, ew);
        EXPECT_EQ(sw, 0.0);
        EXPECT_EQ(ew, 0.0);
    }
}
