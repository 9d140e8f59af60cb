#include <gtest/gtest.h>

#include <cstring>
#include <optional>

#include "graphics/quick_card_test_support.h"

namespace {

using V = std::vector<std::string>;

int32_t Count(Handle block) { return GetI32LE(HandleData(block) + kQcHeaderCount); }

V Texts(Handle block)
{
    V out;
    for (int32_t i = 0; i < Count(block); ++i) {
        const uint8_t* item = QuickCardBlockGetItem(block, i);
        out.push_back(item ? reinterpret_cast<const char*>(item + kQcItemText) : "<none>");
    }
    return out;
}

Handle Load(const std::vector<uint8_t>& bytes)
{
    Handle h = nullptr;
    HandleFromBytes(bytes.data(), &h, uint32_t(bytes.size()));
    return h;
}

TEST(QuickCardBlock, EveryPieceIsItsTextPlus52BytesSoAnEmptyOneCanBeInserted)
{
    HandleOwner block(QuickCardBlockNew());
    EXPECT_EQ(Bytes(block.get()), (std::vector<uint8_t>{1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0,
                                                        0, 0, 0, 0}));
    HandleOwner item(QuickCardItemNew());
    EXPECT_EQ(QuickCardBlockAppendItem(block.get(), item.get()), 0);
    ASSERT_EQ(QuickCardItemSetText(item.get(), "", 0), 0);
    EXPECT_EQ(GetU32LE(HandleData(item.get())), 52u);
    EXPECT_EQ(QuickCardBlockAppendItem(block.get(), item.get()), 0);

    const std::string long70(70, 'x');
    ASSERT_EQ(QuickCardItemSetText(item.get(), long70.data(), 70), 0);
    EXPECT_EQ(GetU32LE(HandleData(item.get())), 115u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(HandleData(item.get()) + 48)), std::string(63, 'x'));
    // Shrinking clears what the longer text left; a zero byte ends the text.
    ASSERT_EQ(QuickCardItemSetText(item.get(), "ab\0cd", 5), 0);
    EXPECT_EQ(GetU32LE(HandleData(item.get())), 54u);
    EXPECT_EQ(HandleData(item.get())[50], 0);
    EXPECT_EQ(QuickCardBlockAppendItem(block.get(), item.get()), 0);
    EXPECT_EQ(Texts(block.get()), (V{"", "", "ab"}));
    EXPECT_EQ(HandleGetSize(block.get()), 24u + 52 + 52 + 54);

    // Items an older version sized one short (text + 51) read as they are.
    PutU32LE(QuickCardBlockGetItem(block.get(), 2), 53);
    HandleResize(block.get(), int32_t(HandleGetSize(block.get()) - 1));
    EXPECT_EQ(QuickCardBlockMoveItem(block.get(), 2, 0), 0);
    EXPECT_EQ(Texts(block.get()), (V{"ab", "", ""}));
}

TEST(QuickCardBlock, InsertDeleteReplaceAndMove)
{
    HandleOwner block(MakeBlock({{.text = "A"}}));
    HandleOwner b(MakeItem({.text = "Bb"})), c(MakeItem({.text = "Ccc"})), d(MakeItem({.text = "D"}));
    EXPECT_EQ(QuickCardBlockInsertItem(block.get(), b.get(), -5), 0);
    EXPECT_EQ(QuickCardBlockInsertItem(block.get(), c.get(), 1), 0);
    EXPECT_EQ(QuickCardBlockInsertItem(block.get(), d.get(), 3), 0);
    EXPECT_EQ(Texts(block.get()), (V{"Bb", "Ccc", "A", "D"}));
    EXPECT_EQ(QuickCardBlockGetItem(block.get(), 4), HandleData(block.get()) + HandleGetSize(block.get()));

    EXPECT_EQ(QuickCardBlockMoveItem(block.get(), 0, 3), 0);
    EXPECT_EQ(Texts(block.get()), (V{"Ccc", "A", "D", "Bb"}));
    EXPECT_EQ(QuickCardBlockMoveItem(block.get(), 3, 1), 0);
    EXPECT_EQ(Texts(block.get()), (V{"Ccc", "Bb", "A", "D"}));
    EXPECT_EQ(QuickCardBlockMoveItem(block.get(), 2, 4), 1);

    HandleOwner longer(MakeItem({.text = "a longer piece"})), empty(MakeItem({}));
    EXPECT_EQ(QuickCardBlockReplaceItem(block.get(), longer.get(), 1), 0);
    EXPECT_EQ(QuickCardBlockReplaceItem(block.get(), empty.get(), 0), 0);
    EXPECT_EQ(Texts(block.get()), (V{"", "a longer piece", "A", "D"}));
    EXPECT_EQ(QuickCardBlockReplaceItem(block.get(), empty.get(), 4), 1);

    HandleOwner copy(HandleNew(0));
    EXPECT_EQ(QuickCardBlockCopyItem(block.get(), copy.get(), 1), 0);
    EXPECT_EQ(Bytes(copy.get()), Bytes(longer.get()));

    EXPECT_EQ(QuickCardBlockDeleteItem(block.get(), -3), 0);
    EXPECT_EQ(QuickCardBlockDeleteItem(block.get(), 99), 0);
    EXPECT_EQ(Texts(block.get()), (V{"a longer piece", "A"}));
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(QuickCardBlockDeleteItem(block.get(), 0), 0);
    EXPECT_EQ(HandleGetSize(block.get()), 24u);
    EXPECT_EQ(Count(block.get()), 0);

    // Styles of every item at once; the default alignment in the header.
    HandleOwner styled(MakeBlock({{.style = 1}, {.style = 6}}));
    auto style = [&](int32_t n) { return GetU16LE(QuickCardBlockGetItem(styled.get(), n) + kQcItemStyle); };
    QuickCardBlockSetItemFlags(styled.get(), 4, 1);
    QuickCardBlockSetItemFlags(styled.get(), 2, 0);
    EXPECT_EQ(style(0), 5);
    EXPECT_EQ(style(1), 4);
    QuickCardBlockSetItemFlags(styled.get(), 0, 1);
    EXPECT_EQ(style(0) | style(1), 0);
    EXPECT_EQ(QuickCardBlockSetAlign(styled.get(), 3), 0);
    EXPECT_EQ(GetU32LE(HandleData(styled.get())), 3u);
}

TEST(QuickCardBlock, AFullBlockRefusesTheHundredAndFirstItem)
{
    HandleOwner block(QuickCardBlockNew());
    HandleOwner item(MakeItem({.text = "x"})), other(MakeItem({.text = "other"}));
    for (int i = 0; i < 100; ++i)
        ASSERT_EQ(QuickCardBlockAppendItem(block.get(), item.get()), 0);
    const std::vector<uint8_t> full = Bytes(block.get());
    EXPECT_EQ(QuickCardBlockInsertItem(block.get(), item.get(), 0), 1);
    EXPECT_EQ(Bytes(block.get()), full);
    EXPECT_EQ(QuickCardBlockReplaceItem(block.get(), other.get(), 99), 0);
    EXPECT_EQ(QuickCardBlockMoveItem(block.get(), 99, 0), 0);
    EXPECT_EQ(Texts(block.get())[0], "other");
}

TEST(QuickCardBlock, DamagedBlocksAreRefusedAndLeftAlone)
{
    HandleOwner item(MakeItem({.text = "new"}));
    // Item sizes out of 52..115, counts beyond the items, a later version,
    // and a last item cut short.
    std::vector<Handle> blocks;
    for (auto [offset, value] : std::vector<std::pair<size_t, uint32_t>>{
             {79, 0}, {79, 51}, {79, 116}, {79, 0xFFFFFFFF}, {8, 3}, {8, 0x7FFFFFFF}, {12, 2}, {0, 1}}) {
        blocks.push_back(MakeBlock({{.text = "one"}, {.text = "two"}}));
        PutU32LE(HandleData(blocks.back()) + offset, value);
    }
    HandleResize(blocks.back(), int32_t(HandleGetSize(blocks.back()) - 1));
    for (size_t i = 0; i < blocks.size(); ++i) {
        HandleOwner block(blocks[i]);
        const std::vector<uint8_t> before = Bytes(block.get());
        EXPECT_EQ(QuickCardBlockGetItem(block.get(), 2), nullptr) << i;
        EXPECT_EQ(QuickCardBlockInsertItem(block.get(), item.get(), 5), 1) << i;
        EXPECT_EQ(QuickCardBlockDeleteItem(block.get(), 0), 1) << i;
        EXPECT_EQ(QuickCardBlockReplaceItem(block.get(), item.get(), 1), 1) << i;
        EXPECT_EQ(QuickCardBlockMoveItem(block.get(), 0, 1), 1) << i;
        EXPECT_EQ(QuickCardBlockSetItemFlags(block.get(), 1, 1), 1) << i;
        EXPECT_EQ(Bytes(block.get()), before) << i;
    }
    HandleOwner block(MakeBlock({{.text = "one"}}));
    for (uint32_t badSize : {40u, 200u}) {
        PutU32LE(HandleData(item.get()), badSize);
        EXPECT_EQ(QuickCardBlockAppendItem(block.get(), item.get()), 1);
    }

    HandleOwner bigger(MakeItem({.text = "a longer piece of text"}));
    const std::vector<uint8_t> before = Bytes(block.get());
    MemInjectAllocationFailure(0);
    EXPECT_EQ(QuickCardBlockInsertItem(block.get(), bigger.get(), 0), 1);
    EXPECT_EQ(QuickCardBlockReplaceItem(block.get(), bigger.get(), 0), 1);
    MemInjectAllocationFailure(-1);
    EXPECT_EQ(Bytes(block.get()), before);
}

struct OldItem {
    int32_t field;
    uint16_t newLine;
    std::string text;
    uint32_t size = 0;  // 0: 44 + the text's length
};

std::vector<uint8_t> OldBlock(const std::vector<OldItem>& items, std::optional<int32_t> count = {})
{
    std::vector<uint8_t> b = {3, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    PutI32LE(b.data() + 8, count.value_or(int32_t(items.size())));
    for (const OldItem& it : items) {
        std::vector<uint8_t> item(it.size ? it.size : 44 + it.text.size(), 0);
        PutU32LE(item.data(), uint32_t(item.size()));
        PutI32LE(item.data() + 4, it.field);
        PutI32LE(item.data() + 8, 5);
        PutI32LE(item.data() + 12, -3);
        PutU16LE(item.data() + 16, it.newLine);
        for (int w = 1; w < 7; ++w)
            PutU16LE(item.data() + 16 + 2 * w, uint16_t(10 + w));
        if (item.size() > 40)
            std::memcpy(item.data() + 40, it.text.data(), std::min(it.text.size(), item.size() - 40));
        b.insert(b.end(), item.begin(), item.end());
    }
    return b;
}

TEST(QuickCardBlock, OlderBlocksConvertWithSpacesExceptAfterTheCityAndDamagedOnesAreKept)
{
    HandleOwner block(Load(OldBlock({
        {2, 0, "Dear |"},
        {8, 1, ""},
        {9, 0, ", |"},
        {10, 0, std::string(65, 'q'), 107},
        {8, 1, "x"},
        {-1, 1, "Fixed"},
    })));
    ASSERT_EQ(QuickCardBlockConvertOld(block.get()), 0);
    ASSERT_EQ(QuickCardBlockIsValid(block.get()), 1);
    const std::vector<uint8_t> converted = Bytes(block.get());
    EXPECT_EQ(std::vector<uint8_t>(converted.begin(), converted.begin() + 16),
              (std::vector<uint8_t>{3, 0, 0, 0, 1, 0, 0, 0, 6, 0, 0, 0, 1, 0, 0, 0}));
    EXPECT_EQ(converted.size(), 24u + 58 + 52 + 55 + 115 + 53 + 57);
    EXPECT_EQ(Texts(block.get()), (V{"Dear |", "", ", |", std::string(63, 'q'), "x", "Fixed"}));
    std::vector<uint16_t> separators;
    for (int32_t i = 0; i < 6; ++i)
        separators.push_back(GetU16LE(QuickCardBlockGetItem(block.get(), i) + kQcItemSeparator));
    EXPECT_EQ(separators, (std::vector<uint16_t>{1, 1, 0, 1, 1, 1}));
    const uint8_t* city = QuickCardBlockGetItem(block.get(), 1);
    EXPECT_EQ(GetI32LE(city + kQcItemField), 8);
    EXPECT_EQ(GetF32LE(city + kQcItemGap), 5.0f);
    EXPECT_EQ(GetF32LE(city + kQcItemSpaceAbove), -3.0f);
    EXPECT_EQ(GetU16LE(city + kQcItemNewLine), 1);
    for (int w = 1; w < 7; ++w)
        EXPECT_EQ(GetU16LE(city + 18 + 2 * w), 10 + w);
    EXPECT_EQ(QuickCardBlockConvertOld(block.get()), 0);
    EXPECT_EQ(Bytes(block.get()), converted);

    // A text that fills its item without a terminator ends with the item.
    HandleOwner unterminated(Load(OldBlock({{-1, 0, "abcdefgh", 44}})));
    ASSERT_EQ(QuickCardBlockConvertOld(unterminated.get()), 0);
    EXPECT_EQ(Texts(unterminated.get()), (V{"abcd"}));

    std::vector<uint8_t> laterVersion = OldBlock({{1, 0, "ab"}});
    PutI32LE(laterVersion.data() + 12, 7);
    const std::vector<std::vector<uint8_t>> damaged = {
        OldBlock({{1, 0, "ab", 30}}), OldBlock({{1, 0, "ab", 200}}), OldBlock({{1, 0, "ab"}}, 2),
        OldBlock({}, 0x7FFFFFFF),     OldBlock({}, -2),               std::vector<uint8_t>(20, 0),
        laterVersion,
    };
    for (size_t i = 0; i < damaged.size(); ++i) {
        HandleOwner block(Load(damaged[i]));
        EXPECT_EQ(QuickCardBlockConvertOld(block.get()), 1) << i;
        EXPECT_EQ(Bytes(block.get()), damaged[i]) << i;
    }
}

}  // namespace
