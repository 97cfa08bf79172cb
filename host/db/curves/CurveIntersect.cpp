// Intersections of two curves: their pieces are paired through a uniform grid of piece
// boxes (so long polylines cost about n + m, not n * m), each pair meets in closed form
// (lines, circles), spline chords are refined on the splines, and the points are reported
// once each in order along the first curve.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <unordered_map>

#include "host/db/curves/CurveQueries.h"
#include "host/ge/AcGeNurbCurve3d.h"

namespace fendo::db::curves {

namespace {
constexpr double kTwoPi = 2.0 * std::numbers::pi;
// A piece covering more grid cells than this is paired with every piece of the other
// curve instead of being entered cell by cell.
constexpr long kMaxCellsPerPiece = 4096;

struct Hit {
    double fa = 0.0, fb = 0.0;
    AcGePoint3d point;
};

struct Box {
    AcGePoint3d lo{1e300, 1e300, 1e300}, hi{-1e300, -1e300, -1e300};
    void add(const AcGePoint3d& p)
    {
        for (unsigned i = 0; i < 3; ++i) {
            lo[i] = std::min(lo[i], p[i]);
            hi[i] = std::max(hi[i], p[i]);
        }
    }
    void grow(double d)
    {
        for (unsigned i = 0; i < 3; ++i) lo[i] -= d, hi[i] += d;
    }
    bool empty() const { return lo.x > hi.x; }
};

Box boxOf(const Piece& p, double tol)
{
    Box b;
    b.add(p.start);
    b.add(p.end);
    if (p.isArc()) {
        // The circle's box is enough for pairing.
        AcGeVector3d n = p.arcNormal();
        for (unsigned i = 0; i < 3; ++i) {
            double ext = p.radius * std::sqrt(std::max(0.0, 1.0 - n[i] * n[i]));
            b.lo[i] = std::min(b.lo[i], p.center[i] - ext);
            b.hi[i] = std::max(b.hi[i], p.center[i] + ext);
        }
    }
    b.grow(tol);
    return b;
}

// Whether a fraction lies within a piece's range, with a slack of tol in length.
bool within(const Piece& p, double f, double tol)
{
    double len = p.isArc() ? p.radius * std::abs(p.sweep) : p.start.distanceTo(p.end);
    double slack = len > 0.0 ? tol / len : 0.0;
    return f >= p.fMin - slack && f <= p.fMax + slack;
}

// The fraction of a point known to be on an arc piece's circle, inside its range when
// one of the turns round the circle is.
std::optional<double> arcFraction(const Piece& p, const AcGePoint3d& q, double tol)
{
    AcGeVector3d w = q - p.center;
    double delta = std::atan2(w.dotProduct(p.v), w.dotProduct(p.u)) - p.startAngle;
    if (p.sweep < 0.0) delta = -delta;
    delta = std::fmod(delta, kTwoPi);
    if (delta < 0.0) delta += kTwoPi;
    const double full = kTwoPi / std::abs(p.sweep);
    double f = delta / std::abs(p.sweep);
    for (double c : {f, f - full, f + full})
        if (within(p, c, tol)) return c;
    return std::nullopt;
}

std::optional<double> fractionOn(const Piece& p, const AcGePoint3d& q, double tol)
{
    if (p.isArc()) return arcFraction(p, q, tol);
    AcGeVector3d d = p.end - p.start;
    double f = (q - p.start).dotProduct(d) / d.lengthSqrd();
    if (!within(p, f, tol)) return std::nullopt;
    return f;
}

void linesMeet(const Piece& a, const Piece& b, double tol, std::vector<Hit>& out)
{
    AcGeVector3d d1 = a.end - a.start, d2 = b.end - b.start, r = a.start - b.start;
    double A = d1.lengthSqrd(), B = d1.dotProduct(d2), C = d2.lengthSqrd();
    double D = d1.dotProduct(r), E = d2.dotProduct(r);
    double den = A * C - B * B;
    if (den <= 1e-24 * A * C) {
        // Parallel: collinear pieces touch or overlap where an end of one lies on the other.
        AcGeVector3d off = r - d2 * (E / C);
        if (off.length() > tol) return;
        for (const Piece* p : {&a, &b}) {
            for (double f : {0.0, 1.0}) {
                if (!within(*p, f, tol)) continue;
                AcGePoint3d q = p->pointAt(f);
                const Piece& o = p == &a ? b : a;
                auto fo = fractionOn(o, q, tol);
                if (!fo) continue;
                out.push_back(p == &a ? Hit{f, *fo, q} : Hit{*fo, f, q});
            }
        }
        return;
    }
    double s = (B * E - C * D) / den, t = (A * E - B * D) / den;
    AcGePoint3d pa = a.start + d1 * s, pb = b.start + d2 * t;
    if (pa.distanceTo(pb) > tol || !within(a, s, tol) || !within(b, t, tol)) return;
    out.push_back({s, t, pa + (pb - pa) * 0.5});
}

// Points of a line piece (as parameter s along it) on an arc piece's circle.
void lineMeetsCircle(const Piece& line, const Piece& arc, double tol, std::vector<double>& ss)
{
    AcGeVector3d n = arc.arcNormal();
    AcGeVector3d d = line.end - line.start;
    AcGeVector3d w0 = line.start - arc.center;
    double h0 = w0.dotProduct(n), dn = d.dotProduct(n);
    if (std::abs(h0) <= tol && std::abs(h0 + dn) <= tol) {
        // In the plane: |p0 + s dd|^2 = r^2.
        double px = w0.dotProduct(arc.u), py = w0.dotProduct(arc.v);
        double dx = d.dotProduct(arc.u), dy = d.dotProduct(arc.v);
        double a2 = dx * dx + dy * dy;
        if (a2 <= 0.0) return;
        double sStar = -(px * dx + py * dy) / a2;
        double hx = px + sStar * dx, hy = py + sStar * dy;
        double h = std::sqrt(hx * hx + hy * hy);
        if (h > arc.radius + tol) return;
        if (std::abs(h - arc.radius) <= tol) {
            ss.push_back(sStar);
            return;
        }
        double delta = std::sqrt(arc.radius * arc.radius - h * h) / std::sqrt(a2);
        ss.push_back(sStar - delta);
        ss.push_back(sStar + delta);
        return;
    }
    if (std::abs(dn) <= 1e-12 * d.length()) return;  // parallel to the arc's plane, off it
    double s = -h0 / dn;
    AcGePoint3d q = line.start + d * s;
    if (std::abs(q.distanceTo(arc.center) - arc.radius) <= tol) ss.push_back(s);
}

void lineMeetsArc(const Piece& line, const Piece& arc, double tol, bool lineFirst, std::vector<Hit>& out)
{
    if (line.start.isEqualTo(line.end)) return;
    std::vector<double> ss;
    lineMeetsCircle(line, arc, tol, ss);
    for (double s : ss) {
        if (!within(line, s, tol)) continue;
        AcGePoint3d q = line.start + (line.end - line.start) * s;
        auto fa = arcFraction(arc, q, tol);
        if (!fa) continue;
        out.push_back(lineFirst ? Hit{s, *fa, q} : Hit{*fa, s, q});
    }
}

void arcsMeet(const Piece& a, const Piece& b, double tol, std::vector<Hit>& out)
{
    AcGeVector3d n1 = a.arcNormal(), n2 = b.arcNormal();
    std::vector<AcGePoint3d> cands;
    const bool parallel = n1.crossProduct(n2).length() <= 1e-12;
    if (parallel) {
        if (std::abs((b.center - a.center).dotProduct(n1)) > tol) return;
        AcGeVector3d w = b.center - a.center;
        double x2 = w.dotProduct(a.u), y2 = w.dotProduct(a.v);
        double d = std::hypot(x2, y2);
        double r1 = a.radius, r2 = b.radius;
        if (d <= tol) {
            if (std::abs(r1 - r2) > tol) return;
            // The same circle: the arcs meet where an end of one lies on the other.
            for (const Piece* p : {&a, &b}) {
                const Piece& o = p == &a ? b : a;
                for (double f : {0.0, 1.0}) {
                    if (!within(*p, f, tol)) continue;
                    AcGePoint3d q = p->pointAt(f);
                    auto fo = arcFraction(o, q, tol);
                    if (fo) out.push_back(p == &a ? Hit{f, *fo, q} : Hit{*fo, f, q});
                }
            }
            return;
        }
        if (d > r1 + r2 + tol || d < std::abs(r1 - r2) - tol) return;
        double ex = x2 / d, ey = y2 / d;
        if (std::abs(d - (r1 + r2)) <= tol || std::abs(d - std::abs(r1 - r2)) <= tol) {
            double x = (d * d + r1 * r1 - r2 * r2) / (2.0 * d) >= 0.0 ? r1 : -r1;
            cands.push_back(a.center + (a.u * ex + a.v * ey) * x);
        } else {
            double x = (d * d + r1 * r1 - r2 * r2) / (2.0 * d);
            double y = std::sqrt(std::max(0.0, r1 * r1 - x * x));
            for (double sgn : {1.0, -1.0}) {
                double px = x * ex - sgn * y * ey, py = x * ey + sgn * y * ex;
                cands.push_back(a.center + a.u * px + a.v * py);
            }
        }
    } else {
        // Points of circle a on b's plane: A cos t + B sin t = -K.
        double K = (a.center - b.center).dotProduct(n2);
        double A = a.radius * a.u.dotProduct(n2), B = a.radius * a.v.dotProduct(n2);
        double R = std::hypot(A, B);
        if (R <= 0.0 || std::abs(K) > R + tol) return;
        double base = std::atan2(B, A), spread = std::acos(std::clamp(-K / R, -1.0, 1.0));
        for (double t : {base - spread, base + spread}) {
            AcGePoint3d q = a.center + (a.u * std::cos(t) + a.v * std::sin(t)) * a.radius;
            if (std::abs(q.distanceTo(b.center) - b.radius) <= tol) cands.push_back(q);
            if (spread == 0.0) break;
        }
    }
    for (const AcGePoint3d& q : cands) {
        auto fa = arcFraction(a, q, tol);
        auto fb = arcFraction(b, q, tol);
        if (fa && fb) out.push_back({*fa, *fb, q});
    }
}

// Evaluation of a piece for refinement: spline chords on their spline, others on f.
struct Eval {
    const Piece* p;
    AcGePoint3d point(double x) const
    {
        return p->spline ? p->spline->evalPoint(x) : p->pointAt(x);
    }
    AcGeVector3d deriv(double x) const
    {
        if (!p->spline) return p->derivAt(x);
        AcGeVector3dArray d;
        p->spline->evalPoint(x, 1, d);
        return d.isEmpty() ? AcGeVector3d() : d[0];
    }
    double start() const { return p->spline ? p->spline->startParam() : p->fMin; }
    double end() const { return p->spline ? p->spline->endParam() : p->fMax; }
};

// Gauss-Newton on |A(x) - B(y)|, from the chord crossing. False when it does not settle
// on a common point.
bool refine(const Piece& a, const Piece& b, double tol, Hit& hit)
{
    Eval ea{&a}, eb{&b};
    double x = a.spline ? a.paramAt(hit.fa) : hit.fa;
    double y = b.spline ? b.paramAt(hit.fb) : hit.fb;
    for (int it = 0; it < 40; ++it) {
        AcGeVector3d r = ea.point(x) - eb.point(y);
        if (r.length() <= 0.01 * tol) break;
        AcGeVector3d ja = ea.deriv(x), jb = -eb.deriv(y);
        double m11 = ja.dotProduct(ja), m12 = ja.dotProduct(jb), m22 = jb.dotProduct(jb);
        double g1 = -ja.dotProduct(r), g2 = -jb.dotProduct(r);
        double det = m11 * m22 - m12 * m12;
        if (std::abs(det) <= 1e-30) break;
        x = std::clamp(x + (g1 * m22 - g2 * m12) / det, ea.start(), ea.end());
        y = std::clamp(y + (m11 * g2 - m12 * g1) / det, eb.start(), eb.end());
    }
    AcGePoint3d pa = ea.point(x), pb = eb.point(y);
    if (pa.distanceTo(pb) > tol) return false;
    hit.point = pa + (pb - pa) * 0.5;
    hit.fa = x;
    hit.fb = y;
    return true;
}

// All meetings of two pieces; fa is a parameter of this curve when the piece is a spline
// chord, else a fraction.
void meet(const Piece& a, const Piece& b, double tol, std::vector<Hit>& out)
{
    const size_t before = out.size();
    if (a.isArc() && b.isArc()) arcsMeet(a, b, tol, out);
    else if (a.isArc()) lineMeetsArc(b, a, tol, false, out);
    else if (b.isArc()) lineMeetsArc(a, b, tol, true, out);
    else if (!a.spline && !b.spline) linesMeet(a, b, tol, out);
    else {
        // A chord: find where the chords (slackly) cross, then refine on the curves.
        Piece ca = a, cb = b;
        std::vector<Hit> rough;
        linesMeet(ca, cb, std::max(tol, 1e-3 * std::min(ca.length(), cb.length())), rough);
        for (Hit h : rough)
            if (refine(a, b, tol, h)) out.push_back(h);
        return;
    }
    if (!a.spline && !b.spline) return;
    for (size_t i = before; i < out.size(); ++i)
        if (!refine(a, b, tol, out[i])) out[i].fa = std::nan("");
    out.erase(std::remove_if(out.begin() + before, out.end(), [](const Hit& h) { return std::isnan(h.fa); }),
              out.end());
}

// The extensions of a chain's end pieces, reaching as far as needed: rays for straight
// ends, the rest of the circle for arcs.
std::vector<Piece> extensionsOf(const Chain& chain)
{
    std::vector<Piece> out;
    if (!chain.extendable || chain.pieces.empty()) return out;
    const double inf = std::numeric_limits<double>::infinity();
    const Piece& first = chain.pieces.front();
    const Piece& last = chain.pieces.back();
    if (last.isArc()) {
        Piece p = last;
        p.fMin = 1.0;
        p.fMax = kTwoPi / std::abs(last.sweep);
        out.push_back(p);
    } else if (last.length() > 0.0) {
        Piece p = last;
        p.fMin = 1.0;
        p.fMax = inf;
        out.push_back(p);
    }
    if (first.isArc()) {
        if (&first != &last) {
            Piece p = first;
            p.fMin = 1.0 - kTwoPi / std::abs(first.sweep);
            p.fMax = 0.0;
            out.push_back(p);
        }
    } else if (first.length() > 0.0) {
        Piece p = first;
        p.fMin = -inf;
        p.fMax = 0.0;
        out.push_back(p);
    }
    return out;
}

bool overlaps(const Box& p, const Box& q)
{
    return p.lo.x <= q.hi.x && q.lo.x <= p.hi.x && p.lo.y <= q.hi.y && q.lo.y <= p.hi.y && p.lo.z <= q.hi.z &&
           q.lo.z <= p.hi.z;
}

// Pairs every piece of a with the pieces of b whose boxes it meets, in the order of a's
// pieces and, for each, of b's: the order the points of one parameter are found in, and
// so the one kept, is the same however the pairs are found.
template <typename OnPair>
void pairByGrid(const std::vector<Piece>& a, const std::vector<Piece>& b, double tol, OnPair&& onPair)
{
    if (a.empty() || b.empty()) return;
    // Short curves (segments, arcs, polylines of a few vertices) compare every pair of boxes:
    // building a grid costs more than that.
    constexpr size_t kDirect = 16;
    if (b.size() <= kDirect && a.size() <= kDirect) {
        Box boxesB[kDirect];
        for (size_t j = 0; j < b.size(); ++j) boxesB[j] = boxOf(b[j], tol);
        for (size_t i = 0; i < a.size(); ++i) {
            const Box ba = boxOf(a[i], tol);
            for (size_t j = 0; j < b.size(); ++j)
                if (overlaps(ba, boxesB[j])) onPair(i, j);
        }
        return;
    }
    std::vector<Box> boxesB(b.size());
    double sum = 0.0;
    Box all;
    for (size_t i = 0; i < b.size(); ++i) {
        boxesB[i] = boxOf(b[i], tol);
        sum += std::max({boxesB[i].hi.x - boxesB[i].lo.x, boxesB[i].hi.y - boxesB[i].lo.y,
                         boxesB[i].hi.z - boxesB[i].lo.z});
        all.add(boxesB[i].lo);
        all.add(boxesB[i].hi);
    }
    double cell = std::max(sum / static_cast<double>(b.size()), 1e-9 * (1.0 + std::abs(all.hi.x) + std::abs(all.hi.y)));
    auto index = [&](double v, unsigned axis) { return static_cast<std::int64_t>(std::floor((v - all.lo[axis]) / cell)); };
    auto key = [](std::int64_t x, std::int64_t y, std::int64_t z) {
        return (static_cast<std::uint64_t>(x) * 73856093u) ^ (static_cast<std::uint64_t>(y) * 19349663u) ^
               (static_cast<std::uint64_t>(z) * 83492791u) ^ (static_cast<std::uint64_t>(x) << 40);
    };
    std::unordered_map<std::uint64_t, std::vector<std::uint32_t>> grid;
    std::vector<std::uint32_t> big;
    for (size_t i = 0; i < b.size(); ++i) {
        const Box& bx = boxesB[i];
        std::int64_t x0 = index(bx.lo.x, 0), x1 = index(bx.hi.x, 0), y0 = index(bx.lo.y, 1), y1 = index(bx.hi.y, 1),
                     z0 = index(bx.lo.z, 2), z1 = index(bx.hi.z, 2);
        if ((x1 - x0 + 1) * (y1 - y0 + 1) * (z1 - z0 + 1) > kMaxCellsPerPiece) {
            big.push_back(static_cast<std::uint32_t>(i));
            continue;
        }
        for (auto x = x0; x <= x1; ++x)
            for (auto y = y0; y <= y1; ++y)
                for (auto z = z0; z <= z1; ++z) grid[key(x, y, z)].push_back(static_cast<std::uint32_t>(i));
    }
    std::vector<std::uint32_t> seen(b.size(), 0);
    std::uint32_t stamp = 0;
    // The pieces of b whose boxes meet box ba, in no particular order.
    std::vector<std::uint32_t> partners;
    auto findPartners = [&](const Box& ba) {
        partners.clear();
        ++stamp;
        for (std::uint32_t j : big)
            if (overlaps(ba, boxesB[j])) partners.push_back(j);
        Box clip = ba;
        for (unsigned k = 0; k < 3; ++k) clip.lo[k] = std::max(clip.lo[k], all.lo[k]), clip.hi[k] = std::min(clip.hi[k], all.hi[k]);
        if (clip.lo.x > clip.hi.x || clip.lo.y > clip.hi.y || clip.lo.z > clip.hi.z) return;  // outside the grid
        const std::int64_t x0 = index(clip.lo.x, 0), x1 = index(clip.hi.x, 0), y0 = index(clip.lo.y, 1),
                           y1 = index(clip.hi.y, 1), z0 = index(clip.lo.z, 2), z1 = index(clip.hi.z, 2);
        if ((x1 - x0 + 1) * (y1 - y0 + 1) * (z1 - z0 + 1) > kMaxCellsPerPiece) {
            partners.clear();
            for (size_t j = 0; j < b.size(); ++j)
                if (overlaps(ba, boxesB[j])) partners.push_back(static_cast<std::uint32_t>(j));
            return;
        }
        for (auto x = x0; x <= x1; ++x)
            for (auto y = y0; y <= y1; ++y)
                for (auto z = z0; z <= z1; ++z) {
                    auto it = grid.find(key(x, y, z));
                    if (it == grid.end()) continue;
                    for (std::uint32_t j : it->second) {
                        if (seen[j] == stamp) continue;
                        seen[j] = stamp;
                        if (overlaps(ba, boxesB[j])) partners.push_back(j);
                    }
                }
    };
    for (size_t i = 0; i < a.size(); ++i) {
        findPartners(boxOf(a[i], tol));
        std::sort(partners.begin(), partners.end());
        for (std::uint32_t j : partners) onPair(i, j);
    }
}

}  // namespace

Acad::ErrorStatus intersectCurves(const AcDbCurve& self, const AcDbEntity* other, AcDb::Intersect type,
                                  AcGePoint3dArray& points)
{
    auto* otherCurve = AcDbCurve::cast(other);
    if (!otherCurve) return Acad::eNotApplicable;
    auto ca = intersectionChainOf(self);
    auto cb = intersectionChainOf(*otherCurve);
    if (!ca || !cb) return Acad::eNotApplicable;
    const double tol = std::max(onCurveTolerance(*ca), onCurveTolerance(*cb));

    struct Found {
        double param;
        AcGePoint3d point;
    };
    std::vector<Found> found;
    std::vector<Hit> hits;
    auto take = [&](const Piece& a, const Piece& b) {
        hits.clear();
        meet(a, b, tol, hits);
        for (const Hit& h : hits) found.push_back({a.spline ? h.fa : a.paramAt(h.fa), h.point});
    };
    pairByGrid(ca->pieces, cb->pieces, tol, [&](size_t i, size_t j) { take(ca->pieces[i], cb->pieces[j]); });

    // Extensions are few: each meets every piece of the other side directly.
    const bool extendThis = type == AcDb::kExtendThis || type == AcDb::kExtendBoth;
    const bool extendArg = type == AcDb::kExtendArg || type == AcDb::kExtendBoth;
    std::vector<Piece> extA = extendThis ? extensionsOf(*ca) : std::vector<Piece>{};
    std::vector<Piece> extB = extendArg ? extensionsOf(*cb) : std::vector<Piece>{};
    for (const Piece& ea : extA) {
        for (const Piece& b : cb->pieces) take(ea, b);
        for (const Piece& eb : extB) take(ea, eb);
    }
    for (const Piece& eb : extB)
        for (const Piece& a : ca->pieces) take(a, eb);

    std::stable_sort(found.begin(), found.end(), [](const Found& x, const Found& y) { return x.param < y.param; });
    // Each point once: a point at a shared vertex comes from both pieces, a closed curve
    // reaches its start twice.
    const double same = 10.0 * tol;
    std::unordered_map<std::uint64_t, std::vector<AcGePoint3d>> kept;
    auto cellKey = [&](std::int64_t x, std::int64_t y, std::int64_t z) {
        return (static_cast<std::uint64_t>(x) * 73856093u) ^ (static_cast<std::uint64_t>(y) * 19349663u) ^
               (static_cast<std::uint64_t>(z) * 83492791u);
    };
    const double cell = 4.0 * same;
    const int first = points.length();
    // Few points are compared with each other directly; a kept point within `same` of a
    // new one is always in the grid's neighbouring cells, so both ways keep the same points.
    constexpr size_t kDirectCompare = 16;
    if (found.size() <= kDirectCompare) {
        for (const Found& f : found) {
            bool dup = false;
            for (int k = first; k < points.length() && !dup; ++k) dup = points[k].distanceTo(f.point) <= same;
            if (!dup) points.append(f.point);
        }
        return Acad::eOk;
    }
    for (const Found& f : found) {
        std::int64_t cx = static_cast<std::int64_t>(std::floor(f.point.x / cell));
        std::int64_t cy = static_cast<std::int64_t>(std::floor(f.point.y / cell));
        std::int64_t cz = static_cast<std::int64_t>(std::floor(f.point.z / cell));
        bool dup = false;
        for (int dx = -1; dx <= 1 && !dup; ++dx)
            for (int dy = -1; dy <= 1 && !dup; ++dy)
                for (int dz = -1; dz <= 1 && !dup; ++dz) {
                    auto it = kept.find(cellKey(cx + dx, cy + dy, cz + dz));
                    if (it == kept.end()) continue;
                    for (const AcGePoint3d& q : it->second)
                        if (q.distanceTo(f.point) <= same) dup = true;
                }
        if (dup) continue;
        kept[cellKey(cx, cy, cz)].push_back(f.point);
        points.append(f.point);
    }
    return Acad::eOk;
}

}  // namespace fendo::db::curves
