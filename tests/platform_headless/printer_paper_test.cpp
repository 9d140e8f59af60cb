#include <gtest/gtest.h>

#include "foundation/paper_table.h"
#include "platform/printer_paper.h"
#include "support/fake_printer_caps.h"

namespace {

constexpr int32_t kEntryLegal = 2;
constexpr int32_t kEntryA4 = 3;

// A printer listing Letter and A4 that takes no custom sizes.
class PrinterPaper : public ::testing::Test {
protected:
    PrinterPaper() { printer.papers = {1, 9}; }

    PrinterSettings& Settings() { return *GetPrinterHandles(); }

    void AllowCustom(PaperExtentTenths min, PaperExtentTenths max)
    {
        printer.hasExtents = true;
        printer.minExtent = min;
        printer.maxExtent = max;
    }

    FakePrinterCaps printer;
};

TEST_F(PrinterPaper, EverythingFailsWithoutAPrinter)
{
    printer.installed = false;
    int32_t value = 7;
    IntSize size;
    EXPECT_EQ(PrinterSelectPaper(1), 1);
    EXPECT_EQ(PrinterSetOrientation(1), 1);
    EXPECT_EQ(PrinterGetPaperIndex(&value), 1);
    EXPECT_EQ(PrinterGetOrientation(&value), 1);
    EXPECT_EQ(PrinterGetCustomSize(&size), 1);
    EXPECT_EQ(value, 7);
}

TEST_F(PrinterPaper, IndexOutsideTheTableChangesNothing)
{
    Settings().dmPaperSize = 5;
    Settings().dmFields = DM_PAPERSIZE;
    EXPECT_EQ(PrinterSelectPaper(42), 1);
    EXPECT_EQ(PrinterSelectPaper(-1), 1);
    EXPECT_EQ(Settings().dmPaperSize, 5);
    EXPECT_EQ(Settings().dmFields, DM_PAPERSIZE);
}

TEST_F(PrinterPaper, ListedPaperIsSelectedByCodeAndReadBack)
{
    Settings().dmFields = DM_PAPERLENGTH | DM_PAPERWIDTH | DM_ORIENTATION;
    ASSERT_EQ(PrinterSelectPaper(kEntryA4), 0);
    EXPECT_EQ(Settings().dmPaperSize, 9);
    EXPECT_EQ(Settings().dmFields, DM_PAPERSIZE | DM_ORIENTATION);
    int32_t index = -1;
    EXPECT_EQ(PrinterGetPaperIndex(&index), 0);
    EXPECT_EQ(index, kEntryA4);

    // "Letter Small" and "Note" further down share Letter's code.
    ASSERT_EQ(PrinterSelectPaper(kPaperEntryLetter), 0);
    EXPECT_EQ(PrinterGetPaperIndex(&index), 0);
    EXPECT_EQ(index, kPaperEntryLetter);
    Settings().dmPaperSize = 300;
    EXPECT_EQ(PrinterGetPaperIndex(&index), 0);
    EXPECT_EQ(index, kPaperEntryLetter);
}

TEST_F(PrinterPaper, UnlistedPaperBecomesACustomSizeWithinTheExtents)
{
    AllowCustom({2159, 2794}, {2159, 2794});  // exactly Letter
    Settings().dmFields = DM_PAPERSIZE;
    ASSERT_EQ(PrinterSelectPaper(kPaperEntryAnyFormat), 0);
    EXPECT_EQ(Settings().dmFields, DM_PAPERLENGTH | DM_PAPERWIDTH);
    EXPECT_EQ(Settings().dmPaperWidth, 2159);  // 8 1/2 in, not 8 in
    EXPECT_EQ(Settings().dmPaperLength, 2794);
    IntSize size;
    EXPECT_EQ(PrinterGetCustomSize(&size), 0);
    EXPECT_TRUE(size.width == 612 && size.height == 792);

    AllowCustom({500, 500}, {4000, 6000});
    ASSERT_EQ(PrinterSelectPaper(kEntryA4 + 10), 0);  // A4 small, not listed
    EXPECT_EQ(Settings().dmPaperWidth, 2099);
    EXPECT_EQ(Settings().dmPaperLength, 2966);
}

TEST_F(PrinterPaper, FallsBackToLetterAndFailsWithoutIt)
{
    AllowCustom({500, 500}, {2500, 3000});  // Legal is 3556 long
    Settings().dmFields = DM_PAPERLENGTH | DM_PAPERWIDTH;
    ASSERT_EQ(PrinterSelectPaper(kEntryLegal), 0);
    EXPECT_EQ(Settings().dmPaperSize, 1);
    EXPECT_EQ(Settings().dmFields, DM_PAPERSIZE);

    printer.papers = {9};
    EXPECT_EQ(PrinterSelectPaper(kEntryLegal), 2);
    EXPECT_EQ(Settings().dmPaperSize, 1);
    EXPECT_EQ(Settings().dmFields, DM_PAPERSIZE);
}

TEST_F(PrinterPaper, OrientationIsSetAndReadBack)
{
    int32_t portrait = 7;
    EXPECT_EQ(PrinterGetOrientation(&portrait), 2);
    EXPECT_EQ(PrinterSetOrientation(0), 0);
    EXPECT_EQ(Settings().dmOrientation, DMORIENT_LANDSCAPE);
    EXPECT_EQ(Settings().dmFields, DM_ORIENTATION);
    EXPECT_EQ(GetPrinterPortrait(&portrait), 0);
    EXPECT_EQ(portrait, 0);
    EXPECT_EQ(PrinterSetOrientation(5), 0);
    EXPECT_EQ(PrinterGetOrientation(&portrait), 0);
    EXPECT_EQ(portrait, 1);
    Settings().dmOrientation = 3;
    EXPECT_EQ(PrinterGetOrientation(&portrait), 1);
}

TEST_F(PrinterPaper, CustomSizeReportsEachMissingSide)
{
    Settings().dmPaperLength = 254;
    Settings().dmPaperWidth = 127;
    IntSize size{-1, -1};
    EXPECT_EQ(PrinterGetCustomSize(&size), 30);
    EXPECT_TRUE(size.width == -1 && size.height == -1);
    Settings().dmFields = DM_PAPERLENGTH;
    EXPECT_EQ(PrinterGetCustomSize(&size), 20);
    EXPECT_TRUE(size.width == -1 && size.height == 72);
    Settings().dmFields = DM_PAPERWIDTH;
    EXPECT_EQ(PrinterGetCustomSize(&size), 10);
    EXPECT_EQ(size.width, 36);
    Settings().dmFields = DM_PAPERSIZE | DM_PAPERWIDTH;
    EXPECT_EQ(PrinterGetCustomSize(&size), 2);
}

TEST_F(PrinterPaper, ExtentsComeFromTheNamedPrinterInPoints)
{
    PrinterSettings s = printer.defaults;
    PaperExtentPoints min, max;
    EXPECT_EQ(PrinterGetPaperExtents(&s, &min, &max), 1);
    AllowCustom({254, 508}, {2540, 3556});
    EXPECT_EQ(PrinterGetPaperExtents(&s, &min, &max), 0);
    EXPECT_TRUE(min.width == 72.0 && min.height == 144.0 && max.height == 1008.0);
    s.deviceName = "Another Printer";
    EXPECT_EQ(PrinterGetPaperExtents(&s, &min, &max), 1);
}

TEST_F(PrinterPaper, APrinterChosenForAJobIsTheApplicationsWithItsOwnPaper)
{
    PrinterSettings letter;
    letter.deviceName = "Letter Printer";
    letter.dmFields = DM_PAPERSIZE | DM_ORIENTATION;
    letter.dmPaperSize = 1;
    letter.dmOrientation = DMORIENT_PORTRAIT;
    printer.others = {letter};
    // The printer held keeps what Page Setup chose for it.
    ASSERT_EQ(PrinterSelectPaper(kEntryA4), 0);
    ASSERT_EQ(PrinterSetOrientation(0), 0);
    EXPECT_TRUE(ChoosePrinter(printer.defaults.deviceName));
    EXPECT_EQ(Settings().dmPaperSize, 9);
    EXPECT_EQ(Settings().dmOrientation, DMORIENT_LANDSCAPE);
    // A printer that is not there changes nothing.
    EXPECT_FALSE(ChoosePrinter("Gone"));
    EXPECT_FALSE(ChoosePrinter(QString()));
    EXPECT_EQ(Settings().deviceName, printer.defaults.deviceName);
    EXPECT_EQ(Settings().dmPaperSize, 9);
    // Another printer comes with the settings it starts with.
    EXPECT_TRUE(ChoosePrinter("Letter Printer"));
    EXPECT_EQ(Settings().deviceName, "Letter Printer");
    EXPECT_EQ(Settings().dmPaperSize, 1);
    EXPECT_EQ(Settings().dmOrientation, DMORIENT_PORTRAIT);
}

}  // namespace
