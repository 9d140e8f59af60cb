// The file side of the imaging engine: recognising, reading and writing
// picture files through Qt's image readers and writers.

#include <algorithm>
#include <cmath>
#include <cstring>

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QImageWriter>

#include "foundation/whole_file_writer.h"
#include "graphics/dib_image.h"
#include "graphics/imaging_bitmap.h"
#include "graphics/imaging_formats.h"
#include "graphics/imaging_image.h"
#include "graphics/picture_limits.h"
#include "graphics/picture_writers.h"

namespace {

constexpr int32_t kDefaultJpegQuality = 75;

QString QtPath(const std::string& path) { return QFile::decodeName(QByteArray::fromStdString(path)); }

int32_t DepthOfFormat(QImage::Format format)
{
    switch (format) {
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB:
        return 1;
    case QImage::Format_Indexed8:
    case QImage::Format_Grayscale8:
        return 8;
    default:
        return 24;
    }
}

// Bitmap and GIF files may declare far more pixels than their data holds,
// which the readers would make into a blank picture of the declared size.
// A file small beside its declared size is first read by the program's own
// reader, which refuses one that holds none of its pixels or more than the
// program takes.
constexpr int64_t kPixelsPerByteWithoutCheck = 64;

bool HoldsItsPixels(const QString& path, const std::string& qtFormat, const QSize& declared)
{
    const int32_t type = qtFormat == "bmp" ? kPictureBmp : qtFormat == "gif" ? kPictureGif : -1;
    if (type < 0 || declared.width() <= 0 || declared.height() <= 0)
        return true;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return true;
    if (int64_t(declared.width()) * declared.height() <= file.size() * kPixelsPerByteWithoutCheck)
        return true;
    const QByteArray bytes = file.readAll();
    CDibImage image;
    if (image.DibLoadBytesByType(reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size()), type))
        return true;
    return std::strcmp(image.ErrorText(), kPictureNoPixelsText) != 0 && !IsPictureTooLargeText(image.ErrorText());
}

}  // namespace

bool ImagingBitmap::ReadFileInfo(const std::string& path, ImagingFileInfo* info)
{
    if (!info)
        return false;
    *info = ImagingFileInfo();
    QImageReader reader(QtPath(path));
    if (reader.canRead()) {
        info->qtFormat = reader.format().toStdString();
        info->format = ImagingFormatFromQtName(info->qtFormat);
        const QSize size = reader.size();
        info->width = size.width();
        info->height = size.height();
        const QImage::Format format = reader.imageFormat();
        info->bits = DepthOfFormat(format);
        info->mayHaveAlpha = (info->qtFormat != "png" && info->qtFormat != "bmp") ||
                             format == QImage::Format_Invalid || info->bits <= 8 ||
                             QImage::toPixelFormat(format).alphaUsage() == QPixelFormat::UsesAlpha;
        return true;
    }
    QFile file(QtPath(path));
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = file.read(64);
    info->format = ImagingSniffVectorFormat(reinterpret_cast<const uint8_t*>(head.constData()), size_t(head.size()));
    return info->format != kImagingFormatNone;
}

bool ImagingBitmap::LoadFile(const std::string& path, const ImagingFileInfo& info, std::vector<uint8_t>* alpha)
{
    if (alpha)
        alpha->clear();
    Release();
    if (info.qtFormat.empty())
        return false;
    QImageReader reader(QtPath(path), QByteArray::fromStdString(info.qtFormat));
    if (!HoldsItsPixels(QtPath(path), info.qtFormat, reader.size()))
        return false;
    // A camera's orientation note turns the picture upright, as the
    // program's own JPEG reader does.
    reader.setAutoTransform(true);
    const QImage read = reader.read();
    if (read.isNull())
        return false;
    QImage image = WorkingImage(read);
    if (image.isNull())
        return false;
    // A palette's transparency (a GIF's) is one colour, which the mask of
    // its key colour already leaves out.
    if (alpha && read.hasAlphaChannel() && read.depth() > 8) {
        const QImage argb = read.convertToFormat(QImage::Format_ARGB32);
        alpha->reserve(size_t(argb.width()) * size_t(argb.height()));
        for (int y = 0; y < argb.height(); ++y) {
            const auto* row = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
            for (int x = 0; x < argb.width(); ++x)
                alpha->push_back(uint8_t(qAlpha(row[x])));
        }
        if (std::all_of(alpha->begin(), alpha->end(), [](uint8_t a) { return a == 255; }))
            alpha->clear();
    }
    const int32_t depth = WorkingImageDepth(image);
    Take(std::move(image), depth);
    return true;
}

bool ImagingBitmap::SetPixelsPerInch(int32_t pixelsPerInch)
{
    if (image_.isNull() || pixelsPerInch <= 0)
        return false;
    const int dotsPerMetre = int(std::lround(pixelsPerInch / 0.0254));
    image_.setDotsPerMeterX(dotsPerMetre);
    image_.setDotsPerMeterY(dotsPerMetre);
    return true;
}

bool ImagingBitmap::SaveFile(const std::string& path, int32_t format, int32_t bits, int32_t quality,
                             int32_t* writeError) const
{
    if (writeError)
        *writeError = 0;
    const PictureWriter own = OwnPictureWriter(format);
    const std::string writerName = own ? std::string() : ImagingWriterName(format);
    if (image_.isNull() || (!own && writerName.empty()))
        return false;
    QImage image = image_;
    switch (bits) {
    case 1:
        image = image.convertToFormat(QImage::Format_Mono, Qt::ThresholdDither);
        break;
    case 8:
        if (image.format() != QImage::Format_Indexed8)
            image = image.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither);
        break;
    case 24:
        image = image.convertToFormat(QImage::Format_RGB888);
        break;
    default:
        break;
    }
    if (image.isNull())
        return false;
    QByteArray bytes;
    if (own) {
        if (!own(image, &bytes))
            return false;
    } else {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, QByteArray::fromStdString(writerName));
        if (format == kImagingJpeg)
            writer.setQuality(quality > 0 && quality <= 100 ? quality : kDefaultJpegQuality);
        if (!writer.write(image))
            return false;
    }
    // The file the user had under that name stays whole until the new one
    // is complete.
    const int32_t error = WriteWholeFile(path, bytes.constData(), size_t(bytes.size()));
    if (writeError)
        *writeError = error;
    return error == 0;
}
