// Byte layout of the index file (".idx") beside a card database.
//
// The file is a B-tree of 2048-byte blocks. The first 2064 bytes are the
// header page: the root block, then four words of file state. Every other
// block lies at 2064 + k * 2048 and is found through its parent's child
// positions or through the free list. Every integer is little-endian; blocks
// and the header page are read and written field by field at the offsets
// below (index_block.cpp, index_file.cpp).
#pragma once

#include <cstdint>

// Block layout (offsets within a block).
namespace idxb {
constexpr int32_t kOwnPosition = 0;  // i32; in a free block: next free block (-1 = end)
constexpr int32_t kUsed = 4;         // i32, bytes used in the entry area
constexpr int32_t kFirstChild = 8;   // i32 p0: child below the first entry
constexpr int32_t kEntries = 12;     // the entry area
}  // namespace idxb

constexpr int32_t kIndexBlockSize = 2048;
constexpr int32_t kIndexEntryAreaSize = 2036;  // blocks split beyond this
constexpr int32_t kIndexCombineSize = 1018;    // blocks below this combine

// Values of p0 (and of an entry's child).
constexpr int32_t kIndexNoChild = -1;    // a leaf
constexpr int32_t kIndexFreeBlock = -2;  // the block is on the free list
constexpr int32_t kIndexNone = -1;       // end of the free list, no position

// Entry layout (offsets within an entry). An entry takes the key's length
// + 13 bytes: the 12-byte head, the key and its NUL.
namespace idxe {
constexpr int32_t kChild = 0;           // i32, block of the keys after this one; -1 none
constexpr int32_t kRecordPosition = 4;  // i32, offset of the record in the record file
constexpr int32_t kSequence = 8;        // u32, orders equal keys by age
constexpr int32_t kKey = 12;            // NUL-terminated key text
}  // namespace idxe

constexpr int32_t kIndexEntryHeadSize = 12;
constexpr int32_t kIndexMaxKeyLength = 149;
constexpr int32_t kIndexMaxEntrySize = kIndexEntryHeadSize + kIndexMaxKeyLength + 1;  // 162

constexpr int32_t IndexEntrySize(int32_t keyLength) { return keyLength + kIndexEntryHeadSize + 1; }

// Header page (offsets from the start of the file).
namespace idxh {
constexpr int32_t kRoot = 0;             // the root block; its own position is 0
constexpr int32_t kFreeList = 2048;      // i32, first free block (-1 = none)
constexpr int32_t kNextSequence = 2052;  // u32
constexpr int32_t kCleanMark = 2056;     // u32, 1 = closed in order
constexpr int32_t kLevels = 2060;        // u32, 1 for a tree that is only the root
}  // namespace idxh

constexpr int32_t kIndexHeaderPageSize = 2064;
constexpr int32_t kIndexFirstBlock = kIndexHeaderPageSize;
constexpr int32_t kIndexMaxLevels = 8;
