#include "text/spell_checker.h"

#include <algorithm>
#include <cstring>

#include "foundation/alerts.h"
#include "frames/frame_obj_text.h"
#include "frames/frame_store.h"
#include "frames/style_runs.h"
#include "graphics/beep.h"
#include "text/edit_primitives.h"
#include "text/format_publish.h"
#include "text/frame_flow.h"
#include "text/selection_highlight.h"
#include "text/spell_dictionary.h"
#include "text/spelling_dialog.h"
#include "text/text_context.h"
#include "text/text_draw.h"
#include "text/text_positions.h"
#include "text/word_finder.h"

namespace {

// "Spell Check complete." of the text engine's group.
constexpr int32_t kAlertSpellCheckComplete = 3;
constexpr int32_t kBeepNoDictionary = 14;
constexpr int32_t kBeepInsideField = 11;

}  // namespace

SpellCheck::SpellCheck(TextContext* ctx, SpellMode mode) : ctx_(ctx), mode_(mode) {}

void SpellCheck::Begin()
{
    const int32_t current = ctx_->ParagraphIndex();
    if (mode_ == SpellMode::kStory) {
        paragraph_ = 0;
        last_ = ctx_->ParagraphCount() - 1;
    } else {
        paragraph_ = current < 0 ? 0 : current;
        last_ = paragraph_;
    }
    wordsChecked_ = 0;
    // A selection the frame shows is on the view; the first word shown
    // takes its place.
    TextPosition start;
    TextPosition end;
    shown_ = GetFrameSelection(ctx_, &start, &end) &&
             (start.paragraph < end.paragraph || (start.paragraph == end.paragraph && start.character < end.character));
    if (!ctx_->SelectParagraph(paragraph_))
        return;
    if (mode_ != SpellMode::kWord)
        ctx_->SetCaretCharacter(0);
    caret_ = ctx_->Caret();
}

int32_t SpellCheck::FindNextMisspelled()
{
    const int32_t lookupMode = mode_ == SpellMode::kWord ? kLookupAlwaysSuggest : kLookupSuggestWhenMissing;
    for (; paragraph_ <= last_; ++paragraph_, caret_ = 0) {
        if (!ctx_->SelectParagraph(paragraph_))
            return -1;
        const ParagraphText para = ctx_->Current();
        const uint8_t* chars = para.Chars();
        const int32_t length = para.Length();
        int32_t& caret = caret_;
        for (;;) {
            FoundWord found;
            const WordSearch search = FindWord(chars, length, caret, &found);
            if (search == WordSearch::kNone)
                break;
            // Walking back over punctuation can find the word before the
            // caret again; the search then goes on from the next character.
            if (found.end <= caret) {
                ++caret;
                continue;
            }
            caret = found.end;
            FoundWord word;
            if (search == WordSearch::kTooLong || !WordToLookUp(chars, found, &word))
                continue;
            PStr text;
            text[0] = uint8_t(word.end - word.start);
            std::memcpy(text + 1, chars + word.start, text[0]);
            ++wordsChecked_;
            // A word the dictionary cannot take is passed over; the rest of
            // the paragraph is still checked.
            if (LookupWord(text, lookupMode) != 1)
                continue;
            start_ = word.start;
            end_ = word.end;
            std::memcpy(word_, text, size_t(text[0]) + 1);
            ctx_->SetCaretCharacter(uint16_t(caret));
            SelectWord();
            return 0;
        }
        ctx_->SetCaretCharacter(uint16_t(std::min(caret, length > 0 ? length - 1 : 0)));
    }
    return -1;
}

void SpellCheck::SelectWord()
{
    FrameObjText* frame = ctx_->Frame();
    FrameStore* frames = ctx_->Frames();
    if (!frame || !frames)
        return;
    if (shown_)
        ClearWordSelection();
    frames->SetTextRef(frame->FrameId(), 0, uint32_t(paragraph_), uint16_t(start_));
    frames->SetTextRef(frame->FrameId(), 1, uint32_t(paragraph_), uint16_t(end_));
    frames->SetEditFlag(frame, true);
    IntPoint point;
    int32_t height = 0;
    if (PositionToPoint(ctx_, &point, start_, paragraph_, &height))
        ctx_->Host().ScrollToShowPoint(point);
    ToggleSelectionHighlight(ctx_, ctx_->Host().ViewDc());
    shown_ = true;
}

void SpellCheck::ClearWordSelection()
{
    FrameObjText* frame = ctx_->Frame();
    FrameStore* frames = ctx_->Frames();
    if (!frame || !frames)
        return;
    if (shown_)
        ToggleSelectionHighlight(ctx_, ctx_->Host().ViewDc());
    shown_ = false;
    frames->SetTextRef(frame->FrameId(), 0, 0, 0);
    frames->SetTextRef(frame->FrameId(), 1, 0, 0);
    // The highlight may have marked other frames of the chain as showing it.
    frames->SetEditFlagAll(frame, false);
}

bool SpellCheck::ReplaceWord(const uint8_t* text)
{
    if (!ctx_->SelectParagraph(paragraph_))
        return false;
    ParagraphText para = ctx_->Current();
    const uint32_t n = text[0];
    const uint32_t wordLength = uint32_t(end_ - start_);
    if (end_ > para.Length() - 1 || start_ > end_)
        return false;
    // A merge field's text belongs to its field: the text tool does not
    // let it be edited either.
    for (int32_t i = start_; i < end_; ++i) {
        if (GetFieldIdAt(para, i) >= 0) {
            PlayBeep(kBeepInsideField);
            return false;
        }
    }
    // The new text goes in before the word goes out, so that a failure
    // leaves the word as it was.
    if (para.Length() + n > kParagraphMaxLength) {
        AlertStopById(kTextAlertBase, kAlertParagraphTooLarge, 0);
        return false;
    }
    RunCache run;
    const bool hasRun = LoadRunAt(para, start_, &run);
    const uint16_t flags = hasRun ? uint16_t(run.flags & kRunValueBits) : 0;
    const uint16_t at = uint16_t(start_);
    if (n > 0) {
        if (!para.InsertBytes(at, text + 1, n)) {
            CheckMemError(MemLastError() ? MemLastError() : kMemOutOfMemory);
            return false;
        }
        AdjustRunsForInsert(&para, at, n);
    }
    if (wordLength > 0) {
        para.DeleteChars(uint16_t(at + n), uint16_t(at + n + wordLength - 1), true);
        AdjustRunsForDelete(&para, uint16_t(at + n), wordLength);
    }
    if (flags && n > 0)
        SetRunAttributes(&para, at, int32_t(at + n), flags, run.values, true);
    ctx_->StoreFlags(para);
    end_ = start_ + int32_t(n);
    std::memcpy(word_, text, n + 1);
    caret_ = end_;
    ctx_->SetCaretCharacter(uint16_t(end_));
    Redraw();
    return true;
}

void SpellCheck::Redraw()
{
    FrameObjText* frame = ctx_->Frame();
    FrameStore* frames = ctx_->Frames();
    if (!frame || !frames)
        return;
    const int32_t paragraph = ctx_->ParagraphIndex();
    const uint16_t caret = ctx_->Caret();
    auto restore = [&] {
        if (paragraph >= 0 && ctx_->SelectParagraph(paragraph))
            ctx_->SetCaretCharacter(caret);
    };
    frames->FlowFrame(frame->FrameId(), false);
    BindFrame(ctx_, frame);
    restore();
    if (Dc* dc = ctx_->Host().ViewDc()) {
        DrawTextBlock(ctx_, dc, 1, ctx_->Lines().Count(), true);
        EraseBelowText(ctx_, dc, true);
    }
    frames->InvalidateChain(frame->FrameId());
    ctx_->Host().RedrawPage();
    restore();
}

bool SpellCheckText(TextContext* ctx, SpellMode mode)
{
    if (!ctx->Frame())
        return false;
    if (!OpenDictionary(1, 0)) {
        PlayBeep(kBeepNoDictionary);
        return false;
    }
    TextHost& host = ctx->Host();
    SpellCheck check(ctx, mode);
    check.Begin();
    host.HideCaret();
    if (check.FindNextMisspelled() == 0) {
        SpellingDialog dialog(&check, host.ViewWidget());
        RunSpellingDialog(dialog);
    } else {
        AlertNoteById(kTextAlertBase, kAlertSpellCheckComplete, 0);
    }
    check.ClearWordSelection();
    CloseDictionary(1);
    PublishCaretFormat(ctx, 0xFFFF);
    check.Redraw();
    host.ShowCaret();
    return true;
}
