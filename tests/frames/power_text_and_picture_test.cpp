#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <cstring>
#include <string>

#include "foundation/byte_order.h"
#include "foundation/program_folder.h"
#include "frames/frame_obj_picture.h"
#include "frames/frame_obj_power_text.h"
#include "frames/glyph_effect_renderer.h"
#include "graphics/dib_pixels.h"
#include "content_test_document.h"

namespace {

// Adds a box the size of the rectangle to the path and records what the
// frame hands on.
class RecordingEffects : public GlyphEffectRenderer {
public:
    RecordingEffects() : previous_(SetGlyphEffectRenderer(this)) {}
    ~RecordingEffects() override { SetGlyphEffectRenderer(previous_); }

    int32_t BuildPath(Dc* dc, const uint8_t*, const FontSpec& font, const IntRect& rect, int32_t, double angle) override
    {
        ++paths;
        face = font.faceName;
        builtRect = rect;
        builtAngle = angle;
        dc->rectangle(rect.left, rect.top, rect.left + 20, rect.top + 10);
        return failPath ? 1 : 0;
    }
    void Paint(Dc*, const Region& region, const uint8_t* paint, const IntRect&, double, FrameDocument*,
               int32_t thick) override
    {
        ++paints;
        painted = region.bounds();
        firstPaintWord = GetU16LE(paint);
        thickness = thick;
    }
    void Output(Dc*, const uint8_t*, const IntRect&, double angle, FrameDocument*, int32_t) override
    {
        ++outputs;
        builtAngle = angle;
    }
    bool RunStylesDialog(uint8_t* record, Handle styles, FrameDocument*) override
    {
        EXPECT_NE(styles, nullptr);
        if (!ok)
            return false;
        std::memcpy(record, "Edited", 7);
        return true;
    }

    int paths = 0, paints = 0, outputs = 0;
    bool failPath = false;
    bool ok = false;
    std::string face;
    IntRect builtRect, painted;
    double builtAngle = -1;
    uint16_t firstPaintWord = 0;
    int32_t thickness = 0;

private:
    GlyphEffectRenderer* previous_;
};

class PowerTextAndPicture : public SwapTest {
protected:
    ContentTestDocument doc_{dir_.path()};
};

TEST_F(PowerTextAndPicture, TheEffectIsPlacedInTheMiddleOfTheFrame)
{
    RecordingEffects effects;
    FrameObjPowerText frame;
    frame.SetDocument(&doc_);
    frame.SetFromRect(IntRect{100, 50, 300, 150});
    Dc* dc = doc_.view.dc.get();
    frame.DrawContent(dc);
    EXPECT_EQ(effects.paths, 0);  // no text yet

    uint8_t record[kGlyphRecordSize];
    std::memcpy(record, frame.Effect(), sizeof record);
    std::memcpy(record, "Hello", 6);
    frame.SetEffect(record);
    doc_.Zoom(2, 1);
    frame.Recompute(0);
    frame.DrawContent(dc);
    ASSERT_EQ(effects.paints, 1);
    EXPECT_EQ(effects.face, "Arial");
    EXPECT_EQ(effects.builtRect, (IntRect{0, 0, 2 * 196, 2 * 96}));
    EXPECT_EQ(effects.firstPaintWord, 1);
    EXPECT_EQ(effects.thickness, 1);
    // The 20 x 10 outline, centred on the frame's view rectangle.
    EXPECT_EQ(effects.painted, (IntRect{390, 195, 410, 205}));

    frame.ShiftForOutput(1, kOutputPostScript, 0, 0);
    frame.SetGeometryField(4, 20);
    frame.DrawContent(dc);
    EXPECT_EQ(effects.outputs, 1);
    // Laid out straight, and turned by the PostScript it writes.
    EXPECT_EQ(effects.builtAngle, 20.0);
    EXPECT_EQ(effects.paints, 1);
    frame.ShiftForOutput(0, 0, 0, 0);

    effects.failPath = true;
    frame.DrawContent(dc);
    EXPECT_EQ(effects.paints, 1);
}

TEST_F(PowerTextAndPicture, TheStylesDialogChangesTheFrameOnlyAfterOk)
{
    RecordingEffects effects;
    FrameObjPowerText frame;
    frame.SetDocument(&doc_);
    frame.EditInfo(0);
    EXPECT_EQ(frame.Effect()[0], 0);
    effects.ok = true;
    frame.EditInfo(0);
    EXPECT_STREQ(reinterpret_cast<const char*>(frame.Effect()), "Edited");

    FrameObjPowerText copy;
    frame.CopyTo(&copy);
    EXPECT_EQ(std::memcmp(copy.Effect(), frame.Effect(), kGlyphRecordSize), 0);
}

// ---- picture frames ----

class PictureFrames : public PowerTextAndPicture {
protected:
    void SetUp() override
    {
        PowerTextAndPicture::SetUp();
        SetProgramFolderForTesting(program_.path());
    }
    void TearDown() override
    {
        SetProgramFolderForTesting("");
        PowerTextAndPicture::TearDown();
    }
    FrameObjPicture* NewPicture(const IntRect& rect)
    {
        auto* picture = static_cast<FrameObjPicture*>(doc_.frames.CreateFrameObject(kFramePicture, 1));
        picture->SetFromRect(rect);
        return picture;
    }
    std::string SavePng(const std::string& path, Qt::GlobalColor colour)
    {
        QImage image(8, 6, QImage::Format_RGB32);
        image.fill(colour);
        EXPECT_TRUE(image.save(QString::fromStdString(path)));
        return path;
    }

    TempDir program_;
    FakeFieldTexts fields_;
};

TEST_F(PictureFrames, PlaceholdersSayWhatIsMissing)
{
    FrameObjPicture* picture = NewPicture(IntRect{0, 0, 120, 12});
    DibHandleOwner shown(picture->PictureMakePlaceholder());
    ASSERT_TRUE(shown.get());
    // 12 / 3 = 4 is raised to 6: three lines of 6.
    EXPECT_EQ(DibHandleHeight(shown.get()), 18);

    // Off a record the middle line names the field.
    EXPECT_EQ(picture->PictureFieldText().front(), '[');
    ASSERT_EQ(picture->PrepareImage(0), 0);
    EXPECT_EQ(picture->BlockA().fromFile, 0);

    fields_.texts[16] = dir_.file("absent.png");
    picture->SetRecordFed(1);
    EXPECT_EQ(picture->PictureFieldText(), dir_.file("absent.png"));
    ASSERT_EQ(picture->PrepareImage(0), 0);
    EXPECT_FALSE(picture->PlaceholderShown());

    // Printing a missing picture prints nothing, unless asked to.
    picture->ShiftForOutput(1, 0, 0, 0);
    EXPECT_EQ(picture->PrepareImage(0), 1);
    EXPECT_TRUE(picture->PlaceholderShown());
    doc_.printPlaceholders = true;
    EXPECT_EQ(picture->PrepareImage(0), 0);
    doc_.printPlaceholders = false;
    doc_.placeholderText = true;
    EXPECT_EQ(picture->PrepareImage(0), 0);
    picture->ShiftForOutput(0, 0, 0, 0);
}

TEST_F(PictureFrames, TheSameFileIsNotLoadedAgain)
{
    FrameObjPicture* picture = NewPicture(IntRect{0, 0, 100, 100});
    fields_.texts[16] = SavePng(dir_.file("a.png"), Qt::red);
    picture->SetRecordFed(1);
    ASSERT_EQ(picture->PrepareImage(0), 0);
    EXPECT_EQ(picture->BlockA().fromFile, 1);
    EXPECT_EQ(picture->BlockA().keepInDocument, 0);
    EXPECT_EQ(DibHandleGetPixel(picture->CurrentImage(), 0, 0), 0x0000FFu);
    // The file changes under the same name: the next card keeps what was
    // loaded.
    SavePng(dir_.file("a.png"), Qt::green);
    ASSERT_EQ(picture->PrepareImage(0), 0);
    EXPECT_EQ(DibHandleGetPixel(picture->CurrentImage(), 0, 0), 0x0000FFu);

    fields_.texts[16] = SavePng(dir_.file("b.png"), Qt::blue);
    ASSERT_EQ(picture->PrepareImage(0), 0);
    EXPECT_EQ(DibHandleGetPixel(picture->CurrentImage(), 0, 0), 0xFF0000u);
}

TEST_F(PictureFrames, AFolderWithoutADriveIsLookedForUnderTheProgramsFolder)
{
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(program_.file("pics"))));
    SavePng(program_.file("pics/logo.png"), Qt::green);
    SavePng(program_.file("top.png"), Qt::green);
    PathRecord found{};
    EXPECT_EQ(FrameObjPicture::PictureResolvePath("pics\\logo.png", &found), 0);
    EXPECT_EQ(PathRecordToPosix(found), program_.file("pics/logo.png"));
    EXPECT_EQ(FrameObjPicture::PictureResolvePath("C:\\pics\\top.png", &found), 0);
    EXPECT_EQ(PathRecordToPosix(found), program_.file("top.png"));
    EXPECT_EQ(FrameObjPicture::PictureResolvePath("C:\\pics\\logo.png", &found), 1);
    EXPECT_EQ(FrameObjPicture::PictureResolvePath("", &found), 1);
}

}  // namespace
