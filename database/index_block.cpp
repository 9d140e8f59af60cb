#include "database/index_block.h"

#include <algorithm>

int32_t EntryBefore(const uint8_t* block, int32_t offset)
{
    // Entries vary in size, so the one before is found from the start.
    int32_t previous = -1;
    int32_t at = 0;
    while (at < offset) {
        previous = at;
        at += EntrySize(BlockEntry(block, at));
    }
    return previous;
}

void BoundedKey(const IndexEntry& entry, char* out)
{
    const size_t n = strnlen(entry.key, kIndexMaxKeyLength);
    std::memcpy(out, entry.key, n);
    out[n] = '\0';
}

int32_t PackIndexEntry(const IndexEntry& entry, uint8_t* out)
{
    PutI32LE(out + idxe::kChild, entry.child);
    PutI32LE(out + idxe::kRecordPosition, entry.recordPosition);
    PutU32LE(out + idxe::kSequence, entry.sequence);
    BoundedKey(entry, reinterpret_cast<char*>(out + idxe::kKey));
    return EntrySize(out);
}

void UnpackIndexEntry(const uint8_t* packed, IndexEntry* entry)
{
    entry->child = EntryChild(packed);
    entry->recordPosition = EntryRecordPosition(packed);
    entry->sequence = EntrySequence(packed);
    const char* key = EntryKey(packed);
    const size_t n = std::min(std::strlen(key), size_t(kIndexMaxKeyLength));
    std::memcpy(entry->key, key, n);
    entry->key[n] = '\0';
}

bool IndexBlockPositionIsValid(int32_t position, uint32_t fileSize)
{
    if (position < kIndexFirstBlock || (position - kIndexFirstBlock) % kIndexBlockSize != 0)
        return false;
    return uint64_t(position) + kIndexBlockSize <= fileSize;
}

bool IndexBlockIsSound(const uint8_t* block, int32_t position, uint32_t fileSize, int expectLeaf)
{
    if (BlockOwnPosition(block) != position)
        return false;
    const int32_t used = BlockUsed(block);
    if (used < 0 || used > kIndexEntryAreaSize)
        return false;
    const int32_t firstChild = BlockFirstChild(block);
    const bool leaf = firstChild == kIndexNoChild;
    if (!leaf && !IndexBlockPositionIsValid(firstChild, fileSize))
        return false;
    if (expectLeaf >= 0 && leaf != (expectLeaf == 1))
        return false;

    const uint8_t* area = block + idxb::kEntries;
    int32_t at = 0;
    while (at < used) {
        if (used - at < kIndexEntryHeadSize + 1)
            return false;
        const uint8_t* entry = area + at;
        const int32_t keyRoom = std::min(used - at - kIndexEntryHeadSize, kIndexMaxKeyLength + 1);
        const void* end = std::memchr(entry + idxe::kKey, 0, size_t(keyRoom));
        if (end == nullptr)
            return false;
        const int32_t child = EntryChild(entry);
        if (leaf ? child != kIndexNoChild : !IndexBlockPositionIsValid(child, fileSize))
            return false;
        if (EntryRecordPosition(entry) < kIndexNone)
            return false;
        at += IndexEntrySize(int32_t(static_cast<const uint8_t*>(end) - (entry + idxe::kKey)));
    }
    return at == used;
}

bool IndexFreeBlockIsSound(const uint8_t* block, uint32_t fileSize)
{
    const int32_t next = BlockOwnPosition(block);
    return BlockFirstChild(block) == kIndexFreeBlock &&
           (next == kIndexNone || IndexBlockPositionIsValid(next, fileSize));
}
