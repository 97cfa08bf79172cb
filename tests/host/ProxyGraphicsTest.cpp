// Proxy graphics of custom objects in saved drawings (read back by ezdxf as a reader without
// our classes would), and the plain export that writes custom objects as ordinary entities.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "host/db/DbHelpers.h"
#include "host/dxf/DxfExport.h"
#include "host/gi/ProxyGraphicsWriter.h"
#include "tests/host/RenderTestSupport.h"
#include "support/TestSupport.h"

namespace {

namespace fs = std::filesystem;
using fendo::gi::ProxyCommand;

std::uint32_t u32At(const std::vector<std::uint8_t>& d, size_t at)
{
    std::uint32_t v = 0;
    std::memcpy(&v, d.data() + at, 4);
    return v;
}

// A drawing with one survey mark on a layer of its own.
struct MarkDrawing {
    AcDbDatabase db;
    AcDbObjectId markId;
    MarkDrawing()
    {
        RenderTestMark::registerAsCustom();
        rendertest::addLayer(db, L"MARKS", 4);
        auto* mark = new RenderTestMark;
        mark->at = AcGePoint3d(10, 20, 0);
        markId = rendertest::append(db, mark, L"MARKS");
    }
    fs::path save(const std::string& name)
    {
        const fs::path out = fendo::test::scratchDir("proxy") / name;
        std::string error;
        EXPECT_EQ(db.dxfOut(out.wstring(), &error), Acad::eOk) << error;
        return out;
    }
};

TEST(ProxyGraphicsWriter, EncodesCommandsWithSizesThatAddUpAndBracketsFilledPolygons)
{
    MarkDrawing d;
    auto* mark = fendo::db::peekObject<RenderTestMark>(d.markId);
    ASSERT_NE(mark, nullptr);
    const std::vector<std::uint8_t> data = fendo::gi::proxyGraphicsFor(*mark);
    ASSERT_GE(data.size(), 16u);
    EXPECT_EQ(u32At(data, 0), data.size());
    std::vector<std::uint32_t> commands;
    for (size_t at = 8; at < data.size();) {
        const std::uint32_t size = u32At(data, at);
        ASSERT_GE(size, 8u);
        ASSERT_EQ(size % 4, 0u);
        commands.push_back(u32At(data, at + 4));
        at += size;
        ASSERT_LE(at, data.size());
    }
    EXPECT_EQ(commands.size(), u32At(data, 4));
    auto cmd = [](ProxyCommand c) { return static_cast<std::uint32_t>(c); };
    // Extents and the layer first, then what worldDraw drew, in order.
    const std::vector<std::uint32_t> expected = {
        cmd(ProxyCommand::Extents), cmd(ProxyCommand::Layer),  cmd(ProxyCommand::Polyline),
        cmd(ProxyCommand::Polyline), cmd(ProxyCommand::Circle), cmd(ProxyCommand::Color),
        cmd(ProxyCommand::Fill),    cmd(ProxyCommand::Polygon), cmd(ProxyCommand::Fill),
        cmd(ProxyCommand::Color),   cmd(ProxyCommand::UnicodeText2)};
    EXPECT_EQ(commands, expected);

    // An entity that draws nothing has no proxy graphics at all.
    struct Nothing : RenderTestMark {
        bool worldDraw(AcGiWorldDraw*) override { return true; }
    } nothing;
    EXPECT_TRUE(fendo::gi::proxyGraphicsFor(nothing).empty());
}

TEST(ProxyGraphicsDxf, AReaderWithoutTheClassDrawsTheSavedObject)
{
    if (!fendo::test::haveEzdxf()) GTEST_SKIP() << "/usr/bin/python3 has no ezdxf";
    MarkDrawing d;
    const fs::path out = d.save("mark.dxf");
    const auto run = fendo::test::runPython(R"(
import ezdxf
from ezdxf.proxygraphic import ProxyGraphic
doc = ezdxf.readfile(')" + out.string() + R"(')
marks = doc.modelspace().query('FENDOTESTMARK')
assert len(marks) == 1, len(marks)
data = marks[0].proxy_graphic
assert data, 'no proxy graphics'
for e in ProxyGraphic(data, doc).virtual_entities():
    d = e.dxf
    extra = ''
    if e.dxftype() == 'TEXT': extra = d.text + '@%g,%g' % (d.insert.x, d.insert.y)
    if e.dxftype() == 'CIRCLE': extra = 'r%g@%g,%g' % (d.radius, d.center.x, d.center.y)
    if e.dxftype() == 'POLYLINE': extra = '%d' % len(list(e.points()))
    print(e.dxftype(), d.layer, d.color, extra)
)");
    ASSERT_EQ(run.exitCode, 0) << run.output;
    EXPECT_EQ(run.output,
              "POLYLINE MARKS 256 2\n"
              "POLYLINE MARKS 256 2\n"
              "CIRCLE MARKS 256 r2@10,20\n"
              "HATCH MARKS 1 \n"
              "TEXT MARKS 256 M1@12.5,20\n");
}

TEST(ProxyGraphicsDxf, ProxyGraphicsReadBackAreReplacedNotRepeated)
{
    MarkDrawing d;
    const fs::path first = d.save("first.dxf");
    AcDbDatabase again(false);
    std::string error;
    ASSERT_EQ(again.readDxfFile(first.wstring(), &error), Acad::eOk) << error;
    const fs::path second = fendo::test::scratchDir("proxy") / "second.dxf";
    ASSERT_EQ(again.dxfOut(second.wstring(), &error), Acad::eOk) << error;
    const std::string a = fendo::test::readFile(first), b = fendo::test::readFile(second);
    auto count = [](const std::string& text, const std::string& part) {
        size_t n = 0;
        for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
        return n;
    };
    EXPECT_EQ(count(a, "\n 92\n"), 1u);
    EXPECT_EQ(count(b, "\n 92\n"), 1u);
    const size_t pa = a.find("\n 92\n"), pb = b.find("\n 92\n");
    EXPECT_EQ(a.substr(pa, a.find("\n100\n", pa) - pa), b.substr(pb, b.find("\n100\n", pb) - pb));
}

TEST(PlainExport, CustomObjectsBecomeTheirExplodedPiecesAndTheDrawingKeepsThem)
{
    MarkDrawing d;
    const fs::path out = fendo::test::scratchDir("proxy") / "plain.dxf";
    fendo::dxf::DxfWriteOptions plain;
    plain.explodeCustomObjects = true;
    std::string error;
    ASSERT_EQ(fendo::dxf::writeDxfFile(d.db, out.wstring(), plain, &error), Acad::eOk) << error;
    const std::string text = fendo::test::readFile(out);
    EXPECT_EQ(text.find("FENDOTESTMARK"), std::string::npos);
    EXPECT_EQ(text.find("RenderTestMark"), std::string::npos);
    // The drawing still holds the mark, and its file name is not the export's.
    EXPECT_NE(fendo::db::peekObject<RenderTestMark>(d.markId), nullptr);
    EXPECT_NE(d.db.filename(), out.wstring());
    EXPECT_NE(fendo::test::readFile(d.save("kept.dxf")).find("FENDOTESTMARK"), std::string::npos);

    if (!fendo::test::haveEzdxf()) GTEST_SKIP() << "/usr/bin/python3 has no ezdxf";
    const auto run = fendo::test::runPython(R"(
import ezdxf
doc = ezdxf.readfile(')" + out.string() + R"(')
auditor = doc.audit()
assert not auditor.has_errors, [str(e.message) for e in auditor.errors]
handles = [e.dxf.handle for e in doc.entitydb.values()]
assert len(handles) == len(set(handles))
print(sorted((e.dxftype(), e.dxf.layer) for e in doc.modelspace()))
)");
    ASSERT_EQ(run.exitCode, 0) << run.output;
    EXPECT_EQ(run.output,
              "[('CIRCLE', 'MARKS'), ('LINE', 'MARKS'), ('LINE', 'MARKS'), ('TEXT', 'MARKS')]\n");
}

}  // namespace
