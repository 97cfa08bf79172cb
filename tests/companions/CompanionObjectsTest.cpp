// The survey point and suite polyline classes of the companion libraries: what commands rely
// on, drawing, and filing through saved drawings (in this process and through fendo).
#include <gtest/gtest.h>

#include "companions/kvoobjects/KvoDbPointObj.h"
#include "companions/pelmar/PelmarObjects.h"
#include "host/db/entities/AcDbPoint.h"
#include "host/db/entities/AcDbText.h"
#include "support/TestDrawing.h"

using namespace fendo::test;

namespace {
KvoDbMeasurePointObj* surveyPoint(double x, double y, double z)
{
    auto* p = new KvoDbMeasurePointObj;
    p->Set(AcGePoint3d(x, y, z), L"", L"", nullptr);
    return p;
}

template <typename T>
T* openFirst(AcDbDatabase& db, AcDb::OpenMode mode = AcDb::kForRead)
{
    const auto ids = modelSpaceEntities(db, T::desc());
    T* obj = nullptr;
    if (ids.empty() || acdbOpenObject(obj, ids[0], mode) != Acad::eOk) return nullptr;
    return obj;
}
}  // namespace

TEST(SurveyPoint, KeepsPositionTextsRotationColourAndHeights)
{
    KvoDbMeasurePointObj p;
    p.Set(AcGePoint3d(1, 2, 12.345), L"12.35", L"TD", nullptr);
    p.SetRotation(0.5);
    p.SetColor(AcCmEntityColor(10, 20, 30));
    for (int i = 0; i < 4; ++i) p.SetTextHeight(i, 2.5);
    EXPECT_DOUBLE_EQ(p.GetPoint().z, 12.345);
    EXPECT_STREQ(p.Get(0), L"12.35");
    EXPECT_STREQ(p.Get(1), L"TD");
    EXPECT_STREQ(p.Get(2), L"");
    EXPECT_STREQ(p.Get(3), L"");
    EXPECT_DOUBLE_EQ(p.Rotation(), 0.5);
    EXPECT_EQ(p.GetColor().rgb(), 0x0A141Eu);
    EXPECT_DOUBLE_EQ(p.TextHeight(3), 2.5);
    EXPECT_TRUE(p.isKindOf(KvoDbPointObj::desc()));
}

TEST(SurveyPoint, ExplodesIntoAPointAndItsElevationLabel)
{
    KvoDbMeasurePointObj p;
    p.Set(AcGePoint3d(5, 5, 7.5), L"", L"", nullptr);
    AcDbVoidPtrArray parts;
    ASSERT_EQ(p.explode(parts), Acad::eOk);
    ASSERT_EQ(parts.length(), 2);
    auto* point = AcDbPoint::cast(static_cast<AcRxObject*>(parts[0]));
    auto* label = AcDbText::cast(static_cast<AcRxObject*>(parts[1]));
    ASSERT_TRUE(point && label);
    EXPECT_DOUBLE_EQ(point->position().z, 7.5);
    EXPECT_EQ(std::wstring(label->textString()), L"7.50");
    for (void* part : parts) delete static_cast<AcDbEntity*>(part);
}

TEST(SurveyPoint, ExtentsCoverTheMarkerAndTheLabel)
{
    KvoDbMeasurePointObj p;
    p.Set(AcGePoint3d(0, 0, 3), L"", L"", nullptr);
    AcDbExtents e;
    ASSERT_EQ(p.getGeomExtents(e), Acad::eOk);
    EXPECT_LT(e.minPoint().x, 0.0);
    EXPECT_GT(e.maxPoint().x, 2.0);  // "3.00" written to the right of the point
}

TEST(CompanionFiling, SurveyPointsAndSuitePolylinesComeBackFromASavedDrawing)
{
    KvoDbMeasurePointObj::desc();
    KvoDbAlignment::desc();
    TestDrawing d;
    auto* p = surveyPoint(10, 20, 4.25);
    p->SetRotation(1.0);
    p->SetTextHeight(0, 3.0);
    p->SetColor(AcCmEntityColor(1, 2, 3));
    d.add(p, L"DIEM_DO");
    auto* road = new KvoDbAlignment;
    road->addVertexAt(0, AcGePoint2d(0, 0));
    road->addVertexAt(1, AcGePoint2d(100, 0), 0.25);
    road->addVertexAt(2, AcGePoint2d(200, 50));
    road->SetElevation(12.5);
    road->SetFlagAt(1, true);
    road->SetName(L"Tuyến chính");
    d.add(road);

    auto loaded = loadDrawing(d.save());
    ASSERT_TRUE(loaded);
    auto* q = openFirst<KvoDbMeasurePointObj>(*loaded);
    ASSERT_TRUE(q);
    EXPECT_DOUBLE_EQ(q->GetPoint().y, 20.0);
    EXPECT_DOUBLE_EQ(q->GetPoint().z, 4.25);
    EXPECT_DOUBLE_EQ(q->Rotation(), 1.0);
    EXPECT_DOUBLE_EQ(q->TextHeight(0), 3.0);
    EXPECT_EQ(q->GetColor().rgb(), 0x010203u);
    EXPECT_EQ(std::wstring(q->layer()), L"DIEM_DO");
    q->close();
    auto* a = openFirst<KvoDbAlignment>(*loaded);
    ASSERT_TRUE(a);
    EXPECT_EQ(a->numVerts(), 3u);
    EXPECT_DOUBLE_EQ(a->Elevation(), 12.5);
    EXPECT_TRUE(a->FlagAt(1));
    EXPECT_FALSE(a->FlagAt(0));
    EXPECT_EQ(a->Name(), L"Tuyến chính");
    double bulge = 0;
    a->getBulgeAt(1, bulge);
    EXPECT_DOUBLE_EQ(bulge, 0.25);
    a->close();
}

TEST(CompanionFiling, FendoKeepsSurveyPointsThroughLoadAndSave)
{
    KvoDbMeasurePointObj::desc();
    TestDrawing d;
    d.add(surveyPoint(1, 1, 9.75));
    const Session s = runSession(d, "11\n");
    ASSERT_TRUE(s.result) << s.run.output;
    auto* q = openFirst<KvoDbMeasurePointObj>(*s.result);
    ASSERT_TRUE(q) << s.run.output;
    EXPECT_DOUBLE_EQ(q->GetPoint().z, 9.75);
    q->close();
}

TEST(DbHelper, AssertHasLayerMakesTheLayerOnce)
{
    TestDrawing d;
    DbHelper::AssertHasLayer(L"CAO_DO", 0);
    DbHelper::AssertHasLayer(L"cao_do", 0);
    AcDbLayerTable* table = nullptr;
    ASSERT_EQ(d.db().getLayerTable(table, AcDb::kForRead), Acad::eOk);
    EXPECT_TRUE(table->has(L"CAO_DO"));
    int count = 0;
    for (const auto& id : table->recordIds()) count += id.isErased() ? 0 : 1;
    table->close();
    EXPECT_EQ(count, 2);  // "0" and CAO_DO
}
