// "HCTL" through fendo: one editor per kind of symbol, and the editors' actions driven with
// the DIALOG command; "KÕt thóc" writes the settings file.
#include <gtest/gtest.h>

#include "slope/SlopeTestSupport.h"

using namespace fendo::test;
using namespace fendo::test::slope;

namespace {

constexpr double kTol = 1e-6;
using Flag = TaluyObj::Flag;

// With toe: edge along +x at height y from 0 to 20, toe 10 below, long ticks every 5 down to
// y - 9.5, short ticks to y - 5. Picking at 10,y-3 hits the long tick at x = 10.
void symbolWithToe(TestDrawing& d, double y = 0) { addSymbol(d, {0, y, 20, y}, {-5, y - 10, 25, y - 10}); }
// Without toe: ticks of 10 and 5 towards +y. Picking at 10,y+3 hits the long tick at x = 10.
void symbolWithoutToe(TestDrawing& d, double y = 0) { addSymbol(d, {0, y, 20, y}, {}); }

size_t occurrences(const std::string& text, const std::string& what)
{
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

std::vector<double> tipHeights(const ListTraces& traces)
{
    std::vector<double> heights;
    for (int i = 0; i < traces.count(); ++i) heights.push_back(traces.at(i).tip.y);
    return heights;
}

}  // namespace

TEST(EditSlope, RunningItAgainOnTheSameKindReplacesTheEditor)
{
    SlopeFolder folder;
    TestDrawing d;
    symbolWithToe(d);
    symbolWithToe(d, 100);
    symbolWithoutToe(d, 200);
    const auto s = runSlope(folder, d, "HCTL\n10,-3\nHCTL\n10,203\nHCTL\n10,97\nDIALOG ?\n"
                                       "DIALOG 2\n1009=10\nclick 1042\ndone\n");
    EXPECT_EQ(occurrences(s->run.output, "(dialog 151)"), 1u) << s->run.output;
    EXPECT_EQ(occurrences(s->run.output, "(dialog 197)"), 1u) << s->run.output;
    // The editor shows the symbol's fields in their formats and its combo entries decoded.
    EXPECT_NE(s->run.output.find("1012  edit    \"0.5\""), std::string::npos) << s->run.output;
    EXPECT_NE(s->run.output.find("#0 K\u1EBB | #1 Tam gi\u00E1c"), std::string::npos) << s->run.output;
    ASSERT_EQ(s->symbols.size(), 3u);
    EXPECT_EQ(s->symbols[0]->longTraces().count(), 5);
    // "CËp nhËt" rebuilt the second symbol every 10.
    EXPECT_DOUBLE_EQ(s->symbols[1]->divisionLength(), 10);
    EXPECT_EQ(s->symbols[1]->longTraces().count(), 3);
}

// The display form and the flag boxes copy the fields but leave the ticks as they were; the
// long-tick box only takes answers in triangle form.
TEST(EditSlope, DisplayFormAndFlagsChangeWithoutRebuilding)
{
    SlopeFolder folder;
    TestDrawing d;
    symbolWithoutToe(d);
    const auto s =
        runSlope(folder, d, "HCTL\n10,3\nDIALOG\n1039=on\n1009=10\n1033=#1\n1039=on\n1020=on\ndone\n");
    EXPECT_NE(s->run.output.find("control 1039 is disabled"), std::string::npos) << s->run.output;
    ASSERT_EQ(s->symbols.size(), 1u);
    const TaluyObj& t = *s->symbols[0];
    EXPECT_FALSE(t.flag(Flag::TickForm));
    EXPECT_TRUE(t.flag(Flag::ShowLong));
    EXPECT_TRUE(t.flag(Flag::Reversed));
    EXPECT_DOUBLE_EQ(t.divisionLength(), 10);
    EXPECT_EQ(tipHeights(t.longTraces()), std::vector<double>(5, 10.0));  // every 5, first side
    EXPECT_TRUE(folder.settingsText().empty());  // only "KÕt thóc" writes the file
}

TEST(EditSlope, TrimButtonsCutOnlyTheirOwnTicksAtThePickedPolyline)
{
    SlopeFolder folder;
    TestDrawing d;
    symbolWithToe(d);
    addPolyline(d, {-5, -4, 25, -4});  // both cutters cross both kinds of tick
    addPolyline(d, {-5, -2, 25, -2});
    const auto s = runSlope(folder, d, "HCTL\n10,-3\nDIALOG\nclick 1034\n-3,-4\nclick 1035\n-3,-2\ndone\n");
    ASSERT_EQ(s->symbols.size(), 1u) << s->run.output;
    EXPECT_EQ(tipHeights(s->symbols[0]->longTraces()), std::vector<double>(5, -4.0));
    EXPECT_EQ(tipHeights(s->symbols[0]->shortTraces()), std::vector<double>(4, -2.0));
}

TEST(EditSlope, PickSlopesAppliesOnlyTheFieldsOfEachSymbolsKind)
{
    SlopeFolder folder;
    TestDrawing d;
    symbolWithToe(d);          // edited
    symbolWithToe(d, 100);     // picked, same kind
    symbolWithoutToe(d, 200);  // picked, other kind
    const auto s = runSlope(folder, d,
                            "HCTL\n10,-3\nDIALOG\n1009=10\n1006=1.5\n1012=0.3\n1033=#1\n1019=5\n"
                            "click 1007\nc -10,80 30,220\n\ndone\n");
    ASSERT_EQ(s->symbols.size(), 3u) << s->run.output;
    // The edited symbol took the fields with the form change but, not picked, was not rebuilt.
    EXPECT_EQ(s->symbols[0]->longTraces().count(), 5);
    for (const TaluyObj* t : {s->symbols[1], s->symbols[2]}) {
        EXPECT_DOUBLE_EQ(t->divisionLength(), 10);
        EXPECT_EQ(t->longTraces().count(), 3);
        EXPECT_FALSE(t->flag(Flag::TickForm));
        EXPECT_EQ(t->shortColor(), 5);
    }
    EXPECT_DOUBLE_EQ(s->symbols[1]->toeClearance(), 1.5);
    EXPECT_DOUBLE_EQ(s->symbols[1]->shortRatio(), 0.3);
    EXPECT_DOUBLE_EQ(s->symbols[2]->toeClearance(), 0.5);
    EXPECT_DOUBLE_EQ(s->symbols[2]->shortRatio(), 0.5);
}

// "KÕt thóc" rebuilds the symbol and writes twelve lines: the dialog's texts, and for the
// lines it does not show the old file's values when it has 11 lines or more, else defaults.
TEST(EditSlope, FinishWritesTwelveLinesWithCarriedOverOrDefaultValues)
{
    struct Case {
        bool withToe;
        const char* oldFile;  // nullptr: no file
        std::vector<std::string> expected;
    };
    const std::vector<Case> cases = {
        {false, nullptr, {"1", "5", "256", "7", "5.00", "0.5", "10", "1", "2", "0.5", "0.50", "1"}},
        {false, "0\n1\n256\n9\n9\n0.75\n9\n1\n1\n0.25\n9\n",
         {"1", "5", "256", "7", "5.00", "0.75", "10", "1", "2", "0.25", "0.50", "1"}},
        {true, "0\n1\n256\n9\n9\n0.75\n9\n1\n1\n0.25\n",
         {"1", "5", "256", "10", "5", "0.50", "10", "1", "2", "0.5", "0.50", "1"}},
        {true, "0\n1\n256\n12\n6\n0.75\n9\n1\n1\n0.25\n9\n0\n",
         {"1", "5", "256", "12", "6", "0.50", "10", "1", "2", "0.5", "0.50", "1"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.oldFile ? c.oldFile : "no file");
        SlopeFolder folder;
        if (c.oldFile) folder.writeSettings(c.oldFile);
        TestDrawing d;
        c.withToe ? symbolWithToe(d) : symbolWithoutToe(d);
        const std::string pick = c.withToe ? "10,-3\n" : "10,3\n";
        const std::string kindAnswers = c.withToe ? "1020=on\n" : "1039=on\n1036=7\n";
        const auto s = runSlope(folder, d, "HCTL\n" + pick + "DIALOG\n1033=#1\n" + kindAnswers +
                                               "1019=5\n1009=10\n1011=2\nclick 1\nDIALOG ?\n");
        EXPECT_NE(s->run.output.find("No dialog is open"), std::string::npos) << s->run.output;
        EXPECT_EQ(folder.settingsLines(), c.expected);
        ASSERT_EQ(s->symbols.size(), 1u);
        EXPECT_EQ(s->symbols[0]->longTraces().count(), 3);  // rebuilt every 10
    }
}
