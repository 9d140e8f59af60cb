#include "frames/frame_geometry_limits.h"
#include "frames/frame_obj.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "foundation/int_math.h"
#include "foundation/win_error.h"
#include "frames/frame_document.h"
#include "frames/standard_attributes.h"
#include "graphics/corner_quad.h"
#include "graphics/placement.h"
#include "graphics/rect_ops.h"

namespace {

// A variable part whose size cannot be right (an outline shorter than its
// count word, a group list that is not whole ids).
constexpr int32_t kErrBadBlock = 13;

const char kClipboardText[] = "Tessaline Data";

// Steps over n bytes of a part that is not taken, when the file holds them.
void SkipBytes(FileHandle file, uint32_t n)
{
    uint32_t here = 0;
    uint32_t size = 0;
    if (FileTell(file, &here) == kErrNone && FileGetSize(file, &size) == kErrNone && uint64_t(here) + n <= size)
        FileSeek(file, kSeekStart, int32_t(here + n));
}

}  // namespace

int32_t ReadHandleFromFile(FileHandle file, uint32_t n, Handle* out)
{
    *out = nullptr;
    uint32_t here = 0;
    uint32_t size = 0;
    if (FileTell(file, &here) != kErrNone || FileGetSize(file, &size) != kErrNone || uint64_t(here) + n > size)
        return kErrHandleEof;
    Handle h = HandleNew(n);
    if (!h)
        return kErrNotEnoughMemory;
    const int32_t err = n ? FileRead(file, HandleData(h), n) : kErrNone;
    if (err != kErrNone) {
        HandleFree(h);
        return err;
    }
    *out = h;
    return kErrNone;
}

FrameObj::FrameObj()
{
    block_.attr = StandardFrameAttributes(2, kAllSides);
    block_.handleCount = 8;
    block_.resizable = 1;
    block_.selectable = 1;
    block_.rotatable = 1;
    block_.outlineKind = 1;
    block_.outlineInset = 3;
    block_.storyId = -1;
    saved_ = block_.attr;
}

FrameObj::~FrameObj()
{
    HandleFree(groupIds_);
    HandleFree(wrapOutline_);
}

// ---- persistent block ----

int32_t FrameObj::ReadBody(FileHandle file, BlockTarget)
{
    // The block in one read: frames go to the swap file and back whenever
    // their page closes and opens, once a sheet in a long job.
    uint8_t bytes[kFrameBlockSize];
    int32_t result = FileRead(file, bytes, kFrameBlockSize);
    if (result != 0)
        return result;
    FrameBlock read;
    read.attr = GetFrameAttributes(bytes);
    // A placement no page can hold comes from a damaged file (the document
    // says so when it opens); it is brought within what can be drawn.
    ClampFrameGeometry(&read.attr.geometry);
    uint32_t groupBytes = 0;
    uint32_t wrapBytes = 0;
    GetFrameSecondPart(bytes, &read, &groupBytes, &wrapBytes);

    // The two sizes come from the file: a part is taken only when its size
    // can be right and the file holds it; otherwise the read fails and the
    // frame keeps what it had.
    Handle wrap = nullptr;
    Handle groups = nullptr;
    if (wrapBytes != 0) {
        if (wrapBytes < kWrapOutlineHeaderSize) {
            SkipBytes(file, wrapBytes);
            result = kErrBadBlock;
        } else {
            result = ReadHandleFromFile(file, wrapBytes, &wrap);
        }
    }
    if (result == 0 && groupBytes != 0) {
        if (groupBytes % 4 != 0) {
            SkipBytes(file, groupBytes);
            result = kErrBadBlock;
        } else {
            result = ReadHandleFromFile(file, groupBytes, &groups);
        }
    }
    if (result != 0) {
        HandleFree(wrap);
        HandleFree(groups);
        return result;
    }
    block_ = read;
    HandleFree(wrapOutline_);
    HandleFree(groupIds_);
    wrapOutline_ = wrap;
    groupIds_ = groups;
    return 0;
}

int32_t FrameObj::WriteBody(FileHandle file, BlockTarget)
{
    uint8_t bytes[kFrameBlockSize];
    const uint32_t wrapBytes = HandleGetSize(wrapOutline_);
    const uint32_t groupBytes = HandleGetSize(groupIds_);
    PutFrameAttributes(bytes, block_.attr);
    PutFrameSecondPart(bytes, block_, groupBytes, wrapBytes);
    int32_t result = FileWrite(file, bytes, kFrameBlockSize);
    if (wrapBytes)
        result += FileWrite(file, HandleData(wrapOutline_), wrapBytes);
    if (groupBytes)
        result += FileWrite(file, HandleData(groupIds_), groupBytes);
    return result;
}

int32_t FrameObj::Read(FileHandle file, int32_t position)
{
    if (position != -1) {
        const int32_t err = FileSeek(file, kSeekStart, position);
        if (err != kErrNone)
            return err;
    }
    return ReadBody(file, BlockTarget::kDocument);
}

int32_t FrameObj::Write(FileHandle file, int32_t position)
{
    if (position != -1) {
        const int32_t err = FileSeek(file, kSeekStart, position);
        if (err != kErrNone)
            return err;
    }
    return WriteBody(file, BlockTarget::kDocument);
}

int32_t FrameObj::ReadBack(FileHandle file, int32_t position)
{
    if (position == -1)
        return 1;
    int32_t result = FileSeek(file, kSeekStart, position);
    if (result == kErrNone)
        result = ReadBody(file, BlockTarget::kSwap);
    if (result == 0)
        modified_ = 0;
    return result;
}

int32_t FrameObj::WriteBack(FileHandle file, int32_t position)
{
    if (position == -1)
        return 1;
    const int32_t err = FileSeek(file, kSeekStart, position);
    if (err != kErrNone)
        return err;
    return WriteBody(file, BlockTarget::kSwap);
}

uint32_t FrameObj::DataSize() const
{
    return uint32_t(kFrameBlockSize) + HandleGetSize(wrapOutline_) + HandleGetSize(groupIds_);
}

int32_t FrameObj::WriteOffset(FileHandle file, const IntPoint& origin)
{
    FrameGeometry& g = block_.attr.geometry;
    const int32_t x = g.x;
    const int32_t y = g.y;
    // A frame read from a damaged file may lie anywhere: the offset wraps
    // as every other move of a frame does.
    g.x = Sub32(g.x, origin.x);
    g.y = Sub32(g.y, origin.y);
    const int32_t result = Write(file, -1);
    g.x = x;
    g.y = y;
    return result;
}

int32_t FrameObj::ReloadFrom(FileHandle file, const IntPoint& delta, uint16_t* oldId)
{
    const uint16_t keep = block_.frameId;
    const int32_t result = Read(file, -1);
    if (result != 0)
        return result;
    *oldId = block_.frameId;
    block_.frameId = keep;
    SetWrapOutline(nullptr);
    MoveBy(delta, 0, 1);
    Recompute(1);
    BeginChange();
    return 0;
}

// ---- change protocol ----

void FrameObj::MarkChanged(uint8_t on, uint8_t keepRegion)
{
    if (on) {
        if (changed_)
            return;
        drawState_ = 2;
        regionValid_ = keepRegion;
        changed_ = 1;
        SaveBlock();
        modified_ = 1;
        redrawPending_ = 1;
    } else if (changed_) {
        drawState_ = 2;
        regionValid_ = keepRegion;
        changed_ = 0;
    }
}

void FrameObj::Invalidate(int32_t)
{
    modified_ = 1;
    drawState_ = 2;
}

void FrameObj::Recompute(uint8_t withRegion)
{
    int16_t numerator = 1;
    int16_t denominator = 1;
    GetZoom(&numerator, &denominator);
    viewGeometry_ = block_.attr.geometry;
    PlacementScale(&viewGeometry_, numerator, denominator);
    PlacementCorners(viewGeometry_, &viewCorners_);
    CornerQuadBounds(viewCorners_, &viewRect_);
    redrawPending_ = 1;
    if (withRegion) {
        regionValid_ = 0;
        Region rebuilt;
        GetOutlineRegion(ViewDc(), &rebuilt);
    }
}

void FrameObj::ToggleSaved()
{
    SwapBlock();
    drawState_ = 2;
    changed_ = 1;
    modified_ = 1;
    redrawPending_ = 1;
    Recompute(1);
    Invalidate(0);
}

void FrameObj::SaveBlock() { saved_ = block_.attr; }

void FrameObj::SwapBlock() { std::swap(saved_, block_.attr); }

void FrameObj::CopyBlockOut(FrameAttributes* destination) const { *destination = block_.attr; }

void FrameObj::CopyBlockIn(const FrameAttributes& source) { block_.attr = source; }

// ---- geometry ----

void FrameObj::SetGeometry(const FrameGeometry& geometry)
{
    BeginChange();
    block_.attr.geometry = geometry;
    Recompute(1);
}

void FrameObj::SetFromQuad(const CornerQuad& quad)
{
    BeginChange();
    QuadToPlacement(quad, &block_.attr.geometry);
    Recompute(1);
}

void FrameObj::SetFromRect(const IntRect& rect)
{
    IntRect r = rect;
    RectNormalize(&r);
    BeginChange();
    RectToPlacement(r, &block_.attr.geometry);
    Recompute(1);
}

void FrameObj::SetGeometryField(int16_t index, int16_t value)
{
    BeginChange();
    FrameGeometry& g = block_.attr.geometry;
    switch (index) {
    case 0:
        g.x = value;
        break;
    case 1:
        g.y = value;
        break;
    case 2:
        g.width = value;
        break;
    case 3:
        g.height = value;
        break;
    case 4:
        g.angle = IsRotatable() ? float(value % 360) : 0.0f;
        break;
    default:
        break;
    }
    Recompute(1);
}

void FrameObj::MoveBy(const IntPoint& delta, int16_t mode, uint8_t force)
{
    if (block_.pinned || (block_.attr.locked && !force))
        return;
    if (mode == 0) {
        MarkChanged(1, 1);
        block_.attr.geometry.x = Add32(block_.attr.geometry.x, delta.x);
        block_.attr.geometry.y = Add32(block_.attr.geometry.y, delta.y);
        ClearAutoSize(false);
        Recompute(0);
    } else if (mode == 2) {
        dragGeometry_.x = Add32(dragGeometry_.x, delta.x);
        dragGeometry_.y = Add32(dragGeometry_.y, delta.y);
    }
}

void FrameObj::OffsetBy(const IntPoint& delta, uint8_t positive, uint8_t remember)
{
    FrameGeometry& g = block_.attr.geometry;
    if (remember && positive) {
        g.x = Sub32(g.x, block_.remembered.x);
        g.y = Sub32(g.y, block_.remembered.y);
        block_.remembered = delta;
    } else if (remember) {
        block_.remembered = IntPoint{};
    }
    if (positive) {
        g.x = Add32(g.x, delta.x);
        g.y = Add32(g.y, delta.y);
    } else {
        g.x = Sub32(g.x, delta.x);
        g.y = Sub32(g.y, delta.y);
    }
}

// ---- attributes ----

void FrameObj::SetSelected(uint8_t on)
{
    if (block_.selectable)
        block_.selected = on;
}

void FrameObj::SetRecordFed(uint8_t on)
{
    block_.recordFed = on;
    BeginChange();
    Invalidate(0);
    Recompute(0);
}

void FrameObj::SetBarcodeOption(uint8_t value)
{
    BeginChange();
    block_.barcodeOption = value;
    Recompute(0);
}

void FrameObj::SetDataField(int16_t field)
{
    BeginChange();
    block_.attr.dataField = field;
    Recompute(0);
}

void FrameObj::SetColour(uint8_t value, uint8_t selector)
{
    BeginChange();
    FrameAttributes& a = block_.attr;
    switch (selector) {
    case 1:
        a.fillColour = value;
        break;
    case 2:
        a.background = value;
        break;
    case 3:
        a.textColour = value;
        break;
    default:
        a.borderColour = value;
        break;
    }
}

void FrameObj::SetTint(uint8_t value, uint8_t selector)
{
    BeginChange();
    FrameAttributes& a = block_.attr;
    if (selector == 1)
        a.fillTint = value;
    else if (selector == 3)
        a.textTint = value;
    else
        a.borderTint = value;
}

void FrameObj::SetPattern(uint8_t value, uint8_t selector)
{
    BeginChange();
    FrameAttributes& a = block_.attr;
    if (selector == 1)
        a.fillPattern = value;
    else if (selector == 3)
        a.textPattern = value;
    else
        a.borderPattern = value;
}

void FrameObj::SetBorderStyle(int16_t style)
{
    BeginChange();
    block_.attr.geometry.lineStyle = style;
    Recompute(1);
}

void FrameObj::SetBorderWidth(int16_t width)
{
    BeginChange();
    block_.attr.geometry.lineWidth = width;
    Recompute(1);
}

void FrameObj::SetFont(int16_t font)
{
    BeginChange();
    block_.attr.fontId = font;
    Recompute(1);
}

void FrameObj::SetFontSize(int16_t size)
{
    BeginChange();
    block_.attr.fontSize = size;
    Recompute(1);
}

void FrameObj::SetFontStyle(int16_t style, int32_t, int32_t)
{
    BeginChange();
    block_.attr.fontStyle = style;
    Recompute(1);
}

void FrameObj::SetAutoSizeAnchor(int16_t anchor)
{
    BeginChange();
    ClearAutoSize(true);
    block_.autoSizeBlock.anchor = anchor;
}

void FrameObj::Touch(int32_t) { BeginChange(); }

void FrameObj::SetAttrLowNibble(uint8_t value)
{
    block_.attr.attrByte = uint8_t((block_.attr.attrByte & 0xF0) | (value & 0x0F));
    modified_ = 1;
}

void FrameObj::SetAlignment(uint16_t anchorH, uint16_t anchorV, int16_t modeH, int16_t modeV)
{
    FrameAttributes& a = block_.attr;
    const bool none = modeH == 0 && modeV == 0;
    a.anchorH = none ? 0 : anchorH;
    a.anchorV = none ? 0 : anchorV;
    a.alignH = modeH;
    a.alignV = modeV;
    modified_ = 1;
}

void FrameObj::GetAlignment(uint16_t* anchorH, uint16_t* anchorV, int16_t* modeH, int16_t* modeV) const
{
    *anchorH = block_.attr.anchorH;
    *anchorV = block_.attr.anchorV;
    *modeH = block_.attr.alignH;
    *modeV = block_.attr.alignV;
}

void FrameObj::SetStoryId(int16_t id)
{
    block_.storyId = id;
    modified_ = 1;
}

void FrameObj::ResetStory()
{
    block_.storyId = 0;
    modified_ = 1;
}

int16_t FrameObj::GetAutoSizeBlock(AutoSizeBlock* out) const
{
    *out = block_.autoSizeBlock;
    return block_.autoSizeBlock.anchor;
}

void FrameObj::SetAutoSizeBlock(const AutoSizeBlock& block)
{
    block_.autoSizeBlock = block;
    modified_ = 1;
}

void FrameObj::ClearAutoSize(bool all)
{
    const int16_t anchor = block_.autoSizeBlock.anchor;
    block_.autoSizeBlock = AutoSizeBlock{};
    if (!all)
        block_.autoSizeBlock.anchor = anchor;
}

void FrameObj::SetAutoSize(uint8_t on)
{
    block_.autoSize = on;
    modified_ = 1;
}

void FrameObj::SetBackdrop(uint8_t on)
{
    block_.backdrop = on;
    modified_ = 1;
}

void FrameObj::SetUndeletable(uint8_t on)
{
    block_.undeletable = on;
    modified_ = 1;
}

void FrameObj::SetPinned(uint8_t on)
{
    block_.pinned = on;
    modified_ = 1;
}

void FrameObj::SetShown(uint8_t on)
{
    BeginChange();
    block_.attr.shown = on;
}

void FrameObj::SetLocked(uint8_t on)
{
    BeginChange();
    block_.attr.locked = on;
}

void FrameObj::SetPrintable(uint8_t on)
{
    BeginChange();
    block_.attr.printable = on;
}

void FrameObj::SetOutline(uint8_t kind, int16_t inset)
{
    block_.outlineKind = kind;
    block_.outlineInset = inset;
    modified_ = 1;
}

void FrameObj::SetTextInset(int16_t inset)
{
    block_.textInset = inset;
    modified_ = 1;
}

// ---- page link ----

void FrameObj::SetPageWord(int16_t value, uint8_t selector)
{
    int16_t& word = selector ? block_.zOrderWord : block_.pageWord;
    if (word != value) {
        word = value;
        modified_ = 1;
    }
}

void FrameObj::SetPageLink(uint32_t pageHandle, uint8_t residence)
{
    if (block_.pageHandle != pageHandle || block_.residence != residence) {
        block_.pageHandle = pageHandle;
        block_.residence = residence;
        modified_ = 1;
    }
}

// ---- group-id list ----

void FrameObj::AppendId(uint32_t id)
{
    if (id == 0)
        return;
    if (!groupIds_) {
        groupIds_ = HandleNew(4);
        if (!groupIds_)
            return;
    } else if (HandleResize(groupIds_, int32_t(HandleGetSize(groupIds_) + 4)) != 0) {
        return;
    }
    PutU32LE(HandleData(groupIds_) + HandleGetSize(groupIds_) - 4, id);
    modified_ = 1;
}

int16_t FrameObj::IdCount() const { return int16_t(HandleGetSize(groupIds_) / 4); }

uint32_t FrameObj::GetId(int16_t index) const
{
    const int16_t n = IdCount();
    if (n == 0 || index < -1)
        return 0;
    if (index == -1 || index >= n)
        index = int16_t(n - 1);
    return GetU32LE(HandleData(groupIds_) + index * 4);
}

void FrameObj::RemoveLastId()
{
    const int16_t n = IdCount();
    if (n == 0)
        return;
    if (n == 1) {
        HandleFree(groupIds_);
        groupIds_ = nullptr;
    } else {
        HandleResize(groupIds_, int32_t(n - 1) * 4);
    }
    modified_ = 1;
}

bool FrameObj::RemoveId(uint32_t id, uint32_t replacement)
{
    int16_t n = IdCount();
    if (!groupIds_)
        return false;
    bool found = false;
    for (int16_t i = 0; i < n;) {
        uint8_t* entry = HandleData(groupIds_) + i * 4;
        if (GetU32LE(entry) != id) {
            ++i;
            continue;
        }
        found = true;
        if (replacement != 0) {
            PutU32LE(entry, replacement);
            ++i;
            continue;
        }
        MemMove(entry + 4, entry, uint32_t(n - i - 1) * 4);
        --n;
    }
    if (found) {
        if (n == 0) {
            HandleFree(groupIds_);
            groupIds_ = nullptr;
        } else {
            HandleResize(groupIds_, int32_t(n) * 4);
        }
    }
    modified_ = 1;
    return found;
}

void FrameObj::SetWrapOutline(Handle h)
{
    if (h != wrapOutline_)
        HandleFree(wrapOutline_);
    wrapOutline_ = h;
}

int32_t FrameObj::CopyTo(FrameObj* destination)
{
    FrameBlock& d = destination->block_;
    d.attr = block_.attr;
    d.outlineKind = block_.outlineKind;
    d.drawnAsImage = block_.drawnAsImage;
    d.rotatable = block_.rotatable;
    d.outlineInset = block_.outlineInset;
    d.textInset = block_.textInset;
    d.recordFed = block_.recordFed;
    d.barcodeOption = block_.barcodeOption;
    Handle copy = groupIds_;
    if (copy && HandleDuplicate(&copy) != 0)
        copy = nullptr;
    HandleFree(destination->groupIds_);
    destination->groupIds_ = copy;
    destination->Recompute(1);
    destination->BeginChange();
    destination->Invalidate(0);
    return 0;
}

Handle FrameObj::MakeClipboardText(uint32_t* typeTag) const
{
    *typeTag = FourCC("TEXT");
    const uint32_t n = sizeof kClipboardText - 1;
    Handle h = HandleNew(n);
    if (h)
        std::memcpy(HandleData(h), kClipboardText, n);
    return h;
}
