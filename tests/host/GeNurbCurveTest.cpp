// NURBS curves: evaluation, derivatives, closest points and interpolation of fit points.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <numbers>
#include <random>

#include "host/ge/AcGeNurbCurve3d.h"

namespace {

constexpr double kPi = std::numbers::pi;

AcGeKnotVector knots(std::initializer_list<double> values) { return AcGeKnotVector(AcGeDoubleArray(values)); }

// Chord-length parameters scaled to 0..1: where a fit curve passes its fit points.
std::vector<double> chordParams(const AcGePoint3dArray& pts, bool closed) {
    std::vector<double> t{0.0};
    for (int i = 1; i < pts.length(); ++i) t.push_back(t.back() + pts[i].distanceTo(pts[i - 1]));
    if (closed) t.push_back(t.back() + pts.first().distanceTo(pts.last()));
    for (double& v : t) v /= t.back();
    return t;
}

void expectDerivativesMatchDifferences(const AcGeNurbCurve3d& c, double u) {
    constexpr double h = 1e-5;
    AcGeVector3dArray d, dm, dp;
    c.evalPoint(u, 2, d);
    const AcGePoint3d pm = c.evalPoint(u - h, 1, dm), pp = c.evalPoint(u + h, 1, dp);
    ASSERT_EQ(d.length(), 2);
    const AcGeVector3d first = (pp - pm) / (2 * h);
    const AcGeVector3d second = (dp[0] - dm[0]) / (2 * h);
    EXPECT_LT((first - d[0]).length(), 1e-6 * (1 + d[0].length())) << "at " << u;
    EXPECT_LT((second - d[1]).length(), 1e-4 * (1 + d[1].length())) << "at " << u;
}

}  // namespace

TEST(GeNurbCurve3d, QuadraticBezierEvaluatesAsBernsteinPolynomials) {
    const AcGePoint3d p0(0, 0, 0), p1(2, 4, 0), p2(4, 0, 2);
    const AcGeNurbCurve3d c(2, knots({0, 0, 0, 1, 1, 1}), AcGePoint3dArray({p0, p1, p2}));
    ASSERT_TRUE(c.isValid());
    for (double t : {0.0, 0.25, 0.5, 0.8, 1.0}) {
        const AcGeVector3d expect =
            p0.asVector() * ((1 - t) * (1 - t)) + p1.asVector() * (2 * t * (1 - t)) + p2.asVector() * (t * t);
        EXPECT_TRUE(c.evalPoint(t).asVector().isEqualTo(expect)) << t;
    }
    EXPECT_TRUE(c.startPoint().isEqualTo(p0));
    EXPECT_TRUE(c.endPoint().isEqualTo(p2));
}

TEST(GeNurbCurve3d, CubicBezierDerivativeFollowsTheHodograph) {
    const AcGePoint3d p[4] = {{0, 0, 0}, {1, 3, 0}, {4, 3, 1}, {5, 0, 0}};
    const AcGeNurbCurve3d c(3, knots({0, 0, 0, 0, 1, 1, 1, 1}), AcGePoint3dArray({p[0], p[1], p[2], p[3]}));
    for (double t : {0.0, 0.3, 0.5, 1.0}) {
        AcGeVector3dArray d;
        c.evalPoint(t, 1, d);
        const AcGeVector3d expect =
            ((p[1] - p[0]) * ((1 - t) * (1 - t)) + (p[2] - p[1]) * (2 * t * (1 - t)) + (p[3] - p[2]) * (t * t)) * 3.0;
        EXPECT_TRUE(d[0].isEqualTo(expect, [] {
            AcGeTol tol;
            tol.setEqualVector(1e-12);
            return tol;
        }())) << t;
    }
    expectDerivativesMatchDifferences(c, 0.37);
}

TEST(GeNurbCurve3d, RationalQuarterCircleIsExact) {
    const double w = std::sqrt(0.5);
    const AcGeNurbCurve3d c(2, knots({0, 0, 0, 1, 1, 1}),
                            AcGePoint3dArray({AcGePoint3d(1, 0, 0), AcGePoint3d(1, 1, 0), AcGePoint3d(0, 1, 0)}),
                            AcGeDoubleArray({1.0, w, 1.0}));
    EXPECT_TRUE(c.isRational());
    for (int i = 0; i <= 10; ++i) EXPECT_NEAR(c.evalPoint(i / 10.0).asVector().length(), 1.0, 1e-14);
    EXPECT_NEAR(c.length(), kPi / 2, 1e-9);
    expectDerivativesMatchDifferences(c, 0.2);
    expectDerivativesMatchDifferences(c, 0.9);
    // Closest point of a point outside the circle lies on its ray.
    const AcGePoint3d q = c.closestPointTo(AcGePoint3d(3, 3, 0));
    EXPECT_TRUE(q.isEqualTo(AcGePoint3d(w, w, 0), [] {
        AcGeTol tol;
        tol.setEqualPoint(1e-9);
        return tol;
    }()));
}

TEST(GeNurbCurve3d, KnotsThatDecreaseMakeAnInvalidCurveEvenAfterEvaluations) {
    const AcGePoint3dArray pts({AcGePoint3d(0, 0, 0), AcGePoint3d(1, 2, 0), AcGePoint3d(3, 2, 0), AcGePoint3d(4, 0, 0)});
    const AcGeNurbCurve3d bad(3, knots({0, 0, 0, 0.6, 0.4, 1, 1, 1}), pts);
    for (int i = 0; i < 3; ++i) {  // the answer, once known, is kept
        EXPECT_FALSE(bad.isValid());
        EXPECT_TRUE(bad.evalPoint(0.5).isEqualTo(AcGePoint3d::kOrigin));
    }
    AcGeNurbCurve3d good(3, knots({0, 0, 0, 0, 1, 1, 1, 1}), pts);
    ASSERT_TRUE(good.isValid());
    good.reverseParam();  // new knots, still in order
    EXPECT_TRUE(good.isValid());
    EXPECT_TRUE(good.evalPoint(0.0).isEqualTo(pts.last()));
}

TEST(GeNurbCurve3d, ReversedCurveRunsBackwards) {
    AcGeNurbCurve3d c(3, knots({0, 0, 0, 0, 0.3, 1, 1, 1, 1}),
                      AcGePoint3dArray({AcGePoint3d(0, 0, 0), AcGePoint3d(1, 2, 0), AcGePoint3d(3, 2, 1),
                                        AcGePoint3d(4, 0, 0), AcGePoint3d(6, 1, 0)}));
    const AcGeNurbCurve3d original = c;
    c.reverseParam();
    for (double u : {0.0, 0.1, 0.3, 0.65, 1.0}) EXPECT_TRUE(c.evalPoint(1.0 - u).isEqualTo(original.evalPoint(u)));
}

TEST(GeNurbCurve3d, FitCurvePassesThroughEveryFitPoint) {
    const AcGePoint3dArray fit({AcGePoint3d(0, 0, 0), AcGePoint3d(3, 1, 0), AcGePoint3d(4, 5, 1),
                                AcGePoint3d(8, 5, 1), AcGePoint3d(9, 0, 2)});
    const AcGeNurbCurve3d c(fit);
    ASSERT_TRUE(c.isValid());
    EXPECT_EQ(c.degree(), 3);
    EXPECT_FALSE(c.isPeriodic());
    EXPECT_DOUBLE_EQ(c.startParam(), 0.0);
    EXPECT_DOUBLE_EQ(c.endParam(), 1.0);
    const auto t = chordParams(fit, false);
    for (int i = 0; i < fit.length(); ++i) EXPECT_TRUE(c.evalPoint(t[i]).isEqualTo(fit[i])) << i;
    for (double u : {0.05, 0.4, 0.77}) expectDerivativesMatchDifferences(c, u);

    AcGePoint3dArray back;
    AcGeTol fitTol;
    bool tangents = true;
    AcGeVector3d s, e;
    ASSERT_TRUE(c.getFitData(back, fitTol, tangents, s, e));
    EXPECT_EQ(back.length(), fit.length());
    EXPECT_FALSE(tangents);
    EXPECT_TRUE(c.isOn(fit[2]));
    EXPECT_NEAR(c.paramOf(fit[3]), t[3], 1e-9);
}

TEST(GeNurbCurve3d, GivenEndTangentsFixTheEndDirections) {
    const AcGePoint3dArray fit({AcGePoint3d(0, 0, 0), AcGePoint3d(5, 0, 0), AcGePoint3d(10, 0, 0)});
    const AcGeNurbCurve3d c(fit, AcGeVector3d(0, 1, 0), AcGeVector3d(0, -2, 0));
    AcGeVector3dArray d;
    c.evalPoint(0.0, 1, d);
    EXPECT_TRUE(d[0].isCodirectionalTo({0, 1, 0}));
    c.evalPoint(1.0, 1, d);
    EXPECT_TRUE(d[0].isCodirectionalTo({0, -1, 0}));
    EXPECT_TRUE(c.evalPoint(0.5).isEqualTo(fit[1]));
    AcGeVector3d s, e;
    ASSERT_TRUE(c.getFitTangents(s, e));
    EXPECT_TRUE(s.isEqualTo({0, 1, 0}));
}

TEST(GeNurbCurve3d, CollinearFitPointsGiveAStraightCurve) {
    // Uneven spacing along one line: the default end conditions keep every control point
    // on the line, so faceting accepts the curve at once.
    const AcGePoint3dArray fit({AcGePoint3d(0, 0, 0), AcGePoint3d(1, 1, 1), AcGePoint3d(4, 4, 4),
                                AcGePoint3d(4.5, 4.5, 4.5), AcGePoint3d(10, 10, 10)});
    const AcGeNurbCurve3d c(fit);
    const AcGeVector3d dir = AcGeVector3d(1, 1, 1).normal();
    for (int i = 0; i < c.numControlPoints(); ++i)
        EXPECT_LT(c.controlPointAt(i).asVector().crossProduct(dir).length(), 1e-12) << i;
    // Two fit points: the straight segment, evenly parameterised.
    const AcGeNurbCurve3d two(AcGePoint3dArray({AcGePoint3d(0, 0, 0), AcGePoint3d(4, 2, 0)}));
    EXPECT_TRUE(two.evalPoint(0.5).isEqualTo({2, 1, 0}));
}

TEST(GeNurbCurve3d, TooFewOrRepeatedFitPoints) {
    EXPECT_FALSE(AcGeNurbCurve3d(AcGePoint3dArray({AcGePoint3d(1, 1, 1)})).isValid());
    EXPECT_FALSE(AcGeNurbCurve3d(AcGePoint3dArray({AcGePoint3d(1, 1, 1), AcGePoint3d(1, 1, 1)})).isValid());
    // A repeated point is passed through once; the curve still goes through all others.
    const AcGePoint3dArray fit({AcGePoint3d(0, 0, 0), AcGePoint3d(2, 1, 0), AcGePoint3d(2, 1, 0),
                                AcGePoint3d(4, 0, 0), AcGePoint3d(6, 2, 0)});
    const AcGeNurbCurve3d c(fit);
    ASSERT_TRUE(c.isValid());
    for (const auto& p : fit) EXPECT_TRUE(c.isOn(p, [] {
        AcGeTol tol;
        tol.setEqualPoint(1e-9);
        return tol;
    }()));
}

TEST(GeNurbCurve3d, TenThousandRandomWalkFitPointsInterpolateQuickly) {
    std::mt19937 rng(12345);
    std::uniform_real_distribution<double> step(-1.0, 1.0);
    AcGePoint3dArray fit;
    AcGePoint3d p(0, 0, 0);
    for (int i = 0; i < 10000; ++i) {
        p += AcGeVector3d(step(rng), step(rng), 0.1 * step(rng));
        fit.append(p);
    }
    const auto started = std::chrono::steady_clock::now();
    const AcGeNurbCurve3d c(fit);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    ASSERT_TRUE(c.isValid());
    EXPECT_LT(seconds, 0.5);
    EXPECT_EQ(c.numControlPoints(), 10002);
    const auto t = chordParams(fit, false);
    double worst = 0.0;
    for (int i = 0; i < fit.length(); ++i) worst = std::max(worst, c.evalPoint(t[i]).distanceTo(fit[i]));
    EXPECT_LT(worst, 1e-9);
    EXPECT_NEAR(c.paramOf(fit[7777]), t[7777], 1e-9);
}

TEST(GeNurbCurve3d, ClosedFitCurveIsPeriodicAndSmoothAtTheSeam) {
    const AcGePoint3dArray fit({AcGePoint3d(0, 0, 0), AcGePoint3d(4, 0, 0), AcGePoint3d(5, 3, 1),
                                AcGePoint3d(1, 4, 0), AcGePoint3d(0, 0, 0)});
    const AcGeNurbCurve3d c = fendo::ge::closedCurveThroughFitPoints(fit);
    ASSERT_TRUE(c.isValid());
    EXPECT_TRUE(c.isPeriodic());
    EXPECT_TRUE(c.isClosed());
    AcGePoint3dArray open = fit;
    open.removeLast();
    const auto t = chordParams(open, true);
    for (int i = 0; i < open.length(); ++i) EXPECT_TRUE(c.evalPoint(t[i]).isEqualTo(open[i])) << i;
    AcGeVector3dArray d0, d1;
    c.evalPoint(0.0, 2, d0);
    c.evalPoint(1.0, 2, d1);
    EXPECT_LT((d0[0] - d1[0]).length(), 1e-9);
    EXPECT_LT((d0[1] - d1[1]).length(), 1e-7);
    // Parameters wrap around the period.
    EXPECT_TRUE(c.evalPoint(1.25).isEqualTo(c.evalPoint(0.25)));
    expectDerivativesMatchDifferences(c, 0.999);
    EXPECT_FALSE(fendo::ge::closedCurveThroughFitPoints(
                     AcGePoint3dArray({AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0), AcGePoint3d(0, 0, 0)}))
                     .isValid());
}

TEST(GeNurbCurve3d, EditingFitPointsRefitsTheCurve) {
    AcGeNurbCurve3d c(AcGePoint3dArray({AcGePoint3d(0, 0, 0), AcGePoint3d(4, 2, 0), AcGePoint3d(8, 0, 0)}));
    ASSERT_TRUE(c.addFitPointAt(1, AcGePoint3d(2, 3, 0)));
    EXPECT_EQ(c.numFitPoints(), 4);
    EXPECT_TRUE(c.isOn(AcGePoint3d(2, 3, 0)));
    ASSERT_TRUE(c.deleteFitPointAt(2));
    EXPECT_FALSE(c.isOn(AcGePoint3d(4, 2, 0)));
    EXPECT_TRUE(c.isOn(AcGePoint3d(8, 0, 0)));
    // Changing the definition drops the fit data.
    c.setControlPointAt(1, AcGePoint3d(1, 1, 1));
    EXPECT_FALSE(c.hasFitData());
}
