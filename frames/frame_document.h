// What the frame object model needs of the card document that owns it: its
// stores, its first page number, the shown zoom, switching pages, and the
// services of the text engine and the current-page manager that the stores
// call. The card document implements it; until the text engine and the
// page manager exist, the defaults below stand in for them.
#pragma once

#include <cstdint>

#include "foundation/int_geometry.h"
#include "frames/text_position.h"

class CTFileMng;
class FrameObj;
class FrameStore;
class PageTable;
class SharedFrameList;
class StoryStore;

class FrameDocument {
public:
    virtual ~FrameDocument() = default;

    virtual CTFileMng* SwapFile() = 0;
    virtual PageTable* Pages() = 0;
    virtual FrameStore* Frames() = 0;
    virtual StoryStore* Stories() = 0;
    virtual SharedFrameList* SharedFrames() = 0;

    // The number the first page shows.
    virtual int16_t FirstPageNumber() { return 1; }
    // The zoom of the shown pages, which a new page record takes.
    virtual void GetPageZoom(int16_t* mode, int16_t* numerator, int16_t* denominator)
    {
        *mode = 4;
        *numerator = 1;
        *denominator = 1;
    }
    // Shows the page with that number; false when it cannot.
    virtual bool SwitchToPage(int16_t /*number*/) { return false; }

    // Lays the story bound to the text buffer out into rect, from start on;
    // gives where the frame's text ends. Without a text engine the frame
    // takes no text.
    virtual void LayOutIntoFrame(FrameObj* /*frame*/, const IntRect& /*rect*/, TextPosition start, TextPosition* end)
    {
        *end = start;
    }
    // The next text frame of the shown pages from *index on (the index
    // moves past it), or null.
    virtual FrameObj* FindTextFrameFrom(int32_t* /*index*/) { return nullptr; }
    // A chain changed its text: the shown page is to be redrawn.
    virtual void RedrawAfterChainChange() {}
};
