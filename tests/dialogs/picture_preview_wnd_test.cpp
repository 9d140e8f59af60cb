#include <gtest/gtest.h>

#include <QColor>
#include <QFile>
#include <QImage>

#include "dialogs/picture_preview_wnd.h"
#include "foundation/handle.h"
#include "graphics/dib_handle.h"
#include "graphics/offscreen_dc.h"
#include "platform/dc.h"
#include "support/shell.h"
#include "support/temp_dir.h"

namespace {

constexpr QRgb kRed = 0xFF0000;

class PicturePreviewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.ok());
        settings[kPreviewShowOffset] = 1;
        settings[kPreviewPictureModeOffset] = 1;
        window.resize(200, 200);
        window.SetSettings(settings);
    }
    // A 100 x 50 red picture in a file of the format.
    std::string RedPicture(const std::string& name, const char* format)
    {
        QImage image(100, 50, QImage::Format_RGB32);
        image.fill(QColor(255, 0, 0));
        const std::string path = dir.file(name);
        EXPECT_TRUE(image.save(QString::fromStdString(path), format));
        return path;
    }
    // An enhanced metafile twice as wide as high, filled red.
    std::string RedMetafile(const std::string& name)
    {
        QImage target(10, 10, QImage::Format_RGB32);
        std::unique_ptr<Dc> dc = Dc::ForImage(&target);
        OffscreenDC recording(dc.get());
        EXPECT_EQ(recording.BeginMetafile(0, 0, 399, 199, "red"), 0);
        recording.GetSafeHdc()->fillRect(IntRect{0, 0, 400, 200}, Brush::Solid(0x0000FF));
        HandleOwner bits(HandleNew(0));
        EXPECT_EQ(recording.EndMetafile(bits.get()), 0);
        const uint8_t* data = HandleData<uint8_t>(bits.get());
        const std::string path = dir.file(name);
        WriteFileBytes(path, std::string(reinterpret_cast<const char*>(data), HandleGetSize(bits.get())));
        return path;
    }
    QImage Shown() { return window.grab().toImage(); }
    QRgb At(const QImage& image, int x, int y) { return image.pixel(x, y) & 0xFFFFFF; }
    QRgb Face() { return window.palette().color(QPalette::Button).rgb() & 0xFFFFFF; }
    QRgb Paper() { return window.palette().color(QPalette::Base).rgb() & 0xFFFFFF; }

    TempDir dir;
    uint8_t settings[kPreviewSettingsMinSize] = {};
    CPicturePreviewWnd window;
};

TEST_F(PicturePreviewTest, RasterFilesLoadWhateverTheCaseOfTheirExtension)
{
    for (const auto& [name, format] : std::vector<std::pair<std::string, const char*>>{
             {"a.png", "PNG"}, {"b.PNG", "PNG"}, {"c.jpg", "JPG"}, {"d.JPEG", "JPG"}, {"e.bmp", "BMP"}}) {
        window.LoadPicture(RedPicture(name, format));
        EXPECT_EQ(window.Kind(), kPreviewBitmap) << name;
        EXPECT_EQ(DibHandleWidth(window.Picture()), 100) << name;
        EXPECT_EQ(DibHandleHeight(window.Picture()), 50) << name;
    }
    // A ".png" the picture object cannot read is offered to the imaging
    // engine, which knows it for the bitmap it is.
    const std::string bmp = RedPicture("f.bmp", "BMP");
    QFile::rename(QString::fromStdString(bmp), QString::fromStdString(dir.file("f.png")));
    window.LoadPicture(dir.file("f.png"));
    EXPECT_EQ(window.Kind(), kPreviewBitmap);
    EXPECT_EQ(DibHandleWidth(window.Picture()), 100);
}

TEST_F(PicturePreviewTest, UnreadableFilesAndPictureModeOffLeaveNothing)
{
    window.LoadPicture(RedPicture("a.png", "PNG"));
    ASSERT_EQ(window.Kind(), kPreviewBitmap);
    WriteFileBytes(dir.file("junk.gif"), "not a picture");
    window.LoadPicture(dir.file("junk.gif"));
    EXPECT_EQ(window.Kind(), kPreviewNothing);
    EXPECT_EQ(window.Picture(), nullptr);
    window.LoadPicture(dir.file("missing.jpg"));
    EXPECT_EQ(window.Kind(), kPreviewNothing);
    WriteFileBytes(dir.file("junk.emf"), "not a metafile");
    window.LoadPicture(dir.file("junk.emf"));
    EXPECT_EQ(window.Kind(), kPreviewNothing);
    EXPECT_EQ(At(Shown(), 100, 100), Face());

    window.LoadPicture(RedPicture("b.png", "PNG"));
    settings[kPreviewPictureModeOffset] = 0;
    window.LoadPicture(RedPicture("c.png", "PNG"));
    EXPECT_EQ(window.Kind(), kPreviewNothing);
    EXPECT_EQ(window.Picture(), nullptr);
    window.SetSettings(nullptr);
    window.LoadPicture(RedPicture("d.png", "PNG"));
    EXPECT_EQ(window.Kind(), kPreviewNothing);
}

TEST_F(PicturePreviewTest, PicturesAreFittedCentredAndInset)
{
    window.LoadPicture(RedPicture("a.png", "PNG"));
    QImage shown = Shown();
    // 100 x 50 in 200 x 200: drawn at 200 x 100 from (0, 50), 2 pixels in.
    EXPECT_EQ(At(shown, 2, 52), kRed);
    EXPECT_EQ(At(shown, 197, 147), kRed);
    EXPECT_EQ(At(shown, 100, 100), kRed);
    EXPECT_EQ(At(shown, 1, 100), Paper());
    EXPECT_EQ(At(shown, 198, 100), Paper());
    EXPECT_EQ(At(shown, 100, 51), Paper());
    EXPECT_EQ(At(shown, 100, 148), Paper());

    // With show-preview off only the face shows; on again, the same
    // picture comes back without a load.
    settings[kPreviewShowOffset] = 0;
    EXPECT_EQ(At(Shown(), 100, 100), Face());
    settings[kPreviewShowOffset] = 1;
    EXPECT_EQ(At(Shown(), 100, 100), kRed);
}

TEST_F(PicturePreviewTest, HostPicturesAreTakenOverAndEmptyOnesIgnored)
{
    DibHandle given = DibHandleNew();
    ASSERT_EQ(DibHandleCreate(given, 40, 40, 24), 0);
    window.SetPicture(given);
    EXPECT_EQ(window.Picture(), given);
    EXPECT_EQ(window.Kind(), kPreviewBitmap);
    EXPECT_EQ(At(Shown(), 100, 100), 0u);  // a black picture fills the window

    window.SetPicture(DibHandleNew());
    EXPECT_EQ(window.Picture(), given);
    window.SetPicture(nullptr);
    EXPECT_EQ(window.Picture(), given);
    window.FreePicture();
    EXPECT_EQ(window.Kind(), kPreviewNothing);
    EXPECT_EQ(window.Picture(), nullptr);
}

TEST_F(PicturePreviewTest, MetafilesAreRenderedOnceAtTheirLoadTimeFit)
{
    window.LoadPicture(RedMetafile("a.EMF"));
    ASSERT_EQ(window.Kind(), kPreviewMetafile);
    EXPECT_EQ(DibHandleWidth(window.Picture()), 200);
    // The frame's size comes through a unit conversion that truncates.
    EXPECT_NEAR(DibHandleHeight(window.Picture()), 100, 1);
    EXPECT_EQ(At(Shown(), 100, 100), kRed);

    // A larger window stretches the same bitmap.
    window.resize(400, 400);
    EXPECT_EQ(DibHandleWidth(window.Picture()), 200);
    const QImage shown = Shown();
    EXPECT_EQ(At(shown, 200, 200), kRed);
    EXPECT_EQ(At(shown, 200, 100), Paper());
    EXPECT_EQ(At(shown, 200, 110), kRed);
    EXPECT_EQ(At(shown, 3, 200), kRed);
}

}  // namespace
