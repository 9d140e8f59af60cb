#include "barcode/barcode_record.h"

#include <cstring>

#include "barcode/barcode_record_format.h"
#include "foundation/byte_order.h"

void BarcodeRecordRead(const uint8_t* b, BarcodeRecord* rec)
{
    std::memcpy(rec->data, b + kBarcodeDataOffset, kBarcodeDataSize);
    rec->barHeight = GetF64LE(b + kBarcodeBarHeightOffset);
    rec->module = GetF64LE(b + kBarcodeModuleOffset);
    rec->space = GetF64LE(b + kBarcodeSpaceOffset);
    rec->charGap = GetF64LE(b + kBarcodeCharGapOffset);
    rec->angle = GetF64LE(b + kBarcodeAngleOffset);
    rec->type = GetI16LE(b + kBarcodeTypeOffset);
    rec->showText = b[kBarcodeShowTextOffset];
    rec->showSystemDigit = b[kBarcodeShowSystemDigitOffset];
    rec->showCheckDigit = b[kBarcodeShowCheckDigitOffset];
    rec->showStartStop = b[kBarcodeShowStartStopOffset];
    rec->addCheckDigit = b[kBarcodeAddCheckDigitOffset];
    rec->bearers = b[kBarcodeBearersOffset];
    rec->reserved = b[kBarcodeReservedOffset];
    rec->bookPrefix = b[kBarcodeBookPrefixOffset];
    std::memcpy(rec->padding, b + kBarcodePaddingOffset, kBarcodePaddingSize);
    rec->bounds.left = GetI32LE(b + kBarcodeBoundsOffset);
    rec->bounds.top = GetI32LE(b + kBarcodeBoundsOffset + 4);
    rec->bounds.right = GetI32LE(b + kBarcodeBoundsOffset + 8);
    rec->bounds.bottom = GetI32LE(b + kBarcodeBoundsOffset + 12);
    rec->originX = GetI32LE(b + kBarcodeOriginXOffset);
    rec->originY = GetI32LE(b + kBarcodeOriginYOffset);
    rec->centreX = GetI32LE(b + kBarcodeCentreXOffset);
    rec->centreY = GetI32LE(b + kBarcodeCentreYOffset);
    rec->captionSize = GetF64LE(b + kBarcodeCaptionSizeOffset);
}

void BarcodeRecordWrite(const BarcodeRecord& rec, uint8_t* b)
{
    std::memcpy(b + kBarcodeDataOffset, rec.data, kBarcodeDataSize);
    PutF64LE(b + kBarcodeBarHeightOffset, rec.barHeight);
    PutF64LE(b + kBarcodeModuleOffset, rec.module);
    PutF64LE(b + kBarcodeSpaceOffset, rec.space);
    PutF64LE(b + kBarcodeCharGapOffset, rec.charGap);
    PutF64LE(b + kBarcodeAngleOffset, rec.angle);
    PutI16LE(b + kBarcodeTypeOffset, rec.type);
    b[kBarcodeShowTextOffset] = rec.showText;
    b[kBarcodeShowSystemDigitOffset] = rec.showSystemDigit;
    b[kBarcodeShowCheckDigitOffset] = rec.showCheckDigit;
    b[kBarcodeShowStartStopOffset] = rec.showStartStop;
    b[kBarcodeAddCheckDigitOffset] = rec.addCheckDigit;
    b[kBarcodeBearersOffset] = rec.bearers;
    b[kBarcodeReservedOffset] = rec.reserved;
    b[kBarcodeBookPrefixOffset] = rec.bookPrefix;
    std::memcpy(b + kBarcodePaddingOffset, rec.padding, kBarcodePaddingSize);
    PutI32LE(b + kBarcodeBoundsOffset, rec.bounds.left);
    PutI32LE(b + kBarcodeBoundsOffset + 4, rec.bounds.top);
    PutI32LE(b + kBarcodeBoundsOffset + 8, rec.bounds.right);
    PutI32LE(b + kBarcodeBoundsOffset + 12, rec.bounds.bottom);
    PutI32LE(b + kBarcodeOriginXOffset, rec.originX);
    PutI32LE(b + kBarcodeOriginYOffset, rec.originY);
    PutI32LE(b + kBarcodeCentreXOffset, rec.centreX);
    PutI32LE(b + kBarcodeCentreYOffset, rec.centreY);
    PutF64LE(b + kBarcodeCaptionSizeOffset, rec.captionSize);
}

void BarcodeTypeName(int16_t type, uint8_t* out)
{
    static const char* const kNames[] = {
        "Postnet ", "", "", "", "", "Interleaved ", "Code39 ", "Code128 ",
        "UPC-A ", "UPC-E ", "EAN-13 ", "EAN-8 ", "ISBN ", "ISSN ", "Codabar ",
    };
    static_assert(sizeof(kNames) / sizeof(kNames[0]) == kBarcodeLastType);
    if (type < kBarcodeFirstType || type > kBarcodeLastType) {
        out[0] = 0;
        return;
    }
    PStrFromCStr(out, kNames[type - kBarcodeFirstType]);
}
