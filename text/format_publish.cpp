#include "text/format_publish.h"

#include <cstring>

#include "database/field_table.h"
#include "foundation/byte_order.h"
#include "frames/frame_obj_text.h"
#include "frames/frame_store.h"
#include "frames/style_record_format.h"
#include "frames/style_runs.h"
#include "frames/style_sheet.h"
#include "text/edit_primitives.h"
#include "text/para_format.h"
#include "text/text_context.h"

namespace {

constexpr int16_t kNoMergeField = int16_t(0xFBA9);

// Whether a run's value of an attribute counts.
bool Counts(int rank, int16_t v)
{
    switch (rank) {
    case kRankSuperSub: return v != -100;
    case kRankRangeSpacing: return v >= -500;
    case kRankBaselineShift: return v >= -36;
    case kRankPairSpacing: return v >= -500;
    default: return v >= 0;
    }
}

int16_t StartValue(int rank) { return rank == kRankRangeSpacing ? -2000 : -200; }

int16_t MixedMarker(int rank)
{
    switch (rank) {
    case kRankSuperSub: return -100;
    case kRankStyle:
    case kRankRangeSpacing:
    case kRankBaselineShift: return -1111;
    default: return -1;
    }
}

void PutBaseWord(uint8_t* record, int rank, int16_t v) { PutI16LE(record + kStyleBaseFormatOffset + 2 * rank, v); }

int32_t MergeFieldColumn(int32_t fieldId) { return fieldId >= 0 ? FieldIndexOfId(fieldId, 0) : kNoMergeField; }

// A merged character attribute.
struct Merged {
    int16_t value = -200;
    bool mixed = false;
    bool started = false;
};

void MergeValue(Merged* m, int16_t v)
{
    if (m->mixed)
        return;
    if (!m->started) {
        m->value = v;
        m->started = true;
    } else if (v != m->value) {
        m->mixed = true;
    }
}

void MergeStyle(Merged* m, int16_t v, bool fromRun)
{
    if (m->mixed)
        return;
    if (!m->started) {
        m->value = v;
        m->started = true;
        return;
    }
    if (fromRun || v != m->value) {
        m->value = int16_t(m->value & v);
        if (m->value == 0)
            m->mixed = true;
    }
}

}  // namespace

void GetFormatAtCaret(TextContext* ctx, uint8_t* record)
{
    const ParagraphText para = ctx->Current();
    ctx->Styles()->GetStyleById(para.StyleId(), record);
    const ParaFormat f = EffectiveParaFormat(ctx->Styles(), para, ctx->Prefs().justify);
    PutParaFormat(record + kStyleParaFormatOffset, f);
    const IntRect& r = ctx->TextRect();
    EffectiveTabs(ctx->Styles(), para, r.right - r.left, record + kStyleTabsOffset);
}

namespace {

// The format of the paragraph at hand before p, as a style record, and the
// merge field's column there; false when its style is unknown.
bool CaretFormatRecord(TextContext* ctx, int32_t p, uint8_t* record, int32_t* column)
{
    const int32_t q = p > 0 ? p - 1 : 0;
    *column = kNoMergeField;
    const ParagraphText para = ctx->Current();
    if (!ctx->Styles()->GetStyleById(para.StyleId(), record))
        return false;
    if (para.flags() & kParaHasRuns) {
        *column = MergeFieldColumn(GetFieldIdAt(para, q + 1));
        RunCache run;
        if (LoadRunAt(para, q, &run)) {
            for (int rank = 0; rank < kAttributeCount; ++rank) {
                if (rank == kRankRangeSpacing || rank == kRankPairSpacing || !run.Has(RankBit(rank)))
                    continue;
                const int16_t v = run.Value(rank);
                if (rank == kRankCaps) {
                    if (v >= 0)
                        PutBaseWord(record, rank, v > 0 ? 1 : 0);
                } else if (Counts(rank, v)) {
                    PutBaseWord(record, rank, v);
                }
            }
        }
        if (LoadRunAt(para, q + 1, &run) && run.Has(kRunPairSpacing) && run.Value(kRankPairSpacing) >= -500)
            PutBaseWord(record, kRankPairSpacing, run.Value(kRankPairSpacing));
    }
    PutParaFormat(record + kStyleParaFormatOffset, EffectiveParaFormat(ctx->Styles(), para, ctx->Prefs().justify));
    return true;
}

}  // namespace

void PublishCaretFormat(TextContext* ctx, int32_t p)
{
    TextPosition s;
    TextPosition e;
    if (GetFrameSelection(ctx, &s, &e))
        return;
    if (p == 0xFFFF)
        p = ctx->Caret();
    uint8_t record[kStyleRecordSize] = {};
    int32_t column = kNoMergeField;
    if (CaretFormatRecord(ctx, p, record, &column))
        ctx->Host().SetCurrentFormat(record, column);
}

bool PublishSelectionFormat(TextContext* ctx, uint8_t* out)
{
    TextPosition start;
    TextPosition end;
    if (!GetFrameSelection(ctx, &start, &end))
        return false;
    const int32_t current = ctx->ParagraphIndex();
    int32_t column = kNoMergeField;
    if (start.paragraph == end.paragraph && ctx->SelectParagraph(int32_t(start.paragraph))) {
        const ParagraphText para = ctx->Current();
        const int32_t a = GetFieldIdAt(para, start.character);
        if (a >= 0 && a == GetFieldIdAt(para, int32_t(end.character) - 1))
            column = MergeFieldColumn(a);
    }
    std::array<Merged, kAttributeCount> attrs;
    uint8_t record[kStyleRecordSize] = {};
    uint32_t styleId = 0;
    bool mixedStyleId = false;
    bool visited = false;
    ParaFormat merged;
    bool mixedLeft = false, mixedRight = false, mixedFirst = false, mixedBefore = false, mixedAfter = false;
    bool mixedLeading = false, mixedKeepNext = false, mixedKeepTogether = false, mixedAlign = false;
    for (uint32_t p = start.paragraph; p <= end.paragraph; ++p) {
        if (!ctx->SelectParagraph(int32_t(p))) {
            ctx->SelectParagraph(current);
            return false;
        }
        const ParagraphText para = ctx->Current();
        GetFormatAtCaret(ctx, record);
        const ParaFormat f = GetParaFormat(record + kStyleParaFormatOffset);
        if (p == start.paragraph) {
            merged = f;
            styleId = para.StyleId() & 0xFFFF;
        } else {
            mixedLeft |= f.leftIndent != merged.leftIndent;
            mixedRight |= f.rightIndent != merged.rightIndent;
            mixedFirst |= f.firstLineIndent != merged.firstLineIndent;
            mixedBefore |= f.spaceBefore != merged.spaceBefore;
            mixedAfter |= f.spaceAfter != merged.spaceAfter;
            mixedLeading |= f.leading != merged.leading;
            mixedKeepNext |= f.keepWithNext != merged.keepWithNext;
            mixedKeepTogether |= f.keepTogether != merged.keepTogether;
            mixedAlign |= f.alignment != merged.alignment;
            mixedStyleId |= (para.StyleId() & 0xFFFF) != styleId;
        }
        const BaseFormat base = ReadBaseFormat(ctx->Styles(), para.StyleId());
        const int32_t from = p == start.paragraph ? start.character : 0;
        int32_t to = para.Length() - 1;  // inclusive
        if (p == end.paragraph) {
            if (end.character == 0)
                to = start == end ? -1 : 0;
            else
                to = int32_t(end.character) - 1;
        }
        for (int32_t c = from; c <= to && c < para.Length(); ++c) {
            visited = true;
            RunCache run;
            const bool inRun = LoadRunAt(para, c, &run);
            for (int rank = 0; rank < kAttributeCount; ++rank) {
                if (rank == kRankPairSpacing)
                    continue;
                Merged& m = attrs[size_t(rank)];
                const bool fromRun = inRun && run.Has(RankBit(rank)) && Counts(rank, run.Value(rank)) && !m.mixed;
                const int16_t v = fromRun ? run.Value(rank) : base[size_t(rank)];
                if (rank == kRankStyle)
                    MergeStyle(&m, v, fromRun);
                else
                    MergeValue(&m, v);
            }
        }
    }
    // A selection that holds no character (one the frame no longer shows,
    // or one emptied by a replacement) has no values to merge: it stands
    // for a caret at its start, whose format is handed over instead of
    // the merge's starting values, which no text has.
    if (!visited) {
        const bool known = ctx->SelectParagraph(int32_t(start.paragraph)) &&
                           CaretFormatRecord(ctx, start.character, record, &column);
        ctx->SelectParagraph(current);
        if (!known)
            return false;
        ctx->Host().SetCurrentFormat(record, column);
        if (out)
            std::memcpy(out, record, kStyleRecordSize);
        return true;
    }
    for (int rank = 0; rank < kAttributeCount; ++rank) {
        if (rank == kRankPairSpacing)
            continue;
        const Merged& m = attrs[size_t(rank)];
        int16_t v = m.started ? m.value : StartValue(rank);
        if (m.mixed)
            v = MixedMarker(rank);
        else if (rank == kRankCaps)
            v = !visited ? -1 : (v > 0 ? 1 : 0);
        PutBaseWord(record, rank, v);
    }
    ParaFormat f = GetParaFormat(record + kStyleParaFormatOffset);
    f.leftIndent = mixedLeft ? -1 : merged.leftIndent;
    f.rightIndent = mixedRight ? -1 : merged.rightIndent;
    f.firstLineIndent = mixedFirst ? -1 : merged.firstLineIndent;
    f.spaceBefore = mixedBefore ? -1 : merged.spaceBefore;
    f.spaceAfter = mixedAfter ? -1 : merged.spaceAfter;
    f.leading = mixedLeading ? -1111 : merged.leading;
    f.keepWithNext = mixedKeepNext ? 255 : merged.keepWithNext;
    f.keepTogether = mixedKeepTogether ? 255 : merged.keepTogether;
    f.alignment = mixedAlign ? 0 : merged.alignment;
    PutParaFormat(record + kStyleParaFormatOffset, f);
    PutU32LE(record + kStyleIdOffset, mixedStyleId ? 65535u : styleId);
    ctx->Host().SetCurrentFormat(record, column);
    if (out)
        std::memcpy(out, record, kStyleRecordSize);
    ctx->SelectParagraph(current);
    return true;
}

bool TypingFormatDiffers(TextContext* ctx)
{
    const BaseFormat base = ReadBaseFormat(ctx->Styles(), ctx->Current().StyleId());
    const TypingAttributes typing = ctx->Host().TypingAttributes();
    for (int rank = 0; rank < kAttributeCount; ++rank) {
        if (typing[size_t(rank)] != base[size_t(rank)])
            return true;
    }
    return false;
}

uint16_t BuildTypingRun(TextContext* ctx, int32_t p, const TypingAttributes& typing,
                        std::array<int16_t, kAttributeCount>* values)
{
    *values = kRunDefaults;
    const ParagraphText para = ctx->Current();
    uint8_t record[kStyleRecordSize] = {};
    if (!ctx->Styles()->GetStyleById(para.StyleId(), record))
        return 0;
    const BaseFormat base = ReadBaseFormat(ctx->Styles(), para.StyleId());
    RunCache before;
    const bool runBefore = p > 0 && LoadRunAt(para, p - 1, &before);
    uint16_t flags = 0;
    for (int rank = 0; rank < kAttributeCount; ++rank) {
        const int16_t v = typing[size_t(rank)];
        const bool differs = v != base[size_t(rank)];
        const bool runSets = runBefore && before.Has(RankBit(rank)) && Counts(rank, before.Value(rank));
        if (differs || runSets) {
            flags = uint16_t(flags | RankBit(rank));
            (*values)[size_t(rank)] = rank == kRankStyle ? int16_t(v | kStyleTurnOn) : v;
        }
    }
    return flags;
}
