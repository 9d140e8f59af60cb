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

bool IsEmptyField(const RunEntry& r) { return (r.flags & kRunField) && r.start == r.end; }

bool IsFillableField(const RunEntry& r)
{
    return (r.flags & kRunField) && r.end >= r.start && int16_t(r.fieldId) >= 0 && int16_t(r.fieldLength) >= 0;
}

// Whether the field x stands before the field y in the text.
bool StandsBefore(const RunEntry& x, const RunEntry& y)
{
    if (x.start != y.start)
        return x.start < y.start;
    return IsEmptyField(x) && !IsEmptyField(y);
}

// The fillable fields' table indices in the order they stand in the text,
// into `out`. Empty fields have no width, so several may stand at one place
// (a field placed twice in a row, both empty on the card before): there the
// empty ones come first, in table order, then the one with text. Every
// refresh keeps that order true.
void FieldsInTextOrder(const std::vector<RunEntry>& runs, std::vector<size_t>* out)
{
    out->clear();
    for (size_t i = 0; i < runs.size(); ++i) {
        if (IsFillableField(runs[i]))
            out->push_back(i);
    }
    // A paragraph holds a few fields, mostly in order already: sorted by
    // insertion, which keeps fields at one place in table order and takes
    // no memory.
    std::vector<size_t>& order = *out;
    for (size_t i = 1; i < order.size(); ++i) {
        const size_t index = order[i];
        size_t j = i;
        for (; j > 0 && StandsBefore(runs[index], runs[order[j - 1]]); --j)
            order[j] = order[j - 1];
        order[j] = index;
    }
}

// Where the other fields must stand once a field's text changed.
enum class Peer : uint8_t { kElsewhere, kBefore, kAfter };

// The run table once a field's text of n characters stands at the field's
// start, its entry (the field entry of the given rank) set aside there as an
// empty field: the entry comes back over the text, and when the text is new,
// no other run reaches into it and the entry's format (whatever bold or
// italic was applied to the field) covers it whole. An empty text keeps the
// entry with no width, so that the field is still there to fill next time.
// The empty fields beside it stand where the peers say: those before it
// stay at its start, those after it follow its text, and when the text is
// empty all of them keep their order in the table.
std::vector<RunEntry> FieldTextRuns(const std::vector<RunEntry>& runs, size_t rank, RunEntry field, int32_t n,
                                    bool fresh, const std::vector<Peer>& peers)
{
    const int32_t p = field.start;
    std::vector<RunEntry> out;
    std::vector<RunEntry> before;
    std::vector<RunEntry> after;
    out.reserve(runs.size() + 3);
    size_t fieldRank = 0;
    for (const RunEntry& r : runs) {
        if (r.flags & kRunField) {
            const size_t at = fieldRank++;
            if (at == rank)
                continue;
            const Peer peer = at < peers.size() ? peers[at] : Peer::kElsewhere;
            RunEntry moved = r;
            if (peer != Peer::kElsewhere)
                moved.start = moved.end = uint16_t(peer == Peer::kBefore ? p : p + n);
            if (peer == Peer::kElsewhere || n > 0)
                out.push_back(moved);
            else
                (peer == Peer::kBefore ? before : after).push_back(moved);
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
    out.insert(out.end(), before.begin(), before.end());
    field.end = uint16_t(n > 0 ? p + 1 : p);
    field.fieldLength = uint16_t(n);
    out.push_back(field);
    out.insert(out.end(), after.begin(), after.end());
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

// The field whose entry stands at the index of `table`, the paragraph's
// run table as read, takes its current text. The table is left as the
// paragraph then holds it; true when it changed.
bool UpdateFieldEntry(TextContext* ctx, std::vector<RunEntry>* table, size_t index)
{
    std::vector<RunEntry>& runs = *table;
    if (index >= runs.size() || !IsFillableField(runs[index]))
        return false;
    const RunEntry entry = runs[index];
    const int32_t p = entry.start;
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
        return false;
    if (n == old && std::memcmp(para.Chars() + p, text, size_t(n)) == 0 && (n > 0 || entry.end == entry.start))
        return false;

    // The field's rank among the table's field entries, and where the other
    // field entries must stand, by rank: the empty fields at the field's
    // start before it, and those just behind its text (or at its start
    // after it, while it is empty). Field entries are told apart by rank:
    // inserting and deleting characters moves entries but never reorders
    // the table, so the rank of a field survives those steps.
    size_t rank = 0;
    std::vector<Peer> peers;
    peers.reserve(runs.size());
    for (size_t i = 0; i < runs.size(); ++i) {
        const RunEntry& e = runs[i];
        if (!(e.flags & kRunField))
            continue;
        Peer peer = Peer::kElsewhere;
        if (i == index)
            rank = peers.size();
        else if (IsEmptyField(e) && e.start == p)
            peer = entry.end > entry.start || i < index ? Peer::kBefore : Peer::kAfter;
        else if (IsEmptyField(e) && old > 0 && e.start == p + old)
            peer = Peer::kAfter;
        peers.push_back(peer);
    }

    // While its characters are replaced the field's entry stands aside as
    // an empty field at p, which neither the insertion behind the old text
    // nor the deletion of it moves or drops. Each step keeps the table's
    // size, so none can fail for memory and lose the field.
    ParagraphText writable = ctx->Current();
    runs[index].end = uint16_t(p);
    runs[index].fieldLength = 0;
    if (!WriteRunTable(&writable, runs)) {
        runs[index] = entry;
        return false;
    }
    const bool inserted =
        n == 0 || writable.InsertBytes(uint16_t(p + old), reinterpret_cast<const uint8_t*>(text), uint32_t(n));
    if (inserted) {
        AdjustRunsForInsert(&writable, uint16_t(p + old), uint32_t(n));
        if (old > 0) {
            const uint32_t removed = writable.DeleteChars(uint16_t(p), uint16_t(p + old - 1), true);
            AdjustRunsForDelete(&writable, uint16_t(p), removed);
        }
    }
    std::vector<RunEntry> now = ReadRunTable(writable);
    // Text put in at p pushes the empty field behind it; no entry went, so
    // it is found where it stood in the table.
    if (inserted && old == 0 && n > 0)
        now[index].start = now[index].end = uint16_t(p);
    const int32_t shown = inserted ? n : old;
    runs = FieldTextRuns(now, rank, entry, shown, inserted, peers);
    // Without room for the format's runs the field at least holds its text
    // again: the table without them keeps its size.
    if (!WriteRunTable(&writable, runs)) {
        runs = FieldTextRuns(now, rank, entry, shown, false, peers);
        WriteRunTable(&writable, runs);
    }
    ctx->StoreFlags(writable);
    return true;
}

}  // namespace

void UpdateFieldText(TextContext* ctx, int32_t p)
{
    if (!ctx->Frame())
        return;
    std::vector<RunEntry> runs = ReadRunTable(ctx->Current());
    std::vector<size_t> order;
    FieldsInTextOrder(runs, &order);
    for (size_t index : order) {
        if (runs[index].start == p) {
            UpdateFieldEntry(ctx, &runs, index);
            return;
        }
    }
}

void UpdateFieldsFrom(TextContext* ctx, int32_t p)
{
    if (!ctx->Frame())
        return;
    // From the last on, so that a changed length moves no field still to
    // do. A refresh keeps the fields' order, so the k-th field in the text
    // is still the k-th after those behind it were done.
    std::vector<RunEntry> runs = ReadRunTable(ctx->Current());
    std::vector<size_t> order;
    FieldsInTextOrder(runs, &order);
    size_t k = order.size();
    while (k-- > 0) {
        if (k >= order.size())
            continue;
        if (runs[order[k]].start < p)
            break;
        if (UpdateFieldEntry(ctx, &runs, order[k]))
            FieldsInTextOrder(runs, &order);
    }
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
    // Most frames show no page number: their table is not read.
    if (ctx->pageNumberRefresh == 0)
        return;
    std::vector<int32_t> starts;
    for (const RunEntry& r : ReadRunTable(ctx->Current())) {
        if ((r.flags & kRunPageNumber) && r.end > r.start)
            starts.push_back(r.start);
    }
    std::sort(starts.rbegin(), starts.rend());
    for (int32_t start : starts)
        UpdatePageNumberRun(ctx, start);
}
