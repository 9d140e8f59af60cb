#include <gtest/gtest.h>

#include <vector>

#include "foundation/byte_order.h"
#include "graphics/metafile_bitmap.h"
#include "graphics/metafile_format.h"

namespace {

std::vector<uint8_t> Info(int32_t w, int32_t h, uint16_t bits, uint32_t compression = BI_RGB,
                          std::vector<uint32_t> table = {}, uint32_t headerSize = 40)
{
    std::vector<uint8_t> info(headerSize + 4 * table.size(), 0);
    PutU32LE(info.data(), headerSize);
    PutI32LE(info.data() + 4, w);
    PutI32LE(info.data() + 8, h);
    PutU16LE(info.data() + 12, 1);
    PutU16LE(info.data() + 14, bits);
    PutU32LE(info.data() + 16, compression);
    PutU32LE(info.data() + 32, uint32_t(table.size()));
    for (size_t i = 0; i < table.size(); ++i)
        PutU32LE(info.data() + headerSize + 4 * i, table[i]);
    return info;
}

QRgb At(const QImage& image, int x, int y) { return image.pixel(x, y) & 0xFFFFFF; }

TEST(MetafileBitmap, DepthsMasksAndRowOrders)
{
    // 16 bits, 5-5-5 by default: pure red, and white.
    std::vector<uint8_t> info = Info(2, 1, 16);
    const uint8_t bits16[4] = {0x00, 0x7C, 0xFF, 0x7F};
    QImage image = MetafileDibToImage(info.data(), uint32_t(info.size()), bits16, 4, DIB_RGB_COLORS);
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(At(image, 0, 0), 0xFF0000u);
    EXPECT_EQ(At(image, 1, 0), 0xFFFFFFu);

    // 5-6-5 through bit fields after a 40-byte header.
    info = Info(1, 1, 16, BI_BITFIELDS);
    for (uint32_t m : {0xF800u, 0x07E0u, 0x001Fu}) {
        uint8_t b[4];
        PutU32LE(b, m);
        info.insert(info.end(), b, b + 4);
    }
    const uint8_t green[4] = {0xE0, 0x07, 0, 0};
    image = MetafileDibToImage(info.data(), uint32_t(info.size()), green, 4, DIB_RGB_COLORS);
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(At(image, 0, 0), 0x00FF00u);

    // 32 bits keeps alpha only when asked.
    info = Info(1, 1, 32);
    const uint8_t half[4] = {0x10, 0x20, 0x30, 0x80};
    EXPECT_EQ(MetafileDibToImage(info.data(), 40, half, 4, DIB_RGB_COLORS, true).pixel(0, 0), qRgba(0x30, 0x20, 0x10, 0x80));
    EXPECT_EQ(qAlpha(MetafileDibToImage(info.data(), 40, half, 4, DIB_RGB_COLORS).pixel(0, 0)), 255);

    // One bit, top-down, and an old 12-byte header with three-byte entries.
    info = Info(3, -2, 1, BI_RGB, {0x000000FF, 0x0000FF00});
    const uint8_t mono[8] = {0xA0, 0, 0, 0, 0x40, 0, 0, 0};
    image = MetafileDibToImage(info.data(), uint32_t(info.size()), mono, 8, DIB_RGB_COLORS);
    EXPECT_EQ(At(image, 0, 0), 0x00FF00u);
    EXPECT_EQ(At(image, 1, 0), 0x0000FFu);
    EXPECT_EQ(At(image, 1, 1), 0x00FF00u);
    std::vector<uint8_t> core(12 + 6, 0);
    PutU32LE(core.data(), 12);
    PutU16LE(core.data() + 4, 1);
    PutU16LE(core.data() + 6, 1);
    PutU16LE(core.data() + 8, 1);
    PutU16LE(core.data() + 10, 1);
    core[12 + 3 + 2] = 0xFF;  // entry 1: red
    const uint8_t one[4] = {0x80, 0, 0, 0};
    EXPECT_EQ(At(MetafileDibToImage(core.data(), 18, one, 4, DIB_RGB_COLORS), 0, 0), 0xFF0000u);
}

TEST(MetafileBitmap, RunLengthRowsWithEscapes)
{
    // 8 bits, 4 x 3, bottom-up, table blue, green, red: a run of two, an
    // absolute run of three (padded to a word), end of line; a delta to
    // the top row's third pixel, a run of one there; end of picture.
    std::vector<uint8_t> info = Info(4, 3, 8, BI_RLE8, {0x0000FF, 0x00FF00, 0xFF0000});
    const uint8_t rle8[] = {2, 1, 0, 3, 2, 0, 2, 0, 0, 0, 0, 2, 2, 1, 1, 2, 0, 1};
    QImage image = MetafileDibToImage(info.data(), uint32_t(info.size()), rle8, sizeof(rle8), DIB_RGB_COLORS);
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(At(image, 0, 2), 0x00FF00u);
    EXPECT_EQ(At(image, 1, 2), 0x00FF00u);
    EXPECT_EQ(At(image, 2, 2), 0xFF0000u);
    EXPECT_EQ(At(image, 3, 2), 0x0000FFu);
    EXPECT_EQ(At(image, 2, 0), 0xFF0000u);
    EXPECT_EQ(At(image, 1, 0), 0x0000FFu);  // skipped: entry 0

    // 4 bits: a run alternates its two nibbles.
    info = Info(4, 1, 4, BI_RLE4, {0x000000, 0xFF0000});
    const uint8_t rle4[] = {4, 0x10, 0, 1};
    image = MetafileDibToImage(info.data(), uint32_t(info.size()), rle4, sizeof(rle4), DIB_RGB_COLORS);
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(At(image, 0, 0), 0xFF0000u);
    EXPECT_EQ(At(image, 1, 0), 0x000000u);
    EXPECT_EQ(At(image, 2, 0), 0xFF0000u);
}

TEST(MetafileBitmap, DeltasFarPastTheRightEdgeStayThere)
{
    // 2 x 2, 8 bits: millions of deltas 255 to the right on the bottom row
    // (more than the column count's range can add up), then a pixel there,
    // which lies outside the picture; then the top row.
    std::vector<uint8_t> info = Info(2, 2, 8, BI_RLE8, {0x0000FF, 0xFF0000});
    constexpr size_t kDeltas = (size_t(1) << 31) / 255 + 2;
    std::vector<uint8_t> rle;
    rle.reserve(kDeltas * 4 + 16);
    for (size_t i = 0; i < kDeltas; ++i)
        rle.insert(rle.end(), {0, 2, 255, 0});
    rle.insert(rle.end(), {1, 1, 0, 0, 2, 1, 0, 1});
    const QImage image = MetafileDibToImage(info.data(), uint32_t(info.size()), rle.data(), uint32_t(rle.size()),
                                            DIB_RGB_COLORS);
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(At(image, 0, 1), 0x0000FFu);
    EXPECT_EQ(At(image, 1, 1), 0x0000FFu);
    EXPECT_EQ(At(image, 0, 0), 0xFF0000u);
    EXPECT_EQ(At(image, 1, 0), 0xFF0000u);
}

TEST(MetafileBitmap, TablesOfPaletteIndexesTakeTwoBytesAnEntry)
{
    // 2 x 1 at 8 bits, two table entries of palette indexes (2 bytes
    // each), then one row of 4 bytes: the packed form Windows metafiles
    // carry.
    std::vector<uint8_t> dib = Info(2, 1, 8);
    PutU32LE(dib.data() + 32, 2);
    dib.insert(dib.end(), {0, 0, 1, 0, 1, 0, 0, 0});
    uint32_t infoSize = 0, bitsSize = 0;
    ASSERT_TRUE(MetafileDibSplit(dib.data(), uint32_t(dib.size()), &infoSize, &bitsSize, DIB_PAL_COLORS));
    EXPECT_EQ(infoSize, 44u);
    EXPECT_EQ(bitsSize, 4u);
    EXPECT_FALSE(MetafileDibToImage(dib.data(), infoSize, dib.data() + infoSize, bitsSize, DIB_PAL_COLORS).isNull());
    // Colours take four.
    EXPECT_FALSE(MetafileDibSplit(dib.data(), uint32_t(dib.size()), &infoSize, &bitsSize, DIB_RGB_COLORS));
}

TEST(MetafileBitmap, HeadersThatLieGiveNoPicture)
{
    const std::vector<uint8_t> bits(64, 0);
    // Rows the bytes do not hold.
    std::vector<uint8_t> info = Info(100, 100, 24);
    EXPECT_TRUE(MetafileDibToImage(info.data(), 40, bits.data(), 64, DIB_RGB_COLORS).isNull());
    // Sizes past the cap, negative widths, odd depths and compressions.
    info = Info(1 << 20, 1 << 20, 1);
    EXPECT_TRUE(MetafileDibToImage(info.data(), 40, bits.data(), 64, DIB_RGB_COLORS).isNull());
    info = Info(-4, 4, 8);
    EXPECT_TRUE(MetafileDibToImage(info.data(), 40, bits.data(), 64, DIB_RGB_COLORS).isNull());
    info = Info(4, 4, 7);
    EXPECT_TRUE(MetafileDibToImage(info.data(), 40, bits.data(), 64, DIB_RGB_COLORS).isNull());
    info = Info(4, 4, 24, 4);
    EXPECT_TRUE(MetafileDibToImage(info.data(), 40, bits.data(), 64, DIB_RGB_COLORS).isNull());
    info = Info(4, 4, INT16_MAX);
    PutI32LE(info.data() + 8, INT32_MIN);
    EXPECT_TRUE(MetafileDibToImage(info.data(), 40, bits.data(), 64, DIB_RGB_COLORS).isNull());
    // A header longer than its bytes, and run-length pictures far larger
    // than their runs could fill.
    info = Info(4, 4, 8);
    EXPECT_TRUE(MetafileDibToImage(info.data(), 30, bits.data(), 64, DIB_RGB_COLORS).isNull());
    info = Info(4000, 4000, 8, BI_RLE8);
    EXPECT_TRUE(MetafileDibToImage(info.data(), 40, bits.data(), 64, DIB_RGB_COLORS).isNull());
    // A table claimed longer than the record: the entries there are used.
    info = Info(1, 1, 8, BI_RGB, {0x123456});
    PutU32LE(info.data() + 32, 0xFFFFFFFF);
    const QImage image = MetafileDibToImage(info.data(), uint32_t(info.size()), bits.data(), 4, DIB_RGB_COLORS);
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(At(image, 0, 0), 0x123456u);
    uint32_t infoSize, bitsSize;
    EXPECT_FALSE(MetafileDibSplit(info.data(), uint32_t(info.size()), &infoSize, &bitsSize));
}

}  // namespace
