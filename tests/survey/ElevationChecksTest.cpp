// "CD0", "CHECK" and "D2D" driven through fendo on saved drawings.
#include <gtest/gtest.h>

#include <algorithm>

#include "host/db/AcDbSymbolTable.h"
#include "host/db/entities/AcDb2dPolyline.h"
#include "host/db/entities/AcDb3dPolyline.h"
#include "host/db/entities/AcDbCircle.h"
#include "host/db/entities/AcDbLine.h"
#include "host/db/entities/AcDbPolyline.h"
#include "survey/SurveyTestSupport.h"

using namespace fendo::test;

namespace {
AcGePoint3dArray points(std::initializer_list<AcGePoint3d> list)
{
    AcGePoint3dArray out;
    for (const auto& p : list) out.append(p);
    return out;
}

AcDbPolyline* lightweight(double elevation, int vertices, double x0 = 0, bool closed = false)
{
    auto* p = new AcDbPolyline;
    for (int i = 0; i < vertices; ++i) p->addVertexAt(static_cast<unsigned>(i), AcGePoint2d(x0 + i, (i % 2) * 2.0));
    p->setElevation(elevation);
    p->setClosed(closed);
    return p;
}

// A 2D polyline at `elevation` whose stored vertex z are `vertexZ`.
AcDb2dPolyline* heavy(double elevation, double vertexZ, double x0, AcDb::Poly2dType type = AcDb::k2dSimplePoly)
{
    auto* p = new AcDb2dPolyline(AcDb::k2dSimplePoly, points({{x0, 0, 0}, {x0 + 5, 0, 0}, {x0 + 5, 5, 0}}), elevation);
    for (AcDb2dVertex* v : p->vertices()) {
        AcGePoint3d q = v->position();
        q.z = vertexZ;
        v->setPosition(q);
    }
    if (type != AcDb::k2dSimplePoly) p->setPolyType(type);
    return p;
}

// The centres of the zero marks, sorted, after checking their radius and layer.
std::vector<AcGePoint3d> markCentres(AcDbDatabase& db)
{
    std::vector<AcGePoint3d> out;
    for (const AcDbObjectId id : modelSpaceEntities(db, AcDbCircle::desc())) {
        AcDbCircle* c = nullptr;
        if (acdbOpenObject(c, id, AcDb::kForRead) != Acad::eOk) continue;
        EXPECT_DOUBLE_EQ(c->radius(), 1.0);
        EXPECT_EQ(std::wstring(c->layer()), L"DanhDauCaoDo0");
        out.push_back(c->center());
        c->close();
    }
    std::sort(out.begin(), out.end(), [](auto& a, auto& b) { return a.x != b.x ? a.x < b.x : a.y < b.y; });
    return out;
}

int layerColour(AcDbDatabase& db, const wchar_t* name)
{
    AcDbLayerTable* table = nullptr;
    if (db.getLayerTable(table, AcDb::kForRead) != Acad::eOk) return -1;
    AcDbLayerTableRecord* record = nullptr;
    int colour = -1;
    if (table->getAt(name, record, AcDb::kForRead) == Acad::eOk) {
        colour = record->color().colorIndex();
        record->close();
    }
    table->close();
    return colour;
}
}  // namespace

TEST(MarkZeroHeights, MarksWhereEachKindIsAtHeightZero)
{
    TestDrawing d;
    d.add(new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(10, 0, 5)));    // starts at zero: one mark
    d.add(new AcDbLine(AcGePoint3d(0, 10, 5), AcGePoint3d(10, 10, 0)));  // only the end is zero: none
    d.add(new AcDb3dPolyline(AcDb::k3dSimplePoly, points({{20, 0, 0}, {21, 0, 3}, {22, 0, 0.00005}})));
    d.add(heavy(7, 0, 30));  // vertex z 0 stands for the elevation 7: none
    d.add(heavy(0, 0, 40));  // three marks
    d.add(heavy(0, 4, 50,
                AcDb::k2dQuadSplinePoly));  // fitted at elevation 0: its first vertex
    d.add(lightweight(0.00005, 4, 60));     // its start point
    d.add(lightweight(2, 4, 70));
    const Session s = surveySession(d, "CD0\nall\n\n");
    ASSERT_TRUE(s.result) << s.run.output;
    EXPECT_NE(s.run.output.find("Chon cac doi tuong can kiem tra:"), std::string::npos);
    const std::vector<AcGePoint3d> expected = {{0, 0, 0},  {20, 0, 0}, {22, 0, 0.00005}, {40, 0, 0},
                                               {45, 0, 0}, {45, 5, 0}, {50, 0, 0},       {60, 0, 0.00005}};
    const auto centres = markCentres(*s.result);
    ASSERT_EQ(centres.size(), expected.size());
    for (std::size_t i = 0; i < centres.size(); ++i) EXPECT_EQ(centres[i], expected[i]) << i;
    EXPECT_EQ(layerColour(*s.result, L"DanhDauCaoDo0"), 1);
}

TEST(MarkZeroHeights, NothingSelectedStillMakesTheMarkLayerButACancelDoesNot)
{
    TestDrawing d;
    d.add(lightweight(0, 3));
    const Session s = surveySession(d, "CD0\n\n");
    ASSERT_TRUE(s.result) << s.run.output;
    EXPECT_TRUE(markCentres(*s.result).empty());
    EXPECT_EQ(layerColour(*s.result, L"DanhDauCaoDo0"), 1);
    const Session cancelled = surveySession(d, "CD0\n^C\n");
    ASSERT_TRUE(cancelled.result);
    EXPECT_EQ(layerColour(*cancelled.result, L"DanhDauCaoDo0"), -1);
}

TEST(CheckLargePolylines, ColoursOnlyLightweightPolylinesAbove500AndPrintsTheLargestCount)
{
    TestDrawing d;
    const AcDbObjectId at500 = d.add(lightweight(0, 500));
    const AcDbObjectId at501 = d.add(lightweight(0, 501, 0, true));
    AcGePoint3dArray many;
    for (int i = 0; i < 600; ++i) many.append(AcGePoint3d(i, 0, 0));
    d.add(new AcDb3dPolyline(AcDb::k3dSimplePoly, many));
    const Session s = surveySession(d, "CHECK\n");
    ASSERT_TRUE(s.result) << s.run.output;
    EXPECT_NE(s.run.output.find("nummax:501"), std::string::npos) << s.run.output;
    const auto colour = [&](AcDbObjectId sourceId) {
        AcDbObjectId id;
        s.result->getAcDbObjectId(id, false, sourceId.handle());
        AcDbEntity* e = nullptr;
        if (acdbOpenObject(e, id, AcDb::kForRead) != Acad::eOk) return -1;
        const int c = e->colorIndex();
        e->close();
        return c;
    };
    EXPECT_NE(colour(at500), 1);
    EXPECT_EQ(colour(at501), 1);

    TestDrawing none;
    none.add(new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 1, 0)));
    const Session n = surveySession(none, "CHECK\n");
    EXPECT_EQ(n.run.output.find("nummax"), std::string::npos) << n.run.output;
}

TEST(PointsFromVertices, OnePointPerVertexAtItsHeightNumberedAcrossPolylines)
{
    TestDrawing d;
    d.add(lightweight(12, 3, 0, true));  // closed: its first vertex once
    d.add(new AcDb3dPolyline(AcDb::k3dSimplePoly, points({{10, 0, 1.5}, {11, 1, 2.5}})));
    d.add(heavy(7, 0, 20));  // vertex z 0 stands for the elevation
    d.add(new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 1, 0)));
    const Session s = surveySession(d, "D2D\nall\n\n");
    ASSERT_TRUE(s.result) << s.run.output;
    EXPECT_NE(s.run.output.find("Chon cac doi tuong can tao diem:"), std::string::npos);
    const std::vector<AcGePoint3d> expected = {{0, 0, 12},   {1, 2, 12}, {2, 0, 12}, {10, 0, 1.5},
                                               {11, 1, 2.5}, {20, 0, 7}, {25, 0, 7}, {25, 5, 7}};
    const auto made = surveyPoints(*s.result);
    ASSERT_EQ(made.size(), expected.size());
    for (std::size_t i = 0; i < made.size(); ++i) {
        EXPECT_EQ(made[i].position, expected[i]) << i;
        EXPECT_EQ(made[i].layer, L"DiemTuDuongPline");
        EXPECT_EQ(made[i].tag, pointTag(static_cast<int>(i)));
    }
    EXPECT_EQ(layerColour(*s.result, L"DiemTuDuongPline"), 7);
}

TEST(PointsFromVertices, NothingSelectedChangesNothing)
{
    TestDrawing d;
    d.add(lightweight(12, 3));
    const Session s = surveySession(d, "D2D\n^C\n");
    ASSERT_TRUE(s.result) << s.run.output;
    EXPECT_TRUE(surveyPoints(*s.result).empty());
    EXPECT_EQ(layerColour(*s.result, L"DiemTuDuongPline"), -1);
}
