// The export formats the program writes itself: their headers byte for
// byte, and every file read back, by the program's own GIF loader and by
// other decoders (ImageMagick for Targa, PCX and Sun raster, Ghostscript
// for EPS; ImageMagick, netpbm and the Python Imaging Library for the
// black-and-white formats and WordPerfect graphics) where those are
// installed.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QProcess>

#include <cstdint>
#include <string>
#include <vector>

#include "support/needed_tools.h"
#include "foundation/byte_order.h"
#include "foundation/path_record.h"
#include "graphics/eps_bounding_box.h"
#include "graphics/imaging_bitmap.h"
#include "graphics/imaging_formats.h"
#include "graphics/pcx_format.h"
#include "graphics/picture_loader.h"
#include "graphics/picture_test_support.h"
#include "graphics/picture_writers.h"
#include "graphics/sun_raster_format.h"
#include "graphics/tga_format.h"
#include "support/shell.h"
#include "support/temp_dir.h"

namespace {

// Flat areas (runs), single bytes with both top bits set, and an odd width.
QImage CardLike(int width = 37, int height = 11)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, x < 20 ? qRgb(255, 255, 255) : (x + y) % 3 ? qRgb(200, 16, 64) : qRgb(x * 6, 250, y * 20));
    return image;
}

// Every pixel a colour of its own: too many for a GIF palette.
QImage Photo()
{
    QImage image(40, 30, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgb(x * 6, y * 8, (x * y) % 256));
    return image;
}

// How far the bytes of two pictures of one size lie apart, on average.
double MeanError(const std::vector<uint8_t>& got, const std::vector<uint8_t>& want)
{
    int64_t error = 0;
    for (size_t i = 0; i < got.size(); ++i)
        error += std::abs(int(got[i]) - int(want[i]));
    return double(error) / double(got.size());
}

std::vector<uint8_t> Rgb(const QImage& image)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    std::vector<uint8_t> bytes;
    for (int y = 0; y < rgb.height(); ++y)
        bytes.insert(bytes.end(), rgb.constScanLine(y), rgb.constScanLine(y) + rgb.width() * 3);
    return bytes;
}

const uint8_t* Bytes(const QByteArray& a) { return reinterpret_cast<const uint8_t*>(a.constData()); }

uint32_t U32BE(const uint8_t* p) { return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3]; }

bool Have(const char* program)
{
    return HaveTool(program);
}

// The picture as raw RGB through another program; empty when it fails.
std::vector<uint8_t> Decode(const QStringList& command, const QByteArray& input = {})
{
    QProcess process;
    process.start(command.first(), command.mid(1));
    if (!process.waitForStarted(10000))
        return {};
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return {};
    const QByteArray out = process.readAllStandardOutput();
    return std::vector<uint8_t>(out.begin(), out.end());
}

std::vector<uint8_t> DecodeWithImageMagick(const std::string& file)
{
    return Decode({"convert", QString::fromStdString(file), "-auto-orient", "-depth", "8", "rgb:-"});
}

TEST(PictureWriters, TargaHeaderRowsAndFooter)
{
    const QImage image = CardLike();
    QByteArray tga;
    ASSERT_TRUE(WriteTgaPicture(image, &tga));
    const uint8_t* b = Bytes(tga);
    ASSERT_EQ(size_t(tga.size()), kTgaHeaderSize + 37 * 11 * 3 + kTgaFooterSize);
    EXPECT_EQ(b[kTgaIdLengthOffset], 0);
    EXPECT_EQ(b[kTgaColourMapTypeOffset], 0);
    EXPECT_EQ(b[kTgaImageTypeOffset], 2);
    EXPECT_EQ(GetU16LE(b + kTgaWidthOffset), 37);
    EXPECT_EQ(GetU16LE(b + kTgaHeightOffset), 11);
    EXPECT_EQ(b[kTgaPixelBitsOffset], 24);
    EXPECT_EQ(b[kTgaDescriptorOffset], 0);  // rows from the bottom
    // The first stored pixel is the bottom-left one, blue first.
    const QRgb bottomLeft = image.pixel(0, 10);
    EXPECT_EQ(b[kTgaHeaderSize], qBlue(bottomLeft));
    EXPECT_EQ(std::string(tga.constData() + tga.size() - 18, 17), "TRUEVISION-XFILE.");
    EXPECT_EQ(tga.back(), '\0');
    // Qt's own Targa reader agrees.
    EXPECT_EQ(Rgb(QImage::fromData(tga, "TGA")), Rgb(image));
}

TEST(PictureWriters, PcxPlanesRunsAndPadding)
{
    const QImage image = CardLike();
    QByteArray pcx;
    ASSERT_TRUE(WritePcxPicture(image, &pcx));
    const uint8_t* b = Bytes(pcx);
    EXPECT_EQ(b[kPcxManufacturerOffset], 10);
    EXPECT_EQ(b[kPcxVersionOffset], 5);
    EXPECT_EQ(b[kPcxEncodingOffset], 1);
    EXPECT_EQ(b[kPcxPixelBitsOffset], 8);
    EXPECT_EQ(GetU16LE(b + kPcxXMaxOffset), 36);
    EXPECT_EQ(GetU16LE(b + kPcxYMaxOffset), 10);
    EXPECT_EQ(b[kPcxPlanesOffset], 3);
    EXPECT_EQ(GetU16LE(b + kPcxBytesPerLineOffset), 38);  // rounded up to even
    EXPECT_EQ(GetU16LE(b + kPcxPaletteInfoOffset), 1);

    // Decoding by hand: every plane row comes back to its 38 bytes, and a
    // lone byte of 0xC0 or more is always written as a run.
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    size_t at = kPcxHeaderSize;
    for (int y = 0; y < 11; ++y) {
        for (int plane = 0; plane < 3; ++plane) {
            std::vector<uint8_t> row;
            while (row.size() < 38) {
                ASSERT_LT(at, size_t(pcx.size()));
                const uint8_t c = b[at++];
                if ((c & 0xC0) == 0xC0) {
                    ASSERT_GE(c & 0x3F, 1);
                    row.insert(row.end(), c & 0x3F, b[at++]);
                } else {
                    row.push_back(c);
                }
            }
            ASSERT_EQ(row.size(), 38u) << "a run crosses the plane's row " << y;
            EXPECT_EQ(row[37], 0);
            for (int x = 0; x < 37; ++x)
                ASSERT_EQ(row[size_t(x)], rgb.constScanLine(y)[3 * x + plane]) << x << "," << y;
        }
    }
    EXPECT_EQ(at, size_t(pcx.size()));

    // A white row of 300 pixels needs runs of at most 63.
    QByteArray wide;
    ASSERT_TRUE(WritePcxPicture(CardLike(300, 1).copy(0, 0, 20, 1).scaled(300, 1), &wide));
    EXPECT_LT(wide.size(), int(kPcxHeaderSize + 3 * 6 * 2 + 6));
}

TEST(PictureWriters, SunRasterHeaderAndRows)
{
    const QImage image = CardLike();
    QByteArray ras;
    ASSERT_TRUE(WriteSunRasterPicture(image, &ras));
    const uint8_t* b = Bytes(ras);
    EXPECT_EQ(U32BE(b + kSunRasterMagicOffset), 0x59A66A95u);
    EXPECT_EQ(U32BE(b + kSunRasterWidthOffset), 37u);
    EXPECT_EQ(U32BE(b + kSunRasterHeightOffset), 11u);
    EXPECT_EQ(U32BE(b + kSunRasterDepthOffset), 24u);
    EXPECT_EQ(U32BE(b + kSunRasterLengthOffset), 112u * 11);  // 111 bytes padded to even
    EXPECT_EQ(U32BE(b + kSunRasterTypeOffset), 1u);
    EXPECT_EQ(U32BE(b + kSunRasterMapTypeOffset), 0u);
    EXPECT_EQ(U32BE(b + kSunRasterMapLengthOffset), 0u);
    EXPECT_EQ(size_t(ras.size()), kSunRasterHeaderSize + 112 * 11);
    const QRgb topLeft = image.pixel(21, 0);
    EXPECT_EQ(b[kSunRasterHeaderSize + 21 * 3], qBlue(topLeft));
    EXPECT_EQ(b[kSunRasterHeaderSize + 21 * 3 + 2], qRed(topLeft));
}

TEST(PictureWriters, GifKeepsFewColoursExactlyAndAManyColouredCardsFlatOnes)
{
    const QImage card = CardLike();
    QByteArray gif;
    ASSERT_TRUE(WriteGifPicture(card, &gif));
    EXPECT_TRUE(gif.startsWith("GIF8"));
    CDibImage decoded;
    auto loader = MakeGifLoader();
    ASSERT_TRUE(loader->load(Bytes(gif), size_t(gif.size()), decoded));
    EXPECT_EQ(PictureRgb(decoded), Rgb(card));
    // Every grey: as many colours as the palette holds, each kept exactly.
    QImage greys(256, 4, QImage::Format_RGB32);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 256; ++x)
            greys.setPixel(x, y, qRgb(x, x, x));
    ASSERT_TRUE(WriteGifPicture(greys, &gif));
    CDibImage everyGrey;
    ASSERT_TRUE(MakeGifLoader()->load(Bytes(gif), size_t(gif.size()), everyGrey));
    EXPECT_EQ(PictureRgb(everyGrey), Rgb(greys));
    // One more than it holds: the colours are shared, none taken for another.
    greys.setPixel(0, 3, qRgb(255, 0, 0));
    ASSERT_TRUE(WriteGifPicture(greys, &gif));
    ASSERT_TRUE(MakeGifLoader()->load(Bytes(gif), size_t(gif.size()), everyGrey));
    const std::vector<uint8_t> shared = PictureRgb(everyGrey);
    EXPECT_GT(shared[3 * 256 * 3], 200) << "the red pixel";
    EXPECT_LT(shared[3 * 256 * 3 + 1], 60) << "the red pixel";

    const QImage photo = Photo();
    ASSERT_TRUE(WriteGifPicture(photo, &gif));
    CDibImage quantised;
    ASSERT_TRUE(MakeGifLoader()->load(Bytes(gif), size_t(gif.size()), quantised));
    ASSERT_EQ(quantised.GetWidth(), 40);
    const std::vector<uint8_t> got = PictureRgb(quantised), want = Rgb(photo);
    ASSERT_EQ(got.size(), want.size());
    EXPECT_LT(MeanError(got, want), 12.0);

    // A card of more colours than a palette holds keeps its white, its black
    // and its flat fills exactly; only the photo's colours are shared.
    QImage mixed(120, 60, QImage::Format_RGB32);
    mixed.fill(qRgb(255, 255, 255));
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 120; ++x) {
            if (x >= 60 && y < 30)
                mixed.setPixel(x, y, qRgb(x * 2, y * 8, (x * y) % 256));
            else if (x >= 30 && x < 60 && y < 20)
                mixed.setPixel(x, y, qRgb(255, 128, 64));
            else if (y >= 50 && x < 40)
                mixed.setPixel(x, y, qRgb(0, 0, 0));
        }
    ASSERT_TRUE(WriteGifPicture(mixed, &gif));
    CDibImage flat;
    ASSERT_TRUE(MakeGifLoader()->load(Bytes(gif), size_t(gif.size()), flat));
    const std::vector<uint8_t> flatRgb = PictureRgb(flat);
    const auto at = [&](int x, int y) {
        const size_t i = (size_t(y) * 120 + size_t(x)) * 3;
        return qRgb(flatRgb[i], flatRgb[i + 1], flatRgb[i + 2]);
    };
    EXPECT_EQ(at(5, 5), qRgb(255, 255, 255));
    EXPECT_EQ(at(119, 59), qRgb(255, 255, 255));
    EXPECT_EQ(at(40, 10), qRgb(255, 128, 64));
    EXPECT_EQ(at(10, 55), qRgb(0, 0, 0));
}

TEST(PictureWriters, EpsIsARasterOnePointAPixel)
{
    TempDir dir;
    const QImage card = CardLike();
    QByteArray eps;
    ASSERT_TRUE(WriteEpsPicture(card, &eps));
    EXPECT_TRUE(eps.startsWith("%!PS-Adobe-3.0 EPSF-3.0\n"));
    EXPECT_TRUE(eps.endsWith("%%EOF\n"));
    for (const QByteArray& line : eps.split('\n')) {
        EXPECT_LE(line.size(), 255);
        if (line.startsWith('%')) {
            EXPECT_TRUE(line.startsWith("%%") || line.startsWith("%!")) << line.toStdString();
        }
        for (const char c : line)
            ASSERT_TRUE(c >= 32 && c < 127) << int(c);
    }
    WriteFileBytes(dir.file("card.eps"), eps.toStdString());
    PathRecord path{};
    ASSERT_EQ(PathRecordFromPosix(dir.file("card.eps"), &path), 0);
    IntRect box;
    ASSERT_EQ(EpsReadBoundingBox(&path, &box), 0);
    EXPECT_EQ(box.left, 0);
    EXPECT_EQ(box.top, 0);
    EXPECT_EQ(box.right, 37);
    EXPECT_EQ(box.bottom, 11);

    if (!Have("gs"))
        SKIP_FOR_MISSING_TOOL() << "Ghostscript is not installed";
    const std::vector<uint8_t> page = Decode({"gs", "-q", "-dSAFER", "-dBATCH", "-dNOPAUSE", "-sDEVICE=ppmraw",
                                              "-r72", "-g37x11", "-sOutputFile=-", "-"},
                                             eps);
    QImage rendered;
    ASSERT_TRUE(rendered.loadFromData(page.data(), int(page.size()), "PPM"));
    EXPECT_EQ(Rgb(rendered), Rgb(card));
}

TEST(PictureWriters, OtherDecodersReadWhatWeWrite)
{
    if (!Have("convert"))
        SKIP_FOR_MISSING_TOOL() << "ImageMagick is not installed";
    TempDir dir;
    const QImage card = CardLike();
    for (auto [code, name] : {std::pair{kImagingTga, "card.tga"}, {kImagingPcx, "card.pcx"},
                              {kImagingSunRaster, "card.ras"}, {kImagingGif, "card.gif"}}) {
        QByteArray bytes;
        ASSERT_TRUE(OwnPictureWriter(code)(card, &bytes)) << name;
        WriteFileBytes(dir.file(name), bytes.toStdString());
        EXPECT_EQ(DecodeWithImageMagick(dir.file(name)), Rgb(card)) << name;
    }
}

// Dark and light pixels far from mid grey, with an odd width: the
// black-and-white formats must give exactly these back.
QImage Inked(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, (x * 7 + y * 3) % 5 < 2 || (x > width / 2 && y == 1) ? qRgb(20, 20, 90) : qRgb(250, 240, 200));
    return image;
}

// What a reader gives back, as one byte a pixel: 1 for black, 0 for white
// (empty when it gave no picture, or one of another size).
std::vector<uint8_t> InkOf(const std::vector<uint8_t>& rgb, int width, int height)
{
    if (rgb.size() != size_t(width) * size_t(height) * 3)
        return {};
    std::vector<uint8_t> ink;
    for (size_t i = 0; i < rgb.size(); i += 3)
        ink.push_back(rgb[i] + rgb[i + 1] + rgb[i + 2] < 3 * 128 ? 1 : 0);
    return ink;
}

std::vector<uint8_t> InkOf(const QImage& image)
{
    return InkOf(Rgb(image), image.width(), image.height());
}

TEST(PictureWriters, BlackAndWhiteFormatsAndWordPerfectReadBackInOtherPrograms)
{
    TempDir dir;
    const bool magick = Have("convert"), netpbm = Have("gemtopnm"),
               pil = QProcess::execute("/usr/bin/python3", {"-c", "import PIL"}) == 0;
    if (!magick || !netpbm || !pil)
        SKIP_FOR_MISSING_TOOL() << "ImageMagick, netpbm or the Python Imaging Library is not installed";
    auto write = [&](PictureWriter writer, const QImage& image, const std::string& name) {
        QByteArray bytes;
        EXPECT_TRUE(writer(image, &bytes)) << name;
        WriteFileBytes(dir.file(name), bytes.toStdString());
        return QString::fromStdString(dir.file(name));
    };
    auto magickRgb = [](const QString& file) { return Decode({"convert", file, "-depth", "8", "rgb:-"}); };
    // Narrow rows (stored as they are in a PICT), packed ones with a byte
    // count, and rows longer than 250 bytes with a two-byte count.
    for (const QImage& image : {Inked(37, 11), Inked(301, 9), Inked(2011, 3)}) {
        const int w = image.width(), h = image.height();
        const std::vector<uint8_t> want = InkOf(image);
        EXPECT_EQ(InkOf(magickRgb(write(OwnPictureWriter(kImagingMacPict), image, "card.pct")), w, h), want) << w;
        EXPECT_EQ(InkOf(magickRgb(write(OwnPictureWriter(kImagingCals), image, "card.cal")), w, h), want) << w;
        const QString gem = write(OwnPictureWriter(kImagingGemImage), image, "card.img");
        const std::vector<uint8_t> pnm = Decode({"gemtopnm", gem});
        EXPECT_EQ(InkOf(QImage::fromData(pnm.data(), int(pnm.size()))), want) << w;
        const QString msp = write(OwnPictureWriter(kImagingMsPaint), image, "card.msp");
        const std::vector<uint8_t> pilRgb =
            Decode({"/usr/bin/python3", "-c",
                    "import sys; from PIL import Image; sys.stdout.buffer.write(Image.open(sys.argv[1]).convert('RGB').tobytes())",
                    msp});
        EXPECT_EQ(InkOf(pilRgb, w, h), want) << w;
    }
    // WordPerfect keeps the colours: exactly when there are few, close when
    // a photograph needs a palette made for it.
    const QImage card = CardLike();
    EXPECT_EQ(magickRgb(write(OwnPictureWriter(kImagingWordPerfect), card, "card.wpg")), Rgb(card));
    const QImage photo = Photo().scaled(400, 300);
    const std::vector<uint8_t> got = magickRgb(write(OwnPictureWriter(kImagingWordPerfect), photo, "photo.wpg")),
                               want = Rgb(photo);
    ASSERT_EQ(got.size(), want.size());
    EXPECT_LT(MeanError(got, want), 12.0);
}

TEST(PictureWriters, OversizedPicturesAreRefusedAndTheOldFileStays)
{
    const QImage wide(70000, 1, QImage::Format_RGB32);
    QByteArray out;
    EXPECT_FALSE(WriteTgaPicture(wide, &out));
    EXPECT_FALSE(WritePcxPicture(wide, &out));
    EXPECT_FALSE(WriteGifPicture(wide, &out));
    EXPECT_TRUE(out.isEmpty());
    EXPECT_FALSE(WriteTgaPicture(QImage(), &out));
    EXPECT_EQ(OwnPictureWriter(kImagingLead), nullptr);
    EXPECT_EQ(OwnPictureWriter(kImagingWinFax), nullptr);

    // Through the engine: a refused picture leaves the file that was
    // there whole; a written one replaces it.
    TempDir dir;
    WriteFileBytes(dir.file("old.gif"), "the user's file");
    QImage white = wide;
    white.fill(Qt::white);
    ASSERT_TRUE(white.save(QString::fromStdString(dir.file("wide.png"))));
    ImagingFileInfo info;
    ImagingBitmap bitmap;
    ASSERT_TRUE(ImagingBitmap::ReadFileInfo(dir.file("wide.png"), &info));
    ASSERT_TRUE(bitmap.LoadFile(dir.file("wide.png"), info));
    EXPECT_FALSE(bitmap.SaveFile(dir.file("old.gif"), kImagingGif, 0, 0));
    EXPECT_EQ(ReadFileBytes(dir.file("old.gif")), "the user's file");

    const QImage card = CardLike();
    ASSERT_TRUE(card.save(QString::fromStdString(dir.file("card.png"))));
    ASSERT_TRUE(ImagingBitmap::ReadFileInfo(dir.file("card.png"), &info));
    ASSERT_TRUE(bitmap.LoadFile(dir.file("card.png"), info));
    ASSERT_TRUE(bitmap.SaveFile(dir.file("old.gif"), kImagingGif, 0, 0));
    EXPECT_EQ(Rgb(QImage(QString::fromStdString(dir.file("old.gif")))), Rgb(card));
}

}  // namespace
