// The drawing tools through the card view: a drag (or a click, for the
// barcodes) with the mouse on a new card makes the frame of the tool's kind
// where it was dragged, with the tool's defaults; Shift squares the band and
// keeps lines to right angles; a tiny drag makes nothing. The hand scrolls,
// the zoom tool zooms around the click, the preview tool switches a frame
// between record data and its placeholders, the rotate tool turns.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QTest>
#include <QTimer>
#include <cmath>
#include <cstring>
#include <set>

#include "card_test_support.h"
#include "card_in_view_fixture.h"
#include "carddoc/barcode_tool.h"
#include "carddoc/frame_text_tool.h"
#include "carddoc/picture_tool.h"
#include "carddoc/power_text_tool.h"
#include "carddoc/rotate_tool.h"
#include "carddoc/star_tool.h"
#include "carddoc/zoom_tool.h"
#include "database/field_table.h"
#include "foundation/byte_order.h"
#include "foundation/keys.h"
#include "foundation/pstr.h"
#include "frames/barcode_frame_format.h"
#include "frames/frame_obj_barcode.h"
#include "frames/frame_obj_counter_barcode.h"
#include "frames/frame_obj_image.h"
#include "frames/frame_obj_line.h"
#include "frames/frame_obj_power_text.h"
#include "frames/frame_obj_star.h"
#include "frames/glyph_effect_renderer.h"
#include "text/text_tool.h"

namespace {

// The modifier keys the tools and trackers read.
class HeldKeys : public KeyStateSource {
public:
    HeldKeys() : previous_(SetKeyStateSource(this)) {}
    ~HeldKeys() override { SetKeyStateSource(previous_); }
    bool KeyDown(int32_t key) override { return held.count(key) != 0; }
    void DeliverPendingInput() override {}
    std::set<int32_t> held;

private:
    KeyStateSource* previous_;
};

// Leaves the plain renderer's drawing alone and answers the styles dialog.
class StylesAnswer : public GlyphEffectRenderer {
public:
    StylesAnswer() : plain_(SetGlyphEffectRenderer(nullptr)) { SetGlyphEffectRenderer(this); }
    ~StylesAnswer() override { SetGlyphEffectRenderer(plain_); }
    int32_t BuildPath(Dc* dc, const uint8_t* record, const FontSpec& font, const IntRect& rect, int32_t inset,
                      double angle) override
    {
        return Plain()->BuildPath(dc, record, font, rect, inset, angle);
    }
    void Paint(Dc* dc, const Region& region, const uint8_t* paint, const IntRect& rect, double angle,
               FrameDocument* colours, int32_t thickness) override
    {
        Plain()->Paint(dc, region, paint, rect, angle, colours, thickness);
    }
    void Output(Dc* dc, const uint8_t* record, const IntRect& rect, double angle, FrameDocument* colours,
                int32_t thickness) override
    {
        Plain()->Output(dc, record, rect, angle, colours, thickness);
    }
    bool RunStylesDialog(uint8_t* record, Handle, FrameDocument*) override
    {
        ++asked;
        if (ok)
            PStrFromCStr(record, "Hello");
        return ok;
    }
    bool ok = true;
    int asked = 0;

private:
    GlyphEffectRenderer* Plain()
    {
        SetGlyphEffectRenderer(nullptr);
        GlyphEffectRenderer* plain = InstalledGlyphEffectRenderer();
        SetGlyphEffectRenderer(this);
        return plain;
    }
    GlyphEffectRenderer* plain_;
};

class DrawToolsTest : public CardInViewTest {
protected:
    DrawToolsTest() : CardInViewTest(520, 380) {}
    void SetUp() override
    {
        CardDocTest::SetUp();
        doc = NewCardDocument();
        ASSERT_NE(doc, nullptr);
        ShowDocument();
        doc->InitialUpdate();
        View()->ScrollTo(0, 0, true);
        QApplication::processEvents();
    }
    CurrPageMng* Pages() { return doc->PageManager(); }

    // The view pixel of a point of the page (document units from the first
    // page's top-left corner).
    QPoint Pixel(int x, int y)
    {
        const IntRect slot = doc->PageGeometry().slots[0];
        IntPoint p{slot.left + x, slot.top + y};
        doc->DocToViewPoint(&p);
        const IntPoint scroll = View()->ScrollPosition();
        return QPoint(p.x - scroll.x, p.y - scroll.y);
    }
    // A press at from, a move to to and the release there.
    void Drag(const QPoint& from, const QPoint& to, Qt::MouseButton button = Qt::LeftButton)
    {
        if (button == Qt::RightButton) {
            QTest::mousePress(View(), button, {}, from);
            QTest::mouseRelease(View(), button, {}, to);
            return;
        }
        QTimer::singleShot(5, View(), [this, to] { QTest::mouseMove(View(), to); });
        QTimer::singleShot(15, View(), [this, to] { QTest::mouseRelease(View(), Qt::LeftButton, {}, to); });
        QTest::mousePress(View(), Qt::LeftButton, {}, from);
    }
    void Click(const QPoint& at) { Drag(at, at); }
    // Draws with the tool from page point (x1, y1) to (x2, y2); the new
    // frame, or null when none was made.
    FrameObj* Draw(int16_t kind, int x1, int y1, int x2, int y2)
    {
        doc->SetTool(kind, 0);
        const int16_t before = Pages()->FrameCount();
        Drag(Pixel(x1, y1), Pixel(x2, y2));
        if (Pages()->FrameCount() == before)
            return nullptr;
        return Pages()->FrameAt(int16_t(Pages()->FrameCount() - 1));
    }
    // The frame's place relative to the page.
    IntRect PageRect(const FrameObj* frame)
    {
        const IntRect slot = doc->PageGeometry().slots[0];
        IntRect r;
        frame->GetBounds(&r, 0, kGeometryCurrent);
        return IntRect{r.left - slot.left, r.top - slot.top, r.right - slot.left, r.bottom - slot.top};
    }

    HeldKeys keys;
};

void ExpectRect(const IntRect& r, int left, int top, int right, int bottom)
{
    EXPECT_EQ(r.left, left);
    EXPECT_EQ(r.top, top);
    EXPECT_EQ(r.right, right);
    EXPECT_EQ(r.bottom, bottom);
}

TEST_F(DrawToolsTest, EachShapeToolMakesItsFrameWhereItWasDragged)
{
    struct Case {
        int16_t kind;
        int16_t type;
    };
    const Case cases[] = {{kToolRect, kFrameRect},
                          {kToolRoundRect, kFrameRoundRect},
                          {kToolEllipse, kFrameEllipse},
                          {kToolArc, kFrameArc}};
    int y = 10;
    for (const Case& c : cases) {
        // Dragged up and to the left: the frame is the normalised rectangle.
        FrameObj* frame = Draw(c.kind, 90, y + 30, 20, y);
        ASSERT_NE(frame, nullptr) << c.kind;
        EXPECT_EQ(frame->GetType(), c.type);
        ExpectRect(PageRect(frame), 20, y, 90, y + 30);
        EXPECT_EQ(frame->Geometry().lineWidth, 2);
        EXPECT_EQ(frame->Geometry().sides, 0xFF);
        EXPECT_EQ(frame->Attributes().borderColour, 15);
        EXPECT_EQ(frame->Attributes().fontSize, kAttrNotSet);
        EXPECT_EQ(doc->GetCurrentToolIndex(), kToolObject);
        EXPECT_EQ(doc->SelectionCount(), 1);
        EXPECT_EQ(doc->SelectedFrame(0), frame);
        y += 40;
    }
    // The rounded rectangle's tool cannot be told from the rectangle's by
    // its kind.
    EXPECT_EQ(doc->ToolOfKind(kToolRoundRect)->GetKind(), kToolRect);
    EXPECT_TRUE(doc->IsModified());
}

TEST_F(DrawToolsTest, ShiftSquaresTheBandAndKeepsLinesToRightAngles)
{
    keys.held.insert(kVkShift);
    FrameObj* square = Draw(kToolRect, 10, 10, 50, 30);
    ASSERT_NE(square, nullptr);
    ExpectRect(PageRect(square), 10, 10, 50, 50);

    // (10, 25) is steeper than two to one: the line stands upright.
    FrameObj* line = Draw(kToolLine, 100, 20, 110, 45);
    ASSERT_NE(line, nullptr);
    ASSERT_EQ(line->GetType(), kFrameLine);
    IntRect ends;
    static_cast<FrameObjLine*>(line)->GetEndPoints(&ends);
    EXPECT_EQ(ends.left, ends.right);
    EXPECT_EQ(ends.bottom - ends.top, 25);
    EXPECT_EQ(line->Geometry().sides, 0);

    // (10, 15) is neither: a diagonal of 15 both ways.
    line = Draw(kToolLine, 100, 60, 110, 75);
    ASSERT_NE(line, nullptr);
    static_cast<FrameObjLine*>(line)->GetEndPoints(&ends);
    EXPECT_EQ(ends.right - ends.left, 15);
    EXPECT_EQ(ends.bottom - ends.top, 15);

    keys.held.clear();
    line = Draw(kToolLine, 100, 90, 130, 97);
    ASSERT_NE(line, nullptr);
    static_cast<FrameObjLine*>(line)->GetEndPoints(&ends);
    EXPECT_EQ(ends.right - ends.left, 30);
    EXPECT_EQ(ends.bottom - ends.top, 7);
}

TEST_F(DrawToolsTest, ATinyDragMakesNothingAndTheToolStays)
{
    const int16_t before = Pages()->FrameCount();
    EXPECT_EQ(Draw(kToolEllipse, 30, 30, 32, 33), nullptr);
    EXPECT_EQ(Pages()->FrameCount(), before);
    EXPECT_EQ(doc->UndoOwner(), nullptr);
    EXPECT_EQ(doc->GetCurrentToolIndex(), kToolEllipse);
    EXPECT_FALSE(doc->IsModified());
    // A click with the line tool makes no line either.
    EXPECT_EQ(Draw(kToolLine, 30, 30, 30, 30), nullptr);
}

TEST_F(DrawToolsTest, WithCtrlHeldTheToolStaysCurrent)
{
    keys.held.insert(kVkControl);
    ASSERT_NE(Draw(kToolRect, 10, 10, 60, 40), nullptr);
    EXPECT_EQ(doc->GetCurrentToolIndex(), kToolRect);
    // The step can be undone; the undo names it.
    std::string text;
    ASSERT_NE(doc->UndoOwner(), nullptr);
    EXPECT_TRUE(doc->UndoOwner()->GetUndoMenuText(&text));
    EXPECT_EQ(text, "Undo New Frame");
    ASSERT_NE(Draw(kToolFrameText, 10, 50, 100, 90), nullptr);
    EXPECT_EQ(doc->GetCurrentToolIndex(), kToolFrameText);
}

TEST_F(DrawToolsTest, FrameTextHandsTheNewFrameToTheTextTool)
{
    FrameObj* frame = Draw(kToolFrameText, 10, 10, 120, 60);
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->GetType(), kFrameText);
    EXPECT_EQ(frame->Geometry().lineWidth, 0);
    // Clear, as the wizard's text frames are: what lies beneath shows.
    EXPECT_EQ(frame->Attributes().background, kNoBackground);
    EXPECT_TRUE(frame->IsTransparent());
    EXPECT_GE(frame->Block().storyId, 0);
    EXPECT_EQ(doc->GetCurrentToolIndex(), kToolText);
    auto* text = static_cast<TextTool*>(doc->ToolOfKind(kToolText));
    EXPECT_EQ(text->EditFrame(), frame);
    // What the bars show while the tool is chosen: the "Normal" style.
    doc->SetTool(kToolFrameText, 0);
    EXPECT_EQ(doc->CurrentGraphicAttrs().lineWidth, 0);
    EXPECT_EQ(doc->CurrentGraphicAttrs().borderStyle, 1);
    EXPECT_EQ(doc->CurrentTextAttrs().styleEntry, 0);
    uint8_t format[kStyleRecordSize] = {};
    EXPECT_TRUE(doc->FrameTextFormat(format));
    EXPECT_STREQ(reinterpret_cast<const char*>(format), "Normal");
}

TEST_F(DrawToolsTest, TheStarToolDrawsTheShapeStarInfoChose)
{
    int asked = 0;
    bool ok = true;
    StarInfoRunner previous = SetStarInfoRunner([&](StarParams* star, const FrameGeometry& geometry) {
        ++asked;
        EXPECT_EQ(star->points, asked == 1 ? 5 : 7);
        EXPECT_EQ(geometry.angle, 0.0f);
        if (ok)
            star->points = 7;
        return ok;
    });
    FrameObj* frame = Draw(kToolStar, 10, 10, 90, 90);
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(asked, 1);
    ASSERT_EQ(frame->GetType(), kFrameStar);
    EXPECT_EQ(static_cast<FrameObjStar*>(frame)->Star().points, 7);
    EXPECT_DOUBLE_EQ(static_cast<FrameObjStar*>(frame)->Star().acuteness, 0.5);

    // Cancelled: the tool keeps the shape it had.
    doc->SetTool(kToolRect, 0);
    ok = false;
    doc->SetTool(kToolStar, 0);
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(doc->GetCurrentToolIndex(), kToolObject);
    EXPECT_EQ(static_cast<StarTool*>(doc->ToolOfKind(kToolStar))->Star().points, 7);
    SetStarInfoRunner(previous);
}

TEST_F(DrawToolsTest, ThePowerTextToolDrawsTheEffectTheDialogMade)
{
    StylesAnswer styles;
    FrameObj* frame = Draw(kToolPowerText, 10, 10, 150, 60);
    ASSERT_NE(frame, nullptr);
    ASSERT_EQ(frame->GetType(), kFramePowerText);
    const uint8_t* effect = static_cast<FrameObjPowerText*>(frame)->Effect();
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(effect + 1), effect[0]), "Hello");
    EXPECT_EQ(GetU16LE(effect + 164), 13);
    EXPECT_EQ(GetU16LE(effect + 144), 15);
    EXPECT_EQ(frame->Geometry().lineWidth, 0);
    EXPECT_EQ(frame->Geometry().sides, 0xFF);

    // Cancelled: the tool keeps its record.
    doc->SetTool(kToolRect, 0);
    styles.ok = false;
    doc->SetTool(kToolPowerText, 0);
    EXPECT_EQ(styles.asked, 2);
    EXPECT_EQ(doc->GetCurrentToolIndex(), kToolObject);
    EXPECT_EQ(static_cast<PowerTextTool*>(doc->ToolOfKind(kToolPowerText))->Effect()[0], 5);
}

TEST_F(DrawToolsTest, BarcodesArePlacedByAClickWithTheirDefaults)
{
    doc->SetTool(kToolBarcode, 0);
    EXPECT_TRUE(doc->BarItemState(kBarFontLists));
    const int16_t before = Pages()->FrameCount();
    Click(Pixel(40, 40));
    ASSERT_EQ(Pages()->FrameCount(), before + 1);
    FrameObj* frame = Pages()->FrameAt(before);
    ASSERT_EQ(frame->GetType(), kFrameBarcode);
    const uint8_t* record = static_cast<FrameObjBarcode*>(frame)->Record();
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(record + 1), record[0]), "0123456789123");
    EXPECT_EQ(GetU16LE(record + kBarcodeSymbologyOffset), kBarcodeUpcA);
    EXPECT_EQ(frame->Attributes().fontSize, 12);
    EXPECT_EQ(frame->Attributes().background, 255);
    EXPECT_EQ(frame->Attributes().fillPattern, 1);
    // The frame fits what it shows: more than the 5 x 5 click square.
    EXPECT_GT(frame->Geometry().width, 5);
    // Another tool turns the font lists off again.
    doc->SetTool(kToolRect, 0);
    EXPECT_FALSE(doc->BarItemState(kBarFontLists));

    doc->SetTool(kToolCounterBarcode, 0);
    Click(Pixel(40, 120));
    FrameObj* counter = Pages()->FrameAt(int16_t(Pages()->FrameCount() - 1));
    ASSERT_EQ(counter->GetType(), kFrameCounterBarcode);
    const uint8_t* settings = static_cast<FrameObjCounterBarcode*>(counter)->CounterSpec();
    EXPECT_EQ(settings[kCounterPrefixOffset], 0);
    EXPECT_EQ(settings[kCounterSuffixOffset], 0);
    const int32_t values[8] = {1, 1, 1, 0, 3, 0, 0, 0};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(GetI32LE(settings + kCounterStartOffset + 4 * i), values[i]) << i;
}

TEST_F(DrawToolsTest, TheDatabaseFieldToolMakesAFieldBarcodeOrARecordPicture)
{
    int16_t pictureIndex = -1, otherIndex = -1;
    for (int16_t i = 0; i < 25; ++i) {
        const int32_t id = FieldIdAtIndex(i, 0);
        if (id == kFieldPicture && pictureIndex < 0)
            pictureIndex = i;
        else if (id > 0 && id != kFieldPicture && otherIndex < 0)
            otherIndex = i;
    }
    ASSERT_GE(pictureIndex, 0);
    ASSERT_GE(otherIndex, 0);

    doc->SetDatabaseField(otherIndex);
    EXPECT_EQ(doc->GetCurrentToolIndex(), kToolDatabaseField);
    Click(Pixel(30, 30));
    FrameObj* field = Pages()->FrameAt(int16_t(Pages()->FrameCount() - 1));
    ASSERT_EQ(field->GetType(), kFrameFieldBarcode);
    EXPECT_EQ(GetU16LE(static_cast<FrameObjBarcode*>(field)->Record() + kBarcodeSymbologyOffset), kBarcodePostnet);
    EXPECT_EQ(field->Attributes().dataField, FieldIdAtIndex(otherIndex, 0));

    // The Picture field: a record picture, dragged like a rectangle; a
    // click is too small for it.
    doc->SetDatabaseField(pictureIndex);
    const int16_t before = Pages()->FrameCount();
    Click(Pixel(30, 100));
    EXPECT_EQ(Pages()->FrameCount(), before);
    FrameObj* picture = Draw(kToolDatabaseField, 30, 100, 110, 160);
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->GetType(), kFramePicture);
    ExpectRect(PageRect(picture), 30, 100, 110, 160);
}

TEST_F(DrawToolsTest, TheQuickCardToolsPlaceTheirFramesWithoutBars)
{
    doc->SetTool(kToolBarcode13, 0);
    Click(Pixel(20, 20));
    FrameObj* b13 = Pages()->FrameAt(int16_t(Pages()->FrameCount() - 1));
    ASSERT_EQ(b13->GetType(), kFrameBarcode13);
    EXPECT_EQ(b13->Block().barcodeOption, 0);
    EXPECT_EQ(GetU32LE(QuickCardSpecRecord() + 4 * 22), 0u);

    doc->SetTool(kToolBarcode18, 0);
    Click(Pixel(20, 120));
    FrameObj* b18 = Pages()->FrameAt(int16_t(Pages()->FrameCount() - 1));
    ASSERT_EQ(b18->GetType(), kFrameBarcode18);
    EXPECT_EQ(b18->Block().barcodeOption, 0);
    EXPECT_EQ(QuickCardLayoutItem()->words[2], 1u);
}

TEST_F(DrawToolsTest, ThePictureToolDrawsAFrameShowingTheChosenFile)
{
    const std::string file = docs_.file("dot.png");
    QImage picture(20, 10, QImage::Format_RGB32);
    picture.fill(Qt::red);
    ASSERT_TRUE(picture.save(QString::fromStdString(file)));
    bool ok = false;
    PictureFileChooser previous = SetPictureFileChooser([&](PathRecord* chosen) {
        return ok && PathRecordFromPosix(file, chosen) == 0;
    });
    // Cancelled: nothing is drawn, and the file stays unchosen.
    doc->SetTool(kToolPicture, 0);
    EXPECT_EQ(doc->GetCurrentToolIndex(), kToolObject);
    EXPECT_EQ(static_cast<PictureTool*>(doc->ToolOfKind(kToolPicture))->File().name[0], 0);

    doc->SetTool(kToolRect, 0);
    ok = true;
    FrameObj* frame = Draw(kToolPicture, 10, 10, 90, 60);
    ASSERT_NE(frame, nullptr);
    ASSERT_EQ(frame->GetType(), kFrameImage);
    auto* image = static_cast<FrameObjImage*>(frame);
    EXPECT_NE(image->BlockA().kind, 0);
    // Its clear (white or transparent) pixels show what lies beneath.
    EXPECT_TRUE(frame->IsTransparent());

    // A press of the hand on the picture follows the picture inside its
    // frame (the frame polls the pointer itself), and the move can be
    // undone.
    image->SetFitToFrame(0);
    doc->SetTool(kToolHand, 0);
    Click(Pixel(40, 30));
    std::string text;
    ASSERT_NE(doc->UndoOwner(), nullptr);
    EXPECT_TRUE(doc->UndoOwner()->GetUndoMenuText(&text));
    EXPECT_EQ(text, "Undo Move Picture");
    SetPictureFileChooser(previous);
}

TEST_F(DrawToolsTest, TheHandGrabsThePageAndScrollsWithThePointer)
{
    doc->SetZoomMode(5, false);
    View()->ScrollTo(0, 0, true);
    doc->SetTool(kToolHand, 0);
    Drag(QPoint(200, 200), QPoint(160, 170));
    EXPECT_EQ(View()->ScrollPosition().x, 40);
    EXPECT_EQ(View()->ScrollPosition().y, 30);
    EXPECT_EQ(doc->GetCurrentToolIndex(), kToolHand);
}

TEST_F(DrawToolsTest, TheZoomToolZoomsAroundTheClickWithinItsLimits)
{
    auto* zoom = static_cast<ZoomTool*>(doc->ToolOfKind(kToolZoom));
    doc->SetTool(kToolZoom, 0);
    EXPECT_EQ(zoom->Percent(), 100);
    EXPECT_EQ(doc->CurrentGraphicAttrs().kind, 2);

    Click(Pixel(100, 60));
    EXPECT_EQ(doc->GetZoomPercent(), 125);
    int16_t n = 0, d = 0, mode = 0;
    Pages()->GetZoom(&n, &d, &mode);
    EXPECT_EQ(mode, 7);
    EXPECT_EQ(window.bar->ZoomText(), "125%");
    // The zoom point is the clicked spot.
    const IntRect slot = doc->PageGeometry().slots[0];
    EXPECT_NEAR(zoom->ZoomPoint().x, slot.left + 100, 1);
    EXPECT_NEAR(zoom->ZoomPoint().y, slot.top + 60, 1);
    EXPECT_EQ(doc->CurrentGraphicAttrs().height, 125.0f);

    // Ctrl and the right button zoom out by the step.
    keys.held.insert(kVkControl);
    Click(Pixel(100, 60));
    keys.held.clear();
    EXPECT_EQ(doc->GetZoomPercent(), 100);
    Drag(Pixel(100, 60), Pixel(100, 60), Qt::RightButton);
    EXPECT_EQ(doc->GetZoomPercent(), 75);
    EXPECT_EQ(doc->GetCurrentToolIndex(), kToolZoom);
    EXPECT_EQ(doc->UndoOwner(), nullptr);

    // At the limits a click stays there.
    zoom->SetFramePlacement(3, 400, 0, true);
    EXPECT_EQ(doc->GetZoomPercent(), 400);
    Click(Pixel(10, 10));
    EXPECT_EQ(doc->GetZoomPercent(), 400);
    zoom->SetFramePlacement(3, 10, 0, true);
    Drag(Pixel(10, 10), Pixel(10, 10), Qt::RightButton);
    EXPECT_EQ(doc->GetZoomPercent(), 10);
}

TEST_F(DrawToolsTest, AZoomDragFitsTheRectangleToTheWindow)
{
    doc->SetTool(kToolZoom, 0);
    IntRect client;
    View()->GetClientRectLogical(&client);
    const int32_t w = client.right - client.left, h = client.bottom - client.top;
    // Twice as wide, in proportion, as the window: the width decides.
    const int rw = 200, rh = int(100 * int64_t(h) / w);
    Drag(Pixel(20, 20), Pixel(20 + rw, 20 + rh));
    EXPECT_EQ(doc->GetZoomPercent(), std::min(w * 100 / rw, h * 100 / std::max(rh, 1)));
    const QPoint centre = Pixel(20 + rw / 2, 20 + rh / 2);
    EXPECT_NEAR(centre.x(), View()->width() / 2, 3);
    EXPECT_NEAR(centre.y(), View()->height() / 2, 3);

    // A drag along a line has no height: it counts as 1, and the zoom
    // stops at its limit.
    Drag(Pixel(20, 20), Pixel(30, 20));
    EXPECT_EQ(doc->GetZoomPercent(), ZoomTool::kMaxPercent);
}

TEST_F(DrawToolsTest, ThePreviewToolSwitchesRecordFramesOnly)
{
    FrameObj* rect = Draw(kToolRect, 10, 10, 80, 50);
    keys.held.insert(kVkControl);
    FrameObj* text = Draw(kToolFrameText, 10, 70, 150, 120);
    keys.held.clear();
    ASSERT_NE(rect, nullptr);
    ASSERT_NE(text, nullptr);
    doc->SetTool(kToolPreview, 0);
    doc->SetModified(false);

    Click(Pixel(40, 30));
    EXPECT_EQ(rect->Block().recordFed, 0);
    Click(Pixel(5, 200));
    EXPECT_FALSE(doc->IsModified());

    const uint8_t fed = text->Block().recordFed;
    Click(Pixel(40, 90));
    EXPECT_NE(text->Block().recordFed, fed);
    Click(Pixel(40, 90));
    EXPECT_EQ(text->Block().recordFed, fed);
}

TEST_F(DrawToolsTest, TheRotateToolTurnsTheFrameUnderThePointer)
{
    keys.held.insert(kVkControl);
    FrameObj* frame = Draw(kToolRect, 40, 40, 120, 80);
    keys.held.clear();
    ASSERT_NE(frame, nullptr);
    doc->SetTool(kToolRotate, 0);
    // From inside the frame straight up: a quarter turn.
    Drag(Pixel(80, 60), Pixel(80, 20));
    EXPECT_NEAR(frame->Geometry().angle, 90.0f, 0.01f);
    std::string text;
    ASSERT_NE(doc->UndoOwner(), nullptr);
    EXPECT_TRUE(doc->UndoOwner()->GetUndoMenuText(&text));
    EXPECT_EQ(text, "Undo Rotate Frame");
    doc->UndoOwner()->UndoRedo();
    EXPECT_EQ(frame->Geometry().angle, 0.0f);

    // A locked frame cannot turn: nothing changes.
    frame->SetLocked(1);
    auto* rotate = static_cast<RotateTool*>(doc->ToolOfKind(kToolRotate));
    EXPECT_EQ(rotate->GetSelCount(), 1);
    EXPECT_EQ(rotate->CreateTracker(3), nullptr);
    Drag(Pixel(80, 60), Pixel(20, 60));
    EXPECT_EQ(frame->Geometry().angle, 0.0f);
}

}  // namespace

namespace {

TEST_F(CardDocTest, DrawShotDrawsEveryKindIntoAPicture)
{
    ASSERT_EQ(Shell(docs_, "\"$T\" draw-shot shot.png"), 0);
    QImage shot(QString::fromStdString(docs_.file("shot.png")));
    ASSERT_FALSE(shot.isNull());
    int ink = 0;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x)
            ink += qGray(shot.pixel(x, y)) < 128;
    EXPECT_GT(ink, 2000);
    EXPECT_NE(Shell(docs_, "\"$T\" draw-shot"), 0);
}

}  // namespace
