#include "frames/style_runs.h"

#include <algorithm>

#include "foundation/byte_order.h"
#include "foundation/handle.h"

namespace {

// Walks the whole entries of a table; a last entry that runs past the
// table's size is not one.
// fn gets each entry (to change, for a paragraph that may be changed) and
// returns false to stop.
template <class Para, class Fn>
void ForEachRun(Para& para, Fn fn)
{
    auto* table = para.RunTable();
    const uint32_t size = (para.flags() & kParaHasRuns) ? para.RunTableSize() : 0;
    for (uint32_t at = 0; table && at + kRunValuesOffset <= size;) {
        auto* run = table + at;
        const uint32_t n = RunEntrySize(RunFlags(run));
        if (at + n > size)
            return;
        if (!fn(run))
            return;
        at += n;
    }
}

RunEntry Decode(const uint8_t* run)
{
    RunEntry e;
    e.start = RunStart(run);
    e.end = RunEnd(run);
    e.fieldId = GetU16LE(run + kRunFieldIdOffset);
    e.fieldLength = GetU16LE(run + kRunFieldLengthOffset);
    e.pageKind = GetU16LE(run + kRunPageKindOffset);
    e.flags = RunFlags(run);
    const uint8_t* v = run + kRunValuesOffset;
    for (int rank = 0; rank < kAttributeCount; ++rank) {
        if (e.flags & RankBit(rank)) {
            e.values[size_t(rank)] = GetI16LE(v);
            v += 2;
        }
    }
    return e;
}

uint32_t Encode(const RunEntry& e, uint8_t* out)
{
    SetRunStart(out, e.start);
    SetRunEnd(out, e.end);
    PutU16LE(out + kRunFieldIdOffset, e.fieldId);
    PutU16LE(out + kRunFieldLengthOffset, e.fieldLength);
    PutU16LE(out + kRunPageKindOffset, e.pageKind);
    PutU16LE(out + kRunFlagsOffset, e.flags);
    uint8_t* v = out + kRunValuesOffset;
    for (int rank = 0; rank < kAttributeCount; ++rank) {
        if (e.flags & RankBit(rank)) {
            PutI16LE(v, e.values[size_t(rank)]);
            v += 2;
        }
    }
    return uint32_t(v - out);
}

// The merged entry for the part [s, e) of a run.
RunEntry MergedPart(const RunEntry& run, uint16_t s, uint16_t e, uint16_t flags,
                    const std::array<int16_t, kAttributeCount>& values, bool replace, const RunExtras& extras)
{
    RunEntry out = run;
    out.start = s;
    out.end = e;
    uint16_t mergedFlags = flags;
    std::array<int16_t, kAttributeCount> mergedValues = values;
    MergeRunAttributes(run.flags, run.values, &mergedFlags, &mergedValues, replace);
    out.flags = uint16_t((run.flags & (kRunField | kRunPageNumber)) | mergedFlags);
    out.values = mergedValues;
    if (!(run.flags & kRunField) && (flags & kRunField)) {
        out.fieldId = uint16_t(extras.fieldId);
        out.fieldLength = uint16_t(extras.fieldLength);
    }
    if (!(run.flags & kRunPageNumber) && (flags & kRunPageNumber))
        out.pageKind = uint16_t(extras.pageKind);
    return out;
}

}  // namespace

std::vector<RunEntry> ReadRunTable(const ParagraphText& para)
{
    std::vector<RunEntry> runs;
    // Room for as many entries as the table could hold, taken once.
    runs.reserve((para.valid() && (para.flags() & kParaHasRuns) ? para.RunTableSize() : 0) / kRunValuesOffset);
    ForEachRun(para, [&](const uint8_t* run) {
        runs.push_back(Decode(run));
        return true;
    });
    return runs;
}

bool WriteRunTable(ParagraphText* para, const std::vector<RunEntry>& runs)
{
    if (!para->valid())
        return false;
    // Measured first, so that the entries are written in place.
    uint32_t newSize = 0;
    for (const RunEntry& e : runs)
        newSize += RunEntrySize(e.flags);
    if (newSize > 0xFFFF) {
        CheckMemError(kMemOutOfMemory);
        return false;
    }
    const uint32_t offset = para->layout().runOffset;
    const uint32_t oldSize = (para->flags() & kParaHasRuns) ? para->RunTableSize() : 0;
    if (newSize > oldSize) {
        if (!para->InsertRegion(offset + oldSize, newSize - oldSize)) {
            CheckMemError(MemLastError() ? MemLastError() : kMemOutOfMemory);
            return false;
        }
    } else if (newSize < oldSize) {
        para->RemoveRegion(offset + newSize, oldSize - newSize);
    }
    uint8_t* out = HandleData(para->handle()) + offset;
    for (const RunEntry& e : runs)
        out += Encode(e, out);
    PutU16LE(HandleData(para->handle()) + kParagraphRunSizeOffset, uint16_t(newSize));
    const uint8_t flags = newSize ? uint8_t(para->flags() | kParaHasRuns) : uint8_t(para->flags() & ~kParaHasRuns);
    para->SetFlags(flags);
    return true;
}

int CountRuns(const ParagraphText& para)
{
    int n = 0;
    ForEachRun(para, [&](const uint8_t*) {
        ++n;
        return true;
    });
    return n;
}

bool LoadRunAt(const ParagraphText& para, int32_t p, RunCache* cache)
{
    if (!(para.flags() & kParaHasRuns))
        return false;
    cache->Reset();
    bool found = false;
    ForEachRun(para, [&](const uint8_t* run) {
        if (p >= RunStart(run) && p < RunEnd(run)) {
            const RunEntry e = Decode(run);
            cache->start = e.start;
            cache->end = e.end;
            cache->flags = e.flags;
            cache->values = e.values;
            if (e.flags & kRunField) {
                cache->fieldId = int16_t(e.fieldId);
                cache->fieldLength = int16_t(e.fieldLength);
            }
            if (e.flags & kRunPageNumber)
                cache->pageKind = int16_t(e.pageKind);
            found = true;
            return false;
        }
        return true;
    });
    return found;
}

void GetRunsExtent(const ParagraphText& para, int32_t* first, int32_t* last)
{
    *first = -1;
    *last = -1;
    ForEachRun(para, [&](const uint8_t* run) {
        if (*first < 0 || RunStart(run) < *first)
            *first = RunStart(run);
        if (RunEnd(run) > *last)
            *last = RunEnd(run);
        return true;
    });
}

void FindRunBounds(const ParagraphText& para, int32_t p, int32_t* start, int32_t* end)
{
    *start = -1;
    *end = -1;
    ForEachRun(para, [&](const uint8_t* run) {
        if (p >= RunStart(run) && p < RunEnd(run)) {
            *start = RunStart(run);
            *end = RunEnd(run);
            return false;
        }
        return true;
    });
}

void MergeRunAttributes(uint16_t runFlags, const std::array<int16_t, kAttributeCount>& runValues,
                        uint16_t* flags, std::array<int16_t, kAttributeCount>* values, bool replace)
{
    const uint16_t requested = *flags;
    for (int rank = 0; rank < kAttributeCount; ++rank) {
        const uint16_t bit = RankBit(rank);
        int16_t& v = (*values)[size_t(rank)];
        const int16_t old = runValues[size_t(rank)];
        if (rank == kRankStyle && (requested & bit)) {
            const bool turnOn = (v & kStyleTurnOn) != 0;
            int16_t want = int16_t(v & ~kStyleTurnOn);
            if ((runFlags & bit) && want != 0 && !replace) {
                if ((want & old) == 0 || turnOn) {
                    int16_t base = old;
                    if (want & 32)
                        base = int16_t(base & ~64);
                    if (want & 64)
                        base = int16_t(base & ~32);
                    want = int16_t(base | want);
                } else {
                    want = int16_t(old ^ want);
                }
            }
            v = want;
        } else if (!(requested & bit) && (runFlags & bit)) {
            v = old;
        }
    }
    *flags = uint16_t((requested | runFlags) & kRunValueBits) | uint16_t(requested & (kRunField | kRunPageNumber));
}

bool SetRunAttributes(ParagraphText* para, int32_t start, int32_t end, uint16_t flags,
                      const std::array<int16_t, kAttributeCount>& values, bool replace, const RunExtras& extras)
{
    if (int16_t(flags) <= 0 || !para->valid() || start < 0 || end <= start || end > 0xFFFF)
        return true;
    const std::vector<RunEntry> old = ReadRunTable(*para);
    std::vector<RunEntry> runs;
    runs.reserve(old.size() + 3);
    // Which parts of [start, end) some run already covers.
    std::vector<std::pair<int32_t, int32_t>> covered;
    for (const RunEntry& run : old) {
        const int32_t s0 = run.start;
        const int32_t e0 = run.end;
        if (e0 <= start || s0 >= end || e0 <= s0) {
            runs.push_back(run);
            continue;
        }
        const int32_t s = std::max(s0, start);
        const int32_t e = std::min(e0, end);
        covered.emplace_back(s, e);
        const RunEntry merged = MergedPart(run, uint16_t(s), uint16_t(e), flags, values, replace, extras);
        if (s0 < s) {
            RunEntry head = run;
            head.end = uint16_t(s);
            runs.push_back(head);
        }
        runs.push_back(merged);
        if (e < e0) {
            RunEntry tail = run;
            tail.start = uint16_t(e);
            runs.push_back(tail);
        }
    }
    // New runs for the gaps, with the requested attributes only.
    std::sort(covered.begin(), covered.end());
    int32_t at = start;
    auto addGap = [&](int32_t s, int32_t e) {
        if (e <= s)
            return;
        RunEntry fresh;
        fresh.start = uint16_t(s);
        fresh.end = uint16_t(e);
        fresh.flags = flags;
        fresh.values = kRunDefaults;
        for (int rank = 0; rank < kAttributeCount; ++rank) {
            if (flags & RankBit(rank))
                fresh.values[size_t(rank)] = values[size_t(rank)];
        }
        if (flags & kRunStyle)
            fresh.values[kRankStyle] = int16_t(fresh.values[kRankStyle] & ~kStyleTurnOn);
        if (flags & kRunField) {
            fresh.fieldId = uint16_t(extras.fieldId);
            fresh.fieldLength = uint16_t(extras.fieldLength);
        }
        if (flags & kRunPageNumber)
            fresh.pageKind = uint16_t(extras.pageKind);
        runs.push_back(fresh);
    };
    for (const auto& [s, e] : covered) {
        addGap(at, s);
        at = std::max(at, e);
    }
    addGap(at, end);
    return WriteRunTable(para, runs);
}

void AdjustRunsForInsert(ParagraphText* para, uint16_t p, uint32_t n)
{
    if (!(para->flags() & kParaHasRuns) || n == 0)
        return;
    ForEachRun(*para, [&](uint8_t* run) {
        const uint16_t s = RunStart(run);
        const uint16_t e = RunEnd(run);
        const uint16_t f = RunFlags(run);
        if (s < p && e >= p) {
            if (f != kRunPairSpacing && !(f & kRunField))
                SetRunEnd(run, uint16_t(e + n));
        } else if (s > p || (s == p && f != kRunPairSpacing)) {
            SetRunStart(run, uint16_t(s + n));
            SetRunEnd(run, uint16_t(e + n));
        }
        return true;
    });
}

void AdjustRunsForDelete(ParagraphText* para, uint16_t p, uint32_t n)
{
    if (!(para->flags() & kParaHasRuns) || n == 0)
        return;
    const uint32_t q = uint32_t(p) + n;
    ForEachRun(*para, [&](uint8_t* run) {
        const uint32_t s = RunStart(run);
        const uint32_t e = RunEnd(run);
        if (s == e && (RunFlags(run) & kRunField) && GetI16LE(run + kRunFieldLengthOffset) == 0) {
            // An empty field sits between two characters: it goes with the
            // text around it, and otherwise stays where it stands.
            if (s > p && s < q) {
                SetRunStart(run, 0xFFFF);
                SetRunEnd(run, 0xFFFF);
            } else if (s >= q) {
                SetRunStart(run, uint16_t(s - n));
                SetRunEnd(run, uint16_t(e - n));
            }
        } else if (s > p) {
            if (q > s && q < e) {
                SetRunStart(run, p);
                SetRunEnd(run, uint16_t(e - n));
            } else if (q >= e) {
                SetRunStart(run, 0xFFFF);
                SetRunEnd(run, 0xFFFF);
            } else {
                SetRunStart(run, uint16_t(s - n));
                SetRunEnd(run, uint16_t(e - n));
            }
        } else if (e > p) {
            SetRunEnd(run, q < e ? uint16_t(e - n) : p);
        }
        return true;
    });
    RemoveEmptyRuns(para);
}

void RemoveEmptyRuns(ParagraphText* para)
{
    if (!(para->flags() & kParaHasRuns))
        return;
    std::vector<RunEntry> runs = ReadRunTable(*para);
    const size_t before = runs.size();
    // A field whose text is empty keeps an entry of no width (see
    // field_runs.cpp); one that went with deleted text starts at 0xFFFF.
    std::erase_if(runs, [](const RunEntry& e) {
        const bool emptyField =
            (e.flags & kRunField) && e.end == e.start && e.start != 0xFFFF && e.fieldLength == 0;
        return e.end <= e.start && !emptyField;
    });
    if (runs.size() != before || runs.empty())
        WriteRunTable(para, runs);
}

bool FindRunWithColor(const ParagraphText& para, int16_t colour, int32_t position)
{
    bool found = false;
    ForEachRun(para, [&](const uint8_t* run) {
        if (position != 0xFFFF && RunStart(run) > position)
            return false;
        const RunEntry e = Decode(run);
        if ((e.flags & kRunColour) && e.values[kRankColour] == colour) {
            found = true;
            return false;
        }
        return true;
    });
    return found;
}

int32_t GetFieldRunAt(const ParagraphText& para, int32_t p, int32_t* start)
{
    int32_t length = 0;
    *start = -1;
    ForEachRun(para, [&](const uint8_t* run) {
        if (!(RunFlags(run) & kRunField))
            return true;
        const int32_t s = RunStart(run);
        const int32_t n = GetI16LE(run + kRunFieldLengthOffset);
        if (p >= s && p < s + std::max(n, 1)) {
            *start = s;
            length = std::max(n, 0);
            return false;
        }
        return true;
    });
    return length;
}

int32_t GetFieldIdAt(const ParagraphText& para, int32_t p)
{
    int32_t id = -1;
    ForEachRun(para, [&](const uint8_t* run) {
        if (!(RunFlags(run) & kRunField))
            return true;
        const int32_t s = RunStart(run);
        const int32_t n = GetI16LE(run + kRunFieldLengthOffset);
        if (p >= s && p < s + n) {
            id = GetI16LE(run + kRunFieldIdOffset);
            return false;
        }
        return true;
    });
    return id;
}

void SetFieldRunLength(ParagraphText* para, int32_t start, int16_t length)
{
    if (!(para->flags() & kParaHasRuns))
        return;
    ForEachRun(*para, [&](uint8_t* run) {
        if ((RunFlags(run) & kRunField) && RunStart(run) == start) {
            PutI16LE(run + kRunFieldLengthOffset, length);
            return false;
        }
        return true;
    });
}

bool IsInFieldRun(const ParagraphText& para, int32_t p, bool edge, int32_t* use)
{
    *use = p;
    bool inside = false;
    ForEachRun(para, [&](const uint8_t* run) {
        if (!(RunFlags(run) & kRunField))
            return true;
        const int32_t s = RunStart(run);
        const int32_t n = GetI16LE(run + kRunFieldLengthOffset);
        if ((p > s || (edge && p == s)) && p < s + n) {
            *use = s + n;
            inside = true;
            return false;
        }
        return true;
    });
    return inside;
}

bool MarkFieldRun(ParagraphText* para, int32_t p, int16_t fieldId, int16_t length)
{
    RunExtras extras;
    extras.fieldId = fieldId;
    extras.fieldLength = length;
    return SetRunAttributes(para, p, p + 1, kRunField, kRunDefaults, false, extras);
}

void WidenToFields(const ParagraphText& para, int32_t* from, int32_t* to)
{
    if (*to <= *from)
        return;
    ForEachRun(para, [&](const uint8_t* run) {
        if (!(RunFlags(run) & kRunField))
            return true;
        const int32_t s = RunStart(run);
        const int32_t e = s + std::max<int32_t>(GetI16LE(run + kRunFieldLengthOffset), 0);
        if (*from > s && *from < e)
            *from = s;
        if (*to > s && *to < e)
            *to = e;
        return true;
    });
}
