// Uniform grid of plan boxes.
#include "commands/survey/PlanGrid.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace fendo::survey {

namespace {
// Cells a box may cover before it goes to the list compared with every query.
constexpr std::int64_t kMaxCellsPerItem = 64;
// Upper bound on the number of cells, so that huge sparse worlds stay small in memory.
constexpr std::int64_t kMaxCells = std::int64_t{1} << 22;
}  // namespace

PlanBox PlanBox::around(double x0, double y0, double x1, double y1)
{
    return {std::min(x0, x1), std::min(y0, y1), std::max(x0, x1), std::max(y0, y1)};
}

void PlanBox::add(double x, double y)
{
    if (isEmpty()) {
        *this = {x, y, x, y};
        return;
    }
    minX = std::min(minX, x);
    minY = std::min(minY, y);
    maxX = std::max(maxX, x);
    maxY = std::max(maxY, y);
}

void PlanBox::add(const PlanBox& other)
{
    if (other.isEmpty()) return;
    add(other.minX, other.minY);
    add(other.maxX, other.maxY);
}

double PlanBox::magnitude() const
{
    if (isEmpty()) return 0.0;
    return std::max({std::abs(minX), std::abs(minY), std::abs(maxX), std::abs(maxY)});
}

double planSlack(const PlanBox& world) { return 1e-7 * (1.0 + world.magnitude()); }

PlanGrid::PlanGrid(const PlanBox& world, std::size_t items, double typicalExtent) : m_world(world)
{
    if (m_world.isEmpty()) m_world = {0.0, 0.0, 0.0, 0.0};
    const double width = m_world.maxX - m_world.minX, height = m_world.maxY - m_world.minY;
    const double n = static_cast<double>(std::max<std::size_t>(items, 1));
    // About one item per cell, but cells no smaller than a typical item.
    double cell = std::sqrt(std::max(width * height, 0.0) / n);
    cell = std::max({cell, typicalExtent, std::max(width, height) / 4096.0, 1e-9 * (1.0 + m_world.magnitude())});
    if (!std::isfinite(cell) || cell <= 0.0) cell = 1.0;
    while ((std::floor(width / cell) + 1.0) * (std::floor(height / cell) + 1.0) > static_cast<double>(kMaxCells))
        cell *= 2.0;
    m_cell = cell;
    m_columns = static_cast<std::int64_t>(std::floor(width / cell)) + 1;
    m_rows = static_cast<std::int64_t>(std::floor(height / cell)) + 1;
}

void PlanGrid::enter(std::size_t cell, std::uint32_t id)
{
    if (m_first.empty()) {
        m_first.assign(static_cast<std::size_t>(m_columns * m_rows), kNoEntry);
        m_last.assign(m_first.size(), kNoEntry);
    }
    const auto entry = static_cast<std::uint32_t>(m_entries.size());
    m_entries.push_back({id, kNoEntry});
    if (m_first[cell] == kNoEntry) m_first[cell] = entry;
    else m_entries[m_last[cell]].next = entry;
    m_last[cell] = entry;
}

template <typename Visit>
bool PlanGrid::forEachInCell(std::size_t cell, Visit&& visit) const
{
    if (!m_start.empty())
        for (std::uint32_t k = m_start[cell]; k < m_start[cell + 1]; ++k)
            if (visit(m_ids[k])) return true;
    if (!m_first.empty())
        for (std::uint32_t e = m_first[cell]; e != kNoEntry; e = m_entries[e].next)
            if (visit(m_entries[e].item)) return true;
    return false;
}

template <typename Visit>
bool PlanGrid::forEachCellOf(const PlanBox& box, Visit&& visit) const
{
    const std::int64_t c0 = column(box.minX), c1 = column(box.maxX), r0 = row(box.minY), r1 = row(box.maxY);
    if ((c1 - c0 + 1) * (r1 - r0 + 1) > kMaxCellsPerItem) return false;
    for (std::int64_t r = r0; r <= r1; ++r)
        for (std::int64_t c = c0; c <= c1; ++c) visit(static_cast<std::size_t>(r * m_columns + c));
    return true;
}

void PlanGrid::insertAll(std::vector<PlanBox> boxes)
{
    m_boxes = std::move(boxes);
    m_seen.assign(m_boxes.size(), 0);
    // Count each cell's items, make the counts into starts, then place the items: cell c's start moves on as its
    // items are placed, ending where cell c + 1 starts, so the starts are shifted back by one cell at the end.
    m_start.assign(static_cast<std::size_t>(m_columns * m_rows) + 1, 0);
    std::vector<bool> wide(m_boxes.size(), false);
    for (std::size_t i = 0; i < m_boxes.size(); ++i)
        if (!forEachCellOf(m_boxes[i], [&](std::size_t cell) { ++m_start[cell + 1]; })) wide[i] = true;
    for (std::size_t c = 1; c < m_start.size(); ++c) m_start[c] += m_start[c - 1];
    m_ids.resize(m_start.back());
    for (std::size_t i = 0; i < m_boxes.size(); ++i) {
        const auto id = static_cast<std::uint32_t>(i);
        if (wide[i]) m_wide.push_back(id);
        else forEachCellOf(m_boxes[i], [&](std::size_t cell) { m_ids[m_start[cell]++] = id; });
    }
    for (std::size_t c = m_start.size() - 1; c > 0; --c) m_start[c] = m_start[c - 1];
    m_start[0] = 0;
}

void PlanGrid::insert(std::size_t item, const PlanBox& box)
{
    if (m_boxes.size() <= item) {
        m_boxes.resize(item + 1);
        m_seen.resize(item + 1, 0);
    }
    m_boxes[item] = box;
    const auto id = static_cast<std::uint32_t>(item);
    if (!forEachCellOf(box, [&](std::size_t cell) { enter(cell, id); })) m_wide.push_back(id);
}

template <typename Visit>
bool PlanGrid::walkSegment(double x0, double y0, double x1, double y1, double slack, Visit&& visit) const
{
    // Columns are walked from the segment's start, so that a search that stops early looks near the start first.
    const bool backwards = x1 < x0;
    if (backwards) {
        std::swap(x0, x1);
        std::swap(y0, y1);
    }
    const std::int64_t c0 = column(x0 - slack), c1 = column(x1 + slack);
    const double inf = std::numeric_limits<double>::infinity();
    for (std::int64_t k = 0; k <= c1 - c0; ++k) {
        const std::int64_t c = backwards ? c1 - k : c0 + k;
        // The part of the segment within the column widened by the slack (border columns reach out for ever, as the
        // clamping of coordinates into them does).
        const double left = c == 0 ? -inf : m_world.minX + static_cast<double>(c) * m_cell - slack;
        const double right = c == m_columns - 1 ? inf : m_world.minX + static_cast<double>(c + 1) * m_cell + slack;
        const double xa = std::max(left, x0), xb = std::min(right, x1);
        if (xa > xb) continue;
        double ya = y0, yb = y1;
        if (x1 > x0) {
            ya = y0 + (y1 - y0) * std::clamp((xa - x0) / (x1 - x0), 0.0, 1.0);
            yb = y0 + (y1 - y0) * std::clamp((xb - x0) / (x1 - x0), 0.0, 1.0);
        }
        const std::int64_t r0 = row(std::min(ya, yb) - slack), r1 = row(std::max(ya, yb) + slack);
        for (std::int64_t r = r0; r <= r1; ++r)
            if (visit(static_cast<std::size_t>(r * m_columns + c))) return true;
    }
    return false;
}

void PlanGrid::insertSegment(std::size_t item, double x0, double y0, double x1, double y1, double slack)
{
    if (m_boxes.size() <= item) {
        m_boxes.resize(item + 1);
        m_seen.resize(item + 1, 0);
    }
    m_boxes[item] = PlanBox::around(x0, y0, x1, y1).grown(slack);
    const auto id = static_cast<std::uint32_t>(item);
    walkSegment(x0, y0, x1, y1, slack, [&](std::size_t cell) {
        enter(cell, id);
        return false;
    });
}

bool PlanGrid::findOnSegment(double x0, double y0, double x1, double y1, double slack,
                             const std::function<bool(std::size_t)>& test) const
{
    if (m_boxes.empty()) return false;
    nextStamp();
    const PlanBox box = PlanBox::around(x0, y0, x1, y1).grown(slack);
    for (std::uint32_t id : m_wide)
        if (m_boxes[id].meets(box) && test(id)) return true;
    return walkSegment(x0, y0, x1, y1, slack, [&](std::size_t cell) {
        return forEachInCell(cell, [&](std::uint32_t id) {
            if (m_seen[id] == m_stamp) return false;
            m_seen[id] = m_stamp;
            return m_boxes[id].meets(box) && test(id);
        });
    });
}

void PlanGrid::nextStamp() const
{
    if (++m_stamp == 0) {
        std::fill(m_seen.begin(), m_seen.end(), 0);
        m_stamp = 1;
    }
}

void PlanGrid::query(const PlanBox& box, std::vector<std::size_t>& out) const
{
    out.clear();
    if (box.isEmpty() || m_boxes.empty()) return;
    nextStamp();
    for (std::uint32_t id : m_wide)
        if (m_boxes[id].meets(box)) out.push_back(id);
    // Boxes were clamped into the grid when inserted, so a query clamped the same way sees them.
    const std::int64_t c0 = column(box.minX), c1 = column(box.maxX), r0 = row(box.minY), r1 = row(box.maxY);
    for (std::int64_t r = r0; r <= r1; ++r)
        for (std::int64_t c = c0; c <= c1; ++c)
            forEachInCell(static_cast<std::size_t>(r * m_columns + c), [&](std::uint32_t id) {
                if (m_seen[id] != m_stamp) {
                    m_seen[id] = m_stamp;
                    if (m_boxes[id].meets(box)) out.push_back(id);
                }
                return false;
            });
}

}  // namespace fendo::survey
