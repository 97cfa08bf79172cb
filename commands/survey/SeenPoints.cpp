// The point set of "LDTT" and "N3d".
#include "commands/survey/SeenPoints.h"

#include <algorithm>
#include <cmath>

#include "host/ge/AcGeTol.h"

namespace fendo::survey {

namespace {
// The cells are never smaller than this, so that a zero tolerance still gives a
// usable grid.
constexpr double kSmallestCell = 1e-6;

bool finite(const AcGePoint3d& p) { return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z); }
}  // namespace

SeenPoints::SeenPoints()
    : m_tolerance(AcGeContext::gTol.equalPoint()),
      m_cellSize(std::max(4.0 * m_tolerance, kSmallestCell)),
      m_slots(64)
{
}

GridCell SeenPoints::cellOf(double x, double y) const { return gridCellOf(x, y, m_cellSize, m_cellSize); }

std::size_t SeenPoints::slotOf(const GridCell& cell) const
{
    const std::size_t mask = m_slots.size() - 1;
    const std::uint64_t hash = GridCellHash{}(cell);
    const std::uint32_t tag = tagOf(hash);
    for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
        const Slot& s = m_slots[i];
        if (s.first == kNone) return i;
        if (s.tag == tag && slotCell(s) == cell) return i;
    }
}

GridCell SeenPoints::slotCell(const Slot& slot) const
{
    const AcGePoint3d& p = m_entries[slot.first].point;
    return cellOf(p.x, p.y);
}

void SeenPoints::rehash(std::size_t size)
{
    std::vector<Slot> old(size);
    old.swap(m_slots);
    for (const Slot& s : old)
        if (s.first != kNone) m_slots[slotOf(slotCell(s))] = s;
}

void SeenPoints::reserve(std::size_t count)
{
    m_entries.reserve(count);
    std::size_t size = m_slots.size();
    // Kept at most half full, as add keeps it.
    while (size < 2 * count) size *= 2;
    if (size > m_slots.size()) rehash(size);
}

bool SeenPoints::contains(const AcGePoint3d& p) const
{
    // A point with an infinite or undefined coordinate is at no finite distance
    // from any other, so it equals none.
    if (!finite(p)) return false;
    AcGeTol tol;
    tol.setEqualPoint(m_tolerance);
    // An equal point is at most the tolerance away in x and in y; twice that
    // covers rounding.
    const double reach = 2.0 * m_tolerance;
    const GridCell low = cellOf(p.x - reach, p.y - reach);
    const GridCell high = cellOf(p.x + reach, p.y + reach);
    for (std::int64_t cx = low.x; cx <= high.x; ++cx)
        for (std::int64_t cy = low.y; cy <= high.y; ++cy) {
            const Slot& slot = m_slots[slotOf({cx, cy})];
            for (std::uint32_t e = slot.first; e != kNone; e = m_entries[e].next)
                if (p.isEqualTo(m_entries[e].point, tol)) return true;
        }
    return false;
}

void SeenPoints::add(const AcGePoint3d& p)
{
    if (!finite(p)) return;
    const GridCell cell = cellOf(p.x, p.y);
    std::size_t i = slotOf(cell);
    // Only an identical point is left out: equality within a tolerance is not
    // transitive, so a point merely near one already there still widens what
    // counts as seen.
    for (std::uint32_t e = m_slots[i].first; e != kNone; e = m_entries[e].next) {
        const AcGePoint3d& q = m_entries[e].point;
        if (q.x == p.x && q.y == p.y && q.z == p.z) return;
    }
    if (m_slots[i].first == kNone) {
        // Kept at most half full, so that probes stay short.
        if (2 * (m_used + 1) > m_slots.size()) {
            rehash(m_slots.size() * 2);
            i = slotOf(cell);
        }
        m_slots[i].tag = tagOf(GridCellHash{}(cell));
        ++m_used;
    }
    m_entries.push_back({p, m_slots[i].first});
    m_slots[i].first = static_cast<std::uint32_t>(m_entries.size() - 1);
}

}  // namespace fendo::survey
