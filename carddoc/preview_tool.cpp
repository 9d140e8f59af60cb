#include "carddoc/preview_tool.h"

#include "frames/curr_page_mng.h"
#include "frames/frame_obj.h"

bool IsRecordFedType(int16_t type)
{
    switch (type) {
    case kFrameText:
    case kFrameCounterBarcode:
    case kFrameBarcode13:
    case kFrameFieldBarcode:
    case kFramePicture:
    case kFrameBarcode18: return true;
    default: return false;
    }
}

void PreviewTool::Activate(FrameTool* previous, int16_t kind)
{
    frame_ = nullptr;
    FrameTool::Activate(previous, kind);
}

void PreviewTool::Deactivate() { frame_ = nullptr; }

int32_t PreviewTool::MouseDown(const IntPoint& viewPoint)
{
    ClearChangedMarks();
    NotifyViewChanged();
    CurrPageMng* pages = document_->PageManager();
    frame_ = pages ? pages->FrameAtPoint(viewPoint, 0) : nullptr;
    if (!frame_ || !IsRecordFedType(frame_->GetType()))
        return 1;
    HighlightUntilRelease(frame_);
    frame_->SetRecordFed(frame_->Block().recordFed ? 0 : 1);
    pages->UpdateGroups();
    RedrawPage(0, 0);
    if (pages->ApplyAlignments())
        RefreshView();
    return 1;
}

int32_t PreviewTool::GetCursor(const IntPoint& viewPoint)
{
    CurrPageMng* pages = document_->PageManager();
    FrameObj* frame = pages ? pages->FrameAtPoint(viewPoint, 0) : nullptr;
    return frame && IsRecordFedType(frame->GetType()) ? int32_t(kCursorPreview) : int32_t(kCursorArrow);
}
