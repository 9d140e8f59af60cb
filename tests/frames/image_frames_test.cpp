#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QProcess>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "support/needed_tools.h"
#include "foundation/file_io.h"
#include "foundation/path_record.h"
#include "foundation/program_folder.h"
#include "frames/frame_obj_image.h"
#include "frames/image_file.h"
#include "frames/image_geometry.h"
#include "frames/image_postscript.h"
#include "frames/picture_file_lookup.h"
#include "frames/picture_soft_masks.h"
#include "frames/pointer_poll.h"
#include "frames/visible_part.h"
#include "frames/wrap_point_list.h"
#include "graphics/corner_quad.h"
#include "graphics/dib_pixels.h"
#include "graphics/ghostscript.h"
#include "graphics/offscreen_dc.h"
#include "graphics/postscript.h"
#include "graphics/ps_text_builders.h"
#include "content_test_document.h"
#include "support/alert_capture.h"
#include "support/without_ghostscript.h"

namespace {

DibHandle Picture(int32_t width, int32_t height, const std::function<ColorRef(int32_t, int32_t)>& colour)
{
    DibHandle h = DibHandleNew();
    DibHandleCreate(h, width, height, 24);
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x)
            DibHandleSetPixel(h, x, y, colour(x, y));
    }
    return h;
}

PathRecord Record(const std::string& path)
{
    PathRecord r{};
    EXPECT_EQ(PathRecordFromPosix(path, &r), 0);
    return r;
}

void WriteText(const std::string& path, const std::string& text)
{
    QFile f(QString::fromStdString(path));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text.data(), qint64(text.size()));
}

const char kEps[] = "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 10 20 110 70\n"
                    "newpath 10 20 moveto 110 20 lineto 110 70 lineto closepath fill\n%%EOF\n";

class ImageFrames : public SwapTest {
protected:
    FrameObjImage* NewImage(const IntRect& rect)
    {
        auto* image = static_cast<FrameObjImage*>(doc_.frames.CreateFrameObject(kFrameImage, 1));
        image->SetFromRect(rect);
        return image;
    }

    ContentTestDocument doc_{dir_.path()};
};

TEST_F(ImageFrames, FilesAreClassifiedByExtensionOrByWhatTheyHold)
{
    struct Case {
        std::string name;
        std::string content;
        uint32_t tag;
        uint8_t kind;
        bool raster;
    };
    QImage bmp(4, 4, QImage::Format_RGB32);
    bmp.fill(Qt::red);
    bmp.save(QString::fromStdString(dir_.file("real.bmp")));
    const Case cases[] = {
        {"any.JPG", "not really", kImageTagPict, kImageKindRaster, true},
        {"any.png", "", kImageTagPict, kImageKindRaster, true},
        {"any.Ico", "", kImageTagPict, kImageKindRaster, true},
        {"drawing.eps", kEps, kImageTagEps, kImageKindEps, false},
        {"nobox.eps", "garbage without a box", kImageTagNone, kImageKindNone, false},
        {"boxed.ps", "garbage\n%%BoundingBox: 0 0 5 5\n", kImageTagEps, kImageKindEps, false},
        {"vector.emf", "not recognised", kImageTagEmf, kImageKindMetafile, false},
        {"notes.txt", "plain words", kImageTagNone, kImageKindNone, false},
    };
    for (const Case& c : cases) {
        WriteText(dir_.file(c.name), c.content);
        uint32_t tag = 0;
        uint8_t kind = 9;
        EXPECT_EQ(ImageClassifyFile(Record(dir_.file(c.name)), &tag, &kind), c.raster) << c.name;
        EXPECT_EQ(tag, c.tag) << c.name;
        EXPECT_EQ(kind, c.kind) << c.name;
    }
    uint32_t tag = 0;
    uint8_t kind = 0;
    EXPECT_TRUE(ImageClassifyFile(Record(dir_.file("real.bmp")), &tag, &kind));
    EXPECT_EQ(tag, kImageTagPict);
}

TEST_F(ImageFrames, EpsFilesStandInAsAGreyBoxWithTheirName)
{
    EXPECT_EQ(EpsStandInFontSize(200, 100, 10), 28);
    EXPECT_EQ(EpsStandInFontSize(50, 100, 10), 9);
    EXPECT_EQ(EpsStandInFontSize(1000, 40, 4), 20);
    EXPECT_EQ(EpsStandInFontSize(0, 0, 0), 9);

    WriteText(dir_.file("drawing.eps"), kEps);
    DibHandleOwner standIn(EpsStandInPicture(Record(dir_.file("drawing.eps")), nullptr));
    ASSERT_TRUE(standIn.get());
    EXPECT_EQ(DibHandleWidth(standIn.get()), 101);
    EXPECT_EQ(DibHandleHeight(standIn.get()), 51);
    EXPECT_EQ(DibHandleGetPixel(standIn.get(), 0, 0), 0xC0C0C0u);
    int dark = 0;
    for (int x = 0; x < 101; ++x) {
        for (int y = 0; y < 51; ++y)
            dark += DibHandleGetPixel(standIn.get(), x, y) == 0 ? 1 : 0;
    }
    EXPECT_GT(dark, 20);

    // A file without a bounding box has no stand-in and loads nothing.
    WriteText(dir_.file("bare.eps"), "%!PS\n");
    EXPECT_EQ(EpsStandInPicture(Record(dir_.file("bare.eps")), nullptr), nullptr);
}

TEST_F(ImageFrames, ScalesMoveByPercentOfThemselvesBetweenTenAndTenThousand)
{
    EXPECT_EQ(ImageAdjustedScale(15.0f, -50), 10.0f);
    EXPECT_EQ(ImageAdjustedScale(100.0f, -85), 15.0f);
    EXPECT_EQ(ImageAdjustedScale(200.0f, 50), 300.0f);
    EXPECT_EQ(ImageAdjustedScale(5000.0f, 1000000), kImageMaxScale);
    EXPECT_EQ(ImageUsableScale(std::nanf("")), 100.0f);

    FrameObjImage* image = NewImage(IntRect{0, 0, 100, 100});
    image->AdjustScale(-85, 0);
    image->AdjustScale(-50, 0);
    EXPECT_EQ(image->BlockA().hScale, 10.0f);
    EXPECT_EQ(image->BlockA().vScale, 100.0f);
    // The undo takes both scales back to before the first change.
    image->ToggleSaved();
    EXPECT_EQ(image->BlockA().hScale, 100.0f);
}

TEST_F(ImageFrames, PictureRectanglesScalePanAndFollowTheFrame)
{
    EXPECT_EQ(ImageScaledRect(IntRect{0, 0, 99, 49}, 50.0f, 200.0f), (IntRect{0, 0, 49, 99}));
    // Far beyond what 32 bits hold, the rectangle stops at the range.
    EXPECT_EQ(ImageScaledRect(IntRect{0, 0, 2000000000, 5}, kImageMaxScale, 100.0f).right, INT32_MAX);

    FrameObjImage* image = NewImage(IntRect{10, 20, 210, 220});
    ASSERT_EQ(image->SetImage(Picture(100, 50, [](int, int) { return kWhite; }), true), 0);
    image->AdjustScale(-50, 100);
    image->PanBy(5, 7);
    IntRect rect;
    CornerQuad corners;
    image->GetDestination(false, &rect, &corners);
    EXPECT_EQ(rect, (IntRect{15, 27, 64, 126}));
    EXPECT_EQ(corners.corners[2], (IntPoint{64, 126}));

    // Fitted: the frame's inside, and panning is ignored.
    EXPECT_EQ(image->SetFitToFrame(1), 0);
    image->PanBy(50, 50);
    image->GetDestination(false, &rect, &corners);
    EXPECT_EQ(rect.left, 10 + 2);
    EXPECT_EQ(rect.top, 20 + 2);
}

TEST_F(ImageFrames, OppositeAnglesKeepNoTurnedCopyAndFittingDropsThePicturesAngle)
{
    FrameObjImage* image = NewImage(IntRect{0, 0, 80, 60});
    ASSERT_EQ(image->SetImage(Picture(40, 20, [](int x, int) { return x < 20 ? 0x0000FF : kWhite; }), true), 0);
    image->SetGeometryField(4, 30);
    image->SetPictureAngle(-30);
    EXPECT_EQ(image->TotalAngle(), 0);
    ASSERT_EQ(image->PrepareImage(0), 0);
    EXPECT_EQ(image->BlockB().rotatedStored, 0);
    EXPECT_EQ(DibHandleWidth(image->CurrentImage()), 40);

    image->SetPictureAngle(15);
    ASSERT_EQ(image->PrepareImage(0), 0);
    EXPECT_EQ(image->BlockB().rotatedStored, 1);
    EXPECT_EQ(image->BlockB().rotatedAngle, 45);
    EXPECT_GT(DibHandleWidth(image->CurrentImage()), 40);

    image->SetFitToFrame(1);
    EXPECT_EQ(image->BlockA().pictureAngle, 0);
}

TEST_F(ImageFrames, AReopenedRotatedPictureIsTurnedOnlyOnce)
{
    FrameObjImage* image = NewImage(IntRect{0, 0, 120, 90});
    ASSERT_EQ(image->SetImage(Picture(40, 20, [](int x, int y) { return (x + y) % 3 ? 0x00FF00 : 0x0000FF; }), true),
              0);
    image->SetGeometryField(4, 30);
    ASSERT_EQ(image->PrepareImage(0), 0);
    const int32_t turnedWidth = DibHandleWidth(image->CurrentImage());
    const int32_t turnedHeight = DibHandleHeight(image->CurrentImage());

    ScratchFile file(dir_, "document");
    ASSERT_EQ(image->Write(file.get(), 0), 0);

    ContentTestDocument other(dir_.path());
    FrameObjImage back;
    back.SetDocument(&other);
    ASSERT_EQ(back.Read(file.get(), 0), 0);
    EXPECT_EQ(back.BlockB().rotationPending, 1);
    ASSERT_EQ(back.PrepareImage(1), 0);
    EXPECT_EQ(DibHandleWidth(back.CurrentImage()), 40);
    EXPECT_EQ(DibHandleHeight(back.CurrentImage()), 20);
    ASSERT_EQ(back.PrepareImage(0), 0);
    EXPECT_EQ(DibHandleWidth(back.CurrentImage()), turnedWidth);
    EXPECT_EQ(DibHandleHeight(back.CurrentImage()), turnedHeight);
    EXPECT_EQ(back.BlockB().rotationPending, 0);
}

TEST_F(ImageFrames, AnOversizedTurnFailsThePreparationAndDrawsNothing)
{
    FrameObjImage* image = NewImage(IntRect{0, 0, 100, 100});
    ASSERT_EQ(image->SetImage(Picture(400, 400, [](int, int) { return 0x0000FF; }), true), 0);
    image->AdjustScale(100000, 100000);
    image->SetGeometryField(4, 10);
    EXPECT_EQ(image->PrepareImage(0), 1);
    image->DrawContent(doc_.view.dc.get());
    EXPECT_TRUE(PixelIs(doc_.view.image, 50, 50, kWhite));
}

TEST_F(ImageFrames, ALongTurnedPictureIsMadeWithNoMorePixelsThanAPageShows)
{
    // 12243 x 104 points fitted and turned by 30 degrees: its turned box
    // would hold 66 million pixels.
    FrameObjImage* image = NewImage(IntRect{0, 0, 12243, 104});
    ASSERT_EQ(image->SetImage(Picture(300, 20, [](int x, int) { return x < 150 ? 0x0000FF : 0x00FF00; }), true), 0);
    image->SetFitToFrame(1);
    image->SetGeometryField(4, 30);
    ASSERT_EQ(image->PrepareImage(0), 0);
    const double pixels = double(DibHandleWidth(image->CurrentImage())) * DibHandleHeight(image->CurrentImage());
    EXPECT_LE(pixels, kFrameImageMaxPixels * 1.01);
    EXPECT_GT(pixels, kFrameImageMaxPixels / 2);
    image->DrawContent(doc_.view.dc.get());
    // The turned picture still starts at the frame's corner.
    EXPECT_TRUE(PixelIs(doc_.view.image, 30, 0, 0x0000FF) || PixelIs(doc_.view.image, 30, 1, 0x0000FF));
}

// Zoomed to 400%, a turned picture is turned at the view's pixels: its
// edges step by a pixel a row, not in blocks of four, and what it keys out
// stays out.
TEST_F(ImageFrames, ATurnedPictureAt400PercentIsTurnedAtTheViewsPixels)
{
    ContentTestDocument doc(dir_.path(), 400, 400);
    doc.Zoom(4, 1);
    auto* image = static_cast<FrameObjImage*>(doc.frames.CreateFrameObject(kFrameImage, 1));
    image->SetFromRect(IntRect{10, 10, 70, 50});
    // Red and blue halves under a band of white, the key colour.
    ASSERT_EQ(image->SetImage(Picture(240, 160,
                                      [](int x, int y) {
                                          return y < 20 ? kWhite : x < 120 ? 0x0000FF : 0xFF0000;
                                      }),
                              true),
              0);
    image->SetFitToFrame(1);
    image->SetGeometryField(4, 30);
    image->SetColour(kNoBackground, 2);
    Dc* dc = doc.view.dc.get();
    dc->fillRect(IntRect{0, 0, 400, 400}, Brush::Solid(0x00FF00));
    image->DrawContent(dc);
    const QImage& shown = doc.view.image;

    // Where each row that crosses the line between the halves turns from
    // red to blue; and no white anywhere, for it is keyed out however it is
    // turned.
    std::vector<int> edges;
    int white = 0;
    for (int y = 0; y < shown.height(); ++y) {
        int edge = -1;
        bool red = false;
        for (int x = 0; x < shown.width(); ++x) {
            const QRgb p = shown.pixel(x, y);
            white += qRed(p) > 200 && qGreen(p) > 200 && qBlue(p) > 200;
            red = red || (qRed(p) > 200 && qGreen(p) < 60 && qBlue(p) < 60);
            if (edge < 0 && red && qBlue(p) > 200 && qRed(p) < 60)
                edge = x;
        }
        if (edge >= 0)
            edges.push_back(edge);
    }
    EXPECT_EQ(white, 0);
    ASSERT_GT(edges.size(), 60u);
    int steepest = 0;
    for (size_t i = 1; i < edges.size(); ++i)
        steepest = std::max(steepest, std::abs(edges[i] - edges[i - 1]));
    EXPECT_LE(steepest, 2);
}

TEST_F(ImageFrames, WhitePixelsShowWhatLiesBeneathUnlessTheFrameHasABackground)
{
    Dc* dc = doc_.view.dc.get();
    FrameObjImage* image = NewImage(IntRect{10, 10, 50, 30});
    ASSERT_EQ(image->SetImage(Picture(40, 20, [](int x, int) { return x < 20 ? 0x0000FF : kWhite; }), true), 0);
    dc->fillRect(IntRect{0, 0, 400, 300}, Brush::Solid(0xFF0000));
    image->SetColour(kNoBackground, 2);
    image->DrawContent(dc);
    EXPECT_TRUE(PixelIs(doc_.view.image, 15, 20, 0x0000FF));
    EXPECT_TRUE(PixelIs(doc_.view.image, 45, 20, 0xFF0000));

    dc->fillRect(IntRect{0, 0, 400, 300}, Brush::Solid(0xFF0000));
    image->SetColour(0, 2);
    image->DrawContent(dc);
    EXPECT_TRUE(PixelIs(doc_.view.image, 15, 20, 0x0000FF));
    EXPECT_TRUE(PixelIs(doc_.view.image, 45, 20, kWhite));
}

// A PNG's transparent pixels come to the frame as the white it keys out:
// on screen and on paper they show what lies beneath a frame without a
// background, and white in a frame with one, never a colour of their own.
TEST_F(ImageFrames, TransparentPngPixelsShowWhatLiesBeneath)
{
    QImage picture(40, 20, QImage::Format_ARGB32);
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 40; ++x)
            picture.setPixel(x, y, x < 20 ? qRgba(0, 0, 255, 255) : qRgba(0, 0, 0, 0));
    }
    ASSERT_TRUE(picture.save(QString::fromStdString(dir_.file("clear.png"))));
    FrameObjImage* image = NewImage(IntRect{10, 10, 50, 30});
    ASSERT_EQ(image->LoadFromFile(Record(dir_.file("clear.png")), 1), 0);
    image->SetFitToFrame(1);

    Dc* dc = doc_.view.dc.get();
    for (bool printing : {false, true}) {
        dc->fillRect(IntRect{0, 0, 400, 300}, Brush::Solid(0x00FF00));
        image->SetColour(kNoBackground, 2);
        image->ShiftForOutput(printing, 0, 0, 0);
        image->DrawContent(dc);
        image->ShiftForOutput(0, 0, 0, 0);
        EXPECT_TRUE(PixelIs(doc_.view.image, 15, 20, 0xFF0000)) << printing;
        EXPECT_TRUE(PixelIs(doc_.view.image, 45, 20, 0x00FF00)) << printing;

        dc->fillRect(IntRect{0, 0, 400, 300}, Brush::Solid(0x00FF00));
        image->SetColour(0, 2);
        image->ShiftForOutput(printing, 0, 0, 0);
        image->DrawContent(dc);
        image->ShiftForOutput(0, 0, 0, 0);
        EXPECT_TRUE(PixelIs(doc_.view.image, 45, 20, kWhite)) << printing;
    }
}

TEST_F(ImageFrames, TheTracedOutlineFollowsThePictureWithinTwentyThreePoints)
{
    FrameObjImage* image = NewImage(IntRect{100, 50, 200, 150});
    image->SetBorderWidth(0);
    // A black diamond on white.
    ASSERT_EQ(image->SetImage(Picture(100, 100,
                                      [](int x, int y) { return std::abs(x - 50) + std::abs(y - 50) < 40 ? 0 : kWhite; }),
                              true),
              0);
    image->BuildPictureOutline(false, true);
    const std::vector<IntPoint>& outline = image->PictureOutline();
    ASSERT_GE(outline.size(), 3u);
    EXPECT_LE(outline.size(), size_t(kImageOutlinePoints));
    for (const IntPoint& p : outline) {
        EXPECT_GE(p.x, 100 + 9);
        EXPECT_LE(p.x, 200 - 9);
    }
    // With a border the frame's rectangle stands for the picture.
    image->SetBorderWidth(2);
    image->BuildPictureOutline(true, true);
    ASSERT_EQ(image->PictureOutline().size(), 8u);
    EXPECT_EQ(image->PictureOutline()[0], (IntPoint{97, 47}));

    WrapPointList list;
    EXPECT_TRUE(image->AddRotatedPoints(nullptr, &list, WrapPointList::kCapacity));
    EXPECT_EQ(list.Count(), 16);
    EXPECT_FALSE(image->AddRotatedPoints(nullptr, &list, 60));
}

class ScriptedPointer : public PointerPoll {
public:
    bool LeftButtonDown() override { return step_ < path.size(); }
    IntPoint CursorPos() override { return step_ < path.size() ? path[step_++] : path.back(); }
    std::vector<IntPoint> path;

private:
    size_t step_ = 0;
};

TEST_F(ImageFrames, PanningFollowsTheMouseUntilTheButtonIsLetGo)
{
    FrameObjImage* image = NewImage(IntRect{10, 10, 110, 110});
    ASSERT_EQ(image->SetImage(Picture(50, 50, [](int, int) { return 0x0000FF; }), true), 0);
    ScriptedPointer pointer;
    pointer.path = {{100, 100}, {103, 100}, {108, 94}, {108, 94}};
    PointerPoll* previous = SetPointerPoll(&pointer);
    EXPECT_TRUE(image->TrackContent());
    EXPECT_EQ(image->BlockA().pan, (IntPoint{8, -6}));
    image->SetFitToFrame(1);
    EXPECT_FALSE(image->TrackContent());
    SetPointerPoll(previous);
}

TEST_F(ImageFrames, APrintJobSearchesForEachPictureOnceAndStillSeesItGo)
{
    // Found ignoring case, as a name stored on Windows is.
    WriteText(dir_.file("LOGO.PNG"), "x");
    const PathRecord stored = Record(dir_.file("logo.png"));
    int searches = 0;
    const auto places = [&](int n, PathRecord* place) {
        searches += n == 0;
        *place = stored;
        return n == 0;
    };
    PictureFileLookup& lookup = PictureFileLookup::Shared();
    PathRecord found{};
    lookup.BeginJob();
    for (int card = 0; card < 5; ++card)
        EXPECT_EQ(lookup.Find("logo", places, &found), 0);
    EXPECT_EQ(searches, 1);
    EXPECT_EQ(PathRecordToPosix(found), dir_.file("logo.png"));

    // Gone midway: the next card misses it, and later cards do not search
    // again until a file comes back under the name.
    QFile::remove(QString::fromStdString(dir_.file("LOGO.PNG")));
    EXPECT_EQ(lookup.Find("logo", places, &found), 1);
    EXPECT_EQ(lookup.Find("logo", places, &found), 1);
    EXPECT_EQ(searches, 2);
    WriteText(dir_.file("logo.png"), "x");
    EXPECT_EQ(lookup.Find("logo", places, &found), 0);
    EXPECT_EQ(searches, 3);
    lookup.EndJob();

    // Between jobs every call searches, as the window follows the files.
    EXPECT_EQ(lookup.Find("logo", places, &found), 0);
    EXPECT_EQ(lookup.Find("logo", places, &found), 0);
    EXPECT_EQ(searches, 5);
}

TEST_F(ImageFrames, AMissingFileIsLookedForBesideTheProgram)
{
    AlertCapture alerts;
    QImage picture(6, 4, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    ASSERT_TRUE(picture.save(QString::fromStdString(dir_.file("logo.png"))));
    FrameObjImage* image = NewImage(IntRect{0, 0, 50, 50});
    ASSERT_EQ(image->LoadFromFile(Record(dir_.file("logo.png")), 1), 0);
    EXPECT_EQ(image->BlockA().fromFile, 1);
    EXPECT_EQ(image->BlockA().imageRect, (IntRect{0, 0, 5, 3}));
    PathRecord found{};
    EXPECT_EQ(image->LocateFile(&found, true), 0);

    TempDir program;
    SetProgramFolderForTesting(program.path());
    ASSERT_TRUE(QFile::rename(QString::fromStdString(dir_.file("logo.png")),
                              QString::fromStdString(program.file("logo.png"))));
    EXPECT_EQ(image->LocateFile(&found, true), 0);
    EXPECT_EQ(PathRecordToPosix(found), program.file("logo.png"));
    QFile::remove(QString::fromStdString(program.file("logo.png")));
    EXPECT_EQ(image->LocateFile(&found, true), 4);
    SetProgramFolderForTesting("");
    EXPECT_EQ(alerts.lastText(), "Picture file not found.");

    PathRecord nowhere = Record(dir_.file("absent.png"));
    EXPECT_EQ(image->LoadFromFile(nowhere, 1), 1);
}

// ---- metafiles ----

// A recorded metafile: a red square on the left of a 100 x 50 frame, the
// rest untouched.
Handle RedSquareMetafile()
{
    auto reference = Dc::ForMeasuring();
    OffscreenDC recording(reference.get());
    EXPECT_EQ(recording.BeginMetafile(0, 0, 99, 49, "square"), 0);
    recording.GetSafeHdc()->fillRect(IntRect{0, 0, 40, 50}, Brush::Solid(0x0000FF));
    Handle bits = HandleNew(0);
    EXPECT_EQ(recording.EndMetafile(bits), 0);
    return bits;
}

TEST_F(ImageFrames, MetafilesShowTheirPreviewAndLetWhatLiesBeneathShowAroundIt)
{
    Handle bits = RedSquareMetafile();
    ASSERT_GT(HandleGetSize(bits), 0u);
    const std::vector<uint8_t> bytes(HandleData(bits), HandleData(bits) + HandleGetSize(bits));
    FrameObjImage* image = NewImage(IntRect{10, 10, 210, 110});
    ASSERT_EQ(image->SetMetafile(bits), 0);
    EXPECT_EQ(image->BlockA().tag, kImageTagEmf);
    EXPECT_EQ(image->BlockA().kind, kImageKindMetafile);
    EXPECT_EQ(image->BlockB().previewStored, 1u);
    EXPECT_EQ(image->BlockB().previewLength, uint32_t(bytes.size()));
    ASSERT_EQ(image->PrepareImage(0), 0);
    EXPECT_LE(std::max(DibHandleWidth(image->CurrentImage()), DibHandleHeight(image->CurrentImage())), 300);

    Dc* dc = doc_.view.dc.get();
    dc->fillRect(IntRect{0, 0, 400, 300}, Brush::Solid(0x00FF00));
    image->SetColour(kNoBackground, 2);
    image->DrawContent(dc);
    EXPECT_TRUE(PixelIs(doc_.view.image, 40, 60, 0x0000FF));
    EXPECT_TRUE(PixelIs(doc_.view.image, 160, 60, 0x00FF00));

    // Printed, the bits are played into the frame.
    dc->fillRect(IntRect{0, 0, 400, 300}, Brush::Solid(kWhite));
    image->ShiftForOutput(1, 0, 0, 0);
    image->DrawContent(dc);
    image->ShiftForOutput(0, 0, 0, 0);
    EXPECT_TRUE(PixelIs(doc_.view.image, 40, 60, 0x0000FF));

    // A metafile file loads as such and keeps its bits for printing.
    QFile file(QString::fromStdString(dir_.file("square.emf")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size()));
    file.close();
    FrameObjImage* loaded = NewImage(IntRect{0, 0, 100, 50});
    ASSERT_EQ(loaded->LoadFromFile(Record(dir_.file("square.emf")), 1), 0);
    EXPECT_EQ(loaded->BlockA().tag, kImageTagEmf);
    EXPECT_EQ(loaded->BlockB().previewStored, 1u);
    EXPECT_EQ(loaded->BlockB().imageStored, 1u);
}

// ---- EPS pass-through ----

class CapturingSink : public PassThroughSink {
public:
    int32_t Escape(const uint8_t* buffer, uint32_t size) override
    {
        const uint16_t n = GetU16LE(buffer);
        EXPECT_EQ(size, uint32_t(n) + 2);
        text.append(reinterpret_cast<const char*>(buffer + 2), n);
        return 1;
    }
    std::string text;
};

EpsPlacement PagePlacement()
{
    EpsPlacement p;
    RectToCornerQuad(IntRect{100, 100, 300, 200}, &p.clipCorners);
    p.frameOrigin = IntPoint{100, 100};
    p.destination = IntRect{100, 100, 300, 200};
    p.fit = true;
    return p;
}

TEST_F(ImageFrames, ADegenerateBoundingBoxSendsNoPostScript)
{
    HandleOwner text(HandleNew(1));
    EXPECT_EQ(EpsPlacementText(PagePlacement(), IntRect{10, 20, 10, 70}, text.get()), 1);
    EXPECT_EQ(EpsPlacementText(PagePlacement(), IntRect{10, 20, 110, 20}, text.get()), 1);
    EXPECT_EQ(HandleData(text.get())[0], 0);

    WriteText(dir_.file("flat.eps"), "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 5 5 5 90\n");
    CapturingSink sink;
    EXPECT_EQ(ImageSendEps(&sink, Record(dir_.file("flat.eps")), PagePlacement()), 1);
    EXPECT_TRUE(sink.text.empty());
}

TEST_F(ImageFrames, PassedThroughEpsLandsOnTheFrameForGhostscript)
{
    WriteText(dir_.file("drawing.eps"), kEps);
    CapturingSink sink;
    // A printer's device space: one unit a point, y pointing down.
    PsSendCStr(&sink, "%!PS-Adobe-3.0\n0 792 translate 1 -1 scale\n");
    PsGsave(&sink);
    ASSERT_EQ(ImageSendEps(&sink, Record(dir_.file("drawing.eps")), PagePlacement()), 0);
    PsGrestore(&sink);
    PsSendCStr(&sink, "showpage\n");
    EXPECT_NE(sink.text.find("%%BeginDocument:A\n"), std::string::npos);
    EXPECT_NE(sink.text.find(" 2 -2 scale "), std::string::npos) << sink.text;

    QProcess gs;
    gs.start("gs", {"-q", "-dNOPAUSE", "-dBATCH", "-dSAFER", "-sDEVICE=bbox", "-"});
    if (!gs.waitForStarted(5000))
        SKIP_FOR_MISSING_TOOL() << "Ghostscript is not installed";
    gs.write(sink.text.data(), qint64(sink.text.size()));
    gs.closeWriteChannel();
    ASSERT_TRUE(gs.waitForFinished(30000));
    const std::string box = QString::fromUtf8(gs.readAllStandardError()).toStdString();
    // The triangle of the file spans the frame's rectangle: 100..300
    // across, 100..200 down the device, which is 592..692 up the page.
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    ASSERT_EQ(std::sscanf(box.c_str(), "%%%%BoundingBox: %d %d %d %d", &x0, &y0, &x1, &y1), 4) << box;
    EXPECT_NEAR(x0, 100, 2);
    EXPECT_NEAR(x1, 300, 2);
    EXPECT_NEAR(y0, 592, 2);
    EXPECT_NEAR(y1, 692, 2);
}

// ---- EPS pictures drawn by Ghostscript ----

bool HaveGhostscript() { return GhostscriptAvailable(); }

bool Dark(const QImage& image, int x, int y) { return qGray(image.pixel(x, y)) < 64; }
bool Grey(const QImage& image, int x, int y) { return image.pixel(x, y) == qRgb(0xC0, 0xC0, 0xC0); }

TEST_F(ImageFrames, EpsPicturesShowAndPrintWhatTheirPostScriptDraws)
{
    if (!HaveGhostscript())
        SKIP_FOR_MISSING_TOOL() << "Ghostscript is not installed";
    // The triangle fills the lower right half of the box: from the box's
    // lower-left corner to its upper-right one. Its path starts without a
    // newpath, as many files' do, so the frame's clip must not be part of it.
    WriteText(dir_.file("drawing.eps"), "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 10 20 110 70\n"
                                        "10 20 moveto 110 20 lineto 110 70 lineto closepath fill\n%%EOF\n");
    DibHandleOwner preview(EpsRenderedPreview(Record(dir_.file("drawing.eps"))));
    ASSERT_TRUE(preview.get());
    EXPECT_EQ(DibHandleWidth(preview.get()), 101);
    EXPECT_EQ(DibHandleHeight(preview.get()), 51);
    EXPECT_EQ(DibHandleGetPixel(preview.get(), 95, 45), 0u);
    EXPECT_EQ(DibHandleGetPixel(preview.get(), 5, 5), kWhite);

    // A frame made while gs is missing keeps the grey stand-in as its
    // picture; printed, the PostScript is drawn all the same.
    FrameObjImage* image = NewImage(IntRect{10, 10, 210, 110});
    {
        WithoutGhostscript missing;
        ASSERT_EQ(image->LoadFromFile(Record(dir_.file("drawing.eps")), 1), 0);
    }
    ASSERT_EQ(image->BlockA().kind, kImageKindEps);
    QImage& surface = doc_.view.image;
    Dc* dc = doc_.view.dc.get();
    dc->fillRect(IntRect{0, 0, 400, 300}, Brush::Solid(kWhite));
    image->DrawContent(dc);
    EXPECT_TRUE(Grey(surface, 30, 30));

    dc->fillRect(IntRect{0, 0, 400, 300}, Brush::Solid(0x00FF00));
    image->SetColour(kNoBackground, 2);
    image->ShiftForOutput(1, 0, 0, 0);
    image->DrawContent(dc);
    EXPECT_TRUE(Dark(surface, 200, 100));
    EXPECT_TRUE(Dark(surface, 150, 90));
    EXPECT_FALSE(Grey(surface, 30, 30));
    EXPECT_FALSE(Dark(surface, 30, 30));
    // Without a background colour what lies beneath shows through the
    // PostScript's white; the frame's corners clip the picture.
    EXPECT_TRUE(PixelIs(surface, 30, 30, 0x00FF00));
    EXPECT_TRUE(PixelIs(surface, 250, 100, 0x00FF00));

    // No gs: the preview prints.
    {
        WithoutGhostscript missing;
        dc->fillRect(IntRect{0, 0, 400, 300}, Brush::Solid(kWhite));
        image->DrawContent(dc);
        EXPECT_TRUE(Grey(surface, 30, 30));
    }
    // PostScript that fails: the preview prints, nobody is bothered.
    AlertCapture alerts;
    WriteText(dir_.file("broken.eps"), "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 100 50\nnosuchoperator\n");
    FrameObjImage* broken = NewImage(IntRect{10, 10, 210, 110});
    {
        WithoutGhostscript missing;
        ASSERT_EQ(broken->LoadFromFile(Record(dir_.file("broken.eps")), 1), 0);
    }
    dc->fillRect(IntRect{0, 0, 400, 300}, Brush::Solid(kWhite));
    broken->ShiftForOutput(1, 0, 0, 0);
    broken->DrawContent(dc);
    EXPECT_TRUE(Grey(surface, 30, 30));
    // A file that has gone prints its preview too, without a word (the
    // print preview draws this way at every paint).
    ASSERT_TRUE(QFile::remove(QString::fromStdString(dir_.file("drawing.eps"))));
    dc->fillRect(IntRect{0, 0, 400, 300}, Brush::Solid(kWhite));
    image->DrawContent(dc);
    EXPECT_TRUE(Grey(surface, 30, 30));
    EXPECT_TRUE(alerts.boxes().empty());
    image->ShiftForOutput(0, 0, 0, 0);
    broken->ShiftForOutput(0, 0, 0, 0);
}

TEST_F(ImageFrames, TheSameEpsFrameOnEveryCardOfASheetRunsGhostscriptOnce)
{
    if (!HaveGhostscript())
        SKIP_FOR_MISSING_TOOL() << "Ghostscript is not installed";
    WriteText(dir_.file("drawing.eps"), kEps);
    FrameObjImage* image = NewImage(IntRect{10, 10, 110, 60});
    ASSERT_EQ(image->LoadFromFile(Record(dir_.file("drawing.eps")), 1), 0);
    Dc* dc = doc_.view.dc.get();
    dc->fillRect(IntRect{0, 0, 400, 300}, Brush::Solid(kWhite));
    int runs = 0;
    image->ShiftForOutput(1, 0, 0, 0);
    {
        CountingGhostscript gs;
        // The cards of a sheet: the same frame through other window origins.
        for (const IntPoint& card : {IntPoint{0, 0}, IntPoint{-150, 0}, IntPoint{-150, -120}}) {
            dc->setWindowOrg(card.x, card.y);
            image->DrawContent(dc);
        }
        dc->setWindowOrg(0, 0);
        runs = gs.Runs();
    }
    image->ShiftForOutput(0, 0, 0, 0);
    EXPECT_EQ(runs, 1);
    for (const QPoint& corner : {QPoint(105, 55), QPoint(255, 55), QPoint(255, 175)})
        EXPECT_TRUE(Dark(doc_.view.image, corner.x(), corner.y())) << corner.x() << "," << corner.y();
}

TEST_F(ImageFrames, ATurnedEpsPicturePrintsWhereTheScreenShowsIt)
{
    if (!HaveGhostscript())
        SKIP_FOR_MISSING_TOOL() << "Ghostscript is not installed";
    // A disc on the left and a square on the right of a 2:1 box.
    WriteText(dir_.file("art.eps"), "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 144 72\n"
                                    "0 0 1 setrgbcolor 36 36 30 0 360 arc fill\n"
                                    "1 0 0 setrgbcolor 80 8 56 56 rectfill\n%%EOF\n");
    FrameObjImage* image = NewImage(IntRect{60, 60, 260, 160});
    ASSERT_EQ(image->LoadFromFile(Record(dir_.file("art.eps")), 1), 0);
    image->RotateAbout(30.0, IntPoint{160, 110}, 0);
    image->SetColour(kNoBackground, 2);
    Dc* dc = doc_.view.dc.get();
    dc->fillRect(IntRect{0, 0, 400, 300}, Brush::Solid(kWhite));
    image->DrawContent(dc);
    const QImage screen = doc_.view.image.copy();
    dc->fillRect(IntRect{0, 0, 400, 300}, Brush::Solid(kWhite));
    image->ShiftForOutput(1, 0, 0, 0);
    image->DrawContent(dc);
    image->ShiftForOutput(0, 0, 0, 0);
    const QImage printed = doc_.view.image.copy();

    // Turned once, by the frame's angle, and stretched over the picture's
    // own sides: the disc and the square cover the same pixels but for
    // their edges.
    const auto kind = [](QRgb c) { return qBlue(c) > 200 && qRed(c) < 100 ? 1 : qRed(c) > 200 && qBlue(c) < 100 ? 2 : 0; };
    int coloured = 0, differing = 0;
    for (int y = 0; y < screen.height(); ++y) {
        for (int x = 0; x < screen.width(); ++x) {
            const int a = kind(screen.pixel(x, y)), b = kind(printed.pixel(x, y));
            coloured += a != 0;
            differing += a != b;
        }
    }
    EXPECT_GT(coloured, 5000);
    EXPECT_LT(differing, coloured / 10);
}

// The graded masks kept for printing stay within their bytes: the masks
// of eighty pictures of a million pixels each push the oldest out, where
// the latest stay.
TEST_F(ImageFrames, TheMasksKeptForPaperStayWithinTheirBytes)
{
    DibHandleOwner picture;
    ASSERT_EQ(DibHandleCreate(picture.get(), 1024, 1024, 24), 0);
    const std::vector<uint8_t> alpha(size_t(1024) * 1024, 128);
    PictureSoftMasks masks;
    for (uint64_t key = 1; key <= 80; ++key)
        ASSERT_NE(masks.Take(key, picture.get(), alpha, kWhite), nullptr);
    bool known = false;
    EXPECT_NE(masks.Find(80, &known), nullptr);
    masks.Find(1, &known);
    EXPECT_FALSE(known) << "eighty megabytes of masks are kept";
}

}  // namespace
