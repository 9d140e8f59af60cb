// The document's general preferences at work, and its window record in
// "QXDocPref".
#include <cstring>
#include <string>

#include "carddoc/auto_save.h"
#include "carddoc/card_view_services.h"
#include "carddoc/labels_doc.h"
#include "foundation/byte_order.h"
#include "frames/curr_page_mng.h"

namespace {

// Zoom modes of the view: 6 is a percentage of its own.
constexpr int16_t kZoomModeOther = 6;
constexpr int16_t kZoomModeActual = 4;

}  // namespace

void CLabelsDoc::SetRulerUnits(int16_t horizontal, int16_t vertical)
{
    PutI32LE(general_ + kPrefHorizontalUnit, horizontal);
    PutI32LE(general_ + kPrefVerticalUnit, vertical);
    pageBlock_.unit = horizontal;
    if (view_) {
        view_->SetRulerUnit(0, horizontal);
        view_->SetRulerUnit(1, vertical);
    }
}

void CLabelsDoc::ApplyPreferences(bool reloadPages)
{
    if (view_)
        view_->SetScrollSpeed(int32_t(GeneralPref(kPrefScrollSpeed)));
    SetRulerUnits(int16_t(GeneralPref(kPrefHorizontalUnit)), int16_t(GeneralPref(kPrefVerticalUnit)));
    if (GeneralPref(kPrefAutoSaveOn) != 0)
        AutoSaveStart(this, GeneralPref(kPrefAutoSaveMinutes));
    else
        AutoSaveStop(this);
    const int16_t page = GetCurrentPage();
    if (reloadPages)
        ClosePages();
    ComputePageSize();
    if (reloadPages) {
        UpdateScrollSizes();
        OpenPages(page, 1, 1);
    }
}

void CLabelsDoc::ReadDocWndPref(const PathRecord& path)
{
    window_.notFound = 1;
    std::string key;
    if (DocWndPrefKey(path, &key))
        window_.notFound = LookupDocWndPref(key, &window_);
}

void CLabelsDoc::WriteDocWndPref(const PathRecord& path)
{
    std::string key;
    if (!DocWndPrefKey(path, &key))
        return;
    DocWndPref& w = window_;
    if (view_) {
        w.frameRect = view_->FrameWindowRect();
        const IntPoint scroll = view_->ScrollPosition();
        w.scrollX = scroll.x;
        w.scrollY = scroll.y;
        view_->GetRulerState(0, w.rulerH);
        view_->GetRulerState(1, w.rulerV);
    }
    w.page = GetCurrentPage();
    manager_->GetZoom(&w.zoomNumerator, &w.zoomDenominator, &w.zoomMode);
    w.word296 = 1;
    w.notFound = 0;
    w.version = kPrefVersion;
    std::memset(w.path, 0, sizeof w.path);
    std::memcpy(w.path, key.data(), key.size());
    StoreDocWndPref(w);
}

uint32_t CLabelsDoc::ApplyDocWndPref()
{
    if (window_.notFound)
        return 1;
    DocWndPref& w = window_;
    if (view_) {
        w.frameRect = FitWindowRect(w.frameRect, view_->ParentClientRect());
        view_->MoveFrameWindow(w.frameRect);
    }
    OpenPages(w.page, 1, 1);
    // A damaged record must not give the view a zoom it cannot divide by.
    if (w.zoomNumerator > 0 && w.zoomDenominator > 0)
        manager_->SetZoom(uint16_t(w.zoomNumerator), uint16_t(w.zoomDenominator), w.zoomMode, 1);
    else
        manager_->SetZoom(1, 1, kZoomModeActual, 1);
    if (view_) {
        view_->SetRulerState(0, w.rulerH);
        view_->SetRulerState(1, w.rulerV);
        int16_t n = 1, d = 1, mode = 0;
        manager_->GetZoom(&n, &d, &mode);
        view_->ShowZoom(n, d, mode == kZoomModeOther);
    }
    ComputePageSize();
    UpdateScrollSizes();
    if (view_) {
        view_->ScrollTo(IntPoint{w.scrollX, w.scrollY});
        view_->Refresh();
    }
    return 0;
}
