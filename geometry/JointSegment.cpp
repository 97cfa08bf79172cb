// The joining engine: node registry with the tolerance order, chain growth and merging.
#include "geometry/JointSegment.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <optional>

namespace {

constexpr double kDefaultJointTolerance = 0.01;
double g_jointTolerance = kDefaultJointTolerance;

}  // namespace

double jointTolerance() { return g_jointTolerance; }

void JointSegment::setTolerance(double t) { g_jointTolerance = t; }

// ---- SegmentComp ----------------------------------------------------------------------

SegmentComp::SegmentComp(Adesk::Int32 id, int firstNode, int secondNode, const AcGePoint3d& firstPoint,
                         const AcGePoint3d& secondPoint, double tolerance)
    : m_id(id),
      m_low(std::min(firstNode, secondNode)),
      m_high(std::max(firstNode, secondNode)),
      m_reversed(firstNode > secondNode)
{
    const double dx = firstPoint.x - secondPoint.x;
    m_swapped = std::fabs(dx) > tolerance ? dx > 0.0 : firstPoint.y > secondPoint.y;
    m_left = m_swapped ? secondPoint : firstPoint;
    m_right = m_swapped ? firstPoint : secondPoint;
}

// ---- SegmentData ----------------------------------------------------------------------

bool SegmentData::NodeLess::operator()(const AcGePoint3d& p, const AcGePoint3d& q) const
{
    const double t = g_jointTolerance;
    const double dx = p.x - q.x;
    if (std::fabs(dx) > t) return dx > 0.0;
    return p.y - q.y > t;
}

int SegmentData::nodeOf(const AcGePoint3d& p)
{
    auto it = m_nodes.find(p);
    if (it != m_nodes.end()) return it->second;
    const int index = static_cast<int>(m_nodes.size());
    m_nodes.emplace(p, index);
    return index;
}

SegmentData::AddResult SegmentData::addSegment(Adesk::Int32 id, const AcGePoint3d& first,
                                               const AcGePoint3d& second)
{
    const double t = g_jointTolerance;
    if (first.distanceTo(second) < t) return AddResult::Rejected;
    const int a = nodeOf(first);
    const int b = nodeOf(second);
    if (a == b) return AddResult::Rejected;
    if (!m_linkSet.emplace(std::min(a, b), std::max(a, b)).second) return AddResult::Duplicate;
    m_links.emplace_back(id, a, b, first, second, t);
    return AddResult::Added;
}

void SegmentData::sortLinks()
{
    // Left to right by the left end point; ties keep registration order.
    std::stable_sort(m_links.begin(), m_links.end(), [](const SegmentComp& l, const SegmentComp& r) {
        if (l.leftPoint().x != r.leftPoint().x) return l.leftPoint().x < r.leftPoint().x;
        return l.leftPoint().y < r.leftPoint().y;
    });
}

// ---- LineSegment ----------------------------------------------------------------------

LineSegment::LineSegment(const SegmentComp* first)
    : m_links({first}), m_nodes({first->firstNode(), first->secondNode()})
{
}

void LineSegment::pushFront(const SegmentComp* link, int newFront)
{
    m_links.pushFront(link);
    m_nodes.pushFront(newFront);
}

void LineSegment::pushBack(const SegmentComp* link, int newBack)
{
    m_links.pushBack(link);
    m_nodes.pushBack(newBack);
}

bool LineSegment::accept(SegmentComp* link)
{
    using State = SegmentComp::State;
    const int first = link->firstNode();
    const int second = link->secondNode();
    if (front() == second) {
        pushFront(link, first);
        link->setState(State::FrontGotFirst);
    } else if (front() == first) {
        pushFront(link, second);
        link->setState(State::FrontGotSecond);
    } else if (back() == second) {
        pushBack(link, first);
        link->setState(State::BackGotFirst);
    } else if (back() == first) {
        pushBack(link, second);
        link->setState(State::BackGotSecond);
    } else {
        link->setState(State::None);
        return false;
    }
    return true;
}

void LineSegment::listIds(std::vector<Adesk::Int32>& ids, std::vector<int>& flags) const
{
    ids.clear();
    flags.clear();
    ids.reserve(m_links.size());
    flags.reserve(m_links.size());
    for (size_t i = 0; i < m_links.size(); ++i) {
        const SegmentComp* link = m_links[i];
        const bool along = link->firstNode() == m_nodes[i] && link->secondNode() == m_nodes[i + 1];
        ids.push_back(link->id());
        flags.push_back(along ? 0 : 1);
    }
}

// ---- JointSegment ---------------------------------------------------------------------

int JointSegment::onChain(const std::vector<Adesk::Int32>&, const std::vector<int>&, int) { return 0; }

int JointSegment::addSegment(Adesk::Int32 id, const AcGePoint3d& first, const AcGePoint3d& second)
{
    return static_cast<int>(m_data.addSegment(id, first, second));
}

namespace {

// Chains indexed by their end nodes. Offering a link to the chains in creation order and
// keeping it in the first that accepts is the same as giving it to the lowest-numbered
// chain that has one of the link's nodes as an end; an ordered set per node finds that
// chain in logarithmic time instead of a scan over all chains.
class ChainEnds {
public:
    explicit ChainEnds(int nodeCount) : m_atNode(nodeCount) {}

    void add(int chain, const LineSegment& c)
    {
        m_atNode[c.front()].insert(chain);
        m_atNode[c.back()].insert(chain);
    }
    void remove(int chain, const LineSegment& c)
    {
        m_atNode[c.front()].erase(chain);
        m_atNode[c.back()].erase(chain);
    }
    // The lowest chain with a or b as an end, or -1.
    int first(int a, int b) const
    {
        int best = INT_MAX;
        if (!m_atNode[a].empty()) best = *m_atNode[a].begin();
        if (!m_atNode[b].empty()) best = std::min(best, *m_atNode[b].begin());
        return best == INT_MAX ? -1 : best;
    }

private:
    std::vector<std::set<int>> m_atNode;
};

}  // namespace

int JointSegment::run()
{
    m_data.sortLinks();
    std::vector<SegmentComp>& links = m_data.links();
    if (links.empty()) return 0;

    // Growth: each link joins the first chain (in creation order) that accepts it, or starts
    // a new chain at the end of the list.
    std::vector<std::optional<LineSegment>> chains;
    ChainEnds ends(m_data.nodeCount());
    for (SegmentComp& link : links) {
        const int c = ends.first(link.firstNode(), link.secondNode());
        if (c < 0) {
            link.setState(SegmentComp::State::None);
            chains.emplace_back(std::in_place, &link);
            ends.add(static_cast<int>(chains.size()) - 1, *chains.back());
            continue;
        }
        ends.remove(c, *chains[c]);
        chains[c]->accept(&link);
        ends.add(c, *chains[c]);
    }

    // Merging: the last chain left takes in every remaining chain that touches one of its
    // ends, the earliest first, until none touches; then the next last chain.
    std::vector<int> result;
    int last = static_cast<int>(chains.size()) - 1;
    for (;;) {
        while (last >= 0 && !chains[last]) --last;
        if (last < 0) break;
        const int k = last;
        LineSegment& K = *chains[k];
        ends.remove(k, K);
        result.push_back(k);
        for (;;) {
            const int m = ends.first(K.front(), K.back());
            if (m < 0) break;
            const LineSegment& M = *chains[m];
            ends.remove(m, M);
            const auto& ml = M.links();
            const auto& mn = M.nodes();
            const int n = static_cast<int>(ml.size());
            if (K.front() == M.front()) {
                for (int i = 0; i < n; ++i) K.pushFront(ml[i], mn[i + 1]);
            } else if (K.front() == M.back()) {
                for (int i = n - 1; i >= 0; --i) K.pushFront(ml[i], mn[i]);
            } else if (K.back() == M.front()) {
                for (int i = 0; i < n; ++i) K.pushBack(ml[i], mn[i + 1]);
            } else {
                for (int i = n - 1; i >= 0; --i) K.pushBack(ml[i], mn[i]);
            }
            chains[m].reset();
        }
        // K stays in the vector for the callbacks; the search for the next K starts below it.
        last = k - 1;
    }

    std::vector<Adesk::Int32> ids;
    std::vector<int> flags;
    for (int k : result) {
        chains[k]->listIds(ids, flags);
        onChain(ids, flags, static_cast<int>(ids.size()));
        chains[k].reset();
    }
    return static_cast<int>(result.size());
}
