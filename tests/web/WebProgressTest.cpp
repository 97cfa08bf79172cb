// The progress meter reaches the page even where no terminal bar is drawn: each redraw, at most
// once per percent and in order, then the stop.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "host/editor/ProgressMeter.h"
#include "host/editor/aced.h"

using namespace fendo::editor;

TEST(WebProgress, TheObserverSeesEveryRedrawAndTheStopWithoutATerminalBar)
{
    std::vector<std::pair<std::string, int>> seen;
    progressMeter().setDisplay(ProgressDisplay::Never);
    progressMeter().setObserver([&](const std::string& label, int percent) { seen.emplace_back(label, percent); });
    acedSetStatusBarProgressMeter(L"Nối text", 0, 200000);
    for (int i = 0; i <= 200000; ++i) acedSetStatusBarProgressMeterPos(i);
    acedRestoreStatusBar();
    progressMeter().setObserver(nullptr);
    progressMeter().setDisplay(ProgressDisplay::Auto);

    ASSERT_GE(seen.size(), 3u);  // the start, the end and the stop at least
    ASSERT_LE(seen.size(), 103u);
    EXPECT_EQ(seen.front(), (std::pair<std::string, int> { "Nối text", 0 }));
    EXPECT_EQ(seen[seen.size() - 2].second, 100);
    EXPECT_EQ(seen.back().second, -1);
    for (std::size_t i = 1; i + 1 < seen.size(); ++i) EXPECT_GT(seen[i].second, seen[i - 1].second);

    // Without an observer nothing more is told.
    acedSetStatusBarProgressMeter(L"x", 0, 10);
    acedRestoreStatusBar();
    EXPECT_EQ(seen.back().second, -1);
}
