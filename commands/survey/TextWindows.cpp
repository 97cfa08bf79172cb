// Windows and the anchor index of the joining commands.
#include "commands/survey/TextWindows.h"

#include <algorithm>
#include <cmath>

namespace fendo::survey {

namespace {
bool finite(const Window& w)
{
    return std::isfinite(w.left) && std::isfinite(w.right) && std::isfinite(w.bottom) && std::isfinite(w.top);
}
}  // namespace

Window windowAround(double x, double y, const WindowSize& size)
{
    return {x - size.left, x + size.right, y - size.halfHeight, y + size.halfHeight};
}

AnchorIndex::AnchorIndex(const std::vector<AcGePoint2d>& anchors, const WindowSize& largestWindow)
    : m_anchors(anchors),
      m_present(anchors.size(), true),
      m_cellWidth(largestWindow.left + largestWindow.right),
      m_cellHeight(2.0 * largestWindow.halfHeight)
{
    for (std::size_t i = 0; i < m_anchors.size(); ++i) {
        const AcGePoint2d& a = m_anchors[i];
        // An anchor with a coordinate that is not finite stays listed but is never
        // strictly inside a window, so it needs no cell.
        if (!std::isfinite(a.x) || !std::isfinite(a.y)) continue;
        m_cells[cellOf(a.x, a.y)].push_back(static_cast<int>(i));
    }
}

GridCell AnchorIndex::cellOf(double x, double y) const { return gridCellOf(x, y, m_cellWidth, m_cellHeight); }

int AnchorIndex::firstInside(const Window& window, int after) const
{
    if (!finite(window)) return -1;
    const GridCell low = cellOf(window.left, window.bottom);
    const GridCell high = cellOf(window.right, window.top);
    int best = -1;
    const auto searchCell = [&](const std::vector<int>& numbers) {
        for (auto it = std::upper_bound(numbers.begin(), numbers.end(), after); it != numbers.end(); ++it) {
            if (best >= 0 && *it >= best) return;
            const AcGePoint2d& a = m_anchors[static_cast<std::size_t>(*it)];
            if (isInside(window, a.x, a.y)) {
                best = *it;
                return;
            }
        }
    };
    // Windows never span more than two cells each way, unless clamping merged
    // far-off cells.
    const double spanned = (static_cast<double>(high.x) - static_cast<double>(low.x) + 1.0) *
                           (static_cast<double>(high.y) - static_cast<double>(low.y) + 1.0);
    if (spanned > static_cast<double>(m_cells.size())) {
        for (const auto& [cell, numbers] : m_cells) searchCell(numbers);
        return best;
    }
    for (std::int64_t cx = low.x; cx <= high.x; ++cx)
        for (std::int64_t cy = low.y; cy <= high.y; ++cy) {
            const auto found = m_cells.find({cx, cy});
            if (found != m_cells.end()) searchCell(found->second);
        }
    return best;
}

void AnchorIndex::remove(int number)
{
    const auto i = static_cast<std::size_t>(number);
    if (!m_present[i]) return;
    m_present[i] = false;
    const auto found = m_cells.find(cellOf(m_anchors[i].x, m_anchors[i].y));
    if (found == m_cells.end()) return;
    std::vector<int>& numbers = found->second;
    const auto at = std::lower_bound(numbers.begin(), numbers.end(), number);
    if (at != numbers.end() && *at == number) numbers.erase(at);
}

}  // namespace fendo::survey
