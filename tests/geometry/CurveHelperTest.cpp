// Reading curves of a drawing by id, and reversing them in place.
#include <gtest/gtest.h>

#include <cmath>

#include "geometry/CurveHelper.h"
#include "host/db/DbHelpers.h"
#include "host/db/entities/AcDb2dPolyline.h"
#include "host/db/entities/AcDb3dPolyline.h"
#include "host/db/entities/AcDbLine.h"
#include "host/db/entities/AcDbPolyline.h"
#include "host/db/entities/AcDbSpline.h"
#include "host/ge/BulgeArc.h"
#include "support/TestDrawing.h"

namespace {

using fendo::db::OpenedObject;
using fendo::test::TestDrawing;

const AcGePoint2d kShape[] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
const double kBulges[] = {0.0, 1.0, 0.0, 0.25};

AcDbPolyline* lwShape(bool closed)
{
    auto* pl = new AcDbPolyline;
    for (unsigned int i = 0; i < 4; ++i) pl->addVertexAt(i, kShape[i], kBulges[i], i, i + 0.5);
    pl->setClosed(closed);
    return pl;
}

AcDb2dPolyline* heavyShape()
{
    AcGePoint3dArray pts;
    AcGeDoubleArray bulges;
    for (int i = 0; i < 4; ++i) {
        pts.append(AcGePoint3d(kShape[i].x, kShape[i].y, 0));
        bulges.append(kBulges[i]);
    }
    return new AcDb2dPolyline(AcDb::k2dSimplePoly, pts, 0.0, false, 0.0, 0.0, &bulges);
}

// The middle point of every segment of a lightweight polyline, whatever its direction.
std::vector<AcGePoint2d> segmentMiddles(const AcDbPolyline& pl)
{
    std::vector<AcGePoint2d> mids;
    const unsigned int n = pl.numVerts();
    const unsigned int segs = pl.isClosed() ? n : n - 1;
    for (unsigned int i = 0; i < segs; ++i) {
        AcGePoint2d a, b;
        double bulge = 0;
        pl.getPointAt(i, a);
        pl.getPointAt((i + 1) % n, b);
        pl.getBulgeAt(i, bulge);
        mids.push_back(fendo::ge::pointOnBulgeSegment(a, b, bulge, 0.5));
    }
    return mids;
}

bool samePointSet(std::vector<AcGePoint2d> a, std::vector<AcGePoint2d> b)
{
    if (a.size() != b.size()) return false;
    for (const AcGePoint2d& p : a) {
        auto it =
            std::find_if(b.begin(), b.end(), [&](const AcGePoint2d& q) { return p.distanceTo(q) < 1e-9; });
        if (it == b.end()) return false;
        b.erase(it);
    }
    return true;
}

}  // namespace

TEST(CurveHelperPoints, HeavyPolylineArcsBecomeChordsLightweightArcsAreSubdivided)
{
    TestDrawing dwg;
    CurveHelper heavy(dwg.add(heavyShape()));
    AcGePoint3dArray pts;
    bool closed = true;
    heavy.getPoints(pts, closed);
    EXPECT_EQ(heavy.kind(), CurveKind::Polyline2d);
    EXPECT_FALSE(closed);
    ASSERT_EQ(pts.length(), 4);
    for (int i = 0; i < 4; ++i) EXPECT_TRUE(pts[i].isEqualTo(AcGePoint3d(kShape[i].x, kShape[i].y, 0)));

    CurveHelper light(dwg.add(lwShape(false)));
    light.getPoints(pts, closed);
    EXPECT_EQ(light.kind(), CurveKind::LwPolyline);
    // The half circle of bulge 1 gets 18 segments; the last bulge belongs to no segment.
    EXPECT_EQ(pts.length(), 4 + 17);
}

TEST(CurveHelperPoints, SplinesAreFacetedAtTheSplineTolerance)
{
    TestDrawing dwg;
    const AcGePoint3dArray fit{{0, 0, 0}, {10, 5, 0}, {20, -5, 0}, {30, 0, 0}};
    CurveHelper helper(dwg.add(new AcDbSpline(fit)));
    AcGePoint3dArray coarse, fine;
    bool closed = true;
    helper.setSplineTolerance(0.5);
    helper.getPoints(coarse, closed);
    helper.setSplineTolerance(0.005);
    helper.getPoints(fine, closed);
    EXPECT_EQ(helper.kind(), CurveKind::Spline);
    EXPECT_FALSE(closed);
    EXPECT_GT(coarse.length(), 3);
    EXPECT_GT(fine.length(), coarse.length());
    EXPECT_TRUE(fine.first().isEqualTo(fit.first()));
    EXPECT_TRUE(fine.last().isEqualTo(fit.last(), AcGeTol()));
}

TEST(CurveHelperVertices, HeavyPolylinesAreReadThroughACopyThatIsErasedAgain)
{
    TestDrawing dwg;
    const AcDbObjectId id = dwg.add(heavyShape());
    const size_t before = fendo::test::modelSpaceEntities(dwg.db()).size();
    CurveHelper helper(id);
    bool closed = true;
    AcGePoint3dArray pts;
    AcGeDoubleArray bulges;
    EXPECT_EQ(helper.getVertices(closed, pts, &bulges), 4);
    EXPECT_EQ(helper.kind(), CurveKind::Polyline2d);
    EXPECT_FALSE(closed);
    ASSERT_EQ(bulges.length(), 4);
    EXPECT_EQ(bulges[1], 1.0);
    EXPECT_EQ(fendo::test::modelSpaceEntities(dwg.db()).size(), before);
}

TEST(CurveHelperReverse, EveryBulgeAndWidthFollowsItsSegment)
{
    for (bool closed : {false, true}) {
        TestDrawing dwg;
        const AcDbObjectId id = dwg.add(lwShape(closed));
        std::vector<AcGePoint2d> before;
        {
            OpenedObject<AcDbPolyline> pl(id, AcDb::kForRead);
            before = segmentMiddles(*pl.get());
        }
        CurveHelper(id).reverse();
        OpenedObject<AcDbPolyline> pl(id, AcDb::kForRead);
        EXPECT_EQ(pl->isClosed(), closed);
        AcGePoint2d first;
        pl->getPointAt(0, first);
        EXPECT_TRUE(first.isEqualTo(kShape[3]));
        EXPECT_TRUE(samePointSet(segmentMiddles(*pl.get()), before)) << (closed ? "closed" : "open");
        // Old segment 1 ((10,0) to (10,10), widths 1 and 1.5) is new segment 1, run backwards.
        double sw = 0, ew = 0;
        pl->getWidthsAt(1, sw, ew);
        EXPECT_EQ(sw, 1.5);
        EXPECT_EQ(ew, 1.0);
    }
}

TEST(CurveHelperReverse, LinesAndThreeDPolylinesRunTheOtherWay)
{
    TestDrawing dwg;
    const AcDbObjectId line = dwg.add(new AcDbLine(AcGePoint3d(1, 2, 3), AcGePoint3d(4, 5, 6)));
    const AcDbObjectId p3 =
        dwg.add(new AcDb3dPolyline(AcDb::k3dSimplePoly, AcGePoint3dArray{{0, 0, 0}, {1, 0, 1}, {2, 2, 2}}));
    CurveHelper(line).reverse();
    CurveHelper(p3).reverse();
    {
        OpenedObject<AcDbLine> l(line, AcDb::kForRead);
        EXPECT_TRUE(l->startPoint().isEqualTo(AcGePoint3d(4, 5, 6)));
        EXPECT_TRUE(l->endPoint().isEqualTo(AcGePoint3d(1, 2, 3)));
    }
    bool closed = false;
    AcGePoint3dArray pts;
    CurveHelper(p3).getVertices(closed, pts);
    ASSERT_EQ(pts.length(), 3);
    EXPECT_TRUE(pts[0].isEqualTo(AcGePoint3d(2, 2, 2)));
    EXPECT_TRUE(pts[2].isEqualTo(AcGePoint3d(0, 0, 0)));
}

// Reversing rewrites the vertices a heavy polyline has: the same vertex objects (ids and
// handles) run the other way, each bulge following its segment, and nothing is added.
TEST(CurveHelperReverse, HeavyPolylinesKeepTheirVertexObjects)
{
    TestDrawing dwg;
    const AcGeDoubleArray bulges{0.5, 0.0, -1.0};
    const AcDbObjectId p2 = dwg.add(new AcDb2dPolyline(AcDb::k2dSimplePoly,
                                                       AcGePoint3dArray{{0, 0, 0}, {10, 0, 0}, {10, 10, 0}}, 0.0,
                                                       false, 0.0, 0.0, &bulges));
    const AcDbObjectId p3 =
        dwg.add(new AcDb3dPolyline(AcDb::k3dSimplePoly, AcGePoint3dArray{{0, 0, 0}, {1, 0, 1}, {2, 2, 2}}));
    auto vertexIds = [](AcDbObjectId id) {
        OpenedObject<AcDbEntity> e(id, AcDb::kForRead);
        if (auto* h = AcDb2dPolyline::cast(e.get())) return h->subentityIds();
        return AcDb3dPolyline::cast(e.get())->subentityIds();
    };
    const auto ids2 = vertexIds(p2), ids3 = vertexIds(p3);
    const size_t objects = dwg.db().stubs().size();
    CurveHelper(p2).reverse();
    CurveHelper(p3).reverse();
    EXPECT_EQ(vertexIds(p2), ids2);
    EXPECT_EQ(vertexIds(p3), ids3);
    EXPECT_EQ(dwg.db().stubs().size(), objects) << "no vertex was made";
    bool closed = false;
    AcGePoint3dArray pts;
    AcGeDoubleArray after;
    CurveHelper(p2).getVertices(closed, pts, &after);
    ASSERT_EQ(pts.length(), 3);
    EXPECT_TRUE(pts[0].isEqualTo(AcGePoint3d(10, 10, 0)));
    // Old segment 1 (bulge 0) is new segment 0; old segment 0 (bulge 0.5) is new segment 1, reversed.
    EXPECT_EQ(after[0], 0.0);
    EXPECT_EQ(after[1], -0.5);
}

TEST(CurveHelperPoints, SplineFitThreeDPolylinesAreFacetedThroughTheirSplineEquivalent)
{
    TestDrawing dwg;
    auto* pl = new AcDb3dPolyline(AcDb::k3dSimplePoly,
                                  AcGePoint3dArray{{0, 0, 0}, {10, 10, 1}, {20, 0, 2}, {30, 10, 3}});
    pl->convertToPolyType(AcDb::k3dCubicSplinePoly);
    CurveHelper helper(dwg.add(pl));
    helper.setSplineTolerance(0.01);
    AcGePoint3dArray pts;
    bool closed = true;
    helper.getPoints(pts, closed);
    EXPECT_EQ(helper.kind(), CurveKind::Polyline3d);
    EXPECT_FALSE(closed);
    EXPECT_GT(pts.length(), 10);
    EXPECT_TRUE(pts.first().isEqualTo(AcGePoint3d(0, 0, 0), AcGeTol()));
    EXPECT_TRUE(pts.last().isEqualTo(AcGePoint3d(30, 10, 3), AcGeTol()));
}
