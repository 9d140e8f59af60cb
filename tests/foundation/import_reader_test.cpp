#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/needed_tools.h"
#include "foundation/file_io.h"
#include "foundation/handle.h"
#include "foundation/import_reader.h"
#include "support/temp_dir.h"

namespace {

using namespace std::string_literals;
using Record = std::vector<std::string>;
using Records = std::vector<Record>;

Record Fields()
{
    Record fields;
    char text[kImportFieldSize];
    for (int32_t i = 0; ImportGetField(i, text); ++i)
        fields.emplace_back(text);
    return fields;
}

class ImportReader : public ::testing::Test {
protected:
    void TearDown() override
    {
        ImportClose();
        ImportSetTrimSpaces(0);
        FileClose(file_);
    }
    void Open(const std::string& bytes, int16_t separator, int32_t bufferSize = 10000, int32_t capacity = 21)
    {
        ImportClose();
        FileClose(file_);
        const std::string path = dir_.file(std::to_string(++serial_) + ".txt");
        std::ofstream(path, std::ios::binary) << bytes;
        PathRecord record{};
        ASSERT_EQ(PathRecordFromPosix(path, &record), 0);
        ASSERT_EQ(FileOpen(&record, kFileRead, &file_), 0);
        ASSERT_TRUE(ImportOpen(file_, bufferSize, capacity));
        ImportSetSeparator(separator);
    }
    Records Read(const std::string& bytes, int16_t separator, int32_t bufferSize = 10000)
    {
        Open(bytes, separator, bufferSize);
        Records records;
        while (ImportNextLine())
            records.push_back(Fields());
        return records;
    }

    TempDir dir_;
    FileHandle file_ = kNoFile;
    int serial_ = 0;
};

TEST_F(ImportReader, SplitsLinesKeepingTheLastFieldOfAnUnendedLine)
{
    EXPECT_EQ(Read("a;b;c\r\nx;;y\n;\n", 4), (Records{{"a", "b", "c"}, {"x", "", "y"}, {"", ""}}));
    EXPECT_EQ(Read("a;b;c", 4), (Records{{"a", "b", "c"}}));
    EXPECT_EQ(Read("1;2\n3;", 4), (Records{{"1", "2"}, {"3", ""}}));
    EXPECT_EQ(Read(std::string(300, 'x').append(";y\n"), 4), (Records{{std::string(255, 'x'), "y"}}));
    ImportSetTrimSpaces(1);
    EXPECT_EQ(Read("a  ; b \t\n", 4), (Records{{"a", " b \t"}}));
}

TEST_F(ImportReader, QuotedModeReadsQuotedFieldsWithinTheirLine)
{
    EXPECT_EQ(Read("\"Smith, J\",x\r\n\"say \"\"hi\"\"\",,\"\"\na\"b,\"c\"d\n\"open,end\nnext,line", 5),
              (Records{{"Smith, J", "x"}, {"say \"hi\"", "", ""}, {"a\"b", "cd"}, {"open,end"}, {"next", "line"}}));
}

TEST_F(ImportReader, QuotedFieldsReadTheSameWithEverySeparatorAndHoldLineBreaks)
{
    for (const int16_t separator : {0, 1, 2, 3, 4, 5}) {
        const std::string s(1, " ,\t:;,"[separator]);
        SCOPED_TRACE(separator);
        const std::string text = "\"The \"\"Best\"\" Bakery\"" + s + "\"a" + s + "b\"" + s + "plain\r\n" +
                                 "\"12 Main St\r\nApt 4\"" + s + "x\n" + "\"Gare,\n\n\nQuai 2\n\"" + s + "\"\"\n" +
                                 "last\n";
        EXPECT_EQ(Read(text, separator),
                  (Records{{"The \"Best\" Bakery", "a" + s + "b", "plain"},
                           {"12 Main St, Apt 4", "x"},
                           {"Gare, Quai 2", ""},
                           {"last"}}));
        // Records, not lines, are counted.
        ASSERT_TRUE(ImportSeekLine(3));
        EXPECT_EQ(Fields(), (Record{"Gare, Quai 2", ""}));
        ASSERT_TRUE(ImportSeekLine(2));
        EXPECT_EQ(Fields(), (Record{"12 Main St, Apt 4", "x"}));
    }
    // A quotation mark that never closes, or only after too many lines,
    // quotes to the end of its line only: the lines after it stay records.
    std::string many = "\"open;end\n";
    for (int i = 0; i <= kImportMaxQuotedBreaks; ++i)
        many += "l" + std::to_string(i) + ";x\n";
    many += "close\";y\n";
    const Records got = Read(many, 4);
    ASSERT_EQ(got.size(), size_t(kImportMaxQuotedBreaks) + 3);
    EXPECT_EQ(got[0], (Record{"open;end"}));
    EXPECT_EQ(got[1], (Record{"l0", "x"}));
    EXPECT_EQ(Read("a;\"b\nc;d", 4), (Records{{"a", "b"}, {"c", "d"}}));
}

TEST_F(ImportReader, SmallBuffersReadLongLinesWhole)
{
    std::string text = "ab;c\r\nd\n\re;f\r\r" + std::string(40, 'g') + ";h\n\n";
    for (int i = 0; i < 30; ++i)
        text += 'f' + std::to_string(i) + ';';
    text += "\r\nx\0y;z"s;
    const Records whole = Read(text, 4);
    ASSERT_EQ(whole.size(), 6u);
    EXPECT_EQ(whole[3], (Record{std::string(40, 'g'), "h"}));
    EXPECT_EQ(whole[4].size(), 31u);
    EXPECT_EQ(whole[5], (Record{"xy", "z"}));
    for (int32_t size = 2; size < 24; ++size)
        EXPECT_EQ(Read(text, 4, size), whole) << "buffer size " << size;
}

// The reader takes LF LF, CR CR and LF CR each as one line end; what it says
// of lines counts them as an editor does, whatever ends them. A blank line
// inside quotes belongs to its field and is not skipped.
TEST_F(ImportReader, LinesAreNumberedAndBlankLinesCountedAsAnEditorDoes)
{
    const std::string lines[] = {"a", "", "\"x", "", "y\",z", "", "", "b"};
    for (const std::string end : {"\n", "\r", "\r\n"}) {
        SCOPED_TRACE(int(end[0]) + int(end.size()));
        std::string text;
        for (const std::string& line : lines)
            text += line + (&line == &lines[7] ? "" : end);
        for (int32_t size : {3, 10000}) {
            Open(text, 1, size);
            std::vector<int32_t> starts;
            int32_t blank = 0;
            while (ImportNextLine()) {
                blank += ImportGetBlankLines();
                if (!ImportLineIsBlank())
                    starts.push_back(ImportGetLineNumber());
            }
            EXPECT_EQ(starts, (std::vector<int32_t>{1, 3, 8})) << "buffer size " << size;
            EXPECT_EQ(blank, 3) << "buffer size " << size;
        }
        // Read again where it stands, and from the start.
        ASSERT_TRUE(ImportSeekLine(2));
        const int32_t second = ImportGetLineNumber();
        EXPECT_TRUE(second == 2 || second == 3) << second;
        ASSERT_TRUE(ImportSeekLine(2));
        EXPECT_EQ(ImportGetLineNumber(), second);
    }
}

TEST_F(ImportReader, SeekLineGoesBackForwardAndResplitsWithTheNewSeparator)
{
    Open("l1\nl2\nl3;x,y\nl4\nl5\n", 4);
    for (int i = 0; i < 5; ++i)
        ASSERT_TRUE(ImportNextLine());
    ASSERT_TRUE(ImportSeekLine(3));
    EXPECT_EQ(Fields(), (Record{"l3", "x,y"}));
    ImportSetSeparator(1);
    ASSERT_TRUE(ImportSeekLine(3));
    EXPECT_EQ(Fields(), (Record{"l3;x", "y"}));
    ASSERT_TRUE(ImportSeekLine(5));
    EXPECT_EQ(Fields(), (Record{"l5"}));
    EXPECT_FALSE(ImportSeekLine(0));
    EXPECT_FALSE(ImportSeekLine(9));

    Open("first\na,b;c,d;e,f;g,h\n", 4, 6);  // the second line comes in pieces
    ASSERT_TRUE(ImportSeekLine(2));
    ImportSetSeparator(1);
    ASSERT_TRUE(ImportSeekLine(2));
    EXPECT_EQ(Fields(), (Record{"a", "b;c", "d;e", "f;g", "h"}));
}

TEST_F(ImportReader, GuessAndSeparatorTable)
{
    EXPECT_EQ(ImportGuessSeparator(), ',');  // nothing open
    Open("a\tb\tc,d\n1;2;3;4\n", 0);
    EXPECT_EQ(ImportGuessSeparator(), '\t');
    ASSERT_TRUE(ImportNextLine());  // the guess leaves the reader at the start
    EXPECT_EQ(Fields(), (Record{"a\tb\tc,d"}));
    Open("a,b;c\n", 0);
    EXPECT_EQ(ImportGuessSeparator(), ',');

    ImportSetSeparator(5);
    EXPECT_EQ(ImportGetSeparatorIndex(), 1);
    ImportSetSeparatorChar(';');
    EXPECT_EQ(ImportGetSeparatorIndex(), 4);
    ImportSetSeparatorChar('x');
    EXPECT_EQ(ImportGetSeparatorIndex(), 0);
    EXPECT_EQ(Read("a b\n", 6), (Records{{"a", "b"}}));
}

TEST_F(ImportReader, FailedTableGrowthFailsOnlyThatLine)
{
    Open("a;b;c\nd\n", 4, 10000, 1);
    MemInjectAllocationFailure(0);
    EXPECT_FALSE(ImportNextLine());
    MemInjectAllocationFailure(-1);
    ASSERT_TRUE(ImportNextLine());
    EXPECT_EQ(Fields(), (Record{"d"}));
}

// Python writes random rows with its csv module in each separator, line
// breaks in fields included, checks that its reader gives them back, and
// lists them for us to compare.
TEST_F(ImportReader, EverySeparatorAgreesWithPythonCsv)
{
    if (std::system("python3 -c 'import csv' >/dev/null 2>&1") != 0)
        SKIP_FOR_MISSING_TOOL() << "python3 is not available";
    const std::string script = R"(import csv, io, random, sys
random.seed(1108)
delimiter = sys.argv[3]
letters = 'abcXYZ 019-.;:\t\'"",,\xfc\xe9\x80\n\n'
rows = [[''.join(random.choice(letters) for _ in range(random.randrange(random.choice([1, 30]))))
         for _ in range(random.randint(1, 8))] for _ in range(400)]
text = io.StringIO(newline='')
for row in rows:
    csv.writer(text, delimiter=delimiter, quoting=random.choice([csv.QUOTE_MINIMAL, csv.QUOTE_ALL]),
               lineterminator=random.choice(['\r\n', '\n'])).writerow(row)
text = text.getvalue().rstrip('\r\n')
assert list(csv.reader(io.StringIO(text, newline=''), delimiter=delimiter)) == rows
# A field holds one line: each run of line breaks becomes ", " (a space
# after a comma or semicolon), none at the start or the end.
def one_line(field):
    out, pending = '', False
    for c in field:
        if c in '\r\n':
            pending = True
            continue
        if pending and out:
            out += ' ' if out[-1] in ',;' else ', '
        pending = False
        out += c
    return out
open(sys.argv[1], 'w', newline='', encoding='latin-1').write(text)
open(sys.argv[2], 'w', newline='', encoding='latin-1').write(
    ''.join('\x1f'.join(one_line(f) for f in r) + '\x1e' for r in rows))
)";
    std::ofstream(dir_.file("rows.py")) << script;
    for (const int16_t separator : {5, 4, 2, 3}) {
    SCOPED_TRACE(separator);
    const std::string command = "python3 '" + dir_.file("rows.py") + "' '" + dir_.file("rows.csv") + "' '" +
                                dir_.file("rows.txt") + "' '" + std::string(1, " ,\t:;,"[separator]) + "'";
    ASSERT_EQ(std::system(command.c_str()), 0);

    std::stringstream csv, rows;
    csv << std::ifstream(dir_.file("rows.csv"), std::ios::binary).rdbuf();
    rows << std::ifstream(dir_.file("rows.txt"), std::ios::binary).rdbuf();
    Records expected;
    for (std::string row; std::getline(rows, row, '\x1e');) {
        std::stringstream fields(row + '\x1f');
        expected.emplace_back();
        for (std::string field; std::getline(fields, field, '\x1f');)
            expected.back().push_back(field);
    }
    ASSERT_EQ(expected.size(), 400u);
    EXPECT_EQ(Read(csv.str(), separator), expected);
    }
}

}  // namespace
