// Every version and format the writer offers opens in ezdxf no worse than the original and
// loads back in the host unchanged: saving the reloaded drawing again gives the same file as
// saving the original.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "host/db/AcDbDatabase.h"
#include "host/db/entities/AcDb2dPolyline.h"
#include "host/db/entities/AcDbHatch.h"
#include "host/db/entities/AcDbLine.h"
#include "host/db/entities/AcDbMText.h"
#include "host/db/entities/AcDbPolyline.h"
#include "host/db/entities/AcDbText.h"
#include "host/dxf/DxfExport.h"
#include "support/TestDrawing.h"
#include "support/TestSupport.h"

namespace fs = std::filesystem;
using fendo::dxf::DxfVersion;

namespace {

std::string savedText(AcDbDatabase& db, const fs::path& path, const fendo::dxf::DxfWriteOptions& options = {})
{
    std::string error;
    EXPECT_EQ(fendo::dxf::writeDxfFile(db, path.wstring(), options, &error), Acad::eOk) << error;
    return fendo::test::readFile(path);
}

// The groups of a saved file with values as a reader sees them (binary files carry numbers,
// not their padding), without the handle seed.
std::string groups(const std::string& text)
{
    std::string out;
    size_t at = 0;
    bool value = false, seed = false;
    while (at < text.size()) {
        size_t end = text.find('\n', at);
        if (end == std::string::npos) end = text.size();
        std::string_view line(text.data() + at, end - at);
        at = end + 1;
        if (value) {
            while (!line.empty() && line.front() == ' ') line.remove_prefix(1);
            // Reals to 12 digits: angles are kept in radians and written in degrees, which
            // may move the last of 17 digits on each round trip.
            char* end = nullptr;
            const std::string text(line);
            const double real = std::strtod(text.c_str(), &end);
            if (!text.empty() && end == text.c_str() + text.size() && text.find('.') != std::string::npos) {
                char rounded[32];
                std::snprintf(rounded, sizeof rounded, "%.12g", real);
                if (!seed) out.append(rounded).push_back('\n');
            } else if (!seed) {
                out.append(line).push_back('\n');
            }
            seed = false;
        } else {
            out.append(line).push_back('\n');
        }
        if (value && line == "$HANDSEED") seed = true;
        value = !value;
    }
    return out;
}

TEST(DxfWriteFormats, EveryVersionAsciiAndBinaryLoadsBackUnchanged)
{
    const fs::path dir = fendo::test::scratchDir("dxfformats");
    for (const char* name : {"r2000_cp1258.dxf", "real/colors.dxf", "real/dimension_in_block.dxf"}) {
        const fs::path original = fendo::test::dataDir() / "dxf" / name;
        AcDbDatabase db(false);
        std::string error;
        ASSERT_EQ(db.readDxfFile(original.wstring(), &error), Acad::eOk) << error;
        const std::string reference = groups(savedText(db, dir / "reference.dxf"));
        for (DxfVersion version : {DxfVersion::R2000, DxfVersion::R2004, DxfVersion::R2007, DxfVersion::R2010,
                                   DxfVersion::R2013, DxfVersion::R2018}) {
            for (bool binary : {false, true}) {
                const std::string label =
                    std::string(name) + " " + fendo::dxf::releaseName(version) + (binary ? " binary" : " ASCII");
                SCOPED_TRACE(label);
                const fs::path path = dir / "format.dxf";
                const std::string text = savedText(db, path, {.version = version, .binary = binary});
                EXPECT_EQ(text.starts_with(std::string("AutoCAD Binary DXF\r\n\x1a\0", 22)), binary);
                EXPECT_NE(text.find(fendo::dxf::acadVersionName(version)), std::string::npos);
                if (version < DxfVersion::R2007 && !binary) {
                    for (char c : text) ASSERT_LT(static_cast<unsigned char>(c), 0x80) << "texts as \\U+ escapes";
                }
                AcDbDatabase again(false);
                ASSERT_EQ(again.readDxfFile(path.wstring(), &error), Acad::eOk) << error;
                EXPECT_EQ(groups(savedText(again, dir / "again.dxf")), reference);
                if (!fendo::test::haveEzdxf()) continue;
                const auto result = fendo::test::runProcess(
                    {"/usr/bin/python3", (fendo::test::dataDir() / "dxf" / "compare_drawings.py").string(),
                     original.string(), path.string()});
                EXPECT_EQ(result.exitCode, 0) << result.output;
            }
        }
    }
}

TEST(DxfWriteFormats, VersionNamesAreReadInEitherForm)
{
    DxfVersion v = DxfVersion::R2007;
    EXPECT_TRUE(fendo::dxf::parseDxfVersion("r2013", v));
    EXPECT_EQ(v, DxfVersion::R2013);
    EXPECT_TRUE(fendo::dxf::parseDxfVersion("AC1015", v));
    EXPECT_EQ(v, DxfVersion::R2000);
    EXPECT_TRUE(fendo::dxf::parseDxfVersion("AC1009", v));
    EXPECT_EQ(v, DxfVersion::R12);
    EXPECT_FALSE(fendo::dxf::parseDxfVersion("R14", v));
    EXPECT_FALSE(fendo::dxf::parseDxfVersion("", v));
}

TEST(DxfWriteFormats, FendoSavesInTheFormatAskedForAndRefusesUnknownVersions)
{
    const fs::path dir = fendo::test::scratchDir("dxfformats-app");
    const fs::path out = dir / "out.dxf", other = dir / "other.dxf";
    auto run = fendo::test::runFendo({"--no-module", "--binary", "--dxf-version", "R2010", "-o", out.string()},
                                     "SAVEAS Version R2000 " + other.string() + "\n");
    EXPECT_EQ(run.exitCode, 0) << run.output;
    const std::string binary = fendo::test::readFile(out), ascii = fendo::test::readFile(other);
    EXPECT_TRUE(binary.starts_with("AutoCAD Binary DXF"));
    EXPECT_NE(binary.find("AC1024"), std::string::npos);
    EXPECT_TRUE(ascii.starts_with("AutoCAD Binary DXF")) << "the session's binary choice holds for SAVEAS";
    EXPECT_NE(ascii.find("AC1015"), std::string::npos);
    run = fendo::test::runFendo({"--no-module", "--dxf-version", "R14", "-o", out.string()});
    EXPECT_NE(run.exitCode, 0);
    EXPECT_NE(run.output.find("bad --dxf-version R14"), std::string::npos) << run.output;
}

// Opens an R12 file in ezdxf and audits it. ezdxf's own R12 files draw "SEQEND with invalid
// owner" fixes for block references; anything else the audit finds is a fault of ours.
constexpr const char* kR12Audit = R"(
import sys, ezdxf
doc = ezdxf.readfile(sys.argv[1])
auditor = doc.audit()
problems = [e.message for e in auditor.errors] + [f.message for f in auditor.fixes if 'SEQEND' not in f.message]
kinds = sorted(e.dxftype() for e in doc.modelspace())
r12 = {'LINE', 'POINT', 'CIRCLE', 'ARC', 'TEXT', 'SOLID', 'TRACE', '3DFACE', 'POLYLINE', 'INSERT', 'ATTDEF',
       'SHAPE', 'VIEWPORT', 'DIMENSION'}
problems += ['not R12: ' + e.dxftype() for b in doc.blocks for e in b if e.dxftype() not in r12]
print(doc.dxfversion, kinds, problems)
sys.exit(1 if problems else 0)
)";

// R12 keeps lines, texts and polylines (a lightweight one becomes a POLYLINE with its bulges,
// widths and elevation), leaves out what R12 has no entity for and says so, and the file
// opens in ezdxf and in fendo.
TEST(DxfWriteFormats, R12KeepsWhatItHasAndSaysWhatItLeftOut)
{
    const fs::path dir = fendo::test::scratchDir("dxfformats-r12");
    fendo::test::TestDrawing drawing;
    auto colour = [](AcDbObjectId id, Adesk::UInt16 index) {
        AcDbEntity* e = nullptr;
        ASSERT_EQ(acdbOpenObject(e, id, AcDb::kForWrite), Acad::eOk);
        e->setColorIndex(index);
        e->close();
    };
    drawing.layer(L"ROAD", 3);
    colour(drawing.add(new AcDbLine({1, 2, 0}, {5, 6, 0}), L"ROAD"), 1);
    drawing.layer(L"NOTES", 5);
    drawing.add(new AcDbText({3, 4, 0}, L"KM 0+100 \u0110\u01b0\u1eddng", AcDbObjectId::kNull, 2.5, 0.5), L"NOTES");
    auto* pline = new AcDbPolyline;
    pline->addVertexAt(0, {0, 0}, 0.0, 0.2, 0.4);
    pline->addVertexAt(1, {10, 0}, 0.5);
    pline->addVertexAt(2, {10, 8});
    pline->setClosed(true);
    pline->setElevation(7.5);
    colour(drawing.add(pline, L"ROAD"), 6);
    for (int i = 0; i < 2; ++i) {
        auto* note = new AcDbMText;
        note->setContents(L"left out");
        drawing.add(note, L"NOTES");
    }
    drawing.add(new AcDbHatch, L"NOTES");
    const fs::path in = drawing.save("r12-in.dxf"), out = dir / "r12.dxf";

    for (bool binary : {false, true}) {
        SCOPED_TRACE(binary ? "binary" : "ASCII");
        std::vector<std::string> args{"--no-module", "--dxf-version", "R12", in.string(), "-o", out.string()};
        if (binary) args.push_back("--binary");
        const auto run = fendo::test::runFendo(args);
        ASSERT_EQ(run.exitCode, 0) << run.output;
        EXPECT_NE(run.output.find("R12 has no HATCH, MTEXT: 3 objects left out"), std::string::npos) << run.output;
        const std::string text = fendo::test::readFile(out);
        EXPECT_NE(text.find("AC1009"), std::string::npos);
        for (const char* later : {"AcDb", "OBJECTS", "CLASSES", "BLOCK_RECORD", "LWPOLYLINE", "MTEXT"})
            EXPECT_EQ(text.find(later), std::string::npos) << later;

        if (fendo::test::haveEzdxf()) {
            const auto audit = fendo::test::runProcess({"/usr/bin/python3", "-c", kR12Audit, out.string()});
            EXPECT_EQ(audit.exitCode, 0) << audit.output;
            EXPECT_NE(audit.output.find("AC1009 ['LINE', 'POLYLINE', 'TEXT']"), std::string::npos) << audit.output;
        }

        const auto back = fendo::test::loadDrawing(out);
        ASSERT_TRUE(back);
        const auto ids = fendo::test::modelSpaceEntities(*back);
        ASSERT_EQ(ids.size(), 3u);
        AcDbLine* l = nullptr;
        ASSERT_EQ(acdbOpenObject(l, ids[0], AcDb::kForRead), Acad::eOk);
        EXPECT_EQ(l->startPoint(), AcGePoint3d(1, 2, 0));
        EXPECT_EQ(l->endPoint(), AcGePoint3d(5, 6, 0));
        EXPECT_EQ(l->layer(), L"ROAD");
        EXPECT_EQ(l->colorIndex(), 1);
        l->close();
        AcDbText* t = nullptr;
        ASSERT_EQ(acdbOpenObject(t, ids[1], AcDb::kForRead), Acad::eOk);
        EXPECT_EQ(std::wstring(t->textString()), L"KM 0+100 \u0110\u01b0\u1eddng");
        EXPECT_EQ(t->position(), AcGePoint3d(3, 4, 0));
        EXPECT_DOUBLE_EQ(t->height(), 2.5);
        EXPECT_EQ(t->layer(), L"NOTES");
        t->close();
        AcDb2dPolyline* p = nullptr;
        ASSERT_EQ(acdbOpenObject(p, ids[2], AcDb::kForRead), Acad::eOk);
        EXPECT_TRUE(p->isClosed());
        EXPECT_DOUBLE_EQ(p->elevation(), 7.5);
        EXPECT_EQ(p->layer(), L"ROAD");
        EXPECT_EQ(p->colorIndex(), 6);
        struct Expected {
            double x, y, bulge, start, end;
        };
        const Expected expected[] = {{0, 0, 0, 0.2, 0.4}, {10, 0, 0.5, 0, 0}, {10, 8, 0, 0, 0}};
        AcDbObjectIterator* it = p->vertexIterator();
        size_t n = 0;
        for (it->start(); !it->done(); it->step(), ++n) {
            AcDb2dVertex* v = nullptr;
            ASSERT_EQ(acdbOpenObject(v, it->objectId(), AcDb::kForRead), Acad::eOk);
            ASSERT_LT(n, std::size(expected));
            EXPECT_DOUBLE_EQ(v->position().x, expected[n].x);
            EXPECT_DOUBLE_EQ(v->position().y, expected[n].y);
            EXPECT_DOUBLE_EQ(v->bulge(), expected[n].bulge);
            EXPECT_DOUBLE_EQ(v->startWidth(), expected[n].start);
            EXPECT_DOUBLE_EQ(v->endWidth(), expected[n].end);
            v->close();
        }
        delete it;
        EXPECT_EQ(n, std::size(expected));
        p->close();
    }

    // The command's Version keyword takes R12 as well, with the same account.
    const fs::path other = dir / "saveas.dxf";
    const auto run = fendo::test::runFendo({"--no-module", in.string()}, "SAVEAS Version r12 " + other.string() + "\n");
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_NE(fendo::test::readFile(other).find("AC1009"), std::string::npos);
    EXPECT_NE(run.output.find("3 objects left out"), std::string::npos) << run.output;
}

// Drawings from other programs (dimensions in blocks, attributes, viewports, entities R12 lacks)
// and custom objects of the module (written as their pieces) give R12 files ezdxf reads
// cleanly and fendo loads with what ezdxf sees.
TEST(DxfWriteFormats, R12OfOtherDrawingsAndCustomObjectsOpensClean)
{
    const fs::path dir = fendo::test::scratchDir("dxfformats-r12-real");
    const fs::path out = dir / "r12.dxf";
    const fs::path real = fendo::test::dataDir() / "dxf" / "real";
    for (const fs::path& in : {fendo::test::sourceDir() / "samples" / "survey-lines.dxf", real / "uncommon.dxf",
                               real / "dimension_in_block.dxf", real / "multi_insert_with_attribs.dxf",
                               real / "viewport_frozen_layers.dxf"}) {
        SCOPED_TRACE(in.filename().string());
        const auto run = fendo::test::runFendo({"--dxf-version", "R12", in.string(), "-o", out.string()});
        ASSERT_EQ(run.exitCode, 0) << run.output;
        const auto back = fendo::test::loadDrawing(out);
        ASSERT_TRUE(back);
        if (!fendo::test::haveEzdxf()) continue;
        const auto audit = fendo::test::runProcess({"/usr/bin/python3", "-c", kR12Audit, out.string()});
        EXPECT_EQ(audit.exitCode, 0) << audit.output;
        EXPECT_NE(audit.output.find("AC1009"), std::string::npos) << audit.output;
        const auto count = std::count(audit.output.begin(), audit.output.end(), '\'') / 2;
        // Meshes the host keeps as read list their vertices beside them in the space; those are
        // not drawing objects of their own.
        size_t entities = 0;
        for (AcDbObjectId id : fendo::test::modelSpaceEntities(*back)) {
            AcDbObject* obj = nullptr;
            if (acdbOpenObject(obj, id, AcDb::kForRead) != Acad::eOk) continue;
            const std::wstring type = obj->dxfTypeName();
            entities += type != L"VERTEX" && type != L"SEQEND";
            obj->close();
        }
        EXPECT_EQ(entities, static_cast<size_t>(count)) << audit.output;
    }
}

}  // namespace
