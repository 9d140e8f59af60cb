// Shapes that reach far past the surface draw, where they can be seen,
// exactly the pixels of the same shapes kept near it.
#include <cmath>
#include <vector>

#include <gtest/gtest.h>

#include "dc_test_support.h"
#include "foundation/byte_order.h"

namespace {

constexpr ColorRef kRed = MakeRgb(255, 0, 0);
constexpr ColorRef kBlue = MakeRgb(0, 0, 255);
constexpr int32_t kFar = 1 << 28;

// Both colours' pixels, to compare whole canvases.
std::string Pixels(const DcCanvas& c)
{
    return c.mask(kRed, 0, 0, c.image.width(), c.image.height()) + "\n" +
           c.mask(kBlue, 0, 0, c.image.width(), c.image.height());
}

void Line(Dc& dc, IntPoint a, IntPoint b)
{
    dc.moveTo(a.x, a.y);
    dc.lineTo(b.x, b.y);
}

TEST(DcFar, LinesStepOnlyAcrossTheSurfaceAndKeepTheirSlopeAndPattern)
{
    DcCanvas far, near;
    for (DcCanvas* c : {&far, &near})
        c->dc->selectPen(Pen{PS_SOLID, 0, kRed});
    Line(*far.dc, {-kFar, 5}, {kFar, 5});
    Line(*near.dc, {-5, 5}, {50, 5});
    // Through the lattice points (3, 4) + k (5, 2), and (30, 20) + k (-3, -7)
    // drawn the other way: the same steps wherever the ends lie.
    Line(*far.dc, {3 - 5 * (1 << 26), 4 - 2 * (1 << 26)}, {3 + 5 * (1 << 26), 4 + 2 * (1 << 26)});
    Line(*near.dc, {3 - 5 * 2, 4 - 2 * 2}, {3 + 5 * 10, 4 + 2 * 10});
    Line(*far.dc, {30 + 3 * (1 << 26), 20 + 7 * (1 << 26)}, {30 - 3 * (1 << 26), 20 - 7 * (1 << 26)});
    Line(*near.dc, {30 + 3 * 3, 20 + 7 * 3}, {30 - 3 * 11, 20 - 7 * 11});
    for (DcCanvas* c : {&far, &near})
        c->dc->selectPen(Pen{PS_SOLID, 5, kBlue});
    Line(*far.dc, {-kFar, 26}, {kFar, 26});
    Line(*near.dc, {-10, 26}, {50, 26});
    EXPECT_EQ(far.mask(kRed, 0, 5, 40, 6), std::string(40, '#') + "\n");
    EXPECT_EQ(Pixels(far), Pixels(near));

    // Dashes run on from the line's true start: -2^28 is 8 modulo the
    // pattern's 24 pixels, as -16 is. A polyline carries the pattern over
    // a segment wholly out of sight.
    DcCanvas dashedFar, dashedNear;
    for (DcCanvas* c : {&dashedFar, &dashedNear}) {
        c->dc->selectPen(Pen{PS_DASHDOT, 0, kRed});
        c->dc->setBkColor(kBlue);
        c->dc->intersectClipRect(2, 0, 37, 30);
    }
    Line(*dashedFar.dc, {-kFar, 1}, {kFar, 1});
    Line(*dashedNear.dc, {-16, 1}, {60, 1});
    const IntPoint farBend[] = {{-kFar, 50}, {-kFar + 5, 3}, {kFar, 3}};
    const IntPoint nearBend[] = {{-16, 50}, {-11, 3}, {60, 3}};
    dashedFar.dc->polyline(farBend, 3);
    dashedNear.dc->polyline(nearBend, 3);
    EXPECT_EQ(Pixels(dashedFar), Pixels(dashedNear));
    EXPECT_EQ(dashedFar.at(1, 1), kWhite) << "clipped";

    // A mapping that takes the ends past 32 bits: the line keeps its slope
    // of 1/4 through (-40, 0) + k (4, 1) and its dashes.
    DcCanvas scaled, plain;
    for (DcCanvas* c : {&scaled, &plain})
        c->dc->selectPen(Pen{PS_DASH, 0, kRed});
    scaled.dc->setMapMode(MM_ANISOTROPIC);
    scaled.dc->setWindowExt(1, 1);
    scaled.dc->setViewportExt(8, 8);
    Line(*scaled.dc, {-kFar - 5, -(1 << 26)}, {kFar - 5, 1 << 26});
    Line(*plain.dc, {-48, -2}, {160, 50});
    EXPECT_EQ(scaled.at(0, 10), kRed);
    EXPECT_EQ(Pixels(scaled), Pixels(plain));
}

TEST(DcFar, ShapesFillAndOutlineTheirVisiblePartExactly)
{
    DcCanvas far, near;
    for (DcCanvas* c : {&far, &near}) {
        c->dc->selectPen(Pen{PS_DOT, 0, kRed});
        c->dc->setBkMode(TRANSPARENT);
        c->dc->selectBrush(Brush::Solid(kBlue));
    }
    // The outline's dots: 2^29 across is 8 modulo 24, as 80 is.
    far.dc->rectangle(-kFar, 5, kFar, 12);
    near.dc->rectangle(-16, 5, 64, 12);
    // Edges through (0, 14) along (5, 2) and through (20, 14) along (7, 3),
    // whose ties at pixel centres must fall the same way, the other edges
    // out of sight; the first corners agree modulo the dots' pattern.
    const IntPoint farTri[] = {{-50 * (1 << 22), 14 - 20 * (1 << 22)}, {50 * (1 << 22), 14 + 20 * (1 << 22)},
                               {-50 * (1 << 22), 14 + 20 * (1 << 22)}};
    const IntPoint nearTri[] = {{-80, -18}, {100, 54}, {-80, 54}};
    far.dc->polygon(farTri, 3);
    near.dc->polygon(nearTri, 3);
    const int32_t k = 1 << 26;
    const IntPoint farWedge[] = {{20 + 7 * k, 14 + 3 * k}, {20 - 7 * k, 14 - 3 * k}, {20 + 7 * k, 14 - 3 * k}};
    const IntPoint nearWedge[] = {{20 + 7 * 16, 14 + 3 * 16}, {20 - 7 * 16, 14 - 3 * 16}, {20 + 7 * 16, 14 - 3 * 16}};
    far.dc->polygon(farWedge, 3);
    near.dc->polygon(nearWedge, 3);
    EXPECT_EQ(Pixels(far), Pixels(near));

    // A huge circle is round where it crosses the surface (cut into 512
    // chords it would stray tens of pixels here), its wide pen too, and a
    // dashed ellipse cut to a small surface shows the dashes of the whole.
    DcCanvas circle;
    const double angle = (225 + 0.0879) * M_PI / 180;
    const int32_t r = 1 << 26;
    const int32_t left = int32_t(20 - r * std::cos(angle)) - r;
    const int32_t top = int32_t(15 - r * std::sin(angle)) - r;
    circle.dc->selectPen(Pen{PS_SOLID, 5, kRed});
    circle.dc->selectBrush(Brush::Solid(kBlue));
    circle.dc->ellipse(left, top, left + 2 * r, top + 2 * r);
    int pen = 0;
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 40; ++x) {
            // The pen is centred half a pixel inside the edge of the area.
            const double d = std::hypot(x + 0.5 - (double(left) + r), y + 0.5 - (double(top) + r)) - r + 0.5;
            const ColorRef expected = d < -3.5 ? kBlue : (d > 3.5 ? kWhite : (std::fabs(d) < 1.5 ? kRed : 0));
            if (expected != 0) {
                EXPECT_EQ(circle.at(x, y), expected) << x << "," << y;
            }
            pen += circle.at(x, y) == kRed;
        }
    }
    EXPECT_GT(pen, 150);
    DcCanvas whole(320, 220), part;
    for (DcCanvas* c : {&whole, &part}) {
        c->dc->selectPen(Pen{PS_DASHDOTDOT, 0, kRed});
        c->dc->setBkColor(kBlue);
        c->dc->selectBrush(Brush::Hollow());
    }
    part.dc->setViewportOrg(-150, -185);
    whole.dc->ellipse(10, 10, 300, 210);
    part.dc->ellipse(10, 10, 300, 210);
    EXPECT_EQ(Pixels(part), whole.mask(kRed, 150, 185, 190, 215) + "\n" + whole.mask(kBlue, 150, 185, 190, 215));
}

TEST(DcFar, RegionsTextAndBlitsFarOutAreCheapAndExact)
{
    // A region over a polygon of any size holds its pixels near the
    // origin and fills like the small polygon.
    const IntPoint hugeTri[] = {{-(1 << 30), -(1 << 30)}, {1 << 30, 1 << 30}, {-(1 << 30), 1 << 30}};
    const IntPoint smallTri[] = {{-100, -100}, {100, 100}, {-100, 100}};
    const Region huge = Region::FromPolygon(hugeTri, 3, ALTERNATE);
    EXPECT_TRUE(huge.contains(-(1 << 19), 1 << 19));
    EXPECT_FALSE(huge.contains(1 << 19, -(1 << 19)));
    EXPECT_FALSE(Region::FromEllipse(IntRect{-kFar, -kFar, kFar, kFar}).isEmpty());
    DcCanvas far, near;
    far.dc->selectBrush(Brush::Solid(kBlue));
    near.dc->selectBrush(Brush::Solid(kBlue));
    far.dc->paintRgn(huge);
    near.dc->paintRgn(Region::FromPolygon(smallTri, 3, ALTERNATE));
    EXPECT_EQ(Pixels(far), Pixels(near));

    // Text far out draws nothing; a font too big to keep as pixels draws
    // from its outlines.
    DcCanvas text;
    text.dc->setTextColor(kRed);
    text.dc->setBkMode(TRANSPARENT);
    EXPECT_TRUE(text.dc->textOut(-kFar, 5, "far away"));
    EXPECT_EQ(text.count(kRed), 0);
    LogFont giant;
    giant.height = -(1 << 24);
    text.dc->selectFont(giant);
    EXPECT_TRUE(text.dc->textOut(-(1 << 22), -(1 << 23), "W"));
    EXPECT_EQ(text.count(kWhite) + text.count(kRed), 40 * 30);

    // A picture stretched past 32 bits of device pixels keeps its mapping:
    // two columns, red and blue, meeting at x = 20.
    uint8_t dib[40 + 8] = {};
    PutU32LE(dib, 40);
    PutI32LE(dib + 4, 2);
    PutI32LE(dib + 8, 1);
    PutU16LE(dib + 12, 1);
    PutU16LE(dib + 14, 24);
    dib[40 + 2] = 0xFF;  // red, stored blue-green-red
    dib[40 + 3] = 0xFF;  // blue
    DcCanvas blit;
    blit.dc->setMapMode(MM_ANISOTROPIC);
    blit.dc->setWindowExt(1, 1);
    blit.dc->setViewportExt(8, 8);
    EXPECT_EQ(blit.dc->stretchDIBits(-kFar, 0, 2 * kFar + 5, 4, 0, 0, 2, 1, dib + 40, dib, SRCCOPY), 1);
    EXPECT_EQ(blit.mask(kRed, 0, 0, 40, 1), std::string(20, '#') + std::string(20, '.') + "\n");
    EXPECT_EQ(blit.at(20, 31 / 2), kBlue);
}

TEST(DcFar, AClipOfAManyPointedStarReachingFarHoldsExactlyItsPixelsOnTheSurface)
{
    // A star whose 401 edges cross each other on every row, far wider and
    // taller than the surface: the clip is worked out over the surface and
    // is the surface's part of the whole shape's pixels.
    std::vector<IntPoint> star;
    const int n = 401;
    for (int i = 0; i < n; ++i) {
        const double a = 2 * M_PI * (i * (n / 2)) / n;
        star.push_back({int32_t(20 + (1 << 19) * std::cos(a)), int32_t(15 + 300 * std::sin(a))});
    }
    const Region shape = Region::FromPolygon(star.data(), n, ALTERNATE);
    DcCanvas canvas;
    canvas.dc->selectClipRgn(&shape);
    const QRegion surface(QRect(0, 0, canvas.image.width(), canvas.image.height()));
    EXPECT_EQ(canvas.dc->clipRegion().pixels(), shape.pixels() & surface);
    Region moved = shape;
    moved.offset(-7, 9);
    canvas.dc->extSelectClipRgn(&moved, RGN_AND);
    EXPECT_EQ(canvas.dc->clipRegion().pixels(), shape.pixels() & moved.pixels() & surface);
}

}  // namespace
