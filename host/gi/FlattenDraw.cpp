// Plan-view flattening of entity drawings and the geometry tests selection needs.
#include "host/gi/FlattenDraw.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbSymbolTable.h"
#include "host/db/entities/AcDbPolyline.h"
#include "host/fonts/TextMetrics.h"
#include "host/ge/BulgeArc.h"
#include "host/gi/AcGi.h"

namespace fendo::gi {
namespace {

int arcSegments(double radius, double sweep, double tol)
{
    const double a = std::abs(sweep);
    if (radius <= 0 || a <= 0) return 1;
    double step = tol < radius ? 2.0 * std::acos(1.0 - tol / radius) : std::numbers::pi / 4;
    step = std::min(step, std::numbers::pi / 4);
    return std::clamp(static_cast<int>(std::ceil(a / step)), 1, 4096);
}

// Receives what the flattener draws: each shape's points in order, then the shape's end.
// ShapeSink keeps the shapes, faceting arcs; BoundsSink keeps only the box of what is drawn,
// arcs by their true extremes, so that the box holds the facets of any chord tolerance.
struct ShapeSink {
    static constexpr bool kExactArcs = false;
    std::vector<FlatShape> shapes;
    FlatShape current;
    void point(const AcGePoint3d& p) { current.points.emplace_back(p.x, p.y); }
    void arc(const AcGePoint3d&, const AcGeVector3d&, const AcGeVector3d&, double) {}
    void end(bool closed, bool filled)
    {
        current.closed = closed;
        current.filled = filled;
        if (!current.points.empty()) shapes.push_back(std::move(current));
        current = FlatShape{};
    }
};

struct BoundsSink {
    static constexpr bool kExactArcs = true;
    DrawnBounds box;
    void point(const AcGePoint3d& p)
    {
        for (int k = 0; k < 3; ++k) {
            box.lo[k] = std::min(box.lo[k], p[k]);
            box.hi[k] = std::max(box.hi[k], p[k]);
        }
    }
    // The arc c + u cos t + v sin t for t from 0 to sweep (u and v of one length, at right
    // angles): its ends and, on each axis, the turning points the sweep passes.
    void arc(const AcGePoint3d& c, const AcGeVector3d& u, AcGeVector3d v, double sweep)
    {
        if (sweep < 0) {
            v = -v;
            sweep = -sweep;
        }
        sweep = std::min(sweep, 2 * std::numbers::pi);
        auto at = [&](double t) { return c + u * std::cos(t) + v * std::sin(t); };
        point(at(0));
        point(at(sweep));
        for (int k = 0; k < 3; ++k) {
            double t = std::atan2(v[k], u[k]);
            if (t < 0) t += 2 * std::numbers::pi;
            for (double turn : {t, t < std::numbers::pi ? t + std::numbers::pi : t - std::numbers::pi})
                if (turn <= sweep) point(at(turn));
        }
    }
    void end(bool, bool) {}
};

template <typename Sink>
class Flattener : public AcGiWorldDraw, public AcGiWorldGeometry, public AcGiSubEntityTraits {
public:
    explicit Flattener(double tol) : m_tol(tol > 0 ? tol : 0.01) {}
    Sink sink;

    AcGiWorldGeometry& geometry() const override { return const_cast<Flattener&>(*this); }
    AcGiSubEntityTraits& subEntityTraits() const override { return const_cast<Flattener&>(*this); }
    AcGiRegenType regenType() const override { return kAcGiStandardDisplay; }
    bool regenAbort() const override { return false; }

    bool polyline(std::uint32_t n, const AcGePoint3d* pts, const AcGeVector3d*, std::intptr_t) override
    {
        for (std::uint32_t i = 0; i < n; ++i) sink.point(pts[i]);
        sink.end(false, false);
        return false;
    }
    bool polygon(std::uint32_t n, const AcGePoint3d* pts) override
    {
        for (std::uint32_t i = 0; i < n; ++i) sink.point(pts[i]);
        sink.end(true, m_fill == kAcGiFillAlways);
        return false;
    }
    bool circle(const AcGePoint3d& c, double r, const AcGeVector3d& normal) override
    {
        AcGeVector3d start = normal.perpVector();
        if (start.isZeroLength()) start = AcGeVector3d(1, 0, 0);
        start = start.normal() * r;
        arc3d(c, r, normal, start, 2 * std::numbers::pi, true);
        return false;
    }
    bool circularArc(const AcGePoint3d& c, double r, const AcGeVector3d& normal, const AcGeVector3d& startVector,
                     double sweep, AcGiArcType type) override
    {
        AcGeVector3d start = startVector.isZeroLength() ? AcGeVector3d(1, 0, 0) : startVector.normal() * r;
        arc3d(c, r, normal, start, sweep, type != kAcGiArcSimple);
        return false;
    }
    bool text(const AcGePoint3d& pos, const AcGeVector3d& normal, const AcGeVector3d& direction, double height,
              double width, double oblique, const ACHAR* msg) override
    {
        fonts::TextFormat fmt{height, width > 0 ? width : 1.0, oblique};
        const fonts::TextMeasure m = fonts::measureText(msg ? msg : L"", m_font, fmt);
        AcGeVector3d x = direction.isZeroLength() ? AcGeVector3d(1, 0, 0) : direction.normal();
        AcGeVector3d y = normal.crossProduct(x);
        y = y.isZeroLength() ? AcGeVector3d(0, 1, 0) : y.normal();
        const fonts::TextBox& b = m.obliqueBox;
        for (auto [u, v] : {std::pair{b.left, b.bottom}, {b.right, b.bottom}, {b.right, b.top}, {b.left, b.top}}) {
            sink.point(pos + x * u + y * v);
        }
        sink.end(true, true);  // a text is picked anywhere inside its box
        return false;
    }
    bool pline(const AcDbPolyline& pl, std::uint32_t from, std::uint32_t numSegs) override
    {
        const unsigned n = pl.numVerts();
        if (n == 0) return false;
        const unsigned segCount = pl.isClosed() ? n : n - 1;
        const unsigned last = numSegs ? std::min<unsigned>(segCount, from + numSegs) : segCount;
        AcGeMatrix3d toWorld;
        toWorld.setToPlaneToWorld(pl.normal());
        const double elev = pl.elevation();
        auto emit = [&](const AcGePoint2d& p) {
            AcGePoint3d w(p.x, p.y, elev);
            w.transformBy(toWorld);
            sink.point(w);
        };
        AcGePoint2d p0;
        pl.getPointAt(from, p0);
        emit(p0);
        if (n == 1) {
            sink.end(false, false);
            return false;
        }
        for (unsigned i = from; i < last; ++i) {
            AcGePoint2d a, b;
            pl.getPointAt(i, a);
            pl.getPointAt((i + 1) % n, b);
            double bulge = 0;
            pl.getBulgeAt(i, bulge);
            if (auto arc = ge::arcFromBulge(a, b, bulge)) {
                if constexpr (Sink::kExactArcs) {
                    // The arc in the polyline's plane, carried to the world as its points are.
                    const AcGeVector2d u2 = a - arc->center;
                    AcGePoint3d c(arc->center.x, arc->center.y, elev);
                    AcGeVector3d u(u2.x, u2.y, 0), v(-u2.y, u2.x, 0);
                    c.transformBy(toWorld);
                    u.transformBy(toWorld);
                    v.transformBy(toWorld);
                    sink.arc(c, u, v, arc->sweep);
                } else {
                    const int k = arcSegments(arc->radius, arc->sweep, m_tol);
                    for (int j = 1; j < k; ++j) emit(ge::pointOnBulgeSegment(a, b, bulge, double(j) / k));
                }
            }
            emit(b);
        }
        sink.end(false, false);
        return false;
    }

    void setColor(Adesk::UInt16) override {}
    void setTrueColor(const AcCmEntityColor&) override {}
    void setLayer(AcDbObjectId) override {}
    void setLineType(AcDbObjectId) override {}
    void setSelectionMarker(std::intptr_t) override {}
    void setFillType(AcGiFillType t) override { m_fill = t; }
    void setLineWeight(int) override {}
    Adesk::UInt16 color() const override { return 256; }
    AcCmEntityColor trueColor() const override { return {}; }
    AcDbObjectId layerId() const override { return {}; }
    AcGiFillType fillType() const override { return m_fill; }

    void setFont(fonts::TextStyleFont f) { m_font = std::move(f); }

private:
    void arc3d(const AcGePoint3d& c, double r, const AcGeVector3d& normal, const AcGeVector3d& start, double sweep,
               bool closed)
    {
        if constexpr (Sink::kExactArcs) {
            // Rotating start about the normal: start cos t + (n x start) sin t.
            const AcGeVector3d n = normal.isZeroLength() ? AcGeVector3d(0, 0, 1) : normal.normal();
            sink.arc(c, start, n.crossProduct(start), sweep);
        } else {
            const int k = std::max(arcSegments(r, sweep, m_tol), std::abs(sweep) > 6 ? 8 : 1);
            for (int j = 0; j <= k; ++j) {
                AcGeVector3d v = start;
                v.rotateBy(sweep * j / k, normal);
                sink.point(c + v);
            }
        }
        sink.end(closed, false);
    }

    double m_tol;
    AcGiFillType m_fill = kAcGiFillNever;
    fonts::TextStyleFont m_font;
};

double segDist(const AcGePoint2d& p, const AcGePoint2d& a, const AcGePoint2d& b)
{
    const AcGeVector2d ab = b - a;
    const double len2 = ab.lengthSqrd();
    double t = len2 > 0 ? (p - a).dotProduct(ab) / len2 : 0;
    t = std::clamp(t, 0.0, 1.0);
    return (a + ab * t).distanceTo(p);
}

double cross(const AcGePoint2d& o, const AcGePoint2d& a, const AcGePoint2d& b)
{
    return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x);
}

bool segmentsCross(const AcGePoint2d& a, const AcGePoint2d& b, const AcGePoint2d& c, const AcGePoint2d& d)
{
    const double d1 = cross(c, d, a), d2 = cross(c, d, b), d3 = cross(a, b, c), d4 = cross(a, b, d);
    if (((d1 > 0 && d2 < 0) || (d1 < 0 && d2 > 0)) && ((d3 > 0 && d4 < 0) || (d3 < 0 && d4 > 0))) return true;
    auto onSeg = [](const AcGePoint2d& p, const AcGePoint2d& q, const AcGePoint2d& r) {
        return std::min(p.x, q.x) <= r.x && r.x <= std::max(p.x, q.x) && std::min(p.y, q.y) <= r.y &&
               r.y <= std::max(p.y, q.y);
    };
    return (d1 == 0 && onSeg(c, d, a)) || (d2 == 0 && onSeg(c, d, b)) || (d3 == 0 && onSeg(a, b, c)) ||
           (d4 == 0 && onSeg(a, b, d));
}

bool insidePolygon(const std::vector<AcGePoint2d>& poly, const AcGePoint2d& p)
{
    bool in = false;
    for (size_t i = 0, j = poly.size() - 1; i < poly.size(); j = i++) {
        const AcGePoint2d& a = poly[i];
        const AcGePoint2d& b = poly[j];
        if ((a.y > p.y) != (b.y > p.y) && p.x < (b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x) in = !in;
    }
    return in;
}

template <typename Fn>
void forEachEdge(const FlatShape& s, Fn&& fn)
{
    for (size_t i = 0; i + 1 < s.points.size(); ++i) fn(s.points[i], s.points[i + 1]);
    if (s.closed && s.points.size() > 2) fn(s.points.back(), s.points.front());
}

std::vector<AcGePoint2d> rectPolygon(const AcGePoint2d& lo, const AcGePoint2d& hi)
{
    return {lo, AcGePoint2d(hi.x, lo.y), hi, AcGePoint2d(lo.x, hi.y)};
}
}  // namespace

std::vector<FlatShape> flattenEntity(AcDbEntity& entity, double chordTolerance)
{
    Flattener<ShapeSink> f(chordTolerance);
    f.setFont({L"", L""});
    entity.worldDraw(&f);
    return std::move(f.sink.shapes);
}

DrawnBounds drawnBounds(AcDbEntity& entity)
{
    Flattener<BoundsSink> f(0.01);
    f.setFont({L"", L""});
    entity.worldDraw(&f);
    return f.sink.box;
}

double distanceToShape(const FlatShape& s, const AcGePoint2d& p)
{
    if (s.points.size() == 1) return s.points[0].distanceTo(p);
    if (s.filled && s.closed && insidePolygon(s.points, p)) return 0.0;
    double best = HUGE_VAL;
    forEachEdge(s, [&](const AcGePoint2d& a, const AcGePoint2d& b) { best = std::min(best, segDist(p, a, b)); });
    return best;
}

bool shapeInsideRect(const FlatShape& s, const AcGePoint2d& lo, const AcGePoint2d& hi)
{
    return std::all_of(s.points.begin(), s.points.end(), [&](const AcGePoint2d& p) {
        return p.x >= lo.x && p.x <= hi.x && p.y >= lo.y && p.y <= hi.y;
    });
}

bool shapeTouchesRect(const FlatShape& s, const AcGePoint2d& lo, const AcGePoint2d& hi)
{
    return shapeTouchesPolygon(s, rectPolygon(lo, hi));
}

bool shapeInsidePolygon(const FlatShape& s, const std::vector<AcGePoint2d>& poly)
{
    if (poly.size() < 3) return false;
    if (!std::all_of(s.points.begin(), s.points.end(), [&](const AcGePoint2d& p) { return insidePolygon(poly, p); }))
        return false;
    bool crosses = false;
    forEachEdge(s, [&](const AcGePoint2d& a, const AcGePoint2d& b) {
        for (size_t i = 0; i < poly.size() && !crosses; ++i)
            crosses = segmentsCross(a, b, poly[i], poly[(i + 1) % poly.size()]);
    });
    return !crosses;
}

bool shapeTouchesPolygon(const FlatShape& s, const std::vector<AcGePoint2d>& poly)
{
    if (poly.size() < 3) return false;
    for (const AcGePoint2d& p : s.points)
        if (insidePolygon(poly, p)) return true;
    bool crosses = false;
    forEachEdge(s, [&](const AcGePoint2d& a, const AcGePoint2d& b) {
        for (size_t i = 0; i < poly.size() && !crosses; ++i)
            crosses = segmentsCross(a, b, poly[i], poly[(i + 1) % poly.size()]);
    });
    if (crosses) return true;
    // The polygon lies wholly inside a closed filled shape.
    return s.closed && s.filled && s.points.size() > 2 && insidePolygon(s.points, poly[0]);
}

bool shapeCrossesFence(const FlatShape& s, const std::vector<AcGePoint2d>& fence)
{
    bool crosses = false;
    for (size_t i = 0; i + 1 < fence.size() && !crosses; ++i)
        forEachEdge(s, [&](const AcGePoint2d& a, const AcGePoint2d& b) {
            if (!crosses) crosses = segmentsCross(a, b, fence[i], fence[i + 1]);
        });
    return crosses;
}

}  // namespace fendo::gi
