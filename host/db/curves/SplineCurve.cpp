// Curve queries of the spline entity: its NURBS parameter (the knot range), points and
// derivatives by de Boor evaluation, lengths by quadrature of the NURBS.
#include <algorithm>
#include <cmath>

#include "host/db/curves/CurveQueries.h"
#include "host/db/entities/AcDbSpline.h"

namespace {

double splineTolerance(const AcGeNurbCurve3d& c)
{
    double scale = 0.0;
    for (int i = 0; i < c.numControlPoints(); ++i) {
        AcGePoint3d p = c.controlPointAt(i);
        scale = std::max({scale, std::abs(p.x), std::abs(p.y), std::abs(p.z)});
    }
    return std::max(AcGeContext::gTol.equalPoint(), fendo::db::curves::kRelativeOnCurveTolerance * scale);
}

bool inRange(const AcGeNurbCurve3d& c, double param)
{
    const double slack = 1e-10 * std::max({1.0, std::abs(c.startParam()), std::abs(c.endParam())});
    return param >= c.startParam() - slack && param <= c.endParam() + slack;
}

}  // namespace

Acad::ErrorStatus AcDbSpline::getStartParam(double& param) const
{
    if (isNull()) return Acad::eDegenerateGeometry;
    param = nurbs().startParam();
    return Acad::eOk;
}

Acad::ErrorStatus AcDbSpline::getEndParam(double& param) const
{
    if (isNull()) return Acad::eDegenerateGeometry;
    param = nurbs().endParam();
    return Acad::eOk;
}

Acad::ErrorStatus AcDbSpline::getStartPoint(AcGePoint3d& point) const
{
    if (isNull()) return Acad::eDegenerateGeometry;
    point = nurbs().startPoint();
    return Acad::eOk;
}

Acad::ErrorStatus AcDbSpline::getEndPoint(AcGePoint3d& point) const
{
    if (isNull()) return Acad::eDegenerateGeometry;
    point = nurbs().endPoint();
    return Acad::eOk;
}

Acad::ErrorStatus AcDbSpline::getPointAtParam(double param, AcGePoint3d& point) const
{
    if (isNull()) return Acad::eDegenerateGeometry;
    if (!inRange(nurbs(), param)) return Acad::eInvalidInput;
    point = nurbs().evalPoint(std::clamp(param, nurbs().startParam(), nurbs().endParam()));
    return Acad::eOk;
}

Acad::ErrorStatus AcDbSpline::getParamAtPoint(const AcGePoint3d& point, double& param) const
{
    if (isNull()) return Acad::eDegenerateGeometry;
    double t = nurbs().paramOf(point);
    if (nurbs().evalPoint(t).distanceTo(point) > splineTolerance(nurbs())) return Acad::eInvalidInput;
    param = t;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbSpline::getDistAtParam(double param, double& dist) const
{
    if (isNull()) return Acad::eDegenerateGeometry;
    if (!inRange(nurbs(), param)) return Acad::eInvalidInput;
    dist = nurbs().length(nurbs().startParam(), std::clamp(param, nurbs().startParam(), nurbs().endParam()));
    return Acad::eOk;
}

Acad::ErrorStatus AcDbSpline::getParamAtDist(double dist, double& param) const
{
    if (isNull()) return Acad::eDegenerateGeometry;
    const AcGeNurbCurve3d& c = nurbs();
    const double t0 = c.startParam(), t1 = c.endParam();
    const double total = c.length(t0, t1);
    if (dist < -1e-10 * std::max(1.0, total) || dist > total * (1.0 + 1e-10) + 1e-10) return Acad::eInvalidInput;
    dist = std::clamp(dist, 0.0, total);
    // Bisection kept as a bracket, Newton steps inside it.
    double lo = t0, hi = t1, t = t0 + (t1 - t0) * (total > 0.0 ? dist / total : 0.0);
    for (int it = 0; it < 100; ++it) {
        double f = c.length(t0, t) - dist;
        if (std::abs(f) <= 1e-12 * std::max(1.0, total)) break;
        (f > 0.0 ? hi : lo) = t;
        AcGeVector3dArray d;
        c.evalPoint(t, 1, d);
        double speed = d.isEmpty() ? 0.0 : d[0].length();
        double next = speed > 0.0 ? t - f / speed : 0.5 * (lo + hi);
        t = (next > lo && next < hi) ? next : 0.5 * (lo + hi);
        if (hi - lo <= 1e-15 * std::max(1.0, std::abs(t1))) break;
    }
    param = t;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbSpline::getDistAtPoint(const AcGePoint3d& point, double& dist) const
{
    double t = 0.0;
    Acad::ErrorStatus es = getParamAtPoint(point, t);
    return es == Acad::eOk ? getDistAtParam(t, dist) : es;
}

Acad::ErrorStatus AcDbSpline::getPointAtDist(double dist, AcGePoint3d& point) const
{
    double t = 0.0;
    Acad::ErrorStatus es = getParamAtDist(dist, t);
    return es == Acad::eOk ? getPointAtParam(t, point) : es;
}

Acad::ErrorStatus AcDbSpline::getFirstDeriv(double param, AcGeVector3d& deriv) const
{
    if (isNull()) return Acad::eDegenerateGeometry;
    if (!inRange(nurbs(), param)) return Acad::eInvalidInput;
    AcGeVector3dArray d;
    nurbs().evalPoint(std::clamp(param, nurbs().startParam(), nurbs().endParam()), 1, d);
    deriv = d.isEmpty() ? AcGeVector3d() : d[0];
    return Acad::eOk;
}

Acad::ErrorStatus AcDbSpline::getFirstDeriv(const AcGePoint3d& point, AcGeVector3d& deriv) const
{
    double t = 0.0;
    Acad::ErrorStatus es = getParamAtPoint(point, t);
    return es == Acad::eOk ? getFirstDeriv(t, deriv) : es;
}

Acad::ErrorStatus AcDbSpline::getSecondDeriv(double param, AcGeVector3d& deriv) const
{
    if (isNull()) return Acad::eDegenerateGeometry;
    if (!inRange(nurbs(), param)) return Acad::eInvalidInput;
    deriv = AcGeVector3d();
    if (degree() < 2) return Acad::eOk;
    AcGeVector3dArray d;
    nurbs().evalPoint(std::clamp(param, nurbs().startParam(), nurbs().endParam()), 2, d);
    if (d.length() > 1) deriv = d[1];
    return Acad::eOk;
}

Acad::ErrorStatus AcDbSpline::getClosestPointTo(const AcGePoint3d& givenPoint, AcGePoint3d& pointOnCurve,
                                                bool) const
{
    // Splines are not extended: the closest point is on the curve itself.
    if (isNull()) return Acad::eDegenerateGeometry;
    pointOnCurve = nurbs().closestPointTo(givenPoint);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbSpline::getClosestPointTo(const AcGePoint3d& givenPoint, const AcGeVector3d& direction,
                                                AcGePoint3d& pointOnCurve, bool extend) const
{
    if (direction.isZeroLength()) return getClosestPointTo(givenPoint, pointOnCurve, extend);
    if (isNull()) return Acad::eDegenerateGeometry;
    const AcGeNurbCurve3d& c = nurbs();
    auto deriv = [&](double x) {
        AcGeVector3dArray d;
        c.evalPoint(x, 1, d);
        return d.isEmpty() ? AcGeVector3d() : d[0];
    };
    double t = fendo::db::curves::closestParamAlong([&](double x) { return c.evalPoint(x); }, deriv, c.startParam(),
                                                    c.endParam(), 64 * std::max(1, c.numControlPoints()),
                                                    givenPoint, direction.normal());
    pointOnCurve = c.evalPoint(t);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbSpline::intersectWith(const AcDbEntity* other, AcDb::Intersect type, AcGePoint3dArray& points,
                                            Adesk::GsMarker, Adesk::GsMarker) const
{
    return fendo::db::curves::intersectCurves(*this, other, type, points);
}
