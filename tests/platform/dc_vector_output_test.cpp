// What a printer or PDF file is handed: shapes and regions as paths (curves
// kept as curves), text as one run of glyphs a call, the clip set once for
// what it holds; and the same calls on an image still lay down exactly the
// pixels they did character by character.
#include <gtest/gtest.h>

#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainterPath>

#include "dc_test_support.h"
#include "platform/coverage.h"

namespace {

// A paint engine that keeps count of what reaches it.
class CountingEngine final : public QPaintEngine {
public:
    CountingEngine() : QPaintEngine(QPaintEngine::AllFeatures) {}
    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState& state) override
    {
        if (state.state() & (DirtyClipRegion | DirtyClipPath | DirtyClipEnabled))
            ++clipChanges;
    }
    void drawPath(const QPainterPath& path) override
    {
        paths.push_back(path);
        colours.push_back(painter()->brush().style() == Qt::SolidPattern ? painter()->brush().color() : QColor());
    }
    void drawRects(const QRectF*, int count) override { rects += count; }
    void drawPolygon(const QPointF*, int pointCount, PolygonDrawMode) override { polygonPoints += pointCount; }
    void drawTextItem(const QPointF&, const QTextItem&) override { ++texts; }
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
    void drawImage(const QRectF&, const QImage&, const QRectF&, Qt::ImageConversionFlags) override {}
    Type type() const override { return QPaintEngine::User; }

    std::vector<QPainterPath> paths;
    // Each path's brush colour; none for a pattern.
    std::vector<QColor> colours;
    int rects = 0;
    int polygonPoints = 0;
    int texts = 0;
    int clipChanges = 0;
};

class CountingDevice final : public QPaintDevice {
public:
    QPaintEngine* paintEngine() const override { return &engine; }
    int metric(PaintDeviceMetric m) const override
    {
        switch (m) {
        case PdmWidth:
        case PdmHeight:
            return 2000;
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return 600;
        case PdmDepth:
            return 32;
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return int(devicePixelRatioFScale());
        default:
            return QPaintDevice::metric(m);
        }
    }
    mutable CountingEngine engine;
};

bool HasCurves(const QPainterPath& path)
{
    for (int i = 0; i < path.elementCount(); ++i) {
        if (path.elementAt(i).isCurveTo())
            return true;
    }
    return false;
}

TEST(DcVectorOutput, ShapesAndRegionsArePathsTextIsOneRunAndTheClipIsSetOnce)
{
    CountingDevice device;
    auto dc = Dc::ForDevice(&device, DT_RASPRINTER);
    ASSERT_TRUE(dc->beginOutput());
    CountingEngine& e = device.engine;
    dc->selectBrush(Brush::Solid(MakeRgb(0, 0, 160)));

    // An ellipse region, as frames fill their shapes: a handful of curves,
    // not a rectangle for every row of pixels. A rectangle is one
    // rectangle; a star its ten corners.
    dc->paintRgn(Region::FromEllipse(IntRect{100, 100, 500, 400}));
    dc->paintRgn(Region::FromRect(IntRect{600, 100, 900, 160}));
    const IntPoint star[] = {{700, 200}, {720, 260}, {780, 260}, {730, 290}, {750, 350},
                             {700, 310}, {650, 350}, {670, 290}, {620, 260}, {680, 260}};
    dc->paintRgn(Region::FromPolygon(star, 10, WINDING));

    // A one-pixel outline follows its curve too.
    dc->selectPen(Pen{PS_SOLID, 1, kBlack});
    dc->selectBrush(Brush::Hollow());
    dc->ellipse(100, 500, 900, 900);

    // A line of text placed character by character goes out as one run.
    LogFont font;
    font.height = -60;
    dc->selectFont(font);
    dc->setBkMode(TRANSPARENT);
    dc->setTextAlign(TA_BASELINE | TA_LEFT);
    const std::string line = "Harbor Supply";
    std::vector<int32_t> x;
    int32_t at = 100;
    for (char c : line) {
        x.push_back(at);
        at += dc->getCharWidth(uint8_t(c)) + 3;
    }
    EXPECT_TRUE(dc->placedTextOut(1200, line, x.data()));
    // So do characters drawn one by one along one baseline (a barcode's
    // caption); another line is another run.
    for (size_t i = 0; i < line.size(); ++i)
        dc->textOut(x[i], 1300, line.substr(i, 1));
    dc->textOut(100, 1400, "Tel.");

    // Fills under one clip set it once.
    const Region cell = Region::FromRect(IntRect{0, 1200, 1000, 1500});
    dc->selectClipRgn(&cell);
    const int clipsBefore = e.clipChanges;
    dc->selectBrush(Brush::Solid(kBlack));
    for (int i = 0; i < 10; ++i)
        dc->paintRgn(Region::FromRect(IntRect{100 + 10 * i, 1300, 104 + 10 * i, 1400}));
    dc->flush();
    ASSERT_EQ(e.paths.size(), 3u);
    EXPECT_TRUE(HasCurves(e.paths[0]));
    EXPECT_LT(e.paths[0].elementCount(), 20);
    EXPECT_LE(e.paths[1].elementCount(), 12);
    EXPECT_TRUE(HasCurves(e.paths[2]));
    EXPECT_EQ(e.polygonPoints, 0);
    EXPECT_EQ(e.rects, 11);
    EXPECT_EQ(e.clipChanges - clipsBefore, 1);
    EXPECT_EQ(e.texts, 3);
}

TEST(DcVectorOutput, AFillPaintedOverExactlyInAPlainColourIsNotHandedOn)
{
    CountingDevice device;
    auto dc = Dc::ForDevice(&device, DT_RASPRINTER);
    ASSERT_TRUE(dc->beginOutput());
    CountingEngine& e = device.engine;
    // A star a little further right for each case.
    const auto star = [](int32_t dx, int32_t corners) {
        const IntPoint points[] = {{700, 200}, {720, 260}, {780, 260}, {730, 290}, {750, 350},
                                   {700, 310}, {650, 350}, {670, 290}, {620, 260}, {680, 260}};
        std::vector<IntPoint> moved;
        for (int32_t k = 0; k < corners; ++k)
            moved.push_back(IntPoint{points[k].x + dx, points[k].y});
        return Region::FromPolygon(moved.data(), corners, WINDING);
    };
    const auto fill = [&](const Brush& brush, const Region& region) {
        dc->selectBrush(brush);
        dc->paintRgn(region);
    };
    // White and then blue over the same star: the printer gets the blue.
    fill(Brush::Solid(kWhite), star(0, 10));
    fill(Brush::Solid(MakeRgb(0, 0, 160)), star(0, 10));
    // What would show stays: white under a hatch, under another shape, and
    // under the same star cut by a clip.
    dc->setBkMode(TRANSPARENT);
    fill(Brush::Solid(kWhite), star(200, 10));
    fill(Brush::Hatched(HS_CROSS, kBlack), star(200, 10));
    fill(Brush::Solid(kWhite), star(400, 10));
    fill(Brush::Solid(kBlack), star(400, 9));
    fill(Brush::Solid(kWhite), star(600, 10));
    const Region half = Region::FromRect(IntRect{1200, 200, 1300, 350});
    dc->selectClipRgn(&half);
    fill(Brush::Solid(kBlack), star(600, 10));
    dc->flush();
    const std::vector<QColor> want = {QColor(0, 0, 160), QColor(Qt::white), QColor(), QColor(Qt::white),
                                      QColor(Qt::black), QColor(Qt::white), QColor(Qt::black)};
    EXPECT_EQ(e.colours, want);
}

// Draws `text` once character by character with textOut and once with
// placedTextOut at the same points, on two images; they must be the same.
void ExpectPlacedTextDrawsAsOneByOne(const LogFont& font, int32_t mapMode, IntSize windowExt, IntSize viewportExt)
{
    DcCanvas one(220, 80), run(220, 80);
    const std::string text = "Tel. 555 \xE9t\xE9 ok";
    std::vector<int32_t> x;
    for (Dc* dc : {one.dc.get(), run.dc.get()}) {
        dc->setMapMode(mapMode);
        if (mapMode == MM_ANISOTROPIC) {
            dc->setWindowExt(windowExt.width, windowExt.height);
            dc->setViewportExt(viewportExt.width, viewportExt.height);
        }
        dc->selectFont(font);
        dc->setBkMode(TRANSPARENT);
        dc->setTextAlign(TA_BASELINE | TA_LEFT);
        dc->setTextColor(MakeRgb(0, 0, 160));
    }
    // Justified: the characters stand further apart than their advances.
    int32_t at = 7;
    for (char c : text) {
        x.push_back(at);
        at += one.dc->getCharWidth(uint8_t(c)) + (c == ' ' ? 5 : 1);
    }
    for (size_t i = 0; i < text.size(); ++i)
        one.dc->textOut(x[i], 40, text.substr(i, 1));
    EXPECT_TRUE(run.dc->placedTextOut(40, text, x.data()));
    EXPECT_EQ(one.image, run.image);
    EXPECT_GT(one.count(MakeRgb(0, 0, 160)), 50);
}

TEST(DcVectorOutput, PlacedTextOnAnImageIsPixelForPixelTheCharactersDrawnOneByOne)
{
    LogFont plain;
    plain.height = -16;
    ExpectPlacedTextDrawsAsOneByOne(plain, MM_TEXT, {}, {});
    LogFont underlined = plain;
    underlined.underline = 1;
    underlined.weight = FW_BOLD;
    ExpectPlacedTextDrawsAsOneByOne(underlined, MM_TEXT, {}, {});
    // Logical units that are not whole pixels.
    ExpectPlacedTextDrawsAsOneByOne(plain, MM_ANISOTROPIC, {3, 3}, {2, 2});
    // Turned text: each character turns about its own point.
    LogFont turned = plain;
    turned.escapement = 300;
    ExpectPlacedTextDrawsAsOneByOne(turned, MM_TEXT, {}, {});
}

TEST(DcVectorOutput, AShapeRegionWorksOutItsPixelsWhenAskedAndFollowsItsMoves)
{
    const IntRect box{-7, 3, 41, 29};
    QPainterPath ellipse;
    ellipse.addEllipse(QRectF(-7, 3, 48, 26));
    const QRegion expected = AreaToRegion(ellipse, QRect(-(1 << 20), -(1 << 20), 1 << 21, 1 << 21));

    Region r = Region::FromEllipse(box);
    EXPECT_FALSE(r.shape().isEmpty());
    r.offset(5, -2);
    r.offset(-1, 1);
    EXPECT_EQ(r.pixels(), expected.translated(4, -1));
    EXPECT_EQ(r.shape().boundingRect(), ellipse.boundingRect().translated(4, -1));
    EXPECT_EQ(r.kind(), COMPLEXREGION);
    EXPECT_TRUE(r.contains(17 + 4, 16 - 1));
    EXPECT_FALSE(r.contains(-7 + 4, 3 - 1));
    EXPECT_EQ(r.bounds().left, -7 + 4);

    // A copy is the same region; combining leaves only pixels.
    Region copy;
    copy.combine(r, Region(), RGN_COPY);
    EXPECT_EQ(copy, r);
    EXPECT_EQ(copy.shape().boundingRect(), r.shape().boundingRect());
    Region ring;
    ring.combine(r, Region::FromRect(IntRect{10, 10, 20, 20}), RGN_DIFF);
    EXPECT_TRUE(ring.shape().isEmpty());
    EXPECT_EQ(ring.pixels(), expected.translated(4, -1) - QRegion(10, 10, 10, 10));
    EXPECT_TRUE(Region::FromRect(box).shape().isEmpty());

    // Moved absurdly far and back, it is where it was.
    Region far = Region::FromEllipse(box);
    far.offset(INT32_MAX, INT32_MIN);
    EXPECT_FALSE(far.contains(17, 16));
    far.offset(-INT32_MAX, INT32_MAX);
    far.offset(0, 1);
    EXPECT_EQ(far.pixels(), expected);
}

}  // namespace
