#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>
#include <algorithm>
#include <string>

#include "card_sample.h"
#include "graphics/picture_writers.h"

namespace {

// A picture with something in every part of it, so that no encoder gets
// off lightly: a gradient, a disc and a lattice of lines. With alpha, the
// corners are see-through.
QImage MakePicture(int width, int height, bool alpha)
{
    QImage image(width, height, alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    image.fill(alpha ? Qt::transparent : Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, width, height);
    sky.setColorAt(0, QColor(0, 60, 160));
    sky.setColorAt(1, QColor(255, 160, 60));
    if (alpha) {
        painter.setBrush(sky);
        painter.setPen(Qt::NoPen);
        painter.drawEllipse(QRectF(0, 0, width, height));
    } else {
        painter.fillRect(image.rect(), sky);
    }
    QRadialGradient sun(width * 0.35, height * 0.4, height * 0.3);
    sun.setColorAt(0, QColor(255, 250, 200));
    sun.setColorAt(1, QColor(220, 40, 40));
    painter.setBrush(sun);
    painter.setPen(QPen(Qt::black, std::max(1, width / 200)));
    painter.drawEllipse(QPointF(width * 0.35, height * 0.4), height * 0.3, height * 0.3);
    painter.setPen(QPen(QColor(20, 120, 40), std::max(1, width / 400)));
    for (int i = 0; i <= 16; ++i) {
        painter.drawLine(QPointF(width * i / 16.0, height * 0.7), QPointF(width * (16 - i) / 16.0, height));
    }
    painter.end();
    return image;
}

bool Write(const QImage& image, const std::string& path, const char* format)
{
    if (std::string(format) == "GIF") {
        QByteArray bytes;
        QFile file(QString::fromStdString(path));
        return WriteGifPicture(image, &bytes) && file.open(QIODevice::WriteOnly) &&
               file.write(bytes) == bytes.size();
    }
    return image.save(QString::fromStdString(path), format, format == std::string("JPG") ? 90 : -1);
}

}  // namespace

bool MakeEveryFramePictures(const std::string& folder)
{
    const struct {
        const char* name;
        int width, height;
        bool alpha;
        const char* format;
    } kPictures[] = {{"every-200.png", 200, 200, true, "PNG"},    {"every-500.gif", 500, 375, false, "GIF"},
                     {"every-800.bmp", 800, 600, false, "BMP"},   {"every-1600.tif", 1600, 1200, false, "TIFF"},
                     {"every-6000.jpg", 6000, 4000, false, "JPG"}};
    for (const auto& p : kPictures) {
        if (!Write(MakePicture(p.width, p.height, p.alpha), folder + "/" + p.name, p.format))
            return false;
    }
    return true;
}

bool WriteBenchPicture(const std::string& path, int width, int height)
{
    return Write(MakePicture(width, height, false), path, "PNG");
}
