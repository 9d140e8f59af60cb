#include "text/text_context.h"

#include <utility>

#include "frames/frame_document.h"
#include "frames/frame_obj_text.h"
#include "frames/story_store.h"
#include "frames/text_buffer.h"
#include "graphics/beep.h"
#include "text/text_measurer.h"

TextContext::TextContext(FrameDocument* document, StyleSheet* styles, TextHost* host, TextMeasurer* measurer)
    : document_(document), styles_(styles), host_(host), measurer_(measurer)
{
    prefs_ = host_->Preferences();
}

TextBuffer& TextContext::Buffer() const { return document_->Stories()->Buffer(); }

FrameStore* TextContext::Frames() const { return document_->Frames(); }

void TextContext::SetFrame(FrameObjText* frame) { frame_ = frame; }

LineTable TextContext::Lines() const { return LineTable(frame_ ? &frame_->LineTable() : nullptr); }

int32_t TextContext::ParagraphCount() const { return Buffer().Count(); }

int32_t TextContext::ParagraphIndex() const { return Buffer().CurrentIndex(); }

bool TextContext::SelectParagraph(int32_t index)
{
    TextBuffer& buffer = Buffer();
    if (index < 0 || index >= buffer.Count())
        return false;
    if (index != buffer.CurrentIndex() || !buffer.CurrentParagraph()) {
        if (!buffer.SelectParagraph(index))
            return false;
        run.Reset();
    }
    TextPosition caret = buffer.Caret();
    if (caret.paragraph != uint32_t(index)) {
        caret.paragraph = uint32_t(index);
        buffer.SetCaret(caret);
    }
    return true;
}

ParagraphText TextContext::Current() const
{
    const TextBuffer& buffer = Buffer();
    const uint8_t* header = buffer.Current();
    return ParagraphText(buffer.CurrentParagraph(), header ? HeaderFlags(header) : 0);
}

void TextContext::StoreFlags(const ParagraphText& para) { Buffer().SetParagraphFlags(para.flags()); }

uint16_t TextContext::Caret() const { return Buffer().Caret().character; }

void TextContext::SetCaretCharacter(uint16_t character)
{
    TextPosition caret = Buffer().Caret();
    caret.character = character;
    if (Buffer().CurrentIndex() >= 0)
        caret.paragraph = uint32_t(Buffer().CurrentIndex());
    Buffer().SetCaret(caret);
}


TextPosition TextContext::CaretPosition() const { return Buffer().Caret(); }

void TextContext::LoadFormats()
{
    const ParagraphText para = Current();
    format = EffectiveParaFormat(styles_, para, prefs_.justify);
    EffectiveTabs(styles_, para, textRect_.right - textRect_.left, tabs.data());
    base = ReadBaseFormat(styles_, para.StyleId());
}

void TextContext::SelectFont(int16_t font, int32_t size, int16_t style)
{
    if (!measurer_->SelectFont(font, size, style))
        PlayBeep(13);
}

int32_t TextContext::ToView(int32_t v) const { return Zoomed(v, false); }

int32_t TextContext::FromView(int32_t v) const { return Zoomed(v, true); }

int32_t TextContext::Zoomed(int32_t v, bool back) const
{
    int32_t numerator = 1;
    int32_t denominator = 1;
    host_->Zoom(&numerator, &denominator);
    if (back)
        std::swap(numerator, denominator);
    if (denominator == 0)
        return v;
    return int32_t(int64_t(v) * numerator / denominator);
}
