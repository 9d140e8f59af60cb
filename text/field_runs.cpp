#include "text/field_runs.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <string>
#include <vector>

#include "database/field_table.h"
#include "database/merge_text.h"
#include "foundation/counters.h"
#include "frames/frame_obj_text.h"
#include "text/paragraph_text.h"
#include "text/style_runs.h"
#include "text/text_context.h"

namespace {

// Replaces the length old characters at p by text: overwritten in place,
// the rest inserted one by one with the attributes of the character before
// each, or the surplus deleted.
void ReplaceCharacters(TextContext* ctx, int32_t p, int32_t old, const std::string& text)
{
    ParagraphText para = ctx->Current();
    const int32_t n = int32_t(text.size());
    const int32_t common = std::min(old, n);
    for (int32_t i = 0; i < common; ++i)
        para.SetChar(uint16_t(p + i), uint8_t(text[size_t(i)]));
    for (int32_t i = common; i < n; ++i) {
        const int32_t at = p + i;
        const uint8_t ch = uint8_t(text[size_t(i)]);
        if (!para.InsertBytes(uint16_t(at), &ch, 1))
            break;
        AdjustRunsForInsert(&para, uint16_t(at), 1);
        RunCache before;
        if (at > 0 && LoadRunAt(para, at - 1, &before) && before.start >= 0) {
            const uint16_t flags = uint16_t(before.flags & kRunValueBits);
            if (flags)
                SetRunAttributes(&para, at, at + 1, flags, before.values, true);
        }
    }
    if (old > n) {
        const uint32_t removed = para.DeleteChars(uint16_t(p + n), uint16_t(p + old - 1), true);
        AdjustRunsForDelete(&para, uint16_t(p + n), removed);
    }
    ctx->StoreFlags(para);
}

std::string PageNumberText(int32_t number, int32_t kind)
{
    uint8_t pstr[256] = {};
    switch (kind) {
    case 2:
    case 3: FormatRoman(int16_t(number), pstr); break;
    case 4:
    case 5: FormatLetters(int16_t(number), pstr); break;
    default: return std::to_string(number);
    }
    std::string text(reinterpret_cast<const char*>(pstr + 1), pstr[0]);
    if (kind == 3 || kind == 5) {
        for (char& c : text)
            c = char(std::tolower(static_cast<unsigned char>(c)));
    }
    return text;
}

bool IsNumberChar(uint8_t c) { return std::isalnum(c) != 0 || c == '-'; }

}  // namespace

void UpdateFieldText(TextContext* ctx, int32_t p)
{
    if (!ctx->Frame())
        return;
    const ParagraphText para = ctx->Current();
    RunCache run;
    if (!LoadRunAt(para, p, &run) || !run.Has(kRunField) || run.start != p || run.fieldId < 0 ||
        run.fieldLength < 0)
        return;
    char text[256] = {};
    if (ctx->Host().ShowsFieldNames()) {
        char name[kFieldTypeNameSize] = {};
        FieldTypeName(run.fieldId, name, true, true);
        std::strncpy(text, name, sizeof text - 1);
    } else {
        GetMergeFieldText(run.fieldId, text, false);
    }
    const int32_t n = int32_t(strnlen(text, sizeof text - 1));
    const int32_t old = std::min<int32_t>(run.fieldLength, para.Length() - 1 - p);
    if (para.Length() - old + n > int32_t(kParagraphMaxLength))
        return;
    ParagraphText writable = ctx->Current();
    SetFieldRunLength(&writable, p, int16_t(n));
    ReplaceCharacters(ctx, p, std::max(old, 0), std::string(text, size_t(n)));
}

void UpdateFieldsFrom(TextContext* ctx, int32_t p)
{
    std::vector<int32_t> starts;
    for (const RunEntry& r : ReadRunTable(ctx->Current())) {
        if ((r.flags & kRunField) && r.start >= p && r.end > r.start)
            starts.push_back(r.start);
    }
    // From the last on, so that a changed length moves no field still to do.
    std::sort(starts.rbegin(), starts.rend());
    for (int32_t start : starts)
        UpdateFieldText(ctx, start);
}

void UpdatePageNumberRun(TextContext* ctx, int32_t p)
{
    if (ctx->pageNumberRefresh == 0)
        return;
    const ParagraphText para = ctx->Current();
    RunCache run;
    if (!LoadRunAt(para, p, &run) || !run.Has(kRunPageNumber) || run.start != p || run.pageKind < 1 ||
        run.pageKind > 5 || para.Char(p) == ' ')
        return;
    int32_t number = 1;
    bool realPage = true;
    ctx->Host().PageNumberFor(ctx->Frame(), &number, &realPage);
    const std::string text = realPage ? PageNumberText(number, run.pageKind) : std::string("-");
    int32_t old = 0;
    while (p + old < para.Length() - 1 && IsNumberChar(para.Char(p + old)))
        ++old;
    if (para.Length() - old + int32_t(text.size()) > int32_t(kParagraphMaxLength))
        return;
    ReplaceCharacters(ctx, p, old, text);
}

void UpdatePageNumbers(TextContext* ctx)
{
    std::vector<int32_t> starts;
    for (const RunEntry& r : ReadRunTable(ctx->Current())) {
        if ((r.flags & kRunPageNumber) && r.end > r.start)
            starts.push_back(r.start);
    }
    std::sort(starts.rbegin(), starts.rend());
    for (int32_t start : starts)
        UpdatePageNumberRun(ctx, start);
}
