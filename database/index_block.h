// One block image of the index file: field access, entry walking and the
// checks a block read from the file must pass before anything trusts it.
#pragma once

#include <cstdint>
#include <cstring>

#include "database/index_file.h"
#include "database/index_format.h"
#include "foundation/byte_order.h"

inline int32_t BlockOwnPosition(const uint8_t* block) { return GetI32LE(block + idxb::kOwnPosition); }
inline int32_t BlockUsed(const uint8_t* block) { return GetI32LE(block + idxb::kUsed); }
inline int32_t BlockFirstChild(const uint8_t* block) { return GetI32LE(block + idxb::kFirstChild); }
inline void SetBlockOwnPosition(uint8_t* block, int32_t v) { PutI32LE(block + idxb::kOwnPosition, v); }
inline void SetBlockUsed(uint8_t* block, int32_t v) { PutI32LE(block + idxb::kUsed, v); }
inline void SetBlockFirstChild(uint8_t* block, int32_t v) { PutI32LE(block + idxb::kFirstChild, v); }

// The entry at an offset of the entry area.
inline uint8_t* BlockEntry(uint8_t* block, int32_t offset) { return block + idxb::kEntries + offset; }
inline const uint8_t* BlockEntry(const uint8_t* block, int32_t offset) { return block + idxb::kEntries + offset; }

inline int32_t EntryChild(const uint8_t* entry) { return GetI32LE(entry + idxe::kChild); }
inline int32_t EntryRecordPosition(const uint8_t* entry) { return GetI32LE(entry + idxe::kRecordPosition); }
inline uint32_t EntrySequence(const uint8_t* entry) { return GetU32LE(entry + idxe::kSequence); }
inline const char* EntryKey(const uint8_t* entry) { return reinterpret_cast<const char*>(entry + idxe::kKey); }
inline void SetEntryChild(uint8_t* entry, int32_t v) { PutI32LE(entry + idxe::kChild, v); }
inline void SetEntryRecordPosition(uint8_t* entry, int32_t v) { PutI32LE(entry + idxe::kRecordPosition, v); }
// Only for entries whose key is known to be terminated (checked blocks and
// packed entries).
inline int32_t EntrySize(const uint8_t* entry) { return IndexEntrySize(int32_t(std::strlen(EntryKey(entry)))); }

// The offset of the entry that ends where `offset` starts (offset may be
// the used size), or -1 when offset is the first entry.
int32_t EntryBefore(const uint8_t* block, int32_t offset);
inline int32_t LastEntry(const uint8_t* block) { return EntryBefore(block, BlockUsed(block)); }
// The block the entry at offset leads down to; offset -1 stands before the
// first entry and leads to the block's first child.
inline int32_t ChildBelow(const uint8_t* block, int32_t offset)
{
    return offset == -1 ? BlockFirstChild(block) : EntryChild(BlockEntry(block, offset));
}

// The caller's key cut to the longest key a block holds; out holds 150 bytes.
void BoundedKey(const IndexEntry& entry, char* out);
// Packs an entry (key cut to 149 characters) into out; returns its size.
int32_t PackIndexEntry(const IndexEntry& entry, uint8_t* out);
void UnpackIndexEntry(const uint8_t* packed, IndexEntry* entry);

// A position where a block other than the root can lie in a file of
// fileSize bytes.
bool IndexBlockPositionIsValid(int32_t position, uint32_t fileSize);

// What a block read from the file must be to be used: its own position,
// a used size within the entry area made of whole entries with terminated
// keys of at most 149 characters, and child positions that lie in the file
// (-1 everywhere in a leaf, nowhere in an inner block). expectLeaf is 1 for
// a leaf, 0 for an inner block, -1 when either will do.
bool IndexBlockIsSound(const uint8_t* block, int32_t position, uint32_t fileSize, int expectLeaf);
// A block on the free list: marked free, its next position -1 or valid.
bool IndexFreeBlockIsSound(const uint8_t* block, uint32_t fileSize);
