// Damaged index files: refused at open, or failing the index at the first
// short read or failed write. (Arbitrary damage is the fuzz target's.)

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <fstream>
#include <functional>

#include "index_test_support.h"

namespace {

std::string KeyFor(int i) { return "Name" + std::to_string(i * 7919 % 1000) + std::string(60, char('a' + i % 26)); }

// A clean three-level index with a free list.
class DamageTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(fx.index.Create(&fx.path, 1), 1);
        for (int i = 0; i < 1000; ++i) {
            IndexEntry entry = IndexFixture::Entry(KeyFor(i), 6000 + i);
            ASSERT_EQ(fx.index.AddKeySequenced(&entry), 1);
        }
        fx.index.SetIgnoreSequence(1);
        for (int i = 0; i < 1000; i += 3) {
            IndexEntry entry = IndexFixture::Entry(KeyFor(i), 6000 + i);
            ASSERT_EQ(fx.index.DeleteKey(&entry), 1);
        }
        shape = fx.Check();
        ASSERT_EQ(shape.levels, 3);
        ASSERT_GT(shape.freeBlocks, 0);
        entries = fx.Walk();
        ASSERT_EQ(fx.index.Close(), 1);
        clean = fx.FileBytes();
        freeHead = GetI32LE(&clean[idxh::kFreeList]);
        firstInner = GetI32LE(&clean[idxb::kFirstChild]);
        firstLeaf = GetI32LE(&clean[size_t(firstInner) + idxb::kFirstChild]);
    }

    void Open()
    {
        fx.WriteFileBytes(clean);
        ASSERT_EQ(fx.index.Open(&fx.path, 1), 1);
    }

    void PatchI32(int32_t offset, int32_t value)
    {
        uint8_t bytes[4];
        PutI32LE(bytes, value);
        std::fstream file(fx.hostPath, std::ios::in | std::ios::out | std::ios::binary);
        file.seekp(offset);
        file.write(reinterpret_cast<const char*>(bytes), 4);
    }

    // After the first error: everything fails without another report, and
    // closing deletes the file.
    void ExpectFailedFor(int16_t kind, int32_t number)
    {
        EXPECT_TRUE(fx.index.Failed());
        ASSERT_EQ(fx.errors.size(), 1u);
        EXPECT_EQ(fx.errors[0].kind, kind);
        EXPECT_EQ(fx.errors[0].number, number);
        IndexEntry other = IndexFixture::Entry("Name", 1);
        EXPECT_EQ(fx.index.GoFirst(), -1);
        EXPECT_EQ(fx.index.FindKey(&other), -1);
        EXPECT_EQ(fx.index.AddKeySequenced(&other), -1);
        EXPECT_EQ(fx.index.DeleteKey(&other), -1);
        EXPECT_EQ(fx.errors.size(), 1u);
        EXPECT_EQ(fx.index.Close(), 1);
        EXPECT_FALSE(fx.FileExists());
    }

    IndexFixture fx{4};
    IndexCheckReport shape;
    std::vector<std::pair<std::string, int32_t>> entries;
    std::vector<uint8_t> clean;
    int32_t freeHead = 0;
    int32_t firstInner = 0;
    int32_t firstLeaf = 0;
};

TEST_F(DamageTest, DamagedFilesAreDeletedAtOpenWithoutABox)
{
    auto i32 = [](int32_t offset, int32_t value) {
        return [=](std::vector<uint8_t>& b) { PutI32LE(&b[size_t(offset)], value); };
    };
    const std::pair<const char*, std::function<void(std::vector<uint8_t>&)>> damages[] = {
        {"left open", i32(idxh::kCleanMark, 0)},
        {"nine levels", i32(idxh::kLevels, 9)},
        {"too few levels", i32(idxh::kLevels, 2)},
        {"free list between blocks", i32(idxh::kFreeList, 2065)},
        {"root used beyond the area", i32(idxb::kUsed, 2037)},
        {"root elsewhere", i32(idxb::kOwnPosition, 2064)},
        {"half a block", [](std::vector<uint8_t>& b) { b.resize(b.size() - 100); }},
        {"unterminated key",
         [](std::vector<uint8_t>& b) {
             std::fill(b.begin() + 24, b.begin() + 12 + GetI32LE(&b[idxb::kUsed]), 'x');
         }},
        {"key too long",
         [&](std::vector<uint8_t>& b) {
             uint8_t* leaf = &b[size_t(firstLeaf)];
             PutI32LE(leaf + idxb::kUsed, 164);
             std::memset(leaf + 24, 'k', 151);
             leaf[24 + 151] = 0;
         }},
        {"child loops back", i32(firstInner + idxb::kFirstChild, firstInner)},
        {"inner block as a leaf", i32(firstInner + idxb::kFirstChild, -1)},
        {"block at the wrong place", i32(firstLeaf + idxb::kOwnPosition, firstLeaf + 2048)},
        {"free list loops", i32(freeHead, freeHead)},
        {"free list into the tree", i32(idxh::kFreeList, firstLeaf)},
    };
    for (const auto& [what, damage] : damages) {
        std::vector<uint8_t> bytes = clean;
        damage(bytes);
        fx.WriteFileBytes(bytes);
        EXPECT_EQ(fx.index.Open(&fx.path, 1), 0) << what;
        EXPECT_FALSE(fx.FileExists()) << what;
    }
    EXPECT_TRUE(fx.errors.empty());
    Open();
    EXPECT_EQ(fx.Walk(), entries);
}

TEST_F(DamageTest, AShortReadFailsTheIndex)
{
    Open();
    ASSERT_EQ(::truncate(fx.hostPath.c_str(), off_t(clean.size() / 2)), 0);
    int32_t result = fx.index.GoFirst();
    IndexEntry entry{};
    for (size_t steps = 0; result == 1 && steps <= entries.size(); ++steps)
        result = fx.index.GetNext(&entry);
    EXPECT_EQ(result, -1);
    EXPECT_GE(fx.errors.at(0).position, int32_t(clean.size() / 2) - 2048);
    ExpectFailedFor(kIndexErrorRead, 38);
}

TEST_F(DamageTest, AFailedWriteFailsTheIndex)
{
    Open();
    // With no room to grow, the first block taken from the end of the
    // file fails to write.
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
    EXPECT_GE(fx.errors.at(0).position, int32_t(clean.size()));
    ExpectFailedFor(kIndexErrorWrite, 1);
}

TEST_F(DamageTest, AFreeListNamingABlockInUseIsDropped)
{
    Open();
    PatchI32(freeHead + idxb::kFirstChild, -1);
    for (int i = 0; i < 200; ++i) {  // enough to need new blocks
        IndexEntry entry = IndexFixture::Entry(KeyFor(i) + "+", 9000 + i);
        ASSERT_EQ(fx.index.AddKeySequenced(&entry), 1);
    }
    const IndexCheckReport report = fx.Check();
    EXPECT_EQ(report.freeBlocks, 0);
    EXPECT_EQ(report.entries, int32_t(entries.size()) + 200);
    EXPECT_GT(report.fileBlocks, shape.fileBlocks);
    EXPECT_TRUE(fx.errors.empty());
}

}  // namespace
