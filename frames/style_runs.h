// The style-run table of a paragraph (style_run_format.h): look-ups, the
// attribute merge, and keeping runs in step with inserted and deleted
// characters. The table is unordered; every look-up takes the first entry
// whose [start, end) holds the position.
//
// Operations that change the table's size write the paragraph's run flag
// into the ParagraphText; the caller stores the flags back in the
// paragraph's record.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "frames/paragraph_text.h"
#include "frames/style_run_format.h"

// The attributes of the run last loaded, with the defaults of an absent run
// where it sets nothing.
struct RunCache {
    int32_t start = -1;
    int32_t end = -1;
    int16_t fieldId = -1;
    int16_t fieldLength = -1;
    int16_t pageKind = 0;
    uint16_t flags = 0;
    std::array<int16_t, kAttributeCount> values = kRunDefaults;

    void Reset() { *this = RunCache{}; }
    bool Holds(int32_t p) const { return start >= 0 && p >= start && p < end; }
    bool Has(uint16_t bit) const { return (flags & bit) != 0; }
    int16_t Value(int rank) const { return values[size_t(rank)]; }
};

// What a request carries besides its values: the field pair and the page-
// number kind, which go into new entries only with flags 0x800 and 0x400.
struct RunExtras {
    int16_t fieldId = -1;
    int16_t fieldLength = -1;
    int16_t pageKind = -1;
};

int CountRuns(const ParagraphText& para);
// The run holding p into the cache. Without a run table: false and the cache
// as it was; otherwise the cache is reset first, so a position no run holds
// answers false with the cache at its defaults.
bool LoadRunAt(const ParagraphText& para, int32_t p, RunCache* cache);
// The smallest start and largest end over all runs; (-1, -1) without runs.
void GetRunsExtent(const ParagraphText& para, int32_t* first, int32_t* last);
// Start and end of the first run holding p, or (-1, -1).
void FindRunBounds(const ParagraphText& para, int32_t p, int32_t* start, int32_t* end);

// The merge of one request into one run's attributes (values by rank).
// The style bits toggle unless asked to turn on (0x4000), or replaced by a
// value of 0 or with replace set.
void MergeRunAttributes(uint16_t runFlags, const std::array<int16_t, kAttributeCount>& runValues,
                        uint16_t* flags, std::array<int16_t, kAttributeCount>* values, bool replace);
// Applies the attributes to [start, end): each run the range meets is split
// so that only its part inside takes them, in place and in position order;
// what no run covers gets new runs at the table's end. False (after the
// memory alert) when the Handle could not grow; the table is then as it
// was.
bool SetRunAttributes(ParagraphText* para, int32_t start, int32_t end, uint16_t flags,
                      const std::array<int16_t, kAttributeCount>& values, bool replace,
                      const RunExtras& extras = {});

void AdjustRunsForInsert(ParagraphText* para, uint16_t p, uint32_t n);
// Then drops the runs that became empty.
void AdjustRunsForDelete(ParagraphText* para, uint16_t p, uint32_t n);
void RemoveEmptyRuns(ParagraphText* para);

// Whether a run sets colour to the value; with a position other than 0xFFFF
// the walk stops at the first run that starts after it.
bool FindRunWithColor(const ParagraphText& para, int16_t colour, int32_t position);

// Field runs: the run marks the field's first character (0x800) and keeps
// the length of the field's text, which starts there. A field whose text
// is empty keeps an entry of no width where the text would stand.
// The length of the field whose text holds p (0 when none) and its start.
int32_t GetFieldRunAt(const ParagraphText& para, int32_t p, int32_t* start);
// The field id when p lies inside a field's text, else -1.
int32_t GetFieldIdAt(const ParagraphText& para, int32_t p);
void SetFieldRunLength(ParagraphText* para, int32_t start, int16_t length);
// Whether an edit at p falls inside a field's text: strictly inside, or
// with edge set also at its first character. *use is the position after
// the field then, else p.
bool IsInFieldRun(const ParagraphText& para, int32_t p, bool edge, int32_t* use);
bool MarkFieldRun(ParagraphText* para, int32_t p, int16_t fieldId, int16_t length);
// Widens [*from, *to) to the whole text of every field it reaches into: a
// field's text is formatted as one, since its next text takes the format
// of its first character throughout.
void WidenToFields(const ParagraphText& para, int32_t* from, int32_t* to);

// The run table's bytes re-read as entries; used by the paragraph joins and
// splits, which move whole tables.
struct RunEntry {
    uint16_t start = 0;
    uint16_t end = 0;
    uint16_t fieldId = 0xFFFF;
    uint16_t fieldLength = 0xFFFF;
    uint16_t pageKind = 0xFFFF;
    uint16_t flags = 0;
    std::array<int16_t, kAttributeCount> values = kRunDefaults;
};

std::vector<RunEntry> ReadRunTable(const ParagraphText& para);
// Replaces the table with the entries (and sets or clears the run flag);
// false after the memory alert when the Handle could not grow.
bool WriteRunTable(ParagraphText* para, const std::vector<RunEntry>& runs);
