// Path building for "NDCD" and "NCDT". The plain procedure sorts every remaining point at every step and tests each
// candidate segment against the whole path, which is quadratic; here the candidates come nearest first from a grid of
// points, in exactly the order the exchange sort gives them, and each candidate segment meets only the path segments a
// grid finds near it.
#include "commands/survey/ElevationPath.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <queue>
#include <utility>

#include "commands/survey/ExchangeOrder.h"
#include "commands/survey/PlanGrid.h"
#include "host/db/entities/AcDbPolyline.h"

namespace fendo::survey {

namespace {

// How close to the shared point a reported intersection still counts as that point: ten times the host's on-curve
// tolerance, the distance under which the host merges intersection points.
double sharedPointReach(const AcGePoint2d& a, const AcGePoint2d& b, const AcGePoint2d& from, const AcGePoint2d& to)
{
    double magnitude = 0.0;
    for (const AcGePoint2d* p : {&a, &b, &from, &to}) magnitude = std::max({magnitude, std::abs(p->x), std::abs(p->y)});
    return 1e-9 * std::max(1.0, magnitude);
}

void setTwoVertices(AcDbPolyline& pline, const AcGePoint2d& start, const AcGePoint2d& end)
{
    pline.addVertexAt(0, start);
    pline.addVertexAt(1, end);
}

// Contacts farther than this many shared-point reaches from being touches are decided without the host: far above its
// on-curve tolerance (a tenth of the reach), so it would agree.
constexpr double kClearMargin = 100.0;

enum class Contact { Apart, Crossing, Unclear };

// Signed distance of r from the line through p and q (q != p).
double sideOf(const AcGePoint2d& p, const AcGePoint2d& q, const AcGePoint2d& r)
{
    const double dx = q.x - p.x, dy = q.y - p.y;
    return (dx * (r.y - p.y) - dy * (r.x - p.x)) / std::sqrt(dx * dx + dy * dy);
}

// Contacts whose outcome the host's tolerance cannot change: one segment wholly on one side of the other's line
// (apart); each one's ends on both sides of the other's line (a crossing, whose point lies farther than the margin from
// `from`); a path segment ending at `from` that leaves the candidate's line (they meet at `from` alone). Every distance
// must be beyond the margin; anything closer is unclear and goes to the host.
Contact clearCase(const AcGePoint2d& a, const AcGePoint2d& b, const AcGePoint2d& from, const AcGePoint2d& to,
                  double margin)
{
    if (a == b || from == to) return Contact::Unclear;
    const double da = sideOf(from, to, a), db = sideOf(from, to, b);
    if ((b == from && std::abs(da) > margin) || (a == from && std::abs(db) > margin)) return Contact::Apart;
    const double df = sideOf(a, b, from), dt = sideOf(a, b, to);
    auto beyond = [margin](double u, double v) { return (u > margin && v > margin) || (u < -margin && v < -margin); };
    auto across = [margin](double u, double v) { return (u > margin && v < -margin) || (u < -margin && v > margin); };
    if (beyond(da, db) || beyond(df, dt)) return Contact::Apart;
    if (across(da, db) && across(df, dt)) return Contact::Crossing;
    return Contact::Unclear;
}

// Survey points in a uniform grid of cells, for rings of cells round the current point.
class PointCells {
public:
    PointCells(const std::vector<AcGePoint3d>& points, const PlanBox& world) : m_world(world)
    {
        const double width = world.maxX - world.minX, height = world.maxY - world.minY;
        const double n = static_cast<double>(std::max<std::size_t>(points.size(), 1));
        m_cell = std::max(
            {std::sqrt(width * height / n), std::max(width, height) / 2048.0, 1e-9 * (1.0 + world.magnitude())});
        m_columns = static_cast<std::int64_t>(std::floor(width / m_cell)) + 1;
        m_rows = static_cast<std::int64_t>(std::floor(height / m_cell)) + 1;
        m_cells.resize(static_cast<std::size_t>(m_columns * m_rows));
        for (std::size_t i = 0; i < points.size(); ++i)
            m_cells[static_cast<std::size_t>(row(points[i].y) * m_columns + column(points[i].x))].push_back(
                static_cast<std::uint32_t>(i));
    }

    std::int64_t column(double x) const { return clampTo(std::floor((x - m_world.minX) / m_cell), m_columns); }
    std::int64_t row(double y) const { return clampTo(std::floor((y - m_world.minY) / m_cell), m_rows); }
    std::int64_t columns() const { return m_columns; }
    std::int64_t rows() const { return m_rows; }
    double cell() const { return m_cell; }
    const PlanBox& world() const { return m_world; }
    std::vector<std::uint32_t>& at(std::int64_t c, std::int64_t r)
    {
        return m_cells[static_cast<std::size_t>(r * m_columns + c)];
    }

private:
    static std::int64_t clampTo(double v, std::int64_t count)
    {
        return static_cast<std::int64_t>(std::clamp(v, 0.0, static_cast<double>(count - 1)));
    }

    PlanBox m_world;
    double m_cell = 1.0;
    std::int64_t m_columns = 1, m_rows = 1;
    std::vector<std::vector<std::uint32_t>> m_cells;
};

// The remaining points of one step, nearest first, one group of equal distance at a time, each group in the order the
// exchange sort of the whole remaining list would give it.
class Candidates {
public:
    Candidates(PointCells& cells, const std::vector<AcGePoint3d>& points, const std::vector<char>& remaining,
               RankCounter& smaller, const AcGePoint3d& current)
        : m_cells(cells),
          m_points(points),
          m_remaining(remaining),
          m_smaller(smaller),
          m_current(current),
          m_column(cells.column(current.x)),
          m_row(cells.row(current.y)),
          m_slack(planSlack(cells.world()))
    {
    }
    ~Candidates()
    {
        for (std::size_t place : m_marked) m_smaller.add(place, -1);
    }
    Candidates(const Candidates&) = delete;
    Candidates& operator=(const Candidates&) = delete;

    // The next group; false when no candidate is left.
    bool next(std::vector<std::size_t>& group)
    {
        group.clear();
        while (!m_allSeen && (m_heap.empty() || !(m_heap.top().first < unseenBound()))) searchNextRing();
        if (m_heap.empty()) return false;
        const double distance = m_heap.top().first;
        std::vector<std::size_t> ranks;
        while (!m_heap.empty() && !(distance < m_heap.top().first)) {
            ranks.push_back(m_heap.top().second);
            m_heap.pop();
        }
        group = tieGroupOrder(ranks, m_smaller);
        for (std::size_t place : ranks) {
            m_smaller.add(place, 1);
            m_marked.push_back(place);
        }
        return true;
    }

private:
    void searchNextRing()
    {
        const std::int64_t r = ++m_ring;
        const std::int64_t c0 = m_column - r, c1 = m_column + r, r0 = m_row - r, r1 = m_row + r;
        const std::int64_t xLow = std::max<std::int64_t>(c0, 0), xHigh = std::min(c1, m_cells.columns() - 1);
        for (std::int64_t y = std::max<std::int64_t>(r0, 0); y <= std::min(r1, m_cells.rows() - 1); ++y) {
            if (y == r0 || y == r1) {
                for (std::int64_t x = xLow; x <= xHigh; ++x) take(m_cells.at(x, y));
                continue;
            }
            // Between the top and bottom rows the ring is its two side columns.
            if (c0 >= 0) take(m_cells.at(c0, y));
            if (c1 != c0 && c1 < m_cells.columns()) take(m_cells.at(c1, y));
        }
        m_allSeen = c0 <= 0 && r0 <= 0 && c1 >= m_cells.columns() - 1 && r1 >= m_cells.rows() - 1;
    }

    // Moves the cell's remaining points into the heap and forgets the taken ones for good.
    void take(std::vector<std::uint32_t>& cell)
    {
        std::size_t kept = 0;
        for (std::uint32_t place : cell) {
            if (!m_remaining[place]) continue;
            cell[kept++] = place;
            m_heap.emplace(stepDistance(m_current, m_points[place]), place);
        }
        cell.resize(kept);
    }

    // A distance below which every point outside the rings searched so far lies: the plan distance to the nearest
    // unsearched cell, less a slack for rounding, lifted by the current point's height as the step distance is.
    double unseenBound() const
    {
        if (m_ring < 0) return -std::numeric_limits<double>::infinity();
        const PlanBox& w = m_cells.world();
        const double cell = m_cells.cell();
        double plan = std::numeric_limits<double>::infinity();
        if (m_column - m_ring > 0)
            plan = std::min(plan, m_current.x - (w.minX + static_cast<double>(m_column - m_ring) * cell));
        if (m_column + m_ring < m_cells.columns() - 1)
            plan = std::min(plan, w.minX + static_cast<double>(m_column + m_ring + 1) * cell - m_current.x);
        if (m_row - m_ring > 0)
            plan = std::min(plan, m_current.y - (w.minY + static_cast<double>(m_row - m_ring) * cell));
        if (m_row + m_ring < m_cells.rows() - 1)
            plan = std::min(plan, w.minY + static_cast<double>(m_row + m_ring + 1) * cell - m_current.y);
        plan -= m_slack;
        if (plan <= 0.0) return -std::numeric_limits<double>::infinity();
        return std::sqrt(plan * plan + m_current.z * m_current.z) * (1.0 - 1e-12);
    }

    using Entry = std::pair<double, std::size_t>;
    PointCells& m_cells;
    const std::vector<AcGePoint3d>& m_points;
    const std::vector<char>& m_remaining;
    RankCounter& m_smaller;
    AcGePoint3d m_current;
    std::int64_t m_column, m_row;
    double m_slack;
    std::int64_t m_ring = -1;
    bool m_allSeen = false;
    std::priority_queue<Entry, std::vector<Entry>, std::greater<Entry>> m_heap;
    std::vector<std::size_t> m_marked;
};

AcGePoint2d plan(const AcGePoint3d& p) { return {p.x, p.y}; }

}  // namespace

bool crossesAwayFrom(const AcGePoint2d& a, const AcGePoint2d& b, const AcGePoint2d& from, const AcGePoint2d& to)
{
    const double reach = sharedPointReach(a, b, from, to);
    switch (clearCase(a, b, from, to, kClearMargin * reach)) {
    case Contact::Apart:
        return false;
    case Contact::Crossing:
        return true;
    case Contact::Unclear:
        break;
    }
    return crossesAwayFromByHost(a, b, from, to);
}

bool crossesAwayFromByHost(const AcGePoint2d& a, const AcGePoint2d& b, const AcGePoint2d& from, const AcGePoint2d& to)
{
    const double reach = sharedPointReach(a, b, from, to);
    AcDbPolyline path, candidate;
    setTwoVertices(path, a, b);
    setTwoVertices(candidate, from, to);
    AcGePoint3dArray hits;
    if (path.intersectWith(&candidate, AcDb::kOnBothOperands, hits) != Acad::eOk) return false;
    for (const AcGePoint3d& hit : hits)
        if (AcGePoint2d(hit.x, hit.y).distanceTo(from) > reach) return true;
    return false;
}

double stepDistance(const AcGePoint3d& current, const AcGePoint3d& candidate)
{
    return current.distanceTo(AcGePoint3d(candidate.x, candidate.y, 0.0));
}

std::vector<std::size_t> buildElevationPath(const std::vector<AcGePoint3d>& points)
{
    std::vector<std::size_t> path;
    if (points.empty()) return path;
    PlanBox world;
    for (const AcGePoint3d& p : points) world.add(p.x, p.y);
    PointCells cells(points, world);
    PlanGrid segments(world, points.size(), cells.cell());
    const double slack = planSlack(world);
    std::vector<char> remaining(points.size(), 1);
    RankCounter smaller(points.size());

    auto crossesPath = [&](const AcGePoint2d& from, const AcGePoint2d& to) {
        return segments.findOnSegment(from.x, from.y, to.x, to.y, slack, [&](std::size_t s) {
            return crossesAwayFrom(plan(points[path[s]]), plan(points[path[s + 1]]), from, to);
        });
    };

    path.push_back(0);
    remaining[0] = 0;
    std::size_t left = points.size() - 1;
    AcGePoint3d current(points[0].x, points[0].y, 0.0);
    std::vector<std::size_t> group;
    while (left >= 2) {
        constexpr std::size_t kNone = static_cast<std::size_t>(-1);
        std::size_t chosen = kNone, nearest = kNone;
        {
            Candidates candidates(cells, points, remaining, smaller, current);
            while (chosen == kNone && candidates.next(group)) {
                for (std::size_t c : group) {
                    if (nearest == kNone) nearest = c;
                    if (path.size() == 1 || !crossesPath(plan(current), plan(points[c]))) {
                        chosen = c;
                        break;
                    }
                }
            }
        }
        if (chosen == kNone) chosen = nearest;
        const std::size_t segment = path.size() - 1;
        const AcGePoint3d& last = points[path.back()];
        segments.insertSegment(segment, last.x, last.y, points[chosen].x, points[chosen].y, slack);
        path.push_back(chosen);
        remaining[chosen] = 0;
        --left;
        current = points[chosen];
    }
    for (std::size_t i = 0; i < points.size(); ++i)
        if (remaining[i]) path.push_back(i);
    return path;
}

}  // namespace fendo::survey
