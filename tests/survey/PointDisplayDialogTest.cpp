// "HCD": the dialog's controls, each pick applied at once, and a pick that
// finds no point.
#include <gtest/gtest.h>

#include <numbers>

#include "survey/SurveyTestSupport.h"

using namespace fendo::test;

namespace {
void addPoints(TestDrawing& d)
{
    for (const double x : {0.0, 10.0, 100.0}) d.add(newSurveyPoint(x, 0, 5));
}
}  // namespace

TEST(EditPointDisplay, OnlyTheTickedChangesApplyToThePickedPoints)
{
    TestDrawing d;
    addPoints(d);
    const std::vector<SurveyPoint> before = [&] {
        auto db = loadDrawing(d.save("before.dxf"));
        return surveyPoints(*db);
    }();
    const Session s = surveySession(d, "HCD\n1021=on\n1007=90\n1006=7\nclick 1029\nw -5,-5 20,5\n\nclick 1\n");
    ASSERT_TRUE(s.result) << s.run.output;
    EXPECT_NE(s.run.output.find("Hiệu chỉnh"), std::string::npos) << s.run.output;
    EXPECT_NE(s.run.output.find("Chọn điểm đo cần hiệu chỉnh:"), std::string::npos);
    const auto after = surveyPoints(*s.result);
    ASSERT_EQ(after.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_DOUBLE_EQ(after[i].rotation, i < 2 ? std::numbers::pi / 2 : 0.0) << i;
        EXPECT_EQ(after[i].colourIndex, before[i].colourIndex);
        EXPECT_EQ(after[i].textHeight, before[i].textHeight);
    }
}

TEST(EditPointDisplay, EachPickAppliesAtOnceAndAnEmptyPickSaysSo)
{
    TestDrawing d;
    addPoints(d);
    // Colour and height to the first point; a pick of nothing; then the dialog is
    // cancelled, which keeps what the pick did.
    const Session s = surveySession(d, "HCD\n1020=on\n1006=3.5m\n1022=on\n1037=3\nclick 1029\n-0.1,0\n\n"
                                       "click 1029\n\n^C\n");
    ASSERT_TRUE(s.result) << s.run.output;
    EXPECT_NE(s.run.output.find("Khong phai doi tuong diem."), std::string::npos) << s.run.output;
    const auto after = surveyPoints(*s.result);
    ASSERT_EQ(after.size(), 3u);
    EXPECT_EQ(after[0].colourIndex, 3);
    EXPECT_DOUBLE_EQ(after[0].textHeight, 3.5);
    EXPECT_DOUBLE_EQ(after[0].rotation, 0.0);
    EXPECT_NE(after[1].colourIndex, 3);
    EXPECT_NE(after[1].textHeight, 3.5);
}
