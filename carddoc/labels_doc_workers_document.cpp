// The Edit and View menus' document workers: guide spacing, ruler units and
// going to a page, each through its dialog on a record filled from the
// document.
#include <cmath>

#include "carddoc/labels_doc.h"
#include "carddoc/worker_dialog.h"
#include "dialogs/guide_settings_dialog.h"
#include "dialogs/page_dialogs.h"
#include "dialogs/ruler_settings_dialog.h"
#include "foundation/int_math.h"
#include "frames/curr_page_mng.h"

namespace {

constexpr int16_t kNoPage = -32000;

}  // namespace

void CLabelsDoc::DoGuideSettings()
{
    int16_t x = 0;
    int16_t y = 0;
    manager_->GetGuideSpacing(&x, &y);
    GuideSettingsRecord r;
    r.horizontal = x;
    r.vertical = y;
    r.showGuide = display_[1];
    r.snapToGuide = display_[2];
    r.units = 1;
    r.changed = 0;
    CDlgGuideSettings dialog;
    dialog.SetRecord(r);
    if (RunWorkerDialog(dialog) != 1)
        return;
    r = dialog.Record();
    if (r.changed != 0)
        manager_->MakeGuideGrid(uint16_t(TruncToInt32(r.horizontal)), int16_t(TruncToInt32(r.vertical)));
    display_[1] = r.showGuide != 0 ? 1 : 0;
    display_[2] = r.snapToGuide != 0 ? 1 : 0;
    RefreshView();
}

void CLabelsDoc::DoRulerSettings()
{
    RulerSettingsRecord r;
    r.vertical = int32_t(GeneralPref(kPrefVerticalUnit));
    r.horizontal = int32_t(GeneralPref(kPrefHorizontalUnit));
    CDlgRulerSettings dialog;
    dialog.SetRecord(r);
    if (RunWorkerDialog(dialog) != 1)
        return;
    r = dialog.Record();
    SetRulerUnits(int16_t(r.horizontal), int16_t(r.vertical));
}

void CLabelsDoc::DoGotoPage()
{
    const int16_t shown = GetCurrentPage();
    GotoPageRecord r;
    r.page = shown == kNoPage ? 0 : shown;
    r.total = GetPageCount();
    CDlgGotoPage dialog;
    dialog.SetRecord(r);
    if (RunWorkerDialog(dialog) != 1)
        return;
    r = dialog.Record();
    display_[3] = 0;
    SwitchToPage(int16_t(r.page));
}
