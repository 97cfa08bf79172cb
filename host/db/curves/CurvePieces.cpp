// Building the piece chains of the host's curves and answering the parameter, distance and
// closest-point queries on them.
#include "host/db/curves/CurvePieces.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "host/db/entities/AcDb2dPolyline.h"
#include "host/db/entities/AcDb3dPolyline.h"
#include "host/db/entities/AcDbArc.h"
#include "host/db/entities/AcDbCircle.h"
#include "host/db/entities/AcDbLine.h"
#include "host/db/entities/AcDbPolyline.h"
#include "host/db/entities/AcDbSpline.h"
#include "host/db/entities/EntityUtil.h"
#include "host/ge/BulgeArc.h"

namespace fendo::db::curves {

namespace {
constexpr double kTwoPi = 2.0 * std::numbers::pi;
// Chords per knot interval when a spline takes part in an intersection; the crossings
// found on the chords are then refined on the spline itself.
constexpr int kChordsPerSpan = 24;

double wrapPositive(double a)
{
    a = std::fmod(a, kTwoPi);
    return a < 0.0 ? a + kTwoPi : a;
}

Piece linePiece(const AcGePoint3d& a, const AcGePoint3d& b, double p0, double p1)
{
    Piece p;
    p.kind = Piece::Kind::kLine;
    p.start = a;
    p.end = b;
    p.param0 = p0;
    p.param1 = p1;
    return p;
}

Piece arcPiece(const AcGePoint3d& center, const AcGeVector3d& u, const AcGeVector3d& v, double radius,
               double startAngle, double sweep, double p0, double p1)
{
    Piece p;
    p.kind = Piece::Kind::kArc;
    p.center = center;
    p.u = u;
    p.v = v;
    p.radius = radius;
    p.startAngle = startAngle;
    p.sweep = sweep;
    p.param0 = p0;
    p.param1 = p1;
    p.start = p.pointAt(0.0);
    p.end = p.pointAt(1.0);
    return p;
}

// A planar vertex list (OCS points at an elevation, bulges) as pieces; param i + f on
// segment i.
struct PlanarVertex {
    AcGePoint2d pt;
    double bulge = 0.0;
};

void appendPlanarPieces(const std::vector<PlanarVertex>& verts, bool closed, double elevation,
                        const AcGeVector3d& normal, std::optional<unsigned int> onlySegment, Chain& chain)
{
    const auto n = static_cast<unsigned int>(verts.size());
    const AcGeMatrix3d toWorld = ent::ocsToWcs(normal);
    AcGeVector3d u, v;
    fendo::ge::arbitraryAxes(ent::unitNormal(normal), u, v);
    auto world = [&](const AcGePoint2d& p) { return toWorld * AcGePoint3d(p.x, p.y, elevation); };
    chain.closed = closed && n > 1;
    chain.extendable = !chain.closed;
    if (n == 1) {
        chain.pieces.push_back(linePiece(world(verts[0].pt), world(verts[0].pt), 0.0, 0.0));
        return;
    }
    const unsigned int segs = chain.closed ? n : n - 1;
    chain.startParam = 0.0;
    chain.endParam = segs;
    unsigned int first = 0, last = segs;
    if (onlySegment) {
        first = std::min(*onlySegment, segs - 1);
        last = first + 1;
    }
    chain.pieces.reserve(chain.pieces.size() + (last - first));
    for (unsigned int i = first; i < last; ++i) {
        const PlanarVertex& a = verts[i];
        const PlanarVertex& b = verts[(i + 1) % n];
        auto arc = fendo::ge::arcFromBulge(a.pt, b.pt, a.bulge);
        if (!arc) {
            chain.pieces.push_back(linePiece(world(a.pt), world(b.pt), i, i + 1.0));
            continue;
        }
        AcGePoint3d c = world(arc->center);
        Piece p = arcPiece(c, u, v, arc->radius, arc->startAngle, arc->sweep, i, i + 1.0);
        // The ends exactly at the vertices, not as recomputed from the centre.
        p.start = world(a.pt);
        p.end = world(b.pt);
        chain.pieces.push_back(p);
    }
}

void appendSplineChords(const AcGeNurbCurve3d& nurbs, Chain& chain)
{
    const double t0 = nurbs.startParam(), t1 = nurbs.endParam();
    std::vector<double> breaks{t0};
    for (int i = 0; i < nurbs.numKnots(); ++i) {
        double k = nurbs.knotAt(i);
        if (k > breaks.back() + 1e-12 * (1.0 + std::abs(k)) && k < t1) breaks.push_back(k);
    }
    breaks.push_back(t1);
    const int per = nurbs.degree() <= 1 ? 1 : kChordsPerSpan;
    for (size_t s = 0; s + 1 < breaks.size(); ++s) {
        for (int j = 0; j < per; ++j) {
            double a = breaks[s] + (breaks[s + 1] - breaks[s]) * j / per;
            double b = breaks[s] + (breaks[s + 1] - breaks[s]) * (j + 1) / per;
            Piece p = linePiece(nurbs.evalPoint(a), nurbs.evalPoint(b), a, b);
            p.kind = Piece::Kind::kSplineChord;
            p.spline = &nurbs;
            chain.pieces.push_back(p);
        }
    }
    chain.startParam = t0;
    chain.endParam = t1;
    chain.closed = nurbs.isClosed();
    chain.extendable = false;
}

}  // namespace

double Piece::length() const
{
    if (kind == Kind::kArc) return radius * std::abs(sweep);
    return start.distanceTo(end);
}

AcGePoint3d Piece::pointAt(double f) const
{
    if (kind != Kind::kArc) return start + (end - start) * f;
    double a = startAngle + f * sweep;
    return center + (u * std::cos(a) + v * std::sin(a)) * radius;
}

AcGeVector3d Piece::derivAt(double f) const
{
    if (kind != Kind::kArc) return end - start;
    double a = startAngle + f * sweep;
    return (u * -std::sin(a) + v * std::cos(a)) * (radius * sweep);
}

AcGeVector3d Piece::secondDerivAt(double f) const
{
    if (kind != Kind::kArc) return {};
    double a = startAngle + f * sweep;
    return (u * std::cos(a) + v * std::sin(a)) * (-radius * sweep * sweep);
}

double Piece::fractionAt(double param) const
{
    return param1 == param0 ? 0.0 : (param - param0) / (param1 - param0);
}

double Piece::closestFraction(const AcGePoint3d& p, double lo, double hi) const
{
    if (kind != Kind::kArc) {
        AcGeVector3d d = end - start;
        double len2 = d.lengthSqrd();
        if (len2 <= 0.0) return std::clamp(0.0, lo, hi);
        return std::clamp((p - start).dotProduct(d) / len2, lo, hi);
    }
    AcGeVector3d w = p - center;
    double x = w.dotProduct(u), y = w.dotProduct(v);
    if (std::abs(sweep) <= 0.0) return 0.0;
    const double full = kTwoPi / std::abs(sweep);
    double delta = (x == 0.0 && y == 0.0) ? 0.0 : std::atan2(y, x) - startAngle;
    if (sweep < 0.0) delta = -delta;
    double f = wrapPositive(delta) / std::abs(sweep);  // in [0, full)
    // Candidates: f itself and its turn backwards; keep one inside [lo, hi], else the
    // nearer of the bounds.
    for (double c : {f, f - full})
        if (c >= lo && c <= hi) return c;
    double dlo = pointAt(lo).distanceTo(p), dhi = pointAt(hi).distanceTo(p);
    return dlo <= dhi ? lo : hi;
}

std::optional<Chain> chainOf(const AcDbCurve& curve, std::optional<unsigned int> onlySegment)
{
    Chain chain;
    if (auto* line = AcDbLine::cast(&curve)) {
        double len = line->startPoint().distanceTo(line->endPoint());
        chain.pieces.push_back(linePiece(line->startPoint(), line->endPoint(), 0.0, len));
        chain.endParam = len;
        chain.extendable = true;
    } else if (auto* arc = AcDbArc::cast(&curve)) {
        AcGeVector3d u, v;
        fendo::ge::arbitraryAxes(arc->normal(), u, v);
        double s = ent::normalizeAngle(arc->startAngle());
        double sweep = arc->totalAngle();
        chain.pieces.push_back(arcPiece(arc->center(), u, v, arc->radius(), s, sweep, s, s + sweep));
        chain.startParam = s;
        chain.endParam = s + sweep;
        chain.extendable = true;
    } else if (auto* circle = AcDbCircle::cast(&curve)) {
        AcGeVector3d u, v;
        fendo::ge::arbitraryAxes(circle->normal(), u, v);
        chain.pieces.push_back(arcPiece(circle->center(), u, v, circle->radius(), 0.0, kTwoPi, 0.0, kTwoPi));
        chain.endParam = kTwoPi;
        chain.closed = true;
    } else if (auto* lw = AcDbPolyline::cast(&curve)) {
        std::vector<PlanarVertex> verts(lw->numVerts());
        for (unsigned int i = 0; i < lw->numVerts(); ++i) {
            lw->getPointAt(i, verts[i].pt);
            lw->getBulgeAt(i, verts[i].bulge);
        }
        if (verts.empty()) return std::nullopt;
        appendPlanarPieces(verts, lw->isClosed(), lw->elevation(), lw->normal(), onlySegment, chain);
    } else if (auto* pl2 = AcDb2dPolyline::cast(&curve)) {
        const bool spline = pl2->polyType() == AcDb::k2dQuadSplinePoly || pl2->polyType() == AcDb::k2dCubicSplinePoly;
        std::vector<PlanarVertex> verts;
        for (AcDb2dVertex* vx : pl2->shapeVertices())
            verts.push_back({{vx->position().x, vx->position().y}, spline ? 0.0 : vx->bulge()});
        if (verts.empty()) return std::nullopt;
        appendPlanarPieces(verts, pl2->isClosed(), pl2->elevation(), pl2->normal(), onlySegment, chain);
    } else if (auto* pl3 = AcDb3dPolyline::cast(&curve)) {
        const std::vector<AcGePoint3d> pts = pl3->shapePoints();
        const auto n = static_cast<unsigned int>(pts.size());
        if (n == 0) return std::nullopt;
        chain.closed = pl3->isClosed() && n > 1;
        chain.extendable = !chain.closed;
        if (n == 1) {
            chain.pieces.push_back(linePiece(pts[0], pts[0], 0.0, 0.0));
            return chain;
        }
        const unsigned int segs = chain.closed ? n : n - 1;
        chain.endParam = segs;
        chain.pieces.reserve(segs);
        for (unsigned int i = 0; i < segs; ++i) chain.pieces.push_back(linePiece(pts[i], pts[(i + 1) % n], i, i + 1.0));
    } else {
        return std::nullopt;
    }
    return chain;
}

std::optional<std::pair<double, double>> paramRangeOf(const AcDbCurve& curve)
{
    if (auto* lw = AcDbPolyline::cast(&curve)) {
        const unsigned int n = lw->numVerts();
        if (n == 0) return std::nullopt;
        if (n == 1) return std::pair(0.0, 0.0);
        return std::pair(0.0, static_cast<double>(lw->isClosed() ? n : n - 1));
    }
    auto chain = chainOf(curve, 0u);
    if (!chain) return std::nullopt;
    return std::pair(chain->startParam, chain->endParam);
}

std::optional<Chain> intersectionChainOf(const AcDbCurve& curve)
{
    if (auto* spline = AcDbSpline::cast(&curve)) {
        if (spline->isNull()) return std::nullopt;
        Chain chain;
        appendSplineChords(spline->nurbs(), chain);
        return chain;
    }
    return chainOf(curve);
}

double onCurveTolerance(const Chain& chain)
{
    double scale = 0.0;
    auto grow = [&](const AcGePoint3d& p) {
        scale = std::max({scale, std::abs(p.x), std::abs(p.y), std::abs(p.z)});
    };
    for (const Piece& p : chain.pieces) {
        grow(p.start);
        grow(p.end);
        if (p.isArc()) {
            grow(p.center);
            scale = std::max(scale, p.radius);
        }
    }
    return std::max(AcGeContext::gTol.equalPoint(), kRelativeOnCurveTolerance * scale);
}

namespace {

// Tolerance on parameters at the ends of the range.
double paramSlack(const Chain& chain)
{
    return 1e-10 * std::max({1.0, std::abs(chain.startParam), std::abs(chain.endParam)});
}

// The piece holding a parameter: the one starting at it, the last one at the end.
const Piece* pieceAt(const Chain& chain, double param)
{
    if (chain.pieces.empty()) return nullptr;
    auto it = std::upper_bound(chain.pieces.begin(), chain.pieces.end(), param,
                               [](double t, const Piece& p) { return t < p.param0; });
    if (it == chain.pieces.begin()) return &chain.pieces.front();
    return &*(it - 1);
}

}  // namespace

Acad::ErrorStatus pointAtParam(const Chain& chain, double param, AcGePoint3d& point)
{
    const double slack = paramSlack(chain);
    if (param < chain.startParam - slack || param > chain.endParam + slack) return Acad::eInvalidInput;
    const Piece* p = pieceAt(chain, param);
    if (!p) return Acad::eDegenerateGeometry;
    double f = std::clamp(p->fractionAt(param), 0.0, 1.0);
    point = f == 0.0 ? p->start : (f == 1.0 ? p->end : p->pointAt(f));
    return Acad::eOk;
}

Acad::ErrorStatus derivAtParam(const Chain& chain, double param, int order, AcGeVector3d& deriv)
{
    const double slack = paramSlack(chain);
    if (param < chain.startParam - slack || param > chain.endParam + slack) return Acad::eInvalidInput;
    const Piece* p = pieceAt(chain, param);
    if (!p) return Acad::eDegenerateGeometry;
    const double span = p->param1 - p->param0;
    if (span == 0.0) {
        deriv = AcGeVector3d();
        return Acad::eOk;
    }
    double f = std::clamp(p->fractionAt(param), 0.0, 1.0);
    deriv = order == 1 ? p->derivAt(f) / span : p->secondDerivAt(f) / (span * span);
    return Acad::eOk;
}

Acad::ErrorStatus distAtParam(const Chain& chain, double param, double& dist)
{
    const double slack = paramSlack(chain);
    if (param < chain.startParam - slack || param > chain.endParam + slack) return Acad::eInvalidInput;
    dist = 0.0;
    for (const Piece& p : chain.pieces) {
        if (param >= p.param1 && &p != &chain.pieces.back()) {
            dist += p.length();
            continue;
        }
        dist += p.length() * std::clamp(p.fractionAt(param), 0.0, 1.0);
        break;
    }
    return Acad::eOk;
}

Acad::ErrorStatus paramAtDist(const Chain& chain, double dist, double& param)
{
    double total = 0.0;
    for (const Piece& p : chain.pieces) total += p.length();
    const double slack = 1e-10 * std::max(1.0, total);
    if (dist < -slack || dist > total + slack) return Acad::eInvalidInput;
    double walked = 0.0;
    for (const Piece& p : chain.pieces) {
        double len = p.length();
        if (dist <= walked + len || &p == &chain.pieces.back()) {
            double f = len > 0.0 ? std::clamp((dist - walked) / len, 0.0, 1.0) : 0.0;
            param = p.paramAt(f);
            return Acad::eOk;
        }
        walked += len;
    }
    param = chain.startParam;
    return Acad::eOk;
}

ClosestPoint closestPoint(const Chain& chain, const AcGePoint3d& given, bool extend)
{
    ClosestPoint best;
    double bestD = std::numeric_limits<double>::infinity();
    const double inf = std::numeric_limits<double>::infinity();
    const bool ext = extend && chain.extendable;
    for (size_t i = 0; i < chain.pieces.size(); ++i) {
        const Piece& p = chain.pieces[i];
        double lo = 0.0, hi = 1.0;
        if (ext) {
            const bool first = i == 0, last = i + 1 == chain.pieces.size();
            if (p.isArc()) {
                // Any extension of an arc piece reaches round its whole circle.
                const double rest = std::abs(p.sweep) > 0.0 ? kTwoPi / std::abs(p.sweep) - 1.0 : 0.0;
                if (last) hi = 1.0 + rest;
                else if (first) lo = -rest;
            } else {
                if (first) lo = -inf;
                if (last) hi = inf;
            }
        }
        double f = p.closestFraction(given, lo, hi);
        AcGePoint3d q = f == 0.0 ? p.start : (f == 1.0 ? p.end : p.pointAt(f));
        double d = q.distanceTo(given);
        if (d < bestD) {
            bestD = d;
            best.point = q;
            best.param = p.paramAt(f);
        }
    }
    return best;
}

Acad::ErrorStatus paramAtPoint(const Chain& chain, const AcGePoint3d& point, double& param)
{
    ClosestPoint c = closestPoint(chain, point, false);
    if (c.point.distanceTo(point) > onCurveTolerance(chain)) return Acad::eInvalidInput;
    param = c.param;
    return Acad::eOk;
}

AcGePoint3d closestPointAlong(const Chain& chain, const AcGePoint3d& given, const AcGeVector3d& direction)
{
    AcGeVector3d dir = direction.normal();
    AcGePoint3d best;
    double bestD = std::numeric_limits<double>::infinity();
    for (const Piece& p : chain.pieces) {
        double f = closestParamAlong([&](double t) { return p.pointAt(t); }, [&](double t) { return p.derivAt(t); },
                                     0.0, 1.0, p.isArc() ? 32 : 2, given, dir);
        AcGePoint3d q = p.pointAt(f);
        AcGeVector3d w = q - given;
        double d = (w - dir * w.dotProduct(dir)).length();
        if (d < bestD) bestD = d, best = q;
    }
    return best;
}

}  // namespace fendo::db::curves
