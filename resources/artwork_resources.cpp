#include "resources/artwork_resources.h"

#include <QImageReader>
#include <QString>

// Outside any namespace: the macro declares the generated initialiser.
static void InitArtwork() { Q_INIT_RESOURCE(tessaline_artwork); }

void InitArtworkResources()
{
    static const bool done = (InitArtwork(), true);
    (void)done;
}

namespace {

// The format is known. Left to detect it, the reader would load every
// installed image plugin to ask whether it reads the format too, which
// took longer than a short print job's drawing.
QImage ReadArtwork(const QString& path, const char* format)
{
    InitArtworkResources();
    QImageReader reader(path, format);
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}

}  // namespace

QImage LoadResourceBitmap(int32_t id)
{
    return ReadArtwork(QStringLiteral(":/bitmaps/%1.bmp").arg(id), "BMP");
}

QImage LoadResourceMono(int32_t id)
{
    const QImage bitmap = LoadResourceBitmap(id);
    if (bitmap.isNull())
        return bitmap;
    QImage mono(bitmap.size(), QImage::Format_Mono);
    mono.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    for (int y = 0; y < bitmap.height(); ++y)
        for (int x = 0; x < bitmap.width(); ++x)
            mono.setPixel(x, y, qGray(bitmap.pixel(x, y)) < 128 ? 0 : 1);
    return mono;
}

QImage KeyOutButtonFace(const QImage& picture)
{
    QImage out = picture.convertToFormat(QImage::Format_ARGB32);
    const QRgb face = qRgb(192, 192, 192);
    for (int y = 0; y < out.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x)
            if ((row[x] | 0xFF000000u) == face)
                row[x] = 0;
    }
    return out;
}

QImage LoadResourceButtonImage(int32_t id)
{
    const QImage bitmap = LoadResourceBitmap(id);
    return bitmap.isNull() ? bitmap : KeyOutButtonFace(bitmap);
}

QImage LoadResourceIcon(int32_t id)
{
    const QImage icon = ReadArtwork(QStringLiteral(":/icons/%1.png").arg(id), "PNG");
    return icon.isNull() ? icon : icon.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

bool LoadResourceCursor(int32_t id, QImage* picture, QPoint* hotSpot)
{
    const QImage image = ReadArtwork(QStringLiteral(":/cursors/%1.png").arg(id), "PNG");
    if (image.isNull())
        return false;
    const QStringList xy = image.text(QStringLiteral("HotSpot")).split(',');
    bool xOk = false;
    bool yOk = false;
    const QPoint spot(xy.value(0).toInt(&xOk), xy.value(1).toInt(&yOk));
    // A cursor without a hot spot inside it would point somewhere else.
    if (!xOk || !yOk || !image.rect().contains(spot))
        return false;
    *picture = image;
    *hotSpot = spot;
    return true;
}
