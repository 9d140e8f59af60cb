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

    // Runs an in-place date operation on a copy of text.
    static std::string Apply(char* (*operation)(char*, int), const char* text, int style)
    {
        char buffer[32];
        std::strcpy(buffer, text);
        return operation(buffer, style) ? buffer : "<null>";
    }
};

TEST_F(Dates, CompletionLaysTypedGroupsOverToday)
{
    EXPECT_EQ(Apply(CompleteDateText, "1/3/4", 0), "01/03/2024");
    EXPECT_EQ(Apply(CompleteDateText, "4", 0), "06/12/2024");
    EXPECT_EQ(Apply(CompleteDateText, "12/31/99", 'A'), "12/31/2099");
    EXPECT_EQ(Apply(CompleteDateText, "12-31-2005", 0), "12-31-2005");
    EXPECT_EQ(Apply(CompleteDateText, "3.4.2024", 0), "03/04/2024");
    EXPECT_EQ(Apply(CompleteDateText, "", 0), "");
    // A one-digit middle field is padded like the first one.
    EXPECT_EQ(Apply(CompleteDateText, "3/4", 0), "06/03/2024");
    EXPECT_EQ(Apply(CompleteDateText, "3/4", 'E'), "12/03/2024");
    // A seventh digit from the right lands on the first separator's place.
    EXPECT_EQ(Apply(CompleteDateText, "1231205", 0), "06123/1205");

    EXPECT_EQ(Apply(NormalizeDateText, "1/3/4", 0), "20240103");
    EXPECT_EQ(Apply(NormalizeDateText, "1/3/4", 'e'), "20240301");
}

TEST_F(Dates, BadStyleLeavesTheTextAlone)
{
    EXPECT_EQ(Apply(CompleteDateText, "1/3/4", 'B'), "<null>");
    EXPECT_EQ(Apply(NormalizeDateText, "1/3/4", 2), "<null>");
    EXPECT_EQ(Apply(FormatStoredDate, "20051231", 'B'), "<null>");
    EXPECT_EQ(IsDateTextValid("01/01/2000", 'X'), 0);
}

TEST_F(Dates, StoredAndDisplayForms)
{
    EXPECT_EQ(Apply(FormatStoredDate, "20051231", 'E'), "31/12/2005");
    EXPECT_EQ(Apply(FormatStoredDate, "20051231", 0), "12/31/2005");
    EXPECT_EQ(Apply(FormatStoredDate, "", 0), "");
    // A damaged stored value is not read beyond its end.
    EXPECT_EQ(Apply(FormatStoredDate, "2005", 0), "<null>");

    char out[16];
    EXPECT_TRUE(FormatDateParts(out, 4, 7, 5, 0));
    EXPECT_STREQ(out, "07/04/05");
    EXPECT_FALSE(FormatDateParts(out, 31, 4, 2001, 0));
    EXPECT_FALSE(FormatDateParts(out, 1, 1, 10000, 0));
    EXPECT_TRUE(TodayDateText(out, 'e'));
    EXPECT_STREQ(out, "12/06/2026");
}

TEST_F(Dates, ParsingAndValidation)
{
    int32_t day = -1, month = -1, year = -1;
    EXPECT_TRUE(ParseDateText("31/12/2005", &day, &month, &year, 'E'));
    EXPECT_EQ(day * 10000 + month * 100 + year % 100, 311205);
    EXPECT_FALSE(ParseDateText("12/31/200", &day, &month, &year, 0));
    EXPECT_EQ(day + month + year, 0);
    EXPECT_FALSE(ParseDateText("ab/cd/efgh", &day, &month, &year, 0));

    EXPECT_EQ(IsDateTextValid("12-31-2005", 0), 1);
    EXPECT_EQ(IsDateTextValid("12:31:2005", 0), 1);
    EXPECT_EQ(IsDateTextValid("12.31.2005", 0), 0);
    EXPECT_EQ(IsDateTextValid("31/12/2005", 0), 0);
    EXPECT_EQ(IsValidDateText("31/12/2005", 1), 1);
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
