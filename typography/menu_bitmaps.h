// The small pictures of the colour, pattern and font menus: the check icon
// and the font-technology marks, from the program's resources under the ids
// the menus and combo boxes are given.
#pragma once

#include <cstdint>

#include <QImage>

class Dc;

enum : int32_t {
    // Font-technology marks, each a pair drawn one over the other: the
    // first bitmap (the mark on white) with SRCAND after the second (the
    // mark's silhouette, white on black) with SRCPAINT.
    kTrueTypeMarkBitmap = 202,
    kDeviceMarkBitmap = 203,
    kTrueTypeSilhouetteBitmap = 204,
    kDeviceSilhouetteBitmap = 205,
    // The check mark of a chosen font, black on white.
    kFontCheckBitmap = 206,
    // The check icon of the colour and pattern menus.
    kMenuCheckIcon = 507,
};

// Null for an id without a bitmap.
QImage LoadMenuBitmap(int32_t id);

// An icon: pixels where the mask is black show the image, the rest lets the
// surface through.
struct MenuIcon {
    QImage mask;
    QImage image;
    bool isNull() const { return image.isNull(); }
};
MenuIcon LoadMenuIcon(int32_t id);
void DrawMenuIcon(Dc* dc, int32_t x, int32_t y, const MenuIcon& icon);
// A font-technology pair at (x, y), at most width x height of it.
void DrawMarkPair(Dc* dc, int32_t x, int32_t y, int32_t width, int32_t height, const QImage& first,
                  const QImage& second);
