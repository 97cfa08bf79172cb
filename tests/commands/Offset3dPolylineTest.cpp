// "O3P" through fendo: the dialog's two ways of giving the shift, the side point, and the
// settings file that carries the dialog's values to the next run.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "host/db/entities/AcDb3dPolyline.h"
#include "support/ModuleFolder.h"
#include "support/PolylinePoints.h"
#include "support/TestDrawing.h"

using namespace fendo::test;
namespace fs = std::filesystem;

namespace {
// The vertices of every 3D polyline of the result, in drawing order.
std::vector<Points> polylines(const Session& s)
{
    std::vector<Points> out;
    for (const AcDbObjectId& id : modelSpaceEntities(*s.result, AcDb3dPolyline::desc())) out.push_back(verticesOf(id));
    return out;
}

const Points kCentreLine{{0, 0, 10}, {20, 0, 10}, {20, 20, 14}};

// The module and its companions copied to a folder of their own, so that each test has its own
// Data/offset.cfg and the build's file stays as shipped. Runs on a drawing holding an L-shaped
// centre line (layer "TIM", colour ByBlock) and a narrow V at x 40..60.
class ModuleCopy {
public:
    explicit ModuleCopy(const std::string& settings = "")
    {
        if (!settings.empty()) writeFile(settingsFile(), settings);
    }
    fs::path settingsFile() const { return m_folder.dataFile("offset.cfg"); }

    Session run(const std::string& script) const
    {
        TestDrawing d;
        const AcDbObjectId centre = d.add(new AcDb3dPolyline(AcDb::k3dSimplePoly, array(kCentreLine)), L"TIM");
        AcDbEntity* e = nullptr;
        if (acdbOpenObject(e, centre, AcDb::kForWrite) == Acad::eOk) {
            e->setColorIndex(0);  // only a copy of the full colour keeps ByBlock
            e->close();
        }
        d.add(new AcDb3dPolyline(AcDb::k3dSimplePoly, array({{40, 0, 0}, {60, 0, 0}, {40, 2, 0}})));
        Session s;
        s.output = scratchDir("o3p-session") / "out.dxf";
        s.run = runFendo({"--module", m_folder.module().string(), d.save().string(), "-o", s.output.string()},
                         script);
        if (fs::exists(s.output)) s.result = loadDrawing(s.output);
        return s;
    }

private:
    static AcGePoint3dArray array(const Points& pts) { return AcGePoint3dArray(pts); }
    ModuleFolder m_folder{"o3p-module"};
};

struct Case {
    const char* name;
    const char* dialog;  // answers to the dialog, then the side point of one pick at (10, 0)
    Points expected;
};
void PrintTo(const Case& c, std::ostream* os)
{
    *os << c.name;
}

class Offset3dPolylineShift : public ::testing::TestWithParam<Case> {};

TEST_P(Offset3dPolylineShift, CopiesTheCentreLineOnItsLayerAndColourLeavingItAsItWas)
{
    const Session s = ModuleCopy().run(std::string("O3P\n") + GetParam().dialog);
    ASSERT_TRUE(s.result) << s.run.output;
    const auto polys = polylines(s);
    ASSERT_EQ(polys.size(), 3u) << s.run.output;
    EXPECT_THAT(polys[0], PointsNear(kCentreLine));
    EXPECT_THAT(polys[2], PointsNear(GetParam().expected));
    AcDbEntity* copy = nullptr;
    ASSERT_EQ(acdbOpenObject(copy, modelSpaceEntities(*s.result).back(), AcDb::kForRead), Acad::eOk);
    EXPECT_EQ(std::wstring(copy->layer()), L"TIM");
    EXPECT_EQ(copy->colorIndex(), 0);
    copy->close();
}

INSTANTIATE_TEST_SUITE_P(
    DialogValues, Offset3dPolylineShift,
    ::testing::Values(
        // A 45 degree slope rising 2 runs 2 in plan; the side point is left of travel.
        Case{"Angle45", "1036=45\n1037=2\nclick 1\n10,0\n10,5\n", {{0, 2, 12}, {18, 2, 12}, {18, 20, 16}}},
        // The sign of the angle, not of the height, says down.
        Case{"AngleMinus45", "1036=-45\n1037=2\nclick 1\n10,0\n10,5\n", {{0, 2, 8}, {18, 2, 8}, {18, 20, 12}}},
        Case{"Angle45HeightMinus2", "1036=45\n1037=-2\nclick 1\n10,0\n10,5\n", {{0, 2, 12}, {18, 2, 12}, {18, 20, 16}}},
        Case{"RightSide", "1036=45\n1037=2\nclick 1\n10,0\n10,-5\n", {{0, -2, 12}, {22, -2, 12}, {22, 20, 16}}},
        Case{"AngleZeroIsStraightAbove",
             "1036=0\n1037=3\nclick 1\n10,0\n10,5\n",
             {{0, 0, 13}, {20, 0, 13}, {20, 20, 17}}},
        Case{"DistanceZero",
             "1034=on\n1036=0\n1037=-1.5\nclick 1\n10,0\n10,5\n",
             {{0, 0, 8.5}, {20, 0, 8.5}, {20, 20, 12.5}}},
        // Text that is not a number is refused and the boxes are answered again.
        Case{"BoxesNotNumbers", "1036=abc\n1037=2m\nclick 1\n1036=0\nclick 1\n1037=2\nclick 1\n10,0\n10,5\n",
             {{0, 0, 12}, {20, 0, 12}, {20, 20, 16}}}));

TEST(Offset3dPolyline, LeavesTheDrawingAsItWasWhenCancelledOrWhenTheOffsetLosesACorner)
{
    for (const char* script : {
             "O3P\n^C\n",
             "O3P\n1036=45\n1037=2\nclick 2\n",
             "O3P\n1036=45\n1037=2\nclick 1\n^C\n",
             "O3P\n1036=45\n1037=2\nclick 1\n10,0\n^C\n",
             // Inside the narrow V the offset of its first leg is trimmed away.
             "O3P\n1034=on\n1036=3\n1037=0\nclick 1\n50,0\n45,0.6\n",
         }) {
        const Session s = ModuleCopy().run(script);
        ASSERT_TRUE(s.result) << s.run.output;
        EXPECT_EQ(modelSpaceEntities(*s.result).size(), 2u) << script << s.run.output;
    }
}

TEST(Offset3dPolylineSettings, AFileOfThreeLinesOpensTheDialogWithItsValuesForEveryPick)
{
    const ModuleCopy module("1\n2.5\n-1\n");
    // Enter accepts the values as they opened; two picks, one on each side.
    const Session s = module.run("O3P\n\n10,0\n10,5\n10,0\n10,-5\n");
    ASSERT_TRUE(s.result) << s.run.output;
    EXPECT_NE(s.run.output.find("(o) Nhập khoảng cách và chênh cao"), std::string::npos) << s.run.output;
    EXPECT_NE(s.run.output.find("1036  edit    \"2.5\""), std::string::npos);
    const auto polys = polylines(s);
    ASSERT_EQ(polys.size(), 4u);
    EXPECT_THAT(polys[2], PointsNear(Points{{0, 2.5, 9}, {17.5, 2.5, 9}, {17.5, 20, 13}}));
    EXPECT_THAT(polys[3], PointsNear(Points{{0, -2.5, 9}, {22.5, -2.5, 9}, {22.5, 20, 13}}));
    EXPECT_EQ(readFile(module.settingsFile()), "1\n2.5\n-1\n");
}

TEST(Offset3dPolylineSettings, AFileOfAnotherLengthOpensEmptyAskingForAnAngle)
{
    const Session s = ModuleCopy("1\n2.5\n-1\n\n").run("O3P\n1034=on\n1033=on\n^C\n");
    EXPECT_NE(s.run.output.find("(o) Nhập góc và chênh cao"), std::string::npos) << s.run.output;
    EXPECT_NE(s.run.output.find("1036  edit    \"\""), std::string::npos);
    // The value label follows the radio buttons.
    const auto distance = s.run.output.find("Khoảng cách");
    ASSERT_NE(distance, std::string::npos);
    EXPECT_NE(s.run.output.find("Góc", distance), std::string::npos);
}

TEST(Offset3dPolylineSettings, OkWritesTheBoxesAsTypedAndCancelLeavesTheFile)
{
    const ModuleCopy accepted("1\n2.5\n-1\n");
    accepted.run("O3P\n1033=on\n1036=30\n1037=\nclick 1\n^C\n");
    // An empty box is written as 0.
    EXPECT_EQ(readFile(accepted.settingsFile()), "0\n30\n0\n");
    const ModuleCopy cancelled("1\n2.5\n-1\n");
    cancelled.run("O3P\n1033=on\n1036=30\nclick 2\n");
    EXPECT_EQ(readFile(cancelled.settingsFile()), "1\n2.5\n-1\n");
    const ModuleCopy missing;
    missing.run("O3P\n1034=on\n1036=4\n1037=0.5\nclick 1\n^C\n");
    EXPECT_EQ(readFile(missing.settingsFile()), "1\n4\n0.5\n");
}
}  // namespace
