#include "text/edit_primitives.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "foundation/alerts.h"
#include "frames/frame_document.h"
#include "frames/frame_obj_text.h"
#include "frames/frame_store.h"
#include "frames/story_store.h"
#include "frames/style_runs.h"
#include "frames/style_sheet.h"
#include "frames/text_buffer.h"
#include "text/para_format.h"
#include "text/text_context.h"

namespace {

constexpr uint8_t kMark = 13;

void MoveCaret(TextContext* ctx, int32_t delta)
{
    ctx->SetCaretCharacter(uint16_t(std::clamp<int32_t>(ctx->Caret() + delta, 0, 0xFFFF)));
}

// The characters of the paragraph at hand without its end mark, and its
// runs.
struct ParagraphCopy {
    std::vector<uint8_t> text;
    std::vector<RunEntry> runs;
};

ParagraphCopy CopyOf(const ParagraphText& para)
{
    ParagraphCopy copy;
    const int32_t n = std::max<int32_t>(para.Length() - 1, 0);
    copy.text.assign(para.Chars(), para.Chars() + n);
    copy.runs = ReadRunTable(para);
    return copy;
}

// Appends the second paragraph's text (and runs) before the end mark of
// the paragraph at hand. Every byte of growth is reserved first, so that a
// refusal or a memory failure changes nothing.
bool AppendParagraph(TextContext* ctx, const ParagraphCopy& second, int32_t alert)
{
    ParagraphText para = ctx->Current();
    if (!para.valid() || para.Length() == 0)
        return false;
    const uint32_t at = para.Length() - 1u;
    if (at + second.text.size() + 1 > kParagraphMaxLength) {
        AlertStopById(kTextAlertBase, alert, 0);
        return false;
    }
    if (!para.ReserveText(uint32_t(second.text.size()))) {
        CheckMemError(MemLastError() ? MemLastError() : kMemOutOfMemory);
        return false;
    }
    std::vector<RunEntry> runs;
    for (RunEntry r : ReadRunTable(para)) {
        // The first paragraph's runs stop at its text; its mark goes.
        r.end = uint16_t(std::min<uint32_t>(r.end, at));
        if (r.end > r.start)
            runs.push_back(r);
    }
    for (RunEntry r : second.runs) {
        if (r.end <= r.start)
            continue;
        r.start = uint16_t(r.start + at);
        r.end = uint16_t(r.end + at);
        runs.push_back(r);
    }
    if (!WriteRunTable(&para, runs))
        return false;
    para.InsertBytes(uint16_t(at), second.text.data(), uint32_t(second.text.size()));
    ctx->StoreFlags(para);
    return true;
}

// Whether [c1, c2) is the whole paragraph that a fourth click selected:
// from its first character that is not a space through its end.
bool IsWholeParagraphClick(TextContext* ctx, const ParagraphText& para, int32_t c1, int32_t c2)
{
    if (ctx->Host().ClickState() != 4)
        return false;
    int32_t first = 0;
    while (first < para.Length() - 1 && para.Char(first) == ' ')
        ++first;
    return c1 <= first && c2 >= para.Length() - 1;
}

void DeleteRecords(TextContext* ctx, int32_t first, int32_t n)
{
    if (n > 0)
        ctx->Buffer().DeleteRange(first, n);
}

}  // namespace

bool InsertChar(TextContext* ctx, uint16_t p, uint8_t ch) { return InsertBytes(ctx, p, &ch, 1); }

bool InsertBytes(TextContext* ctx, uint16_t p, const uint8_t* source, uint32_t n)
{
    ParagraphText para = ctx->Current();
    if (!para.valid() || p > para.Length())
        return false;
    if (para.Length() + n > kParagraphMaxLength) {
        AlertStopById(kTextAlertBase, kAlertParagraphTooLarge, 0);
        return false;
    }
    if (!para.InsertBytes(p, source, n)) {
        CheckMemError(MemLastError() ? MemLastError() : kMemOutOfMemory);
        return false;
    }
    MoveCaret(ctx, int32_t(n));
    return true;
}

uint32_t DeleteChars(TextContext* ctx, uint16_t from, uint16_t to, bool forward, bool move)
{
    ParagraphText para = ctx->Current();
    const uint32_t removed = para.DeleteChars(from, to, forward);
    if (move && !forward && removed)
        MoveCaret(ctx, -int32_t(removed));
    return removed;
}

bool InsertCharAt(TextContext* ctx, uint16_t p, uint8_t ch)
{
    ParagraphText para = ctx->Current();
    if (!para.valid())
        return false;
    if (ch != kMark) {
        if (p > 0) {
            RunCache before;
            if (LoadRunAt(para, p - 1, &before) && before.Has(kRunPageNumber) && before.pageKind >= 1)
                return false;
        }
        if (!InsertChar(ctx, p, ch))
            return false;
        para.Relayout();
        AdjustRunsForInsert(&para, p, 1);
        return true;
    }

    // Also where no line of the frame shows the caret (text typed past a
    // chain's last frame): the break is kept and the frame marks the text
    // it cannot hold, as it does for every other character typed there.
    return SplitParagraph(ctx, p);
}

bool SplitParagraph(TextContext* ctx, uint16_t p)
{
    ParagraphText para = ctx->Current();
    if (!para.valid())
        return false;
    const int32_t index = ctx->ParagraphIndex();
    const uint32_t nextStyle = NextStyleId(ctx);
    const uint16_t overrides = uint16_t(OverrideFlags(para) & ~kOverRelativeLeading);
    const ParaFormat inForce = EffectiveParaFormat(ctx->Styles(), para, false);
    std::vector<uint8_t> tabs;
    if (para.TabBlock())
        tabs.assign(para.TabBlock(), para.TabBlock() + kParagraphTabBlockSize);
    const uint16_t length = para.Length();
    if (p > length - 1)
        p = uint16_t(length - 1);

    Handle copy = nullptr;
    uint8_t copyFlags = para.flags();
    if (p < length - 1) {
        if (HandleFromBytes(HandleData(para.handle()), &copy, ParagraphUsedBytes(para.layout())) != 0) {
            CheckMemError(MemLastError());
            return false;
        }
        ParagraphText tail(copy, copyFlags);
        if (p > 0) {
            AdjustRunsForDelete(&tail, 0, p);
            tail.DeleteChars(0, uint16_t(p - 1), true);
        }
        copyFlags = tail.flags();
        AdjustRunsForDelete(&para, p, uint32_t(length - 1 - p));
        para.DeleteChars(p, uint16_t(length - 1), true);
        ctx->StoreFlags(para);
    } else {
        copy = NewParagraph();
        copyFlags = 0;
        if (!copy) {
            CheckMemError(kMemOutOfMemory);
            return false;
        }
    }
    if (ctx->Buffer().InsertRecord(index + 1, copy, false) == 0) {
        HandleFree(copy);
        CheckMemError(kMemOutOfMemory);
        return false;
    }
    ctx->Buffer().SetParagraphFlags(copyFlags);
    ctx->SelectParagraph(index + 1);
    ParagraphText fresh = ctx->Current();
    fresh.SetStyleId(nextStyle);
    if (overrides) {
        fresh.RemoveOverrideBlock();
        ParaFormat style;
        ctx->Styles()->GetParaFormat(nextStyle, &style);
        auto carry = [&](uint16_t bit, int16_t want, int16_t has) {
            if (want != has)
                SetOverrideField(&fresh, bit, want);
        };
        carry(kOverFirstIndent, inForce.firstLineIndent, style.firstLineIndent);
        carry(kOverRightIndent, inForce.rightIndent, style.rightIndent);
        carry(kOverLeftIndent, inForce.leftIndent, style.leftIndent);
        carry(kOverSpaceBefore, inForce.spaceBefore, style.spaceBefore);
        carry(kOverSpaceAfter, inForce.spaceAfter, style.spaceAfter);
        carry(kOverKeepTogether, inForce.keepTogether, style.keepTogether);
        carry(kOverKeepNext, inForce.keepWithNext, style.keepWithNext);
        carry(kOverAlignment, inForce.alignment, style.alignment);
        carry(kOverLeading, inForce.leading, style.leading);
        carry(kOverLineSpacing, inForce.lineSpacing, style.lineSpacing);
    } else {
        fresh.RemoveOverrideBlock();
    }
    if (!tabs.empty() && fresh.AddTabBlock()) {
        std::memcpy(fresh.TabBlock(), tabs.data(), tabs.size());
        fresh.TabBlock()[0] = 1;
    }
    ctx->StoreFlags(fresh);
    ctx->SetCaretCharacter(0);
    return true;
}

uint8_t DeleteCharAt(TextContext* ctx, uint16_t p, bool forward)
{
    ParagraphText para = ctx->Current();
    if (!para.valid())
        return 1;
    const int32_t index = ctx->ParagraphIndex();
    const bool joinNext = forward && p == para.Length() - 1 && para.Char(p) == kMark;
    const bool joinPrevious = !forward && p == 0;
    if (!joinNext && !joinPrevious) {
        if (DeleteChars(ctx, p, p, forward, true) != 0) {
            para.Relayout();
            AdjustRunsForDelete(&para, p, 1);
            ctx->StoreFlags(para);
        }
        return 1;
    }
    const int32_t first = joinNext ? index : index - 1;
    if (first < 0 || first + 1 >= ctx->ParagraphCount())
        return 1;
    if (!ctx->SelectParagraph(first + 1))
        return 1;
    const ParagraphCopy second = CopyOf(ctx->Current());
    if (!ctx->SelectParagraph(first))
        return 1;
    const uint16_t joinAt = uint16_t(ctx->Current().Length() - 1);
    if (!AppendParagraph(ctx, second, kAlertParagraphTooLarge)) {
        ctx->SelectParagraph(index);
        return 1;
    }
    DeleteRecords(ctx, first + 1, 1);
    ctx->SelectParagraph(first);
    ctx->SetCaretCharacter(joinAt);
    return 0;
}

void DeleteRange(TextContext* ctx, TextPosition start, TextPosition end, bool forward)
{
    const int32_t p1 = int32_t(start.paragraph);
    const int32_t p2 = int32_t(end.paragraph);
    const int32_t c1 = start.character;
    const int32_t c2 = end.character;
    if (p1 > p2 || (p1 == p2 && c2 <= c1) || p2 >= ctx->ParagraphCount())
        return;
    if (p1 == p2) {
        if (!ctx->SelectParagraph(p1))
            return;
        ParagraphText para = ctx->Current();
        if (IsWholeParagraphClick(ctx, para, c1, c2) || (c1 == 0 && c2 - 1 >= para.Length() - 1)) {
            DeleteRecords(ctx, p1, 1);
            if (p1 < ctx->ParagraphCount())
                ctx->SelectParagraph(p1);
            return;
        }
        const uint32_t removed = para.DeleteChars(uint16_t(c1), uint16_t(c2 - 1), forward);
        if (removed) {
            AdjustRunsForDelete(&para, uint16_t(c1), removed);
            ctx->StoreFlags(para);
        }
        return;
    }

    // What the first and the last keep, and whether their join stays
    // inside the paragraph limit, before anything goes.
    if (!ctx->SelectParagraph(p2))
        return;
    const int32_t lastLength = ctx->Current().Length();
    const bool lastGoes = c2 - 1 >= lastLength - 1;
    if (!ctx->SelectParagraph(p1))
        return;
    const bool firstGoes = c1 == 0;
    if (!firstGoes && !lastGoes && uint32_t(c1) + uint32_t(lastLength - c2) > kParagraphMaxLength) {
        AlertStopById(kTextAlertBase, kAlertParagraphTooLarge, 0);
        return;
    }
    ParagraphCopy rest;
    if (!lastGoes) {
        ctx->SelectParagraph(p2);
        ParagraphText last = ctx->Current();
        if (c2 > 0) {
            AdjustRunsForDelete(&last, 0, uint32_t(c2));
            last.DeleteChars(0, uint16_t(c2 - 1), true);
            ctx->StoreFlags(last);
        }
        rest = CopyOf(last);
    }
    if (!firstGoes) {
        ctx->SelectParagraph(p1);
        ParagraphText first = ctx->Current();
        const int32_t length = first.Length();
        if (c1 < length - 1) {
            AdjustRunsForDelete(&first, uint16_t(c1), uint32_t(length - 1 - c1));
            first.DeleteChars(uint16_t(c1), uint16_t(length - 1), true);
            ctx->StoreFlags(first);
        }
    }
    // The paragraphs between go, and the first and the last when they lost
    // everything; what is left of the last joins the first.
    const int32_t deleteFrom = firstGoes ? p1 : p1 + 1;
    int32_t deleteTo = p2 - 1;
    bool join = false;
    if (!lastGoes && !firstGoes) {
        ctx->SelectParagraph(p1);
        join = AppendParagraph(ctx, rest, kAlertParagraphTooLarge);
        deleteTo = join ? p2 : p2 - 1;
    } else if (lastGoes) {
        deleteTo = p2;
    }
    DeleteRecords(ctx, deleteFrom, deleteTo - deleteFrom + 1);
    if (ctx->ParagraphCount() > 0)
        ctx->SelectParagraph(std::min(p1, ctx->ParagraphCount() - 1));
}

bool GetFrameSelection(TextContext* ctx, TextPosition* start, TextPosition* end)
{
    FrameObjText* frame = ctx->Frame();
    FrameStore* frames = ctx->Frames();
    if (!frame || !frames || !frames->IsInEdit(frame))
        return false;
    uint32_t paragraph = 0;
    uint16_t character = 0;
    frames->GetTextRef(frame->FrameId(), 0, &paragraph, &character);
    *start = TextPosition{paragraph, character};
    frames->GetTextRef(frame->FrameId(), 1, &paragraph, &character);
    *end = TextPosition{paragraph, character};
    return true;
}

void DeleteSelection(TextContext* ctx, bool forward)
{
    StoryStore* stories = ctx->Document()->Stories();
    if (stories->IsAllSelected()) {
        ctx->Buffer().DeleteRange(0, ctx->ParagraphCount());
    } else {
        TextPosition start;
        TextPosition end;
        if (GetFrameSelection(ctx, &start, &end))
            DeleteRange(ctx, start, end, forward);
    }
    if (ctx->ParagraphCount() == 0) {
        ctx->Buffer().NewRecord(false);
        ctx->SelectParagraph(0);
        ctx->SetCaretCharacter(0);
    }
}

void GetSelectedText(TextContext* ctx, uint8_t* out256)
{
    out256[0] = 0;
    TextPosition start;
    TextPosition end;
    if (!GetFrameSelection(ctx, &start, &end) || start.paragraph != end.paragraph)
        return;
    const int32_t n = int32_t(end.character) - start.character;
    if (n < 1 || n > 254 || !ctx->SelectParagraph(int32_t(start.paragraph)))
        return;
    const ParagraphText para = ctx->Current();
    if (end.character > para.Length())
        return;
    out256[0] = uint8_t(n);
    std::memcpy(out256 + 1, para.Chars() + start.character, size_t(n));
}

uint32_t NextStyleId(TextContext* ctx)
{
    uint8_t record[kStyleRecordSize] = {};
    if (!ctx->Styles()->GetStyleById(ctx->Current().StyleId(), record))
        ctx->Styles()->GetStyleById(0, record);
    char name[kStyleNextNameSize + 1] = {};
    std::memcpy(name, record + kStyleNextNameOffset, kStyleNextNameSize);
    return ctx->Styles()->FindStyleByName(name);
}

void SetLineSpacing(TextContext* ctx, int16_t kind)
{
    TextPosition start = ctx->CaretPosition();
    TextPosition end = start;
    GetFrameSelection(ctx, &start, &end);
    const int32_t current = ctx->ParagraphIndex();
    for (uint32_t p = start.paragraph; p <= end.paragraph; ++p) {
        if (!ctx->SelectParagraph(int32_t(p)))
            break;
        ParagraphText para = ctx->Current();
        if (SetParagraphLineSpacing(&para, kind))
            ctx->StoreFlags(para);
        else
            CheckMemError(MemLastError() ? MemLastError() : kMemOutOfMemory);
    }
    if (current >= 0)
        ctx->SelectParagraph(current);
    FrameObjText* frame = ctx->Frame();
    if (frame && ctx->Frames())
        ctx->Frames()->MarkStoryFrames(false, frame->Block().storyId);
    ctx->Document()->RedrawAfterChainChange();
}
