// The leading-number rule every text-to-elevation reading shares.
#include "frame/LeadingNumber.h"

#include <gtest/gtest.h>

namespace {

struct Case {
    const wchar_t* text;
    double value;
};

TEST(LeadingNumber, ReadsTheNumberAtTheStartAndIgnoresWhatFollows)
{
    const Case cases[] = {
        {L"12.35m", 12.35}, {L"  -2.5e1x", -25.0}, {L"+7", 7.0}, {L".25", 0.25}, {L"12.", 12.0},
        {L"3e", 3.0},       {L"3e+", 3.0},         {L"1.5E-2", 0.015}, {L"105,42", 105.0}, {L"0x10", 0.0},
    };
    for (const Case& c : cases) EXPECT_DOUBLE_EQ(fendo::leadingNumber(c.text), c.value) << c.text;
}

TEST(LeadingNumber, TextsWithoutALeadingNumberGiveZero)
{
    for (const wchar_t* text : {L"", L"abc", L"x.25", L"-", L".", L"-.e5", L"inf", L"nan", L"1e999"}) {
        EXPECT_EQ(fendo::leadingNumber(text), 0.0) << text;
    }
    EXPECT_FALSE(fendo::startsWithNumber(L"x.25"));
    EXPECT_TRUE(fendo::startsWithNumber(L" 0"));
}

TEST(LeadingNumber, NarrowTextsReadTheSame) { EXPECT_DOUBLE_EQ(fendo::leadingNumber(std::string_view("12.35m")), 12.35); }

TEST(HeightTolerance, ElevationsCloserThanATenThousandthAreEqual)
{
    EXPECT_TRUE(fendo::sameHeight(0.00005, 0.0));
    EXPECT_FALSE(fendo::sameHeight(0.0002, 0.0));
    EXPECT_TRUE(fendo::sameHeight(9.99995, 10.0));
}

}  // namespace
