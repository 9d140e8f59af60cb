#include "dialogs/tab_record.h"

#include <cstring>

#include "foundation/byte_order.h"

namespace {

constexpr size_t kEntryBase = 2;
constexpr size_t kEntryBytes = 8;
constexpr size_t kEntryPosition = 2;
constexpr size_t kEntryAlignment = 5;
constexpr size_t kEntryFill = 6;
constexpr size_t kMaxWidth = 130;
constexpr size_t kFirstLine = 132;
constexpr size_t kLeftMargin = 134;
constexpr size_t kRightMargin = 136;
constexpr uint8_t kAlignmentBits = 0x07;

size_t Entry(int i) { return kEntryBase + kEntryBytes * size_t(i); }

}  // namespace

int16_t TabStops::GetPosition(int i) const { return int16_t(GetU16LE(r_ + Entry(i) + kEntryPosition)); }
void TabStops::SetPosition(int i, int16_t position) { PutU16LE(r_ + Entry(i) + kEntryPosition, uint16_t(position)); }

uint8_t TabStops::GetAlignment(int i) const { return r_[Entry(i) + kEntryAlignment] & kAlignmentBits; }
void TabStops::SetAlignment(int i, uint8_t alignment)
{
    uint8_t& b = r_[Entry(i) + kEntryAlignment];
    b = uint8_t((b & ~kAlignmentBits) | (alignment & kAlignmentBits));
}

void TabStops::SetFillAndFlags(int i, uint8_t fill, uint8_t flags)
{
    r_[Entry(i) + kEntryFill] = fill;
    uint8_t& b = r_[Entry(i) + kEntryAlignment];
    b = uint8_t((b & kAlignmentBits) | uint8_t(flags << 3));
}
uint8_t TabStops::GetFill(int i) const { return r_[Entry(i) + kEntryFill]; }
uint8_t TabStops::GetFlags(int i) const { return uint8_t(r_[Entry(i) + kEntryAlignment] >> 3); }

uint16_t TabStops::GetDefined() const { return GetU16LE(r_); }
void TabStops::SetDefined(uint16_t flag) { PutU16LE(r_, flag); }
int16_t TabStops::GetMaxWidth() const { return int16_t(GetU16LE(r_ + kMaxWidth)); }
void TabStops::SetMaxWidth(int16_t width) { PutU16LE(r_ + kMaxWidth, uint16_t(width)); }
int16_t TabStops::GetFirstLine() const { return int16_t(GetU16LE(r_ + kFirstLine)); }
void TabStops::SetFirstLine(int16_t position) { PutU16LE(r_ + kFirstLine, uint16_t(position)); }
int16_t TabStops::GetLeftMargin() const { return int16_t(GetU16LE(r_ + kLeftMargin)); }
void TabStops::SetLeftMargin(int16_t position) { PutU16LE(r_ + kLeftMargin, uint16_t(position)); }
int16_t TabStops::GetRightMargin() const { return int16_t(GetU16LE(r_ + kRightMargin)); }
void TabStops::SetRightMargin(int16_t position) { PutU16LE(r_ + kRightMargin, uint16_t(position)); }

int TabStops::UsedCount() const
{
    int n = 0;
    while (n < kTabEntries && GetPosition(n) >= 0)
        ++n;
    return n;
}

void TabStops::Compact()
{
    uint8_t entries[kEntryBytes * kTabEntries];
    size_t used = 0;
    for (int pass = 0; pass < 2; ++pass)
        for (int i = 0; i < kTabEntries; ++i)
            if ((GetPosition(i) >= 0) == (pass == 0)) {
                std::memcpy(entries + used, r_ + Entry(i), kEntryBytes);
                used += kEntryBytes;
            }
    std::memcpy(r_ + Entry(0), entries, sizeof(entries));
}

uint16_t TabStops::AnyUsed() const
{
    for (int i = 0; i < kTabEntries; ++i)
        if (GetPosition(i) >= 0)
            return 1;
    return 0;
}
