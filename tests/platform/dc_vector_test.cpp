#include <gtest/gtest.h>

#include <QBuffer>
#include <QPainter>
#include <QPdfWriter>
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

TEST(DcVector, PaperSizeAndOffsetsOfAPdfPage)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter pdf(&buffer);
    pdf.setResolution(300);
    pdf.setPageSize(QPageSize(QPageSize::Letter));
    pdf.setPageMargins(QMarginsF(0.5, 0.25, 0.5, 0.25), QPageLayout::Inch);
    auto dc = Dc::ForDevice(&pdf);
    EXPECT_EQ(dc->getDeviceCaps(TECHNOLOGY), DT_RASPRINTER);
    EXPECT_EQ(dc->getDeviceCaps(LOGPIXELSX), 300);
    EXPECT_EQ(dc->getDeviceCaps(PHYSICALWIDTH), 2550);
    EXPECT_EQ(dc->getDeviceCaps(PHYSICALHEIGHT), 3300);
    EXPECT_EQ(dc->getDeviceCaps(PHYSICALOFFSETX), 150);
    EXPECT_EQ(dc->getDeviceCaps(PHYSICALOFFSETY), 75);
    EXPECT_EQ(dc->getDeviceCaps(HORZRES), 2250);
    EXPECT_EQ(dc->getDeviceCaps(HORZSIZE), 191);
    EXPECT_TRUE(dc->rectangle(0, 0, 100, 100));
    dc->flush();
    EXPECT_TRUE(bytes.startsWith("%PDF"));
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

#include "platform/dc_recorder.h"

namespace {

// Notes the calls a recording context hands on, in order.
class NoteRecorder final : public DcRecorder {
public:
    std::string notes;
    const Dc* dc = nullptr;
    void selectPen(const Pen& p) override { notes += "pen " + std::to_string(p.width) + ";"; }
    void setMapMode(int32_t m) override { notes += "map " + std::to_string(m) + ";"; }
    void moveTo(int32_t x, int32_t y) override { notes += "move " + std::to_string(x) + "," + std::to_string(y) + ";"; }
    void lineTo(int32_t x, int32_t) override
    {
        // Called before the Dc applies the call: the position is the line's start.
        notes += "line from " + std::to_string(dc->currentPosition().x) + " to " + std::to_string(x) + ";";
    }
    void polyPolygon(const IntPoint*, const int* counts, int n) override
    {
        notes += "polygons " + std::to_string(n) + "x" + std::to_string(counts[0]) + ";";
    }
    void beginPath() override { notes += "begin;"; }
    void fillPath() override { notes += "fill;"; }
    void extTextOut(int32_t x, int32_t, uint32_t options, const IntRect*, std::string_view text,
                    const int32_t*) override
    {
        notes += "text " + std::string(text) + " at " + std::to_string(x) + " " + std::to_string(options) + ";";
    }
    void stretchImage(const IntRect& r, const QImage& image, uint32_t rop) override
    {
        notes += "image " + std::to_string(r.right) + " " + std::to_string(image.width()) + " " +
                 std::to_string(rop == SRCCOPY) + ";";
    }
};

TEST(DcRecording, EveryCallReachesTheRecorderInLogicalUnits)
{
    NoteRecorder rec;
    auto dc = Dc::ForRecording(&rec, 300, IntSize{2550, 3300});
    rec.dc = dc.get();
    EXPECT_EQ(dc->getDeviceCaps(HORZRES), 2550);
    EXPECT_EQ(dc->getDeviceCaps(LOGPIXELSY), 300);
    dc->selectPen(Pen{PS_SOLID, 3, kRed});
    dc->setMapMode(MM_ANISOTROPIC);
    dc->moveTo(10, 20);
    dc->lineTo(30, 20);
    const IntPoint tri[] = {{0, 0}, {10, 0}, {0, 10}};
    dc->beginPath();
    dc->polygon(tri, 3);
    dc->endPath();
    dc->fillPath();
    dc->textOut(5, 6, "Hi");
    QImage image(8, 4, QImage::Format_RGB32);
    dc->stretchImage(IntRect{0, 0, 16, 8}, image, QRect(2, 0, 4, 4), SRCCOPY);
    EXPECT_EQ(rec.notes, "pen 3;map 8;move 10,20;line from 10 to 30;begin;polygons 1x3;fill;text Hi at 5 0;"
                         "image 16 4 1;");
    EXPECT_GT(dc->getTextExtent("Hi").width, 0) << "a recording context measures text";
}

}  // namespace
