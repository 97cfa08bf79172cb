// DXF filing of the entity classes: what one writes, a fresh object reads back to the same
// data (and writes again identically); records as other programs write them are read.
#include <gtest/gtest.h>

#include <memory>
#include <numbers>

#include "DbTestEntity.h"
#include "EntityTestSupport.h"
#include "host/db/AcDbDictionary.h"
#include "host/db/entities/AcDb3dPolyline.h"
#include "host/db/entities/AcDbArc.h"
#include "host/db/entities/AcDbBlockReference.h"
#include "host/db/entities/AcDbCircle.h"
#include "host/db/entities/AcDbDimension.h"
#include "host/db/entities/AcDbGroup.h"
#include "host/db/entities/AcDbLine.h"
#include "host/db/entities/AcDbMText.h"
#include "host/db/entities/AcDbPoint.h"
#include "host/db/entities/AcDbPolyline.h"
#include "host/db/entities/AcDbSpline.h"
#include "host/db/entities/AcDbTable.h"
#include "host/db/entities/EntityFactory.h"

using enttest::expectNear;
using fendo::db::RawTags;

namespace {
constexpr double kPi = std::numbers::pi;

// Writes obj, reads the groups into a new T, writes that: the two outputs must agree.
template <typename T>
std::unique_ptr<T> expectStableRoundTrip(const AcDbObject& obj)
{
    RawTags first;
    std::unique_ptr<T> copy(enttest::roundTrip<T>(obj, &first));
    RawTags second = enttest::fileOut(*copy);
    EXPECT_EQ(second.size(), first.size());
    for (size_t i = 0; i < std::min(first.size(), second.size()); ++i)
        EXPECT_TRUE(first[i] == second[i]) << "group " << i << ": " << first[i].code << " '" << first[i].value
                                           << "' then " << second[i].code << " '" << second[i].value << "'";
    return copy;
}

RawTags tags(std::initializer_list<std::pair<short, const char*>> list)
{
    RawTags out;
    for (const auto& [code, value] : list) out.push_back({code, value});
    return out;
}
}  // namespace

TEST(EntityFiling, CurvesReadBackTheirGeometry)
{
    AcDbLine line({1, 2, 3}, {4, 5, 6});
    line.setThickness(2);
    auto l = expectStableRoundTrip<AcDbLine>(line);
    expectNear(l->endPoint(), {4, 5, 6});
    EXPECT_EQ(l->thickness(), 2);

    AcDbArc arc(AcGePoint3d(1, 2, 3), AcGeVector3d(0, 1, 1), 4.0, 0.3, 2.0);
    auto a = expectStableRoundTrip<AcDbArc>(arc);
    expectNear(a->center(), {1, 2, 3});  // written in the arc's OCS, read back in world
    EXPECT_NEAR(a->startAngle(), 0.3, 1e-12);
    EXPECT_NEAR(a->endAngle(), 2.0, 1e-12);
    expectNear(a->startPt(), arc.startPt());

    AcDbCircle circle(AcGePoint3d(5, 5, 0), AcGeVector3d::kZAxis, 2.5);
    EXPECT_EQ(expectStableRoundTrip<AcDbCircle>(circle)->radius(), 2.5);

    AcDbPoint point({7, 8, 9});
    expectNear(expectStableRoundTrip<AcDbPoint>(point)->position(), {7, 8, 9});
}

TEST(EntityFiling, LightweightPolylineKeepsVerticesBulgesWidthsAndFlags)
{
    AcDbPolyline pl;
    pl.addVertexAt(0, {0, 0}, 0.5, 0.1, 0.2);
    pl.addVertexAt(1, {10, 0}, 0.0, 0.3, 0.3);
    pl.addVertexAt(2, {10, 10});
    pl.setClosed(true);
    pl.setElevation(12.5);
    auto copy = expectStableRoundTrip<AcDbPolyline>(pl);
    ASSERT_EQ(copy->numVerts(), 3u);
    EXPECT_TRUE(copy->isClosed());
    EXPECT_EQ(copy->elevation(), 12.5);
    double b = 0, s = 0, e = 0;
    copy->getBulgeAt(0, b);
    copy->getWidthsAt(0, s, e);
    EXPECT_EQ(b, 0.5);
    EXPECT_EQ(s, 0.1);
    EXPECT_EQ(e, 0.2);

    // As another program writes it: a constant width applies to every vertex.
    std::unique_ptr<AcDbPolyline> read(enttest::readGroups<AcDbPolyline>(
        tags({{100, "AcDbEntity"}, {8, "0"}, {100, "AcDbPolyline"}, {90, "2"}, {70, "1"}, {43, "0.7"},
              {10, "1"}, {20, "2"}, {10, "3"}, {20, "4"}, {42, "-0.5"}, {999, "x"}})));
    ASSERT_EQ(read->numVerts(), 2u);
    read->getWidthsAt(1, s, e);
    EXPECT_EQ(s, 0.7);
    read->getBulgeAt(1, b);
    EXPECT_EQ(b, -0.5);
}

TEST(EntityFiling, TextKeepsJustificationAngleAndUnknownGroups)
{
    AcDbText text(AcGePoint3d(1, 2, 0), L"Cao \u0111\u1ed9 12.5");
    text.setHeight(1.8);
    text.setRotation(kPi / 6);
    text.setWidthFactor(0.8);
    text.setJustification(AcDb::kTextRight, AcDb::kTextTop);
    text.setAlignmentPoint({20, 2, 0});
    auto copy = expectStableRoundTrip<AcDbText>(text);
    EXPECT_EQ(copy->textString(), text.textString());
    EXPECT_NEAR(copy->rotation(), kPi / 6, 1e-12);
    EXPECT_EQ(copy->horizontalMode(), AcDb::kTextRight);
    EXPECT_EQ(copy->verticalMode(), AcDb::kTextTop);
    expectNear(copy->alignmentPoint(), {20, 2, 0});

    // A file without subclass markers (R12) gives every group to every level.
    std::unique_ptr<AcDbText> r12(enttest::readGroups<AcDbText>(
        tags({{8, "0"}, {10, "1"}, {20, "1"}, {40, "2"}, {1, "AB"}, {50, "90"}, {72, "1"}, {11, "5"}, {21, "1"},
              {73, "2"}, {1234, "kept"}}),
        false));
    EXPECT_EQ(r12->textString(), AcString(L"AB"));
    EXPECT_NEAR(r12->rotation(), kPi / 2, 1e-12);
    EXPECT_EQ(r12->horizontalMode(), AcDb::kTextCenter);
    EXPECT_EQ(r12->verticalMode(), AcDb::kTextVertMid);
    RawTags out = enttest::fileOut(*r12);
    EXPECT_NE(std::find(out.begin(), out.end(), fendo::db::RawTag{1234, "kept"}), out.end());
}

TEST(EntityFiling, SplineDimensionMTextAttributeAndHeavyPolylineHeaders)
{
    AcDbSpline spline(AcGePoint3dArray{{0, 0, 0}, {1, 1, 0}, {3, 0, 0}});
    auto s = expectStableRoundTrip<AcDbSpline>(spline);
    EXPECT_EQ(s->numFitPoints(), 3);
    EXPECT_EQ(s->numControlPoints(), spline.numControlPoints());

    AcDbRotatedDimension dim(kPi / 2, {0, 0, 0}, {3, 4, 0}, {5, 0, 0}, L"<> m");
    auto d = expectStableRoundTrip<AcDbRotatedDimension>(dim);
    EXPECT_EQ(d->dimensionText(), AcString(L"<> m"));
    EXPECT_NEAR(d->rotation(), kPi / 2, 1e-12);
    double m = 0;
    d->measurement(m);
    EXPECT_NEAR(m, 4.0, 1e-12);
    AcDbAlignedDimension aligned({0, 0, 0}, {3, 4, 0}, {0, 1, 0});
    expectStableRoundTrip<AcDbAlignedDimension>(aligned)->measurement(m);
    EXPECT_NEAR(m, 5.0, 1e-12);

    AcDbMText mtext;
    mtext.setContents(std::wstring(600, L'x').c_str());  // longer than one group holds
    mtext.setRotation(0.5);
    auto mt = expectStableRoundTrip<AcDbMText>(mtext);
    EXPECT_EQ(mt->contents().size(), 600u);
    EXPECT_NEAR(mt->rotation(), 0.5, 1e-12);

    AcDbAttribute att({1, 1, 0}, L"value", L"TAG");
    att.setVerticalMode(AcDb::kTextTop);
    auto at = expectStableRoundTrip<AcDbAttribute>(att);
    EXPECT_EQ(at->tag(), AcString(L"TAG"));
    EXPECT_EQ(at->verticalMode(), AcDb::kTextTop);

    AcDb2dPolyline pl2(AcDb::k2dSimplePoly, AcGePoint3dArray{{0, 0, 0}, {1, 0, 0}}, 3.0, true);
    auto p2 = expectStableRoundTrip<AcDb2dPolyline>(pl2);
    EXPECT_TRUE(p2->isClosed());
    EXPECT_EQ(p2->elevation(), 3.0);
    AcDb2dVertex v({1, 2, 3}, 0.4);
    v.setVertexType(AcDb::k2dSplineCtlVertex);
    auto vv = expectStableRoundTrip<AcDb2dVertex>(v);
    EXPECT_EQ(vv->bulge(), 0.4);
    EXPECT_EQ(vv->vertexType(), AcDb::k2dSplineCtlVertex);
}

TEST(EntityFactory, PicksClassesByGroup70)
{
    std::unique_ptr<AcDbObject> p3(fendo::db::createObjectForRecord(L"POLYLINE", tags({{100, "AcDbEntity"}, {70, "9"}})));
    EXPECT_TRUE(AcDb3dPolyline::cast(p3.get()));
    std::unique_ptr<AcDbObject> p2(fendo::db::createObjectForRecord(L"POLYLINE", tags({{70, "1"}})));
    EXPECT_TRUE(AcDb2dPolyline::cast(p2.get()));
    EXPECT_EQ(fendo::db::createObjectForRecord(L"POLYLINE", tags({{70, "64"}})), nullptr);  // polyface
    std::unique_ptr<AcDbObject> v3(fendo::db::createObjectForRecord(L"VERTEX", tags({{70, "32"}})));
    EXPECT_TRUE(AcDb3dPolylineVertex::cast(v3.get()));
    std::unique_ptr<AcDbObject> dim(fendo::db::createObjectForRecord(L"DIMENSION", tags({{70, "33"}})));
    EXPECT_TRUE(AcDbAlignedDimension::desc() == dim->isA());
    EXPECT_EQ(fendo::db::createObjectForRecord(L"DIMENSION", tags({{70, "34"}})), nullptr);  // angular
    std::unique_ptr<AcDbObject> table(fendo::db::createObjectForRecord(L"ACAD_TABLE", {}));
    EXPECT_TRUE(AcDbTable::cast(table.get()));
}

TEST(TableCells, SetGetResizeAndRoundTrip)
{
    AcDbTable table;
    ASSERT_EQ(table.setSize(3, 2), Acad::eOk);
    EXPECT_EQ(table.setSize(0, 2), Acad::eInvalidInput);
    ASSERT_EQ(table.setTextString(2, 1, L"\u0110i\u1ec3m 5"), Acad::eOk);
    EXPECT_EQ(table.setTextString(3, 0, L"x"), Acad::eInvalidIndex);
    EXPECT_EQ(table.textString(2, 1), AcString(L"\u0110i\u1ec3m 5"));
    EXPECT_EQ(table.textString(7, 7), AcString());
    table.setSize(4, 2);
    EXPECT_EQ(table.textString(2, 1), AcString(L"\u0110i\u1ec3m 5"));
    EXPECT_NEAR(table.height(), 4 * AcDbTable::kDefaultRowHeight, 1e-12);

    table.setPosition({10, 100, 0});
    auto copy = expectStableRoundTrip<AcDbTable>(table);
    EXPECT_EQ(copy->numRows(), 4);
    EXPECT_EQ(copy->numColumns(), 2);
    EXPECT_EQ(copy->textString(2, 1), table.textString(2, 1));
    AcDbExtents ext;
    copy->getGeomExtents(ext);
    expectNear(ext.maxPoint(), {10 + 2 * AcDbTable::kDefaultColumnWidth, 100, 0});
}

TEST(TableCells, TableWrittenElsewhereIsKeptWholeUntilChanged)
{
    RawTags file = tags({{100, "AcDbEntity"}, {8, "0"}, {100, "AcDbBlockReference"}, {2, "*T1"}, {10, "0"},
                         {20, "0"}, {30, "0"}, {100, "AcDbTable"}, {280, "0"}, {91, "1"}, {92, "2"}, {141, "5"},
                         {142, "20"}, {142, "30"}, {171, "1"}, {172, "0"}, {91, "262177"}, {1, "A1"}, {7, "Standard"},
                         {171, "1"}, {172, "0"}, {301, "CELL_VALUE"}, {302, "B1"}, {304, "ACVALUE_END"}, {9999, "x"}});
    std::unique_ptr<AcDbTable> t(enttest::readGroups<AcDbTable>(file));
    EXPECT_EQ(t->textString(0, 0), AcString(L"A1"));
    EXPECT_EQ(t->textString(0, 1), AcString(L"B1"));
    EXPECT_EQ(t->columnWidth(1), 30.0);
    RawTags out = enttest::fileOut(*t);
    ASSERT_GE(out.size(), file.size() - 2);
    EXPECT_TRUE(std::equal(file.end() - 18, file.end(), out.end() - 18));  // the table section as read

    t->setTextString(0, 0, L"changed");
    std::unique_ptr<AcDbTable> again(enttest::roundTrip<AcDbTable>(*t));
    EXPECT_EQ(again->textString(0, 0), AcString(L"changed"));
    EXPECT_EQ(again->textString(0, 1), AcString(L"B1"));
}

TEST(TableStyle, StandardStyleIsAddedOnceAndStylesFileTheirSettings)
{
    dbtest::WorkingDrawing wd;
    ASSERT_EQ(fendo::db::ensureStandardTableStyle(wd.db), Acad::eOk);
    ASSERT_EQ(fendo::db::ensureStandardTableStyle(wd.db), Acad::eOk);
    AcDbDictionary* dict = nullptr;
    ASSERT_EQ(acdbOpenObject(dict, wd.db.tableStyleDictionaryId(), AcDb::kForRead), Acad::eOk);
    EXPECT_TRUE(dict->has(L"Standard"));
    AcDbObject* obj = nullptr;
    ASSERT_EQ(dict->getAt(L"Standard", obj, AcDb::kForRead), Acad::eOk);
    auto* standard = AcDbTableStyle::cast(obj);
    ASSERT_TRUE(standard);
    EXPECT_EQ(standard->name(), AcString(L"Standard"));
    obj->close();
    dict->close();

    AcDbTableStyle dcm;
    dcm.setName(L"DCM");
    dcm.setColor(AcCmEntityColor(AcCm::kByACI), AcDb::kAllRows);
    AcCmColor c12;
    c12.setColorIndex(12);
    dcm.setColor(c12, AcDb::kTitleRow | AcDb::kHeaderRow | AcDb::kDataRow);
    dcm.setAlignment(AcDb::kMiddleCenter);
    dcm.suppressTitleRow(false);
    auto copy = expectStableRoundTrip<AcDbTableStyle>(dcm);
    EXPECT_EQ(copy->color(AcDb::kHeaderRow).colorIndex(), 12);
    EXPECT_EQ(copy->alignment(AcDb::kTitleRow), AcDb::kMiddleCenter);
}

TEST(GroupObject, MembersFileAsHandlesAndErasedOnesDrop)
{
    dbtest::WorkingDrawing wd;
    AcDbObjectId a = dbtest::appendSegment(wd.db), b = dbtest::appendSegment(wd.db);
    AcDbGroup g(L"survey", true);
    ASSERT_EQ(g.append(a), Acad::eOk);
    ASSERT_EQ(g.append(b), Acad::eOk);
    EXPECT_EQ(g.append(a), Acad::eAlreadyInDb);
    AcDbDxfFiler out(&wd.db);
    g.dxfOutFields(&out);
    auto* copy = new AcDbGroup;
    AcDbDxfFiler in(&wd.db);
    in.setInput(out.takeOutput());
    ASSERT_EQ(copy->dxfInFields(&in), Acad::eOk);
    EXPECT_EQ(copy->allEntityIds().length(), 2);
    EXPECT_EQ(copy->allEntityIds()[1], b);
    AcDbObject* seg = nullptr;
    ASSERT_EQ(acdbOpenAcDbObject(seg, a, AcDb::kForWrite), Acad::eOk);
    seg->erase();
    seg->close();
    EXPECT_EQ(copy->numEntities(), 1);
    delete copy;
}

