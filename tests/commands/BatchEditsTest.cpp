// "EMT", "CVTEXT", "P2C", "EML" and "EMD" through fendo: each changes only the kinds its
// selection takes, and a cancelled dialog or prompt leaves the drawing as it was.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/db/DbHelpers.h"
#include "host/db/entities/AcDbDimension.h"
#include "host/db/entities/AcDbLine.h"
#include "host/db/entities/AcDbMText.h"
#include "host/db/entities/AcDbPolyline.h"
#include "host/db/entities/AcDbText.h"
#include "support/PolylinePoints.h"
#include "support/TestDrawing.h"

using namespace fendo::test;
using fendo::db::OpenedObject;

namespace {

constexpr double kTol = 1e-9;

std::vector<std::wstring> textStrings(const Session& s)
{
    std::vector<std::wstring> out;
    for (const AcDbObjectId& id : modelSpaceEntities(*s.result, AcDbText::desc())) {
        OpenedObject<AcDbText> t(id, AcDb::kForRead);
        out.push_back(t->textString().c_str());
    }
    return out;
}

// One text per string, 10 apart upwards, plus a multiline text "1,5" that no command touches.
Session runOnTexts(const std::vector<std::wstring>& strings, const std::string& script)
{
    TestDrawing d;
    for (size_t i = 0; i < strings.size(); ++i)
        d.add(
            new AcDbText(AcGePoint3d(0, 10.0 * static_cast<double>(i), 0), strings[i].c_str(), AcDbObjectId::kNull, 1));
    auto* mtext = new AcDbMText;
    mtext->setLocation(AcGePoint3d(0, -10, 0));
    mtext->setContents(L"1,5");
    d.add(mtext);
    return runSession(d, script);
}

void expectMTextUntouched(const Session& s)
{
    OpenedObject<AcDbMText> m(modelSpaceEntities(*s.result, AcDbMText::desc()).at(0), AcDb::kForRead);
    EXPECT_EQ(std::wstring(m->contents().c_str()), L"1,5");
}

void expectPoint(const AcGePoint3d& actual, double x, double y, double z)
{
    EXPECT_NEAR(actual.x, x, kTol);
    EXPECT_NEAR(actual.y, y, kTol);
    EXPECT_NEAR(actual.z, z, kTol);
}

}  // namespace

TEST(BatchEditTexts, BlanksBecomePointsAfterTrimming)
{
    const auto s = runOnTexts({L" 12 5 ", L"1 2 3", L"  7  ", L"abc"}, "CVTEXT\nall\n\n");
    ASSERT_TRUE(s.result) << s.run.output;
    EXPECT_NE(s.run.output.find("Chon cac text can chuyen"), std::string::npos);
    EXPECT_EQ(textStrings(s), (std::vector<std::wstring>{L"12.5", L"1.2.3", L"7", L"abc"}));
    expectMTextUntouched(s);
}

// Exactly two non-empty pieces round the commas become "a.b"; otherwise only the trim stays.
TEST(BatchEditTexts, CommaBecomesAPointOnlyBetweenExactlyTwoPieces)
{
    const auto s = runOnTexts({L"12,5", L"1,2,3", L"1,,2", L"12,", L" 3,25 "}, "P2C\nall\n\n");
    ASSERT_TRUE(s.result) << s.run.output;
    EXPECT_EQ(textStrings(s), (std::vector<std::wstring>{L"12.5", L"1,2,3", L"1.2", L"12,", L"3.25"}));
    expectMTextUntouched(s);
}

TEST(BatchEditTexts, OkNeedsBothBoxesAndCancelChangesNothing)
{
    const auto s = runOnTexts({L"12", L"7"}, "EMT\nall\n\n1038=K\nclick 1\n1039=m\nclick 1\n");
    ASSERT_TRUE(s.result) << s.run.output;
    EXPECT_NE(s.run.output.find("Dialog \"Sửa text\""), std::string::npos) << s.run.output;
    EXPECT_EQ(textStrings(s), (std::vector<std::wstring>{L"K12m", L"K7m"}));
    expectMTextUntouched(s);

    const auto cancelled = runOnTexts({L"12"}, "EMT\nall\n\n1038=K\n1039=m\nclick 2\n");
    EXPECT_EQ(textStrings(cancelled), std::vector<std::wstring>{L"12"});
}

struct LineCase {
    const char* name;
    const char* dialog;  // answers after the selection
    AcGePoint3d start;
    AcGePoint3d end;
};

// The line (0,0,5)-(10,0,5) is worked in plan and ends at elevation 0.
TEST(BatchEditLength, LinesKeepTheirAnchorAndComeDownToElevationZero)
{
    const LineCase cases[] = {
        {"end stays", "1006=4\n1101=on\nclick 1\n", {6, 0, 0}, {10, 0, 0}},
        {"middle stays (the default)", "1006=4\nclick 1\n", {3, 0, 0}, {7, 0, 0}},
        {"start stays", "1006=12\n1103=on\nclick 1\n", {0, 0, 0}, {12, 0, 0}},
        {"too short keeps the dialog open", "1006=0.0005\nclick 1\n1006=4\n1101=on\nclick 1\n", {6, 0, 0}, {10, 0, 0}},
    };
    for (const LineCase& c : cases) {
        SCOPED_TRACE(c.name);
        TestDrawing d;
        d.add(new AcDbLine(AcGePoint3d(0, 0, 5), AcGePoint3d(10, 0, 5)));
        const auto s = runSession(d, std::string("EML\nall\n\n") + c.dialog);
        ASSERT_TRUE(s.result) << s.run.output;
        OpenedObject<AcDbLine> line(modelSpaceEntities(*s.result, AcDbLine::desc()).at(0), AcDb::kForRead);
        expectPoint(line->startPoint(), c.start.x, c.start.y, c.start.z);
        expectPoint(line->endPoint(), c.end.x, c.end.y, c.end.z);
    }
}

// Each end moves by the difference along its own end tangent, so an L keeps its corner; arcs
// become straight; the cancelled dialog leaves everything as it was.
TEST(BatchEditLength, PolylineEndsMoveAlongTheirTangentsAndArcsStraighten)
{
    TestDrawing d;
    auto* corner = new AcDbPolyline;
    corner->addVertexAt(0, AcGePoint2d(0, 0));
    corner->addVertexAt(1, AcGePoint2d(10, 0));
    corner->addVertexAt(2, AcGePoint2d(10, 10));
    d.add(corner);
    auto* arc = new AcDbPolyline;  // a half circle of radius 5, length 5 pi, from
                                   // (20,0) to (30,0)
    arc->addVertexAt(0, AcGePoint2d(20, 0), 1.0);
    arc->addVertexAt(1, AcGePoint2d(30, 0));
    d.add(arc);
    const auto s = runSession(d, "EML\nall\n\n1006=16\nclick 1\n");
    ASSERT_TRUE(s.result) << s.run.output;
    const auto ids = modelSpaceEntities(*s.result, AcDbPolyline::desc());
    ASSERT_EQ(ids.size(), 2u);
    EXPECT_THAT(verticesOf(ids[0]), PointsNear(Points{{2, 0, 0}, {10, 0, 0}, {10, 8, 0}}));
    // D = 5 pi - 16 < 0: the ends move back against their tangents (down at the start, up at
    // the end of this counter-clockwise half circle) by |D| / 2, so both rise.
    const double lift = (16 - 5 * M_PI) / 2;
    EXPECT_THAT(verticesOf(ids[1]), PointsNear(Points{{20, lift, 0}, {30, lift, 0}}));

    const auto cancelled = runSession(d, "EML\nall\n\n1006=16\nclick 2\n");
    EXPECT_THAT(verticesOf(modelSpaceEntities(*cancelled.result, AcDbPolyline::desc()).at(0)),
                PointsNear(Points{{0, 0, 0}, {10, 0, 0}, {10, 10, 0}}));
}

// Extension points slide along the extension direction onto the line through the picked point
// parallel to the dimension line; the measurement stays. A point off the plane is skipped.
TEST(BatchEditDimensions, ExtensionPointsMeetTheLineThroughThePickedPoint)
{
    TestDrawing d;
    d.add(new AcDbRotatedDimension(0, AcGePoint3d(0, 0, 0), AcGePoint3d(10, 3, 0), AcGePoint3d(10, 8, 0)));
    d.add(new AcDbAlignedDimension(AcGePoint3d(20, 1, 0), AcGePoint3d(30, 1, 0), AcGePoint3d(30, 6, 0)));
    d.add(new AcDbLine(AcGePoint3d(0, -20, 0), AcGePoint3d(1, -20, 0)));
    const auto s = runSession(d, "EMD\nall\n\n0,-2\n");
    ASSERT_TRUE(s.result) << s.run.output;
    const auto dims = modelSpaceEntities(*s.result, AcDbAlignedDimension::desc());
    ASSERT_EQ(dims.size(), 2u);
    {
        OpenedObject<AcDbAlignedDimension> rotated(dims[0], AcDb::kForRead);
        expectPoint(rotated->xLine1Point(), 0, -2, 0);
        expectPoint(rotated->xLine2Point(), 10, -2, 0);
        expectPoint(rotated->dimLinePoint(), 10, 8, 0);
        OpenedObject<AcDbAlignedDimension> aligned(dims[1], AcDb::kForRead);
        expectPoint(aligned->xLine1Point(), 20, -2, 0);
        expectPoint(aligned->xLine2Point(), 30, -2, 0);
    }

    const auto skew = runSession(d, "EMD\nall\n\n0,-2,4\n");
    OpenedObject<AcDbAlignedDimension> kept(modelSpaceEntities(*skew.result, AcDbAlignedDimension::desc()).at(0),
                                            AcDb::kForRead);
    expectPoint(kept->xLine2Point(), 10, 3, 0);
}
