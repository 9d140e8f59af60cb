// File reports: tabular lines padded to the widest text of each column,
// roster entries wrapped at the line length, and what a report refuses.

#include <gtest/gtest.h>

#include "dbdoc/database_report.h"
#include "dbdoc_test_util.h"
#include "report_places.h"
#include "support/shell.h"

namespace {

class ReportTest : public DbDocTest {
protected:
    std::string Report(TestDocument& document, const ReportOptions& options)
    {
        ReportResult result;
        EXPECT_EQ(ExportReport(document, options, Path("r.txt"), &result), 1);
        return ReadFileBytes(dir.file("r.txt"));
    }
    std::unique_ptr<TestDocument> People()
    {
        return Make("a.dqx", {{{kFieldFirstName, "Ann"}, {kFieldLastName, "Bell"}, {kFieldCity, "Rome"}},
                              {{kFieldFirstName, "Christopher"}, {kFieldLastName, "Dunn"}},
                              {{kFieldFirstName, "Al"}, {kFieldLastName, "Eckersley-Smythe"}, {kFieldCity, "Oslo"}}});
    }
};

TEST_F(ReportTest, TabularColumnsArePaddedToTheWidestTextPlusTwo)
{
    auto db = People();
    // LastName, City, FirstName; widths 16, 4 and 11, each plus two.
    EXPECT_EQ(Report(*db, Places({2, 7, 1})),
              "Bell              \tRome  \tAnn          \t\r\n"
              "Dunn              \t      \tChristopher  \t\r\n"
              "Eckersley-Smythe  \tOslo  \tAl           \t\r\n");
    EXPECT_GE(db->commits, 1);
}

TEST_F(ReportTest, RosterWrapsAtTheLineLengthWithoutSplittingAField)
{
    auto db = People();
    // Running lengths: LastName 18, City 24, FirstName 37. At 30 the
    // FirstName starts a new line.
    EXPECT_EQ(Report(*db, Places({2, 7, 1}, kReportRoster, 30)),
              "Bell  Rome  \r\nAnn  \r\n\r\n"
              "Dunn    \r\nChristopher  \r\n\r\n"
              "Eckersley-Smythe  Oslo  \r\nAl  \r\n\r\n");
    // Fields longer than the line each take a line of their own.
    EXPECT_EQ(Report(*db, Places({2, 1}, kReportRoster, 3)),
              "Bell  \r\nAnn  \r\n\r\n"
              "Dunn  \r\nChristopher  \r\n\r\n"
              "Eckersley-Smythe  \r\nAl  \r\n\r\n");
}

TEST_F(ReportTest, AnOrderWithoutPlacesGivesEmptyLinesAndBlankEntries)
{
    auto db = People();
    EXPECT_EQ(Report(*db, Places({})), "\r\n\r\n\r\n");
    EXPECT_EQ(Report(*db, Places({0, 22, -3}, kReportRoster)), "\r\n\r\n\r\n\r\n\r\n\r\n");
}

TEST_F(ReportTest, AReportListsTheSelectionInBrowserOrder)
{
    auto db = MakeSamples("a.dqx", 30);
    Query(*db, kFieldState, "ny");
    const std::vector<std::string> selection = SelectionTexts(db->Data());
    const std::string text = Report(*db, Places({1}));
    std::string expected;
    for (const std::string& record : selection)
        expected += record.substr(0, record.find('|')) + "  \t\r\n";
    EXPECT_EQ(text, expected);
}

TEST_F(ReportTest, RefusedReportsWriteNothing)
{
    auto empty = Make("e.dqx", {});
    ReportResult result;
    EXPECT_EQ(ExportReport(*empty, Places({1}), Path("r.txt"), &result), 0);
    EXPECT_EQ(capture.lastText(), "No Records in Database for print report.");
    EXPECT_EQ(ReadFileBytes(dir.file("r.txt")), "");

    auto db = People();
    const std::string before = ReadFileBytes(dir.file("a.dqx"));
    EXPECT_EQ(ExportReport(*db, Places({1}), Path("a.dqx"), &result), 0);
    EXPECT_EQ(ReadFileBytes(dir.file("a.dqx")), before);
    EXPECT_EQ(ExportReport(*db, Places({1}), DbPath(dir.file("none/r.txt")), &result), -1);
}

TEST_F(ReportTest, AStoppedMeasureStillReportsEveryRecordItReaches)
{
    auto db = MakeSamples("a.dqx", 12);
    StoppingHost host(3);
    ReportResult result;
    ASSERT_EQ(ExportReport(*db, Places({1}), Path("r.txt"), &result), 1);
    EXPECT_EQ(host.operations, (std::vector<std::string>{"Testing...", "Printing..."}));
    EXPECT_EQ(result.records, 3);
    EXPECT_TRUE(result.aborted);
}

}  // namespace
