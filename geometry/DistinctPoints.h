// A set of points that tells whether a point equals (within a distance) one already added,
// in constant expected time, so that dropping repeated positions stays linear.
#pragma once
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
        : m_tol(tolerance), m_cell(std::fmax(std::fmax(tolerance, kMinCell), extent * kCellPerExtent))
    {
    }

    // Adds p unless an equal point is already in; returns true when added.
    bool insert(const AcGePoint3d& p)
    {
        const Key key = keyOf(p);
        for (std::int64_t dx = -1; dx <= 1; ++dx)
            for (std::int64_t dy = -1; dy <= 1; ++dy)
                for (std::int64_t dz = -1; dz <= 1; ++dz) {
                    auto it = m_cells.find(Key{key.x + dx, key.y + dy, key.z + dz});
                    if (it == m_cells.end()) continue;
                    for (const AcGePoint3d& q : it->second)
                        if (p.distanceTo(q) <= m_tol) return false;
                }
        m_cells[key].push_back(p);
        return true;
    }

private:
    // Cells much smaller than survey coordinates' precision would only cost memory.
    static constexpr double kMinCell = 1e-6;
    // Cell numbers stay below 1e15 for coordinates up to the extent.
    static constexpr double kCellPerExtent = 1e-15;

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
    Key keyOf(const AcGePoint3d& p) const
    {
        return Key{static_cast<std::int64_t>(std::floor(p.x / m_cell)),
                   static_cast<std::int64_t>(std::floor(p.y / m_cell)),
                   static_cast<std::int64_t>(std::floor(p.z / m_cell))};
    }

    double m_tol;
    double m_cell;
    std::unordered_map<Key, std::vector<AcGePoint3d>, KeyHash> m_cells;
};

// The largest coordinate magnitude of the points, for DistinctPoints.
template <typename Range>
double coordinateExtent(const Range& points)
{
    double e = 0.0;
    for (const AcGePoint3d& p : points)
        e = std::fmax(e, std::fmax(std::fabs(p.x), std::fmax(std::fabs(p.y), std::fabs(p.z))));
    return e;
}

}  // namespace fendo::geometry
