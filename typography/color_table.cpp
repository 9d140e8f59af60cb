#include "typography/color_table.h"

#include <algorithm>
#include <cstring>

#include "foundation/byte_order.h"
#include "foundation/int_math.h"
#include "graphics/hls.h"
#include "platform/dc.h"

namespace {

struct DefaultColour {
    const char* name;
    ColorRef color;
};

constexpr DefaultColour kDefaults[kColorCount] = {
    {"White", MakeRgb(255, 255, 255)},    {"Yellow", MakeRgb(255, 255, 0)},    {"Orange", MakeRgb(255, 128, 64)},
    {"Red", MakeRgb(255, 0, 0)},          {"Magenta", MakeRgb(255, 0, 128)},   {"Dark Blue", MakeRgb(0, 0, 160)},
    {"Blue", MakeRgb(0, 0, 255)},         {"Cyan", MakeRgb(2, 180, 255)},      {"Green", MakeRgb(0, 255, 0)},
    {"Dark Green", MakeRgb(0, 160, 0)},   {"Brown", MakeRgb(128, 64, 0)},      {"Light Brown", MakeRgb(180, 64, 0)},
    {"Light Gray", MakeRgb(192, 192, 192)}, {"Gray", MakeRgb(128, 128, 128)}, {"Dark Gray", MakeRgb(80, 80, 80)},
    {"Black", MakeRgb(0, 0, 0)},
};

bool InRange(int32_t index) { return index >= 0 && index < kColorCount; }

// Entry accessors given an index outside the table act on the last entry.
int32_t EntryIndex(int32_t index) { return InRange(index) ? index : kColorCount - 1; }

// Copies a name into a name field: cut to 31 bytes, the rest of the field
// zero, so no stale bytes travel with the entry.
void CopyName(char* field, const char* name)
{
    std::memset(field, 0, kColorNameSize);
    if (name)
        std::memcpy(field, name, strnlen(name, kColorNameSize - 1));
}

}  // namespace

ColorTable::ColorTable() { LoadDefaults(-1); }

void ColorTable::LoadDefaults(int32_t index)
{
    if (index == -1) {
        for (int32_t i = 0; i < kColorCount; ++i)
            LoadDefaults(i);
        return;
    }
    if (!InRange(index))
        return;
    entries_[index].color = kDefaults[index].color;
    CopyName(entries_[index].name, kDefaults[index].name);
}

ColorRef ColorTable::GetColor(int32_t index) const { return InRange(index) ? entries_[index].color : kWhite; }

void ColorTable::GetTint(ColorRef* out, int32_t index, int32_t percent) const
{
    const ColorRef c = GetColor(index);
    if (percent == 100) {
        *out = c;
        return;
    }
    int16_t hue = 0, lightness = 0, saturation = 0;
    RgbToHls(c, &hue, &lightness, &saturation);
    const double l = lightness;
    const double shaded = c == kWhite ? (l / 100.0) * percent : l + ((kHlsScale - l) / 100.0) * (100 - double(percent));
    // A shade outside 0-100 (a damaged or unset attribute) would carry the
    // lightness off the scale; it stays between black and white.
    const int32_t bounded = std::clamp(TruncToInt32(shaded), int32_t(0), int32_t(kHlsScale));
    *out = HlsToRgb(hue, int16_t(bounded), saturation);
}

Brush ColorTable::SelectTintBrush(Dc* dc, int32_t index, int32_t percent) const
{
    ColorRef c = 0;
    GetTint(&c, index, percent);
    return dc->selectBrush(Brush::Solid(c));
}

void ColorTable::SetTintTextColor(Dc* dc, int32_t index, int32_t percent) const
{
    ColorRef c = 0;
    GetTint(&c, index, percent);
    dc->setTextColor(c);
}

int32_t ColorTable::Read(FileHandle file, int32_t position)
{
    if (position != -1) {
        if (const int32_t error = FileSeek(file, kSeekStart, position))
            return error;
    }
    uint8_t section[kColorSectionSize];
    if (const int32_t error = FileRead(file, section, sizeof(section)))
        return error;
    Decode(section);
    return 0;
}

int32_t ColorTable::Write(FileHandle file, int32_t position) const
{
    if (position != -1) {
        if (const int32_t error = FileSeek(file, kSeekStart, position))
            return error;
    }
    uint8_t section[kColorSectionSize];
    Encode(section);
    return FileWrite(file, section, sizeof(section));
}

void ColorTable::Decode(const uint8_t* section)
{
    for (int32_t i = 0; i < kColorCount; ++i) {
        const uint8_t* p = section + size_t(i) * kColorEntrySize;
        entries_[i].color = GetU32LE(p + kColorEntryColour) & 0xFFFFFF;
        char name[kColorNameSize];
        std::memcpy(name, p + kColorEntryName, kColorNameSize);
        name[kColorNameSize - 1] = 0;
        CopyName(entries_[i].name, name);
    }
}

void ColorTable::Encode(uint8_t* section) const
{
    for (int32_t i = 0; i < kColorCount; ++i) {
        uint8_t* p = section + size_t(i) * kColorEntrySize;
        PutU32LE(p + kColorEntryColour, entries_[i].color & 0xFFFFFF);
        char name[kColorNameSize];
        CopyName(name, entries_[i].name);
        std::memcpy(p + kColorEntryName, name, kColorNameSize);
    }
}

void ColorTable::SetEntry(int32_t index, const ColorEntry& entry)
{
    ColorEntry& e = entries_[EntryIndex(index)];
    e.color = entry.color & 0xFFFFFF;
    CopyName(e.name, entry.name);
}

void ColorTable::GetEntry(int32_t index, ColorEntry* entry) const { *entry = entries_[EntryIndex(index)]; }

void ColorTable::SetColor(int32_t index, ColorRef color) { entries_[EntryIndex(index)].color = color & 0xFFFFFF; }

void ColorTable::SetName(int32_t index, const char* name)
{
    if (InRange(index))
        CopyName(entries_[index].name, name);
}

void ColorTable::GetName(int32_t index, char* out) const
{
    if (InRange(index))
        std::memcpy(out, entries_[index].name, kColorNameSize);
    else
        std::memset(out, 0, kColorNameSize);
}

void ColorTable::SetAll(const ColorEntry* entries)
{
    for (int32_t i = 0; i < kColorCount; ++i)
        SetEntry(i, entries[i]);
}

void ColorTable::GetAll(ColorEntry* entries) const
{
    for (int32_t i = 0; i < kColorCount; ++i)
        entries[i] = entries_[i];
}

int32_t ColorTable::FindColor(ColorRef color) const
{
    for (int32_t i = 0; i < kColorCount; ++i) {
        if (entries_[i].color == color)
            return i;
    }
    return 0;
}
