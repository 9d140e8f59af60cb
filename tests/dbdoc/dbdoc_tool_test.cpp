// tessaline-tool dbdoc, run as a program: a database exported, imported
// into another and dumped equal; a split merged back; bad arguments.

#include <gtest/gtest.h>

#include "support/shell.h"
#include "support/temp_dir.h"

namespace {

TEST(DbDocTool, ExportImportSplitAndMergeKeepEveryRecord)
{
    TempDir dir;
    ASSERT_EQ(Shell(dir, "\"$T\" db new a.dqx && \"$T\" db fill a.dqx 300 --seed 9 >/dev/null"), 0);
    // The generated notes hold commas: a comma export says they will not
    // read back whole, tab and quoted exports read back exactly.
    EXPECT_EQ(Shell(dir, "\"$T\" dbdoc export a.dqx a.txt --delimiter 1 | grep -q 'will not read back'"), 0);
    for (const char* delimiter : {"2", "5"}) {
        SCOPED_TRACE(delimiter);
        const std::string d = delimiter;
        ASSERT_EQ(Shell(dir, "rm -f b.* && \"$T\" db new b.dqx && \"$T\" dbdoc export a.dqx a.txt --delimiter " +
                                 d + " >/dev/null && \"$T\" dbdoc import b.dqx a.txt --delimiter " + d +
                                 " >/dev/null"),
                  0);
        // Date, salutation and categories are no columns; the rest must
        // match record for record.
        EXPECT_EQ(Shell(dir, "for f in a b; do \"$T\" db dump $f.dqx | cut -f3-23 | sort > $f.dump; done; "
                             "test $(wc -l < b.dump) = 301 && cmp -s a.dump b.dump"),
                  0);
    }
    ASSERT_EQ(Shell(dir, "\"$T\" dbdoc split a.dqx s.dqx --query 9 C > split.out && "
                         "\"$T\" db new c.dqx && \"$T\" dbdoc merge c.dqx s.dqx > merge.out"),
              0);
    EXPECT_EQ(Shell(dir, "n=$(cut -d' ' -f1 split.out); test $n -gt 0 && grep -qx \"$n records merged\" merge.out"),
              0);
    EXPECT_EQ(Shell(dir, "\"$T\" dbdoc report a.dqx r.txt --order 2,1 >/dev/null && test $(wc -l < r.txt) = 300"),
              0);
}

TEST(DbDocTool, AnImportPastTheLimitFailsBeforeAddingAndSaysByHowMuch)
{
    TempDir dir;
    // A spreadsheet's column of one name: every line the same sort value.
    ASSERT_EQ(Shell(dir, "\"$T\" db new a.dqx && \"$T\" db fill a.dqx 10 --seed 4 >/dev/null && \"$T\" db dump a.dqx > before && "
                         "yes 'Ann,Smith' | head -n 31991 > big.csv && head -n 31990 big.csv > fits.csv"),
              0);
    EXPECT_EQ(Shell(dir, "\"$T\" dbdoc import a.dqx big.csv --delimiter 1 > said 2> err"), 1);
    const std::string err = ReadFileBytes(dir.file("err"));
    EXPECT_NE(err.find("\"big.csv\" holds 31991 records, and the database has room for 31990 more records"), std::string::npos)
        << err;
    // Only the failure is said.
    EXPECT_EQ(err.find("No record of it was added"), std::string::npos) << err;
    EXPECT_EQ(err.find("32000 records."), std::string::npos) << err;
    EXPECT_EQ(Shell(dir, "\"$T\" db dump a.dqx | cmp -s - before && test ! -e a.dqx-journal"), 0);

    // One line fewer fits exactly.
    ASSERT_EQ(Shell(dir, "\"$T\" dbdoc import a.dqx fits.csv --delimiter 1 >/dev/null"), 0);
    EXPECT_EQ(Shell(dir, "test $(\"$T\" db dump a.dqx | grep -c 'Ann	Smith') = 31990"), 0);
    EXPECT_EQ(Shell(dir, "\"$T\" db verify a.dqx | grep -q '^32000 records'"), 0);
}

TEST(DbDocTool, BadArgumentsAndFilesFailCleanly)
{
    TempDir dir;
    ASSERT_EQ(Shell(dir, "\"$T\" db new a.dqx"), 0);
    EXPECT_EQ(Shell(dir, "\"$T\" dbdoc 2>/dev/null"), 1);
    EXPECT_EQ(Shell(dir, "\"$T\" dbdoc export a.dqx 2>/dev/null"), 1);
    EXPECT_EQ(Shell(dir, "\"$T\" dbdoc export a.dqx x.txt --delimiter 9 2>/dev/null"), 1);
    EXPECT_EQ(Shell(dir, "\"$T\" dbdoc export a.dqx x.txt --order 1,99 2>/dev/null"), 1);
    EXPECT_EQ(Shell(dir, "\"$T\" dbdoc export a.dqx x.txt 2>/dev/null"), 1);  // no records
    EXPECT_EQ(Shell(dir, "\"$T\" dbdoc export none.dqx x.txt 2>/dev/null"), 1);
    EXPECT_EQ(Shell(dir, "\"$T\" dbdoc import a.dqx none.txt 2>/dev/null"), 1);
    EXPECT_EQ(Shell(dir, "\"$T\" dbdoc frobnicate a.dqx x 2>/dev/null"), 1);
    EXPECT_EQ(Shell(dir, "test ! -e x.txt"), 0);
}

}  // namespace
