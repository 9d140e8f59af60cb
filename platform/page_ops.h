// The drawing of a vector target's page, as operations in device pixels:
// what PainterDevice makes of the Dc's calls once the pixel rules and the
// raster operations are settled. A PagePainter paints them onto a QPainter,
// at once (a printer) or later on another thread (a page of a PDF file
// made by several threads, see pdf/pdf_page_farm.h). Painting a whole page,
// it leaves out the clips that cut nothing of the text they hold.
//
// An operation holds only implicitly shared Qt values and immutable faces,
// so a finished page may be handed to another thread as it is.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <QBrush>
#include <QImage>
#include <QList>
#include <QPainterPath>
#include <QPen>
#include <QPolygonF>
#include <QRawFont>
#include <QRegion>
#include <QTransform>

#include "platform/device_clip.h"
#include "platform/glyph_run_widths.h"
#include "platform/glyph_boxes.h"

struct FontFace;
class QPainter;

// What the operations other than plain fills need besides a path and a
// brush; fills, the most frequent by far, go without.
struct PageOpDetail {
    QPen pen;
    QPolygonF polyline;
    std::shared_ptr<const FontFace> face;
    QList<quint32> glyphs;
    QList<QPointF> positions;
    QTransform transform;
    // The Windows-1252 characters of the glyphs, one a glyph.
    std::string chars;
    QColor colour;
    QImage image;
    // The image goes out without lossy compression.
    bool lossless = false;
    // A fill's brush when it is not of one plain colour.
    std::optional<QBrush> brush;
};

struct PageOp {
    enum Kind : uint8_t {
        kFill,      // `path`, moved by `offset`, or `box`, in `fillColour` or the detail's brush
        kStroke,    // `path` with the detail's pen
        kPolyline,  // the detail's polyline with its pen
        kGlyphs,    // glyphs of the detail's face at its positions, by its transform, in its colour
        kImage,     // the detail's image at (0, 0) by its transform
    };
    Kind kind = kFill;
    // The allowed device pixels; none when not clipped.
    bool clipped = false;
    DeviceClip clip;

    QPainterPath path;
    QPointF offset;
    QRectF box;  // kFill of a rectangle: the rectangle, `path` empty
    // A colour rather than a brush: a brush's shared data is counted with
    // every copy, and an operation is moved a few times on its way into the
    // page while the painting thread holds brushes of the same data.
    QColor fillColour;
    std::shared_ptr<PageOpDetail> detail;

    // The detail, made when first asked for.
    PageOpDetail& more()
    {
        if (!detail)
            detail = std::make_shared<PageOpDetail>();
        return *detail;
    }
};

using PageOps = std::vector<PageOp>;

// Paints operations onto an open painter. The clip, pen and brush go to the
// painter only when they change, since a vector target writes every change
// into its output, and a rectangle goes out as a rectangle.
class PagePainter {
public:
    // `ownFonts`: the painter belongs to a thread of its own, which must
    // use font engines it made itself.
    PagePainter(QPainter* painter, bool ownFonts) : painter_(painter), ownFonts_(ownFonts) {}

    // `dropClip`: the operation draws the same without its clip.
    void play(const PageOp& op, bool dropClip = false);
    // A page's operations, the clips that cut nothing left out.
    void playPage(const PageOps& ops);
    // The painter's state was reset (a new page, a new painter): what it
    // has is no longer known.
    void forgetState() { clipKnown_ = false; }
    // Keep the text of each aslant run drawn from now on (as a PDF text
    // string, see actual_text.h) in `texts`, in the order drawn; none for
    // no keeping.
    void keepAslantText(std::vector<std::string>* texts) { aslantTexts_ = texts; }
    // Keep the widths of every run of glyphs drawn from now on, in the
    // order drawn; none for no keeping.
    void keepRunWidths(GlyphRunWidths* widths) { runWidths_ = widths; }

private:
    void setClip(const PageOp& op, bool dropClip);
    // Whether the clip may cut something of what the operation draws.
    bool clipCuts(const PageOp& op);
    // The clip of outlines, as few times over as a page writes it.
    void setOutlineClip();
    void fill(const PageOp& op);
    // Whether pictures and the tiles of pattern brushes are stored exactly.
    void setLossless(bool lossless);
    QRawFont fontOf(const PageOpDetail& detail);
    void keepWidths(const PageOpDetail& detail);

    QPainter* painter_;
    bool ownFonts_;
    std::vector<std::string>* aslantTexts_ = nullptr;
    GlyphRunWidths* runWidths_ = nullptr;
    GlyphBoxes glyphBoxes_;
    bool clipKnown_ = false;
    bool clipped_ = false;
    DeviceClip clip_;
    // The last run's face and its engine: the runs of a line of text, and
    // often of a page, share one.
    std::shared_ptr<const FontFace> lastFace_;
    QRawFont lastFont_;
    // Brushes of the last plain colours filled with, made once: fills take
    // turns in a few colours (shapes filled in one and edged in another).
    struct Solid {
        QColor colour;
        QBrush brush;
    };
    const QBrush& solidBrush(const QColor& colour);
    std::array<Solid, 4> solids_;
    size_t nextSolid_ = 0;
};
