// Enhanced-metafile objects: checked enhanced-metafile bytes in memory.
//
// An object is only ever made from bytes that passed the checks below, so
// everything that walks its records can rely on the framing: the first
// record is a header of at least 88 bytes with the " EMF" signature, every
// record is at least 8 bytes, a multiple of 4 and inside the bytes, and the
// last record is EMR_EOF. The header's byte and record counts match the
// bytes. A stream that ends early or whose framing breaks is cut after its
// last whole record and closed with an EMR_EOF, so that a damaged file
// still shows what it holds.
//
// Whoever makes an object deletes it with DeleteEnhMetaFile.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "foundation/int_geometry.h"

struct EmfHeader {
    IntRect bounds;  // device units, inclusive
    IntRect frame;   // 0.01 mm, inclusive
    uint32_t bytes = 0;
    uint32_t records = 0;
    uint16_t handles = 0;
    IntSize devicePixels;
    IntSize deviceMillimeters;
    IntSize deviceMicrometers;  // 0, 0 when the header is too short for it
    std::u16string description;
};

struct EnhMetafileRec {
    std::vector<uint8_t> bits;
    EmfHeader header;
};
using EnhMetafile = EnhMetafileRec*;

// One record of an object: its type, its size in bytes and its bytes.
struct EmfRecord {
    uint32_t type;
    uint32_t size;
    const uint8_t* data;  // the record's first byte (its type word)
};

// Walks an object's records in order, the header first and EMR_EOF last.
class EmfRecordCursor {
public:
    explicit EmfRecordCursor(const EnhMetafileRec& mf) : bits_(&mf.bits) {}
    bool next(EmfRecord* out);

private:
    const std::vector<uint8_t>* bits_;
    size_t pos_ = 0;
};

// The largest metafile taken in (the bits must fit a Handle).
constexpr uint32_t kEmfMaxBytes = 0x7FFFFFFF;

// A new object holding a checked copy of the bytes; null when they are no
// enhanced metafile (or memory runs out).
EnhMetafile SetEnhMetaFileBits(uint32_t size, const uint8_t* data);
// The same, taking the bytes over.
EnhMetafile EnhMetafileFromBytes(std::vector<uint8_t> bytes);
// The object's bytes: with a null buffer the size, else the count copied
// when size is enough, 0 when it is not (or for a null object).
uint32_t GetEnhMetaFileBits(EnhMetafile mf, uint32_t size, uint8_t* buffer);
// The header record's bytes, the same way.
uint32_t GetEnhMetaFileHeader(EnhMetafile mf, uint32_t size, uint8_t* buffer);
void DeleteEnhMetaFile(EnhMetafile mf);
// Reads an enhanced-metafile file (a host path or a Windows-form path);
// null when it cannot be read or is no enhanced metafile.
EnhMetafile GetEnhMetaFileA(const char* path);

// Reads a whole file through the file layer, refusing files over maxBytes.
// 0 or the file layer's code (8 when it is too large for memory).
int32_t MetafileReadWholeFile(const char* path, uint32_t maxBytes, std::vector<uint8_t>* out);
