// Quick Card blocks: a small layout of text pieces in lines, kept in one
// Handle (layout in quick_card_format.h). Each piece is fixed text or a
// database field between a prefix and a suffix, with its own font size,
// style, spacing and line alignment. The Quick Card dialog edits a block
// with these operations and the Quick Card frame draws it.
//
// Results: 0 for success, 1 for failure; the Boolean tests return 1 or 0.
// Every operation checks the block first and walks the items by their
// sizes, accepting only items of 52 to 115 bytes that lie inside the block,
// so a damaged block is refused instead of read out of bounds; a refused
// operation leaves the block as it was.
//
// Item pointers point into the block's data and are good until the block
// is next changed.
#pragma once

#include <cstdint>

#include "foundation/handle.h"

// A new empty block (version 1, left alignment); null without memory.
Handle QuickCardBlockNew();
// Frees the Handle in the variable and sets the variable to null; 1 when
// it was null already.
int32_t QuickCardBlockFree(Handle* variable);

// A block of the current layout: at least its header, version 1, a count
// of 0 or more and at least 24 + 52 x (count - 1) bytes.
int32_t QuickCardBlockIsValid(Handle block);
// The block is valid and the item lies inside it with a size of 52-115.
int32_t QuickCardBlockItemValid(Handle block, const uint8_t* item);
// 0 <= n < count in a valid block.
int32_t QuickCardBlockIndexValid(Handle block, int32_t n);

// Item n; n = count gives the end of the items. Null for an invalid block,
// an index outside 0..count, or a damaged item on the way.
uint8_t* QuickCardBlockGetItem(Handle block, int32_t n);
// The target is resized to item n's size and receives its bytes.
int32_t QuickCardBlockCopyItem(Handle block, Handle target, int32_t n);

// A new item Handle of 52 bytes: fixed text, empty, everything 0 but its
// size, so it can be inserted as it is.
Handle QuickCardItemNew();
// The item becomes length + 52 bytes with the text (cut to 63 characters,
// and at a zero byte) at its text offset, zero-terminated.
int32_t QuickCardItemSetText(Handle item, const char* text, int32_t length);

// Inserts the item (its size field says how many of its bytes): n < 0 at
// the front, n < count before item n, otherwise at the end. A block that
// holds 100 items already takes no more (result 1, block unchanged).
int32_t QuickCardBlockInsertItem(Handle block, Handle item, int32_t n);
int32_t QuickCardBlockAppendItem(Handle block, Handle item);
// Removes item n: n below 0 is the first, n at or beyond count - 1 the
// last. A block without items is left as it is (result 0).
int32_t QuickCardBlockDeleteItem(Handle block, int32_t n);
// Puts the item in place of item n (a valid index).
int32_t QuickCardBlockReplaceItem(Handle block, Handle item, int32_t n);
// Moves item `from` so that it becomes item `to` (both valid indices).
int32_t QuickCardBlockMoveItem(Handle block, int32_t from, int32_t to);

// The default alignment of the block's lines (1 left, 2 centre, 3 right).
int32_t QuickCardBlockSetAlign(Handle block, int32_t alignment);
// On every item: bits 0 clears the style word; otherwise the bits are set
// (set not 0) or cleared in it.
int32_t QuickCardBlockSetItemFlags(Handle block, uint16_t bits, int32_t set);

// Converts a block of the older item layout in place; 0 when converted or
// already current, 1 when the block is neither (it is then left as it was).
int32_t QuickCardBlockConvertOld(Handle block);

// Offset of item n in the block's data (n = count: the end of the items),
// after checking the block, every item before n and item n itself. False
// when any of that fails.
bool QuickCardItemOffset(Handle block, int32_t n, uint32_t* offset);
