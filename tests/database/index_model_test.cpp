// Random operations on the index against a multimap of the same entries:
// every result, the cursor after each operation, the order of a full walk
// both ways and the tree's structure must agree with the model, across
// reopening, in both orders.

#include <gtest/gtest.h>

#include <iterator>
#include <map>
#include <random>

#include "index_test_support.h"

namespace {

struct Param {
    bool descending;
    int32_t cacheBlocks;
    uint32_t seed;
    // Short keys each followed by a long one: inner entries then often
    // give way to much longer successors.
    bool pairedKeys = false;
};

struct Stored {
    uint32_t sequence;
    int32_t recordPosition;
};
// Equal keys keep their insertion order, which is the order of sequences.
using Model = std::multimap<std::string, Stored>;

class IndexModelTest : public ::testing::TestWithParam<Param> {
protected:
    IndexModelTest() : fx(GetParam().cacheBlocks), rng(GetParam().seed) {}

    // A pool of keys of every length up to the longest, with bytes above
    // 0x7F, so that equal keys are common and blocks split at any size.
    void MakeKeys()
    {
        if (GetParam().pairedKeys) {
            for (int i = 0; i < 400; ++i) {
                const std::string shortKey = std::string("K").append(std::to_string(1000 + i));
                keys.push_back(shortKey);
                keys.push_back(shortKey + std::string(size_t(kIndexMaxKeyLength) - shortKey.size(), '~'));
            }
            return;
        }
        keys.push_back("");
        for (int i = 0; i < 60; ++i) {
            const int length = i < 20 ? int(rng() % 8) + 1 : int(rng() % kIndexMaxKeyLength) + 1;
            std::string key;
            for (int c = 0; c < length; ++c)
                key.push_back(char("AaMz\xE9\xFC"[rng() % 6]));
            keys.push_back(key);
        }
    }

    // Model iterators in the index's order.
    std::vector<Model::const_iterator> Ordered() const
    {
        std::vector<Model::const_iterator> out;
        for (auto it = model.begin(); it != model.end(); ++it)
            out.push_back(it);
        if (GetParam().descending)
            std::reverse(out.begin(), out.end());
        return out;
    }

    void ExpectSameAsModel()
    {
        std::vector<std::pair<std::string, int32_t>> expected;
        for (auto it : Ordered())
            expected.emplace_back(it->first, it->second.recordPosition);
        ASSERT_EQ(fx.Walk(false), expected);
        std::reverse(expected.begin(), expected.end());
        ASSERT_EQ(fx.Walk(true), expected);
        IndexCheckReport report;
        ASSERT_TRUE(fx.index.CheckStructure(true, &report)) << report.problem;
        EXPECT_EQ(report.entries, int32_t(model.size()));
        EXPECT_EQ(report.treeBlocks - 1 + report.freeBlocks, report.fileBlocks) << "a block leaked";
    }

    // After an operation that leaves the cursor on `it` (or, with onEntry
    // false, just before where it would be), the next step goes to the
    // entry after it in index order.
    void ExpectNextAfter(Model::const_iterator it, bool onEntry)
    {
        const auto order = Ordered();
        auto pos = std::find(order.begin(), order.end(), it);
        ASSERT_NE(pos, order.end());
        if (onEntry)
            ++pos;
        IndexEntry next{};
        const int32_t result = fx.index.GetNext(&next);
        if (pos == order.end()) {
            EXPECT_EQ(result, -2);
        } else {
            ASSERT_EQ(result, 1);
            EXPECT_EQ(next.recordPosition, (*pos)->second.recordPosition);
        }
    }

    Model::iterator RandomElement()
    {
        auto it = model.begin();
        std::advance(it, rng() % model.size());
        return it;
    }

    void Add()
    {
        IndexEntry entry = IndexFixture::Entry(keys[rng() % keys.size()], nextRecord++);
        ASSERT_EQ(fx.index.AddKeySequenced(&entry), 1);
        auto it = model.emplace(entry.key, Stored{entry.sequence, entry.recordPosition});
        // The cursor stands on the new entry.
        IndexEntry back{};
        ASSERT_EQ(fx.index.GetPrev(&back), GetParam().descending ? (std::next(it) == model.end() ? -2 : 1)
                                                                 : (it == model.begin() ? -2 : 1));
        ASSERT_EQ(fx.index.GetNext(&back), 1);
        EXPECT_EQ(back.recordPosition, entry.recordPosition);
    }

    void Delete()
    {
        auto it = RandomElement();
        IndexEntry entry = IndexFixture::Entry(it->first, it->second.recordPosition);
        fx.index.SetIgnoreSequence(1);
        ASSERT_EQ(fx.index.DeleteKey(&entry), 1);
        fx.index.SetIgnoreSequence(0);
        EXPECT_EQ(entry.sequence, it->second.sequence);
        // The cursor stays where the entry was: next is the one after it.
        auto order = Ordered();
        auto pos = std::find(order.begin(), order.end(), Model::const_iterator(it));
        const bool last = std::next(pos) == order.end();
        const int32_t after = last ? -1 : (*std::next(pos))->second.recordPosition;
        model.erase(it);
        IndexEntry next{};
        const int32_t result = fx.index.GetNext(&next);
        if (last) {
            EXPECT_EQ(result, -2);
        } else {
            ASSERT_EQ(result, 1);
            EXPECT_EQ(next.recordPosition, after);
        }
        IndexEntry again = entry;
        EXPECT_EQ(fx.index.DeleteKey(&again), 0);
    }

    void Replace()
    {
        auto it = RandomElement();
        IndexEntry entry = IndexFixture::Entry(it->first, it->second.recordPosition);
        const int32_t moved = nextRecord++;
        ASSERT_EQ(fx.index.ReplaceRecordPosition(&entry, moved), 1);
        EXPECT_EQ(entry.recordPosition, moved);
        EXPECT_EQ(entry.sequence, it->second.sequence);
        it->second.recordPosition = moved;
        ExpectNextAfter(it, true);
    }

    void FindAndSeek()
    {
        auto it = RandomElement();
        IndexEntry entry = IndexFixture::Entry(it->first, -5, it->second.sequence);
        ASSERT_EQ(fx.index.FindKey(&entry), 1);
        EXPECT_EQ(entry.recordPosition, it->second.recordPosition);
        ExpectNextAfter(it, true);

        IndexEntry seek = IndexFixture::Entry(it->first, it->second.recordPosition, 12345);
        ASSERT_EQ(fx.index.SeekEntry(&seek), 1);
        EXPECT_EQ(seek.sequence, it->second.sequence);
        ExpectNextAfter(it, true);

        IndexEntry missing = IndexFixture::Entry(it->first, -7);
        EXPECT_EQ(fx.index.SeekEntry(&missing), 0);
    }

    void Locate()
    {
        // A key of the pool or a variation of one, sequence 0.
        std::string key = keys[rng() % keys.size()];
        if (rng() % 2 && !key.empty())
            key.back() = char(key.back() + (rng() % 2 ? 1 : -1));
        const bool keyOnly = rng() % 2;
        fx.index.SetIgnoreSequence(keyOnly);
        IndexEntry entry = IndexFixture::Entry(key, 0, 0);
        const int32_t result = fx.index.LocateKey(&entry);
        fx.index.SetIgnoreSequence(0);

        // In either order the entry found is the first one at or after the
        // key in key order.
        Model::const_iterator expected;
        bool exact = false;
        if (keyOnly) {
            expected = model.lower_bound(key);
            exact = expected != model.end() && expected->first == key;
            if (!exact)
                expected = model.upper_bound(key);
        } else {
            // Sequence 0 comes first among equal keys.
            expected = model.lower_bound(key);
            exact = expected != model.end() && expected->first == key && expected->second.sequence == 0;
        }
        if (exact) {
            ASSERT_EQ(result, 1);
            EXPECT_EQ(std::string(entry.key), key);
            if (!keyOnly) {
                EXPECT_EQ(entry.recordPosition, expected->second.recordPosition);
            }
        } else if (expected == model.end()) {
            EXPECT_EQ(result, -2);
        } else {
            ASSERT_EQ(result, 0);
            EXPECT_EQ(entry.recordPosition, expected->second.recordPosition);
        }
    }

    void Reopen()
    {
        ASSERT_EQ(fx.index.Close(), 1);
        ASSERT_EQ(fx.index.Open(&fx.path, 1), 1);
    }

    IndexFixture fx;
    std::mt19937 rng;
    std::vector<std::string> keys;
    Model model;
    int32_t nextRecord = 6000;
};

TEST_P(IndexModelTest, RandomOperationsAgreeWithTheModel)
{
    MakeKeys();
    fx.index.SetDescending(GetParam().descending);
    ASSERT_EQ(fx.index.Create(&fx.path, 1), 1);

    // Grow, shrink to nothing, grow again: splits, merges, borrowing, root
    // changes and the free list all take part.
    const int phases[] = {1200, 0, 900, 300};
    int steps = 0;
    for (int target : phases) {
        while (int(model.size()) != target) {
            const bool grow = int(model.size()) < target;
            const uint32_t pick = rng() % 10;
            if (pick < 6 || model.empty())
                grow ? Add() : Delete();
            else if (pick < 7)
                grow ? Delete() : Add();
            else if (pick < 8)
                Replace();
            else if (pick < 9)
                FindAndSeek();
            else
                Locate();
            if (HasFatalFailure())
                return;
            if (++steps % 700 == 0) {
                ExpectSameAsModel();
                Reopen();
                if (HasFatalFailure())
                    return;
            }
        }
        ExpectSameAsModel();
        if (HasFatalFailure())
            return;
        if (target == 0) {
            IndexCheckReport report;
            ASSERT_TRUE(fx.index.CheckStructure(true, &report));
            EXPECT_EQ(report.levels, 1);
            EXPECT_EQ(report.treeBlocks, 1);
        }
    }
    EXPECT_TRUE(fx.errors.empty());
    ASSERT_EQ(fx.index.Close(), 1);
}

INSTANTIATE_TEST_SUITE_P(Orders, IndexModelTest,
                         ::testing::Values(Param{false, kIndexCacheBlocks, 1}, Param{true, kIndexCacheBlocks, 2},
                                           Param{false, 4, 3}, Param{true, 64, 4},
                                           Param{false, kIndexCacheBlocks, 5, true}));

}  // namespace
