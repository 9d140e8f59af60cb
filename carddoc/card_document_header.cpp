#include "carddoc/card_document_header.h"

#include <algorithm>
#include <cstring>

#include "foundation/byte_order.h"
#include "records/print_settings_format.h"

namespace {

// The sections a reader reads, by their place in the header.
constexpr int kReadSections[] = {kSectionColours, kSectionFonts, kSectionPages, kSectionFrames, kSectionStories};

bool Within(const CardSectionPlace& place, uint64_t start, uint64_t end)
{
    return place.offset >= start && uint64_t(place.offset) + place.length <= end;
}

}  // namespace

void EncodeCardHeader(const CardDocHeader& h, uint8_t* out)
{
    std::memset(out, 0, kCardHeaderSize);
    PutU32LE(out + kCardStatus, h.status);
    PutU32LE(out + kCardFileCodeAt, h.fileCode);
    PutU32LE(out + kCardFormatCodeAt, h.formatCode);
    PutU32LE(out + kCardKindAt, h.kind);
    PutU32LE(out + kCardVersionAt, h.version);
    PutU32LE(out + kCardEndOfData, h.endOfData);
    PutU32LE(out + kCardPrintOffset, h.printOffset);
    for (int s = 0; s < kCardSectionCount; ++s) {
        PutU32LE(out + CardSectionOffsetAt(s), h.sections[s].offset);
        PutU32LE(out + CardSectionLengthAt(s), h.sections[s].length);
    }
    PutU32LE(out + kCardThumbnailOffset, h.thumbnail.offset);
    PutU32LE(out + kCardThumbnailLength, h.thumbnail.length);
    PutU32LE(out + kCardThumbnailKindAt, h.thumbnailKind);
    PutU32LE(out + kCardPageCount, h.pageCount);
    PutU32LE(out + kCardFrameCount, h.frameCount);
    PutU32LE(out + kCardStoryCount, h.storyCount);
    PutU32LE(out + kCardReserved, h.reserved);
}

void DecodeCardHeader(const uint8_t* in, CardDocHeader* h)
{
    h->status = GetU32LE(in + kCardStatus);
    h->fileCode = GetU32LE(in + kCardFileCodeAt);
    h->formatCode = GetU32LE(in + kCardFormatCodeAt);
    h->kind = GetU32LE(in + kCardKindAt);
    h->version = GetU32LE(in + kCardVersionAt);
    h->endOfData = GetU32LE(in + kCardEndOfData);
    h->printOffset = GetU32LE(in + kCardPrintOffset);
    for (int s = 0; s < kCardSectionCount; ++s) {
        h->sections[s].offset = GetU32LE(in + CardSectionOffsetAt(s));
        h->sections[s].length = GetU32LE(in + CardSectionLengthAt(s));
    }
    h->thumbnail.offset = GetU32LE(in + kCardThumbnailOffset);
    h->thumbnail.length = GetU32LE(in + kCardThumbnailLength);
    h->thumbnailKind = GetU32LE(in + kCardThumbnailKindAt);
    h->pageCount = GetU32LE(in + kCardPageCount);
    h->frameCount = GetU32LE(in + kCardFrameCount);
    h->storyCount = GetU32LE(in + kCardStoryCount);
    h->reserved = GetU32LE(in + kCardReserved);
}

CardHeaderCheck CheckCardHeader(const CardDocHeader& h, uint64_t fileSize)
{
    if (h.fileCode != kCardFileCode || h.formatCode != kCardFormatCode)
        return CardHeaderCheck::kNotCardFile;
    if (h.version != kCardVersion)
        return CardHeaderCheck::kOtherVersion;
    const uint64_t end = h.endOfData;
    const uint64_t printEnd = uint64_t(h.printOffset) + kPrintSettingsSize;
    if (end > fileSize || h.printOffset < kCardDataStart || printEnd > end ||
        printEnd > h.sections[kSectionColours].offset)
        return CardHeaderCheck::kDamaged;
    for (int s : kReadSections) {
        if (!Within(h.sections[s], kCardDataStart, end))
            return CardHeaderCheck::kDamaged;
    }
    return CardHeaderCheck::kGood;
}

bool CardThumbnailPlaced(const CardDocHeader& h, uint64_t fileSize)
{
    return h.thumbnail.length != 0 && Within(h.thumbnail, kCardDataStart, std::min<uint64_t>(fileSize, h.endOfData));
}
