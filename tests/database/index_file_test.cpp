// The index file's format, lifecycle and the cases at its edges.

#include <gtest/gtest.h>

#include "index_test_support.h"
#include "support/alert_capture.h"

namespace {

IndexCheckReport Check(IndexFile& index)
{
    IndexCheckReport report;
    EXPECT_TRUE(index.CheckStructure(true, &report)) << report.problem;
    return report;
}

std::vector<std::string> Keys(IndexFixture& fx, bool backwards = false)
{
    std::vector<std::string> keys;
    for (const auto& [key, record] : fx.Walk(backwards))
        keys.push_back(key);
    return keys;
}

TEST(IndexFile, CreateWritesTheHeaderPageAndCloseMarksItClean)
{
    IndexFixture fx;
    ASSERT_EQ(fx.index.Create(&fx.path, 1), 1);
    std::vector<uint8_t> bytes = fx.FileBytes();
    ASSERT_EQ(bytes.size(), 2064u);
    EXPECT_EQ(GetI32LE(&bytes[0]), 0);      // the root's own position
    EXPECT_EQ(GetI32LE(&bytes[4]), 0);      // used
    EXPECT_EQ(GetI32LE(&bytes[8]), -1);     // a leaf
    EXPECT_EQ(GetI32LE(&bytes[2048]), -1);  // no free block
    EXPECT_EQ(GetU32LE(&bytes[2052]), 0u);  // next sequence
    EXPECT_EQ(GetU32LE(&bytes[2056]), 0u);  // not clean while open
    EXPECT_EQ(GetU32LE(&bytes[2060]), 1u);  // levels

    IndexEntry smith = IndexFixture::Entry("Smith", 6000);
    IndexEntry adams = IndexFixture::Entry("Adams", 6100);
    ASSERT_EQ(fx.index.AddKeySequenced(&smith), 1);
    ASSERT_EQ(fx.index.AddKeySequenced(&adams), 1);
    EXPECT_EQ(smith.sequence, 0u);
    EXPECT_EQ(adams.sequence, 1u);
    ASSERT_EQ(fx.index.Close(), 1);

    bytes = fx.FileBytes();
    ASSERT_EQ(bytes.size(), 2064u);
    EXPECT_EQ(GetI32LE(&bytes[4]), 2 * 18);
    const uint8_t* first = &bytes[12];
    EXPECT_EQ(GetI32LE(first), -1);
    EXPECT_EQ(GetI32LE(first + 4), 6100);
    EXPECT_EQ(GetU32LE(first + 8), 1u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(first + 12)), "Adams");
    EXPECT_EQ(first[17], 0);
    EXPECT_EQ(GetI32LE(first + 18 + 4), 6000);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(first + 18 + 12)), "Smith");
    EXPECT_EQ(GetU32LE(&bytes[2052]), 2u);
    EXPECT_EQ(GetU32LE(&bytes[2056]), 1u);
    EXPECT_TRUE(fx.errors.empty());
}

TEST(IndexFile, OpenTakesTheCleanMarkAtOnceAndHoldsTheFile)
{
    IndexFixture fx;
    ASSERT_EQ(fx.index.Create(&fx.path, 1), 1);
    IndexEntry entry = IndexFixture::Entry("Jones", 7000);
    ASSERT_EQ(fx.index.AddKeySequenced(&entry), 1);
    ASSERT_EQ(fx.index.Close(), 1);

    ASSERT_EQ(fx.index.Open(&fx.path, 1), 1);
    EXPECT_EQ(GetU32LE(&fx.FileBytes()[2056]), 0u);
    EXPECT_EQ(Keys(fx), std::vector<std::string>{"Jones"});

    // A second open of the same index is refused with the open error.
    AlertCapture alerts;
    IndexFixture other;
    EXPECT_EQ(other.index.Open(&fx.path, 1), 0);
    ASSERT_EQ(other.errors.size(), 1u);
    EXPECT_EQ(other.errors[0].kind, kIndexErrorOpen);
    EXPECT_EQ(other.errors[0].number, 32);
    EXPECT_EQ(other.errors[0].fileName, "cards");
    EXPECT_TRUE(fx.FileExists());
    ASSERT_EQ(fx.index.Close(), 1);
}

TEST(IndexFile, AnIndexLeftOpenIsDeletedAtTheNextOpen)
{
    IndexFixture fx;
    {
        IndexFile index;
        ASSERT_EQ(index.Create(&fx.path, 1), 1);
        IndexEntry entry = IndexFixture::Entry("Jones", 7000);
        ASSERT_EQ(index.AddKeySequenced(&entry), 1);
        ASSERT_EQ(index.Close(), 1);
        ASSERT_EQ(index.Open(&fx.path, 1), 1);
        // Gone without Close, as when the program dies.
    }
    EXPECT_EQ(fx.index.Open(&fx.path, 1), 0);
    EXPECT_FALSE(fx.FileExists());
    EXPECT_TRUE(fx.errors.empty());

    ASSERT_EQ(fx.index.Create(&fx.path, 1), 1);
    fx.index.SetDiscard(1);
    ASSERT_EQ(fx.index.Close(), 1);
    EXPECT_FALSE(fx.FileExists());
}

TEST(IndexFile, EmptyIndex)
{
    IndexFixture fx;
    ASSERT_EQ(fx.index.Create(&fx.path, 1), 1);
    IndexEntry entry = IndexFixture::Entry("Any", 6000);
    EXPECT_EQ(fx.index.GoFirst(), 1);
    EXPECT_EQ(fx.index.GetNext(&entry), -2);
    EXPECT_EQ(fx.index.GoFirst(), 1);
    EXPECT_EQ(fx.index.GetPrev(&entry), -2);
    EXPECT_EQ(fx.index.GoLast(), 1);
    EXPECT_EQ(fx.index.GetNext(&entry), -2);
    EXPECT_EQ(fx.index.FindKey(&entry), 0);
    EXPECT_EQ(fx.index.LocateKey(&entry), -2);
    EXPECT_EQ(fx.index.SeekEntry(&entry), 0);
    EXPECT_EQ(fx.index.DeleteKey(&entry), 0);
    EXPECT_EQ(fx.index.ReplaceRecordPosition(&entry, 1), 0);
}

TEST(IndexFile, EqualKeysStayInInsertionOrderAndSeekFindsTheRecord)
{
    IndexFixture fx;
    ASSERT_EQ(fx.index.Create(&fx.path, 1), 1);
    // Enough equal keys to spread over several blocks.
    for (int32_t i = 0; i < 400; ++i) {
        IndexEntry entry = IndexFixture::Entry(i % 2 ? "Miller" : "Baker", 6000 + i);
        ASSERT_EQ(fx.index.AddKeySequenced(&entry), 1);
    }
    std::vector<int32_t> millers;
    for (const auto& [key, record] : fx.Walk())
        if (key == "Miller")
            millers.push_back(record);
    ASSERT_EQ(millers.size(), 200u);
    EXPECT_TRUE(std::is_sorted(millers.begin(), millers.end()));

    fx.index.SetIgnoreSequence(1);
    for (int32_t record : {6001, 6199, 6399}) {
        IndexEntry entry = IndexFixture::Entry("Miller", record);
        ASSERT_EQ(fx.index.SeekEntry(&entry), 1) << record;
        EXPECT_EQ(entry.sequence, uint32_t(record - 6000));
        IndexEntry next{};
        ASSERT_EQ(fx.index.GetNext(&next), record == 6399 ? -2 : 1);
    }
    IndexEntry wrongKey = IndexFixture::Entry("Baker", 6001);
    EXPECT_EQ(fx.index.SeekEntry(&wrongKey), 0);
    IndexEntry any = IndexFixture::Entry("Miller", 0);
    ASSERT_EQ(fx.index.FindKey(&any), 1);
    EXPECT_EQ(std::string(any.key), "Miller");

    // Without the flag, key and sequence must both match.
    fx.index.SetIgnoreSequence(0);
    IndexEntry exact = IndexFixture::Entry("Miller", 0, 7);
    ASSERT_EQ(fx.index.FindKey(&exact), 1);
    EXPECT_EQ(exact.recordPosition, 6007);
    IndexEntry none = IndexFixture::Entry("Miller", 0, 8);
    EXPECT_EQ(fx.index.FindKey(&none), 0);
    IndexEntry after{};
    ASSERT_EQ(fx.index.GetNext(&after), 1);
    EXPECT_EQ(after.recordPosition, 6009);
    Check(fx.index);
}

TEST(IndexFile, KeysAreCutAndComparedAsUnsignedBytes)
{
    IndexFixture fx;
    ASSERT_EQ(fx.index.Create(&fx.path, 1), 1);
    IndexEntry longKey{};
    std::memset(longKey.key, 'L', sizeof longKey.key);  // not even terminated
    longKey.recordPosition = 6000;
    ASSERT_EQ(fx.index.AddKeySequenced(&longKey), 1);
    for (const char* key : {"\xDCmit", "Zeta", "Alpha"}) {
        IndexEntry entry = IndexFixture::Entry(key, 7000);
        ASSERT_EQ(fx.index.AddKeySequenced(&entry), 1);
    }
    EXPECT_EQ(Keys(fx),
              (std::vector<std::string>{"Alpha", std::string(size_t(kIndexMaxKeyLength), 'L'), "Zeta", "\xDCmit"}));
}

TEST(IndexFile, DescendingRunsFromTheGreatestKey)
{
    IndexFixture fx;
    fx.index.SetDescending(1);
    ASSERT_EQ(fx.index.Create(&fx.path, 1), 1);
    for (const char* key : {"Brown", "Young", "Adams", "Smith", "Brown"}) {
        IndexEntry entry = IndexFixture::Entry(key, 6000);
        ASSERT_EQ(fx.index.AddKeySequenced(&entry), 1);
    }
    EXPECT_EQ(Keys(fx), (std::vector<std::string>{"Young", "Smith", "Brown", "Brown", "Adams"}));

    // Locating finds the first key at or after the text in key order; the
    // walk then goes backwards.
    IndexEntry entry = IndexFixture::Entry("Sm", 0);
    EXPECT_EQ(fx.index.LocateKey(&entry), 0);
    EXPECT_EQ(std::string(entry.key), "Smith");
    entry = IndexFixture::Entry("A", 0);
    EXPECT_EQ(fx.index.LocateKey(&entry), 0);
    EXPECT_EQ(std::string(entry.key), "Adams");
    entry = IndexFixture::Entry("Z", 0);
    EXPECT_EQ(fx.index.LocateKey(&entry), -2);
    entry = IndexFixture::Entry("Brown", 0);
    fx.index.SetIgnoreSequence(1);
    EXPECT_EQ(fx.index.LocateKey(&entry), 1);
}

// Entries of 162 bytes (149-character keys) and 127 bytes fill a block to
// the byte.
std::string KeyOfEntrySize(int size, char fill) { return std::string(size_t(size - 13), fill); }

TEST(IndexFile, RootSplitsOnlyBeyondTheEntryArea)
{
    IndexFixture fx;
    ASSERT_EQ(fx.index.Create(&fx.path, 1), 1);
    for (int i = 0; i < 11; ++i) {
        IndexEntry entry = IndexFixture::Entry(KeyOfEntrySize(162, char('a' + i)), 6000 + i);
        ASSERT_EQ(fx.index.AddKeySequenced(&entry), 1);
    }
    for (int i = 0; i < 2; ++i) {
        IndexEntry entry = IndexFixture::Entry(KeyOfEntrySize(127, char('A' + i)), 7000 + i);
        ASSERT_EQ(fx.index.AddKeySequenced(&entry), 1);
    }
    IndexCheckReport report = Check(fx.index);
    EXPECT_EQ(report.levels, 1);
    EXPECT_EQ(report.fileBlocks, 0);

    IndexEntry smallest = IndexFixture::Entry("", 8000);
    ASSERT_EQ(fx.index.AddKeySequenced(&smallest), 1);
    report = Check(fx.index);
    EXPECT_EQ(report.levels, 2);
    EXPECT_EQ(report.treeBlocks, 3);
    EXPECT_EQ(report.entries, 14);
    // The cursor stands on the entry just added.
    IndexEntry entry{};
    EXPECT_EQ(fx.index.GetPrev(&entry), -2);
    ASSERT_EQ(fx.index.Close(), 1);
    const std::vector<uint8_t> bytes = fx.FileBytes();
    EXPECT_EQ(bytes.size(), size_t(2064 + 2 * 2048));
    EXPECT_EQ(GetI32LE(&bytes[0]), 0);
    EXPECT_GE(GetI32LE(&bytes[8]), 2064);
    EXPECT_EQ(GetU32LE(&bytes[2060]), 2u);
}

TEST(IndexFile, DeletingEverythingLeavesOneRootAndFreedBlocksAreReusedFirst)
{
    IndexFixture fx;
    ASSERT_EQ(fx.index.Create(&fx.path, 1), 1);
    std::vector<IndexEntry> entries;
    for (int i = 0; i < 600; ++i) {
        entries.push_back(IndexFixture::Entry("Key" + std::to_string(i * 7919 % 600) + std::string(40, 'x'), i));
        ASSERT_EQ(fx.index.AddKeySequenced(&entries.back()), 1);
    }
    IndexCheckReport full = Check(fx.index);
    EXPECT_GE(full.levels, 2);
    for (IndexEntry& entry : entries)
        ASSERT_EQ(fx.index.DeleteKey(&entry), 1);
    IndexCheckReport empty = Check(fx.index);
    EXPECT_EQ(empty.levels, 1);
    EXPECT_EQ(empty.entries, 0);
    EXPECT_EQ(empty.freeBlocks, full.fileBlocks);

    for (IndexEntry& entry : entries)
        ASSERT_EQ(fx.index.AddKeySequenced(&entry), 1);
    IndexCheckReport again = Check(fx.index);
    EXPECT_EQ(again.fileBlocks, full.fileBlocks);
    EXPECT_EQ(again.treeBlocks - 1 + again.freeBlocks, again.fileBlocks);
}

// Two leaves under a root with one separator; the left leaf is filled to
// `leftUsed` bytes with 127-byte entries and one smaller one.
IndexImage TwoLeaves(int leftEntries, int32_t* left, int32_t* right)
{
    IndexImage image(2);
    *left = image.AddBlock();
    *right = image.AddBlock();
    image.SetFirstChild(0, *left);
    for (int i = 0; i < leftEntries; ++i)
        image.Append(*left, "A" + std::string(113, char('a' + i)), 100 + i, uint32_t(i));
    image.Append(0, "M", 200, 50, *right);
    image.Append(*right, "N", 300, 60);
    return image;
}

TEST(IndexFile, LeavesCombineOnlyBelowHalfAnArea)
{
    // Eight 127-byte entries make 1016 bytes; nine make 1143.
    IndexFixture fx;
    int32_t left = 0;
    int32_t right = 0;
    IndexImage image = TwoLeaves(9, &left, &right);
    fx.WriteFileBytes(image.bytes);
    ASSERT_EQ(fx.index.Open(&fx.path, 1), 1);

    // Down to 1016 bytes: a block below 1018 joins its sibling (the parent
    // entry comes down), the root is left empty and gives way.
    IndexEntry entry = IndexFixture::Entry("A" + std::string(113, 'a'), 100);
    ASSERT_EQ(fx.index.DeleteKey(&entry), 1);
    IndexCheckReport report = Check(fx.index);
    EXPECT_EQ(report.levels, 1);
    EXPECT_EQ(report.entries, 10);
    EXPECT_EQ(report.freeBlocks, 2);
    IndexEntry next{};
    ASSERT_EQ(fx.index.GetNext(&next), 1);
    EXPECT_EQ(next.recordPosition, 101);
    ASSERT_EQ(fx.index.Close(), 1);

    // A left block at 1018 or more stays as it is.
    IndexImage large(2);
    int32_t a = large.AddBlock();
    int32_t b = large.AddBlock();
    large.SetFirstChild(0, a);
    for (int i = 0; i < 7; ++i)
        large.Append(a, "A" + std::string(113, char('a' + i)), 100 + i, uint32_t(i));
    large.Append(a, "Az", 107, 7);                                  // 7 * 127 + 15 = 904
    large.Append(a, "B" + std::string(113 + 1, 'b'), 108, 8);      // + 128 = 1032
    large.Append(a, "C" + std::string(1, 'c'), 109, 9);            // + 15 = 1047
    large.Append(0, "M", 200, 50, b);
    large.Append(b, "N", 300, 60);
    ASSERT_EQ(large.Used(a), 1047);
    fx.WriteFileBytes(large.bytes);
    ASSERT_EQ(fx.index.Open(&fx.path, 1), 1);
    entry = IndexFixture::Entry("Az", 107);  // 1047 - 15 = 1032: stays
    ASSERT_EQ(fx.index.DeleteKey(&entry), 1);
    EXPECT_EQ(Check(fx.index).treeBlocks, 3);
    entry = IndexFixture::Entry("Cc", 109);  // 1032 - 15 = 1017: joins
    ASSERT_EQ(fx.index.DeleteKey(&entry), 1);
    report = Check(fx.index);
    EXPECT_EQ(report.treeBlocks, 1);
    EXPECT_EQ(report.entries, 10);
}

TEST(IndexFile, ABlockBorrowsFromAFullSibling)
{
    // The right leaf is nearly full: deleting from the small left leaf
    // moves the separator down and the right leaf's first entry up.
    IndexFixture fx;
    IndexImage image(2);
    const int32_t left = image.AddBlock();
    const int32_t right = image.AddBlock();
    image.SetFirstChild(0, left);
    image.Append(left, "A1", 1, 1);
    image.Append(left, "A2", 2, 2);
    image.Append(0, "M", 3, 3, right);
    for (int i = 0; i < 12; ++i)
        image.Append(right, "N" + std::string(148, char('a' + i)), 10 + i, uint32_t(10 + i));
    image.Append(right, "O" + std::string(78, 'o'), 30, 30);
    ASSERT_EQ(image.Used(right), kIndexEntryAreaSize);
    fx.WriteFileBytes(image.bytes);
    ASSERT_EQ(fx.index.Open(&fx.path, 1), 1);
    IndexEntry entry = IndexFixture::Entry("A1", 1);
    ASSERT_EQ(fx.index.DeleteKey(&entry), 1);
    IndexCheckReport report = Check(fx.index);
    EXPECT_EQ(report.treeBlocks, 3);
    EXPECT_EQ(report.entries, 15);
    ASSERT_EQ(fx.index.Close(), 1);
    const std::vector<uint8_t> bytes = fx.FileBytes();
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&bytes[12 + 12])), "N" + std::string(148, 'a'));
    EXPECT_EQ(GetI32LE(&bytes[left + 4]), 15 + 14);  // A2 and M
}

TEST(IndexFile, AnInnerEntryGivingWayToALongerSuccessorSplitsItsBlock)
{
    // The root holds 119 four-character separators (2023 bytes); each leaf
    // starts with a 149-character key. Deleting a separator puts that long
    // key in its place, which no longer fits.
    IndexFixture fx;
    IndexImage image(2);
    std::vector<int32_t> leaves;
    for (int i = 0; i <= 119; ++i)
        leaves.push_back(image.AddBlock());
    image.SetFirstChild(0, leaves[0]);
    image.Append(leaves[0], "A", 1, 1);
    std::vector<std::string> expected{"A"};
    for (int i = 0; i < 119; ++i) {
        const std::string separator = std::string("S").append(std::to_string(100 + i));
        const std::string successor = separator + std::string(size_t(kIndexMaxKeyLength) - separator.size(), '~');
        image.Append(0, separator, 1000 + i, uint32_t(i), leaves[size_t(i) + 1]);
        image.Append(leaves[size_t(i) + 1], successor, 2000 + i, uint32_t(i));
        expected.push_back(separator);
        expected.push_back(successor);
    }
    ASSERT_EQ(image.Used(0), 2023);
    fx.WriteFileBytes(image.bytes);
    ASSERT_EQ(fx.index.Open(&fx.path, 1), 1);

    IndexEntry entry = IndexFixture::Entry("S150", 1050);
    ASSERT_EQ(fx.index.DeleteKey(&entry), 1);
    expected.erase(std::find(expected.begin(), expected.end(), "S150"));
    IndexEntry next{};
    ASSERT_EQ(fx.index.GetNext(&next), 1) << fx.index.Failed() << " " << fx.errors.size();
    EXPECT_EQ(next.recordPosition, 2050);
    EXPECT_EQ(Keys(fx), expected);
    EXPECT_EQ(Check(fx.index).levels, 3);
    std::reverse(expected.begin(), expected.end());
    EXPECT_EQ(Keys(fx, true), expected);
}

TEST(IndexFile, ErrorsShowThePlainBox)
{
    EXPECT_EQ(FormatIndexErrorText(kIndexErrorRead, 38, 4112, "cards"),
              "Error while reading index file [38] \nRecord 4112 \nFile cards");
    EXPECT_EQ(FormatIndexErrorText(kIndexErrorWrite, 1, 2064, "x"), "Error while writing file [1] \nRecord 2064 \nFile x");
    EXPECT_EQ(FormatIndexErrorText(kIndexErrorOpen, 0, 0, "x"), "");

    // Without a reporter of its own the index shows an OK box.
    AlertCapture alerts;
    TempDir dir;
    PathRecord path{};
    PathRecordFromPosix(dir.file("missing/cards.idx"), &path);
    IndexFile index;
    EXPECT_EQ(index.Create(&path, 1), 0);
    ASSERT_GE(alerts.boxes().size(), 1u);
    EXPECT_EQ(alerts.boxes()[0].text, "Error - cannot open/close index file [3] \nRecord 0 \nFile cards");
    EXPECT_EQ(alerts.boxes()[0].style, uint32_t(kMbOk));
}

}  // namespace
