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
#include "frames/paragraph_text.h"
#include "frames/style_runs.h"
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

// The run table once a field's text of n characters stands at the field's
// start, its entry set aside there as an empty field: the entry comes back
// over the text, and when the text is new, no other run reaches into it and
// the entry's format (whatever bold or italic was applied to the field)
// covers it whole. An empty text keeps the entry with no width, so that the
// field is still there to fill next time.
std::vector<RunEntry> FieldTextRuns(const std::vector<RunEntry>& runs, RunEntry field, int32_t n, bool fresh)
{
    const int32_t p = field.start;
    std::vector<RunEntry> out;
    out.reserve(runs.size() + 3);
    bool replaced = false;
    for (const RunEntry& r : runs) {
        if (!replaced && (r.flags & kRunField) && r.start == p && r.end == p && r.fieldId == field.fieldId) {
            // The entry set aside.
            replaced = true;
            continue;
        }
        if (!fresh || r.end <= p || r.start >= p + n) {
            out.push_back(r);
            continue;
        }
        if (r.start < p) {
            RunEntry head = r;
            head.end = uint16_t(p);
            out.push_back(head);
        }
        if (r.end > p + n) {
            RunEntry tail = r;
            tail.start = uint16_t(p + n);
            out.push_back(tail);
        }
    }
    field.end = uint16_t(n > 0 ? p + 1 : p);
    field.fieldLength = uint16_t(n);
    out.push_back(field);
    const uint16_t format = uint16_t(field.flags & kRunValueBits);
    if (fresh && n > 1 && format) {
        RunEntry rest;
        rest.start = uint16_t(p + 1);
        rest.end = uint16_t(p + n);
        rest.flags = format;
        rest.values = field.values;
        out.push_back(rest);
    }
    return out;
}

}  // namespace

void UpdateFieldText(TextContext* ctx, int32_t p)
{
    if (!ctx->Frame())
        return;
    std::vector<RunEntry> runs = ReadRunTable(ctx->Current());
    const auto field = std::find_if(runs.begin(), runs.end(), [p](const RunEntry& r) {
        return (r.flags & kRunField) && r.start == p && int16_t(r.fieldId) >= 0 && int16_t(r.fieldLength) >= 0;
    });
    if (field == runs.end())
        return;
    const RunEntry entry = *field;
    char text[256] = {};
    if (ctx->Host().ShowsFieldNames()) {
        char name[kFieldTypeNameSize] = {};
        FieldTypeName(int16_t(entry.fieldId), name, true, true);
        std::strncpy(text, name, sizeof text - 1);
    } else {
        // A record's empty field prints as nothing; on the screen it shows
        // the field's name, so that the field can be seen and clicked.
        GetMergeFieldText(int16_t(entry.fieldId), text, ctx->Frame()->IsOutputShift());
    }
    const int32_t n = int32_t(strnlen(text, sizeof text - 1));
    const ParagraphText para = ctx->Current();
    const int32_t old =
        entry.end == entry.start ? 0 : std::clamp<int32_t>(int16_t(entry.fieldLength), 0, para.Length() - 1 - p);
    if (para.Length() - old + n > int32_t(kParagraphMaxLength))
        return;
    if (n == old && std::memcmp(para.Chars() + p, text, size_t(n)) == 0 && (n > 0 || entry.end == entry.start))
        return;

    // While its characters are replaced the field's entry stands aside as
    // an empty field at p, which neither the insertion behind the old text
    // nor the deletion of it moves or drops. Each step keeps the table's
    // size, so none can fail for memory and lose the field.
    ParagraphText writable = ctx->Current();
    const size_t index = size_t(field - runs.begin());
    runs[index].end = uint16_t(p);
    runs[index].fieldLength = 0;
    if (!WriteRunTable(&writable, runs))
        return;
    const bool inserted =
        n == 0 || writable.InsertBytes(uint16_t(p + old), reinterpret_cast<const uint8_t*>(text), uint32_t(n));
    if (inserted) {
        AdjustRunsForInsert(&writable, uint16_t(p + old), uint32_t(n));
        if (old == 0 && n > 0) {
            // Text put in at p pushes the empty field behind it; no entry
            // went, so it is found where it stood in the table.
            std::vector<RunEntry> moved = ReadRunTable(writable);
            moved[index].start = moved[index].end = uint16_t(p);
            WriteRunTable(&writable, moved);
        }
        if (old > 0) {
            const uint32_t removed = writable.DeleteChars(uint16_t(p), uint16_t(p + old - 1), true);
            AdjustRunsForDelete(&writable, uint16_t(p), removed);
        }
    }
    const int32_t shown = inserted ? n : old;
    if (!WriteRunTable(&writable, FieldTextRuns(ReadRunTable(writable), entry, shown, inserted))) {
        // Without room for the format's runs the field at least holds its
        // text again.
        std::vector<RunEntry> now = ReadRunTable(writable);
        for (RunEntry& r : now) {
            if ((r.flags & kRunField) && r.start == p && r.end == p && r.fieldId == entry.fieldId) {
                r.end = uint16_t(shown > 0 ? p + 1 : p);
                r.fieldLength = uint16_t(shown);
                break;
            }
        }
        WriteRunTable(&writable, now);
    }
    ctx->StoreFlags(writable);
}

void UpdateFieldsFrom(TextContext* ctx, int32_t p)
{
    std::vector<int32_t> starts;
    for (const RunEntry& r : ReadRunTable(ctx->Current())) {
        // An empty field keeps an entry of no width.
        if ((r.flags & kRunField) && r.start >= p && r.end >= r.start)
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
