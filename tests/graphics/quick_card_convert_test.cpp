#include <gtest/gtest.h>

#include <optional>

#include "graphics/quick_card_test_support.h"

namespace {

struct OldItem {
    int32_t field;
    int32_t gap;
    int32_t spaceAbove;
    uint16_t words[7];  // new line, font size, kept, style, kept, kept, alignment
    std::string text;
    uint32_t size = 0;  // 0: 44 + the text's length
};

std::vector<uint8_t> OldBlock(const std::vector<OldItem>& items, std::optional<int32_t> count = {})
{
    std::vector<uint8_t> b(24, 0);
    PutU32LE(b.data(), 3);  // right
    b[4] = 1;
    b[5] = 0;
    PutI32LE(b.data() + 8, count.value_or(int32_t(items.size())));
    PutI32LE(b.data() + 12, 0);
    for (const OldItem& it : items) {
        std::vector<uint8_t> item(it.size ? it.size : 44 + it.text.size(), 0);
        PutU32LE(item.data(), uint32_t(item.size()));
        PutI32LE(item.data() + 4, it.field);
        PutI32LE(item.data() + 8, it.gap);
        PutI32LE(item.data() + 12, it.spaceAbove);
        for (int w = 0; w < 7; ++w)
            PutU16LE(item.data() + 16 + 2 * w, it.words[w]);
        if (item.size() > 40)
            std::memcpy(item.data() + 40, it.text.data(), std::min(it.text.size(), item.size() - 40));
        b.insert(b.end(), item.begin(), item.end());
    }
    return b;
}

Handle Load(const std::vector<uint8_t>& bytes)
{
    Handle h = nullptr;
    HandleFromBytes(bytes.data(), &h, uint32_t(bytes.size()));
    return h;
}

TEST(QuickCardConvert, OlderBlocksBecomeCurrentBlocks)
{
    const std::string long65(65, 'q');
    HandleOwner block(Load(OldBlock({
        {2, 5, 3, {0, 12, 7, 1, 8, 9, 2}, "Dear |"},
        {8, 0, 0, {1, 0, 0, 0, 0, 0, 0}, ""},
        {9, 4, 0, {0, 0, 0, 0, 0, 0, 0}, ", |"},  // after the city: its own gap
        {10, -2, 0, {0, 0, 0, 0, 0, 0, 0}, long65, 107},
        {8, 0, 0, {1, 0, 0, 0, 0, 0, 0}, "x"},
        {-1, 0, 0, {1, 0, 0, 0, 0, 0, 0}, "Fixed"},  // after the city, but on a line of its own
    })));
    ASSERT_EQ(QuickCardBlockConvertOld(block.get()), 0);
    ASSERT_EQ(QuickCardBlockIsValid(block.get()), 1);
    const uint8_t* d = HandleData(block.get());
    EXPECT_EQ(GetU32LE(d), 3u);
    EXPECT_EQ(d[4], 1);
    EXPECT_EQ(d[5], 0);
    EXPECT_EQ(BlockCount(block.get()), 6);
    EXPECT_EQ(HandleGetSize(block.get()), 24u + 58 + 52 + 55 + 115 + 53 + 57);

    const uint8_t* first = QuickCardBlockGetItem(block.get(), 0);
    ASSERT_NE(first, nullptr);
    const QuickCardItemFields f = GetQuickCardItem(first);
    EXPECT_EQ(f.size, 58u);
    EXPECT_EQ(f.field, 2);
    EXPECT_EQ(f.gap, 5.0f);
    EXPECT_EQ(f.spaceAbove, 3.0f);
    EXPECT_EQ(f.newLine, 0);
    EXPECT_EQ(f.separator, 1);
    EXPECT_EQ(f.fontSize, 12);
    EXPECT_EQ(GetU16LE(first + 22), 7);
    EXPECT_EQ(f.style, 1);
    EXPECT_EQ(GetU16LE(first + 26), 8);
    EXPECT_EQ(GetU16LE(first + 28), 9);
    EXPECT_EQ(f.align, 2);
    for (int i = 32; i < 48; ++i)
        EXPECT_EQ(first[i], 0) << i;
    EXPECT_EQ(ItemTextAt(block.get(), 0), "Dear |");

    std::vector<uint16_t> separators;
    for (int32_t i = 0; i < 6; ++i)
        separators.push_back(GetU16LE(QuickCardBlockGetItem(block.get(), i) + kQcItemSeparator));
    EXPECT_EQ(separators, (std::vector<uint16_t>{1, 1, 0, 1, 1, 1}));
    EXPECT_EQ(GetF32LE(QuickCardBlockGetItem(block.get(), 3) + kQcItemGap), -2.0f);
    EXPECT_EQ(ItemTextAt(block.get(), 3), std::string(63, 'q'));
    EXPECT_EQ(ItemTextAt(block.get(), 5), "Fixed");

    // A current block is left as it is.
    const std::vector<uint8_t> converted = Bytes(block.get());
    EXPECT_EQ(QuickCardBlockConvertOld(block.get()), 0);
    EXPECT_EQ(Bytes(block.get()), converted);
}

TEST(QuickCardConvert, DamagedOlderBlocksAreRefusedAndKept)
{
    const std::vector<std::vector<uint8_t>> damaged = {
        OldBlock({{1, 0, 0, {}, "ab", 30}}),                      // item too small to walk past
        OldBlock({{1, 0, 0, {}, "ab", 200}}),                     // item too large
        OldBlock({{1, 0, 0, {}, "ab"}, {1, 0, 0, {}, "c"}}, 3),   // count beyond the items
        OldBlock({}, 0x7FFFFFFF),                                 // count beyond any block
        OldBlock({}, -2),                                         // negative count
        std::vector<uint8_t>(20, 0),                              // shorter than a header
    };
    for (size_t i = 0; i < damaged.size(); ++i) {
        HandleOwner block(Load(damaged[i]));
        EXPECT_EQ(QuickCardBlockConvertOld(block.get()), 1) << i;
        EXPECT_EQ(Bytes(block.get()), damaged[i]) << i;
    }
    std::vector<uint8_t> later = OldBlock({{1, 0, 0, {}, "ab"}});
    PutI32LE(later.data() + 12, 7);
    HandleOwner block(Load(later));
    EXPECT_EQ(QuickCardBlockConvertOld(block.get()), 1);
    EXPECT_EQ(QuickCardBlockConvertOld(nullptr), 1);

    // An item whose text fills it without a terminator is read to its end.
    HandleOwner unterminated(Load(OldBlock({{-1, 0, 0, {}, "abcdefgh", 44}})));
    ASSERT_EQ(QuickCardBlockConvertOld(unterminated.get()), 0);
    EXPECT_EQ(ItemTextAt(unterminated.get(), 0), "abcd");

    HandleOwner fine(Load(OldBlock({{1, 0, 0, {}, "ab"}})));
    const std::vector<uint8_t> before = Bytes(fine.get());
    MemInjectAllocationFailure(0);
    EXPECT_EQ(QuickCardBlockConvertOld(fine.get()), 1);
    MemInjectAllocationFailure(-1);
    EXPECT_EQ(Bytes(fine.get()), before);
}

}  // namespace
