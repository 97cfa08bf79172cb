// fendo's pictures and plain export end to end: --render, --window, --size, the RENDER and
// EXPORTPLAIN commands, and survey points saved with proxy graphics.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/TestSupport.h"

namespace {

namespace fs = std::filesystem;
using fendo::test::readFile;
using fendo::test::runFendo;
using fendo::test::scratchDir;
using fendo::test::writeFile;

// A red line and a blue circle, written as the shortest drawing file readers accept.
fs::path lineAndCircle()
{
    const fs::path path = scratchDir("render-app") / "input.dxf";
    writeFile(path,
              "0\nSECTION\n2\nENTITIES\n"
              "0\nLINE\n8\n0\n62\n1\n10\n0\n20\n0\n30\n0\n11\n100\n21\n50\n31\n0\n"
              "0\nCIRCLE\n8\n0\n62\n5\n10\n50\n20\n25\n30\n0\n40\n10\n"
              "0\nENDSEC\n0\nEOF\n");
    return path;
}

std::pair<unsigned, unsigned> pngSize(const fs::path& png)
{
    const std::string b = readFile(png);
    if (b.size() < 24 || b.substr(1, 3) != "PNG") return {0, 0};
    auto be32 = [&](size_t at) {
        unsigned v = 0;
        for (size_t i = 0; i < 4; ++i) v = (v << 8) | static_cast<unsigned char>(b[at + i]);
        return v;
    };
    return {be32(16), be32(20)};
}

TEST(FendoRender, OptionsDrawThePictureWhenTheInputEnds)
{
    const fs::path dir = scratchDir("render-app");
    const fs::path png = dir / "out.png";
    auto run = runFendo({"--no-module", lineAndCircle().string(), "--render", png.string(), "--size", "320x240"}, "");
    ASSERT_EQ(run.exitCode, 0) << run.output;
    EXPECT_EQ(pngSize(png), std::make_pair(320u, 240u));

    const fs::path svg = dir / "out.svg";
    run = runFendo({"--no-module", lineAndCircle().string(), "--render", svg.string(), "--window", "40,15,60,35"}, "");
    ASSERT_EQ(run.exitCode, 0) << run.output;
    const std::string text = readFile(svg);
    EXPECT_NE(text.find("width=\"1600pt\""), std::string::npos);
    EXPECT_NE(text.find("rgb(0%,0%,100%)"), std::string::npos);

    // Mistakes are reported before anything runs.
    for (std::vector<std::string> bad : {std::vector<std::string>{"--render", (dir / "x.jpg").string()},
                                         {"--render", png.string(), "--window", "1,2,3"},
                                         {"--render", png.string(), "--size", "big"}}) {
        bad.insert(bad.begin(), "--no-module");
        run = runFendo(bad, "");
        EXPECT_NE(run.exitCode, 0) << bad[2];
        EXPECT_NE(run.output.find("fendo: bad --"), std::string::npos) << run.output;
    }
}

TEST(FendoRender, TheRenderCommandTakesAFileAndAnOptionalWindow)
{
    const fs::path dir = scratchDir("render-app");
    const fs::path whole = dir / "cmd whole.svg", part = dir / "cmd-part.svg";
    const auto run = runFendo({"--no-module", lineAndCircle().string()},
                              "RENDER " + whole.string() + "\nRENDER " + part.string() + " 0,0 10,10\nRENDER x.bmp\n");
    ASSERT_EQ(run.exitCode, 0) << run.output;
    EXPECT_NE(run.output.find("Rendered " + whole.string() + "."), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("cannot render"), std::string::npos) << run.output;
    // The window near the line's start leaves the circle out.
    EXPECT_NE(readFile(whole).find("rgb(0%,0%,100%)"), std::string::npos);
    EXPECT_EQ(readFile(part).find("rgb(0%,0%,100%)"), std::string::npos);
    EXPECT_NE(readFile(part).find("rgb(100%,0%,0%)"), std::string::npos);
}

// A measured survey point of the companion library, as a drawing file holds it.
fs::path surveyPoint()
{
    const fs::path path = scratchDir("render-app") / "point.dxf";
    writeFile(path,
              "0\nSECTION\n2\nHEADER\n9\n$ACADVER\n1\nAC1021\n0\nENDSEC\n"
              "0\nSECTION\n2\nTABLES\n0\nTABLE\n2\nLAYER\n70\n1\n"
              "0\nLAYER\n2\nSURVEY\n70\n0\n62\n3\n6\nCONTINUOUS\n0\nENDTAB\n0\nENDSEC\n"
              "0\nSECTION\n2\nENTITIES\n"
              "0\nKVOMEASUREPOINT\n5\nA0\n100\nAcDbEntity\n8\nSURVEY\n"
              "100\nKvoDbPointObj\n10\n5\n20\n5\n30\n12.3\n300\nP1\n301\n\n302\n\n50\n0\n"
              "100\nKvoDbMeasurePointObj\n170\n195\n171\n1\n90\n0\n140\n2\n141\n1\n142\n1\n143\n1\n"
              "0\nENDSEC\n0\nEOF\n");
    return path;
}

TEST(FendoExport, SurveyPointsCarryProxyGraphicsAndThePlainExportExplodesThem)
{
    const fs::path dir = scratchDir("render-app");
    const fs::path kept = dir / "kept.dxf", plain = dir / "plain.dxf", plain2 = dir / "plain2.dxf";
    const auto run = runFendo({surveyPoint().string(), "-o", kept.string(), "--export-plain", plain.string()},
                              "EXPORTPLAIN " + plain2.string() + "\n");
    ASSERT_EQ(run.exitCode, 0) << run.output;
    EXPECT_NE(run.output.find("Exported " + plain2.string() + "."), std::string::npos) << run.output;
    EXPECT_NE(readFile(kept).find("KVOMEASUREPOINT"), std::string::npos);
    for (const fs::path& p : {plain, plain2}) {
        const std::string text = readFile(p);
        EXPECT_EQ(text.find("KVOMEASUREPOINT"), std::string::npos) << p;
        EXPECT_NE(text.find("\nPOINT\n"), std::string::npos) << p;
        EXPECT_NE(text.find("\n12.30\n"), std::string::npos) << p;
    }

    if (!fendo::test::haveEzdxf()) GTEST_SKIP() << "/usr/bin/python3 has no ezdxf";
    const auto check = fendo::test::runPython(R"(
import ezdxf
from ezdxf.proxygraphic import ProxyGraphic
doc = ezdxf.readfile(')" + kept.string() + R"(')
point = doc.modelspace().query('KVOMEASUREPOINT')[0]
for e in ProxyGraphic(point.proxy_graphic, doc).virtual_entities():
    print(e.dxftype(), e.dxf.layer, e.dxf.color, e.dxf.text if e.dxftype() == 'TEXT' else '')
plain = ezdxf.readfile(')" + plain.string() + R"(')
print(sorted(e.dxftype() + ' ' + e.dxf.layer for e in plain.modelspace()))
)");
    ASSERT_EQ(check.exitCode, 0) << check.output;
    EXPECT_EQ(check.output,
              "POLYLINE SURVEY 1 \n"
              "POLYLINE SURVEY 1 \n"
              "TEXT SURVEY 1 12.30\n"
              "['POINT SURVEY', 'TEXT SURVEY']\n");
}

}  // namespace
