// The index file's bytes, its lifecycle and the cases at its edges.

#include <gtest/gtest.h>

#include <algorithm>

#include "index_test_support.h"
#include "support/alert_capture.h"

namespace {

std::vector<std::string> Keys(IndexFixture& fx, bool backwards = false)
{
    std::vector<std::string> keys;
    for (const auto& [key, record] : fx.Walk(backwards))
        keys.push_back(key);
    return keys;
}

std::string Text(const uint8_t* bytes) { return reinterpret_cast<const char*>(bytes); }

// A key of n characters: first, then fill.
std::string Padded(char first, size_t n, char fill)
{
    std::string key(n, fill);
    key[0] = first;
    return key;
}

TEST(IndexFile, HeaderPageAndEntriesToTheByte)
{
    IndexFixture fx;
    ASSERT_EQ(fx.index.Create(&fx.path, 1), 1);
    std::vector<uint8_t> bytes = fx.FileBytes();
    ASSERT_EQ(bytes.size(), 2064u);
    // Root: own position 0, nothing used, a leaf; no free block, sequence
    // 0, not clean while open, one level.
    EXPECT_EQ(GetI32LE(&bytes[0]), 0);
    EXPECT_EQ(GetI32LE(&bytes[4]), 0);
    EXPECT_EQ(GetI32LE(&bytes[8]), -1);
    EXPECT_EQ(GetI32LE(&bytes[2048]), -1);
    EXPECT_EQ(GetU32LE(&bytes[2052]), 0u);
    EXPECT_EQ(GetU32LE(&bytes[2056]), 0u);
    EXPECT_EQ(GetU32LE(&bytes[2060]), 1u);

    IndexEntry smith = IndexFixture::Entry("Smith", 6000);
    IndexEntry tooLong{};  // not even terminated: cut to 149 characters
    std::memset(tooLong.key, '\xDC', sizeof tooLong.key);
    IndexEntry adams = IndexFixture::Entry("Adams", 6100);
    for (IndexEntry* entry : {&smith, &tooLong, &adams})
        ASSERT_EQ(fx.index.AddKeySequenced(entry), 1);
    EXPECT_EQ(adams.sequence, 2u);
    ASSERT_EQ(fx.index.Close(), 1);

    bytes = fx.FileBytes();
    ASSERT_EQ(bytes.size(), 2064u);
    EXPECT_EQ(GetI32LE(&bytes[4]), 18 + 18 + 162);
    const uint8_t* entry = &bytes[12];
    EXPECT_EQ(GetI32LE(entry), -1);
    EXPECT_EQ(GetI32LE(entry + 4), 6100);
    EXPECT_EQ(GetU32LE(entry + 8), 2u);
    EXPECT_EQ(Text(entry + 12), "Adams");
    EXPECT_EQ(Text(entry + 18 + 12), "Smith");
    // Bytes compare unsigned: 0xDC sorts after every ASCII letter.
    EXPECT_EQ(Text(entry + 36 + 12), std::string(149, '\xDC'));
    EXPECT_EQ(GetU32LE(&bytes[2052]), 3u);
    EXPECT_EQ(GetU32LE(&bytes[2056]), 1u);
    EXPECT_TRUE(fx.errors.empty());
}

TEST(IndexFile, CleanMarkLockAndDiscard)
{
    IndexFixture fx;
    {
        IndexFile index;
        ASSERT_EQ(index.Create(&fx.path, 1), 1);
        IndexEntry entry = IndexFixture::Entry("Jones", 7000);
        ASSERT_EQ(index.AddKeySequenced(&entry), 1);
        ASSERT_EQ(index.Close(), 1);
        ASSERT_EQ(index.Open(&fx.path, 1), 1);
        EXPECT_EQ(GetU32LE(&fx.FileBytes()[2056]), 0u);

        // A second open of the index in use is refused.
        AlertCapture alerts;
        IndexFixture other;
        EXPECT_EQ(other.index.Open(&fx.path, 1), 0);
        ASSERT_EQ(other.errors.size(), 1u);
        EXPECT_EQ(other.errors[0].kind, kIndexErrorOpen);
        EXPECT_EQ(other.errors[0].number, 32);
        EXPECT_EQ(other.errors[0].fileName, "cards");
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
    EXPECT_EQ(fx.index.GetNext(&entry), -2);
    EXPECT_EQ(fx.index.GetPrev(&entry), -2);
    EXPECT_EQ(fx.index.LocateKey(&entry), -2);
    EXPECT_EQ(fx.index.DeleteKey(&entry), 0);
    EXPECT_EQ(fx.index.ReplaceRecordPosition(&entry, 1), 0);
}

TEST(IndexFile, RootSplitsOnlyBeyondTheEntryArea)
{
    // Eleven 162-byte entries and two 127-byte ones fill 2036 bytes.
    IndexFixture fx;
    ASSERT_EQ(fx.index.Create(&fx.path, 1), 1);
    for (int i = 0; i < 13; ++i) {
        IndexEntry entry = IndexFixture::Entry(std::string(i < 11 ? 149 : 114, char('a' + i)), 6000 + i);
        ASSERT_EQ(fx.index.AddKeySequenced(&entry), 1);
    }
    EXPECT_EQ(fx.Check().levels, 1);
    IndexEntry smallest = IndexFixture::Entry("", 8000);
    ASSERT_EQ(fx.index.AddKeySequenced(&smallest), 1);
    const IndexCheckReport report = fx.Check();
    EXPECT_EQ(report.levels, 2);
    EXPECT_EQ(report.treeBlocks, 3);
    IndexEntry entry{};
    EXPECT_EQ(fx.index.GetPrev(&entry), -2);  // the cursor is on the new first entry
    ASSERT_EQ(fx.index.Close(), 1);
    const std::vector<uint8_t> bytes = fx.FileBytes();
    EXPECT_EQ(bytes.size(), size_t(2064 + 2 * 2048));
    EXPECT_EQ(GetI32LE(&bytes[0]), 0);
    EXPECT_GE(GetI32LE(&bytes[8]), 2064);
    EXPECT_EQ(GetU32LE(&bytes[2060]), 2u);
}

TEST(IndexFile, LeavesCombineOnlyBelowHalfAnArea)
{
    // Two leaves under one separator; the left one holds 1047 bytes.
    IndexImage image(2);
    const int32_t left = image.AddBlock();
    const int32_t right = image.AddBlock();
    image.SetFirstChild(0, left);
    for (int i = 0; i < 7; ++i)
        image.Append(left, Padded('A', 114, char('a' + i)), 100 + i, uint32_t(i));  // 127 bytes each
    image.Append(left, "B", 107, 7);                        // 14
    image.Append(left, Padded('C', 115, 'c'), 108, 8);  // 128
    image.Append(left, "D", 109, 9);                        // 14
    image.Append(0, "M", 200, 50, right);
    image.Append(right, "N", 300, 60);
    ASSERT_EQ(image.Used(left), 1045);
    IndexFixture fx;
    fx.WriteFileBytes(image.bytes);
    ASSERT_EQ(fx.index.Open(&fx.path, 1), 1);

    IndexEntry entry = IndexFixture::Entry("B", 107);  // 1031 bytes: it stays
    ASSERT_EQ(fx.index.DeleteKey(&entry), 1);
    EXPECT_EQ(fx.Check().treeBlocks, 3);
    entry = IndexFixture::Entry("D", 109);  // 1017 bytes: it joins its sibling
    ASSERT_EQ(fx.index.DeleteKey(&entry), 1);
    const IndexCheckReport report = fx.Check();
    EXPECT_EQ(report.levels, 1);
    EXPECT_EQ(report.entries, 10);
    EXPECT_EQ(report.freeBlocks, 2);
    IndexEntry next{};
    ASSERT_EQ(fx.index.GetNext(&next), 1);
    EXPECT_EQ(next.key, std::string("M"));

    // Freed blocks are used again before the file grows.
    for (int i = 0; i < 12; ++i) {
        IndexEntry more = IndexFixture::Entry(Padded('P', 101, char('a' + i)), 400 + i);
        ASSERT_EQ(fx.index.AddKeySequenced(&more), 1);
    }
    const IndexCheckReport grown = fx.Check();
    EXPECT_EQ(grown.levels, 2);
    EXPECT_EQ(grown.fileBlocks, 2);
}

TEST(IndexFile, AnInnerEntryGivingWayToALongerSuccessorSplitsItsBlock)
{
    // The root holds 119 four-character separators (2023 bytes); each leaf
    // starts with a 149-character key. Deleting a separator puts that long
    // key in its place, which no longer fits.
    IndexImage image(2);
    std::vector<int32_t> leaves;
    for (int i = 0; i <= 119; ++i)
        leaves.push_back(image.AddBlock());
    image.SetFirstChild(0, leaves[0]);
    image.Append(leaves[0], "A", 1, 1);
    std::vector<std::string> expected{"A"};
    for (int i = 0; i < 119; ++i) {
        std::string separator = "S";
        separator += std::to_string(100 + i);
        const std::string successor = separator + std::string(size_t(kIndexMaxKeyLength) - separator.size(), '~');
        image.Append(0, separator, 1000 + i, uint32_t(i), leaves[size_t(i) + 1]);
        image.Append(leaves[size_t(i) + 1], successor, 2000 + i, uint32_t(i));
        expected.push_back(separator);
        expected.push_back(successor);
    }
    IndexFixture fx;
    fx.WriteFileBytes(image.bytes);
    ASSERT_EQ(fx.index.Open(&fx.path, 1), 1);

    IndexEntry entry = IndexFixture::Entry("S150", 1050);
    ASSERT_EQ(fx.index.DeleteKey(&entry), 1);
    IndexEntry next{};
    ASSERT_EQ(fx.index.GetNext(&next), 1);
    EXPECT_EQ(next.recordPosition, 2050);
    expected.erase(std::find(expected.begin(), expected.end(), "S150"));
    EXPECT_EQ(Keys(fx), expected);
    std::reverse(expected.begin(), expected.end());
    EXPECT_EQ(Keys(fx, true), expected);
    EXPECT_EQ(fx.Check().levels, 3);
}

TEST(IndexFile, SeekingAmongEqualKeysFindsTheRecordWhereverTheCursorStands)
{
    // Many records under a few keys, long enough for a tree of three levels.
    IndexFixture fx;
    ASSERT_EQ(fx.index.Create(&fx.path, 1), 1);
    const std::string keys[] = {Padded('J', 90, 'j'), Padded('S', 90, 's')};
    for (int32_t i = 0; i < 400; ++i) {
        IndexEntry e = IndexFixture::Entry(keys[i % 2], 1000 + i);
        ASSERT_EQ(fx.index.AddKeySequenced(&e), 1);
    }
    std::vector<std::pair<std::string, int32_t>> entries = fx.Walk();
    ASSERT_EQ(entries.size(), 400u);
    ASSERT_EQ(fx.Check().levels, 3);

    // Stepping through in order, each record is found where the cursor
    // stands or just after it, and the cursor then stands on it.
    ASSERT_EQ(fx.index.GoFirst(), 1);
    for (size_t i = 0; i + 1 < entries.size(); i += 1 + i % 3) {
        IndexEntry e = IndexFixture::Entry(entries[i].first, entries[i].second);
        ASSERT_EQ(fx.index.SeekEntry(&e), 1) << i;
        IndexEntry next{};
        ASSERT_EQ(fx.index.GetNext(&next), 1) << i;
        EXPECT_EQ(next.recordPosition, entries[i + 1].second) << i;
    }
    // The key alone doesn't make the record: the cursor stands on an equal
    // key of another record.
    IndexEntry first = IndexFixture::Entry(entries[0].first, entries[0].second);
    ASSERT_EQ(fx.index.SeekEntry(&first), 1);
    IndexEntry stranger = IndexFixture::Entry(entries[0].first, 5);
    EXPECT_EQ(fx.index.SeekEntry(&stranger), 0);
    // Nor does the record alone: the next entry's record under another key.
    ASSERT_EQ(entries[1].first, keys[0]);
    ASSERT_EQ(fx.index.SeekEntry(&first), 1);
    IndexEntry wrongKey = IndexFixture::Entry(keys[1], entries[1].second);
    EXPECT_EQ(fx.index.SeekEntry(&wrongKey), 0);

    // Records deleted and added move entries between blocks under a
    // standing cursor; every record is still found, walking backwards, and
    // a deleted one is not, though the cursor stands next to it.
    std::vector<std::pair<std::string, int32_t>> deleted;
    for (size_t i = 0; i < entries.size(); i += 3) {
        IndexEntry e = IndexFixture::Entry(entries[i].first, entries[i].second);
        ASSERT_EQ(fx.index.DeleteKey(&e), 1) << i;
        deleted.push_back(entries[i]);
    }
    for (int32_t i = 0; i < 150; ++i) {
        IndexEntry e = IndexFixture::Entry(keys[i % 2], 5000 + i);
        ASSERT_EQ(fx.index.AddKeySequenced(&e), 1);
    }
    EXPECT_TRUE(fx.Check().problem.empty());
    entries = fx.Walk();
    ASSERT_EQ(entries.size(), 416u);
    for (size_t i = entries.size(); i-- > 0;) {
        IndexEntry e = IndexFixture::Entry(entries[i].first, entries[i].second);
        ASSERT_EQ(fx.index.SeekEntry(&e), 1) << i;
    }
    for (const auto& [key, record] : deleted) {
        IndexEntry e = IndexFixture::Entry(key, record);
        EXPECT_EQ(fx.index.SeekEntry(&e), 0) << record;
    }
    EXPECT_TRUE(fx.errors.empty());
}

TEST(IndexFile, EntriesOfOneKeyAreSoughtByTheirSequence)
{
    // Thousands of records of one sort value, the later half taken back in
    // index order as an abandoned import takes back what it added.
    IndexFixture fx;
    ASSERT_EQ(fx.index.Create(&fx.path, 1), 1);
    for (int32_t i = 0; i < 3000; ++i) {
        IndexEntry e = IndexFixture::Entry("Smith", 6000 + 40 * i);
        ASSERT_EQ(fx.index.AddKeySequenced(&e), 1);
    }
    std::vector<IndexEntry> added;
    IndexEntry at{};
    ASSERT_EQ(fx.index.GoFirst(), 1);
    while (fx.index.GetNext(&at) == 1)
        if (at.recordPosition >= 6000 + 40 * 1500)
            added.push_back(at);
    ASSERT_EQ(added.size(), 1500u);
    for (IndexEntry& e : added) {
        ASSERT_EQ(fx.index.SeekEntry(&e), 1) << e.recordPosition;
        ASSERT_EQ(fx.index.DeleteKey(&e), 1) << e.recordPosition;
    }
    const auto left = fx.Walk();
    ASSERT_EQ(left.size(), 1500u);
    for (size_t i = 0; i < left.size(); ++i)
        EXPECT_EQ(left[i].second, int32_t(6000 + 40 * i));
    EXPECT_TRUE(fx.Check().problem.empty());
    // An entry asked for with a sequence number it doesn't have is still
    // found by its key and record.
    IndexEntry stale = IndexFixture::Entry("Smith", 6000 + 40 * 700);
    stale.sequence = 2999;
    EXPECT_EQ(fx.index.SeekEntry(&stale), 1);
    EXPECT_EQ(stale.sequence, 700u);
    EXPECT_TRUE(fx.errors.empty());
}

TEST(IndexFile, ErrorsShowThePlainBox)
{
    EXPECT_EQ(FormatIndexErrorText(kIndexErrorRead, 38, 4112, "cards"),
              "Error while reading index file [38] \nRecord 4112 \nFile cards");
    EXPECT_EQ(FormatIndexErrorText(kIndexErrorOpen, 0, 0, "x"), "");

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

namespace {

// FNV-1a over the file: the layout a long build leaves is pinned to the
// byte without keeping a file of it.
uint64_t Fingerprint(const std::vector<uint8_t>& bytes)
{
    uint64_t hash = 0xCBF29CE484222325ull;
    for (uint8_t b : bytes)
        hash = (hash ^ b) * 0x100000001B3ull;
    return hash;
}

}  // namespace

TEST(IndexFile, KeysAddedInOrderOrNotBuildTheSameFileAsEver)
{
    // Sorted keys of many lengths with runs of equal ones (a presort adds
    // them so), broken by keys that land inside the tree, a removal, and
    // keys again after the last; then the same keys in no order. Each file
    // must be the one built before adds stopped comparing every entry.
    struct Case {
        int16_t duplicates;
        bool scrambled;
        int refused;
        uint64_t fingerprint;
    };
    for (const Case& c : {Case{1, false, 0, 0xCE3BA1F04AE4D6F8ull}, Case{0, false, 11, 0x662712D647312613ull},
                          Case{1, true, 0, 0x261D857BB97ACC93ull}}) {
        IndexFixture fx;
        ASSERT_EQ(fx.index.Create(&fx.path, c.duplicates), 1);
        fx.index.SetIgnoreSequence(c.duplicates == 0);
        uint32_t state = 12345;
        auto next = [&state] { return state = state * 1103515245u + 12345u; };
        int refused = 0;
        std::string last;
        for (int n = 0; n < 6000; ++n) {
            const int i = c.scrambled ? n * 7919 % 6000 : n;
            char key[80];
            const int length = 1 + int(next() >> 16) % 40;
            std::snprintf(key, sizeof key, "%05d%s", i / 3, std::string(size_t(length), char('a' + i % 26)).c_str());
            IndexEntry entry = IndexFixture::Entry(i % 500 == 499 ? "00001" : key, 1000 + i);
            const int32_t added = fx.index.AddKeySequenced(&entry);
            ASSERT_TRUE(added == 1 || (added == 0 && c.duplicates == 0)) << i;
            refused += added == 0;
            last = entry.key;
            if (n == 3000) {
                IndexEntry gone = IndexFixture::Entry(key, 1000 + i);
                ASSERT_EQ(fx.index.DeleteKey(&gone), 1);
            }
        }
        // The last key again: refused by a file without duplicates.
        IndexEntry equal = IndexFixture::Entry(last, 99);
        EXPECT_EQ(fx.index.AddKeySequenced(&equal), c.duplicates);
        EXPECT_TRUE(fx.Check().problem.empty());
        ASSERT_EQ(fx.index.Close(), 1);
        EXPECT_EQ(refused, c.refused);
        const std::vector<uint8_t> bytes = fx.FileBytes();
        EXPECT_EQ(Fingerprint(bytes), c.fingerprint);
    }
}
