#include <gtest/gtest.h>

#include <cstdlib>

#include <QPageSize>
#include <QPrinterInfo>
#include <QSize>

#include "foundation/paper_table.h"
#include "platform/paper_codes.h"
#include "platform/qt_printer_caps.h"

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
}

}  // namespace
