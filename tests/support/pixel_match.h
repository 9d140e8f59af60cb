// Measuring rendered pictures: how much ink they hold, and how far two
// renderings of one page differ beyond a pixel's placement and a little
// shading (antialiasing, another rasteriser).
#pragma once

#include <QImage>
#include <cstdlib>

// Pixels of `page` that no pixel of `other` within one pixel matches to
// within `tolerance` in every channel.
inline int UnmatchedPixels(const QImage& page, const QImage& other, int tolerance)
{
    const QImage a = page.convertToFormat(QImage::Format_RGB32);
    const QImage b = other.convertToFormat(QImage::Format_RGB32);
    int unmatched = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            bool matched = false;
            for (int dy = -1; dy <= 1 && !matched; ++dy) {
                for (int dx = -1; dx <= 1 && !matched; ++dx) {
                    if (!b.valid(x + dx, y + dy))
                        continue;
                    const QRgb g = b.pixel(x + dx, y + dy);
                    matched = std::abs(qRed(p) - qRed(g)) <= tolerance &&
                              std::abs(qGreen(p) - qGreen(g)) <= tolerance &&
                              std::abs(qBlue(p) - qBlue(g)) <= tolerance;
                }
            }
            unmatched += matched ? 0 : 1;
        }
    }
    return unmatched;
}

// Pixels of the picture darker than mid-grey.
inline int Ink(const QImage& image)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += qGray(image.pixel(x, y)) < 128;
    return n;
}
