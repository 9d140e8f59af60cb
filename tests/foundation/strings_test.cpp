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

// Takes ownership of a toolkit result.
std::string Take(char* s)
{
    std::string r = s ? s : "<null>";
    StrFree(s);
    return r;
}

TEST(PStr, ConversionsCutAt255AndWorkInPlace)
{
    PStr p;
    PStrFromCStr(p, std::string(300, 'q').c_str());
    EXPECT_EQ(AsString(p), std::string(255, 'q'));

    char buffer[256] = "hello world";
    EXPECT_EQ(AsString(PStrFromCStrInPlace(buffer)), "hello world");
    EXPECT_STREQ(PStrToCStrInPlace(buffer), "hello world");
    EXPECT_EQ(AsString(CStrToPStrMax(buffer, 5)), "hello");
}

TEST(PStr, AppendCutsAt255AndReportsTheCut)
{
    PStr a, b;
    MakePStr(a, std::string(250, 'a'));
    MakePStr(b, "0123456789");
    EXPECT_EQ(PStrAppend(a, b), 1);
    EXPECT_EQ(AsString(a), std::string(250, 'a') + "01234");

    MakePStr(a, std::string(245, 'a'));
    EXPECT_EQ(PStrAppendCStr(a, "0123456789"), 0);
    EXPECT_EQ(PStrAppendCStr(a, "!"), 1);

    MakePStr(a, "ab");
    PStrAppend(a, a);
    EXPECT_EQ(AsString(a), "abab");
}

TEST(PStr, EqualityAndOrder)
{
    PStr a, b;
    MakePStr(a, "cat");
    MakePStr(b, "cab");
    EXPECT_EQ(PStrEqual(a, b), 0);
    MakePStr(a, "");
    MakePStr(b, "");
    EXPECT_EQ(PStrEqual(a, b), 1);
    MakePStr(a, "ab");
    MakePStr(b, "abc");
    EXPECT_EQ(PStrCompare(a, b), -1);
    // Bytes compare unsigned: an accented letter sorts after 'z'.
    MakePStr(a, "\xE9");
    MakePStr(b, "z");
    EXPECT_GT(PStrCompare(a, b), 0);

}

TEST(Numbers, DecimalTextBothWaysWithoutOverflow)
{
    char text[kIntTextSize];
    IntToStr(INT32_MIN, text);
    EXPECT_STREQ(text, "-2147483648");
    int32_t out = 0;
    EXPECT_EQ(CStrToLong(" \t+42abc", &out), 42);
    EXPECT_EQ(out, 42);
    // Long runs wrap modulo 2^32 instead of overflowing.
    EXPECT_EQ(CStrToLong("4294967297", nullptr), 1);
    EXPECT_EQ(CStrToLong("123456789012345678901234567890", nullptr),
              int32_t(uint32_t(123456789012345678ull * 1000000000000ull + 901234567890ull)));
}

TEST(CStr, CopyAndCatStayWithinTheBuffer)
{
    char buffer[8];
    std::memset(buffer, 'x', sizeof buffer);
    StrCopyN(buffer, "abc", 0);
    EXPECT_EQ(buffer[0], 'x');
    StrCopyN(buffer, "abc", 1);
    EXPECT_EQ(std::memcmp(buffer, "\0x", 2), 0);
    StrCopyN(buffer, "ab", 6);
    EXPECT_EQ(std::memcmp(buffer, "ab\0\0\0\0xx", 8), 0);

    char s[8] = "abc";
    StrCatN(s, "defghij", 8);
    EXPECT_STREQ(s, "abcdefg");
    char full[4] = {'a', 'b', 'c', 'd'};
    StrCatN(full, "e", 4);
    EXPECT_EQ(std::memcmp(full, "abcd", 4), 0);
}

TEST(CStr, FormatDoubleFixedTruncatesAndStaysBounded)
{
    const struct {
        double value;
        int decimals;
        const char* text;
    } cases[] = {
        {2.5, 2, "2.50"},
        {3.001, 2, "3"},
        {-1.25, 2, "-1.25"},
        {0.05, 3, "0.050"},
        {0.123456789, 9, "0.1234567"},
        {3000000000.5, 1, "3000000000.5"},
        {-4294967296.0, 2, "-4294967296"},
        {1e30, 3, "18446744073709551615"},
        {-HUGE_VAL, 7, "-18446744073709551615"},
        {std::nan(""), 2, "0"},
    };
    for (const auto& c : cases) {
        char text[kFixedTextSize];
        FormatDoubleFixed(c.value, text, int16_t(c.decimals));
        EXPECT_STREQ(text, c.text) << c.value << " with " << c.decimals;
    }
}

TEST(Toolkit, CompareModesUseSignedCharacters)
{
    const struct {
        const char* a;
        const char* b;
        int byMode[3];
    } cases[] = {
        {"abc", "abc", {0, 0, 0}},
        {"ab", "abc", {-1, -1, 0}},
        {"abc", "ab", {1, 0, 1}},
        {"abd", "abc", {1, 1, 1}},
        // 0xE9 is negative as a signed character, so it sorts before 'a'.
        {"\xE9", "a", {-1, -1, -1}},
    };
    for (const auto& c : cases) {
        for (int mode = 0; mode < 3; ++mode)
            EXPECT_EQ(StrCompareMode(c.a, c.b, mode), c.byMode[mode]) << c.a << " " << c.b << " " << mode;
    }
    EXPECT_EQ(StrFind("hello", "ll"), 2);
    EXPECT_EQ(StrFind("hello", "lo!"), -1);
    EXPECT_EQ(StrFind("hello", ""), 0);
}

TEST(Toolkit, SubstringsAndFields)
{
    EXPECT_EQ(Take(StrSubstring("abcdef", 2, 3)), "cde");
    EXPECT_EQ(Take(StrSubstring("abcdef", -5, 2)), "ab");
    EXPECT_EQ(Take(StrSubstring("abcdef", 6, 2)), "");
    EXPECT_EQ(Take(StrSubstring("abcdef", 4, 100)), "ef");

    EXPECT_EQ(StrCountFields("a,b,c", ','), 3);
    EXPECT_EQ(StrCountFields("abc", ','), 0);
    EXPECT_EQ(Take(StrGetFields("a,bb,c,d", 1, 2, ',')), "bb,c");
    EXPECT_EQ(Take(StrGetFields("a,bb,c,d", 1, -1, ',')), "bb,c,d");
    EXPECT_EQ(Take(StrGetFields("a,bb,c,d", 3, 5, ',')), "d");
    EXPECT_EQ(Take(StrGetFields("a,bb,c,d", 4, 1, ',')), "");
}

TEST(Toolkit, ReplaceAll)
{
    EXPECT_EQ(Take(StrReplaceAll("aaa", "aa", "b")), "ba");
    EXPECT_EQ(Take(StrReplaceAll("a.b.c", ".", "--")), "a--b--c");
    EXPECT_EQ(Take(StrReplaceAll("abc", "", "x")), "abc");

    MemInjectAllocationFailure(0);
    char* failed = StrReplaceAll("abc", "b", "x");
    MemInjectAllocationFailure(-1);
    EXPECT_EQ(failed, nullptr);
}

}  // namespace
