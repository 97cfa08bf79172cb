// Drawings as other programs write them: texts with control characters, colours
// given twice, names no user could type, names where handles belong, damaged
// counts and numbers, entity kinds the host keeps as read; and saves onto
// links, pipes and over killed saves.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <thread>

#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbSymbolTable.h"
#include "host/db/DbHelpers.h"
#include "host/db/entities/AcDbMText.h"
#include "host/db/entities/AcDbText.h"
#include "support/TestSupport.h"

namespace fs = std::filesystem;

namespace {

// An ENTITIES-only file around the given records (and an OBJECTS section when
// given).
std::string drawing(const std::string &entities, const std::string &tables = {}, const std::string &objects = {})
{
    std::string s = "  0\nSECTION\n  2\nHEADER\n  9\n$ACADVER\n  1\nAC1015\n  0\nENDSEC\n";
    if (!tables.empty()) s += "  0\nSECTION\n  2\nTABLES\n" + tables + "  0\nENDSEC\n";
    s += "  0\nSECTION\n  2\nENTITIES\n" + entities + "  0\nENDSEC\n";
    if (!objects.empty()) s += "  0\nSECTION\n  2\nOBJECTS\n" + objects + "  0\nENDSEC\n";
    return s + "  0\nEOF\n";
}

struct Loaded {
    std::unique_ptr<AcDbDatabase> db = std::make_unique<AcDbDatabase>(false);
    std::string error;
};

Loaded read(const std::string &content, const std::string &name = "in.dxf")
{
    const fs::path path = fendo::test::scratchDir("realdxf") / name;
    fendo::test::writeFile(path, content);
    Loaded l;
    l.db->readDxfFile(path.wstring(), &l.error);
    if (!l.error.empty()) l.error = l.error.substr(path.string().size() + 2);
    return l;
}

std::string saved(AcDbDatabase &db, const std::string &name = "out.dxf")
{
    const fs::path path = fendo::test::scratchDir("realdxf") / name;
    std::string error;
    EXPECT_EQ(db.dxfOut(path.wstring(), &error), Acad::eOk) << error;
    return fendo::test::readFile(path);
}

// The groups of the saved record that has handle `handle`, as "code value"
// lines.
std::string record(const std::string &file, const std::string &handle)
{
    const size_t at = file.find("\n  5\n" + handle + "\n");
    if (at == std::string::npos) return {};
    const size_t start = file.rfind("\n  0\n", at);
    const size_t end = file.find("\n  0\n", at + 1);
    return file.substr(start, end - start) + "\n";
}

AcDbEntity *firstEntity(AcDbDatabase &db)
{
    auto *ms = fendo::db::peekObject<AcDbBlockTableRecord>(db.modelSpaceId());
    return ms && !ms->entityIds().empty() ? fendo::db::peekObject<AcDbEntity>(ms->entityIds().front()) : nullptr;
}

TEST(DxfRealWorld, LineFeedsInTextsAreWrittenAsCaretPairsAndReadBack)
{
    // "^J" is a line feed, "^ " a caret that stands before a letter.
    Loaded in =
        read(drawing("  0\nMTEXT\n  5\n20\n  8\n0\n 10\n0\n 20\n0\n "
                     "40\n1\n  1\nfirst^Jsecond ^ Jx\n"));
    ASSERT_EQ(in.error, "");
    auto *text = AcDbMText::cast(firstEntity(*in.db));
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->contents(), std::wstring(L"first\nsecond ^Jx"));
    const std::string out = saved(*in.db);
    EXPECT_NE(record(out, "20").find("\n  1\nfirst^Jsecond ^ Jx\n"), std::string::npos) << record(out, "20");
    Loaded again = read(out, "again.dxf");
    ASSERT_EQ(again.error, "");
    EXPECT_EQ(AcDbMText::cast(firstEntity(*again.db))->contents(), std::wstring(L"first\nsecond ^Jx"));
}

TEST(DxfRealWorld, ColourIndexBesideATrueColourIsKept)
{
    Loaded in =
        read(drawing("  0\nLINE\n  5\n20\n100\nAcDbEntity\n  8\n0\n "
                     "62\n30\n420\n15886114\n100\nAcDbLine\n"
                     " 10\n0\n 20\n0\n 30\n0\n 11\n1\n 21\n1\n 31\n0\n"));
    ASSERT_EQ(in.error, "");
    const std::string line = record(saved(*in.db), "20");
    EXPECT_NE(line.find("\n 62\n30\n420\n15886114\n"), std::string::npos) << line;
    // A colour set afterwards replaces both.
    AcDbEntity *ent = nullptr;
    ASSERT_EQ(acdbOpenObject(ent, firstEntity(*in.db)->objectId(), AcDb::kForWrite), Acad::eOk);
    AcCmColor red;
    red.setRGB(255, 0, 0);
    ent->setColor(red);
    ent->close();
    EXPECT_EQ(record(saved(*in.db, "recoloured.dxf"), "20").find("\n 62\n"), std::string::npos);
}

TEST(DxfRealWorld, NamesFromTheFileAreKeptWhateverTheirCharactersAndNamesWhereHandlesBelongAreWrittenBack)
{
    const std::string tables =
        "  0\nTABLE\n  2\nLAYER\n  5\n2\n100\nAcDbSymbolTable\n 70\n1\n"
        "  0\nLAYER\n  "
        "5\n10\n100\nAcDbSymbolTableRecord\n100\nAcDbLayerTableRecord\n  "
        "2\nA\\B<1>\n 70\n0\n 62\n3\n  6\nContinuous\n"
        "  0\nENDTAB\n"
        "  0\nTABLE\n  2\nDIMSTYLE\n  5\nA\n100\nAcDbSymbolTable\n 70\n1\n"
        "  "
        "0\nDIMSTYLE\n105\n11\n100\nAcDbSymbolTableRecord\n100\nAcDbDimStyleTable"
        "Record\n  2\nWRITER\n 70\n0\n"
        "340\nStandard\n  0\nENDTAB\n";
    Loaded in =
        read(drawing("  0\nLINE\n  5\n20\n100\nAcDbEntity\n  "
                     "8\nA\\B<1>\n100\nAcDbLine\n 10\n0\n 20\n0\n 11\n1\n 21\n1\n",
                     tables));
    ASSERT_EQ(in.error, "");
    EXPECT_EQ(firstEntity(*in.db)->layer(), std::wstring(L"A\\B<1>"));
    const std::string out = saved(*in.db);
    EXPECT_NE(record(out, "10").find("\n  2\nA\\B<1>\n"), std::string::npos) << record(out, "10");
    EXPECT_NE(record(out, "20").find("\n  8\nA\\B<1>\n"), std::string::npos) << record(out, "20");
    EXPECT_NE(out.find("\n340\nStandard\n"), std::string::npos);
    // A name the user types is still checked.
    AcDbLayerTableRecord layer;
    EXPECT_EQ(layer.setName(L"A<B"), Acad::eInvalidSymbolTableName);
}

TEST(DxfRealWorld, DamagedCountsAndNumbersAreRefusedWithTheLineAndGroupCode)
{
    struct Case {
        std::string entity, message;
    };
    const Case cases[] = {
        {"  0\nLWPOLYLINE\n  5\n20\n100\nAcDbEntity\n  8\n0\n100\nAcDbPolyline\n "
         "90\n1000000000\n 70\n0\n"
         " 10\n0\n 20\n0\n 10\n1\n 20\n1\n",
         "line 25: group code 90: expected 1000000000 vertices, found 2"},
        {"  0\nACAD_TABLE\n  5\n20\n100\nAcDbEntity\n  "
         "8\n0\n100\nAcDbBlockReference\n  2\n*T1\n 10\n0\n 20\n0\n"
         "100\nAcDbTable\n 91\n1000000000\n 92\n2\n171\n1\n  1\na\n171\n1\n  "
         "1\nb\n",
         "line 33: group code 91: expected 2000000000 cells, found 2"},
        {"  0\nLINE\n  5\n20\n100\nAcDbEntity\n  8\n0\n100\nAcDbLine\n 10\nnan\n "
         "20\n0\n 11\n1\n 21\n1\n",
         "line 25: group code 10: expected a number, found 'nan'"},
        {std::string("  0\nLINE\n  5\n20\n100\nAcDbEntity\n  8\nA\0B\n", 39),
         "line 22: group code 8: expected text, found a NUL byte"},
    };
    for (const Case &c : cases) EXPECT_EQ(read(drawing(c.entity)).error, c.message) << c.entity;
}

TEST(DxfRealWorld, EntitiesKeepTheGroupsOtherProgramsGaveThem)
{
    const std::string entities =
        // A paragraph text with column data after its own groups.
        "  0\nMTEXT\n  5\n20\n100\nAcDbEntity\n  8\n0\n100\nAcDbMText\n 10\n5\n "
        "20\n6\n 30\n0\n 40\n2.5\n 41\n30\n"
        " 71\n1\n 72\n5\n  1\nabc\n 73\n1\n 44\n1.0\n101\nEmbedded Object\n "
        "70\n1\n 10\n1\n 20\n0\n 30\n0\n"
        " 11\n7\n 21\n8\n 31\n0\n 40\n99\n 41\n77\n 71\n2\n 72\n1\n"
        // Aligned and angular dimensions.
        "  0\nDIMENSION\n  5\n21\n100\nAcDbEntity\n  8\n0\n100\nAcDbDimension\n  "
        "2\n*D1\n 10\n3\n 20\n4\n 30\n0\n"
        " 11\n1\n 21\n1\n 31\n0\n 70\n33\n 42\n5.5\n  "
        "3\nStandard\n100\nAcDbAlignedDimension\n 13\n0\n 23\n0\n 33\n0\n"
        " 14\n3\n 24\n4\n 34\n0\n"
        "  0\nDIMENSION\n  5\n22\n100\nAcDbEntity\n  8\n0\n100\nAcDbDimension\n  "
        "2\n*D2\n 10\n3\n 20\n4\n 30\n0\n"
        " 11\n1\n 21\n1\n 31\n0\n 70\n34\n 42\n0.7853981633974483\n  "
        "3\nStandard\n100\nAcDb2LineAngularDimension\n"
        " 13\n0\n 23\n0\n 33\n0\n 14\n1\n 24\n0\n 34\n0\n 15\n0\n 25\n0\n "
        "35\n0\n 16\n1\n 26\n1\n 36\n0\n"
        // A spline with flags above 8.
        "  0\nSPLINE\n  5\n23\n100\nAcDbEntity\n  8\n0\n100\nAcDbSpline\n "
        "70\n1064\n 71\n3\n 72\n8\n 73\n4\n 74\n0\n"
        " 40\n0\n 40\n0\n 40\n0\n 40\n0\n 40\n1\n 40\n1\n 40\n1\n 40\n1\n"
        " 10\n0\n 20\n0\n 30\n0\n 10\n1\n 20\n1\n 30\n0\n 10\n2\n 20\n1\n "
        "30\n0\n 10\n3\n 20\n0\n 30\n0\n"
        // A multiple insert.
        "  0\nINSERT\n  5\n24\n100\nAcDbEntity\n  8\n0\n100\nAcDbMInsertBlock\n  "
        "2\nB\n 10\n0\n 20\n0\n 30\n0\n"
        " 70\n3\n 71\n2\n 44\n5\n 45\n5\n"
        // A polyface mesh, kept as read, with its vertices.
        "  0\nPOLYLINE\n  5\n25\n100\nAcDbEntity\n  "
        "8\n0\n100\nAcDbPolyFaceMesh\n 66\n1\n 10\n0\n 20\n0\n 30\n0\n"
        " 70\n64\n 71\n3\n 72\n1\n"
        "  0\nVERTEX\n  5\n26\n330\n25\n100\nAcDbEntity\n  "
        "8\n0\n100\nAcDbVertex\n100\nAcDbPolyFaceMeshVertex\n"
        " 10\n0\n 20\n0\n 30\n0\n 70\n192\n"
        "  0\nSEQEND\n  5\n27\n330\n25\n100\nAcDbEntity\n  8\n0\n";
    const std::string blocks = "";
    const std::string objects =
        "  0\nDICTIONARY\n  5\nC\n330\n0\n100\nAcDbDictionary\n281\n1\n  "
        "3\nSOFT\n350\n30\n  3\nHARD\n360\n31\n"
        "  0\nXRECORD\n  5\n30\n330\nC\n100\nAcDbXrecord\n  1\nx\n"
        "  0\nXRECORD\n  5\n31\n330\nC\n100\nAcDbXrecord\n  1\ny\n";
    Loaded in = read(drawing(entities, blocks, objects));
    ASSERT_EQ(in.error, "");
    auto *mtext = AcDbMText::cast(firstEntity(*in.db));
    ASSERT_NE(mtext, nullptr);
    EXPECT_EQ(mtext->location(), AcGePoint3d(5, 6, 0));
    EXPECT_EQ(mtext->textHeight(), 2.5);
    EXPECT_EQ(mtext->width(), 30.0);
    const std::string out = saved(*in.db);
    const std::string text = record(out, "20");
    EXPECT_NE(text.find("\n 10\n5.0\n 20\n6.0\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\n 44\n1.0\n"), std::string::npos) << "the default line spacing the file gave";
    EXPECT_NE(text.find("\n101\nEmbedded Object\n 70\n1\n 10\n1\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\n 40\n99\n 41\n77\n 71\n2\n"), std::string::npos) << text;

    const std::string aligned = record(out, "21"), angular = record(out, "22");
    EXPECT_NE(aligned.find("\n 70\n33\n"), std::string::npos) << aligned;
    EXPECT_NE(aligned.find("\n 42\n5.0\n"), std::string::npos) << "measured between the extension points: " << aligned;
    EXPECT_EQ(aligned.find("AcDbRotatedDimension"), std::string::npos) << aligned;
    EXPECT_NE(angular.find("\n 70\n34\n"), std::string::npos) << angular;
    EXPECT_NE(angular.find("\n 42\n0.7853981633974483\n"), std::string::npos) << angular;
    EXPECT_NE(angular.find("AcDb2LineAngularDimension\n 13\n0\n"), std::string::npos) << angular;
    EXPECT_NE(angular.find("\n 16\n1\n 26\n1\n"), std::string::npos) << angular;
    EXPECT_EQ(angular.find("AcDbAlignedDimension"), std::string::npos) << angular;

    EXPECT_NE(record(out, "23").find("\n 70\n1064\n"), std::string::npos) << record(out, "23");
    const std::string minsert = record(out, "24");
    EXPECT_NE(minsert.find("AcDbMInsertBlock\n  2\nB\n"), std::string::npos) << minsert;
    EXPECT_EQ(minsert.find("\n  2\n\n"), std::string::npos) << minsert;
    EXPECT_EQ(minsert.find("AcDbBlockReference"), std::string::npos) << minsert;
    EXPECT_NE(record(out, "26").find("\n330\n25\n"), std::string::npos)
        << "the vertex is the mesh's: " << record(out, "26");
    const std::string dictionary = record(out, "C");
    EXPECT_NE(dictionary.find("\n  3\nSOFT\n350\n30\n  3\nHARD\n360\n31\n"), std::string::npos) << dictionary;
    EXPECT_EQ(dictionary.find("\n280\n"), std::string::npos) << dictionary;
}

TEST(DxfRealWorld, ViewportNumberAfterItsStatusIsWrittenOnce)
{
    Loaded in =
        read(drawing("  0\nVIEWPORT\n  5\n20\n100\nAcDbEntity\n 67\n1\n  "
                     "8\n0\n100\nAcDbViewport\n"
                     " 10\n5\n 20\n5\n 30\n0\n 40\n10\n 41\n10\n 68\n1\n 69\n2\n"));
    ASSERT_EQ(in.error, "");
    const std::string out = saved(*in.db), viewport = record(out, "20");
    ASSERT_NE(viewport, "");
    EXPECT_EQ(viewport.find("\n 69\n"), viewport.rfind("\n 69\n")) << viewport;
}

TEST(DxfRealWorld, HandlesAboveALowSeedAreKeptWhenTheLoaderAddsRecords)
{
    // No tables: the loader adds them, and with them records that must not
    // take 1..2F.
    std::string entities;
    for (int h = 1; h <= 0x2F; ++h) {
        char hex[8];
        std::snprintf(hex, sizeof hex, "%X", h);
        entities += std::string("  0\nPOINT\n  5\n") + hex + "\n  8\n0\n 10\n" + std::to_string(h) + "\n 20\n0\n";
    }
    Loaded in = read(drawing(entities));
    ASSERT_EQ(in.error, "");
    auto *ms = fendo::db::peekObject<AcDbBlockTableRecord>(in.db->modelSpaceId());
    ASSERT_EQ(ms->entityIds().size(), 0x2Fu);
    std::uint64_t expected = 1;
    for (AcDbObjectId id : ms->entityIds()) EXPECT_EQ(id.handle().value(), expected++);

    // An entity without a handle, met before records whose handles come later in the file,
    // and an unknown section holding the highest handle of all: the new handle is above them.
    const std::string late = "  0\nPOINT\n  8\n0\n 10\n0\n 20\n0\n" + entities +
                             "  0\nENDSEC\n  0\nSECTION\n  2\nEXTRA\n  0\nTHING\n  5\n7F\n";
    Loaded more = read(drawing(late));
    ASSERT_EQ(more.error, "");
    ms = fendo::db::peekObject<AcDbBlockTableRecord>(more.db->modelSpaceId());
    ASSERT_EQ(ms->entityIds().size(), 0x30u);
    EXPECT_GT(ms->entityIds().front().handle().value(), 0x7Fu);
    EXPECT_EQ(ms->entityIds().back().handle().value(), 0x2Fu);
}

TEST(DxfRealWorld, LayoutsFollowBlockRecordsThatTheFileGaveNoHandle)
{
    const std::string tables =
        "  0\nTABLE\n  2\nBLOCK_RECORD\n 70\n1\n"
        "  0\nBLOCK_RECORD\n  2\n*Model_Space\n340\n22\n  0\nENDTAB\n";
    const std::string objects =
        "  0\nDICTIONARY\n  5\nC\n  3\nACAD_LAYOUT\n350\n1A\n"
        "  0\nDICTIONARY\n  5\n1A\n  3\nModel\n350\n22\n"
        "  0\nLAYOUT\n  5\n22\n100\nAcDbPlotSettings\n  1\n\n100\nAcDbLayout\n  1\nModel\n 70\n1\n 71\n0\n330\n1B\n";
    Loaded in = read(drawing("", tables, objects));
    ASSERT_EQ(in.error, "");
    const std::string model = in.db->modelSpaceId().handle().hex();
    const std::string layout = record(saved(*in.db), "22");
    EXPECT_NE(layout.find("AcDbLayout\n  1\nModel\n"), std::string::npos) << layout;
    EXPECT_NE(layout.find("\n330\n" + model + "\n"), std::string::npos) << "model space is " << model << layout;
    EXPECT_EQ(layout.find("\n330\n1B\n"), std::string::npos) << layout;
}

// ---------------------------------------------------------------------------- saving

TEST(DxfRealWorldSave, ALinkIsKeptAndItsTargetWritten)
{
    const fs::path dir = fendo::test::scratchDir("realdxf-link");
    const fs::path target = dir / "real.dxf", link = dir / "link.dxf";
    fs::remove(target);
    fs::remove(link);
    fendo::test::writeFile(target, "old");
    fs::create_symlink("real.dxf", link);
    AcDbDatabase db;
    std::string error;
    ASSERT_EQ(db.dxfOut(link.wstring(), &error), Acad::eOk) << error;
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_TRUE(fendo::test::readFile(target).starts_with("  0\nSECTION\n"));
}

TEST(DxfRealWorldSave, APipeIsWrittenInPlaceOrRefusedNeverReplaced)
{
    const fs::path dir = fendo::test::scratchDir("realdxf-fifo");
    const fs::path fifo = dir / "pipe.dxf";
    fs::remove(fifo);
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    AcDbDatabase db;
    std::string error;
    // Nobody reads: refused with a message, at once.
    EXPECT_NE(db.dxfOut(fifo.wstring(), &error), Acad::eOk);
    EXPECT_NE(error.find("not a plain file"), std::string::npos) << error;
    EXPECT_TRUE(fs::is_fifo(fifo));
    // A reader gets the drawing through the pipe.
    std::string received;
    std::thread reader([&] {
        const int fd = ::open(fifo.c_str(), O_RDONLY);
        char buf[65536];
        for (ssize_t n; (n = ::read(fd, buf, sizeof buf)) > 0;) received.append(buf, static_cast<size_t>(n));
        ::close(fd);
    });
    Acad::ErrorStatus es = Acad::eFileAccessErr;
    for (int attempt = 0; attempt < 200 && es != Acad::eOk; ++attempt) {
        es = db.dxfOut(fifo.wstring(), &error);
        if (es != Acad::eOk) ::usleep(10000);  // until the reader has opened its end
    }
    reader.join();
    EXPECT_EQ(es, Acad::eOk) << error;
    EXPECT_TRUE(received.starts_with("  0\nSECTION\n"));
    EXPECT_TRUE(fs::is_fifo(fifo));
}

TEST(DxfRealWorldSave, TemporariesOfKilledSavesAreRemovedButNotThoseOfRunningSaves)
{
    const fs::path dir = fendo::test::scratchDir("realdxf-stale");
    const fs::path target = dir / "plan.dxf", stale = dir / "plan.dxf.fendo-save-AbC123",
                   running = dir / "plan.dxf.fendo-save-XyZ789", other = dir / "other.dxf.fendo-save-AbC123";
    for (const fs::path &p : {stale, running, other}) fendo::test::writeFile(p, "partial");
    const int held = ::open(running.c_str(), O_RDONLY);
    ASSERT_GE(held, 0);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);
    AcDbDatabase db;
    std::string error;
    ASSERT_EQ(db.dxfOut(target.wstring(), &error), Acad::eOk) << error;
    EXPECT_FALSE(fs::exists(stale));
    EXPECT_TRUE(fs::exists(running));
    EXPECT_TRUE(fs::exists(other));
    ::close(held);
}

}  // namespace
