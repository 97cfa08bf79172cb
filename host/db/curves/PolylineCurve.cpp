// Curve queries of the lightweight polyline (parameter i + f on segment i, f the fraction
// of its length) and its offset: each segment moved sideways (arcs concentrically), the
// neighbours extended or trimmed to meet at each vertex.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "host/db/curves/CurveQueries.h"
#include "host/db/entities/AcDbPolyline.h"
#include "host/ge/BulgeArc.h"

FENDO_DEFINE_PIECEWISE_CURVE_QUERIES(AcDbPolyline)

namespace {

constexpr double kPi = std::numbers::pi;

struct OffsetVertex {
    AcGePoint2d pt;
    double bulge = 0.0, startWidth = 0.0, endWidth = 0.0;
};

// One offset segment: a line from a to b, or an arc about center from a to b travelled
// counter-clockwise when ccw.
struct OffsetSeg {
    bool arc = false;
    AcGePoint2d a, b, center;
    double radius = 0.0;
    bool ccw = true;
    double origSweep = 0.0;  // |included angle| of the source arc
    AcGeVector2d origDir;    // direction of the source line
    AcGePoint2d corner;      // the source vertex at the segment's end
    double startWidth = 0.0, endWidth = 0.0;
};

double angleOf(const AcGeVector2d& v) { return std::atan2(v.y, v.x); }

// The sweep from a to b about the centre in the segment's sense, in [0, 2pi).
double arcSweep(const OffsetSeg& s)
{
    double d = angleOf(s.b - s.center) - angleOf(s.a - s.center);
    if (!s.ccw) d = -d;
    d = std::fmod(d, 2 * kPi);
    return d < 0.0 ? d + 2 * kPi : d;
}

// Points where the carriers (infinite line, full circle) of two segments meet.
std::vector<AcGePoint2d> carriersMeet(const OffsetSeg& s, const OffsetSeg& t, double tol)
{
    std::vector<AcGePoint2d> out;
    auto lineCircle = [&](const AcGePoint2d& p, const AcGeVector2d& d, const AcGePoint2d& c, double r) {
        AcGeVector2d w = p - c;
        double a2 = d.dotProduct(d);
        double sStar = -w.dotProduct(d) / a2;
        AcGePoint2d foot = p + d * sStar;
        double h = foot.distanceTo(c);
        if (h > r + tol) return;
        if (std::abs(h - r) <= tol) {
            out.push_back(foot);
            return;
        }
        double delta = std::sqrt(r * r - h * h) / std::sqrt(a2);
        out.push_back(p + d * (sStar - delta));
        out.push_back(p + d * (sStar + delta));
    };
    if (!s.arc && !t.arc) {
        AcGeVector2d d1 = s.b - s.a, d2 = t.b - t.a;
        double den = d1.x * d2.y - d1.y * d2.x;
        if (std::abs(den) <= 1e-12 * d1.length() * d2.length()) return out;
        AcGeVector2d r = t.a - s.a;
        double u = (r.x * d2.y - r.y * d2.x) / den;
        out.push_back(s.a + d1 * u);
    } else if (!s.arc) {
        lineCircle(s.a, s.b - s.a, t.center, t.radius);
    } else if (!t.arc) {
        lineCircle(t.a, t.b - t.a, s.center, s.radius);
    } else {
        AcGeVector2d w = t.center - s.center;
        double d = w.length();
        double r1 = s.radius, r2 = t.radius;
        if (d <= tol || d > r1 + r2 + tol || d < std::abs(r1 - r2) - tol) return out;
        AcGeVector2d e = w / d;
        double x = (d * d + r1 * r1 - r2 * r2) / (2 * d);
        double y = std::sqrt(std::max(0.0, r1 * r1 - x * x));
        AcGeVector2d perp(-e.y, e.x);
        out.push_back(s.center + e * x + perp * y);
        if (y > tol) out.push_back(s.center + e * x - perp * y);
    }
    return out;
}

// Whether trimming turned a segment round (its offset vanished between its neighbours).
bool reversed(const OffsetSeg& s)
{
    if (!s.arc) return (s.b - s.a).dotProduct(s.origDir) < 0.0;
    return arcSweep(s) - s.origSweep > kPi;
}

// Signed area enclosed by a closed chain of vertices (positive counter-clockwise); each
// bulged segment adds or takes away the circular segment between its chord and its arc.
template <typename V>
double signedArea(const std::vector<V>& verts)
{
    double area = 0.0;
    for (size_t i = 0; i < verts.size(); ++i) {
        const V& p = verts[i];
        const V& q = verts[(i + 1) % verts.size()];
        area += 0.5 * (p.pt.x * q.pt.y - q.pt.x * p.pt.y);
        if (p.bulge == 0.0) continue;
        const double theta = 4.0 * std::atan(std::abs(p.bulge));
        const double chord = p.pt.distanceTo(q.pt);
        const double r = chord / (2.0 * std::sin(theta / 2.0));
        const double piece = 0.5 * r * r * (theta - std::sin(theta));
        area += p.bulge > 0.0 ? piece : -piece;
    }
    return area;
}

struct Joined {
    std::vector<OffsetVertex> verts;
    bool ok = true;
};

}  // namespace

Acad::ErrorStatus AcDbPolyline::getOffsetCurves(double offsetDist, AcDbVoidPtrArray& offsetCurves) const
{
    const unsigned int n = numVerts();
    if (n < 2) return Acad::eDegenerateGeometry;
    std::vector<OffsetVertex> src;
    for (unsigned int i = 0; i < n; ++i) {
        OffsetVertex v;
        getPointAt(i, v.pt);
        getBulgeAt(i, v.bulge);
        getWidthsAt(i, v.startWidth, v.endWidth);
        src.push_back(v);
    }
    double scale = 0.0;
    for (const OffsetVertex& v : src) scale = std::max({scale, std::abs(v.pt.x), std::abs(v.pt.y)});
    const double tol = std::max(AcGeContext::gTol.equalPoint(), fendo::db::curves::kRelativeOnCurveTolerance * scale);
    const bool closed = isClosed();
    const double d = offsetDist;

    // Offset each segment that has a length; arcs whose radius would vanish are dropped
    // and their neighbours meet instead.
    std::vector<OffsetSeg> segs;
    const unsigned int count = closed ? n : n - 1;
    for (unsigned int i = 0; i < count; ++i) {
        const OffsetVertex& p = src[i];
        const OffsetVertex& q = src[(i + 1) % n];
        if (p.pt.distanceTo(q.pt) <= tol) continue;
        OffsetSeg s;
        s.corner = q.pt;
        s.startWidth = p.startWidth;
        s.endWidth = p.endWidth;
        auto arc = fendo::ge::arcFromBulge(p.pt, q.pt, p.bulge);
        if (!arc) {
            AcGeVector2d dir = (q.pt - p.pt).normal();
            AcGeVector2d right(dir.y, -dir.x);
            s.a = p.pt + right * d;
            s.b = q.pt + right * d;
            s.origDir = dir;
        } else {
            // Right of travel is outwards on a counter-clockwise arc, inwards on a clockwise one.
            s.arc = true;
            s.ccw = arc->ccw;
            s.center = arc->center;
            s.radius = arc->radius + (arc->ccw ? d : -d);
            s.origSweep = std::abs(arc->sweep);
            if (s.radius <= tol) continue;
            s.a = s.center + (p.pt - s.center).normal() * s.radius;
            s.b = s.center + (q.pt - s.center).normal() * s.radius;
        }
        segs.push_back(s);
    }
    if (segs.empty()) return Acad::eDegenerateGeometry;

    // Meet neighbours at each vertex; a segment turned round by its neighbours goes and
    // the joins are made again.
    std::vector<OffsetVertex> out;
    for (size_t round = 0; round <= segs.size(); ++round) {
        const size_t m = segs.size();
        std::vector<OffsetSeg> work = segs;
        // Extra vertices (round joins where neighbours do not meet), after segment k.
        std::vector<std::vector<OffsetVertex>> extra(m);
        const size_t joins = closed ? m : m - 1;
        for (size_t k = 0; k < joins; ++k) {
            OffsetSeg& s = work[k];
            OffsetSeg& t = work[(k + 1) % m];
            if (s.b.distanceTo(t.a) <= tol) {
                t.a = s.b;
                continue;
            }
            std::vector<AcGePoint2d> meets = carriersMeet(s, t, tol);
            if (meets.empty()) {
                // No meeting point: join round the source vertex.
                double sweep = angleOf(t.a - s.corner) - angleOf(s.b - s.corner);
                while (sweep > kPi) sweep -= 2 * kPi;
                while (sweep < -kPi) sweep += 2 * kPi;
                extra[k].push_back({s.b, fendo::ge::bulgeFromIncludedAngle(sweep), s.endWidth, s.endWidth});
                continue;
            }
            AcGePoint2d best = meets.front();
            for (const AcGePoint2d& p : meets)
                if (p.distanceTo(s.corner) < best.distanceTo(s.corner)) best = p;
            s.b = best;
            t.a = best;
        }
        // Drop a segment turned round, and start again.
        size_t bad = m;
        for (size_t k = 0; k < m && bad == m; ++k)
            if (m > 1 && reversed(work[k])) bad = k;
        if (bad != m) {
            segs.erase(segs.begin() + static_cast<std::ptrdiff_t>(bad));
            continue;
        }
        out.clear();
        for (size_t k = 0; k < m; ++k) {
            const OffsetSeg& s = work[k];
            double bulge = 0.0;
            if (s.arc) {
                double sweep = arcSweep(s);
                bulge = fendo::ge::bulgeFromIncludedAngle(s.ccw ? sweep : -sweep);
            }
            out.push_back({s.a, bulge, s.startWidth, s.endWidth});
            for (const OffsetVertex& v : extra[k]) out.push_back(v);
        }
        if (!closed) out.push_back({work.back().b, 0.0, work.back().endWidth, work.back().endWidth});
        break;
    }
    if (out.size() < 2) return Acad::eDegenerateGeometry;
    if (closed) {
        // A closed outline offset inwards past its half-width collapses: the joined
        // segments then meet in a point or cross over and enclose nothing, or the
        // opposite way round. Either way there is no offset, as for an arc whose radius
        // would vanish.
        const double before = signedArea(src);
        const double after = signedArea(out);
        const double areaTol = tol * std::max(scale, 1.0);
        const bool inwards = before * d < 0.0;  // right of travel is inside a clockwise outline
        if (std::abs(before) > areaTol &&
            (std::abs(after) <= areaTol || (before > 0.0) != (after > 0.0) || out.size() < 3 ||
             (inwards && std::abs(after) >= std::abs(before))))
            return Acad::eDegenerateGeometry;
    }

    auto* pl = new AcDbPolyline(static_cast<unsigned int>(out.size()));
    for (unsigned int i = 0; i < out.size(); ++i)
        pl->addVertexAt(i, out[i].pt, out[i].bulge, out[i].startWidth, out[i].endWidth);
    pl->setClosed(closed);
    pl->setElevation(elevation());
    pl->setNormal(normal());
    pl->setThickness(thickness());
    pl->setPlinegen(hasPlinegen());
    if (layerId().isValid()) pl->setPropertiesFrom(this);
    offsetCurves.append(pl);
    return Acad::eOk;
}
