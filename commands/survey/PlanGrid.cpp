// Uniform grid of plan boxes.
#include "commands/survey/PlanGrid.h"

#include <algorithm>
#include <cmath>

namespace fendo::survey {

namespace {
// Cells a box may cover before it goes to the list compared with every query.
constexpr std::int64_t kMaxCellsPerItem = 64;
// Upper bound on the number of cells, so that huge sparse worlds stay small in
// memory.
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
    m_cells.resize(static_cast<std::size_t>(m_columns * m_rows));
}

std::int64_t PlanGrid::column(double x) const
{
    const double c = std::floor((x - m_world.minX) / m_cell);
    return static_cast<std::int64_t>(std::clamp(c, 0.0, static_cast<double>(m_columns - 1)));
}

std::int64_t PlanGrid::row(double y) const
{
    const double r = std::floor((y - m_world.minY) / m_cell);
    return static_cast<std::int64_t>(std::clamp(r, 0.0, static_cast<double>(m_rows - 1)));
}

void PlanGrid::insert(std::size_t item, const PlanBox& box)
{
    if (m_boxes.size() <= item) {
        m_boxes.resize(item + 1);
        m_seen.resize(item + 1, 0);
    }
    m_boxes[item] = box;
    const auto id = static_cast<std::uint32_t>(item);
    const std::int64_t c0 = column(box.minX), c1 = column(box.maxX), r0 = row(box.minY), r1 = row(box.maxY);
    if ((c1 - c0 + 1) * (r1 - r0 + 1) > kMaxCellsPerItem) {
        m_wide.push_back(id);
        return;
    }
    for (std::int64_t r = r0; r <= r1; ++r)
        for (std::int64_t c = c0; c <= c1; ++c) m_cells[static_cast<std::size_t>(r * m_columns + c)].push_back(id);
}

void PlanGrid::query(const PlanBox& box, std::vector<std::size_t>& out) const
{
    out.clear();
    if (box.isEmpty() || m_boxes.empty()) return;
    if (++m_stamp == 0) {
        std::fill(m_seen.begin(), m_seen.end(), 0);
        m_stamp = 1;
    }
    for (std::uint32_t id : m_wide)
        if (m_boxes[id].meets(box)) out.push_back(id);
    // Boxes were clamped into the grid when inserted, so a query clamped the same
    // way sees them.
    const std::int64_t c0 = column(box.minX), c1 = column(box.maxX), r0 = row(box.minY), r1 = row(box.maxY);
    for (std::int64_t r = r0; r <= r1; ++r)
        for (std::int64_t c = c0; c <= c1; ++c)
            for (std::uint32_t id : m_cells[static_cast<std::size_t>(r * m_columns + c)]) {
                if (m_seen[id] == m_stamp) continue;
                m_seen[id] = m_stamp;
                if (m_boxes[id].meets(box)) out.push_back(id);
            }
}

}  // namespace fendo::survey
