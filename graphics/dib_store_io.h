// The positioned file access a swappable item needs from the document's
// swap file: room for a run of bytes, and reads and writes at a position.
// The swap file manager implements it; tests use a store in memory.
#pragma once

#include <cstdint>

constexpr uint32_t kStoreNoPosition = 0xFFFFFFFF;

class StoreFileIo {
public:
    virtual ~StoreFileIo() = default;
    // A position where length bytes may be written; kStoreNoPosition when
    // no room can be had.
    virtual uint32_t Allocate(uint32_t length) = 0;
    // 0, or the file layer's error code.
    virtual int32_t WriteAt(uint32_t position, const void* bytes, uint32_t n) = 0;
    virtual int32_t ReadAt(uint32_t position, void* bytes, uint32_t n) = 0;
};
