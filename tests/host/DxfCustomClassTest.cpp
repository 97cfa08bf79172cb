// Classes registered at run time (as modules do) file themselves through their own
// dxfInFields / dxfOutFields and are listed in CLASSES; while their module is not loaded
// their objects are kept whole and written back unchanged. Also the text decoding of
// drawings before R2007.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbFiler.h"
#include "host/db/AcDbSymbolTable.h"
#include "host/db/AcDbUnknownObject.h"
#include "host/db/DbHelpers.h"
#include "host/dxf/CodePage.h"
#include "support/TestSupport.h"

namespace fs = std::filesystem;

// A custom entity as a module would declare it.
class FendoTestMark : public AcDbEntity {
    ACRX_DECLARE_MEMBERS(FendoTestMark);

public:
    double value = 0;
    std::wstring label;

    Acad::ErrorStatus dxfInFields(AcDbDxfFiler* filer) override
    {
        Acad::ErrorStatus es = AcDbEntity::dxfInFields(filer);
        if (es != Acad::eOk || !filer->atSubclassData(L"FendoTestMark")) return es == Acad::eOk ? Acad::eBadDxfSequence : es;
        resbuf rb{};
        while ((es = filer->readItem(&rb)) == Acad::eOk) {
            if (rb.restype == 40)
                value = rb.resval.rreal;
            else if (rb.restype == 1)
                label = rb.resval.rstring;
            else
                filer->keepUnknownItem();
        }
        return es == Acad::eEndOfObject ? Acad::eOk : es;
    }
    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* filer) const override
    {
        AcDbEntity::dxfOutFields(filer);
        filer->writeString(AcDb::kDxfSubclass, L"FendoTestMark");
        filer->writeDouble(AcDb::kDxfReal, value);
        filer->writeString(AcDb::kDxfText, label);
        return filer->filerStatus();
    }
};
ACRX_DXF_DEFINE_MEMBERS(FendoTestMark, AcDbEntity, 27, 1, 0xBFF, FENDOTESTMARK, FendoTestApp)

namespace {

void registerMark()
{
    FendoTestMark::rxInit();
    FendoTestMark::desc()->setCustom(true);
}

AcDbEntity* firstModelSpaceEntity(AcDbDatabase& db)
{
    auto* ms = fendo::db::peekObject<AcDbBlockTableRecord>(db.modelSpaceId());
    return ms && !ms->entityIds().empty() ? fendo::db::peekObject<AcDbEntity>(ms->entityIds().front()) : nullptr;
}

fs::path saveDb(AcDbDatabase& db, const fs::path& path)
{
    std::string error;
    EXPECT_EQ(db.dxfOut(path.wstring(), &error), Acad::eOk) << error;
    return path;
}

std::unique_ptr<AcDbDatabase> loadDb(const fs::path& path)
{
    auto db = std::make_unique<AcDbDatabase>(false);
    std::string error;
    EXPECT_EQ(db->readDxfFile(path.wstring(), &error), Acad::eOk) << error;
    return db;
}

TEST(DxfCustomClass, FilesThroughItsOwnFieldsAndSurvivesWhileItsModuleIsAway)
{
    const fs::path dir = fendo::test::scratchDir("custom");
    registerMark();
    {
        AcDbDatabase db;
        AcDbBlockTableRecord* ms = nullptr;
        ASSERT_EQ(acdbOpenObject(ms, db.modelSpaceId(), AcDb::kForWrite), Acad::eOk);
        auto* mark = new FendoTestMark;
        mark->value = 12.345;
        mark->label = L"Mốc cao độ";
        ms->appendAcDbEntity(mark);
        mark->close();
        ms->close();
        saveDb(db, dir / "with.dxf");
    }
    const std::string text = fendo::test::readFile(dir / "with.dxf");
    EXPECT_NE(text.find("  0\nCLASS\n  1\nFENDOTESTMARK\n  2\nFendoTestMark\n  3\nFendoTestApp\n 90\n3071\n 91\n1\n"
                        "280\n0\n281\n1\n"),
              std::string::npos);
    {
        auto db = loadDb(dir / "with.dxf");
        auto* mark = FendoTestMark::cast(firstModelSpaceEntity(*db));
        ASSERT_NE(mark, nullptr);
        EXPECT_EQ(mark->value, 12.345);
        EXPECT_EQ(mark->label, L"Mốc cao độ");
    }
    // The module unloads: the entity is kept as read and written back, class record too.
    deleteAcRxClass(FendoTestMark::desc());
    {
        auto db = loadDb(dir / "with.dxf");
        AcDbEntity* kept = firstModelSpaceEntity(*db);
        ASSERT_NE(kept, nullptr);
        EXPECT_TRUE(AcDbUnknownEntity::cast(kept));
        EXPECT_EQ(kept->dxfTypeName(), L"FENDOTESTMARK");
        saveDb(*db, dir / "without.dxf");
    }
    EXPECT_NE(fendo::test::readFile(dir / "without.dxf").find("  1\nFENDOTESTMARK\n  2\nFendoTestMark\n"), std::string::npos);
    registerMark();
    auto db = loadDb(dir / "without.dxf");
    auto* mark = FendoTestMark::cast(firstModelSpaceEntity(*db));
    ASSERT_NE(mark, nullptr);
    EXPECT_EQ(mark->value, 12.345);
    EXPECT_EQ(mark->label, L"Mốc cao độ");
}

TEST(DxfTextDecoding, CodePagesEscapesAndMislabelledUtf8)
{
    fendo::dxf::TextDecoder vietnamese;
    vietnamese.setCodePage("ANSI_1258");
    vietnamese.setUtf8(false);
    // 0xF0 is d with stroke in 1258; 0xD2 the combining hook above; escapes in either case.
    EXPECT_EQ(vietnamese.decode("\xF0i\xD2m \\U+0111o s\\u+1ed1 7"), "đi\xCC\x89m đo số 7");
    EXPECT_EQ(vietnamese.decode("\\M+1A2B5 keeps \\U+zz"), "\\M+1A2B5 keeps \\U+zz");

    fendo::dxf::TextDecoder japanese;
    japanese.setCodePage("ansi_932");
    japanese.setUtf8(false);
    EXPECT_EQ(japanese.decode("\x93\xFA\x96\x7B"), "日本");

    fendo::dxf::TextDecoder modern;
    modern.setUtf8(true);
    EXPECT_EQ(modern.decode("Cao độ \\U+0041"), "Cao độ \\U+0041");
    EXPECT_EQ(modern.decode("caf\xE9"), "café") << "bytes that are not UTF-8 read as ANSI_1252";
}

}  // namespace
