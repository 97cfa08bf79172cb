// "JT" and "JT1" driven through fendo on saved drawings: pairing in both modes,
// the second pass, lost halves, window edges, tags and numbering, and a random
// drawing joined as the plain scan of the text lists joins it.
#include <gtest/gtest.h>

#include <random>

#include "commands/survey/TextWindows.h"
#include "frame/LeadingNumber.h"
#include "host/db/AcDbSymbolTable.h"
#include "host/db/entities/AcDbPoint.h"
#include "survey/SurveyTestSupport.h"

using namespace fendo::test;
using fendo::survey::isInside;
using fendo::survey::windowAround;
using fendo::survey::WindowSize;

namespace {
constexpr auto BL = TextCorner::BottomLeft;
constexpr auto BR = TextCorner::BottomRight;

AcDbText* text(const wchar_t* s, TextCorner corner, double x, double y, AcGePoint2d* reached = nullptr)
{
    return textWithCorner(s, corner, AcGePoint2d(x, y), reached);
}

AcDbPoint* marker(double x, double y) { return new AcDbPoint(AcGePoint3d(x, y, 0)); }

void expectPoint(const SurveyPoint& p, double x, double y, double z, int number)
{
    EXPECT_NEAR(p.position.x, x, 1e-9);
    EXPECT_NEAR(p.position.y, y, 1e-9);
    EXPECT_NEAR(p.position.z, z, 1e-9);
    EXPECT_EQ(p.layer, L"DiemDoKVO");
    EXPECT_EQ(p.tag, pointTag(number));
}

bool hasLayer(AcDbDatabase& db, const wchar_t* name)
{
    AcDbLayerTable* table = nullptr;
    if (db.getLayerTable(table, AcDb::kForRead) != Acad::eOk) return false;
    const bool has = table->has(name);
    table->close();
    return has;
}
}  // namespace

TEST(JoinTexts, SplitTextsAroundAMarkerGiveOnePointThenCornersPairWithoutMarkers)
{
    TestDrawing d;
    d.add(marker(10, 20));
    d.add(text(L" 12 ", BR, 9.8, 19.9));
    d.add(text(L".35", BL, 10.2, 19.9));
    // No marker here: the integer text's corner meets the decimal text's corner.
    d.add(text(L"7", BR, 50, 50));
    d.add(text(L".5m", BL, 50.05, 50.02));
    const Session s = surveySession(d, "JT\nall\n\n");
    ASSERT_TRUE(s.result) << s.run.output;
    EXPECT_NE(s.run.output.find("Chon Cac doi tuong can joint(Text va Point):"), std::string::npos);
    const auto points = surveyPoints(*s.result);
    ASSERT_EQ(points.size(), 2u);
    expectPoint(points[0], 10, 20, 12.35, 1);
    // The second pass goes on with the run's numbering.
    expectPoint(points[1], 50, 50, 7.5, 2);
    EXPECT_EQ(modelSpaceEntities(*s.result).size(), 7u);  // the sources stay
}

TEST(JoinTexts, AHalfTakenWithoutItsPartnerIsLostToLaterMarkersAndToTheSecondPass)
{
    TestDrawing d;
    d.add(marker(0, 0));
    d.add(text(L".35", BL, 0.25, -0.25));  // alone in the first marker's square
    d.add(marker(0.5, 0));                 // its square holds .35 too, and "4"
    d.add(text(L"4", BR, 0.6, -0.1));
    d.add(text(L"9", BR, 0.32,
               -0.3));  // outside both squares; its corner square holds .35
    d.add(marker(30, 0));
    d.add(text(L"4", BR, 29.9, -0.1));
    d.add(text(L".25", BL, 30.1, -0.1));
    const Session s = surveySession(d, "JT\nall\n\n");
    ASSERT_TRUE(s.result) << s.run.output;
    const auto points = surveyPoints(*s.result);
    ASSERT_EQ(points.size(), 1u);
    expectPoint(points[0], 30, 0, 4.25, 1);
}

TEST(JoinTexts, BandModeReadsTheTextRightOfTheMarkerAsTheDecimalPartInEitherListOrder)
{
    TestDrawing d;
    d.add(marker(0, 0));
    d.add(text(L"12", BR, -0.2, -0.05));
    d.add(text(L"35", BR, 1.0, -0.05));
    d.add(marker(100, 0));
    d.add(text(L"35", BR, 101.0,
               -0.05));  // first in the list, ends right of its marker
    d.add(text(L"12", BR, 99.8, -0.05));
    // A band with one text makes nothing, and that text is gone for the next
    // marker, whose band holds it and one more.
    d.add(marker(200, 0));
    d.add(text(L"44", BR, 208.5, 0.05));  // in both bands
    d.add(marker(212, 0));
    d.add(text(L"55", BR, 215, 0.05));
    const Session s = surveySession(d, "JT\nall\n\n");
    ASSERT_TRUE(s.result) << s.run.output;
    const auto points = surveyPoints(*s.result);
    ASSERT_EQ(points.size(), 2u);
    expectPoint(points[0], 0, 0, 12.35, 1);
    expectPoint(points[1], 100, 0, 12.35, 2);
}

TEST(JoinTexts, ACornerOnTheWindowEdgeIsNotMatchedAndTheEarlierMarkerWins)
{
    TestDrawing d;
    AcGePoint2d corner;
    d.add(text(L".35", BL, 10.3, 5.0, &corner));
    // The marker whose window's right edge falls exactly on the decimal text's
    // corner.
    const double mx = edgeAt(corner.x, 0.3);
    d.add(marker(mx, corner.y + 0.1));
    d.add(text(L"12", BR, mx - 0.1, corner.y));
    // Two markers 0.2 apart share one pair: the first selected takes it.
    d.add(marker(40, 0));
    d.add(marker(40.2, 0));
    d.add(text(L"21", BR, 40.05, -0.1));
    d.add(text(L".5", BL, 40.15, -0.1));
    const Session s = surveySession(d, "JT\nall\n\n");
    ASSERT_TRUE(s.result) << s.run.output;
    const auto points = surveyPoints(*s.result);
    ASSERT_EQ(points.size(), 1u);
    expectPoint(points[0], 40, 0, 21.5, 1);
}

TEST(JoinTexts, WordyTextsGiveHeightZeroAndOnlyACancelLeavesNoLayer)
{
    TestDrawing d;
    d.add(marker(0, 0));
    d.add(text(L"abc", BR, -0.1, -0.1));
    d.add(text(L".5", BL, 0.1, -0.1));
    const Session s = surveySession(d, "JT\nall\n\n");
    ASSERT_TRUE(s.result) << s.run.output;
    const auto points = surveyPoints(*s.result);
    ASSERT_EQ(points.size(), 1u);
    expectPoint(points[0], 0, 0, 0.0, 1);

    TestDrawing markersOnly;
    markersOnly.add(marker(0, 0));
    markersOnly.add(new AcDbPoint(AcGePoint3d(3, 3, 0)));
    const Session m = surveySession(markersOnly, "JT\nall\n\n");
    ASSERT_TRUE(m.result) << m.run.output;
    EXPECT_TRUE(surveyPoints(*m.result).empty());
    EXPECT_TRUE(hasLayer(*m.result, L"DiemDoKVO"));
    // An empty selection still makes the layer; a cancelled one leaves the drawing alone.
    const Session empty = surveySession(markersOnly, "JT1\n\n");
    ASSERT_TRUE(empty.result);
    EXPECT_TRUE(hasLayer(*empty.result, L"DiemDoKVO"));
    const Session cancelled = surveySession(markersOnly, "JT\n^C\n");
    ASSERT_TRUE(cancelled.result);
    EXPECT_FALSE(hasLayer(*cancelled.result, L"DiemDoKVO"));
}

TEST(JoinAlignedTexts, RightAlignedIntegerMeetsLeftAlignedDecimalAtItsInsertionPoint)
{
    TestDrawing d;
    d.add(textWithCorner(L"105", BR, AcGePoint2d(9.9, 19.95), nullptr, AcDb::kTextRight));
    d.add(new AcDbText(AcGePoint3d(10, 20, 0), L"42", AcDbObjectId::kNull, 0.2));
    // One right-aligned text in reach of two left-aligned ones: the first in the
    // list takes it.
    d.add(textWithCorner(L"7", BR, AcGePoint2d(49.9, 0), nullptr, AcDb::kTextRight));
    d.add(new AcDbText(AcGePoint3d(50, 0.1, 0), L"25", AcDbObjectId::kNull, 0.2));
    d.add(new AcDbText(AcGePoint3d(50.1, 0, 0), L"75", AcDbObjectId::kNull, 0.2));
    const Session s = surveySession(d, "JT1\nall\n\n");
    ASSERT_TRUE(s.result) << s.run.output;
    const auto points = surveyPoints(*s.result);
    ASSERT_EQ(points.size(), 2u);
    expectPoint(points[0], 10, 20, 105.42, 1);
    expectPoint(points[1], 50, 0.1, 7.25, 2);
}

// ---- a random drawing against the plain scan
// ---------------------------------------------

namespace {
struct Part {
    std::wstring text;
    AcGePoint2d anchor;
};

// The first text of the list inside the window from position `from`, removed;
// -1 when none.
int takeFirst(std::vector<Part>& list, double x, double y, const WindowSize& size, std::size_t from, Part& taken)
{
    const auto w = windowAround(x, y, size);
    for (std::size_t k = from; k < list.size(); ++k)
        if (isInside(w, list[k].anchor.x, list[k].anchor.y)) {
            taken = list[k];
            list.erase(list.begin() + static_cast<std::ptrdiff_t>(k));
            return static_cast<int>(k);
        }
    return -1;
}

// "JT" as a scan of its three lists: the expected points (x, y, z) in order of
// creation.
std::vector<AcGePoint3d> scanJoin(const std::vector<AcGePoint2d>& markers, std::vector<Part> ints,
                                  std::vector<Part> decs)
{
    std::vector<AcGePoint3d> out;
    const auto make = [&](AcGePoint2d at, const std::wstring& s) {
        out.emplace_back(at.x, at.y, fendo::leadingNumber(s));
    };
    Part a, b;
    if (!decs.empty()) {
        for (const AcGePoint2d& m : markers) {
            const bool hasInt = takeFirst(ints, m.x, m.y, fendo::survey::kMarkerSquare, 0, a) >= 0;
            const bool hasDec = takeFirst(decs, m.x, m.y, fendo::survey::kMarkerSquare, 0, b) >= 0;
            if (hasInt && hasDec) make(m, a.text + b.text);
        }
        for (const Part& i : ints)
            if (takeFirst(decs, i.anchor.x, i.anchor.y, fendo::survey::kCornerSquare, 0, b) >= 0)
                make(i.anchor, i.text + b.text);
        return out;
    }
    for (const AcGePoint2d& m : markers) {
        const int j = takeFirst(ints, m.x, m.y, fendo::survey::kMarkerBand, 0, a);
        if (j < 0 || takeFirst(ints, m.x, m.y, fendo::survey::kMarkerBand, static_cast<std::size_t>(j), b) < 0)
            continue;
        make(m, m.x < a.anchor.x ? b.text + L"." + a.text : a.text + L"." + b.text);
    }
    return out;
}

// Markers and texts on a coarse lattice, so that windows hold several texts,
// texts coincide and corners fall on window edges.
void randomJoinDrawing(TestDrawing& d, unsigned seed, bool split, std::vector<AcGePoint2d>& markers,
                       std::vector<Part>& ints, std::vector<Part>& decs)
{
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int> lattice(0, 40), kind(0, 2), digits(0, 99);
    const double step = 0.1;
    for (int i = 0; i < 250; ++i) {
        const double x = lattice(rng) * step * (split ? 1 : 3), y = lattice(rng) * step;
        const int k = kind(rng);
        if (k == 0) {
            d.add(marker(x, y));
            markers.emplace_back(x, y);
            continue;
        }
        const bool decimal = split && k == 2;
        const std::wstring s = (decimal ? L"." : L"") + std::to_wstring(digits(rng));
        AcGePoint2d reached;
        d.add(text(s.c_str(), decimal ? BL : BR, x + (decimal ? 0.1 : -0.1), y - 0.1, &reached));
        (decimal ? decs : ints).push_back({s, reached});
    }
}
}  // namespace

TEST(JoinTexts, RandomDrawingsJoinAsTheScanOfTheTextLists)
{
    for (const bool split : {true, false}) {
        for (unsigned seed = 1; seed <= 3; ++seed) {
            TestDrawing d;
            std::vector<AcGePoint2d> markers;
            std::vector<Part> ints, decs;
            randomJoinDrawing(d, seed, split, markers, ints, decs);
            const auto expected = scanJoin(markers, ints, decs);
            const Session s = surveySession(d, "JT\nall\n\n");
            ASSERT_TRUE(s.result) << s.run.output;
            const auto points = surveyPoints(*s.result);
            ASSERT_EQ(points.size(), expected.size()) << "seed " << seed;
            EXPECT_GT(expected.size(), 10u);
            for (std::size_t i = 0; i < points.size(); ++i) {
                EXPECT_EQ(points[i].position, expected[i]) << "seed " << seed << " point " << i;
                EXPECT_EQ(points[i].tag, pointTag(static_cast<int>(i) + 1));
            }
        }
    }
}

// "JT1" on random pairs: each left-aligned text takes the first right-aligned text of the list
// ending in the square around its insertion point, as the scan does.
TEST(JoinAlignedTexts, RandomDrawingsJoinAsTheScanOfTheRightAlignedTexts)
{
    for (unsigned seed = 1; seed <= 3; ++seed) {
        std::mt19937 rng(seed);
        std::uniform_int_distribution<int> lattice(0, 30), side(0, 1), digits(0, 99);
        TestDrawing d;
        std::vector<Part> lefts, rights;
        for (int i = 0; i < 250; ++i) {
            const AcGePoint2d at(lattice(rng) * 0.1, lattice(rng) * 0.1);
            const std::wstring s = std::to_wstring(digits(rng));
            if (side(rng) == 0) {
                d.add(new AcDbText(AcGePoint3d(at.x, at.y, 0), s.c_str(), AcDbObjectId::kNull, 0.2));
                lefts.push_back({s, at});
            } else {
                AcGePoint2d reached;
                d.add(textWithCorner(s.c_str(), BR, at, &reached, AcDb::kTextRight));
                rights.push_back({s, reached});
            }
        }
        std::vector<AcGePoint3d> expected;
        Part taken;
        for (const Part& left : lefts)
            if (takeFirst(rights, left.anchor.x, left.anchor.y, fendo::survey::kMarkerSquare, 0, taken) >= 0)
                expected.emplace_back(left.anchor.x, left.anchor.y,
                                      fendo::leadingNumber(taken.text + L"." + left.text));
        const Session s = surveySession(d, "JT1\nall\n\n");
        ASSERT_TRUE(s.result) << s.run.output;
        const auto points = surveyPoints(*s.result);
        ASSERT_EQ(points.size(), expected.size()) << "seed " << seed;
        EXPECT_GT(expected.size(), 10u);
        for (std::size_t i = 0; i < points.size(); ++i) EXPECT_EQ(points[i].position, expected[i]) << i;
    }
}
