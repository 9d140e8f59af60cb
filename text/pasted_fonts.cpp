#include "text/pasted_fonts.h"

#include <algorithm>
#include <utility>

#include "frames/record_header_format.h"
#include "frames/text_buffer.h"
#include "text/para_format.h"
#include "text/text_clipboard.h"
#include "text/text_context.h"

void AddCopiedFont(TextContext* ctx, int16_t id, CopiedFonts* fonts)
{
    FontSpec face;
    if (id >= 0 && !fonts->runs.count(id) && ctx->Host().StoredFontSpec(id, &face))
        fonts->runs[id] = face;
}

void AddCopiedFonts(TextContext* ctx, TextBuffer* paragraphs, CopiedFonts* fonts)
{
    FontSpec face;
    for (int32_t i = 0; i < paragraphs->Count(); ++i) {
        if (!paragraphs->SelectParagraph(i))
            continue;
        const ParagraphText para(paragraphs->CurrentParagraph(), HeaderFlags(paragraphs->Current()));
        if (!fonts->styles.count(para.StyleId()) && ctx->Host().StoredFontSpec(StyleFont(ctx, para.StyleId()), &face))
            fonts->styles[para.StyleId()] = face;
        for (const RunEntry& r : ReadRunTable(para)) {
            if (r.flags & kRunFont)
                AddCopiedFont(ctx, r.values[size_t(kRankFont)], fonts);
        }
    }
}

FontIds TargetFontIds(TextContext* ctx, const CopiedFonts& fonts)
{
    FontIds ids;
    for (const auto& [id, face] : fonts.runs) {
        const int32_t target = ctx->Host().FontIdFor(face);
        if (target >= 0 && target <= INT16_MAX)
            ids[id] = int16_t(target);
    }
    return ids;
}

void RenumberFonts(std::vector<RunEntry>* runs, const FontIds& ids)
{
    for (RunEntry& r : *runs) {
        const auto it = ids.find(r.values[size_t(kRankFont)]);
        if ((r.flags & kRunFont) && it != ids.end())
            r.values[size_t(kRankFont)] = it->second;
    }
}

void AdoptPastedFonts(TextContext* ctx, const CopiedFonts& copied, const FontIds& ids, uint32_t landing)
{
    ParagraphText para = ctx->Current();
    std::vector<RunEntry> runs = ReadRunTable(para);
    RenumberFonts(&runs, ids);
    if (!runs.empty() && !ids.empty() && WriteRunTable(&para, runs))
        ctx->StoreFlags(para);
    const int16_t font = KeptStyleFont(ctx, copied, para.StyleId(), StyleFont(ctx, landing));
    if (font >= 0 && FillUnsetFont(&para, runs, 0, 0, para.Length() - 1, font))
        ctx->StoreFlags(para);
}

int16_t StyleFont(TextContext* ctx, uint32_t style) { return ReadBaseFormat(ctx->Styles(), style)[kRankFont]; }

int16_t KeptStyleFont(TextContext* ctx, const CopiedFonts& fonts, uint32_t copiedStyle, int16_t shown)
{
    const auto copied = fonts.styles.find(copiedStyle);
    if (copied == fonts.styles.end())
        return -1;
    const int32_t target = ctx->Host().FontIdFor(copied->second);
    return target >= 0 && target <= INT16_MAX && target != shown ? int16_t(target) : -1;
}

bool FillUnsetFont(ParagraphText* para, const std::vector<RunEntry>& runs, int32_t offset, int32_t from, int32_t to,
                   int16_t font)
{
    std::vector<std::pair<int32_t, int32_t>> set;
    for (const RunEntry& r : runs) {
        if (r.flags & kRunFont)
            set.emplace_back(offset + r.start, offset + r.end);
    }
    std::sort(set.begin(), set.end());
    set.emplace_back(to, to);
    std::array<int16_t, kAttributeCount> values = kRunDefaults;
    values[size_t(kRankFont)] = font;
    int32_t at = from;
    for (const auto& [start, end] : set) {
        const int32_t gapEnd = std::min(start, to);
        if (gapEnd > at && !SetRunAttributes(para, at, gapEnd, kRunFont, values, true))
            return false;
        at = std::max(at, end);
        if (at >= to)
            break;
    }
    return true;
}
