#include "frames/frame_obj_text.h"

#include <algorithm>
#include <cstdio>

#include "foundation/alerts.h"
#include "foundation/byte_order.h"
#include "foundation/int_math.h"
#include "graphics/beep.h"

#include "frames/ctfile_mng.h"
#include "frames/frame_document.h"
#include "frames/frame_store.h"
#include "frames/story_store.h"

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

}  // namespace

FrameObjText::FrameObjText()
{
    block_.attr.geometry.lineWidth = 0;
    block_.textInset = 3;
}

FrameObjText::~FrameObjText()
{
    if (imageStored_ && document_ && document_->SwapFile())
        document_->SwapFile()->FreeSpace(imagePosition_, imageLength_);
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
    return result + stories->WriteStory(file, uint16_t(block_.storyId));
}

int32_t FrameObjText::ReloadFrom(FileHandle file, const IntPoint& delta, uint16_t* oldId)
{
    const int32_t result = FrameObjRect::ReloadFrom(file, delta, oldId);
    StoryStore* stories = document_ ? document_->Stories() : nullptr;
    if (result != 0 || !stories)
        return result;
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

    if (wrapOutline_) {
        const uint32_t size = HandleGetSize(wrapOutline_);
        uint8_t* bytes = HandleData(wrapOutline_);
        const uint32_t implied = size < 12 ? 0 : (size - 12) / kWrapPointSize + 1;
        const uint16_t stored = size >= 2 ? GetU16LE(bytes) : 0;
        if (size >= 2 && implied != stored) {
            // An outline whose count disagrees with its size was damaged
            // somewhere; the size is what the Handle really holds.
            char note[96];
            std::snprintf(note, sizeof note, "n=%u, num=%u, size=%u, summ=%u", unsigned(implied), unsigned(stored),
                          unsigned(size), unsigned(kWrapPointSize * stored + 4));
            PlayBeep(0);
            AlertNote(note, 0);
            PutU16LE(bytes, uint16_t(std::min<uint32_t>(implied, 0xFFFF)));
        }
        for (uint32_t i = 0; i < implied; ++i) {
            uint8_t* p = bytes + kWrapOutlineHeaderSize + kWrapPointSize * i;
            PutI32LE(p, Add32(GetI32LE(p), dx));
            PutI32LE(p + 4, Add32(GetI32LE(p + 4), dy));
        }
    }
    OffsetLines(delta, positive ? 1 : -1);
}
