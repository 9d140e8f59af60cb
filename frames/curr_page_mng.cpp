// The current-page manager's frame and group lists.
#include "frames/curr_page_mng.h"

#include "foundation/alerts.h"
#include "frames/frame_document.h"
#include "frames/frame_obj.h"
#include "frames/frame_obj_group.h"
#include "graphics/rect_ops.h"

namespace {

constexpr int32_t kFrameMngBase = 600;
constexpr int32_t kMsgFrameLimit = 1;  // 601
constexpr int32_t kMsgGroupLimit = 2;  // 602

constexpr uint8_t kReportGroupLimit = 0x01;
constexpr uint8_t kReportFrameLimit = 0x02;

}  // namespace

CurrPageMng::CurrPageMng(FrameDocument* document) : document_(document) {}

void CurrPageMng::MarkModified()
{
    if (document_)
        document_->SetModified(true);
}

// ---- frame list ----

bool CurrPageMng::HasRoom()
{
    if (frameCount_ < kMaxFrames)
        return true;
    if (reportFlags_ & kReportFrameLimit) {
        reportFlags_ &= uint8_t(~kReportFrameLimit);
        AlertNoteById(kFrameMngBase, kMsgFrameLimit, 0);
    }
    return false;
}

bool CurrPageMng::AppendFrame(FrameObj* frame)
{
    if (!frame)
        return false;
    if (IndexOfFrame(frame) >= 0)
        return true;
    if (!HasRoom())
        return false;
    frames_[frameCount_++] = frame;
    MarkModified();
    return true;
}

bool CurrPageMng::InsertFrameAt(FrameObj* frame, int16_t index)
{
    if (!frame)
        return false;
    if (index < 0)
        index = 0;
    if (index >= frameCount_)
        return AppendFrame(frame);
    if (!HasRoom())
        return false;
    for (int16_t i = frameCount_; i > index; --i)
        frames_[i] = frames_[i - 1];
    frames_[index] = frame;
    ++frameCount_;
    return true;
}

bool CurrPageMng::RemoveFrame(FrameObj* frame)
{
    const int16_t index = frame ? IndexOfFrame(frame) : int16_t(-1);
    if (index < 0)
        return false;
    for (int16_t i = index; i < frameCount_ - 1; ++i)
        frames_[i] = frames_[i + 1];
    frames_[--frameCount_] = nullptr;
    MarkModified();
    return true;
}

int16_t CurrPageMng::IndexOfFrame(const FrameObj* frame) const
{
    for (int16_t i = 0; i < frameCount_; ++i) {
        if (frames_[i] == frame)
            return i;
    }
    return -1;
}

int16_t CurrPageMng::IndexOfFrameId(uint16_t id) const
{
    for (int16_t i = 0; i < frameCount_; ++i) {
        if (frames_[i]->FrameId() == id)
            return i;
    }
    return -1;
}

FrameObj* CurrPageMng::FindFrameById(uint16_t id) const
{
    const int16_t i = IndexOfFrameId(id);
    return i >= 0 ? frames_[i] : nullptr;
}

FrameObj* CurrPageMng::FrameAt(int16_t index) const
{
    return index >= 0 && index < frameCount_ ? frames_[index] : nullptr;
}

FrameObj* CurrPageMng::FrameAtPoint(const IntPoint& viewPoint, int16_t skip)
{
    if (skip < 0)
        skip = 0;
    for (int16_t i = int16_t(frameCount_ - 1 - skip); i >= 0; --i) {
        if (frames_[i]->HitTest(viewPoint))
            return frames_[i];
    }
    return nullptr;
}

bool CurrPageMng::FrameBoundsAt(int16_t index, IntRect* out) const
{
    if (index < 0 || index >= frameCount_) {
        *out = IntRect{};
        return false;
    }
    frames_[index]->GetBounds(out, 0, kGeometryCurrent);
    return true;
}

FrameObj* CurrPageMng::MoveFrameTo(FrameObj* frame, int16_t index)
{
    const int16_t from = frame ? IndexOfFrame(frame) : int16_t(-1);
    if (from < 0 || index < 0)
        return nullptr;
    if (index >= frameCount_)
        index = int16_t(frameCount_ - 1);
    if (from < index)
        return nullptr;
    for (int16_t i = from; i > index; --i)
        frames_[i] = frames_[i - 1];
    frames_[index] = frame;
    return frame;
}

void CurrPageMng::MoveFrameBelowTop(FrameObj* frame, int16_t n)
{
    const int16_t from = frame ? IndexOfFrame(frame) : int16_t(-1);
    const int16_t to = int16_t(frameCount_ - 1 - n);
    if (from < 0 || n < 0 || to < 0 || from > to)
        return;
    for (int16_t i = from; i < to; ++i)
        frames_[i] = frames_[i + 1];
    frames_[to] = frame;
}

void CurrPageMng::MoveFrameUp(FrameObj* frame, int16_t n)
{
    const int16_t from = frame ? IndexOfFrame(frame) : int16_t(-1);
    if (from < 0 || from >= frameCount_ - 1 - n)
        return;
    frames_[from] = frames_[from + 1];
    frames_[from + 1] = frame;
}

FrameObj* CurrPageMng::GetBackdropFrame()
{
    for (int16_t i = 0; i < frameCount_; ++i) {
        FrameObj* frame = frames_[i];
        if (!frame->Block().backdrop)
            continue;
        for (int16_t j = i; j > 0; --j)
            frames_[j] = frames_[j - 1];
        frames_[0] = frame;
        return frame;
    }
    return nullptr;
}

FrameObj* CurrPageMng::FindTextFrameFrom(const int16_t* start) const
{
    for (int16_t i = start && *start > 0 ? *start : int16_t(0); i < frameCount_; ++i) {
        if (frames_[i]->GetType() == kFrameText)
            return frames_[i];
    }
    return nullptr;
}

// ---- groups ----

bool CurrPageMng::HasGroupRoom()
{
    if (groupCount_ < kMaxFrames)
        return true;
    if (reportFlags_ & kReportGroupLimit) {
        reportFlags_ &= uint8_t(~kReportGroupLimit);
        AlertNoteById(kFrameMngBase, kMsgGroupLimit, 0);
    }
    return false;
}

bool CurrPageMng::AddGroupFrame(FrameObj* group)
{
    if (!group)
        return false;
    if (IndexOfGroupFrame(group) >= 0)
        return true;
    if (!HasGroupRoom())
        return false;
    groups_[groupCount_++] = group;
    return true;
}

bool CurrPageMng::RemoveGroupFrame(FrameObj* group)
{
    if (!group)
        return true;
    const int16_t index = IndexOfGroupFrame(group);
    if (index < 0)
        return false;
    for (int16_t i = index; i < groupCount_ - 1; ++i)
        groups_[i] = groups_[i + 1];
    groups_[--groupCount_] = nullptr;
    return true;
}

int16_t CurrPageMng::IndexOfGroupFrame(const FrameObj* group) const
{
    for (int16_t i = 0; i < groupCount_; ++i) {
        if (groups_[i] == group)
            return i;
    }
    return -1;
}

FrameObj* CurrPageMng::FindGroupFrame(uint32_t id) const
{
    for (int16_t i = 0; i < groupCount_; ++i) {
        if (groups_[i]->FrameId() == id)
            return groups_[i];
    }
    return nullptr;
}

FrameObj* CurrPageMng::GroupAt(int16_t index) const
{
    return index >= 0 && index < groupCount_ ? groups_[index] : nullptr;
}

void CurrPageMng::UpdateGroups()
{
    for (int16_t i = 0; i < groupCount_; ++i) {
        if (groups_[i]->GetType() == kFrameGroup)
            static_cast<FrameObjGroup*>(groups_[i])->UpdateGroup();
    }
}

void CurrPageMng::GroupBounds(uint32_t id, IntRect* out) const
{
    *out = IntRect{};
    bool any = false;
    for (int16_t i = 0; i < frameCount_; ++i) {
        if (id == 0 || frames_[i]->GetId(-1) != id)
            continue;
        IntRect r;
        frames_[i]->GetBounds(&r, 0, kGeometryCurrent);
        if (any)
            RectUnion(*out, r, out);
        else
            *out = r;
        any = true;
    }
}
