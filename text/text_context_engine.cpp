#include "text/text_context_engine.h"

#include "frames/frame_document.h"
#include "frames/frame_obj_text.h"
#include "frames/story_store.h"
#include "text/format_publish.h"
#include "text/selection_highlight.h"
#include "text/text_context.h"
#include "text/text_draw.h"
#include "text/wrap_outline.h"

bool TextContextEngine::SelectStory(int16_t storyId)
{
    StoryStore* stories = context_->Document() ? context_->Document()->Stories() : nullptr;
    return stories && storyId > 0 && stories->BindStory(uint16_t(storyId)) == 0;
}

void TextContextEngine::ClearCaretDrawn() { context_->Host().HideCaret(); }

void TextContextEngine::LoadWrapOutline(FrameObjText* frame) { ::LoadWrapOutline(frame, &context_->work); }

void TextContextEngine::BuildTextWrapOutline(FrameObjText* frame, Dc*)
{
    ::BuildTextWrapOutline(frame, &context_->Host());
}

void TextContextEngine::SetTextRect(const IntRect& rect) { context_->SetTextRect(rect); }

void TextContextEngine::DrawText(Dc* dc, FrameObjText* frame) { RedrawFrameText(context_, dc, frame, false); }

void TextContextEngine::DrawEditSelection(Dc* dc, FrameObjText*)
{
    ToggleSelectionHighlight(context_, dc);
    PublishSelectionFormat(context_, nullptr);
}
