// The two headers of Windows metafile files: the 22-byte placeable header
// that gives the picture's size, and the 18-byte metafile header.
#pragma once

#include <cstdint>

struct PlaceableHeader {
    int16_t left = 0;
    int16_t top = 0;
    int16_t right = 0;
    int16_t bottom = 0;
    uint16_t unitsPerInch = 0;
    uint16_t checksum = 0;
};

struct WmfHeader {
    uint16_t type = 0;
    uint16_t headerWords = 0;
    uint16_t version = 0;
    uint32_t sizeWords = 0;
    uint16_t objects = 0;
    uint32_t maxRecordWords = 0;
    uint16_t members = 0;
};

// True when the first four bytes are the placeable key.
bool PlaceableKeyAt(const uint8_t* data, uint32_t size);
// XOR of the ten 16-bit words in front of the checksum.
uint16_t PlaceableChecksum(const uint8_t* header);
bool PlaceableHeaderRead(const uint8_t* data, uint32_t size, PlaceableHeader* out);
// The 22 bytes of a header for a picture of right x bottom units at
// origin 0, 0, with its checksum.
void PlaceableHeaderBuild(int16_t right, int16_t bottom, uint16_t unitsPerInch, uint8_t* out);

bool WmfHeaderRead(const uint8_t* data, uint32_t size, WmfHeader* out);
// Type 1 or 2, header size 9 words, version 0x300 or 0x100.
bool WmfHeaderValid(const WmfHeader& h);
void WmfHeaderWrite(const WmfHeader& h, uint8_t* out);
