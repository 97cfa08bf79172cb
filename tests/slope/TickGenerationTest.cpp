// Tick generation on plan chains: stations, feet on the toe, grouped tangents, the side
// without a toe, and the segment grid agreeing with a plain scan.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "slope/PlanChain.h"
#include "slope/TickGeneration.h"

namespace {

using fendo::slope::PlanChain;
using fendo::slope::Tick;
using fendo::slope::TickSet;
using fendo::slope::TickSettings;

constexpr double kTol = 1e-9;

PlanChain chain(std::initializer_list<std::pair<double, double>> xy)
{
    AcGePoint3dArray points;
    for (const auto& [x, y] : xy) points.append(AcGePoint3d(x, y, 0.0));
    return PlanChain(points);
}

TickSet toToe(const TickSettings& s, const PlanChain& edge, const PlanChain& toe)
{
    AcGePoint3d start = edge.points().front(), end = edge.points().back();
    return fendo::slope::ticksToToe(s, edge, toe, start, end);
}

// The x of each tick's base, rounded to 1e-6 so that stations compare exactly.
std::vector<double> baseXs(const std::vector<Tick>& ticks)
{
    std::vector<double> xs;
    for (const Tick& t : ticks) xs.push_back(std::round(t.base.x * 1e6) / 1e6);
    return xs;
}

void expectPoint(const AcGePoint3d& p, double x, double y)
{
    EXPECT_NEAR(p.x, x, kTol);
    EXPECT_NEAR(p.y, y, kTol);
}

// A straight toe 4 below the x axis, reaching from x = -1 to x = toeEnd.
PlanChain toeBelow(double toeEnd) { return chain({{-1.0, -4.0}, {toeEnd, -4.0}}); }

TEST(TicksToToe, EdgeShorterThanTheDivisionGetsOneLongTickAndThePartialIntervalsShortTicks)
{
    const TickSet ticks = toToe(TickSettings{}, chain({{0, 0}, {3, 0}}), toeBelow(10));
    ASSERT_EQ(ticks.longTicks.size(), 1u);
    expectPoint(ticks.longTicks[0].base, 0, 0);
    expectPoint(ticks.longTicks[0].tip, 0, -3.5);  // 4 to the toe less the 0.5 clearance
    ASSERT_EQ(ticks.shortTicks.size(), 1u);
    expectPoint(ticks.shortTicks[0].base, 2.5, 0);
    expectPoint(ticks.shortTicks[0].tip, 2.5, -2);  // half way to the toe
}

TEST(TicksToToe, AnExactMultipleOfTheDivisionPutsTheLastLongTickOnTheEndPoint)
{
    TickSettings s;
    s.stepsPerDivision = 4;
    const TickSet ticks = toToe(s, chain({{0, 0}, {8, 0}, {20, 0}}), toeBelow(30));
    EXPECT_EQ(baseXs(ticks.longTicks), (std::vector<double>{0, 5, 10, 15, 20}));
    ASSERT_EQ(ticks.shortTicks.size(), 16u);
    EXPECT_NEAR(ticks.shortTicks[0].base.x, 1.0, kTol);
    EXPECT_NEAR(ticks.shortTicks[15].base.x, 19.0, kTol);
}

TEST(TicksToToe, TicksStopWhereTheToeEnds)
{
    const TickSet ticks = toToe(TickSettings{}, chain({{0, 0}, {20, 0}}), toeBelow(12));
    EXPECT_EQ(baseXs(ticks.longTicks), (std::vector<double>{0, 5, 10}));
    // 12.5 misses the toe; the interval from 15 has no foot at its start.
    EXPECT_EQ(baseXs(ticks.shortTicks), (std::vector<double>{2.5, 7.5}));
}

TEST(TicksToToe, TheStartAndEndAreProjectedOntoTheEdgeAndBoundTheTicks)
{
    const PlanChain edge = chain({{0, 0}, {20, 0}});
    AcGePoint3d start(14, 3, 0), end(4, -1, 0);  // given in reverse order, off the edge
    const TickSet ticks = fendo::slope::ticksToToe(TickSettings{}, edge, toeBelow(30), start, end);
    expectPoint(start, 14, 0);
    expectPoint(end, 4, 0);
    EXPECT_EQ(baseXs(ticks.longTicks), (std::vector<double>{4, 9, 14}));
    EXPECT_EQ(baseXs(ticks.shortTicks), (std::vector<double>{6.5, 11.5}));
}

TEST(TicksToToe, ATickThatWouldCrossTheEdgeIsLeftOut)
{
    // A U-shaped edge under a toe: ticks of the lower leg would pass through the upper one.
    const PlanChain edge = chain({{0, 0}, {10, 0}, {10, 10}, {0, 10}});
    const PlanChain toe = chain({{-5, 20}, {15, 20}});
    const TickSet ticks = toToe(TickSettings{}, edge, toe);
    ASSERT_FALSE(ticks.longTicks.empty());
    for (const auto* list : {&ticks.longTicks, &ticks.shortTicks})
        for (const Tick& t : *list) {
            EXPECT_NEAR(t.base.y, 10.0, kTol) << t.base.x;
            EXPECT_GT(t.tip.y, 10.0);
        }
}

TEST(TicksToToe, GroupsOfLongTicksShareTheTangentOfTheirFirstStation)
{
    // Straight for 7, then up at 45 degrees; a toe far below catches every tick.
    TickSettings s;
    s.longPerTangent = 3;
    const PlanChain edge = chain({{0, 0}, {7, 0}, {27, 20}});
    const TickSet ticks = toToe(s, edge, chain({{-100, -100}, {200, -100}}));
    ASSERT_EQ(ticks.longTicks.size(), 8u);  // stations 0, 5, ... 35 of 35.28
    auto direction = [&](size_t i) { return (ticks.longTicks[i].tip - ticks.longTicks[i].base).normal(); };
    const double h = std::sqrt(0.5);
    for (size_t i : {0u, 1u, 2u}) {  // the third station already lies on the slanted leg
        EXPECT_NEAR(direction(i).x, 0.0, kTol) << i;
        EXPECT_NEAR(direction(i).y, -1.0, kTol) << i;
    }
    for (size_t i : {3u, 4u, 5u, 6u, 7u}) {
        EXPECT_NEAR(direction(i).x, h, kTol) << i;
        EXPECT_NEAR(direction(i).y, -h, kTol) << i;
    }
    // Short ticks keep their own perpendicular: the one at 7.5 lies on the slanted leg.
    ASSERT_GE(ticks.shortTicks.size(), 2u);
    const AcGeVector3d second = (ticks.shortTicks[1].tip - ticks.shortTicks[1].base).normal();
    EXPECT_NEAR(second.x, h, kTol);
}

TEST(TicksWithoutToe, FixedLengthsOnTheLeftAndOnTheOtherSideWhenReversed)
{
    TickSettings s;
    const PlanChain edge = chain({{0, 0}, {10, 0}});
    for (const auto side : {fendo::slope::TickSide::Left, fendo::slope::TickSide::Right}) {
        s.side = side;
        const double sign = side == fendo::slope::TickSide::Left ? 1.0 : -1.0;
        const TickSet ticks = fendo::slope::ticksWithoutToe(s, edge, edge.points().front(), edge.points().back());
        ASSERT_EQ(baseXs(ticks.longTicks), (std::vector<double>{0, 5, 10}));
        ASSERT_EQ(baseXs(ticks.shortTicks), (std::vector<double>{2.5, 7.5}));
        expectPoint(ticks.longTicks[1].tip, 5, 10 * sign);
        expectPoint(ticks.shortTicks[1].tip, 7.5, 5 * sign);
    }
}

TEST(TicksWithoutToe, GroupModeRetakesTheNormalOnlyWhenAGroupIsFull)
{
    TickSettings s;
    s.longPerTangent = 2;
    s.stepsPerDivision = 0;
    const PlanChain edge = chain({{0, 0}, {5, 0}, {5, 20}});  // turns left at 5
    const TickSet ticks = fendo::slope::ticksWithoutToe(s, edge, edge.points().front(), edge.points().back());
    ASSERT_EQ(ticks.longTicks.size(), 6u);
    // Stations 0 and 5 share (0, 1), although 5 lies on the corner; 10 and 15 take the
    // normal at 10, (-1, 0).
    expectPoint(ticks.longTicks[1].tip, 5, 10);
    expectPoint(ticks.longTicks[2].tip, -5, 5);
    expectPoint(ticks.longTicks[3].tip, -5, 10);
    expectPoint(ticks.longTicks[5].tip, -5, 20);
}

// The grid only narrows the segments examined: every tick must come out bit for bit as a
// plain scan of all segments gives it.
TEST(TicksToToe, TheSegmentGridGivesExactlyTheTicksOfAPlainScan)
{
    std::mt19937 random(7);
    std::uniform_real_distribution<double> wiggle(-3.0, 3.0);
    AcGePoint3dArray edgePoints, toePoints;
    for (int i = 0; i <= 400; ++i) {
        const double x = 500000.0 + i * 2.5;
        edgePoints.append(AcGePoint3d(x, 1200000.0 + 4.0 * std::sin(i / 15.0) + wiggle(random) * 0.2, 0));
        const double toeY = 1199985.0 + 6.0 * std::cos(i / 11.0) + wiggle(random);
        toePoints.append(AcGePoint3d(x + wiggle(random), toeY, 0));
    }
    const PlanChain edge(edgePoints), toe(toePoints);
    TickSettings s;
    s.divisionLength = 2.0;
    s.stepsPerDivision = 3;
    for (short group : {1, 4}) {
        s.longPerTangent = group;
        AcGePoint3d a1 = edgePoints.first(), b1 = edgePoints.last(), a2 = a1, b2 = b1;
        const TickSet grid = fendo::slope::ticksToToe(s, edge, toe, a1, b1, fendo::slope::SegmentSearch::Grid);
        const TickSet scan = fendo::slope::ticksToToe(s, edge, toe, a2, b2, fendo::slope::SegmentSearch::Scan);
        ASSERT_GT(grid.longTicks.size(), 300u);
        ASSERT_EQ(grid.longTicks.size(), scan.longTicks.size());
        ASSERT_EQ(grid.shortTicks.size(), scan.shortTicks.size());
        for (size_t i = 0; i < grid.longTicks.size(); ++i) {
            EXPECT_EQ(grid.longTicks[i].base, scan.longTicks[i].base);
            EXPECT_EQ(grid.longTicks[i].tip, scan.longTicks[i].tip);
        }
        for (size_t i = 0; i < grid.shortTicks.size(); ++i)
            EXPECT_EQ(grid.shortTicks[i].tip, scan.shortTicks[i].tip);
    }
}

}  // namespace
