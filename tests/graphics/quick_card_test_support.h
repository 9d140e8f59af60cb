// Items and blocks for the Quick Card suites.
#pragma once

#include <string>
#include <vector>

#include "foundation/byte_order.h"
#include "foundation/handle.h"
#include "graphics/quick_card_block.h"
#include "graphics/quick_card_format.h"

struct PieceSpec {
    int32_t field = -1;
    std::string text;
    bool newLine = false;
    uint16_t separator = 0;
    float gap = 0;
    float spaceAbove = 0;
    int16_t fontSize = 0;
    uint16_t style = 0;
    uint16_t align = 0;
};

inline Handle MakeItem(const PieceSpec& s)
{
    Handle item = QuickCardItemNew();
    QuickCardItemSetText(item, s.text.data(), int32_t(s.text.size()));
    uint8_t* d = HandleData(item);
    PutI32LE(d + kQcItemField, s.field);
    PutF32LE(d + kQcItemGap, s.gap);
    PutF32LE(d + kQcItemSpaceAbove, s.spaceAbove);
    PutU16LE(d + kQcItemNewLine, s.newLine);
    PutU16LE(d + kQcItemSeparator, s.separator);
    PutI16LE(d + kQcItemFontSize, s.fontSize);
    PutU16LE(d + kQcItemStyle, s.style);
    PutU16LE(d + kQcItemAlign, s.align);
    return item;
}

inline Handle MakeBlock(const std::vector<PieceSpec>& pieces, uint8_t keepEmptyPieces = 0, uint8_t keepEmptyLines = 0)
{
    Handle block = QuickCardBlockNew();
    HandleData(block)[kQcHeaderKeepEmptyPieces] = keepEmptyPieces;
    HandleData(block)[kQcHeaderKeepEmptyLines] = keepEmptyLines;
    for (const PieceSpec& s : pieces) {
        HandleOwner item(MakeItem(s));
        QuickCardBlockAppendItem(block, item.get());
    }
    return block;
}

inline std::vector<uint8_t> Bytes(Handle h) { return {HandleData(h), HandleData(h) + HandleGetSize(h)}; }
