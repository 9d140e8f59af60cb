// Numbers of a page's content read exactly as written, with their signs,
// up to the digits and places kept, and written back as short as they go;
// sums that would not fit in 64 bits are refused rather than wrapped.
#include <gtest/gtest.h>

#include <charconv>
#include <climits>
#include <cmath>
#include <string>

#include "pdf/pdf_decimal.h"

namespace {

struct Read {
    bool ok = false;
    long long units = 0;
    int places = 0;
    bool operator==(const Read&) const = default;
};

Read Decimal(const std::string& t, int mostPlaces = 9)
{
    PdfDecimal d;
    const bool ok = PdfReadDecimal(t.data(), t.data() + t.size(), mostPlaces, &d);
    return ok ? Read{true, d.units, d.places} : Read{};
}

Read Hundredths(const std::string& t)
{
    long long h = 0;
    int places = 0;
    const bool ok = PdfReadHundredths(t.data(), t.data() + t.size(), 9, &h, &places);
    return ok ? Read{true, h, places} : Read{};
}

std::string Written(long long units, int places)
{
    char text[48];
    return {text, PdfWriteDecimal(text, units, places)};
}

TEST(PdfDecimal, NumbersAreReadWithTheirSignsUpToTheDigitsKept)
{
    EXPECT_EQ(Decimal("-12.50"), (Read{true, -1250, 2}));
    EXPECT_EQ(Decimal("+.5"), (Read{true, 5, 1}));
    EXPECT_EQ(Decimal("7."), (Read{true, 7, 0}));
    EXPECT_EQ(Decimal("-999999999999999"), (Read{true, -999999999999999, 0}));
    EXPECT_EQ(Decimal("123456.123456789"), (Read{true, 123456123456789, 9}));
    for (const char* refused : {"", "-", ".", "+-1", "1.2.3", "1e5", "1 ", "1234567890123456", "0.0000000001"})
        EXPECT_EQ(Decimal(refused), Read{}) << refused;
    EXPECT_EQ(Decimal("0.123", 2), Read{});

    // To hundredths: a half goes away from zero, whatever follows it.
    EXPECT_EQ(Hundredths("1.005"), (Read{true, 101, 3}));
    EXPECT_EQ(Hundredths("-1.00499"), (Read{true, -100, 5}));
    EXPECT_EQ(Hundredths("-0.5"), (Read{true, -50, 1}));
    EXPECT_EQ(Hundredths("3"), (Read{true, 300, 0}));
    EXPECT_EQ(Hundredths("1234567890123456"), Read{});
    // Eight digits at a time where 16 bytes may be read past it, the same.
    for (const std::string t : {"0", "-7", "+12.3", "1234567.125", "-.995", "12.345678901", "1234567.12345678",
                                "12345678", "1.", "-", "."}) {
        const std::string padded = t + " cm " + std::string(16, '9');
        long long h = 0;
        int places = 0;
        const char* const end = PdfReadHundredthsAt(padded.data(), padded.data() + padded.size(), 9, &h, &places);
        if (end)
            EXPECT_EQ((Read{end == padded.data() + t.size(), h, places}), Hundredths(t)) << t;
        else
            EXPECT_TRUE(t == "12345678" || !Hundredths(t).ok) << t;
    }

    // As a double, the one nearest the number, as the library reads it.
    for (const std::string t : {"-0.707106781", "0.707106781", "-123456789.012345", "1.5", "-.25",
                                "0.70710678118654752", "-12345678901234567890"}) {
        double v = 0, expected = 0;
        ASSERT_TRUE(PdfReadReal(t, &v)) << t;
        std::from_chars(t.data(), t.data() + t.size(), expected, std::chars_format::fixed);
        EXPECT_EQ(v, expected) << t;
    }
    double v = 0;
    ASSERT_TRUE(PdfReadReal("-0", &v));
    EXPECT_TRUE(std::signbit(v));
    EXPECT_FALSE(PdfReadReal("1x", &v));

    size_t end = 0;
    EXPECT_EQ(PdfWholeAt("obj 123456789012345678 0", 4, &end), 123456789012345678);
    EXPECT_EQ(end, 22u);
    EXPECT_EQ(PdfWholeAt("x", 0, &end), -1);
}

TEST(PdfDecimal, NumbersAreWrittenAsShortAsTheyGo)
{
    EXPECT_EQ(Written(0, 2), "0");
    EXPECT_EQ(Written(-0, 9), "0");
    EXPECT_EQ(Written(-1250, 2), "-12.5");
    EXPECT_EQ(Written(-5, 2), "-0.05");
    EXPECT_EQ(Written(120000, 4), "12");
    EXPECT_EQ(Written(123456789012345, 9), "123456.789012345");
    EXPECT_EQ(Written(-100000001, 8), "-1.00000001");
    EXPECT_EQ(Written(LLONG_MIN, 0), "-9223372036854775808");
    // The whole part's lengths, each written its own way.
    for (const long long whole : {9LL, 10LL, 99LL, 100LL, 999LL, 1000LL, 9999LL, 10000LL, 1234567LL})
        EXPECT_EQ(Written(whole * 100 + 1, 2), std::to_string(whole) + ".01");
}

TEST(PdfDecimal, SumsThatWouldNotFitIn64BitsAreRefused)
{
    long long units = 0;
    EXPECT_TRUE(PdfUnitsAt({-999999999, 0}, 9, &units));
    EXPECT_EQ(units, -999999999000000000);
    EXPECT_FALSE(PdfUnitsAt({123456789012345, 0}, 9, &units));

    PdfDecimal sum;
    ASSERT_TRUE(PdfAddDecimals({15, 1}, {-25, 2}, false, &sum));
    EXPECT_EQ(sum.units, 125);
    EXPECT_EQ(sum.places, 2);
    ASSERT_TRUE(PdfAddDecimals({15, 1}, {-5, 1}, true, &sum));
    EXPECT_EQ(sum.units, 2);
    EXPECT_EQ(sum.places, 0);
    EXPECT_FALSE(PdfAddDecimals({123456789012345, 0}, {1, 9}, false, &sum));
    EXPECT_FALSE(PdfAddDecimals({LLONG_MAX, 0}, {1, 0}, false, &sum));
    EXPECT_FALSE(PdfAddDecimals({LLONG_MIN + 1, 0}, {1, 0}, true, &sum));
}

}  // namespace
