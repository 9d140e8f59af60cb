// Databases written by the Macintosh program: opening one converts it into
// a copy beside it and opens the copy; the Macintosh file itself is never
// changed, and a file that cannot be converted leaves nothing behind.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include <QDir>

#include "database/mac_database.h"
#include "database/record_layout.h"
#include "dbdoc_test_util.h"
#include "foundation/counters.h"
#include "support/shell.h"

namespace {

uint8_t* Bytes(std::string& s) { return reinterpret_cast<uint8_t*>(s.data()); }

void Swap16At(uint8_t* p) { PutU16LE(p, SwapBytes16Value(GetU16LE(p))); }
void Swap32At(uint8_t* p) { PutU32LE(p, SwapBytes32Value(GetU32LE(p))); }

// A zero-terminated text in its slot becomes length-prefixed.
void ToPascal(uint8_t* slot, uint32_t size)
{
    const size_t n = strnlen(reinterpret_cast<const char*>(slot), size - 1);
    std::memmove(slot + 1, slot, n);
    slot[0] = uint8_t(n);
    std::memset(slot + 1 + n, 0, size - 1 - n);
}

// A native database file as the Macintosh program writes it: numbers
// big-endian, header texts length-prefixed, some numbers counted from 1.
std::string ToMacintosh(std::string bytes)
{
    uint8_t* h = Bytes(bytes);
    ToPascal(h + dbh::kSearchText, dbh::kSearchTextSize);
    ToPascal(h + dbh::kQueryValue, dbh::kQueryValueSize);
    ToPascal(h + dbh::kKeyText, dbh::kKeyTextSize);
    for (uint32_t i = 0; i < dbh::kColumnCount; ++i) {
        ToPascal(h + dbh::kDefaultValues + i * dbh::kDefaultValueSize, dbh::kDefaultValueSize);
        ToPascal(h + dbh::kFindValues + i * dbh::kFindValueSize, dbh::kFindValueSize);
        ToPascal(h + dbh::kSelectionValues + i * dbh::kFindValueSize, dbh::kFindValueSize);
    }
    for (uint32_t i = 0; i < dbh::kCustomNameCount; ++i)
        ToPascal(h + dbh::kCustomNames + i * dbh::kNameSize, dbh::kNameSize);
    for (uint32_t i = 0; i < dbh::kCategoryCount; ++i)
        ToPascal(h + dbh::kCategoryNames + i * dbh::kNameSize, dbh::kNameSize);
    for (uint32_t offset : {dbh::kBrowseColumn, dbh::kQueryField, dbh::kKeySearchField})
        PutU16LE(h + offset, uint16_t(GetU16LE(h + offset) + 1));
    h[dbh::kQueryOperator] = uint8_t(h[dbh::kQueryOperator] + 1);
    PutU32LE(h + dbh::kFormatMark, kDbFormatMacintosh);

    for (uint32_t offset : {0u, 4u, 8u, 12u, 16u, 20u, 24u, 28u, 32u, 36u, 40u, 44u, 48u, 52u, 4112u})
        Swap32At(h + offset);
    for (uint32_t i = 0; i < 9; ++i)
        Swap32At(h + 4116 + 4 * i);
    for (uint32_t offset : {dbh::kBrowseColumn, dbh::kBrowseFieldId, dbh::kDelimiter, dbh::kSortSpec,
                            dbh::kSortSpec + 2, dbh::kSortSpec + 4, dbh::kActiveCriteria, dbh::kQueryField,
                            dbh::kKeySearchField})
        Swap16At(h + offset);
    for (uint32_t i = 0; i < dbh::kColumnCount; ++i) {
        Swap16At(h + dbh::kEntryOrder + 2 * i);
        Swap16At(h + dbh::kReportOrder + 2 * i);
    }
    for (uint32_t i = 0; i < dbh::kColumnCount + 2; ++i)
        Swap16At(h + dbh::kExportOrder + 2 * i);

    for (uint32_t offset = kDbDataStart; offset < bytes.size();) {
        const uint32_t length = SoundRecordLength(h + offset);
        EXPECT_GT(length, 0u) << offset;
        if (length == 0)
            break;
        Swap16At(h + offset + dbrec::kSlack);
        Swap16At(h + offset + dbrec::kCategories);
        offset += length;
    }
    return bytes;
}

std::vector<std::string> FolderEntries(const std::string& folder)
{
    std::vector<std::string> names;
    for (const QString& name : QDir(QString::fromStdString(folder)).entryList(QDir::Files, QDir::Name))
        names.push_back(name.toStdString());
    return names;
}

class MacDatabaseTest : public DbDocTest {
protected:
    void SetUp() override
    {
        {
            DatabaseSession db;
            ASSERT_TRUE(db.Create(Path("native.dqx")));
            for (int n = 0; n < 12; ++n) {
                FillCurrent(db.Data(), SampleFields(n));
                db.Data().Current().SetCategories(uint16_t(0x8001 + n));
                ASSERT_GE(db.Data().AddRecord(false, true), 0);
            }
            uint8_t* h = db.Header();
            std::strcpy(reinterpret_cast<char*>(h + dbh::kCustomNames), "Birthday");
            std::strcpy(reinterpret_cast<char*>(h + dbh::kCategoryNames + dbh::kNameSize), "Friends");
            std::strcpy(reinterpret_cast<char*>(h + dbh::kDefaultValues + 6 * dbh::kDefaultValueSize), "Austin");
            std::strcpy(reinterpret_cast<char*>(h + dbh::kSearchText), "Main");
            std::strcpy(reinterpret_cast<char*>(h + dbh::kQueryValue), "Spring");
            PutU16LE(h + dbh::kBrowseColumn, 6);
            PutU16LE(h + dbh::kQueryField, uint16_t(kFieldCity));
            h[dbh::kQueryOperator] = 2;
            PutU16LE(h + dbh::kDelimiter, 2);
            PutU16LE(h + dbh::kEntryOrder, 2);
            PutU16LE(h + dbh::kEntryOrder + 2, 1);
            db.Close();
        }
        native = ReadFileBytes(dir.file("native.dqx"));
        ASSERT_GT(native.size(), kDbDataStart);
        mac = ToMacintosh(native);
    }

    std::string native;
    std::string mac;
};

TEST_F(MacDatabaseTest, OpeningConvertsIntoACopyAndLeavesTheMacintoshFile)
{
    WriteFileBytes(dir.file("people.dqx"), mac);
    TestDocument doc;
    ASSERT_TRUE(doc.Open(Path("people.dqx"))) << capture.lastText();
    ASSERT_EQ(capture.boxes().size(), 1u);
    EXPECT_EQ(capture.lastText(), "This is Macintosh format database.\nConvert it ?");
    EXPECT_STREQ(doc.Path().name, "people copy");
    EXPECT_EQ(ReadFileBytes(dir.file("people.dqx")), mac);

    // Every record, its categories and the header's settings come across.
    EXPECT_EQ(AsSet(SelectionTexts(doc.Data())), FileRecords(Path("native.dqx")));
    std::set<uint16_t> categories;
    for (int32_t p = 0; p < doc.Data().GetLiveCount(); ++p)
        if (doc.Data().GotoRecord(p, false, true) >= 0)
            categories.insert(doc.Data().Current().GetCategories());
    EXPECT_EQ(categories.size(), 12u);
    EXPECT_EQ(*categories.begin(), 0x8001);
    const uint8_t* h = doc.Header();
    const uint8_t* n = Bytes(native);
    auto same = [&](uint32_t offset, uint32_t size) { return std::memcmp(h + offset, n + offset, size) == 0; };
    // Texts compare up to their ends: what followed a terminator is not
    // carried over.
    auto sameTexts = [&](uint32_t offset, uint32_t count, uint32_t size) {
        for (uint32_t i = 0; i < count; ++i) {
            const char* a = reinterpret_cast<const char*>(h + offset + i * size);
            const char* b = reinterpret_cast<const char*>(n + offset + i * size);
            if (std::string(a, strnlen(a, size)) != std::string(b, strnlen(b, size)))
                return false;
        }
        return true;
    };
    EXPECT_STREQ(reinterpret_cast<const char*>(h + dbh::kCustomNames), "Birthday");
    EXPECT_TRUE(sameTexts(dbh::kCustomNames, dbh::kCustomNameCount, dbh::kNameSize));
    EXPECT_TRUE(sameTexts(dbh::kCategoryNames, dbh::kCategoryCount, dbh::kNameSize));
    EXPECT_TRUE(sameTexts(dbh::kDefaultValues, dbh::kColumnCount, dbh::kDefaultValueSize));
    EXPECT_TRUE(sameTexts(dbh::kFindValues, dbh::kColumnCount, dbh::kFindValueSize));
    EXPECT_TRUE(sameTexts(dbh::kSearchText, 1, dbh::kSearchTextSize));
    EXPECT_TRUE(sameTexts(dbh::kQueryValue, 1, dbh::kQueryValueSize));
    EXPECT_TRUE(same(dbh::kEntryOrder, 2 * dbh::kColumnCount));
    EXPECT_TRUE(same(dbh::kExportOrder, 2 * dbh::kColumnCount));
    EXPECT_TRUE(same(dbh::kReportOrder, 2 * dbh::kColumnCount));
    // The delimiter and the first sort field follow the report order; each
    // is turned round once, not twice.
    EXPECT_EQ(GetU16LE(h + dbh::kDelimiter), 2);
    EXPECT_TRUE(same(dbh::kSortSpec, 8));
    EXPECT_EQ(GetU16LE(h + dbh::kBrowseColumn), 6);
    EXPECT_EQ(GetU16LE(h + dbh::kQueryField), kFieldCity);
    EXPECT_EQ(h[dbh::kQueryOperator], 2);
    EXPECT_EQ(GetU32LE(h + dbh::kFormatMark), kDbFormatNative);
    doc.Close();

    // The copy's name is taken: the next conversion numbers its copy.
    TestDocument again;
    ASSERT_TRUE(again.Open(Path("people.dqx")));
    EXPECT_STREQ(again.Path().name, "people copy1");
    EXPECT_EQ(AsSet(SelectionTexts(again.Data())), FileRecords(Path("native.dqx")));
}

TEST_F(MacDatabaseTest, AFileThatCannotBeConvertedLeavesNothingBehind)
{
    const std::vector<std::string> before = FolderEntries(dir.path());
    struct Case {
        const char* what;
        std::function<void(std::string&)> spoil;
        int32_t answer;
        const char* message;
    };
    const uint32_t second = kDbDataStart + SoundRecordLength(Bytes(native) + kDbDataStart);
    const Case cases[] = {
        {"a damaged record", [&](std::string& b) { b[second] = 0; }, kIdOk,
         "people.dqx: Database is damaged. Please reopen the Database."},
        {"a record cut short", [](std::string& b) { b.resize(b.size() - 3); }, kIdOk,
         "people.dqx: Database is damaged. Please reopen the Database."},
        {"the damage mark", [](std::string& b) { b[3] = 1; }, kIdOk,
         "people.dqx: Macintosh database is damaged. Please recover the database on macintosh."},
        {"an old version", [](std::string& b) { b[dbh::kVersion + 3] = 4; }, kIdOk, "people.dqx: DataBase version is old."},
        {"a new version", [](std::string& b) { b[dbh::kVersion + 3] = 6; }, kIdOk, "people.dqx: DataBase version is too new."},
        {"the conversion refused", [](std::string&) {}, kIdCancel,
         "This is Macintosh format database.\nConvert it ?"},
        {"no database", [](std::string& b) { b[dbh::kCode1] = 'X'; }, kIdOk, "people.dqx: This File is not DataBase file."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string bytes = mac;
        c.spoil(bytes);
        WriteFileBytes(dir.file("people.dqx"), bytes);
        capture.clear();
        capture.answer(c.answer);
        TestDocument doc;
        EXPECT_FALSE(doc.Open(Path("people.dqx")));
        EXPECT_FALSE(doc.IsOpen());
        EXPECT_EQ(capture.lastText(), c.message);
        EXPECT_EQ(ReadFileBytes(dir.file("people.dqx")), bytes);
        std::vector<std::string> expected = before;
        expected.push_back("people.dqx");
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(FolderEntries(dir.path()), expected);
    }
}

TEST_F(MacDatabaseTest, ANativeDatabaseIsOpenedAsItIs)
{
    TestDocument doc;
    ASSERT_TRUE(doc.Open(Path("native.dqx")));
    EXPECT_TRUE(capture.boxes().empty()) << capture.lastText();
    EXPECT_STREQ(doc.Path().name, "native");
    PathRecord path = Path("native.dqx");
    doc.Close();
    EXPECT_EQ(CheckMacintoshDatabase(&path), 0);
    EXPECT_STREQ(path.name, "native");
}

}  // namespace
