// A picture is as large as the pixels its file holds: a header may declare
// any size, but a file without the rows gets only those it has (none:
// refused with a message), and compressed data stops at the pixel limit.

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "foundation/byte_order.h"
#include "graphics/dib_image.h"
#include "graphics/picture_limits.h"
#include "picture_test_support.h"

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

}  // namespace
