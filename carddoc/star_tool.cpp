#include "carddoc/star_tool.h"

#include <utility>

#include "dialogs/star_info_dialog.h"
#include "frames/frame_obj_star.h"

namespace {

StarInfoRunner& Runner()
{
    static StarInfoRunner runner;
    return runner;
}

bool RunStarDialog(StarParams* star, const FrameGeometry& geometry)
{
    CDlgStarInfo dialog;
    dialog.SetStar(*star, geometry);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    dialog.GetStar(star);
    return true;
}

}  // namespace

StarInfoRunner SetStarInfoRunner(StarInfoRunner runner) { return std::exchange(Runner(), std::move(runner)); }

StarTool::StarTool(ToolDocument* document) : RectTool(document)
{
    star_.points = 5;
    star_.shape = 0;
    star_.acuteness = 0.5;
}

int16_t StarTool::GetFrameType() { return kFrameStar; }

void StarTool::Activate(FrameTool* previous, int16_t kind)
{
    FrameTool::Activate(previous, kind);
    frame_ = nullptr;
    StarParams chosen = star_;
    // The dialog keeps only the shape's own words of the geometry, never a
    // turn.
    FrameGeometry sample = defaults_.geometry;
    sample.angle = 0.0f;
    const bool ok = Runner() ? Runner()(&chosen, sample) : RunStarDialog(&chosen, sample);
    if (ok)
        star_ = chosen;
    else
        document_->SelectTool(kToolObject);
}

void StarTool::ApplyDefaults()
{
    FrameTool::ApplyDefaults();
    if (auto* star = dynamic_cast<FrameObjStar*>(frame_))
        star->SetStarParams(star_);
}
