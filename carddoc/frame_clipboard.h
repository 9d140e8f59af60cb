// The program's clipboard store as the card document sees it: the text
// tool copies and pastes text through it (it is their TextClipboard), the
// selection tool frames. The application makes the one store at start-up
// and installs it here; until then, and without an application, nothing is
// copied or pasted.
#pragma once

#include <cstdint>

#include "text/text_clipboard.h"

class FrameObj;
class ToolDocument;

class FrameClipboard : public TextClipboard {
public:
    // The frames' data and a picture of them; 0, or 1 on failure.
    virtual int32_t CopyFrames(ToolDocument* document, FrameObj* const* frames, int16_t count) = 0;
    // What the system clipboard offers first: the program's text or plain
    // text into the text, frames or a picture as new frames.
    virtual void Paste(ToolDocument* document) = 0;
};

// The installed store, or null.
FrameClipboard* ProgramClipboard();
// Installs the store (null takes it away).
void SetProgramClipboard(FrameClipboard* store);
