#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "foundation/file_io.h"
#include "foundation/handle.h"
#include "foundation/import_reader.h"
#include "support/temp_dir.h"

namespace {

using namespace std::string_literals;
using Record = std::vector<std::string>;

Record CurrentFields()
{
    Record fields;
    char text[kImportFieldSize];
    for (int32_t i = 0; i < ImportGetFieldCount(); ++i) {
        EXPECT_TRUE(ImportGetField(i, text));
        fields.emplace_back(text);
    }
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
        const std::string path = dir_.file("import" + std::to_string(++serial_) + ".txt");
        std::ofstream(path, std::ios::binary) << bytes;
        PathRecord record{};
        ASSERT_EQ(PathRecordFromPosix(path, &record), 0);
        ASSERT_EQ(FileOpen(&record, kFileRead, &file_), 0);
        ASSERT_TRUE(ImportOpen(file_, bufferSize, capacity));
        ImportSetSeparator(separator);
    }

    std::vector<Record> ReadAll()
    {
        std::vector<Record> records;
        while (ImportNextLine())
            records.push_back(CurrentFields());
        return records;
    }

    TempDir dir_;
    FileHandle file_ = kNoFile;
    int serial_ = 0;
};

TEST_F(ImportReader, SplitsEveryLineAtTheSeparator)
{
    Open("a;b;c\r\nx;;y\n;\n", 4);
    EXPECT_EQ(ReadAll(), (std::vector<Record>{{"a", "b", "c"}, {"x", "", "y"}, {"", ""}}));
    EXPECT_EQ(ImportGetFieldCount(), 0);
}

TEST_F(ImportReader, LastLineWithoutLineEndKeepsItsLastField)
{
    Open("a;b;c", 4);
    EXPECT_EQ(ReadAll(), (std::vector<Record>{{"a", "b", "c"}}));
    Open("1;2\r\n3;", 4);
    EXPECT_EQ(ReadAll(), (std::vector<Record>{{"1", "2"}, {"3", ""}}));
}

TEST_F(ImportReader, QuotedModeKeepsCommasAndDoubledQuotesInsideQuotes)
{
    Open("\"Smith, J\",x\r\n"
         "\"say \"\"hi\"\"\",,\"\"\n"
         "a\"b,\"c\"d\n",
         kImportQuotedComma);
    EXPECT_EQ(ReadAll(), (std::vector<Record>{{"Smith, J", "x"}, {"say \"hi\"", "", ""}, {"a\"b", "cd"}}));
    // The same line with the plain comma keeps the quotation marks as text.
    Open("\"Smith, J\",x\n", 1);
    EXPECT_EQ(ReadAll(), (std::vector<Record>{{"\"Smith", " J\"", "x"}}));
}

TEST_F(ImportReader, QuotedFieldEndsAtTheEndOfItsLine)
{
    Open("\"open,field\nnext,line\n", kImportQuotedComma);
    EXPECT_EQ(ReadAll(), (std::vector<Record>{{"open,field"}, {"next", "line"}}));
}

TEST_F(ImportReader, LongFieldIsCutAndTrimTakesTrailingSpaces)
{
    const std::string longField(300, 'x');
    Open(longField + ";y\n", 4);
    EXPECT_EQ(ReadAll(), (std::vector<Record>{{std::string(255, 'x'), "y"}}));

    ImportSetTrimSpaces(1);
    Open("a  ; b \t\n", 4);
    EXPECT_EQ(ReadAll(), (std::vector<Record>{{"a", " b \t"}}));
}

TEST_F(ImportReader, LineLongerThanTheBufferReadsAsOneLine)
{
    // Every kind of line end, long lines and NUL bytes, read through buffers
    // of every small size, must split as with a buffer that holds it all.
    std::string text = "ab;c\r\nd\n\re;f\r\r" + std::string(40, 'g') + ";h\n\n";
    for (int i = 0; i < 30; ++i)
        text += 'f' + std::to_string(i) + ';';
    text += "\r\nx\0y;z"s;
    Open(text, 4);
    const std::vector<Record> whole = ReadAll();
    ASSERT_EQ(whole.size(), 6u);
    EXPECT_EQ(whole[3], (Record{std::string(40, 'g'), "h"}));
    EXPECT_EQ(whole[4].size(), 31u);
    EXPECT_EQ(whole[5], (Record{"xy", "z"}));
    for (int32_t size = 2; size < 24; ++size) {
        Open(text, 4, size, 1);
        EXPECT_EQ(ReadAll(), whole) << "buffer size " << size;
    }
}

TEST_F(ImportReader, SeekLineGoesBackForwardAndResplitsWithTheNewSeparator)
{
    Open("l1\nl2\nl3;x,y\nl4\nl5\nl6\n", 4);
    for (int i = 0; i < 5; ++i)
        ASSERT_TRUE(ImportNextLine());
    ASSERT_TRUE(ImportSeekLine(3));
    EXPECT_EQ(CurrentFields(), (Record{"l3", "x,y"}));
    ImportSetSeparator(1);
    ASSERT_TRUE(ImportSeekLine(3));
    EXPECT_EQ(CurrentFields(), (Record{"l3;x", "y"}));
    ASSERT_TRUE(ImportSeekLine(5));
    EXPECT_EQ(CurrentFields(), (Record{"l5"}));
    ASSERT_TRUE(ImportNextLine());
    EXPECT_EQ(CurrentFields(), (Record{"l6"}));
    EXPECT_FALSE(ImportSeekLine(9));
    EXPECT_FALSE(ImportSeekLine(0));
    ASSERT_TRUE(ImportSeekLine(6));
    EXPECT_EQ(CurrentFields(), (Record{"l6"}));

    // A line the buffer holds only in pieces is read again whole.
    const std::string longLine = "a,b;c,d;e,f;g,h;i,j";
    Open("first\n" + longLine + "\n", 4, 6);
    ASSERT_TRUE(ImportSeekLine(2));
    EXPECT_EQ(CurrentFields(), (Record{"a,b", "c,d", "e,f", "g,h", "i,j"}));
    ImportSetSeparator(1);
    ASSERT_TRUE(ImportSeekLine(2));
    EXPECT_EQ(CurrentFields(), (Record{"a", "b;c", "d;e", "f;g", "h;i", "j"}));
}

TEST_F(ImportReader, GuessTakesTheMostFrequentSeparatorOfTheFirstLine)
{
    EXPECT_EQ(ImportGuessSeparator(), ',');  // nothing open
    Open("a\tb\tc,d\n1;2;3;4;5\n", 0);
    EXPECT_EQ(ImportGuessSeparator(), '\t');
    ImportSetSeparatorChar('\t');
    ASSERT_TRUE(ImportNextLine());
    EXPECT_EQ(CurrentFields(), (Record{"a", "b", "c,d"}));
    Open("a,b;c:d e\n", 0);
    EXPECT_EQ(ImportGuessSeparator(), ' ');
    Open("a,b;c\n", 0);
    EXPECT_EQ(ImportGuessSeparator(), ',');
    Open("abc\n", 0);
    EXPECT_EQ(ImportGuessSeparator(), ',');
}

TEST_F(ImportReader, SeparatorTableRules)
{
    ImportSetSeparator(kImportQuotedComma);
    EXPECT_EQ(ImportGetSeparatorIndex(), 1);
    ImportSetSeparatorChar(';');
    EXPECT_EQ(ImportGetSeparatorIndex(), 4);
    ImportSetSeparator(2);
    EXPECT_EQ(ImportGetSeparatorIndex(), 2);
    ImportSetSeparator(6);
    EXPECT_EQ(ImportGetSeparatorIndex(), 0);
    ImportSetSeparatorChar('x');
    EXPECT_EQ(ImportGetSeparatorIndex(), 0);
    Open("a b\n", 2);
    ImportSetSeparatorChar('x');
    ASSERT_TRUE(ImportNextLine());
    EXPECT_EQ(CurrentFields(), (Record{"a", "b"}));
}

TEST_F(ImportReader, FailedTableGrowthStopsOnlyThatLine)
{
    Open("a;b;c\nd\n", 4, 10000, 1);
    MemInjectAllocationFailure(0);
    EXPECT_FALSE(ImportNextLine());
    MemInjectAllocationFailure(-1);
    ASSERT_TRUE(ImportNextLine());
    EXPECT_EQ(CurrentFields(), (Record{"d"}));

    char out[kImportFieldSize] = "stale";
    EXPECT_FALSE(ImportGetField(1, out));
    EXPECT_STREQ(out, "");
    EXPECT_FALSE(ImportGetField(-1, out));
}

TEST_F(ImportReader, RefusesALineBufferWithoutRoomForText)
{
    EXPECT_FALSE(ImportOpen(0, 1, 21));
    EXPECT_FALSE(ImportNextLine());
}

// Quoted mode against Python's csv module on generated rows.
TEST_F(ImportReader, QuotedModeAgreesWithPythonCsv)
{
    if (std::system("python3 -c 'import csv' >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "python3 is not available";
    std::mt19937 random(1108);
    const std::string alphabet = "abcXYZ 019-.;:\t'\xFC\xE9\x80";
    auto text = [&](int maxLength, const std::string& extra) {
        std::string s;
        const std::string letters = alphabet + extra;
        for (int n = static_cast<int>(random() % (maxLength + 1)); n > 0; --n)
            s += letters[random() % letters.size()];
        return s;
    };
    std::string file;
    for (int row = 0; row < 400; ++row) {
        const int fields = 1 + static_cast<int>(random() % 8);
        for (int f = 0; f < fields; ++f) {
            if (f > 0)
                file += ',';
            switch (random() % 6) {
            case 0:
                file += fields == 1 ? "\"\"" : "";
                break;
            case 1: {
                std::string quoted = "\"";
                for (char c : text(30, ",,\"\""))
                    quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
                file += quoted + "\"";
                break;
            }
            case 2:  // a quotation mark inside an unquoted field is text
                file += 'x' + text(10, "\"");
                break;
            case 3:  // text after the closing quotation mark joins the field
                file += '"' + text(8, ",") + '"' + text(5, "");
                break;
            default:
                file += 'a' + text(20, "");
                break;
            }
        }
        if (row < 399)
            file += random() % 2 ? "\r\n" : "\n";
    }

    const std::string input = dir_.file("rows.csv");
    const std::string output = dir_.file("rows.out");
    const std::string script = dir_.file("rows.py");
    std::ofstream(input, std::ios::binary) << file;
    std::ofstream(script) << "import csv, sys\n"
                             "with open(sys.argv[1], newline='', encoding='latin-1') as f, \\\n"
                             "     open(sys.argv[2], 'w', newline='', encoding='latin-1') as o:\n"
                             "    for row in csv.reader(f):\n"
                             "        o.write('\\x1f'.join(row) + '\\x1e')\n";
    ASSERT_EQ(std::system(("python3 '" + script + "' '" + input + "' '" + output + "'").c_str()), 0);
    std::stringstream python;
    python << std::ifstream(output, std::ios::binary).rdbuf();
    std::vector<Record> expected;
    std::string recordText;
    while (std::getline(python, recordText, '\x1e')) {
        Record record;
        std::stringstream fields(recordText);
        std::string field;
        while (std::getline(fields, field, '\x1f'))
            record.push_back(field);
        if (recordText.empty() || recordText.back() == '\x1f')
            record.emplace_back();
        expected.push_back(record);
    }

    Open(file, kImportQuotedComma);
    const std::vector<Record> ours = ReadAll();
    ASSERT_EQ(ours.size(), expected.size());
    ASSERT_EQ(ours.size(), 400u);
    for (size_t i = 0; i < ours.size(); ++i)
        EXPECT_EQ(ours[i], expected[i]) << "row " << i + 1;
}

}  // namespace
