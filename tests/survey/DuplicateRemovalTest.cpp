// "LDTT" driven through fendo: repeated survey points and repeated outlines
// erased, and the same drawing judged by a plain scan of every position seen.
#include <gtest/gtest.h>

#include <random>

#include "host/db/entities/AcDb3dPolyline.h"
#include "host/db/entities/AcDbLine.h"
#include "host/db/entities/AcDbPolyline.h"
#include "survey/SurveyTestSupport.h"

using namespace fendo::test;

namespace {
AcDbLine* line(double x0, double y0, double x1, double y1, double z = 0)
{
    return new AcDbLine(AcGePoint3d(x0, y0, z), AcGePoint3d(x1, y1, z));
}

// The handles of the objects left in the result, in drawing order.
std::vector<std::uint64_t> kept(AcDbDatabase& db)
{
    std::vector<std::uint64_t> out;
    for (const AcDbObjectId id : modelSpaceEntities(db)) out.push_back(id.handle().value());
    return out;
}
}  // namespace

TEST(EraseDuplicates, RepeatedPlanPositionsAndRepeatedExtentsGo)
{
    TestDrawing d;
    std::vector<std::uint64_t> expected;
    const auto keep = [&](AcDbObjectId id) { expected.push_back(id.handle().value()); };
    keep(d.add(newSurveyPoint(1, 1, 5)));
    d.add(newSurveyPoint(1, 1, 9));  // same plan position, other height
    keep(d.add(newSurveyPoint(1, 1.001, 5)));
    keep(d.add(line(0, 0, 5, 5)));
    d.add(line(5, 5, 0, 0));  // reversed
    auto* pline = new AcDbPolyline;
    pline->addVertexAt(0, AcGePoint2d(0, 5));
    pline->addVertexAt(1, AcGePoint2d(5, 0));
    pline->setElevation(3);
    d.add(pline);  // another shape with the same plan extents
    keep(d.add(line(10, 10, 20, 20)));
    d.add(line(0, 0, 20, 20));  // its corners come from two different objects
    AcGePoint3dArray climb;
    climb.append(AcGePoint3d(10, 10, 0));
    climb.append(AcGePoint3d(20, 20, 40));
    d.add(new AcDb3dPolyline(AcDb::k3dSimplePoly,
                             climb));  // same plan extents, rising
    keep(d.add(line(0, 0, 6, 6)));     // lower left seen, upper right not
    const Session s = surveySession(d, "LDTT\nall\n\n");
    ASSERT_TRUE(s.result) << s.run.output;
    EXPECT_NE(s.run.output.find("Chon cac doi tuong can loai:"), std::string::npos);
    EXPECT_EQ(kept(*s.result), expected);
}

// A random drawing of lines on a coarse lattice (many repeated corners) and
// survey points with repeated positions: what is left is what a scan of every
// position seen leaves.
TEST(EraseDuplicates, RandomDrawingsLoseWhatTheScanOfSeenPositionsLoses)
{
    for (unsigned seed = 1; seed <= 3; ++seed) {
        std::mt19937 rng(seed);
        std::uniform_int_distribution<int> lattice(0, 6), kind(0, 2);
        TestDrawing d;
        std::vector<AcGePoint3d> points, lowerLeft, upperRight;
        const auto seen = [](const std::vector<AcGePoint3d>& list, const AcGePoint3d& p) {
            for (const AcGePoint3d& q : list)
                if (p.isEqualTo(q)) return true;
            return false;
        };
        std::vector<std::uint64_t> expected;
        for (int i = 0; i < 400; ++i) {
            const double x0 = lattice(rng), y0 = lattice(rng), x1 = lattice(rng) + 0.5, y1 = lattice(rng) + 0.5;
            if (kind(rng) == 0) {
                const AcGePoint3d p(x0, y0, 0);
                const AcDbObjectId id = d.add(newSurveyPoint(x0, y0, lattice(rng)));
                if (seen(points, p)) continue;
                points.push_back(p);
                expected.push_back(id.handle().value());
                continue;
            }
            const AcGePoint3d a(std::min(x0, x1), std::min(y0, y1), 0), b(std::max(x0, x1), std::max(y0, y1), 0);
            const AcDbObjectId id = d.add(line(x0, y0, x1, y1, lattice(rng)));
            if (seen(lowerLeft, a) && seen(upperRight, b)) continue;
            lowerLeft.push_back(a);
            upperRight.push_back(b);
            expected.push_back(id.handle().value());
        }
        const Session s = surveySession(d, "LDTT\nall\n\n");
        ASSERT_TRUE(s.result) << s.run.output;
        EXPECT_EQ(kept(*s.result), expected) << "seed " << seed;
        EXPECT_LT(expected.size(), 300u);
    }
}
