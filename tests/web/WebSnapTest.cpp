// Snaps for points picked with the mouse: named points before the nearest point on a curve,
// only the kinds OSMODE asks for, nothing on hidden layers or outside the aperture.
#include <gtest/gtest.h>

#include <numbers>

#include "host/db/entities/AcDbArc.h"
#include "host/db/entities/AcDbCircle.h"
#include "host/db/entities/AcDbLine.h"
#include "host/db/entities/AcDbPolyline.h"
#include "support/TestDrawing.h"
#include "web/Snap.h"
#include "web/WebTestSupport.h"

using namespace fendo::web;
using fendo::test::TestDrawing;

namespace {

constexpr int kAll = kSnapEndpoint | kSnapMidpoint | kSnapCenter | kSnapNearest;

void expectSnap(const std::optional<Snap>& snap, SnapKind kind, double x, double y)
{
    ASSERT_TRUE(snap.has_value());
    EXPECT_EQ(snap->kind, kind);
    EXPECT_NEAR(snap->point.x, x, 1e-9);
    EXPECT_NEAR(snap->point.y, y, 1e-9);
}

}  // namespace

TEST(WebSnap, EndpointsMidpointsAndCentresOfEachCurveKind)
{
    TestDrawing d;
    d.add(new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(10, 0, 0)));
    d.add(new AcDbCircle(AcGePoint3d(50, 50, 0), AcGeVector3d::kZAxis, 5));
    d.add(new AcDbArc(AcGePoint3d(100, 0, 0), 10, 0, std::numbers::pi / 2));
    auto* pl = new AcDbPolyline;
    pl->addVertexAt(0, AcGePoint2d(0, 100));
    pl->addVertexAt(1, AcGePoint2d(20, 100));
    pl->addVertexAt(2, AcGePoint2d(20, 140));
    d.add(pl);
    AcDbDatabase& db = d.db();
    expectSnap(findSnap(db, AcGePoint3d(9.5, 0.4, 0), 1, kAll), SnapKind::Endpoint, 10, 0);
    expectSnap(findSnap(db, AcGePoint3d(5.3, -0.2, 0), 1, kAll), SnapKind::Midpoint, 5, 0);
    expectSnap(findSnap(db, AcGePoint3d(50.5, 49.5, 0), 1, kAll), SnapKind::Center, 50, 50);
    expectSnap(findSnap(db, AcGePoint3d(100, 0.5, 0), 1, kAll), SnapKind::Center, 100, 0);
    expectSnap(findSnap(db, AcGePoint3d(100.3, 10.2, 0), 1, kAll), SnapKind::Endpoint, 100, 10);
    expectSnap(
        findSnap(db, AcGePoint3d(100 + 10 * std::numbers::sqrt2 / 2 + 0.2, 10 * std::numbers::sqrt2 / 2, 0), 1, kAll),
        SnapKind::Midpoint, 100 + 10 * std::numbers::sqrt2 / 2, 10 * std::numbers::sqrt2 / 2);
    // A polyline's every vertex and every segment's middle.
    expectSnap(findSnap(db, AcGePoint3d(19.6, 100.3, 0), 1, kAll), SnapKind::Endpoint, 20, 100);
    expectSnap(findSnap(db, AcGePoint3d(20.4, 119.8, 0), 1, kAll), SnapKind::Midpoint, 20, 120);
    // Away from named points, the nearest point on the curve.
    expectSnap(findSnap(db, AcGePoint3d(2.5, 0.6, 0), 1, kAll), SnapKind::Nearest, 2.5, 0);
    expectSnap(findSnap(db, AcGePoint3d(55.5, 50, 0), 1, kAll), SnapKind::Nearest, 55, 50);
}

TEST(WebSnap, OnlyTheKindsAskedForWithinTheApertureAndOnShownLayers)
{
    TestDrawing d;
    d.layer(L"OFF");
    d.add(new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(10, 0, 0)));
    d.add(new AcDbLine(AcGePoint3d(0, 5, 0), AcGePoint3d(10, 5, 0)), L"OFF");
    fendo::test::web::setLayerOff(d.layer(L"OFF"));
    AcDbDatabase& db = d.db();
    expectSnap(findSnap(db, AcGePoint3d(5.2, 0.3, 0), 1, kSnapEndpoint | kSnapMidpoint), SnapKind::Midpoint, 5, 0);
    EXPECT_FALSE(findSnap(db, AcGePoint3d(5.2, 0.3, 0), 1, kSnapEndpoint));
    expectSnap(findSnap(db, AcGePoint3d(5.2, 0.3, 0), 1, kSnapEndpoint | kSnapNearest), SnapKind::Nearest, 5.2, 0);
    EXPECT_FALSE(findSnap(db, AcGePoint3d(9.5, 0.3, 0), 1, kAll | kSnapSuppressed));
    EXPECT_FALSE(findSnap(db, AcGePoint3d(12, 0, 0), 1, kAll));  // outside the aperture
    EXPECT_FALSE(findSnap(db, AcGePoint3d(10, 5.2, 0), 1, kAll));  // the line on the layer that is off
    // Of two named points in the aperture, the closer.
    d.add(new AcDbLine(AcGePoint3d(10.6, 0, 0), AcGePoint3d(20, 0, 0)));
    expectSnap(findSnap(db, AcGePoint3d(10.4, 0, 0), 1, kSnapEndpoint), SnapKind::Endpoint, 10.6, 0);
    expectSnap(findSnap(db, AcGePoint3d(10.2, 0, 0), 1, kSnapEndpoint), SnapKind::Endpoint, 10, 0);
}
