#include <gtest/gtest.h>

#include "graphics/quick_card_test_support.h"

namespace {

std::vector<std::string> Texts(Handle block)
{
    std::vector<std::string> out;
    for (int32_t i = 0; i < BlockCount(block); ++i)
        out.push_back(ItemTextAt(block, i));
    return out;
}

using V = std::vector<std::string>;

TEST(QuickCardBlock, NewBlockIsAnEmptyCurrentBlock)
{
    HandleOwner block(QuickCardBlockNew());
    ASSERT_TRUE(block);
    const std::vector<uint8_t> expected = {1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(Bytes(block.get()), expected);
    EXPECT_EQ(QuickCardBlockIsValid(block.get()), 1);
    EXPECT_EQ(QuickCardBlockIndexValid(block.get(), 0), 0);
    EXPECT_EQ(QuickCardBlockGetItem(block.get(), 0), HandleData(block.get()) + kQuickCardHeaderSize);
    EXPECT_EQ(QuickCardBlockGetItem(block.get(), 1), nullptr);

    Handle variable = block.release();
    EXPECT_EQ(QuickCardBlockFree(&variable), 0);
    EXPECT_EQ(variable, nullptr);
    EXPECT_EQ(QuickCardBlockFree(&variable), 1);
}

TEST(QuickCardBlock, ItemsAreTheirTextPlus52BytesSoAnEmptyPieceCanBeInserted)
{
    HandleOwner item(QuickCardItemNew());
    EXPECT_EQ(HandleGetSize(item.get()), 52u);
    EXPECT_EQ(GetU32LE(HandleData(item.get())), 52u);

    HandleOwner block(QuickCardBlockNew());
    ASSERT_EQ(QuickCardItemSetText(item.get(), "", 0), 0);
    EXPECT_EQ(GetU32LE(HandleData(item.get())), 52u);
    EXPECT_EQ(QuickCardBlockAppendItem(block.get(), item.get()), 0);
    EXPECT_EQ(BlockCount(block.get()), 1);

    ASSERT_EQ(QuickCardItemSetText(item.get(), "Tel. |", 6), 0);
    EXPECT_EQ(HandleGetSize(item.get()), 58u);
    EXPECT_EQ(GetU32LE(HandleData(item.get())), 58u);
    EXPECT_STREQ(reinterpret_cast<const char*>(HandleData(item.get()) + 48), "Tel. |");

    const std::string long70(70, 'x');
    ASSERT_EQ(QuickCardItemSetText(item.get(), long70.data(), 70), 0);
    EXPECT_EQ(HandleGetSize(item.get()), 115u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(HandleData(item.get()) + 48)), std::string(63, 'x'));

    // Shrinking clears what the longer text left behind; a zero byte ends it.
    ASSERT_EQ(QuickCardItemSetText(item.get(), "ab\0cd", 5), 0);
    EXPECT_EQ(HandleGetSize(item.get()), 54u);
    EXPECT_EQ(HandleData(item.get())[50], 0);
    EXPECT_EQ(QuickCardBlockAppendItem(block.get(), item.get()), 0);
    EXPECT_EQ(HandleGetSize(block.get()), 24u + 52 + 54);
}

TEST(QuickCardBlock, InsertDeleteReplaceAndMoveKeepTheOrder)
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
    const std::vector<uint8_t> before = Bytes(block.get());
    EXPECT_EQ(QuickCardBlockMoveItem(block.get(), 2, 2), 0);
    EXPECT_EQ(QuickCardBlockMoveItem(block.get(), 2, 4), 1);
    EXPECT_EQ(QuickCardBlockMoveItem(block.get(), -1, 0), 1);
    EXPECT_EQ(Bytes(block.get()), before);

    HandleOwner longer(MakeItem({.text = "a much longer piece"})), shorter(MakeItem({.text = ""}));
    EXPECT_EQ(QuickCardBlockReplaceItem(block.get(), longer.get(), 1), 0);
    EXPECT_EQ(QuickCardBlockReplaceItem(block.get(), shorter.get(), 0), 0);
    EXPECT_EQ(Texts(block.get()), (V{"", "a much longer piece", "A", "D"}));
    EXPECT_EQ(QuickCardBlockReplaceItem(block.get(), shorter.get(), 4), 1);

    HandleOwner copy(HandleNew(0));
    EXPECT_EQ(QuickCardBlockCopyItem(block.get(), copy.get(), 1), 0);
    EXPECT_EQ(HandleGetSize(copy.get()), 52u + 19);
    EXPECT_EQ(std::memcmp(HandleData(copy.get()), QuickCardBlockGetItem(block.get(), 1), 71), 0);
    EXPECT_EQ(QuickCardBlockCopyItem(block.get(), copy.get(), 4), 1);

    // Out-of-range deletes take the first or the last item.
    EXPECT_EQ(QuickCardBlockDeleteItem(block.get(), -3), 0);
    EXPECT_EQ(QuickCardBlockDeleteItem(block.get(), 99), 0);
    EXPECT_EQ(Texts(block.get()), (V{"a much longer piece", "A"}));
    EXPECT_EQ(QuickCardBlockDeleteItem(block.get(), 0), 0);
    EXPECT_EQ(QuickCardBlockDeleteItem(block.get(), 0), 0);
    EXPECT_EQ(BlockCount(block.get()), 0);
    EXPECT_EQ(HandleGetSize(block.get()), 24u);
    EXPECT_EQ(QuickCardBlockDeleteItem(block.get(), 0), 0);
    EXPECT_EQ(HandleGetSize(block.get()), 24u);
}

TEST(QuickCardBlock, AHundredItemsTakeNoMoreAndSayNo)
{
    HandleOwner block(QuickCardBlockNew());
    HandleOwner item(MakeItem({.text = "x"}));
    for (int i = 0; i < 100; ++i)
        ASSERT_EQ(QuickCardBlockAppendItem(block.get(), item.get()), 0);
    const std::vector<uint8_t> full = Bytes(block.get());
    EXPECT_EQ(QuickCardBlockAppendItem(block.get(), item.get()), 1);
    EXPECT_EQ(QuickCardBlockInsertItem(block.get(), item.get(), 0), 1);
    EXPECT_EQ(Bytes(block.get()), full);
    // Replacing and moving inside a full block still work.
    HandleOwner other(MakeItem({.text = "other"}));
    EXPECT_EQ(QuickCardBlockReplaceItem(block.get(), other.get(), 99), 0);
    EXPECT_EQ(QuickCardBlockMoveItem(block.get(), 99, 0), 0);
    EXPECT_EQ(ItemTextAt(block.get(), 0), "other");
}

TEST(QuickCardBlock, AlignmentAndStyleFlags)
{
    HandleOwner block(MakeBlock({{.style = 1}, {.style = 6}}));
    EXPECT_EQ(QuickCardBlockSetAlign(block.get(), 3), 0);
    EXPECT_EQ(GetU32LE(HandleData(block.get())), 3u);
    auto styles = [&] {
        return std::vector<uint16_t>{GetU16LE(QuickCardBlockGetItem(block.get(), 0) + kQcItemStyle),
                                     GetU16LE(QuickCardBlockGetItem(block.get(), 1) + kQcItemStyle)};
    };
    EXPECT_EQ(QuickCardBlockSetItemFlags(block.get(), 4, 1), 0);
    EXPECT_EQ(styles(), (std::vector<uint16_t>{5, 6}));
    EXPECT_EQ(QuickCardBlockSetItemFlags(block.get(), 2, 0), 0);
    EXPECT_EQ(styles(), (std::vector<uint16_t>{5, 4}));
    EXPECT_EQ(QuickCardBlockSetItemFlags(block.get(), 0, 1), 0);
    EXPECT_EQ(styles(), (std::vector<uint16_t>{0, 0}));
}

// A block as an older version wrote it: item sizes one short of the text's
// length + 52, so no empty piece could be among them.
TEST(QuickCardBlock, ItemsSizedTheOldWayStillRead)
{
    HandleOwner block(MakeBlock({{.text = "Dear"}, {.text = "Sir"}}));
    std::vector<uint8_t> bytes = {1, 0, 0, 0, 0, 0, 0, 0, 2, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    for (const char* text : {"Dear", "Sir"}) {
        std::vector<uint8_t> item(std::strlen(text) + 51, 0);
        PutU32LE(item.data(), uint32_t(item.size()));
        PutI32LE(item.data() + kQcItemField, -1);
        std::memcpy(item.data() + 48, text, std::strlen(text));
        bytes.insert(bytes.end(), item.begin(), item.end());
    }
    HandleResize(block.get(), int32_t(bytes.size()));
    std::memcpy(HandleData(block.get()), bytes.data(), bytes.size());
    EXPECT_EQ(Texts(block.get()), (V{"Dear", "Sir"}));
    HandleOwner item(MakeItem({.text = "Madam"}));
    EXPECT_EQ(QuickCardBlockReplaceItem(block.get(), item.get(), 1), 0);
    EXPECT_EQ(QuickCardBlockMoveItem(block.get(), 1, 0), 0);
    EXPECT_EQ(Texts(block.get()), (V{"Madam", "Dear"}));
    EXPECT_EQ(HandleGetSize(block.get()), 24u + 57 + 55);
}

// Damage is found before anything is read out of bounds or changed.
TEST(QuickCardBlock, DamagedBlocksAreRefusedAndLeftAlone)
{
    HandleOwner item(MakeItem({.text = "new"}));
    auto refusesEverything = [&](Handle block, const char* what) {
        SCOPED_TRACE(what);
        const std::vector<uint8_t> before = Bytes(block);
        EXPECT_EQ(QuickCardBlockGetItem(block, BlockCount(block)), nullptr);
        EXPECT_EQ(QuickCardBlockDeleteItem(block, 0), 1);
        EXPECT_EQ(QuickCardBlockInsertItem(block, item.get(), 5), 1);
        EXPECT_EQ(QuickCardBlockReplaceItem(block, item.get(), 1), 1);
        EXPECT_EQ(QuickCardBlockMoveItem(block, 0, 1), 1);
        EXPECT_EQ(QuickCardBlockSetItemFlags(block, 1, 1), 1);
        EXPECT_EQ(Bytes(block), before);
    };
    auto damaged = [](size_t offset, uint32_t value) {
        Handle block = MakeBlock({{.text = "one"}, {.text = "two"}});
        PutU32LE(HandleData(block) + offset, value);
        return block;
    };
    const uint32_t second = 24 + 55;
    for (uint32_t badSize : {0u, 51u, 116u, 0xFFFFFFFFu}) {
        HandleOwner block(damaged(second, badSize));
        refusesEverything(block.get(), "item size");
        EXPECT_NE(QuickCardBlockGetItem(block.get(), 0), nullptr);
    }
    {
        HandleOwner block(damaged(kQcHeaderCount, 3));
        refusesEverything(block.get(), "count beyond the items");
        EXPECT_EQ(QuickCardBlockIsValid(block.get()), 1);
    }
    {
        HandleOwner block(damaged(kQcHeaderCount, 0x7FFFFFFF));
        EXPECT_EQ(QuickCardBlockIsValid(block.get()), 0);
        refusesEverything(block.get(), "huge count");
    }
    {
        HandleOwner block(damaged(kQcHeaderVersion, 2));
        EXPECT_EQ(QuickCardBlockIsValid(block.get()), 0);
        refusesEverything(block.get(), "version");
    }
    {
        // The last item runs past the end of the Handle.
        HandleOwner block(MakeBlock({{.text = "one"}, {.text = "two"}}));
        HandleResize(block.get(), int32_t(HandleGetSize(block.get()) - 1));
        refusesEverything(block.get(), "cut short");
    }
    HandleOwner tiny(HandleNewClear(10));
    EXPECT_EQ(QuickCardBlockIsValid(tiny.get()), 0);
    EXPECT_EQ(QuickCardBlockIsValid(nullptr), 0);
    EXPECT_EQ(QuickCardBlockSetAlign(tiny.get(), 2), 1);

    HandleOwner block(MakeBlock({{.text = "one"}}));
    const uint8_t* first = QuickCardBlockGetItem(block.get(), 0);
    EXPECT_EQ(QuickCardBlockItemValid(block.get(), first), 1);
    EXPECT_EQ(QuickCardBlockItemValid(block.get(), first + 55), 0);
    EXPECT_EQ(QuickCardBlockItemValid(block.get(), HandleData(block.get())), 0);
    PutU32LE(HandleData(item.get()), 40);
    EXPECT_EQ(QuickCardBlockAppendItem(block.get(), item.get()), 1);
    PutU32LE(HandleData(item.get()), 200);
    EXPECT_EQ(QuickCardBlockAppendItem(block.get(), item.get()), 1);
}

TEST(QuickCardBlock, RunningOutOfMemoryChangesNothing)
{
    HandleOwner block(MakeBlock({{.text = "one"}, {.text = "two"}}));
    HandleOwner item(MakeItem({.text = "a longer piece of text"}));
    const std::vector<uint8_t> before = Bytes(block.get());
    MemInjectAllocationFailure(0);
    EXPECT_EQ(QuickCardBlockInsertItem(block.get(), item.get(), 0), 1);
    EXPECT_EQ(QuickCardBlockReplaceItem(block.get(), item.get(), 0), 1);
    EXPECT_EQ(QuickCardBlockMoveItem(block.get(), 0, 1), 0);
    EXPECT_EQ(QuickCardBlockMoveItem(block.get(), 1, 0), 0);
    MemInjectAllocationFailure(-1);
    EXPECT_EQ(Bytes(block.get()), before);
}

}  // namespace
