// The answers of a view that has no window: nothing scrolls, no ruler or
// bar shows, no mouse is held and no tracker runs. Each template puts the
// answers of one interface over a base class, so that a view (the one that
// prints a document without a window, or a stand-in) answers only what it
// does itself.
#pragma once

#include <cstdint>
#include <string>

#include "carddoc/card_view_services.h"
#include "frames/frame_view_services.h"

template <class Base>
class WindowlessFrameView : public Base {
public:
    void NotifyViewChanged() override {}
    void TrackGuide(const IntPoint&, uint8_t) override {}
    FrameTracker* NewTracker(TrackerKind, FrameObj*, int16_t) override { return nullptr; }
};

template <class Base>
class WindowlessTrackerView : public WindowlessFrameView<Base> {
public:
    QWidget* CaptureWidget() override { return nullptr; }
    bool SnapToGuides() override { return false; }
    void SnapPoint(const IntPoint& viewPoint, IntPoint* out) override { *out = viewPoint; }
    bool AutoScroll(const IntPoint&, bool) override { return false; }
    bool ScrollByDelta(int32_t, int32_t) override { return false; }
    void ShowMouseInRulers(const IntPoint&, const IntPoint*) override {}
};

template <class Base>
class WindowlessCardView : public WindowlessTrackerView<Base> {
public:
    IntRect FrameWindowRect() override { return IntRect{}; }
    void MoveFrameWindow(const IntRect&) override {}
    IntRect ParentClientRect() override { return IntRect{}; }
    bool FrameWindowShown() override { return false; }
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
};
