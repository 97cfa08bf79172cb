// "PLC" and "PLCA" driven through fendo on saved drawings.
#include <gtest/gtest.h>

#include "host/db/entities/AcDbLine.h"
#include "host/db/entities/AcDbPolyline.h"
#include "support/TestDrawing.h"

using namespace fendo::test;

namespace {
constexpr double kTiny = 0.00001;

// An open polyline (0,0) (10,0) (10,10) (20,10) whose second segment is a clockwise arc.
AcDbPolyline* zigzag()
{
    auto* p = new AcDbPolyline;
    p->addVertexAt(0, AcGePoint2d(0, 0));
    p->addVertexAt(1, AcGePoint2d(10, 0), -0.2);
    p->addVertexAt(2, AcGePoint2d(10, 10));
    p->addVertexAt(3, AcGePoint2d(20, 10));
    return p;
}

std::vector<double> bulgesAfter(const std::string& script)
{
    TestDrawing d;
    d.add(zigzag());
    const Session s = runSession(d, script);
    std::vector<double> bulges;
    EXPECT_TRUE(s.result) << s.run.output;
    if (!s.result) return bulges;
    const auto ids = modelSpaceEntities(*s.result, AcDbPolyline::desc());
    EXPECT_EQ(ids.size(), 1u);
    AcDbPolyline* p = nullptr;
    if (ids.empty() || acdbOpenObject(p, ids[0], AcDb::kForRead) != Acad::eOk) return bulges;
    for (unsigned i = 0; i < p->numVerts(); ++i) {
        double b = 0;
        p->getBulgeAt(i, b);
        bulges.push_back(b);
    }
    p->close();
    return bulges;
}
}  // namespace

TEST(BulgeOneSegment, GivesThePickedStraightSegmentATinyBulge)
{
    const auto b = bulgesAfter("PLC\n5,0\n");
    ASSERT_EQ(b.size(), 4u);
    EXPECT_DOUBLE_EQ(b[0], kTiny);
    EXPECT_DOUBLE_EQ(b[1], -0.2);
    EXPECT_DOUBLE_EQ(b[2], 0.0);
}

TEST(BulgeOneSegment, ReplacesAClockwiseArcByTheTinyBulge)
{
    // The clockwise arc from (10,0) up to (10,10) bulges to the left of its travel by 0.2 x 5:
    // its middle is (9,5).
    const auto b = bulgesAfter("PLC\n9,5\n");
    ASSERT_EQ(b.size(), 4u);
    EXPECT_DOUBLE_EQ(b[1], kTiny);
}

TEST(BulgeOneSegment, PickingTheEndOfTheLastSegmentChangesTheLastVertex)
{
    const auto b = bulgesAfter("PLC\n20,10\n");
    ASSERT_EQ(b.size(), 4u);
    EXPECT_DOUBLE_EQ(b[2], 0.0);
    EXPECT_DOUBLE_EQ(b[3], kTiny);
}

TEST(BulgeAllSegments, BendsStraightSegmentsAndLeavesArcsAlone)
{
    const auto b = bulgesAfter("PLCA\n5,0\n");
    EXPECT_EQ(b, (std::vector<double>{kTiny, -0.2, kTiny, kTiny}));
}

TEST(BulgeAllSegments, AnythingButALightweightPolylineIsLeftAlone)
{
    TestDrawing d;
    d.add(new AcDbLine(AcGePoint3d(0, 50, 0), AcGePoint3d(10, 50, 0)));
    const Session s = runSession(d, "PLCA\n5,50\n");
    ASSERT_TRUE(s.result) << s.run.output;
    EXPECT_EQ(modelSpaceEntities(*s.result, AcDbPolyline::desc()).size(), 0u);
    EXPECT_EQ(modelSpaceEntities(*s.result).size(), 1u);
}
