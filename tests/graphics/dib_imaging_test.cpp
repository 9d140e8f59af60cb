#include <gtest/gtest.h>

#include <fstream>
#include <set>

#include <QImage>

#include "graphics/dib_imaging.h"
#include "graphics/dib_test_support.h"
#include "graphics/imaging_bitmap.h"
#include "graphics/imaging_formats.h"
#include "support/temp_dir.h"

namespace {

ColorRef Turned(DibHandle source, int32_t quarter, int32_t x, int32_t y)
{
    const int32_t w = DibHandleWidth(source), h = DibHandleHeight(source);
    switch (quarter) {
    case 1:
        return DibHandleGetPixel(source, y, h - 1 - x);
    case 2:
        return DibHandleGetPixel(source, w - 1 - x, h - 1 - y);
    default:
        return DibHandleGetPixel(source, w - 1 - y, x);
    }
}

TEST(DibImaging, QuarterTurnsMoveEveryPixelExactlyAndKeepTheDepth)
{
    for (int32_t bits : {1, 8, 24}) {
        DibHandleOwner source(MakeDib(5, 3, bits, [bits](int32_t x, int32_t y) {
            return bits == 1 ? ((x * 3 + y) % 4 ? kWhite : kBlack) : Pattern(x, y);
        }));
        for (int16_t angle : {90, 180, 270, -90}) {
            DibHandleOwner turned;
            ASSERT_EQ(DibHandleImportSdk(turned.get(), source.get(), angle, kWhite, false), 0);
            const int32_t quarter = (angle + 360) % 360 / 90;
            ASSERT_EQ(DibHandleWidth(turned.get()), quarter == 2 ? 5 : 3) << bits << " " << angle;
            EXPECT_EQ(DibHandleBitCount(turned.get()), bits);
            for (int32_t y = 0; y < DibHandleHeight(turned.get()); ++y) {
                for (int32_t x = 0; x < DibHandleWidth(turned.get()); ++x)
                    ASSERT_EQ(DibHandleGetPixel(turned.get(), x, y), Turned(source.get(), quarter, x, y))
                        << bits << " " << angle << " " << x << "," << y;
            }
        }
    }
}

TEST(DibImaging, FreeTurnsGrowAndNeverBlendColours)
{
    // A white-keyed picture: after turning, every pixel is still exactly
    // one of its colours or the background, so its mask stays exact.
    DibHandleOwner h(MakeDib(40, 20, 24, [](int32_t x, int32_t y) { return x > y ? 0x0000FFu : 0xFEFFFFu; }));
    ASSERT_EQ(DibHandleSdkTransform(h.get(), 30, kWhite), 0);
    EXPECT_EQ(DibHandleWidth(h.get()), 45);   // 40 cos 30 + 20 sin 30 = 44.6
    EXPECT_EQ(DibHandleHeight(h.get()), 38);  // 40 sin 30 + 20 cos 30 = 37.3
    const std::vector<ColorRef> pixels = Pixels(h.get());
    EXPECT_EQ(std::set<ColorRef>(pixels.begin(), pixels.end()), (std::set<ColorRef>{0x0000FF, 0xFEFFFF, kWhite}));
    EXPECT_EQ(DibHandleGetPixel(h.get(), 0, 0), kWhite);

    // A palette picture whose table is full takes an unused entry for the
    // background and stays at 8 bits.
    DibHandleOwner indexed(MakeDib(9, 9, 8, [](int32_t x, int32_t) { return x < 4 ? 0x00FF00u : 0x0000FFu; }));
    ASSERT_EQ(DibHandleCopy(h.get(), indexed.get()), 0);
    DibHandleOwner full;
    GlobalBlock g = nullptr;
    ASSERT_EQ(DibHandleToGlobal(indexed.get(), &g), 0);
    ASSERT_EQ(DibHandleFromGlobal(full.get(), g), 0);  // 256 entries now
    GlobalBlockFree(g);
    ASSERT_EQ(DibHandleImportSdk(h.get(), full.get(), 45, 0x123456, true), 0);
    EXPECT_TRUE(DibHandleIsEmpty(full.get()));
    EXPECT_EQ(DibHandleBitCount(h.get()), 8);
    const std::vector<ColorRef> turned = Pixels(h.get());
    EXPECT_EQ(std::set<ColorRef>(turned.begin(), turned.end()), (std::set<ColorRef>{0x00FF00, 0x0000FF, 0x123456}));

    DibHandleOwner empty;
    EXPECT_EQ(DibHandleImportSdk(h.get(), empty.get(), 10, kWhite, false), 1);
    EXPECT_FALSE(DibHandleIsEmpty(h.get()));  // refused before anything was cleared
}

TEST(DibImaging, ResamplingGivesTheSizeOfTheRectangleAtTheSameDepth)
{
    for (int32_t bits : {1, 4, 8, 24}) {
        DibHandleOwner source(MakeDib(3, 2, bits, [](int32_t x, int32_t y) { return (x + y) % 2 ? kWhite : 0u; }));
        DibHandleOwner dest;
        ASSERT_EQ(DibHandleConvertSdk(dest.get(), IntRect{10, 20, 15, 23}, source.get(), nullptr, false), 0);
        ASSERT_EQ(DibHandleWidth(dest.get()), 6);
        ASSERT_EQ(DibHandleHeight(dest.get()), 4);
        EXPECT_EQ(DibHandleBitCount(dest.get()), bits);
        for (int32_t y = 0; y < 4; ++y) {
            for (int32_t x = 0; x < 6; ++x)
                EXPECT_EQ(DibHandleGetPixel(dest.get(), x, y), DibHandleGetPixel(source.get(), x / 2, y / 2));
        }
    }
    DibHandleOwner source(MakeDib(30, 30, 24, Pattern)), dest;
    ASSERT_EQ(DibHandleConvertSdk(dest.get(), IntRect{0, 0, 9, 4}, source.get(), nullptr, true), 0);
    EXPECT_EQ(DibHandleWidth(dest.get()), 10);
    EXPECT_EQ(DibHandleHeight(dest.get()), 5);
    EXPECT_TRUE(DibHandleIsEmpty(source.get()));
    EXPECT_EQ(DibHandleConvertSdk(dest.get(), IntRect{0, 0, -1, 4}, dest.get(), nullptr, false), 1);
}

TEST(DibImaging, CrossingsKeepPixelsAndDepth)
{
    DibHandleOwner h(MakeDib(11, 3, 4, [](int32_t x, int32_t y) { return x == y ? 0x00FF00u : 0x800080u; }));
    ImagingBitmap bitmap;
    ASSERT_EQ(DibHandleToSdkBitmap(&bitmap, h.get(), false), 0);
    DibHandleOwner back;
    ASSERT_EQ(DibHandleFromSdkBitmap(back.get(), &bitmap, true), 0);
    EXPECT_TRUE(bitmap.image().isNull());
    EXPECT_EQ(DibHandleBitCount(back.get()), 4);
    EXPECT_EQ(Pixels(back.get()), Pixels(h.get()));

    ASSERT_EQ(DibHandleToSdkBitmap(&bitmap, h.get(), true), 0);
    EXPECT_TRUE(DibHandleIsEmpty(h.get()));
    EXPECT_EQ(DibHandleToSdkBitmap(&bitmap, h.get(), false), 1);
}

std::vector<ColorRef> LoadThroughEngine(const std::string& path, int32_t* format)
{
    ImagingBitmap bitmap;
    ImagingFileInfo info;
    EXPECT_TRUE(ImagingBitmap::ReadFileInfo(path, &info)) << path;
    *format = info.format;
    EXPECT_TRUE(bitmap.LoadFile(path, info)) << path;
    DibHandleOwner h;
    EXPECT_EQ(DibHandleFromSdkBitmap(h.get(), &bitmap, true), 0);
    return Pixels(h.get());
}

TEST(DibImaging, SavedFilesLoadBackWithTheirFormats)
{
    TempDir dir;
    DibHandleOwner h(MakeDib(17, 9, 24, Pattern));
    ImagingBitmap bitmap;
    ASSERT_EQ(DibHandleToSdkBitmap(&bitmap, h.get(), false), 0);
    for (auto [code, name] : {std::pair{kImagingBmp, "a.bmp"}, {kImagingPng, "a.png"}, {kImagingTiff, "a.tif"}}) {
        ASSERT_TRUE(bitmap.SaveFile(dir.file(name), code, 0, 0)) << name;
        int32_t format = 0;
        EXPECT_EQ(LoadThroughEngine(dir.file(name), &format), Pixels(h.get())) << name;
        EXPECT_EQ(format, code);
    }

    // JPEG loses a little on a smooth picture, and saves at quality 75
    // unless asked otherwise.
    DibHandleOwner smooth(MakeDib(32, 16, 24, [](int32_t x, int32_t y) { return MakeRgb(uint8_t(x * 8), uint8_t(y * 16), 128); }));
    ImagingBitmap photo;
    ASSERT_EQ(DibHandleToSdkBitmap(&photo, smooth.get(), false), 0);
    ASSERT_TRUE(photo.SaveFile(dir.file("a.jpg"), kImagingJpeg, 24, 0));
    int32_t format = 0;
    const std::vector<ColorRef> jpeg = LoadThroughEngine(dir.file("a.jpg"), &format);
    EXPECT_EQ(format, kImagingJpeg);
    const std::vector<ColorRef> exact = Pixels(smooth.get());
    ASSERT_EQ(jpeg.size(), exact.size());
    for (size_t i = 0; i < exact.size(); ++i) {
        ASSERT_NEAR(RedOf(jpeg[i]), RedOf(exact[i]), 24) << i;
        ASSERT_NEAR(GreenOf(jpeg[i]), GreenOf(exact[i]), 24) << i;
    }
    ASSERT_TRUE(photo.SaveFile(dir.file("b.jpg"), kImagingJpeg, 24, 100));
    std::ifstream low(dir.file("a.jpg"), std::ios::ate), high(dir.file("b.jpg"), std::ios::ate);
    EXPECT_LT(low.tellg(), high.tellg());  // 75 unless asked otherwise

    ASSERT_TRUE(bitmap.SaveFile(dir.file("mono.bmp"), kImagingBmp, 1, 0));
    EXPECT_EQ(QImage(QString::fromStdString(dir.file("mono.bmp"))).depth(), 1);
    EXPECT_FALSE(bitmap.SaveFile(dir.file("a.fxs"), kImagingWinFax, 0, 0));
    EXPECT_FALSE(QFile::exists(QString::fromStdString(dir.file("a.fxs"))));
}

TEST(DibImaging, FileInformationRecognisesPicturesMetafilesAndPostScript)
{
    TempDir dir;
    QImage alpha(2, 1, QImage::Format_ARGB32);
    alpha.setPixel(0, 0, qRgba(0, 0, 255, 255));
    alpha.setPixel(1, 0, qRgba(0, 0, 0, 0));
    ASSERT_TRUE(alpha.save(QString::fromStdString(dir.file("alpha.png"))));
    int32_t format = 0;
    // Transparency is laid over white, the colour that shows through.
    EXPECT_EQ(LoadThroughEngine(dir.file("alpha.png"), &format), (std::vector<ColorRef>{0xFF0000, kWhite}));

    auto write = [&](const std::string& name, const std::string& bytes) {
        std::ofstream(dir.file(name), std::ios::binary) << bytes;
        return dir.file(name);
    };
    ImagingFileInfo info;
    std::string placeable(44, '\0');
    placeable.replace(0, 4, "\xD7\xCD\xC6\x9A");
    ASSERT_TRUE(ImagingBitmap::ReadFileInfo(write("p.wmf", placeable), &info));
    EXPECT_EQ(info.format, kImagingWindowsMetafile);
    ImagingBitmap bitmap;
    EXPECT_FALSE(bitmap.LoadFile(dir.file("p.wmf"), info));
    ASSERT_TRUE(ImagingBitmap::ReadFileInfo(write("p.eps", "%!PS-Adobe-3.0 EPSF-3.0\n"), &info));
    EXPECT_EQ(info.format, kImagingPostScript);
    EXPECT_FALSE(ImagingBitmap::ReadFileInfo(write("p.txt", "just text"), &info));
    EXPECT_FALSE(ImagingBitmap::ReadFileInfo(dir.file("missing.png"), &info));
    EXPECT_FALSE(ImagingBitmap::ReadFileInfo(write("cut.png", "\x89PNG\r\n\x1a\n"), &info) &&
                 bitmap.LoadFile(dir.file("cut.png"), info));
}

}  // namespace
