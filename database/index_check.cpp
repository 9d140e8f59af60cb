// The whole-tree check: run at open on an index closed in order, so that a
// damaged file is rebuilt rather than used, and by the tests after changes.

#include <cstdio>
#include <vector>

#include "database/index_block.h"
#include "database/index_file.h"
#include "foundation/byte_order.h"

struct IndexFile::CheckContext {
    IndexCheckReport* report;
    std::vector<uint8_t> seen;  // per block after the header page
    bool checkOrder;
    int32_t levels;
};

namespace {

bool Problem(IndexCheckReport* report, const char* what, int32_t position)
{
    char text[128];
    std::snprintf(text, sizeof text, "%s (block %d)", what, int(position));
    report->problem = text;
    return false;
}

}  // namespace

bool IndexFile::CheckStructure(bool checkOrder, IndexCheckReport* report)
{
    *report = IndexCheckReport{};
    if (!open_) {
        report->problem = "not open";
        return false;
    }
    if (fileSize_ < uint32_t(kIndexHeaderPageSize) || (fileSize_ - kIndexHeaderPageSize) % kIndexBlockSize != 0)
        return Problem(report, "file size not a whole number of blocks", 0);
    const int32_t levels = Levels();
    if (levels < 1 || levels > kIndexMaxLevels)
        return Problem(report, "level count out of range", 0);
    report->levels = levels;
    report->fileBlocks = int32_t((fileSize_ - kIndexHeaderPageSize) / kIndexBlockSize);
    CheckContext context{report, std::vector<uint8_t>(size_t(report->fileBlocks), 0), checkOrder, levels};
    return CheckSubtree(0, 0, nullptr, nullptr, &context) && CheckFreeList(&context);
}

bool IndexFile::CheckSubtree(int32_t position, int32_t level, const uint8_t* low, const uint8_t* high,
                             CheckContext* context)
{
    IndexCheckReport* report = context->report;
    if (position != 0) {
        if (!IndexBlockPositionIsValid(position, fileSize_))
            return Problem(report, "child position outside the file", position);
        uint8_t& seen = context->seen[size_t((position - kIndexFirstBlock) / kIndexBlockSize)];
        if (seen)
            return Problem(report, "block reached twice", position);
        seen = 1;
    }
    uint8_t block[kIndexBlockSize];
    if (!PeekBlock(position, block))
        return Problem(report, "block unreadable", position);
    const bool leaf = level == context->levels - 1;
    if (!IndexBlockIsSound(block, position, fileSize_, leaf ? 1 : 0))
        return Problem(report, "block not sound", position);
    const int32_t used = BlockUsed(block);
    if (used == 0 && (position != 0 || !leaf))
        return Problem(report, "block without entries", position);
    ++report->treeBlocks;

    // Every entry lies between the separators above its block.
    const uint8_t* previous = low;
    for (int32_t at = 0; at < used; at += EntrySize(BlockEntry(block, at))) {
        const uint8_t* entry = BlockEntry(block, at);
        ++report->entries;
        if (context->checkOrder && previous != nullptr &&
            CompareAt({EntryKey(previous), EntrySequence(previous)}, entry, Compare::KeyAndSequence) >= 0)
            return Problem(report, "entries out of order", position);
        previous = entry;
    }
    if (context->checkOrder && previous != nullptr && high != nullptr &&
        CompareAt({EntryKey(previous), EntrySequence(previous)}, high, Compare::KeyAndSequence) >= 0)
        return Problem(report, "entry beyond its separator", position);
    if (leaf)
        return true;

    int32_t child = BlockFirstChild(block);
    const uint8_t* below = low;
    for (int32_t at = 0; at < used; at += EntrySize(BlockEntry(block, at))) {
        const uint8_t* entry = BlockEntry(block, at);
        if (!CheckSubtree(child, level + 1, below, entry, context))
            return false;
        below = entry;
        child = EntryChild(entry);
    }
    return CheckSubtree(child, level + 1, below, high, context);
}

bool IndexFile::CheckFreeList(CheckContext* context)
{
    IndexCheckReport* report = context->report;
    int32_t position = GetI32LE(header_ + idxh::kFreeList);
    // Each step marks a block not seen before, so a cycle ends the walk.
    while (position != kIndexNone) {
        if (!IndexBlockPositionIsValid(position, fileSize_))
            return Problem(report, "free list outside the file", position);
        uint8_t& seen = context->seen[size_t((position - kIndexFirstBlock) / kIndexBlockSize)];
        if (seen)
            return Problem(report, "free block in the tree or listed twice", position);
        seen = 1;
        uint8_t block[kIndexBlockSize];
        if (!PeekBlock(position, block))
            return Problem(report, "free block unreadable", position);
        if (!IndexFreeBlockIsSound(block, fileSize_))
            return Problem(report, "free block not marked free", position);
        ++report->freeBlocks;
        position = BlockOwnPosition(block);
    }
    return true;
}
