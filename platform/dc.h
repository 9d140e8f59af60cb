// Dc: the device context every part of the program draws through.
//
// The drawing code of the system was written against the desktop graphics
// interface of its first platform: a device context with a selected pen,
// brush and font, text and background colours, a raster operation, a current
// position, paths, regions and blits. Dc keeps those semantics over Qt, so the
// drawing code reads as it was designed and behaves the same on every target:
//
//   - an image (QImage): the off-screen bitmaps and the views' persistent
//     surfaces. Every call is turned into the exact set of pixels it covers
//     and combined with the image pixel by pixel, so all sixteen binary and
//     all ternary raster operations are exact, on the 24 colour bits (every
//     pixel drawn is written opaque). No QPainter is ever open on the image:
//     it can be read or shown at any moment, also between calls made outside
//     a paint event;
//   - a printer or PDF file (QPrinter, QPdfWriter): vector output through one
//     QPainter kept open until flush() or the end of the Dc. Raster
//     operations are evaluated as if the page were white (see blits);
//   - a recorder (ForRecording): the calls are handed on, in logical units,
//     to whatever records them (the enhanced-metafile writer).
//   - a PostScript print job (the PostScript output's device, ForOutput):
//     the same vector output written as PostScript, which also takes
//     PostScript text from the drawing code (the pass-through escape).
//
// Pixel rules (on images; the same geometry goes to vector targets). Points
// are mapped to whole device pixels first (rounded), then:
//   - an area covers the pixels whose centres lie inside it: a fill, a
//     region, a path, the area of a wide pen. A rectangle (0, 0, 10, 5)
//     covers pixels 0-9 by 0-4, and so do rectangle, ellipse and roundRect
//     (with or without a pen: the outline lies on the outermost pixels),
//     fillRect and the regions made from rectangles. A polygon's points are
//     corners of its area, so its fill also stops short of its right and
//     bottom edges, while its one-pixel outline runs through the corner
//     pixels themselves;
//   - a cosmetic pen (width 0 or 1, or a wider one that maps to one pixel)
//     draws one-pixel lines from pixel to pixel; each line leaves out its end
//     pixel (lineTo draws up to but not including the end point, a polyline
//     leaves out its last point) and styled ones (dash, dot...) keep their
//     pattern running along a polyline, with gaps in the background colour
//     in OPAQUE mode. Wider pens are solid, scale with the mapping, have
//     round ends and joins and are centred on the outline through the
//     outermost pixels' centres, or lie just inside the box of rectangle,
//     ellipse and roundRect with PS_INSIDEFRAME;
//   - where pen and brush both cover a pixel, only the pen draws;
//   - hatches are 8 x 8 tiles whose lines pass through the brush origin
//     (each pixel of the tile blown up to scale x scale pixels for a brush
//     of that scale);
//     pattern brushes tile from the brush origin;
//   - glyphs are areas too, with dropout control: a stroke thinner than a
//     pixel still leaves a pixel in each row and column it crosses;
//   - nothing is antialiased.
//
// Coordinates are logical units. The mapping to device units is the mapping
// mode with the window and viewport origins and extents; the program zooms
// itself, so most code only moves the viewport origin.
//
// Any coordinate is accepted (documents and records read from files may
// hold anything, and views draw frames dragged far off the page). Device
// coordinates are kept exact far beyond 32 bits, and every call is cut to
// the surface and the clip before its pixels are worked out, so it costs
// what its visible part costs and draws there exactly the pixels of the
// whole shape: a line keeps its slope and its dash pattern, a curve its
// course, a stretched picture its mapping.
//
// Objects (pens, brushes, fonts, regions) are values: selecting one returns
// the one it replaces, so "copy the selected pen, change the copy, select it
// and put the old one back at the end" is plain value handling and nothing
// leaks.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <QImage>
#include <QPainterPath>
#include <QPolygonF>
#include <QRegion>
#include <QTransform>

#include "foundation/int_geometry.h"
#include "platform/device_clip.h"
#include "platform/gdi_types.h"

class QPaintDevice;
class QPrinter;
class DcDevice;
class DcRecorder;
class PageFile;
struct PageFileSettings;
struct DevicePaint;
struct DeviceStroke;
struct DeviceText;
struct BlitRect;
struct FontFace;

// A set of pixels, as the region calls make and combine them. Regions have
// no mapping of their own: fill, frame and paint take them in logical units,
// the clip calls in device units. Shapes become the pixels the pixel rules
// above give them (a rectangle (0, 0, 10, 5) holds pixels 0-9 by 0-4; a
// polygon or path the pixels whose centres lie inside it).
//
// A region made from a shape also keeps the shape itself for as long as it
// is only moved: a vector target fills the shape (a printed ellipse is a
// curve, not a stack of pixel rows), and the pixels are worked out only
// when something asks for them.
class Region {
public:
    // Shapes become the pixels they cover within this distance of the
    // origin, far more than any surface shows, so that a region of any
    // shape costs at most this many rows.
    static constexpr int32_t kLimit = 1 << 20;

    Region();  // empty
    static Region FromRect(const IntRect& r);
    static Region FromPolygon(const IntPoint* points, int count, int32_t fillMode);
    static Region FromEllipse(const IntRect& r);
    static Region FromRoundRect(const IntRect& r, int32_t ellipseWidth, int32_t ellipseHeight);
    // The path's own fill rule decides what is inside.
    static Region FromPath(const QPainterPath& path);
    static Region FromQRegion(const QRegion& pixels);

    // RGN_AND, RGN_OR, RGN_XOR, RGN_DIFF, RGN_COPY of a and b into this
    // region; returns its kind (NULLREGION, SIMPLEREGION, COMPLEXREGION).
    int32_t combine(const Region& a, const Region& b, int32_t mode);
    void offset(int32_t dx, int32_t dy);
    bool contains(int32_t x, int32_t y) const;
    bool intersects(const IntRect& r) const;
    IntRect bounds() const;  // empty rectangle for an empty region
    bool isEmpty() const;
    int32_t kind() const;
    bool operator==(const Region& other) const { return pixels() == other.pixels(); }

    const QRegion& pixels() const;
    // The pixels that lie within `within`. A shape is scanned only there,
    // so a shape reaching far beyond what a surface shows costs no more
    // than the surface (a clip region set on a window or a page).
    QRegion pixelsWithin(const QRect& within) const;
    // The region's outline as a path (its rectangles), for code that works
    // on paths.
    QPainterPath path() const;
    // The shape the region was made from, moved as the region was: its
    // pixels are those whose centres lie inside it. Empty for a region of
    // rectangles or one that was combined with another.
    QPainterPath shape() const;

private:
    struct Scan;

    // Pixels, or a shape whose pixels are made on first use.
    mutable QRegion pixels_;
    mutable bool pixelsMade_ = true;
    QPainterPath shape_;
    // The shape's pixels where it was made, worked out once for the region
    // and every copy of it (a frame hands out copies of its outline for
    // each drawing).
    std::shared_ptr<Scan> scan_;
    int64_t shapeX_ = 0;
    int64_t shapeY_ = 0;
};

// One entry of a path read back with getPath.
struct PathPoint {
    IntPoint point;
    uint8_t type;  // PT_MOVETO, PT_LINETO, PT_BEZIERTO, with PT_CLOSEFIGURE
};

class Dc {
public:
    // Draws on an image, which must outlive the Dc. Surfaces are
    // Format_RGB32 (or Format_ARGB32 / Format_ARGB32_Premultiplied); an
    // image of any other format is converted in place to Format_RGB32
    // (Format_ARGB32 when it has alpha) first. Its dots-per-metre give the
    // resolution (96 dpi for a new QImage). Null for a null image.
    static std::unique_ptr<Dc> ForImage(QImage* image);
    // Draws on any paint device: a printer, a PDF writer (a QImage goes to
    // ForImage). Raster operations draw as on a white page (see blits).
    static std::unique_ptr<Dc> ForDevice(QPaintDevice* device, int32_t technology = DT_RASPRINTER);
    // A print job's context: a printer, or the PDF file a printer set to PDF
    // output would write, whose pages `makeFile` writes (the PDF output's
    // page farm, see pdf/pdf_print_job.h, which asks for this). The job is
    // painted by several threads and written when the output is flushed;
    // flush() then says whether it was. A file takes the place of one under
    // its name only then; a printer's job reaches its queue only then. Ended
    // without a flush, a job leaves nothing behind and prints nothing.
    static std::unique_ptr<Dc> ForPrintJob(QPrinter* printer,
                                           std::unique_ptr<PageFile> (*makeFile)(const PageFileSettings&));
    // A context over a device an output above this layer makes (the
    // PostScript output, postscript/postscript_job.h).
    static std::unique_ptr<Dc> ForOutput(std::unique_ptr<DcDevice> device);
    // A context without any surface: measures text and keeps state, draws
    // nothing. Stands for the screen's context where only metrics matter.
    static std::unique_ptr<Dc> ForMeasuring(int32_t dpi = 96);
    // A context that hands every state change and drawing call to a
    // recorder (see dc_recorder.h) and otherwise behaves as a measuring
    // context of the given resolution and size (the reference device).
    static std::unique_ptr<Dc> ForRecording(DcRecorder* recorder, int32_t dpi = 96, IntSize size = {});
    // Whether the calls are handed to a recorder: every state change is
    // then output, and skipping one (even one undone) changes what is made.
    bool recording() const { return recorder_ != nullptr; }

    ~Dc();
    Dc(const Dc&) = delete;
    Dc& operator=(const Dc&) = delete;

    // Ends the painting of a vector target (a printer's page must not be
    // ended while its painter is open); false when its output could not be
    // completed. An image is always readable.
    bool flush();
    // Why the output of a print job could not be completed: the file
    // layer's code of the write that failed (112 a full disk, 5 a file or
    // folder that may not be written); 0 when none failed.
    int32_t outputError() const;
    // Opens a vector target's output now (a print job's start); false when
    // the device cannot be opened, such as a file that cannot be written.
    bool beginOutput();
    // Ends the sheet of a paged target (printer, PDF) and goes on drawing
    // on the next one, in the same document; false for other targets or
    // when the device refuses.
    bool newPage();

    // --- Objects and state -------------------------------------------------
    Pen selectPen(const Pen& pen);
    Brush selectBrush(const Brush& brush);
    LogFont selectFont(const LogFont& font);
    const Pen& pen() const;
    const Brush& brush() const;
    const LogFont& font() const;

    ColorRef setTextColor(ColorRef c);
    ColorRef textColor() const;
    ColorRef setBkColor(ColorRef c);
    ColorRef bkColor() const;
    int32_t setBkMode(int32_t mode);  // TRANSPARENT or OPAQUE
    int32_t bkMode() const;
    int32_t setRop2(int32_t rop);  // R2_*
    int32_t rop2() const;
    int32_t setPolyFillMode(int32_t mode);  // ALTERNATE or WINDING
    int32_t polyFillMode() const;
    uint32_t setTextAlign(uint32_t align);  // TA_*
    uint32_t textAlign() const;
    IntPoint setBrushOrg(int32_t x, int32_t y);  // device units
    IntPoint brushOrg() const;

    // Pushes the whole state (objects, colours, modes, mapping, clip,
    // current position); restoreDc(-1) pops the last one, restoreDc(n) the
    // state saveDc returned n for. Returns 0 on failure.
    int32_t saveDc();
    bool restoreDc(int32_t level);

    // --- Mapping ---------------------------------------------------------
    int32_t setMapMode(int32_t mode);
    int32_t mapMode() const;
    IntPoint setWindowOrg(int32_t x, int32_t y);
    IntPoint setViewportOrg(int32_t x, int32_t y);
    IntSize setWindowExt(int32_t cx, int32_t cy);
    IntSize setViewportExt(int32_t cx, int32_t cy);
    IntPoint windowOrg() const;
    IntPoint viewportOrg() const;
    IntSize windowExt() const;
    IntSize viewportExt() const;
    void lpToDp(IntPoint* points, int count) const;
    void dpToLp(IntPoint* points, int count) const;

    // --- Lines and shapes ------------------------------------------------
    IntPoint moveTo(int32_t x, int32_t y);  // returns the previous position
    IntPoint currentPosition() const;
    bool lineTo(int32_t x, int32_t y);
    bool polyline(const IntPoint* points, int count);
    bool polylineTo(const IntPoint* points, int count);
    bool polygon(const IntPoint* points, int count);
    bool polyPolygon(const IntPoint* points, const int* counts, int polygons);
    // count = 1 + 3n: a start point and n cubic segments.
    bool polyBezier(const IntPoint* points, int count);
    // count = 3n, from the current position.
    bool polyBezierTo(const IntPoint* points, int count);
    bool rectangle(int32_t left, int32_t top, int32_t right, int32_t bottom);
    bool roundRect(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t ellipseWidth,
                   int32_t ellipseHeight);
    bool ellipse(int32_t left, int32_t top, int32_t right, int32_t bottom);
    // Counter-clockwise from the radial through (x1, y1) to the radial
    // through (x2, y2), on the ellipse of the bounding rectangle.
    bool arc(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t x1, int32_t y1, int32_t x2, int32_t y2);
    bool arcTo(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t x1, int32_t y1, int32_t x2,
               int32_t y2);
    bool chord(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t x1, int32_t y1, int32_t x2,
               int32_t y2);
    bool pie(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t x1, int32_t y1, int32_t x2, int32_t y2);
    // Fills with the given brush; no outline; right and bottom excluded;
    // always copies (the raster operation does not apply).
    bool fillRect(const IntRect& r, const Brush& brush);
    // A border one logical unit wide inside the rectangle, copied.
    bool frameRect(const IntRect& r, const Brush& brush);
    bool invertRect(const IntRect& r);
    // Fills with the selected brush combined by a ternary raster operation
    // (PATCOPY, PATINVERT, DSTINVERT, BLACKNESS, WHITENESS).
    bool patBlt(int32_t x, int32_t y, int32_t width, int32_t height, uint32_t rop);
    ColorRef setPixel(int32_t x, int32_t y, ColorRef c);
    ColorRef getPixel(int32_t x, int32_t y) const;  // 0xFFFFFFFF off the surface

    // --- Paths -----------------------------------------------------------
    // Between beginPath and endPath the line, shape and text calls add their
    // outlines to the path instead of drawing.
    bool beginPath();
    bool endPath();
    bool abortPath();
    bool closeFigure();
    bool fillPath();  // then the path is gone
    bool strokePath();
    bool strokeAndFillPath();
    bool flattenPath();
    // The path as points and types (after endPath); empty when none.
    std::vector<PathPoint> getPath() const;
    // How many points the path being made or ended holds.
    size_t pathPointCount() const;
    // The path as a region in device units; the path is gone afterwards.
    Region pathToRegion();
    // The closed path, in logical units, for code that works on it directly.
    QPainterPath currentPath() const;

    // --- Regions and clipping --------------------------------------------
    // Fill, frame and paint combine with the surface by the binary raster
    // operation (paintRgn in NOT-XOR mode is how selections are shown).
    bool fillRgn(const Region& rgn, const Brush& brush);
    // The region's pixels that lie within `width` across or `height` down
    // (logical units) of a pixel outside it.
    bool frameRgn(const Region& rgn, const Brush& brush, int32_t width, int32_t height);
    bool paintRgn(const Region& rgn);  // with the selected brush
    bool invertRgn(const Region& rgn);
    // The clip region in device units; null removes the clip.
    int32_t selectClipRgn(const Region* rgn);
    int32_t extSelectClipRgn(const Region* rgn, int32_t mode);
    int32_t intersectClipRect(int32_t left, int32_t top, int32_t right, int32_t bottom);
    int32_t excludeClipRect(int32_t left, int32_t top, int32_t right, int32_t bottom);
    // The clip's bounds in logical units (the surface when there is no clip).
    int32_t getClipBox(IntRect* r) const;
    bool hasClip() const;
    Region clipRegion() const;  // device units
    // Whether the target keeps the shapes drawn on it (a page) rather than
    // their pixels (the screen, a picture): a clip or a fill made for it is
    // best made of shapes.
    bool keepsShapes() const;
    // The clip with the outlines a page clips with, which a region of its
    // pixels leaves out; nothing when there is no clip. restoreClip puts it
    // back as selectClipRgn would its pixels.
    std::optional<DeviceClip> wholeClip() const;
    int32_t restoreClip(const std::optional<DeviceClip>& clip);

    // --- Text ------------------------------------------------------------
    // Text is Windows-1252 bytes, drawn in the text colour (the raster
    // operation does not apply), over a cell of the background colour in
    // OPAQUE mode. With TA_UPDATECP the text starts at the current position
    // (x and y ignored) and the position moves to its other end along the
    // baseline (by getTextExtent's width; centred text leaves it).
    bool textOut(int32_t x, int32_t y, std::string_view text);
    // ETO_OPAQUE (2) fills the rectangle with the background colour first,
    // ETO_CLIPPED (4) clips to it; dx gives each character's advance.
    bool extTextOut(int32_t x, int32_t y, uint32_t options, const IntRect* rect, std::string_view text,
                    const int32_t* dx = nullptr);
    // A laid-out run of characters, character i with its reference point at
    // (x[i], y): it draws what a textOut of each character at its point
    // draws, but a vector target gets the run as one piece of text
    // (searchable, and a fraction of the size), and on an image glyphs
    // whose outlines stand apart keep a pixel between them (glyph_gaps.h).
    // The current position is neither used nor moved.
    bool placedTextOut(int32_t y, std::string_view text, const int32_t* x);
    // The same for a run along a turned baseline (a turned font): character
    // i with its reference point at at[i].
    bool placedTextOut(std::string_view text, const IntPoint* at);
    IntSize getTextExtent(std::string_view text) const;
    TextMetrics getTextMetrics() const;
    int32_t getCharWidth(uint8_t ch) const;
    std::string getTextFace() const;
    // The glyph outlines of the text (and its underline and strike-out), in
    // logical units, as textOut would place them. Within a path bracket
    // textOut itself adds them to the path.
    QPainterPath textPath(int32_t x, int32_t y, std::string_view text) const;
    // A box, in logical units, that the glyphs of that text never leave,
    // from each glyph's box rather than its outline; empty for no ink.
    QRectF textReach(int32_t x, int32_t y, std::string_view text) const;

    // --- Bitmaps ---------------------------------------------------------
    // A packed device-independent bitmap (header, colour table, rows)
    // stretched from the source rectangle (DIB pixels, y from the bottom row
    // as the format counts it) into the destination rectangle (width and
    // height, negative to mirror), nearest pixel, combined by a ternary
    // raster operation over (brush, source, surface). 1, 4, 8, 16, 24 and 32
    // bits, uncompressed (bit fields for 16 and 32). Returns the number of
    // rows, 0 on failure. On vector targets each pixel draws what the
    // operation leaves on white paper, and nothing where it keeps the page
    // as it is; a MERGEPAINT blit followed by a SRCAND blit into the same
    // rectangle (a picture over its transparency mask) draws the picture
    // with the first blit's white pixels transparent.
    int32_t stretchDIBits(int32_t xDest, int32_t yDest, int32_t destWidth, int32_t destHeight, int32_t xSrc,
                          int32_t ySrc, int32_t srcWidth, int32_t srcHeight, const uint8_t* bits,
                          const uint8_t* header, uint32_t rop);
    // An image drawn the same way into `dest` (right and bottom excluded),
    // from the `source` rectangle of the image (a null rectangle: all of it).
    bool stretchImage(const IntRect& dest, const QImage& image, const QRect& source, uint32_t rop);
    // From another context's surface.
    bool bitBlt(int32_t x, int32_t y, int32_t width, int32_t height, const Dc& source, int32_t xSrc, int32_t ySrc,
                uint32_t rop);
    bool stretchBlt(int32_t x, int32_t y, int32_t width, int32_t height, const Dc& source, int32_t xSrc,
                    int32_t ySrc, int32_t srcWidth, int32_t srcHeight, uint32_t rop);

    // --- Drawing done again ------------------------------------------------
    // Drawing that follows from nothing but `key` and this context's state
    // (the same barcode at the same place of every card of a print job) is
    // worked out twice, not on every card. beginKept returns true when the
    // same key was drawn and kept before from an equal state: the device
    // has been given that drawing's output again, the state is as that
    // drawing left it and `result` is what endKept was given; the caller
    // draws nothing. Otherwise the caller draws and then calls
    // endKept(result); the second time a key comes from an equal state its
    // output is kept for the next time, when the device can hand it out
    // again (a print job's pages). The first time only notes the key: most
    // keys that change from card to card never come again. Pairs may nest;
    // only the outermost is kept.
    bool beginKept(std::string_view key, int32_t* result);
    void endKept(int32_t result);

    // --- Device ----------------------------------------------------------
    int32_t getDeviceCaps(int32_t index) const;
    // The surface of an image context (null otherwise).
    QImage* image() const;
    // The PostScript pass-through escape: a PostScript job takes text of
    // PostScript, written into the page where it is sent, in the device's
    // pixel space (origin at the printable area's top-left corner, y down,
    // device pixels). Other targets answer "not supported" and refuse it.
    bool supportsPostScriptPassThrough() const;
    bool passThrough(const char* data, size_t size);

    // Whether the pictures blitted next come from a file that keeps every
    // pixel (PNG, BMP, GIF, TIFF): a PDF then keeps them so, not as JPEG.
    void setPicturesLossless(bool lossless);
    // Whether the target lays a picture over the page through a graded
    // mask (a PDF file or a printer): the mask of the transparent pair
    // (DibHandleDrawTransparent) may then be grey while setSoftMasks is on,
    // its grey how much of the picture it leaves out.
    bool takesSoftMasks() const;
    void setSoftMasks(bool soft);
    // The bitmap whose pixels start at `bits` is known by `key`, a hash of
    // its pixels its owner made once, and its mask, when given, by
    // `maskKey`: a blit of them that is brought down for paper finds the
    // copy made for an earlier card without hashing every pixel again. A
    // null `bits` (or key 0) ends it.
    void setPictureKey(const uint8_t* bits, uint64_t key, const uint8_t* maskBits = nullptr, uint64_t maskKey = 0);

    // --- Turned output -----------------------------------------------------
    // A print target (printer, PDF, PostScript) lays what is drawn next down
    // turned `degrees` counter-clockwise about the logical point `from`,
    // which lands on the logical point `to`, until endTurn: text stays text
    // under the turn. The turn is made in device pixels, where a picture
    // turned for the device would be turned, so the two put their ink in the
    // same place. False, and nothing changed, where the target cannot (an
    // image, a recorder, a path being made) or a turn is already open.
    bool beginTurn(double degrees, const QPointF& from, const QPointF& to);
    void endTurn();

private:
    struct State;
    explicit Dc(std::unique_ptr<DcDevice> device);

    // Mapping.
    double scaleX() const;
    double scaleY() const;
    // Whole device pixels, held within +-2^29 for what must fit an int.
    QPoint toDevice(int32_t x, int32_t y) const;
    // Whole device pixels at full range (see kDeviceLimit), for geometry
    // that is cut to the surface only when drawn.
    QPointF toPixel(double x, double y) const;
    QPointF toDeviceF(double x, double y) const;
    QPointF toLogicalF(const QPointF& device) const;
    QTransform logicalToDevice() const;
    QRect deviceRect(int32_t left, int32_t top, int32_t right, int32_t bottom) const;  // normalised
    // The same box at full range, as the area it covers.
    QRectF deviceBox(int32_t left, int32_t top, int32_t right, int32_t bottom) const;
    BlitRect blitRect(int64_t x, int64_t y, int64_t width, int64_t height) const;
    void fixIsotropic();

    // Building what the device draws.
    const DeviceClip* clip() const;
    // The device pixels a call can change: the surface within the clip.
    QRect visibleBox() const;
    DevicePaint paintOf(const Brush& brush) const;
    DeviceStroke strokeOf(const QPainterPath& outline) const;  // pixel points
    int32_t penPixels() const;  // 0 for a one-pixel pen
    bool penVisible() const;
    bool drawOutlined(const QPainterPath& fill, const QPainterPath& outline);
    // A rectangle, ellipse or rounded rectangle filling `box` (right and
    // bottom excluded), drawn as `shapeAt` gives it for any rectangle.
    bool drawBox(const QRectF& box, const std::function<QPainterPath(const QRectF&)>& shapeAt);
    QPainterPath arcPath(const QRectF& box, int32_t x1, int32_t y1, int32_t x2, int32_t y2, int kind,
                         double inset) const;
    bool fillDeviceArea(const QPainterPath& area, const Brush& brush, int32_t rop2);
    // The region in device pixels, the part more than `margin` pixels
    // beyond what can be seen left out.
    QRegion toDeviceRegion(const Region& logical, int32_t margin) const;
    // What fill, paint and invert cover on the device: the region's pixels,
    // or on a vector target the shape it was made from (moved by `offset`),
    // or the one rectangle `box` it is.
    struct DeviceArea {
        QPainterPath path;
        QPointF offset;
        QRectF box;
    };
    DeviceArea regionArea(const Region& logical) const;
    bool fillDeviceArea(const DeviceArea& area, const Brush& brush, int32_t rop2);
    // frameRgn on a vector target, of a region made from a shape: fills of
    // all but the shape moved across and down by the frame's width and
    // height (device pixels), cut to the shape by the clip. Nothing when
    // the frame cannot go that way (a raster target, a region of pixels, a
    // clip of pixels alone), and frameRgn works on pixels.
    std::optional<bool> frameOutline(const Region& logical, const Brush& brush, int32_t width, int32_t height);
    QRegion surfaceRegion() const;
    // A clip region's pixels over the surface.
    QRegion clipPixels(const Region& rgn) const;
    int32_t setClip(const DeviceClip* device);
    // The clip `pixels` made by narrowing `narrowed` (null: the surface)
    // by the region `by` (its pixels `byPixels`), with the outlines it
    // keeps for a vector target.
    DeviceClip narrowedClip(const QRegion& pixels, const DeviceClip* narrowed, const Region& by,
                            const QRegion& byPixels) const;

    // Paths.
    bool inPath() const;
    void pathMoveTo(const QPointF& p);
    void pathLineTo(const QPointF& p);
    void pathBezierTo(const QPointF& c1, const QPointF& c2, const QPointF& e);
    void pathAdd(const QPainterPath& devicePath);
    void pathEnsureStart();
    QPainterPath devicePath() const;

    // Text.
    const FontFace& face() const;
    // Where a text of width w starts from its reference point, by the text
    // alignment (x along the baseline, y of the baseline from the cell's
    // top), and the transform that places and turns it there.
    QPointF alignedText(int64_t w) const;
    QTransform textTurn(const QPointF& reference) const;
    // `placed`, when given, holds each glyph's offset along the baseline
    // in device pixels (else `dx` gives logical advances, else the face's).
    QPainterPath layoutText(const QPointF& reference, std::string_view text, const int32_t* dx,
                            const int64_t* placed, DeviceText* out, QPolygonF* cell, int32_t* width) const;

    std::unique_ptr<DcDevice> device_;
    std::unique_ptr<State> state_;
    // Drawings kept by endKept, and the one being kept.
    struct Kept;
    std::unique_ptr<Kept> kept_;

    std::vector<State> saved_;
    DcRecorder* recorder_ = nullptr;
    // The open turn, in device pixels (see beginTurn).
    std::optional<QTransform> turn_;
    // See setPictureKey: the picture's and its mask's.
    const uint8_t* keyedBits_[2] = {};
    uint64_t pictureKey_[2] = {};
    uint64_t keyOf(const uint8_t* bits) const;
};

// ETO options of extTextOut.
enum : uint32_t {
    ETO_OPAQUE = 2,
    ETO_CLIPPED = 4,
};
