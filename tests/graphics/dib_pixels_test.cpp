#include <gtest/gtest.h>

#include "graphics/dib_derived.h"
#include "graphics/dib_serial.h"
#include "graphics/dib_test_support.h"

namespace {

const uint8_t* Row(DibHandle h, int32_t y)
{
    return DibHandleBlockSlot(h)->bits + size_t(DibHandleHeight(h) - 1 - y) * size_t(DibHandleStride(h));
}

TEST(DibPixels, IndexLayoutAtEachDepth)
{
    DibHandleOwner h;
    ASSERT_EQ(DibHandleCreate(h.get(), 10, 2, 1), 0);
    DibHandleSetPixelIndex(h.get(), 0, 0, 1);
    DibHandleSetPixelIndex(h.get(), 9, 0, 1);
    DibHandleSetPixelIndex(h.get(), 3, 1, 1);
    EXPECT_EQ(Row(h.get(), 0)[0], 0x80);  // the top row is stored last
    EXPECT_EQ(Row(h.get(), 0)[1], 0x40);
    EXPECT_EQ(Row(h.get(), 1)[0], 0x10);
    DibHandleSetPixelIndex(h.get(), 0, 0, 0);
    EXPECT_EQ(Row(h.get(), 0)[0], 0x00);
    EXPECT_EQ(DibHandleGetPixelIndex(h.get(), 9, 0), 1u);

    ASSERT_EQ(DibHandleCreate(h.get(), 3, 1, 4), 0);
    DibHandleSetPixelIndex(h.get(), 0, 0, 0xA);
    DibHandleSetPixelIndex(h.get(), 1, 0, 0x5);
    DibHandleSetPixelIndex(h.get(), 2, 0, 0xF);
    EXPECT_EQ(Row(h.get(), 0)[0], 0xA5);  // pixel 0 is the high nibble
    EXPECT_EQ(Row(h.get(), 0)[1], 0xF0);
    EXPECT_EQ(DibHandleGetPixelIndex(h.get(), 1, 0), 5u);

    ASSERT_EQ(DibHandleCreate(h.get(), 2, 2, 24), 0);
    DibHandleSetPixel(h.get(), 1, 0, 0x123456);
    EXPECT_EQ(DibHandleGetPixelIndex(h.get(), 1, 0), 0x123456u);
    EXPECT_EQ(Row(h.get(), 0)[3], 0x12);  // blue, green, red
    EXPECT_EQ(Row(h.get(), 0)[5], 0x56);

    // Outside the picture nothing is read or written.
    DibHandleSetPixel(h.get(), 2, 0, 0xFFFFFF);
    DibHandleSetPixel(h.get(), 0, -1, 0xFFFFFF);
    EXPECT_EQ(DibHandleGetPixel(h.get(), 0, 2), 0u);
    EXPECT_EQ(Pixels(h.get()), (std::vector<ColorRef>{0, 0x123456, 0, 0}));
}

TEST(DibPixels, SetPixelUsesFindsGrowsOrRecoloursTheTable)
{
    // A created table is full (and black): a new colour recolours the entry
    // under the pixel, and every pixel sharing it.
    DibHandleOwner h;
    ASSERT_EQ(DibHandleCreate(h.get(), 4, 1, 8), 0);
    DibHandleSetPixel(h.get(), 2, 0, 0x00FF00);
    EXPECT_EQ(Pixels(h.get()), std::vector<ColorRef>(4, 0x00FF00));
    DibHandleSetPixelIndex(h.get(), 3, 0, 7);
    DibHandleSetPixel(h.get(), 1, 0, 0x00FF00);  // found: index 0
    EXPECT_EQ(DibHandleGetPixelIndex(h.get(), 1, 0), 0u);

    // A short table read from a document grows: the rows move back and
    // keep their pixels.
    DibHandleOwner small(MakeDib(5, 3, 4, [](int32_t x, int32_t) { return x % 2 ? 0x0000FFu : 0xFF0000u; }));
    ASSERT_EQ(GetU32LE(DibHandleBlockSlot(small.get())->block + kBiClrUsed), 2u);
    std::vector<ColorRef> expected = Pixels(small.get());
    ASSERT_EQ(DibHandleSetPixel(small.get(), 4, 2, 0x777777), 0);
    expected[14] = 0x777777;
    EXPECT_EQ(GetU32LE(DibHandleBlockSlot(small.get())->block + kBiClrUsed), 3u);
    EXPECT_EQ(Block(small.get()).size(), 40u + 12 + 3 * 4);
    EXPECT_EQ(Pixels(small.get()), expected);

    MemInjectAllocationFailure(0);
    EXPECT_EQ(DibHandleSetPixel(small.get(), 0, 0, 0x010203), 1);
    MemInjectAllocationFailure(-1);
    EXPECT_EQ(Pixels(small.get()), expected);
}

TEST(DibPixels, IndicesTheTableDoesNotHoldReadAsBlack)
{
    DibHandleOwner h(MakeDib(2, 1, 8, [](int32_t, int32_t) { return 0x00FF00u; }));
    DibHandleSetPixelIndex(h.get(), 1, 0, 200);
    EXPECT_EQ(Pixels(h.get()), (std::vector<ColorRef>{0x00FF00, 0}));
}

TEST(DibDerived, MaskAndMonochromeAreOneBitWhiteThenBlack)
{
    const ColorRef colours[] = {0xFFFFFF, 0xFEFFFF, 0xC0C0C0, 0x7E7E7E, 0x0000FF, 0x800000};
    DibHandleOwner source(MakeDib(6, 2, 24, [&](int32_t x, int32_t) { return colours[x]; }));
    DibHandleOwner mask, mono;
    ASSERT_EQ(DibHandleMakeMask(source.get(), mask.get(), 0xFEFFFF), 0);
    ASSERT_EQ(DibHandleToMonochrome(source.get(), mono.get()), 0);
    for (DibHandle h : {mask.get(), mono.get()}) {
        EXPECT_EQ(DibHandleBitCount(h), 1);
        EXPECT_EQ(std::vector<uint8_t>(DibHandlePalette(h), DibHandlePalette(h) + 8),
                  (std::vector<uint8_t>{255, 255, 255, 0, 0, 0, 0, 0}));
    }
    const ColorRef w = kWhite, b = kBlack;
    EXPECT_EQ(Pixels(mask.get()), (std::vector<ColorRef>{b, w, b, b, b, b, b, w, b, b, b, b}));
    // Lightness 108 or more (grey 0xC0, pure red at exactly 108) is white;
    // grey 0x7E (lightness 107) and dark blue are black.
    EXPECT_EQ(Pixels(mono.get()), (std::vector<ColorRef>{w, w, w, b, w, b, w, w, w, b, w, b}));

    // In place, the picture becomes its own monochrome copy.
    ASSERT_EQ(DibHandleToMonochrome(source.get(), source.get()), 0);
    EXPECT_EQ(Block(source.get()), Block(mono.get()));

    DibHandleOwner empty;
    EXPECT_EQ(DibHandleMakeMask(empty.get(), mask.get(), 0), 1);
    EXPECT_TRUE(DibHandleIsEmpty(mask.get()));
}

// A white picture with a dark diamond.
ColorRef Diamond(int32_t x, int32_t y, int32_t size)
{
    const int32_t c = size / 2;
    return std::abs(x - c) + std::abs(y - c) <= c - 2 ? 0x202020u : kWhite;
}

TEST(DibDerived, TraceOutlineFollowsTheEdgesTopDownAndBackUp)
{
    std::vector<IntPoint> outline{{1, 1}};
    DibHandleOwner white(MakeDib(8, 8, 24, [](int32_t, int32_t) { return kWhite; }));
    ASSERT_EQ(DibHandleTraceOutline(white.get(), &outline, 23, nullptr, kWhite), 0);
    EXPECT_TRUE(outline.empty());

    DibHandleOwner row(MakeDib(8, 8, 8, [](int32_t x, int32_t y) { return y == 5 && x >= 2 && x <= 6 ? 0u : kWhite; }));
    ASSERT_EQ(DibHandleTraceOutline(row.get(), &outline, 23, nullptr, kWhite), 0);
    ASSERT_EQ(outline.size(), 3u);
    EXPECT_EQ(outline[0].x, 2);
    EXPECT_EQ(outline[1].x, 6);
    EXPECT_EQ(outline[2].x, 2);
    EXPECT_EQ(outline[1].y, 5);

    const int32_t size = 41;
    DibHandleOwner diamond(MakeDib(size, size, 24, [](int32_t x, int32_t y) { return Diamond(x, y, size); }));
    ASSERT_EQ(DibHandleTraceOutline(diamond.get(), &outline, 23, nullptr, kWhite), 0);
    ASSERT_EQ(outline.size() % 2, 1u);
    EXPECT_LE(outline.size(), 23u);
    const size_t n = outline.size() / 2;
    EXPECT_EQ(outline.front().y, 2);   // the top row of the diamond
    EXPECT_EQ(outline[n - 1].y, 38);  // the bottom row is the last sample
    for (size_t i = 0; i < n; ++i) {
        const IntPoint l = outline[i], r = outline[2 * n - 1 - i];
        EXPECT_EQ(l.y, r.y);
        EXPECT_EQ(Diamond(l.x, l.y, size), 0x202020u);
        EXPECT_EQ(Diamond(l.x - 1, l.y, size), kWhite);
        EXPECT_EQ(Diamond(r.x + 1, r.y, size), kWhite);
        if (i > 0) {
            EXPECT_GT(l.y, outline[i - 1].y);
        }
    }

    // The area limits the search: only the left half of the diamond.
    const IntRect left{-5, -5, 20, 100};
    ASSERT_EQ(DibHandleTraceOutline(diamond.get(), &outline, 23, &left, kWhite), 0);
    for (const IntPoint& p : outline)
        EXPECT_LE(p.x, 20);
}

TEST(DibDerived, TraceOutlineTakesAnyNumberOfRowsAndTinyLimits)
{
    // More than the 123 rows a fixed list held.
    const int32_t size = 401;
    DibHandleOwner diamond(MakeDib(size, size, 24, [](int32_t x, int32_t y) { return Diamond(x, y, size); }));
    std::vector<IntPoint> outline;
    ASSERT_EQ(DibHandleTraceOutline(diamond.get(), &outline, 601, nullptr, kWhite), 0);
    EXPECT_GT(outline.size(), 2u * 123 + 1);
    EXPECT_LE(outline.size(), 601u);
    EXPECT_EQ(outline.front().x, outline.back().x);

    for (int32_t limit : {-1, 0, 2, 3, 4, 5}) {
        ASSERT_EQ(DibHandleTraceOutline(diamond.get(), &outline, limit, nullptr, kWhite), 0) << limit;
        EXPECT_LE(int32_t(outline.size()), std::max(limit, 0)) << limit;
    }
    EXPECT_EQ(DibHandleTraceOutline(diamond.get(), nullptr, 23, nullptr, kWhite), 1);
}

}  // namespace
