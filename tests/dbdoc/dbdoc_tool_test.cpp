// tessaline-tool dbdoc, run as a program: a database exported, imported
// into another and dumped equal; a split merged back; bad arguments.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

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

TEST(DbDocTool, AnImportNamesLinesAsAnEditorDoesAndSaysWhatItLeftOut)
{
    TempDir dir;
    // Blank lines, a line of separators alone, a line of 30 columns, a
    // character without a place, and a last line without its end: the same
    // file with each kind of line end is said the same.
    std::string columns = "c1";
    for (int n = 2; n <= 30; ++n)
        columns += ",c" + std::to_string(n);
    const std::string lines[] = {"Ada,Abbott", "", "", ",,,", columns, "Jo,Kowalsk\xC4\x85", "", ",,", "Eve,Smith"};
    for (const char* end : {"\n", "\r", "\r\n"}) {
        SCOPED_TRACE(int(end[0]) + int(end[1]));
        std::string text;
        for (const std::string& line : lines)
            text += line + (&line == &lines[8] ? "" : end);
        WriteFileBytes(dir.file("in.txt"), text);
        ASSERT_EQ(Shell(dir, "rm -f a.dqx* && \"$T\" db new a.dqx && \"$T\" dbdoc import a.dqx in.txt --delimiter 1 > said"), 0);
        EXPECT_EQ(ReadFileBytes(dir.file("said")),
                  "6 records imported with delimiter 1\n"
                  "1 character of the file has no place in the database's character set; it was stored as \"?\" (in "
                  "line 6 of the file).\n"
                  "9 fields were left out: a record takes only the first 21 fields of a line (the first in line 5 of "
                  "the file).\n"
                  "3 blank lines were skipped: a line without characters is no record.\n"
                  "2 lines held nothing but separators and were added as records with every field empty (the first: "
                  "line 4 of the file).\n");
    }
    // A device or a pipe is no file to import: its bytes may never end.
    ASSERT_EQ(Shell(dir, "mkfifo pipe.txt"), 0);
    for (const char* source : {"/dev/zero", "pipe.txt"}) {
        SCOPED_TRACE(source);
        EXPECT_EQ(Shell(dir, std::string("\"$T\" dbdoc import a.dqx ") + source + " > said 2> err"), 1);
        const std::string name = std::string(source) == "pipe.txt" ? "pipe.txt" : "zero";
        EXPECT_NE(ReadFileBytes(dir.file("err")).find("\"" + name + "\" is not a file but a device or a pipe. Nothing "
                                                      "was imported."),
                  std::string::npos)
            << ReadFileBytes(dir.file("err"));
    }
}

TEST(DbDocTool, TheNewFileOfAKilledSplitGoesAtTheNextOpenInItsFolder)
{
    TempDir dir;
    ASSERT_EQ(Shell(dir, "\"$T\" db new a.dqx && \"$T\" db fill a.dqx 30 --seed 2 >/dev/null"), 0);
    // What a split killed halfway leaves, and one a split under way holds.
    WriteFileBytes(dir.file("out.dqx~"), std::string(6000, 'p'));
    WriteFileBytes(dir.file("busy.dqx~"), std::string(6000, 'p'));
    WriteFileBytes(dir.file("notes.txt~"), "an editor's backup");
    ASSERT_EQ(Shell(dir, "{ flock -x busy.dqx~ -c 'touch held; for i in $(seq 600); do test -e done && break; "
                         "sleep 0.05; done' & } ; "
                         "for i in $(seq 600); do test -e held && break; sleep 0.05; done; test -e held && "
                         "\"$T\" db fill a.dqx 1 >/dev/null; r=$?; touch done; wait; exit $r"),
              0);
    EXPECT_FALSE(std::filesystem::exists(dir.file("out.dqx~")));
    EXPECT_TRUE(std::filesystem::exists(dir.file("busy.dqx~")));
    EXPECT_TRUE(std::filesystem::exists(dir.file("notes.txt~")));
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

    // A merge from nothing that is a database fails, and claims no merge.
    ASSERT_EQ(Shell(dir, "echo 'Ada,Abbott' > t.txt && \"$T\" card new-sample c.lqx >/dev/null"), 0);
    for (const char* source : {"none.dqx", "t.txt", "c.lqx"}) {
        SCOPED_TRACE(source);
        EXPECT_EQ(Shell(dir, "\"$T\" dbdoc merge a.dqx " + std::string(source) + " > m.out 2>/dev/null"), 1);
        EXPECT_EQ(Shell(dir, "grep -q merged m.out"), 1);
    }
}

}  // namespace
