// Curves as chains of straight and circular pieces: the common ground of the parameter,
// distance, closest-point, intersection and offset queries of lines, arcs, circles and the
// three polyline kinds (splines join in as chords of their NURBS for intersections).
#pragma once
#include <limits>
#include <optional>
#include <utility>
#include <vector>

#include "host/core/AcadTypes.h"
#include "host/ge/AcGePoint3d.h"
#include "host/ge/AcGeVector3d.h"

class AcDbCurve;
class AcGeNurbCurve3d;

namespace fendo::db::curves {

// A point counts as on a curve when it is this close relative to the size of the curve's
// coordinates (and never closer than the global equal-point tolerance): 1e-10 of the
// largest coordinate keeps survey drawings (coordinates near 1e6) within a tenth of a
// millimetre while double rounding stays far below it.
inline constexpr double kRelativeOnCurveTolerance = 1e-10;

// One straight or circular piece of a curve, or a chord of a spline. The fraction f runs
// 0..1 along the piece; the curve parameter is linear in f (distance for lines, angle
// for arcs, segment index plus fraction for polylines).
struct Piece {
    enum class Kind { kLine, kArc, kSplineChord };
    Kind kind = Kind::kLine;
    AcGePoint3d start, end;
    // Arcs: point(f) = center + radius (cos a u + sin a v) with a = startAngle + f * sweep;
    // sweep is signed (negative for clockwise bulges), u and v are unit and orthogonal.
    AcGePoint3d center;
    AcGeVector3d u{1, 0, 0}, v{0, 1, 0};
    double radius = 0.0, startAngle = 0.0, sweep = 0.0;
    // Curve parameters at f = 0 and f = 1 (for spline chords, the spline's parameters).
    double param0 = 0.0, param1 = 0.0;
    // The range of f that belongs to the curve for an intersection: 0..1, or beyond for
    // the extension of an end piece.
    double fMin = 0.0, fMax = 1.0;
    const AcGeNurbCurve3d* spline = nullptr;

    bool isArc() const { return kind == Kind::kArc; }
    double length() const;
    AcGePoint3d pointAt(double f) const;
    // Derivatives with respect to f.
    AcGeVector3d derivAt(double f) const;
    AcGeVector3d secondDerivAt(double f) const;
    double paramAt(double f) const { return param0 + f * (param1 - param0); }
    double fractionAt(double param) const;
    AcGeVector3d arcNormal() const { return u.crossProduct(v); }
    // Fraction of the closest point within [lo, hi] (for arcs, values beyond 0..1 wrap
    // round the circle).
    double closestFraction(const AcGePoint3d& p, double lo, double hi) const;
};

struct Chain {
    std::vector<Piece> pieces;
    double startParam = 0.0, endParam = 0.0;
    bool closed = false;
    // Whether the curve extends past its start and end (lines: the infinite line; arcs:
    // the full circle; open polylines: their first and last segments).
    bool extendable = false;
};

// The chain of a line, arc, circle or polyline; nothing for other classes or an empty
// polyline. With a segment index, a polyline's chain holds only that segment's piece
// (other classes ignore it), for queries at one parameter.
std::optional<Chain> chainOf(const AcDbCurve& curve, std::optional<unsigned int> onlySegment = {});
// The curve's start and end parameters, as its chain has them, without building its pieces
// where they follow from the curve alone (a lightweight polyline's vertex count).
std::optional<std::pair<double, double>> paramRangeOf(const AcDbCurve& curve);
// As chainOf, and splines as chords of their NURBS (for intersections).
std::optional<Chain> intersectionChainOf(const AcDbCurve& curve);

// The on-curve tolerance for a chain (see kRelativeOnCurveTolerance).
double onCurveTolerance(const Chain& chain);

// Queries on a chain, with the host's status results.
Acad::ErrorStatus pointAtParam(const Chain& chain, double param, AcGePoint3d& point);
Acad::ErrorStatus derivAtParam(const Chain& chain, double param, int order, AcGeVector3d& deriv);
Acad::ErrorStatus distAtParam(const Chain& chain, double param, double& dist);
Acad::ErrorStatus paramAtDist(const Chain& chain, double dist, double& param);
Acad::ErrorStatus paramAtPoint(const Chain& chain, const AcGePoint3d& point, double& param);
struct ClosestPoint {
    AcGePoint3d point;
    double param = 0.0;
};
ClosestPoint closestPoint(const Chain& chain, const AcGePoint3d& given, bool extend);
// Closest as seen along a direction (the distance measured across it).
AcGePoint3d closestPointAlong(const Chain& chain, const AcGePoint3d& given, const AcGeVector3d& direction);

// Numeric closest point, across a direction, on a curve given by its point and first
// derivative over [t0, t1]: sampled, then the root of the distance's derivative is
// bracketed and bisected (golden sections when the samples bracket none).
template <typename Eval, typename Deriv>
double closestParamAlong(Eval&& eval, Deriv&& deriv, double t0, double t1, int samples, const AcGePoint3d& given,
                         const AcGeVector3d& unitDir)
{
    auto across = [&](const AcGeVector3d& w) { return w - unitDir * w.dotProduct(unitDir); };
    auto dist2 = [&](double t) { return across(eval(t) - given).lengthSqrd(); };
    // Half the derivative of dist2.
    auto slope = [&](double t) { return across(eval(t) - given).dotProduct(across(deriv(t))); };
    samples = samples < 2 ? 2 : samples;
    int best = 0;
    double bestD = std::numeric_limits<double>::infinity();
    for (int i = 0; i <= samples; ++i) {
        double d = dist2(t0 + (t1 - t0) * i / samples);
        if (d < bestD) bestD = d, best = i;
    }
    double a = t0 + (t1 - t0) * (best > 0 ? best - 1 : 0) / samples;
    double b = t0 + (t1 - t0) * (best < samples ? best + 1 : samples) / samples;
    double sa = slope(a), sb = slope(b);
    if (sa < 0.0 && sb > 0.0) {
        for (int it = 0; it < 200 && b - a > 0.0; ++it) {
            double m = 0.5 * (a + b);
            if (m <= a || m >= b) break;
            (slope(m) < 0.0 ? a : b) = m;
        }
        return 0.5 * (a + b);
    }
    const double g = 0.6180339887498949;
    for (int it = 0; it < 100; ++it) {
        double x1 = b - g * (b - a), x2 = a + g * (b - a);
        if (dist2(x1) <= dist2(x2)) b = x2;
        else a = x1;
    }
    double m = 0.5 * (a + b);
    // An end of the range may be the closest.
    if (dist2(t0) < dist2(m)) return t0;
    if (dist2(t1) < dist2(m)) return t1;
    return m;
}

}  // namespace fendo::db::curves
