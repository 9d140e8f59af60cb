// A white surface to draw shapes on, and probes of its pixels.
#pragma once

#include <memory>
#include <string>

#include <QImage>

#include "platform/dc.h"

constexpr ColorRef kShapeInk = 0x00804020;

struct ShapeCanvas {
    explicit ShapeCanvas(int width = 120, int height = 100) : image(width, height, QImage::Format_RGB32)
    {
        image.fill(Qt::white);
        dc = Dc::ForImage(&image);
        dc->selectPen(Pen{PS_SOLID, 1, kShapeInk});
        dc->selectBrush(Brush::Solid(kShapeInk));
    }
    bool ink(int x, int y) const { return FromQColor(image.pixelColor(x, y)) == kShapeInk; }
    // '#' for ink, '.' for anything else, one row a line.
    std::string row(int y, int x0, int x1) const
    {
        std::string s;
        for (int x = x0; x < x1; ++x)
            s += ink(x, y) ? '#' : '.';
        return s;
    }
    std::string column(int x, int y0, int y1) const
    {
        std::string s;
        for (int y = y0; y < y1; ++y)
            s += ink(x, y) ? '#' : '.';
        return s;
    }
    int inkCount() const
    {
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                n += ink(x, y);
        return n;
    }
    QImage image;
    std::unique_ptr<Dc> dc;
};
