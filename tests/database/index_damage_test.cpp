// Damaged index files: refused at open, or failing the index at the first
// bad block, short read or failed write, never crashing or looping.

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <fstream>
#include <functional>
#include <random>

#include "index_test_support.h"

namespace {

void Patch(const std::string& path, int32_t offset, const void* bytes, size_t n)
{
    std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
    file.seekp(offset);
    file.write(static_cast<const char*>(bytes), std::streamsize(n));
}

void PatchI32(const std::string& path, int32_t offset, int32_t value)
{
    uint8_t bytes[4];
    PutI32LE(bytes, value);
    Patch(path, offset, bytes, 4);
}

std::string KeyFor(int i) { return "Name" + std::to_string(i * 7919 % 1000) + std::string(60, char('a' + i % 26)); }

// A clean three-level index with a free list, its entries in order.
class DamageTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        IndexFile& index = fx.index;
        ASSERT_EQ(index.Create(&fx.path, 1), 1);
        for (int i = 0; i < 1000; ++i) {
            IndexEntry entry = IndexFixture::Entry(KeyFor(i), 6000 + i);
            ASSERT_EQ(index.AddKeySequenced(&entry), 1);
        }
        for (int i = 0; i < 1000; i += 3) {
            IndexEntry entry = IndexFixture::Entry(KeyFor(i), 6000 + i);
            index.SetIgnoreSequence(1);
            ASSERT_EQ(index.DeleteKey(&entry), 1);
        }
        index.SetIgnoreSequence(0);
        ASSERT_TRUE(index.CheckStructure(true, &shape)) << shape.problem;
        ASSERT_EQ(shape.levels, 3);
        ASSERT_GT(shape.freeBlocks, 0);
        entries = fx.Walk();
        ASSERT_EQ(index.Close(), 1);
        clean = fx.FileBytes();
        freeHead = GetI32LE(&clean[idxh::kFreeList]);
        firstInner = GetI32LE(&clean[idxb::kFirstChild]);
        firstLeaf = GetI32LE(&clean[size_t(firstInner) + idxb::kFirstChild]);
    }

    // Opens the file after a change: it must be refused, deleted and
    // nothing reported.
    void ExpectRefused(const char* what, const std::function<void(std::vector<uint8_t>&)>& change)
    {
        std::vector<uint8_t> bytes = clean;
        change(bytes);
        fx.WriteFileBytes(bytes);
        EXPECT_EQ(fx.index.Open(&fx.path, 1), 0) << what;
        EXPECT_FALSE(fx.FileExists()) << what;
        EXPECT_TRUE(fx.errors.empty()) << what;
    }

    IndexFixture fx{4};
    IndexCheckReport shape;
    std::vector<std::pair<std::string, int32_t>> entries;
    std::vector<uint8_t> clean;
    int32_t freeHead = 0;
    int32_t firstInner = 0;
    int32_t firstLeaf = 0;
};

TEST_F(DamageTest, DamagedHeaderPagesAndTreesAreDeletedAtOpen)
{
    auto i32 = [](int32_t offset, int32_t value) {
        return [=](std::vector<uint8_t>& b) { PutI32LE(&b[size_t(offset)], value); };
    };
    ExpectRefused("left open", i32(idxh::kCleanMark, 0));
    ExpectRefused("no levels", i32(idxh::kLevels, 0));
    ExpectRefused("nine levels", i32(idxh::kLevels, 9));
    ExpectRefused("too few levels", i32(idxh::kLevels, 2));
    ExpectRefused("free list between blocks", i32(idxh::kFreeList, 2065));
    ExpectRefused("free list past the end", i32(idxh::kFreeList, int32_t(clean.size())));
    ExpectRefused("root used beyond the area", i32(idxb::kUsed, 2037));
    ExpectRefused("root used negative", i32(idxb::kUsed, -1));
    ExpectRefused("root elsewhere", i32(idxb::kOwnPosition, 2064));
    ExpectRefused("half a block", [](std::vector<uint8_t>& b) { b.resize(b.size() - 100); });
    ExpectRefused("short header page", [](std::vector<uint8_t>& b) { b.resize(2000); });
    ExpectRefused("empty file", [](std::vector<uint8_t>& b) { b.clear(); });
    ExpectRefused("unterminated key", [](std::vector<uint8_t>& b) {
        const int32_t used = GetI32LE(&b[idxb::kUsed]);
        std::fill(b.begin() + idxb::kEntries + idxe::kKey, b.begin() + idxb::kEntries + used, 'x');
    });
    ExpectRefused("child past the end", i32(idxb::kFirstChild, int32_t(clean.size())));
    ExpectRefused("child loops back", i32(firstInner + idxb::kFirstChild, firstInner));
    ExpectRefused("leaf with a child", i32(firstLeaf + idxb::kFirstChild, firstInner));
    ExpectRefused("inner block as a leaf", i32(firstInner + idxb::kFirstChild, -1));
    ExpectRefused("block at the wrong place", i32(firstLeaf + idxb::kOwnPosition, firstLeaf + 2048));
    ExpectRefused("free list loops", [&](std::vector<uint8_t>& b) { PutI32LE(&b[size_t(freeHead)], freeHead); });
    ExpectRefused("free list into the tree", i32(idxh::kFreeList, firstLeaf));
    ExpectRefused("free block not free", i32(freeHead + idxb::kFirstChild, -1));
    ExpectRefused("key too long", [&](std::vector<uint8_t>& b) {
        // One 151-character key in place of the first leaf's entries.
        uint8_t* leaf = &b[size_t(firstLeaf)];
        PutI32LE(leaf + idxb::kUsed, 164);
        std::memset(leaf + idxb::kEntries + idxe::kKey, 'k', 151);
        leaf[idxb::kEntries + idxe::kKey + 151] = 0;
    });

    // The untouched file still opens with every entry.
    fx.WriteFileBytes(clean);
    ASSERT_EQ(fx.index.Open(&fx.path, 1), 1);
    EXPECT_EQ(fx.Walk(), entries);
}

TEST_F(DamageTest, RandomDamageIsRefusedOrSurvived)
{
    std::mt19937 rng(7);
    int opened = 0;
    for (int round = 0; round < 150; ++round) {
        std::vector<uint8_t> bytes = clean;
        const int flips = 1 + int(rng() % 6);
        for (int i = 0; i < flips; ++i) {
            // Mostly the words that steer the tree, sometimes anywhere.
            size_t at = rng() % bytes.size();
            if (rng() % 2)
                at = at / 2048 * 2048 + rng() % 16;
            bytes[at] = uint8_t(rng());
        }
        fx.WriteFileBytes(bytes);
        fx.errors.clear();
        if (fx.index.Open(&fx.path, 1) != 1)
            continue;
        ++opened;
        // Whatever opened is a tree: walks end, changes keep it one.
        EXPECT_LE(fx.Walk().size(), entries.size() + 1);
        EXPECT_LE(fx.Walk(true).size(), entries.size() + 1);
        for (int i = 0; i < 40; ++i) {
            IndexEntry entry = IndexFixture::Entry(KeyFor(int(rng() % 1000)), 6000 + int(rng() % 1000));
            if (i % 2)
                fx.index.AddKeySequenced(&entry);
            else
                fx.index.DeleteKey(&entry);
        }
        IndexCheckReport report;
        if (!fx.index.Failed()) {
            EXPECT_TRUE(fx.index.CheckStructure(false, &report)) << report.problem;
        }
        fx.index.Close();
    }
    EXPECT_GT(opened, 0);
}

TEST_F(DamageTest, AShortReadFailsTheIndexOnce)
{
    fx.WriteFileBytes(clean);
    ASSERT_EQ(fx.index.Open(&fx.path, 1), 1);
    ASSERT_EQ(::truncate(fx.hostPath.c_str(), off_t(clean.size() / 2)), 0);

    int32_t result = fx.index.GoFirst();
    IndexEntry entry{};
    for (size_t steps = 0; result == 1 && steps <= entries.size(); ++steps)
        result = fx.index.GetNext(&entry);
    EXPECT_EQ(result, -1);
    EXPECT_TRUE(fx.index.Failed());
    ASSERT_EQ(fx.errors.size(), 1u);
    EXPECT_EQ(fx.errors[0].kind, kIndexErrorRead);
    EXPECT_EQ(fx.errors[0].number, 38);
    EXPECT_GE(fx.errors[0].position, int32_t(clean.size() / 2) - 2048);

    // Failed for good: nothing more is read or reported.
    IndexEntry other = IndexFixture::Entry("Name", 1);
    EXPECT_EQ(fx.index.GoFirst(), -1);
    EXPECT_EQ(fx.index.FindKey(&other), -1);
    EXPECT_EQ(fx.index.AddKeySequenced(&other), -1);
    EXPECT_EQ(fx.index.DeleteKey(&other), -1);
    EXPECT_EQ(fx.errors.size(), 1u);
    EXPECT_EQ(fx.index.Close(), 1);
    EXPECT_FALSE(fx.FileExists());
}

TEST_F(DamageTest, ABlockDamagedWhileOpenFailsTheIndex)
{
    fx.WriteFileBytes(clean);
    ASSERT_EQ(fx.index.Open(&fx.path, 1), 1);
    // The second leaf: the first one is in the cache already.
    const int32_t secondLeaf = GetI32LE(&clean[size_t(firstInner) + idxb::kEntries + idxe::kChild]);
    PatchI32(fx.hostPath, secondLeaf + idxb::kUsed, 5000);
    int32_t result = 1;
    IndexEntry entry{};
    for (size_t steps = 0; result == 1 && steps <= entries.size(); ++steps)
        result = fx.index.GetNext(&entry);
    EXPECT_EQ(result, -1);
    ASSERT_EQ(fx.errors.size(), 1u);
    EXPECT_EQ(fx.errors[0].kind, kIndexErrorRead);
    EXPECT_EQ(fx.errors[0].number, kIndexErrorCorrupt);
    EXPECT_EQ(fx.errors[0].position, secondLeaf);
    EXPECT_EQ(fx.index.Close(), 1);
    EXPECT_FALSE(fx.FileExists());
}

TEST_F(DamageTest, AFreeListNamingABlockInUseIsDropped)
{
    fx.WriteFileBytes(clean);
    ASSERT_EQ(fx.index.Open(&fx.path, 1), 1);
    PatchI32(fx.hostPath, freeHead + idxb::kFirstChild, -1);
    // Enough new entries to need new blocks.
    for (int i = 0; i < 200; ++i) {
        IndexEntry entry = IndexFixture::Entry(KeyFor(i) + "+", 9000 + i);
        ASSERT_EQ(fx.index.AddKeySequenced(&entry), 1);
    }
    IndexCheckReport report;
    ASSERT_TRUE(fx.index.CheckStructure(true, &report)) << report.problem;
    EXPECT_EQ(report.freeBlocks, 0);
    EXPECT_EQ(report.entries, int32_t(entries.size()) + 200);
    EXPECT_GT(report.fileBlocks, shape.fileBlocks);
    EXPECT_TRUE(fx.errors.empty());
    EXPECT_EQ(fx.index.Close(), 1);
}

TEST_F(DamageTest, AFailedWriteFailsTheIndex)
{
    fx.WriteFileBytes(clean);
    ASSERT_EQ(fx.index.Open(&fx.path, 1), 1);
    // Allowing the file no growth makes the first block taken from the end
    // of the file fail to write.
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit limit = saved;
    limit.rlim_cur = clean.size();
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limit), 0);
    int32_t result = 1;
    for (int i = 0; i < 2000 && result == 1; ++i) {
        IndexEntry entry = IndexFixture::Entry(KeyFor(i) + "+", 9000 + i);
        result = fx.index.AddKeySequenced(&entry);
    }
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);

    EXPECT_EQ(result, -1);
    ASSERT_EQ(fx.errors.size(), 1u);
    EXPECT_EQ(fx.errors[0].kind, kIndexErrorWrite);
    EXPECT_EQ(fx.errors[0].number, 1);
    EXPECT_GE(fx.errors[0].position, int32_t(clean.size()));
    EXPECT_EQ(fx.index.Close(), 1);
    EXPECT_FALSE(fx.FileExists());
}

}  // namespace
