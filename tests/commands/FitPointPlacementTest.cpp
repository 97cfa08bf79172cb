// Fit points placed along faceted chains ("S2P", "S3P") agree to the bit with the placement
// through a lightweight polyline and the host's curve queries, which is kept here as the
// reference.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "commands/polyline/FitPointPlacement.h"
#include "commands/polyline/ReplaceCurve.h"
#include "geometry/CurveReaders.h"
#include "geometry/FacetSpline.h"
#include "host/db/entities/AcDbSpline.h"

using namespace fendo::poly;

namespace {

AcGePoint3d flat(const AcGePoint3d& p) { return AcGePoint3d(p.x, p.y, 0.0); }

int indexOf(const AcGePoint3dArray& points, const AcGePoint3d& point)
{
    for (int i = 0; i < points.length(); ++i)
        if (points[i].isEqualTo(point)) return i;
    return -1;
}

std::vector<double> planDistances(const AcGePoint3dArray& points)
{
    std::vector<double> along(static_cast<size_t>(points.length()), 0.0);
    for (int i = 1; i < points.length(); ++i)
        along[i] = along[i - 1] + std::hypot(points[i].x - points[i - 1].x, points[i].y - points[i - 1].y);
    return along;
}

// The placement as it was: a polyline through the points for each fit point, asked for the
// closest point and the distance at it, and the point list rebuilt.
void referenceInsert(AcGePoint3dArray& points, const AcGePoint3dArray& fitPoints, double z)
{
    for (int f = 0; f < fitPoints.length(); ++f) {
        const AcGePoint3d fit = flat(fitPoints[f]);
        if (indexOf(points, fit) >= 0) continue;
        const auto chain = polylineThrough(points);
        AcGePoint3d onChain;
        double d = 0.0;
        if (chain->getClosestPointTo(fit, onChain, false) != Acad::eOk ||
            chain->getDistAtPoint(onChain, d) != Acad::eOk)
            continue;
        const std::vector<double> along = planDistances(points);
        AcGePoint3dArray rebuilt;
        for (int i = 0; i < points.length(); ++i)
            if (along[i] < d - kSameDistance) rebuilt.append(AcGePoint3d(points[i].x, points[i].y, z));
        rebuilt.append(AcGePoint3d(fit.x, fit.y, z));
        for (int i = 0; i < points.length(); ++i)
            if (along[i] > d + kSameDistance) rebuilt.append(AcGePoint3d(points[i].x, points[i].y, z));
        points = rebuilt;
    }
}

void referenceHeights(AcGePoint3dArray& points, const AcGePoint3dArray& fitPoints, double z0)
{
    std::vector<double> heights(static_cast<size_t>(points.length()), z0);
    std::vector<int> anchors;
    for (int f = 0; f < fitPoints.length(); ++f) {
        const int i = indexOf(points, flat(fitPoints[f]));
        if (i < 0) continue;
        heights[i] = fitPoints[f].z;
        anchors.push_back(i);
    }
    const std::vector<double> along = planDistances(points);
    for (size_t a = 1; a < anchors.size(); ++a) {
        const int i = anchors[a - 1], j = anchors[a];
        const double dA = along[i], dB = along[j];
        for (int k = 0; k < points.length(); ++k)
            if (dA < along[k] && along[k] < dB)
                heights[k] = interpolateLinear(along[k] - dA, dB - dA, heights[i], heights[j]);
    }
    for (int k = 0; k < points.length(); ++k) points[k].z = heights[k];
}

bool sameBits(const AcGePoint3dArray& a, const AcGePoint3dArray& b)
{
    return a.length() == b.length() &&
           (a.isEmpty() || std::memcmp(a.asArrayPtr(), b.asArrayPtr(), sizeof(AcGePoint3d) * a.length()) == 0);
}

// Both placements, and both height passes after them, on copies of the points.
void expectSamePlacement(const AcGePoint3dArray& points, const AcGePoint3dArray& fitPoints, double z,
                         const std::string& what)
{
    AcGePoint3dArray expected = points, actual = points;
    referenceInsert(expected, fitPoints, z);
    insertFitPoints(actual, fitPoints, z);
    ASSERT_TRUE(sameBits(expected, actual)) << what << ": " << expected.length() << " vs " << actual.length();
    referenceHeights(expected, fitPoints, 7.5);
    setHeightsFromFitPoints(actual, fitPoints, 7.5);
    ASSERT_TRUE(sameBits(expected, actual)) << what << " (heights)";
}

AcGePoint3dArray facets(const AcGePoint3dArray& fitPoints, double tolerance)
{
    AcDbSpline spline(fitPoints);
    FacetSplineChordal facet;
    AcGePoint3dArray points;
    facet.setup(&spline, tolerance, 10000);
    facet.getPoints(points);
    return points;
}

}  // namespace

TEST(FitPointPlacement, RandomSplinesPlaceTheirFitPointsAsThePolylineQueriesDid)
{
    std::mt19937 random(15);
    std::uniform_real_distribution<double> step(-10.0, 10.0), height(-5.0, 50.0), offset(0.0, 1e6);
    for (int run = 0; run < 300; ++run) {
        // A third far from the origin, where the on-curve tolerance grows with the coordinates.
        const bool far = run % 3 == 0;
        double x = far ? offset(random) : 0.0, y = far ? offset(random) : 0.0;
        AcGePoint3dArray fit;
        const int count = 2 + run % 9;
        for (int i = 0; i < count; ++i) {
            fit.append(AcGePoint3d(x, y, run % 4 == 0 ? 0.0 : height(random)));
            x += step(random);
            y += step(random);
        }
        const AcGePoint3dArray points = facets(fit, run % 2 ? 0.1 : 0.01);
        if (points.isEmpty()) continue;
        expectSamePlacement(points, fit, points[0].z, "spline " + std::to_string(run));
        expectSamePlacement(points, fit, 0.0, "spline at 0, " + std::to_string(run));
    }
}

// Chains that come back on themselves, repeat points and pass at equal distances from a fit
// point: the segment chosen on a tie and the points dropped near the place decide the result.
TEST(FitPointPlacement, TiesRepeatsAndFoldsPlaceAsThePolylineQueriesDid)
{
    struct Case {
        const char* what;
        AcGePoint3dArray points, fit;
    };
    const Case cases[] = {
        {"fold back over itself", AcGePoint3dArray({{0, 0, 1}, {10, 0, 1}, {0, 0.5, 1}, {10, 1, 1}}),
         AcGePoint3dArray({{5, 0.25, 3}, {2, 0, 4}})},
        {"equidistant from three segments", AcGePoint3dArray({{0, 0, 0}, {10, 0, 0}, {10, 10, 0}, {0, 10, 0}}), AcGePoint3dArray({{5, 5, 2}})},
        {"on a vertex", AcGePoint3dArray({{0, 0, 2}, {5, 0, 2}, {10, 0, 2}}), AcGePoint3dArray({{5, 0, 9}, {5, 0, 1}})},
        {"repeated points", AcGePoint3dArray({{0, 0, 0}, {0, 0, 0}, {4, 0, 0}, {4, 0, 0}, {8, 0, 0}}),
         AcGePoint3dArray({{4, 1, 3}, {0, -1, 2}})},
        {"one point", AcGePoint3dArray({{3, 3, 3}}), AcGePoint3dArray({{1, 1, 1}, {3, 3, 0}})},
        {"within the same distance", AcGePoint3dArray({{0, 0, 0}, {1e-10, 0, 0}, {2e-10, 0, 0}, {5, 0, 0}}), AcGePoint3dArray({{1e-10, 1, 6}})},
        {"fit points in reverse order", AcGePoint3dArray({{0, 0, 0}, {1, 1, 0}, {2, 0, 0}, {3, 1, 0}, {4, 0, 0}}),
         AcGePoint3dArray({{4, 0.5, 1}, {2.5, 0.5, 2}, {0.5, 0.5, 3}})},
        {"a fit point twice", AcGePoint3dArray({{0, 0, 0}, {6, 0, 0}}), AcGePoint3dArray({{3, 1, 1}, {3, 1, 2}, {3, -1, 3}})},
        {"beyond the ends", AcGePoint3dArray({{0, 0, 5}, {1, 0, 5}, {2, 0, 5}}), AcGePoint3dArray({{-3, 0, 1}, {9, 1, 2}})},
    };
    for (const Case& c : cases) {
        expectSamePlacement(c.points, c.fit, 0.0, c.what);
        expectSamePlacement(c.points, c.fit, c.points[0].z, c.what);
    }
}

TEST(FitPointPlacement, RandomFoldedChainsPlaceTheirFitPointsAsThePolylineQueriesDid)
{
    // Points on a coarse grid, so that segments overlap, cross and meet at shared vertices.
    std::mt19937 random(3);
    std::uniform_int_distribution<int> cell(0, 6), size(1, 30), fits(1, 12);
    for (int run = 0; run < 500; ++run) {
        AcGePoint3dArray points, fit;
        const int n = size(random), m = fits(random);
        for (int i = 0; i < n; ++i) points.append(AcGePoint3d(cell(random) * 0.5, cell(random) * 0.5, 1.0));
        for (int i = 0; i < m; ++i) fit.append(AcGePoint3d(cell(random) * 0.25, cell(random) * 0.25, i));
        expectSamePlacement(points, fit, 0.0, "grid chain " + std::to_string(run));
        expectSamePlacement(points, fit, 2.0, "raised grid chain " + std::to_string(run));
    }
}
