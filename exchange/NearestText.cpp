// A 3D tree over the text positions with counts of untaken texts per subtree.
#include "exchange/NearestText.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace fendo::exchange {

double textDistance(const AcGePoint3d& text, const AcGePoint3d& vertex)
{
    return text.distanceTo(AcGePoint3d(vertex.x, vertex.y, 0.0));
}

NearestTexts::NearestTexts(std::vector<AcGePoint3d> positions)
    : m_points(std::move(positions)),
      m_order(m_points.size()),
      m_nodes(m_points.size()),
      m_taken(m_points.size(), false)
{
    std::iota(m_order.begin(), m_order.end(), 0);
    build(0, static_cast<int>(m_order.size()));
    m_place.resize(m_order.size());
    for (size_t i = 0; i < m_order.size(); ++i) m_place[m_order[i]] = static_cast<int>(i);
}

void NearestTexts::build(int first, int last)
{
    if (first >= last) return;
    const int middle = first + (last - first) / 2;
    Node& node = m_nodes[middle];
    for (int k = 0; k < 3; ++k) {
        node.lo[k] = HUGE_VAL;
        node.hi[k] = -HUGE_VAL;
    }
    for (int i = first; i < last; ++i)
        for (int k = 0; k < 3; ++k) {
            node.lo[k] = std::min(node.lo[k], m_points[m_order[i]][k]);
            node.hi[k] = std::max(node.hi[k], m_points[m_order[i]][k]);
        }
    int axis = 0;
    for (int k = 1; k < 3; ++k)
        if (node.hi[k] - node.lo[k] > node.hi[axis] - node.lo[axis]) axis = k;
    node.axis = axis;
    node.alive = last - first;
    std::nth_element(m_order.begin() + first, m_order.begin() + middle, m_order.begin() + last,
                     [&](int a, int b) { return m_points[a][axis] < m_points[b][axis]; });
    build(first, middle);
    build(middle + 1, last);
}

void NearestTexts::search(int first, int last, const AcGePoint3d& q, int& best, double& bestDistance) const
{
    if (first >= last) return;
    const int middle = first + (last - first) / 2;
    const Node& node = m_nodes[middle];
    if (node.alive == 0) return;
    const double p[3] = {q.x, q.y, 0.0};
    double gap = 0.0;
    for (int k = 0; k < 3; ++k) {
        const double d = p[k] < node.lo[k] ? node.lo[k] - p[k] : (p[k] > node.hi[k] ? p[k] - node.hi[k] : 0.0);
        gap += d * d;
    }
    // The box's bound is only pruned on when it is clearly beyond the best, so a text at the
    // same distance (which may win on its earlier place) is always looked at.
    if (best >= 0 && std::sqrt(gap) * (1.0 - 1e-12) > bestDistance) return;
    const int text = m_order[middle];
    if (!m_taken[middle]) {
        const double d = textDistance(m_points[text], q);
        if (best < 0 || d < bestDistance || (d == bestDistance && text < best)) {
            best = text;
            bestDistance = d;
        }
    }
    const bool lowFirst = p[node.axis] <= m_points[text][node.axis];
    if (lowFirst) {
        search(first, middle, q, best, bestDistance);
        search(middle + 1, last, q, best, bestDistance);
    } else {
        search(middle + 1, last, q, best, bestDistance);
        search(first, middle, q, best, bestDistance);
    }
}

int NearestTexts::takeNearest(const AcGePoint3d& vertex)
{
    int best = -1;
    double bestDistance = 0.0;
    search(0, static_cast<int>(m_order.size()), vertex, best, bestDistance);
    if (best < 0) return -1;
    // Walk down to the text's place, counting it out of every range on the way.
    const int place = m_place[best];
    int first = 0;
    int last = static_cast<int>(m_order.size());
    while (first < last) {
        const int middle = first + (last - first) / 2;
        --m_nodes[middle].alive;
        if (middle == place) break;
        if (place < middle)
            last = middle;
        else
            first = middle + 1;
    }
    m_taken[place] = true;
    return best;
}

std::vector<int> nearestTextsByScan(const std::vector<AcGePoint3d>& texts, const std::vector<AcGePoint3d>& vertices)
{
    std::vector<bool> taken(texts.size(), false);
    std::vector<int> names;
    for (const AcGePoint3d& v : vertices) {
        int best = -1;
        double bestDistance = 0.0;
        for (size_t t = 0; t < texts.size(); ++t) {
            if (taken[t]) continue;
            const double d = textDistance(texts[t], v);
            if (best < 0 || d < bestDistance) {
                best = static_cast<int>(t);
                bestDistance = d;
            }
        }
        if (best >= 0) taken[best] = true;
        names.push_back(best);
    }
    return names;
}

}  // namespace fendo::exchange
