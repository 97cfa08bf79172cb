// Pictures of patterns: swatches from the command line, and hatches in rendered drawings drawn with
// their pattern lines inside their loops.
#include <gtest/gtest.h>

#include <filesystem>

#include "PngImage.h"
#include "support/TestSupport.h"

namespace fs = std::filesystem;
using namespace fendo::test;

namespace {

constexpr std::uint32_t kRed = 0xFF0000;
constexpr std::uint32_t kPage = 0xFFFFFF;

// A HATCH entity in colour `colour` over the square [lo, hi]^2 with an island [ilo, ihi]^2;
// `pattern` holds the groups from the style (75) to the end of the pattern data.
std::string hatchEntity(int colour, double lo, double hi, double ilo, double ihi, const std::string& name, bool solid,
                        const std::string& pattern)
{
    const auto n = [](double v) { return std::to_string(v); };
    const auto square = [&](double a, double b, int flags) {
        return "92\n" + std::to_string(flags) + "\n72\n0\n73\n1\n93\n4\n10\n" + n(a) + "\n20\n" + n(a) + "\n10\n" +
               n(b) + "\n20\n" + n(a) + "\n10\n" + n(b) + "\n20\n" + n(b) + "\n10\n" + n(a) + "\n20\n" + n(b) +
               "\n97\n0\n";
    };
    return "0\nHATCH\n100\nAcDbEntity\n8\n0\n62\n" + std::to_string(colour) +
           "\n100\nAcDbHatch\n10\n0\n20\n0\n30\n0\n210\n0\n220\n0\n230\n1\n2\n" + name + "\n70\n" +
           (solid ? "1" : "0") + "\n71\n0\n91\n2\n" + square(lo, hi, 19) + square(ilo, ihi, 2) + pattern + "98\n0\n";
}

fs::path drawingOf(const std::string& entities)
{
    const fs::path path = scratchDir("hatch-picture") / "hatches.dxf";
    writeFile(path, "0\nSECTION\n2\nENTITIES\n" + entities + "0\nENDSEC\n0\nEOF\n");
    return path;
}

PngImage render(const fs::path& drawing, const std::string& window)
{
    const fs::path png = drawing.parent_path() / "picture.png";
    const RunResult run = runFendo(
        {drawing.string(), "--no-module", "--render", png.string(), "--window", window, "--size", "200x200"}, "\n");
    EXPECT_EQ(run.exitCode, 0) << run.output;
    return PngImage(png);
}

}  // namespace

TEST(HatchPicture, PatternLinesFillTheRingAndLeaveTheIslandEmpty)
{
    // Horizontal lines 2 apart (normal style) over 0..100 with an island 40..60; one pixel is half
    // a unit.
    const std::string lines = "75\n0\n76\n2\n52\n0\n41\n1\n77\n0\n78\n1\n53\n0\n43\n0\n44\n1\n45\n0\n46\n2\n79\n0\n";
    const PngImage png = render(drawingOf(hatchEntity(1, 0, 100, 40, 60, "STRIPES", false, lines)), "0,0,100,100");
    ASSERT_TRUE(png.ok());
    // Island: pixels 80..120 (a border of two pixels left out for the outline's antialiasing).
    EXPECT_EQ(png.countOther(kPage, 84, 84, 116, 116), 0);
    // Ring: a line every 4 pixels (antialiased over up to two rows).
    const int ring = png.countOther(kPage, 20, 20, 60, 180);
    EXPECT_GT(ring, 40 * 160 / 8);
    EXPECT_LT(ring, 40 * 160 * 3 / 4);
    // Beside the island the lines stop at its edges and go on after it.
    EXPECT_GT(png.countOther(kPage, 140, 84, 180, 116), 0);
}

TEST(HatchPicture, OuterStyleAndIgnoreStyleChooseOtherAreas)
{
    const auto with = [](int style) {
        return "75\n" + std::to_string(style) +
               "\n76\n2\n52\n0\n41\n1\n77\n0\n78\n1\n53\n0\n43\n0\n44\n1\n45\n0\n46\n2\n79\n0\n";
    };
    // Ignore: the island is hatched over.
    const PngImage ignore = render(drawingOf(hatchEntity(1, 0, 100, 40, 60, "X", false, with(2))), "0,0,100,100");
    ASSERT_TRUE(ignore.ok());
    EXPECT_GT(ignore.countOther(kPage, 84, 84, 116, 116), 0);
    const PngImage outer = render(drawingOf(hatchEntity(1, 0, 100, 40, 60, "X", false, with(1))), "0,0,100,100");
    ASSERT_TRUE(outer.ok());
    EXPECT_EQ(outer.countOther(kPage, 84, 84, 116, 116), 0);
}

TEST(HatchPicture, APatternNameWithoutLinesIsDrawnFromTheShippedFiles)
{
    // LINES is shipped beside the module: lines at 45 degrees, here at scale 4 (2 units apart).
    const std::string named = "75\n0\n76\n1\n52\n0\n41\n4\n77\n0\n78\n0\n";
    const PngImage png = render(drawingOf(hatchEntity(3, 0, 100, 40, 60, "lines", false, named)), "0,0,100,100");
    ASSERT_TRUE(png.ok());
    const int ring = png.countOther(kPage, 20, 20, 60, 180);
    EXPECT_GT(ring, 40 * 160 / 10);
    EXPECT_LT(ring, 40 * 160 * 3 / 4);
    EXPECT_EQ(png.countOther(kPage, 84, 84, 116, 116), 0);

    // A name no file holds: the loops are outlined, nothing inside.
    const PngImage unknown = render(drawingOf(hatchEntity(3, 0, 100, 40, 60, "NO_SUCH", false, named)), "0,0,100,100");
    ASSERT_TRUE(unknown.ok());
    EXPECT_EQ(unknown.countOther(kPage, 20, 20, 60, 180), 0);
    EXPECT_GT(unknown.countOther(kPage, 0, 0, 200, 200), 0);
}

TEST(HatchPicture, SolidHatchesStayFilled)
{
    const PngImage png =
        render(drawingOf(hatchEntity(1, 0, 100, 40, 60, "SOLID", true, "75\n0\n76\n1\n")), "0,0,100,100");
    ASSERT_TRUE(png.ok());
    EXPECT_EQ(png.count(kRed, 20, 20, 60, 180), 40 * 160);
}

TEST(PatternSwatch, TheCommandLineDrawsPngAndSvgSwatches)
{
    const fs::path dir = scratchDir("swatch");
    writeFile(dir / "grid.pat", "; two families\n*GRID, a grid\n0, 0,0, 0,1\n90, 0,0, 0,1\n");
    const RunResult png = runFendo({"--pattern", (dir / "grid.pat").string(), "Grid", (dir / "grid.png").string(),
                                    "--scale", "25", "--size", "300x200"});
    ASSERT_EQ(png.exitCode, 0) << png.output;
    const PngImage image(dir / "grid.png");
    ASSERT_TRUE(image.ok());
    EXPECT_EQ(image.width(), 300);
    EXPECT_EQ(image.height(), 200);
    // 100 units across the 200 pixels: lines 25 units (50 pixels) apart through the centre.
    EXPECT_EQ(image.count(0xFFFFFF, 0, 50, 300, 51), 300 - image.count(0, 0, 50, 300, 51));
    EXPECT_EQ(image.count(0xFFFFFF, 0, 75, 300, 76), 300 / 50);

    const RunResult svg = runFendo({"--pattern", (dir / "grid.pat").string(), "GRID", (dir / "grid.svg").string()});
    ASSERT_EQ(svg.exitCode, 0) << svg.output;
    EXPECT_NE(readFile(dir / "grid.svg").find("<svg"), std::string::npos);
}

TEST(PatternSwatch, BadFilesNamesAndOptionsExitWithTheReason)
{
    const fs::path dir = scratchDir("swatch-bad");
    writeFile(dir / "bad.pat", "*BAD\n0, 0,0, 0\n");
    writeFile(dir / "good.pat", "*GOOD\n0, 0,0, 0,1\n");
    struct Case {
        std::vector<std::string> args;
        std::string says;
    };
    const Case cases[] = {
        {{(dir / "bad.pat").string(), "BAD", (dir / "x.png").string()}, "bad.pat:2: expected a line family"},
        {{(dir / "good.pat").string(), "OTHER", (dir / "x.png").string()}, "has no pattern \"OTHER\""},
        {{(dir / "none.pat").string(), "GOOD", (dir / "x.png").string()}, "cannot be read"},
        {{(dir / "good.pat").string(), "GOOD", (dir / "x.bmp").string()}, "must end in .svg or .png"},
        {{(dir / "good.pat").string(), "GOOD", (dir / "x.png").string(), "--scale", "-1"}, "scale must be"},
        {{(dir / "good.pat").string(), "GOOD", (dir / "x.png").string(), "--size", "0x10"}, "expected WIDTHxHEIGHT"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args{"--pattern"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const RunResult run = runFendo(args);
        EXPECT_NE(run.exitCode, 0) << c.says;
        EXPECT_NE(run.output.find(c.says), std::string::npos) << run.output;
    }
    EXPECT_FALSE(fs::exists(dir / "x.png"));
}
