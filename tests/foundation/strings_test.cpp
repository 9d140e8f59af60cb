#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

#include "foundation/cstr.h"
#include "foundation/handle.h"
#include "foundation/pstr.h"
#include "foundation/str_toolkit.h"

namespace {

std::string AsString(const uint8_t* p) { return std::string(reinterpret_cast<const char*>(p + 1), p[0]); }

void MakePStr(uint8_t* p, const std::string& s)
{
    p[0] = uint8_t(s.size());
    std::memcpy(p + 1, s.data(), s.size());
}

std::string Fixed(double value, int decimals)
{
    char text[kFixedTextSize];
    std::memset(text, 'x', sizeof text);
    FormatDoubleFixed(value, text, int16_t(decimals));
    return text;
}

// Takes ownership of a toolkit result.
std::string Take(char* s)
{
    std::string r = s ? s : "<null>";
    StrFree(s);
    return r;
}

TEST(PStr, ConversionsCutAt255AndWorkInPlace)
{
    const std::string long300(300, 'q');
    PStr p;
    PStrFromCStr(p, long300.c_str());
    EXPECT_EQ(p[0], 255);
    EXPECT_EQ(AsString(p), long300.substr(0, 255));

    PStr q;
    EXPECT_EQ(CStrToPStr("abc", q), q);
    EXPECT_EQ(AsString(q), "abc");

    char buffer[256] = "hello world";
    EXPECT_EQ(AsString(PStrFromCStrInPlace(buffer)), "hello world");
    EXPECT_STREQ(PStrToCStrInPlace(buffer), "hello world");
    EXPECT_EQ(AsString(CStrToPStrMax(buffer, 5)), "hello");
    EXPECT_STREQ(PStrToCStrMax(buffer, 2), "he");

    char out[256];
    MakePStr(p, "xyz");
    PStrToCStr(p, out);
    EXPECT_STREQ(out, "xyz");
    PStrCopyMax(q, p, 2);
    EXPECT_EQ(AsString(q), "xy");
    PStrCopyMax(q, p, -1);
    EXPECT_EQ(q[0], 0);
}

TEST(PStr, AppendCutsAt255AndReportsTheCut)
{
    PStr a, b;
    MakePStr(a, std::string(250, 'a'));
    MakePStr(b, "0123456789");
    EXPECT_EQ(PStrAppend(a, b), 1);
    EXPECT_EQ(AsString(a), std::string(250, 'a') + "01234");

    MakePStr(a, std::string(245, 'a'));
    EXPECT_EQ(PStrAppend(a, b), 0);
    EXPECT_EQ(a[0], 255);
    MakePStr(a, std::string(245, 'a'));
    EXPECT_EQ(PStrAppendCStr(a, "0123456789"), 0);
    EXPECT_EQ(PStrAppendCStr(a, "!"), 1);
    EXPECT_EQ(a[0], 255);

    MakePStr(a, "ab");
    PStrAppend(a, a);
    EXPECT_EQ(AsString(a), "abab");
}

TEST(PStr, EqualityAndByteOrder)
{
    PStr a, b;
    MakePStr(a, "cat");
    MakePStr(b, "cab");
    EXPECT_EQ(PStrEqual(a, b), 0);
    EXPECT_GT(PStrCompare(a, b), 0);
    MakePStr(a, "");
    MakePStr(b, "");
    EXPECT_EQ(PStrEqual(a, b), 1);
    EXPECT_EQ(PStrCompare(a, b), 0);
    MakePStr(a, "ab");
    MakePStr(b, "abc");
    EXPECT_EQ(PStrCompare(a, b), -1);
    EXPECT_EQ(PStrCompare(b, a), 1);
    // Bytes compare unsigned: an accented letter sorts after 'z'.
    MakePStr(a, "\xE9");
    MakePStr(b, "z");
    EXPECT_GT(PStrCompare(a, b), 0);
}

TEST(PStr, TrimRight)
{
    PStr p;
    MakePStr(p, " a b  ");
    PStrTrimRight(p);
    EXPECT_EQ(AsString(p), " a b");
    MakePStr(p, "   ");
    PStrTrimRight(p);
    EXPECT_EQ(p[0], 0);
    char s[] = "   ";
    StrTrimRight(s);
    EXPECT_STREQ(s, "");
}

TEST(Numbers, DecimalTextBothWaysWithoutOverflow)
{
    char text[kIntTextSize];
    IntToStr(INT32_MIN, text);
    EXPECT_STREQ(text, "-2147483648");
    IntToStr(0, text);
    EXPECT_STREQ(text, "0");
    PStr p;
    PStrFromInt(-305, p);
    EXPECT_EQ(AsString(p), "-305");

    int32_t out = 0;
    EXPECT_EQ(PStrToLong(p, &out), -305);
    EXPECT_EQ(out, -305);
    EXPECT_EQ(CStrToLong(" \t+42abc", &out), 42);
    EXPECT_EQ(CStrToLong("-2147483648", nullptr), INT32_MIN);
    EXPECT_EQ(CStrToLong("x12", nullptr), 0);
    // Long runs wrap modulo 2^32 instead of overflowing.
    EXPECT_EQ(CStrToLong("4294967297", nullptr), 1);
    EXPECT_EQ(CStrToLong("-2147483649", nullptr), INT32_MAX);
    EXPECT_EQ(CStrToLong("123456789012345678901234567890", nullptr),
              int32_t(uint32_t(123456789012345678ull * 1000000000000ull + 901234567890ull)));
}

TEST(CStr, CopyAndCatStayWithinTheBuffer)
{
    char buffer[8];
    std::memset(buffer, 'x', sizeof buffer);
    StrCopyN(buffer, "abc", 0);
    StrCopyN(buffer, "abc", -3);
    EXPECT_EQ(buffer[0], 'x');
    StrCopyN(buffer, "abc", 1);
    EXPECT_STREQ(buffer, "");
    EXPECT_EQ(buffer[1], 'x');

    StrCopyN(buffer, "abcdefghij", 8);
    EXPECT_STREQ(buffer, "abcdefg");
    std::memset(buffer, 'x', sizeof buffer);
    StrCopyN(buffer, "ab", 6);
    EXPECT_EQ(std::memcmp(buffer, "ab\0\0\0\0xx", 8), 0);

    char s[8] = "abc";
    StrCatN(s, "defghij", 8);
    EXPECT_STREQ(s, "abcdefg");
    char full[4] = {'a', 'b', 'c', 'd'};
    StrCatN(full, "e", 4);
    EXPECT_EQ(std::memcmp(full, "abcd", 4), 0);
    EXPECT_EQ(StrLengthBounded("abcdef", 4), 4);
    EXPECT_EQ(StrLengthBounded("ab", 4), 2);
}

TEST(CStr, FormatDoubleFixedTruncates)
{
    EXPECT_EQ(Fixed(2.5, 2), "2.50");
    EXPECT_EQ(Fixed(3.001, 2), "3");
    EXPECT_EQ(Fixed(-1.25, 2), "-1.25");
    EXPECT_EQ(Fixed(0.05, 3), "0.050");
    EXPECT_EQ(Fixed(1.999, 2), "1.99");
    EXPECT_EQ(Fixed(7.9, 0), "7");
    EXPECT_EQ(Fixed(7.9, -4), "7");
    EXPECT_EQ(Fixed(0.123456789, 9), "0.1234567");
    EXPECT_EQ(Fixed(-0.0, 2), "0");
}

TEST(CStr, FormatDoubleFixedBeyondThe32BitRange)
{
    EXPECT_EQ(Fixed(3000000000.5, 1), "3000000000.5");
    EXPECT_EQ(Fixed(-4294967296.0, 2), "-4294967296");
    EXPECT_EQ(Fixed(1e30, 3), "18446744073709551615");
    EXPECT_EQ(Fixed(-HUGE_VAL, 7), "-18446744073709551615");
    EXPECT_EQ(Fixed(std::nan(""), 2), "0");
    EXPECT_LT(Fixed(-1e300, 7).size(), size_t(kFixedTextSize));
}

TEST(Toolkit, CompareModesUseSignedCharacters)
{
    struct Case {
        const char* a;
        const char* b;
        int mode0, mode1, mode2;
    } cases[] = {
        {"abc", "abc", 0, 0, 0},
        {"ab", "abc", -1, -1, 0},
        {"abc", "ab", 1, 0, 1},
        {"abd", "abc", 1, 1, 1},
        {"", "a", -1, -1, 0},
        // 0xE9 is negative as a signed character, so it sorts before 'a'.
        {"\xE9", "a", -1, -1, -1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(StrCompareMode(c.a, c.b, 0), c.mode0) << c.a << " " << c.b;
        EXPECT_EQ(StrCompareMode(c.a, c.b, 1), c.mode1) << c.a << " " << c.b;
        EXPECT_EQ(StrCompareMode(c.a, c.b, 2), c.mode2) << c.a << " " << c.b;
    }
    EXPECT_EQ(StrCompareMode(nullptr, "a", 0), 0);
}

TEST(Toolkit, FindAndSubstring)
{
    EXPECT_EQ(StrFind("hello", "ll"), 2);
    EXPECT_EQ(StrFind("hello", "lo!"), -1);
    EXPECT_EQ(StrFind("hello", ""), 0);
    EXPECT_EQ(StrFind(nullptr, "a"), 0);

    EXPECT_EQ(Take(StrSubstring("abcdef", 2, 3)), "cde");
    EXPECT_EQ(Take(StrSubstring("abcdef", -5, 2)), "ab");
    EXPECT_EQ(Take(StrSubstring("abcdef", 6, 2)), "");
    EXPECT_EQ(Take(StrSubstring("abcdef", 4, -1)), "ef");
    EXPECT_EQ(Take(StrSubstring("abcdef", 4, 100)), "ef");
    EXPECT_EQ(Take(StrSubstring(nullptr, 0, 1)), "<null>");

    char buffer[16] = "abc";
    EXPECT_EQ(StrAppend(buffer, "de"), 5);
    EXPECT_STREQ(buffer, "abcde");
    EXPECT_EQ(StrLength(nullptr), 0);
}

TEST(Toolkit, Fields)
{
    EXPECT_EQ(StrCountFields("a,b,c", ','), 3);
    EXPECT_EQ(StrCountFields("abc", ','), 0);
    EXPECT_EQ(StrCountFields(",", ','), 2);
    EXPECT_EQ(Take(StrGetFields("a,bb,c,d", 1, 2, ',')), "bb,c");
    EXPECT_EQ(Take(StrGetFields("a,bb,c,d", 1, -1, ',')), "bb,c,d");
    EXPECT_EQ(Take(StrGetFields("a,bb,c,d", 0, 1, ',')), "a");
    EXPECT_EQ(Take(StrGetFields("a,bb,c,d", 3, 5, ',')), "d");
    EXPECT_EQ(Take(StrGetFields("a,bb,c,d", 4, 1, ',')), "");
    EXPECT_EQ(Take(StrGetFields("a,,c", 1, 1, ',')), "");
    EXPECT_EQ(Take(StrGetFields("abc", 0, 1, ',')), "abc");
}

TEST(Toolkit, ReplaceAll)
{
    EXPECT_EQ(Take(StrReplaceAll("aaa", "aa", "b")), "ba");
    EXPECT_EQ(Take(StrReplaceAll("a.b.c", ".", "--")), "a--b--c");
    EXPECT_EQ(Take(StrReplaceAll("abc", "", "x")), "abc");
    EXPECT_EQ(Take(StrReplaceAll("abc", "b", "")), "ac");
    EXPECT_EQ(Take(StrReplaceAll("abc", nullptr, "")), "<null>");

    MemInjectAllocationFailure(0);
    char* failed = StrReplaceAll("abc", "b", "x");
    MemInjectAllocationFailure(-1);
    EXPECT_EQ(failed, nullptr);
}

}  // namespace
