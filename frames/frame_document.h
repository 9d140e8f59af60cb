// What the frame object model needs of the card document that owns it: its
// stores, its first page number, the shown zoom, switching pages, the
// services of the text engine and the current-page manager that the stores
// call, its view, its colour table and the display settings the drawing
// reads. The card document implements all of it; the bodies given here
// follow from the page manager and hold for every document.
#pragma once

#include <cstdint>

#include "foundation/int_geometry.h"
#include "frames/text_position.h"
#include "platform/gdi_types.h"

class CTFileMng;
class CurrPageMng;
class FrameObj;
class FrameStore;
class FrameView;
class PageTable;
class SharedFrameList;
class StoryStore;
struct FrameGeometry;
struct StarParams;

class FrameDocument {
public:
    virtual ~FrameDocument() = default;

    virtual CTFileMng* SwapFile() = 0;
    virtual PageTable* Pages() = 0;
    virtual FrameStore* Frames() = 0;
    virtual StoryStore* Stories() = 0;
    virtual SharedFrameList* SharedFrames() = 0;

    // The number the first page shows.
    virtual int16_t FirstPageNumber() = 0;
    // The zoom of the shown pages, which a new page record takes.
    virtual void GetPageZoom(int16_t* mode, int16_t* numerator, int16_t* denominator) = 0;
    // Shows the page with that number; false when it cannot.
    virtual bool SwitchToPage(int16_t number) = 0;

    // Lays the story bound to the text buffer out into rect, from start on;
    // gives where the frame's text ends.
    virtual void LayOutIntoFrame(FrameObj* frame, const IntRect& rect, TextPosition start, TextPosition* end) = 0;
    // The next text frame of the shown pages from *index on (the index
    // moves past it), or null.
    virtual FrameObj* FindTextFrameFrom(int32_t* index);
    // A chain changed its text: the shown page is to be redrawn.
    virtual void RedrawAfterChainChange() = 0;

    // ---- the view and the page shown ----
    // Null while the document has no view.
    virtual FrameView* View() = 0;
    virtual CurrPageMng* PageManager() = 0;
    // The bounds of page slot 0 or 1, document units (empty when the slot
    // shows no page).
    virtual void GetPageSlotRect(int16_t slot, IntRect* r) = 0;
    // How many page slots show a page, and the n-th of them (from 1), or -1.
    virtual int16_t GetVisiblePageCount();
    virtual int16_t GetPageSlot(int16_t n);
    // The 1-based ordinal of the visible page slot under a point given in
    // view units, with the point made relative to that page's top-left
    // corner in document units; 0 when no page is there.
    virtual int16_t PageSlotAtPoint(const IntPoint& viewPoint, IntPoint* pagePoint);
    // The page was shown, or is about to be left: the tools hear of it.
    virtual void PagesOpened() = 0;
    virtual void PagesClosing() = 0;

    // ---- colours and display settings ----
    // Colour index at a tint percentage (100 the plain colour).
    virtual ColorRef GetTint(uint8_t index, uint8_t percent) = 0;
    // Frame edges of unselected frames and the thin-border boost are drawn
    // only while guides are shown.
    virtual bool ShowGuides() = 0;
    // While 0 a frame of residence 1 draws no frame edge.
    virtual uint8_t PageSetByte() = 0;
    // Guides and page marks are painted before the frames that are not the
    // backdrop.
    virtual bool GuidesBehindFrames() = 0;
    // Chooses how the page manager marks frames around a change.
    virtual bool ImmediateRedraw() = 0;
    // Loading a page takes the zoom stored with it.
    virtual bool PageZoomFlag() = 0;
    virtual bool IsModified() = 0;
    virtual void SetModified(bool on) = 0;

    // ---- commands the frames run ----
    // Object Info for the selected frame.
    virtual void DoObjectInfo() = 0;
    // The Star Info dialog on a star record and the frame's view geometry;
    // true after OK, with the chosen values in star.
    virtual bool RunStarInfo(StarParams* star, const FrameGeometry& view) = 0;
};
