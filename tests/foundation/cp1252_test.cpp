#include <gtest/gtest.h>

#include "foundation/cp1252.h"

namespace {

TEST(Cp1252, EveryByteSurvivesTheRoundTripThroughUnicode)
{
    std::string all;
    for (int b = 1; b < 256; ++b)
        all.push_back(char(b));
    EXPECT_EQ(QStringToCp1252(Cp1252ToQString(all)), all);
}

TEST(Cp1252, HighRangeMapsToTheTypographicCharacters)
{
    EXPECT_EQ(Cp1252ToUnicode(0x80), u'\u20AC');
    EXPECT_EQ(Cp1252ToUnicode(0x93), u'\u201C');
    EXPECT_EQ(Cp1252ToUnicode(0xFC), u'\u00FC');
    EXPECT_EQ(UnicodeToCp1252(u'\u2019'), 0x92);
    EXPECT_EQ(UnicodeToCp1252(u'\u4E00'), -1);
    EXPECT_EQ(QStringToCp1252(QString::fromUtf8("\xE4\xB8\x80x")), "?x");
}

TEST(Cp1252, CaseMappingCoversAccentedLettersAndLeavesOthers)
{
    EXPECT_EQ(Cp1252ToLower('A'), 'a');
    EXPECT_EQ(Cp1252ToLower(0xDC), 0xFC);  // U umlaut
    EXPECT_EQ(Cp1252ToLower(0x8A), 0x9A);  // S caron
    EXPECT_EQ(Cp1252ToLower(0xD7), 0xD7);  // multiplication sign
    EXPECT_EQ(Cp1252ToUpper(0xFF), 0x9F);
    EXPECT_EQ(Cp1252ToUpper(0xDF), 0xDF);  // sharp s has no capital here
    EXPECT_EQ(Cp1252ToUpper(0xF7), 0xF7);  // division sign
}

}  // namespace
