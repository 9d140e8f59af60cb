// dib from-bmp, to-bmp and info, checked against Qt's own bitmap reader
// and writer.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include <QImage>

#include "support/shell.h"

namespace {

QImage Picture(QImage::Format format)
{
    QImage image(13, 7, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgb(x * 19, y * 35, (x * y) % 2 ? 255 : 30));
    }
    return image.convertToFormat(format);
}

bool SamePixels(const QImage& a, const QImage& b)
{
    if (a.size() != b.size())
        return false;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            if (a.pixel(x, y) != b.pixel(x, y))
                return false;
        }
    }
    return true;
}

TEST(DibTool, BitmapFilesRoundTripThroughTheProgramsFormWithEqualPixels)
{
    TempDir dir;
    for (QImage::Format format : {QImage::Format_RGB32, QImage::Format_Indexed8, QImage::Format_Mono}) {
        const QImage original = Picture(format);
        ASSERT_TRUE(original.save(QString::fromStdString(dir.file("in.bmp")), "BMP"));
        ASSERT_EQ(Shell(dir, "\"$T\" dib from-bmp in.bmp pic.dib && \"$T\" dib to-bmp pic.dib out.bmp"), 0);
        const QImage back(QString::fromStdString(dir.file("out.bmp")));
        EXPECT_TRUE(SamePixels(back, original)) << format;

        // The file form is the size word and the packed block.
        const std::string dib = ReadFileBytes(dir.file("pic.dib"));
        ASSERT_GT(dib.size(), 44u);
        EXPECT_EQ(uint8_t(dib[0]) | uint8_t(dib[1]) << 8 | uint8_t(dib[2]) << 16, int(dib.size()) - 4);
        EXPECT_EQ(dib[4], 40);
    }
    ASSERT_EQ(Shell(dir, "\"$T\" dib info pic.dib > info.txt"), 0);
    EXPECT_NE(ReadFileBytes(dir.file("info.txt")).find("width: 13\nheight: 7\nbits: 1\n"), std::string::npos);
}

TEST(DibTool, DamagedInputFailsWithAMessageAndNeverCrashes)
{
    TempDir dir;
    ASSERT_TRUE(Picture(QImage::Format_RGB32).save(QString::fromStdString(dir.file("in.bmp")), "BMP"));
    ASSERT_EQ(Shell(dir, "\"$T\" dib from-bmp in.bmp pic.dib"), 0);
    const std::string dib = ReadFileBytes(dir.file("pic.dib"));
    // Cut short, a table size beyond the depth, a huge width, plain junk.
    std::ofstream(dir.file("cut.dib"), std::ios::binary) << dib.substr(0, dib.size() - 1);
    std::string table = dib;
    table[4 + 32] = 1;
    std::ofstream(dir.file("table.dib"), std::ios::binary) << table;
    std::string wide = dib;
    wide[4 + 7] = 0x7F;
    std::ofstream(dir.file("wide.dib"), std::ios::binary) << wide;
    std::ofstream(dir.file("junk.bmp"), std::ios::binary) << "BM" << std::string(60, '\xFF');
    for (const char* file : {"cut.dib", "table.dib", "wide.dib", "junk.bmp", "missing.dib"}) {
        const std::string to = std::string("\"$T\" dib to-bmp ") + file + " out.bmp 2> err.txt";
        EXPECT_EQ(Shell(dir, to), 1) << file;
        EXPECT_NE(ReadFileBytes(dir.file("err.txt")).find("tessaline-tool: dib"), std::string::npos) << file;
        EXPECT_EQ(Shell(dir, std::string("\"$T\" dib info ") + file + " 2> /dev/null"), 1) << file;
    }
    EXPECT_EQ(Shell(dir, "\"$T\" dib from-bmp junk.bmp out.dib 2> /dev/null"), 1);
    EXPECT_EQ(Shell(dir, "\"$T\" dib frobnicate 2> /dev/null"), 1);
}

}  // namespace
