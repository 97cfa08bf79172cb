// Pattern lines cut by hatch loops: what each hatch style fills, dashes and dots, lines through
// vertices, and patterns too dense to draw.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "host/hatch/PatternStrokes.h"

using namespace fendo::hatch;

namespace {

HatchLoop square(double lo, double hi, bool outermost = false)
{
    return {{{lo, lo}, {hi, lo}, {hi, hi}, {lo, hi}}, outermost};
}

// Horizontal lines one unit apart, the first at y = 0.5.
DefinitionLine horizontalLines(std::vector<double> dashes = {})
{
    return {0.0, AcGePoint2d(0, 0.5), AcGeVector2d(0, 1), std::move(dashes)};
}

double totalLength(const std::vector<PatternStroke>& strokes)
{
    double sum = 0;
    for (const auto& s : strokes) sum += s.from.distanceTo(s.to);
    return sum;
}

std::vector<PatternStroke> strokesOf(const std::vector<DefinitionLine>& lines, const std::vector<HatchLoop>& loops,
                                     HatchStyle style = HatchStyle::Normal)
{
    std::vector<PatternStroke> strokes;
    EXPECT_EQ(patternStrokes(lines, loops, style, strokes), StrokeStatus::Ok);
    return strokes;
}

}  // namespace

TEST(PatternStrokes, EachStyleFillsItsAreasOfNestedLoops)
{
    // A square with an island holding an island: lines at y = 0.5 .. 9.5.
    const std::vector<HatchLoop> loops{square(0, 10, true), square(2, 8), square(4, 6)};
    struct Case {
        HatchStyle style;
        double length;
    };
    // Normal: 4 full lines, 6 lines cut by the island to 4, the two in the inner island add 2 each.
    for (const Case c : {Case{HatchStyle::Normal, 68}, Case{HatchStyle::Outer, 64}, Case{HatchStyle::Ignore, 100}}) {
        const auto strokes = strokesOf({horizontalLines()}, loops, c.style);
        EXPECT_NEAR(totalLength(strokes), c.length, 1e-9) << static_cast<int>(c.style);
    }
    // Nothing of the normal style lies in the ring between the two islands.
    for (const auto& s : strokesOf({horizontalLines()}, loops)) {
        const AcGePoint2d mid((s.from.x + s.to.x) / 2, (s.from.y + s.to.y) / 2);
        const bool inRing =
            mid.x > 2 && mid.x < 8 && mid.y > 2 && mid.y < 8 && !(mid.x > 4 && mid.x < 6 && mid.y > 4 && mid.y < 6);
        EXPECT_FALSE(inRing) << mid.x << "," << mid.y;
    }
}

TEST(PatternStrokes, LoopOrderAndDirectionDoNotMatter)
{
    HatchLoop island = square(4, 6);
    std::reverse(island.points.begin(), island.points.end());
    const auto a = strokesOf({horizontalLines()}, {square(0, 10), square(4, 6)});
    const auto b = strokesOf({horizontalLines()}, {island, square(0, 10)});
    EXPECT_NEAR(totalLength(a), 96, 1e-9);
    EXPECT_NEAR(totalLength(b), 96, 1e-9);
}

TEST(PatternStrokes, LinesThroughVerticesAreCutOnce)
{
    // A diamond whose side and top corners lie on the lines y = 0, 5 and 10.
    const HatchLoop diamond{{{5, 0}, {10, 5}, {5, 10}, {0, 5}}, true};
    const DefinitionLine lines{0.0, AcGePoint2d(0, 0), AcGeVector2d(0, 1), {}};
    const auto strokes = strokesOf({lines}, {diamond});
    // Widths 2, 4, 6, 8, 10, 8, 6, 4, 2 at y = 1 .. 9; the corners at y = 0 and 10 give at most a
    // point.
    EXPECT_NEAR(totalLength(strokes), 50, 1e-9);
    for (const auto& s : strokes) EXPECT_LE(std::abs(s.to.x - s.from.x), 10 + 1e-9);
}

TEST(PatternStrokes, DashesAndDotsRepeatFromTheLineOrigin)
{
    // One line (y = 0.5) of dash 1, gap 0.5, dot, gap 0.5: a period of 2 starting at x = 0.
    const auto strokes = strokesOf({horizontalLines({1, -0.5, 0, -0.5})}, {{{{0, 0}, {10, 0}, {10, 1}, {0, 1}}, true}});
    int dashes = 0, dots = 0;
    for (const auto& s : strokes) {
        if (s.from == s.to) {
            ++dots;
            EXPECT_NEAR(std::fmod(s.from.x, 2.0), 1.5, 1e-9);
        } else {
            ++dashes;
            EXPECT_NEAR(std::fmod(s.from.x, 2.0), 0.0, 1e-9);
            EXPECT_NEAR(s.to.x - s.from.x, 1.0, 1e-9);
        }
    }
    EXPECT_EQ(dashes, 5);
    EXPECT_EQ(dots, 5);
}

TEST(PatternStrokes, EachNextLineShiftsItsDashesByTheOffsetAlongIt)
{
    DefinitionLine line{0.0, AcGePoint2d(0, 0.5), AcGeVector2d(0.5, 1), {1, -1}};
    const auto strokes = strokesOf({line}, {square(0, 10)});
    for (const auto& s : strokes) {
        const double k = std::round(s.from.y - 0.5);  // line number
        const double phase = std::fmod(std::fmod(s.from.x - 0.5 * k, 2.0) + 2.0, 2.0);
        // A dash starts on its period unless the loop cut its start.
        if (s.from.x > 1e-9) {
            EXPECT_NEAR(phase, 0.0, 1e-9) << s.from.x << "," << s.from.y;
        }
    }
}

TEST(PatternStrokes, TooDensePatternsDrawNothingAndSaySo)
{
    std::vector<PatternStroke> strokes{{AcGePoint2d(1, 1), AcGePoint2d(2, 2)}};
    const DefinitionLine fine{0.0, AcGePoint2d(0, 0), AcGeVector2d(0, 1e-6), {}};
    EXPECT_EQ(patternStrokes({fine}, {square(0, 10)}, HatchStyle::Normal, strokes), StrokeStatus::TooDense);
    const DefinitionLine tinyDashes{0.0, AcGePoint2d(0, 0), AcGeVector2d(0, 1), {1e-6, -1e-6}};
    EXPECT_EQ(patternStrokes({tinyDashes}, {square(0, 10)}, HatchStyle::Normal, strokes), StrokeStatus::TooDense);
    EXPECT_EQ(strokes.size(), 1u);
    // Lines along their own offset lie on each other: the family draws one line.
    const DefinitionLine alongItself{0.0, AcGePoint2d(0, 5), AcGeVector2d(3, 0), {}};
    EXPECT_NEAR(totalLength(strokesOf({alongItself}, {square(0, 10)})), 10, 1e-9);
}

TEST(PatternStrokes, ScaleAppliesToOriginsOffsetsAndDashesNotAngles)
{
    HatchPattern pattern;
    pattern.families.push_back({90.0, 1.0, 2.0, 0.5, 1.0, {2.0, -1.0}});
    const auto lines = definitionLines(pattern, 10.0, 0.0);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NEAR(lines[0].angle, std::numbers::pi / 2, 1e-12);
    EXPECT_NEAR(lines[0].base.x, 10.0, 1e-12);
    EXPECT_NEAR(lines[0].base.y, 20.0, 1e-12);
    // The offset is stated in the family's frame: 5 along the vertical lines, 10 across to the
    // left.
    EXPECT_NEAR(lines[0].offset.x, -10.0, 1e-12);
    EXPECT_NEAR(lines[0].offset.y, 5.0, 1e-12);
    EXPECT_EQ(lines[0].dashes, (std::vector<double>{20.0, -10.0}));
    // A turned pattern turns its origins too.
    const auto turned = definitionLines(pattern, 1.0, std::numbers::pi / 2);
    EXPECT_NEAR(turned[0].angle, std::numbers::pi, 1e-12);
    EXPECT_NEAR(turned[0].base.x, -2.0, 1e-12);
    EXPECT_NEAR(turned[0].base.y, 1.0, 1e-12);
}
