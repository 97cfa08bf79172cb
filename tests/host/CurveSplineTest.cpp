// Splines from fit points and the spline equivalents of spline-fit polylines.
#include <gtest/gtest.h>

#include <memory>

#include "host/db/entities/AcDb2dPolyline.h"
#include "host/db/entities/AcDb3dPolyline.h"
#include "host/db/entities/AcDbSpline.h"

TEST(SplineFitPoints, TheCurvePassesThroughEveryFitPoint)
{
    AcGePoint3dArray fit{{0, 0, 0}, {1, 2, 0}, {2.5, 2.2, 1}, {4, 0, 0}, {6, 1, 0}};
    AcDbSpline spline(fit, 4, 0.0);
    for (const AcGePoint3d& p : fit) {
        AcGePoint3d q;
        double t = 0;
        ASSERT_EQ(spline.getClosestPointTo(p, q), Acad::eOk);
        EXPECT_LT(q.distanceTo(p), 1e-9);
        EXPECT_EQ(spline.getParamAtPoint(p, t), Acad::eOk);
    }
    AcGePoint3d s, e;
    spline.getStartPoint(s);
    spline.getEndPoint(e);
    EXPECT_LT(s.distanceTo(fit.first()), 1e-12);
    EXPECT_LT(e.distanceTo(fit.last()), 1e-12);
    double t = 0;
    EXPECT_EQ(spline.getParamAtPoint({1, 2.5, 0}, t), Acad::eInvalidInput);

    // Distance and parameter are inverse along the spline.
    double t0 = 0, t1 = 0;
    spline.getStartParam(t0);
    spline.getEndParam(t1);
    for (int i = 0; i <= 10; ++i) {
        double param = t0 + (t1 - t0) * i / 10.0, dist = 0, back = 0;
        ASSERT_EQ(spline.getDistAtParam(param, dist), Acad::eOk);
        ASSERT_EQ(spline.getParamAtDist(dist, back), Acad::eOk);
        EXPECT_NEAR(back, param, 1e-9);
    }
}

TEST(SplineFitPoints, InsertAndRemoveKeepTheCurveOnItsPointsAndRefuseBadIndices)
{
    AcGePoint3dArray fit{{0, 0, 0}, {1, 1, 0}, {2, 0, 0}};
    AcDbSpline spline(fit);
    EXPECT_EQ(spline.removeFitPointAt(3), Acad::eInvalidIndex);
    EXPECT_EQ(spline.removeFitPointAt(-1), Acad::eInvalidIndex);
    EXPECT_EQ(spline.insertFitPointAt(5, {9, 9, 0}), Acad::eInvalidIndex);
    ASSERT_EQ(spline.insertFitPointAt(1, {0.5, 1, 0}), Acad::eOk);
    EXPECT_EQ(spline.numFitPoints(), 4);
    double t = 0;
    EXPECT_EQ(spline.getParamAtPoint({0.5, 1, 0}, t), Acad::eOk);
    ASSERT_EQ(spline.removeFitPointAt(2), Acad::eOk);
    ASSERT_EQ(spline.removeFitPointAt(0), Acad::eOk);
    EXPECT_NE(spline.removeFitPointAt(0), Acad::eOk);  // two must remain
    EXPECT_EQ(spline.numFitPoints(), 2);
}

TEST(SplineFitPoints, ALastPointEqualToTheFirstMakesAClosedSpline)
{
    AcGePoint3dArray fit{{0, 0, 0}, {2, 0, 0}, {2, 2, 0}, {0, 2, 0}, {0, 0, 0}};
    AcDbSpline spline(fit);
    EXPECT_TRUE(spline.isClosed());
    AcGePoint3d s, e;
    spline.getStartPoint(s);
    spline.getEndPoint(e);
    EXPECT_LT(s.distanceTo(e), 1e-9);
    for (const AcGePoint3d& p : fit) {
        AcGePoint3d q;
        spline.getClosestPointTo(p, q);
        EXPECT_LT(q.distanceTo(p), 1e-9);
    }
}

TEST(PolylineSpline, ACubicSplineFitPolylineGivesTheSplineOfItsFrame)
{
    AcGePoint3dArray frame{{0, 0, 0}, {1, 2, 0}, {3, 2, 1}, {4, 0, 0}, {6, 1, 2}};
    AcDb3dPolyline pl(AcDb::k3dCubicSplinePoly, frame);
    AcDbSpline* raw = nullptr;
    ASSERT_EQ(pl.getSpline(raw), Acad::eOk);
    std::unique_ptr<AcDbSpline> spline(raw);
    int degree = 0;
    bool rational = true, closed = true, periodic = true;
    AcGePoint3dArray ctrl;
    AcGeDoubleArray knots, weights;
    double ctol = 0, ktol = 0;
    ASSERT_EQ(spline->getNurbsData(degree, rational, closed, periodic, ctrl, knots, weights, ctol, ktol), Acad::eOk);
    EXPECT_EQ(degree, 3);
    EXPECT_FALSE(rational);
    EXPECT_FALSE(closed);
    ASSERT_EQ(ctrl.length(), frame.length());
    for (int i = 0; i < frame.length(); ++i) EXPECT_LT(ctrl[i].distanceTo(frame[i]), 1e-12);
    const std::vector<double> expected{0, 0, 0, 0, 1, 2, 2, 2, 2};  // clamped, uniform inside
    ASSERT_EQ(knots.length(), static_cast<int>(expected.size()));
    for (int i = 0; i < knots.length(); ++i) EXPECT_DOUBLE_EQ(knots[i], expected[i]);
    // The polyline's generated vertices lie on the spline.
    for (AcDb3dPolylineVertex* v : pl.shapeVertices()) {
        AcGePoint3d q;
        spline->getClosestPointTo(v->position(), q);
        EXPECT_LT(q.distanceTo(v->position()), 1e-9);
    }

    AcDb3dPolyline simple(AcDb::k3dSimplePoly, frame);
    EXPECT_EQ(simple.getSpline(raw), Acad::eNotApplicable);
}

TEST(PolylineSpline, AClosedQuadraticPolylineGivesAPeriodicSpline)
{
    AcGePoint3dArray frame{{0, 0, 0}, {4, 0, 0}, {4, 4, 0}, {0, 4, 0}};
    AcDb2dPolyline pl(AcDb::k2dQuadSplinePoly, frame, 0.0, true);
    AcDbSpline* raw = nullptr;
    ASSERT_EQ(pl.getSpline(raw), Acad::eOk);
    std::unique_ptr<AcDbSpline> spline(raw);
    EXPECT_EQ(spline->degree(), 2);
    EXPECT_TRUE(spline->isClosed());
    EXPECT_TRUE(spline->isPeriodic());
    AcGePoint3d s, e;
    spline->getStartPoint(s);
    spline->getEndPoint(e);
    EXPECT_LT(s.distanceTo(e), 1e-12);
    // A quadratic uniform B-spline passes through the middles of its frame's edges.
    AcGePoint3d q;
    spline->getClosestPointTo({2, 0, 0}, q);
    EXPECT_LT(q.distanceTo({2, 0, 0}), 1e-9);
    for (AcDb2dVertex* v : pl.shapeVertices()) {
        spline->getClosestPointTo(v->position(), q);
        EXPECT_LT(q.distanceTo(v->position()), 1e-9);
    }
}
