// The GRIPS and MOVEGRIP host commands through fendo, on a line and on a slope symbol read
// back from the drawing as the module's own object.
#include <gtest/gtest.h>

#include "host/db/entities/AcDbLine.h"
#include "slope/TaluyObj.h"
#include "support/TestDrawing.h"

namespace {

using fendo::test::TestDrawing;

std::string handleOf(AcDbObjectId id) { return id.handle().hex(); }

// A triangle-form symbol with long ticks hidden over a 10 long edge: short ticks at 2.5 and 7.5.
AcDbObjectId addSymbol(TestDrawing& drawing)
{
    TaluyObj::desc()->setCustom(true);
    auto* symbol = new TaluyObj;
    AcGePoint3dArray edge = {AcGePoint3d(0, 0, 0), AcGePoint3d(10, 0, 0)};
    AcGePoint3dArray toe = {AcGePoint3d(-1, -4, 0), AcGePoint3d(20, -4, 0)};
    EXPECT_TRUE(symbol->setSourcePoints(edge, toe));
    symbol->setFlag(TaluyObj::Flag::TickForm, false);
    return drawing.add(symbol);
}

TEST(GripCommands, GripsListsALinesGripsAndMoveGripMovesOneByADisplacementOrToAPoint)
{
    TestDrawing drawing;
    const AcDbObjectId line = drawing.add(new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(10, 0, 0)));
    const std::string h = "h " + handleOf(line) + "\n";
    const auto session = fendo::test::runSession(drawing, "GRIPS\n" + h + "MOVEGRIP\n" + h + "2\n@0,5\n" +
                                                              "MOVEGRIP\n" + h + "0\n-3,2\n" + "MOVEGRIP\n" + h +
                                                              "7\n");
    ASSERT_EQ(session.run.exitCode, 0) << session.run.output;
    const std::string& out = session.run.output;
    EXPECT_NE(out.find("3 grips of AcDbLine:\n  0: 0,0,0\n  1: 5,0,0\n  2: 10,0,0"), std::string::npos) << out;
    EXPECT_NE(out.find("Grip 2 moved by 0,5,0."), std::string::npos) << out;
    EXPECT_NE(out.find("Grip 0 moved by -3,2,0."), std::string::npos) << out;
    EXPECT_NE(out.find("The object has no grip 7 (it has 3)."), std::string::npos) << out;
    ASSERT_TRUE(session.result);
    const auto lines = fendo::test::modelSpaceEntities(*session.result, AcDbLine::desc());
    ASSERT_EQ(lines.size(), 1u);
    AcDbLine* moved = nullptr;
    ASSERT_EQ(acdbOpenObject(moved, lines[0], AcDb::kForRead), Acad::eOk);
    EXPECT_EQ(moved->startPoint(), AcGePoint3d(-3, 2, 0));
    EXPECT_EQ(moved->endPoint(), AcGePoint3d(10, 5, 0));
    moved->close();
}

TEST(GripCommands, ASlopeSymbolReadByFendoOffersItsShortTicksFromGripTwo)
{
    TestDrawing drawing;
    const std::string h = "h " + handleOf(addSymbol(drawing)) + "\n";
    // Grip 2 is the first short tick's base (long ticks are hidden); grip 0 slides the start.
    const std::string script = "GRIPS\n" + h + "MOVEGRIP\n" + h + "2\n@0,1\n" + "MOVEGRIP\n" + h + "3\n@1,0\n";
    const auto session = fendo::test::runSession(drawing, script);
    ASSERT_EQ(session.run.exitCode, 0) << session.run.output;
    const std::string& out = session.run.output;
    EXPECT_NE(out.find("6 grips of TaluyObj:\n  0: 0,0.75,0\n  1: 10,0.75,0\n  2: 2.5,0,0\n  3: 2.5,-2,0"),
              std::string::npos)
        << out;
    ASSERT_TRUE(session.result);
    const auto symbols = fendo::test::modelSpaceEntities(*session.result, TaluyObj::desc());
    ASSERT_EQ(symbols.size(), 1u);
    TaluyObj* symbol = nullptr;
    ASSERT_EQ(acdbOpenObject(symbol, symbols[0], AcDb::kForRead), Acad::eOk);
    ASSERT_EQ(symbol->shortTraces().count(), 2);
    EXPECT_EQ(symbol->shortTraces().at(0).base, AcGePoint3d(2.5, 1, 0));
    EXPECT_EQ(symbol->shortTraces().at(0).tip, AcGePoint3d(3.5, -2, 0));
    EXPECT_EQ(symbol->longTraces().count(), 3);
    symbol->close();
}

}  // namespace
