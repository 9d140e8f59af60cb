// The B-tree itself: search, the cursor, insert with splits, delete with
// merges. Every public operation leaves no block pinned.

#include <cstring>

#include "database/index_block.h"
#include "database/index_file.h"
#include "foundation/byte_order.h"

namespace {

// Runs its function on every way out of a scope.
template <typename F>
class AtExit {
public:
    explicit AtExit(F f) : f_(f) {}
    ~AtExit() { f_(); }
    AtExit(const AtExit&) = delete;
    AtExit& operator=(const AtExit&) = delete;

private:
    F f_;
};

}  // namespace

int IndexFile::CompareAt(const SearchKey& searched, const uint8_t* entry, Compare how) const
{
    // Byte-wise: strcmp compares the bytes as unsigned characters.
    int c = std::strcmp(searched.key, EntryKey(entry));
    c = c < 0 ? -1 : (c > 0 ? 1 : 0);
    if (c == 0 && how == Compare::KeyAndSequence) {
        const uint32_t sequence = EntrySequence(entry);
        c = searched.sequence < sequence ? -1 : (searched.sequence > sequence ? 1 : 0);
    }
    return descending_ ? -c : c;
}

const int16_t* IndexFile::BlockStarts(int32_t position, const uint8_t* block, int32_t* count)
{
    const int32_t s = position == 0 ? -1 : SlotOf(position);
    if (s < 0)
        return nullptr;
    CacheSlot& slot = slots_[size_t(s)];
    const int32_t used = BlockUsed(block);
    if (slot.startCount < 0) {
        int32_t n = 0;
        for (int32_t at = 0; at < used && n < kMostEntries; at += EntrySize(BlockEntry(block, at)))
            slot.starts[n++] = int16_t(at);
        slot.startCount = n;
    }
    // A change that slipped past MarkChanged would show here first: the
    // last entry no longer ends where the entries end.
    const int32_t n = slot.startCount;
    if (n == 0 ? used != 0 : slot.starts[n - 1] + EntrySize(BlockEntry(block, slot.starts[n - 1])) != used) {
        slot.startCount = -1;
        return nullptr;
    }
    *count = n;
    return slot.starts;
}

int32_t IndexFile::Search(const SearchKey& searched, Compare how, bool stopAtFirst, bool* found)
{
    *found = false;
    cursorOnPath_ = false;
    const int32_t levels = Levels();
    int32_t position = 0;
    for (int32_t level = 0; level < levels; ++level) {
        const bool leaf = level == levels - 1;
        const uint8_t* block = FetchBlock(position, leaf ? 1 : 0, false);
        if (block == nullptr)
            return -1;
        // The entries of a block rise in key order. Entries vary in size,
        // so the walk goes from the start, but it compares only every
        // eighth entry and stops at the first one not below the searched
        // key; halving the last stretch then finds the first such entry.
        // The search stands on it when it is equal, else on the one before
        // it. (A block holds up to 156 entries; comparing each one in turn
        // was most of the cost of adding keys in no order.)
        constexpr int32_t kStride = 8;
        const int32_t used = BlockUsed(block);
        int32_t walked[kMostEntries];
        int32_t count = 0;
        int32_t low = 0;       // every entry before low is below the key
        int32_t high = -1;     // the first entry known not below it
        int highCompare = -1;  // the comparison with the entry at high
        const int16_t* known = BlockStarts(position, block, &count);
        if (known == nullptr) {
            count = 0;
            for (int32_t at = 0; at < used && count < kMostEntries; at += EntrySize(BlockEntry(block, at))) {
                walked[count++] = at;
                if (count % kStride == 0) {
                    const int c = CompareAt(searched, BlockEntry(block, at), how);
                    if (c <= 0) {
                        high = count - 1;
                        highCompare = c;
                        break;
                    }
                    low = count;
                }
            }
        }
        auto starts = [&](int32_t i) { return known ? int32_t(known[i]) : walked[i]; };
        if (high < 0)
            high = count;
        while (low < high) {
            const int32_t middle = low + (high - low) / 2;
            const int c = CompareAt(searched, BlockEntry(block, starts(middle)), how);
            if (c > 0) {
                low = middle + 1;
            } else {
                high = middle;
                highCompare = c;
            }
        }
        const bool equal = low < count && highCompare == 0;
        const int32_t offset = equal ? starts(low) : (low > 0 ? starts(low - 1) : -1);
        cursor_[level] = {position, offset};
        level_ = int16_t(level);
        if (equal) {
            *found = true;
            if (stopAtFirst) {
                cursorOnPath_ = true;
                return 1;
            }
        }
        if (leaf)
            break;
        position = ChildBelow(block, offset);
    }
    cursorOnPath_ = true;
    return 1;
}

int32_t IndexFile::CopyAtCursor(IndexEntry* entry)
{
    const CursorLevel& at = cursor_[level_];
    const uint8_t* block = FetchBlock(at.block, level_ == Levels() - 1 ? 1 : 0, false);
    if (block == nullptr)
        return -1;
    if (at.offset < 0 || at.offset >= BlockUsed(block))
        return -1;
    UnpackIndexEntry(BlockEntry(block, at.offset), entry);
    return 1;
}

int32_t IndexFile::Descend(int32_t position, int32_t level, bool toLast)
{
    const int32_t levels = Levels();
    for (; level < levels; ++level) {
        const bool leaf = level == levels - 1;
        const uint8_t* block = FetchBlock(position, leaf ? 1 : 0, false);
        if (block == nullptr)
            return -1;
        // Towards the first entry the way leads through each block's first
        // child to before the leaf's first entry; towards the last through
        // each block's last entry to after the leaf's last.
        const int32_t offset = !toLast ? -1 : (leaf ? BlockUsed(block) : LastEntry(block));
        cursor_[level] = {position, offset};
        if (!leaf)
            position = ChildBelow(block, offset);
    }
    level_ = int16_t(levels - 1);
    return 1;
}

int32_t IndexFile::GoEnd(bool toLast)
{
    if (!Usable())
        return -1;
    const int32_t result = Descend(0, 0, toLast);
    cursorOnPath_ = result == 1;
    return result;
}

// The cursor stands on the entry at its level's offset. At a leaf the
// offset may also be -1 (before the first entry) or the used size (after
// the last). Each level above names the entry whose child leads down (-1:
// the block's first child), so the way back up needs no parent pointers.

int32_t IndexFile::LeaveInnerEntry(bool backwards)
{
    const uint8_t* block = FetchBlock(cursor_[level_].block, 0, false);
    if (block == nullptr)
        return -1;
    // Next after an inner entry is the first entry of its child's subtree;
    // before it, the last entry of the subtree on its left.
    int32_t offset = cursor_[level_].offset;
    if (backwards) {
        offset = EntryBefore(block, offset);
        cursor_[level_].offset = offset;
    }
    return Descend(ChildBelow(block, offset), level_ + 1, backwards);
}

const uint8_t* IndexFile::CursorLeaf(bool backwards)
{
    if (!Usable())
        return nullptr;
    const int32_t leafLevel = Levels() - 1;
    if (level_ < leafLevel && LeaveInnerEntry(backwards) < 0)
        return nullptr;
    return FetchBlock(cursor_[leafLevel].block, 1, false);
}

int32_t IndexFile::GetNext(IndexEntry* entry)
{
    const uint8_t* leaf = CursorLeaf(false);
    if (leaf == nullptr)
        return -1;
    const int32_t leafLevel = Levels() - 1;
    const int32_t used = BlockUsed(leaf);
    const int32_t offset = cursor_[leafLevel].offset;
    const int32_t next = offset < 0 ? 0 : (offset >= used ? used : offset + EntrySize(BlockEntry(leaf, offset)));
    if (next < used) {
        cursor_[leafLevel].offset = next;
        return CopyAtCursor(entry);
    }
    for (int32_t level = leafLevel - 1; level >= 0; --level) {
        const uint8_t* block = FetchBlock(cursor_[level].block, 0, false);
        if (block == nullptr)
            return -1;
        const int32_t at = cursor_[level].offset;
        const int32_t after = at < 0 ? 0 : at + EntrySize(BlockEntry(block, at));
        if (after < BlockUsed(block)) {
            cursor_[level].offset = after;
            level_ = int16_t(level);
            return CopyAtCursor(entry);
        }
    }
    // Every level stood on its last entry: the cursor is after the last.
    cursor_[leafLevel].offset = used;
    level_ = int16_t(leafLevel);
    return -2;
}

int32_t IndexFile::GetPrev(IndexEntry* entry)
{
    const uint8_t* leaf = CursorLeaf(true);
    if (leaf == nullptr)
        return -1;
    const int32_t leafLevel = Levels() - 1;
    const int32_t offset = cursor_[leafLevel].offset;
    const int32_t used = BlockUsed(leaf);
    const int32_t previous = offset <= 0 ? -1 : EntryBefore(leaf, offset > used ? used : offset);
    if (previous >= 0) {
        cursor_[leafLevel].offset = previous;
        return CopyAtCursor(entry);
    }
    for (int32_t level = leafLevel - 1; level >= 0; --level) {
        // The entry that leads down to a subtree comes just before it.
        if (cursor_[level].offset >= 0) {
            level_ = int16_t(level);
            return CopyAtCursor(entry);
        }
    }
    cursor_[leafLevel].offset = -1;
    level_ = int16_t(leafLevel);
    return -2;
}

int32_t IndexFile::FindKey(IndexEntry* entry)
{
    if (!Usable())
        return -1;
    char key[kIndexMaxKeyLength + 1];
    BoundedKey(*entry, key);
    bool found = false;
    if (Search({key, entry->sequence}, ignoreSequence_ ? Compare::KeyOnly : Compare::KeyAndSequence, true, &found) < 0)
        return -1;
    if (!found)
        return 0;
    return CopyAtCursor(entry);
}

int32_t IndexFile::LocateKey(IndexEntry* entry)
{
    int32_t result = FindKey(entry);
    if (result != 0)
        return result;
    if (!descending_) {
        result = GetNext(entry);
        return result == 1 ? 0 : result;
    }
    // Descending, the entry that follows the key in key order is the one
    // before the search's place in the index: step past it and back.
    result = GetNext(entry);
    if (result == -1)
        return -1;
    result = GetPrev(entry);
    return result == 1 ? 0 : result;
}

int32_t IndexFile::SeekNearCursor(const IndexEntry* entry, const char* key)
{
    if (!cursorOnPath_)
        return 0;
    auto isIt = [&](const IndexEntry& e) {
        return e.recordPosition == entry->recordPosition && std::strcmp(e.key, key) == 0;
    };
    IndexEntry here;
    if (CopyAtCursor(&here) == 1 && isIt(here))
        return 1;
    const int16_t savedLevel = level_;
    CursorLevel saved[kIndexMaxLevels];
    std::memcpy(saved, cursor_, sizeof saved);
    const int32_t result = GetNext(&here);
    if (result == 1 && isIt(here))
        return 1;
    if (result == -1)
        return -1;
    level_ = savedLevel;
    std::memcpy(cursor_, saved, sizeof saved);
    return 0;
}

int32_t IndexFile::SeekEntryNearCursor(IndexEntry* entry)
{
    if (!Usable())
        return -1;
    char key[kIndexMaxKeyLength + 1];
    BoundedKey(*entry, key);
    const int32_t result = SeekNearCursor(entry, key);
    return result == 1 ? CopyAtCursor(entry) : result;
}

int32_t IndexFile::SeekExact(const IndexEntry* entry)
{
    char key[kIndexMaxKeyLength + 1];
    BoundedKey(*entry, key);
    // Going through the records in order, the cursor mostly stands on the
    // entry already, or on the one before it; searching again would walk
    // every entry with an equal key to find it among them.
    const int32_t near = SeekNearCursor(entry, key);
    if (near != 0)
        return near;
    bool found = false;
    // Equal keys lie in the order of their sequence numbers, which an
    // entry read from the tree carries: the search goes straight to it.
    // Walking every equal key instead made taking back thousands of
    // records of one sort value cost the square of their number.
    if (Search({key, entry->sequence}, Compare::KeyAndSequence, true, &found) < 0)
        return -1;
    if (found) {
        IndexEntry at;
        int32_t result = CopyAtCursor(&at);
        while (result == 1 && at.sequence == entry->sequence && std::strcmp(at.key, key) == 0) {
            if (at.recordPosition == entry->recordPosition)
                return 1;
            result = GetNext(&at);
        }
        if (result == -1)
            return -1;
    }
    found = false;
    if (Search({key, 0}, Compare::KeyOnly, true, &found) < 0)
        return -1;
    if (!found)
        return 0;
    // Equal keys lie together; the search stopped on one of them. Look
    // through those after it, then through those before it.
    const int16_t savedLevel = level_;
    CursorLevel saved[kIndexMaxLevels];
    std::memcpy(saved, cursor_, sizeof saved);
    IndexEntry at;
    int32_t result = CopyAtCursor(&at);
    while (result == 1 && std::strcmp(at.key, key) == 0) {
        if (at.recordPosition == entry->recordPosition)
            return 1;
        result = GetNext(&at);
    }
    if (result == -1)
        return -1;
    level_ = savedLevel;
    std::memcpy(cursor_, saved, sizeof saved);
    for (;;) {
        result = GetPrev(&at);
        if (result != 1)
            return result == -1 ? -1 : 0;
        if (std::strcmp(at.key, key) != 0)
            return 0;
        if (at.recordPosition == entry->recordPosition)
            return 1;
    }
}

int32_t IndexFile::SeekEntry(IndexEntry* entry)
{
    if (!Usable())
        return -1;
    const int32_t result = SeekExact(entry);
    return result == 1 ? CopyAtCursor(entry) : result;
}

int32_t IndexFile::ReplaceRecordPosition(IndexEntry* entry, int32_t newPosition)
{
    if (!Usable())
        return -1;
    const int32_t result = SeekExact(entry);
    if (result != 1)
        return result;
    const CursorLevel at = cursor_[level_];
    uint8_t* block = FetchBlock(at.block, level_ == Levels() - 1 ? 1 : 0, false);
    if (block == nullptr)
        return -1;
    SetEntryRecordPosition(BlockEntry(block, at.offset), newPosition);
    MarkChanged(at.block);
    return CopyAtCursor(entry);
}

int32_t IndexFile::AddKeySequenced(IndexEntry* entry)
{
    if (!Usable())
        return -1;
    const uint32_t sequence = GetU32LE(header_ + idxh::kNextSequence);
    entry->sequence = sequence;
    PutU32LE(header_ + idxh::kNextSequence, sequence + 1);
    return AddKey(entry);
}

int32_t IndexFile::AddKey(IndexEntry* entry)
{
    if (!Usable())
        return -1;
    AtExit unpin([this] { UnpinAll(); });
    // Splits and merges move entries under the cursor's levels.
    AtExit offPath([this] { cursorOnPath_ = false; });
    char key[kIndexMaxKeyLength + 1];
    BoundedKey(*entry, key);
    bool found = false;
    if (!duplicatesAllowed_) {
        if (Search({key, entry->sequence}, ignoreSequence_ ? Compare::KeyOnly : Compare::KeyAndSequence, true,
                   &found) < 0)
            return -1;
        if (found)
            return 0;
    }
    entry->child = kIndexNoChild;
    const SearchKey searched{key, entry->sequence};
    // The place of an entry always follows key and sequence, whatever the
    // searches compare, so that equal keys keep their order of age. An
    // entry after the last one goes where the search would put it: after
    // the last entry of every level.
    const bool appending = FollowsLastEntry(searched);
    if (appending) {
        std::memcpy(cursor_, appendPath_, sizeof cursor_);
        level_ = int16_t(Levels() - 1);
    } else if (Search(searched, Compare::KeyAndSequence, false, &found) < 0) {
        appendPathKnown_ = false;
        return -1;
    }
    appendPathKnown_ = false;
    uint8_t packed[kIndexMaxEntrySize];
    PackIndexEntry(*entry, packed);
    const int32_t result = InsertAt(Levels() - 1, packed);
    if (result < 0)
        return -1;
    if (result == 2 && Search(searched, Compare::KeyAndSequence, true, &found) < 0)
        return -1;
    // Without a split only the leaf's offset moved, and it stands on the
    // new entry; after one the search above has found the entry again.
    if ((appending && result == 1) || CursorIsRightmost()) {
        std::memcpy(appendPath_, cursor_, sizeof appendPath_);
        appendPathKnown_ = true;
    }
    return 1;
}

bool IndexFile::FollowsLastEntry(const SearchKey& searched)
{
    if (!appendPathKnown_)
        return false;
    const int32_t leafLevel = Levels() - 1;
    const CursorLevel& leafAt = appendPath_[leafLevel];
    if (leafAt.offset < 0)
        return false;
    const uint8_t* leaf = FetchBlock(leafAt.block, 1, false);
    if (leaf == nullptr)
        return false;
    const uint8_t* last = BlockEntry(leaf, leafAt.offset);
    if (CompareAt(searched, last, Compare::KeyAndSequence) <= 0)
        return false;
    // Without duplicates, where searches compare keys only, an equal key is
    // refused, and a search for it must run.
    return duplicatesAllowed_ || !ignoreSequence_ || CompareAt(searched, last, Compare::KeyOnly) > 0;
}

bool IndexFile::CursorIsRightmost()
{
    const int32_t levels = Levels();
    if (level_ != levels - 1)
        return false;
    for (int32_t level = levels - 1; level >= 0; --level) {
        const uint8_t* block = FetchBlock(cursor_[level].block, level == levels - 1 ? 1 : 0, false);
        if (block == nullptr)
            return false;
        const int32_t offset = cursor_[level].offset;
        if (offset < 0 || offset + EntrySize(BlockEntry(block, offset)) != BlockUsed(block))
            return false;
    }
    return true;
}

int32_t IndexFile::SplitRoot()
{
    const int32_t levels = Levels();
    if (levels >= kIndexMaxLevels) {
        // Far beyond what 32000 records can need; refuse rather than
        // overrun the cursor.
        Fail(kIndexErrorWrite, 1, 0);
        return -1;
    }
    int32_t position = 0;
    uint8_t* block = NewBlock(&position);
    if (block == nullptr)
        return -1;
    std::memcpy(block, header_, kIndexBlockSize);
    SetBlockOwnPosition(block, position);
    if (!WriteNow(position))
        return -1;
    for (int32_t level = levels - 1; level >= 0; --level)
        cursor_[level + 1] = cursor_[level];
    cursor_[1].block = position;
    cursor_[0] = {0, -1};
    std::memset(header_ + idxb::kEntries, 0, kIndexEntryAreaSize);
    SetBlockUsed(header_, 0);
    SetBlockFirstChild(header_, position);
    PutU32LE(header_ + idxh::kLevels, uint32_t(levels + 1));
    return 1;
}

int32_t IndexFile::InsertAt(int32_t level, const uint8_t* entry)
{
    uint8_t carried[kIndexMaxEntrySize];
    uint8_t moved[kIndexMaxEntrySize];
    std::memcpy(carried, entry, size_t(EntrySize(entry)));
    bool split = false;
    for (;;) {
        const bool leaf = level == Levels() - 1;
        const int32_t position = cursor_[level].block;
        uint8_t* block = FetchBlock(position, leaf ? 1 : 0, true);
        if (block == nullptr)
            return -1;
        const int32_t used = BlockUsed(block);
        const int32_t offset = cursor_[level].offset;
        const int32_t insert = offset < 0 ? 0 : offset + EntrySize(BlockEntry(block, offset));
        const int32_t size = EntrySize(carried);
        if (used + size <= kIndexEntryAreaSize) {
            const int32_t slot = position == 0 ? -1 : SlotOf(position);
            const int32_t known = slot >= 0 ? slots_[size_t(slot)].startCount : -1;
            uint8_t* at = BlockEntry(block, insert);
            std::memmove(at + size, at, size_t(used - insert));
            std::memcpy(at, carried, size_t(size));
            SetBlockUsed(block, used + size);
            MarkChanged(position);
            if (known >= 0 && known < kMostEntries) {
                // The starts the searches keep follow the new entry: those
                // after it move by its size.
                CacheSlot& s = slots_[size_t(slot)];
                int32_t i = known;
                for (; i > 0 && s.starts[i - 1] >= insert; --i)
                    s.starts[i] = int16_t(s.starts[i - 1] + size);
                s.starts[i] = int16_t(insert);
                s.startCount = known + 1;
            }
            Unpin(position);
            cursor_[level].offset = insert;
            level_ = int16_t(level);
            return split ? 2 : 1;
        }
        if (level == 0) {
            // The root has no parent to split into: its contents move one
            // level down first and the split goes on there.
            if (SplitRoot() < 0)
                return -1;
            level = 1;
            continue;
        }

        // Split at the last entry that starts before the middle.
        const int32_t middle = used / 2 + 4;
        int32_t splitAt = 0;
        for (int32_t at = 0; at < used && at < middle; at += EntrySize(BlockEntry(block, at)))
            splitAt = at;
        int32_t newPosition = 0;
        uint8_t* fresh = NewBlock(&newPosition);
        if (fresh == nullptr)
            return -1;
        int32_t rest;  // first byte of what the new block takes
        if (insert == splitAt) {
            std::memcpy(moved, carried, size_t(size));
            rest = splitAt;
        } else {
            std::memcpy(moved, BlockEntry(block, splitAt), size_t(EntrySize(BlockEntry(block, splitAt))));
            rest = splitAt + EntrySize(moved);
        }
        SetBlockUsed(fresh, used - rest);
        SetBlockFirstChild(fresh, EntryChild(moved));
        std::memcpy(BlockEntry(fresh, 0), BlockEntry(block, rest), size_t(used - rest));
        SetBlockUsed(block, splitAt);
        SetEntryChild(moved, newPosition);
        if (insert != splitAt) {
            uint8_t* target = insert < splitAt ? block : fresh;
            const int32_t targetInsert = insert < splitAt ? insert : insert - rest;
            const int32_t targetUsed = BlockUsed(target);
            uint8_t* at = BlockEntry(target, targetInsert);
            std::memmove(at + size, at, size_t(targetUsed - targetInsert));
            std::memcpy(at, carried, size_t(size));
            SetBlockUsed(target, targetUsed + size);
        }
        MarkChanged(position);
        if (!WriteNow(newPosition))
            return -1;
        Unpin(position);
        Unpin(newPosition);
        split = true;
        std::memcpy(carried, moved, size_t(EntrySize(moved)));
        --level;
    }
}

uint8_t* IndexFile::CutAtCursor(int32_t level)
{
    const int32_t position = cursor_[level].block;
    uint8_t* block = FetchBlock(position, level == Levels() - 1 ? 1 : 0, false);
    if (block == nullptr)
        return nullptr;
    const int32_t offset = cursor_[level].offset;
    const int32_t used = BlockUsed(block);
    const int32_t size = EntrySize(BlockEntry(block, offset));
    uint8_t* at = BlockEntry(block, offset);
    std::memmove(at, at + size, size_t(used - offset - size));
    SetBlockUsed(block, used - size);
    MarkChanged(position);
    return block;
}

int32_t IndexFile::ReplaceAt(int32_t level, const uint8_t* replacement)
{
    const uint8_t* block = CutAtCursor(level);
    if (block == nullptr)
        return -1;
    cursor_[level].offset = EntryBefore(block, cursor_[level].offset);
    UnpinAll();
    return InsertAt(level, replacement);
}

int32_t IndexFile::RemoveAtCursor()
{
    int32_t leafLevel = Levels() - 1;
    int32_t level = level_;
    if (level < leafLevel) {
        // An inner entry gives its place to the smallest entry of its right
        // subtree, which then leaves its leaf.
        const uint8_t* block = FetchBlock(cursor_[level].block, 0, false);
        if (block == nullptr)
            return -1;
        const int32_t child = EntryChild(BlockEntry(block, cursor_[level].offset));
        if (Descend(child, level + 1, false) < 0)
            return -1;
        const uint8_t* leaf = FetchBlock(cursor_[leafLevel].block, 1, false);
        if (leaf == nullptr)
            return -1;
        if (BlockUsed(leaf) == 0) {
            Fail(kIndexErrorRead, kIndexErrorCorrupt, cursor_[leafLevel].block);
            return -1;
        }
        uint8_t successor[kIndexMaxEntrySize];
        std::memcpy(successor, BlockEntry(leaf, 0), size_t(EntrySize(BlockEntry(leaf, 0))));
        SetEntryChild(successor, child);
        const int32_t replaced = ReplaceAt(level, successor);
        if (replaced < 0)
            return -1;
        if (replaced == 2) {
            // The split moved blocks about: find the successor's own place
            // again. Going past its copy leads down to the leaf.
            bool found = false;
            if (Search({EntryKey(successor), EntrySequence(successor)}, Compare::KeyAndSequence, false, &found) < 0)
                return -1;
        }
        // A split of the root may have made the tree deeper.
        leafLevel = Levels() - 1;
        cursor_[leafLevel].offset = 0;
        level_ = int16_t(leafLevel);
        level = leafLevel;
    }
    if (CutAtCursor(level) == nullptr)
        return -1;
    return Rebalance(level);
}

int32_t IndexFile::Rebalance(int32_t level)
{
    for (;;) {
        UnpinAll();
        const int32_t levels = Levels();
        if (level == 0) {
            // A root left without entries hands its place to its only child.
            const int32_t child = BlockFirstChild(header_);
            if (BlockUsed(header_) > 0 || child == kIndexNoChild)
                return 1;
            const uint8_t* block = FetchBlock(child, levels == 2 ? 1 : 0, false);
            if (block == nullptr)
                return -1;
            std::memcpy(header_, block, kIndexBlockSize);
            SetBlockOwnPosition(header_, 0);
            PutU32LE(header_ + idxh::kLevels, uint32_t(levels - 1));
            return FreeBlock(child) ? 1 : -1;
        }
        const int expectLeaf = level == levels - 1 ? 1 : 0;
        const int32_t position = cursor_[level].block;
        uint8_t* block = FetchBlock(position, expectLeaf, true);
        if (block == nullptr)
            return -1;
        const int32_t used = BlockUsed(block);
        if (used >= kIndexCombineSize)
            return 1;

        // Combine with the right sibling, or the left one for the last child.
        const int32_t parentPosition = cursor_[level - 1].block;
        uint8_t* parent = FetchBlock(parentPosition, 0, true);
        if (parent == nullptr)
            return -1;
        const int32_t parentUsed = BlockUsed(parent);
        const int32_t down = cursor_[level - 1].offset;
        const int32_t after = down < 0 ? 0 : down + EntrySize(BlockEntry(parent, down));
        const bool withRight = after < parentUsed;
        int32_t separator;
        int32_t leftPosition;
        int32_t rightPosition;
        if (withRight) {
            separator = after;
            leftPosition = position;
            rightPosition = EntryChild(BlockEntry(parent, after));
        } else {
            if (down < 0)
                return 1;  // an inner block without entries has no sibling to join
            separator = down;
            rightPosition = position;
            const int32_t before = EntryBefore(parent, down);
            leftPosition = before < 0 ? BlockFirstChild(parent) : EntryChild(BlockEntry(parent, before));
        }
        uint8_t* left = FetchBlock(leftPosition, expectLeaf, true);
        if (left == nullptr)
            return -1;
        uint8_t* right = FetchBlock(rightPosition, expectLeaf, true);
        if (right == nullptr)
            return -1;
        const int32_t leftUsed = BlockUsed(left);
        const int32_t rightUsed = BlockUsed(right);
        const int32_t separatorSize = EntrySize(BlockEntry(parent, separator));
        const int32_t siblingUsed = withRight ? rightUsed : leftUsed;
        if (separatorSize + used >= kIndexEntryAreaSize)
            return 1;
        const int32_t total = leftUsed + separatorSize + rightUsed;
        if (total >= kIndexEntryAreaSize && siblingUsed <= used + separatorSize)
            return 1;  // moving one entry over would not help

        if (total < kIndexEntryAreaSize) {
            // Merge: the separator comes down between the two, the right
            // block goes to the free list and the parent may now be short.
            uint8_t* at = BlockEntry(left, leftUsed);
            std::memcpy(at, BlockEntry(parent, separator), size_t(separatorSize));
            SetEntryChild(at, BlockFirstChild(right));
            std::memcpy(at + separatorSize, BlockEntry(right, 0), size_t(rightUsed));
            SetBlockUsed(left, total);
            MarkChanged(leftPosition);
            uint8_t* gone = BlockEntry(parent, separator);
            std::memmove(gone, gone + separatorSize, size_t(parentUsed - separator - separatorSize));
            SetBlockUsed(parent, parentUsed - separatorSize);
            MarkChanged(parentPosition);
            UnpinAll();
            if (!FreeBlock(rightPosition))
                return -1;
            --level;
            continue;
        }

        // Borrow: the separator comes down into the short block and the
        // sibling's nearest entry goes up in its place.
        uint8_t up[kIndexMaxEntrySize];
        if (withRight) {
            uint8_t* at = BlockEntry(left, leftUsed);
            std::memcpy(at, BlockEntry(parent, separator), size_t(separatorSize));
            SetEntryChild(at, BlockFirstChild(right));
            SetBlockUsed(left, leftUsed + separatorSize);
            const uint8_t* first = BlockEntry(right, 0);
            const int32_t firstSize = EntrySize(first);
            std::memcpy(up, first, size_t(firstSize));
            SetBlockFirstChild(right, EntryChild(up));
            std::memmove(BlockEntry(right, 0), BlockEntry(right, firstSize), size_t(rightUsed - firstSize));
            SetBlockUsed(right, rightUsed - firstSize);
        } else {
            uint8_t* start = BlockEntry(right, 0);
            std::memmove(start + separatorSize, start, size_t(rightUsed));
            std::memcpy(start, BlockEntry(parent, separator), size_t(separatorSize));
            SetEntryChild(start, BlockFirstChild(right));
            SetBlockUsed(right, rightUsed + separatorSize);
            const int32_t last = LastEntry(left);
            const uint8_t* lastEntry = BlockEntry(left, last);
            std::memcpy(up, lastEntry, size_t(EntrySize(lastEntry)));
            SetBlockFirstChild(right, EntryChild(up));
            SetBlockUsed(left, last);
        }
        SetEntryChild(up, rightPosition);
        MarkChanged(leftPosition);
        MarkChanged(rightPosition);
        cursor_[level - 1].offset = separator;
        return ReplaceAt(level - 1, up) < 0 ? -1 : 1;
    }
}

int32_t IndexFile::DeleteKey(IndexEntry* entry)
{
    if (!Usable())
        return -1;
    AtExit unpin([this] { UnpinAll(); });
    // Splits and merges move entries under the cursor's levels.
    AtExit offPath([this] { cursorOnPath_ = false; });
    appendPathKnown_ = false;
    const int32_t result = SeekExact(entry);
    if (result != 1)
        return result;
    if (CopyAtCursor(entry) < 0 || RemoveAtCursor() < 0)
        return -1;
    // Stand where the entry was: the next entry is the one after it.
    char key[kIndexMaxKeyLength + 1];
    BoundedKey(*entry, key);
    bool found = false;
    return Search({key, entry->sequence}, Compare::KeyAndSequence, false, &found) < 0 ? -1 : 1;
}
