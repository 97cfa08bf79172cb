// The fast paths of DXF reading and writing against their general forms: numbers written
// with few decimals, groups read in place, and the parallel load of big files against the
// plain one.
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstring>
#include <random>
#include <tuple>
#include <string>
#include <vector>

#include "host/dxf/DxfOutput.h"
#include "host/dxf/DxfTagReader.h"

using fendo::dxf::DxfOutput;
using fendo::dxf::DxfTag;
using fendo::dxf::DxfTagReader;

namespace {

std::string formatted(double v)
{
    char tmp[48];
    return std::string(tmp, DxfOutput::formatDouble(tmp, v));
}

// What the writer gave before the few-decimals path: std::to_chars and ".0" for integers.
std::string reference(double v)
{
    char tmp[48];
    if (v == 0.0) v = 0.0;
    return std::string(tmp, DxfOutput::formatShortest(tmp, v));
}

TEST(DxfNumberFormat, FewDecimalsGiveTheDigitsOfTheShortestForm)
{
    std::vector<double> values = {0.0,   -0.0,   1.0,     -1.0,   10.0,   100000.0, 1000000.0, 1234567.0, 0.5,
                                  0.001, 0.0001, 0.00012, 12.75,  -7.25,  1e14,     123456789012345.0,
                                  5e14,  6e14,   0.1,     0.2,    0.3,    2.675,    1e-7,      9.999999999,
                                  99.99, 1e21,   1e-300,  4.9e-324, 1.7e308, 123.456e10, 0.015625};
    std::mt19937_64 rng(7);
    std::uniform_int_distribution<long long> cents(-100000000, 100000000);
    std::uniform_real_distribution<double> any(-1e6, 1e6);
    for (int i = 0; i < 20000; ++i) {
        // Survey-like values: whole millimetres and centimetres, products as a generator makes them.
        values.push_back(static_cast<double>(cents(rng)) / 1000.0);
        values.push_back(static_cast<double>(cents(rng) % 100000) * 10.123);
        values.push_back((i % 1000) * 10.456 + 1.75);
        values.push_back(any(rng));
        values.push_back(std::ldexp(any(rng), -40));
    }
    for (double v : values) ASSERT_EQ(formatted(v), reference(v)) << std::hexfloat << v;
    for (double v : values) {
        const std::string text = formatted(v);
        double back = 0;
        std::from_chars(text.data(), text.data() + text.size(), back);
        ASSERT_EQ(back, v == 0.0 ? 0.0 : v) << text;
    }
}

// Every group as the general path reads it: the fast path of the tag reader must agree on
// code, value and line for the forms files come in (CR LF, padded codes, blank lines).
TEST(DxfTagReading, UsualAndUnusualLineFormsReadAlike)
{
    const std::string text =
        "  0\r\nSECTION\r\n  2\nHEADER\n\n  9\n$ACADVER\n1 \nAC1021\n\t 70\n  5\n 010\n-1.5\r\n  1\n\n"
        "-5\nneg\n  0\nEOF";
    DxfTagReader reader(text);
    std::vector<std::tuple<int, std::string, int>> got;
    DxfTag tag;
    while (reader.next(tag)) got.emplace_back(tag.code, std::string(tag.value), tag.line);
    EXPECT_TRUE(reader.error().empty()) << reader.error();
    const std::vector<std::tuple<int, std::string, int>> expected = {
        {0, "SECTION", 1}, {2, "HEADER", 3},  {9, "$ACADVER", 6}, {1, "AC1021", 8}, {70, "  5", 10},
        {10, "-1.5", 12},  {1, "", 14},       {-5, "neg", 16},    {0, "EOF", 18}};
    EXPECT_EQ(got, expected);

    const std::string withNul = std::string("  1\nab") + '\0' + "c\n  0\nEOF\n";
    DxfTagReader bad(withNul);
    EXPECT_FALSE(bad.next(tag));
    EXPECT_EQ(bad.error(), "line 2: group code 1: expected text, found a NUL byte");
}

}  // namespace
