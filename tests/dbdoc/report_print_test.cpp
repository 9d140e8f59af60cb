// The printed report on a recording surface with a fixed-pitch font: page
// headers, column positions, page breaks, strips of wide tables, roster
// lines and failing pages.

#include <gtest/gtest.h>

#include "dbdoc/report_print.h"
#include "dbdoc_test_util.h"
#include "report_places.h"

namespace {

// Every character is 10 units wide; body lines are 10 high, header lines 8.
class RecordingSurface : public ReportSurface {
public:
    int32_t PrintableWidth() override { return width; }
    int32_t PrintableHeight() override { return height; }
    int32_t VerticalDpi() override { return 72; }
    int32_t StartDoc(const std::string& name) override
    {
        events.push_back("doc " + name);
        return 0;
    }
    int32_t StartPage() override
    {
        ++pages;
        if (failPage == pages)
            return 5;
        events.push_back("page");
        return 0;
    }
    int32_t EndPage() override { return 0; }
    int32_t EndDoc() override
    {
        events.push_back("end");
        return 0;
    }
    void AbortDoc() override { events.push_back("abort"); }
    void SelectFont(const LogFont& font) override { header = font.weight == FW_BOLD; }
    int32_t TextWidth(std::string_view text) override { return int32_t(text.size()) * 10; }
    TextMetrics Metrics() override
    {
        TextMetrics m;
        m.ascent = header ? 6 : 8;
        m.descent = 2;
        return m;
    }
    void DrawText(int32_t x, int32_t y, std::string_view text) override
    {
        std::string event = (header ? "H " : "") + std::to_string(x) + "," + std::to_string(y) + " ";
        events.push_back(event.append(text));
    }
    void SetOriginX(int32_t x) override
    {
        if (x != 0)
            events.push_back("origin " + std::to_string(x));
    }

    int32_t width = 1000;
    int32_t height = 1000;
    int32_t failPage = 0;
    int32_t pages = 0;
    bool header = false;
    std::vector<std::string> events;
};

std::time_t When()
{
    std::tm t{};
    t.tm_year = 124;
    t.tm_mon = 2;
    t.tm_mday = 5;
    t.tm_hour = 14;
    t.tm_min = 7;
    t.tm_isdst = -1;
    return std::mktime(&t);
}

// What was drawn, without the page headers.
std::vector<std::string> Body(const std::vector<std::string>& events)
{
    std::vector<std::string> out;
    for (const std::string& e : events) {
        if (e.rfind("H ", 0) != 0)
            out.push_back(e);
    }
    return out;
}

class ReportPrintTest : public DbDocTest {
protected:
    std::unique_ptr<TestDocument> People()
    {
        return Make("people.dqx", {{{kFieldFirstName, "Ann"}, {kFieldLastName, "Bell"}, {kFieldCity, "Rome"}},
                                   {{kFieldFirstName, "Christopher"}, {kFieldLastName, "Dunn"}},
                                   {{kFieldFirstName, "Al"}, {kFieldLastName, "Eckersley"}, {kFieldCity, "Oslo"}}});
    }
    int32_t Print(TestDocument& document, const ReportOptions& options)
    {
        ReportResult result;
        return PrintReport(document, options, surface, When(), &result);
    }
    RecordingSurface surface;
};

TEST_F(ReportPrintTest, TabularPageWithItsHeader)
{
    auto db = People();
    ASSERT_EQ(Print(*db, Places({2, 7, 1})), 1);
    // Header lines 8 high (ascent 6), then two body lines of space: the
    // body starts at 36, baselines 8 below each line's top. Columns are
    // as wide as their widest text plus two spaces.
    EXPECT_EQ(surface.events, (std::vector<std::string>{
                                  "doc people.dqx", "page", "H 0,6 people.dqx", "H 910,6 Page  1  ",
                                  "H 0,14 Tuesday, March 05, 2024, 14:07", "0,44 Bell", "110,44 Rome",
                                  "170,44 Ann", "0,54 Dunn", "110,54 ", "170,54 Christopher", "0,64 Eckersley",
                                  "110,64 Oslo", "170,64 Al", "end"}));
}

TEST_F(ReportPrintTest, PagesBreakBeforeALineWouldPassTheBottom)
{
    auto db = MakeSamples("a.dqx", 25);
    // Body from 36; a line fits while its bottom stays within 100 - 10.
    surface.height = 100;
    ASSERT_EQ(Print(*db, Places({1})), 1);
    int32_t pages = 0, lines = 0;
    for (const std::string& e : surface.events) {
        pages += e == "page";
        lines += e.rfind("0,", 0) == 0;
    }
    EXPECT_EQ(pages, 5);  // 5 lines a page
    EXPECT_EQ(lines, 25);
    EXPECT_NE(std::find(surface.events.begin(), surface.events.end(), "H 910,6 Page  5  "), surface.events.end());
}

TEST_F(ReportPrintTest, AWideTablePrintsEachBandOncePerStrip)
{
    auto db = People();
    surface.width = 150;  // the three columns take 250: two strips
    surface.height = 66;  // two lines a page
    ASSERT_EQ(Print(*db, Places({2, 7, 1})), 1);
    const std::vector<std::string> pageTexts = [&] {
        std::vector<std::string> out;
        for (const std::string& e : surface.events)
            if (e.find("Page") != std::string::npos)
                out.push_back(e.substr(e.find("Page")));
        return out;
    }();
    EXPECT_EQ(pageTexts, (std::vector<std::string>{"Page  1-1  ", "Page  1-2  ", "Page  2-1  ", "Page  2-2  "}));
    EXPECT_EQ(Body(surface.events),
              (std::vector<std::string>{"doc people.dqx", "page", "0,44 Bell", "110,44 Rome", "170,44 Ann",
                                        "0,54 Dunn", "110,54 ", "170,54 Christopher", "page", "origin 150",
                                        "0,44 Bell", "110,44 Rome", "170,44 Ann", "0,54 Dunn", "110,54 ",
                                        "170,54 Christopher", "page", "0,44 Eckersley", "110,44 Oslo",
                                        "170,44 Al", "page", "origin 150", "0,44 Eckersley", "110,44 Oslo",
                                        "170,44 Al", "end"}));
}

TEST_F(ReportPrintTest, RosterLinesWrapAndEntriesAreSeparated)
{
    auto db = People();
    ASSERT_EQ(Print(*db, Places({2, 7, 1}, kReportRoster, 12)), 1);
    EXPECT_EQ(Body(surface.events),
              (std::vector<std::string>{"doc people.dqx", "page", "0,44 Bell  ", "0,54 Rome  ", "0,64 Ann  ",
                                        "0,84 Dunn  ", "0,94   ", "0,104 Christopher  ", "0,124 Eckersley  ",
                                        "0,134 Oslo  ", "0,144 Al  ", "end"}));
}

TEST_F(ReportPrintTest, AFailingPageAbortsTheJob)
{
    auto db = MakeSamples("a.dqx", 25);
    surface.height = 100;
    surface.failPage = 2;
    EXPECT_EQ(Print(*db, Places({1})), -1);
    EXPECT_EQ(surface.events.back(), "abort");
    EXPECT_EQ(capture.lastText(), "Printing error  [5]");
}

TEST_F(ReportPrintTest, NothingToPrintAndAStoppedJob)
{
    auto empty = Make("e.dqx", {});
    EXPECT_EQ(Print(*empty, Places({1})), 0);
    EXPECT_EQ(capture.lastText(), "No Records in Database for print report.");
    EXPECT_TRUE(surface.events.empty());

    auto db = MakeSamples("a.dqx", 30);
    StoppingHost stopAtSeven(7);
    ReportResult result;
    ASSERT_EQ(PrintReport(*db, Places({1}), surface, When(), &result), 1);
    EXPECT_EQ(result.records, 7);
    EXPECT_EQ(surface.events.back(), "end");
}

}  // namespace
