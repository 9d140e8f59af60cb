#include "text/para_format.h"

#include <cstring>

#include "foundation/byte_order.h"
#include "frames/style_sheet.h"
#include "frames/tab_stops.h"

namespace {

// Where each override bit keeps its value in the block.
int OverrideOffset(uint16_t bit)
{
    switch (bit) {
    case kOverRelativeLeading: return 2;
    case kOverLeftIndent: return 4;
    case kOverRightIndent: return 6;
    case kOverFirstIndent: return 8;
    case kOverLeading: return 10;
    case kOverLineSpacing: return 12;
    case kOverSpaceBefore: return 14;
    case kOverSpaceAfter: return 16;
    case kOverKeepNext: return 18;
    case kOverKeepTogether: return 19;
    case kOverAlignment: return 20;
    default: return -1;
    }
}

bool IsByteField(uint16_t bit) { return bit == kOverKeepNext || bit == kOverKeepTogether; }

int16_t ReadOverride(const uint8_t* block, uint16_t bit)
{
    const int at = OverrideOffset(bit);
    return IsByteField(bit) ? int16_t(block[at]) : GetI16LE(block + at);
}

}  // namespace

BaseFormat ReadBaseFormat(StyleSheet* styles, uint32_t styleId)
{
    uint8_t bytes[kStyleBaseFormatSize] = {};
    styles->GetBaseFormat(styleId, bytes);
    BaseFormat base{};
    for (int i = 0; i < kAttributeCount; ++i)
        base[size_t(i)] = GetI16LE(bytes + 2 * i);
    return base;
}

ParaFormat EffectiveParaFormat(StyleSheet* styles, const ParagraphText& para, bool justify)
{
    ParaFormat f;
    if (!styles->GetParaFormat(para.StyleId(), &f))
        return f;
    const uint8_t* block = para.OverrideBlock();
    const uint16_t bits = block ? GetU16LE(block) : 0;
    if (bits) {
        if (bits & kOverLeftIndent)
            f.leftIndent = ReadOverride(block, kOverLeftIndent);
        if (bits & kOverRightIndent)
            f.rightIndent = ReadOverride(block, kOverRightIndent);
        if (bits & kOverFirstIndent)
            f.firstLineIndent = ReadOverride(block, kOverFirstIndent);
        if (bits & kOverSpaceBefore)
            f.spaceBefore = ReadOverride(block, kOverSpaceBefore);
        if (bits & kOverSpaceAfter)
            f.spaceAfter = ReadOverride(block, kOverSpaceAfter);
        if (bits & kOverKeepTogether)
            f.keepTogether = uint8_t(ReadOverride(block, kOverKeepTogether));
        if (bits & kOverKeepNext)
            f.keepWithNext = uint8_t(ReadOverride(block, kOverKeepNext));
        if (bits & kOverAlignment)
            f.alignment = ReadOverride(block, kOverAlignment);
        if (bits & kOverLeading)
            f.leading = ReadOverride(block, kOverLeading);
        if (bits & kOverLineSpacing)
            f.lineSpacing = ReadOverride(block, kOverLineSpacing);
        if (bits & kOverRelativeLeading) {
            const BaseFormat base = ReadBaseFormat(styles, para.StyleId());
            f.leading = int16_t(base[kRankSize] + ReadOverride(block, kOverRelativeLeading));
        }
    }
    if (f.alignment == 4 && justify)
        f.alignment = 5;
    return f;
}

void EffectiveTabs(StyleSheet* styles, const ParagraphText& para, int32_t rectWidth, uint8_t* out130)
{
    ClearTabBlock(out130);
    styles->GetTabs(para.StyleId(), out130);
    const uint8_t* own = para.TabBlock();
    if (own && TabsSetWord(own) != 0) {
        SetTabsSetWord(out130, 1);
        std::memcpy(out130 + 2, own + 2, kTabBlockBytes - 2);
    }
    int empty = 0;
    for (int i = 0; i < kTabStops; ++i) {
        if (TabPosition(out130, i) != kNoTabStop && int32_t(TabPosition(out130, i)) >= rectWidth)
            SetTabPosition(out130, i, kNoTabStop);
        empty += TabPosition(out130, i) == kNoTabStop ? 1 : 0;
    }
    if (empty == kTabStops)
        SetTabsSetWord(out130, 0);
}

uint16_t OverrideFlags(const ParagraphText& para)
{
    const uint8_t* block = para.OverrideBlock();
    return block ? GetU16LE(block) : 0;
}

bool SetOverrideField(ParagraphText* para, uint16_t bit, int16_t value)
{
    const int at = OverrideOffset(bit);
    if (at < 0 || !para->AddOverrideBlock())
        return false;
    uint8_t* block = para->OverrideBlock();
    PutU16LE(block, uint16_t(GetU16LE(block) | bit));
    if (IsByteField(bit))
        block[at] = uint8_t(value);
    else
        PutI16LE(block + at, value);
    return true;
}

void ClearOverrideField(ParagraphText* para, uint16_t bit)
{
    uint8_t* block = para->OverrideBlock();
    if (!block)
        return;
    const uint16_t bits = uint16_t(GetU16LE(block) & ~bit);
    PutU16LE(block, bits);
    if (bits == 0)
        para->RemoveOverrideBlock();
}

bool SetParagraphLineSpacing(ParagraphText* para, int16_t kind)
{
    if (kind == 3 || kind == 4)
        return SetOverrideField(para, kOverLineSpacing, kind);
    ClearOverrideField(para, kOverLineSpacing);
    return true;
}
