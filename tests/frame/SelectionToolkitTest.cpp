// The module's selection toolkit against the host's selection: filters built from types and
// layers, the selection modes, predicates and single picks, answered from in-memory scripts.
#include <gtest/gtest.h>

#include <numbers>
#include "frame/Selection.h"
#include "host/editor/acedSS.h"
#include "host/db/entities/AcDbArc.h"
#include "host/db/entities/AcDbLine.h"
#include "host/db/entities/AcDbPolyline.h"
#include "host/db/entities/AcDbViewport.h"
#include "host/editor/Editor.h"
#include "host/editor/InputSource.h"
#include "support/TestDrawing.h"

using namespace fendo::test;

namespace {
class SelectionToolkit : public ::testing::Test {
protected:
    void SetUp() override
    {
        fendo::editor::editor().reset();
        fendo::editor::editor().captureOutput(&m_output);
        m_line = m_drawing.add(new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(10, 0, 0)), L"ROADS");
        auto* pline = new AcDbPolyline;
        pline->addVertexAt(0, AcGePoint2d(0, 10));
        pline->addVertexAt(1, AcGePoint2d(10, 10));
        m_pline = m_drawing.add(pline, L"ROAD");
        m_arc = m_drawing.add(new AcDbArc(AcGePoint3d(20, 0, 0), 2, 0, std::numbers::pi), L"TREES");
        m_viewport = m_drawing.add(new AcDbViewport, L"ROAD");
    }
    void TearDown() override { fendo::editor::editor().reset(); }
    void answer(const char* script)
    {
        fendo::editor::editor().setInput(fendo::editor::ScriptInput::fromString(script));
    }
    std::vector<AcDbObjectId> ids(const FilterObjects& f) { return f.ids(); }

    TestDrawing m_drawing;
    std::string m_output;
    AcDbObjectId m_line, m_pline, m_arc, m_viewport;
};

// The filter chain as (code, text) pairs.
std::vector<std::pair<int, std::wstring>> groups(const resbuf* rb)
{
    std::vector<std::pair<int, std::wstring>> out;
    for (; rb; rb = rb->rbnext) out.emplace_back(rb->restype, rb->resval.rstring);
    return out;
}
}  // namespace

TEST_F(SelectionToolkit, TypesExclusionsAndLayersBuildOneAndOfOrs)
{
    FilterObjects f;
    f.reset();
    f.addType(L"LINE");
    f.addType(L"LWPOLYLINE");
    f.addType(L"LINE");
    f.addLayer(L"ROAD");
    f.selectAll();
    using G = std::vector<std::pair<int, std::wstring>>;
    EXPECT_EQ(groups(f.filter()), (G{{-4, L"<and"}, {-4, L"<or"}, {0, L"LINE"}, {0, L"LWPOLYLINE"}, {-4, L"or>"},
                                     {-4, L"<not"}, {0, L"VIEWPORT"}, {-4, L"not>"}, {-4, L"<or"}, {8, L"ROAD"},
                                     {-4, L"or>"}, {-4, L"and>"}}));
    // "ROAD" as a host pattern matches only ROAD, not ROADS.
    EXPECT_EQ(ids(f), std::vector<AcDbObjectId>{m_pline});
}

TEST_F(SelectionToolkit, ALayerContainedInTheListIsNotAddedAgainButALongerOneIs)
{
    FilterObjects f;
    f.addLayer(L"ROADS");
    f.addLayer(L"ROAD");  // a substring of ROADS: nothing is added
    f.selectAll();
    EXPECT_EQ(ids(f), std::vector<AcDbObjectId>{m_line});
    f.addLayer(L"TREES");
    f.selectAll();
    EXPECT_EQ(groups(f.filter())[2], (std::pair<int, std::wstring>{8, L"ROADS,TREES"}));
    EXPECT_EQ(ids(f), (std::vector<AcDbObjectId>{m_line, m_arc}));
}

TEST_F(SelectionToolkit, WithoutConditionsEverythingIsSelectedAndResetExcludesViewports)
{
    FilterObjects f;
    EXPECT_EQ(f.selectAll(), 4);
    EXPECT_EQ(f.filter(), nullptr);
    f.reset();
    EXPECT_EQ(f.selectAll(), 3);
    EXPECT_EQ(ids(f), (std::vector<AcDbObjectId>{m_line, m_pline, m_arc}));
}

TEST_F(SelectionToolkit, PolygonKindsSelectByCrossingFenceAndWindowAndAnUnknownKindSelectsNothing)
{
    FilterObjects f;
    f.reset();
    AcGePoint3dArray square;
    for (auto [x, y] : {std::pair{-1.0, -1.0}, {5.0, -1.0}, {5.0, 11.0}, {-1.0, 11.0}}) square.append(AcGePoint3d(x, y, 0));
    EXPECT_EQ(f.selectPolygon(square, 0), 2);  // crossing: the line and the polyline
    EXPECT_EQ(f.selectPolygon(square, 2), 0);  // window: neither lies wholly inside
    AcGePoint3dArray fence;
    fence.append(AcGePoint3d(5, -5, 0));
    fence.append(AcGePoint3d(5, 5, 0));
    EXPECT_EQ(f.selectPolygon(fence, 1), 1);
    EXPECT_EQ(ids(f), std::vector<AcDbObjectId>{m_line});
    EXPECT_EQ(f.selectPolygon(square, 3), 0);
    EXPECT_EQ(ids(f), std::vector<AcDbObjectId>{m_line});  // ids of the last selection kept
}

TEST_F(SelectionToolkit, InteractiveSelectionHonoursTheFilterAndKeepsPickOrder)
{
    FilterObjects f;
    f.reset();
    f.addType(L"LWPOLYLINE");
    f.addType(L"ARC");
    answer("20,2\n5,0\n5,10\n\n");
    EXPECT_EQ(f.select(L"\nChon: "), 2);
    EXPECT_EQ(ids(f), (std::vector<AcDbObjectId>{m_arc, m_pline}));
}

TEST_F(SelectionToolkit, ACancelledSelectionLeavesTheIdsAsTheyWere)
{
    FilterObjects f;
    f.selectAll();
    answer("5,0\n^C\n");
    EXPECT_EQ(f.select(L"\nChon: "), 0);
    EXPECT_EQ(f.count(), 4);
}

TEST_F(SelectionToolkit, SelectMatchingKeepsPolylinesAndArcsInPickOrder)
{
    sset::KindOf plines(AcDbPolyline::desc());
    sset::KindOf arcs(AcDbArc::desc());
    sset::OrCondition either(plines, arcs);
    std::vector<AcDbObjectId> picked;
    answer("5,10\n5,0\n20,2\n\n");
    EXPECT_EQ(selectMatching(picked, either, L"\nChon: ", L"\nRemove objects:", Highlight::No), 2);
    EXPECT_EQ(picked, (std::vector<AcDbObjectId>{m_pline, m_arc}));
}

TEST_F(SelectionToolkit, APickReturnsTheObjectAndThePointAndACancelGivesTheNullId)
{
    AcGePoint3d at;
    answer("3,0.2\n^C\n");
    EXPECT_EQ(pickEntity(L"\nPick: ", Highlight::Yes, &at), m_line);
    EXPECT_DOUBLE_EQ(at.x, 3.0);
    const AcDbObjectId none = pickEntity(L"\nPick: ", Highlight::No);
    EXPECT_TRUE(none.isNull());
    eraseEntity(none);  // nothing happens
    EXPECT_FALSE(m_line.isErased());
}

TEST_F(SelectionToolkit, PickMatchingRefusesAnObjectOfTheWrongKind)
{
    sset::KindOf arcs(AcDbArc::desc());
    AcDbObjectId id;
    answer("5,0\n20,2\n");
    EXPECT_FALSE(pickMatching(id, nullptr, arcs, Highlight::No));
    EXPECT_TRUE(pickMatching(id, nullptr, arcs, Highlight::No));
    EXPECT_EQ(id, m_arc);
}

TEST_F(SelectionToolkit, SelectAllByFilterAppendsOnRequestAndEraseEntityErases)
{
    std::vector<AcDbObjectId> found{m_arc};
    EXPECT_EQ(selectAllByFilter(CResbuf(8, L"ROAD*"), found, AppendIds::Yes), 4);
    EXPECT_EQ(selectAllByFilter(CResbuf(CResbuf(0, L"LINE"), CResbuf(8, L"ROADS")), found, AppendIds::No), 1);
    eraseEntity(m_line);
    EXPECT_TRUE(m_line.isErased());
}

TEST(HostWildcards, MatchTheHostsPatternLanguage)
{
    struct Case {
        const wchar_t* text;
        const wchar_t* pattern;
        bool match;
    };
    const Case cases[] = {
        {L"ROAD", L"road", true},       {L"ROADS", L"ROAD", false},  {L"P1", L"P#", true},
        {L"P#", L"P#", false},          {L"PX", L"P@", true},        {L"A-1", L"A.1", true},
        {L"AB1", L"A.1", false},        {L"Kerb", L"K*", true},      {L"Tree", L"~T*", false},
        {L"Road", L"~T*", true},        {L"L2", L"L[1-3]", true},    {L"L4", L"L[1-3]", false},
        {L"a,b", L"a`,b", true},        {L"ROAD", L"KERB,ROAD", true}, {L"", L"*", true},
    };
    for (const Case& c : cases) EXPECT_EQ(acutWcMatch(c.text, c.pattern), c.match) << c.text << " ~ " << c.pattern;
}
