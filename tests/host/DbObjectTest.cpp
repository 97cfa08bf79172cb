// Database objects: the open/close discipline, erasing, handles and ids, block order.
#include <gtest/gtest.h>

#include "host/db/DbHelpers.h"
#include "tests/host/DbTestEntity.h"

ACRX_DXF_DEFINE_MEMBERS(DbTestSegment, AcDbEntity, 0, 0, 0, FENDOTESTSEGMENT, FendoTests)

using dbtest::appendSegment;
using dbtest::WorkingDrawing;

TEST(DbOpenClose, ReadersShareButExcludeAWriter)
{
    WorkingDrawing w;
    const AcDbObjectId id = appendSegment(w.db);
    AcDbObject* r1 = nullptr;
    AcDbObject* r2 = nullptr;
    AcDbObject* wr = nullptr;
    ASSERT_EQ(acdbOpenAcDbObject(r1, id, AcDb::kForRead), Acad::eOk);
    ASSERT_EQ(acdbOpenAcDbObject(r2, id, AcDb::kForRead), Acad::eOk);
    EXPECT_EQ(r1, r2);
    EXPECT_EQ(acdbOpenAcDbObject(wr, id, AcDb::kForWrite), Acad::eWasOpenForRead);
    EXPECT_EQ(wr, nullptr);
    EXPECT_TRUE(r1->isReadEnabled());
    EXPECT_FALSE(r1->isWriteEnabled());
    EXPECT_EQ(r1->close(), Acad::eOk);
    EXPECT_EQ(r2->close(), Acad::eOk);
    // Every open is balanced: one close too many is refused.
    EXPECT_EQ(r1->close(), Acad::eNotOpenForRead);
    EXPECT_EQ(r1->openMode(), AcDb::kNotOpenForAnything);
}

TEST(DbOpenClose, AWriterExcludesEveryOtherOpen)
{
    WorkingDrawing w;
    const AcDbObjectId id = appendSegment(w.db);
    AcDbObject* wr = nullptr;
    AcDbObject* other = nullptr;
    ASSERT_EQ(acdbOpenAcDbObject(wr, id, AcDb::kForWrite), Acad::eOk);
    EXPECT_EQ(acdbOpenAcDbObject(other, id, AcDb::kForWrite), Acad::eWasOpenForWrite);
    EXPECT_EQ(acdbOpenAcDbObject(other, id, AcDb::kForRead), Acad::eWasOpenForWrite);
    EXPECT_EQ(wr->downgradeOpen(), Acad::eOk);
    EXPECT_EQ(acdbOpenAcDbObject(other, id, AcDb::kForRead), Acad::eOk);
    // Two readers: neither may upgrade.
    EXPECT_EQ(wr->upgradeOpen(), Acad::eWasOpenForRead);
    other->close();
    EXPECT_EQ(wr->upgradeOpen(), Acad::eOk);
    EXPECT_TRUE(wr->isWriteEnabled());
    wr->close();
}

TEST(DbOpenClose, WrongClassOrNullIdFailsAndLeavesNothingOpen)
{
    WorkingDrawing w;
    const AcDbObjectId id = appendSegment(w.db);
    AcDbBlockTableRecord* btr = nullptr;
    EXPECT_EQ(acdbOpenObject(btr, id, AcDb::kForRead), Acad::eNotThatKindOfClass);
    EXPECT_EQ(btr, nullptr);
    AcDbObject* any = nullptr;
    EXPECT_EQ(acdbOpenAcDbObject(any, id, AcDb::kForWrite), Acad::eOk);  // the failed open was undone
    any->close();
    EXPECT_EQ(acdbOpenAcDbObject(any, AcDbObjectId::kNull, AcDb::kForRead), Acad::eNullObjectId);
}

TEST(DbErase, ErasedObjectsOpenOnlyOnRequestAndCanBeUnerased)
{
    WorkingDrawing w;
    const AcDbObjectId id = appendSegment(w.db);
    {
        fendo::db::OpenedObject<AcDbEntity> ent(id, AcDb::kForRead);
        ASSERT_TRUE(ent);
        EXPECT_EQ(ent->erase(), Acad::eNotOpenForWrite);
    }
    {
        fendo::db::OpenedObject<AcDbEntity> ent(id, AcDb::kForWrite);
        ASSERT_EQ(ent->erase(), Acad::eOk);
        EXPECT_TRUE(ent->isErased());
        EXPECT_EQ(ent->erase(), Acad::eWasErased);
    }
    EXPECT_TRUE(id.isErased());
    EXPECT_TRUE(id.isValid());  // the id stays usable
    AcDbObject* obj = nullptr;
    EXPECT_EQ(acdbOpenAcDbObject(obj, id, AcDb::kForRead), Acad::eWasErased);
    ASSERT_EQ(acdbOpenAcDbObject(obj, id, AcDb::kForWrite, true), Acad::eOk);
    EXPECT_EQ(obj->erase(false), Acad::eOk);
    obj->close();
    EXPECT_FALSE(id.isErased());
    EXPECT_EQ(acdbOpenAcDbObject(obj, id, AcDb::kForRead), Acad::eOk);
    obj->close();
}

TEST(DbErase, IteratorsSkipErasedEntitiesAndRecordsUnlessAsked)
{
    WorkingDrawing w;
    const AcDbObjectId a = appendSegment(w.db), b = appendSegment(w.db), c = appendSegment(w.db);
    for (AcDbObjectId gone : {a, c}) {
        fendo::db::OpenedObject<AcDbEntity> ent(gone, AcDb::kForWrite);
        ent->erase();
    }
    fendo::db::OpenedObject<AcDbBlockTableRecord> ms(w.db.modelSpaceId(), AcDb::kForRead);
    AcDbBlockTableRecordIterator* it = nullptr;
    ms->newIterator(it);
    std::vector<AcDbObjectId> seen;
    for (; !it->done(); it->step()) {
        AcDbObjectId id;
        it->getEntityId(id);
        seen.push_back(id);
    }
    EXPECT_EQ(seen, std::vector<AcDbObjectId>{b});
    it->start(true, false);
    int all = 0;
    for (; !it->done(); it->step(true, false)) ++all;
    EXPECT_EQ(all, 3);
    // Backwards from the end also skips the erased last entity.
    it->start(false);
    AcDbObjectId last;
    it->getEntityId(last);
    EXPECT_EQ(last, b);
    delete it;

    AcDbLayerTableRecord* layer = nullptr;
    ASSERT_EQ((fendo::db::openTableRecord<AcDbLayerTable>(&w.db, L"0", layer, AcDb::kForRead)), Acad::eOk);
    layer->close();
}

TEST(DbLockedLayer, EntitiesOnALockedLayerCannotBeOpenedForWrite)
{
    WorkingDrawing w;
    const AcDbObjectId id = appendSegment(w.db);
    {
        fendo::db::OpenedObject<AcDbLayerTableRecord> zero(w.db.layerZero(), AcDb::kForWrite);
        zero->setIsLocked(true);
    }
    AcDbEntity* ent = nullptr;
    EXPECT_EQ(acdbOpenObject(ent, id, AcDb::kForWrite), Acad::eOnLockedLayer);
    ASSERT_EQ(acdbOpenObject(ent, id, AcDb::kForRead), Acad::eOk);
    EXPECT_EQ(ent->upgradeOpen(), Acad::eOnLockedLayer);
    ent->close();
}

TEST(DbHandles, NewObjectsGetUniqueIncreasingHandlesAndAreFoundByThem)
{
    WorkingDrawing w;
    std::vector<AcDbObjectId> ids;
    for (int i = 0; i < 50; ++i) ids.push_back(appendSegment(w.db));
    for (size_t i = 1; i < ids.size(); ++i) EXPECT_GT(ids[i].handle().value(), ids[i - 1].handle().value());
    EXPECT_GT(w.db.handseed().value(), ids.back().handle().value());
    for (const AcDbObjectId& id : ids) EXPECT_EQ(w.db.idFromHandle(id.handle()), id);
    EXPECT_EQ(AcDbHandle(L"1A2b").value(), 0x1A2Bu);
    EXPECT_EQ(AcDbHandle(0x1A2B).hex(), "1A2B");
    bool ok = true;
    EXPECT_TRUE(AcDbHandle::fromHex("xyz", &ok).isNull());
    EXPECT_FALSE(ok);
}

TEST(DbHandles, ForwardReferencesAreFilledWhenTheObjectArrives)
{
    AcDbDatabase db(false);
    const AcDbHandle far(0x5000);
    EXPECT_TRUE(db.idFromHandle(far).isNull());
    const AcDbObjectId ref = db.idFromHandle(far, true);
    ASSERT_FALSE(ref.isNull());
    EXPECT_FALSE(ref.isValid());
    AcDbObject* obj = nullptr;
    EXPECT_EQ(acdbOpenAcDbObject(obj, ref, AcDb::kForRead), Acad::eUnknownHandle);

    auto* seg = new DbTestSegment;
    AcDbObjectId added;
    ASSERT_EQ(db.addAcDbObjectWithHandle(added, seg, far), Acad::eOk);
    EXPECT_EQ(added, ref);
    EXPECT_TRUE(ref.isValid());
    seg->close();
    auto* dup = new DbTestSegment;
    EXPECT_EQ(db.addAcDbObjectWithHandle(added, dup, far), Acad::eHandleExists);
    delete dup;
    // New handles go past everything seen, forward references included.
    auto* next = new DbTestSegment;
    ASSERT_EQ(db.addAcDbObject(added, next), Acad::eOk);
    EXPECT_GT(added.handle().value(), 0x5000u);
    next->close();
}

TEST(DbBlocks, AppendKeepsDrawingOrderOwnerAndLeavesTheEntityOpen)
{
    WorkingDrawing w;
    AcDbBlockTableRecord* ms = nullptr;
    ASSERT_EQ(acdbOpenObject(ms, w.db.modelSpaceId(), AcDb::kForRead), Acad::eOk);
    auto* seg = new DbTestSegment;
    EXPECT_EQ(ms->appendAcDbEntity(seg), Acad::eNotOpenForWrite);
    ASSERT_EQ(ms->upgradeOpen(), Acad::eOk);
    std::vector<AcDbObjectId> ids;
    for (int i = 0; i < 3; ++i) {
        AcDbObjectId id;
        ASSERT_EQ(ms->appendAcDbEntity(id, seg), Acad::eOk);
        EXPECT_TRUE(seg->isWriteEnabled());
        EXPECT_EQ(seg->ownerId(), w.db.modelSpaceId());
        EXPECT_EQ(seg->layerId(), w.db.clayer());
        EXPECT_EQ(ms->appendAcDbEntity(seg), Acad::eAlreadyInDb);
        seg->close();
        ids.push_back(id);
        seg = new DbTestSegment;
    }
    delete seg;
    EXPECT_EQ(ms->entityIds(), ids);
    ms->close();
}

TEST(DbNames, AdsNamesCarryTheObjectId)
{
    WorkingDrawing w;
    const AcDbObjectId id = appendSegment(w.db);
    ads_name name;
    ASSERT_EQ(acdbGetAdsName(name, id), Acad::eOk);
    AcDbObjectId back;
    ASSERT_EQ(acdbGetObjectId(back, name), Acad::eOk);
    EXPECT_EQ(back, id);
}

TEST(DbClone, ACopyKeepsPropertiesAndExtendedDataButBelongsToNobody)
{
    WorkingDrawing w;
    acdbRegApp(L"KVO_DIEMMIA");
    const AcDbObjectId id = appendSegment(w.db);
    fendo::db::OpenedObject<AcDbEntity> ent(id, AcDb::kForWrite);
    ent->setColorIndex(5);
    resbuf* xd = acutBuildList(1001, L"KVO_DIEMMIA", 1000, L"tag", RTNONE);
    ent->setXData(xd);
    acutRelRb(xd);

    auto* copy = AcDbEntity::cast(ent->clone());
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->isA(), DbTestSegment::desc());
    EXPECT_TRUE(copy->objectId().isNull());
    EXPECT_TRUE(copy->ownerId().isNull());
    EXPECT_EQ(copy->colorIndex(), 5);
    EXPECT_EQ(copy->layerId(), ent->layerId());
    EXPECT_EQ(*copy->rawXData(), *ent->rawXData());
    delete copy;

    AcDbEntity* moved = nullptr;
    EXPECT_EQ(ent->getTransformedCopy(AcGeMatrix3d::kIdentity, moved), Acad::eNotApplicable);
    EXPECT_EQ(moved, nullptr);
}
