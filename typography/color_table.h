// ColorTable: the sixteen named colours of a card document. Every colour in
// a card design is an index into this table with a shade percentage; the
// tint operations turn the pair into the colour to draw with.
#pragma once

#include <cstdint>

#include "foundation/file_io.h"
#include "platform/gdi_types.h"
#include "typography/color_table_format.h"

class Dc;

struct ColorEntry {
    ColorRef color = 0;
    char name[kColorNameSize] = {};  // Windows-1252, always zero-terminated
};

class ColorTable {
public:
    // All sixteen defaults.
    ColorTable();

    // -1: every entry takes its default; 0-15: only that entry. Any other
    // index changes nothing.
    void LoadDefaults(int32_t index = -1);

    // White for an index outside 0-15.
    ColorRef GetColor(int32_t index) const;
    // The colour of an entry at a shade percentage, 100 being the plain
    // colour: lower shades lighten a colour toward white, and darken pure
    // white toward black.
    void GetTint(ColorRef* out, int32_t index, int32_t percent) const;
    // Selects a solid brush of the tint; returns the brush it replaced.
    Brush SelectTintBrush(Dc* dc, int32_t index, int32_t percent) const;
    void SetTintTextColor(Dc* dc, int32_t index, int32_t percent) const;

    // The colour section at a position from the file's start (-1: where
    // the file is). 0 or the file layer's error code; a section that
    // cannot be read whole leaves the table as it was.
    int32_t Read(FileHandle file, int32_t position);
    int32_t Write(FileHandle file, int32_t position) const;
    // The section in memory (kColorSectionSize bytes).
    void Decode(const uint8_t* section);
    void Encode(uint8_t* section) const;

    // Indexes outside 0-15 act on entry 15.
    void SetEntry(int32_t index, const ColorEntry& entry);
    void GetEntry(int32_t index, ColorEntry* entry) const;
    void SetColor(int32_t index, ColorRef color);
    // Names longer than 31 bytes are cut. Outside 0-15 SetName does
    // nothing and GetName gives an empty name (out holds 32 bytes).
    void SetName(int32_t index, const char* name);
    void GetName(int32_t index, char* out) const;
    void SetAll(const ColorEntry* entries);
    void GetAll(ColorEntry* entries) const;
    // The first entry with exactly that colour; 0 when none has it.
    int32_t FindColor(ColorRef color) const;

private:
    ColorEntry entries_[kColorCount];
};
