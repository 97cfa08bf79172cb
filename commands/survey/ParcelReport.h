// Pairing boundary polygons with the label inside each ("XBX") and the report's records.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "host/ge/AcGePoint2d.h"

namespace fendo::survey {

inline constexpr std::size_t kNoLabel = static_cast<std::size_t>(-1);

// Even-odd test of a point against a ring whose last point repeats its first.
bool insideRing(const std::vector<AcGePoint2d>& ring, const AcGePoint2d& point);

// For each ring in order, the first label (by place in `centres`) not taken by an earlier ring whose centre is inside
// it, or kNoLabel.
std::vector<std::size_t> matchLabels(const std::vector<std::vector<AcGePoint2d>>& rings,
                                     const std::vector<AcGePoint2d>& centres);

// One report line: the label's centre, its text (single-byte) and the first four ring points, ended by a line feed.
std::string parcelRecord(const AcGePoint2d& centre, const std::string& text, const std::vector<AcGePoint2d>& ring);

}  // namespace fendo::survey
