// Drawing a font's row in the font menus, the font list popup and the font
// combo boxes: the mark of its technology, then its face name.
#pragma once

#include <cstdint>
#include <string_view>

#include <QFont>
#include <QImage>

#include "platform/gdi_types.h"

class Dc;

// The two pairs of technology marks (typography/menu_bitmaps.h).
struct FontMarkBitmaps {
    QImage trueTypeFirst;
    QImage trueTypeSecond;
    QImage deviceFirst;
    QImage deviceSecond;

    // False when any of the four is missing.
    bool Load(int32_t trueTypeFirstId, int32_t trueTypeSecondId, int32_t deviceFirstId, int32_t deviceSecondId);
    bool IsNull() const { return trueTypeFirst.isNull(); }
    // The larger extent of the two pairs.
    QSize Size() const;
};

// The mark of a font type at x, centred between top and bottom, at most
// width x height of it; raster fonts have none.
void DrawFontMark(Dc* dc, const FontMarkBitmaps& marks, uint32_t type, int32_t x, int32_t top, int32_t bottom,
                  int32_t width, int32_t height);
// One line of text at x, centred between top and bottom, in the selected
// font and text colour, over whatever is there.
void DrawCentredText(Dc* dc, int32_t x, int32_t top, int32_t bottom, std::string_view text);
// A widget's font as a font description of the drawing code.
LogFont LogFontOfWidget(const QFont& font);
