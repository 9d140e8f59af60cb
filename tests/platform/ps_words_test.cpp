// Numbers in a PostScript job read as the exact conversion writes them:
// rounded as the number itself is (a tie to even), trailing zeros and a
// bare point dropped, no "-0", whatever the decimals and the size.
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <random>
#include <string>

#include "postscript/ps_words.h"

namespace {

std::string Exact(double v, int decimals)
{
    v = std::fmax(std::fmin(v, 1e9), -1e9);
    char b[64];
    char* end = std::to_chars(b, b + sizeof b, v, std::chars_format::fixed, decimals).ptr;
    if (decimals > 0) {
        while (end > b && end[-1] == '0')
            --end;
        if (end > b && end[-1] == '.')
            --end;
    }
    std::string text(b, end);
    return text == "-0" ? "0" : text;
}

std::string Written(double v, int decimals)
{
    std::string out;
    PsAppendNumber(&out, v, decimals);
    return out;
}

}  // namespace

TEST(PsWords, ANumberReadsAsTheExactConversionWritesIt)
{
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> page(-2000.0, 2000.0);
    std::uniform_int_distribution<int> exponent(-12, 14);
    for (int decimals = 0; decimals <= 12; ++decimals) {
        for (int i = 0; i < 20000; ++i) {
            const double v = i % 2 ? page(random) : page(random) * std::pow(10.0, exponent(random));
            ASSERT_EQ(Written(v, decimals), Exact(v, decimals)) << v << " to " << decimals;
        }
        // Ties and near-ties, whole numbers, tiny and huge, both signs.
        for (const double v : {0.5, 1.5, 2.5, 0.125, 0.375, 1.005, 2.675, 0.0049999999, 0.005, 1e-12, 123456.5,
                               999999.9999999, 1e9, 2e9, 1e15, 0.0, 7.0, 100.0, 0.1, 0.0001}) {
            for (const double sign : {1.0, -1.0}) {
                ASSERT_EQ(Written(sign * v, decimals), Exact(sign * v, decimals)) << sign * v << " to " << decimals;
            }
        }
    }
    EXPECT_EQ(Written(-0.001, 2), "0");
    EXPECT_EQ(Written(0.05, 2), "0.05");
    EXPECT_EQ(Written(-12.5, 0), "-12");
    EXPECT_EQ(Written(std::nan(""), 2), "0");
}
