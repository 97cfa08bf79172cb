// The joining engine on abstract segments: node identity within the tolerance, rejected and
// duplicate pieces, and chains checked against a plain transcription of the chain growth
// and merging scan.
#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <random>
#include <vector>

#include "geometry/JointSegment.h"

namespace {

struct Chain {
    std::vector<Adesk::Int32> ids;
    std::vector<int> flags;
    bool operator==(const Chain&) const = default;
};

class RecordingJoint : public JointSegment {
public:
    int onChain(const std::vector<Adesk::Int32>& ids, const std::vector<int>& flags, int count) override
    {
        EXPECT_EQ(count, static_cast<int>(ids.size()));
        chains.push_back({ids, flags});
        return 0;
    }
    std::vector<Chain> chains;
};

// Sets the module-wide tolerance for one test and puts the default back.
class JointTolerance {
public:
    explicit JointTolerance(double t) { JointSegment::setTolerance(t); }
    ~JointTolerance() { JointSegment::setTolerance(0.01); }
};

// The chain growth and merging exactly as described: every link offered to the chains in
// creation order, every merge found by looking through the chain list from its start.
std::vector<Chain> chainsByScan(const std::vector<SegmentComp>& links)
{
    struct Naive {
        std::deque<const SegmentComp*> links;
        std::deque<int> nodes;
    };
    std::vector<Naive> list;
    for (const SegmentComp& l : links) {
        const int a = l.firstNode(), b = l.secondNode();
        bool taken = false;
        for (Naive& c : list) {
            if (c.nodes.front() == b) {
                c.links.push_front(&l), c.nodes.push_front(a);
            } else if (c.nodes.front() == a) {
                c.links.push_front(&l), c.nodes.push_front(b);
            } else if (c.nodes.back() == b) {
                c.links.push_back(&l), c.nodes.push_back(a);
            } else if (c.nodes.back() == a) {
                c.links.push_back(&l), c.nodes.push_back(b);
            } else {
                continue;
            }
            taken = true;
            break;
        }
        if (!taken) list.push_back({{&l}, {a, b}});
    }
    std::vector<Naive> result;
    while (!list.empty()) {
        Naive k = list.back();
        list.pop_back();
        for (bool merged = true; merged;) {
            merged = false;
            for (size_t i = 0; i < list.size(); ++i) {
                const Naive m = list[i];
                const size_t n = m.links.size();
                if (k.nodes.front() == m.nodes.front()) {
                    for (size_t j = 0; j < n; ++j)
                        k.links.push_front(m.links[j]), k.nodes.push_front(m.nodes[j + 1]);
                } else if (k.nodes.front() == m.nodes.back()) {
                    for (size_t j = n; j-- > 0;)
                        k.links.push_front(m.links[j]), k.nodes.push_front(m.nodes[j]);
                } else if (k.nodes.back() == m.nodes.front()) {
                    for (size_t j = 0; j < n; ++j)
                        k.links.push_back(m.links[j]), k.nodes.push_back(m.nodes[j + 1]);
                } else if (k.nodes.back() == m.nodes.back()) {
                    for (size_t j = n; j-- > 0;) k.links.push_back(m.links[j]), k.nodes.push_back(m.nodes[j]);
                } else {
                    continue;
                }
                list.erase(list.begin() + static_cast<long>(i));
                merged = true;
                break;
            }
        }
        result.push_back(k);
    }
    std::vector<Chain> chains;
    for (const Naive& c : result) {
        Chain out;
        for (size_t i = 0; i < c.links.size(); ++i) {
            out.ids.push_back(c.links[i]->id());
            const bool along =
                c.links[i]->firstNode() == c.nodes[i] && c.links[i]->secondNode() == c.nodes[i + 1];
            out.flags.push_back(along ? 0 : 1);
        }
        chains.push_back(out);
    }
    return chains;
}

}  // namespace

TEST(JointSegment, EndsWithinTolInPlanShareANodeWhateverTheirHeights)
{
    JointTolerance t(0.05);
    RecordingJoint joint;
    EXPECT_EQ(joint.addSegment(1, {0, 0, 0}, {10, 0, 0}), 1);
    EXPECT_EQ(joint.addSegment(2, {10.04, 0.03, 3}, {20, 5, 3}), 1);
    EXPECT_EQ(joint.data().nodeCount(), 3);
    EXPECT_EQ(joint.run(), 1);
    ASSERT_EQ(joint.chains.size(), 1u);
    EXPECT_EQ(joint.chains[0].ids.size(), 2u);
}

TEST(JointSegment, RejectsShortPiecesPiecesOnOneNodeAndDuplicateLinks)
{
    JointTolerance t(0.05);
    RecordingJoint joint;
    EXPECT_EQ(joint.addSegment(1, {0, 0, 0}, {0.04, 0, 0}), 2);
    // 3 apart in space but one node in plan.
    EXPECT_EQ(joint.addSegment(2, {5, 5, 0}, {5.03, 5, 3}), 2);
    EXPECT_EQ(joint.addSegment(3, {0, 0, 0}, {10, 0, 0}), 1);
    EXPECT_EQ(joint.addSegment(4, {10, 0, 1}, {0, 0, 1}), 3);
    EXPECT_EQ(joint.run(), 1);
    EXPECT_EQ(joint.chains[0].ids, (std::vector<Adesk::Int32>{3}));
}

TEST(JointSegment, NoSegmentsNoChains)
{
    RecordingJoint joint;
    EXPECT_EQ(joint.run(), 0);
    EXPECT_TRUE(joint.chains.empty());
}

TEST(JointSegment, AScrambledPathBecomesOneChainWithConsistentDirections)
{
    JointTolerance t(0.01);
    // Path A-B-C-D-E given out of order, two pieces drawn backwards.
    const AcGePoint3d A{0, 0, 0}, B{1, 0, 0}, C{2, 1, 0}, D{3, 0, 0}, E{4, 2, 0};
    RecordingJoint joint;
    joint.addSegment(10, C, D);
    joint.addSegment(11, B, A);
    joint.addSegment(12, E, D);
    joint.addSegment(13, B, C);
    EXPECT_EQ(joint.run(), 1);
    const Chain& c = joint.chains[0];
    ASSERT_EQ(c.ids.size(), 4u);
    // Walking the chain, each piece starts where the previous one ended.
    const std::vector<std::pair<AcGePoint3d, AcGePoint3d>> ends{{C, D}, {B, A}, {E, D}, {B, C}};
    AcGePoint3d at;
    for (size_t i = 0; i < c.ids.size(); ++i) {
        auto [p, q] = ends[c.ids[i] - 10];
        if (c.flags[i] == 1) std::swap(p, q);
        if (i > 0) {
            EXPECT_TRUE(p.isEqualTo(at)) << "piece " << i;
        }
        at = q;
    }
}

TEST(JointSegment, ChainsMatchTheDescribedScanOnRandomNetworks)
{
    JointTolerance t(0.01);
    std::mt19937 rng(1234);
    for (int run = 0; run < 400; ++run) {
        // Few nodes and many pieces: branches, loops and chains that touch after growing.
        const int side = 2 + run % 4;
        std::uniform_int_distribution<int> coord(0, side);
        std::uniform_int_distribution<int> count(1, 25);
        RecordingJoint joint;
        const int n = count(rng);
        for (int i = 0; i < n; ++i) {
            const AcGePoint3d p(coord(rng), coord(rng), 0), q(coord(rng), coord(rng), 0);
            joint.addSegment(i, p, q);
        }
        const int chains = joint.run();
        const std::vector<Chain> expected = chainsByScan(joint.data().links());
        ASSERT_EQ(chains, static_cast<int>(expected.size())) << "run " << run;
        ASSERT_EQ(joint.chains, expected) << "run " << run;
        // Every link ends up in exactly one chain.
        std::vector<Adesk::Int32> all;
        for (const Chain& c : joint.chains) all.insert(all.end(), c.ids.begin(), c.ids.end());
        std::sort(all.begin(), all.end());
        EXPECT_EQ(all.size(), joint.data().links().size());
        EXPECT_TRUE(std::adjacent_find(all.begin(), all.end()) == all.end());
    }
}
