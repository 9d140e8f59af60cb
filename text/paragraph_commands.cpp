#include "text/paragraph_commands.h"

#include <cstring>

#include "frames/frame_document.h"
#include "frames/frame_obj_text.h"
#include "frames/frame_store.h"
#include "frames/story_store.h"
#include "frames/style_sheet.h"
#include "frames/tab_stops.h"
#include "text/edit_frame.h"
#include "text/edit_primitives.h"
#include "text/format_publish.h"
#include "text/para_format.h"
#include "text/text_context.h"

namespace {

struct ParagraphRange {
    int32_t first = 0;
    int32_t last = -1;
    bool selection = false;
    bool all = false;
};

// The caret's paragraph, the selection's paragraphs, or every paragraph of
// a story selected whole.
ParagraphRange RangeOf(TextContext* ctx)
{
    ParagraphRange range;
    TextPosition start;
    TextPosition end;
    range.selection = GetFrameSelection(ctx, &start, &end);
    range.all = range.selection && ctx->Document()->Stories()->IsAllSelected();
    if (range.all) {
        range.last = ctx->ParagraphCount() - 1;
    } else if (range.selection) {
        range.first = int32_t(start.paragraph);
        range.last = int32_t(end.paragraph);
    } else {
        range.first = range.last = ctx->ParagraphIndex();
    }
    return range;
}

// Runs the change on each paragraph of the range; its blocks go back into
// the paragraph's record. The paragraph at hand and the caret stay.
template <typename Change>
void ForEachParagraph(TextContext* ctx, const ParagraphRange& range, Change change)
{
    const TextPosition caret = ctx->CaretPosition();
    for (int32_t p = range.first; p <= range.last; ++p) {
        if (!ctx->SelectParagraph(p))
            continue;
        ParagraphText para = ctx->Current();
        const bool ok = change(&para);
        ctx->StoreFlags(para);
        if (!ok) {
            CheckMemError(MemLastError() ? MemLastError() : kMemOutOfMemory);
            break;
        }
    }
    ctx->SelectParagraph(int32_t(caret.paragraph));
    ctx->SetCaretCharacter(caret.character);
}

void MarkStory(TextContext* ctx)
{
    if (FrameObjText* frame = ctx->Frame())
        ctx->Frames()->MarkStoryFrames(false, int16_t(frame->Block().storyId));
}

// After paragraph formats changed: the frame flows and the page is drawn
// again, the tool bound anew.
void Reflow(TextContext* ctx, bool wholeStory)
{
    if (wholeStory)
        MarkStory(ctx);
    FlowEditFrame(ctx, true);
    RedrawEditFrame(ctx);
    RebindEditor(ctx);
}

// An absolute leading replaces one relative to the style's size, which
// would otherwise win over it.
bool SetLeadingField(ParagraphText* para, int16_t leading)
{
    ClearOverrideField(para, kOverRelativeLeading);
    return SetOverrideField(para, kOverLeading, leading);
}

}  // namespace

void SetAlignment(TextContext* ctx, int16_t alignment)
{
    if (alignment <= 0)
        return;
    ctx->Host().HideCaret();
    const ParagraphRange range = RangeOf(ctx);
    ForEachParagraph(ctx, range, [&](ParagraphText* para) {
        ParaFormat style;
        ctx->Styles()->GetParaFormat(para->StyleId(), &style);
        if (alignment == style.alignment) {
            ClearOverrideField(para, kOverAlignment);
            return true;
        }
        return SetOverrideField(para, kOverAlignment, alignment);
    });
    Reflow(ctx, true);
    ctx->Host().RestartCaret();
}

void SetLeading(TextContext* ctx, int16_t leading)
{
    if (leading < 0)
        return;
    ctx->Host().HideCaret();
    const ParagraphRange range = RangeOf(ctx);
    ForEachParagraph(ctx, range, [&](ParagraphText* para) {
        if (leading == 0) {
            ClearOverrideField(para, kOverLeading);
            return true;
        }
        return SetLeadingField(para, leading);
    });
    Reflow(ctx, true);
    ctx->Host().RestartCaret();
}

void ApplyParagraphInfo(TextContext* ctx, uint8_t keep)
{
    ParagraphText para = ctx->Current();
    if (!para.valid())
        return;
    bool changed = false;
    bool ok = true;
    if (keep == 0) {
        changed = true;
        para.RemoveOverrideBlock();
    } else {
        const ParaFormat want = ctx->Host().ParagraphAttributes();
        const ParaFormat has = EffectiveParaFormat(ctx->Styles(), para, false);
        auto set = [&](uint16_t bit, int16_t wanted, int16_t present) {
            if (!ok || wanted == present)
                return;
            ok = bit == kOverLeading ? SetLeadingField(&para, wanted) : SetOverrideField(&para, bit, wanted);
            changed = changed || ok;
        };
        set(kOverLeftIndent, want.leftIndent, has.leftIndent);
        set(kOverRightIndent, want.rightIndent, has.rightIndent);
        set(kOverFirstIndent, want.firstLineIndent, has.firstLineIndent);
        set(kOverSpaceBefore, want.spaceBefore, has.spaceBefore);
        set(kOverSpaceAfter, want.spaceAfter, has.spaceAfter);
        set(kOverKeepTogether, want.keepTogether, has.keepTogether);
        set(kOverKeepNext, want.keepWithNext, has.keepWithNext);
        set(kOverAlignment, want.alignment, has.alignment);
        set(kOverLeading, want.leading, has.leading);
    }
    ctx->StoreFlags(para);
    if (!ok)
        CheckMemError(MemLastError() ? MemLastError() : kMemOutOfMemory);
    if (!changed) {
        RedrawEditFrame(ctx);
        return;
    }
    // Keep rules may move the paragraph to another frame of the chain.
    CrossToFrameShowing(ctx, ctx->CaretPosition());
    Reflow(ctx, RangeOf(ctx).all);
}

void SetParagraphStyle(TextContext* ctx, uint32_t styleId)
{
    const ParagraphRange range = RangeOf(ctx);
    if (range.selection) {
        ForEachParagraph(ctx, range, [&](ParagraphText* para) {
            para->SetStyleId(styleId);
            return true;
        });
        FrameObjText* frame = ctx->Frame();
        if (range.all)
            ctx->Frames()->SetEditFlagAll(frame, false);
        Reflow(ctx, range.all);
        if (range.all)
            ctx->Host().SelectAll(true, true);
        return;
    }
    ctx->Host().HideCaret();
    ParagraphText para = ctx->Current();
    para.SetStyleId(styleId);
    ctx->StoreFlags(para);
    const ParaFormat now = EffectiveParaFormat(ctx->Styles(), ctx->Current(), false);
    const ParaFormat tool = ctx->Host().ParagraphAttributes();
    if (now.keepWithNext != tool.keepWithNext || now.keepTogether != tool.keepTogether)
        CrossToFrameShowing(ctx, ctx->CaretPosition());
    Reflow(ctx, false);
    PublishCaretFormat(ctx, 0xFFFF);
    ctx->Host().RestartCaret();
}

void SetTabs(TextContext* ctx, const uint8_t* block)
{
    const ParagraphRange range = RangeOf(ctx);
    ForEachParagraph(ctx, range, [&](ParagraphText* para) {
        if (block[0] == 0) {
            para->RemoveTabBlock();
            return true;
        }
        if (!para->AddTabBlock())
            return false;
        uint8_t* own = para->TabBlock();
        own[0] = 1;
        std::memcpy(own + 2, block + 2, kTabBlockBytes - 2);
        return true;
    });
    Reflow(ctx, range.all);
}

bool AddOverrideBlock(TextContext* ctx)
{
    ParagraphText para = ctx->Current();
    if (!para.AddOverrideBlock())
        return CheckMemError(MemLastError() ? MemLastError() : kMemOutOfMemory);
    ctx->StoreFlags(para);
    return true;
}

void RemoveOverrideBlock(TextContext* ctx)
{
    ParagraphText para = ctx->Current();
    para.RemoveOverrideBlock();
    ctx->StoreFlags(para);
}

bool AddTabBlock(TextContext* ctx)
{
    ParagraphText para = ctx->Current();
    if (!para.AddTabBlock())
        return CheckMemError(MemLastError() ? MemLastError() : kMemOutOfMemory);
    ctx->StoreFlags(para);
    return true;
}

void RemoveTabBlock(TextContext* ctx)
{
    ParagraphText para = ctx->Current();
    para.RemoveTabBlock();
    ctx->StoreFlags(para);
}
