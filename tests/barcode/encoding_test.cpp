#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "barcode/code128_encoding.h"
#include "barcode/code39_encoding.h"
#include "barcode/codabar_encoding.h"
#include "barcode/interleaved25_encoding.h"
#include "barcode/postal_patterns.h"
#include "barcode/upc_ean_encoding.h"
#include "barcode_test_util.h"

namespace {

// The symbol values of a Code 128 encoding, or {-1} when it fails.
std::vector<int> Code128(const std::string& data, bool check = false)
{
    BarcodeRecord rec = MakeRecord(kBarcodeCode128, data);
    rec.addCheckDigit = check;
    PStr symbols;
    int values[kCode128MaxSymbols];
    int n = 0;
    if (!EncodeCode128(&rec, symbols) || !Code128SymbolValues(symbols, values, &n))
        return {-1};
    return std::vector<int>(values, values + n);
}

constexpr int kStartA = 103, kStartB = 104, kStartC = 105, kCodeA = 101, kCodeB = 100, kCodeC = 99;

TEST(Code128Encoding, ChoosesSetsGreedily)
{
    EXPECT_EQ(Code128("XYZ"), (std::vector<int>{kStartA, 56, 57, 58}));
    EXPECT_EQ(Code128("abc"), (std::vector<int>{kStartB, 65, 66, 67}));
    EXPECT_EQ(Code128("123456"), (std::vector<int>{kStartC, 12, 34, 56}));
    EXPECT_EQ(Code128("12"), (std::vector<int>{kStartA, 17, 18}));
    EXPECT_EQ(Code128("AB1234cd"), (std::vector<int>{kStartA, 33, 34, kCodeC, 12, 34, kCodeB, 67, 68}));
    EXPECT_EQ(Code128("A1B"), (std::vector<int>{kStartA, 33, 17, 34}));
    // Control characters need set A; set A shows them as 64-95.
    EXPECT_EQ(Code128("a\tb"), (std::vector<int>{kStartB, 65, kCodeA, 73, kCodeB, 66}));
    // An odd digit left over after set C goes back to a letter set.
    EXPECT_EQ(Code128("12345"), (std::vector<int>{kStartC, 12, 34, kCodeA, 21}));
}

TEST(Code128Encoding, CheckSymbolInTheSetInForce)
{
    // 105 + 12 + 2 x 34 + 3 x 56 = 353; 353 mod 103 = 44.
    EXPECT_EQ(Code128("123456", true), (std::vector<int>{kStartC, 12, 34, 56, 44}));
    // 104 + 65 + 2 x 66 + 3 x 67 = 502; mod 103 = 90, written as byte 122 in set B.
    EXPECT_EQ(Code128("abc", true).back(), 90);
    // Set A writes check values 64-95 as control bytes.
    const std::vector<int> a = Code128("\x1f\x1f", true);
    EXPECT_EQ(a.back(), (103 + 95 + 2 * 95) % 103);

    // A check of 100 in set C is the characters ":0".
    BarcodeRecord rec = MakeRecord(kBarcodeCode128, "");
    for (int n = 0; n <= 99; ++n) {
        char data[5];
        std::snprintf(data, sizeof data, "%04d", n);
        SetPStr(rec.data, data);
        rec.addCheckDigit = 1;
        PStr symbols;
        ASSERT_TRUE(EncodeCode128(&rec, symbols));
        const int values[3] = {kStartC, n / 100, n % 100};
        if (Code128CheckValue(values, 3) == 100) {
            EXPECT_EQ(AsString(symbols).substr(5), ":0") << data;
            return;
        }
    }
    ADD_FAILURE() << "no four-digit data with check 100";
}

TEST(Code128Encoding, FunctionBytesAndLimits)
{
    EXPECT_EQ(Code128("AB\x8a"), (std::vector<int>{-1}));  // 138 fails
    EXPECT_EQ(Code128(""), (std::vector<int>{-1}));
    // FNC1 (134) in set C is one symbol, not two digits.
    EXPECT_EQ(Code128("1234\x86" "5678"), (std::vector<int>{kStartC, 12, 34, 102, 56, 78}));
    // Data opening with a function code still gets a start.
    EXPECT_EQ(Code128("\x86" "AB"), (std::vector<int>{kStartB, 102, 33, 34}));
    // A start code typed first is the start.
    EXPECT_EQ(Code128("\x89" "12"), (std::vector<int>{kStartC, 12}));
    // Alternating sets need two symbols a character: 255 of them overflow.
    std::string mixed;
    for (int i = 0; i < 150; ++i)
        mixed += i % 2 ? "a" : "\x01";
    EXPECT_EQ(Code128(mixed), (std::vector<int>{-1}));
    EXPECT_EQ(Code128(std::string(254, 'A')).size(), 255u);
    EXPECT_EQ(Code128(std::string(254, 'A'), true), (std::vector<int>{-1}));
}

TEST(Interleaved25Encoding, CheckDigitAndLeadingZero)
{
    PStr data, out;
    SetPStr(data, "123");
    ASSERT_TRUE(Interleaved25Digits(data, false, out));
    EXPECT_EQ(AsString(out), "0123");
    ASSERT_TRUE(Interleaved25Digits(data, true, out));
    EXPECT_EQ(AsString(out), "1236");
    SetPStr(data, "12A");
    EXPECT_FALSE(Interleaved25Digits(data, false, out));
    SetPStr(data, std::string(254, '7'));
    EXPECT_TRUE(Interleaved25Digits(data, false, out));
    EXPECT_FALSE(Interleaved25Digits(data, true, out));  // 255 digits need a leading 0
    for (int d = 0; d <= 9; ++d) {
        int wide = 0;
        for (int e = 0; e < 5; ++e)
            wide += Interleaved25IsWide(d, e);
        EXPECT_EQ(wide, 2) << d;
    }
}

TEST(Code39Encoding, FullAsciiCheckAndRefusals)
{
    PStr data, symbols, caption;
    SetPStr(data, "ab");
    ASSERT_TRUE(BuildCode39Strings(data, false, symbols, caption));
    EXPECT_EQ(AsString(symbols), "*+A+B*");
    EXPECT_EQ(AsString(caption), "*ab*");
    EXPECT_EQ(Code39SymbolCount(data, false), 6);

    SetPStr(data, "Z");
    ASSERT_TRUE(BuildCode39Strings(data, true, symbols, caption));
    EXPECT_EQ(AsString(symbols), "*ZZ*");
    SetPStr(data, "CODE 39");
    ASSERT_TRUE(BuildCode39Strings(data, true, symbols, caption));
    EXPECT_EQ(AsString(symbols), "*CODE 39R*");  // 12+24+13+14+38+3+9 = 113; 113 mod 43 = 27
    SetPStr(data, std::string("\0\x7f@`", 4));
    ASSERT_TRUE(BuildCode39Strings(data, false, symbols, caption));
    EXPECT_EQ(AsString(symbols), "*%U%T%V%W*");

    EXPECT_EQ(Code39Column('+'), 42);
    EXPECT_EQ(Code39Column('*'), 39);
    EXPECT_EQ(Code39CheckValue('%'), 42);
    EXPECT_EQ(Code39CheckValue('*'), -1);
    for (const char* bad : {"A*B", "\xe9t\xe9"}) {
        SetPStr(data, bad);
        EXPECT_FALSE(BuildCode39Strings(data, false, symbols, caption)) << bad;
    }
    SetPStr(data, std::string(127, 'a'));  // 254 symbols, then the stop does not fit
    EXPECT_FALSE(BuildCode39Strings(data, false, symbols, caption));
    SetPStr(data, std::string(253, 'A'));
    EXPECT_TRUE(BuildCode39Strings(data, false, symbols, caption));
    EXPECT_FALSE(BuildCode39Strings(data, true, symbols, caption));
}

TEST(CodabarEncoding, CharactersAndCheckBeforeTheStop)
{
    PStr data, out;
    SetPStr(data, "A123B");
    ASSERT_TRUE(BuildCodabarString(data, false, out));
    EXPECT_EQ(AsString(out), "A123B");
    SetPStr(data, "A12E");
    EXPECT_FALSE(BuildCodabarString(data, false, out));
    SetPStr(data, "12");
    ASSERT_TRUE(BuildCodabarString(data, true, out));
    EXPECT_EQ(AsString(out), "121");
    // 65 + 49 + 50 + 51 + 66 = 281: check 9, inside the stop character.
    SetPStr(data, "A123B");
    ASSERT_TRUE(BuildCodabarString(data, true, out));
    EXPECT_EQ(AsString(out), "A1239B");
    SetPStr(data, "c1d");
    ASSERT_TRUE(BuildCodabarString(data, true, out));
    EXPECT_EQ(AsString(out), "c12d");  // 99 + 49 + 100 = 248
    SetPStr(data, std::string(255, '1'));
    EXPECT_FALSE(BuildCodabarString(data, true, out));
    // ":", "/", ".", "+" and A-D have three wide elements, the others two.
    for (uint8_t ch : std::string("0123456789-$:/.+ABCD")) {
        const int v = CodabarValue(ch);
        int wide = 0;
        for (int i = 0; i < 4; ++i)
            wide += CodabarBarIsWide(v, i);
        for (int i = 0; i < 3; ++i)
            wide += CodabarSpaceIsWide(v, i);
        EXPECT_EQ(wide, v >= 12 ? 3 : 2) << ch;
    }
}

std::string MainDigits(int16_t type, const std::string& data, uint8_t prefix = 0)
{
    PStr p;
    SetPStr(p, data);
    UpcEanDigits d;
    if (!SplitUpcEanData(type, p, prefix, &d))
        return "fails";
    std::string s;
    for (int i = 0; i < d.mainCount; ++i)
        s += char('0' + d.main[i]);
    if (d.addOnCount) {
        s += '+';
        for (int i = 0; i < d.addOnCount; ++i)
            s += char('0' + d.addOn[i]);
    }
    return s;
}

std::string Sets(EanSet (*set)(int, int), int digit)
{
    std::string s;
    for (int k = 0; k < 6; ++k)
        s += set(digit, k) == EanSet::kA ? 'A' : 'B';
    return s;
}

TEST(UpcEanEncoding, CheckDigitsLengthsAndPrefixes)
{
    EXPECT_EQ(MainDigits(kBarcodeUpcA, "03600029145"), "036000291452");
    EXPECT_EQ(MainDigits(kBarcodeEan13, "400638133393"), "4006381333931");
    EXPECT_EQ(MainDigits(kBarcodeUpcE, "123456"), "1234565");
    EXPECT_EQ(MainDigits(kBarcodeUpcE, "042100"), "0421001");
    EXPECT_EQ(MainDigits(kBarcodeEan8, "9638507"), "96385074");
    EXPECT_EQ(MainDigits(kBarcodeIsbn, "030640615", 1), "9780306406157");
    EXPECT_EQ(MainDigits(kBarcodeIsbn, "030640615", 2).substr(0, 3), "979");
    EXPECT_EQ(MainDigits(kBarcodeIssn, "030640615", 1).substr(0, 3), "977");
    EXPECT_EQ(MainDigits(kBarcodeUpcA, "0360002914513"), "036000291452+13");
    EXPECT_EQ(MainDigits(kBarcodeEan8, "963850712345"), "96385074+12345");
    for (const char* bad : {"1234567", "12345", "12345a"})
        EXPECT_EQ(MainDigits(kBarcodeUpcE, bad), "fails") << bad;
    EXPECT_EQ(MainDigits(kBarcodeIsbn, "0306406157"), "fails");
    EXPECT_EQ(MainDigits(kBarcodeEan13, "4006381333931"), "fails");
}

TEST(UpcEanEncoding, UpcECheckMatchesTheExpandedUpcA)
{
    // The UPC-A number a UPC-E stands for, number system 0, by the usual
    // zero-suppression rules.
    auto expand = [](const uint8_t* e, uint8_t* a) {
        std::memset(a, 0, 11);
        a[1] = e[0];
        a[2] = e[1];
        if (e[5] <= 2) {
            a[3] = e[5];
            a[8] = e[2], a[9] = e[3], a[10] = e[4];
        } else if (e[5] == 3) {
            a[3] = e[2];
            a[9] = e[3], a[10] = e[4];
        } else if (e[5] == 4) {
            a[3] = e[2], a[4] = e[3];
            a[10] = e[4];
        } else {
            a[3] = e[2], a[4] = e[3], a[5] = e[4];
            a[10] = e[5];
        }
    };
    uint8_t e[6];
    uint8_t a[11];
    for (int n = 0; n < 1000000; n += 997) {
        for (int i = 0, m = n; i < 6; ++i, m /= 10)
            e[5 - i] = uint8_t(m % 10);
        expand(e, a);
        ASSERT_EQ(UpcECheckDigit(e), UpcACheckDigit(a)) << n;
    }
}

TEST(UpcEanEncoding, ParityTables)
{
    EXPECT_EQ(Sets(Ean13DigitSet, 4), "ABAABB");
    EXPECT_EQ(Sets(Ean13DigitSet, 0), "AAAAAA");
    EXPECT_EQ(Sets(UpcEDigitSet, 0), "BBBAAA");
    EXPECT_EQ(Sets(UpcEDigitSet, 5), "BAABBA");
    const uint8_t two13[2] = {1, 3}, two12[2] = {1, 2};
    EXPECT_EQ(AddOnDigitSet(two13, 2, 0), EanSet::kA);
    EXPECT_EQ(AddOnDigitSet(two13, 2, 1), EanSet::kB);
    EXPECT_EQ(AddOnDigitSet(two12, 2, 1), EanSet::kA);
    const uint8_t five[5] = {5, 2, 4, 9, 5};  // checksum 141: B A B A A
    std::string s;
    for (int k = 0; k < 5; ++k)
        s += AddOnDigitSet(five, 5, k) == EanSet::kA ? 'A' : 'B';
    EXPECT_EQ(s, "BABAA");
    int w[4];
    EanDigitWidths(0, EanSet::kB, w);
    EXPECT_EQ((std::vector<int>{w[0], w[1], w[2], w[3]}), (std::vector<int>{1, 1, 2, 3}));
}

TEST(PostalPatterns, PostnetFimAndHorBars)
{
    PStr data;
    for (const char* good : {"12345", "123456789", "12345678901"}) {
        SetPStr(data, good);
        EXPECT_TRUE(PostnetDataIsValid(data)) << good;
    }
    for (const char* bad : {"1234", "12345-6789", "1234a", ""}) {
        SetPStr(data, bad);
        EXPECT_FALSE(PostnetDataIsValid(data)) << bad;
    }
    SetPStr(data, "12345");
    EXPECT_EQ(PostnetCheckDigit(data), 5);
    for (int d = 0; d <= 9; ++d) {
        int tall = 0;
        for (int i = 0; i < kPostnetBarsPerDigit; ++i)
            tall += PostnetBarIsTall(d, i);
        EXPECT_EQ(tall, 2) << d;
    }
    int n = 0;
    EXPECT_EQ(FimBarPositions(kBarcodeFimA, &n)[2], 75);
    EXPECT_EQ(n, 5);
    FimBarPositions(kBarcodeFimC, &n);
    EXPECT_EQ(n, 6);
    EXPECT_EQ(FimBarPositions(kBarcodeHorBars, &n), nullptr);

    const double t = 72.0 / 14.0;
    EXPECT_EQ(HorBarsCount(36.0, t), 4);
    EXPECT_EQ(HorBarsCount(5.0, t), 1);
    EXPECT_EQ(HorBarsCount(-100.0, t), 1);
    EXPECT_EQ(HorBarsCount(std::nan(""), t), 1);
    EXPECT_EQ(HorBarsCount(1e12, t), 10000);
}

}  // namespace
