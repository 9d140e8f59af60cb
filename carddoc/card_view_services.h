// What the card document needs of its view and the child frame around it,
// beyond the drawing services of FrameView: the window's place (for the
// window record of "QXDocPref"), the scroll position and sizes, the rulers
// and the zoom box. The card view implements it and hands itself to the
// document (CLabelsDoc::SetView); the defaults stand for a window that has
// none of these.
#pragma once

#include <cstdint>

#include "foundation/int_geometry.h"
#include "frames/frame_view_services.h"

class CardViewServices : public FrameView {
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

    // The page bar's zoom box; fit shows the fit form.
    virtual void ShowZoom(int16_t /*numerator*/, int16_t /*denominator*/, bool /*fit*/) {}
};
