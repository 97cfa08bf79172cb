// Parameters, distances, closest points and derivatives of the host's curves, against
// values worked out by hand.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <numbers>

#include "host/db/entities/AcDb2dPolyline.h"
#include "host/db/entities/AcDb3dPolyline.h"
#include "host/db/entities/AcDbArc.h"
#include "host/db/entities/AcDbCircle.h"
#include "host/db/entities/AcDbLine.h"
#include "host/db/entities/AcDbPolyline.h"
#include "host/db/entities/AcDbSpline.h"

namespace {

constexpr double kPi = std::numbers::pi;

void expectPoint(const AcGePoint3d& p, double x, double y, double z = 0.0, double tol = 1e-9)
{
    EXPECT_NEAR(p.x, x, tol);
    EXPECT_NEAR(p.y, y, tol);
    EXPECT_NEAR(p.z, z, tol);
}

// Open: straight (0,0)-(4,0), half circle (4,0)-(4,4) bulging out to (6,2), straight
// (4,4)-(0,4). Lengths 4, 2pi, 4.
std::unique_ptr<AcDbPolyline> hairpin()
{
    auto pl = std::make_unique<AcDbPolyline>();
    pl->addVertexAt(0, {0, 0});
    pl->addVertexAt(1, {4, 0}, 1.0);
    pl->addVertexAt(2, {4, 4});
    pl->addVertexAt(3, {0, 4});
    return pl;
}

}  // namespace

TEST(CurveParams, ArcRunsOverItsAnglesAndAQuarterOfRadiusTwoIsPiLong)
{
    AcDbArc quarter({1, 1, 0}, 2.0, 0.0, kPi / 2);
    double s = 0, e = 0, len = 0;
    ASSERT_EQ(quarter.getStartParam(s), Acad::eOk);
    ASSERT_EQ(quarter.getEndParam(e), Acad::eOk);
    EXPECT_NEAR(s, 0.0, 1e-12);
    EXPECT_NEAR(e, kPi / 2, 1e-12);
    ASSERT_EQ(quarter.getDistAtParam(e, len), Acad::eOk);
    EXPECT_NEAR(len, kPi, 1e-12);
    AcGePoint3d mid;
    ASSERT_EQ(quarter.getPointAtDist(kPi / 2, mid), Acad::eOk);
    expectPoint(mid, 1 + std::sqrt(2.0), 1 + std::sqrt(2.0));

    // Across 0 degrees the end parameter is the end angle plus a full turn.
    AcDbArc across({0, 0, 0}, 1.0, 1.5 * kPi, 0.5 * kPi);
    across.getStartParam(s);
    across.getEndParam(e);
    EXPECT_NEAR(s, 1.5 * kPi, 1e-12);
    EXPECT_NEAR(e, 2.5 * kPi, 1e-12);
    double t = 0;
    ASSERT_EQ(across.getParamAtPoint({1, 0, 0}, t), Acad::eOk);
    EXPECT_NEAR(t, 2 * kPi, 1e-9);
    EXPECT_EQ(across.getParamAtPoint({-1, 0, 0}, t), Acad::eInvalidInput);  // on the circle, off the arc
    EXPECT_EQ(across.getPointAtParam(3 * kPi, mid), Acad::eInvalidInput);
}

TEST(CurveParams, LineAndCircleParameters)
{
    AcDbLine line({0, 0, 0}, {3, 4, 0});
    double e = 0, t = 0;
    line.getEndParam(e);
    EXPECT_NEAR(e, 5.0, 1e-12);
    AcGePoint3d p;
    line.getPointAtParam(2.5, p);
    expectPoint(p, 1.5, 2.0);
    ASSERT_EQ(line.getParamAtPoint({0.6, 0.8, 0}, t), Acad::eOk);
    EXPECT_NEAR(t, 1.0, 1e-12);
    EXPECT_EQ(line.getParamAtPoint({0.6, 0.81, 0}, t), Acad::eInvalidInput);

    AcDbCircle circle({1, 1, 0}, {0, 0, 1}, 2.0);
    circle.getEndParam(e);
    EXPECT_NEAR(e, 2 * kPi, 1e-12);
    ASSERT_EQ(circle.getParamAtPoint({1, 3, 0}, t), Acad::eOk);
    EXPECT_NEAR(t, kPi / 2, 1e-12);
    double dist = 0;
    circle.getDistAtPoint({-1, 1, 0}, dist);
    EXPECT_NEAR(dist, 2 * kPi, 1e-9);
}

TEST(CurveParams, LwPolylineRunsOverItsSegmentsWithArcsByAngle)
{
    auto pl = hairpin();
    double s = 0, e = 0, t = 0, d = 0;
    pl->getStartParam(s);
    pl->getEndParam(e);
    EXPECT_EQ(s, 0.0);
    EXPECT_EQ(e, 3.0);
    AcGePoint3d p;
    ASSERT_EQ(pl->getPointAtParam(1.5, p), Acad::eOk);
    expectPoint(p, 6, 2);
    ASSERT_EQ(pl->getPointAtParam(1.25, p), Acad::eOk);  // a quarter of the half circle
    expectPoint(p, 4 + std::sqrt(2.0), 2 - std::sqrt(2.0));
    ASSERT_EQ(pl->getParamAtPoint({6, 2, 0}, t), Acad::eOk);
    EXPECT_NEAR(t, 1.5, 1e-12);
    ASSERT_EQ(pl->getParamAtPoint({1, 4, 0}, t), Acad::eOk);
    EXPECT_NEAR(t, 2.75, 1e-12);
    EXPECT_EQ(pl->getParamAtPoint({6.01, 2, 0}, t), Acad::eInvalidInput);
    pl->getDistAtParam(1.5, d);
    EXPECT_NEAR(d, 4 + kPi, 1e-12);
    pl->getDistAtParam(3.0, d);
    EXPECT_NEAR(d, 8 + 2 * kPi, 1e-12);
    EXPECT_EQ(pl->getPointAtParam(3.5, p), Acad::eInvalidInput);

    // Distance and parameter are inverse all along the mixed polyline.
    for (double param = 0.0; param <= 3.0; param += 0.125) {
        double dist = 0, back = 0;
        ASSERT_EQ(pl->getDistAtParam(param, dist), Acad::eOk);
        ASSERT_EQ(pl->getParamAtDist(dist, back), Acad::eOk);
        EXPECT_NEAR(back, param, 1e-12) << param;
    }

    // Closed, the closing segment adds a parameter unit.
    pl->setClosed(true);
    pl->getEndParam(e);
    EXPECT_EQ(e, 4.0);
    pl->getPointAtParam(3.5, p);
    expectPoint(p, 0, 2);
}

TEST(CurveParams, HeavyPolylinesRunOverTheirVertices)
{
    AcGePoint3dArray pts{{0, 0, 0}, {1, 0, 0}, {1, 1, 1}};
    AcDb3dPolyline pl3(AcDb::k3dSimplePoly, pts);
    double t = 0, d = 0;
    ASSERT_EQ(pl3.getParamAtPoint({1, 0.5, 0.5}, t), Acad::eOk);
    EXPECT_NEAR(t, 1.5, 1e-12);
    pl3.getDistAtParam(2.0, d);
    EXPECT_NEAR(d, 1 + std::sqrt(2.0), 1e-12);

    AcGeDoubleArray bulges{1.0, 0.0};
    AcGePoint3dArray pts2{{0, 0, 0}, {2, 0, 0}};
    AcDb2dPolyline pl2(AcDb::k2dSimplePoly, pts2, 5.0, false, 0.0, 0.0, &bulges);
    AcGePoint3d p;
    ASSERT_EQ(pl2.getPointAtParam(0.5, p), Acad::eOk);
    expectPoint(p, 1, -1, 5);  // a counter-clockwise half circle from (0,0) to (2,0) dips below
    pl2.getDistAtParam(1.0, d);
    EXPECT_NEAR(d, kPi, 1e-12);
}

TEST(CurveClosestPoint, OnArcsAndBulgedSegmentsWithAndWithoutExtension)
{
    AcDbArc arc({0, 0, 0}, 1.0, 0.0, kPi / 2);
    AcGePoint3d q;
    arc.getClosestPointTo({2, 2, 0}, q);
    expectPoint(q, std::sqrt(0.5), std::sqrt(0.5));
    arc.getClosestPointTo({-2, 0, 0}, q);  // beyond the arc: its nearer end
    expectPoint(q, 0, 1);
    arc.getClosestPointTo({-2, 0, 0}, q, true);  // the full circle
    expectPoint(q, -1, 0);

    auto pl = hairpin();
    pl->getClosestPointTo({7, 2, 0}, q);
    expectPoint(q, 6, 2);
    pl->getClosestPointTo({4.5, 2, 0}, q);  // inside the half circle
    expectPoint(q, 6, 2, 0, 1e-9);
    pl->getClosestPointTo({-5, 4.5, 0}, q);
    expectPoint(q, 0, 4);
    pl->getClosestPointTo({-5, 4.5, 0}, q, true);  // last segment extended past its end
    expectPoint(q, -5, 4);
    pl->getClosestPointTo({-3, -1, 0}, q, true);  // first segment extended before its start
    expectPoint(q, -3, 0);

    AcDbLine line({0, 0, 0}, {1, 0, 0});
    line.getClosestPointTo({5, 3, 0}, q, true);
    expectPoint(q, 5, 0);
    // Along a direction: the point of the curve nearest to the line through the given point.
    line.getClosestPointTo({0.5, 3, 7}, {0, 0, 1}, q);
    expectPoint(q, 0.5, 0, 0, 1e-9);
}

TEST(CurveDerivatives, FirstDerivativesMatchFiniteDifferences)
{
    auto pl = hairpin();
    AcDbArc arc({1, 2, 0}, 3.0, 0.5, 2.0);
    AcDbLine line({0, 0, 0}, {3, 4, 0});
    AcGePoint3dArray fit{{0, 0, 0}, {1, 2, 0}, {3, 1, 1}, {5, 3, 0}};
    AcDbSpline spline(fit);
    const AcDbCurve* curves[] = {pl.get(), &arc, &line, &spline};
    for (const AcDbCurve* c : curves) {
        double s = 0, e = 0;
        c->getStartParam(s);
        c->getEndParam(e);
        const double h = 1e-6 * (e - s);
        for (int i = 1; i < 8; ++i) {
            double t = s + (e - s) * (i + 0.3) / 8.0;
            AcGePoint3d a, b;
            AcGeVector3d d;
            ASSERT_EQ(c->getPointAtParam(t - h, a), Acad::eOk);
            ASSERT_EQ(c->getPointAtParam(t + h, b), Acad::eOk);
            ASSERT_EQ(c->getFirstDeriv(t, d), Acad::eOk);
            AcGeVector3d fd = (b - a) / (2 * h);
            EXPECT_NEAR(d.x, fd.x, 1e-5 * (1 + fd.length())) << c->isA()->name() << " at " << t;
            EXPECT_NEAR(d.y, fd.y, 1e-5 * (1 + fd.length())) << c->isA()->name() << " at " << t;
            EXPECT_NEAR(d.z, fd.z, 1e-5 * (1 + fd.length())) << c->isA()->name() << " at " << t;
        }
    }
    // By point: the half circle's derivative at its middle is pi * r upwards.
    AcGeVector3d d;
    ASSERT_EQ(pl->getFirstDeriv(AcGePoint3d(6, 2, 0), d), Acad::eOk);
    EXPECT_NEAR(d.x, 0.0, 1e-12);
    EXPECT_NEAR(d.y, 2 * kPi, 1e-12);
    ASSERT_EQ(arc.getSecondDeriv(1.0, d), Acad::eOk);
    EXPECT_NEAR(d.length(), 3.0, 1e-12);  // r towards the centre for the angle parameter
}

TEST(CurveParams, PointsComputedOnCurvesAtSurveyCoordinatesAreFoundAgain)
{
    // Coordinates of a national grid: the on-curve tolerance grows with them, so points the
    // curve itself computed are still on it.
    AcDbPolyline pl;
    pl.addVertexAt(0, {512345.678, 1234567.891}, 0.3);
    pl.addVertexAt(1, {512400.123, 1234600.456}, -0.7);
    pl.addVertexAt(2, {512480.5, 1234590.25});
    for (double t = 0.0; t <= 2.0; t += 0.1) {
        AcGePoint3d p;
        double back = 0;
        ASSERT_EQ(pl.getPointAtParam(t, p), Acad::eOk);
        ASSERT_EQ(pl.getParamAtPoint(p, back), Acad::eOk) << t;
        EXPECT_NEAR(back, t, 1e-8);
    }
    double t = 0;
    EXPECT_EQ(pl.getParamAtPoint({512345.678, 1234567.892, 0}, t), Acad::eInvalidInput);  // a millimetre off
}
