#include "carddoc/hand_tool.h"

#include <memory>

#include "carddoc/trackers.h"
#include "frames/curr_page_mng.h"
#include "frames/frame_obj.h"

namespace {

constexpr uint16_t kGrabMode = 6;

}  // namespace

bool IsPictureFrame(const FrameObj* frame)
{
    return frame && (frame->GetType() == kFrameImage || frame->GetType() == kFramePicture);
}

int32_t HandTool::MouseDown(const IntPoint& viewPoint)
{
    ClearChangedMarks();
    NotifyViewChanged();
    CurrPageMng* pages = document_->PageManager();
    frame_ = pages ? pages->FrameAtPoint(viewPoint, 0) : nullptr;
    if (IsPictureFrame(frame_)) {
        frame_->TrackContent();
        SaveUndo(kUndoMovePicture);
        PublishGraphicAttrs();
        return 1;
    }
    auto grab = std::make_unique<CDragTracker>(document_->CardView(), this, kGrabMode, 1);
    grab->Track(viewPoint);
    if (grab->ChangeFlags() == kTrackScrolled)
        RefreshView();
    else if (grab->ChangeFlags() == kTrackMoved)
        RedrawPage(0, 0);
    if (frame_)
        PublishGraphicAttrs();
    return 1;
}

void HandTool::GetGraphicAttrs(GraphicAttrs* out)
{
    if (!frame_) {
        FrameTool::GetGraphicAttrs(out);
        return;
    }
    const FrameAttributes own = defaults_;
    defaults_ = frame_->Attributes();
    FrameTool::GetGraphicAttrs(out);
    defaults_ = own;
}

int32_t HandTool::GetCursor(const IntPoint& viewPoint)
{
    CurrPageMng* pages = document_->PageManager();
    return pages && IsPictureFrame(pages->FrameAtPoint(viewPoint, 0)) ? kCursorMovePicture : kCursorGrab;
}
