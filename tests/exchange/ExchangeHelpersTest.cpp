// The pieces behind the exchange commands that are easiest to get subtly wrong: the
// nearest-text index against the plain scan (ties included), cell names, and comparing
// Vietnamese texts ignoring case and accent composition.
#include <gtest/gtest.h>

#include <random>

#include "exchange/CellNames.h"
#include "exchange/NearestText.h"
#include "exchange/TextMatch.h"

using namespace fendo::exchange;

TEST(NearestTexts, NamesEveryVertexAsTheScanDoesWithTiesAndTextsRunningOut)
{
    std::mt19937 random(11);
    // Coarse coordinates make many equal distances; more vertices than texts use them all up.
    std::uniform_int_distribution<int> grid(0, 12);
    for (int round = 0; round < 20; ++round) {
        std::vector<AcGePoint3d> texts, vertices;
        for (int i = 0; i < 150; ++i) texts.emplace_back(grid(random), grid(random), grid(random) % 3);
        for (int i = 0; i < 170; ++i) vertices.emplace_back(grid(random), grid(random), grid(random));
        NearestTexts index(texts);
        std::vector<int> indexed;
        for (const auto& v : vertices) indexed.push_back(index.takeNearest(v));
        ASSERT_EQ(indexed, nearestTextsByScan(texts, vertices)) << "round " << round;
        EXPECT_EQ(indexed.back(), -1);
    }
}

TEST(NearestTexts, DistanceIsTakenToTheVertexAtHeightZero)
{
    NearestTexts index({{0, 0, 5}, {3, 0, 0}});
    EXPECT_EQ(index.takeNearest({0, 0, 5}), 1) << "the vertex's own height is not used";
    EXPECT_EQ(index.takeNearest({0, 0, 0}), 0);
    EXPECT_EQ(index.takeNearest({0, 0, 0}), -1);
}

TEST(CellNames, LettersAndReferencesRoundTrip)
{
    EXPECT_EQ(columnLetters(0), "A");
    EXPECT_EQ(columnLetters(25), "Z");
    EXPECT_EQ(columnLetters(26), "AA");
    EXPECT_EQ(columnLetters(77), "BZ");
    EXPECT_EQ(columnLetters(78), "CA");
    EXPECT_EQ(columnLetters(16383), "XFD");
    for (int c : {0, 25, 26, 701, 702, 16383}) EXPECT_EQ(columnIndex(columnLetters(c)), c);
    EXPECT_FALSE(columnIndex("XFE"));
    EXPECT_FALSE(columnIndex(""));
    EXPECT_FALSE(columnIndex("A1"));
    const auto ref = parseCellName("$ab$12");
    ASSERT_TRUE(ref);
    EXPECT_EQ(ref->row, 11);
    EXPECT_EQ(ref->column, 27);
    for (const char* bad : {"", "A", "12", "A0", "A1048577", "1A", "A1B", "A-1"})
        EXPECT_FALSE(parseCellName(bad)) << bad;
    EXPECT_EQ(cellName(6, 2), "C7");
}

TEST(TextMatch, VietnameseLettersFoldInAnyCaseAndComposition)
{
    EXPECT_TRUE(sameTextIgnoringCase(L"Mô tả nham thạch", L"MÔ TẢ NHAM THẠCH"));
    // Decomposed, with the dot below and the circumflex in either order.
    EXPECT_TRUE(sameTextIgnoringCase(L"Mô tả nham thạch", L"MO\u0302 TA\u0309 NHAM THA\u0323CH"));
    EXPECT_TRUE(sameTextIgnoringCase(L"\u1EAD", L"a\u0302\u0323"));
    EXPECT_TRUE(sameTextIgnoringCase(L"Đường", L"đƯỜNG"));
    EXPECT_FALSE(sameTextIgnoringCase(L"Mô tả", L"Mo ta"));
    EXPECT_FALSE(sameTextIgnoringCase(L" ab", L"AB"));
}
