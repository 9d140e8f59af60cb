#include "typography/menu_bitmaps.h"

#include <algorithm>

#include "platform/dc.h"
#include "resources/artwork_resources.h"

QImage LoadMenuBitmap(int32_t id)
{
    const QImage bitmap = LoadResourceBitmap(id);
    return bitmap.isNull() ? bitmap : bitmap.convertToFormat(QImage::Format_RGB32);
}

MenuIcon LoadMenuIcon(int32_t id)
{
    const QImage icon = LoadResourceIcon(id);
    if (icon.isNull())
        return MenuIcon{};
    // The icon's see-through part becomes the mask's white, which keeps
    // what is under it; its image is black there, which XOR leaves alone.
    QImage mask(icon.size(), QImage::Format_RGB32);
    QImage image(icon.size(), QImage::Format_RGB32);
    const QImage straight = icon.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < icon.height(); ++y) {
        for (int x = 0; x < icon.width(); ++x) {
            const QRgb pixel = straight.pixel(x, y);
            const bool shown = qAlpha(pixel) >= 128;
            mask.setPixel(x, y, shown ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
            image.setPixel(x, y, shown ? (pixel | 0xFF000000u) : qRgb(0, 0, 0));
        }
    }
    return MenuIcon{mask, image};
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
