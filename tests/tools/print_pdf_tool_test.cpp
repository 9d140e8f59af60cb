// print-pdf: the sample card with a database of 25 contacts, and without
// one, into PDF files; wrong arguments and missing files fail.

#include <gtest/gtest.h>

#include <string>

#include "support/shell.h"

namespace {

const std::string kSample = std::string(TESSALINE_TEST_DATA_DIR) + "/../../data/Samples/Business Card.lqx";

TEST(PrintPdfTool, PrintsTheSampleCardWithAndWithoutADatabase)
{
    TempDir dir;
    if (Shell(dir, "command -v pdfinfo >/dev/null") != 0)
        GTEST_SKIP() << "pdfinfo (poppler-utils) is not installed";
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

}  // namespace
