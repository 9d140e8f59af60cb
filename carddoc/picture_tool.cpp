#include "carddoc/picture_tool.h"

#include <algorithm>
#include <utility>

#include <QApplication>

#include "carddoc/card_document_host.h"
#include "carddoc/labels_doc.h"
#include "carddoc/picture_problem_alert.h"
#include "carddoc/rect_tool.h"
#include "dialogs/file_choosers.h"
#include "frames/curr_page_mng.h"
#include "frames/frame_obj_image.h"
#include "graphics/fill_patterns.h"
#include "graphics/rect_ops.h"

namespace {

PictureFileChooser& Chooser()
{
    static PictureFileChooser chooser;
    return chooser;
}

bool ChooseWithDialog(PathRecord* chosen) { return ChooseGraphicsFile(QApplication::activeWindow(), chosen); }

// The smallest side of a rectangle that a drag creates, view units.
constexpr int32_t kMinimumSide = 4;

constexpr const char* kPlacePrompt = "Drag a rectangle on the card to place the picture.";

}  // namespace

PictureFileChooser SetPictureFileChooser(PictureFileChooser chooser)
{
    return std::exchange(Chooser(), std::move(chooser));
}

PictureTool::PictureTool(ToolDocument* document) : FrameTool(document)
{
    // The clear parts of a picture show what lies beneath it.
    defaults_.background = kNoBackground;
    defaults_.fillPattern = kFillHollow;
}

int16_t PictureTool::GetKind() { return kToolPicture; }

int16_t PictureTool::GetFrameType() { return kFrameImage; }

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
    if (!image) {
        // Nothing shows until the user draws the picture's frame: say so,
        // and show the picture tool's cursor at once.
        document_->SetViewCursor(kCursorPicture);
        ShowToolPrompt(kPlacePrompt);
        return;
    }
    SaveUndo(kUndoImportPicture);
    image->ReleaseImage(true);
    image->ReleasePreview(true);
    image->LoadFromFile(file_, LoadFlag());
    TellIfNoPicture(*image, file_);
    image->MarkChanged(1, 0);
    if (CurrPageMng* pages = document_->PageManager())
        pages->ResetFrameStates(2);
    RedrawPage(0, 0);
    document_->SelectTool(kToolObject);
}

void PictureTool::Deactivate()
{
    FrameTool::Deactivate();
    ShowToolPrompt({});
}

FrameObj* PictureTool::CreateFrame(const IntRect& viewRect)
{
    // A drag that ran past the page's edge leaves a side the page cut to
    // nothing; the picture's frame keeps the creation's smallest size, on
    // the page, so that it shows and can be taken hold of.
    IntRect r = viewRect;
    RectNormalize(&r);
    IntRect page{};
    GetPageRect(&page);
    DocToViewRect(&page);
    RectNormalize(&page);
    auto atLeast = [](int32_t* low, int32_t* high, int32_t first, int32_t last) {
        if (*high - *low >= kMinimumSide)
            return;
        *high = *low + kMinimumSide;
        if (*high > last) {
            *high = last;
            *low = std::max(first, last - kMinimumSide);
        }
    };
    const bool wide = r.right - r.left >= kMinimumSide, high = r.bottom - r.top >= kMinimumSide;
    if (wide || high) {
        atLeast(&r.left, &r.right, page.left, page.right);
        atLeast(&r.top, &r.bottom, page.top, page.bottom);
    }
    FrameObj* frame = FrameTool::CreateFrame(r);
    if (auto* image = dynamic_cast<FrameObjImage*>(frame)) {
        image->LoadFromFile(file_, LoadFlag());
        TellIfNoPicture(*image, file_);
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
