// Loading the shown pages into the manager and storing them back.
#include <cstring>

#include "foundation/alerts.h"
#include "foundation/byte_order.h"
#include "frames/curr_page_mng.h"
#include "frames/frame_document.h"
#include "frames/frame_obj.h"
#include "frames/frame_obj_group.h"
#include "frames/frame_store.h"
#include "frames/page_table.h"
#include "frames/record_header_format.h"
#include "frames/shared_frame_list.h"
#include "frames/story_store.h"
#include "graphics/rect_ops.h"

namespace {

constexpr int32_t kCurrPageMngBase = 470;
constexpr int32_t kMsgPageNotFound = 1;  // 471

constexpr size_t kPageView1Offset = 14;
constexpr size_t kPageView2Offset = 16;

}  // namespace

int CurrPageMng::SlotOfHandle(uint32_t handle) const
{
    if (handle == kNoPageHandle)
        return -1;
    for (int slot = 0; slot < 2; ++slot) {
        if (pageHandles_[slot] == handle)
            return slot;
    }
    return -1;
}

IntPoint CurrPageMng::SlotOrigin(int slot) const
{
    if (slot < 0 || slot > 1)
        return IntPoint{};
    return IntPoint{pageRects_[slot].left, pageRects_[slot].top};
}

void CurrPageMng::CopyPageRects()
{
    for (int16_t slot = 0; slot < 2; ++slot) {
        pageRects_[slot] = IntRect{};
        if (document_)
            document_->GetPageSlotRect(slot, &pageRects_[slot]);
    }
}

bool CurrPageMng::SetPageNumbers(int16_t slot0, int16_t slot1)
{
    uint32_t handles[2] = {kNoPageHandle, kNoPageHandle};
    PageTable* table = document_ ? document_->Pages() : nullptr;
    const int16_t numbers[2] = {slot0, slot1};
    for (int slot = 0; slot < 2; ++slot) {
        if (table && numbers[slot] != kNoPageNumber)
            table->HandleOfNumber(numbers[slot], &handles[slot]);
    }
    if (slot0 == pageNumbers_[0] && slot1 == pageNumbers_[1] && handles[0] == pageHandles_[0] &&
        handles[1] == pageHandles_[1])
        return false;
    pageNumbers_[0] = slot0;
    pageNumbers_[1] = slot1;
    return true;
}

void CurrPageMng::EmptySlot(int slot)
{
    pageNumbers_[slot] = kNoPageNumber;
    pageHandles_[slot] = kNoPageHandle;
    slotFrameCounts_[slot] = 0;
    for (GuideEntry& g : guides_[slot])
        g = GuideEntry{};
    std::memset(guideBlock_, 0, sizeof guideBlock_);
}

void CurrPageMng::LoadPageSettings()
{
    PageTable* table = document_ ? document_->Pages() : nullptr;
    for (int slot = 1; slot >= 0; --slot) {
        uint32_t handle = kNoPageHandle;
        const int32_t index = table && pageNumbers_[slot] != kNoPageNumber
                                  ? table->HandleOfNumber(pageNumbers_[slot], &handle)
                                  : -1;
        if (index < 0) {
            EmptySlot(slot);
            continue;
        }
        uint8_t record[kPageRecordSize] = {};
        table->GetPage(index, record);
        pageHandles_[slot] = handle;
        for (size_t e = 0; e < kPageGuideCount; ++e) {
            const uint8_t* p = record + kPageGuidesOffset + e * kPageGuideSize;
            guides_[slot][e] = GuideEntry{GetI16LE(p), p[2], p[3]};
        }
        slotFrameCounts_[slot] = GetI16LE(record + kPageWord180Offset);
        zoom_.view1 = GetI16LE(record + kPageView1Offset);
        zoom_.view2 = GetI16LE(record + kPageView2Offset);
        if (document_->PageZoomFlag()) {
            zoom_.mode = GetI16LE(record + kPageZoomModeOffset);
            zoom_.numerator = GetI16LE(record + kPageZoomNumOffset);
            zoom_.denominator = GetI16LE(record + kPageZoomDenOffset);
        }
        std::memcpy(guideBlock_, record + kPageGuideBlockOffset, kPageGuideBlockSize);
    }
}

bool CurrPageMng::LoadCurrentPages(uint8_t withShared, bool flowText)
{
    for (FrameObj*& g : groups_)
        g = nullptr;
    groupCount_ = 0;
    LoadPageSettings();
    LoadPageFrameLists();
    if (withShared)
        LoadPageFrames();
    SelectTextStories();
    ResetFrameStates(kDrawNeeded);
    RecalcAll();
    FrameStore* store = document_ ? document_->Frames() : nullptr;
    const bool result = store && (flowText || HasChainedText()) ? store->ReflowHeld(true) : store != nullptr;
    reportFlags_ = 0xFF;
    return result;
}

bool CurrPageMng::HasChainedText() const
{
    FrameStore* store = document_ ? document_->Frames() : nullptr;
    for (int16_t i = 0; store && i < frameCount_; ++i) {
        if (frames_[i]->GetType() == kFrameText && store->IsChained(frames_[i]))
            return true;
    }
    return false;
}

void CurrPageMng::LoadPageFrameLists()
{
    for (FrameObj*& f : frames_)
        f = nullptr;
    frameCount_ = 0;
    FrameStore* store = document_ ? document_->Frames() : nullptr;
    if (!store)
        return;
    const IntPoint origins[2] = {SlotOrigin(0), SlotOrigin(1)};
    store->CollectPageFrames(pageHandles_, origins, kOnPage, true);
    store->PackPageLists();
    // The list keeps its last slot free, as HasRoom does.
    frameCount_ = int16_t(store->TakePageFrames(frames_, kMaxFrames, true));
    groupCount_ = int16_t(store->TakePageGroups(groups_, kMaxFrames, groupCount_));
}

void CurrPageMng::LoadPageFrames()
{
    SharedFrameList* shared = document_ ? document_->SharedFrames() : nullptr;
    if (!shared)
        return;
    shared->PlaceOnPages(pageHandles_, pageRects_);
    for (int16_t i = int16_t(shared->FrameCount() - 1); i >= 0; --i)
        InsertFrameAt(shared->FrameAt(i), 0);
    for (int16_t i = 0; i < shared->GroupCount(); ++i)
        AddGroupFrame(shared->GroupAt(i));
}

void CurrPageMng::SelectTextStories()
{
    StoryStore* stories = document_ ? document_->Stories() : nullptr;
    if (!stories)
        return;
    for (int16_t i = 0; i < frameCount_; ++i) {
        const FrameObj* frame = frames_[i];
        if (frame->GetType() == kFrameText && frame->Block().storyId > 0)
            stories->LoadData(uint16_t(frame->Block().storyId), kRecKeep);
    }
}

int32_t CurrPageMng::CloseCurrentPages()
{
    if (pageHandles_[0] != kNoPageHandle || pageHandles_[1] != kNoPageHandle) {
        StorePageFrames();
        ExtractSharedFrames();
        NumberFrames();
        CurrPage2Page();
    }
    FrameStore* store = document_ ? document_->Frames() : nullptr;
    StoryStore* stories = document_ ? document_->Stories() : nullptr;
    if (store)
        store->ClearKeepFlags();
    if (stories)
        stories->ClearKeepFlags();
    for (int slot = 0; slot < 2; ++slot) {
        pageNumbers_[slot] = kNoPageNumber;
        pageHandles_[slot] = kNoPageHandle;
    }
    frameCount_ = 0;
    groupCount_ = 0;
    if (stories)
        stories->UnloadAll(0);
    if (store)
        store->UnloadPageFrames();
    return 0;
}

uint32_t CurrPageMng::PageAtRect(const IntRect& rect, uint8_t* residence) const
{
    for (int slot = 0; slot < 2; ++slot) {
        IntRect common;
        if (pageHandles_[slot] != kNoPageHandle && RectIntersect(pageRects_[slot], rect, &common)) {
            *residence = kOnPage;
            return pageHandles_[slot];
        }
    }
    *residence = kOnPasteboard;
    return kNoPageHandle;
}

int32_t CurrPageMng::StorePageFrames()
{
    slotFrameCounts_[0] = slotFrameCounts_[1] = 0;
    FrameStore* store = document_ ? document_->Frames() : nullptr;
    for (int16_t i = 0; i < groupCount_; ++i) {
        FrameObj* group = groups_[i];
        if (group->GetType() == kFrameGroup)
            static_cast<FrameObjGroup*>(group)->UpdateGroup();
        IntRect bounds;
        group->GetBounds(&bounds, 0, kGeometryCurrent);
        uint8_t residence = kOnPasteboard;
        const uint32_t page = PageAtRect(bounds, &residence);
        if (store)
            store->SetFramePage(group, page, residence);
        if (residence != kOnPasteboard)
            group->OffsetBy(SlotOrigin(SlotOfHandle(page)), 0, 1);
    }
    for (int16_t i = 0; i < frameCount_; ++i) {
        FrameObj* frame = frames_[i];
        const uint32_t groupId = frame->GetId(-1);
        uint8_t residence = kOnPasteboard;
        uint32_t page = kNoPageHandle;
        IntRect bounds;
        if (groupId == 0) {
            FrameBoundsAt(i, &bounds);
            page = PageAtRect(bounds, &residence);
        } else if (const FrameObj* group = FindGroupFrame(groupId)) {
            page = group->Block().pageHandle;
            residence = group->Block().residence;
        } else {
            // Its group frame is gone: the frames that name it stay
            // together on the page their joint bounds lie on, and print
            // as they show, so there is nothing to say.
            GroupBounds(groupId, &bounds);
            page = PageAtRect(bounds, &residence);
        }
        if (store)
            store->SetFramePage(frame, page, residence);
        if (residence == kOnPasteboard)
            continue;
        const int slot = SlotOfHandle(page);
        frame->OffsetBy(SlotOrigin(slot), 0, 1);
        if (slot >= 0)
            ++slotFrameCounts_[slot];
    }
    return 0;
}

int16_t CurrPageMng::ExtractSharedFrames()
{
    SharedFrameList* shared = document_ ? document_->SharedFrames() : nullptr;
    if (!shared)
        return 0;
    shared->Clear();
    int16_t frames = 0;
    int16_t groups = 0;
    for (int16_t i = 0; i < frameCount_; ++i) {
        if (frames_[i]->Block().residence == kOnPasteboard) {
            shared->AddFrame(frames_[i]);
            ++frames;
        }
    }
    for (int16_t i = 0; i < groupCount_; ++i) {
        if (groups_[i]->Block().residence == kOnPasteboard) {
            shared->AddGroup(groups_[i]);
            ++groups;
        }
    }
    if (frames + groups == 0)
        return 0;
    for (int16_t i = int16_t(frameCount_ - 1); i >= 0; --i) {
        if (frames_[i]->Block().residence == kOnPasteboard)
            RemoveFrame(frames_[i]);
    }
    for (int16_t i = int16_t(groupCount_ - 1); i >= 0; --i) {
        if (groups_[i]->Block().residence == kOnPasteboard)
            RemoveGroupFrame(groups_[i]);
    }
    return frames;
}

void CurrPageMng::NumberFrames()
{
    int16_t perSlot[2] = {0, 0};
    for (int16_t i = 0; i < frameCount_; ++i) {
        FrameObj* frame = frames_[i];
        frame->SetPageWord(i, 1);
        const int slot = SlotOfHandle(frame->Block().pageHandle);
        if (slot >= 0)
            frame->SetPageWord(perSlot[slot]++, 0);
    }
}

void CurrPageMng::CurrPage2Page()
{
    PageTable* table = document_ ? document_->Pages() : nullptr;
    if (!table)
        return;
    for (int slot = 0; slot < 2; ++slot) {
        if (pageHandles_[slot] == kNoPageHandle)
            continue;
        int16_t number = kNoPageNumber;
        const int32_t index = table->NumberOfHandle(pageHandles_[slot], &number);
        if (index < 0) {
            AlertStopById(kCurrPageMngBase, kMsgPageNotFound, 0);
            return;
        }
        uint8_t record[kPageRecordSize] = {};
        table->GetPage(index, record);
        PutI16LE(record + kPageZoomModeOffset, zoom_.mode);
        PutI16LE(record + kPageZoomNumOffset, zoom_.numerator);
        PutI16LE(record + kPageZoomDenOffset, zoom_.denominator);
        PutI16LE(record + kPageView1Offset, zoom_.view1);
        PutI16LE(record + kPageView2Offset, zoom_.view2);
        for (size_t e = 0; e < kPageGuideCount; ++e) {
            uint8_t* p = record + kPageGuidesOffset + e * kPageGuideSize;
            PutI16LE(p, guides_[slot][e].position);
            p[2] = guides_[slot][e].kind;
            p[3] = guides_[slot][e].spare;
        }
        PutI16LE(record + kPageWord180Offset, slotFrameCounts_[slot]);
        record[kPageByte185Offset] = 0;
        std::memcpy(record + kPageGuideBlockOffset, guideBlock_, kPageGuideBlockSize);
        table->PutPage(index, record);
    }
}

uint32_t CurrPageMng::GetPIndex(int16_t pageNumber)
{
    for (int slot = 0; slot < 2; ++slot) {
        if (pageNumbers_[slot] == pageNumber && pageNumber != kNoPageNumber)
            return pageHandles_[slot];
    }
    AlertNote(" GetPIndex Error .....", 0);
    return 0;
}

int32_t CurrPageMng::GetIndex(uint32_t handle, uint16_t* slot)
{
    const int found = SlotOfHandle(handle);
    if (found >= 0) {
        *slot = uint16_t(found);
        return 0;
    }
    *slot = pageHandles_[0] == kNoPageHandle && pageHandles_[1] != kNoPageHandle ? 1 : 0;
    AlertNote(" GetIndex Error .....", 0);
    return 1;
}

int16_t CurrPageMng::GetPageNumber(uint32_t handle)
{
    const int slot = SlotOfHandle(handle);
    if (slot >= 0)
        return pageNumbers_[slot];
    AlertNote(" GetPageNumber Error .....", 0);
    return 0;
}
