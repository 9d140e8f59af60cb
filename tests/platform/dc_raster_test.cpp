#include <gtest/gtest.h>

#include "dc_test_support.h"
#include "platform/raster_ops.h"

namespace {

constexpr ColorRef kRed = MakeRgb(255, 0, 0);
constexpr ColorRef kBlue = MakeRgb(0, 0, 255);

TEST(DcRaster, EveryBinaryOperationCombinesPenAndDestinationBits)
{
    // Each code is a truth table over (pen, destination): probe it with a
    // pen and a destination whose bits cover all four combinations.
    const ColorRef pen = MakeRgb(0x0F, 0x33, 0xC3);
    const ColorRef dest = MakeRgb(0x55, 0x0F, 0xA5);
    for (int32_t rop = R2_BLACK; rop <= R2_WHITE; ++rop) {
        DcCanvas c(8, 8, dest);
        c.dc->setRop2(rop);
        c.dc->selectBrush(Brush::Solid(pen));
        c.dc->selectPen(Pen{PS_NULL, 0, 0});
        c.dc->rectangle(0, 0, 4, 4);
        ColorRef want = 0;
        for (int bit = 0; bit < 24; ++bit) {
            const int p = (pen >> bit) & 1;
            const int d = (dest >> bit) & 1;
            if (((rop - 1) >> (p * 2 + d)) & 1)
                want |= 1u << bit;
        }
        EXPECT_EQ(c.at(1, 1), want) << "rop " << rop;
        EXPECT_EQ(c.at(5, 5), dest) << "rop " << rop;
        EXPECT_EQ(c.image.pixel(1, 1) >> 24, 0xFFu) << "the surface stays opaque, rop " << rop;
    }
}

TEST(DcRaster, NotXorDrawnTwiceRestoresTheImageAndKeepsItOpaque)
{
    for (QImage::Format format : {QImage::Format_RGB32, QImage::Format_ARGB32, QImage::Format_ARGB32_Premultiplied}) {
        QImage image(30, 20, format);
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 30; ++x)
                image.setPixel(x, y, qRgb(x * 8, y * 12, (x * y) & 0xFF));
        const QImage before = image.copy();
        auto dc = Dc::ForImage(&image);
        dc->setRop2(R2_NOTXORPEN);
        dc->selectPen(Pen{PS_SOLID, 0, MakeRgb(200, 30, 90)});
        dc->selectBrush(Brush::Solid(kWhite));
        for (int pass = 0; pass < 2; ++pass) {
            dc->rectangle(2, 2, 20, 15);
            dc->moveTo(0, 19);
            dc->lineTo(29, 0);
            dc->ellipse(5, 3, 27, 18);
            if (pass == 0) {
                EXPECT_NE(image, before);
            }
        }
        EXPECT_EQ(image, before) << "format " << format;
        for (int y = 0; y < 20; ++y) {
            for (int x = 0; x < 30; ++x) {
                ASSERT_EQ(qAlpha(image.pixel(x, y)), 255);
            }
        }
    }
}

TEST(DcRaster, TernaryBlitOperationsCombinePatternSourceAndDestination)
{
    const QRgb src = qRgb(0x0F, 0x33, 0xC3);
    const ColorRef dest = MakeRgb(0x55, 0x0F, 0xA5);
    const ColorRef pattern = MakeRgb(0x3C, 0xF0, 0x99);
    QImage source(2, 2, QImage::Format_RGB32);
    source.fill(src);
    const ColorRef s = FromQColor(QColor(src));
    for (uint32_t rop : std::vector<uint32_t>{SRCCOPY, SRCPAINT, SRCAND, SRCINVERT, SRCERASE, NOTSRCCOPY, NOTSRCERASE, MERGECOPY,
                         MERGEPAINT, PATCOPY, PATPAINT, PATINVERT, DSTINVERT, BLACKNESS, WHITENESS, uint32_t(DSXN)}) {
        DcCanvas c(6, 6, dest);
        c.dc->selectBrush(Brush::Solid(pattern));
        ASSERT_TRUE(c.dc->stretchImage(IntRect{1, 1, 5, 5}, source, QRect(), rop));
        ColorRef want = 0;
        for (int bit = 0; bit < 24; ++bit) {
            const int i = (((pattern >> bit) & 1) << 2) | (((s >> bit) & 1) << 1) | ((dest >> bit) & 1);
            if ((rop >> (16 + i)) & 1)
                want |= 1u << bit;
        }
        EXPECT_EQ(c.at(2, 2), want) << std::hex << rop;
        EXPECT_EQ(c.at(0, 0), dest) << std::hex << rop;
        EXPECT_EQ(c.at(5, 5), dest) << "right and bottom excluded " << std::hex << rop;
    }
}

// A 4 x 2 packed bitmap of 8 bits a pixel with the given table and rows
// (rows given top first; stored bottom-up).
std::vector<uint8_t> PackedDib(const std::vector<QRgb>& table, const std::vector<std::vector<uint8_t>>& rows)
{
    const int w = int(rows[0].size());
    const int h = int(rows.size());
    const int stride = (w + 3) / 4 * 4;
    std::vector<uint8_t> b(40 + 4 * table.size() + size_t(stride * h), 0);
    auto put32 = [&](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i)
            b[at + size_t(i)] = uint8_t(v >> (8 * i));
    };
    put32(0, 40);
    put32(4, uint32_t(w));
    put32(8, uint32_t(h));
    b[12] = 1;
    b[14] = 8;
    put32(32, uint32_t(table.size()));
    for (size_t i = 0; i < table.size(); ++i) {
        b[40 + 4 * i] = uint8_t(qBlue(table[i]));
        b[41 + 4 * i] = uint8_t(qGreen(table[i]));
        b[42 + 4 * i] = uint8_t(qRed(table[i]));
    }
    const size_t bits = 40 + 4 * table.size();
    for (int r = 0; r < h; ++r)
        for (int x = 0; x < w; ++x)
            b[bits + size_t((h - 1 - r) * stride + x)] = rows[size_t(r)][size_t(x)];
    return b;
}

TEST(DcRaster, TransparentMaskPairKeepsTheBackgroundWhereTheMaskIsWhite)
{
    // Picture: red where it is opaque, white where the key colour was.
    // Mask: black where opaque, white where transparent.
    const auto picture = PackedDib({qRgb(255, 0, 0), qRgb(255, 255, 255)}, {{0, 1, 1, 0}, {0, 0, 1, 1}});
    const auto mask = PackedDib({qRgb(0, 0, 0), qRgb(255, 255, 255)}, {{0, 1, 1, 0}, {0, 0, 1, 1}});
    DcCanvas c(8, 4, kBlue);
    // Inclusive rectangle (0, 0, 7, 3): width and height counted by the caller.
    ASSERT_EQ(c.dc->stretchDIBits(0, 0, 8, 4, 0, 0, 4, 2, mask.data() + 48, mask.data(), MERGEPAINT), 2);
    ASSERT_EQ(c.dc->stretchDIBits(0, 0, 8, 4, 0, 0, 4, 2, picture.data() + 48, picture.data(), SRCAND), 2);
    EXPECT_EQ(c.mask(kRed, 0, 0, 8, 4), "##....##\n##....##\n####....\n####....\n");
    EXPECT_EQ(c.mask(kBlue, 0, 0, 8, 4), "..####..\n..####..\n....####\n....####\n");
}

TEST(DcRaster, APictureDrawnAgainAfterItsBytesChangedShowsTheChange)
{
    // The same buffer drawn twice, as a print job does card after card;
    // what changed in between must show, pixel or colour table alike.
    auto picture = PackedDib({qRgb(255, 0, 0), qRgb(0, 0, 255)}, {{0, 0, 0, 0}, {0, 0, 0, 0}});
    DcCanvas c(4, 2);
    ASSERT_EQ(c.dc->stretchDIBits(0, 0, 4, 2, 0, 0, 4, 2, picture.data() + 48, picture.data(), SRCCOPY), 2);
    EXPECT_EQ(c.mask(kRed, 0, 0, 4, 2), "####\n####\n");
    picture[48 + 2] = 1;  // bottom row, third pixel
    ASSERT_EQ(c.dc->stretchDIBits(0, 0, 4, 2, 0, 0, 4, 2, picture.data() + 48, picture.data(), SRCCOPY), 2);
    EXPECT_EQ(c.mask(kBlue, 0, 0, 4, 2), "....\n..#.\n");
    picture[42] = 0;  // colour 0 loses its red: black
    ASSERT_EQ(c.dc->stretchDIBits(0, 0, 4, 2, 0, 0, 4, 2, picture.data() + 48, picture.data(), SRCCOPY), 2);
    EXPECT_EQ(c.mask(kBlack, 0, 0, 4, 2), "####\n##.#\n");
}

TEST(DcRaster, PatternBrushPaintsZeroBitsInTheTextColourAlignedToTheBrushOrigin)
{
    MonoPattern checker;
    for (int r = 0; r < 8; ++r)
        checker.rows[r] = (r & 1) ? 0x55 : 0xAA;  // bit 7 of row 0 set: pixel (0, 0) is a 1 bit
    for (int org : {0, 3}) {
        DcCanvas c(16, 8);
        c.dc->setTextColor(kRed);
        c.dc->setBkColor(kBlue);
        c.dc->setBkMode(TRANSPARENT);  // pattern brushes paint both colours anyway
        c.dc->setBrushOrg(org, 0);
        c.dc->fillRect(IntRect{0, 0, 16, 8}, Brush::Pattern(checker));
        // Pixel (org, 0) is pattern pixel (0, 0): a 1 bit, the background colour.
        EXPECT_EQ(c.at(org, 0), kBlue) << org;
        EXPECT_EQ(c.at(org + 1, 0), kRed) << org;
        EXPECT_EQ(c.at(org, 1), kRed) << org;
        EXPECT_EQ(c.at(org + 8, 0), kBlue) << org;
    }
}

TEST(DcRaster, HatchesFillInTheBrushColourOverTheBackgroundMode)
{
    DcCanvas c(16, 16, kBlue);
    c.dc->setBkMode(TRANSPARENT);
    c.dc->fillRect(IntRect{0, 0, 16, 16}, Brush::Hatched(HS_FDIAGONAL, kRed));
    // Down from left to right, through the brush origin, every 8 pixels.
    EXPECT_EQ(c.mask(kRed, 0, 0, 10, 4), "#.......#.\n.#.......#\n..#.......\n...#......\n");
    EXPECT_EQ(c.at(1, 0), kBlue) << "transparent mode leaves the gaps";

    DcCanvas b(16, 16, kWhite);
    b.dc->setBkColor(kBlue);
    b.dc->fillRect(IntRect{0, 0, 16, 16}, Brush::Hatched(HS_BDIAGONAL, kRed));
    EXPECT_EQ(b.mask(kRed, 0, 0, 8, 3), "#.......\n.......#\n......#.\n");
    EXPECT_EQ(b.at(1, 0), kBlue) << "opaque mode fills the gaps with the background colour";

    DcCanvas h(8, 8);
    h.dc->fillRect(IntRect{0, 0, 8, 8}, Brush::Hatched(HS_CROSS, kRed));
    EXPECT_EQ(h.mask(kRed, 0, 0, 3, 3), "###\n#..\n#..\n");
}

TEST(DcRaster, InvertAndPatBltOperateOnTheRectangle)
{
    DcCanvas c(10, 10, MakeRgb(0x12, 0x34, 0x56));
    c.dc->invertRect(IntRect{2, 2, 5, 5});
    EXPECT_EQ(c.at(2, 2), MakeRgb(0xED, 0xCB, 0xA9));
    EXPECT_EQ(c.at(5, 5), MakeRgb(0x12, 0x34, 0x56));
    c.dc->selectBrush(Brush::Solid(MakeRgb(0xFF, 0, 0)));
    c.dc->patBlt(0, 0, 3, 3, PATINVERT);
    EXPECT_EQ(c.at(0, 0), MakeRgb(0xED, 0x34, 0x56));
    EXPECT_EQ(c.at(2, 2), MakeRgb(0x12, 0xCB, 0xA9));
    EXPECT_FALSE(c.dc->patBlt(0, 0, 3, 3, SRCCOPY)) << "a pattern blit has no source";
}

TEST(DcRaster, BlitsBetweenContextsStretchByNearestPixelAndMirror)
{
    DcCanvas src(4, 1);
    src.dc->setPixel(0, 0, kRed);
    src.dc->setPixel(3, 0, kBlue);
    DcCanvas dst(8, 2);
    ASSERT_TRUE(dst.dc->stretchBlt(0, 0, 8, 2, *src.dc, 0, 0, 4, 1, SRCCOPY));
    EXPECT_EQ(dst.mask(kRed, 0, 0, 8, 2), "##......\n##......\n");
    EXPECT_EQ(dst.mask(kBlue, 0, 0, 8, 2), "......##\n......##\n");
    ASSERT_TRUE(dst.dc->stretchBlt(8, 0, -8, 1, *src.dc, 0, 0, 4, 1, SRCCOPY));
    EXPECT_EQ(dst.mask(kBlue, 0, 0, 8, 1), "##......\n");
    ASSERT_TRUE(dst.dc->bitBlt(0, 1, 4, 1, *src.dc, 0, 0, NOTSRCCOPY));
    EXPECT_EQ(dst.at(0, 1), MakeRgb(0, 255, 255));
}

TEST(DcRaster, RopHelpersAgreeWithTheCodes)
{
    EXPECT_TRUE(Rop3UsesSource(Rop3Table(SRCCOPY)));
    EXPECT_FALSE(Rop3UsesSource(Rop3Table(PATINVERT)));
    EXPECT_TRUE(Rop3UsesDest(Rop3Table(DSTINVERT)));
    EXPECT_FALSE(Rop3UsesDest(Rop3Table(NOTSRCCOPY)));
    EXPECT_TRUE(Rop3UsesPattern(Rop3Table(MERGECOPY)));
}

}  // namespace
