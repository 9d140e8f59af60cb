// The text engine behind the text frames' interface: a document's text
// context lays out, draws and wraps their stories. The card document makes
// one for its text context and answers it as its text engine.
#pragma once

#include "frames/text_frame_engine.h"

class TextContext;

class TextContextEngine : public TextFrameEngine {
public:
    explicit TextContextEngine(TextContext* context) : context_(context) {}

    bool SelectStory(int16_t storyId) override;
    // The caret is drawn by the text tool's caret, which the engine hides
    // through its host.
    void ClearCaretDrawn() override;
    void LoadWrapOutline(FrameObjText* frame) override;
    void BuildTextWrapOutline(FrameObjText* frame, Dc* dc) override;
    void SetTextRect(const IntRect& rect) override;
    void DrawText(Dc* dc, FrameObjText* frame) override;
    void DrawEditSelection(Dc* dc, FrameObjText* frame) override;

private:
    TextContext* context_;
};
