// Reading polylines into lists and faceting arcs, circles and lightweight polylines.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "geometry/CArrayPoint.h"
#include "geometry/CurveReaders.h"
#include "geometry/DistinctPoints.h"
#include "geometry/Pline3dUtil.h"
#include "host/db/entities/AcDb3dPolyline.h"
#include "host/db/entities/AcDbArc.h"
#include "host/db/entities/AcDbCircle.h"
#include "host/db/entities/AcDbPolyline.h"
#include "support/TestDrawing.h"

namespace {

constexpr double kPi = 3.141592653589793;

void makeSquare(AcDbPolyline& pl, bool closed)
{
    const AcGePoint2d corners[] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
    for (unsigned int i = 0; i < 4; ++i) pl.addVertexAt(i, corners[i], i == 1 ? 0.5 : 0.0);
    pl.setClosed(closed);
}

}  // namespace

TEST(LwPolylineReaders, AClosedSquareReadsAsFourVerticesOrFivePointsWithTheFirstRepeated)
{
    AcDbPolyline pl;
    makeSquare(pl, true);
    bool closed = false;
    AcGePoint3dArray pts3;
    AcGeDoubleArray bulges3;
    EXPECT_EQ(readLwPolyline(&pl, closed, pts3, &bulges3), 4);
    EXPECT_TRUE(closed);
    EXPECT_EQ(bulges3.length(), 4);
    EXPECT_DOUBLE_EQ(bulges3[1], 0.5);

    AcGePoint2dArray pts2;
    AcGeDoubleArray bulges2;
    EXPECT_EQ(readLwPolyline2d(&pl, pts2, bulges2), 5);
    ASSERT_EQ(bulges2.length(), 5);
    EXPECT_TRUE(pts2[4].isEqualTo(pts2[0]));
    EXPECT_EQ(bulges2[4], 0.0);
    EXPECT_DOUBLE_EQ(bulges2[1], 0.5);

    AcGeDoubleArray sw{9.0}, ew;
    EXPECT_EQ(readLwPolylineWidths(&pl, pts2, bulges2, sw, ew), 4);
    EXPECT_EQ(sw.length(), 4);
    EXPECT_EQ(ew.length(), 4);
}

TEST(FacetCircularCurve, SegmentCountsFollowTheSweepAndNeverDropBelowFour)
{
    const AcDbCircle circle(AcGePoint3d(5, 5, 0), AcGeVector3d(0, 0, 1), 20.0);
    AcGePoint3dArray pts;
    EXPECT_EQ(facetCircularCurve(&circle, pts, kArcFacetTolerance, ArcTolMode::Sweep), 36);
    ASSERT_EQ(pts.length(), 37);
    EXPECT_TRUE(pts.first().isEqualTo(pts.last()));
    for (const AcGePoint3d& p : pts) EXPECT_NEAR(p.distanceTo(AcGePoint3d(5, 5, 0)), 20.0, 1e-9);

    const AcDbArc quarter(AcGePoint3d(0, 0, 0), 3.0, 0.0, kPi / 2);
    EXPECT_EQ(facetCircularCurve(&quarter, pts, kArcFacetTolerance, ArcTolMode::Sweep), 9);
    EXPECT_EQ(pts.length(), 10);
    EXPECT_TRUE(pts.first().isEqualTo(AcGePoint3d(3, 0, 0)));
    EXPECT_TRUE(pts.last().isEqualTo(AcGePoint3d(0, 3, 0), AcGeTol()));

    // Stored across 0: the included angle counts, 90 degrees.
    const AcDbArc acrossZero(AcGePoint3d(0, 0, 0), 3.0, 7 * kPi / 4, kPi / 4);
    EXPECT_EQ(facetCircularCurve(&acrossZero, pts, kArcFacetTolerance, ArcTolMode::Sweep), 9);

    const AcDbArc small(AcGePoint3d(0, 0, 0), 100.0, 0.0, 0.1);
    EXPECT_EQ(facetCircularCurve(&small, pts, kArcFacetTolerance, ArcTolMode::Sweep), 4);
    // Radius mode: q = 2 tol / R^2; for R = 100 that is 1e-6 and n = 12.9.
    EXPECT_EQ(facetCircularCurve(&small, pts, kArcFacetTolerance, ArcTolMode::Radius), 13);
    const AcDbArc tiny(AcGePoint3d(0, 0, 0), 1.0, 0.0, 0.1);
    EXPECT_EQ(facetCircularCurve(&tiny, pts, kArcFacetTolerance, ArcTolMode::Radius), 4);
}

TEST(FacetLwPolyline, AnOpenPolylineEndingOnItsStartIsFacetedAsClosed)
{
    AcDbPolyline pl;
    pl.addVertexAt(0, AcGePoint2d(0, 0), 0.0);
    pl.addVertexAt(1, AcGePoint2d(10, 0), 1.0);  // a half circle of radius 5
    pl.addVertexAt(2, AcGePoint2d(10, 10), 0.0);
    pl.addVertexAt(3, AcGePoint2d(0, 5e-7), 0.0);
    AcGePoint3dArray pts;
    // Half circle: sweep pi, n = pi / sqrt(0.03) = 18 segments, 17 inner points.
    EXPECT_EQ(facetLwPolyline(&pl, pts, kArcFacetTolerance, ArcTolMode::Sweep), 3 + 17 + 1);
    EXPECT_TRUE(pts.last().isEqualTo(AcGePoint3d(0, 0, 0)));
    for (int i = 2; i < 19; ++i) EXPECT_NEAR(pts[i].distanceTo(AcGePoint3d(10, 5, 0)), 5.0, 1e-9);

    // Closed with the last vertex on the first: no repeated first point.
    pl.setClosed(true);
    EXPECT_EQ(facetLwPolyline(&pl, pts, kArcFacetTolerance, ArcTolMode::Sweep), 3 + 17);
    EXPECT_TRUE(pts.last().isEqualTo(AcGePoint3d(10, 10, 0)));

    // Beyond 1e-6 it is an ordinary open polyline.
    pl.setClosed(false);
    pl.setPointAt(3, AcGePoint2d(0, 2e-6));
    EXPECT_EQ(facetLwPolyline(&pl, pts, kArcFacetTolerance, ArcTolMode::Sweep), 4 + 17);
}

// The points between the vertices of a bulged segment are the polyline's own points at the
// matching parameters, for bulges either way, open, closed and closed by coincidence.
TEST(FacetLwPolyline, ArcPointsAreThePolylinesPointsAtTheirParameters)
{
    for (int shape = 0; shape < 3; ++shape) {
        AcDbPolyline pl;
        const AcGePoint2d corners[] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}};
        const double bulges[] = {0.5, -0.8, 0.0, 1.0, 0.0};
        const unsigned int n = shape == 2 ? 5 : 4;  // shape 2 ends on its start
        for (unsigned int i = 0; i < n; ++i) pl.addVertexAt(i, corners[i], bulges[i]);
        pl.setClosed(shape == 1);
        pl.setElevation(2.5);
        AcGePoint3dArray points;
        facetLwPolyline(&pl, points, kArcFacetTolerance, ArcTolMode::Sweep);
        ASSERT_GT(points.length(), 8) << shape;
        double previous = -1;
        // The repeated start of shape 2 is checked for being on the polyline only.
        const int ordered = points.length() - (shape == 2 ? 1 : 0);
        for (int i = 0; i < points.length(); ++i) {
            const AcGePoint3d& p = points[i];
            double param = 0;
            ASSERT_EQ(pl.getParamAtPoint(p, param), Acad::eOk) << "shape " << shape << " point off the polyline";
            AcGePoint3d on;
            pl.getPointAtParam(param, on);
            EXPECT_NEAR(on.distanceTo(p), 0.0, 1e-9) << shape;
            EXPECT_EQ(p.z, 2.5);
            if (i < ordered) {
                EXPECT_GT(param, previous) << "shape " << shape << " point " << i << " out of order";
                previous = param;
            }
        }
    }
}

TEST(ThreeDPolylineReaders, APositionPassedTwiceIsListedOnce)
{
    fendo::test::TestDrawing dwg;
    const AcGePoint3dArray pts{{0, 0, 0}, {10, 0, 1}, {10, 10, 2}, {10, 0, 1}, {0, 10, 3}};
    auto* pl = new AcDb3dPolyline(AcDb::k3dSimplePoly, pts);
    AcGePoint3dArray read;
    EXPECT_EQ(read3dPolylineVertices(pl, read), 4);
    EXPECT_TRUE(read[3].isEqualTo(AcGePoint3d(0, 10, 3)));
    const AcDbObjectId id = dwg.add(pl);

    Pline3dUtil util(id);
    AcGePoint3dArray viaUtil;
    EXPECT_EQ(util.getVertices(viaUtil), 4);
    EXPECT_EQ(util.vertexCount(), 4);
    AcDb3dPolylineVertex* v = nullptr;
    ASSERT_TRUE(util.openVertexAt(3, AcDb::kForRead, v));
    EXPECT_TRUE(v->position().isEqualTo(AcGePoint3d(10, 0, 1)));
    EXPECT_FALSE(util.openVertexAt(5, AcDb::kForRead, v));
}

TEST(CArrayPoint, NearestPointTakesTheFirstOfEqualDistancesAndCanIgnoreHeight)
{
    CArrayPoint list(AcGePoint3dArray{{0, 0, 50}, {4, 0, 0}, {-4, 0, 0}, {0, 4, 0}});
    int index = -2;
    EXPECT_TRUE(
        list.nearestPoint({0, 0, 0}, CArrayPoint::Distance::Spatial, index).isEqualTo(AcGePoint3d(4, 0, 0)));
    EXPECT_EQ(index, 1);
    EXPECT_TRUE(
        list.nearestPoint({0, 0, 0}, CArrayPoint::Distance::Planar, index).isEqualTo(AcGePoint3d(0, 0, 50)));
    EXPECT_EQ(index, 0);
    CArrayPoint empty;
    EXPECT_TRUE(
        empty.nearestPoint({1, 1, 1}, CArrayPoint::Distance::Spatial, index).isEqualTo(AcGePoint3d(0, 0, 0)));
    EXPECT_EQ(index, -1);
}

// The point set answers exactly as comparing each point with every one kept before it,
// whatever the tolerance against the grid's cells: points straddle cell edges, sit at the
// tolerance and just beyond it, at survey-sized and at small coordinates.
TEST(DistinctPoints, KeepsExactlyThePointsAScanOfEveryEarlierPointKeeps)
{
    std::mt19937 random(7);
    for (double tolerance : {1e-10, 1e-3, 0.5, 2.0}) {
        for (double base : {0.0, 584321.25, -2.5e6}) {
            std::uniform_real_distribution<double> spread(-4.0 * tolerance, 4.0 * tolerance);
            std::uniform_int_distribution<int> kind(0, 3);
            std::vector<AcGePoint3d> points;
            for (int i = 0; i < 400; ++i) {
                AcGePoint3d p(base + spread(random), base / 2 + spread(random), spread(random));
                if (!points.empty() && kind(random) == 0) {
                    // At the tolerance from an earlier point along one axis, or just beyond.
                    const AcGePoint3d& q = points[random() % points.size()];
                    const double d = tolerance * (random() % 2 ? 1.0 : 1.0 + 1e-9);
                    p = q + AcGeVector3d(random() % 2 ? d : -d, 0, 0);
                }
                points.push_back(p);
            }
            double extent = 0.0;
            for (const AcGePoint3d& p : points) extent = std::fmax(extent, std::fmax(std::fabs(p.x), std::fabs(p.y)));
            fendo::geometry::DistinctPoints set(tolerance, extent);
            std::vector<AcGePoint3d> kept;
            for (const AcGePoint3d& p : points) {
                bool equal = false;
                for (const AcGePoint3d& q : kept) equal = equal || p.distanceTo(q) <= tolerance;
                ASSERT_EQ(set.insert(p), !equal) << "tolerance " << tolerance << " at " << p.x << ", " << p.y;
                if (!equal) kept.push_back(p);
            }
        }
    }
}
