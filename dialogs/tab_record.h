// The tab record the Tabs dialog edits: the paragraph's tab block (the
// tabs-set word and 16 stops, as frames/tab_stops.h lays it out) followed by
// the text area's width and the paragraph's margins.
//
//   0    u16  tabs-defined flag: 0 none, 1 at least one tab
//   2    16 stops of 8 bytes (position at +2, 0xFFFF unused; alignment in
//        the low 3 bits of +5; fill character at +6)
//   130  u16  maximum width: the text area's width, points
//   132  i16  first-line position, points
//   134  i16  left margin, points
//   136  i16  right margin position, points
#pragma once

#include <cstddef>
#include <cstdint>

constexpr size_t kTabRecordBytes = 138;
constexpr int kTabEntries = 16;

struct TabRecord {
    uint8_t bytes[kTabRecordBytes] = {};
};

// Reads and writes the fields of a tab record, little-endian.
class TabStops {
public:
    explicit TabStops(uint8_t* record) : r_(record) {}

    // -1 for an unused entry.
    int16_t GetPosition(int i) const;
    void SetPosition(int i, int16_t position);
    // 0 left, 1 right, 2 centre.
    uint8_t GetAlignment(int i) const;
    void SetAlignment(int i, uint8_t alignment);
    void SetFillAndFlags(int i, uint8_t fill, uint8_t flags);
    uint8_t GetFill(int i) const;
    uint8_t GetFlags(int i) const;

    uint16_t GetDefined() const;
    void SetDefined(uint16_t flag);
    int16_t GetMaxWidth() const;
    void SetMaxWidth(int16_t width);
    int16_t GetFirstLine() const;
    void SetFirstLine(int16_t position);
    int16_t GetLeftMargin() const;
    void SetLeftMargin(int16_t position);
    int16_t GetRightMargin() const;
    void SetRightMargin(int16_t position);

    // Entries in use: those before the first unused one.
    int UsedCount() const;
    // Moves the used entries to the front in their order, so that none
    // hides behind an unused one.
    void Compact();
    // 1 when some entry is in use, else 0.
    uint16_t AnyUsed() const;

private:
    uint8_t* r_;
};
