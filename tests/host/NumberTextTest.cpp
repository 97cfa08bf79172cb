// Labels and tags written without printf must read exactly as printf wrote them.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <cwchar>
#include <limits>
#include <random>

#include "host/core/NumberText.h"

TEST(NumberText, FixedAndDecimalTextsAreWhatPrintfWrites)
{
    std::mt19937_64 rng(3);
    std::uniform_real_distribution<double> height(-500.0, 3000.0);
    std::vector<double> values = {0.0, -0.0, 0.125, 0.375, -0.005, 2.675, 1e15, -1e300, 5e-324,
                                  std::numeric_limits<double>::max()};
    for (int i = 0; i < 20000; ++i) {
        values.push_back(height(rng));
        // Heights read from texts: thousandths, with the halves that round to even.
        values.push_back(std::round(height(rng) * 1000.0) / 1000.0 + 0.0005);
        std::uint64_t bits = rng();
        double any;
        std::memcpy(&any, &bits, sizeof any);
        if (std::isfinite(any)) values.push_back(any);
    }
    wchar_t expected[400];
    for (double v : values)
        for (int decimals : {2, 3}) {
            std::swprintf(expected, 400, L"%.*f", decimals, v);
            ASSERT_EQ(fendo::fixedText(v, decimals), expected) << std::hexfloat << v;
        }
    for (long long n : {0LL, 7LL, -42LL, 2147483647LL, -9223372036854775807LL - 1}) {
        std::swprintf(expected, 400, L"%lld", n);
        EXPECT_EQ(fendo::decimalText(n), expected);
    }
}
