// Cells of the uniform grids that index text anchors and seen positions.
#pragma once
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>

namespace fendo::survey {

struct GridCell {
    std::int64_t x, y;
    bool operator==(const GridCell&) const = default;
};

struct GridCellHash {
    std::size_t operator()(const GridCell& c) const
    {
        const auto ux = static_cast<std::uint64_t>(c.x), uy = static_cast<std::uint64_t>(c.y);
        return static_cast<std::size_t>(ux * 0x9E3779B97F4A7C15ULL ^
                                        (uy + 0x632BE59BD9B4E019ULL + (ux << 6) + (ux >> 2)));
    }
};

// The cell number of a finite coordinate. Numbers are clamped far inside the
// 64-bit range; clamping keeps the order of coordinates, so a search over a
// range of cells misses nothing.
inline std::int64_t gridCellNumber(double coordinate, double cellSize)
{
    constexpr double kLimit = 4.0e18;
    return static_cast<std::int64_t>(std::clamp(std::floor(coordinate / cellSize), -kLimit, kLimit));
}

inline GridCell gridCellOf(double x, double y, double cellWidth, double cellHeight)
{
    return {gridCellNumber(x, cellWidth), gridCellNumber(y, cellHeight)};
}

}  // namespace fendo::survey
