// The windows of the joining commands and their anchor index, checked against a
// plain scan of the text list; the seen-position set of "LDTT" against a plain
// list.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "commands/survey/SeenPoints.h"
#include "commands/survey/TextWindows.h"
#include "host/ge/AcGeTol.h"
#include "survey/SurveyTestSupport.h"

using namespace fendo::survey;
using fendo::test::edgeAt;

namespace {

// The list as the commands describe it: texts in selection order, a taken one
// removed at once.
class ScannedList {
public:
    explicit ScannedList(const std::vector<AcGePoint2d>& anchors) : m_anchors(anchors)
    {
        for (int i = 0; i < static_cast<int>(anchors.size()); ++i) m_numbers.push_back(i);
    }
    // The first text inside, scanning from list position `from`; its number and
    // position.
    std::pair<int, std::size_t> first(const Window& w, std::size_t from = 0) const
    {
        for (std::size_t k = from; k < m_numbers.size(); ++k) {
            const AcGePoint2d& a = m_anchors[static_cast<std::size_t>(m_numbers[k])];
            if (isInside(w, a.x, a.y)) return {m_numbers[k], k};
        }
        return {-1, m_numbers.size()};
    }
    void removeAt(std::size_t k) { m_numbers.erase(m_numbers.begin() + static_cast<std::ptrdiff_t>(k)); }

private:
    std::vector<AcGePoint2d> m_anchors;
    std::vector<int> m_numbers;
};

// Anchors on a coarse lattice (many ties and coincident anchors), with some
// exactly on the edges of the windows around the markers, and markers among
// them.
struct RandomLayout {
    std::vector<AcGePoint2d> anchors;
    std::vector<AcGePoint2d> markers;
};

RandomLayout randomLayout(unsigned seed, int count, const WindowSize& size)
{
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int> lattice(0, 60);
    std::uniform_int_distribution<int> pick(0, 9);
    const double step = size.halfHeight / 2;
    RandomLayout out;
    for (int i = 0; i < count; ++i) out.markers.emplace_back(lattice(rng) * step, lattice(rng) * step);
    for (int i = 0; i < 3 * count; ++i) {
        const AcGePoint2d m = out.markers[static_cast<std::size_t>(i % count)];
        switch (pick(rng)) {
        case 0:  // on the right edge
            out.anchors.emplace_back(m.x + size.right, m.y);
            break;
        case 1:  // on the bottom edge, and a hair inside the corner tolerance
            out.anchors.emplace_back(m.x, m.y - size.halfHeight + (i % 2 ? 0.0 : 0.00005));
            break;
        case 2:  // coincident with the previous anchor
            out.anchors.push_back(out.anchors.empty() ? m : out.anchors.back());
            break;
        default:
            out.anchors.emplace_back(lattice(rng) * step, lattice(rng) * step);
        }
    }
    return out;
}

}  // namespace

TEST(TextWindow, EdgesAndCornersAreOutside)
{
    const Window w = windowAround(10, 20, kMarkerSquare);
    EXPECT_TRUE(isInside(w, 10, 20));
    EXPECT_TRUE(isInside(w, 10.2999, 20.2998));
    // Exactly on the right edge, and on the left edge (10 - 0.3 is what the
    // window stores).
    EXPECT_FALSE(isInside(w, w.right, 20));
    EXPECT_FALSE(isInside(w, w.left, 20));
    // The horizontal line meets the edges within 0.0001 of a corner.
    EXPECT_FALSE(isInside(w, 10, w.top - 0.00005));
    EXPECT_FALSE(isInside(w, 10, w.bottom + 0.0001));
    EXPECT_FALSE(isInside(windowAround(0, 0, kMarkerBand), 9.0, 0));
    EXPECT_TRUE(isInside(windowAround(0, 0, kMarkerBand), -3.99, 0.09));
}

// Every query of a joining run (first inside, remove, first inside after it)
// gives the text the plain scan gives, for each window size, over several
// seeds.
TEST(AnchorIndex, FindsWhatTheScanFinds)
{
    for (const WindowSize& size : {kMarkerSquare, kCornerSquare, kMarkerBand}) {
        for (unsigned seed = 1; seed <= 6; ++seed) {
            const RandomLayout layout = randomLayout(seed, 300, size);
            ScannedList scan(layout.anchors);
            AnchorIndex index(layout.anchors, size);
            int found = 0;
            for (const AcGePoint2d& m : layout.markers) {
                const Window w = windowAround(m.x, m.y, size);
                const auto [first, at] = scan.first(w);
                ASSERT_EQ(index.firstInside(w), first) << "seed " << seed;
                if (first < 0) continue;
                ++found;
                scan.removeAt(at);
                index.remove(first);
                // The list closed up: the scan goes on from the same position.
                const auto [second, at2] = scan.first(w, at);
                ASSERT_EQ(index.firstInside(w, first), second) << "seed " << seed;
                if (second < 0) continue;
                scan.removeAt(at2);
                index.remove(second);
            }
            EXPECT_GT(found, 10);
        }
    }
}

TEST(AnchorIndex, FarCoordinatesAndUndefinedOnesAreHandled)
{
    const std::vector<AcGePoint2d> anchors = {{std::nan(""), 0}, {1e300, -1e300}};
    AnchorIndex index(anchors, kMarkerBand);
    EXPECT_EQ(index.firstInside(windowAround(1e300, -1e300, kMarkerBand)), -1);
    EXPECT_EQ(index.firstInside(windowAround(std::nan(""), 0, kMarkerBand)), -1);
    EXPECT_TRUE(index.contains(0));
    const std::vector<AcGePoint2d> near = {{-1e9, 3}, {-1e9 + 1, 3.05}};
    AnchorIndex far(near, kMarkerBand);
    EXPECT_EQ(far.firstInside(windowAround(-1e9 - 0.5, 3.02, kMarkerBand)), 0);
    EXPECT_EQ(far.firstInside(windowAround(-1e9 - 0.5, 3.02, kMarkerBand), 0), 1);
}

// Membership under the host's point equality as a list of every point added,
// including points within the tolerance of two others and a changed global
// tolerance; the odd seeds fill a set that took room for its points first.
TEST(SeenPoints, AgreeWithAPlainList)
{
    for (const double tolerance : {1e-10, 0.25}) {
        fendo::ge::ScopedEqualPointTolerance scoped(tolerance);
        for (unsigned seed = 1; seed <= 4; ++seed) {
            std::mt19937 rng(seed);
            std::uniform_int_distribution<int> lattice(0, 40);
            std::uniform_int_distribution<int> jitter(-3, 3);
            SeenPoints seen;
            if (seed % 2) seen.reserve(1500);
            std::vector<AcGePoint3d> list;
            for (int i = 0; i < 2000; ++i) {
                // Lattice points nudged by fractions of the tolerance: some equal, some
                // just not.
                const AcGePoint3d p(lattice(rng) * 0.5 + jitter(rng) * tolerance * 0.45,
                                    lattice(rng) * 0.5 + jitter(rng) * tolerance * 0.45, 0);
                bool inList = false;
                for (const AcGePoint3d& q : list) inList = inList || p.isEqualTo(q);
                ASSERT_EQ(seen.contains(p), inList) << "seed " << seed << " point " << i;
                if (i % 3 != 0) {
                    seen.add(p);
                    list.push_back(p);
                }
            }
        }
    }
}
