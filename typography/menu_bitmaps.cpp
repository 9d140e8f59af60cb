#include "typography/menu_bitmaps.h"

#include <algorithm>

#include <QPainter>
#include <QPolygon>

#include "platform/dc.h"

namespace {

constexpr int kMarkSize = 11;

// Two overlapping letters T, the mark of outline fonts.
void PaintTrueType(QPainter* p, const QColor& back, const QColor& front)
{
    p->fillRect(0, 0, 7, 2, back);
    p->fillRect(3, 0, 2, 8, back);
    p->fillRect(4, 3, 7, 2, front);
    p->fillRect(7, 3, 2, 8, front);
}

// A printer, the mark of the printer's own fonts.
void PaintDevice(QPainter* p, const QColor& body, const QColor& paper)
{
    p->fillRect(2, 0, 7, 4, paper);
    p->fillRect(0, 4, 11, 5, body);
    p->fillRect(2, 9, 7, 2, paper);
}

QImage Mark(bool trueType, bool silhouette)
{
    QImage image(kMarkSize, kMarkSize, QImage::Format_RGB32);
    image.fill(silhouette ? Qt::black : Qt::white);
    QPainter p(&image);
    if (trueType) {
        if (silhouette)
            PaintTrueType(&p, Qt::white, Qt::white);
        else
            PaintTrueType(&p, QColor(128, 128, 128), QColor(0, 0, 160));
    } else if (silhouette) {
        PaintDevice(&p, Qt::white, Qt::white);
    } else {
        PaintDevice(&p, QColor(64, 64, 64), QColor(192, 192, 192));
    }
    return image;
}

QImage Check(const QColor& ink, const QColor& paper)
{
    QImage image(10, 10, QImage::Format_RGB32);
    image.fill(paper);
    QPainter p(&image);
    const QPolygon tick({QPoint(1, 4), QPoint(3, 6), QPoint(8, 1), QPoint(8, 3), QPoint(3, 8), QPoint(1, 6)});
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    p.drawPolygon(tick);
    return image;
}

}  // namespace

QImage LoadMenuBitmap(int32_t id)
{
    switch (id) {
    case kTrueTypeMarkBitmap:
        return Mark(true, false);
    case kTrueTypeSilhouetteBitmap:
        return Mark(true, true);
    case kDeviceMarkBitmap:
        return Mark(false, false);
    case kDeviceSilhouetteBitmap:
        return Mark(false, true);
    case kFontCheckBitmap:
        return Check(Qt::black, Qt::white);
    default:
        return QImage();
    }
}

MenuIcon LoadMenuIcon(int32_t id)
{
    if (id != kMenuCheckIcon)
        return MenuIcon{};
    return MenuIcon{Check(Qt::black, Qt::white), Check(Qt::black, Qt::black)};
}

void DrawMenuIcon(Dc* dc, int32_t x, int32_t y, const MenuIcon& icon)
{
    if (icon.isNull())
        return;
    const QRect all(0, 0, icon.image.width(), icon.image.height());
    dc->stretchImage(IntRect{x, y, x + all.width(), y + all.height()}, icon.mask, all, SRCAND);
    dc->stretchImage(IntRect{x, y, x + all.width(), y + all.height()}, icon.image, all, SRCINVERT);
}

void DrawMarkPair(Dc* dc, int32_t x, int32_t y, int32_t width, int32_t height, const QImage& first,
                  const QImage& second)
{
    if (first.isNull() || second.isNull())
        return;
    const int32_t w = std::min({width, int32_t(first.width()), int32_t(second.width())});
    const int32_t h = std::min({height, int32_t(first.height()), int32_t(second.height())});
    if (w <= 0 || h <= 0)
        return;
    const IntRect dest{x, y, x + w, y + h};
    dc->stretchImage(dest, second, QRect(0, 0, w, h), SRCPAINT);
    dc->stretchImage(dest, first, QRect(0, 0, w, h), SRCAND);
}
