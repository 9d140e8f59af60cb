#include "frames/frame_obj_group.h"

#include "frames/curr_page_mng.h"
#include "frames/frame_document.h"
#include "graphics/brush_state.h"
#include "graphics/rop_state.h"

void FrameObjGroup::DrawClipped(Dc*, uint8_t) {}
void FrameObjGroup::DrawBorder(Dc*) {}
void FrameObjGroup::FrameOutline(Dc*) {}

void FrameObjGroup::DrawHandles(Dc* dc)
{
    if (IsChanged()) {
        UpdateGroup();
        MarkChanged(0, 0);
    }
    {
        BrushState brush(dc);
        RopState rop(dc);
        brush.Set(kBlack, kWhite, 0, BrushState::kSetText | BrushState::kSetBackground | BrushState::kCheckerboardPattern);
        rop.Set(R2_NOTXORPEN);
        Region outline;
        GetOutlineRegion(dc, &outline);
        dc->frameRgn(outline, dc->brush(), 1, 1);
    }
    FrameObj::DrawHandles(dc);
}

void FrameObjGroup::UpdateGroup()
{
    CurrPageMng* manager = document_ ? document_->PageManager() : nullptr;
    if (!manager)
        return;
    IntRect bounds;
    manager->GroupBounds(FrameId(), &bounds);
    SetFromRect(bounds);
}
