#include <gtest/gtest.h>

#include <QPainter>
#include <QPicture>

#include "dc_test_support.h"

namespace {

constexpr ColorRef kRed = MakeRgb(255, 0, 0);
constexpr ColorRef kBlue = MakeRgb(0, 0, 255);
constexpr ColorRef kYellow = MakeRgb(255, 255, 0);

// Plays what a context drew on a vector target onto an image of `ground`.
QImage Play(const QPicture& picture, ColorRef ground)
{
    QImage image(40, 20, QImage::Format_RGB32);
    image.fill(ToQColor(ground));
    QPainter p(&image);
    const_cast<QPicture&>(picture).play(&p);
    p.end();
    return image;
}

ColorRef At(const QImage& image, int x, int y) { return FromQColor(image.pixelColor(x, y)); }

TEST(DcVector, TransparentMaskPairDrawsThePictureWithTheMaskAsAlpha)
{
    QImage picture(2, 1, QImage::Format_RGB32);
    picture.setPixel(0, 0, qRgb(255, 255, 0));
    picture.setPixel(1, 0, qRgb(0, 0, 0));  // a non-white key colour
    QImage mask(2, 1, QImage::Format_RGB32);
    mask.setPixel(0, 0, qRgb(0, 0, 0));
    mask.setPixel(1, 0, qRgb(255, 255, 255));
    QPicture recorded;
    {
        auto dc = Dc::ForDevice(&recorded, DT_RASPRINTER);
        ASSERT_EQ(dc->image(), nullptr);
        ASSERT_TRUE(dc->stretchImage(IntRect{0, 0, 40, 20}, mask, QRect(), MERGEPAINT));
        ASSERT_TRUE(dc->stretchImage(IntRect{0, 0, 40, 20}, picture, QRect(), SRCAND));
        dc->flush();
    }
    const QImage page = Play(recorded, kBlue);
    EXPECT_EQ(At(page, 5, 10), kYellow);
    EXPECT_EQ(At(page, 35, 10), kBlue) << "the page shows through where the mask is white";
}

TEST(DcVector, RasterOperationsDrawAsOnAWhitePage)
{
    QPicture recorded;
    {
        auto dc = Dc::ForDevice(&recorded, DT_RASPRINTER);
        dc->selectPen(Pen{PS_NULL, 0, 0});
        dc->selectBrush(Brush::Solid(kRed));
        dc->setRop2(R2_MASKPEN);  // how paragraph rules draw: plain colour on paper
        dc->rectangle(0, 0, 10, 20);
        dc->setRop2(R2_NOP);
        dc->rectangle(10, 0, 20, 20);
        dc->setRop2(R2_COPYPEN);
        QImage white(1, 1, QImage::Format_RGB32);
        white.fill(Qt::white);
        // AND with white keeps the page: nothing to draw.
        dc->stretchImage(IntRect{20, 0, 30, 20}, white, QRect(), SRCAND);
        dc->stretchImage(IntRect{30, 0, 40, 20}, white, QRect(), NOTSRCCOPY);
        dc->flush();
    }
    const QImage page = Play(recorded, kBlue);
    EXPECT_EQ(At(page, 5, 10), kRed);
    EXPECT_EQ(At(page, 15, 10), kBlue);
    EXPECT_EQ(At(page, 25, 10), kBlue);
    EXPECT_EQ(At(page, 35, 10), kBlack);
}

}  // namespace
