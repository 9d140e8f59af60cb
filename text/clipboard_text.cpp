#include "text/clipboard_text.h"

#include <algorithm>
#include <vector>

#include "foundation/alerts.h"
#include "frames/frame_document.h"
#include "frames/frame_obj_text.h"
#include "frames/frame_store.h"
#include "frames/record_header_format.h"
#include "frames/story_store.h"
#include "frames/style_runs.h"
#include "frames/text_buffer.h"
#include "graphics/beep.h"
#include "text/caret_geometry.h"
#include "text/edit_frame.h"
#include "text/edit_primitives.h"
#include "text/pasted_fonts.h"
#include "text/text_clipboard.h"
#include "text/text_context.h"

namespace {

ParagraphText ClipParagraph(TextBuffer* buffer) { return ParagraphText(buffer->CurrentParagraph(), HeaderFlags(buffer->Current())); }

// A merge field or page number whose text the cut took in part is plain
// text now: a field run reaching past the text would, when its field is
// refreshed, overwrite what follows it.
void DropBrokenFields(ParagraphText* para)
{
    std::vector<RunEntry> runs = ReadRunTable(*para);
    const int32_t text = para->Length() - 1;
    bool changed = false;
    for (RunEntry& r : runs) {
        if ((r.flags & kRunField) && int32_t(r.start) + int16_t(r.fieldLength) > text) {
            r.flags = uint16_t(r.flags & ~kRunField);
            changed = true;
        }
    }
    if (!changed)
        return;
    runs.erase(std::remove_if(runs.begin(), runs.end(),
                              [](const RunEntry& r) { return (r.flags & (kRunField | kRunPageNumber | kRunValueBits)) == 0; }),
               runs.end());
    WriteRunTable(para, runs);
}

// Characters [from, to) of the clipboard's current paragraph go.
void CutClipParagraph(TextBuffer* buffer, int32_t from, int32_t to)
{
    ParagraphText para = ClipParagraph(buffer);
    to = std::min<int32_t>(to, para.Length() - 1);
    if (!para.valid() || to <= from)
        return;
    AdjustRunsForDelete(&para, uint16_t(from), uint32_t(to - from));
    para.DeleteChars(uint16_t(from), uint16_t(to - 1), true);
    DropBrokenFields(&para);
    buffer->SetParagraphFlags(para.flags());
}

// The selection's place, and how long the text before and after it in its
// paragraphs is (the end mark counted after it).
struct PastePlace {
    bool selection = false;
    bool all = false;
    TextPosition start;
    TextPosition end;
    int32_t head = 0;
    int32_t tail = 0;
};

PastePlace FindPastePlace(TextContext* ctx)
{
    PastePlace place;
    const TextPosition caret = ctx->CaretPosition();
    place.selection = GetFrameSelection(ctx, &place.start, &place.end);
    place.all = place.selection && ctx->Document()->Stories()->IsAllSelected();
    if (place.all) {
        place.tail = 1;
    } else if (place.selection) {
        place.head = place.start.character;
        if (ctx->SelectParagraph(int32_t(place.end.paragraph)))
            place.tail = std::max<int32_t>(ctx->Current().Length() - place.end.character, 1);
    } else {
        place.head = caret.character;
        place.tail = ctx->Current().Length() - caret.character;
    }
    ctx->SelectParagraph(int32_t(caret.paragraph));
    ctx->SetCaretCharacter(caret.character);
    return place;
}

// The most lines a paste here can have. Several split the paragraph at hand
// and go between its halves before the outer two join them, so the story
// must hold its own paragraphs (less those the selection joins), one more,
// and the pasted ones.
int32_t RoomAt(TextContext* ctx, const PastePlace& place)
{
    int32_t kept = ctx->ParagraphCount();
    if (place.all)
        kept = 1;
    else if (place.selection)
        kept -= int32_t(place.end.paragraph) - int32_t(place.start.paragraph);
    return std::max<int32_t>(TextBuffer::kMostParagraphs - 1 - kept, 1);
}

// One clipboard paragraph into the paragraph at hand at the caret, its runs
// made again over the inserted characters.
bool PasteOne(TextContext* ctx, TextBuffer* clip, const CopiedFonts& copied, const FontIds& fonts)
{
    if (!clip->SelectParagraph(0))
        return false;
    const ParagraphText source = ClipParagraph(clip);
    const int32_t n = std::max<int32_t>(source.Length() - 1, 0);
    const std::vector<uint8_t> text(source.Chars(), source.Chars() + n);
    const uint32_t style = source.StyleId();
    std::vector<RunEntry> runs = ReadRunTable(source);
    RenumberFonts(&runs, fonts);
    const uint16_t p = ctx->Caret();
    if (n > 0 && !InsertBytes(ctx, p, text.data(), uint32_t(n)))
        return false;
    ParagraphText para = ctx->Current();
    AdjustRunsForInsert(&para, p, uint32_t(n));
    // What the inserted text shows where the copy set no font: the font of
    // a run that grew over it, else that of the paragraph's style.
    RunCache grown;
    const int16_t shown = LoadRunAt(para, p, &grown) && grown.Has(kRunFont) ? grown.Value(kRankFont)
                                                                             : StyleFont(ctx, para.StyleId());
    for (const RunEntry& r : runs) {
        const int32_t s = p + r.start;
        const int32_t e = p + std::min<int32_t>(r.end, n);
        if (r.start >= n)
            continue;
        if ((r.flags & kRunField) && int32_t(r.start) + int16_t(r.fieldLength) <= n)
            MarkFieldRun(&para, s, int16_t(r.fieldId), int16_t(r.fieldLength));
        if (r.flags & kRunPageNumber) {
            RunExtras extras;
            extras.pageKind = int16_t(r.pageKind);
            SetRunAttributes(&para, s, e, kRunPageNumber, kRunDefaults, false, extras);
        }
        if (r.flags & kRunValueBits)
            SetRunAttributes(&para, s, e, uint16_t(r.flags & kRunValueBits), r.values, true);
    }
    const int16_t kept = KeptStyleFont(ctx, copied, style, shown);
    if (kept >= 0)
        FillUnsetFont(&para, runs, p, p, p + n, kept);
    ctx->StoreFlags(para);
    return true;
}

// Several: the paragraph splits at the caret, the clipboard's paragraphs
// go between the halves and the outer two join them.
bool PasteSeveral(TextContext* ctx, TextBuffer* clip, const CopiedFonts& copied, const FontIds& fonts)
{
    const int32_t paragraph = ctx->ParagraphIndex();
    const int32_t n = clip->Count();
    if (!SplitParagraph(ctx, ctx->Caret()))
        return false;
    if (ctx->Buffer().CopyRecords(clip, 0, n - 1, paragraph + 1) != 0) {
        CheckMemError(MemLastError() ? MemLastError() : kMemOutOfMemory);
        return false;
    }
    const uint32_t head = ctx->SelectParagraph(paragraph) ? ctx->Current().StyleId() : 0;
    for (int32_t i = paragraph + 1; i <= paragraph + n; ++i) {
        if (ctx->SelectParagraph(i))
            AdoptPastedFonts(ctx, copied, fonts, i == paragraph + 1 ? head : ctx->Current().StyleId());
    }
    ctx->SelectParagraph(paragraph + 1);
    DeleteCharAt(ctx, 0, false);
    const int32_t last = paragraph + n - 1;
    if (!ctx->SelectParagraph(last))
        return false;
    DeleteCharAt(ctx, uint16_t(ctx->Current().Length() - 1), true);
    return true;
}

}  // namespace

uint8_t CopySelectionToClipboard(TextContext* ctx)
{
    TextClipboard* clipboard = ctx->Host().Clipboard();
    TextPosition start;
    TextPosition end;
    if (!clipboard || !GetFrameSelection(ctx, &start, &end))
        return 0;
    const bool all = ctx->Document()->Stories()->IsAllSelected();
    const TextPosition caret = ctx->CaretPosition();
    if (all) {
        start = TextPosition{};
        end = TextPosition{uint32_t(ctx->ParagraphCount() - 1), 0};
    }
    TextBuffer* clip = clipboard->Paragraphs();
    clip->DeleteRange(0, clip->Count());
    const int32_t copied = clip->CopyRecords(&ctx->Buffer(), int32_t(start.paragraph), int32_t(end.paragraph), 0);
    ctx->SelectParagraph(int32_t(caret.paragraph));
    ctx->SetCaretCharacter(caret.character);
    if (copied != 0) {
        clip->DeleteRange(0, clip->Count());
        return 0;
    }
    if (!all) {
        const int32_t last = int32_t(end.paragraph - start.paragraph);
        if (clip->SelectParagraph(last))
            CutClipParagraph(clip, end.character, 0xFFFF);
        if (clip->SelectParagraph(0))
            CutClipParagraph(clip, 0, start.character);
    }
    clipboard->Fonts().clear();
    AddCopiedFonts(ctx, clip, &clipboard->Fonts());
    clipboard->SetContentKind(TextClipboard::kContentText);
    return 1;
}

int32_t PasteRoom(TextContext* ctx) { return RoomAt(ctx, FindPastePlace(ctx)); }

std::string PasteTooLongText(int32_t lines, int32_t room)
{
    return "The text was not pasted: it has " + std::to_string(lines) +
           " lines, and the text it goes into can take a paste of at most " + std::to_string(room) + ".";
}

bool CanPasteText(TextContext* ctx)
{
    TextClipboard* clipboard = ctx->Host().Clipboard();
    return clipboard && clipboard->HoldsText() &&
           clipboard->Paragraphs()->Count() > 0;
}

uint8_t PasteText(TextContext* ctx)
{
    if (!ctx->Frame() || !CanPasteText(ctx))
        return 0;
    TextClipboard* clipboard = ctx->Host().Clipboard();
    TextBuffer* clip = clipboard->Paragraphs();
    const int32_t n = clip->Count();
    int32_t firstLength = 0;
    int32_t lastLength = 0;
    if (clip->SelectParagraph(0))
        firstLength = ClipParagraph(clip).Length();
    if (clip->SelectParagraph(n - 1))
        lastLength = ClipParagraph(clip).Length();

    // Every paragraph the paste makes stays inside the limit, the one that
    // joins the last pasted paragraph to the text after the caret too.
    const PastePlace place = FindPastePlace(ctx);
    // A merge field's characters change only as a whole, as with typing.
    int32_t use = 0;
    if (place.selection ? !place.all && SelectionSplitsField(ctx, place.start, place.end)
                        : IsInFieldRun(ctx->Current(), ctx->Caret(), false, &use)) {
        PlayBeep(5);
        return 0;
    }
    const int32_t limit = int32_t(kParagraphMaxLength);
    const bool tooLarge = n == 1 ? place.head + firstLength - 1 + place.tail > limit
                                 : place.head + firstLength > limit || lastLength - 1 + place.tail > limit;
    if (tooLarge) {
        AlertStopById(kTextAlertBase, kAlertPasteTooLarge, 0);
        return 0;
    }
    const int32_t room = RoomAt(ctx, place);
    if (n > room) {
        AlertStop(PasteTooLongText(n, room).c_str(), 0);
        return 0;
    }
    if (place.selection)
        DeleteShownSelection(ctx, place.start, place.all);
    const FontIds fonts = TargetFontIds(ctx, clipboard->Fonts());
    const bool pasted =
        n == 1 ? PasteOne(ctx, clip, clipboard->Fonts(), fonts) : PasteSeveral(ctx, clip, clipboard->Fonts(), fonts);
    clipboard->ReleaseLoaded();
    if (!pasted && !place.selection)
        return 0;
    ctx->Host().SetModified();
    ctx->edit.lastCaret = ctx->CaretPosition();
    FlowEditFrame(ctx, true);
    IntPoint point;
    GetCaretPoint(ctx, &point, nullptr);
    if (PastFrameText(ctx, ctx->CaretPosition()))
        CrossToFrameShowing(ctx, ctx->CaretPosition());
    ctx->Host().ShowCaret();
    return pasted ? 1 : 0;
}
