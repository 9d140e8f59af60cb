// What the card document needs of its view and the child frame around it,
// beyond the drawing services of FrameView and the trackers' TrackerView:
// the window's place (for the window record of "QXDocPref"), the scroll
// position and sizes, the rulers, the zoom box, the click state and the
// cursor. The card view implements it and hands itself to the document
// (CLabelsDoc::SetView); the defaults stand for a window that has none of
// these.
#pragma once

#include <cstdint>
#include <string>

#include "foundation/int_geometry.h"
#include "carddoc/tracker.h"

class CardViewServices : public TrackerView {
public:
    // The document window's rectangle in its parent's client coordinates,
    // moving it (with repaint), and the parent's client area.
    virtual IntRect FrameWindowRect() { return IntRect{}; }
    virtual void MoveFrameWindow(const IntRect& /*rect*/) {}
    virtual IntRect ParentClientRect() { return IntRect{}; }

    // Scroll position in view units, and the scrollable size.
    virtual IntPoint ScrollPosition() { return IntPoint{}; }
    virtual void ScrollTo(const IntPoint& /*position*/) {}
    virtual void SetScrollSizes(const IntSize& /*viewUnits*/) {}
    virtual void SetScrollSpeed(int32_t /*speed*/) {}

    // The 12-byte ruler settings record of the horizontal (0) or vertical
    // (1) ruler, and its unit.
    virtual void GetRulerState(int /*axis*/, uint8_t* /*record12*/) {}
    virtual void SetRulerState(int /*axis*/, const uint8_t* /*record12*/) {}
    virtual void SetRulerUnit(int /*axis*/, int16_t /*unit*/) {}

    // The page bar's zoom box: the text of CLabelsDoc::UpdateZoomBox for the
    // zoom, in its percent form when percentForm is set.
    virtual void ShowZoom(int16_t /*numerator*/, int16_t /*denominator*/, bool /*percentForm*/) {}
    // The page bar's page text and its previous and next buttons.
    virtual void SetPageText(const std::string& /*text*/) {}
    virtual void EnablePageButtons(bool /*previous*/, bool /*next*/) {}
    // Both rulers take the zoom percent.
    virtual void SetRulerZoom(int16_t /*percent*/) {}
    // The tools bar shows the tool kind checked (none for kinds without a
    // button).
    virtual void UpdateToolButtons(int16_t /*kind*/) {}
    // The zoom prompt with the current percent; false when cancelled.
    virtual bool AskZoomPercent(int32_t* /*percent*/) { return false; }
    // The view takes the keyboard focus.
    virtual void TakeFocus() {}

    // The click state of the mouse-down being handled: 1 a click, 2 a
    // double click, 3 and 4 the third and fourth click at the same point.
    virtual uint8_t ClickState() { return 1; }
    // An application cursor over the view (kCursorHidden hides it).
    virtual void SetCursorShape(int32_t /*cursor*/) {}
};
