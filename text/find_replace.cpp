#include "text/find_replace.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "foundation/alerts.h"
#include "frames/frame_obj_text.h"
#include "frames/frame_store.h"
#include "frames/style_record_format.h"
#include "frames/style_runs.h"
#include "graphics/beep.h"
#include "text/edit_frame.h"
#include "text/edit_primitives.h"
#include "text/format_publish.h"
#include "text/frame_flow.h"
#include "text/selection_highlight.h"
#include "text/text_context.h"
#include "text/text_draw.h"
#include "text/text_positions.h"

namespace {

bool IsWordChar(uint8_t c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '@';
}

// Raises the document's page-change quiet flag for a scope.
class PageChangeQuiet {
public:
    explicit PageChangeQuiet(TextHost& host) : host_(host) { host_.SetPageChangeQuiet(true); }
    ~PageChangeQuiet() { host_.SetPageChangeQuiet(false); }

private:
    TextHost& host_;
};

// The editor moves to the frame (the tool first, then the engine).
void Rebind(TextContext* ctx, FrameObjText* frame)
{
    if (!frame)
        return;
    ctx->Host().BindEditor(frame);
    const int32_t paragraph = ctx->ParagraphIndex();
    const uint16_t caret = ctx->Caret();
    BindFrame(ctx, frame);
    if (paragraph >= 0 && ctx->SelectParagraph(paragraph))
        ctx->SetCaretCharacter(caret);
}

void Highlight(TextContext* ctx) { ToggleSelectionHighlight(ctx, ctx->Host().ViewDc()); }

// After replacing: the frame is flowed and drawn again, and the rest of the
// chain follows.
void Reflow(TextContext* ctx)
{
    FrameObjText* frame = ctx->Frame();
    FrameStore* frames = ctx->Frames();
    if (!frame || !frames)
        return;
    const int32_t paragraph = ctx->ParagraphIndex();
    const uint16_t caret = ctx->Caret();
    frames->FlowFrame(frame->FrameId(), false);
    BindFrame(ctx, frame);
    if (Dc* dc = ctx->Host().ViewDc()) {
        DrawTextBlock(ctx, dc, 1, ctx->Lines().Count(), true);
        EraseBelowText(ctx, dc, true);
    }
    frames->InvalidateChain(frame->FrameId());
    Rebind(ctx, frame);
    if (paragraph >= 0 && ctx->SelectParagraph(paragraph))
        ctx->SetCaretCharacter(caret);
}

bool FindNext(TextContext* ctx, const FindSettings& settings)
{
    const TextPosition caret = ctx->CaretPosition();
    if (!ctx->SelectParagraph(int32_t(caret.paragraph)) || !FindInStory(ctx, caret.character, settings)) {
        ctx->SelectParagraph(int32_t(caret.paragraph));
        ctx->SetCaretCharacter(caret.character);
        PlayBeep(10);
        return false;
    }
    const FindMatch match = ctx->match;
    TextPosition s;
    TextPosition e;
    if (GetFrameSelection(ctx, &s, &e))
        Highlight(ctx);
    FrameObjText* shows = FindFrameForPosition(ctx, ctx->Frame(), match.start, match.paragraph);
    if (shows != ctx->Frame())
        Rebind(ctx, shows);
    ctx->SelectParagraph(match.paragraph);
    ctx->SetCaretCharacter(match.end);
    IntPoint point;
    int32_t height = 0;
    if (PositionToPoint(ctx, &point, match.start, match.paragraph, &height))
        ctx->Host().ScrollToShowPoint(point);
    const TextPosition start{uint32_t(match.paragraph), match.start};
    const TextPosition end{uint32_t(match.paragraph), match.end};
    SetFrameSelection(ctx, start, end, true);
    ctx->Host().HideCaret();
    Highlight(ctx);
    PublishSelectionFormat(ctx, nullptr);
    ctx->match = match;
    ctx->match.selected = true;
    return true;
}

}  // namespace

FrameObjText* FindFrameForPosition(TextContext* ctx, FrameObjText* frame, int32_t character, int32_t paragraph)
{
    FrameStore* frames = ctx->Frames();
    if (!frame || !frames || !frames->IsChained(frame))
        return frame;
    PageChangeQuiet quiet(ctx->Host());
    const uint16_t id =
        frames->FindFrameForPos(frame->FrameId(), TextPosition{uint32_t(paragraph), uint16_t(character)});
    FrameObj* found = frames->GetFrameObject(id);
    return found ? static_cast<FrameObjText*>(found) : frame;
}

FindSettings ReadFindSettings(const uint8_t* b)
{
    FindSettings s;
    s.find.assign(reinterpret_cast<const char*>(b + 1), b[0]);
    s.replace.assign(reinterpret_cast<const char*>(b + 257), b[256]);
    s.wholeWord = b[512] != 0;
    s.ignoreCase = b[513] != 0;
    return s;
}

void WriteFindSettings(const FindSettings& s, uint8_t* b)
{
    std::memset(b, 0, kFindSettingsSize);
    const size_t f = std::min<size_t>(s.find.size(), 255);
    const size_t r = std::min<size_t>(s.replace.size(), 255);
    b[0] = uint8_t(f);
    std::memcpy(b + 1, s.find.data(), f);
    b[256] = uint8_t(r);
    std::memcpy(b + 257, s.replace.data(), r);
    b[512] = s.wholeWord ? 1 : 0;
    b[513] = s.ignoreCase ? 1 : 0;
}

bool CharsMatch(uint8_t a, uint8_t b, bool ignoreCase)
{
    if (a == b)
        return true;
    if (!ignoreCase)
        return false;
    auto fold = [](uint8_t c) { return c >= 'a' && c <= 'z' ? uint8_t(c - 32) : c; };
    return fold(a) == fold(b);
}

bool IsWholeWord(TextContext* ctx, bool wholeWord)
{
    if (!wholeWord)
        return true;
    const ParagraphText para = ctx->Current();
    const uint8_t before = ctx->match.start > 0 ? para.Char(ctx->match.start - 1) : ' ';
    const uint8_t after = ctx->match.end < para.Length() ? para.Char(ctx->match.end) : ' ';
    return !IsWordChar(before) && !IsWordChar(after);
}

bool FindInStory(TextContext* ctx, int32_t startCharacter, const FindSettings& settings)
{
    const int32_t n = int32_t(settings.find.size());
    const int32_t from = ctx->ParagraphIndex();
    const uint8_t* find = reinterpret_cast<const uint8_t*>(settings.find.data());
    for (int32_t paragraph = std::max(from, 0); n > 0 && paragraph < ctx->ParagraphCount(); ++paragraph) {
        if (!ctx->SelectParagraph(paragraph))
            break;
        const ParagraphText para = ctx->Current();
        const int32_t length = para.Length();
        int32_t p = paragraph == from ? startCharacter : 0;
        while (p + n <= length) {
            int32_t k = 0;
            while (k < n && CharsMatch(para.Char(p + k), find[k], settings.ignoreCase))
                ++k;
            if (k < n) {
                ++p;
                continue;
            }
            ctx->match.start = uint16_t(p);
            ctx->match.end = uint16_t(p + n);
            ctx->match.paragraph = paragraph;
            if (IsWholeWord(ctx, settings.wholeWord))
                return true;
            p += n;
        }
    }
    ctx->match.start = 0;
    ctx->match.end = 0;
    ctx->match.paragraph = -1;
    return false;
}

bool ReplaceSelection(TextContext* ctx, const std::string& replacement)
{
    TextPosition start{uint32_t(std::max(ctx->match.paragraph, 0)), ctx->match.start};
    TextPosition end{start.paragraph, ctx->match.end};
    const bool framed = GetFrameSelection(ctx, &start, &end);
    if (start.paragraph != end.paragraph || end.character < start.character) {
        ctx->SelectParagraph(int32_t(start.paragraph));
        ctx->SetCaretCharacter(start.character);
        return true;
    }
    if (!ctx->SelectParagraph(int32_t(start.paragraph)))
        return false;
    const uint32_t n = uint32_t(replacement.size());
    if (ctx->Current().Length() + n > kFindParagraphLimit) {
        AlertStopById(kTextAlertBase, kAlertPasteTooLarge, 0);
        return false;
    }
    if (n > 0) {
        uint8_t record[kStyleRecordSize] = {};
        TypingAttributes typing = ctx->Host().TypingAttributes();
        if (framed && PublishSelectionFormat(ctx, record)) {
            for (int rank = 0; rank < kAttributeCount; ++rank)
                typing[size_t(rank)] = GetI16LE(record + kStyleBaseFormatOffset + 2 * rank);
        }
        ctx->SelectParagraph(int32_t(start.paragraph));
        std::array<int16_t, kAttributeCount> values{};
        const uint16_t flags = BuildTypingRun(ctx, start.character, typing, &values);
        ParagraphText para = ctx->Current();
        if (!para.InsertBytes(start.character, reinterpret_cast<const uint8_t*>(replacement.data()), n)) {
            CheckMemError(MemLastError() ? MemLastError() : kMemOutOfMemory);
            return false;
        }
        AdjustRunsForInsert(&para, start.character, n);
        if (flags)
            SetRunAttributes(&para, start.character, start.character + int32_t(n), flags, values, false);
        ctx->StoreFlags(para);
        start.character = uint16_t(start.character + n);
        end.character = uint16_t(end.character + n);
    }
    // The selected text goes, also for an empty replacement.
    if (end.character > start.character) {
        if (framed)
            SetFrameSelection(ctx, start, end, true);
        DeleteRange(ctx, start, end, true);
    }
    ctx->SelectParagraph(int32_t(start.paragraph));
    ctx->SetCaretCharacter(start.character);
    return true;
}

int32_t ReplaceInText(TextContext* ctx, FindMode mode, const FindSettings& settings)
{
    FrameObjText* frame = ctx->Frame();
    TextLineRecord last;
    if (frame && ctx->match.paragraph >= 0 && ctx->Lines().Get(ctx->Lines().Count(), &last) &&
        (ctx->match.paragraph > last.paragraph ||
         (ctx->match.paragraph == last.paragraph && ctx->match.start >= last.End()))) {
        FrameObjText* shows = FindFrameForPosition(ctx, frame, ctx->match.start, ctx->match.paragraph);
        if (shows != frame)
            Rebind(ctx, shows);
    }
    switch (mode) {
    case FindMode::kFindNext: return FindNext(ctx, settings) ? 1 : 0;
    case FindMode::kReplace: {
        if (!ctx->match.selected)
            return FindNext(ctx, settings) ? 1 : 0;
        ctx->Host().SaveUndo();
        ctx->match.selected = false;
        const bool replaced = ReplaceSelection(ctx, settings.replace);
        Highlight(ctx);
        SetFrameSelection(ctx, ctx->CaretPosition(), ctx->CaretPosition(), false);
        Reflow(ctx);
        FindNext(ctx, settings);
        return replaced ? 1 : 0;
    }
    case FindMode::kReplaceAll: {
        ctx->Host().HideCaret();
        int32_t count = 0;
        for (;;) {
            if (ctx->match.selected) {
                ctx->match.selected = false;
                if (!ctx->SelectParagraph(ctx->match.paragraph))
                    break;
            } else {
                const TextPosition caret = ctx->CaretPosition();
                if (!ctx->SelectParagraph(int32_t(caret.paragraph)) ||
                    !FindInStory(ctx, caret.character, settings))
                    break;
            }
            const FindMatch match = ctx->match;
            SetFrameSelection(ctx, TextPosition{uint32_t(match.paragraph), match.start},
                             TextPosition{uint32_t(match.paragraph), match.end}, true);
            ctx->Host().SaveUndo();
            // A match the paragraph limit refuses ends the run: searching on
            // from the caret would find it again.
            if (!ReplaceSelection(ctx, settings.replace))
                break;
            ++count;
        }
        SetFrameSelection(ctx, ctx->CaretPosition(), ctx->CaretPosition(), true);
        if (count > 0) {
            const std::string text = std::to_string(count) + " instances changed !";
            AlertShowText(kAlertKindNote, text.c_str(), 0);
            Reflow(ctx);
        } else {
            PlayBeep(10);
        }
        if (ctx->Frame() && ctx->Frames())
            ctx->Frames()->SetEditFlag(ctx->Frame(), true);
        return count;
    }
    }
    return 0;
}
