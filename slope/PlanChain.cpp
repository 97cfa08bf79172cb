// Plan chains for slope ticks: distances, tangents, projections and indexed crossings.
#include "slope/PlanChain.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace fendo::slope {

namespace {

// Relative tolerance of points on a chain, as the host's curve queries use.
constexpr double kRelativeTolerance = 1e-10;
// Two segments whose direction cross product is below this fraction of their lengths are parallel.
constexpr double kParallelSine = 1e-12;
// The grid has at most this many cells per segment (plus a few).
constexpr double kCellsPerSegment = 4.0;

double cross(const AcGeVector3d& u, const AcGeVector3d& v) { return u.x * v.y - u.y * v.x; }
AcGePoint3d flat(const AcGePoint3d& p) { return AcGePoint3d(p.x, p.y, 0.0); }
double planDistance(const AcGePoint3d& p, const AcGePoint3d& q) { return std::hypot(p.x - q.x, p.y - q.y); }

}  // namespace

PlanChain::PlanChain(const AcGePoint3dArray& points)
{
    for (int i = 0; i < points.length(); ++i) {
        const AcGePoint3d p = flat(points[i]);
        if (!m_points.empty() && planDistance(m_points.back(), p) < kCoincidentPointDistance) continue;
        m_points.push_back(p);
        m_scale = std::max({m_scale, std::abs(p.x), std::abs(p.y)});
    }
    m_running.reserve(m_points.size());
    double run = 0.0;
    for (size_t i = 0; i < m_points.size(); ++i) {
        if (i > 0) run += planDistance(m_points[i - 1], m_points[i]);
        m_running.push_back(run);
    }
}

int PlanChain::segmentAtDistance(double distance, double comingInto) const
{
    const int n = segmentCount();
    if (n == 0) return 0;
    long i;
    if (distance >= comingInto)
        i = std::lower_bound(m_running.begin(), m_running.end(), comingInto) - m_running.begin() - 1;
    else
        i = std::upper_bound(m_running.begin(), m_running.end(), distance) - m_running.begin() - 1;
    return static_cast<int>(std::clamp<long>(i, 0, n - 1));
}

AcGeVector3d PlanChain::segmentDirection(int segment) const
{
    if (!hasSegments()) return AcGeVector3d(0, 0, 0);
    const size_t i = static_cast<size_t>(segment);
    const AcGeVector3d d = m_points[i + 1] - m_points[i];
    return d / d.length();
}

AcGePoint3d PlanChain::pointAtDistance(double distance) const
{
    if (m_points.empty()) return AcGePoint3d();
    if (!hasSegments()) return m_points.front();
    const double d = std::clamp(distance, 0.0, length());
    const int i = segmentAtDistance(d, length());
    const size_t k = static_cast<size_t>(i);
    const double span = m_running[k + 1] - m_running[k];
    const double f = span > 0.0 ? (d - m_running[k]) / span : 0.0;
    return m_points[k] + (m_points[k + 1] - m_points[k]) * f;
}

std::optional<PlanChain::Projection> PlanChain::project(const AcGePoint3d& given) const
{
    if (m_points.empty()) return std::nullopt;
    const AcGePoint3d p = flat(given);
    if (!hasSegments()) return Projection{m_points.front(), 0.0};
    Projection best;
    double bestDistance = std::numeric_limits<double>::infinity();
    for (size_t i = 0; i + 1 < m_points.size(); ++i) {
        const AcGeVector3d d = m_points[i + 1] - m_points[i];
        const double t = std::clamp((p - m_points[i]).dotProduct(d) / d.lengthSqrd(), 0.0, 1.0);
        const AcGePoint3d q = m_points[i] + d * t;
        const double dist = planDistance(p, q);
        if (dist < bestDistance) {
            bestDistance = dist;
            best = Projection{q, m_running[i] + t * (m_running[i + 1] - m_running[i])};
        }
    }
    return best;
}

ChainStretch::ChainStretch(const PlanChain& chain, double from, double to)
    : m_chain(&chain), m_from(from), m_to(to)
{
}

AcGePoint3d ChainStretch::pointAt(double distance) const
{
    return m_chain->pointAtDistance(std::clamp(m_from + distance, m_from, m_to));
}

AcGeVector3d ChainStretch::tangentAt(double distance) const
{
    return m_chain->segmentDirection(m_chain->segmentAtDistance(m_from + distance, m_to));
}

AcGeVector3d ChainStretch::normalAt(double distance) const
{
    const AcGeVector3d t = tangentAt(distance);
    return AcGeVector3d(-t.y, t.x, 0.0);
}

// ---- crossings --------------------------------------------------------------------------

double crossingTolerance(const PlanChain& first, const PlanChain& second)
{
    const double scale = std::max(first.coordinateScale(), second.coordinateScale());
    return std::max(kRelativeTolerance, kRelativeTolerance * scale);
}

int segmentCrossings(const AcGePoint3d& a, const AcGePoint3d& b, const AcGePoint3d& p, const AcGePoint3d& q,
                     double tol, AcGePoint3d out[2])
{
    const AcGeVector3d d1(b.x - a.x, b.y - a.y, 0.0);
    const AcGeVector3d d2(q.x - p.x, q.y - p.y, 0.0);
    const AcGeVector3d r(p.x - a.x, p.y - a.y, 0.0);
    const double l1 = d1.length(), l2 = d2.length();
    if (l2 == 0.0) return 0;
    if (l1 == 0.0) {
        // A point: on the segment or not.
        const double t = std::clamp(-r.dotProduct(d2) / (l2 * l2), 0.0, 1.0);
        if (planDistance(a, p + d2 * t) > tol) return 0;
        out[0] = flat(a);
        return 1;
    }
    const double den = cross(d1, d2);
    if (std::abs(den) <= kParallelSine * l1 * l2) {
        if (std::abs(cross(d1, r)) / l1 > tol) return 0;
        // Collinear: the overlap of the two, as fractions of a-b.
        const double tp = r.dotProduct(d1) / (l1 * l1);
        const double tq = (q - a).dotProduct(d1) / (l1 * l1);
        const double lo = std::max(0.0, std::min(tp, tq));
        const double hi = std::min(1.0, std::max(tp, tq));
        const double slack = tol / l1;
        if (lo > hi + slack) return 0;
        out[0] = flat(a) + d1 * std::min(lo, hi);
        if ((hi - lo) * l1 <= tol) return 1;
        out[1] = flat(a) + d1 * hi;
        return 2;
    }
    const double s = cross(r, d2) / den;
    const double t = cross(r, d1) / den;
    if (s < -tol / l1 || s > 1.0 + tol / l1 || t < -tol / l2 || t > 1.0 + tol / l2) return 0;
    // On the chain's segment, which is the short and accurate one.
    out[0] = flat(p) + d2 * std::clamp(t, 0.0, 1.0);
    return 1;
}

SegmentIndex::SegmentIndex(const PlanChain& chain, SegmentSearch search, double tolerance)
    : m_chain(&chain), m_search(search), m_tol(tolerance)
{
    const int n = chain.segmentCount();
    if (search != SegmentSearch::Grid || n == 0) return;
    const auto& pts = chain.points();
    m_loX = m_hiX = pts.front().x;
    m_loY = m_hiY = pts.front().y;
    double sum = 0.0;
    for (size_t i = 0; i < pts.size(); ++i) {
        m_loX = std::min(m_loX, pts[i].x), m_hiX = std::max(m_hiX, pts[i].x);
        m_loY = std::min(m_loY, pts[i].y), m_hiY = std::max(m_hiY, pts[i].y);
        if (i > 0) sum += std::max(std::abs(pts[i].x - pts[i - 1].x), std::abs(pts[i].y - pts[i - 1].y));
    }
    m_loX -= m_tol, m_loY -= m_tol, m_hiX += m_tol, m_hiY += m_tol;
    const double w = m_hiX - m_loX, h = m_hiY - m_loY;
    // About one segment per cell, but never more cells than a few per segment.
    m_cell = std::max({sum / n, std::sqrt(w * h / (kCellsPerSegment * n)),
                       1e-9 * (1.0 + chain.coordinateScale())});
    for (;;) {
        m_nx = static_cast<int>(std::floor(w / m_cell)) + 1;
        m_ny = static_cast<int>(std::floor(h / m_cell)) + 1;
        if (static_cast<double>(m_nx) * m_ny <= kCellsPerSegment * n + 16) break;
        m_cell *= 1.5;
    }
    m_cells.resize(static_cast<size_t>(m_nx) * static_cast<size_t>(m_ny));
    m_seen.assign(static_cast<size_t>(n), 0);
    for (int i = 0; i < n; ++i) addCells(i);
}

void SegmentIndex::addCells(int segment)
{
    const auto& pts = m_chain->points();
    const AcGePoint3d& p = pts[static_cast<size_t>(segment)];
    const AcGePoint3d& q = pts[static_cast<size_t>(segment) + 1];
    auto cell = [&](double offset, int count) {
        return std::clamp(static_cast<int>(std::floor(offset / m_cell)), 0, count - 1);
    };
    auto col = [&](double x) { return cell(x - m_loX, m_nx); };
    auto row = [&](double y) { return cell(y - m_loY, m_ny); };
    const int c0 = col(std::min(p.x, q.x) - m_tol), c1 = col(std::max(p.x, q.x) + m_tol);
    const int r0 = row(std::min(p.y, q.y) - m_tol), r1 = row(std::max(p.y, q.y) + m_tol);
    for (int c = c0; c <= c1; ++c)
        for (int r = r0; r <= r1; ++r) m_cells[static_cast<size_t>(r) * m_nx + c].push_back(segment);
}

void SegmentIndex::candidates(const AcGePoint3d& a, const AcGePoint3d& b, std::vector<int>& out) const
{
    out.clear();
    const int n = m_chain->segmentCount();
    if (n == 0) return;
    if (m_search == SegmentSearch::Scan) {
        for (int i = 0; i < n; ++i) out.push_back(i);
        return;
    }
    // Clip a-b to the grid's box (Liang-Barsky).
    const double dx = b.x - a.x, dy = b.y - a.y;
    double t0 = 0.0, t1 = 1.0;
    auto clip = [&](double p, double q) {
        if (p == 0.0) return q >= 0.0;
        const double r = q / p;
        if (p < 0.0) {
            if (r > t1) return false;
            t0 = std::max(t0, r);
        } else {
            if (r < t0) return false;
            t1 = std::min(t1, r);
        }
        return true;
    };
    if (!clip(-dx, a.x - m_loX) || !clip(dx, m_hiX - a.x) || !clip(-dy, a.y - m_loY) || !clip(dy, m_hiY - a.y))
        return;
    const double xa = a.x + dx * t0, ya = a.y + dy * t0, xb = a.x + dx * t1, yb = a.y + dy * t1;
    const double xmin = std::min(xa, xb), xmax = std::max(xa, xb);
    auto col = [&](double x) { return static_cast<int>(std::floor((x - m_loX) / m_cell)); };
    auto row = [&](double y) { return static_cast<int>(std::floor((y - m_loY) / m_cell)); };
    auto yAt = [&](double x) { return xb == xa ? ya : ya + (x - xa) * (yb - ya) / (xb - xa); };
    ++m_stamp;
    // Column by column, the rows the clipped segment passes through, one cell wider on
    // every side so that rounding at cell borders loses nothing.
    const int c0 = std::max(0, col(xmin) - 1), c1 = std::min(m_nx - 1, col(xmax) + 1);
    for (int c = c0; c <= c1; ++c) {
        const double left = std::clamp(m_loX + c * m_cell, xmin, xmax);
        const double right = std::clamp(m_loX + (c + 1) * m_cell, xmin, xmax);
        double y0 = yAt(left), y1 = yAt(right);
        if (xb == xa) y0 = ya, y1 = yb;
        const int r0 = std::max(0, row(std::min(y0, y1)) - 1), r1 = std::min(m_ny - 1, row(std::max(y0, y1)) + 1);
        for (int r = r0; r <= r1; ++r) {
            for (int s : m_cells[static_cast<size_t>(r) * m_nx + c]) {
                if (m_seen[static_cast<size_t>(s)] == m_stamp) continue;
                m_seen[static_cast<size_t>(s)] = m_stamp;
                out.push_back(s);
            }
        }
    }
    std::sort(out.begin(), out.end());
}

std::optional<AcGePoint3d> nearestCrossing(const SegmentIndex& index, const AcGePoint3d& a, const AcGePoint3d& b,
                                           const AcGePoint3d& from)
{
    thread_local std::vector<int> segments;
    index.candidates(a, b, segments);
    const auto& pts = index.chain().points();
    std::optional<AcGePoint3d> best;
    double bestDistance = std::numeric_limits<double>::infinity();
    AcGePoint3d hits[2];
    for (int s : segments) {
        const int k = segmentCrossings(a, b, pts[static_cast<size_t>(s)], pts[static_cast<size_t>(s) + 1],
                                       index.tolerance(), hits);
        for (int h = 0; h < k; ++h) {
            const double d = planDistance(hits[h], from);
            if (d < bestDistance) bestDistance = d, best = hits[h];
        }
    }
    return best;
}

int crossingCount(const SegmentIndex& index, const AcGePoint3d& a, const AcGePoint3d& b)
{
    thread_local std::vector<int> segments;
    index.candidates(a, b, segments);
    const auto& pts = index.chain().points();
    const double same = 10.0 * index.tolerance();
    std::vector<AcGePoint3d> found;
    AcGePoint3d hits[2];
    for (int s : segments) {
        const int k = segmentCrossings(a, b, pts[static_cast<size_t>(s)], pts[static_cast<size_t>(s) + 1],
                                       index.tolerance(), hits);
        for (int h = 0; h < k; ++h) {
            const bool known = std::any_of(found.begin(), found.end(),
                                           [&](const AcGePoint3d& f) { return planDistance(f, hits[h]) <= same; });
            if (!known) found.push_back(hits[h]);
        }
    }
    return static_cast<int>(found.size());
}

}  // namespace fendo::slope
