#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "foundation/byte_order.h"
#include "frames/frame_obj_text.h"
#include "frames/visible_part.h"
#include "graphics/dib_handle.h"
#include "content_test_document.h"
#include "support/alert_capture.h"

namespace {

class TextFrames : public SwapTest {
protected:
    FrameObjText* NewText(const IntRect& rect)
    {
        auto* text = static_cast<FrameObjText*>(doc_.frames.CreateFrameObject(kFrameText, 1));
        text->SetFromRect(rect);
        return text;
    }

    // A laid-out line whose rectangle is r.
    static void AddLine(FrameObjText* text, const IntRect& r)
    {
        uint8_t record[FrameObjText::kLineRecordSize] = {};
        PutI32LE(record + kLineRectOffset, r.left);
        PutI32LE(record + kLineRectOffset + 4, r.top);
        PutI32LE(record + kLineRectOffset + 8, r.right);
        PutI32LE(record + kLineRectOffset + 12, r.bottom);
        text->LineTable().Append(record);
    }
    static IntRect LineRect(FrameObjText* text, int32_t index)
    {
        const uint8_t* r = text->LineTable().RecordPtr(index) + kLineRectOffset;
        return IntRect{GetI32LE(r), GetI32LE(r + 4), GetI32LE(r + 8), GetI32LE(r + 12)};
    }

    ContentTestDocument doc_{dir_.path()};
};

TEST_F(TextFrames, OffsetsMoveTheFrameItsLinesAndItsOutlineByTheWholeDelta)
{
    FrameObjText* text = NewText(IntRect{10, 20, 110, 80});
    AddLine(text, IntRect{13, 30, 107, 30});
    AddLine(text, IntRect{13, 44, 107, 44});
    Handle outline = HandleNew(4 + 2 * 8);
    PutU16LE(HandleData(outline), 2);
    PutI32LE(HandleData(outline) + 4, 1);
    PutI32LE(HandleData(outline) + 12, 100);
    text->SetWrapOutline(outline);

    text->OffsetBy(IntPoint{5, -3}, 1, 0);
    EXPECT_EQ(LineRect(text, 1), (IntRect{18, 27, 112, 27}));
    EXPECT_EQ(LineRect(text, 2), (IntRect{18, 41, 112, 41}));
    EXPECT_EQ(GetI32LE(HandleData(text->WrapOutline()) + 4), 6);
    EXPECT_EQ(GetI32LE(HandleData(text->WrapOutline()) + 16), -3);

    // Beyond 16 bits nothing wraps.
    text->OffsetBy(IntPoint{40000, -70000}, 1, 0);
    EXPECT_EQ(text->Geometry().x, 15 + 40000);
    EXPECT_EQ(text->Geometry().y, 17 - 70000);
    EXPECT_EQ(LineRect(text, 1).left, 18 + 40000);
    text->OffsetBy(IntPoint{40000, -70000}, 0, 0);
    EXPECT_EQ(text->Geometry().x, 15);
    EXPECT_EQ(LineRect(text, 2).top, 41);

    // A remembered offset is taken back, lines and all, before the next.
    text->OffsetBy(IntPoint{100, 100}, 1, 1);
    text->OffsetBy(IntPoint{7, 7}, 1, 1);
    EXPECT_EQ(text->Geometry().x, 22);
    EXPECT_EQ(LineRect(text, 1).left, 25);
}

TEST_F(TextFrames, AnOutlineWhoseCountDisagreesWithItsSizeIsRepaired)
{
    AlertCapture alerts;
    FrameObjText* text = NewText(IntRect{0, 0, 50, 50});
    Handle outline = HandleNew(4 + 2 * 8);
    PutU16LE(HandleData(outline), 5);
    text->SetWrapOutline(outline);
    text->OffsetBy(IntPoint{1, 1}, 1, 0);
    EXPECT_EQ(GetU16LE(HandleData(text->WrapOutline())), 2);
    // Mended from what the outline holds, it is whole: a print or a move
    // goes on without a word.
    EXPECT_TRUE(alerts.boxes().empty()) << alerts.lastText();
    EXPECT_TRUE(alerts.beeps().empty());
    EXPECT_EQ(GetI32LE(HandleData(text->WrapOutline()) + 12), 1);
}

TEST_F(TextFrames, ARotatedFrameDrawsFromOneImageTurnedItsWay)
{
    FrameObjText* text = NewText(IntRect{100, 100, 200, 160});
    text->SetGeometryField(4, 30);
    Dc* dc = doc_.view.dc.get();
    text->DrawContent(dc);
    EXPECT_EQ(doc_.engine.draws, 1);
    ASSERT_NE(text->RotatedImage(), nullptr);
    EXPECT_EQ(text->ImageAngle(), 30);
    EXPECT_TRUE(text->ImageStored());

    // The first line's bar runs along the turned top edge, inside the
    // frame: 5 units in from the middle of that edge.
    const double a = 30 * M_PI / 180;
    const double mx = 100 + 50 * std::cos(a), my = 100 - 50 * std::sin(a);
    EXPECT_TRUE(PixelIs(doc_.view.image, int(mx + 5 * std::sin(a)), int(my + 5 * std::cos(a)), kBlack));
    // Nothing where the unturned frame's bar would be.
    EXPECT_TRUE(PixelIs(doc_.view.image, 190, 106, kWhite));

    // Same angle: the image is reused, also after it left memory.
    text->DrawContent(dc);
    EXPECT_EQ(doc_.engine.draws, 1);
    text->ShiftForOutput(1, 0, 0, 0);
    text->DrawContent(dc);
    EXPECT_EQ(doc_.engine.draws, 2);
    text->ShiftForOutput(0, 0, 0, 0);
    text->DrawContent(dc);
    EXPECT_EQ(doc_.engine.draws, 2);

    // A new angle gives the old stretch back before the new image.
    const int32_t freeBefore = doc_.swap.FreeCount();
    text->SetGeometryField(4, 45);
    text->DrawContent(dc);
    EXPECT_EQ(doc_.engine.draws, 3);
    EXPECT_EQ(text->ImageAngle(), 45);
    EXPECT_GE(doc_.swap.FreeCount(), freeBefore);
    uint32_t position = 0, length = 0;
    bool found = false;
    for (int32_t i = 0; i < doc_.swap.FreeCount(); ++i) {
        doc_.swap.FreeEntry(i, &position, &length);
        found = found || length > 0;
    }
    EXPECT_TRUE(found);

    // Straight again: the text is drawn directly and the image goes.
    text->SetGeometryField(4, 0);
    text->DrawContent(dc);
    EXPECT_EQ(text->RotatedImage(), nullptr);
    EXPECT_EQ(doc_.engine.draws, 4);
}

TEST_F(TextFrames, AFrameReachingFarBeyondThePageDrawsOnlyWhatCanBeSeen)
{
    // A card of 252 x 144 points with its pasteboard, and a text frame of
    // 12243 x 104 points turned by 30 degrees on it.
    doc_.pageSlot = IntRect{60, 40, 312, 184};
    FrameObjText* text = NewText(IntRect{80, 150, 80 + 12243, 150 + 104});
    text->SetGeometryField(4, 30);
    text->DrawContent(doc_.view.dc.get());
    ASSERT_NE(text->RotatedImage(), nullptr);
    // The image is about the page's size, not the frame's.
    EXPECT_LE(DibHandleWidth(text->RotatedImage()), 400);
    EXPECT_LE(DibHandleHeight(text->RotatedImage()), 260);
    // The part that is there is drawn where the whole frame would be: the
    // first line's bar runs along the turned top edge.
    const double a = 30 * M_PI / 180;
    const double mx = 80 + 100 * std::cos(a), my = 150 - 100 * std::sin(a);
    EXPECT_TRUE(PixelIs(doc_.view.image, int(mx + 5 * std::sin(a)), int(my + 5 * std::cos(a)), kBlack));

    // Printing cuts the image to the device's clip the same way.
    doc_.view.image.fill(Qt::white);
    doc_.view.dc->intersectClipRect(0, 0, 300, 200);
    text->ShiftForOutput(1, 0, 0, 0);
    text->DrawContent(doc_.view.dc.get());
    text->ShiftForOutput(0, 0, 0, 0);
    EXPECT_TRUE(PixelIs(doc_.view.image, int(mx + 5 * std::sin(a)), int(my + 5 * std::cos(a)), kBlack));

    // A frame wholly on the page is drawn whole, as before.
    EXPECT_EQ(VisiblePartOfTurned(IntRect{100, 100, 200, 160}, 30, IntRect{0, 0, 372, 224}),
              (IntRect{100, 100, 200, 160}));
    const IntRect part = VisiblePartOfTurned(IntRect{80, 150, 80 + 12243, 254}, 30, IntRect{0, 0, 372, 224});
    EXPECT_LE(part.right - part.left, 450);
    EXPECT_EQ(VisiblePartOfTurned(IntRect{5000, 5000, 6000, 6000}, 10, IntRect{0, 0, 372, 224}), IntRect{});
}

TEST_F(TextFrames, EditingShowsTheFrameStraightAndOnWhite)
{
    FrameObjText* text = NewText(IntRect{20, 20, 120, 80});
    text->SetGeometryField(4, 30);
    text->StraightenForEdit();
    EXPECT_EQ(text->Geometry().angle, 0.0f);
    EXPECT_EQ(text->Block().outlineKind, 0);
    text->RestoreRotation();
    EXPECT_EQ(text->Geometry().angle, 30.0f);
    EXPECT_EQ(text->Block().outlineKind, 1);

    text->SetGeometryField(4, 0);
    Dc* dc = doc_.view.dc.get();
    dc->fillRect(IntRect{0, 0, 400, 300}, Brush::Solid(0x00FFFF));
    doc_.toolFrame = text;
    text->DrawFill(dc);
    EXPECT_TRUE(PixelIs(doc_.view.image, 70, 50, kWhite));
    EXPECT_TRUE(PixelIs(doc_.view.image, 10, 10, 0x00FFFF));
}

TEST_F(TextFrames, AStoryThatCannotBeSelectedDrawsNothing)
{
    FrameObjText* text = NewText(IntRect{20, 20, 120, 80});
    doc_.engine.selectable = false;
    const int32_t mode = doc_.view.dc->bkMode();
    text->DrawContent(doc_.view.dc.get());
    EXPECT_EQ(doc_.engine.draws, 0);
    EXPECT_EQ(doc_.view.dc->bkMode(), mode);
}

}  // namespace
