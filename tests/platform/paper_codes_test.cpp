#include <gtest/gtest.h>

#include <cstdlib>

#include <QPageSize>
#include <QPrinterInfo>
#include <QSize>

#include "foundation/paper_table.h"
#include "platform/paper_codes.h"
#include "platform/printer_handles.h"
#include "platform/qt_printer_caps.h"
#include "support/cups_scheduler.h"

namespace {

TEST(PaperCodes, EveryTableCodeGivesThePageSizeTheTableNames)
{
    for (const PaperEntry& e : PaperTable) {
        if (e.code == 0)
            continue;
        const QSize pt = PageSizeForPaperCode(int32_t(e.code)).sizePoints();
        EXPECT_LE(std::abs(pt.width() - int(e.width)), 1) << e.name;
        EXPECT_LE(std::abs(pt.height() - int(e.height)), 1) << e.name;
    }
}

TEST(PaperCodes, APageSizeIsKnownByTheCodeOfItsSize)
{
    EXPECT_EQ(PaperCodeForPageSize(QPageSize(QPageSize::A4)), 9);
    EXPECT_EQ(PaperCodeForPageSize(QPageSize(QPageSize::AnsiC)), 24);
    EXPECT_EQ(PaperCodeForPageSize(QPageSize(QPageSize::B4)), 42);
    // Qt gives these the codes of the C sheet and of B4, which are other sizes.
    EXPECT_EQ(PaperCodeForPageSize(QPageSize(QPageSize::ArchC)), 0);
    EXPECT_EQ(PaperCodeForPageSize(QPageSize(QPageSize::JisB4)), 0);
    EXPECT_EQ(PaperCodeForPageSize(QPageSize(QSize(100, 200), QString(), QPageSize::ExactMatch)), 0);
}

TEST(QtPrinterCaps, AnswersWhetherOrNotAPrinterIsInstalled)
{
    QtPrinterCaps caps;
    PrinterSettings s;
    EXPECT_EQ(caps.DefaultSettings(&s), !QPrinterInfo::defaultPrinter().isNull());
    std::vector<int16_t> codes;
    PaperExtentTenths min, max;
    EXPECT_FALSE(caps.PaperCodes("No Such Printer", QString(), &codes));
    EXPECT_FALSE(caps.PaperExtents("No Such Printer", QString(), &min, &max));
    EXPECT_FALSE(caps.NamedSettings("No Such Printer", &s));
}

// The papers a queue lists and the range of sizes of one's own it takes,
// as its description gives them (the cups-pdf queue's: the usual papers,
// and any size from half an inch square up).
TEST(QtPrinterCaps, AQueueListsThePapersAndTheRangeItsDescriptionGives)
{
    if (!CupsScheduler::Missing().empty())
        GTEST_SKIP() << "the print scheduler needs" << CupsScheduler::Missing();
    CupsScheduler scheduler({{"Office", 0, ""}});
    ASSERT_TRUE(scheduler.ok()) << scheduler.why();
    SetPrinterCaps(nullptr);
    QtPrinterCaps caps;
    std::vector<int16_t> codes;
    ASSERT_TRUE(caps.PaperCodes("Office", QString(), &codes));
    for (const int16_t code : {1, 5, 8, 9, 11, 20, 27})  // Letter, Legal, A3, A4, A5, No. 10, DL
        EXPECT_NE(std::find(codes.begin(), codes.end(), code), codes.end()) << code;
    PaperExtentTenths min, max;
    ASSERT_TRUE(caps.PaperExtents("Office", QString(), &min, &max));
    EXPECT_EQ(min.width, 127);
    EXPECT_EQ(min.length, 127);
    EXPECT_EQ(max.width, 352778);
    EXPECT_EQ(max.length, 352778);
    SetPrinterCaps(nullptr);
}

}  // namespace
