// The picture object and the loaders' rules on files built byte by byte;
// picture_fixture_test.cpp holds the comparison with standard tools.

#include <gtest/gtest.h>
#include <tiffio.h>

#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <functional>
#include <string>
#include <cstring>
#include <vector>

#include "foundation/byte_order.h"
#include "foundation/handle.h"
#include "graphics/dib_from_image.h"
#include "graphics/dib_image.h"
#include "graphics/picture_limits.h"
#include "graphics/picture_loader.h"
#include "dib_test_support.h"
#include "picture_test_support.h"

namespace {

bool Load(CDibImage& image, const std::vector<uint8_t>& bytes, int32_t type)
{
    return image.DibLoadBytesByType(bytes.data(), bytes.size(), type);
}

TEST(DibImage, BlocksAreNormalisedPackedBitmaps)
{
    CDibImage image;
    const struct {
        int32_t asked, bits, colours;
    } depths[] = {{0, 1, 2}, {2, 4, 16}, {3, 4, 16}, {5, 8, 256}, {8, 8, 256}, {16, 24, 0}, {32, 24, 0}};
    for (const auto& d : depths) {
        uint8_t* block = image.CreateBlock(3, 2, d.asked);
        ASSERT_NE(block, nullptr);
        EXPECT_EQ(image.GetBitCount(), d.bits);
        EXPECT_EQ(image.GetColourCount(), uint32_t(d.colours));
        EXPECT_EQ(image.GetColourKind(), d.bits <= 8 ? kDibPaletteColours : kDibDirectColours);
        const uint32_t stride = (3 * d.bits + 31) / 32 * 4;
        EXPECT_EQ(image.GetStride(), stride);
        EXPECT_EQ(image.GetPackedSize(), 40 + 4 * d.colours + stride * 2);
        EXPECT_EQ(image.BitsAddress(), block + 40 + 4 * d.colours);
        EXPECT_EQ(GetU32LE(block), 40u);
        EXPECT_EQ(GetI32LE(block + 8), 2);
        EXPECT_EQ(GetU16LE(block + 14), d.bits);
        EXPECT_EQ(GetU32LE(block + 20), stride * 2);
        EXPECT_EQ(GetU32LE(block + 32), uint32_t(d.colours));
        EXPECT_EQ(image.RowFromTop(0), image.BitsAddress() + stride);
    }
    EXPECT_EQ(image.CreateBlock(kDibImageMaxSide + 1, 1, 8), nullptr);
    EXPECT_EQ(image.CreateBlock(30000, 30000, 24), nullptr);  // 2.7 GB
    EXPECT_EQ(image.CreateBlock(0, 5, 8), nullptr);
    EXPECT_TRUE(image.IsEmpty());
    EXPECT_TRUE(image.Contains(0, 0) == false);
}

TEST(DibImage, StateMovesAndTheBlockCanBeHandedOn)
{
    CDibImage a;
    ASSERT_NE(a.CreateBlock(4, 4, 8), nullptr);
    a.SetGreyRamp();
    EXPECT_EQ(a.Palette()[4 * 200], 200);
    a.SetImageIndex(3);
    CDibImage b;
    b.TakeFrom(a);
    EXPECT_TRUE(a.IsEmpty());
    EXPECT_EQ(a.GetImageIndex(), 0u);
    EXPECT_EQ(b.GetImageIndex(), 3u);
    EXPECT_TRUE(b.Contains(3, 3));
    EXPECT_FALSE(b.Contains(4, 0));
    uint8_t* block = b.Detach();
    EXPECT_TRUE(b.IsEmpty());
    EXPECT_EQ(b.GetWidth(), 0);
    MemFree(block);

    const uint8_t red[2] = {10, 20};
    ASSERT_NE(b.CreateBlock(1, 1, 1), nullptr);
    b.SetPaletteFromPlanes(red, nullptr, nullptr, 5);
    EXPECT_EQ(std::vector<uint8_t>(b.Palette(), b.Palette() + 8), (std::vector<uint8_t>{10, 10, 10, 0, 20, 20, 20, 0}));
    uint8_t row[7] = {1, 2, 3, 4, 5, 6, 7};
    SwapRedBlue(row, 7);
    EXPECT_EQ(std::vector<uint8_t>(row, row + 7), (std::vector<uint8_t>{3, 2, 1, 6, 5, 4, 7}));
}

TEST(DibImage, ADecodedPictureBecomesAnEqualDibHandle)
{
    std::vector<uint8_t> table;
    for (int i = 0; i < 7; ++i)
        table.insert(table.end(), {uint8_t(i * 30), uint8_t(200 - i * 20), uint8_t(i * 9)});
    std::vector<uint8_t> indices(5 * 3);
    for (size_t i = 0; i < indices.size(); ++i)
        indices[i] = uint8_t(i * 3 % 7);
    const struct {
        std::vector<uint8_t> file;
        int32_t type;
    } pictures[] = {{MakeTestBmp(5, 3, true), kPictureBmp},
                    {MakeTestGif(5, 3, indices, table, false, -1), kPictureGif}};
    for (const auto& p : pictures) {
        CDibImage image;
        ASSERT_TRUE(Load(image, p.file, p.type));
        const uint8_t* block = image.GetBits();
        const std::vector<uint8_t> bytes(block, block + image.GetPackedSize());
        const std::vector<uint8_t> rgb = PictureRgb(image);
        const int32_t width = image.GetWidth(), height = image.GetHeight(), bits = image.GetBitCount();

        DibHandleOwner h;
        ASSERT_EQ(DibHandleFromImage(image, h.get()), 0);
        EXPECT_TRUE(image.IsEmpty());
        EXPECT_EQ(image.GetWidth(), 0);
        EXPECT_EQ(DibHandleBlockSlot(h.get())->block, block);  // handed over, not copied
        EXPECT_EQ(Block(h.get()), bytes);
        EXPECT_EQ(DibHandleWidth(h.get()), width);
        EXPECT_EQ(DibHandleHeight(h.get()), height);
        EXPECT_EQ(DibHandleBitCount(h.get()), bits);
        std::vector<uint8_t> seen;
        for (ColorRef c : Pixels(h.get()))
            seen.insert(seen.end(), {RedOf(c), GreenOf(c), BlueOf(c)});
        EXPECT_EQ(seen, rgb);
    }

    // An empty picture clears the handle; a missing handle keeps the picture.
    CDibImage empty;
    DibHandleOwner filled;
    ASSERT_EQ(DibHandleCreate(filled.get(), 2, 2, 8), 0);
    EXPECT_EQ(DibHandleFromImage(empty, filled.get()), 1);
    EXPECT_EQ(DibHandleIsEmpty(filled.get()), 1);
    CDibImage kept;
    ASSERT_TRUE(Load(kept, MakeTestBmp(2, 2, true), kPictureBmp));
    EXPECT_EQ(DibHandleFromImage(kept, nullptr), 1);
    EXPECT_FALSE(kept.IsEmpty());
}

TEST(DibImage, FailedLoadsLeaveAnEmptyObjectWithTheReason)
{
    CDibImage image("/nonexistent/picture.png", kPicturePng);
    EXPECT_TRUE(image.IsEmpty());
    EXPECT_EQ(image.GetWidth(), 0);
    EXPECT_STREQ(image.FileName(), "/nonexistent/picture.png");
    const std::vector<uint8_t> bmp = MakeTestBmp(3, 2, true);
    EXPECT_FALSE(Load(image, bmp, 9));
    ASSERT_TRUE(Load(image, bmp, kPictureBmp));
    EXPECT_FALSE(Load(image, bmp, kPictureTiff));
    EXPECT_TRUE(image.IsEmpty());
    EXPECT_STREQ(image.ErrorText(), "Error encountered while opening TIFF file");
    const std::vector<uint8_t> notJpeg = {0xFF, 0xD8, 0xFF, 0xE0, 0, 2, 0xFF, 0xD9};
    EXPECT_FALSE(Load(image, notJpeg, kPictureJpeg));
    EXPECT_STRNE(image.ErrorText(), "");
}

TEST(BmpLoader, HeaderlessAndHeaderedFilesGiveTheSamePicture)
{
    CDibImage with, without;
    ASSERT_TRUE(Load(with, MakeTestBmp(5, 3, true), kPictureBmp));
    ASSERT_TRUE(Load(without, MakeTestBmp(5, 3, false), kPictureBmp));
    EXPECT_EQ(PictureRgb(with), PictureRgb(without));
    EXPECT_EQ(with.GetBitCount(), 24);
    // Top row first: x * 10, y * 20 from the bottom, so (0, 0) is y = 2.
    EXPECT_EQ(PictureRgb(with)[0], 2);
    EXPECT_EQ(PictureRgb(with)[1], 40);
}

TEST(BmpLoader, HeadersThatCannotBeTrueAreRefused)
{
    CDibImage image;
    auto patched = [](size_t offset, uint32_t value, int bytes) {
        std::vector<uint8_t> b = MakeTestBmp(4, 4, true);
        if (bytes == 2)
            PutU16LE(b.data() + offset, uint16_t(value));
        else
            PutU32LE(b.data() + offset, value);
        return b;
    };
    EXPECT_FALSE(Load(image, patched(18, 40000, 4), kPictureBmp));     // width
    EXPECT_FALSE(Load(image, patched(22, 0, 4), kPictureBmp));         // height
    EXPECT_FALSE(Load(image, patched(22, 0x80000000, 4), kPictureBmp));
    EXPECT_FALSE(Load(image, patched(28, 7, 2), kPictureBmp));         // bits
    EXPECT_FALSE(Load(image, patched(14, 33, 4), kPictureBmp));        // header size
    EXPECT_FALSE(Load(image, patched(30, 5, 4), kPictureBmp));         // compression
    std::vector<uint8_t> eight = patched(28, 8, 2);
    PutU32LE(eight.data() + 46, 257);                                  // colours
    EXPECT_FALSE(Load(image, eight, kPictureBmp));
    PutU32LE(eight.data() + 46, 200);  // the table would run past the end
    EXPECT_FALSE(Load(image, eight, kPictureBmp));
    // A pixel offset past the end or into the headers: the rows come from
    // behind the table.
    CDibImage plain;
    ASSERT_TRUE(Load(plain, MakeTestBmp(4, 4, true), kPictureBmp));
    for (uint32_t offset : {0xFFFFFF00u, 30u, 53u}) {
        ASSERT_TRUE(Load(image, patched(10, offset, 4), kPictureBmp)) << offset;
        EXPECT_EQ(PictureRgb(image), PictureRgb(plain)) << offset;
    }
}

TEST(BmpLoader, AColourTableEndsWhereThePixelsBegin)
{
    // OS/2 bitmaps have no colour count: the table runs up to the pixel
    // offset. Here 4 x 2 at 8 and at 4 bits with a table of four colours.
    // Red, green, blue and (200, 100, 50), stored blue first.
    const uint8_t table[12] = {0, 0, 255, 0, 255, 0, 255, 0, 0, 50, 100, 200};
    const std::vector<uint8_t> expected = {200, 100, 50, 0, 0, 255, 0, 255, 0, 255, 0, 0,
                                           255, 0, 0, 0, 255, 0, 0, 0, 255, 200, 100, 50};
    for (uint16_t bits : {uint16_t(8), uint16_t(4)}) {
        const std::vector<uint8_t> rows = bits == 8 ? std::vector<uint8_t>{0, 1, 2, 3, 3, 2, 1, 0}
                                                    : std::vector<uint8_t>{0x01, 0x23, 0, 0, 0x32, 0x10, 0, 0};
        std::vector<uint8_t> file(14 + 12 + sizeof table, 0);
        file[0] = 'B';
        file[1] = 'M';
        PutU32LE(file.data() + 2, uint32_t(file.size() + rows.size()));
        PutU32LE(file.data() + 10, uint32_t(file.size()));
        PutU32LE(file.data() + 14, 12);
        PutU16LE(file.data() + 18, 4);
        PutU16LE(file.data() + 20, 2);
        PutU16LE(file.data() + 22, 1);
        PutU16LE(file.data() + 24, bits);
        std::copy(table, table + sizeof table, file.begin() + 26);
        file.insert(file.end(), rows.begin(), rows.end());
        CDibImage image;
        ASSERT_TRUE(Load(image, file, kPictureBmp)) << bits;
        EXPECT_EQ(PictureRgb(image), expected) << bits;
        // Entries the file does not have are black.
        EXPECT_EQ(image.Palette()[4 * 4 + 2], 0) << bits;
    }
}

TEST(IcoLoader, ThirtyTwoBitIconsCompositeAlphaUnlessNoneIsSet)
{
    // One 1 x 1 icon of 32 bits: colour (200, 100, 50), given alpha.
    auto icon = [](uint8_t alpha) {
        std::vector<uint8_t> b(6 + 16 + 40 + 4 + 4, 0);
        PutU16LE(b.data() + 2, 1);
        PutU16LE(b.data() + 4, 1);
        b[6] = b[7] = 1;
        PutU16LE(b.data() + 6 + 6, 32);
        PutU32LE(b.data() + 6 + 8, 48);
        PutU32LE(b.data() + 6 + 12, 22);
        uint8_t* h = b.data() + 22;
        PutU32LE(h, 40);
        PutI32LE(h + 4, 1);
        PutI32LE(h + 8, 2);
        PutU16LE(h + 12, 1);
        PutU16LE(h + 14, 32);
        h[40] = 50;
        h[41] = 100;
        h[42] = 200;
        h[43] = alpha;
        return b;
    };
    CDibImage image;
    ASSERT_TRUE(Load(image, icon(0), kPictureIco));
    EXPECT_EQ(PictureRgb(image), (std::vector<uint8_t>{200, 100, 50}));
    ASSERT_TRUE(Load(image, icon(128), kPictureIco));
    EXPECT_EQ(PictureRgb(image), (std::vector<uint8_t>{CompositeOver(200, 128, kPictureBackgroundRed),
                                                       CompositeOver(100, 128, kPictureBackgroundGreen),
                                                       CompositeOver(50, 128, kPictureBackgroundBlue)}));
    EXPECT_EQ(image.GetImageCount(), 1u);
    image.SetImageIndex(1);
    EXPECT_FALSE(Load(image, icon(0), kPictureIco));
    std::vector<uint8_t> far = icon(0);
    PutU32LE(far.data() + 18, 0xFFFFFFF0);
    EXPECT_FALSE(Load(image, far, kPictureIco));
}

TEST(GifLoader, ColourTableRulesForTransparency)
{
    std::vector<uint8_t> table;
    for (int i = 0; i < 16; ++i)
        table.insert(table.end(), {uint8_t(i), uint8_t(i * 2), uint8_t(i * 3)});
    std::vector<uint8_t> indices(6 * 4);
    for (size_t i = 0; i < indices.size(); ++i)
        indices[i] = uint8_t(i % 16);
    CDibImage image;
    ASSERT_TRUE(Load(image, MakeTestGif(6, 4, indices, table, false, 5), kPictureGif));
    EXPECT_EQ(image.GetTransparentIndex(), 5);
    ASSERT_EQ(image.GetColourCount(), 256u);
    const uint8_t* p = image.Palette();
    EXPECT_EQ(std::vector<uint8_t>(p + 4 * 5, p + 4 * 5 + 3), (std::vector<uint8_t>{0, 0, 0}));
    EXPECT_EQ(std::vector<uint8_t>(p + 4 * 4, p + 4 * 4 + 3), (std::vector<uint8_t>{12, 8, 4}));
    for (int i = 16; i < 256; ++i)
        EXPECT_EQ(p[4 * i] & p[4 * i + 1] & p[4 * i + 2], 255) << i;

    // Without transparency a full table that lacks white gets it at 255.
    std::vector<uint8_t> full;
    for (int i = 0; i < 256; ++i)
        full.insert(full.end(), {uint8_t(i), 0, 0});
    ASSERT_TRUE(Load(image, MakeTestGif(6, 4, indices, full, false, -1), kPictureGif));
    EXPECT_EQ(image.GetTransparentIndex(), -1);
    EXPECT_EQ(image.Palette()[4 * 255 + 1], 255);
    EXPECT_EQ(image.Palette()[4 * 254 + 1], 0);
}

TEST(GifLoader, InterlacedRowsAndBrokenDataStayInsideThePicture)
{
    std::vector<uint8_t> table;
    for (int i = 0; i < 10; ++i)
        table.insert(table.end(), {uint8_t(i * 20), uint8_t(i * 20), uint8_t(i * 20)});
    std::vector<uint8_t> indices;
    for (int y = 0; y < 10; ++y)
        indices.insert(indices.end(), 3, uint8_t(y));
    const std::vector<uint8_t> gif = MakeTestGif(3, 10, indices, table, true, -1);
    CDibImage image;
    ASSERT_TRUE(Load(image, gif, kPictureGif));
    for (int32_t y = 0; y < 10; ++y)
        EXPECT_EQ(image.RowFromTop(y)[0], y);

    // The same data under a descriptor of 3 rows: lines 0, 8, 4 of the
    // data go to rows 0, 2, 1 and the rest stops at the picture's end.
    std::vector<uint8_t> shorter = gif;
    const size_t descriptor = 13 + 3 * 16 + 1;
    PutU16LE(shorter.data() + descriptor + 6, 3);
    ASSERT_TRUE(Load(image, shorter, kPictureGif));
    EXPECT_EQ(image.GetHeight(), 3);
    EXPECT_EQ(image.RowFromTop(1)[0], 4);
    EXPECT_EQ(image.RowFromTop(2)[0], 8);

    // Codes that point far beyond the table and chains through garbage.
    std::vector<uint8_t> garbage = gif;
    for (size_t i = descriptor + 10 + 2; i + 2 < garbage.size(); i += 3)
        garbage[i] = 0xFF;
    EXPECT_TRUE(Load(image, garbage, kPictureGif));
    std::vector<uint8_t> badSize = gif;
    badSize[descriptor + 10] = 12;
    EXPECT_TRUE(Load(image, badSize, kPictureGif));
}

// An uncompressed little-endian TIFF of one strip: samples of 8 bits,
// photometric 1 (grey) or 2 (RGB), and with extra set, one extra sample of
// that kind (1 associated, 2 unassociated alpha); with orientation set, that
// orientation tag.
std::vector<uint8_t> MakeTestTiff(int32_t width, int32_t height, uint16_t samples, uint16_t photometric,
                                  uint16_t extra, const std::vector<uint8_t>& pixels, uint16_t orientation = 0)
{
    struct Entry {
        uint16_t tag, type;
        uint32_t count, value;
    };
    const uint32_t pixelsAt = 8;
    const uint32_t bitsAt = pixelsAt + uint32_t(pixels.size());
    std::vector<Entry> entries = {{256, 4, 1, uint32_t(width)},
                                  {257, 4, 1, uint32_t(height)},
                                  {258, 3, samples, samples > 2 ? bitsAt : 8u | (samples == 2 ? 8u << 16 : 0u)},
                                  {259, 3, 1, 1},
                                  {262, 3, 1, photometric},
                                  {273, 4, 1, pixelsAt},
                                  {277, 3, 1, samples},
                                  {278, 4, 1, uint32_t(height)},
                                  {279, 4, 1, uint32_t(pixels.size())},
                                  {284, 3, 1, 1}};
    if (extra)
        entries.push_back({338, 3, 1, extra});
    if (orientation)
        entries.push_back({274, 3, 1, orientation});
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) { return a.tag < b.tag; });
    // Header, pixels, the bits of each sample (when more than two), the
    // directory on a word boundary.
    std::vector<uint8_t> b((bitsAt + 2u * samples + 1) / 2 * 2, 0);
    b[0] = b[1] = 'I';
    b[2] = 42;
    std::copy(pixels.begin(), pixels.end(), b.begin() + pixelsAt);
    for (uint16_t i = 0; i < samples; ++i)
        b[bitsAt + 2u * i] = 8;
    PutU32LE(b.data() + 4, uint32_t(b.size()));
    const size_t ifd = b.size();
    b.resize(ifd + 2 + 12 * entries.size() + 4, 0);
    PutU16LE(b.data() + ifd, uint16_t(entries.size()));
    for (size_t i = 0; i < entries.size(); ++i) {
        uint8_t* e = b.data() + ifd + 2 + 12 * i;
        PutU16LE(e, entries[i].tag);
        PutU16LE(e + 2, entries[i].type);
        PutU32LE(e + 4, entries[i].count);
        if (entries[i].type == 3 && entries[i].count == 1)
            PutU16LE(e + 8, uint16_t(entries[i].value));
        else
            PutU32LE(e + 8, entries[i].value);
    }
    return b;
}

TEST(TiffLoader, TransparentPartsLieOnThePictureBackground)
{
    const uint8_t bg[3] = {kPictureBackgroundRed, kPictureBackgroundGreen, kPictureBackgroundBlue};
    // Colour (200, 100, 50) at alphas 0, 255 and 128, stored unassociated
    // and associated (premultiplied).
    const uint8_t alphas[3] = {0, 255, 128};
    for (uint16_t extra : {uint16_t(2), uint16_t(1)}) {
        std::vector<uint8_t> pixels;
        for (uint8_t a : alphas) {
            for (uint8_t c : {200, 100, 50})
                pixels.push_back(extra == 1 ? uint8_t((c * a + 127) / 255) : c);
            pixels.push_back(a);
        }
        CDibImage image;
        ASSERT_TRUE(Load(image, MakeTestTiff(3, 1, 4, 2, extra, pixels), kPictureTiff)) << extra;
        const std::vector<uint8_t> rgb = PictureRgb(image);
        for (int x = 0; x < 3; ++x) {
            const uint8_t colour[3] = {200, 100, 50};
            for (int k = 0; k < 3; ++k)
                EXPECT_NEAR(rgb[3 * x + k], CompositeOver(colour[k], alphas[x], bg[k]), 1)
                    << "extra " << extra << " pixel " << x << " channel " << k;
        }
    }
    // Grey with alpha.
    CDibImage grey;
    ASSERT_TRUE(Load(grey, MakeTestTiff(2, 1, 2, 1, 2, {90, 0, 90, 255}), kPictureTiff));
    EXPECT_EQ(PictureRgb(grey), (std::vector<uint8_t>{bg[0], bg[1], bg[2], 90, 90, 90}));
    // An extra sample not said to be alpha changes nothing.
    ASSERT_TRUE(Load(grey, MakeTestTiff(2, 1, 2, 1, 0, {90, 0, 90, 255}), kPictureTiff));
    EXPECT_EQ(PictureRgb(grey), (std::vector<uint8_t>{90, 90, 90, 90, 90, 90}));
    CDibImage colour;
    ASSERT_TRUE(Load(colour, MakeTestTiff(1, 1, 4, 2, 0, {200, 100, 50, 0}), kPictureTiff));
    EXPECT_EQ(PictureRgb(colour), (std::vector<uint8_t>{200, 100, 50}));
}

TEST(TiffLoader, RowsOfEveryKindOfPictureFollowTheOrientation)
{
    // 2 x 2 grey, stored rows {10, 20} then {30, 40}; the same as RGB.
    const std::vector<uint8_t> grey = {10, 20, 30, 40};
    std::vector<uint8_t> rgb;
    for (uint8_t v : grey)
        rgb.insert(rgb.end(), {v, v, v});
    const struct {
        uint16_t orientation;
        std::vector<uint8_t> shown;  // grey, top row first
    } cases[] = {{1, {10, 20, 30, 40}}, {2, {20, 10, 40, 30}}, {3, {40, 30, 20, 10}}, {4, {30, 40, 10, 20}}};
    for (const auto& c : cases) {
        std::vector<uint8_t> expected;
        for (uint8_t v : c.shown)
            expected.insert(expected.end(), {v, v, v});
        CDibImage image;
        ASSERT_TRUE(Load(image, MakeTestTiff(2, 2, 1, 1, 0, grey, c.orientation), kPictureTiff));
        EXPECT_EQ(PictureRgb(image), expected) << "grey, orientation " << c.orientation;
        ASSERT_TRUE(Load(image, MakeTestTiff(2, 2, 3, 2, 0, rgb, c.orientation), kPictureTiff));
        EXPECT_EQ(PictureRgb(image), expected) << "colour, orientation " << c.orientation;
    }
}

TEST(JpegLoader, AFewBytesClaimingAHugePictureReserveNothingForIt)
{
    // Progressive decoding keeps every coefficient of the picture; a
    // picture that could never be a bitmap here must be refused before
    // the library reserves that (768 MB for this one).
    std::vector<uint8_t> jpeg = MakeTestJpeg(16, 16, true, true);
    PatchJpegSize(&jpeg, 16000, 16000);
    const int64_t growth = PeakMemoryGrowthInChild(
        [](const std::vector<uint8_t>& bytes) {
            CDibImage image;
            image.DibLoadBytesByType(bytes.data(), bytes.size(), kPictureJpeg);
        },
        jpeg);
    ASSERT_GE(growth, 0);
    EXPECT_LT(growth, int64_t(64) << 20);
    CDibImage image;
    EXPECT_FALSE(Load(image, jpeg, kPictureJpeg));
    EXPECT_TRUE(image.IsEmpty());

    // Pictures that fit still load, progressive or not.
    for (bool progressive : {false, true}) {
        ASSERT_TRUE(Load(image, MakeTestJpeg(40, 24, true, progressive), kPictureJpeg));
        EXPECT_EQ(image.GetWidth(), 40);
        EXPECT_EQ(image.GetBitCount(), 24);
        ASSERT_TRUE(Load(image, MakeTestJpeg(40, 24, false, progressive), kPictureJpeg));
        EXPECT_EQ(image.GetBitCount(), 8);
    }
}

namespace oriented {

// A picture as rows of RGB pixels, top row first.
struct Rgb {
    int32_t width = 0, height = 0;
    std::vector<uint8_t> px;
    const uint8_t* at(int32_t x, int32_t y) const { return px.data() + 3 * (size_t(y) * size_t(width) + size_t(x)); }
};

// Turned a quarter clockwise, and mirrored left to right.
Rgb Clockwise(const Rgb& in)
{
    Rgb out{in.height, in.width, std::vector<uint8_t>(in.px.size())};
    for (int32_t y = 0; y < in.height; ++y)
        for (int32_t x = 0; x < in.width; ++x)
            std::memcpy(out.px.data() + 3 * (size_t(x) * size_t(out.width) + size_t(in.height - 1 - y)), in.at(x, y), 3);
    return out;
}
Rgb Mirrored(const Rgb& in)
{
    Rgb out = in;
    for (int32_t y = 0; y < in.height; ++y)
        for (int32_t x = 0; x < in.width; ++x)
            std::memcpy(out.px.data() + 3 * (size_t(y) * size_t(in.width) + size_t(in.width - 1 - x)), in.at(x, y), 3);
    return out;
}

}  // namespace oriented

TEST(JpegLoader, EveryExifOrientationIsShownUpright)
{
    using namespace oriented;
    // Upright: 3 x 2 blocks of 16 pixels, each its own colour, so that each
    // of the eight ways of storing it is told apart.
    const uint8_t colours[6][3] = {{220, 30, 30}, {30, 200, 30}, {30, 30, 220},
                                   {230, 230, 40}, {30, 220, 220}, {40, 40, 40}};
    Rgb upright{48, 32, {}};
    for (int32_t y = 0; y < upright.height; ++y)
        for (int32_t x = 0; x < upright.width; ++x)
            upright.px.insert(upright.px.end(), colours[(y / 16) * 3 + x / 16], colours[(y / 16) * 3 + x / 16] + 3);
    // How a camera stores the upright picture under each orientation: the
    // reader's turn for orientation o undoes it.
    const Rgb cw = Clockwise(upright), half = Clockwise(cw), ccw = Clockwise(half);
    const Rgb stored[9] = {upright, upright, Mirrored(upright), half, Mirrored(half),
                           Mirrored(cw), ccw, Mirrored(ccw), cw};
    for (int32_t orientation = 1; orientation <= 8; ++orientation) {
        for (bool bigEndian : {false, true}) {
            const Rgb& s = stored[orientation];
            CDibImage image;
            ASSERT_TRUE(Load(image, MakeExifJpeg(s.width, s.height, s.px, orientation, bigEndian), kPictureJpeg));
            ASSERT_EQ(image.GetWidth(), upright.width) << orientation;
            ASSERT_EQ(image.GetHeight(), upright.height) << orientation;
            const std::vector<uint8_t> shown = PictureRgb(image);
            for (int32_t by = 0; by < 2; ++by)
                for (int32_t bx = 0; bx < 3; ++bx)
                    for (int k = 0; k < 3; ++k)
                        EXPECT_NEAR(shown[3 * (size_t(by * 16 + 8) * 48 + size_t(bx * 16 + 8)) + size_t(k)],
                                    colours[by * 3 + bx][k], 16)
                            << "orientation " << orientation << (bigEndian ? " MM" : " II") << " block " << bx
                            << "," << by;
        }
    }
    // No Exif block, and a block naming no valid orientation: as stored.
    for (int32_t orientation : {0, 9}) {
        CDibImage image;
        ASSERT_TRUE(Load(image, MakeExifJpeg(48, 32, upright.px, orientation, false), kPictureJpeg));
        EXPECT_EQ(image.GetWidth(), 48);
        EXPECT_NEAR(PictureRgb(image)[0], 220, 16);
    }
}

// A TIFF written by libtiff: rows come from row(y, buffer).
std::vector<uint8_t> WriteTiff(const std::string& path, uint32_t width, uint32_t height, uint16_t samples,
                               uint16_t bits, uint16_t photometric, uint16_t compression, uint32_t rowsPerStrip,
                               const std::function<void(uint32_t, uint8_t*)>& row)
{
    TIFF* tif = TIFFOpen(path.c_str(), "w");
    if (!tif)
        return {};
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, width);
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, height);
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, samples);
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, bits);
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, photometric);
    TIFFSetField(tif, TIFFTAG_COMPRESSION, compression);
    TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, rowsPerStrip);
    std::vector<uint8_t> buffer(size_t(TIFFScanlineSize(tif)));
    for (uint32_t y = 0; y < height; ++y) {
        row(y, buffer.data());
        if (TIFFWriteScanline(tif, buffer.data(), y, 0) < 0) {
            TIFFClose(tif);
            return {};
        }
    }
    TIFFClose(tif);
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

void LoadTiff(const std::vector<uint8_t>& bytes)
{
    CDibImage image;
    image.DibLoadBytesByType(bytes.data(), bytes.size(), kPictureTiff);
}

TEST(TiffLoader, AScanBeyondThePixelLimitIsReadReducedInLittleMemory)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    // A 20000 x 20000 black-and-white scan in one Group 4 strip, a few
    // hundred kilobytes: its left half black. Whole it would be 400
    // million pixels.
    const std::vector<uint8_t> scan =
        WriteTiff(folder.filePath("scan.tif").toStdString(), 20000, 20000, 1, 1, PHOTOMETRIC_MINISWHITE,
                  COMPRESSION_CCITTFAX4, 20000, [](uint32_t, uint8_t* row) {
                      std::memset(row, 0, 2500);
                      std::memset(row, 0xFF, 1250);
                  });
    ASSERT_FALSE(scan.empty());
    EXPECT_LT(scan.size(), size_t(4) << 20);
    // A colour picture beyond the limit in strips of 8 rows: its top half
    // red, its bottom half blue.
    const std::vector<uint8_t> colour =
        WriteTiff(folder.filePath("colour.tif").toStdString(), 16500, 16500, 3, 8, PHOTOMETRIC_RGB,
                  COMPRESSION_ADOBE_DEFLATE, 8, [](uint32_t y, uint8_t* row) {
                      for (uint32_t x = 0; x < 16500; ++x) {
                          row[3 * x] = y < 8250 ? 200 : 0;
                          row[3 * x + 1] = 0;
                          row[3 * x + 2] = y < 8250 ? 0 : 200;
                      }
                  });
    ASSERT_FALSE(colour.empty());

    for (const std::vector<uint8_t>* file : {&scan, &colour}) {
        const int64_t growth = PeakMemoryGrowthInChild(LoadTiff, *file);
        ASSERT_GE(growth, 0);
        EXPECT_LT(growth, int64_t(600) << 20);
        CDibImage image;
        ASSERT_TRUE(Load(image, *file, kPictureTiff)) << image.ErrorText();
        EXPECT_TRUE(PicturePixelsAllowed(image.GetWidth(), image.GetHeight()));
        EXPECT_LE(std::max(image.GetWidth(), image.GetHeight()), kPictureLongestPageSide);
        EXPECT_GT(image.GetWidth(), 4000);
        const std::vector<uint8_t> rgb = PictureRgb(image);
        const auto pixel = [&](double fx, double fy) {
            const size_t x = size_t(fx * image.GetWidth()), y = size_t(fy * image.GetHeight());
            return std::vector<uint8_t>(rgb.begin() + long(3 * (y * size_t(image.GetWidth()) + x)),
                                        rgb.begin() + long(3 * (y * size_t(image.GetWidth()) + x) + 3));
        };
        if (file == &scan) {
            EXPECT_EQ(pixel(0.25, 0.5), (std::vector<uint8_t>{0, 0, 0}));
            EXPECT_EQ(pixel(0.75, 0.5), (std::vector<uint8_t>{255, 255, 255}));
        } else {
            EXPECT_EQ(pixel(0.5, 0.25), (std::vector<uint8_t>{200, 0, 0}));
            EXPECT_EQ(pixel(0.5, 0.75), (std::vector<uint8_t>{0, 0, 200}));
        }
    }

    // One that could only be read whole (its picture in a single strip)
    // is refused with the reason, before anything is reserved for it.
    std::vector<uint8_t> whole = WriteTiff(folder.filePath("whole.tif").toStdString(), 16, 16, 3, 8,
                                           PHOTOMETRIC_RGB, COMPRESSION_ADOBE_DEFLATE, 16,
                                           [](uint32_t, uint8_t* row) { std::memset(row, 90, 48); });
    ASSERT_FALSE(whole.empty());
    // The same file claiming 17000 x 17000 pixels in its one strip.
    CDibImage image;
    ASSERT_TRUE(Load(image, whole, kPictureTiff));
    const size_t ifd = GetU32LE(whole.data() + 4);
    for (size_t e = 0; e < GetU16LE(whole.data() + ifd); ++e) {
        uint8_t* entry = whole.data() + ifd + 2 + 12 * e;
        const uint16_t tag = GetU16LE(entry);
        if (tag == TIFFTAG_IMAGEWIDTH || tag == TIFFTAG_IMAGELENGTH || tag == TIFFTAG_ROWSPERSTRIP) {
            ASSERT_EQ(GetU16LE(entry + 2), TIFF_SHORT);
            PutU16LE(entry + 8, 17000);
        }
    }
    const int64_t growth = PeakMemoryGrowthInChild(LoadTiff, whole);
    ASSERT_GE(growth, 0);
    EXPECT_LT(growth, int64_t(64) << 20);
    EXPECT_FALSE(Load(image, whole, kPictureTiff));
    EXPECT_STREQ(image.ErrorText(), kPictureTooLargeText);
}

}  // namespace
