#include <gtest/gtest.h>

#include <string>

#include "foundation/counters.h"
#include "foundation/pstr.h"

namespace {

std::string Letters(int v)
{
    PStr p;
    FormatLetters(int16_t(v), p);
    return std::string(reinterpret_cast<const char*>(p + 1), p[0]);
}

std::string Roman(int v)
{
    PStr p;
    FormatRoman(int16_t(v), p);
    return std::string(reinterpret_cast<const char*>(p + 1), p[0]);
}

TEST(Counters, LettersAndRomanNumerals)
{
    EXPECT_EQ(Letters(26), "Z");
    EXPECT_EQ(Letters(27), "AA");
    EXPECT_EQ(Letters(52), "AZ");
    EXPECT_EQ(Letters(53), "BA");
    EXPECT_EQ(Letters(703), "AAA");
    EXPECT_EQ(Letters(-3), "-C");
    EXPECT_EQ(Letters(0), "0");
    EXPECT_EQ(Letters(-32768), "-AVLH");
    EXPECT_EQ(Roman(1994), "MCMXCIV");
    EXPECT_EQ(Roman(4444), "MMMMCDXLIV");
    EXPECT_EQ(Roman(5000), "");
    EXPECT_EQ(Roman(12345), "MMCCCXLV");
    EXPECT_EQ(Roman(0), "0");
    EXPECT_EQ(Roman(-32768), "-MMDCCLXVIII");
}

TEST(Counters, BinaryFlagsBothOrdersAndBack)
{
    char text[41];
    FormatBinary(0x2005u, 14, 1, text);
    EXPECT_STREQ(text, "10100000000001");
    FormatBinary(0x2005u, 14, 0, text);
    EXPECT_STREQ(text, "10000000000101");
    FormatBinary(0x2005u, 14, text, 1);
    EXPECT_STREQ(text, "10100000000001");

    for (uint32_t value : {0x2005u, 0x3FFFu, 0x1234u}) {
        for (int order : {0, 1}) {
            FormatBinary(value, 14, order, text);
            uint32_t back = 0xFFFFFFFFu;
            ParseBinary(text, 14, order, &back);
            EXPECT_EQ(back, value) << value << " order " << order;
        }
    }
    uint32_t out = 0;
    ParseBinary("1111", 2, 1, &out);
    EXPECT_EQ(out, 3u);

    // Widths beyond 32 bits show zeros there and read nothing back there.
    FormatBinary(0x80000001u, 40, 1, text);
    EXPECT_EQ(std::string(text), "1" + std::string(30, '0') + "1" + std::string(8, '0'));
    ParseBinary(std::string(40, '1').c_str(), 40, 0, &out);
    EXPECT_EQ(out, 0xFFFFFFFFu);
}

TEST(Counters, DigitsAndByteSwaps)
{
    char out[32];
    DigitsOnly("(555) 123-4567", out, -1);
    EXPECT_STREQ(out, "5551234567");
    DigitsOnly("(555) 123-4567", out, 5);
    EXPECT_STREQ(out, "55512");
    uint16_t a = 0x1234;
    EXPECT_EQ(SwapBytes16(&a), 0x3412);
    EXPECT_EQ(a, 0x3412);
    uint32_t b = 0x12345678;
    EXPECT_EQ(SwapBytes32(&b), 0x78563412u);
    EXPECT_EQ(b, 0x78563412u);
}

}  // namespace
