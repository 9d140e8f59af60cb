// The line table of a text frame: its laid-out lines, numbered from 1, in
// the order they show. Layout appends and replaces lines; editing shifts
// their character starts; positions, hit tests and drawing read them.
#pragma once

#include <cstdint>

#include "text/line_record.h"

class RecordTable;

class LineTable {
public:
    explicit LineTable(RecordTable* table) : table_(table) {}

    int32_t Count() const;
    // A default record for an index outside the table.
    TextLineRecord At(int32_t i) const;
    bool Get(int32_t i, TextLineRecord* out) const;
    // The line's paragraph and the first character after it, without
    // reading the rest of the line; false for an index outside the table.
    bool GetEnd(int32_t i, int32_t* paragraph, int32_t* end) const;
    void Set(int32_t i, const TextLineRecord& line);
    bool Append(const TextLineRecord& line);
    bool Insert(int32_t i, const TextLineRecord& line);
    void Delete(int32_t i, int32_t n);
    void Clear();

    // The first line of a paragraph, 0 when it has none here.
    int32_t FirstLineOf(int32_t paragraph) const;
    int32_t LastLineOf(int32_t paragraph) const;
    void DeleteParagraphLines(int32_t paragraph);

    // The line that holds the position, 0 when none. A position at a line's
    // end belongs to the next line of the paragraph when that line starts
    // there, else to the line it ends.
    int32_t FindLineOfPosition(int32_t character, int32_t paragraph) const;
    // Adds n to the first characters (direction 2; any other direction
    // subtracts) of the paragraph's lines from the given one on, up to the
    // first line of another paragraph.
    void ShiftLineStarts(int32_t n, int32_t fromLine, int32_t direction, int32_t paragraph);
    // Moves the lines from the given one on down by dy.
    void ShiftLines(int32_t fromLine, int32_t dy);
    // Adds delta to the paragraph index of the lines from the given one on.
    void RenumberLines(int32_t fromLine, int32_t delta);

private:
    RecordTable* table_;
};
