// The pieces under the get functions: number and point syntax, keyword matching, host-style
// printf and UTF-8, checked as tables of answers.
#include <gtest/gtest.h>

#include <optional>

#include "host/editor/AnswerGrammar.h"
#include "host/editor/HostFormat.h"
#include "host/editor/Utf8.h"

using namespace fendo::editor;

TEST(AnswerNumbers, AcceptOnlyWholeDecimalNumbers)
{
    const struct {
        const wchar_t* text;
        std::optional<double> value;
    } cases[] = {
        {L"2.5", 2.5}, {L" -4 ", -4.0}, {L"+.5", 0.5}, {L"1e3", 1000.0}, {L"1.5E-2", 0.015}, {L"7.", 7.0},
        {L"", {}},     {L"-", {}},      {L".", {}},    {L"1e", {}},      {L"nan", {}},       {L"inf", {}},
        {L"0x10", {}}, {L"1,5", {}},    {L"2.5x", {}}, {L"--1", {}},     {L"1e999", {}},     {L"1 2", {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(parseNumber(c.text), c.value) << "'" << toUtf8(c.text) << "'";
    }
    EXPECT_EQ(parseInteger(L"-12"), -12);
    EXPECT_EQ(parseInteger(L"2.0"), std::nullopt);
    EXPECT_EQ(parseInteger(L"+"), std::nullopt);
}

TEST(AnswerPoints, ReadAbsoluteRelativeAndPolarForms)
{
    const Point3 last{10, 20, 30};
    const struct {
        const wchar_t* text;
        std::optional<Point3> point;
    } cases[] = {
        {L"1,2", Point3{1, 2, 0}},
        {L" 1 , 2 , 3 ", Point3{1, 2, 3}},
        {L"@1,2", Point3{11, 22, 30}},
        {L"@ 0,0,-30", Point3{10, 20, 0}},
        {L"@", last},
        {L"5<0", Point3{5, 0, 0}},
        {L"1", {}},
        {L"1,", {}},
        {L",1", {}},
        {L"1,2,3,4", {}},
        {L"1;2", {}},
        {L"a,b", {}},
        {L"5<", {}},
        {L"@@1,1", {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(parsePoint(c.text, last), c.point) << "'" << toUtf8(c.text) << "'";
    }
}

TEST(KeywordMatching, FollowsFullShortFormPrefixOrder)
{
    const KeywordList list(L"Undo eXit LType LWeight Exact");
    const struct {
        const wchar_t* answer;
        std::optional<std::wstring> keyword;
    } cases[] = {
        {L"UNDO", L"Undo"}, {L"u", L"Undo"},   {L"X", L"eXit"},     {L"ex", {}},  // eXit or Exact
        {L"exa", L"Exact"}, {L"lt", L"LType"}, {L"LW", L"LWeight"}, {L"L", {}},   // LType or LWeight
        {L"E", L"Exact"},   {L"Undone", {}},   {L"", {}},           {L"_Undo", L"Undo"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(list.match(c.answer), c.keyword) << "'" << toUtf8(c.answer) << "'";
    }
    EXPECT_EQ(list.describe(), L"Undo/eXit/LType/LWeight/Exact");
}

TEST(KeywordMatching, PairsLocalAndGlobalNamesByPosition)
{
    const KeywordList list(L"Dung Bo _Accept Discard");
    EXPECT_EQ(list.match(L"d"), L"Accept");
    EXPECT_EQ(list.match(L"BO"), L"Discard");
    EXPECT_EQ(list.match(L"_disc"), L"Discard");
    EXPECT_EQ(list.match(L"_Bo"), std::nullopt) << "global answers are matched against global names only";
    EXPECT_TRUE(KeywordList(L"   ").empty());
}

TEST(HostPrintf, FormatsLikeTheHostsWidePrintf)
{
    const wchar_t* nullText = nullptr;
    EXPECT_EQ(formatHostV(L"[%s|%ls|%S|%hs]", L"wide", L"long", "narrow", "short"),
              L"[wide|long|narrow|short]");
    EXPECT_EQ(formatHostV(L"[%5s|%-5s|%.2s|%*d]", L"ab", L"ab", L"abcdef", 4, 7), L"[   ab|ab   |ab|   7]");
    EXPECT_EQ(formatHostV(L"[%c%C%hc%lc]", L'ơ', 'a', 'b', L'đ'), L"[ơabđ]");
    EXPECT_EQ(formatHostV(L"[%x|%X|%05u|%+d|%ld|%zu|%I64u]", 255u, 255u, 42u, 3, -5L, std::size_t{9},
                          18446744073709551615ull),
              L"[ff|FF|00042|+3|-5|9|18446744073709551615]");
    EXPECT_EQ(formatHostV(L"[%.3f|%g|%e]", 1.0 / 3, 0.0001, 1234.5), L"[0.333|0.0001|1.234500e+03]");
    EXPECT_EQ(formatHostV(L"[%s]", nullText), L"[(null)]");
    EXPECT_EQ(formatHostV(L"100%% done %"), L"100% done %") << "a lone '%' at the end is kept";
    EXPECT_EQ(formatHostV(L"%hs", "Vi\xE1\xBB\x87t"), L"Việt") << "narrow strings are read as UTF-8";
}

TEST(Utf8Text, RoundTripsAllPlanesAndReplacesMalformedBytes)
{
    const std::wstring text = L"Tọa độ: x=1 € 𝄞";
    EXPECT_EQ(fromUtf8(toUtf8(text)), text);
    EXPECT_EQ(toUtf8(L"đ"), "\xC4\x91");
    // A cut sequence, a stray continuation byte, an overlong '/' and a surrogate each give U+FFFD.
    EXPECT_EQ(fromUtf8("a\xE1\xBB"), L"a\xFFFD\xFFFD");
    EXPECT_EQ(fromUtf8("\x80z"), L"\xFFFDz");
    EXPECT_EQ(fromUtf8("\xC0\xAF"), L"\xFFFD\xFFFD");
    EXPECT_EQ(fromUtf8("\xED\xA0\x80"), L"\xFFFD\xFFFD\xFFFD");
}
