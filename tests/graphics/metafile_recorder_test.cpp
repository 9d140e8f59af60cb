#include <gtest/gtest.h>

#include "support/needed_tools.h"
#include "foundation/byte_order.h"
#include "graphics/offscreen_dc.h"
#include "graphics/metafile.h"
#include "foundation/file_io.h"
#include "graphics/metafile_format.h"
#include "metafile_test_support.h"
#include "support/temp_dir.h"

namespace {

constexpr int kW = 240;
constexpr int kH = 160;

// Records through the off-screen context, as page rendering does.
template <class Draw>
EnhMetafile Record(Dc* reference, IntRect r, const char* description, Draw draw)
{
    OffscreenDC off(reference);
    if (off.BeginMetafile(r.left, r.top, r.right, r.bottom, description))
        return nullptr;
    draw(*off.GetSafeHdc());
    HandleOwner bits(HandleNew(0));
    if (off.EndMetafile(bits.get()))
        return nullptr;
    EnhMetafile mf = nullptr;
    MetafileFromHandle(&mf, bits.get());
    return mf;
}

EnhMetafile RecordCard(bool plainFills = false)
{
    auto screen = Dc::ForMeasuring(96);
    return Record(screen.get(), IntRect{0, 0, kW, kH}, "Tessaline",
                  [plainFills](Dc& dc) { DrawCardLike(dc, plainFills); });
}

// Drawn straight on an image, at `scale` times the size through the
// context's own mapping.
QImage Direct(bool plainFills = false, int scale = 1)
{
    QImage image(kW * scale, kH * scale, QImage::Format_RGB32);
    image.fill(Qt::white);
    auto dc = Dc::ForImage(&image);
    dc->setMapMode(MM_ANISOTROPIC);
    dc->setWindowExt(kW, kH);
    dc->setViewportExt(kW * scale, kH * scale);
    DrawCardLike(*dc, plainFills);
    return image;
}

QImage Played(EnhMetafile mf, int w = kW, int h = kH)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::white);
    auto dc = Dc::ForImage(&image);
    PlayMetafile(dc.get(), mf, IntRect{0, 0, w, h});
    return image;
}

std::vector<uint8_t> Bits(EnhMetafile mf)
{
    std::vector<uint8_t> bits(GetEnhMetaFileBits(mf, 0, nullptr));
    GetEnhMetaFileBits(mf, uint32_t(bits.size()), bits.data());
    return bits;
}

TEST(MetafileRecorder, RecordedDrawingPlaysBackAsDrawnDirectly)
{
    EnhMetafile mf = RecordCard();
    ASSERT_TRUE(mf);
    // The frame is kept in 0.01 mm, so an edge may move by a pixel.
    EXPECT_LT(DiffShare(Direct(), Played(mf), 8), 0.005);
    // Twice the size: as drawn through a mapping that doubles.
    EXPECT_LT(DiffShare(Direct(false, 2), Played(mf, 2 * kW, 2 * kH), 8), 0.005);
    EXPECT_EQ(mf->header.description, std::u16string(u"Tessaline\0\0", 11));
    DeleteEnhMetaFile(mf);
}

TEST(MetafileRecorder, EmfToSvgReadsTheRecordedDrawing)
{
    if (!HaveTool("emf2svg-conv") || !HaveTool("rsvg-convert"))
        SKIP_FOR_MISSING_TOOL() << "emf2svg-conv or rsvg-convert missing";
    TempDir dir;
    // That reader draws neither hatches nor pattern brushes.
    EnhMetafile mf = RecordCard(true);
    ASSERT_TRUE(mf);
    const IntRect bounds = mf->header.bounds;
    ASSERT_TRUE(WriteBytes(dir.file("card.emf"), Bits(mf)));
    DeleteEnhMetaFile(mf);
    ASSERT_EQ(RunTool("emf2svg-conv", {"-i", QString::fromStdString(dir.file("card.emf")), "-o",
                                       QString::fromStdString(dir.file("card.svg"))}),
              0);
    // The reader's picture spans the bounds; cut the frame out of it.
    const QImage svg = RenderSvg(dir.file("card.svg"), bounds.right - bounds.left + 1, bounds.bottom - bounds.top + 1,
                                 dir.file("card.png"));
    ASSERT_FALSE(svg.isNull());
    const QImage framed = svg.copy(-bounds.left, -bounds.top, kW, kH);
    // Outlines, antialiasing and the text's placement differ a little;
    // every 16 x 16 cell must come close in colour.
    EXPECT_LT(CellDifference(Direct(true), framed, 16), 32.0);
}

TEST(MetafileRecorder, FrameTakesTheAcrossResolutionForXAndTheDownOneForY)
{
    // A reference of 300 x 150 dpi: the frame of a 300 x 150 pixel drawing
    // is an inch square.
    QImage ref(600, 300, QImage::Format_RGB32);
    ref.setDotsPerMeterX(int(300 / 0.0254));
    ref.setDotsPerMeterY(int(150 / 0.0254));
    auto refDc = Dc::ForImage(&ref);
    EnhMetafile mf = Record(refDc.get(), IntRect{0, 0, 300, 150}, nullptr, [](Dc&) {});
    ASSERT_TRUE(mf);
    EXPECT_EQ(mf->header.frame.right, MetafileFrameOfPixels(*refDc, IntRect{0, 0, 300, 150}).right);
    EXPECT_NEAR(mf->header.frame.right, 2540, 30);
    EXPECT_NEAR(mf->header.frame.bottom, 2540, 30);
    EXPECT_TRUE(mf->header.description.empty());
    // The reference device is the reference's own size.
    EXPECT_EQ(mf->header.devicePixels.width, 600);
    EXPECT_EQ(mf->header.devicePixels.height, 300);
    DeleteEnhMetaFile(mf);
}

TEST(MetafileRecorder, ObjectsGoOnceNothingHoldsThemAndRestoreBringsBackTheSavedOnes)
{
    auto screen = Dc::ForMeasuring(96);
    EnhMetafile mf = Record(screen.get(), IntRect{0, 0, 40, 20}, nullptr, [](Dc& dc) {
        for (int i = 0; i < 500; ++i)
            dc.selectPen(Pen{PS_SOLID, 0, MakeRgb(uint8_t(i), 0, 0)});
        dc.selectPen(Pen{PS_SOLID, 0, MakeRgb(0, 0, 255)});
        const int32_t level = dc.saveDc();
        dc.selectPen(Pen{PS_SOLID, 0, MakeRgb(255, 0, 0)});
        dc.moveTo(0, 5);
        dc.lineTo(40, 5);
        dc.restoreDc(level);
        dc.moveTo(0, 15);
        dc.lineTo(40, 15);
    });
    ASSERT_TRUE(mf);
    EXPECT_LE(mf->header.handles, 4);

    QImage image(40, 20, QImage::Format_RGB32);
    image.fill(Qt::white);
    auto out = Dc::ForImage(&image);
    PlayMetafile(out.get(), mf, IntRect{0, 0, 40, 20});
    EXPECT_EQ(FromQColor(image.pixelColor(20, 5)), MakeRgb(255, 0, 0));
    EXPECT_EQ(FromQColor(image.pixelColor(20, 15)), MakeRgb(0, 0, 255));
    DeleteEnhMetaFile(mf);
}

}  // namespace

namespace {

TEST(MetafileRecorder, WindowsMetafileExportReadsBackHereAndInWmf2svg)
{
    TempDir dir;
    EnhMetafile mf = RecordCard(true);
    ASSERT_TRUE(mf);
    PathRecord record;
    ASSERT_EQ(PathRecordFromPosix(dir.file("card.wmf"), &record), 0);
    FileHandle file = kNoFile;
    ASSERT_EQ(FileCreate(&record, kFileWrite, &file), 0);
    EXPECT_EQ(MetafileWriteFile(file, mf, nullptr, 0), 0);
    FileClose(file);
    DeleteEnhMetaFile(mf);

    EnhMetafile back = MetafileLoadByExtension(dir.file("card.wmf").c_str());
    ASSERT_TRUE(back);
    const QImage played = Played(back);
    EXPECT_LT(CellDifference(Direct(true), played, 16), 32.0);
    DeleteEnhMetaFile(back);

    if (!HaveTool("wmf2svg") || !HaveTool("rsvg-convert"))
        SKIP_FOR_MISSING_TOOL() << "wmf2svg or rsvg-convert missing";
    ASSERT_EQ(RunTool("wmf2svg", {"--inline", "-o", QString::fromStdString(dir.file("card.svg")),
                                  QString::fromStdString(dir.file("card.wmf"))}),
              0);
    const QImage svg = RenderSvg(dir.file("card.svg"), kW, kH, dir.file("card.png"));
    ASSERT_FALSE(svg.isNull());
    // That reader snaps colours to named ones and leaves out clips and
    // pictures; probe the inside of each filled shape.
    const QImage direct = Direct(true);
    for (QPoint p : {QPoint(60, 40), QPoint(150, 40), QPoint(40, 125), QPoint(207, 105), QPoint(130, 4)}) {
        const QColor a = direct.pixelColor(p), b = svg.pixelColor(p);
        EXPECT_LE(std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) + std::abs(a.blue() - b.blue()), 96)
            << p.x() << "," << p.y();
    }
}

}  // namespace
