#include <gtest/gtest.h>

#include "graphics/dib_derived.h"
#include "graphics/dib_draw.h"
#include "graphics/dib_test_support.h"
#include "platform/dc.h"

namespace {

QImage Surface(int w, int h, QRgb fill)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(fill);
    return image;
}

TEST(DibDraw, RectanglesIncludeRightAndBottom)
{
    DibHandleOwner h(MakeDib(2, 1, 24, [](int32_t x, int32_t) { return x ? 0xFF0000u : 0x0000FFu; }));
    QImage surface = Surface(120, 60, qRgb(255, 255, 255));
    {
        std::unique_ptr<Dc> dc = Dc::ForImage(&surface);
        DibHandleDraw(dc.get(), h.get(), IntRect{0, 0, 99, 49}, SRCCOPY);
        dc->flush();
    }
    EXPECT_EQ(surface.pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(surface.pixel(49, 49), qRgb(255, 0, 0));
    EXPECT_EQ(surface.pixel(50, 0), qRgb(0, 0, 255));
    EXPECT_EQ(surface.pixel(99, 49), qRgb(0, 0, 255));
    EXPECT_EQ(surface.pixel(100, 0), qRgb(255, 255, 255));
    EXPECT_EQ(surface.pixel(0, 50), qRgb(255, 255, 255));
}

TEST(DibDraw, TransparentDrawingShowsWhatLiesBeneathTheKey)
{
    // Red in the middle column, white around it.
    DibHandleOwner image(MakeDib(3, 3, 24, [](int32_t x, int32_t) { return x == 1 ? 0x0000FFu : kWhite; }));
    DibHandleOwner mask;
    ASSERT_EQ(DibHandleMakeMask(image.get(), mask.get(), kWhite), 0);
    for (bool transparent : {true, false}) {
        QImage surface = Surface(30, 30, qRgb(0, 128, 0));
        {
            std::unique_ptr<Dc> dc = Dc::ForImage(&surface);
            DibHandleDrawTransparent(dc.get(), image.get(), mask.get(), IntRect{0, 0, 29, 29}, transparent);
            dc->flush();
        }
        EXPECT_EQ(surface.pixel(15, 15), qRgb(255, 0, 0));
        EXPECT_EQ(surface.pixel(2, 15), transparent ? qRgb(0, 128, 0) : qRgb(255, 255, 255));
    }
}

TEST(DibDraw, PaintingThroughTheEngineCoversTheSamePixels)
{
    DibHandleOwner h(MakeDib(7, 5, 8, Pattern));
    QImage drawn = Surface(40, 30, qRgb(9, 9, 9)), painted = drawn;
    const IntRect rect{3, 4, 31, 22};
    {
        std::unique_ptr<Dc> dc = Dc::ForImage(&drawn);
        DibHandleDraw(dc.get(), h.get(), rect, SRCCOPY);
        dc->flush();
    }
    {
        std::unique_ptr<Dc> dc = Dc::ForImage(&painted);
        ASSERT_EQ(DibHandlePaintSdk(dc.get(), h.get(), &rect, SRCCOPY), 0);
        EXPECT_EQ(DibHandlePaintSdk(dc.get(), h.get(), nullptr, SRCCOPY), 1);
        dc->flush();
    }
    EXPECT_EQ(drawn, painted);

    // Painted again after one of its pixels changed, as a print job paints
    // card after card, the picture shows the change.
    DibHandleBlockSlot(h.get())->bits[0] ^= 0xFF;
    {
        std::unique_ptr<Dc> dc = Dc::ForImage(&drawn);
        DibHandleDraw(dc.get(), h.get(), rect, SRCCOPY);
        dc->flush();
    }
    {
        std::unique_ptr<Dc> dc = Dc::ForImage(&painted);
        ASSERT_EQ(DibHandlePaintSdk(dc.get(), h.get(), &rect, SRCCOPY), 0);
        dc->flush();
    }
    EXPECT_EQ(drawn, painted);

    // The raster operation reaches the surface: not-xor twice restores it.
    const QImage before = drawn;
    {
        std::unique_ptr<Dc> dc = Dc::ForImage(&drawn);
        DibHandleDraw(dc.get(), h.get(), IntRect{0, 0, 39, 29}, DSXN);
        DibHandleDraw(dc.get(), h.get(), IntRect{0, 0, 39, 29}, DSXN);
        dc->flush();
    }
    EXPECT_EQ(drawn, before);
}

}  // namespace
