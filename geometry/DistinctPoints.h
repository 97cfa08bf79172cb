// A set of points that tells whether a point equals (within a distance) one already added,
// in constant expected time, so that dropping repeated positions stays linear.
#pragma once
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <unordered_map>
#include <vector>
#include "host/ge/AcGePoint3d.h"

namespace fendo::geometry {

class DistinctPoints {
public:
    // Points within `tolerance` of each other are equal. `extent` bounds the coordinates'
    // magnitude, so that grid cell numbers stay within 64 bits.
    DistinctPoints(double tolerance, double extent)
        : m_tol(tolerance),
          m_cell(std::fmax(std::fmax(kCellPerTolerance * tolerance, kMinCell), extent * kCellPerExtent))
    {
        m_nodes.reserve(kScanLimit);
    }

    // Adds p unless an equal point is already in; returns true when added.
    bool insert(const AcGePoint3d& p)
    {
        // A few points are compared one by one: most sets are a polyline's handful of
        // vertices, for which the cells would only cost allocations.
        if (m_nodes.size() < kScanLimit) {
            for (const Node& n : m_nodes)
                if (p.distanceTo(n.point) <= m_tol) return false;
            m_nodes.push_back({p, kNone});
            if (m_nodes.size() == kScanLimit)
                for (std::uint32_t i = 0; i < kScanLimit; ++i) chain(i);
            return true;
        }
        // Only the cells within reach of p along each axis can hold an equal point (a cell
        // is wider than the reach, so at most two per axis, mostly one); the reach is a
        // little wider than the tolerance so that rounding never hides one.
        const double c[3] = {p.x, p.y, p.z};
        std::int64_t lo[3], hi[3];
        for (int a = 0; a < 3; ++a) {
            const std::int64_t k = cellOf(c[a]);
            const double reach = m_tol * (1.0 + 1e-9) + std::fabs(c[a]) * 1e-15;
            lo[a] = std::max(k - 1, cellOf(c[a] - reach));
            hi[a] = std::min(k + 1, cellOf(c[a] + reach));
        }
        for (std::int64_t x = lo[0]; x <= hi[0]; ++x)
            for (std::int64_t y = lo[1]; y <= hi[1]; ++y)
                for (std::int64_t z = lo[2]; z <= hi[2]; ++z) {
                    auto it = m_cells.find(Key{x, y, z});
                    if (it == m_cells.end()) continue;
                    for (std::uint32_t n = it->second; n != kNone; n = m_nodes[n].next)
                        if (p.distanceTo(m_nodes[n].point) <= m_tol) return false;
                }
        m_nodes.push_back({p, kNone});
        chain(static_cast<std::uint32_t>(m_nodes.size() - 1));
        return true;
    }

private:
    // Cells much smaller than survey coordinates' precision would only cost memory.
    static constexpr double kMinCell = 1e-6;
    // Cell numbers stay below 1e15 for coordinates up to the extent.
    static constexpr double kCellPerExtent = 1e-15;
    // Cells wider than the tolerance keep most searches to one cell.
    static constexpr double kCellPerTolerance = 4.0;
    static constexpr std::uint32_t kNone = 0xFFFFFFFFu;

    struct Key {
        std::int64_t x, y, z;
        bool operator==(const Key&) const = default;
    };
    struct KeyHash {
        size_t operator()(const Key& k) const
        {
            std::uint64_t h = static_cast<std::uint64_t>(k.x) * 0x9E3779B97F4A7C15ull;
            h ^= static_cast<std::uint64_t>(k.y) + 0x9E3779B97F4A7C15ull + (h << 6) + (h >> 2);
            h ^= static_cast<std::uint64_t>(k.z) + 0x9E3779B97F4A7C15ull + (h << 6) + (h >> 2);
            return static_cast<size_t>(h);
        }
    };
    struct Node {
        AcGePoint3d point;
        std::uint32_t next;
    };
    // Sets of up to this many points are searched by comparing every point.
    static constexpr std::uint32_t kScanLimit = 16;

    std::int64_t cellOf(double v) const { return static_cast<std::int64_t>(std::floor(v / m_cell)); }
    // Puts node i at the head of its cell's chain: the cell's points are chained through one
    // array, with no allocation per cell.
    void chain(std::uint32_t i)
    {
        const AcGePoint3d& p = m_nodes[i].point;
        const auto [it, made] = m_cells.try_emplace(Key{cellOf(p.x), cellOf(p.y), cellOf(p.z)}, kNone);
        m_nodes[i].next = it->second;
        it->second = i;
    }

    double m_tol;
    double m_cell;
    std::unordered_map<Key, std::uint32_t, KeyHash> m_cells;
    std::vector<Node> m_nodes;
};

// The largest coordinate magnitude of a point, and of the points, for DistinctPoints.
inline double coordinateExtent(const AcGePoint3d& p)
{
    return std::fmax(std::fabs(p.x), std::fmax(std::fabs(p.y), std::fabs(p.z)));
}
template <typename Range>
double coordinateExtent(const Range& points)
{
    double e = 0.0;
    for (const AcGePoint3d& p : points) e = std::fmax(e, coordinateExtent(p));
    return e;
}

}  // namespace fendo::geometry
