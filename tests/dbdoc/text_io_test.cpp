// Text export and import of records: the line format, round trips through
// every delimiter, the delimiter guess, and files that cannot be written
// or read.

#include <gtest/gtest.h>

#include "database/db_file_io.h"
#include "database/output_names.h"
#include "dbdoc/text_export.h"
#include "dbdoc/text_import.h"
#include "dbdoc_test_util.h"
#include "foundation/import_reader.h"
#include "support/shell.h"

namespace {

ExportOptions Identity(int16_t delimiter)
{
    ExportOptions options;
    for (int16_t i = 0; i < kEntryColumnCount; ++i)
        options.order[i] = int16_t(i + 1);
    options.delimiter = delimiter;
    return options;
}

ImportOptions IdentityMatch(int16_t delimiter)
{
    ImportOptions options;
    for (uint16_t i = 0; i < kEntryColumnCount; ++i)
        options.matching[i] = uint16_t(i + 1);
    options.delimiter = delimiter;
    return options;
}

class TextIoTest : public DbDocTest {
protected:
    void TearDown() override
    {
        SetDbFaultHook(nullptr);
        SetDbFreeSpaceQuery(nullptr);
    }

    std::string Export(TestDocument& document, const ExportOptions& options, const std::string& name,
                       int32_t expected = 1)
    {
        StoreExportOptions(options, document.Header());
        TextExportResult result;
        EXPECT_EQ(ExportRecords(document, Path(name), &result), expected);
        return ReadFileBytes(dir.file(name));
    }

    int32_t Import(TestDocument& document, const std::string& name, const ImportOptions& options,
                   int16_t* guessed = nullptr)
    {
        TextImport import;
        if (!import.Open(Path(name)))
            return -1;
        if (guessed)
            *guessed = import.GuessedDelimiter();
        TextImportResult result;
        return import.Run(document, options, &result);
    }
};

TEST_F(TextIoTest, LinesFollowTheOrderAndTheDelimiter)
{
    auto db = Make("a.dqx", {{{kFieldFirstName, "Ann"}, {kFieldLastName, "Bell"}, {kFieldCity, "Rome"}},
                             {{kFieldFirstName, "Carl"}, {kFieldLastName, "Dunn"}, {kFieldTitle, "Dr"}}});
    ExportOptions options;
    for (int16_t& entry : options.order)
        entry = -1;
    options.order[0] = 2;  // LastName
    options.order[3] = 3;  // Title
    options.order[7] = 1;  // FirstName
    options.delimiter = kDelimiterQuotedComma;
    // Records come in the browser's order (LastName); an empty Title is
    // written as two quotes; skipped places leave no trace.
    EXPECT_EQ(Export(*db, options, "q.txt"), "\"Bell\",\"\",\"Ann\"\r\n\"Dunn\",\"Dr\",\"Carl\"\r\n");
    options.delimiter = kDelimiterSemicolon;
    EXPECT_EQ(Export(*db, options, "s.txt"), "Bell;;Ann\r\nDunn;Dr;Carl\r\n");
    options.delimiter = 77;  // out of range: Space, stored as such
    EXPECT_EQ(Export(*db, options, "sp.txt"), "Bell  Ann\r\nDunn Dr Carl\r\n");
    EXPECT_EQ(LoadExportOptions(db->Header()).delimiter, kDelimiterSpace);
    EXPECT_GE(db->commits, 3);
}

TEST_F(TextIoTest, ExportWritesOnlyTheSelectionInBrowserOrder)
{
    auto db = MakeSamples("a.dqx", 30);
    Query(*db, kFieldState, "ca");
    const std::vector<std::string> selection = SelectionTexts(db->Data());
    ASSERT_EQ(selection.size(), 8u);
    const std::string text = Export(*db, Identity(kDelimiterTab), "q.txt");

    // Line i is record i of the browser (its first field is FirstName).
    size_t start = 0;
    for (const std::string& record : selection) {
        const size_t end = text.find("\r\n", start);
        ASSERT_NE(end, std::string::npos);
        EXPECT_EQ(text.substr(start, text.find('\t', start) - start), record.substr(0, record.find('|')));
        start = end + 2;
    }
    EXPECT_EQ(start, text.size());
    auto back = Make("b.dqx", {});
    ASSERT_EQ(Import(*back, "q.txt", IdentityMatch(kDelimiterTab)), 8);
    EXPECT_EQ(AsSet(SelectionTexts(back->Data())), AsSet(selection));
    EXPECT_EQ(back->appended, 8);
}

TEST_F(TextIoTest, EveryDelimiterRoundTrips)
{
    // Texts that hold none of the plain separators, and, for the quoted
    // form, texts that hold all of them and quotation marks as well.
    const std::vector<std::map<int32_t, std::string>> plain = {
        {{kFieldFirstName, "J\xFCrgen"}, {kFieldLastName, "Stra\xDF" "e"}, {kFieldCustom6, "\x80-x"}},
        {{kFieldLastName, "O'Neil"}, {kFieldTitle, "Mgr."}, {kFieldEMail, "a@b.example"}},
        {{kFieldLastName, "Zed"}, {kFieldPicture, "pic\\1.bmp"}, {kFieldZipCode, "12345-6789"}},
    };
    for (int16_t delimiter = kDelimiterSpace; delimiter <= kDelimiterQuotedComma; ++delimiter) {
        SCOPED_TRACE(delimiter);
        auto records = plain;
        if (delimiter == kDelimiterQuotedComma) {
            records.push_back({{kFieldLastName, "A, \"B\"; C:\tD"}, {kFieldCompany, "\"\""}});
            records.push_back({{kFieldLastName, "\""}, {kFieldCity, " lead and trail "}});
        }
        const std::string name = std::string(1, char('0' + delimiter));
        auto db = Make(name + ".dqx", records);
        Export(*db, Identity(delimiter), name + ".txt");
        auto back = Make(name + "b.dqx", {});
        ASSERT_EQ(Import(*back, name + ".txt", IdentityMatch(delimiter)), int32_t(records.size()));
        EXPECT_EQ(AsSet(SelectionTexts(back->Data())), AsSet(SelectionTexts(db->Data())));
    }
}

TEST_F(TextIoTest, ExportKeepsOneLinePerRecord)
{
    auto db = Make("a.dqx", {{{kFieldLastName, "Two\r\nLines"}, {kFieldCity, "a,b"}}});
    StoreExportOptions(Identity(kDelimiterComma), db->Header());
    TextExportResult result;
    ASSERT_EQ(ExportRecords(*db, Path("x.txt"), &result), 1);
    EXPECT_EQ(result.replaced, 2);
    EXPECT_EQ(result.ambiguous, 1);
    const std::string text = ReadFileBytes(dir.file("x.txt"));
    EXPECT_EQ(text.find("Two  Lines"), size_t(1));
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1);
}

TEST_F(TextIoTest, ImportMatchesColumnsAndTakesEveryLine)
{
    // A header-like first line is a record like the others; lines with
    // fewer fields leave the missing columns empty; too long a text is cut
    // to its field's length.
    WriteFileBytes(dir.file("in.txt"), "Last,First,City\r\nBell,Ann\nDunn,Carl,Oslo,extra\r\n" +
                                           std::string(300, 'z') + ",Q\r\n");
    auto db = Make("a.dqx", {});
    ImportOptions options;
    options.matching[1] = 1;  // LastName <- field 1
    options.matching[0] = 2;  // FirstName <- field 2
    options.matching[6] = 3;  // City <- field 3
    options.matching[2] = 9;  // Title <- a field no line has
    int16_t guessed = -1;
    ASSERT_EQ(Import(*db, "in.txt", options, &guessed), 4);
    EXPECT_EQ(guessed, kDelimiterComma);
    std::multiset<std::string> got = AsSet(SelectionTexts(db->Data()));
    auto row = [](const std::string& first, const std::string& last, const std::string& city) {
        return first + "|" + last + "|||||" + city + std::string(15, '|');
    };
    const std::string longLast(FieldMaxLength(kFieldLastName), 'z');
    EXPECT_EQ(got, (std::multiset<std::string>{row("First", "Last", "City"), row("Ann", "Bell", ""),
                                               row("Carl", "Dunn", "Oslo"), row("Q", longLast, "")}));
    EXPECT_EQ(db->appended, 4);
}

TEST_F(TextIoTest, ImportOfAnyTextAddsSoundRecordsAndOfBinaryBytesNone)
{
    // Stray quotes and separators, every byte a text may hold, lines far
    // longer than the buffer.
    std::string bytes;
    uint32_t seed = 12345;
    for (int i = 0; i < 120000; ++i) {
        seed = seed * 1103515245u + 12345u;
        const uint8_t b = uint8_t(seed >> 16);
        bytes += char(b % 7 == 0 ? '"' : b % 11 == 0 ? ',' : b % 13 == 0 ? '\n' : b < 0x20 ? 'c' : b);
    }
    bytes.append(30000, 'x');
    WriteFileBytes(dir.file("text.txt"), bytes);
    for (int16_t delimiter : {kDelimiterComma, kDelimiterQuotedComma, kDelimiterSemicolon}) {
        auto db = Make(std::string(1, char('a' + delimiter)) + ".dqx", {});
        const int32_t added = Import(*db, "text.txt", IdentityMatch(delimiter));
        EXPECT_GT(added, 100);
        EXPECT_EQ(db->Data().GetLiveCount(), added);
        for (const std::string& record : SelectionTexts(db->Data()))
            EXPECT_LE(record.size(), 1103u);
        db->Close();
        EXPECT_EQ(FileRecords(Path(std::string(1, char('a' + delimiter)) + ".dqx")).size(), size_t(added));
    }

    // A program, and UTF-16 text: refused with a word before anything is
    // added.
    std::string program = "\x7F" "ELF\x02\x01\x01" + std::string(9, '\0');
    for (int i = 0; i < 200000; ++i)
        program += char((i * 31) % 251);
    WriteFileBytes(dir.file("program"), program);
    WriteFileBytes(dir.file("wide.txt"), std::string("\xFF\xFE" "A\0n\0n\0,\0B\0\r\0\n\0", 16));
    auto db = MakeSamples("s.dqx", 3);
    for (const char* name : {"program", "wide.txt"}) {
        capture.clear();
        EXPECT_EQ(Import(*db, name, IdentityMatch(kDelimiterComma)), -1);
        ASSERT_EQ(capture.boxes().size(), 1u);
        EXPECT_EQ(capture.lastText().rfind("\"" + std::string(name) + "\" is ", 0), 0u) << capture.lastText();
    }
    EXPECT_NE(capture.lastText().find("UTF-16"), std::string::npos);
    EXPECT_EQ(db->Data().GetLiveCount(), 3);
    EXPECT_EQ(db->appended, 0);
}

TEST_F(TextIoTest, FilesOfOtherProgramsStoreEveryFieldExactly)
{
    // Windows-1252 with semicolons, and tabs, in the quoting every
    // spreadsheet writes: quotes doubled, separators and line breaks inside
    // quotes; one record per contact.
    const auto file = [](const std::string& s) {
        return "Nom" + s + "Pr\xE9nom" + s + "Soci\xE9t\xE9" + s + "Adresse\r\n" + "\"M\xFCller\"" + s + "Zo\xEB" + s +
               "\"The \"\"Best\"\" Bakery" + s + " Caf\xE9\"" + s + "\"12 Rue X\r\nB\xE2t. B\"\r\n" + "de la Cruz" + s +
               "\"Ana\"" + s + s + "\"Apt 1,\nFloor 2\"\r\n";
    };
    WriteFileBytes(dir.file("semi.csv"), file(";"));
    WriteFileBytes(dir.file("tab.txt"), file("\t"));
    ImportOptions options;
    options.matching[1] = 1;  // LastName
    options.matching[0] = 2;  // FirstName
    options.matching[3] = 3;  // Company
    options.matching[4] = 4;  // Address1
    const std::pair<const char*, int16_t> files[] = {{"semi.csv", kDelimiterSemicolon}, {"tab.txt", kDelimiterTab}};
    for (const auto& [name, delimiter] : files) {
        SCOPED_TRACE(name);
        auto db = Make(std::string(name) + ".dqx", {});
        TextImport import;
        ASSERT_TRUE(import.Open(Path(name)));
        EXPECT_EQ(import.GuessedDelimiter(), delimiter);
        options.delimiter = delimiter;
        TextImportResult result;
        ASSERT_EQ(import.Run(*db, options, &result), 3);
        auto row = [](const std::string& first, const std::string& last, const std::string& company,
                      const std::string& address) {
            return first + "|" + last + "||" + company + "|" + address + std::string(17, '|');
        };
        EXPECT_EQ(AsSet(SelectionTexts(db->Data())),
                  (std::multiset<std::string>{
                      row("Pr\xE9nom", "Nom", "Soci\xE9t\xE9", "Adresse"),
                      row("Zo\xEB", "M\xFCller",
                          "The \"Best\" Bakery" + std::string(1, DelimiterChar(delimiter)) + " Caf\xE9",
                          "12 Rue X, B\xE2t. B"),
                      row("Ana", "de la Cruz", "", "Apt 1, Floor 2")}));
    }
}

TEST_F(TextIoTest, DelimiterGuessCountsTheFirstBytes)
{
    std::string longFirstBytes(10004, ';');
    longFirstBytes.replace(0, 10000, 10000, 'x');
    const std::pair<std::string, int16_t> cases[] = {
        {"a\tb\tc,d\r\n", kDelimiterTab},
        {"abc\r\ndef\r\n", kDelimiterComma},  // none occurs
        {"a:b;c\r\n", kDelimiterColon},       // tie: first in table order
        {"a b c;d;e;f;g\r\n", kDelimiterSemicolon},
        {longFirstBytes, kDelimiterComma},  // beyond the first 10000 bytes
        {"", kDelimiterComma},
    };
    for (const auto& [text, expected] : cases) {
        WriteFileBytes(dir.file("g.txt"), text);
        TextImport import;
        ASSERT_TRUE(import.Open(Path("g.txt")));
        EXPECT_EQ(import.GuessedDelimiter(), expected) << text.substr(0, 20);
    }
}

TEST_F(TextIoTest, QuotedFieldsChooseTheQuotedModeAndHideTheirSeparators)
{
    const std::pair<std::string, int16_t> cases[] = {
        {"\"Smith, Jones & Co\",\"Ann \"\"Q\"\" Lee\"\r\n", kDelimiterQuotedComma},
        // Spaces inside quotes would otherwise outvote the commas.
        {"\"12 North Main Street Apt 5\",Oslo,\"\"\r\n", kDelimiterQuotedComma},
        {"Ann,Bell,\"a b c d e f\"", kDelimiterQuotedComma},  // closed at the end of the file
        // A quotation mark within a field quotes nothing.
        {"5\" disk,box,lid\r\n", kDelimiterComma},
        // Commas inside the quotes of a tab-separated file don't count.
        {"\"a,b,c\"\tx\ty\r\n", kDelimiterTab},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(GuessDelimiter(text), expected) << text;
}

TEST_F(TextIoTest, Utf8FilesAreStoredInTheCodePageWithTheLossCounted)
{
    // The same contacts with and without a byte order mark, and in the
    // code page itself: all three give the same records. "\xC5\x81" (L with
    // stroke) and "\xC5\xBA" (z with acute) have no place in it; the Euro
    // sign and the typographic quotes have.
    const std::string utf8 =
        "\"M\xC3\xBCller, Jones & Co\",\"Ren\xC3\xA9" "e \"\"Q\"\"\",\"\xC5\x81\xC3\xB3" "d\xC5\xBA\"\r\n"
        "\"\xE2\x82\xAC 5\",\"\xE2\x80\x9Cx\xE2\x80\x9D\",\"\"\r\n";
    const std::string cp1252 = "\"M\xFCller, Jones & Co\",\"Ren\xE9" "e \"\"Q\"\"\",\"?\xF3" "d?\"\r\n"
                               "\"\x80 5\",\"\x93x\x94\",\"\"\r\n";
    WriteFileBytes(dir.file("bom.csv"), "\xEF\xBB\xBF" + utf8);
    WriteFileBytes(dir.file("plain.csv"), utf8);
    WriteFileBytes(dir.file("1252.csv"), cp1252);
    ImportOptions options;
    options.matching[3] = 1;  // Company
    options.matching[0] = 2;  // FirstName
    options.matching[6] = 3;  // City
    options.delimiter = kDelimiterQuotedComma;
    auto row = [](const std::string& first, const std::string& company, const std::string& city) {
        return first + "|||" + company + "|||" + city + std::string(15, '|');
    };
    const std::multiset<std::string> expected{row("Ren\xE9" "e \"Q\"", "M\xFCller, Jones & Co", "?\xF3" "d?"),
                                              row("\x93x\x94", "\x80 5", "")};
    const std::pair<const char*, int32_t> files[] = {{"bom.csv", 2}, {"plain.csv", 2}, {"1252.csv", 0}};
    for (const auto& [name, replaced] : files) {
        SCOPED_TRACE(name);
        auto db = Make(std::string(name) + ".dqx", {});
        TextImport import;
        ASSERT_TRUE(import.Open(Path(name)));
        EXPECT_EQ(import.GuessedDelimiter(), kDelimiterQuotedComma);
        TextImportResult result;
        EXPECT_EQ(import.Run(*db, options, &result), 2);
        EXPECT_EQ(result.replaced, replaced);
        EXPECT_EQ(AsSet(SelectionTexts(db->Data())), expected);
    }
}

TEST_F(TextIoTest, QuotedExportReadsBackThroughTheGuessToEqualRecords)
{
    // What an import of the exported file finds by itself: the quoted mode,
    // and every field where it was, empty ones included.
    auto db = Make("a.dqx", {{{kFieldFirstName, "Ren\xE9" "e"},
                              {kFieldCompany, "Smith, Jones & Co"},
                              {kFieldTitle, "The \"Boss\""},
                              {kFieldCustom6, "last"}},
                             {{kFieldLastName, "\""}, {kFieldCity, "\"\","}},
                             {{kFieldAddress2, " "}}});
    Export(*db, Identity(kDelimiterQuotedComma), "x.txt");
    auto back = Make("b.dqx", {});
    int16_t guessed = -1;
    ASSERT_EQ(Import(*back, "x.txt", IdentityMatch(kDelimiterQuotedComma), &guessed), 3);
    EXPECT_EQ(guessed, kDelimiterQuotedComma);
    EXPECT_EQ(AsSet(SelectionTexts(back->Data())), AsSet(SelectionTexts(db->Data())));
}

TEST_F(TextIoTest, ImportStopsWhereTheUserStopsAndKeepsWhatWasAdded)
{
    std::string text;
    for (int n = 0; n < 50; ++n)
        text.append("L").append(std::to_string(n)).append(",F\r\n");
    WriteFileBytes(dir.file("in.txt"), text);
    auto db = MakeSamples("a.dqx", 3);
    StoppingHost host(10);
    ImportOptions options;
    options.matching[1] = 1;
    ASSERT_EQ(Import(*db, "in.txt", options), 10);
    EXPECT_EQ(db->Data().GetLiveCount(), 13);
    ASSERT_EQ(host.operations.size(), 1u);
    EXPECT_EQ(host.operations[0], "Importing...");
    db->Close();
    EXPECT_EQ(FileRecords(Path("a.dqx")).size(), 13u);
}

TEST_F(TextIoTest, ANearlyFullDiskIsSaidOnlyWhereAPassIsRefused)
{
    // 44 KB free: room for 200 records and their index, not for the
    // selection pass's reserve.
    SetDbFreeSpaceQuery([](const char*) { return 44.0 * 1024; });
    std::string text;
    for (int n = 0; n < 200; ++n)
        text.append("Name").append(std::to_string(n)).append(",Imported\r\n");
    WriteFileBytes(dir.file("in.txt"), text);
    Make("a.dqx", {})->Close();
    TestDocument db;
    ASSERT_TRUE(db.Open(Path("a.dqx")));
    EXPECT_EQ(Import(db, "in.txt", IdentityMatch(kDelimiterComma)), 200);
    EXPECT_TRUE(capture.boxes().empty()) << capture.lastText();
    db.Close();
    ASSERT_TRUE(db.Open(Path("a.dqx")));
    EXPECT_TRUE(capture.boxes().empty()) << capture.lastText();

    // A sort that would have to give up the selection it has is refused,
    // and says why; the selection stays.
    EXPECT_EQ(db.RebuildSelection(), -1);
    EXPECT_EQ(capture.lastText(), "The index of a.dqx (a.idx): Disk is full");
    EXPECT_EQ(SelectionTexts(db.Data()).size(), 200u);
    SetDbFreeSpaceQuery(nullptr);
}

TEST_F(TextIoTest, ImportIsRefusedInBulkMailModeAndForAMissingFile)
{
    WriteFileBytes(dir.file("in.txt"), "a,b\r\n");
    auto db = MakeSamples("a.dqx", 2);
    SortSpec bulk = db->Data().GetSortSpec();
    bulk.bulkMail = 1;
    db->Data().SetSortSpec(bulk);
    EXPECT_EQ(Import(*db, "in.txt", IdentityMatch(kDelimiterComma)), 0);
    EXPECT_EQ(capture.beeps().size(), 1u);
    EXPECT_EQ(db->Data().GetLiveCount(), 2);

    EXPECT_EQ(Import(*db, "missing.txt", IdentityMatch(kDelimiterComma)), -1);
    ASSERT_EQ(capture.boxes().size(), 1u);
    EXPECT_EQ(capture.lastText(), "missing.txt: There is no such file. [2]");
}

TEST_F(TextIoTest, AnOlderImportCannotReadOrCloseTheReaderOfANewerOne)
{
    WriteFileBytes(dir.file("one.txt"), "One\r\n");
    WriteFileBytes(dir.file("two.txt"), "Two\r\nTwo\r\n");
    auto db = Make("a.dqx", {});
    ImportOptions options;
    options.matching[1] = 1;
    TextImportResult result;
    auto older = std::make_unique<TextImport>();
    ASSERT_TRUE(older->Open(Path("one.txt")));
    TextImport newer;
    ASSERT_TRUE(newer.Open(Path("two.txt")));
    EXPECT_EQ(older->Run(*db, options, &result), 0);
    older.reset();
    EXPECT_EQ(newer.Run(*db, options, &result), 2);
    EXPECT_EQ(AsSet(SelectionTexts(db->Data())).count("|Two" + std::string(20, '|')), 2u);
}

TEST_F(TextIoTest, ExportRefusesWhatItMustNotWrite)
{
    auto empty = Make("e.dqx", {});
    EXPECT_EQ(Export(*empty, Identity(kDelimiterComma), "e.txt", 0), "");
    EXPECT_EQ(capture.lastText(), "No Records in Database for EXPORT.");

    // Over the database itself, or over its index.
    auto db = MakeSamples("a.dqx", 5);
    const std::string before = ReadFileBytes(dir.file("a.dqx"));
    Export(*db, Identity(kDelimiterComma), "a.dqx", 0);
    EXPECT_EQ(capture.lastText(), "Can't Export into opened Database");
    Export(*db, Identity(kDelimiterComma), "a.idx", 0);
    EXPECT_EQ(ReadFileBytes(dir.file("a.dqx")), before);
    EXPECT_EQ(SelectionTexts(db->Data()).size(), 5u);

    // Into a folder that does not exist.
    capture.clear();
    TextExportResult result;
    EXPECT_EQ(ExportRecords(*db, DbPath(dir.file("no/such/x.txt")), &result), -1);
    EXPECT_EQ(capture.boxes().size(), 1u);
}

TEST_F(TextIoTest, AFailedWriteLeavesTheOldFileAndTheDatabase)
{
    auto db = MakeSamples("a.dqx", 40);
    WriteFileBytes(dir.file("x.txt"), "old contents\r\n");
    int writes = 0;
    SetDbFaultHook([&](DbIoStep step, uint32_t) {
        // Fails the file's first write with "disk full" after half of it.
        return step == DbIoStep::Write && writes++ == 0 ? DbFault{112, 7} : DbFault{};
    });
    StoreExportOptions(Identity(kDelimiterComma), db->Header());
    TextExportResult result;
    EXPECT_EQ(ExportRecords(*db, Path("x.txt"), &result), -1);
    SetDbFaultHook(nullptr);
    EXPECT_EQ(ReadFileBytes(dir.file("x.txt")), "old contents\r\n");
    EXPECT_EQ(capture.boxes().size(), 1u);
    EXPECT_EQ(SelectionTexts(db->Data()).size(), 40u);
    // Nothing but the old file is left in the folder.
    EXPECT_EQ(Shell(dir, "ls | wc -l | tr -d ' ' | grep -qx 3"), 0);
}

TEST_F(TextIoTest, AStoppedExportKeepsTheRecordsWritten)
{
    auto db = MakeSamples("a.dqx", 20);
    StoppingHost host(4);
    const std::string text = Export(*db, Identity(kDelimiterTab), "x.txt");
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 4);
    EXPECT_EQ(host.operations, std::vector<std::string>{"Exporting..."});
}

TEST(OutputNames, SuffixGoesBeforeTheExtensionAndTheNameFits)
{
    const PathRecord base = DbPath("/tmp/folder/Clients.dqx");
    const PathRecord exported = DefaultOutputName(base, kExportSuffix, ".txt");
    EXPECT_STREQ(exported.name, "Clients_exp");
    EXPECT_STREQ(exported.extension, ".txt");
    EXPECT_STREQ(exported.directory, base.directory);
    EXPECT_STREQ(DefaultReportName(base, 0).name, "Clients_tab_rep");
    EXPECT_STREQ(DefaultReportName(base, 1).name, "Clients_rost_rep");
    EXPECT_STREQ(DefaultReportName(base, 1).extension, ".txt");
    PathRecord longName = base;
    std::memset(longName.name, 'n', 255);
    longName.name[255] = 0;
    const PathRecord cut = DefaultOutputName(longName, kSplitSuffix, ".dqx");
    EXPECT_EQ(std::strlen(cut.name), 255u);
    EXPECT_STREQ(cut.name + 251, "_spl");
}

}  // namespace
