// The file side of the imaging engine: recognising, reading and writing
// picture files through Qt's image readers and writers.

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QImageWriter>
#include <QSaveFile>

#include "graphics/imaging_bitmap.h"
#include "graphics/imaging_formats.h"
#include "graphics/imaging_image.h"
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
        info->bits = DepthOfFormat(reader.imageFormat());
        return true;
    }
    QFile file(QtPath(path));
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = file.read(64);
    info->format = ImagingSniffVectorFormat(reinterpret_cast<const uint8_t*>(head.constData()), size_t(head.size()));
    return info->format != kImagingFormatNone;
}

bool ImagingBitmap::LoadFile(const std::string& path, const ImagingFileInfo& info)
{
    Release();
    if (info.qtFormat.empty())
        return false;
    QImageReader reader(QtPath(path), QByteArray::fromStdString(info.qtFormat));
    const QImage read = reader.read();
    if (read.isNull())
        return false;
    QImage image = WorkingImage(read);
    if (image.isNull())
        return false;
    const int32_t depth = WorkingImageDepth(image);
    Take(std::move(image), depth);
    return true;
}

bool ImagingBitmap::SaveFile(const std::string& path, int32_t format, int32_t bits, int32_t quality) const
{
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
    QSaveFile file(QtPath(path));
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
}
