// Symbol tables, dictionaries, the default drawing, entity properties, colours and extents.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "host/db/AcDbDictionary.h"
#include "host/db/DbHelpers.h"
#include "host/gi/ExtentsCollector.h"
#include "tests/host/DbTestEntity.h"

using dbtest::appendSegment;
using dbtest::WorkingDrawing;
using fendo::db::OpenedObject;

namespace {

AcDbObjectId addLayer(AcDbDatabase& db, const ACHAR* name, Acad::ErrorStatus* status = nullptr)
{
    AcDbLayerTable* table = nullptr;
    db.getLayerTable(table, AcDb::kForWrite);
    auto* layer = new AcDbLayerTableRecord;
    layer->setName(name);
    AcDbObjectId id;
    const Acad::ErrorStatus es = table->add(id, layer);
    if (es == Acad::eOk)
        layer->close();
    else
        delete layer;
    table->close();
    if (status) *status = es;
    return id;
}

}  // namespace

TEST(DbDefaultDrawing, HoldsTheTablesRecordsAndDictionariesEveryDrawingNeeds)
{
    AcDbDatabase db;
    for (const AcDbObjectId& id : db.tableIds()) EXPECT_TRUE(id.isValid());
    EXPECT_FALSE(db.modelSpaceId().isNull());
    EXPECT_FALSE(db.paperSpaceId().isNull());
    EXPECT_EQ(db.currentSpaceId(), db.modelSpaceId());
    EXPECT_EQ(db.clayer(), db.layerZero());
    EXPECT_FALSE(db.byBlockLinetype().isNull());
    EXPECT_FALSE(db.byLayerLinetype().isNull());

    OpenedObject<AcDbLinetypeTable> ltypes(db.linetypeTableId(), AcDb::kForRead);
    AcDbObjectId continuous;
    EXPECT_EQ(ltypes->getAt(L"CONTINUOUS", continuous), Acad::eOk);
    EXPECT_EQ(continuous, db.continuousLinetype());

    OpenedObject<AcDbLayerTableRecord> zero(db.layerZero(), AcDb::kForRead);
    EXPECT_EQ(zero->color().colorIndex(), 7);
    EXPECT_EQ(zero->linetypeObjectId(), continuous);

    OpenedObject<AcDbTextStyleTableRecord> standard(db.textstyle(), AcDb::kForRead);
    EXPECT_EQ(standard->name(), L"Standard");
    OpenedObject<AcDbRegAppTable> apps(db.regAppTableId(), AcDb::kForRead);
    EXPECT_TRUE(apps->has(L"ACAD"));
    OpenedObject<AcDbViewportTable> vports(db.viewportTableId(), AcDb::kForRead);
    EXPECT_TRUE(vports->has(L"*ACTIVE"));
    OpenedObject<AcDbDimStyleTable> dims(db.dimStyleTableId(), AcDb::kForRead);
    EXPECT_TRUE(dims->has(L"Standard"));

    EXPECT_FALSE(db.groupDictionaryId().isNull());
    EXPECT_FALSE(db.tableStyleDictionaryId().isNull());
    EXPECT_FALSE(db.layoutDictionaryId().isNull());
    OpenedObject<AcDbDictionary> groups(db.groupDictionaryId(), AcDb::kForRead);
    EXPECT_EQ(groups->ownerId(), db.namedObjectsDictionaryId());
}

TEST(DbSymbolTables, NamesAreFoundWhateverTheirCaseAndStayUnique)
{
    AcDbDatabase db;
    const AcDbObjectId road = addLayer(db, L"Đường_đỏ");
    ASSERT_FALSE(road.isNull());
    Acad::ErrorStatus es;
    addLayer(db, L"ĐƯỜNG_ĐỎ", &es);
    EXPECT_EQ(es, Acad::eDuplicateRecordName);
    addLayer(db, L"bad<name", &es);
    EXPECT_EQ(es, Acad::eInvalidSymbolTableName);

    OpenedObject<AcDbLayerTable> table(db.layerTableId(), AcDb::kForRead);
    AcDbObjectId found;
    EXPECT_EQ(table->getAt(L"đường_Đỏ", found), Acad::eOk);
    EXPECT_EQ(found, road);
    EXPECT_TRUE(table->has(road));

    // A table open only for read takes no records.
    auto* extra = new AcDbLayerTableRecord;
    extra->setName(L"extra");
    EXPECT_EQ(table->add(extra), Acad::eNotOpenForWrite);
    delete extra;
    table.close();

    // Renaming keeps the index in step; the old name is free again.
    {
        OpenedObject<AcDbLayerTableRecord> rec(road, AcDb::kForWrite);
        EXPECT_EQ(rec->setName(L"0"), Acad::eDuplicateRecordName);
        EXPECT_EQ(rec->setName(L"ROAD"), Acad::eOk);
    }
    OpenedObject<AcDbLayerTable> again(db.layerTableId(), AcDb::kForRead);
    EXPECT_TRUE(again->has(L"road"));
    EXPECT_FALSE(again->has(L"Đường_đỏ"));
}

TEST(DbSymbolTables, AnErasedRecordIsHiddenAndItsNameReusable)
{
    AcDbDatabase db;
    const AcDbObjectId first = addLayer(db, L"TMP");
    {
        OpenedObject<AcDbLayerTableRecord> rec(first, AcDb::kForWrite);
        rec->erase();
    }
    OpenedObject<AcDbLayerTable> table(db.layerTableId(), AcDb::kForRead);
    AcDbObjectId id;
    EXPECT_EQ(table->getAt(L"TMP", id), Acad::eKeyNotFound);
    EXPECT_EQ(table->getAt(L"TMP", id, true), Acad::eOk);
    table.close();
    const AcDbObjectId second = addLayer(db, L"tmp");
    EXPECT_FALSE(second.isNull());
    EXPECT_NE(second, first);
}

TEST(DbDictionary, EntriesKeepTheirOrderAndCaseInsensitiveKeys)
{
    AcDbDatabase db;
    OpenedObject<AcDbDictionary> nod(db.namedObjectsDictionaryId(), AcDb::kForWrite);
    auto* mine = new AcDbDictionary;
    AcDbObjectId id;
    ASSERT_EQ(nod->setAt(L"FENDO_DATA", mine, id), Acad::eOk);
    EXPECT_TRUE(mine->isWriteEnabled());
    EXPECT_EQ(mine->ownerId(), db.namedObjectsDictionaryId());
    mine->close();
    AcDbObjectId found;
    EXPECT_EQ(nod->getAt(L"fendo_data", found), Acad::eOk);
    EXPECT_EQ(found, id);
    EXPECT_EQ(nod->entries().back().first, L"FENDO_DATA");
    EXPECT_EQ(nod->remove(L"Fendo_Data"), Acad::eOk);
    EXPECT_FALSE(nod->has(L"FENDO_DATA"));
}

TEST(DbEntityProperties, SetLayerByNameAndCopyPropertiesFromAnother)
{
    WorkingDrawing w;
    addLayer(w.db, L"TALUY");
    const AcDbObjectId src = appendSegment(w.db), dst = appendSegment(w.db);
    {
        OpenedObject<AcDbEntity> ent(src, AcDb::kForWrite);
        EXPECT_EQ(ent->setLayer(L"taluy"), Acad::eOk);
        EXPECT_EQ(ent->setLayer(L"NO_SUCH_LAYER"), Acad::eKeyNotFound);
        EXPECT_EQ(ent->layer(), AcString(L"TALUY"));
        EXPECT_EQ(ent->setColorIndex(3), Acad::eOk);
        EXPECT_EQ(ent->setLinetype(L"CONTINUOUS"), Acad::eOk);
        EXPECT_EQ(ent->setLinetypeScale(2.0), Acad::eOk);
        EXPECT_EQ(ent->setLinetypeScale(0.0), Acad::eInvalidInput);
    }
    OpenedObject<AcDbEntity> from(src, AcDb::kForRead);
    {
        OpenedObject<AcDbEntity> to(dst, AcDb::kForRead);
        EXPECT_EQ(to->setPropertiesFrom(from.get()), Acad::eNotOpenForWrite);
    }
    OpenedObject<AcDbEntity> to(dst, AcDb::kForWrite);
    ASSERT_EQ(to->setPropertiesFrom(from.get()), Acad::eOk);
    EXPECT_EQ(to->layer(), AcString(L"TALUY"));
    EXPECT_EQ(to->colorIndex(), 3);
    EXPECT_EQ(to->linetype(), AcString(L"Continuous"));
    EXPECT_DOUBLE_EQ(to->linetypeScale(), 2.0);
}

TEST(DbEntityProperties, NewEntitiesTakeTheCurrentLayer)
{
    WorkingDrawing w;
    const AcDbObjectId layer = addLayer(w.db, L"CURRENT");
    ASSERT_EQ(w.db.setClayer(layer), Acad::eOk);
    EXPECT_EQ(w.db.setClayer(w.db.continuousLinetype()), Acad::eWrongObjectType);
    const AcDbObjectId id = appendSegment(w.db);
    OpenedObject<AcDbEntity> ent(id, AcDb::kForRead);
    EXPECT_EQ(ent->layerId(), layer);
    EXPECT_TRUE(ent->color().isByLayer());
}

TEST(DbColor, PaletteAndNearestIndex)
{
    EXPECT_EQ(AcCmEntityColor::lookUpRGB(1), 0xFF0000u);
    EXPECT_EQ(AcCmEntityColor::lookUpRGB(5), 0x0000FFu);
    EXPECT_EQ(AcCmEntityColor::lookUpRGB(7), 0xFFFFFFu);
    EXPECT_EQ(AcCmEntityColor::lookUpRGB(10), 0xFF0000u);
    EXPECT_EQ(AcCmEntityColor::lookUpRGB(11), 0xFF7F7Fu);
    EXPECT_EQ(AcCmEntityColor::lookUpRGB(30), 0xFF7F00u);
    for (int i = 250; i <= 255; ++i) {
        const std::uint32_t c = AcCmEntityColor::lookUpRGB(static_cast<Adesk::UInt8>(i));
        EXPECT_EQ(c >> 16, c & 0xFF) << i;  // grey
        if (i > 250) {
            EXPECT_GT(c, AcCmEntityColor::lookUpRGB(static_cast<Adesk::UInt8>(i - 1)));
        }
    }
    EXPECT_EQ(AcCmEntityColor::lookUpACI(255, 0, 0), 1);
    EXPECT_EQ(AcCmEntityColor::lookUpACI(250, 5, 3), 1);

    AcCmColor c;
    EXPECT_TRUE(c.isByLayer());
    c.setColorIndex(0);
    EXPECT_TRUE(c.isByBlock());
    c.setRGB(0, 0, 250);
    EXPECT_TRUE(c.isByColor());
    EXPECT_EQ(c.colorIndex(), 5);
    EXPECT_EQ(c.rgb(), 0x0000FAu);
}

TEST(DbExtents, ArcsAreBoundedExactlyAndEntitiesByWhatTheyDraw)
{
    fendo::gi::ExtentsCollector arc;
    // Quarter arc from 45 to 135 degrees: its top is the turning point at 90.
    const double r = 2.0;
    arc.circularArc({0, 0, 0}, r, AcGeVector3d::kZAxis, {1, 1, 0}, std::numbers::pi / 2);
    EXPECT_NEAR(arc.extents().maxPoint().y, r, 1e-12);
    EXPECT_NEAR(arc.extents().minPoint().y, r * std::sqrt(0.5), 1e-12);
    EXPECT_NEAR(arc.extents().minPoint().x, -r * std::sqrt(0.5), 1e-12);

    fendo::gi::ExtentsCollector clockwise;
    clockwise.circularArc({0, 0, 0}, 1.0, AcGeVector3d::kZAxis, {1, 0, 0}, -std::numbers::pi / 2);
    EXPECT_NEAR(clockwise.extents().minPoint().y, -1.0, 1e-12);
    EXPECT_NEAR(clockwise.extents().maxPoint().y, 0.0, 1e-12);

    fendo::gi::ExtentsCollector tilted;
    tilted.circle({0, 0, 0}, 1.0, AcGeVector3d(1, 0, 1));  // circle in a 45-degree plane
    EXPECT_NEAR(tilted.extents().maxPoint().x, std::sqrt(0.5), 1e-12);
    EXPECT_NEAR(tilted.extents().maxPoint().y, 1.0, 1e-12);

    WorkingDrawing w;
    appendSegment(w.db, {-1, 2, 0}, {4, -3, 0});
    appendSegment(w.db, {10, 10, 5}, {11, 11, 5});
    w.db.updateExt();
    EXPECT_EQ(w.db.extmin(), AcGePoint3d(-1, -3, 0));
    EXPECT_EQ(w.db.extmax(), AcGePoint3d(11, 11, 5));
}
