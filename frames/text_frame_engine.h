// The text engine as the text frames use it: their story laid out into the
// text rectangle, drawn, and wrapped around the frames above them. The
// text engine implements it; until it does, text frames show no text.
#pragma once

#include <cstdint>

#include "foundation/int_geometry.h"

class Dc;
class FrameObjText;

class TextFrameEngine {
public:
    virtual ~TextFrameEngine() = default;

    // Makes the frame's story the current one of the story store; false
    // when it cannot be loaded (the frame then draws no text).
    virtual bool SelectStory(int16_t storyId) = 0;
    // The caret is no longer on the screen.
    virtual void ClearCaretDrawn() = 0;
    // Puts the frame's text-wrap outline into the shared wrap list.
    virtual void LoadWrapOutline(FrameObjText* frame) = 0;
    // Builds the frame's text-wrap outline again from the frames above it.
    virtual void BuildTextWrapOutline(FrameObjText* frame, Dc* dc) = 0;
    // The text rectangle (document units) the document's text buffer lays
    // out into and draws from.
    virtual void SetTextRect(const IntRect& rect) = 0;
    // Draws the frame's laid-out lines.
    virtual void DrawText(Dc* dc, FrameObjText* frame) = 0;
    // Draws the selection of the frame in edit and publishes its format
    // to the Text tool.
    virtual void DrawEditSelection(Dc* dc, FrameObjText* frame) = 0;
};
