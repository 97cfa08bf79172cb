// A uniform grid of plan boxes: finds the items whose boxes meet a query box without looking at every item. Used to
// narrow pairwise scans (polyline against polyline, text against contour, label against polygon, candidate segment
// against path) to the pairs that can meet; callers then compare exactly what the full scan compares.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

namespace fendo::survey {

struct PlanBox {
    double minX = 0.0, minY = 0.0, maxX = -1.0, maxY = -1.0;

    static PlanBox around(double x0, double y0, double x1, double y1);
    bool isEmpty() const { return minX > maxX || minY > maxY; }
    bool meets(const PlanBox& other) const
    {
        return minX <= other.maxX && other.minX <= maxX && minY <= other.maxY && other.minY <= maxY;
    }
    void add(double x, double y);
    void add(const PlanBox& other);
    // Grown by d on every side.
    PlanBox grown(double d) const { return {minX - d, minY - d, maxX + d, maxY + d}; }
    // The largest coordinate magnitude of the box.
    double magnitude() const;
};

// The slack added round boxes before they are compared: far above the host's on-curve tolerance (1e-10 of the largest
// coordinate) and the rounding of the scans' own tests, so that a pair the scan would find is never left out.
double planSlack(const PlanBox& world);

class PlanGrid {
public:
    // A grid over `world` sized for about `items` boxes of about `typicalExtent` across.
    PlanGrid(const PlanBox& world, std::size_t items, double typicalExtent);

    void insert(std::size_t item, const PlanBox& box);
    // Enters boxes[i] as item i, for an empty grid: the same as inserting them in order, in about a third of the
    // room and without growing anything while it runs.
    void insertAll(std::vector<PlanBox> boxes);
    // The box an item was entered with.
    const PlanBox& box(std::size_t item) const { return m_boxes[item]; }
    // A segment grown by `slack`, entered only in the cells it passes through, so that long segments cost their length
    // in cells rather than their box's area.
    void insertSegment(std::size_t item, double x0, double y0, double x1, double y1, double slack);
    // The items inserted with a box meeting `box`, each once, in no particular order.
    void query(const PlanBox& box, std::vector<std::size_t>& out) const;
    // Whether `test` holds for one of the items whose boxes meet the segment's box and that share a cell with the
    // segment grown by `slack`; items are tried once each, near the segment's start first, until one passes.
    bool findOnSegment(double x0, double y0, double x1, double y1, double slack,
                       const std::function<bool(std::size_t)>& test) const;

private:
    // Calls visit(cell index) for each cell the segment grown by slack passes through, until visit returns true.
    template <typename Visit>
    bool walkSegment(double x0, double y0, double x1, double y1, double slack, Visit&& visit) const;
    void nextStamp() const;
    std::int64_t column(double x) const
    {
        const double c = std::floor((x - m_world.minX) / m_cell);
        return static_cast<std::int64_t>(std::clamp(c, 0.0, static_cast<double>(m_columns - 1)));
    }
    std::int64_t row(double y) const
    {
        const double r = std::floor((y - m_world.minY) / m_cell);
        return static_cast<std::int64_t>(std::clamp(r, 0.0, static_cast<double>(m_rows - 1)));
    }
    // Calls visit(cell) for each cell of a box, or returns false when the box covers too many cells to be entered.
    template <typename Visit>
    bool forEachCellOf(const PlanBox& box, Visit&& visit) const;

    // Calls visit(item) for the items entered in a cell, in the order they were entered, until visit returns true.
    template <typename Visit>
    bool forEachInCell(std::size_t cell, Visit&& visit) const;
    void enter(std::size_t cell, std::uint32_t id);

    PlanBox m_world;
    double m_cell = 1.0;
    std::int64_t m_columns = 1, m_rows = 1;
    // Items entered all at once: those of cell c are m_ids[m_start[c]] up to m_ids[m_start[c + 1]].
    std::vector<std::uint32_t> m_start, m_ids;
    // Items entered one by one follow: each cell's are a chain through one array of entries (first and last entry per
    // cell), so that entering an item costs no allocation of its own and a cell keeps the order its items came in.
    static constexpr std::uint32_t kNoEntry = 0xFFFFFFFFu;
    struct Entry {
        std::uint32_t item;
        std::uint32_t next;
    };
    std::vector<std::uint32_t> m_first, m_last;
    std::vector<Entry> m_entries;
    // Items covering too many cells, compared with every query instead.
    std::vector<std::uint32_t> m_wide;
    std::vector<PlanBox> m_boxes;
    mutable std::vector<std::uint32_t> m_seen;
    mutable std::uint32_t m_stamp = 0;
};

}  // namespace fendo::survey
