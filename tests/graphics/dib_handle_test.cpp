#include <gtest/gtest.h>

#include "graphics/dib_bmp.h"
#include "graphics/dib_handle.h"
#include "graphics/dib_test_support.h"

namespace {

// A packed block laid out by hand: header, table of `colours` entries,
// rows as given.
std::vector<uint8_t> RawBlock(int32_t width, int32_t height, uint16_t bits, uint32_t colours,
                              const std::vector<uint8_t>& tableAndRows, uint32_t compression = 0)
{
    std::vector<uint8_t> b(kDibHeaderSize + tableAndRows.size());
    std::copy(tableAndRows.begin(), tableAndRows.end(), b.begin() + kDibHeaderSize);
    PutU32LE(&b[kBiSize], 40);
    PutI32LE(&b[kBiWidth], width);
    PutI32LE(&b[kBiHeight], height);
    PutU16LE(&b[kBiPlanes], 1);
    PutU16LE(&b[kBiBitCount], bits);
    PutU32LE(&b[kBiCompression], compression);
    PutU32LE(&b[kBiClrUsed], colours);
    return b;
}

GlobalBlock ToGlobal(const std::vector<uint8_t>& bytes)
{
    GlobalBlock g = GlobalBlockAlloc(kGlobalMoveable, bytes.size());
    std::memcpy(GlobalBlockLock(g), bytes.data(), bytes.size());
    GlobalBlockUnlock(g);
    return g;
}

TEST(DibHandle, CreateLaysOutHeaderTableAndRows)
{
    DibHandleOwner h;
    ASSERT_EQ(DibHandleCreate(h.get(), 9, 3, 1), 0);
    const std::vector<uint8_t> b = Block(h.get());
    ASSERT_EQ(b.size(), 40u + 2 * 4 + 4 * 3);
    EXPECT_EQ(GetU32LE(&b[kBiSize]), 40u);
    EXPECT_EQ(GetU16LE(&b[kBiPlanes]), 1);
    EXPECT_EQ(GetU32LE(&b[kBiClrUsed]), 2u);
    EXPECT_EQ(GetU32LE(&b[kBiSizeImage]), 12u);
    EXPECT_EQ(std::vector<uint8_t>(b.begin() + 40, b.end()), std::vector<uint8_t>(20, 0));  // black table, pixels 0
    EXPECT_EQ(DibHandleBlockSlot(h.get())->bits, DibHandleBlockSlot(h.get())->block + 48);
    EXPECT_EQ(DibHandleStride(h.get()), 4);
    EXPECT_EQ(DibHandleColourCount(h.get()), 2);

    ASSERT_EQ(DibHandleCreate(h.get(), 5, 2, 24), 0);
    EXPECT_EQ(Block(h.get()).size(), 40u + 16 * 2);
    EXPECT_EQ(DibHandlePalette(h.get()), nullptr);
    EXPECT_EQ(DibHandleColourCount(h.get()), 0);
    ASSERT_EQ(DibHandleCreate(h.get(), 3, 1, 8), 0);
    EXPECT_EQ(Block(h.get()).size(), 40u + 1024 + 4);

    for (auto [w, ht, bits] : {std::tuple{0, 1, 8}, {1, 0, 8}, {1, -1, 8}, {1, 1, 16}, {1, 1, 32}, {1, 1, 2},
                               {100000, 100000, 24}}) {
        EXPECT_EQ(DibHandleCreate(h.get(), w, ht, bits), 1);
        EXPECT_TRUE(DibHandleIsEmpty(h.get()));
    }
}

TEST(DibHandle, EmptinessAndOwnership)
{
    EXPECT_TRUE(DibHandleIsEmpty(nullptr));
    HandleOwner wrongSize(HandleNew(4));
    EXPECT_TRUE(DibHandleIsEmpty(wrongSize.get()));
    EXPECT_EQ(DibHandleCreate(wrongSize.get(), 1, 1, 24), 1);

    DibHandleOwner a(MakeDib(4, 3, 24, Pattern)), b, c;
    EXPECT_FALSE(DibHandleIsEmpty(a.get()));
    EXPECT_EQ(DibHandleCopy(nullptr, a.get()), 1);
    EXPECT_EQ(DibHandleCopy(b.get(), c.get()), 1);
    ASSERT_EQ(DibHandleCopy(b.get(), a.get()), 0);
    EXPECT_NE(DibHandleBlockSlot(b.get())->block, DibHandleBlockSlot(a.get())->block);
    EXPECT_EQ(Block(b.get()), Block(a.get()));

    // Moving leaves exactly one owner of the block, whatever dest held.
    ASSERT_EQ(DibHandleCreate(c.get(), 2, 2, 8), 0);
    DibHandle source = a.get();
    const uint8_t* block = DibHandleBlockSlot(source)->block;
    DibHandleMove(c.get(), &source, false);
    EXPECT_EQ(DibHandleBlockSlot(c.get())->block, block);
    EXPECT_TRUE(DibHandleIsEmpty(a.get()));
    DibHandle moved = c.release();
    DibHandleMove(b.get(), &moved, true);
    EXPECT_EQ(moved, nullptr);
    EXPECT_EQ(DibHandleBlockSlot(b.get())->block, block);

    DibHandleClear(b.address());
    EXPECT_TRUE(DibHandleIsEmpty(b.get()));
    EXPECT_NE(b.get(), nullptr);
    DibHandle freed = b.release();
    EXPECT_EQ(DibHandleFree(&freed), 0);
    EXPECT_EQ(freed, nullptr);
    EXPECT_EQ(DibHandleFree(&freed), 0);
}

TEST(DibHandle, RunningOutOfMemoryLeavesTheTargetCleared)
{
    DibHandleOwner src(MakeDib(3, 3, 24, Pattern)), dest(MakeDib(2, 2, 24, Pattern));
    MemInjectAllocationFailure(0);
    EXPECT_EQ(DibHandleCreate(dest.get(), 10, 10, 24), 1);
    EXPECT_TRUE(DibHandleIsEmpty(dest.get()));
    EXPECT_EQ(DibHandleCopy(dest.get(), src.get()), 1);
    EXPECT_TRUE(DibHandleIsEmpty(dest.get()));
    GlobalBlock g = nullptr;
    EXPECT_EQ(DibHandleToGlobal(src.get(), &g), 1);
    EXPECT_EQ(g, nullptr);
    MemInjectAllocationFailure(-1);
}

TEST(DibHandle, GlobalAndPackedFormsCopyAndWidenTheTable)
{
    DibHandleOwner h(MakeDib(5, 4, 8, [](int32_t x, int32_t y) { return (x + y) % 2 ? kWhite : 0x0000FFu; }));
    ASSERT_EQ(GetU32LE(DibHandleBlockSlot(h.get())->block + kBiClrUsed), 2u);

    GlobalBlock g = ToGlobal({1, 2, 3});
    ASSERT_EQ(DibHandleToGlobal(h.get(), &g), 0);  // the old block is freed first
    EXPECT_EQ(GlobalBlockSize(g), Block(h.get()).size());
    EXPECT_EQ(GlobalBlockLockCount(g), 0u);

    // Copied in, the table is the full 256 entries and the pixels stay.
    DibHandleOwner back;
    ASSERT_EQ(DibHandleFromGlobal(back.get(), g), 0);
    EXPECT_EQ(GetU32LE(DibHandleBlockSlot(back.get())->block + kBiClrUsed), 256u);
    EXPECT_EQ(Block(back.get()).size(), 40u + 1024 + 8 * 4);
    EXPECT_EQ(Pixels(back.get()), Pixels(h.get()));
    GlobalBlockFree(g);

    HandleOwner packed(HandleNew(0));
    ASSERT_EQ(DibHandleToPacked(back.get(), packed.get()), 0);
    EXPECT_EQ(HandleGetSize(packed.get()), Block(back.get()).size());
    DibHandleOwner again;
    ASSERT_EQ(DibHandleFromPacked(packed.get(), again.get()), 0);
    EXPECT_EQ(Block(again.get()), Block(back.get()));
    EXPECT_EQ(DibHandleToPacked(nullptr, packed.get()), 1);
}

TEST(DibHandle, CopyInConvertsTopDownAndWidePixels)
{
    // Two rows of two pixels, first row first: red, green / blue, white.
    const std::vector<uint8_t> rows24 = {0, 0, 255, 0, 255, 0, 0, 0, 255, 0, 0, 255, 255, 255, 0, 0};
    GlobalBlockOwner topDown(ToGlobal(RawBlock(2, -2, 24, 0, rows24)));
    DibHandleOwner h;
    ASSERT_EQ(DibHandleFromGlobal(h.get(), topDown.get()), 0);
    EXPECT_EQ(DibHandleHeight(h.get()), 2);
    EXPECT_EQ(Pixels(h.get()), (std::vector<ColorRef>{0x0000FF, 0x00FF00, 0xFF0000, 0xFFFFFF}));

    // 32 bits (blue, green, red, unused) and 16 bits 5-6-5 with masks.
    std::vector<uint8_t> rows32 = {255, 0, 0, 9, 0, 255, 0, 9};
    GlobalBlockOwner wide(ToGlobal(RawBlock(2, 1, 32, 0, rows32)));
    ASSERT_EQ(DibHandleFromGlobal(h.get(), wide.get()), 0);
    EXPECT_EQ(DibHandleBitCount(h.get()), 24);
    EXPECT_EQ(Pixels(h.get()), (std::vector<ColorRef>{0xFF0000, 0x00FF00}));
    std::vector<uint8_t> masks(12);
    PutU32LE(&masks[0], 0xF800);
    PutU32LE(&masks[4], 0x07E0);
    PutU32LE(&masks[8], 0x001F);
    masks.insert(masks.end(), {0x00, 0xF8, 0x1F, 0x00});  // red, blue
    GlobalBlockOwner fields(ToGlobal(RawBlock(2, 1, 16, 0, masks, 3)));
    ASSERT_EQ(DibHandleFromGlobal(h.get(), fields.get()), 0);
    EXPECT_EQ(Pixels(h.get()), (std::vector<ColorRef>{0x0000FF, 0xFF0000}));

    GlobalBlockOwner junk(ToGlobal(RawBlock(2, 1, 24, 0, {1, 2, 3})));
    EXPECT_EQ(DibHandleFromGlobal(h.get(), junk.get()), 1);
    EXPECT_TRUE(DibHandleIsEmpty(h.get()));
    EXPECT_EQ(DibHandleFromGlobal(h.get(), nullptr), 1);
}

TEST(DibHandle, BitmapFilesRoundTripAndTakeOtherWritersConventions)
{
    DibHandleOwner h(MakeDib(7, 3, 4, [](int32_t x, int32_t y) { return x > y ? 0x00FF00u : 0x102030u; }));
    std::vector<uint8_t> file;
    ASSERT_EQ(DibHandleToBmpBytes(h.get(), &file), 0);
    EXPECT_EQ(GetU16LE(&file[0]), kBmpMagic);
    EXPECT_EQ(GetU32LE(&file[kBfSize]), file.size());
    EXPECT_EQ(GetU32LE(&file[kBfOffBits]), 14u + 40 + 4 * 2);
    DibHandleOwner back;
    ASSERT_EQ(DibHandleFromBmpBytes(back.get(), file.data(), file.size(), false), 0);
    EXPECT_EQ(Block(back.get()), Block(h.get()));

    // A table size of 0 means a full table in a file; rows may lie behind a
    // gap; a longer info header keeps its fields in the same places.
    std::vector<uint8_t> other(14 + 124 + 16 * 4 + 8 + 4, 0);
    PutU16LE(&other[0], kBmpMagic);
    PutU32LE(&other[kBfOffBits], 14 + 124 + 64 + 8);
    PutU32LE(&other[14 + kBiSize], 124);
    PutI32LE(&other[14 + kBiWidth], 3);
    PutI32LE(&other[14 + kBiHeight], 1);
    PutU16LE(&other[14 + kBiBitCount], 4);
    other[14 + 124 + 4 * 5 + 2] = 0xFF;  // entry 5 red
    other[14 + 124 + 64 + 8] = 0x50;
    ASSERT_EQ(DibHandleFromBmpBytes(back.get(), other.data(), other.size(), false), 0);
    EXPECT_EQ(Pixels(back.get()), (std::vector<ColorRef>{0x0000FF, 0, 0}));

    PutU32LE(&other[kBfOffBits], uint32_t(other.size()));  // rows cut off
    EXPECT_EQ(DibHandleFromBmpBytes(back.get(), other.data(), other.size(), false), 1);
    EXPECT_TRUE(DibHandleIsEmpty(back.get()));
}

}  // namespace
