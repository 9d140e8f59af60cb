// A picture is as large as the pixels its file holds: a header may declare
// any size, but a file without the rows gets only those it has (none:
// refused with a message), and compressed data stops at the pixel limit.

#include <gtest/gtest.h>

#include <zlib.h>

#include <QBuffer>
#include <QImage>

#include <cstdio>
#include <cstring>
#include <vector>

#include "foundation/byte_order.h"
#include "graphics/dib_image.h"
#include "graphics/imaging_bitmap.h"
#include "graphics/imaging_formats.h"
#include "graphics/picture_limits.h"
#include "picture_test_support.h"
#include "support/temp_dir.h"

namespace {

bool Load(CDibImage& image, const std::vector<uint8_t>& bytes, int32_t type)
{
    return image.DibLoadBytesByType(bytes.data(), bytes.size(), type);
}

// A bitmap file of 70 bytes declaring 13000 x 13000 pixels.
std::vector<uint8_t> HugeBmpDeclaration(uint32_t compression, uint16_t bits)
{
    std::vector<uint8_t> bmp(70, 0);
    bmp[0] = 'B';
    bmp[1] = 'M';
    PutU32LE(&bmp[2], 70);
    PutU32LE(&bmp[10], 54);
    PutU32LE(&bmp[14], 40);
    PutI32LE(&bmp[18], 13000);
    PutI32LE(&bmp[22], 13000);
    PutU16LE(&bmp[26], 1);
    PutU16LE(&bmp[28], bits);
    PutU32LE(&bmp[30], compression);
    if (bits == 8) {
        // Two colours in the table, then run-length data that ends the
        // bitmap at once.
        PutU32LE(&bmp[46], 2);
        PutU32LE(&bmp[10], 62);
        bmp[63] = 1;
    }
    return bmp;
}

// A GIF of 35 bytes declaring 13000 x 13000 pixels: ten bytes of LZW data.
std::vector<uint8_t> HugeGifDeclaration()
{
    std::vector<uint8_t> gif = {'G', 'I', 'F', '8', '9', 'a', 0xC8, 0x32, 0xC8, 0x32, 0, 0, 0,
                                0x2C, 0, 0, 0, 0, 0xC8, 0x32, 0xC8, 0x32, 0, 2, 10};
    for (int i = 0; i < 10; ++i)
        gif.push_back(uint8_t(0x44 + i));
    return gif;
}

void LoadBmp(const std::vector<uint8_t>& bytes)
{
    CDibImage image;
    Load(image, bytes, kPictureBmp);
}

void LoadGif(const std::vector<uint8_t>& bytes)
{
    CDibImage image;
    Load(image, bytes, kPictureGif);
}

TEST(PictureBounds, FilesDeclaringHugePicturesWithoutTheirPixelsAreRefused)
{
    for (const auto& bmp : {HugeBmpDeclaration(0, 24), HugeBmpDeclaration(1, 8)}) {
        CDibImage image;
        EXPECT_FALSE(Load(image, bmp, kPictureBmp));
        EXPECT_TRUE(image.IsEmpty());
        EXPECT_STREQ(image.ErrorText(), kPictureNoPixelsText);
        EXPECT_LT(PeakMemoryGrowthInChild(LoadBmp, bmp), 32 << 20);
    }
    const std::vector<uint8_t> gif = HugeGifDeclaration();
    ASSERT_EQ(gif.size(), 35u);
    CDibImage image;
    // Ten bytes of codes make a few pixels: not one row of 13000.
    EXPECT_FALSE(Load(image, gif, kPictureGif));
    EXPECT_STREQ(image.ErrorText(), kPictureNoPixelsText);
    EXPECT_LT(PeakMemoryGrowthInChild(LoadGif, gif), 32 << 20);
}

TEST(PictureBounds, AShortFileGivesThePictureOfTheRowsItHolds)
{
    // A bitmap stores its bottom row first: the rows there are the bottom.
    std::vector<uint8_t> bmp = MakeTestBmp(20, 10, true);
    const uint32_t stride = (20 * 24 + 31) / 32 * 4;
    std::vector<uint8_t> shortBmp(bmp.begin(), bmp.begin() + 54 + 4 * stride + 7);
    CDibImage whole, part;
    ASSERT_TRUE(Load(whole, bmp, kPictureBmp));
    ASSERT_TRUE(Load(part, shortBmp, kPictureBmp));
    EXPECT_EQ(part.GetWidth(), 20);
    EXPECT_EQ(part.GetHeight(), 4);
    const std::vector<uint8_t> all = PictureRgb(whole), kept = PictureRgb(part);
    EXPECT_TRUE(std::equal(kept.begin(), kept.end(), all.end() - kept.size()));

    // A GIF stores its top row first; its data cut short keeps the top.
    std::vector<uint8_t> indices(size_t(16 * 12));
    for (size_t i = 0; i < indices.size(); ++i)
        indices[i] = uint8_t(i % 3);
    const std::vector<uint8_t> table = {0, 0, 0, 255, 0, 0, 0, 0, 255, 255, 255, 255};
    for (bool interlaced : {false, true}) {
        std::vector<uint8_t> gif = MakeTestGif(16, 12, indices, table, interlaced, -1);
        CDibImage full;
        ASSERT_TRUE(Load(full, gif, kPictureGif));
        EXPECT_EQ(full.GetHeight(), 12);
        gif.resize(gif.size() / 2);
        CDibImage cut;
        ASSERT_TRUE(Load(cut, gif, kPictureGif)) << interlaced;
        EXPECT_GT(cut.GetHeight(), 0);
        EXPECT_LE(cut.GetHeight(), 12);
        if (!interlaced) {
            EXPECT_LT(cut.GetHeight(), 12);
            const std::vector<uint8_t> top = PictureRgb(cut), ref = PictureRgb(full);
            EXPECT_TRUE(std::equal(top.begin(), top.end(), ref.begin()));
        }
    }
}

TEST(PictureBounds, TheLimitRefusesWithAMessageAndLetsLargeRealPicturesThrough)
{
    EXPECT_TRUE(PicturePixelsAllowed(15000, 10000));   // a 150 million pixel camera
    EXPECT_TRUE(PicturePixelsAllowed(9921, 14031));    // A4 scanned at 1200 dpi
    EXPECT_FALSE(PicturePixelsAllowed(32768, 32768));
    EXPECT_FALSE(PicturePixelsAllowed(0, 10));

    // A GIF declaring more than the limit is refused before any decoding.
    std::vector<uint8_t> gif = HugeGifDeclaration();
    PutU16LE(&gif[18], 30000);
    PutU16LE(&gif[20], 30000);
    CDibImage image;
    EXPECT_FALSE(Load(image, gif, kPictureGif));
    EXPECT_STREQ(image.ErrorText(), kPictureTooLargeText);
}

// The program reads bitmap and GIF files through its imaging layer: there
// too a file that holds none of the pixels it declares is refused, without
// the memory of the declared picture, and real pictures (a large one that
// compresses to almost nothing among them) load as before.
std::string g_probePath;

void LoadThroughImaging(const std::vector<uint8_t>& bytes)
{
    FILE* f = std::fopen(g_probePath.c_str(), "wb");
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
    ImagingFileInfo info;
    ImagingBitmap bitmap;
    if (ImagingBitmap::ReadFileInfo(g_probePath, &info))
        bitmap.LoadFile(g_probePath, info);
}

bool LoadsThroughImaging(const std::vector<uint8_t>& bytes, int* width = nullptr, int* height = nullptr)
{
    FILE* f = std::fopen(g_probePath.c_str(), "wb");
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
    ImagingFileInfo info;
    ImagingBitmap bitmap;
    if (!ImagingBitmap::ReadFileInfo(g_probePath, &info) || !bitmap.LoadFile(g_probePath, info))
        return false;
    if (width)
        *width = info.width;
    if (height)
        *height = info.height;
    return true;
}

TEST(PictureBounds, TheProgramsImagingLayerRefusesDeclarationsWithoutPixels)
{
    TempDir dir;
    g_probePath = dir.file("picture");
    for (int side : {13000, 4000}) {
        SCOPED_TRACE(side);
        std::vector<std::vector<uint8_t>> files = {HugeBmpDeclaration(0, 24), HugeBmpDeclaration(1, 8),
                                                   HugeGifDeclaration()};
        for (int i = 0; i < 2; ++i) {
            PutI32LE(&files[size_t(i)][18], side);
            PutI32LE(&files[size_t(i)][22], side);
        }
        for (int at : {6, 8, 18, 20})
            PutU16LE(&files[2][size_t(at)], uint16_t(side));
        for (const auto& bytes : files) {
            EXPECT_FALSE(LoadsThroughImaging(bytes)) << bytes.size() << " bytes";
            EXPECT_LT(PeakMemoryGrowthInChild(LoadThroughImaging, bytes), 32 << 20);
        }
    }

    int width = 0, height = 0;
    EXPECT_TRUE(LoadsThroughImaging(MakeTestBmp(20, 10, true), &width, &height));
    EXPECT_EQ(width, 20);
    const std::vector<uint8_t> table = {0, 0, 0, 255, 255, 255};
    EXPECT_TRUE(LoadsThroughImaging(MakeTestGif(16, 12, std::vector<uint8_t>(16 * 12, 1), table, false, -1)));
    // A thousand pixels square of one colour in runs: ten kilobytes.
    std::vector<uint8_t> blank = HugeBmpDeclaration(1, 8);
    blank.resize(62);
    PutI32LE(&blank[18], 1000);
    PutI32LE(&blank[22], 1000);
    for (int row = 0; row < 1000; ++row)
        blank.insert(blank.end(), {255, 0, 255, 0, 255, 0, 235, 0, 0, 0});
    blank.insert(blank.end(), {0, 1});
    PutU32LE(&blank[2], uint32_t(blank.size()));
    ASSERT_LT(blank.size() * 64, 1000000u);
    EXPECT_TRUE(LoadsThroughImaging(blank, &width, &height));
    EXPECT_EQ(height, 1000);
}

// A PNG chunk the picture makes no use of (a suggested palette, a text)
// is skipped unread: one claiming two gigabytes gets no memory, and small
// ones leave the picture as it was.
void PutBigEndian(uint8_t* at, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        at[i] = uint8_t(value >> (24 - 8 * i));
}

std::vector<uint8_t> WithChunkAfterHeader(std::vector<uint8_t> png, const char* type, uint32_t claimed,
                                          const std::string& data)
{
    std::vector<uint8_t> chunk(8);
    PutBigEndian(&chunk[0], claimed);
    std::memcpy(&chunk[4], type, 4);
    chunk.insert(chunk.end(), data.begin(), data.end());
    uint8_t crc[4];
    PutBigEndian(crc, uint32_t(crc32(crc32(0, chunk.data() + 4, 4), reinterpret_cast<const Bytef*>(data.data()),
                                 uInt(data.size()))));
    chunk.insert(chunk.end(), crc, crc + 4);
    // After the signature (8 bytes) and the header chunk (25).
    png.insert(png.begin() + 33, chunk.begin(), chunk.end());
    return png;
}

void LoadPng(const std::vector<uint8_t>& bytes)
{
    CDibImage image;
    Load(image, bytes, kPicturePng);
}

TEST(PictureBounds, PngChunksThePictureDoesNotUseAreSkippedUnread)
{
    QImage picture(12, 8, QImage::Format_RGB32);
    picture.fill(0x2040C0);
    QByteArray encoded;
    QBuffer buffer(&encoded);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(picture.save(&buffer, "PNG"));
    const std::vector<uint8_t> png(encoded.begin(), encoded.end());
    CDibImage plain;
    ASSERT_TRUE(Load(plain, png, kPicturePng));

    for (const char* type : {"sPLT", "tEXt", "iCCP"}) {
        SCOPED_TRACE(type);
        const std::string data = std::string(type) == "tEXt" ? std::string("Title\0A label", 13) : "x";
        CDibImage with;
        EXPECT_TRUE(Load(with, WithChunkAfterHeader(png, type, uint32_t(data.size()), data), kPicturePng));
        EXPECT_EQ(PictureRgb(with), PictureRgb(plain));
        // Its length says 0x73737373 bytes; the file ends long before.
        const std::vector<uint8_t> claims = WithChunkAfterHeader(png, type, 0x73737373u, "");
        CDibImage refused;
        EXPECT_FALSE(Load(refused, claims, kPicturePng));
        EXPECT_LT(PeakMemoryGrowthInChild(LoadPng, claims), 32 << 20);
    }
}

}  // namespace
