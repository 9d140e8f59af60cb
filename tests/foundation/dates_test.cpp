#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <string>

#include "foundation/dates.h"

namespace {

// Every test runs on 12 June 2026 unless it pins another day.
class Dates : public ::testing::Test {
protected:
    void SetUp() override { SetToday(12, 6, 2026); }
    void TearDown() override { SetTodayOverride(nullptr); }

    static void SetToday(int day, int month, int year)
    {
        const CalendarDate today{day, month, year};
        SetTodayOverride(&today);
    }

    static std::string Complete(const char* typed, int style)
    {
        char text[32];
        std::strcpy(text, typed);
        return CompleteDateText(text, style) ? text : "<null>";
    }

    static std::string Normalize(const char* typed, int style)
    {
        char text[32];
        std::strcpy(text, typed);
        return NormalizeDateText(text, style) ? text : "<null>";
    }
};

TEST_F(Dates, CompletionLaysTypedGroupsOverToday)
{
    EXPECT_EQ(Complete("1/3/4", 0), "01/03/2024");
    EXPECT_EQ(Complete("1/13/24", 'A'), "01/13/2024");
    EXPECT_EQ(Complete("4", 0), "06/12/2024");
    EXPECT_EQ(Complete("12/31/99", 0), "12/31/2099");
    EXPECT_EQ(Complete("12-31-2005", 0), "12-31-2005");
    EXPECT_EQ(Complete("", 0), "");
    // Characters that are not separators still end a group.
    EXPECT_EQ(Complete("3.4.2024", 0), "03/04/2024");
    // Day first: today is 12/06/2026 and the middle field is the month.
    EXPECT_EQ(Complete("3/4", 'E'), "12/03/2024");
    EXPECT_EQ(Complete("31/1/5", 1), "31/01/2025");
    // A seventh digit from the right lands on the first separator's place.
    EXPECT_EQ(Complete("1231205", 0), "06123/1205");
}

TEST_F(Dates, OneDigitMiddleFieldIsPaddedLikeEveryOther)
{
    EXPECT_EQ(Complete("3/4", 0), "06/03/2024");
    EXPECT_EQ(Complete("3/2024", 0), "06/03/2024");
}

TEST_F(Dates, BadStyleLeavesTheTextAlone)
{
    char text[16] = "1/3/4";
    EXPECT_EQ(CompleteDateText(text, 'B'), nullptr);
    EXPECT_EQ(NormalizeDateText(text, 2), nullptr);
    EXPECT_EQ(FormatStoredDate(text, 'B'), nullptr);
    EXPECT_STREQ(text, "1/3/4");
    char out[16] = "unchanged";
    EXPECT_FALSE(TodayDateText(out, 'X'));
    EXPECT_FALSE(FormatDateParts(out, 1, 1, 2000, 'X'));
    EXPECT_STREQ(out, "unchanged");
    EXPECT_EQ(IsDateTextValid("01/01/2000", 'X'), 0);
}

TEST_F(Dates, StoredAndDisplayForms)
{
    EXPECT_EQ(Normalize("1/3/4", 0), "20240103");
    EXPECT_EQ(Normalize("1/3/4", 'e'), "20240301");
    EXPECT_EQ(Normalize("", 0), "");

    char text[16] = "20051231";
    EXPECT_EQ(FormatStoredDate(text, 'E'), text);
    EXPECT_STREQ(text, "31/12/2005");
    std::strcpy(text, "20051231");
    FormatStoredDate(text, 0);
    EXPECT_STREQ(text, "12/31/2005");
    text[0] = '\0';
    EXPECT_EQ(FormatStoredDate(text, 0), text);
    EXPECT_STREQ(text, "");
    // A damaged stored value is not read beyond its end.
    std::strcpy(text, "2005");
    EXPECT_EQ(FormatStoredDate(text, 0), nullptr);
    EXPECT_STREQ(text, "2005");

    char out[16];
    EXPECT_TRUE(FormatDateParts(out, 31, 12, 2005, 'E'));
    EXPECT_STREQ(out, "31/12/2005");
    EXPECT_TRUE(FormatDateParts(out, 4, 7, 5, 0));
    EXPECT_STREQ(out, "07/04/05");
    EXPECT_FALSE(FormatDateParts(out, 31, 4, 2001, 0));
    EXPECT_FALSE(FormatDateParts(out, 1, 1, 10000, 0));
    EXPECT_FALSE(FormatDateParts(out, 1, 1, -1, 0));
    EXPECT_TRUE(TodayDateText(out, 'a'));
    EXPECT_STREQ(out, "06/12/2026");
}

TEST_F(Dates, ParsingAndValidation)
{
    int32_t day = -1, month = -1, year = -1;
    EXPECT_TRUE(ParseDateText("12/31/2005", &day, &month, &year, 0));
    EXPECT_EQ(day, 31);
    EXPECT_EQ(month, 12);
    EXPECT_EQ(year, 2005);
    EXPECT_TRUE(ParseDateText("31/12/05", &day, &month, &year, 'E'));
    EXPECT_EQ(year, 2005);
    EXPECT_FALSE(ParseDateText("12/31/200", &day, &month, &year, 0));
    EXPECT_EQ(day + month + year, 0);
    EXPECT_FALSE(ParseDateText("ab/cd/efgh", &day, &month, &year, 0));

    EXPECT_EQ(IsDateTextValid("12-31-2005", 0), 1);
    EXPECT_EQ(IsDateTextValid("12:31:2005", 0), 1);
    EXPECT_EQ(IsDateTextValid("12.31.2005", 0), 0);
    EXPECT_EQ(IsDateTextValid("31/12/2005", 0), 0);
    EXPECT_EQ(IsValidDateText("31/12/2005", 1), 1);
    EXPECT_EQ(IsDateTextValid("1/12/2005", 0), 0);
    EXPECT_EQ(IsDateTextValid("", 0), 0);
}

TEST_F(Dates, TwoDigitYearsTakeTodaysCentury)
{
    int32_t day, month, year;
    ParseDateText("12/31/99", &day, &month, &year, 0);
    EXPECT_EQ(year, 2099);
    // 2000 is a leap year, 1900 is not.
    EXPECT_EQ(IsDateTextValid("02/29/00", 0), 1);
    SetToday(31, 12, 1999);
    ParseDateText("12/31/99", &day, &month, &year, 0);
    EXPECT_EQ(year, 1999);
    EXPECT_EQ(IsDateTextValid("02/29/00", 0), 0);
}

TEST(Calendar, ValidDatesAndLeapYearsAgreeWithTheGregorianCalendar)
{
    EXPECT_EQ(IsValidDate(29, 2, 1900), 0);
    EXPECT_EQ(IsValidDate(29, 2, 2000), 1);
    EXPECT_EQ(IsValidDate(31, 4, 2001), 0);
    using namespace std::chrono;
    for (int y = 1600; y <= 2400; ++y) {
        ASSERT_EQ(IsLeapYear(y), year{y}.is_leap() ? 1 : 0) << y;
        for (int m = 0; m <= 13; ++m) {
            for (int d = -1; d <= 32; ++d) {
                const bool real = m >= 1 && d >= 1 && year_month_day{year{y}, month(unsigned(m)), day(unsigned(d))}.ok();
                ASSERT_EQ(IsValidDate(d, m, y), real ? 1 : 0) << d << "." << m << "." << y;
            }
        }
    }
}

}  // namespace
