// What the clipboard store asks of a card document for frames and pictures:
// the Object tool's selection, new frames on the current page and the view
// they are pasted into. The document that has an Object tool implements it
// beside ToolDocument; a document without one pastes only text.
#pragma once

#include <QImage>
#include <cstdint>
#include <string>

#include "foundation/int_geometry.h"

class FrameObj;
class TextBuffer;
struct CopiedFonts;

class ClipboardFrameHost {
public:
    virtual ~ClipboardFrameHost() = default;

    // The Object tool's selection: emptied (with redraw), and a frame added
    // to it.
    virtual void ClearFrameSelection() = 0;
    virtual void SelectFrame(FrameObj* frame) = 0;
    // After a paste of frames: their groups made again, the selection and
    // the page redrawn.
    virtual void FinishFramePaste() = 0;
    // The selected frames were just pasted in: Undo takes them away again.
    virtual void RecordPastedFrames() = 0;
    // Where pasted frames go (document units): the mouse position when it is
    // over the view, else the top-left of the visible area.
    virtual IntPoint PastePoint() = 0;
    // The visible area of the view (document units).
    virtual IntRect VisibleArea() = 0;
    // The width of "W" in the view's drawing context (document units).
    virtual int32_t WidthOfW() = 0;
    // A picture of the frames at full size on white, the bounding rectangle
    // (document units) its area; a null image when it cannot be made.
    virtual QImage PictureOfFrames(FrameObj* const* frames, int16_t count, const IntRect& bounds) = 0;
    // The text the frames show, as plain Windows-1252 text (paragraphs end
    // in CR); empty when none of them holds text.
    virtual std::string TextOfFrames(FrameObj* const* frames, int16_t count) = 0;
    // The image frame takes the picture; false when it cannot.
    virtual bool SetFramePicture(FrameObj* frame, const QImage& picture) = 0;
    // A new story for the text frame holding copies of the paragraphs (the
    // plain text the store took in); false when it could not be made.
    virtual bool FillNewTextFrame(FrameObj* frame, TextBuffer* paragraphs) = 0;
    // The fonts the frames name (their text, captions and effects), as this
    // document stores them, added to fonts.
    virtual void AddFontsOfFrames(FrameObj* const* /*frames*/, int16_t /*count*/, CopiedFonts* /*fonts*/) {}
    // A frame pasted from a copy that named those fonts names this
    // document's numbers for them, and its text keeps the fonts its
    // paragraphs showed; a font this document lacks is added.
    virtual void AdoptFontsOfFrame(FrameObj* /*frame*/, const CopiedFonts& /*fonts*/) {}
    // The page redrawn.
    virtual void RedrawPage() = 0;
    // A frame made for a paste that could not be finished: off the page and
    // out of the frame store, so that the page is left as it was.
    virtual void DeleteFrame(FrameObj* frame) = 0;
};
