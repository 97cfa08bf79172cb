// Joining loose pieces of linework into chains: pieces are reduced to an identifier and two
// end points, ends closer than the joining tolerance (in x and y) are one node, and pieces
// are grown through shared nodes into chains handed to a callback.
#pragma once
#include <array>
#include <cstddef>
#include <map>
#include <memory_resource>
#include <set>
#include <utility>
#include <vector>
#include "host/core/AcadTypes.h"
#include "host/ge/AcGePoint3d.h"

// The joining tolerance shared by every joining object of the module (0.01 until set).
double jointTolerance();

// One link: a piece between two distinct nodes.
class SegmentComp {
public:
    // The outcome of the last offer to a chain: which end took the link and which of the
    // link's nodes became that end.
    enum class State { None = 0, FrontGotSecond = 2, FrontGotFirst = 3, BackGotSecond = 4, BackGotFirst = 5 };

    SegmentComp(Adesk::Int32 id, int firstNode, int secondNode, const AcGePoint3d& firstPoint,
                const AcGePoint3d& secondPoint, double tolerance);

    Adesk::Int32 id() const { return m_id; }
    int lowNode() const { return m_low; }
    int highNode() const { return m_high; }
    // Set when the piece's own first end is the higher node index.
    bool reversed() const { return m_reversed; }
    // The nodes in the piece's own direction.
    int firstNode() const { return m_reversed ? m_high : m_low; }
    int secondNode() const { return m_reversed ? m_low : m_high; }
    // The end points left to right (by x, then by y when the x values are within the
    // tolerance); swapped tells that the piece runs right to left.
    const AcGePoint3d& leftPoint() const { return m_left; }
    const AcGePoint3d& rightPoint() const { return m_right; }
    bool swapped() const { return m_swapped; }
    State state() const { return m_state; }
    void setState(State s) { m_state = s; }

private:
    Adesk::Int32 m_id;
    int m_low;
    int m_high;
    bool m_reversed;
    AcGePoint3d m_left;
    AcGePoint3d m_right;
    bool m_swapped;
    State m_state = State::None;
};

// Registry of the nodes and links of one joining run.
class SegmentData {
public:
    // Node order with the joining tolerance: x decides when the x values differ by more
    // than the tolerance, otherwise y does; points within the tolerance in both are one node.
    struct NodeLess {
        bool operator()(const AcGePoint3d& p, const AcGePoint3d& q) const;
    };

    enum class AddResult { Added = 1, Rejected = 2, Duplicate = 3 };

    AddResult addSegment(Adesk::Int32 id, const AcGePoint3d& first, const AcGePoint3d& second);
    // Room for this many links.
    void reserve(size_t links) { m_links.reserve(links); }
    int nodeCount() const { return static_cast<int>(m_nodes.size()); }
    // All links, in registration order until sortLinks.
    std::vector<SegmentComp>& links() { return m_links; }
    const std::vector<SegmentComp>& links() const { return m_links; }
    // Puts the links in the order in which they are offered to chains.
    void sortLinks();

private:
    int nodeOf(const AcGePoint3d& p);

    // The trees' nodes live as long as the registry and are never removed one by one: they
    // come from one growing buffer instead of an allocation each.
    std::pmr::monotonic_buffer_resource m_treeNodes;
    std::pmr::map<AcGePoint3d, int, NodeLess> m_nodes{&m_treeNodes};
    std::pmr::set<std::pair<int, int>> m_linkSet{&m_treeNodes};
    std::vector<SegmentComp> m_links;
};

// A sequence grown at both ends from a middle given at the start: the middle is kept inline,
// what is pushed at the front in one vector (reversed) and at the back in another, so that a
// chain that never grows costs no allocation.
template <typename T, size_t N>
class GrowingBothWays {
public:
    explicit GrowingBothWays(const std::array<T, N>& middle) : m_middle(middle) {}

    size_t size() const { return m_front.size() + N + m_back.size(); }
    const T& operator[](size_t i) const
    {
        if (i < m_front.size()) return m_front[m_front.size() - 1 - i];
        i -= m_front.size();
        return i < N ? m_middle[i] : m_back[i - N];
    }
    const T& front() const { return m_front.empty() ? m_middle.front() : m_front.back(); }
    const T& back() const { return m_back.empty() ? m_middle.back() : m_back.back(); }
    void pushFront(const T& v) { m_front.push_back(v); }
    void pushBack(const T& v) { m_back.push_back(v); }

private:
    std::vector<T> m_front;
    std::array<T, N> m_middle;
    std::vector<T> m_back;
};

// One chain: links in order and the nodes between and around them (one node more than links).
class LineSegment {
public:
    explicit LineSegment(const SegmentComp* first);

    int front() const { return m_nodes.front(); }
    int back() const { return m_nodes.back(); }
    const GrowingBothWays<const SegmentComp*, 1>& links() const { return m_links; }
    const GrowingBothWays<int, 2>& nodes() const { return m_nodes; }

    void pushFront(const SegmentComp* link, int newFront);
    void pushBack(const SegmentComp* link, int newBack);
    // Takes the link if it continues one of the chain's ends (front before back, the link's
    // second node before its first); records the outcome in the link's state.
    bool accept(SegmentComp* link);
    // The identifiers in chain order, with flag 0 for a link running along the chain and 1
    // for one running against it.
    void listIds(std::vector<Adesk::Int32>& ids, std::vector<int>& flags) const;

private:
    GrowingBothWays<const SegmentComp*, 1> m_links;
    GrowingBothWays<int, 2> m_nodes;
};

// The joining engine. Fill it with addSegment, call run once.
class JointSegment {
public:
    JointSegment() = default;
    virtual ~JointSegment() = default;
    JointSegment(const JointSegment&) = delete;
    JointSegment& operator=(const JointSegment&) = delete;

    // The chain callback, once per chain: identifiers in chain order, direction flags and
    // the count. Does nothing here.
    virtual int onChain(const std::vector<Adesk::Int32>& ids, const std::vector<int>& flags, int count);

    // Sets the module-wide joining tolerance.
    static void setTolerance(double t);
    // 1 added, 2 rejected (too short or both ends one node), 3 duplicate of an existing link.
    int addSegment(Adesk::Int32 id, const AcGePoint3d& first, const AcGePoint3d& second);
    // Builds the chains, calls onChain for each, and returns their number.
    int run();

    SegmentData& data() { return m_data; }
    const SegmentData& data() const { return m_data; }

private:
    SegmentData m_data;
};
