// A view for a card document that has none of its own (printing from the
// command line, the preview of a document without a window): it keeps the
// stack of drawing targets the frames draw and measure with. It has no
// window, so nothing scrolls, no ruler or bar shows and no mouse is held.
#pragma once

#include <vector>

#include "carddoc/card_view_services.h"

class CLabelsDoc;

class PrintTargetView final : public CardViewServices {
public:
    Dc* GetViewDC() override { return targets_.empty() ? nullptr : targets_.back(); }
    void PushDrawTarget(Dc* dc, uint32_t) override { targets_.push_back(dc); }
    void PopDrawTarget() override
    {
        if (!targets_.empty())
            targets_.pop_back();
    }
    bool IsScreenTarget() const override { return targets_.empty(); }
    void GetClientRectLogical(IntRect* r) override { *r = IntRect{}; }
    void InvalidateRect(const IntRect&, bool) override {}
    void InvalidateRgn(const Region&, bool) override {}
    void Refresh() override {}
    void UpdateNow() override {}
    void GetPageRectView(IntRect* r) override { *r = IntRect{}; }
    void NotifyViewChanged() override {}
    void TrackGuide(const IntPoint&, uint8_t) override {}
    FrameTracker* NewTracker(TrackerKind, FrameObj*, int16_t) override { return nullptr; }

    // ---- TrackerView: no mouse reaches it ----
    QWidget* CaptureWidget() override { return nullptr; }
    bool SnapToGuides() override { return false; }
    void SnapPoint(const IntPoint& viewPoint, IntPoint* out) override { *out = viewPoint; }
    bool AutoScroll(const IntPoint&, bool) override { return false; }
    bool ScrollByDelta(int32_t, int32_t) override { return false; }
    void ShowMouseInRulers(const IntPoint&, const IntPoint*) override {}

    // ---- CardViewServices: no window, scroll bars, rulers or bars ----
    IntRect FrameWindowRect() override { return IntRect{}; }
    void MoveFrameWindow(const IntRect&) override {}
    IntRect ParentClientRect() override { return IntRect{}; }
    IntPoint ScrollPosition() override { return IntPoint{}; }
    void ScrollTo(const IntPoint&) override {}
    void SetScrollSizes(const IntSize&) override {}
    void SetScrollSpeed(int32_t) override {}
    bool ScrollToShowPoint(const IntPoint&) override { return false; }
    void GetRulerState(int, uint8_t*) override {}
    void SetRulerState(int, const uint8_t*) override {}
    void SetRulerUnit(int, int16_t) override {}
    void ShowZoom(int16_t, int16_t, bool) override {}
    void SetPageText(const std::string&) override {}
    void EnablePageButtons(bool, bool) override {}
    void SetRulerZoom(int16_t) override {}
    void UpdateToolButtons(int16_t) override {}
    bool AskZoomPercent(int32_t*) override { return false; }
    void TakeFocus() override {}
    uint8_t ClickState() override { return 1; }
    void SetCursorShape(int32_t) override {}
    void TrackPopupMenu(QMenu*, const IntPoint&) override {}

private:
    std::vector<Dc*> targets_;
};

// Lends the document a PrintTargetView while it lives, when the document
// has no view.
class LentPrintView {
public:
    explicit LentPrintView(CLabelsDoc* document);
    ~LentPrintView();
    LentPrintView(const LentPrintView&) = delete;
    LentPrintView& operator=(const LentPrintView&) = delete;

private:
    CLabelsDoc* document_;
    PrintTargetView view_;
};
