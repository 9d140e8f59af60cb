// The label-stock layout: its stored form, the built-in layouts, the sheet
// computations and the label-type table over its file.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "foundation/byte_order.h"
#include "foundation/handle.h"
#include "foundation/paper_table.h"
#include "foundation/program_folder.h"
#include "foundation/win_error.h"
#include "label_table_names.h"
#include "records/label_stock.h"
#include "records/label_stock_file.h"
#include "records/label_stock_table.h"
#include "support/shell.h"
#include "support/temp_dir.h"

namespace {

LabelTypeRecord Named(const char* name, double width = 100, double height = 50)
{
    LabelTypeRecord r;
    GetBuiltinLabelType(&r, 0);
    LabelTypeSetName(&r, name);
    r.cardWidth = width;
    r.cardHeight = height;
    return r;
}

std::string Bytes(const std::vector<LabelTypeRecord>& records)
{
    const std::vector<uint8_t> b = LabelFileEncode(records);
    return std::string(b.begin(), b.end());
}

PathRecord PathOf(const std::string& file)
{
    PathRecord r{};
    EXPECT_EQ(PathRecordFromPosix(file, &r), 0);
    return r;
}

}  // namespace

TEST(LabelStockRecord, StoredFieldsSitAtTheirOffsetsAndEveryByteSurvivesARoundTrip)
{
    LabelTypeRecord r;
    LabelTypeSetName(&r, "Shipping \xABX\xBB");
    r.cardWidth = 288.5;
    r.cardHeight = 144.25;
    r.topMargin = -36;
    r.leftMargin = 18;
    r.verticalSpacing = 9;
    r.horizontalSpacing = 12;
    r.columns = 3;
    r.rows = 7;
    r.unit = 2;
    r.centering = 1;
    r.centerTop = -5;
    r.centerLeft = 7;
    r.orientation = 2;
    r.sides = 2;
    r.word140 = 1;
    r.paper = 9;
    uint8_t b[kLabelTypeSize];
    LabelTypeEncode(r, b);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(b)), "Shipping \xABX\xBB");
    EXPECT_EQ(GetF64LE(b + 64), 288.5);
    EXPECT_EQ(GetF64LE(b + 72), 144.25);
    EXPECT_EQ(GetF64LE(b + 80), -36.0);
    EXPECT_EQ(GetF64LE(b + 88), 18.0);
    EXPECT_EQ(GetF64LE(b + 96), 9.0);
    EXPECT_EQ(GetF64LE(b + 104), 12.0);
    EXPECT_EQ(GetI16LE(b + 112), 3);
    EXPECT_EQ(GetI16LE(b + 114), 7);
    EXPECT_EQ(GetI16LE(b + 116), 2);
    EXPECT_EQ(GetI32LE(b + 120), 1);
    EXPECT_EQ(GetI32LE(b + 124), -5);
    EXPECT_EQ(GetI32LE(b + 128), 7);
    EXPECT_EQ(GetI32LE(b + 132), 2);
    EXPECT_EQ(GetI32LE(b + 136), 2);
    EXPECT_EQ(GetI32LE(b + 140), 1);
    EXPECT_EQ(GetI32LE(b + 144), 9);

    // Whatever the bytes (a name with no terminator, padding that is not
    // zero, a NaN), decoding and encoding gives them back.
    uint8_t any[kLabelTypeSize];
    for (size_t i = 0; i < kLabelTypeSize; ++i)
        any[i] = uint8_t(i * 37 + 11);
    LabelTypeRecord decoded;
    LabelTypeDecode(any, &decoded);
    uint8_t again[kLabelTypeSize];
    LabelTypeEncode(decoded, again);
    EXPECT_EQ(std::memcmp(any, again, kLabelTypeSize), 0);
    EXPECT_EQ(LabelTypeName(decoded).size(), kLabelTypeNameMax);
    EXPECT_FALSE(LabelTypeIsSane(decoded));
}

TEST(LabelStockRecord, NamesAreCutTo63CharactersAndSanityBoundsEveryLength)
{
    LabelTypeRecord r = Named(std::string(80, 'n').c_str());
    EXPECT_EQ(LabelTypeName(r), std::string(63, 'n'));
    EXPECT_EQ(r.name[63], 0);
    EXPECT_TRUE(LabelTypeIsSane(r));

    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    for (double LabelTypeRecord::*field :
         {&LabelTypeRecord::cardWidth, &LabelTypeRecord::cardHeight, &LabelTypeRecord::topMargin,
          &LabelTypeRecord::leftMargin, &LabelTypeRecord::verticalSpacing, &LabelTypeRecord::horizontalSpacing}) {
        for (double bad : {nan, inf, -inf, kLabelTypeMaxLength * 2, -kLabelTypeMaxLength * 2}) {
            LabelTypeRecord b = r;
            b.*field = bad;
            EXPECT_FALSE(LabelTypeIsSane(b)) << bad;
        }
        LabelTypeRecord edge = r;
        edge.*field = kLabelTypeMaxLength;
        EXPECT_TRUE(LabelTypeIsSane(edge));
    }
    LabelTypeRecord negative = r;
    negative.cardWidth = -1;
    EXPECT_FALSE(LabelTypeIsSane(negative));
    negative = r;
    negative.topMargin = -100;  // a negative margin is a layout a user may type
    EXPECT_TRUE(LabelTypeIsSane(negative));
    for (int16_t n : {int16_t(-1), int16_t(101), int16_t(32767)}) {
        LabelTypeRecord b = r;
        b.columns = n;
        EXPECT_FALSE(LabelTypeIsSane(b));
        b = r;
        b.rows = n;
        EXPECT_FALSE(LabelTypeIsSane(b));
    }
    // A new label type starts all zero, and is a layout the file may hold.
    LabelTypeRecord fresh;
    LabelTypeSetName(&fresh, "New Name");
    EXPECT_TRUE(LabelTypeIsSane(fresh));
}

TEST(LabelStockRecord, BuiltinLayoutsFillALetterPageAndCentreWhereTheyStand)
{
    LabelTypeRecord laser, inkjet, other;
    GetBuiltinLabelType(&laser, 0);
    GetBuiltinLabelType(&inkjet, 1);
    GetBuiltinLabelType(&other, 7);
    GetBuiltinLabelType(nullptr, 0);
    EXPECT_EQ(LabelTypeName(laser), "Laser Tessaline #5371");
    EXPECT_EQ(LabelTypeName(inkjet), "InkJet Tessaline #8371");
    EXPECT_TRUE(LabelTypeSame(other, laser));
    for (const LabelTypeRecord& r : {laser, inkjet}) {
        EXPECT_TRUE(LabelTypeIsSane(r));
        EXPECT_EQ(r.columns * r.cardWidth + 2 * r.leftMargin, 612.0);
        EXPECT_EQ(r.rows * r.cardHeight + 2 * r.topMargin, 792.0);
        EXPECT_EQ(r.unit, 1);
        EXPECT_EQ(r.sides, 2);
        EXPECT_EQ(r.word140, 1);
        EXPECT_EQ(r.orientation, 0);
        EXPECT_EQ(r.paper, 0);
        double left = -1, top = -1;
        CenterLabelGrid(&r, 612, 792, &left, &top);
        EXPECT_EQ(left, 54.0);
        EXPECT_EQ(top, 36.0);
    }

    LabelTypeRecord spaced = laser;
    spaced.horizontalSpacing = 10;
    spaced.verticalSpacing = 4;
    double left = 0, top = 0;
    CenterLabelGrid(&spaced, 612, 792, &left, nullptr);
    CenterLabelGrid(&spaced, 612, 792, nullptr, &top);
    EXPECT_EQ(left, (612 - (2 * 252 + 10)) / 2.0);
    EXPECT_EQ(top, (792 - (5 * 144 + 4 * 4)) / 2.0);
    left = 123;
    CenterLabelGrid(nullptr, 612, 792, &left, &top);
    EXPECT_EQ(left, 123);
}

// The shipped sheets: the built-in layouts first, then the common stock,
// each one fitting on the paper it asks for and named once.
TEST(LabelStockRecord, TheShippedFileStartsWithTheBuiltinLayoutsAndEverySheetFitsItsPaper)
{
    const std::string shipped = ReadFileBytes(std::string(TESSALINE_SOURCE_DATA_DIR) + "/Tessaline.dat");
    LabelTypeRecord laser, inkjet;
    GetBuiltinLabelType(&laser, 0);
    GetBuiltinLabelType(&inkjet, 1);
    ASSERT_EQ(shipped.size() % kLabelTypeSize, 0u);
    EXPECT_EQ(shipped.substr(0, 2 * kLabelTypeSize), Bytes({laser, inkjet}));
    const size_t count = shipped.size() / kLabelTypeSize;
    EXPECT_GE(count, 20u);
    std::vector<std::string> names;
    for (size_t i = 0; i < count; ++i) {
        LabelTypeRecord r;
        LabelTypeDecode(reinterpret_cast<const uint8_t*>(shipped.data()) + i * kLabelTypeSize, &r);
        const std::string name = LabelTypeName(r);
        SCOPED_TRACE(name);
        EXPECT_TRUE(LabelTypeIsSane(r));
        EXPECT_EQ(std::count(names.begin(), names.end(), name), 0);
        names.push_back(name);
        // Entries of the paper table: Letter or A4, as the name says; the
        // built-in layouts leave the paper alone and are Letter sheets.
        const bool a4 = name.size() > 4 && name.substr(name.size() - 4) == ", A4";
        EXPECT_EQ(r.paper, a4 ? kPaperEntryA4 : i < 2 ? r.paper : kPaperEntryLetter);
        const double pageWidth = a4 ? 595.28 : 612.0;
        const double pageHeight = a4 ? 841.89 : 792.0;
        const double right = r.leftMargin + r.columns * r.cardWidth + (r.columns - 1) * r.horizontalSpacing;
        const double bottom = r.topMargin + r.rows * r.cardHeight + (r.rows - 1) * r.verticalSpacing;
        EXPECT_LE(right, pageWidth + 0.01);
        EXPECT_LE(bottom, pageHeight + 0.01);
    }
}

// The shipped file is what the tool makes of the sheet table, so that the
// table stays the one place to change.
TEST(LabelStockRecord, TheShippedFileIsBuiltFromTheSheetTable)
{
    TempDir dir;
    const std::string table = std::string(TESSALINE_SOURCE_DATA_DIR) + "/../tools/samples/label-stock.txt";
    ASSERT_EQ(Shell(dir, "\"$T\" label-stock build '" + table + "' out.dat"), 0);
    EXPECT_EQ(ReadFileBytes(dir.file("out.dat")),
              ReadFileBytes(std::string(TESSALINE_SOURCE_DATA_DIR) + "/Tessaline.dat"));
    // A faulty line is refused with its place and nothing is written.
    WriteFileBytes(dir.file("bad.txt"), "Too small\tin\t0\t1\t0\t0\t0\t0\t1\t1\t1\tLetter\n");
    EXPECT_NE(Shell(dir, "\"$T\" label-stock build bad.txt bad.dat 2>err.txt"), 0);
    EXPECT_NE(ReadFileBytes(dir.file("err.txt")).find("bad.txt:1:"), std::string::npos);
}

// A sheet stored by an earlier version with the A4 code where the paper
// table's entry belongs (entry 9 is Ledger) is read on A4 when it is a
// shipped sheet in every other byte; other sheets keep what they say, and
// the file is not written by reading it.
TEST(LabelStockRecord, AShippedSheetStoredWithTheA4CodeIsReadOnA4)
{
    const std::string data = std::string(TESSALINE_SOURCE_DATA_DIR);
    const char* before = std::getenv("TESSALINE_DATA_DIR");
    const std::string kept = before ? before : "";
    ::setenv("TESSALINE_DATA_DIR", data.c_str(), 1);
    std::vector<LabelTypeRecord> shipped;
    const std::string bytes = ReadFileBytes(data + "/Tessaline.dat");
    int32_t bad = 0;
    ASSERT_EQ(LabelFileDecode(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), &shipped, &bad),
              LabelFileStatus::kOk);
    const auto a4 = std::find_if(shipped.begin(), shipped.end(),
                                 [](const LabelTypeRecord& r) { return r.paper == kPaperEntryA4; });
    ASSERT_NE(a4, shipped.end());
    LabelTypeRecord old = *a4, ledger = *a4, changed = *a4;
    old.paper = ledger.paper = changed.paper = 9;
    LabelTypeSetName(&ledger, "My ledger sheet");
    changed.topMargin += 1;

    TempDir dir;
    const std::string file = dir.file("Tessaline.dat");
    const std::string stored = Bytes({old, ledger, changed});
    WriteFileBytes(file, stored);
    const PathRecord path = PathOf(file);
    CDBLabel table;
    ASSERT_TRUE(table.OpenLabelFile(&path) && table.ReadAll());
    EXPECT_EQ(table.GetLabelType(0)->paper, kPaperEntryA4);
    EXPECT_EQ(table.GetLabelType(1)->paper, 9);
    EXPECT_EQ(table.GetLabelType(2)->paper, 9);
    EXPECT_EQ(ReadFileBytes(file), stored);
    if (before)
        ::setenv("TESSALINE_DATA_DIR", kept.c_str(), 1);
    else
        ::unsetenv("TESSALINE_DATA_DIR");
}

TEST(LabelStockGrid, CellsAreReadWithinTheGridAndSkippedOnesCounted)
{
    EXPECT_EQ(LabelGridGetCell(nullptr, 0, 0), 1);
    EXPECT_EQ(LabelGridCountCells(nullptr), 0);
    HandleOwner empty(HandleNew(0));
    EXPECT_EQ(LabelGridGetCell(empty.get(), 0, 0), 1);
    EXPECT_EQ(LabelGridCountCells(empty.get()), 0);

    // Three across (inner), two down (outer).
    HandleOwner grid(HandleNew(kLabelGridHeaderSize + 6 * 4));
    uint8_t* p = HandleData<uint8_t>(grid.get());
    PutI32LE(p, 6);
    PutI32LE(p + 4, 3);
    PutI32LE(p + 8, 2);
    const int32_t cells[6] = {0, 1, 0, 1, 1, 7};
    for (int i = 0; i < 6; ++i)
        PutI32LE(p + 12 + 4 * i, cells[i]);
    EXPECT_EQ(LabelGridGetCell(grid.get(), 0, 0), 0);
    EXPECT_EQ(LabelGridGetCell(grid.get(), 0, 2), 0);
    EXPECT_EQ(LabelGridGetCell(grid.get(), 1, 2), 7);
    for (auto [a, b] : {std::pair{2, 0}, {0, 3}, {-1, 0}, {0, -1}})
        EXPECT_EQ(LabelGridGetCell(grid.get(), a, b), 1);
    EXPECT_EQ(LabelGridCountCells(grid.get()), 2);

    // Counts the handle cannot hold, or that are not positive, make the
    // grid empty rather than reach outside it.
    PutI32LE(p + 8, 1000000);
    EXPECT_EQ(LabelGridGetCell(grid.get(), 1, 2), 1);
    EXPECT_EQ(LabelGridCountCells(grid.get()), 0);
    PutI32LE(p + 4, -3);
    PutI32LE(p + 8, -2);
    EXPECT_EQ(LabelGridCountCells(grid.get()), 0);
}

TEST(LabelStockFile, WholeRecordsAreReadAndDamageIsRefusedWhole)
{
    const std::vector<LabelTypeRecord> two = {Named("one"), Named("two")};
    const std::vector<uint8_t> bytes = LabelFileEncode(two);
    std::vector<LabelTypeRecord> out;

    std::vector<uint8_t> longer = bytes;
    longer.resize(400, 0xEE);  // 2 records and 64 bytes that are not one
    ASSERT_EQ(LabelFileDecode(longer.data(), longer.size(), &out), LabelFileStatus::kOk);
    ASSERT_EQ(out.size(), 2u);
    EXPECT_TRUE(LabelTypeSame(out[1], two[1]));
    EXPECT_EQ(LabelFileDecode(nullptr, 0, &out), LabelFileStatus::kOk);
    EXPECT_TRUE(out.empty());

    std::vector<uint8_t> damaged = bytes;
    PutF64LE(damaged.data() + kLabelTypeSize + kLabelTypeCardWidthOffset, std::nan(""));
    int32_t bad = -1;
    out = two;
    EXPECT_EQ(LabelFileDecode(damaged.data(), damaged.size(), &out, &bad), LabelFileStatus::kBadRecord);
    EXPECT_EQ(bad, 1);
    EXPECT_TRUE(out.empty());

    damaged = bytes;
    std::memset(damaged.data(), 'x', kLabelTypeNameSize);
    EXPECT_EQ(LabelFileDecode(damaged.data(), damaged.size(), &out, &bad), LabelFileStatus::kBadRecord);
    EXPECT_EQ(bad, 0);

    std::vector<uint8_t> huge((kLabelFileMaxRecords + 1) * kLabelTypeSize);
    EXPECT_EQ(LabelFileDecode(huge.data(), huge.size(), &out), LabelFileStatus::kTooMany);
}

TEST(LabelStockTable, ReadsEditsAndSavesOnlyWhatChanged)
{
    TempDir dir;
    const std::string file = dir.file("Tessaline.dat");
    const PathRecord path = PathOf(file);
    std::string stored = Bytes({Named("b"), Named("a"), Named("c")});
    stored += std::string(64, '\x55');
    WriteFileBytes(file, stored);

    {
        CDBLabel table;
        ASSERT_EQ(table.OpenLabelFile(&path), 1);
        ASSERT_EQ(table.ReadAll(), 1);
        EXPECT_EQ(Names(table), (std::vector<std::string>{"b", "a", "c"}));
        EXPECT_FALSE(table.IsChanged());
        EXPECT_EQ(table.WriteAll(), 0);  // nothing changed: nothing written
        EXPECT_EQ(ReadFileBytes(file), stored);
        EXPECT_FALSE(table.HasPendingError());

        int32_t selected = 0;
        EXPECT_EQ(table.SortLabelTypes(&selected), 1);
        EXPECT_EQ(selected, 1);
        EXPECT_EQ(Names(table), (std::vector<std::string>{"a", "b", "c"}));
        EXPECT_TRUE(table.IsChanged());

        EXPECT_TRUE(table.InsertLabelType(0, Named("after a")));
        EXPECT_TRUE(table.InsertLabelType(-1, Named("first")));
        EXPECT_TRUE(table.InsertLabelType(99, Named("last")));
        EXPECT_TRUE(table.SetLabelType(2, Named("A", 10, 20)));
        EXPECT_TRUE(table.DeleteLabelType(3));
        EXPECT_TRUE(table.SwapLabelTypes(0, 4));
        EXPECT_FALSE(table.DeleteLabelType(5));
        EXPECT_FALSE(table.SetLabelType(-1, Named("x")));
        EXPECT_FALSE(table.SwapLabelTypes(0, 5));
        EXPECT_EQ(Names(table), (std::vector<std::string>{"last", "a", "A", "c", "first"}));
        EXPECT_LT(table.CompareLabelTypes(2, 1), 0);  // case counts: 'A' < 'a'
        EXPECT_EQ(table.WriteAll(), 1);
        EXPECT_FALSE(table.IsChanged());
        EXPECT_EQ(table.WriteAll(), 0);
        // Still open on the new file: a later save goes there too.
        EXPECT_TRUE(table.DeleteLabelType(0));
        EXPECT_EQ(table.WriteAll(), 1);
    }
    const std::string saved = ReadFileBytes(file);
    EXPECT_EQ(saved.size(), 4 * kLabelTypeSize);  // the trailing 64 bytes are gone
    CDBLabel again;
    ASSERT_EQ(again.OpenLabelFile(&path), 1);
    ASSERT_EQ(again.ReadAll(), 1);
    EXPECT_EQ(Names(again), (std::vector<std::string>{"a", "A", "c", "first"}));
    EXPECT_EQ(again.GetLabelType(1)->cardWidth, 10);
    LabelTypeRecord copy;
    EXPECT_FALSE(again.GetLabelType(4, &copy));
    EXPECT_EQ(again.GetLabelType(-1), nullptr);
}

TEST(LabelStockTable, SortKeepsTheSelectedRecordAndOrdersEqualNamesSafely)
{
    TempDir dir;
    const PathRecord path = PathOf(dir.file("Tessaline.dat"));
    CDBLabel table;
    ASSERT_EQ(table.CreateLabelFile(&path), 1);
    ASSERT_EQ(table.ReadAll(), 1);
    const char* names[] = {"pear", "apple", "fig", "apple", "Zest", "kiwi", "fig"};
    for (int i = 0; i < 7; ++i)
        ASSERT_TRUE(table.InsertLabelType(table.GetCount() - 1, Named(names[i], 10 + i)));
    int32_t selected = 5;  // kiwi
    table.SortLabelTypes(&selected);
    EXPECT_EQ(Names(table), (std::vector<std::string>{"Zest", "apple", "apple", "fig", "fig", "kiwi", "pear"}));
    EXPECT_EQ(table.GetLabelType(selected)->cardWidth, 15);
    int32_t outside = 42;
    EXPECT_EQ(table.SortLabelTypes(&outside), 42);
    EXPECT_EQ(table.SortLabelTypes(nullptr), -1);
}

TEST(LabelStockTable, AMissingFileIsPendingUntilCreatedAndNeverEmptiedByCreate)
{
    TempDir dir;
    const std::string file = dir.file("Tessaline.dat");
    const PathRecord path = PathOf(file);
    CDBLabel table;
    EXPECT_EQ(table.OpenLabelFile(&path), 0);
    EXPECT_EQ(table.PendingError().kind, LabelErrorKind::kFile);
    EXPECT_EQ(table.PendingError().cause, kErrFileNotFound);
    EXPECT_EQ(table.ReadAll(), 0);
    EXPECT_FALSE(table.InsertLabelType(0, Named("x")));
    ASSERT_EQ(table.CreateLabelFile(&path), 1);
    EXPECT_FALSE(table.HasPendingError());
    ASSERT_EQ(table.ReadAll(), 1);  // an empty file is an empty table
    EXPECT_EQ(table.GetCount(), 0);
    EXPECT_EQ(table.OpenLabelFile(&path), 0);  // already open
    EXPECT_FALSE(table.HasPendingError());

    const std::string one = Bytes({Named("kept")});
    WriteFileBytes(dir.file("other.dat"), one);
    const PathRecord other = PathOf(dir.file("other.dat"));
    CDBLabel create;
    ASSERT_EQ(create.CreateLabelFile(&other), 1);
    ASSERT_EQ(create.ReadAll(), 1);
    EXPECT_EQ(Names(create), (std::vector<std::string>{"kept"}));

    CDBLabel noPath;
    PathRecord blank{};
    EXPECT_EQ(noPath.OpenLabelFile(&blank), 0);
    EXPECT_EQ(noPath.OpenLabelFile(nullptr), 0);
    EXPECT_FALSE(noPath.HasPendingError());
}

TEST(LabelStockTable, ADamagedFileIsRefusedAndLeftAlone)
{
    TempDir dir;
    const std::string file = dir.file("Tessaline.dat");
    const PathRecord path = PathOf(file);
    LabelTypeRecord wild = Named("wild");
    wild.columns = 30000;
    const std::string stored = Bytes({Named("fine"), wild});
    WriteFileBytes(file, stored);
    {
        CDBLabel table;
        ASSERT_EQ(table.OpenLabelFile(&path), 1);
        EXPECT_EQ(table.ReadAll(), 0);
        EXPECT_EQ(table.PendingError().kind, LabelErrorKind::kDamaged);
        EXPECT_EQ(table.PendingError().cause, 1);
        EXPECT_EQ(table.GetCount(), 0);
        EXPECT_FALSE(table.InsertLabelType(0, Named("new")));
        EXPECT_EQ(table.WriteAll(), 0);
    }
    EXPECT_EQ(ReadFileBytes(file), stored);
}

TEST(LabelStockTable, AFailedSaveKeepsTheOldFileAndRefusesFromThenOn)
{
    TempDir dir;
    ASSERT_EQ(Shell(dir, "mkdir stock"), 0);
    const PathRecord path = PathOf(dir.file("stock/Tessaline.dat"));
    const std::string stored = Bytes({Named("old")});
    WriteFileBytes(dir.file("stock/Tessaline.dat"), stored);
    CDBLabel table;
    ASSERT_EQ(table.OpenLabelFile(&path), 1);
    ASSERT_EQ(table.ReadAll(), 1);
    ASSERT_TRUE(table.InsertLabelType(0, Named("new")));
    // The folder goes away under the open file: no new file can be made
    // beside the old one.
    ASSERT_EQ(Shell(dir, "mv stock moved"), 0);
    EXPECT_EQ(table.WriteAll(), 0);
    EXPECT_EQ(table.PendingError().kind, LabelErrorKind::kFile);
    EXPECT_FALSE(table.SetLabelType(0, Named("later")));
    ASSERT_EQ(Shell(dir, "mv moved stock"), 0);
    EXPECT_EQ(table.WriteAll(), 0);
    EXPECT_EQ(ReadFileBytes(dir.file("stock/Tessaline.dat")), stored);
}

TEST(LabelStockTable, TheFileLivesInTheProgramFolder)
{
    TempDir dir;
    SetProgramFolderForTesting(dir.path());
    PathRecord path{};
    ASSERT_EQ(GetLabelFilePath(&path), 0);
    EXPECT_EQ(PathRecordToPosix(path), dir.path() + "/Tessaline.dat");
    SetProgramFolderForTesting("");
}
