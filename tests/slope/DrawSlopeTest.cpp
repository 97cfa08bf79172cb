// "TL" through fendo: the step dialog, the picks, the range and what the settings file
// gives to the new symbol and takes back from it.
#include <gtest/gtest.h>

#include "slope/SlopeTestSupport.h"

using namespace fendo::test;
using namespace fendo::test::slope;

namespace {

constexpr double kTol = 1e-6;
using Flag = TaluyObj::Flag;

// Every line differs from the object's defaults, so that applying the file shows.
constexpr const char* kTwelveLines = "1\n3\n4\n8\n3\n0.25\n2.5\n1\n3\n0.4\n0.8\n1\n";

// An edge along +x from 0,0 to 20,0 and a longer toe 10 below it.
void edgeAndToe(TestDrawing& d)
{
    addPolyline(d, {0, 0, 20, 0});
    addPolyline(d, {-5, -10, 25, -10});
}

// TL with the dialog answers, the edge picked at 10,0, the toe at `toePick`, then the range answers.
std::unique_ptr<SlopeRun> drawSlope(const SlopeFolder& folder, const std::string& dialog,
                                    const std::string& toePick, const std::string& range)
{
    TestDrawing d;
    edgeAndToe(d);
    return runSlope(folder, d, "TL\n" + dialog + "\n10,0\n" + toePick + "\n" + range);
}

}  // namespace

TEST(DrawSlope, CancellingTheDialogLeavesDrawingAndSettingsUnchanged)
{
    SlopeFolder folder;
    folder.writeSettings(kTwelveLines);
    TestDrawing d;
    edgeAndToe(d);
    const auto s = runSlope(folder, d, "TL\n1006=3\n^C\n");
    ASSERT_TRUE(s->result) << s->run.output;
    EXPECT_TRUE(s->symbols.empty());
    EXPECT_EQ(modelSpaceEntities(*s->result).size(), 2u);
    EXPECT_EQ(folder.settingsText(), kTwelveLines);
}

// Enter at the start point takes the whole edge; two points limit the symbol to their
// stretch, in the edge's direction whatever order they come in.
TEST(DrawSlope, TheRangeIsTheWholeEdgeOrTheStretchBetweenThePickedPoints)
{
    struct Case {
        const char* range;
        double start, end;
        size_t longTicks;
    };
    for (const Case& c : {Case{"\n", 0, 20, 5}, Case{"16,3\n4,-2\n", 4, 16, 3}}) {
        SCOPED_TRACE(c.range);
        SlopeFolder folder;
        const auto s = drawSlope(folder, "1006=5\n1007=1\n", "10,-10", c.range);
        ASSERT_EQ(s->symbols.size(), 1u) << s->run.output;
        const TaluyObj& t = *s->symbols[0];
        EXPECT_FALSE(t.flag(Flag::NoToe));
        EXPECT_NEAR(t.startPoint().x, c.start, kTol);
        EXPECT_NEAR(t.endPoint().x, c.end, kTol);
        ASSERT_EQ(static_cast<size_t>(t.longTraces().count()), c.longTicks);
        EXPECT_NEAR(t.longTraces().at(0).tip.y, -9.5, kTol);  // towards the toe, 0.5 short of it
    }
}

// The dialog opens with the file's step (2.5) and count (3); a step of 0 becomes 10 and a
// count of 0 becomes 1; the other lines go to the symbol and the file is written back.
TEST(DrawSlope, ATwelveLineFileIsAppliedAndWrittenBackWithTheDialogsStepAndCount)
{
    SlopeFolder folder;
    folder.writeSettings(kTwelveLines);
    const auto s = drawSlope(folder, "1006=0\n1007=0\n", "10,-10", "\n");
    EXPECT_NE(s->run.output.find("1006  edit    \"2.50\""), std::string::npos) << s->run.output;
    ASSERT_EQ(s->symbols.size(), 1u) << s->run.output;
    const TaluyObj& t = *s->symbols[0];
    EXPECT_DOUBLE_EQ(t.divisionLength(), 10.0);
    EXPECT_EQ(t.stepsPerDivision(), 1);
    EXPECT_FALSE(t.flag(Flag::TickForm));
    EXPECT_TRUE(t.flag(Flag::ShowLong));
    EXPECT_EQ(t.shortColor(), 3);
    EXPECT_EQ(t.longColor(), 4);
    EXPECT_DOUBLE_EQ(t.longLength(), 8);
    EXPECT_DOUBLE_EQ(t.shortRatio(), 0.4);
    EXPECT_DOUBLE_EQ(t.triangleWidth(), 0.8);
    ASSERT_EQ(t.longTraces().count(), 3);  // built every 10 with the file's clearance
    EXPECT_NEAR(t.longTraces().at(0).tip.y, -9.75, kTol);
    EXPECT_EQ(folder.settingsLines(), (std::vector<std::string>{"1", "3", "4", "8", "3", "0.25", "10.000000", "1",
                                                                "1", "0.4", "0.8", "1"}));
}

TEST(DrawSlope, AToePickOnEmptySpaceGivesFixedTicksOnTheLeftOfTheEdge)
{
    SlopeFolder folder;
    const auto s = drawSlope(folder, "1006=5\n", "50,50", "\n");
    ASSERT_EQ(s->symbols.size(), 1u) << s->run.output;
    const TaluyObj& t = *s->symbols[0];
    EXPECT_TRUE(t.flag(Flag::NoToe));
    ASSERT_EQ(t.longTraces().count(), 5);
    // The edge runs along +x, so its left is +y; without a file the object's lengths hold.
    for (int i = 0; i < t.longTraces().count(); ++i)
        EXPECT_NEAR(t.longTraces().at(i).tip.y, 10.0, kTol);
    for (int i = 0; i < t.shortTraces().count(); ++i)
        EXPECT_NEAR(t.shortTraces().at(i).tip.y, 5.0, kTol);
}

// A file of 11 lines still gives the dialog its step and count, but neither it nor a
// shorter file is applied to the symbol or rewritten.
TEST(DrawSlope, AShortSettingsFileIsNeitherAppliedNorWritten)
{
    struct Case {
        const char* file;
        double step;
    };
    for (const Case& c : {Case{"1\n3\n4\n8\n3\n0.25\n2.5\n1\n3\n0.4\n0.8\n", 2.5}, Case{"1\n3\n4\n8\n", 10}}) {
        SCOPED_TRACE(c.file);
        SlopeFolder folder;
        folder.writeSettings(c.file);
        const auto s = drawSlope(folder, "", "10,-10", "\n");
        ASSERT_EQ(s->symbols.size(), 1u) << s->run.output;
        const TaluyObj& t = *s->symbols[0];
        EXPECT_DOUBLE_EQ(t.divisionLength(), c.step);
        EXPECT_TRUE(t.flag(Flag::TickForm));
        EXPECT_EQ(t.shortColor(), 1);
        EXPECT_DOUBLE_EQ(t.toeClearance(), 0.5);
        EXPECT_EQ(folder.settingsText(), c.file);
    }
}
