// "TESTH" driven through fendo scripts: what the list holds for the files of the module folder, and
// the preview a chosen entry draws.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <regex>

#include "PngImage.h"
#include "support/ModuleFolder.h"
#include "support/TestDrawing.h"
#include "support/TestSupport.h"

namespace fs = std::filesystem;
using namespace fendo::test;

namespace {

constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kBlack = 0x000000;

// A private module folder holding the given files, and a private cache folder for previews.
class BrowserFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_cache = scratchDir("cache");
        setenv("XDG_CACHE_HOME", m_cache.c_str(), 1);
    }
    void TearDown() override { unsetenv("XDG_CACHE_HOME"); }

    fs::path folder() const { return m_module.module().parent_path(); }
    void addFile(const std::string& name, const std::string& text = "*X\n0,0,0,0,1\n")
    {
        writeFile(folder() / name, text);
    }
    RunResult browse(const std::string& answers)
    {
        return runFendo({"--module", m_module.module().string()}, "TESTH\n" + answers);
    }
    fs::path previewFolder() const { return m_cache / "KVO" / "Quorin" / "patterns"; }

    ModuleFolder m_module{"browser"};
    fs::path m_cache;
};

// The entries line of the list box 1000.
std::string listEntries(const std::string& output)
{
    const std::size_t list = output.find("1000  list");
    if (list == std::string::npos) return "(no list)";
    const std::size_t start = output.find('\n', list) + 1;
    const std::size_t end = output.find('\n', start);
    const std::string line = output.substr(start, end - start);
    return line.substr(line.find_first_not_of(' '));
}

// The last path the preview line showed, or "" when it showed none.
std::string lastPreview(const std::string& output)
{
    static const std::regex line("1030  preview AcHatchPreview ([^\\n]*)");
    std::string last;
    for (std::sregex_iterator it(output.begin(), output.end(), line), end; it != end; ++it) last = (*it)[1];
    return last == "(empty)" ? "" : last;
}

}  // namespace

TEST_F(BrowserFixture, ListsPatternFilesByNameSortedWithoutTheHostsOwn)
{
    addFile("Zigzag.pat");
    addFile("Brick.PAT");
    addFile("my.dots.pat");
    addFile("ACAD.pat");
    addFile("notes.txt");
    addFile("old.pat.bak");
    addFile(".pat");
    fs::create_directories(folder() / "folder.pat");
    const RunResult run = browse("click 2\n");
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_EQ(listEntries(run.output), "#0 Brick | #1 my.dots | #2 Zigzag") << run.output;
    // Cancel and OK both close the dialog without a message.
    EXPECT_NE(run.output.find("Command:"), std::string::npos);
}

TEST_F(BrowserFixture, AFolderWithOnlyTheHostsPatternFileGivesAnEmptyList)
{
    addFile("AcAd.PaT");
    const RunResult run = browse("click 1\n");
    EXPECT_EQ(listEntries(run.output), "(no entries)") << run.output;
    EXPECT_EQ(lastPreview(run.output), "");
}

TEST_F(BrowserFixture, ChoosingAnEntryPreviewsItWhiteOnBlackAtScaleTen)
{
    // One family of horizontal lines 1 apart, the first at y = 0.5: at scale 10 the 100 units
    // around the origin hold ten lines, 10 units (25.6 pixels) apart.
    addFile("Stripes.PAT", "*STRIPES, horizontal lines\n0, 0,0.5, 0,1\n");
    addFile("Posts.pat", "*Posts\n90, 0,0, 0,2\n");
    const RunResult run = browse("1000=stripes\nclick 1\n");
    const std::string shown = lastPreview(run.output);
    ASSERT_FALSE(shown.empty()) << run.output;
    EXPECT_EQ(fs::path(shown).parent_path(), previewFolder());

    const PngImage png(shown);
    ASSERT_TRUE(png.ok());
    ASSERT_EQ(png.width(), 256);
    ASSERT_EQ(png.height(), 256);
    int lines = 0;
    for (int y = 0; y < 256; ++y) {
        const int white = png.count(kWhite, 0, y, 256, y + 1);
        // Every row is either a whole line or background: the lines run straight across.
        EXPECT_TRUE(white == 0 || white == 256) << "row " << y << " has " << white << " white pixels";
        lines += white == 256;
    }
    EXPECT_EQ(lines, 10);
    EXPECT_EQ(png.count(kWhite, 0, 0, 256, 256) + png.count(kBlack, 0, 0, 256, 256), 256 * 256);
}

TEST_F(BrowserFixture, ANewChoiceReplacesTheOldPreview)
{
    addFile("Stripes.pat", "*Stripes\n0, 0,0.5, 0,1\n");
    addFile("Posts.pat", "*Posts\n90, 0,0, 0,2\n");
    const RunResult run = browse("1000=Stripes\n1000=Posts\nclick 1\n");
    const std::string shown = lastPreview(run.output);
    ASSERT_EQ(fs::path(shown).filename(), "Posts.png") << run.output;
    std::vector<fs::path> kept;
    for (const auto& entry : fs::directory_iterator(previewFolder())) kept.push_back(entry.path().filename());
    EXPECT_EQ(kept, std::vector<fs::path>{"Posts.png"});
    // Vertical lines 20 units apart: columns, not rows.
    const PngImage png(shown);
    ASSERT_TRUE(png.ok());
    EXPECT_EQ(png.count(kWhite, 0, 100, 256, 101), 5);
    EXPECT_EQ(png.count(kWhite, 0, 0, 256, 256), 5 * 256);
}

TEST_F(BrowserFixture, APatternTheControlCannotReadShowsNothingAndSaysNothing)
{
    addFile("Broken.pat", "*Broken\n0,0,zero,0,1\n");
    addFile("Misnamed.pat", "*OTHER\n0,0,0,0,1\n");
    const RunResult run = browse("1000=Broken\n1000=Misnamed\nclick 1\n");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(lastPreview(run.output), "") << run.output;
    EXPECT_EQ(run.output.find("expected"), std::string::npos) << run.output;
    EXPECT_EQ(run.output.find("no pattern"), std::string::npos) << run.output;
}

TEST_F(BrowserFixture, TheDrawingIsLeftAsItWas)
{
    addFile("Stripes.pat", "*Stripes\n0, 0,0.5, 0,1\n");
    TestDrawing drawing;
    const fs::path path = drawing.save("browse.dxf");
    const fs::path out = scratchDir("browse-out") / "out.dxf";
    const RunResult run = runFendo({path.string(), "--module", m_module.module().string(), "-o", out.string()},
                                   "TESTH\n1000=#0\nclick 1\nTESTH\n1000=#0\nclick 2\n");
    EXPECT_EQ(run.exitCode, 0) << run.output;
    auto result = loadDrawing(out);
    ASSERT_TRUE(result);
    EXPECT_TRUE(modelSpaceEntities(*result).empty());
}
