#include "frames/frame_store.h"

#include <cstring>
#include <vector>

#include "foundation/alerts.h"
#include "foundation/byte_order.h"
#include "foundation/win_error.h"
#include "frames/frame_block_format.h"
#include "frames/frame_document.h"
#include "frames/frame_factory.h"
#include "frames/frame_obj.h"
#include "frames/frame_obj_image.h"
#include "frames/frame_obj_text.h"
#include "frames/image_block_format.h"
#include "frames/page_record_format.h"
#include "frames/page_table.h"
#include "frames/shared_frame_list.h"
#include "frames/story_store.h"

namespace {

constexpr int32_t kFrameMngBase = 600;
constexpr int32_t kMsgNoMemory = 3;
constexpr int32_t kMsgNotFound = 4;
constexpr int32_t kMsgSaveFailed = 9;
constexpr int32_t kMsgUnknownType = 12;
constexpr int32_t kNotFoundCode = -12345;

bool IsTextBearing(uint8_t type)
{
    return type == kFrameText || (type >= kFrameBarcode && type <= kFrameFieldBarcode) || type == kFrameBarcode18;
}

bool IsPictureType(uint8_t type) { return type == kFrameImage || type == kFramePicture; }

}  // namespace

FrameStore::FrameStore(FrameDocument* document, CTFileMng* swap)
    : SwapStore(kFrameRecordSize, swap), document_(document)
{
}

FrameStore::~FrameStore()
{
    for (void* p : slots_.TakeAll())
        delete static_cast<FrameObj*>(p);
}

FrameObj* FrameStore::ObjectOf(const uint8_t* record) const
{
    return static_cast<FrameObj*>(slots_.Get(HeaderSlot(record)));
}

FrameObj* FrameStore::CreateFrameObject(int16_t type, uint8_t insert)
{
    if (!IsFrameTypeKnown(type)) {
        AlertStopById(kFrameMngBase, kMsgUnknownType, type);
        return nullptr;
    }
    FrameObj* frame = NewFrameObject(type);
    if (!frame) {
        AlertStopById(kFrameMngBase, kMsgNoMemory, 0);
        return nullptr;
    }
    if (!insert)
        return frame;
    InitFrameRecord(frame);
    if (HeaderId(current_) == 0 || Append(frame_) != 0) {
        slots_.Take(HeaderSlot(current_));
        ClearCurrent();
        delete frame;
        return nullptr;
    }
    currentIndex_ = count_ - 1;
    return frame;
}

// ---- store slots ----

void FrameStore::FreeData(uint8_t* header)
{
    auto* frame = static_cast<FrameObj*>(slots_.Take(HeaderSlot(header)));
    if (frame)
        frame->LeavingMemory();
    delete frame;
    SetHeaderSlot(header, 0);
    SetHeaderBits(header, kRecLoaded, false);
}

void FrameStore::GetRecord(int32_t index, uint8_t* header)
{
    frameIndex_ = index < 0 ? 0 : index;
    const uint8_t* r = RecordPtr(frameIndex_);
    if (r)
        std::memcpy(frame_, r, kFrameRecordSize);
    else
        std::memset(frame_, 0, kFrameRecordSize);
    CopyHeader(header, frame_);
}

void FrameStore::PutRecord(int32_t index, const uint8_t* header)
{
    uint8_t* r = RecordPtr(index);
    if (!r)
        return;
    // The rest of the full record belongs to the record it was read from;
    // a header put back elsewhere takes that record's own rest.
    if (index != frameIndex_) {
        std::memcpy(frame_, r, kFrameRecordSize);
        frameIndex_ = index;
    }
    if (header != frame_)
        CopyHeader(frame_, header);
    NoteIdWrite(r, frame_);
    std::memcpy(r, frame_, kFrameRecordSize);
}

int32_t FrameStore::LoadCurrent(uint8_t mode)
{
    // Loading needs the type from the full record of the current one.
    if (frameIndex_ != currentIndex_ && RecordPtr(currentIndex_)) {
        std::memcpy(frame_, RecordPtr(currentIndex_), kFrameRecordSize);
        std::memcpy(frame_, current_, kRecordHeaderSize);
        frameIndex_ = currentIndex_;
    }
    const int32_t result = SwapStore::LoadCurrent(mode);
    std::memcpy(frame_, current_, kRecordHeaderSize);
    return result;
}

int32_t FrameStore::UnloadCurrent()
{
    if (HeaderHas(current_, kRecLoaded))
        SetHeaderBits(current_, kRecChanged, true);
    const int32_t result = SwapStore::UnloadCurrent();
    std::memcpy(frame_, current_, kRecordHeaderSize);
    return result;
}

void FrameStore::ClearKeepFlags()
{
    for (int32_t i = 0; i < count_; ++i) {
        uint8_t* r = RecordPtr(i);
        SetHeaderBits(r, kFrameHeld, FrameResidence(r) == kResidencePasteboard);
    }
}

uint32_t FrameStore::DataSize()
{
    const FrameObj* frame = attached_ ? ObjectOf(attached_) : nullptr;
    return frame ? frame->DataSize() : 0;
}

int32_t FrameStore::WriteData(FileHandle file, uint32_t position)
{
    FrameObj* frame = attached_ ? ObjectOf(attached_) : nullptr;
    if (!frame || position > uint32_t(INT32_MAX))
        return 1;
    return frame->WriteBack(file, int32_t(position));
}

int32_t FrameStore::ReadData(FileHandle file, uint32_t position)
{
    if (!attached_ || position > uint32_t(INT32_MAX))
        return kStoreSwapRead;
    FrameObj* frame = CreateFrameObject(int16_t(FrameType(frame_)), 0);
    if (!frame)
        return kStoreSwapRead;
    frame->SetDocument(document_);
    if (frame->ReadBack(file, int32_t(position)) != 0) {
        delete frame;
        return kStoreSwapRead;
    }
    // The record, not the block, says which frame this is.
    frame->SetFrameId(HeaderId(attached_));
    SetHeaderSlot(attached_, slots_.Add(frame));
    return 0;
}

// ---- helpers ----

bool FrameStore::SelectRecord(int32_t index)
{
    if (index < 0 || index >= count_)
        return false;
    currentIndex_ = index;
    GetRecord(index, current_);
    return true;
}

void FrameStore::StoreCurrent() { PutRecord(currentIndex_, current_); }

bool FrameStore::SelectId(uint16_t id) { return FindById(id) >= 0; }

void FrameStore::MarkReflow(uint16_t id, bool markObject)
{
    if (!SelectId(id))
        return;
    SetHeaderBits(current_, kFrameNeedsReflow, true);
    StoreCurrent();
    if (FrameObj* frame = ObjectOf(current_); frame && markObject)
        frame->MarkChanged(1, 0);
}

// ---- frames and records ----

int32_t FrameStore::FindFrame(FrameObj* frame)
{
    if (!frame)
        return -1;
    const int32_t index = FindById(frame->FrameId());
    if (index >= 0 && HeaderHas(current_, kRecLoaded) && ObjectOf(current_) != frame)
        AlertNote(" Error FindFrame inFrame != FAFRAME", 0);
    return index;
}

void FrameStore::InitFrameRecord(FrameObj* frame)
{
    std::memset(frame_, 0, sizeof frame_);
    InitRecord(current_);
    SetHeaderSlot(current_, slots_.Add(frame));
    std::memcpy(frame_, current_, kRecordHeaderSize);
    frameIndex_ = count_;
    SetFrameType(frame_, uint8_t(frame->GetType()));
    frame->SetDocument(document_);
    frame->SetFrameId(HeaderId(current_));
}

FrameObj* FrameStore::GetLoadedFrame(uint16_t id)
{
    if (!SelectId(id) || !HeaderHas(current_, kRecLoaded))
        return nullptr;
    return ObjectOf(current_);
}

FrameObj* FrameStore::LoadFrame(uint16_t id, uint8_t mode)
{
    if (LoadData(id, mode) != 0)
        return nullptr;
    return ObjectOf(current_);
}

FrameObj* FrameStore::GetFrameObject(uint16_t id)
{
    if (id == 0 || !SelectId(id))
        return nullptr;
    const uint8_t residence = FrameResidence(frame_);
    if (HeaderHas(current_, kFrameHeld) || residence == kResidenceKept || residence == kResidencePasteboard)
        return ObjectOf(current_);
    if (residence != kResidencePage || !document_ || !document_->Pages())
        return nullptr;
    int16_t number = kNoPageNumber;
    document_->Pages()->NumberOfHandle(FramePage(frame_), &number);
    if (number == kNoPageNumber || !document_->SwitchToPage(number))
        return nullptr;
    return LoadFrame(id, kRecKeep);
}

int32_t FrameStore::GetFrameRecord(uint16_t id, uint8_t* record)
{
    const int32_t index = FindById(id);
    if (index < 0) {
        std::memset(record, 0, kFrameRecordSize);
        return -1;
    }
    std::memcpy(record, frame_, kFrameRecordSize);
    return index;
}

int32_t FrameStore::SetFrameRecord(uint16_t id, const uint8_t* record)
{
    const int32_t index = FindById(id);
    if (index < 0)
        return -1;
    const uint32_t slot = HeaderSlot(current_);
    const bool loaded = HeaderHas(current_, kRecLoaded);
    std::memcpy(frame_, record, kFrameRecordSize);
    SetHeaderSlot(frame_, slot);
    SetHeaderBits(frame_, kRecLoaded, loaded);
    std::memcpy(current_, frame_, kRecordHeaderSize);
    StoreCurrent();
    return index;
}

int32_t FrameStore::SetFlag4(FrameObj* frame, bool on)
{
    const int32_t index = FindFrame(frame);
    if (index >= 0) {
        SetHeaderBits(current_, kFrameKeptLoaded, on);
        StoreCurrent();
    }
    return index;
}

int32_t FrameStore::SetHeld(FrameObj* frame, bool on)
{
    const int32_t index = FindFrame(frame);
    if (index >= 0) {
        SetHeaderBits(current_, kFrameHeld, on);
        StoreCurrent();
    }
    return index;
}

void FrameStore::SetEditFlag(FrameObj* frame, bool on)
{
    if (FindFrame(frame) >= 0) {
        SetHeaderBits(current_, kFrameInEdit, on);
        StoreCurrent();
    }
}

bool FrameStore::IsInEdit(FrameObj* frame) { return FindFrame(frame) >= 0 && HeaderHas(current_, kFrameInEdit); }

int32_t FrameStore::SetEditFlagAll(FrameObj* frame, bool on)
{
    const int32_t index = FindFrame(frame);
    if (index < 0)
        return -1;
    const uint16_t story = uint16_t(frame->Block().storyId);
    for (int32_t i = 0; i < count_; ++i) {
        uint8_t* r = RecordPtr(i);
        if (FrameType(r) == kFrameText && FrameStory(r) == story)
            SetHeaderBits(r, kFrameInEdit, on);
    }
    SelectRecord(index);
    return index;
}

void FrameStore::SetFramePage(FrameObj* frame, uint32_t page, uint8_t residence)
{
    if (!frame)
        return;
    frame->SetPageLink(page, residence);
    if (FindFrame(frame) < 0)
        return;
    SetFramePageField(frame_, page);
    SetFrameResidence(frame_, residence);
    SetFrameType(frame_, uint8_t(frame->GetType()));
    StoreCurrent();
}

bool FrameStore::DeleteFrame(FrameObj* frame)
{
    if (!frame)
        return true;
    const int16_t type = frame->GetType();
    if (type == kFrameText) {
        if (IsChained(frame))
            Unlink(frame);
        else if (document_ && document_->Stories() && frame->Block().storyId > 0)
            document_->Stories()->DeleteStory(uint16_t(frame->Block().storyId));
    }
    if (IsPictureType(uint8_t(type)))
        static_cast<FrameObjImage*>(frame)->ReleaseImage(true);
    if (DeleteById(frame->FrameId()) != 0) {
        AlertStopById(kFrameMngBase, kMsgNotFound, kNotFoundCode);
        return false;
    }
    return true;
}

int32_t FrameStore::RebuildPageLists()
{
    SharedFrameList* shared = document_ ? document_->SharedFrames() : nullptr;
    int32_t loaded = 0;
    for (int32_t i = 0; i < count_; ++i) {
        if (FrameResidence(RecordPtr(i)) != kResidencePasteboard)
            continue;
        FrameObj* frame = LoadFrame(HeaderId(RecordPtr(i)), kRecKeep);
        if (!frame)
            continue;
        ++loaded;
        if (shared) {
            if (frame->GetType() == kFrameGroup)
                shared->AddGroup(frame);
            else
                shared->AddFrame(frame);
        }
    }
    return loaded;
}

int32_t FrameStore::UnloadPageFrames()
{
    int32_t sum = 0;
    for (int32_t i = 0; i < count_; ++i) {
        SelectRecord(i);
        if (!HeaderHas(current_, kRecLoaded) || HeaderHas(current_, kFrameHeld | kFrameKeptLoaded) ||
            FrameResidence(frame_) == kResidencePasteboard)
            continue;
        sum += UnloadCurrent();
        StoreCurrent();
    }
    ClearCurrent();
    return sum;
}

void FrameStore::SetNeedsReflow(uint16_t id) { MarkReflow(id, false); }

void FrameStore::ReplaceStoryId(int16_t oldId, int16_t newId)
{
    for (int32_t i = 0; i < count_; ++i) {
        SelectRecord(i);
        if (FrameType(frame_) != kFrameText || FrameStory(frame_) != uint16_t(oldId))
            continue;
        SetFrameStory(frame_, uint16_t(newId));
        SetHeaderBits(current_, kFrameNeedsReflow, true);
        if (FrameObj* frame = ObjectOf(current_)) {
            frame->SetStoryId(newId);
            frame->MarkChanged(1, 0);
            StoreCurrent();
        } else if (LoadCurrent(0) == 0) {
            ObjectOf(current_)->SetStoryId(newId);
            StoreCurrent();
            UnloadCurrent();
            StoreCurrent();
        } else {
            StoreCurrent();
        }
    }
}

void FrameStore::SetCounterValueAll(int32_t value)
{
    // Only the counter frames keep a counter; the others are not loaded
    // for it.
    for (int32_t i = 0; i < count_; ++i) {
        SelectRecord(i);
        if (FrameType(frame_) != kFrameCounterBarcode)
            continue;
        if (FrameObj* frame = ObjectOf(current_)) {
            frame->SetCounterValue(value);
        } else if (LoadCurrent(0) == 0) {
            ObjectOf(current_)->SetCounterValue(value);
            StoreCurrent();
            UnloadCurrent();
            StoreCurrent();
        }
    }
}

FrameObj* FrameStore::FindShownStoryFrame(uint16_t id)
{
    const int32_t own = FindById(id);
    if (id == 0 || own < 0)
        return nullptr;
    const uint16_t story = FrameStory(frame_);
    uint16_t remembered = 0;
    for (int32_t i = 0; i < count_; ++i) {
        const uint8_t* r = RecordPtr(i);
        if (!HeaderHas(r, kFrameHeld) || FrameStory(r) != story)
            continue;
        remembered = HeaderId(r);
        if (i == own) {
            SelectRecord(i);
            return ObjectOf(current_);
        }
    }
    if (remembered == 0)
        return nullptr;
    uint16_t first = remembered;
    for (int32_t guard = 0; guard < count_; ++guard) {
        const uint16_t previous = ChainStep(0, first, 2);
        if (previous == 0)
            break;
        first = previous;
    }
    SelectId(first);
    return ObjectOf(current_);
}

bool FrameStore::SameStory(FrameObj* a, FrameObj* b)
{
    return a && b && a->Block().storyId == b->Block().storyId;
}

int32_t FrameStore::GetTextRef(uint16_t id, int16_t selector, uint32_t* paragraph, uint16_t* character)
{
    *paragraph = 0;
    *character = 0;
    const int32_t index = FindById(id);
    if (index < 0)
        return -1;
    const TextPosition p = FrameTextRef(frame_, selector);
    *paragraph = p.paragraph;
    *character = p.character;
    return index;
}

int32_t FrameStore::SetTextRef(uint16_t id, int16_t selector, uint32_t paragraph, uint16_t character)
{
    const int32_t index = FindById(id);
    if (index < 0)
        return -1;
    SetFrameTextRef(frame_, selector, TextPosition{paragraph, character});
    StoreCurrent();
    return index;
}

// ---- text chains ----

uint16_t FrameStore::ChainStep(int16_t direction, uint16_t id, int16_t mode)
{
    uint16_t at = id;
    // A chain that loops back on itself (a damaged file) ends after every
    // record was visited once.
    for (int32_t guard = 0; guard <= count_; ++guard) {
        if (!SelectId(at))
            return 0;
        const uint16_t next = direction ? FrameNext(frame_) : FramePrevious(frame_);
        if (next == 0 || !SelectId(next))
            return 0;
        if (mode == 0)
            return next;
        const bool held = HeaderHas(current_, kFrameHeld);
        if (mode == 1)
            return held ? next : 0;
        if (held)
            return next;
        at = next;
    }
    return 0;
}

uint16_t FrameStore::ChainHead(uint16_t id, bool reflowOnly, int16_t stepMode)
{
    uint16_t at = id;
    uint16_t earliest = id;
    for (int32_t guard = 0; guard < count_; ++guard) {
        const uint16_t previous = ChainStep(0, at, stepMode);
        if (previous == 0)
            break;
        at = previous;
        if (SelectId(at) && HeaderHas(current_, kFrameNeedsReflow))
            earliest = at;
    }
    const uint16_t result = reflowOnly ? earliest : at;
    SelectId(result);
    return result;
}

void FrameStore::GetFrameStart(uint16_t id, TextPosition* start, TextPosition* end)
{
    *start = TextPosition{};
    *end = TextPosition{};
    if (!SelectId(id))
        return;
    *end = FrameEndField(frame_);
    const uint16_t previous = FramePrevious(frame_);
    if (previous != 0 && SelectId(previous))
        *start = FrameEndField(frame_);
    SelectId(id);
}

IntRect FrameStore::GetCurrentTextRect()
{
    IntRect rect;
    FrameObj* frame = ObjectOf(current_);
    if (frame && IsTextBearing(FrameType(frame_)))
        static_cast<FrameObjText*>(frame)->GetTextRect(&rect);
    return rect;
}

bool FrameStore::FlowFrame(uint16_t id, bool lookUp)
{
    if (!SelectId(id))
        return lookUp;
    const bool loadedHere = !HeaderHas(current_, kRecLoaded);
    if (loadedHere) {
        if (LoadCurrent(0) != 0)
            return false;
        StoreCurrent();
    }
    const IntRect rect = GetCurrentTextRect();
    FrameObj* frame = ObjectOf(current_);
    TextPosition start, end;
    GetFrameStart(id, &start, &end);
    TextPosition laidOut = start;
    if (document_)
        document_->LayOutIntoFrame(frame, rect, start, &laidOut);
    if (loadedHere)
        UnloadData(id);
    return SetFrameEnd(id, laidOut);
}

bool FrameStore::SetFrameEnd(uint16_t id, const TextPosition& end)
{
    const int32_t before = currentIndex_;
    if (!SelectId(id)) {
        SelectRecord(before);
        return false;
    }
    const TextPosition old = FrameEndField(frame_);
    SetFrameEndField(frame_, end);
    const bool changed = !(old == FrameEndField(frame_));
    SetHeaderBits(current_, kFrameNeedsReflow, false);
    StoreCurrent();
    const uint16_t next = FrameNext(frame_);
    if (changed && next != 0)
        MarkReflow(next, true);
    SelectRecord(before);
    return changed;
}

uint16_t FrameStore::FindFrameForPos(uint16_t id, const TextPosition& position)
{
    if (!SelectId(id))
        return id;
    uint16_t at = ChainHead(id, false, 0);
    for (int32_t guard = 0; guard <= count_; ++guard) {
        if (SelectId(at) && HeaderHas(current_, kFrameNeedsReflow))
            FlowFrame(at, false);
        SelectId(at);
        const TextPosition end = FrameEndField(frame_);
        if (end.paragraph > position.paragraph ||
            (end.paragraph == position.paragraph && end.character >= position.character))
            return at;
        const uint16_t next = ChainStep(1, at, 0);
        if (next == 0)
            return at;
        at = next;
    }
    return at;
}

bool FrameStore::IsChained(const FrameObj* frame)
{
    // Asked while frames are drawn and edited: it leaves the current record
    // alone.
    if (!frame || frame->FrameId() == 0)
        return false;
    for (int32_t i = 0; i < count_; ++i) {
        const uint8_t* r = RecordPtr(i);
        if (HeaderId(r) == frame->FrameId())
            return FramePrevious(r) != 0 || FrameNext(r) != 0;
    }
    return false;
}

void FrameStore::Unlink(FrameObj* frame)
{
    if (FindFrame(frame) < 0)
        return;
    const uint16_t previous = FramePrevious(frame_);
    const uint16_t next = FrameNext(frame_);
    SetFramePrevious(frame_, 0);
    SetFrameNext(frame_, 0);
    StoreCurrent();
    if (previous != 0 && SelectId(previous)) {
        SetFrameNext(frame_, next);
        StoreCurrent();
    }
    if (next != 0 && SelectId(next)) {
        SetFramePrevious(frame_, previous);
        StoreCurrent();
        MarkReflow(next, true);
    }
}

void FrameStore::LinkAfter(uint16_t id, FrameObj* frame)
{
    if (!frame || !SelectId(id))
        return;
    const uint16_t oldNext = FrameNext(frame_);
    const uint16_t story = FrameStory(frame_);
    if (FindFrame(frame) < 0)
        return;
    const uint16_t own = frame->FrameId();
    SetFramePrevious(frame_, id);
    SetFrameNext(frame_, oldNext);
    SetFrameStory(frame_, story);
    SetHeaderBits(current_, kFrameNeedsReflow, true);
    StoreCurrent();
    frame->SetStoryId(int16_t(story));
    if (SelectId(id)) {
        SetFrameNext(frame_, own);
        StoreCurrent();
    }
    if (oldNext != 0 && SelectId(oldNext)) {
        SetFramePrevious(frame_, own);
        StoreCurrent();
    }
}

void FrameStore::LinkTextAfter(FrameObj* a, FrameObj* b)
{
    if (a && b && a->GetType() == kFrameText && b->GetType() == kFrameText)
        LinkAfter(a->FrameId(), b);
}

void FrameStore::LinkFrames(FrameObj* frame, uint16_t id)
{
    if (!frame || id == 0 || frame->GetType() != kFrameText || !SelectId(id))
        return;
    const uint16_t oldPrevious = FramePrevious(frame_);
    const uint16_t story = FrameStory(frame_);
    if (FindFrame(frame) < 0)
        return;
    const uint16_t own = frame->FrameId();
    SetFrameNext(frame_, id);
    SetFramePrevious(frame_, oldPrevious);
    SetFrameStory(frame_, story);
    SetHeaderBits(current_, kFrameNeedsReflow, true);
    StoreCurrent();
    frame->SetStoryId(int16_t(story));
    frame->MarkChanged(1, 0);
    if (SelectId(id)) {
        SetFramePrevious(frame_, own);
        StoreCurrent();
        MarkReflow(id, true);
    }
    if (oldPrevious != 0 && SelectId(oldPrevious)) {
        SetFrameNext(frame_, own);
        StoreCurrent();
    }
}

int16_t FrameStore::NewStory(FrameObj* frame, bool keep)
{
    if (FindFrame(frame) < 0 || !document_ || !document_->Stories())
        return 0;
    const uint16_t story = document_->Stories()->NewRecord(keep);
    if (FindFrame(frame) < 0)
        return 0;
    SetFrameStory(frame_, story);
    SetHeaderBits(current_, kFrameNeedsReflow, true);
    StoreCurrent();
    frame->SetStoryId(int16_t(story));
    return int16_t(story);
}

void FrameStore::SetStoryId(uint16_t frameId, int16_t storyId)
{
    if (!SelectId(frameId))
        return;
    SetFrameStory(frame_, uint16_t(storyId));
    SetHeaderBits(current_, kFrameNeedsReflow, true);
    StoreCurrent();
    if (FrameObj* frame = ObjectOf(current_))
        frame->SetStoryId(storyId);
}

void FrameStore::MarkStoryFrames(bool heldOnly, int16_t storyId)
{
    for (int32_t i = 0; i < count_; ++i) {
        SelectRecord(i);
        if (FrameType(frame_) != kFrameText || (storyId != 0 && FrameStory(frame_) != uint16_t(storyId)))
            continue;
        if (heldOnly && !HeaderHas(current_, kFrameHeld))
            continue;
        SetHeaderBits(current_, kFrameNeedsReflow, true);
        StoreCurrent();
        if (FrameObj* frame = ObjectOf(current_))
            frame->MarkChanged(1, 0);
    }
}

void FrameStore::InvalidateChain(uint16_t id)
{
    if (!SelectId(id))
        return;
    uint16_t at = id;
    for (int32_t guard = 0; guard < count_ && ChainStep(1, at, 2) != 0; ++guard) {
        const uint16_t next = ChainStep(1, at, 0);
        if (next == 0)
            break;
        MarkReflow(next, false);
        at = next;
    }
    if (document_)
        document_->RedrawAfterChainChange();
}

FrameObj* FrameStore::GetStoryStart(FrameObj* frame)
{
    if (FindFrame(frame) < 0)
        return nullptr;
    const TextPosition end = FrameEndField(frame_);
    uint16_t at = frame->FrameId();
    for (int32_t guard = 0; guard < count_; ++guard) {
        const uint16_t previous = ChainStep(0, at, 0);
        if (previous == 0 || !SelectId(previous) || !(FrameEndField(frame_) == end))
            break;
        at = previous;
    }
    return GetFrameObject(at);
}

bool FrameStore::ReflowHeld(bool all)
{
    StoryStore* stories = document_ ? document_->Stories() : nullptr;
    if (all) {
        int32_t index = 0;
        while (FrameObj* frame = document_ ? document_->FindTextFrameFrom(&index) : nullptr) {
            const uint16_t id = frame->FrameId();
            if (stories && frame->Block().storyId > 0)
                stories->BindStory(uint16_t(frame->Block().storyId));
            uint16_t at = ChainHead(id, true, 0);
            for (int32_t guard = 0; guard <= count_ && at != 0; ++guard) {
                FlowFrame(at, false);
                if (at == id)
                    break;
                at = ChainStep(1, at, 0);
            }
        }
        return true;
    }
    bool result = false;
    for (int32_t i = 0; i < count_; ++i) {
        const uint8_t* r = RecordPtr(i);
        if (!HeaderHas(r, kFrameHeld) || FrameType(r) != kFrameText || !HeaderHas(r, kFrameNeedsReflow))
            continue;
        const uint16_t id = HeaderId(r);
        if (stories && FrameStory(r) != 0)
            stories->BindStory(FrameStory(r));
        uint16_t at = ChainHead(id, true, 0);
        bool passed = false;
        for (int32_t guard = 0; guard <= count_ && at != 0; ++guard) {
            const bool changed = FlowFrame(at, false);
            result = changed;
            passed = passed || at == id;
            if (!(changed || !passed) || ChainStep(1, at, 2) == 0)
                break;
            at = ChainStep(1, at, 0);
        }
    }
    return result;
}

// ---- the shown pages ----

void FrameStore::CollectPageFrames(const uint32_t pages[2], const IntPoint offsets[2], uint8_t residence, bool hold)
{
    groupCount_ = 0;
    sideCount_[0] = sideCount_[1] = 0;
    for (auto& side : sides_)
        for (FrameObj*& f : side)
            f = nullptr;
    for (FrameObj*& g : groups_)
        g = nullptr;
    if (pages[0] == kNoPageHandle && pages[1] == kNoPageHandle)
        return;
    auto sideOf = [&](const uint8_t* r) {
        const uint32_t page = FramePage(r);
        if (pages[1] != kNoPageHandle && page == pages[1])
            return 1;
        if (pages[0] != kNoPageHandle && page == pages[0])
            return 0;
        return -1;
    };
    auto firstFree = [&](int side) {
        for (int32_t s = 0; s < kPageListCapacity; ++s) {
            if (!sides_[side][s])
                return s;
        }
        return -1;
    };
    bool leftOver = false;
    for (int32_t i = 0; i < count_; ++i) {
        SelectRecord(i);
        if (FrameResidence(frame_) != residence)
            continue;
        const int side = sideOf(frame_);
        if (side < 0)
            continue;
        if (HeaderHas(current_, kRecLoaded))
            SetHeaderBits(current_, kFrameHeld, hold);
        else
            LoadCurrent(hold ? kRecKeep : 0);
        StoreCurrent();
        FrameObj* frame = ObjectOf(current_);
        if (!frame)
            continue;
        frame->OffsetBy(offsets[side], 1, 1);
        if (frame->GetType() == kFrameGroup) {
            if (groupCount_ < kPageListCapacity)
                groups_[groupCount_++] = frame;
            continue;
        }
        if (sideCount_[side] >= kPageListCapacity)
            continue;
        const int32_t word = frame->Block().pageWord;
        if (word >= kPageListCapacity) {
            leftOver = true;
            continue;
        }
        int32_t slot = word >= 0 && !sides_[side][word] ? word : firstFree(side);
        if (slot >= 0) {
            sides_[side][slot] = frame;
            ++sideCount_[side];
        }
    }
    if (!leftOver)
        return;
    for (int32_t i = 0; i < count_; ++i) {
        const uint8_t* r = RecordPtr(i);
        if (FrameResidence(r) != residence)
            continue;
        const int side = sideOf(r);
        FrameObj* frame = ObjectOf(r);
        if (side < 0 || !frame || frame->GetType() == kFrameGroup || frame->Block().pageWord < kPageListCapacity)
            continue;
        if (sideCount_[side] >= kPageListCapacity)
            continue;
        const int32_t slot = firstFree(side);
        if (slot >= 0) {
            sides_[side][slot] = frame;
            ++sideCount_[side];
        }
    }
}

void FrameStore::PackPageLists()
{
    for (int side = 0; side < 2; ++side) {
        int32_t packed = 0;
        for (int32_t s = 0; s < kPageListCapacity; ++s) {
            if (sides_[side][s])
                sides_[side][packed++] = sides_[side][s];
        }
        for (int32_t s = packed; s < kPageListCapacity; ++s)
            sides_[side][s] = nullptr;
        sideCount_[side] = packed;
    }
}

int32_t FrameStore::TakePageFrames(FrameObj** array, int32_t capacity, bool byZOrder)
{
    if (capacity <= 0)
        return 0;
    for (int32_t i = 0; i < capacity; ++i)
        array[i] = nullptr;
    int32_t taken = 0;
    for (int side = 0; side < 2; ++side) {
        for (int32_t s = 0; s < sideCount_[side]; ++s) {
            FrameObj* frame = sides_[side][s];
            if (!frame)
                continue;
            if (!byZOrder) {
                if (taken < capacity)
                    array[taken++] = frame;
                continue;
            }
            int32_t z = frame->Block().zOrderWord;
            if (z >= capacity)
                continue;
            if (z < 0)
                z = 0;
            while (z < capacity && array[z])
                ++z;
            if (z < capacity)
                array[z] = frame;
        }
    }
    if (!byZOrder)
        return taken;
    int32_t packed = 0;
    for (int32_t i = 0; i < capacity; ++i) {
        if (array[i])
            array[packed++] = array[i];
    }
    for (int32_t i = packed; i < capacity; ++i)
        array[i] = nullptr;
    return packed;
}

int32_t FrameStore::TakePageGroups(FrameObj** array, int32_t capacity, int32_t start)
{
    int32_t i = 0;
    for (; i < groupCount_ && start + i < capacity; ++i)
        array[start + i] = groups_[i];
    return start + i;
}

// ---- saving ----

int32_t FrameStore::ReadRawBlock(Handle* out)
{
    const uint32_t size = HeaderSize(current_);
    if (!HeaderHas(current_, kRecCopied) || !swap_ || swap_->LoadHandle(out, size, HeaderPosition(current_)) != 0)
        return kStoreSwapRead;
    if (!IsPictureType(FrameType(frame_)))
        return 0;
    uint8_t* p = HandleData(*out);
    if (size < kFrameBlockSize)
        return 0;
    const uint64_t blockB = uint64_t(kFrameBlockSize) + GetU32LE(p + kFrameWrapSizeOffset) +
                            GetU32LE(p + kFrameGroupSizeOffset) + kImageBlockASize;
    if (blockB + kImageBlockBSize <= size) {
        ImageBlockB b = GetImageBlockB(p + blockB);
        ClearImageStorePlaces(&b);
        PutImageBlockB(p + blockB, b);
    }
    return 0;
}

int32_t FrameStore::WriteStore(FileHandle file, int32_t offset)
{
    if (offset != -1 && FileSeek(file, kSeekStart, offset) != kErrNone)
        return kStoreDocWrite;
    return WriteRecordsAndArray(file, [this, file](int32_t i, SwapPlace* place) {
        SelectRecord(i);
        *place = PlaceOf(current_);
        int32_t result = 0;
        HandleOwner raw;
        bool loadedForSave = false;
        bool available = HeaderHas(current_, kRecLoaded);
        if (!available && IsPictureType(FrameType(frame_))) {
            // Image and picture frames write their picture themselves.
            if (LoadCurrent(0) == 0) {
                SetHeaderBits(current_, kFrameInEdit, true);
                StoreCurrent();
                loadedForSave = true;
                available = true;
            }
        }
        int32_t code = 0;
        if (!available) {
            Handle bytes = nullptr;
            code = ReadRawBlock(&bytes);
            raw.reset(bytes);
            available = code == 0;
        }
        uint32_t here = 0;
        FileTell(file, &here);
        uint32_t length = 0;
        if (!available) {
            // The frame stays as it is in memory and in the swap file; the
            // document gets nothing for it and the save fails.
            AlertStopById(kFrameMngBase, kMsgSaveFailed, code);
            result = kStoreSwapRead;
        } else if (FrameObj* frame = ObjectOf(current_)) {
            length = frame->DataSize();
            if (frame->Write(file, -1) != 0)
                result = kStoreDocWrite;
        } else {
            length = HandleGetSize(raw.get());
            if (length && FileWrite(file, HandleData(raw.get()), length) != kErrNone)
                result = kStoreDocWrite;
        }
        if (loadedForSave) {
            SetHeaderBits(current_, kFrameInEdit, false);
            UnloadCurrent();
            StoreCurrent();
        }
        // Remembered only now: unloading may have moved the swap copy.
        *place = PlaceOf(current_);
        SetHeaderSize(current_, length);
        SetHeaderPosition(current_, here);
        StoreCurrent();
        return result;
    });
}
