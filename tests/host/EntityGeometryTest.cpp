// Extents, transformations and explode of lines, arcs, circles and lightweight polylines.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "EntityTestSupport.h"
#include "host/db/entities/AcDbArc.h"
#include "host/db/entities/AcDbCircle.h"
#include "host/db/entities/AcDbLine.h"
#include "host/db/entities/AcDbPolyline.h"
#include "host/ge/AcGeCircArc3d.h"
#include "host/ge/AcGePlane.h"

using enttest::expectNear;

namespace {
constexpr double kPi = std::numbers::pi;
double deg(double d) { return d * kPi / 180.0; }
}  // namespace

TEST(ArcExtents, ArcAcrossZeroDegreesReachesTheXAxisMaximum)
{
    AcDbArc arc(AcGePoint3d(10, 20, 0), 5.0, deg(350), deg(10));
    AcDbExtents ext;
    ASSERT_EQ(arc.getGeomExtents(ext), Acad::eOk);
    EXPECT_NEAR(ext.maxPoint().x, 15.0, 1e-12);  // the 0 degree point lies on the arc
    EXPECT_NEAR(ext.minPoint().x, 10 + 5 * std::cos(deg(10)), 1e-12);
    EXPECT_NEAR(ext.minPoint().y, 20 - 5 * std::sin(deg(10)), 1e-12);
    EXPECT_NEAR(ext.maxPoint().y, 20 + 5 * std::sin(deg(10)), 1e-12);
}

TEST(ArcExtents, QuarterArcsAndCirclesInTiltedPlanes)
{
    AcDbArc upper(AcGePoint3d(0, 0, 0), 2.0, deg(45), deg(135));
    AcDbExtents ext;
    upper.getGeomExtents(ext);
    EXPECT_NEAR(ext.maxPoint().y, 2.0, 1e-12);
    EXPECT_NEAR(ext.minPoint().y, std::sqrt(2.0), 1e-12);

    // A circle standing in the XZ plane spans z but not y.
    AcDbCircle standing(AcGePoint3d(1, 1, 1), AcGeVector3d(0, 1, 0), 3.0);
    standing.getGeomExtents(ext);
    expectNear(ext.minPoint(), {-2, 1, -2});
    expectNear(ext.maxPoint(), {4, 1, 4});
}

TEST(ArcTransform, RotationTranslationAndMirrorKeepAValidArc)
{
    AcDbArc arc(AcGePoint3d(1, 0, 0), 2.0, deg(0), deg(90));
    const AcGePoint3d s0 = arc.startPt(), e0 = arc.endPt();

    AcGeMatrix3d rot = AcGeMatrix3d::rotation(deg(90), AcGeVector3d::kZAxis);
    ASSERT_EQ(arc.transformBy(rot), Acad::eOk);
    expectNear(arc.startPt(), AcGePoint3d(s0).transformBy(rot));
    expectNear(arc.endPt(), AcGePoint3d(e0).transformBy(rot));
    EXPECT_NEAR(arc.totalAngle(), kPi / 2, 1e-12);

    ASSERT_EQ(arc.transformBy(AcGeMatrix3d::translation({5, 5, 5})), Acad::eOk);
    expectNear(arc.center(), {5, 6, 5});

    // Mirroring about the YZ plane: the same point set, travelled the other way round.
    AcDbArc m(AcGePoint3d(0, 0, 0), 1.0, deg(10), deg(80));
    ASSERT_EQ(m.transformBy(AcGeMatrix3d::mirroring(AcGePlane::kYZPlane)), Acad::eOk);
    EXPECT_NEAR(m.totalAngle(), deg(70), 1e-12);
    EXPECT_NEAR(m.radius(), 1.0, 1e-12);
    AcDbExtents ext;
    m.getGeomExtents(ext);
    EXPECT_NEAR(ext.minPoint().x, -std::cos(deg(10)), 1e-12);
    EXPECT_NEAR(ext.maxPoint().x, -std::cos(deg(80)), 1e-12);
    EXPECT_NEAR(ext.maxPoint().y, std::sin(deg(80)), 1e-12);
}

TEST(ArcTransform, NonUniformScalingIsRefusedAndUniformScalingScalesTheRadius)
{
    AcDbCircle c(AcGePoint3d(0, 0, 0), AcGeVector3d::kZAxis, 1.0);
    AcGeMatrix3d stretch;
    stretch.entry[0][0] = 2.0;
    EXPECT_EQ(c.transformBy(stretch), Acad::eNotApplicable);
    EXPECT_EQ(c.radius(), 1.0);
    ASSERT_EQ(c.transformBy(AcGeMatrix3d::scaling(3.0, {1, 0, 0})), Acad::eOk);
    EXPECT_NEAR(c.radius(), 3.0, 1e-12);
    expectNear(c.center(), {-2, 0, 0});
    EXPECT_EQ(c.setRadius(0.0), Acad::eInvalidInput);
}

TEST(PolylineExtents, BulgedSegmentBulgesOutOfTheVertexBox)
{
    AcDbPolyline pl;
    pl.addVertexAt(0, {0, 0}, 1.0);  // a half circle to the right of the travel: below
    pl.addVertexAt(1, {2, 0});
    AcDbExtents ext;
    ASSERT_EQ(pl.getGeomExtents(ext), Acad::eOk);
    expectNear(ext.minPoint(), {0, -1, 0});
    expectNear(ext.maxPoint(), {2, 0, 0});

    pl.setBulgeAt(0, -1.0);
    pl.getGeomExtents(ext);
    expectNear(ext.maxPoint(), {2, 1, 0});

    pl.setElevation(4.0);
    pl.getGeomExtents(ext);
    EXPECT_NEAR(ext.minPoint().z, 4.0, 1e-12);
}

TEST(PolylineTransform, MirrorNegatesBulgesAndKeepsTheShape)
{
    AcDbPolyline pl;
    pl.addVertexAt(0, {0, 0}, 0.5);
    pl.addVertexAt(1, {4, 0});
    pl.addVertexAt(2, {4, 3});
    AcDbExtents before;
    pl.getGeomExtents(before);
    ASSERT_EQ(pl.transformBy(AcGeMatrix3d::mirroring(AcGePlane::kYZPlane)), Acad::eOk);
    double b = 0;
    pl.getBulgeAt(0, b);
    EXPECT_NEAR(b, -0.5, 1e-12);
    AcGePoint3d p;
    pl.getPointAt(1, p);
    expectNear(p, {-4, 0, 0});
    AcDbExtents after;
    pl.getGeomExtents(after);
    EXPECT_NEAR(after.minPoint().x, -before.maxPoint().x, 1e-9);
    EXPECT_NEAR(after.minPoint().y, before.minPoint().y, 1e-9);

    AcGeMatrix3d stretch;
    stretch.entry[1][1] = 2.0;
    EXPECT_EQ(pl.transformBy(stretch), Acad::eNotApplicable);
}

TEST(PolylineExplode, GivesLinesAndArcsThatMeetAtTheVertices)
{
    AcDbPolyline pl;
    pl.addVertexAt(0, {0, 0});
    pl.addVertexAt(1, {2, 0}, 1.0);
    pl.addVertexAt(2, {2, 2});
    pl.addVertexAt(3, {2, 2});  // coincident: no piece
    pl.setClosed(true);
    AcDbVoidPtrArray pieces;
    ASSERT_EQ(pl.explode(pieces), Acad::eOk);
    ASSERT_EQ(pieces.length(), 3);
    auto* first = AcDbLine::cast(static_cast<AcDbEntity*>(pieces[0]));
    auto* arc = AcDbArc::cast(static_cast<AcDbEntity*>(pieces[1]));
    auto* closing = AcDbLine::cast(static_cast<AcDbEntity*>(pieces[2]));
    ASSERT_TRUE(first && arc && closing);
    expectNear(first->endPoint(), {2, 0, 0});
    expectNear(arc->center(), {2, 1, 0});
    EXPECT_NEAR(arc->radius(), 1.0, 1e-12);
    // Counter-clockwise from (2,0) to (2,2) about (2,1): through (3,1).
    expectNear(arc->startPt(), {2, 0, 0});
    expectNear(arc->endPt(), {2, 2, 0});
    AcDbExtents ext;
    arc->getGeomExtents(ext);
    EXPECT_NEAR(ext.maxPoint().x, 3.0, 1e-12);
    expectNear(closing->startPoint(), {2, 2, 0});
    expectNear(closing->endPoint(), {0, 0, 0});
    for (void* p : pieces) delete static_cast<AcDbEntity*>(p);
}
