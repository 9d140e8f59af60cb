// One barcode: the data to encode and the settings it is drawn with.
#pragma once

#include <cstdint>

#include "foundation/int_geometry.h"
#include "foundation/pstr.h"

// Symbology numbers as stored in the record.
enum : int16_t {
    kBarcodePostnet = 1,
    kBarcodeFimA = 2,
    kBarcodeFimB = 3,
    kBarcodeFimC = 4,
    kBarcodeHorBars = 5,
    kBarcodeInterleaved25 = 6,
    kBarcodeCode39 = 7,
    kBarcodeCode128 = 8,
    kBarcodeUpcA = 9,
    kBarcodeUpcE = 10,
    kBarcodeEan13 = 11,
    kBarcodeEan8 = 12,
    kBarcodeIsbn = 13,
    kBarcodeIssn = 14,
    kBarcodeCodabar = 15,
};
constexpr int16_t kBarcodeFirstType = kBarcodePostnet;
constexpr int16_t kBarcodeLastType = kBarcodeCodabar;

// The record in memory. Every stored byte has a field here, so a record
// read and written back is the same 348 bytes.
struct BarcodeRecord {
    PStr data = {};  // all 256 bytes are kept, also those past the length
    double barHeight = 0.0;
    double module = 0.0;
    double space = 0.0;
    double charGap = 0.0;
    double angle = 0.0;
    int16_t type = 0;
    uint8_t showText = 0;
    uint8_t showSystemDigit = 0;
    uint8_t showCheckDigit = 0;
    uint8_t showStartStop = 0;
    uint8_t addCheckDigit = 0;
    uint8_t bearers = 0;
    uint8_t reserved = 0;
    uint8_t bookPrefix = 0;
    uint8_t padding[2] = {};
    IntRect bounds;
    int32_t originX = 0;
    int32_t originY = 0;
    int32_t centreX = 0;
    int32_t centreY = 0;
    double captionSize = 0.0;
};

// bytes holds kBarcodeRecordSize bytes.
void BarcodeRecordRead(const uint8_t* bytes, BarcodeRecord* rec);
void BarcodeRecordWrite(const BarcodeRecord& rec, uint8_t* bytes);

// The name the failure text starts with, ending in one blank; empty for
// FIM, HorBars and for numbers that are no symbology.
void BarcodeTypeName(int16_t type, uint8_t* out);
