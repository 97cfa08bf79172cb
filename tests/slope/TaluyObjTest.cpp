// The slope symbol object: reading its sources, rebuild, trimming, drawing, grips, explode,
// transformation and filing (binary, and DXF through a saved drawing read back).
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "host/db/AcDbFiler.h"
#include "host/db/entities/AcDb3dPolyline.h"
#include "host/db/entities/AcDbLine.h"
#include "host/db/entities/AcDbPolyline.h"
#include "host/gi/AcGi.h"
#include "slope/SourcePolyline.h"
#include "slope/TaluyObj.h"
#include "support/TestDrawing.h"

namespace {

using fendo::test::TestDrawing;

constexpr double kTol = 1e-9;

AcGePoint3dArray points(std::initializer_list<std::pair<double, double>> xy)
{
    AcGePoint3dArray out;
    for (const auto& [x, y] : xy) out.append(AcGePoint3d(x, y, 0.0));
    return out;
}

AcDbObjectId addPolyline(TestDrawing& drawing, std::initializer_list<std::pair<double, double>> xy)
{
    auto* pline = new AcDbPolyline;
    unsigned int i = 0;
    for (const auto& [x, y] : xy) pline->addVertexAt(i++, AcGePoint2d(x, y));
    return drawing.add(pline);
}

// A 20 long edge along the x axis over a toe 4 below it: long ticks at 0, 5 ... 20.
void makeStraightSymbol(TaluyObj& symbol)
{
    ASSERT_TRUE(symbol.setSourcePoints(points({{0, 0}, {20, 0}}), points({{-1, -4}, {30, -4}})));
}

std::vector<Trace> tracesOf(const ListTraces& list)
{
    std::vector<Trace> out;
    for (int i = 0; i < list.count(); ++i) out.push_back(list.at(i));
    return out;
}

// ---- reading sources -------------------------------------------------------------------

TEST(SlopeSourcePolyline, ArcsAreCutIntoChordsBySweepAndRadius)
{
    EXPECT_EQ(fendo::slope::arcChordCount(std::numbers::pi, 10.0), 16);  // sqrt(pi^3 * 100 / 12) = 16.07
    EXPECT_EQ(fendo::slope::arcChordCount(-std::numbers::pi / 2, 2.0), 1);
    TestDrawing drawing;
    // A half circle of radius 10 bulging below, then a straight leg.
    auto* open = new AcDbPolyline;
    open->addVertexAt(0, AcGePoint2d(0, 0), 1.0);
    open->addVertexAt(1, AcGePoint2d(20, 0));
    open->addVertexAt(2, AcGePoint2d(20, 10));
    AcGePoint3dArray read;
    ASSERT_TRUE(fendo::slope::readSourcePolyline(drawing.add(open), read));
    ASSERT_EQ(read.length(), 3 + 15);
    EXPECT_TRUE(read[8].isEqualTo(AcGePoint3d(10, -10, 0), AcGeTol()));  // the arc's middle, 8 chords in
    EXPECT_EQ(read[16], AcGePoint3d(20, 0, 0));

    // A closed one: the closing arc is cut too, and the first vertex is not repeated.
    auto* closed = new AcDbPolyline;
    closed->addVertexAt(0, AcGePoint2d(0, 0));
    closed->addVertexAt(1, AcGePoint2d(20, 0), 1.0);
    closed->setClosed(true);
    ASSERT_TRUE(fendo::slope::readSourcePolyline(drawing.add(closed), read));
    ASSERT_EQ(read.length(), 2 + 15);
    EXPECT_FALSE(read.last().isEqualTo(read.first()));
}

TEST(SlopeSourcePolyline, ThreeDPolylinesGiveTheirVerticesAndOtherObjectsNothing)
{
    TestDrawing drawing;
    const AcGePoint3dArray vertices = {AcGePoint3d(0, 0, 5), AcGePoint3d(3, 4, 6), AcGePoint3d(9, 4, 7)};
    AcGePoint3dArray read;
    const AcDbObjectId pline = drawing.add(new AcDb3dPolyline(AcDb::k3dSimplePoly, vertices));
    ASSERT_TRUE(fendo::slope::readSourcePolyline(pline, read));
    ASSERT_EQ(read.length(), 3);
    EXPECT_EQ(read[1], AcGePoint3d(3, 4, 6));
    EXPECT_FALSE(fendo::slope::readSourcePolyline(drawing.add(new AcDbLine({0, 0, 0}, {1, 1, 0})), read));
    EXPECT_FALSE(fendo::slope::readSourcePolyline(AcDbObjectId(), read));
}

// ---- sources, rebuild, trimming ------------------------------------------------------------

TEST(TaluyObjSources, PointListsSetTheRangeAndTheToeFlagAndRebuild)
{
    TaluyObj symbol;
    EXPECT_EQ(symbol.flags(), 0x80);
    EXPECT_FALSE(symbol.setSourcePoints(points({{0, 0}}), points({})));
    makeStraightSymbol(symbol);
    EXPECT_FALSE(symbol.flag(TaluyObj::Flag::NoToe));
    EXPECT_FALSE(symbol.flag(TaluyObj::Flag::Linked));
    EXPECT_EQ(symbol.endPoint(), AcGePoint3d(20, 0, 0));
    EXPECT_EQ(symbol.longTraces().count(), 5);
    EXPECT_EQ(symbol.shortTraces().count(), 4);

    // A one-point toe means no toe: fixed lengths to the left, or to the right when reversed.
    ASSERT_TRUE(symbol.setSourcePoints(points({{0, 0}, {10, 0}}), points({{3, 3}})));
    EXPECT_TRUE(symbol.flag(TaluyObj::Flag::NoToe));
    EXPECT_EQ(symbol.longTraces().at(1).tip, AcGePoint3d(5, 10, 0));
    symbol.setFlag(TaluyObj::Flag::Reversed, true);
    symbol.rebuildTraces();
    EXPECT_EQ(symbol.longTraces().at(1).tip, AcGePoint3d(5, -10, 0));
}

TEST(TaluyObjSources, LinkedSymbolRereadsItsPolylinesAndLosesItsTicksWhenOneIsGone)
{
    TestDrawing drawing;
    const AcDbObjectId edge = addPolyline(drawing, {{0, 0}, {20, 0}});
    const AcDbObjectId toe = addPolyline(drawing, {{-1, -4}, {30, -4}});
    TaluyObj symbol;
    ASSERT_TRUE(symbol.setSourcePolylines(edge, toe));
    EXPECT_TRUE(symbol.flag(TaluyObj::Flag::Linked));
    EXPECT_EQ(symbol.longTraces().count(), 0);  // linking alone does not rebuild
    symbol.setRange(AcGePoint3d(12, 5, 0), AcGePoint3d(1, -2, 0), TaluyObj::Range::BetweenPoints);
    EXPECT_EQ(symbol.startPoint(), AcGePoint3d(1, 0, 0));  // swapped into edge order
    EXPECT_EQ(symbol.endPoint(), AcGePoint3d(12, 0, 0));
    EXPECT_EQ(symbol.longTraces().count(), 3);  // 1, 6, 11
    symbol.setRange(AcGePoint3d(), AcGePoint3d(), TaluyObj::Range::WholeEdge);
    EXPECT_EQ(symbol.longTraces().count(), 5);

    AcDbEntity* toeEntity = nullptr;
    ASSERT_EQ(acdbOpenObject(toeEntity, toe, AcDb::kForWrite), Acad::eOk);
    toeEntity->erase();
    toeEntity->close();
    EXPECT_FALSE(symbol.rebuildTraces());
    EXPECT_EQ(symbol.longTraces().count(), 0);
    EXPECT_EQ(symbol.shortTraces().count(), 0);
}

TEST(TaluyObjTrim, TicksAreCutAtTheFirstCrossingBetweenBaseAndTip)
{
    TestDrawing drawing;
    const AcDbObjectId cutter = addPolyline(drawing, {{-1, -2}, {6, -2}});
    TaluyObj symbol;
    makeStraightSymbol(symbol);
    EXPECT_FALSE(symbol.trimLongTraces(AcDbObjectId()));
    ASSERT_TRUE(symbol.trimLongTraces(cutter));
    EXPECT_EQ(symbol.longTraces().at(0).tip, AcGePoint3d(0, -2, 0));
    EXPECT_EQ(symbol.longTraces().at(1).tip, AcGePoint3d(5, -2, 0));
    EXPECT_EQ(symbol.longTraces().at(2).tip, AcGePoint3d(10, -3.5, 0));  // not crossed
    // Short ticks end at -2 already: a crossing on the tip is no cut.
    ASSERT_TRUE(symbol.trimShortTraces(cutter));
    EXPECT_EQ(symbol.shortTraces().at(0).tip, AcGePoint3d(2.5, -2, 0));
    // The next rebuild gives the full lengths back.
    symbol.rebuildTraces();
    EXPECT_EQ(symbol.longTraces().at(0).tip, AcGePoint3d(0, -3.5, 0));
}

// ---- drawing, explode, grips, transformation -----------------------------------------------

TEST(TaluyObjExplode, TickFormGivesColouredLinesAndTriangleFormTaperedPolylines)
{
    TaluyObj symbol;
    makeStraightSymbol(symbol);
    symbol.setLongColor(3);
    AcDbVoidPtrArray pieces;
    ASSERT_EQ(symbol.explode(pieces), Acad::eOk);
    ASSERT_EQ(pieces.length(), 9);
    for (int i = 0; i < pieces.length(); ++i) {
        auto* line = AcDbLine::cast(static_cast<AcDbEntity*>(pieces[i]));
        ASSERT_NE(line, nullptr);
        EXPECT_EQ(line->colorIndex(), i < 5 ? 3 : 1);
        delete line;
    }
    pieces.removeAll();

    symbol.setFlag(TaluyObj::Flag::TickForm, false);
    ASSERT_EQ(symbol.explode(pieces), Acad::eOk);
    ASSERT_EQ(pieces.length(), 4);
    auto* wedge = AcDbPolyline::cast(static_cast<AcDbEntity*>(pieces[0]));
    ASSERT_NE(wedge, nullptr);
    double startWidth = 0, endWidth = 0;
    wedge->getWidthsAt(0, startWidth, endWidth);
    EXPECT_EQ(startWidth, 0.5);
    EXPECT_EQ(endWidth, 0.0);
    EXPECT_EQ(wedge->colorIndex(), 1);
    for (int i = 0; i < pieces.length(); ++i) delete static_cast<AcDbEntity*>(pieces[i]);
    pieces.removeAll();

    symbol.setFlag(TaluyObj::Flag::ShowLong, true);
    ASSERT_EQ(symbol.explode(pieces), Acad::eOk);
    EXPECT_EQ(pieces.length(), 9);
    for (int i = 0; i < pieces.length(); ++i) delete static_cast<AcDbEntity*>(pieces[i]);
}

TEST(TaluyObjGrips, TraceGripsStartAtTheFirstShortTickWhenLongTicksAreHidden)
{
    TaluyObj symbol;
    makeStraightSymbol(symbol);
    symbol.setFlag(TaluyObj::Flag::TickForm, false);
    AcGePoint3dArray grips;
    AcDbIntArray modes, ids;
    ASSERT_EQ(symbol.getGripPoints(grips, modes, ids), Acad::eOk);
    ASSERT_EQ(grips.length(), 2 + 2 * 4);
    // The end grips stand 0.15 divisions to the left of the edge.
    EXPECT_TRUE(grips[0].isEqualTo(AcGePoint3d(0, 0.75, 0), AcGeTol()));
    EXPECT_TRUE(grips[1].isEqualTo(AcGePoint3d(20, 0.75, 0), AcGeTol()));
    EXPECT_EQ(grips[2], symbol.shortTraces().at(0).base);
    EXPECT_EQ(grips[9], symbol.shortTraces().at(3).tip);

    const std::vector<Trace> longBefore = tracesOf(symbol.longTraces());
    ASSERT_EQ(symbol.moveGripPointsAt(AcDbIntArray{2}, AcGeVector3d(0, 1, 0)), Acad::eOk);
    ASSERT_EQ(symbol.moveGripPointsAt(AcDbIntArray{5}, AcGeVector3d(0, -1, 0)), Acad::eOk);
    EXPECT_EQ(symbol.shortTraces().at(0).base, AcGePoint3d(2.5, 1, 0));
    EXPECT_EQ(symbol.shortTraces().at(1).tip, AcGePoint3d(7.5, -3, 0));
    EXPECT_EQ(symbol.longTraces().at(0).base, longBefore[0].base);

    // With long ticks shown, index 2 is the first long tick's base.
    symbol.setFlag(TaluyObj::Flag::ShowLong, true);
    grips.removeAll();
    symbol.getGripPoints(grips, modes, ids);
    ASSERT_EQ(grips.length(), 2 + 2 * 9);
    EXPECT_EQ(grips[2], symbol.longTraces().at(0).base);
    ASSERT_EQ(symbol.moveGripPointsAt(AcDbIntArray{13}, AcGeVector3d(0, 1, 0)), Acad::eOk);
    EXPECT_EQ(symbol.shortTraces().at(0).tip, AcGePoint3d(2.5, -1, 0));
}

TEST(TaluyObjGrips, TheStartGripSlidesAlongTheEdgeAndRebuilds)
{
    TaluyObj symbol;
    makeStraightSymbol(symbol);
    ASSERT_EQ(symbol.moveGripPointsAt(AcDbIntArray{0, 1}, AcGeVector3d(6, 3, 0)), Acad::eOk);
    EXPECT_EQ(symbol.startPoint(), AcGePoint3d(6, 0, 0));
    EXPECT_EQ(symbol.endPoint(), AcGePoint3d(20, 0, 0));  // only the first index counts
    ASSERT_EQ(symbol.longTraces().count(), 3);  // 6, 11, 16
    EXPECT_EQ(symbol.longTraces().at(2).base, AcGePoint3d(16, 0, 0));
}

TEST(TaluyObjTransform, AMovedSymbolKeepsItsTicksAtTheNextRebuild)
{
    TaluyObj symbol;
    makeStraightSymbol(symbol);
    AcGeMatrix3d move;
    move.setToTranslation(AcGeVector3d(100, 50, 0));
    ASSERT_EQ(symbol.transformBy(move), Acad::eOk);
    EXPECT_EQ(symbol.longTraces().at(1).base, AcGePoint3d(105, 50, 0));
    EXPECT_EQ(symbol.shortTraces().at(0).tip, AcGePoint3d(102.5, 48, 0));
    EXPECT_EQ(symbol.startPoint(), AcGePoint3d(100, 50, 0));
    const std::vector<Trace> moved = tracesOf(symbol.longTraces());
    symbol.rebuildTraces();
    ASSERT_EQ(symbol.longTraces().count(), static_cast<int>(moved.size()));
    for (size_t i = 0; i < moved.size(); ++i)
        EXPECT_TRUE(symbol.longTraces().at(static_cast<int>(i)).tip.isEqualTo(moved[i].tip, AcGeTol())) << i;
}

// ---- filing ------------------------------------------------------------------------------

void setEveryField(TaluyObj& symbol)
{
    symbol.setDivisionLength(4.0);
    symbol.setStepsPerDivision(3);
    symbol.setLongPerTangent(2);
    symbol.setShortRatio(0.375);
    symbol.setToeClearance(0.25);
    symbol.setTriangleWidth(0.8);
    symbol.setShortColor(6);
    symbol.setLongColor(2);
    symbol.setLongLength(7.5);
    symbol.setShortLength(2.5);
    symbol.setFlag(TaluyObj::Flag::TickForm, false);
    symbol.setFlag(TaluyObj::Flag::ShowLong, true);
}

// Every field holds a value unlike its default and unlike the others, so a field filed out of
// order or not read back makes the second filing differ from the first.
TEST(TaluyObjFiling, BinaryRoundTripReadsEveryFieldBackInOrder)
{
    TestDrawing drawing;
    const AcDbObjectId edge = addPolyline(drawing, {{0, 0}, {20, 0}});
    const AcDbObjectId toe = addPolyline(drawing, {{-1, -4}, {30, -4}});
    TaluyObj own, linked;
    setEveryField(own);
    ASSERT_TRUE(own.setSourcePoints(points({{0, 0}, {9, 1}, {20, 0.5}}), points({{-1, -4}, {30, -6}})));
    ASSERT_TRUE(linked.setSourcePolylines(edge, toe));
    linked.setRange(AcGePoint3d(), AcGePoint3d(), TaluyObj::Range::WholeEdge);
    for (TaluyObj* symbol : {&own, &linked}) {
        AcDbDwgFiler out;
        ASSERT_EQ(symbol->dwgOutFields(&out), Acad::eOk);
        TaluyObj copy;
        copy.setSourcePoints(points({{5, 5}, {6, 6}, {7, 7}, {8, 8}}), points({}));  // replaced on reading
        out.seekToStart();
        ASSERT_EQ(copy.dwgInFields(&out), Acad::eOk);
        AcDbDwgFiler again;
        copy.dwgOutFields(&again);
        EXPECT_EQ(again.buffer(), out.buffer());
        EXPECT_EQ(copy.shortTraces().count(), symbol->shortTraces().count());
    }
    AcDbDwgFiler out;
    linked.dwgOutFields(&out);
    TaluyObj copy;
    out.seekToStart();
    copy.dwgInFields(&out);
    EXPECT_EQ(copy.edgeId(), edge);
    EXPECT_EQ(copy.toeId(), toe);
    EXPECT_TRUE(copy.edgePoints().isEmpty());
}

TEST(TaluyObjFiling, ADrawingSavedAndReadBackIsSavedUnchangedAndKeepsItsLinks)
{
    TaluyObj::desc()->setCustom(true);
    TestDrawing drawing;
    const AcDbObjectId edge = addPolyline(drawing, {{0, 0}, {12, 3}, {30, 0}});
    const AcDbObjectId toe = addPolyline(drawing, {{-2, -8}, {40, -9}});
    auto* linked = new TaluyObj;
    setEveryField(*linked);
    ASSERT_TRUE(linked->setSourcePolylines(edge, toe));
    linked->setRange(AcGePoint3d(2, 0, 0), AcGePoint3d(27, 0, 0), TaluyObj::Range::BetweenPoints);
    drawing.add(linked);
    auto* own = new TaluyObj;
    ASSERT_TRUE(own->setSourcePoints(points({{0, 20}, {10, 21.25}}), points({})));
    drawing.add(own);
    const auto saved = drawing.save("symbols.dxf");

    auto loaded = fendo::test::loadDrawing(saved);
    ASSERT_TRUE(loaded);
    const auto symbols = fendo::test::modelSpaceEntities(*loaded, TaluyObj::desc());
    ASSERT_EQ(symbols.size(), 2u);
    // Every field was read back: saving the drawing read back writes the same file.
    const auto resaved = fendo::test::scratchDir("symbols-again") / "symbols.dxf";
    std::string error;
    ASSERT_EQ(loaded->dxfOut(resaved.wstring(), &error), Acad::eOk) << error;
    EXPECT_EQ(fendo::test::readFile(resaved), fendo::test::readFile(saved));

    // The link leads to the polylines of the drawing read back: a rebuild there gives the same
    // ticks (to rounding: the stored start and end are projected onto the edge once more).
    TaluyObj* relinked = nullptr;
    ASSERT_EQ(acdbOpenObject(relinked, symbols[0], AcDb::kForWrite), Acad::eOk);
    EXPECT_EQ(relinked->edgeId().handle(), edge.handle());
    EXPECT_EQ(relinked->toeId().handle(), toe.handle());
    EXPECT_EQ(relinked->longPerTangent(), 2);
    const std::vector<Trace> before = tracesOf(relinked->longTraces());
    ASSERT_GT(before.size(), 4u);
    EXPECT_TRUE(relinked->rebuildTraces());
    ASSERT_EQ(relinked->longTraces().count(), static_cast<int>(before.size()));
    for (size_t i = 0; i < before.size(); ++i)
        EXPECT_TRUE(relinked->longTraces().at(static_cast<int>(i)).tip.isEqualTo(before[i].tip, AcGeTol())) << i;
    relinked->close();
}

TEST(TaluyObjFiling, ProxyGraphicsOfASavedSymbolHoldItsTicks)
{
    if (!fendo::test::haveEzdxf()) GTEST_SKIP() << "/usr/bin/python3 has no ezdxf";
    TaluyObj::desc()->setCustom(true);
    TestDrawing drawing;
    auto* symbol = new TaluyObj;
    ASSERT_TRUE(symbol->setSourcePoints(points({{0, 0}, {20, 0}}), points({{-1, -4}, {30, -4}})));
    symbol->setLongColor(3);
    drawing.add(symbol);
    // In triangle form without long ticks: one filled triangle per short tick.
    auto* triangles = new TaluyObj;
    ASSERT_TRUE(triangles->setSourcePoints(points({{0, 10}, {10, 10}}), points({{-1, 14}, {30, 14}})));
    triangles->setFlag(TaluyObj::Flag::TickForm, false);
    drawing.add(triangles);
    const auto saved = drawing.save("proxy.dxf");
    const auto check = fendo::test::runPython(R"(
import ezdxf
from ezdxf.proxygraphic import ProxyGraphic
doc = ezdxf.readfile(')" + saved.string() + R"(')
for symbol in doc.modelspace().query('DRAWTALUY'):
    for e in ProxyGraphic(symbol.proxy_graphic, doc).virtual_entities():
        if e.dxftype() == 'POLYLINE':
            v = [(round(p[0], 6), round(p[1], 6)) for p in e.points()]
        else:
            v = [(round(p[0], 6), round(p[1], 6)) for p in e.paths[0].vertices]
        print(e.dxftype(), e.dxf.color, v)
)");
    ASSERT_EQ(check.exitCode, 0) << check.output;
    EXPECT_EQ(check.output,
              "POLYLINE 3 [(0.0, 0.0), (0.0, -3.5)]\n"
              "POLYLINE 3 [(5.0, 0.0), (5.0, -3.5)]\n"
              "POLYLINE 3 [(10.0, 0.0), (10.0, -3.5)]\n"
              "POLYLINE 3 [(15.0, 0.0), (15.0, -3.5)]\n"
              "POLYLINE 3 [(20.0, 0.0), (20.0, -3.5)]\n"
              "POLYLINE 1 [(2.5, 0.0), (2.5, -2.0)]\n"
              "POLYLINE 1 [(7.5, 0.0), (7.5, -2.0)]\n"
              "POLYLINE 1 [(12.5, 0.0), (12.5, -2.0)]\n"
              "POLYLINE 1 [(17.5, 0.0), (17.5, -2.0)]\n"
              "HATCH 1 [(2.25, 10.0), (2.75, 10.0), (2.5, 12.0)]\n"
              "HATCH 1 [(7.25, 10.0), (7.75, 10.0), (7.5, 12.0)]\n");
}

// The plain export hands the drawing to programs without the module: each symbol becomes the
// lines its explode gives, in the tick colours, on the symbol's own layer.
TEST(TaluyObjFiling, ThePlainExportWritesTheTicksAsLinesOnTheSymbolsLayer)
{
    TestDrawing drawing;
    auto* symbol = new TaluyObj;
    makeStraightSymbol(*symbol);
    symbol->setLongColor(3);
    drawing.add(symbol, L"TALUY");
    const auto input = drawing.save("plain-input.dxf");
    const auto plain = fendo::test::scratchDir("plain") / "plain.dxf";
    const auto run = fendo::test::runFendo({input.string(), "--export-plain", plain.string()});
    ASSERT_EQ(run.exitCode, 0) << run.output;
    EXPECT_EQ(fendo::test::readFile(plain).find("DRAWTALUY"), std::string::npos);

    auto exported = fendo::test::loadDrawing(plain);
    ASSERT_TRUE(exported);
    int longLines = 0, shortLines = 0;
    for (const AcDbObjectId& id : fendo::test::modelSpaceEntities(*exported)) {
        AcDbLine* line = nullptr;
        ASSERT_EQ(acdbOpenObject(line, id, AcDb::kForRead), Acad::eOk) << "only lines are exported";
        EXPECT_EQ(std::wstring(line->layer()), L"TALUY");
        if (line->colorIndex() == 3) {
            ++longLines;
        } else {
            EXPECT_EQ(line->colorIndex(), 1);
            ++shortLines;
        }
        line->close();
    }
    EXPECT_EQ(longLines, 5);
    EXPECT_EQ(shortLines, 4);
}

}  // namespace
