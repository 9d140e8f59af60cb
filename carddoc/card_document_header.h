// The header of a card document file in memory, its coding to and from the
// 120 stored bytes, and the check a reader makes before it trusts any
// place the header names.
#pragma once

#include <cstdint>

#include "carddoc/card_document_format.h"

struct CardSectionPlace {
    uint32_t offset = 0;
    uint32_t length = 0;
};

struct CardDocHeader {
    uint32_t status = 0;
    uint32_t fileCode = kCardFileCode;
    uint32_t formatCode = kCardFormatCode;
    uint32_t kind = kCardKindCode;
    uint32_t version = kCardVersion;
    uint32_t endOfData = 0;
    uint32_t printOffset = 0;
    CardSectionPlace sections[kCardSectionCount];
    CardSectionPlace thumbnail;
    uint32_t thumbnailKind = kCardThumbnailKind;
    uint32_t pageCount = 0;
    uint32_t frameCount = 0;
    uint32_t storyCount = 0;
    uint32_t reserved = 0;
};

void EncodeCardHeader(const CardDocHeader& header, uint8_t* out);
void DecodeCardHeader(const uint8_t* in, CardDocHeader* header);

enum class CardHeaderCheck {
    kGood,
    kNotCardFile,    // another file code or format code
    kOtherVersion,   // a version other than 10, older or newer
    kDamaged,        // places outside the data, or data beyond the file
};

// Codes, version, then every place the reader uses: the data ends within
// the file and no earlier than the print settings do; the print settings
// start at or after 7000 and end by the colour table; the colour, font,
// page, frame and story sections lie between 7000 and the end of data.
CardHeaderCheck CheckCardHeader(const CardDocHeader& header, uint64_t fileSize);

// The thumbnail lies within the file and the data.
bool CardThumbnailPlaced(const CardDocHeader& header, uint64_t fileSize);
