// The page block of a card document: its page geometry, stored whole in the
// document file (layout in card_document_format.h). Bytes without a name
// are kept and written back as they came.
#pragma once

#include <cstdint>

#include "carddoc/card_document_format.h"
#include "foundation/int_geometry.h"

struct PageBlock {
    double cardWidth = 0;
    double cardHeight = 0;
    // Left, top, right, bottom: how far the first card reaches outside the
    // printer's printable area.
    int32_t margins[4] = {};
    int16_t firstPage = 1;
    int16_t sides = 1;
    uint8_t orientation = 0;
    uint8_t facing = 0;
    uint8_t insertFlag = 0;
    uint8_t byte39 = 0;
    // The continuation count and the two continuation switches of text
    // layout (0 in a new document; no command sets them), and the other
    // display word.
    int16_t continuationCount = 0;
    int16_t displayWord2 = 0;
    uint8_t continuationFirst = 0;
    uint8_t continuationSecond = 0;
    int16_t unit = 0;
    int16_t pageWidth = 0;
    int16_t pageHeight = 0;
    // The left and top of the first shown page.
    int32_t pageLeft = 0;
    int32_t pageTop = 0;
    IntRect slots[2];
    uint8_t further[kPageBlockFurtherSize] = {};
};

void EncodePageBlock(const PageBlock& block, uint8_t* out);
void DecodePageBlock(const uint8_t* in, PageBlock* block);
