// The indexed searches of the node, crossing, parcel and elevation-line commands against the plain scans they replace,
// on random drawings with ties, coincident points, touching segments and points on polygon edges: the results, their
// order and their numbering must be the same.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <random>
#include <vector>

#include "commands/survey/ContourElevation.h"
#include "commands/survey/CrossingCheck.h"
#include "commands/survey/ElevationPath.h"
#include "commands/survey/ExchangeOrder.h"
#include "commands/survey/ParcelReport.h"
#include "host/db/entities/AcDbPolyline.h"

using namespace fendo::survey;

namespace {

// The exchange sort as written: each place in turn swaps with every later smaller element.
template <typename Key>
std::vector<std::size_t> literalExchangeSort(std::vector<Key> keys)
{
    std::vector<std::size_t> places(keys.size());
    for (std::size_t i = 0; i < places.size(); ++i) places[i] = i;
    for (std::size_t i = 0; i < keys.size(); ++i)
        for (std::size_t j = i + 1; j < keys.size(); ++j)
            if (keys[j] < keys[i]) {
                std::swap(keys[i], keys[j]);
                std::swap(places[i], places[j]);
            }
    return places;
}

// The path procedure step by step: every remaining point sorted by the exchange sort, each candidate tested against
// every path segment.
std::vector<std::size_t> scanPath(const std::vector<AcGePoint3d>& points)
{
    std::vector<std::size_t> path, remaining;
    if (points.empty()) return path;
    path.push_back(0);
    for (std::size_t i = 1; i < points.size(); ++i) remaining.push_back(i);
    AcGePoint3d current(points[0].x, points[0].y, 0.0);
    auto plan = [](const AcGePoint3d& p) { return AcGePoint2d(p.x, p.y); };
    while (remaining.size() >= 2) {
        std::vector<double> distances;
        for (std::size_t r : remaining) distances.push_back(stepDistance(current, points[r]));
        std::vector<std::size_t> candidates;
        for (std::size_t k : literalExchangeSort(distances)) candidates.push_back(remaining[k]);
        std::size_t chosen = candidates.front();
        if (path.size() > 1) {
            for (std::size_t c : candidates) {
                bool crosses = false;
                for (std::size_t s = 0; s + 1 < path.size() && !crosses; ++s)
                    crosses = crossesAwayFrom(plan(points[path[s]]), plan(points[path[s + 1]]), plan(current),
                                              plan(points[c]));
                if (!crosses) {
                    chosen = c;
                    break;
                }
            }
        }
        path.push_back(chosen);
        remaining.erase(std::find(remaining.begin(), remaining.end(), chosen));
        current = points[chosen];
    }
    path.insert(path.end(), remaining.begin(), remaining.end());
    return path;
}

// Points on a small integer lattice (so that distances tie and points coincide) or anywhere, with heights from a short
// list.
std::vector<AcGePoint3d> randomPoints(std::mt19937& rng, std::size_t n, bool lattice)
{
    std::uniform_int_distribution<int> cell(0, 9);
    std::uniform_real_distribution<double> anywhere(0.0, 100.0);
    std::uniform_int_distribution<int> height(0, 3);
    std::vector<AcGePoint3d> out;
    for (std::size_t i = 0; i < n; ++i) {
        const double z = 5.0 + 0.5 * height(rng);
        if (lattice)
            out.emplace_back(cell(rng), cell(rng), z);
        else
            out.emplace_back(anywhere(rng), anywhere(rng), z);
    }
    return out;
}

}  // namespace

TEST(ExchangeOrder, MatchesTheLiteralSortOnKeysWithManyTies)
{
    for (unsigned seed = 1; seed <= 200; ++seed) {
        std::mt19937 rng(seed);
        const std::size_t n = std::uniform_int_distribution<std::size_t>(0, 120)(rng);
        const int spread = std::uniform_int_distribution<int>(1, 12)(rng);
        std::vector<double> keys;
        for (std::size_t i = 0; i < n; ++i) keys.push_back(std::uniform_int_distribution<int>(0, spread)(rng));
        ASSERT_EQ(exchangeSortOrder(keys), literalExchangeSort(keys)) << "seed " << seed;
    }
}

TEST(ExchangeOrder, EqualKeysAreNotKeptInListOrder)
{
    // The smaller key swaps the first 2 to the back, behind its equal.
    EXPECT_EQ(exchangeSortOrder(std::vector<double>{2, 2, 1}), (std::vector<std::size_t>{2, 1, 0}));
    EXPECT_EQ(exchangeSortOrder(std::vector<double>{3, 1, 2, 1}), (std::vector<std::size_t>{1, 3, 2, 0}));
}

TEST(ElevationPathIndex, FollowsTheScanOnRandomPoints)
{
    for (unsigned seed = 1; seed <= 40; ++seed) {
        std::mt19937 rng(seed);
        const bool lattice = seed % 2 == 0;
        const std::size_t n = std::uniform_int_distribution<std::size_t>(0, lattice ? 70 : 60)(rng);
        const auto points = randomPoints(rng, n, lattice);
        ASSERT_EQ(buildElevationPath(points), scanPath(points)) << "seed " << seed;
    }
}

TEST(ElevationPathIndex, FollowsTheScanOnClustersFarApart)
{
    // Two tight clusters at survey coordinates: the grid's rings must reach the far cluster.
    for (unsigned seed = 1; seed <= 6; ++seed) {
        std::mt19937 rng(seed);
        std::uniform_real_distribution<double> jitter(0.0, 3.0);
        std::vector<AcGePoint3d> points;
        for (int i = 0; i < 30; ++i) {
            const double base = i % 3 == 0 ? 500000.0 : 500900.0;
            points.emplace_back(base + jitter(rng), 2000000.0 + jitter(rng), 12.5);
        }
        ASSERT_EQ(buildElevationPath(points), scanPath(points)) << "seed " << seed;
    }
}

TEST(CrossingTest, SharedPointIsNoCrossingButOtherTouchingIs)
{
    const AcGePoint2d a(0, 0), b(10, 0);
    // From the path's end onwards: only the shared point.
    EXPECT_FALSE(crossesAwayFrom(a, b, b, AcGePoint2d(10, 5)));
    // Back along the last segment: the two overlap.
    EXPECT_TRUE(crossesAwayFrom(a, b, b, AcGePoint2d(5, 0)));
    // The far end lands on the segment, or the segment passes through a vertex.
    EXPECT_TRUE(crossesAwayFrom(a, b, AcGePoint2d(5, 5), AcGePoint2d(5, 0)));
    EXPECT_TRUE(crossesAwayFrom(a, b, AcGePoint2d(-1, -1), AcGePoint2d(1, 1)));
    EXPECT_TRUE(crossesAwayFrom(a, b, AcGePoint2d(0, 5), AcGePoint2d(0, -5)));
    // Apart, and a candidate on the current point itself.
    EXPECT_FALSE(crossesAwayFrom(a, b, AcGePoint2d(0, 1), AcGePoint2d(10, 1)));
    EXPECT_FALSE(crossesAwayFrom(a, b, b, b));
}

TEST(CrossingTest, ClearCasesAgreeWithTheHost)
{
    // Lattice segments touch, overlap and share ends often; the last path segment always ends at the candidate's start.
    for (unsigned seed = 1; seed <= 4; ++seed) {
        std::mt19937 rng(seed);
        std::uniform_int_distribution<int> coord(0, 6);
        std::uniform_real_distribution<double> anywhere(-50.0, 50.0);
        for (int k = 0; k < 3000; ++k) {
            auto point = [&] {
                return seed % 2 ? AcGePoint2d(coord(rng), coord(rng)) : AcGePoint2d(anywhere(rng), anywhere(rng));
            };
            const AcGePoint2d a = point(), from = point(), to = point();
            const AcGePoint2d b = k % 3 == 0 ? from : point();
            ASSERT_EQ(crossesAwayFrom(a, b, from, to), crossesAwayFromByHost(a, b, from, to))
                << "seed " << seed << " case " << k;
        }
    }
}

TEST(CrossingCheckIndex, FindsThePairsAndPointsOfTheScan)
{
    for (unsigned seed = 1; seed <= 25; ++seed) {
        std::mt19937 rng(seed);
        std::uniform_int_distribution<int> coord(0, 40);
        std::uniform_int_distribution<int> count(1, 6), elevation(0, 2);
        std::vector<PlanPolyline> plines(std::uniform_int_distribution<std::size_t>(0, 60)(rng));
        for (auto& p : plines) {
            p.elevation = elevation(rng);
            const int n = count(rng);
            const int x0 = coord(rng), y0 = coord(rng);
            for (int k = 0; k < n; ++k) p.vertices.emplace_back(x0 + coord(rng) / 4, y0 + coord(rng) / 4);
        }
        std::vector<Crossing> scan;
        for (std::size_t i = 0; i < plines.size(); ++i)
            for (std::size_t j = i + 1; j < plines.size(); ++j) {
                Crossing c{i, j, {}};
                chordPolyline(plines[i])->intersectWith(chordPolyline(plines[j]).get(), AcDb::kOnBothOperands,
                                                        c.points);
                if (!c.points.isEmpty() && plines[i].elevation != plines[j].elevation) scan.push_back(c);
            }
        const auto indexed = findCrossings(plines);
        ASSERT_EQ(indexed.size(), scan.size()) << "seed " << seed;
        for (std::size_t k = 0; k < scan.size(); ++k) {
            EXPECT_EQ(indexed[k].first, scan[k].first);
            EXPECT_EQ(indexed[k].second, scan[k].second);
            EXPECT_EQ(indexed[k].points, scan[k].points);
        }
    }
}

TEST(ParcelLabelIndex, MatchesTheScanWithLabelsOnEdgesAndCorners)
{
    for (unsigned seed = 1; seed <= 40; ++seed) {
        std::mt19937 rng(seed);
        std::uniform_int_distribution<int> coord(0, 30), size(1, 8), corners(3, 6);
        std::vector<std::vector<AcGePoint2d>> rings(std::uniform_int_distribution<std::size_t>(0, 40)(rng));
        for (auto& ring : rings) {
            const int x0 = coord(rng), y0 = coord(rng), n = corners(rng);
            for (int k = 0; k < n; ++k) ring.emplace_back(x0 + size(rng), y0 + size(rng));
            ring.push_back(ring.front());
        }
        std::vector<AcGePoint2d> centres;
        const std::size_t labels = std::uniform_int_distribution<std::size_t>(0, 80)(rng);
        for (std::size_t i = 0; i < labels; ++i) centres.emplace_back(coord(rng) + 0.5 * (i % 2), coord(rng) + 0.5);
        std::vector<std::size_t> scan(rings.size(), kNoLabel);
        std::vector<char> used(centres.size(), 0);
        for (std::size_t r = 0; r < rings.size(); ++r)
            for (std::size_t l = 0; l < centres.size(); ++l)
                if (!used[l] && insideRing(rings[r], centres[l])) {
                    used[l] = 1;
                    scan[r] = l;
                    break;
                }
        ASSERT_EQ(matchLabels(rings, centres), scan) << "seed " << seed;
    }
}

// The report line is written number by number; it must read as the printf form it replaced, including
// halfway cases, negative values rounding to zero and large coordinates.
TEST(ParcelRecord, ReadsAsPrintfWithTwoDecimals)
{
    std::mt19937 rng(11);
    std::uniform_real_distribution<double> any(-1e7, 1e7);
    const double fixed[] = {0.125, 2.675, -0.004, -0.0, 1.005, 0.5, 599999.995, 1e15 + 0.25};
    for (int n = 0; n < 500; ++n) {
        double v[10];
        for (int k = 0; k < 10; ++k)
            v[k] = n < 8 ? fixed[(n + k) % 8] : (k % 3 == 0 ? std::round(any(rng)) / 1000.0 : any(rng));
        const std::vector<AcGePoint2d> ring = {{v[2], v[3]}, {v[4], v[5]}, {v[6], v[7]}, {v[8], v[9]}, {v[2], v[3]}};
        char expected[1024];
        std::snprintf(expected, sizeof expected, "%.2f\t%.2f\tLabel 7\t%.2f,%.2f,%.2f,%.2f,%.2f,%.2f,%.2f,%.2f\n", v[0],
                      v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8], v[9]);
        ASSERT_EQ(fendo::survey::parcelRecord({v[0], v[1]}, "Label 7", ring), expected) << n;
    }
}

TEST(ContourTextIndex, FindsTheFirstCrossingTextOfTheScan)
{
    for (unsigned seed = 1; seed <= 25; ++seed) {
        std::mt19937 rng(seed);
        std::uniform_int_distribution<int> coord(0, 60), step(-6, 6), count(1, 8), bulgy(0, 3);
        std::vector<TextDiagonal> texts;
        const std::size_t n = std::uniform_int_distribution<std::size_t>(1, 120)(rng);
        for (std::size_t i = 0; i < n; ++i) {
            const double x = coord(rng), y = coord(rng);
            texts.push_back({AcGePoint2d(x, y), AcGePoint2d(x + 1 + coord(rng) % 4, y + 0.5 + coord(rng) % 2)});
        }
        const TextDiagonalIndex index(texts);
        for (int c = 0; c < 30; ++c) {
            AcDbPolyline contour;
            double x = coord(rng), y = coord(rng);
            const int vertices = count(rng);
            for (int k = 0; k < vertices; ++k) {
                contour.addVertexAt(static_cast<unsigned>(k), AcGePoint2d(x, y), bulgy(rng) == 0 ? 0.4 : 0.0);
                x += step(rng);
                y += step(rng);
            }
            contour.setClosed(c % 5 == 0);
            std::size_t scan = kNoText;
            for (std::size_t t = 0; t < texts.size() && scan == kNoText; ++t)
                if (diagonalMeets(texts[t], contour)) scan = t;
            ASSERT_EQ(index.firstCrossing(contour), scan) << "seed " << seed << " contour " << c;
        }
    }
}
