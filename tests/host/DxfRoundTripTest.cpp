// Loading and saving DXF files written by another program (ezdxf): nothing is lost, handles
// stay, Vietnamese text survives every code page, and the saved file passes ezdxf's audit.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>

#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbDictionary.h"
#include "host/db/AcDbSymbolTable.h"
#include "host/db/AcDbUnknownObject.h"
#include "host/db/DbHelpers.h"
#include "host/db/entities/AcDbBlockReference.h"
#include "host/db/entities/AcDbText.h"
#include "host/dxf/DxfExport.h"
#include "support/TestDrawing.h"
#include "support/TestSupport.h"

namespace fs = std::filesystem;

namespace {

fs::path dxfData(const std::string& name) { return fendo::test::dataDir() / "dxf" / name; }

std::unique_ptr<AcDbDatabase> load(const fs::path& path)
{
    auto db = std::make_unique<AcDbDatabase>(false);
    std::string error;
    EXPECT_EQ(db->readDxfFile(path.wstring(), &error), Acad::eOk) << error;
    return db;
}

fs::path save(AcDbDatabase& db, const std::string& name)
{
    const fs::path out = fendo::test::scratchDir("dxf") / name;
    std::string error;
    EXPECT_EQ(db.dxfOut(out.wstring(), &error), Acad::eOk) << error;
    return out;
}

// What a model-space entity looks like to a command: type, layer, colour, text, xdata.
struct EntitySummary {
    std::wstring type, layer, text;
    int color = 0;
    size_t xdataGroups = 0;
    bool operator==(const EntitySummary&) const = default;
};

std::map<std::uint64_t, EntitySummary> modelSpace(AcDbDatabase& db)
{
    std::map<std::uint64_t, EntitySummary> out;
    auto* ms = fendo::db::peekObject<AcDbBlockTableRecord>(db.modelSpaceId());
    if (!ms) return out;
    for (AcDbObjectId id : ms->entityIds()) {
        auto* ent = fendo::db::peekObject<AcDbEntity>(id);
        if (!ent) continue;
        EntitySummary s{ent->dxfTypeName(), ent->layer(), L"", ent->colorIndex(),
                        ent->rawXData() ? ent->rawXData()->size() : 0};
        if (auto* text = AcDbText::cast(ent)) s.text = text->textString();
        out[id.handle().value()] = s;
    }
    return out;
}

std::map<std::wstring, std::pair<int, bool>> layers(AcDbDatabase& db)
{
    std::map<std::wstring, std::pair<int, bool>> out;
    auto* table = fendo::db::peekObject<AcDbLayerTable>(db.layerTableId());
    for (AcDbObjectId id : table->recordIds())
        if (auto* layer = fendo::db::peekObject<AcDbLayerTableRecord>(id))
            out[layer->name()] = {layer->color().colorIndex(), layer->isOff()};
    return out;
}

bool hasText(AcDbDatabase& db, const std::wstring& wanted)
{
    for (const auto& [handle, s] : modelSpace(db))
        if (s.text == wanted) return true;
    return false;
}

class DxfRoundTrip : public ::testing::TestWithParam<const char*> {};

TEST_P(DxfRoundTrip, KeepsEveryEntityLayerColourTextAndXdataWithTheirHandles)
{
    auto first = load(dxfData(GetParam()));
    const auto entities = modelSpace(*first);
    ASSERT_GE(entities.size(), 12u);
    const fs::path saved = save(*first, "saved.dxf");
    auto second = load(saved);
    EXPECT_EQ(modelSpace(*second), entities);
    EXPECT_EQ(layers(*second), layers(*first));
    EXPECT_TRUE(layers(*second).at(L"TAT").second) << "layer TAT is off in the file";
    EXPECT_EQ(layers(*second).at(L"DUONG").first, 1);
    // A second save of the same drawing is the same file.
    const fs::path again = save(*second, "again.dxf");
    EXPECT_EQ(fendo::test::readFile(again), fendo::test::readFile(saved));
}

TEST_P(DxfRoundTrip, ReadsVietnameseTextWhateverTheFileEncoding)
{
    auto db = load(dxfData(GetParam()));
    EXPECT_TRUE(hasText(*db, L"Điểm đo số 7"));
    EXPECT_TRUE(hasText(*db, L"Tuyến đường Hà Nội - Hải Phòng"));
    EXPECT_TRUE(hasText(*db, L"Ống cống Ø600"));
}

TEST_P(DxfRoundTrip, SavedFileMatchesTheOriginalForAnIndependentReaderAndPassesItsAudit)
{
    if (!fendo::test::haveEzdxf()) GTEST_SKIP() << "/usr/bin/python3 has no ezdxf";
    auto db = load(dxfData(GetParam()));
    const fs::path saved = save(*db, "audited.dxf");
    const auto result = fendo::test::runProcess(
        {"/usr/bin/python3", (dxfData("check_round_trip.py")).string(), dxfData(GetParam()).string(), saved.string()});
    EXPECT_EQ(result.exitCode, 0) << result.output;
}

INSTANTIATE_TEST_SUITE_P(FilesByOtherPrograms, DxfRoundTrip,
                         ::testing::Values("r12.dxf", "r12_binary.dxf", "r2000_cp1258.dxf", "r2010.dxf", "r2018.dxf",
                                           "r2018_binary.dxf"),
                         [](const auto& info) {
                             std::string name = info.param;
                             for (char& c : name)
                                 if (c == '.' || c == '-') c = '_';
                             return name;
                         });

TEST(DxfLoad, KeepsUnmodelledEntitiesAndObjectsAsTheirOwnTypes)
{
    auto db = load(dxfData("r2018.dxf"));
    std::map<std::wstring, int> unknownTypes;
    for (const AcDbStub& stub : db->stubs()) {
        if (!stub.object) continue;
        if (AcDbUnknownEntity::cast(stub.object) || AcDbUnknownObject::cast(stub.object))
            ++unknownTypes[stub.object->dxfTypeName()];
    }
    EXPECT_EQ(unknownTypes[L"3DFACE"], 1);
    EXPECT_EQ(unknownTypes[L"MESH"], 1);
    EXPECT_EQ(unknownTypes[L"XRECORD"], 1);
    EXPECT_GE(unknownTypes[L"DICTIONARYVAR"], 1);
    EXPECT_GE(unknownTypes[L"LAYOUT"], 2);
}

TEST(DxfLoad, UnknownEntitiesCanBeFilteredByLayerAndErased)
{
    auto db = load(dxfData("r2010.dxf"));
    AcDbObjectId face;
    for (const auto& [handle, s] : modelSpace(*db))
        if (s.type == L"3DFACE") {
            EXPECT_EQ(s.layer, L"DUONG");
            EXPECT_EQ(s.color, 4);
            face = db->idFromHandle(handle);
        }
    ASSERT_FALSE(face.isNull());
    AcDbEntity* ent = nullptr;
    ASSERT_EQ(acdbOpenObject(ent, face, AcDb::kForWrite), Acad::eOk);
    ASSERT_EQ(ent->erase(), Acad::eOk);
    ent->close();
    auto reloaded = load(save(*db, "erased.dxf"));
    for (const auto& [handle, s] : modelSpace(*reloaded)) EXPECT_NE(s.type, L"3DFACE");
}

TEST(DxfLoad, R12FileGetsHandlesBlockRecordsLayoutsAndTheNamedObjectDictionary)
{
    auto db = load(dxfData("r12.dxf"));
    EXPECT_FALSE(db->modelSpaceId().isNull());
    EXPECT_FALSE(db->paperSpaceId().isNull());
    EXPECT_FALSE(db->namedObjectsDictionaryId().isNull());
    EXPECT_FALSE(db->layoutDictionaryId().isNull());
    auto* ms = fendo::db::peekObject<AcDbBlockTableRecord>(db->modelSpaceId());
    ASSERT_NE(ms, nullptr);
    EXPECT_FALSE(ms->getLayoutId().isNull());
    // The R12 model space block is not a block of its own after loading.
    auto* blocks = fendo::db::peekObject<AcDbBlockTable>(db->blockTableId());
    EXPECT_FALSE(blocks->has(L"$MODEL_SPACE"));
    EXPECT_TRUE(blocks->has(L"MOC"));
    for (const AcDbStub& stub : db->stubs()) {
        if (stub.object) {
            EXPECT_FALSE(stub.handle.isNull());
        }
    }
}

TEST(DxfLoad, HandWrittenR12WithoutHandlesSavesCompleteAndAudited)
{
    auto db = load(dxfData("r12_no_handles.dxf"));
    const fs::path saved = save(*db, "nohandles.dxf");
    auto reloaded = load(saved);
    const auto entities = modelSpace(*reloaded);
    ASSERT_EQ(entities.size(), 3u);
    EXPECT_EQ(entities.begin()->second.layer, L"TUYEN");
    EXPECT_TRUE(layers(*reloaded).at(L"TUYEN").second);
    EXPECT_EQ(layers(*reloaded).count(L"NEW"), 1u) << "a layer named but not defined is made";
    auto* blocks = fendo::db::peekObject<AcDbBlockTable>(reloaded->blockTableId());
    AcDbObjectId b1;
    ASSERT_EQ(blocks->getAt(L"B1", b1), Acad::eOk);
    EXPECT_EQ(fendo::db::peekObject<AcDbBlockTableRecord>(b1)->entityIds().size(), 1u);
    if (!fendo::test::haveEzdxf()) GTEST_SKIP() << "/usr/bin/python3 has no ezdxf";
    const auto result = fendo::test::runPython("import ezdxf,sys\ndoc=ezdxf.readfile(r'" + saved.string() +
                                               "')\na=doc.audit()\nprint([e.message for e in a.errors])\n"
                                               "sys.exit(1 if a.has_errors else 0)\n");
    EXPECT_EQ(result.exitCode, 0) << result.output;
}

TEST(DxfLoad, AFileWithOnlyAnEntitiesSectionKeepsItsLayerNames)
{
    const fs::path path = fendo::test::scratchDir("dxf") / "entities-only.dxf";
    fendo::test::writeFile(path, "0\nSECTION\n2\nENTITIES\n0\nLINE\n8\nROAD\n10\n0\n20\n0\n11\n10\n21\n0\n"
                                 "0\nENDSEC\n0\nEOF\n");
    auto reloaded = load(save(*load(path), "entities-only-out.dxf"));
    const auto entities = modelSpace(*reloaded);
    ASSERT_EQ(entities.size(), 1u);
    EXPECT_EQ(entities.begin()->second.layer, L"ROAD");
}

TEST(DxfSave, HandseedIsAboveEveryHandle)
{
    auto db = load(dxfData("r2018.dxf"));
    const fs::path saved = save(*db, "seed.dxf");
    auto reloaded = load(saved);
    std::uint64_t highest = 0;
    for (const AcDbStub& stub : reloaded->stubs()) highest = std::max(highest, stub.handle.value());
    const std::string text = fendo::test::readFile(saved);
    const size_t at = text.find("$HANDSEED\n  5\n");
    ASSERT_NE(at, std::string::npos);
    const std::string seed = text.substr(at + 14, text.find('\n', at + 14) - at - 14);
    EXPECT_EQ(AcDbHandle::fromHex(seed).value(), highest + 1);
}

TEST(DxfSave, NewDrawingSavesAndReadsBack)
{
    AcDbDatabase db;
    const fs::path saved = save(db, "new.dxf");
    auto reloaded = load(saved);
    EXPECT_FALSE(reloaded->modelSpaceId().isNull());
    if (!fendo::test::haveEzdxf()) GTEST_SKIP() << "/usr/bin/python3 has no ezdxf";
    const auto result = fendo::test::runPython("import ezdxf,sys\ndoc=ezdxf.readfile(r'" + saved.string() +
                                               "')\na=doc.audit()\nprint([e.message for e in a.errors])\n"
                                               "sys.exit(1 if a.has_errors else 0)\n");
    EXPECT_EQ(result.exitCode, 0) << result.output;
}

}  // namespace

// Attributes and the end record belong to their reference's space: a reference put in paper
// space takes them there, whether they were given to it before or after.
TEST(DxfSave, AttributesOfAPaperSpaceReferenceAreInPaperSpace)
{
    AcDbDatabase db;
    const AcDbObjectId blockId = fendo::test::addBlock(db, L"MARK");
    auto* ref = new AcDbBlockReference(AcGePoint3d(0, 0, 0), blockId);
    ref->appendAttribute(new AcDbAttribute(AcGePoint3d(0, 1, 0), L"before", L"A"));
    AcDbBlockTableRecord* paper = nullptr;
    ASSERT_EQ(acdbOpenObject(paper, db.paperSpaceId(), AcDb::kForWrite), Acad::eOk);
    AcDbObjectId refId;
    ASSERT_EQ(paper->appendAcDbEntity(refId, ref), Acad::eOk);
    paper->close();
    ref->appendAttribute(new AcDbAttribute(AcGePoint3d(0, 2, 0), L"after", L"B"));
    ref->close();

    char* buffer = nullptr;
    size_t size = 0;
    std::FILE* f = open_memstream(&buffer, &size);
    ASSERT_TRUE(fendo::dxf::writeDxfStream(db, f, {}));
    std::fclose(f);
    const std::string text(buffer, size);
    std::free(buffer);
    // Each record from the reference to its end record says it is in paper space.
    const size_t insert = text.find("\nINSERT\n");
    ASSERT_NE(insert, std::string::npos);
    const size_t end = text.find("\nSEQEND\n", insert);
    ASSERT_NE(end, std::string::npos);
    const size_t endOfSeqend = text.find("\n  0\n", end + 1);
    int records = 0;
    for (size_t at = text.rfind("\n  0\n", insert); at < endOfSeqend; at = text.find("\n  0\n", at + 1)) {
        const size_t next = std::min(text.find("\n  0\n", at + 1), text.size());
        const std::string record = text.substr(at, next - at);
        EXPECT_NE(record.find("\n 67\n1\n"), std::string::npos) << record;
        ++records;
    }
    EXPECT_EQ(records, 4);  // INSERT, two ATTRIBs, SEQEND
}
