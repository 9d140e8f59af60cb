// The player behind PlayEnhMetaFile, shared by its source files (state and
// mapping, shapes and clipping, text, bitmaps).
#pragma once

#include <cstdint>
#include <optional>
#include <unordered_map>
#include <vector>

#include <QPainterPath>
#include <QPointF>
#include <QRegion>
#include <QTransform>

#include "foundation/byte_order.h"
#include "graphics/emf_reader.h"
#include "graphics/metafile_outcome.h"
#include "platform/dc.h"

// Coordinates handed to the Dc lie within eight times the surface's larger
// side (within these bounds): far beyond anything that shows, near enough
// that an outline walked pixel by pixel from end to end stays cheap.
constexpr double kPlayerMinCoordLimit = double(1 << 16);
constexpr double kPlayerMaxCoordLimit = double(1 << 22);
// Saved states kept at once; deeper saves are ignored (with their restores).
constexpr size_t kPlayerMaxSaveDepth = 256;
// Largest font cell and pen handed to the Dc, in its logical units (fonts
// also at most twice the surface's larger side).
constexpr int32_t kPlayerMaxFontHeight = 4096;
constexpr int32_t kPlayerMinFontLimit = 256;
constexpr int32_t kPlayerMaxPenWidth = 10000;
// Pixels of pattern-brush pictures held in the object table at once; a
// brush beyond it is drawn in the picture's first colour instead.
constexpr int64_t kPlayerMaxPatternPixels = int64_t(1) << 24;

struct PlayerPen {
    uint32_t style = PS_SOLID;  // with the type bits of extended pens
    int32_t width = 0;          // logical units; 0 one device pixel
    bool cosmetic = true;
    ColorRef color = kBlack;
};

struct PlayerObject {
    enum Kind : uint8_t { kPen, kBrush, kFont };
    Kind kind = kPen;
    PlayerPen pen;
    Brush brush;
    LogFont font;
};

struct PlayerState {
    int32_t mapMode = MM_TEXT;
    QPointF windowOrg{0, 0};
    QPointF windowExt{1, 1};
    QPointF viewportOrg{0, 0};
    QPointF viewportExt{1, 1};
    QTransform world;
    PlayerPen pen;
    Brush brush = Brush::Solid(kWhite);
    LogFont font;
    ColorRef textColor = kBlack;
    ColorRef bkColor = kWhite;
    int32_t bkMode = OPAQUE;
    int32_t rop2 = R2_COPYPEN;
    int32_t polyFillMode = ALTERNATE;
    uint32_t textAlign = 0;
    uint32_t arcDirection = 1;  // counter-clockwise
    IntPoint brushOrg;
    // The metafile's own clip in the Dc's device units; none: unclipped.
    std::optional<QRegion> clip;
    IntPoint position;  // the Dc's current position when saved
};

// One record's bytes with bounds-checked access.
class RecordBytes {
public:
    RecordBytes(const uint8_t* data, uint32_t size) : data_(data), size_(size) {}
    uint32_t size() const { return size_; }
    bool has(uint64_t offset, uint64_t n) const { return offset <= size_ && n <= size_ - offset; }
    uint32_t u32(uint32_t offset) const { return has(offset, 4) ? GetU32LE(data_ + offset) : 0; }
    int32_t i32(uint32_t offset) const { return int32_t(u32(offset)); }
    uint16_t u16(uint32_t offset) const { return has(offset, 2) ? GetU16LE(data_ + offset) : 0; }
    int16_t i16(uint32_t offset) const { return int16_t(u16(offset)); }
    uint8_t u8(uint32_t offset) const { return has(offset, 1) ? data_[offset] : 0; }
    float f32(uint32_t offset) const { return has(offset, 4) ? GetF32LE(data_ + offset) : 0.0f; }
    // Null unless n bytes lie at offset.
    const uint8_t* at(uint64_t offset, uint64_t n) const { return has(offset, n) ? data_ + offset : nullptr; }

private:
    const uint8_t* data_;
    uint32_t size_;
};

class MetafilePlayer {
public:
    MetafilePlayer(Dc& dc, const EnhMetafileRec& mf, const IntRect& rect);
    MetafileOutcome play();

private:
    // --- State and mapping (metafile_player.cpp).
    void dispatch(uint32_t type, const RecordBytes& r);
    void resetDc();
    void updateTransform();
    // Logical point of the metafile to the Dc's logical units.
    QPointF mapF(double x, double y) const { return toDest_.map(QPointF(x, y)); }
    IntPoint map(double x, double y) const;
    IntPoint Round(const QPointF& p) const;
    bool axisAligned() const;
    // Lengths along the two axes, for pens and fonts.
    double scaleX() const;
    double scaleY() const;
    double penScale() const;
    // Counter-clockwise turn of the mapping in tenths of a degree.
    int32_t rotationTenths() const;
    void applyObjects();
    Pen destPen() const;
    LogFont destFont() const;
    void selectObject(uint32_t index);
    void createObject(uint32_t index, PlayerObject object);
    void deleteObject(uint32_t index);
    void saveDc();
    void restoreDc(int32_t relative);
    void setWorld(const QTransform& x, uint32_t mode);
    void setMapMode(int32_t mode);

    // --- Shapes, paths, regions and clipping (metafile_player_draw.cpp).
    void polyRecord(uint32_t type, const RecordBytes& r);
    void polyPolyRecord(uint32_t type, const RecordBytes& r);
    void polyDraw(const RecordBytes& r, bool small);
    void boxRecord(uint32_t type, const RecordBytes& r);
    void angleArc(const RecordBytes& r);
    // Draws a shape made in the metafile's logical units through a path
    // (turned mappings, or any shape inside a path bracket).
    void drawLogicalPath(const QPainterPath& logical, bool fill, bool connectFromCurrent);
    void emitPath(const QPainterPath& dest, bool connectFromCurrent);
    QRegion regionFromData(const RecordBytes& r, uint32_t offset, uint32_t size, bool device) const;
    void regionRecord(uint32_t type, const RecordBytes& r);
    void clipRect(const RecordBytes& r, bool exclude);
    void selectClipRegion(const RecordBytes& r);
    void selectClipPath(int32_t mode);
    void offsetClip(const RecordBytes& r);
    void combineClip(const QRegion& region, int32_t mode);
    void applyClip();
    QRegion deviceRegionOfLogicalRect(double l, double t, double r, double b) const;
    // The surface in device pixels with a margin: what a clip needs to
    // cover at most.
    QRect surfaceGuard() const;

    // --- Text (metafile_player_text.cpp).
    void extTextOut(const RecordBytes& r, bool wide);
    void polyTextOut(const RecordBytes& r, bool wide);
    void smallTextOut(const RecordBytes& r);
    void drawText(double x, double y, uint32_t options, const IntRect* logicalRect, const std::string& text,
                  const std::vector<double>* dx);
    void createFont(const RecordBytes& r);

    // --- Bitmaps and pattern brushes (metafile_player_bitmap.cpp).
    void stretchDIBits(const RecordBytes& r);
    void setDIBitsToDevice(const RecordBytes& r);
    void bitBlt(uint32_t type, const RecordBytes& r);
    void blendBlt(uint32_t type, const RecordBytes& r);
    void createBrush(uint32_t type, const RecordBytes& r);
    void createExtPen(const RecordBytes& r);
    // Draws image's `source` rectangle into the metafile's logical
    // rectangle (x, y, width, height); with a mask (white = keep what lies
    // beneath), the picture shows only where the mask is black.
    void drawImage(double x, double y, double width, double height, const QImage& image, const QRect& source,
                   uint32_t rop, const QImage* mask = nullptr);
    IntRect destRect(double x, double y, double width, double height) const;

    Dc& dc_;
    const EnhMetafileRec& mf_;
    IntRect rect_;
    PlayerState s_;
    std::vector<PlayerState> saved_;
    std::unordered_map<uint32_t, PlayerObject> objects_;
    QTransform play_;    // reference device units to the Dc's logical units
    QTransform toDest_;  // the metafile's logical units to the Dc's
    bool transformValid_ = true;
    bool objectsDirty_ = true;
    bool inPath_ = false;
    std::optional<QRegion> baseClip_;  // the Dc's clip when playing began
    double ppmmX_ = 96 / 25.4;
    double ppmmY_ = 96 / 25.4;
    uint32_t ignoredSaves_ = 0;
    int64_t patternPixels_ = 0;
    int32_t fontLimit_ = kPlayerMaxFontHeight;
    double coordLimit_ = kPlayerMaxCoordLimit;
};

// A font of the metafile made one the system has: a face that is not
// installed becomes the standard face of its family (serif, fixed pitch or
// sans serif), and weights become normal or bold, so that a picture names
// only a bounded set of fonts whatever it holds.
void PlayerNormaliseFont(LogFont* font);

// Windows-1252 bytes of UTF-16 text; symbol-font characters in the private
// range U+F020..U+F0FF become their low byte, others outside the code page
// '?'.
std::string PlayerTextToCp1252(const uint8_t* units, uint32_t count);
