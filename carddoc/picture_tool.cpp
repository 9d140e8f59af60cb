#include "carddoc/picture_tool.h"

#include "carddoc/labels_doc.h"
#include "carddoc/rect_tool.h"
#include "foundation/alerts.h"
#include "foundation/file_dialogs.h"
#include "frames/curr_page_mng.h"
#include "frames/frame_obj_image.h"

namespace {

PictureFileChooser& Chooser()
{
    static PictureFileChooser chooser;
    return chooser;
}

bool ChooseWithDialog(PathRecord* chosen)
{
    PathRecord record{};
    if (ShowOpenFileDialog(&record, "Import Graphics", nullptr, 0) != 1)
        return false;
    *chosen = record;
    return true;
}

}  // namespace

PictureFileChooser SetPictureFileChooser(PictureFileChooser chooser)
{
    PictureFileChooser previous = std::move(Chooser());
    Chooser() = std::move(chooser);
    return previous;
}

PictureTool::PictureTool(ToolDocument* document) : FrameTool(document) {}

int16_t PictureTool::GetKind() { return kToolPicture; }

int16_t PictureTool::GetFrameType() { return kFrameImage; }

namespace {

// A frame that stays empty says why, once, as the picture comes in.
void TellIfUnreadable(const FrameObjImage* image)
{
    if (image->PictureUnreadable())
        AlertStop("The picture can't be read: the file is damaged, or the picture is larger than any picture "
                  "can be. The frame shows no picture.",
                  0);
}

}  // namespace

uint8_t PictureTool::LoadFlag()
{
    auto* doc = dynamic_cast<CLabelsDoc*>(document_);
    return doc && doc->GeneralPref(kPrefPictureIntoDocument) != 0 ? 1 : 0;
}

void PictureTool::Activate(FrameTool* previous, int16_t kind)
{
    FrameTool::Activate(previous, kind);
    frame_ = nullptr;
    if (previous && previous->GetKind() == kToolObject && document_->SelectionCount() == 1) {
        FrameObj* selected = document_->SelectedFrame(0);
        if (selected && selected->GetType() == kFrameImage)
            frame_ = selected;
    }
    PathRecord chosen{};
    const bool ok = Chooser() ? Chooser()(&chosen) : ChooseWithDialog(&chosen);
    if (!ok) {
        frame_ = nullptr;
        document_->SelectTool(kToolObject);
        return;
    }
    file_ = chosen;
    auto* image = dynamic_cast<FrameObjImage*>(frame_);
    if (!image)
        return;
    SaveUndo(kUndoImportPicture);
    image->ReleaseImage(true);
    image->ReleasePreview(true);
    image->LoadFromFile(file_, LoadFlag());
    TellIfUnreadable(image);
    image->MarkChanged(1, 0);
    if (CurrPageMng* pages = document_->PageManager())
        pages->ResetFrameStates(2);
    RedrawPage(0, 0);
    document_->SelectTool(kToolObject);
}

FrameObj* PictureTool::CreateFrame(const IntRect& viewRect)
{
    FrameObj* frame = FrameTool::CreateFrame(viewRect);
    if (auto* image = dynamic_cast<FrameObjImage*>(frame)) {
        image->LoadFromFile(file_, LoadFlag());
        TellIfUnreadable(image);
    }
    return frame;
}

int32_t PictureTool::GetCursor(const IntPoint& /*viewPoint*/) { return kCursorPicture; }

bool PictureTool::SaveUndo(int16_t action)
{
    if (action != kUndoImportPicture)
        return FrameTool::SaveUndo(action);
    // Undoing a replaced picture needs the old picture kept whole, which the
    // image frame does not hand out; the step is not recorded, and the undo
    // the document held goes as any new change makes it go.
    document_->SetUndoOwner(nullptr);
    return false;
}
