#include "frames/style_sheet.h"

#include <cstring>

namespace {

void PutRule(uint8_t* r, int16_t style, int16_t colour)
{
    r[kRuleOnOffset] = 0;
    PutI16LE(r + kRuleSpanOffset, 2);
    PutF32LE(r + kRuleLeftInsetOffset, 0.0f);
    PutF32LE(r + kRuleRightInsetOffset, 0.0f);
    PutI16LE(r + kRulePositionOffset, 0);
    PutI16LE(r + kRuleStyleOffset, style);
    PutI16LE(r + kRuleWidthOffset, 10);
    PutI16LE(r + kRuleColourOffset, colour);
    PutI16LE(r + kRuleShadeOffset, 100);
}

}  // namespace

StyleSheet::StyleSheet() : RecordTable(kStyleRecordSize)
{
    MakeNormalStyle(buffer_);
    InsertRecords(1, 1, buffer_);
}

void StyleSheet::MakeNormalStyle(uint8_t* record)
{
    std::memset(record, 0, kStyleRecordSize);
    std::memcpy(record + kStyleNameOffset, "Normal", 6);
    PutU32LE(record + kStyleIdOffset, 0);
    uint8_t* base = record + kStyleBaseFormatOffset;
    PutU16LE(base + 3 * 2, 12);
    PutU16LE(base + 5 * 2, 15);
    PutU16LE(base + 6 * 2, 100);
    ParaFormat format;
    format.alignment = 1;
    PutParaFormat(record + kStyleParaFormatOffset, format);
    PutRule(record + kStyleRuleAboveOffset, 3, 5);
    PutRule(record + kStyleRuleBelowOffset, 4, 15);
    uint8_t* tabs = record + kStyleTabsOffset;
    for (size_t i = 0; i < kTabStopCount; ++i)
        PutU16LE(tabs + kTabStopsOffset + i * kTabStopSize + kTabStopPositionOffset, 0xFFFF);
    std::memcpy(record + kStyleNextNameOffset, "Normal", 6);
}

uint32_t StyleSheet::FindStyleByName(const char* name)
{
    for (int32_t i = 1; i <= count_; ++i) {
        const uint8_t* r = RecordPtr(i);
        if (strncmp(reinterpret_cast<const char*>(r + kStyleNameOffset), name, kStyleNameSize) == 0)
            return GetU32LE(r + kStyleIdOffset);
    }
    return 0;
}

bool StyleSheet::Lookup(uint32_t id, size_t offset, size_t size, uint8_t* out)
{
    // Read in place: every paragraph laid out asks for its style's formats
    // several times, and a whole style record is large.
    for (int32_t i = 1; i <= count_; ++i) {
        const uint8_t* r = RecordPtr(i);
        if (!r)
            continue;
        const uint32_t styleId = GetU32LE(r + kStyleIdOffset);
        if (styleId == id) {
            std::memcpy(out, r + offset, size);
            return true;
        }
        if (styleId == 0)
            std::memcpy(out, r + offset, size);
    }
    return false;
}

bool StyleSheet::GetStyleById(uint32_t id, uint8_t* record) { return Lookup(id, 0, kStyleRecordSize, record); }

bool StyleSheet::GetBaseFormat(uint32_t id, uint8_t* out20)
{
    return Lookup(id, kStyleBaseFormatOffset, kStyleBaseFormatSize, out20);
}

bool StyleSheet::GetParaFormat(uint32_t id, ParaFormat* out)
{
    uint8_t bytes[kParaFormatSize] = {};
    PutParaFormat(bytes, *out);
    const bool found = Lookup(id, kStyleParaFormatOffset, kParaFormatSize, bytes);
    *out = ::GetParaFormat(bytes);
    return found;
}

bool StyleSheet::GetTabs(uint32_t id, uint8_t* out130) { return Lookup(id, kStyleTabsOffset, kTabBlockSize, out130); }

bool StyleSheet::GetParaBlock(uint32_t id, uint8_t* out24)
{
    return Lookup(id, kStyleRuleBelowOffset, kStyleRuleBlockSize, out24);
}

bool StyleSheet::GetLineBlock(uint32_t id, uint8_t* out24)
{
    return Lookup(id, kStyleRuleAboveOffset, kStyleRuleBlockSize, out24);
}
