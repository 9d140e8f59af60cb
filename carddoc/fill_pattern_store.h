// The fill-pattern bitmaps of frame fills: 8 x 8 one-bit patterns kept for
// the whole program, with copies blown up for printers whose dots are many
// times finer than the screen's. The store is the graphics layer's pattern
// table once installed (SetPatternTable).
#pragma once

#include <cstdint>

#include <QImage>

#include "graphics/fill_patterns.h"

// The program's pattern bitmaps: ids 26022 to 26041.
enum : int32_t {
    kFirstPatternBitmapId = 26022,
    kPatternBitmapIdCount = 20,
};

// Loads count bitmaps from the program's pattern resources first,
// first + 1, ... in place of any loaded set; an id without a resource
// leaves an empty entry. False when count is not positive.
bool LoadPatternBitmaps(int32_t first, int16_t count);
// Bitmap i at the current scale: the 8 x 8 one when the factor is 1, else
// its scaled copy. Null when i is out of range or nothing is loaded.
const QImage* GetPatternBitmap(int32_t i);
// Makes factor current; for factors above 1 copies are made for the even
// factor at or below it (3 uses 2), once per factor. 1 returns to the
// 8 x 8 bitmaps and keeps the copies.
void ScalePatternBitmaps(uint16_t factor);
void FreePatternBitmaps();
// The store as the graphics layer's pattern table.
const PatternTable* PatternBitmapStore();
