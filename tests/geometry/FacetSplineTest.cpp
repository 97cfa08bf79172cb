// Spline faceting: seeding from the knots, refinement within the chord tolerance, the
// parallel-tangent answer of the chordal test and the step-limit messages.
#include <gtest/gtest.h>

#include <cmath>
#include <regex>
#include <string>
#include <vector>

#include "geometry/FacetSpline.h"
#include "host/db/entities/AcDbSpline.h"
#include "host/editor/Editor.h"
#include "host/ge/AcGeLine3d.h"

namespace {

AcGeDoubleArray clampedCubicKnots() { return AcGeDoubleArray{0, 0, 0, 0, 0.25, 0.5, 0.75, 1, 1, 1, 1}; }

// A plane cubic of 7 control points on the clamped knots above, convex throughout.
AcDbSpline arcLikeSpline()
{
    AcGePoint3dArray ctrl;
    for (int i = 0; i < 7; ++i) {
        const double a = 3.0 * i / 6.0;  // up to 3 radians around a circle of radius 10
        ctrl.append(AcGePoint3d(10 * std::cos(a), 10 * std::sin(a), 0));
    }
    return AcDbSpline(3, false, false, false, ctrl, clampedCubicKnots(), AcGeDoubleArray());
}

std::vector<double> nodeParams(const FacetSpline& f)
{
    std::vector<double> params;
    for (const FacetNode* n = f.firstNode(); n; n = n->next()) params.push_back(n->param());
    return params;
}

// Collects what the host prints while the object lives.
class CapturedOutput {
public:
    CapturedOutput() { fendo::editor::editor().captureOutput(&text); }
    ~CapturedOutput() { fendo::editor::editor().reset(); }
    std::string text;
};

}  // namespace

TEST(FacetSpline, SeedsFromTheKnotsPassingOverTheKnotAfterEachSeed)
{
    const AcDbSpline spline = arcLikeSpline();
    FacetSplineChordal facet;
    ASSERT_TRUE(facet.setup(&spline, 0.01, 10000));
    EXPECT_EQ(nodeParams(facet), (std::vector<double>{0, 0.25, 0.75, 1}));
    EXPECT_EQ(facet.nodeCount(), 4);
}

TEST(FacetSpline, KnotsWithinTheKnotToleranceGiveOneSeed)
{
    AcGePoint3dArray ctrl;
    for (int i = 0; i < 7; ++i) ctrl.append(AcGePoint3d(i, i * i, 0));
    const AcGeDoubleArray knots{0, 0, 0, 0, 0.5, 0.5 + 1e-12, 0.5 + 2e-12, 1, 1, 1, 1};
    const AcDbSpline spline(3, false, false, false, ctrl, knots, AcGeDoubleArray(), 0.0, 1e-10);
    FacetSplineChordal facet;
    ASSERT_TRUE(facet.setup(&spline, 0.01, 10000));
    const std::vector<double> params = nodeParams(facet);
    ASSERT_EQ(params.size(), 3u);
    EXPECT_EQ(params.front(), 0.0);
    EXPECT_NEAR(params[1], 0.5, 1e-11);
    EXPECT_EQ(params.back(), 1.0);
}

TEST(FacetSpline, AStraightSplineKeepsItsSeeds)
{
    AcGePoint3dArray ctrl;
    for (int i = 0; i < 7; ++i) ctrl.append(AcGePoint3d(2.0 * i, 1.0 * i, 0.5 * i));
    const AcDbSpline spline(3, false, false, false, ctrl, clampedCubicKnots(), AcGeDoubleArray());
    FacetSplineChordal facet;
    ASSERT_TRUE(facet.setup(&spline, 0.001, 10000));
    AcGePoint3dArray points;
    ASSERT_TRUE(facet.getPoints(points));
    EXPECT_EQ(points.length(), 4);
    EXPECT_TRUE(points.first().isEqualTo(ctrl.first()));
    EXPECT_TRUE(points.last().isEqualTo(ctrl.last()));
}

TEST(FacetSpline, EveryChordStaysWithinTheToleranceOfTheCurve)
{
    const AcDbSpline spline = arcLikeSpline();
    for (double tol : {1.0, 0.1, 0.01, 0.001}) {
        FacetSplineChordal facet;
        ASSERT_TRUE(facet.setup(&spline, tol, 10000));
        AcGePoint3dArray points;
        ASSERT_TRUE(facet.getPoints(points));
        EXPECT_EQ(points.length(), facet.nodeCount());
        EXPECT_LE(facet.maxDeviation(), tol);
        // Sample the curve between neighbouring nodes and measure from their chord.
        for (const FacetNode* a = facet.firstNode(); a->next(); a = a->next()) {
            const FacetNode* b = a->next();
            const AcGeLine3d chord(a->point(), b->point());
            for (int k = 1; k < 8; ++k) {
                const double t = a->param() + (b->param() - a->param()) * k / 8.0;
                EXPECT_LE(chord.distanceTo(spline.nurbs().evalPoint(t)), tol) << "tol " << tol << " at " << t;
            }
        }
        // A second read reuses the nodes.
        AcGePoint3dArray again;
        ASSERT_TRUE(facet.getPoints(again));
        EXPECT_EQ(again.length(), points.length());
    }
}

TEST(FacetSplineChordal, ParallelEndTangentsMeasureTheSecondTangentFromTheChord)
{
    // A Bezier S from (0,0) to (3,1), level at both ends.
    AcGePoint3dArray ctrl{{0, 0, 0}, {1, 0, 0}, {2, 1, 0}, {3, 1, 0}};
    const AcDbSpline spline(3, false, false, false, ctrl, AcGeDoubleArray{0, 0, 0, 0, 1, 1, 1, 1},
                            AcGeDoubleArray());
    const FacetNode a(&spline, 0.0), b(&spline, 1.0);
    FacetSplineChordal facet;
    ASSERT_TRUE(facet.setup(&spline, 0.9, 10));
    double split = -1, deviation = -1;
    // (0,1), the foot of A's point on B's tangent, is 3 / sqrt(10) from the chord.
    EXPECT_FALSE(facet.testSegment(a, b, split, deviation));
    EXPECT_NEAR(deviation, 3.0 / std::sqrt(10.0), 1e-12);
    EXPECT_DOUBLE_EQ(split, 0.5);
    FacetSplineChordal loose;
    ASSERT_TRUE(loose.setup(&spline, 0.95, 10));
    EXPECT_TRUE(loose.testSegment(a, b, split, deviation));
}

TEST(FacetSpline, ZeroToleranceRunsIntoTheStepLimitAndLeavesTheListAlone)
{
    const AcDbSpline spline = arcLikeSpline();
    FacetSplineChordal facet;
    ASSERT_TRUE(facet.setup(&spline, 0.0, 10000));
    AcGePoint3dArray points{{7, 7, 7}};
    CapturedOutput out;
    EXPECT_FALSE(facet.getPoints(points));
    ASSERT_EQ(points.length(), 1);
    EXPECT_TRUE(points[0].isEqualTo(AcGePoint3d(7, 7, 7)));
    EXPECT_FALSE(facet.isRefined());
    const std::regex expected(
        "Requires too many steps\n10000 steps used so far to cover less than +[0-9]+% of the curve\n");
    EXPECT_TRUE(std::regex_search(out.text, expected)) << out.text;
}

TEST(FacetSpline, NoNodesGiveAnEmptyList)
{
    FacetSplineChordal facet;
    AcGePoint3dArray points{{1, 2, 3}};
    EXPECT_FALSE(facet.getPoints(points));
    EXPECT_TRUE(points.isEmpty());
}
