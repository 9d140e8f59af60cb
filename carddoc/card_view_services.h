// What the card document needs of its view and the child frame around it,
// beyond the drawing services of FrameView and the trackers' TrackerView:
// the window's place (for the window record of "QXDocPref"), the scroll
// position and sizes, the rulers, the zoom box, the click state and the
// cursor. The card view implements it and hands itself to the document
// (CLabelsDoc::SetView).
#pragma once

#include <cstdint>
#include <string>

#include "foundation/int_geometry.h"
#include "toolbase/tracker.h"

class QMenu;

class CardViewServices : public TrackerView {
public:
    // The document window's rectangle in its parent's client coordinates,
    // moving it (with repaint), and the parent's client area.
    virtual IntRect FrameWindowRect() = 0;
    virtual void MoveFrameWindow(const IntRect& rect) = 0;
    virtual IntRect ParentClientRect() = 0;
    // Whether the window has been on the screen; one that never was (a
    // print from the command line) has no place of the user's to keep.
    virtual bool FrameWindowShown() = 0;

    // Scroll position in view units, and the scrollable size.
    virtual IntPoint ScrollPosition() = 0;
    virtual void ScrollTo(const IntPoint& position) = 0;
    virtual void SetScrollSizes(const IntSize& viewUnits) = 0;
    virtual void SetScrollSpeed(int32_t speed) = 0;
    // Scrolls until the view point shows, keeping a margin around it;
    // whether the view moved.
    virtual bool ScrollToShowPoint(const IntPoint& viewPoint) = 0;

    // The 12-byte ruler settings record of the horizontal (0) or vertical
    // (1) ruler, and its unit.
    virtual void GetRulerState(int axis, uint8_t* record12) = 0;
    virtual void SetRulerState(int axis, const uint8_t* record12) = 0;
    virtual void SetRulerUnit(int axis, int16_t unit) = 0;

    // The page bar's zoom box: the text of CLabelsDoc::UpdateZoomBox for the
    // zoom, in its percent form when percentForm is set.
    virtual void ShowZoom(int16_t numerator, int16_t denominator, bool percentForm) = 0;
    // The page bar's page text and its previous and next buttons.
    virtual void SetPageText(const std::string& text) = 0;
    virtual void EnablePageButtons(bool previous, bool next) = 0;
    // Both rulers take the zoom percent.
    virtual void SetRulerZoom(int16_t percent) = 0;
    // The tools bar shows the tool kind checked (none for kinds without a
    // button).
    virtual void UpdateToolButtons(int16_t kind) = 0;
    // The zoom prompt with the current percent; false when cancelled.
    virtual bool AskZoomPercent(int32_t* percent) = 0;
    // The view takes the keyboard focus.
    virtual void TakeFocus() = 0;

    // The click state of the mouse-down being handled: 1 a click, 2 a
    // double click, 3 and 4 the third and fourth click at the same point.
    virtual uint8_t ClickState() = 0;
    // An application cursor over the view (kCursorHidden hides it).
    virtual void SetCursorShape(int32_t cursor) = 0;
    // Shows the pop-up menu at a view point with its items brought up to
    // date, and carries out the item chosen through the window's commands.
    virtual void TrackPopupMenu(QMenu* menu, const IntPoint& viewPoint) = 0;
};
