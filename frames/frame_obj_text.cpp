#include "frames/frame_obj_text.h"

#include <algorithm>

#include <QPointF>

#include "foundation/byte_order.h"
#include "foundation/int_math.h"
#include "foundation/win_error.h"
#include "graphics/beep.h"

#include "frames/content_frame_host.h"
#include "frames/ctfile_mng.h"
#include "frames/curr_page_mng.h"
#include "frames/frame_document.h"
#include "frames/frame_store.h"
#include "frames/frame_view_services.h"
#include "frames/story_store.h"
#include "frames/text_frame_engine.h"
#include "frames/visible_part.h"
#include "graphics/brush_state.h"
#include "graphics/dib_draw.h"
#include "graphics/dib_imaging.h"
#include "graphics/dib_serial.h"
#include "graphics/offscreen_dc.h"
#include "graphics/placement.h"
#include "graphics/rop_state.h"

namespace {

// Halves an inset that would cross the rectangle, first against its width,
// then against its height.
int32_t LimitInset(int32_t w, const IntRect& r)
{
    if (2 * w > r.right - r.left + 1)
        w = (r.right - r.left) / 2;
    if (2 * w > r.bottom - r.top + 1)
        w = (r.bottom - r.top) / 2;
    return w;
}

// The angle in whole degrees, within -359..359; an angle read from a
// damaged file (huge, or not a number) stays inside the range too.
int16_t WholeAngle(float angle) { return int16_t(TruncToInt32(angle) % 360); }

}  // namespace

FrameObjText::FrameObjText()
{
    block_.attr.geometry.lineWidth = 0;
    block_.textInset = 3;
}

FrameObjText::~FrameObjText() { FreeImage(true); }

void FrameObjText::FreeImage(bool dropStore)
{
    DibHandleFree(&image_);
    if (!dropStore)
        return;
    if (imageStored_ && document_ && document_->SwapFile())
        document_->SwapFile()->FreeSpace(imagePosition_, imageLength_);
    imageStored_ = 0;
    imagePosition_ = 0;
    imageLength_ = 0;
}

bool FrameObjText::IsRotatable() const
{
    FrameStore* frames = document_ ? document_->Frames() : nullptr;
    return !(frames && frames->IsChained(this));
}

void FrameObjText::GetTextRect(IntRect* out) const
{
    const FrameGeometry& g = block_.attr.geometry;
    IntRect r{g.x, g.y, g.x + g.width, g.y + g.height};
    const int32_t inset = LimitInset(block_.textInset, r);
    r.left += inset;
    r.top += inset;
    r.right -= inset;
    r.bottom -= inset;
    const int32_t border = g.lineWidth;
    if ((g.sides & 0x0F) == 0x0F) {
        const int32_t w = LimitInset(border, r);
        r.left += w;
        r.top += w;
        r.right -= w;
        r.bottom -= w;
    } else {
        if (g.sides & kSideTop)
            r.top += border;
        if (g.sides & kSideRight)
            r.right -= border;
        if (g.sides & kSideBottom)
            r.bottom -= border;
        if (g.sides & kSideLeft)
            r.left += border;
    }
    *out = r;
}

int32_t FrameObjText::CopyTo(FrameObj* destination)
{
    FrameObjRect::CopyTo(destination);
    FrameStore* frames = document_ ? document_->Frames() : nullptr;
    StoryStore* stories = document_ ? document_->Stories() : nullptr;
    if (!frames || !stories || block_.storyId <= 0)
        return 0;
    TextPosition start, end;
    frames->GetFrameStart(FrameId(), &start, &end);
    const uint16_t story = stories->CopyStory(uint16_t(block_.storyId), int32_t(start.paragraph), -1);
    destination->SetStoryId(int16_t(story));
    frames->SetStoryId(destination->FrameId(), int16_t(story));
    destination->Invalidate(0);
    return 0;
}

int32_t FrameObjText::WriteOffset(FileHandle file, const IntPoint& origin)
{
    const int32_t result = FrameObjRect::WriteOffset(file, origin);
    StoryStore* stories = document_ ? document_->Stories() : nullptr;
    if (!stories)
        return result;
    if (block_.storyId <= 0) {
        // A frame with no story of its own (a barcode's) carries an empty
        // one, which reads back as no story.
        uint8_t none[2] = {0, 0};
        return result + FileWrite(file, none, sizeof none);
    }
    return result + stories->WriteStory(file, uint16_t(block_.storyId));
}

int32_t FrameObjText::ReloadFrom(FileHandle file, const IntPoint& delta, uint16_t* oldId)
{
    const int32_t result = FrameObjRect::ReloadFrom(file, delta, oldId);
    StoryStore* stories = document_ ? document_->Stories() : nullptr;
    if (result != 0 || !stories)
        return result;
    if (block_.storyId <= 0) {
        uint32_t at = 0;
        uint8_t count[2] = {};
        int32_t err = FileTell(file, &at);
        if (err == kErrNone)
            err = FileRead(file, count, sizeof count);
        if (err != kErrNone)
            return err;
        if (GetU16LE(count) == 0)
            return 0;
        if ((err = FileSeek(file, kSeekStart, int32_t(at))) != kErrNone)
            return err;
    }
    uint16_t story = 0;
    const int32_t read = stories->ReadStory(file, &story);
    SetStoryId(int16_t(story));
    if (FrameStore* frames = document_->Frames())
        frames->SetStoryId(FrameId(), int16_t(story));
    Invalidate(0);
    return result + read;
}

void FrameObjText::OffsetLines(const IntPoint& delta, int16_t sign)
{
    const int32_t dx = sign < 0 ? Sub32(0, delta.x) : delta.x;
    const int32_t dy = sign < 0 ? Sub32(0, delta.y) : delta.y;
    const int32_t first = lines_.FirstIndex();
    for (int32_t i = first; i < first + lines_.Count(); ++i) {
        uint8_t* record = lines_.RecordPtr(i);
        if (!record)
            continue;
        uint8_t* r = record + kLineRectOffset;
        PutI32LE(r, Add32(GetI32LE(r), dx));
        PutI32LE(r + 4, Add32(GetI32LE(r + 4), dy));
        PutI32LE(r + 8, Add32(GetI32LE(r + 8), dx));
        PutI32LE(r + 12, Add32(GetI32LE(r + 12), dy));
    }
}

void FrameObjText::OffsetBy(const IntPoint& delta, uint8_t positive, uint8_t remember)
{
    FrameGeometry& g = block_.attr.geometry;
    if (remember && positive) {
        const IntPoint back = block_.remembered;
        if (back.x != 0 || back.y != 0) {
            g.x = Sub32(g.x, back.x);
            g.y = Sub32(g.y, back.y);
            OffsetLines(back, -1);
        }
        block_.remembered = delta;
    } else if (remember) {
        block_.remembered = IntPoint{};
    }
    const int32_t dx = positive ? delta.x : Sub32(0, delta.x);
    const int32_t dy = positive ? delta.y : Sub32(0, delta.y);
    g.x = Add32(g.x, dx);
    g.y = Add32(g.y, dy);
    OffsetWrapOutline(dx, dy);
    OffsetLines(delta, positive ? 1 : -1);
}

void FrameObjText::OffsetWrapOutline(int32_t dx, int32_t dy)
{
    if (wrapOutline_) {
        const uint32_t size = HandleGetSize(wrapOutline_);
        uint8_t* bytes = HandleData(wrapOutline_);
        const uint32_t implied = size < 12 ? 0 : (size - 12) / kWrapPointSize + 1;
        const uint16_t stored = size >= 2 ? GetU16LE(bytes) : 0;
        if (size >= 2 && implied != stored) {
            // An outline whose count disagrees with its size was damaged
            // somewhere; the size is what the Handle really holds, so the
            // outline is whole again with its count mended, and nothing
            // needs saying.
            PutU16LE(bytes, uint16_t(std::min<uint32_t>(implied, 0xFFFF)));
        }
        for (uint32_t i = 0; i < implied; ++i) {
            uint8_t* p = bytes + kWrapOutlineHeaderSize + kWrapPointSize * i;
            PutI32LE(p, Add32(GetI32LE(p), dx));
            PutI32LE(p + 4, Add32(GetI32LE(p + 4), dy));
        }
    }
}

// ---- drawing ----

bool FrameObjText::ShownTurned() const { return WholeAngle(block_.attr.geometry.angle) != 0; }

bool FrameObjText::InTextEdit() const { return ContentHostOf(this)->TextToolFrame() == this; }

void FrameObjText::DrawFill(Dc* dc)
{
    if (InTextEdit() && !outputShift_) {
        BrushState brush(dc);
        brush.SetSolid(kWhite);
        RopState rop(dc);
        rop.Set(R2_COPYPEN);
        FillShape(dc, 1);
        return;
    }
    uint8_t& pattern = block_.attr.fillPattern;
    const uint8_t kept = pattern;
    if (ghost_ && pattern == 1)
        pattern = 2;
    FrameObjRect::DrawFill(dc);
    pattern = kept;
}

DibHandle FrameObjText::RenderImage(Dc* dc, bool screen, bool smooth, std::optional<IntRect>* part)
{
    FrameView* view = View();
    if (screen)
        block_.drawnAsImage = 1;
    // Made at the scale the frame is shown or output at, so its glyphs keep
    // every pixel they have there.
    IntRect bounds;
    PlacementToRect(block_.attr.geometry, &bounds);
    DocToViewRect(&bounds);
    // A frame can reach far beyond what can be seen of it; only its
    // visible part is drawn, so that it costs no more than its share of
    // the page or of the printed cell. The screen keeps its image for
    // every redraw of the page, so it takes what the page shows rather
    // than what one redraw asks for.
    IntRect area;
    if (screen) {
        IntRect slot0, slot1;
        if (document_) {
            document_->GetPageSlotRect(0, &slot0);
            document_->GetPageSlotRect(1, &slot1);
        }
        area = ShownPageArea(slot0, slot1);
        DocToViewRect(&area);
    } else {
        dc->getClipBox(&area);
    }
    const double turn = WholeAngle(block_.attr.geometry.angle);
    const IntRect drawn = VisiblePartOfTurned(bounds, turn, area);
    const bool whole = drawn.left == bounds.left && drawn.top == bounds.top && drawn.right == bounds.right &&
                       drawn.bottom == bounds.bottom;
    DibHandle image = drawn.right > drawn.left && drawn.bottom > drawn.top ? DibHandleNew() : nullptr;
    OffscreenDC offscreen(dc);
    IntRect covered;
    bool made = image && offscreen.Begin(drawn.left, drawn.top, drawn.right - 1, drawn.bottom - 1, kWhite, &covered,
                                         true) == 0;
    if (made) {
        if (view)
            view->PushDrawTarget(offscreen.GetSafeHdc(), 0);
        const float angle = viewGeometry_.angle;
        viewGeometry_.angle = 0;
        DrawTextInto(offscreen.GetSafeHdc());
        viewGeometry_.angle = angle;
        if (view)
            view->PopDrawTarget();
        made = offscreen.End(image) == 0 && !DibHandleIsEmpty(image);
    }
    const int16_t angle = WholeAngle(block_.attr.geometry.angle);
    if (made && angle != 0)
        made = DibHandleSdkTransform(image, int16_t((360 - angle) % 360), kWhite, smooth) == 0;
    if (!made)
        DibHandleFree(&image);
    if (image && !whole)
        *part = TurnedBoundsAbout(drawn, IntPoint{bounds.left, bounds.top}, turn);
    return image;
}

IntRect FrameObjText::ImageTarget(const std::optional<IntRect>& part) const
{
    const IntRect r = part ? *part : viewRect_;
    return IntRect{r.left, r.top, r.right - 1, r.bottom - 1};
}

void FrameObjText::DrawRotated(Dc* dc)
{
    const int16_t angle = WholeAngle(block_.attr.geometry.angle);
    int16_t numerator = 1;
    int16_t denominator = 1;
    GetZoom(&numerator, &denominator);
    // An image is made for one zoom; another zoom makes it afresh.
    if (imageAngle_ != angle || numerator != imageZoom_[0] || denominator != imageZoom_[1]) {
        FreeImage(true);
        imageAngle_ = 0;
        if (angle == 0) {
            block_.drawnAsImage = 0;
            DrawText(dc);
            return;
        }
    }
    if (!image_) {
        CTFileMng* swap = document_ ? document_->SwapFile() : nullptr;
        if (imageStored_ && swap) {
            image_ = DibHandleNew();
            if (!image_ || DibHandleReadStore(swap, image_, imagePosition_) != 0) {
                FreeImage(true);
                imageAngle_ = 0;
                return;
            }
        } else {
            imagePart_.reset();
            image_ = RenderImage(dc, true, true, &imagePart_);
            if (!image_)
                return;
            imageAngle_ = angle;
            imageZoom_[0] = numerator;
            imageZoom_[1] = denominator;
            uint32_t position = kStoreNoPosition;
            uint32_t length = 0;
            if (swap && DibHandleWriteStore(swap, image_, &position, &length) == 0 && position != kStoreNoPosition) {
                imageStored_ = 1;
                imagePosition_ = position;
                imageLength_ = length;
            }
        }
    }
    const bool hadClip = dc->hasClip();
    const Region previous = dc->clipRegion();
    if (std::optional<Region> outline = MakeOutlineRegion(dc, 1)) {
        RegionToDevice(dc, &*outline);
        dc->extSelectClipRgn(&*outline, RGN_AND);
    }
    DibHandleDraw(dc, image_, ImageTarget(imagePart_), SRCAND);
    dc->selectClipRgn(hadClip ? &previous : nullptr);
}

void FrameObjText::DrawTextContent(Dc* dc)
{
    const int16_t angle = WholeAngle(block_.attr.geometry.angle);
    if (image_ && !ghost_ && angle == 0 && imageAngle_ == 0)
        DibHandleFree(&image_);
    if (outputShift_) {
        std::optional<IntRect> part;
        if (angle == 0 && imageAngle_ == 0) {
            DrawText(dc);
        } else if (!DrawTurnedText(dc, angle)) {
            if (DibHandle printed = RenderImage(dc, false, true, &part)) {
                DibHandleDraw(dc, printed, ImageTarget(part), SRCAND);
                DibHandleFree(&printed);
            }
        }
    } else if (image_ && ghost_ && imageAngle_ == angle) {
        DibHandleDraw(dc, image_, ImageTarget(imagePart_), DSXN);
    } else if (ghost_) {
        FreeImage(true);
        imagePart_.reset();
        // The drag's outline is drawn inverting: its pixels stay unblended.
        image_ = RenderImage(dc, false, false, &imagePart_);
        if (image_) {
            DibHandleDraw(dc, image_, ImageTarget(imagePart_), DSXN);
            imageAngle_ = angle;
        }
    } else if (angle != 0 || imageAngle_ != 0) {
        DrawRotated(dc);
    } else {
        DrawText(dc);
    }
    contentDrawn_ = 0;
}

bool FrameObjText::DrawTurnedText(Dc* dc, int16_t angle)
{
    // A printer or PDF file gets the text as glyphs under the frame's turn,
    // about the same centres the turned picture of it would be drawn
    // through, so the ink lands where the picture's would: it can be found
    // and copied, and it is as sharp as the device.
    IntRect bounds;
    PlacementToRect(block_.attr.geometry, &bounds);
    DocToViewRect(&bounds);
    const QPointF from((double(bounds.left) + bounds.right) / 2, (double(bounds.top) + bounds.bottom) / 2);
    const QPointF to((double(viewRect_.left) + viewRect_.right) / 2, (double(viewRect_.top) + viewRect_.bottom) / 2);
    if (!dc->beginTurn(angle, from, to))
        return false;
    const float kept = viewGeometry_.angle;
    viewGeometry_.angle = 0;
    DrawTextInto(dc);
    viewGeometry_.angle = kept;
    dc->endTurn();
    return true;
}

void FrameObjText::DrawContent(Dc* dc) { DrawTextContent(dc); }

void FrameObjText::DrawTextInto(Dc* dc) { DrawText(dc); }

void FrameObjText::DrawText(Dc* dc)
{
    ContentFrameHost* host = ContentHostOf(this);
    TextFrameEngine* engine = host->TextEngine();
    const int32_t mode = dc->setBkMode(TRANSPARENT);
    const ColorRef background = dc->bkColor();
    const bool editing = InTextEdit();
    if (editing) {
        dc->setBkMode(OPAQUE);
        dc->setBkColor(kWhite);
    }
    if (engine) {
        engine->ClearCaretDrawn();
        if (engine->SelectStory(block_.storyId)) {
            engine->LoadWrapOutline(this);
            IntRect rect;
            GetTextRect(&rect);
            engine->SetTextRect(rect);
            engine->DrawText(dc, this);
            FrameStore* frames = document_ ? document_->Frames() : nullptr;
            if (editing && drawEditSelection_ && !outputShift_ && frames && frames->IsInEdit(this)) {
                engine->SetTextRect(rect);
                engine->DrawEditSelection(dc, this);
            }
        }
    }
    dc->setBkColor(background);
    dc->setBkMode(mode);
}

// ---- changes ----

FrameTracker* FrameObjText::CreateTracker(FrameView* view, int16_t mode)
{
    FrameTracker* tracker = FrameObjRect::CreateTracker(view, mode);
    if (tracker)
        imageAngle_ = 0;
    return tracker;
}

void FrameObjText::SetBorderWidth(int16_t width)
{
    FrameObjRect::SetBorderWidth(width);
    imageAngle_ = 0;
    Invalidate(0);
}

void FrameObjText::Invalidate(int32_t flag)
{
    FrameObjRect::Invalidate(flag);
    if (FrameStore* frames = document_ ? document_->Frames() : nullptr)
        frames->SetNeedsReflow(FrameId());
    if (TextFrameEngine* engine = ContentHostOf(this)->TextEngine())
        engine->BuildTextWrapOutline(this, ViewDc());
    imageAngle_ = 0;
}

int32_t FrameObjText::ShiftForOutput(uint8_t on, uint8_t mode, int32_t dx, int32_t dy)
{
    const int32_t result = FrameObjRect::ShiftForOutput(on, mode, dx, dy);
    // The shapes the text flows around go with the frame, or text laid out
    // after the page is back would flow around where they were printed.
    OffsetWrapOutline(on ? Sub32(0, dx) : dx, on ? Sub32(0, dy) : dy);
    OffsetLines(IntPoint{dx, dy}, on ? -1 : 1);
    return result;
}

void FrameObjText::EndDrag(uint8_t commit)
{
    if (block_.attr.locked || block_.pinned)
        return;
    const FrameGeometry& g = block_.attr.geometry;
    OffsetLines(IntPoint{Sub32(dragGeometry_.x, g.x), Sub32(dragGeometry_.y, g.y)}, 1);
    if (TextFrameEngine* engine = ContentHostOf(this)->TextEngine()) {
        IntRect rect;
        GetTextRect(&rect);
        engine->SetTextRect(rect);
    }
    FrameObjRect::EndDrag(commit);
}

void FrameObjText::StraightenForEdit()
{
    savedAngle_ = 0;
    FrameGeometry& g = block_.attr.geometry;
    if (g.angle == 0)
        return;
    MarkChanged(1, 0);
    savedAngle_ = g.angle;
    savedOutlineKind_ = block_.outlineKind;
    block_.outlineKind = 0;
    g.angle = 0;
    Recompute(1);
    RedrawPage();
}

void FrameObjText::RestoreRotation()
{
    if (savedAngle_ == 0) {
        MarkChanged(1, 0);
        Invalidate(0);
    } else {
        MarkChanged(0, 0);
        MarkChanged(1, 0);
        block_.attr.geometry.angle = savedAngle_;
        block_.outlineKind = uint8_t(savedOutlineKind_);
        Recompute(1);
        imageAngle_ = 0;
    }
    RedrawPage();
}

void FrameObjText::RedrawPage()
{
    if (CurrPageMng* manager = document_ ? document_->PageManager() : nullptr)
        manager->RedrawCurrentPage(1, 0, 0);
}
