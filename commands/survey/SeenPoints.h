// A set of points under the host's point equality (within the global
// equal-point tolerance), for finding repeated positions among many objects: a
// point is "seen" when one added before lies within the tolerance. Points sit
// in a uniform grid of cells at least as large as twice the tolerance, so a
// query looks at the few cells around the point. The cells live in one flat
// table and their points in one array, so that a hundred thousand points cost
// a few allocations rather than two each.
#pragma once
#include <cstdint>
#include <vector>

#include "commands/survey/GridCell.h"
#include "host/ge/AcGePoint3d.h"

namespace fendo::survey {

class SeenPoints {
public:
    // The tolerance is the host's global equal-point tolerance at this moment.
    SeenPoints();

    // True when a point added before is equal to p (AcGePoint3d::isEqualTo with
    // the tolerance).
    bool contains(const AcGePoint3d& p) const;
    // Adds p. A point with a coordinate that is not finite equals no point and is
    // not kept.
    void add(const AcGePoint3d& p);
    // Makes room for count points at once, instead of growing by doubling.
    void reserve(std::size_t count);

private:
    static constexpr std::uint32_t kNone = 0xFFFFFFFFu;
    // A table slot names its cell through its points (whose cell it is) and keeps a few bits
    // of the cell's hash to pass over other cells without reading their points: 8 bytes a
    // slot, so that the table of a big selection stays small in memory and in the caches.
    struct Slot {
        std::uint32_t first = kNone;  // the cell's latest point; kNone for a free slot
        std::uint32_t tag = 0;        // the high half of the cell's hash
    };
    struct Entry {
        AcGePoint3d point;
        std::uint32_t next;  // the cell's point added before this one
    };

    // The bits of a cell's hash its slot keeps (the high half; the low bits place the slot).
    static std::uint32_t tagOf(std::uint64_t hash) { return static_cast<std::uint32_t>(hash >> 32); }
    GridCell cellOf(double x, double y) const;
    // The cell of a slot in use, from its latest point.
    GridCell slotCell(const Slot& slot) const;
    // The slot of the cell, or the free slot where it would go.
    std::size_t slotOf(const GridCell& cell) const;
    // Moves every cell into a table of the given size (a power of two).
    void rehash(std::size_t size);

    double m_tolerance;
    double m_cellSize;
    std::vector<Slot> m_slots;  // open addressing, a power of two long
    std::size_t m_used = 0;
    std::vector<Entry> m_entries;
};

}  // namespace fendo::survey
