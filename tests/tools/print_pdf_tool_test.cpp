// print-pdf: the sample card with a database of 25 contacts, and without
// one, into PDF files; wrong arguments and missing files fail.

#include <gtest/gtest.h>

#include <QFile>
#include <string>

#include "support/needed_tools.h"
#include "support/shell.h"

namespace {

const std::string kSample = std::string(TESSALINE_TEST_DATA_DIR) + "/../../data/Samples/Business Card.lqx";

TEST(PrintPdfTool, PrintsTheSampleCardWithAndWithoutADatabase)
{
    TempDir dir;
    if (Shell(dir, "command -v pdfinfo >/dev/null") != 0)
        SKIP_FOR_MISSING_TOOL() << "pdfinfo (poppler-utils) is not installed";
    WriteFileBytes(dir.file("card.lqx"), ReadFileBytes(kSample));
    ASSERT_EQ(Shell(dir, "\"$T\" db new people.dqx && \"$T\" db fill people.dqx 25 --seed 3 >/dev/null"), 0);

    ASSERT_EQ(Shell(dir, "\"$T\" print-pdf card.lqx people.dqx out.pdf > said"), 0);
    EXPECT_EQ(ReadFileBytes(dir.file("said")), "6 pages\n");
    EXPECT_EQ(Shell(dir, "pdfinfo out.pdf | grep -q '^Pages: *6$'"), 0);
    EXPECT_EQ(Shell(dir, "pdftotext -f 5 -l 5 out.pdf - | grep -q '@example.com'"), 0);

    ASSERT_EQ(Shell(dir, "\"$T\" print-pdf card.lqx one.pdf > said"), 0);
    EXPECT_EQ(ReadFileBytes(dir.file("said")), "2 pages\n");

    EXPECT_NE(Shell(dir, "\"$T\" print-pdf card.lqx 2>/dev/null"), 0);
    EXPECT_NE(Shell(dir, "\"$T\" print-pdf missing.lqx x.pdf 2>/dev/null"), 0);
    EXPECT_NE(Shell(dir, "\"$T\" print-pdf card.lqx missing.dqx x.pdf 2>/dev/null"), 0);
    EXPECT_NE(Shell(dir, "\"$T\" print-pdf card.lqx 'no folder/x.pdf' 2>/dev/null"), 0);
}

TEST(PrintPdfTool, ADamagedDatabaseFailsThePrintWithOneMessage)
{
    TempDir dir;
    WriteFileBytes(dir.file("card.lqx"), ReadFileBytes(kSample));
    ASSERT_EQ(Shell(dir, "\"$T\" db new people.dqx && \"$T\" db fill people.dqx 25 --seed 3 >/dev/null"), 0);
    // A record in the middle loses its marker: the records behind it can
    // no longer be found.
    std::string bytes = ReadFileBytes(dir.file("people.dqx"));
    ASSERT_EQ(uint8_t(bytes[6000]), 0xFC);
    size_t at = 6001;
    for (int n = 0; n < 10; ++n)
        at = bytes.find('\xFC', at + 1);
    ASSERT_NE(at, std::string::npos);
    bytes[at] = 'x';
    WriteFileBytes(dir.file("people.dqx"), bytes);

    EXPECT_NE(Shell(dir, "\"$T\" print-pdf card.lqx people.dqx out.pdf > said 2> err"), 0);
    EXPECT_EQ(ReadFileBytes(dir.file("said")), "");
    const std::string err = ReadFileBytes(dir.file("err"));
    const size_t first = err.find("Database is damaged.");
    EXPECT_NE(first, std::string::npos) << err;
    EXPECT_EQ(err.find("Database is damaged.", first + 1), std::string::npos) << err;
    EXPECT_FALSE(QFile::exists(QString::fromStdString(dir.file("out.pdf"))));
}

}  // namespace
