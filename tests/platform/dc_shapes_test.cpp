#include <gtest/gtest.h>

#include "dc_test_support.h"

namespace {

constexpr ColorRef kRed = MakeRgb(255, 0, 0);
constexpr ColorRef kBlue = MakeRgb(0, 0, 255);

TEST(DcShapes, RectangleAndEllipseLeaveOutTheRightAndBottomEdges)
{
    DcCanvas c(12, 8);
    c.dc->selectPen(Pen{PS_SOLID, 0, kRed});
    c.dc->selectBrush(Brush::Solid(kBlue));
    c.dc->rectangle(1, 1, 7, 5);
    EXPECT_EQ(c.mask(kRed, 0, 0, 8, 6), "........\n.######.\n.#....#.\n.#....#.\n.######.\n........\n");
    EXPECT_EQ(c.mask(kBlue, 0, 0, 8, 6), "........\n........\n..####..\n..####..\n........\n........\n");

    DcCanvas n(12, 8);
    n.dc->selectPen(Pen{PS_NULL, 0, 0});
    n.dc->selectBrush(Brush::Solid(kBlue));
    n.dc->rectangle(7, 5, 1, 1);  // reversed corners are the same rectangle
    EXPECT_EQ(n.count(kBlue), 6 * 4);

    DcCanvas e(12, 12);
    e.dc->selectPen(Pen{PS_SOLID, 0, kRed});
    e.dc->selectBrush(Brush::Hollow());
    e.dc->ellipse(0, 0, 10, 10);
    for (int i = 0; i < 12; ++i) {
        EXPECT_NE(e.at(10, i), kRed);
        EXPECT_NE(e.at(i, 10), kRed);
    }
    EXPECT_EQ(e.at(0, 5), kRed);
    EXPECT_EQ(e.at(9, 5), kRed);
    EXPECT_EQ(e.at(5, 9), kRed);
    EXPECT_EQ(e.at(5, 5), kWhite) << "hollow brush";
}

TEST(DcShapes, LinesLeaveOutTheirEndPointAndStyledPensDash)
{
    DcCanvas c(12, 4);
    c.dc->selectPen(Pen{PS_SOLID, 1, kRed});
    c.dc->moveTo(1, 1);
    EXPECT_TRUE(c.dc->lineTo(6, 1));
    EXPECT_EQ(c.mask(kRed, 0, 1, 8, 2), ".#####..\n");
    EXPECT_EQ(c.dc->currentPosition().x, 6);
    const IntPoint pts[] = {{1, 3}, {4, 3}, {4, 0}};
    c.dc->polyline(pts, 3);
    EXPECT_EQ(c.at(4, 0), kWhite) << "the polyline's last point";
    EXPECT_EQ(c.at(4, 1), kRed);

    DcCanvas d(30, 2, kWhite);
    d.dc->selectPen(Pen{PS_DOT, 0, kRed});
    d.dc->setBkColor(kBlue);
    d.dc->moveTo(0, 0);
    d.dc->lineTo(12, 0);
    EXPECT_EQ(d.mask(kRed, 0, 0, 13, 1), "###...###....\n");
    EXPECT_EQ(d.at(3, 0), kBlue) << "opaque background fills the gaps";
    d.dc->setBkMode(TRANSPARENT);
    d.dc->moveTo(0, 1);
    d.dc->lineTo(12, 1);
    EXPECT_EQ(d.at(3, 1), kWhite);
}

TEST(DcShapes, WidePensScaleAndInsideFrameStaysInside)
{
    DcCanvas c(20, 20);
    c.dc->selectBrush(Brush::Hollow());
    c.dc->selectPen(Pen{PS_INSIDEFRAME, 3, kRed});
    c.dc->rectangle(2, 2, 12, 12);
    EXPECT_EQ(c.mask(kRed, 1, 1, 14, 6),
              ".............\n.##########..\n.##########..\n.##########..\n.###....###..\n");

    DcCanvas w(20, 20);
    w.dc->selectBrush(Brush::Hollow());
    w.dc->selectPen(Pen{PS_SOLID, 3, kRed});
    w.dc->rectangle(4, 4, 14, 14);
    EXPECT_EQ(w.at(3, 8), kRed) << "centred on the outline: reaches outside";
    EXPECT_EQ(w.at(2, 8), kWhite);

    // A mapping that doubles lengths doubles a wide pen but not a cosmetic one.
    DcCanvas m(40, 10);
    m.dc->setMapMode(MM_ANISOTROPIC);
    m.dc->setWindowExt(1, 1);
    m.dc->setViewportExt(2, 2);
    m.dc->selectPen(Pen{PS_SOLID, 2, kRed});
    m.dc->moveTo(1, 2);
    m.dc->lineTo(15, 2);
    // Four pixels centred on the line through row 4's centres, an even width
    // reaching the extra pixel above.
    EXPECT_EQ(m.mask(kRed, 10, 0, 11, 10), ".\n.\n#\n#\n#\n#\n.\n.\n.\n.\n");
    m.dc->selectPen(Pen{PS_SOLID, 1, kBlue});
    m.dc->moveTo(1, 4);
    m.dc->lineTo(15, 4);
    EXPECT_EQ(m.mask(kBlue, 10, 7, 11, 10), ".\n#\n.\n");
}

TEST(DcShapes, PolygonFillModesDifferOnOverlaps)
{
    // A star of five points: its centre is inside twice.
    const IntPoint star[] = {{10, 0}, {16, 19}, {0, 7}, {20, 7}, {4, 19}};
    DcCanvas a(21, 21);
    a.dc->selectPen(Pen{PS_NULL, 0, 0});
    a.dc->selectBrush(Brush::Solid(kRed));
    a.dc->setPolyFillMode(ALTERNATE);
    a.dc->polygon(star, 5);
    EXPECT_EQ(a.at(10, 10), kWhite);
    EXPECT_EQ(a.at(10, 3), kRed);
    DcCanvas w(21, 21);
    w.dc->selectPen(Pen{PS_NULL, 0, 0});
    w.dc->selectBrush(Brush::Solid(kRed));
    w.dc->setPolyFillMode(WINDING);
    w.dc->polygon(star, 5);
    EXPECT_EQ(w.at(10, 10), kRed);

    // A polygon's fill leaves out its right and bottom edges, its pen does not.
    DcCanvas p(8, 8);
    const IntPoint square[] = {{1, 1}, {5, 1}, {5, 5}, {1, 5}};
    p.dc->selectPen(Pen{PS_NULL, 0, 0});
    p.dc->selectBrush(Brush::Solid(kBlue));
    p.dc->polygon(square, 4);
    EXPECT_EQ(p.count(kBlue), 16);
    p.dc->selectPen(Pen{PS_SOLID, 0, kRed});
    p.dc->polygon(square, 4);
    EXPECT_EQ(p.count(kRed), 16);
    EXPECT_EQ(p.at(5, 5), kRed);
}

TEST(DcShapes, RegionsFillAndFrameInLogicalUnits)
{
    DcCanvas c(20, 20);
    c.dc->setViewportOrg(2, 3);
    const Region r = Region::FromRect(IntRect{0, 0, 10, 8});
    EXPECT_EQ(r.kind(), SIMPLEREGION);
    c.dc->frameRgn(r, Brush::Solid(kRed), 2, 1);
    // Two pixels wide at the sides, one high at top and bottom, moved by the viewport.
    EXPECT_EQ(c.mask(kRed, 2, 3, 12, 6), "##########\n##......##\n##......##\n");
    EXPECT_EQ(c.count(kRed), 10 * 8 - 6 * 6);

    // Polygon regions use winding fill; FrameRgn of the combined shape.
    DcCanvas p(20, 20);
    const IntPoint tri[] = {{0, 0}, {12, 0}, {0, 12}};
    Region a = Region::FromPolygon(tri, 3, WINDING);
    Region b = Region::FromRect(IntRect{0, 0, 4, 4});
    Region x;
    EXPECT_EQ(x.combine(a, b, RGN_DIFF), COMPLEXREGION);
    EXPECT_FALSE(x.contains(1, 1));
    EXPECT_TRUE(x.contains(5, 1));
    EXPECT_FALSE(x.contains(10, 1));  // centre (10.5, 1.5) lies on the slope's edge
    EXPECT_TRUE(x.contains(9, 1));
    p.dc->paintRgn(x);
    EXPECT_EQ(p.at(5, 1), kWhite) << "the default brush is white";
    p.dc->selectBrush(Brush::Solid(kBlue));
    p.dc->setRop2(R2_NOTXORPEN);
    p.dc->paintRgn(x);
    p.dc->paintRgn(x);
    EXPECT_EQ(p.count(kWhite), 400) << "painting a region twice with NOT-XOR leaves no mark";
    EXPECT_EQ(Region::FromEllipse(IntRect{0, 0, 10, 6}).bounds().right, 10);
}

TEST(DcShapes, ClipRegionsAreInDeviceUnits)
{
    DcCanvas c(20, 20);
    c.dc->setViewportOrg(5, 5);
    const Region clip = Region::FromRect(IntRect{0, 0, 10, 10});  // device pixels
    c.dc->selectClipRgn(&clip);
    IntRect box;
    EXPECT_EQ(c.dc->getClipBox(&box), SIMPLEREGION);
    EXPECT_EQ(box.left, -5);
    EXPECT_EQ(box.right, 5);
    c.dc->fillRect(IntRect{-10, -10, 20, 20}, Brush::Solid(kRed));
    EXPECT_EQ(c.count(kRed), 100);
    EXPECT_EQ(c.at(9, 9), kRed);
    EXPECT_EQ(c.at(10, 9), kWhite);
    EXPECT_EQ(c.dc->getPixel(6, 6), 0xFFFFFFFFu) << "outside the clip";
    c.dc->excludeClipRect(0, 0, 2, 2);  // logical: device (5, 5)-(7, 7)
    c.dc->fillRect(IntRect{-10, -10, 20, 20}, Brush::Solid(kBlue));
    EXPECT_EQ(c.count(kBlue), 96);
    EXPECT_EQ(c.at(5, 5), kRed);
    c.dc->selectClipRgn(nullptr);
    EXPECT_FALSE(c.dc->hasClip());
}

TEST(DcShapes, SaveAndRestoreBringBackTheWholeState)
{
    DcCanvas c(10, 10);
    c.dc->setTextColor(kRed);
    c.dc->setViewportOrg(3, 3);
    c.dc->moveTo(1, 1);
    const int level = c.dc->saveDc();
    EXPECT_EQ(level, 1);
    c.dc->setTextColor(kBlue);
    c.dc->setViewportOrg(0, 0);
    c.dc->selectPen(Pen{PS_DASH, 0, kBlue});
    c.dc->setRop2(R2_XORPEN);
    c.dc->intersectClipRect(0, 0, 2, 2);
    c.dc->moveTo(5, 5);
    EXPECT_EQ(c.dc->saveDc(), 2);
    c.dc->setTextColor(kWhite);
    EXPECT_TRUE(c.dc->restoreDc(level));
    EXPECT_EQ(c.dc->textColor(), kRed);
    EXPECT_EQ(c.dc->viewportOrg().x, 3);
    EXPECT_EQ(c.dc->pen().style, PS_SOLID);
    EXPECT_EQ(c.dc->rop2(), R2_COPYPEN);
    EXPECT_FALSE(c.dc->hasClip());
    EXPECT_EQ(c.dc->currentPosition().x, 1);
    EXPECT_FALSE(c.dc->restoreDc(-1)) << "both levels are gone";
    EXPECT_FALSE(c.dc->restoreDc(3));
}

TEST(DcShapes, MappingModesMapBothWays)
{
    auto dc = Dc::ForMeasuring(96);
    dc->setMapMode(MM_ANISOTROPIC);
    dc->setWindowOrg(100, 50);
    dc->setWindowExt(1000, 500);
    dc->setViewportExt(200, -200);
    dc->setViewportOrg(10, 300);
    IntPoint p[] = {{600, 300}};
    dc->lpToDp(p, 1);
    EXPECT_EQ(p[0].x, 110);
    EXPECT_EQ(p[0].y, 200);
    dc->dpToLp(p, 1);
    EXPECT_EQ(p[0].x, 600);
    EXPECT_EQ(p[0].y, 300);

    dc->setMapMode(MM_ISOTROPIC);
    dc->setWindowExt(100, 100);
    dc->setViewportExt(300, 200);
    EXPECT_EQ(dc->viewportExt().width, 200) << "the larger scale gives way";
    EXPECT_EQ(dc->viewportExt().height, 200);

    dc->setMapMode(MM_LOMETRIC);
    dc->setWindowOrg(0, 0);
    dc->setViewportOrg(0, 0);
    IntPoint inch[] = {{254, -254}};
    dc->lpToDp(inch, 1);
    EXPECT_EQ(inch[0].x, 96);
    EXPECT_EQ(inch[0].y, 96) << "y grows upward in the metric modes";
    dc->setWindowExt(5, 5);
    EXPECT_EQ(dc->windowExt().width, 254) << "fixed modes keep their extents";
}

TEST(DcShapes, AbsurdCoordinatesAreCutToTheSurface)
{
    DcCanvas c(10, 10);
    c.dc->setMapMode(MM_ANISOTROPIC);
    c.dc->setWindowExt(1, 1);
    c.dc->setViewportExt(1000, 1000);
    c.dc->selectBrush(Brush::Solid(kBlue));
    c.dc->selectPen(Pen{PS_SOLID, 5, kRed});
    EXPECT_TRUE(c.dc->rectangle(INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX));
    EXPECT_TRUE(c.dc->ellipse(-3000000, -3000000, 3000000, 3000000));
    const IntPoint far[] = {{INT32_MIN, 0}, {INT32_MAX, 5}, {0, INT32_MAX}};
    EXPECT_TRUE(c.dc->polygon(far, 3));
    EXPECT_EQ(c.count(kBlue) + c.count(kRed), 100) << c.mask(kWhite, 0, 0, 10, 10);
}

TEST(DcShapes, DeviceCapsOfImagesAndMeasuringContexts)
{
    QImage image(200, 100, QImage::Format_RGB32);
    image.setDotsPerMeterX(11811);  // 300 dpi
    image.setDotsPerMeterY(11811);
    auto dc = Dc::ForImage(&image);
    EXPECT_EQ(dc->getDeviceCaps(LOGPIXELSX), 300);
    EXPECT_EQ(dc->getDeviceCaps(HORZRES), 200);
    EXPECT_EQ(dc->getDeviceCaps(HORZSIZE), 17);
    EXPECT_EQ(dc->getDeviceCaps(BITSPIXEL), 24);
    EXPECT_EQ(dc->getDeviceCaps(NUMCOLORS), -1);
    QImage plain(10, 10, QImage::Format_RGB32);
    EXPECT_EQ(Dc::ForImage(&plain)->getDeviceCaps(LOGPIXELSY), 96);
    auto m = Dc::ForMeasuring(600);
    EXPECT_EQ(m->getDeviceCaps(LOGPIXELSX), 600);
    EXPECT_EQ(m->image(), nullptr);
    EXPECT_TRUE(m->rectangle(0, 0, 10, 10)) << "drawing without a surface succeeds and draws nothing";
}

}  // namespace
