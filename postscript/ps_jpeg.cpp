#include "postscript/ps_jpeg.h"

#include <QBuffer>
#include <QByteArray>
#include <QColorSpace>
#include <QImage>
#include <QImageWriter>

namespace {

// What Qt's PDF writer compresses a picture that may lose detail at, so
// that a photograph prints alike from the PDF file and the PostScript job.
constexpr int kPhotoQuality = 94;

}  // namespace

std::string PsJpegBytes(const QImage& picture)
{
    QImage rgb = picture.convertToFormat(QImage::Format_RGB888);
    // No profile in the data: the job's colours are device RGB throughout.
    rgb.setColorSpace(QColorSpace());
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(kPhotoQuality);
    writer.setProgressiveScanWrite(false);
    if (rgb.isNull() || !writer.write(rgb))
        return {};
    return bytes.toStdString();
}
