// Random operations on the index against a multimap of the same entries:
// results, where the cursor stands afterwards, full walks both ways and the
// tree's structure must agree with the model, across reopening, in both
// orders and with caches of several sizes.

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <map>
#include <random>

#include "index_test_support.h"

namespace {

struct Param {
    bool descending;
    int32_t cacheBlocks;
    uint32_t seed;
};

struct Stored {
    uint32_t sequence;
    int32_t recordPosition;
};
// A multimap keeps equal keys in insertion order, which is sequence order.
using Model = std::multimap<std::string, Stored>;

class IndexModelTest : public ::testing::TestWithParam<Param> {
protected:
    IndexModelTest() : fx(GetParam().cacheBlocks), rng(GetParam().seed)
    {
        // Keys of every length up to the longest, bytes above 0x7F among
        // them, few enough that equal keys are common.
        for (int i = 0; i < 60; ++i) {
            std::string key;
            const size_t length = i < 20 ? rng() % 8 : rng() % (kIndexMaxKeyLength + 1);
            for (size_t c = 0; c < length; ++c)
                key.push_back("AaMz\xE9\xFC"[rng() % 6]);
            keys.push_back(key);
        }
    }

    // The record positions in the index's order.
    std::vector<int32_t> Expected() const
    {
        std::vector<int32_t> out;
        for (const auto& [key, stored] : model)
            out.push_back(stored.recordPosition);
        if (GetParam().descending)
            std::reverse(out.begin(), out.end());
        return out;
    }

    // The record after this one in index order, -1 at the end.
    int32_t Following(int32_t record) const
    {
        const std::vector<int32_t> order = Expected();
        const auto at = std::find(order.begin(), order.end(), record) + 1;
        return at >= order.end() ? -1 : *at;
    }

    void ExpectNext(int32_t record)
    {
        IndexEntry next{};
        ASSERT_EQ(fx.index.GetNext(&next), record < 0 ? -2 : 1);
        EXPECT_EQ(record < 0 ? -1 : next.recordPosition, record);
    }

    Model::iterator RandomElement() { return std::next(model.begin(), long(rng() % model.size())); }

    void Step(bool grow)
    {
        const uint32_t pick = rng() % 10;
        if (model.empty() || (pick < 7 && grow)) {  // add
            IndexEntry entry = IndexFixture::Entry(keys[rng() % keys.size()], nextRecord++);
            ASSERT_EQ(fx.index.AddKeySequenced(&entry), 1);
            model.emplace(entry.key, Stored{entry.sequence, entry.recordPosition});
            // The cursor stands on the new entry.
            IndexEntry back{};
            fx.index.GetPrev(&back);
            ASSERT_EQ(fx.index.GetNext(&back), 1);
            EXPECT_EQ(back.recordPosition, entry.recordPosition);
        } else if (pick < 7) {  // delete: the cursor stays where the entry was
            auto it = RandomElement();
            IndexEntry entry = IndexFixture::Entry(it->first, it->second.recordPosition);
            const int32_t following = Following(it->second.recordPosition);
            fx.index.SetIgnoreSequence(1);
            ASSERT_EQ(fx.index.DeleteKey(&entry), 1);
            EXPECT_EQ(entry.sequence, it->second.sequence);
            model.erase(it);
            ExpectNext(following);
            EXPECT_EQ(fx.index.DeleteKey(&entry), 0);
            fx.index.SetIgnoreSequence(0);
        } else if (pick < 8) {  // replace the record position
            auto it = RandomElement();
            IndexEntry entry = IndexFixture::Entry(it->first, it->second.recordPosition);
            ASSERT_EQ(fx.index.ReplaceRecordPosition(&entry, nextRecord), 1);
            EXPECT_EQ(entry.sequence, it->second.sequence);
            it->second.recordPosition = nextRecord++;
            ExpectNext(Following(it->second.recordPosition));
        } else if (pick < 9) {  // find by key and sequence, seek by key and record
            auto it = RandomElement();
            IndexEntry entry = IndexFixture::Entry(it->first, -5, it->second.sequence);
            ASSERT_EQ(fx.index.FindKey(&entry), 1);
            EXPECT_EQ(entry.recordPosition, it->second.recordPosition);
            ExpectNext(Following(entry.recordPosition));
            entry = IndexFixture::Entry(it->first, it->second.recordPosition, 12345);
            ASSERT_EQ(fx.index.SeekEntry(&entry), 1);
            EXPECT_EQ(entry.sequence, it->second.sequence);
            entry = IndexFixture::Entry(it->first, -7);
            EXPECT_EQ(fx.index.SeekEntry(&entry), 0);
        } else {  // locate a key of the pool or a near miss, sequence 0
            std::string key = keys[rng() % keys.size()];
            if (rng() % 2 && !key.empty())
                key.back() = char(key.back() + (rng() % 2 ? 1 : -1));
            const bool keyOnly = rng() % 2;
            fx.index.SetIgnoreSequence(keyOnly);
            IndexEntry entry = IndexFixture::Entry(key, 0, 0);
            const int32_t result = fx.index.LocateKey(&entry);
            fx.index.SetIgnoreSequence(0);
            // In either order: the first entry at or after the key in key
            // order (sequence 0 comes first among equal keys).
            auto expected = model.lower_bound(key);
            const bool exact = expected != model.end() && expected->first == key &&
                               (keyOnly || expected->second.sequence == 0);
            if (exact) {
                ASSERT_EQ(result, 1);
                EXPECT_EQ(std::string(entry.key), key);
                return;
            }
            if (keyOnly)
                expected = model.upper_bound(key);
            ASSERT_EQ(result, expected == model.end() ? -2 : 0);
            EXPECT_EQ(result == 0 ? entry.recordPosition : -1, result == 0 ? expected->second.recordPosition : -1);
        }
    }

    void ExpectSameAsModel()
    {
        std::vector<int32_t> forward;
        std::vector<int32_t> backward;
        for (const auto& [key, record] : fx.Walk())
            forward.push_back(record);
        for (const auto& [key, record] : fx.Walk(true))
            backward.insert(backward.begin(), record);
        ASSERT_EQ(forward, Expected());
        ASSERT_EQ(backward, Expected());
        const IndexCheckReport report = fx.Check();
        EXPECT_EQ(report.entries, int32_t(model.size()));
        EXPECT_EQ(report.treeBlocks - 1 + report.freeBlocks, report.fileBlocks) << "a block leaked";
        EXPECT_TRUE(!model.empty() || report.levels == 1);
    }

    IndexFixture fx;
    std::mt19937 rng;
    std::vector<std::string> keys;
    Model model;
    int32_t nextRecord = 6000;
};

TEST_P(IndexModelTest, RandomOperationsAgreeWithTheModel)
{
    fx.index.SetDescending(GetParam().descending);
    ASSERT_EQ(fx.index.Create(&fx.path, 1), 1);
    // Grow, shrink to nothing, grow again: splits, merges, borrowing, new
    // and collapsing roots and the free list all take part.
    int steps = 0;
    for (int target : {1200, 0, 900, 300}) {
        while (int(model.size()) != target) {
            ASSERT_NO_FATAL_FAILURE(Step(int(model.size()) < target));
            if (++steps % 700 == 0) {
                ASSERT_NO_FATAL_FAILURE(ExpectSameAsModel());
                ASSERT_EQ(fx.index.Close(), 1);
                ASSERT_EQ(fx.index.Open(&fx.path, 1), 1);
            }
        }
        ASSERT_NO_FATAL_FAILURE(ExpectSameAsModel());
    }
    EXPECT_TRUE(fx.errors.empty());
    EXPECT_EQ(fx.index.Close(), 1);
}

INSTANTIATE_TEST_SUITE_P(Orders, IndexModelTest,
                         ::testing::Values(Param{false, kIndexCacheBlocks, 1}, Param{true, kIndexCacheBlocks, 2},
                                           Param{false, 4, 3}, Param{true, 64, 4}));

}  // namespace
