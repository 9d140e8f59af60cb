#include <gtest/gtest.h>

#include <string>

#include "database/delivery_point.h"
#include "foundation/pstr.h"

namespace {

std::string Dp(const char* address, const char* city = "Springfield")
{
    PStr a, c, out;
    PStrFromCStr(a, address);
    PStrFromCStr(c, city);
    DeliveryPointFromAddress(a, c, out);
    return std::string(reinterpret_cast<const char*>(out + 1), out[0]);
}

TEST(DeliveryPoint, LastTwoDigitsOfTheHouseNumber)
{
    EXPECT_EQ(Dp("123 Main Street"), "23");
    EXPECT_EQ(Dp("7 Elm Road"), "07");
    EXPECT_EQ(Dp("12-3 Oak Lane"), "03");
    EXPECT_EQ(Dp("4B 17 Harbour"), "17");
    EXPECT_EQ(Dp("12/3 Oak Lane"), "99");
}

TEST(DeliveryPoint, NinetyNineWithoutANumber)
{
    EXPECT_EQ(Dp("Broadway"), "99");
    EXPECT_EQ(Dp("123 Main Street", "APO AE"), "99");
    EXPECT_EQ(Dp("123 Main Street", "FPO"), "99");
    EXPECT_EQ(Dp("123 Main Street", "TAPOLA"), "23");
    EXPECT_EQ(Dp("Main Street"), "99");
}

TEST(DeliveryPoint, PostOfficeBoxes)
{
    EXPECT_EQ(Dp("PO BOX 4581"), "81");
    EXPECT_EQ(Dp("PO BOX 5 12"), "12");
    EXPECT_EQ(Dp("PO BOX"), "99");   // nothing after the box
    EXPECT_EQ(Dp("PO BOX "), "99");
}

TEST(DeliveryPoint, TextScans)
{
    PStr t;
    PStrFromCStr(t, "AB CD AB");
    EXPECT_EQ(PStrFindWord(t, "AB", true), 1);
    EXPECT_EQ(PStrFindWord(t, "CD", true), 4);
    EXPECT_EQ(PStrFindWord(t, "B", false), 2);
    EXPECT_EQ(PStrFindWord(t, "B", true), kWordNotFound);
    EXPECT_EQ(PStrScanChar(t, 1, ' ', true), 3);
    EXPECT_EQ(PStrScanChar(t, 7, ' ', true), 9);
    EXPECT_EQ(PStrScanChar(t, 7, 'x', true), -1);
    EXPECT_EQ(PStrScanChar(t, 3, ' ', false), 4);
    PStrFromCStr(t, "12-a/3");
    EXPECT_EQ(PStrRangeIsNumeric(t, 1, 3, 0), 1);
    EXPECT_EQ(PStrRangeIsNumeric(t, 1, 4, 0), 0);
    EXPECT_EQ(PStrRangeIsNumeric(t, 1, 4, kNumericDashDot), 1);
    EXPECT_EQ(PStrRangeIsNumeric(t, 1, 5, kNumericLetters), 1);
    EXPECT_EQ(PStrRangeIsNumeric(t, 1, 7, kNumericLetters | kNumericSlash), 1);
    EXPECT_EQ(PStrRangeIsNumeric(t, 2, 2, 0), 0);
}

}  // namespace
