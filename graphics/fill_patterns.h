// The fill-pattern numbers shared by frame fills, the pattern menus and
// the drawing code:
//
//   0       solid, in the device context's text colour
//   1       hollow
//   2-7     the six hatch styles in the text colour, while hatches are on,
//           at the pattern table's scale
//   then    the pattern bitmaps of the pattern table, in order
//
// Hatches are off until the application turns them on at start-up, so the
// numbers of the pattern bitmaps depend on that switch.
#pragma once

#include <cstdint>
#include <optional>

#include <QImage>

#include "platform/gdi_types.h"

enum : int32_t {
    kFillSolid = 0,
    kFillHollow = 1,
    kFillFirstHatch = 2,
    kFillHatchCount = 6,
};

// Where the fill-pattern bitmaps come from: the table the application
// loads at start-up (zoomed with the view). A bitmap of one bit a pixel
// draws index 0 in the text colour and index 1 in the background colour,
// like the platform's pattern brushes; deeper bitmaps tile as they are.
class PatternTable {
public:
    virtual ~PatternTable() = default;
    virtual int16_t GetPatternBitmapCount() const = 0;
    // Null when i is not below the count.
    virtual const QImage* GetPatternBitmap(int32_t i) const = 0;
    // The device pixels each pixel of an 8 x 8 pattern takes across and
    // down as the bitmaps are now: 1 on the screen, more while a print
    // blows them up. The hatches are blown up as much.
    virtual int32_t GetPatternScale() const = 0;
};

// Installs the table the fill patterns use (null: none, no bitmaps). The
// caller keeps it alive while it is installed.
void SetPatternTable(const PatternTable* table);
const PatternTable* CurrentPatternTable();
// The installed table's count, 0 without one.
int16_t GetPatternBitmapCount();

void SetUseHatchBrushes(bool on);
bool GetUseHatchBrushes();
// 2 or 8 (with hatches), plus the pattern bitmaps.
int32_t GetFillPatternCount();

// The brush of fill pattern n, drawn with these text and background
// colours; nothing when n names no pattern or its bitmap is missing.
std::optional<Brush> MakeFillPatternBrush(int32_t n, ColorRef textColour, ColorRef bkColour);
// The brush of a pattern bitmap (see PatternTable).
std::optional<Brush> BrushOfPatternBitmap(const QImage& bitmap, ColorRef textColour, ColorRef bkColour);
