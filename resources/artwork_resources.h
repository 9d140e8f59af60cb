// The program's own pictures, compiled in from resources/artwork (the
// inventory in resources/INVENTORY.md lists them): bitmaps by id under
// ":/bitmaps/<id>.bmp", cursors under ":/cursors/<id>.png" with their hot
// spot in the picture's "HotSpot" text, and icons under ":/icons/<id>.png".
#pragma once

#include <cstdint>

#include <QImage>
#include <QPoint>

// The program's cursor table: cursor i is the cursor resource of id
// kFirstAppCursorId + i.
constexpr int32_t kFirstAppCursorId = 389;
constexpr int32_t kLastAppCursorId = 424;

// Makes the compiled-in resources reachable; every loader below calls it,
// and so does anything that opens the resource paths itself.
void InitArtworkResources();

// The bitmap of that id as it is stored; null when the program has none.
QImage LoadResourceBitmap(int32_t id);
// A one-bit bitmap with its dark pixels as colour 0 (drawn in the text
// colour by a pattern brush) and its light ones as colour 1, whatever
// colour table it was stored with; null when the program has none.
QImage LoadResourceMono(int32_t id);
// The picture with the button face (192, 192, 192), on which the button
// pictures are drawn, made see-through.
QImage KeyOutButtonFace(const QImage& picture);
// A button picture: the bitmap of that id with its face keyed out.
QImage LoadResourceButtonImage(int32_t id);
// The icon of that id, with transparency; null when the program has none.
QImage LoadResourceIcon(int32_t id);
// The cursor picture of that id and its hot spot; false when the program
// has no cursor of that id.
bool LoadResourceCursor(int32_t id, QImage* picture, QPoint* hotSpot);
