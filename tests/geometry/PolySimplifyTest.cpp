// Simplification of plane point chains: the two tolerance boundaries, short chains, and
// the guarantee that refinement keeps dropped points within the tolerance.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "geometry/PolySimplify.h"

namespace {

std::vector<int> keptIndices(double tol, const std::vector<AcGePoint2d>& pts)
{
    std::vector<AcGePoint2d> kept;
    std::vector<int> indices;
    PolySimplyfy().simplify(tol, pts.data(), static_cast<int>(pts.size()), kept, indices);
    EXPECT_EQ(kept.size(), indices.size());
    for (size_t i = 0; i < kept.size(); ++i) {
        EXPECT_EQ(kept[i].x, pts[indices[i]].x);
        EXPECT_EQ(kept[i].y, pts[indices[i]].y);
    }
    return indices;
}

double segmentDistance(const AcGePoint2d& p, const AcGePoint2d& a, const AcGePoint2d& b)
{
    const double ux = b.x - a.x, uy = b.y - a.y;
    const double len2 = ux * ux + uy * uy;
    double t = len2 > 0 ? ((p.x - a.x) * ux + (p.y - a.y) * uy) / len2 : 0.0;
    t = std::fmax(0.0, std::fmin(1.0, t));
    return std::hypot(p.x - (a.x + t * ux), p.y - (a.y + t * uy));
}

struct RecordingApproximation : ApproximatPolyline {
    using ApproximatPolyline::ApproximatPolyline;
    int onResult(const AcGePoint2d*, int keptCount, const int* sourceIndices, int sourceCount) override
    {
        ++calls;
        indices.assign(sourceIndices, sourceIndices + keptCount);
        source = sourceCount;
        return keptCount;
    }
    int calls = 0;
    int source = 0;
    std::vector<int> indices;
};

}  // namespace

TEST(PolySimplify, APointExactlyTolFromTheLastKeptPointSurvivesVertexReduction)
{
    // (1,0) is exactly 1 from (0,0) and stays, so (1,0.9), only 0.9 from it, is dropped.
    // Were (1,0) dropped, (1,0.9) would be kept and then marked: it is 1.35 from the chord.
    const std::vector<AcGePoint2d> pts{{0, 0}, {1, 0}, {1, 0.9}, {-10, 0.9}};
    EXPECT_EQ(keptIndices(1.0, pts), (std::vector<int>{0, 3}));
}

TEST(PolySimplify, APointExactlyTolFromTheRefinementSegmentIsDropped)
{
    const std::vector<AcGePoint2d> pts{{0, 0}, {5, 1}, {10, 0}};
    EXPECT_EQ(keptIndices(1.0, pts), (std::vector<int>{0, 2}));
    EXPECT_EQ(keptIndices(0.999, pts), (std::vector<int>{0, 1, 2}));
}

TEST(PolySimplify, ZeroToleranceDropsOnlyPointsOnTheirRefinementSegment)
{
    const std::vector<AcGePoint2d> pts{{0, 0}, {1, 0}, {2, 0}, {3, 1}, {4, 0}};
    EXPECT_EQ(keptIndices(0.0, pts), (std::vector<int>{0, 2, 3, 4}));
}

TEST(PolySimplify, PointsCrowdingTheFirstReduceToFirstAndLast)
{
    const std::vector<AcGePoint2d> pts{{0, 0}, {0.1, 0.2}, {-0.3, 0.1}, {0.2, -0.4}, {0.4, 0.4}};
    EXPECT_EQ(keptIndices(1.0, pts), (std::vector<int>{0, 4}));
}

TEST(PolySimplify, RefinementKeepsEveryDroppedPointWithinTolOfItsKeptSegment)
{
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> angle(0.0, 6.283185307179586);
    std::uniform_real_distribution<double> step(2.0, 5.0);
    const double tol = 1.0;
    for (int run = 0; run < 50; ++run) {
        // Steps of at least 2 tol: vertex reduction keeps every point.
        std::vector<AcGePoint2d> pts{{0, 0}};
        for (int i = 0; i < 60; ++i) {
            const double a = angle(rng), s = step(rng);
            pts.push_back({pts.back().x + s * std::cos(a), pts.back().y + s * std::sin(a)});
        }
        const std::vector<int> kept = keptIndices(tol, pts);
        ASSERT_GE(kept.size(), 2u);
        EXPECT_EQ(kept.front(), 0);
        EXPECT_EQ(kept.back(), static_cast<int>(pts.size()) - 1);
        for (size_t k = 0; k + 1 < kept.size(); ++k)
            for (int i = kept[k] + 1; i < kept[k + 1]; ++i)
                EXPECT_LE(segmentDistance(pts[i], pts[kept[k]], pts[kept[k + 1]]), tol + 1e-12);
    }
}

TEST(ApproximatPolyline, AChainOfThreePointsYieldsNothing)
{
    const std::vector<AcGePoint2d> pts{{0, 0}, {5, 5}, {10, 0}};
    RecordingApproximation approx(pts.data(), 3);
    EXPECT_EQ(approx.Approximate(0.1), 0);
    EXPECT_EQ(approx.calls, 0);
}

TEST(ApproximatPolyline, HandsKeptPointsAndSourceCountToTheResultOperation)
{
    const std::vector<AcGePoint2d> pts{{0, 0}, {5, 5}, {10, 0}, {10.01, 0}};
    RecordingApproximation approx(pts.data(), 4);
    EXPECT_EQ(approx.Approximate(0.1), 3);
    EXPECT_EQ(approx.calls, 1);
    EXPECT_EQ(approx.source, 4);
    EXPECT_EQ(approx.indices, (std::vector<int>{0, 1, 3}));
}
