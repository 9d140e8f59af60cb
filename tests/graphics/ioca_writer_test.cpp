// IOCA export: the file is walked field by field by a reader written here
// from the format's public definition (not from the writer's constants),
// and its image data is compared bit for bit with the picture's black and
// white.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QImage>

#include <cstdint>
#include <string>
#include <vector>

#include "graphics/imaging_formats.h"
#include "graphics/picture_writers.h"

namespace {

struct Field {
    uint16_t code = 0;      // 0xFE92 for the two-byte codes
    std::vector<uint8_t> data;
};

// Self-defining fields: a one-byte code and a one-byte length, or 0xFE, a
// second code byte and a two-byte big-endian length. Empty when a length
// runs past the end.
std::vector<Field> Walk(const QByteArray& bytes)
{
    const auto* p = reinterpret_cast<const uint8_t*>(bytes.constData());
    const size_t size = size_t(bytes.size());
    std::vector<Field> fields;
    size_t at = 0;
    while (at < size) {
        Field f;
        size_t length = 0;
        if (p[at] == 0xFE) {
            if (at + 4 > size)
                return {};
            f.code = uint16_t(0xFE00 | p[at + 1]);
            length = size_t(p[at + 2]) << 8 | p[at + 3];
            at += 4;
        } else {
            if (at + 2 > size)
                return {};
            f.code = p[at];
            length = p[at + 1];
            at += 2;
        }
        if (at + length > size)
            return {};
        f.data.assign(p + at, p + at + length);
        at += length;
        fields.push_back(std::move(f));
    }
    return fields;
}

unsigned U16(const std::vector<uint8_t>& d, size_t at) { return unsigned(d[at]) << 8 | d[at + 1]; }

// Dark ink on a light ground with an odd width, and a long picture whose
// data takes several Image Data fields.
QImage Inked(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, (x * 5 + y * 3) % 7 < 3 || x == width - 1 ? qRgb(30, 10, 60) : qRgb(245, 235, 190));
    return image;
}

TEST(IocaWriter, FieldsInOrderWithTheSizeAndTheBitsOfThePicture)
{
    for (const QImage& source : {Inked(37, 11), Inked(1203, 170)}) {
        QImage image = source;
        image.setDotsPerMeterX(11811);  // 300 dpi
        image.setDotsPerMeterY(7874);   // 200 dpi
        const PictureWriter write = OwnPictureWriter(kImagingIoca);
        ASSERT_NE(write, nullptr);
        QByteArray bytes;
        ASSERT_TRUE(write(image, &bytes));
        const std::vector<Field> fields = Walk(bytes);
        ASSERT_GE(fields.size(), 8u) << image.width();

        // Begin Segment, Begin Image Content (an image object), Image
        // Size, Image Encoding, IDE Size, then only Image Data up to End
        // Image Content and End Segment.
        const std::vector<uint16_t> head = {0x70, 0x91, 0x94, 0x95, 0x96};
        for (size_t i = 0; i < head.size(); ++i)
            EXPECT_EQ(fields[i].code, head[i]) << i;
        EXPECT_EQ(fields[1].data, std::vector<uint8_t>{0xFF});
        const std::vector<uint8_t>& size = fields[2].data;
        ASSERT_EQ(size.size(), 9u);
        EXPECT_EQ(size[0], 0x00);  // per ten inches
        EXPECT_EQ(U16(size, 1), 3000u);
        EXPECT_EQ(U16(size, 3), 2000u);
        EXPECT_EQ(U16(size, 5), unsigned(image.width()));
        EXPECT_EQ(U16(size, 7), unsigned(image.height()));
        // Uncompressed, rows one after the other, the first pixel first.
        EXPECT_EQ(fields[3].data, (std::vector<uint8_t>{0x03, 0x01, 0x00}));
        EXPECT_EQ(fields[4].data, std::vector<uint8_t>{0x01});
        EXPECT_EQ(fields[fields.size() - 2].code, 0x93);
        EXPECT_EQ(fields.back().code, 0x71);
        EXPECT_TRUE(fields[fields.size() - 2].data.empty());
        EXPECT_TRUE(fields.back().data.empty());

        std::vector<uint8_t> data;
        for (size_t i = head.size(); i + 2 < fields.size(); ++i) {
            EXPECT_EQ(fields[i].code, 0xFE92) << i;
            data.insert(data.end(), fields[i].data.begin(), fields[i].data.end());
        }
        const size_t rowBytes = (size_t(image.width()) + 7) / 8;
        ASSERT_EQ(data.size(), rowBytes * size_t(image.height()));
        // 1 is ink: a pixel darker than mid grey.
        int wrong = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const bool ink = qGray(image.pixel(x, y)) < 128;
                const bool bit = data[size_t(y) * rowBytes + size_t(x / 8)] & (0x80 >> (x % 8));
                wrong += ink != bit;
            }
        EXPECT_EQ(wrong, 0) << image.width();
        // The padding at the end of each row is blank.
        if (image.width() % 8) {
            for (int y = 0; y < image.height(); ++y)
                EXPECT_EQ(data[size_t(y) * rowBytes + rowBytes - 1] & (0xFF >> (image.width() % 8)), 0);
        }
    }
}

TEST(IocaWriter, PicturesTheSizeFieldsCannotHoldAreRefused)
{
    QByteArray out("old");
    EXPECT_FALSE(OwnPictureWriter(kImagingIoca)(QImage(40000, 1, QImage::Format_Mono), &out));
    EXPECT_TRUE(out.isEmpty());
    EXPECT_FALSE(OwnPictureWriter(kImagingIoca)(QImage(), &out));
    // A picture of the screen's resolution.
    QImage plain(8, 2, QImage::Format_RGB32);
    plain.fill(Qt::black);
    ASSERT_TRUE(OwnPictureWriter(kImagingIoca)(plain, &out));
    const std::vector<Field> fields = Walk(out);
    ASSERT_GE(fields.size(), 3u);
    EXPECT_EQ(U16(fields[2].data, 1), 960u);
}

}  // namespace
