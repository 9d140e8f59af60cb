// The "Other..." items of the shade, width and size menus: one number asked
// in the Other Value prompt and handed to the same operation the fixed
// items use.
#include "carddoc/labels_doc.h"
#include "carddoc/worker_dialog.h"
#include "dialogs/value_dialogs.h"
#include "frames/curr_page_mng.h"
#include "frames/frame_obj.h"

namespace {

// The prompt's answer, or false after Cancel. Every frame of the page is to
// be drawn again after a change, whichever tool passes it on.
bool AskOtherValue(OtherValueKind kind, int16_t current, CurrPageMng* pages, int16_t* value)
{
    CDlgOtherValue dialog;
    dialog.SetRecord(OtherValueFor(kind, current));
    if (RunWorkerDialog(dialog) != 1)
        return false;
    *value = int16_t(dialog.Record().value);
    if (pages)
        pages->ResetFrameStates(kDrawNeeded);
    return true;
}

}  // namespace

void CLabelsDoc::DoOtherShade(uint8_t target)
{
    int16_t current = graphicAttrs_.fillShade;
    if (target == 0)
        current = graphicAttrs_.lineShade;
    else if (target == 3)
        current = graphicAttrs_.textShade;
    int16_t value = 0;
    if (AskOtherValue(OtherValueKind::kShade, current, manager_.get(), &value))
        SetShade(value, target);
}

void CLabelsDoc::DoOtherWidth()
{
    int16_t value = 0;
    if (AskOtherValue(OtherValueKind::kLineWidth, graphicAttrs_.lineWidth, manager_.get(), &value))
        SetLineWidth(value);
}

void CLabelsDoc::DoOtherSize()
{
    int16_t value = 0;
    if (AskOtherValue(OtherValueKind::kTextSize, textAttrs_.size, manager_.get(), &value))
        SetFontSize(value);
}
