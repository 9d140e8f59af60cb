#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "barcode/barcode_fault.h"
#include "barcode/code128_encoding.h"
#include "barcode/code39_encoding.h"
#include "barcode/codabar_encoding.h"
#include "barcode/interleaved25_encoding.h"
#include "barcode/postal_patterns.h"
#include "barcode/upc_ean_encoding.h"
#include "barcode_test_util.h"

namespace {

// The symbol values of a Code 128 encoding, or {-1} when it fails; the
// check symbol is left off unless withCheck.
std::vector<int> Code128(const std::string& data, bool withCheck = false, bool checkSwitch = false)
{
    BarcodeRecord rec = MakeRecord(kBarcodeCode128, data);
    rec.addCheckDigit = checkSwitch;
    PStr symbols;
    int values[kCode128MaxSymbols];
    int n = 0;
    if (!EncodeCode128(&rec, symbols) || !Code128SymbolValues(symbols, values, &n))
        return {-1};
    return std::vector<int>(values, values + (withCheck ? n : n - 1));
}

constexpr int kStartA = 103, kStartB = 104, kStartC = 105, kCodeA = 101, kCodeB = 100, kCodeC = 99;

TEST(Code128Encoding, SetsChecksAndLimits)
{
    EXPECT_EQ(Code128("XYZ"), (std::vector<int>{kStartA, 56, 57, 58}));
    EXPECT_EQ(Code128("abc"), (std::vector<int>{kStartB, 65, 66, 67}));
    EXPECT_EQ(Code128("123456"), (std::vector<int>{kStartC, 12, 34, 56}));
    EXPECT_EQ(Code128("12"), (std::vector<int>{kStartA, 17, 18}));
    EXPECT_EQ(Code128("AB1234cd"), (std::vector<int>{kStartA, 33, 34, kCodeC, 12, 34, kCodeB, 67, 68}));
    EXPECT_EQ(Code128("A1B"), (std::vector<int>{kStartA, 33, 17, 34}));
    EXPECT_EQ(Code128("a\tb"), (std::vector<int>{kStartB, 65, kCodeA, 73, kCodeB, 66}));
    EXPECT_EQ(Code128("12345"), (std::vector<int>{kStartC, 12, 34, kCodeA, 21}));

    // 105 + 12 + 2 x 34 + 3 x 56 = 353, and 353 mod 103 = 44: the check
    // symbol ends every symbol, with the record's switch off as on.
    EXPECT_EQ(Code128("123456", true, true), (std::vector<int>{kStartC, 12, 34, 56, 44}));
    EXPECT_EQ(Code128("123456", true, false), (std::vector<int>{kStartC, 12, 34, 56, 44}));
    // Set A writes a check of 64-95 as a control byte: (103 + 95 + 190) mod 103 = 79.
    EXPECT_EQ(Code128("\x1f\x1f", true).back(), 79);
    // A check of 100 in set C is ":0": 105 + 0 + 2 x 49 = 203 = 103 + 100.
    BarcodeRecord rec = MakeRecord(kBarcodeCode128, "0049");
    rec.addCheckDigit = 1;
    PStr symbols;
    ASSERT_TRUE(EncodeCode128(&rec, symbols));
    EXPECT_EQ(AsString(symbols).substr(5), ":0");

    // Function codes: drawn as 96-105, FNC1 in set C one symbol, and data
    // that opens with one still gets a start.
    EXPECT_EQ(Code128("1234\x86" "5678"), (std::vector<int>{kStartC, 12, 34, 102, 56, 78}));
    EXPECT_EQ(Code128("\x86" "AB"), (std::vector<int>{kStartB, 102, 33, 34}));
    EXPECT_EQ(Code128("\x89" "12"), (std::vector<int>{kStartC, 12}));
    EXPECT_EQ(Code128("AB\x8a"), (std::vector<int>{-1}));
    EXPECT_EQ(Code128(""), (std::vector<int>{-1}));
    // Alternating sets take two symbols a character: 150 characters overflow.
    std::string mixed;
    for (int i = 0; i < 75; ++i)
        mixed += "\x01" "a";
    EXPECT_EQ(Code128(mixed), (std::vector<int>{-1}));
    EXPECT_EQ(Code128(std::string(253, 'A'), true).size(), 255u);
    EXPECT_EQ(Code128(std::string(254, 'A'), true), (std::vector<int>{-1}));
}

template <typename F>
std::string Built(const std::string& data, F build)
{
    PStr in, out;
    SetPStr(in, data);
    return build(in, out) ? AsString(out) : "fails";
}

std::string Itf(const std::string& data, bool check)
{
    return Built(data, [&](const uint8_t* in, uint8_t* out) { return Interleaved25Digits(in, check, out); });
}
std::string Code39(const std::string& data, bool check)
{
    PStr caption;
    return Built(data, [&](const uint8_t* in, uint8_t* out) { return BuildCode39Strings(in, check, out, caption); });
}
std::string Codabar(const std::string& data, bool check)
{
    return Built(data, [&](const uint8_t* in, uint8_t* out) { return BuildCodabarString(in, check, out); });
}

TEST(WidthModulatedEncoding, ChecksFullAsciiAndBoundedStrings)
{
    EXPECT_EQ(Itf("123", false), "0123");
    EXPECT_EQ(Itf("123", true), "1236");
    EXPECT_EQ(Itf("12A", false), "fails");
    EXPECT_EQ(Itf(std::string(254, '7'), false).size(), 254u);
    EXPECT_EQ(Itf(std::string(254, '7'), true), "fails");  // 255 digits would need a leading 0

    EXPECT_EQ(Code39("ab", false), "*+A+B*");
    EXPECT_EQ(Code39("Z", true), "*ZZ*");
    EXPECT_EQ(Code39("CODE 39", true), "*CODE 39R*");  // 113 mod 43 = 27
    EXPECT_EQ(Code39(std::string("\0\x7f@`", 4), false), "*%U%T%V%W*");
    EXPECT_EQ(Code39Column('+'), 42);
    PStr in, symbols, caption;
    SetPStr(in, "ab");
    ASSERT_TRUE(BuildCode39Strings(in, false, symbols, caption));
    EXPECT_EQ(AsString(caption), "*ab*");
    EXPECT_EQ(Code39("A*B", false), "fails");
    EXPECT_EQ(Code39("\xe9t\xe9", false), "fails");
    EXPECT_EQ(Code39(std::string(127, 'a'), false), "fails");  // 254 symbols and the stop
    EXPECT_EQ(Code39(std::string(253, 'A'), true), "fails");

    EXPECT_EQ(Codabar("A123B", false), "A123B");
    EXPECT_EQ(Codabar("A12E", false), "fails");
    EXPECT_EQ(Codabar("12", true), "121");       // 49 + 50 = 99
    EXPECT_EQ(Codabar("A123B", true), "A1239B");  // the check stays inside the stop
    EXPECT_EQ(Codabar("c1d", true), "c12d");
    EXPECT_EQ(Codabar(std::string(255, '1'), true), "fails");
}

std::string Retail(int16_t type, const std::string& data, uint8_t prefix = 1)
{
    PStr p;
    SetPStr(p, data);
    UpcEanDigits d;
    if (!SplitUpcEanData(type, p, prefix, &d))
        return "fails";
    std::string s;
    for (int i = 0; i < d.mainCount; ++i)
        s += char('0' + d.main[i]);
    if (d.addOnCount)
        s += '+';
    for (int i = 0; i < d.addOnCount; ++i)
        s += char('0' + d.addOn[i]);
    return s;
}

TEST(RetailEncoding, CheckDigitsLengthsAndPrefixes)
{
    // A number typed with its check digit is the same number; a wrong one
    // is refused and named.
    const struct {
        decltype(kBarcodeUpcA) type;
        const char* data;
        const char* encoded;
    } cases[] = {
        {kBarcodeUpcA, "03600029145", "036000291452"},
        {kBarcodeEan13, "400638133393", "4006381333931"},
        {kBarcodeUpcE, "123456", "1234565"},
        {kBarcodeUpcE, "042100", "0421001"},
        {kBarcodeEan8, "9638507", "96385074"},
        {kBarcodeIsbn, "030640615", "9780306406157"},
        {kBarcodeUpcA, "0360002914513", "036000291452+13"},
        {kBarcodeEan8, "963850712345", "96385074+12345"},
        {kBarcodeIsbn, "0306406157", "fails"},
        {kBarcodeEan13, "4006381333931", "4006381333931"},
        {kBarcodeEan13, "400638133393112", "4006381333931+12"},
        {kBarcodeEan13, "400638133393190210", "4006381333931+90210"},
        {kBarcodeUpcA, "036000291452", "036000291452"},
        {kBarcodeUpcA, "03600029145213", "036000291452+13"},
        {kBarcodeUpcA, "03600029145212345", "036000291452+12345"},
        {kBarcodeEan8, "96385074", "96385074"},
        {kBarcodeEan8, "9638507412", "96385074+12"},
        {kBarcodeEan8, "9638507412345", "96385074+12345"},
        {kBarcodeUpcE, "1234567", "fails"},
        {kBarcodeUpcE, "12345", "fails"},
        {kBarcodeUpcE, "12345a", "fails"},
        {kBarcodeEan13, "4006381333932", "fails"},
        {kBarcodeUpcA, "036000291459", "fails"},
        {kBarcodeEan8, "9638507012", "fails"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Retail(c.type, c.data), c.encoded) << c.data;
    EXPECT_EQ(Retail(kBarcodeIsbn, "030640615", 2).substr(0, 3), "979");
    EXPECT_EQ(Retail(kBarcodeIsbn, "030640615", 7).substr(0, 3), "977");
    EXPECT_EQ(Retail(kBarcodeIssn, "030640615", 1).substr(0, 3), "977");
    BarcodeRecord wrong = MakeRecord(kBarcodeEan13, "4006381333932");
    EXPECT_EQ(BarcodeDataFault(wrong), "the check digit 2 is wrong: it should be 1");
    SetPStr(wrong.data, "40063813339");
    EXPECT_EQ(BarcodeDataFault(wrong),
              "EAN-13 takes 12 digits, or 13 with the check digit, either followed by a 2- or 5-digit add-on; this "
              "has 11");
    EXPECT_EQ(Ean13DigitSet(4, 1), EanSet::kB);  // A, B, A, A, B, B
    const uint8_t addOn[2] = {1, 3};              // 13 mod 4 = 1: A, B
    EXPECT_EQ(AddOnDigitSet(addOn, 2, 1), EanSet::kB);
}

TEST(PostalPatterns, HorBarsCountStaysBounded)
{
    const double t = 72.0 / 14.0;
    EXPECT_EQ(HorBarsCount(36.0, t), 4);
    EXPECT_EQ(HorBarsCount(5.0, t), 1);
    EXPECT_EQ(HorBarsCount(-100.0, t), 1);
    EXPECT_EQ(HorBarsCount(std::nan(""), t), 1);
    EXPECT_EQ(HorBarsCount(1e12, t), 10000);
}

}  // namespace
