// Small surfaces and pixel probes for the device context suites.
#pragma once

#include <memory>
#include <string>

#include <QImage>

#include "platform/dc.h"

// A white RGB32 image with a context on it.
struct DcCanvas {
    explicit DcCanvas(int width = 40, int height = 30, ColorRef fill = kWhite)
        : image(width, height, QImage::Format_RGB32), dc((image.fill(ToQColor(fill)), Dc::ForImage(&image)))
    {
    }
    ColorRef at(int x, int y) const { return FromQColor(image.pixelColor(x, y)); }
    // The pixels of one colour as a picture: '#' where the pixel is `c`.
    std::string mask(ColorRef c, int x0, int y0, int x1, int y1) const
    {
        std::string s;
        for (int y = y0; y < y1; ++y) {
            for (int x = x0; x < x1; ++x)
                s += at(x, y) == c ? '#' : '.';
            s += '\n';
        }
        return s;
    }
    int count(ColorRef c) const
    {
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                n += at(x, y) == c;
        return n;
    }
    QImage image;
    std::unique_ptr<Dc> dc;
};
