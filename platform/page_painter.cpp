#include <algorithm>
#include <optional>
#include <vector>

#include <QGlyphRun>
#include <QPainter>
#include <QRawFont>

#include "platform/actual_text.h"
#include "platform/font_mapper.h"
#include "platform/glyph_boxes.h"
#include "platform/page_ops.h"
#include "platform/path_rectangle.h"

namespace {

// Whether `outer` is one convex figure of straight sides holding every
// point of `inner`: a curve lies within the hull of its control points, so
// those inside are enough.
bool HoldsAll(const QPainterPath& outer, const QPainterPath& inner)
{
    const int n = outer.elementCount();
    if (n < 3 || n > 16)
        return false;
    QPolygonF hull;
    for (int i = 0; i < n; ++i) {
        const QPainterPath::Element e = outer.elementAt(i);
        if ((i == 0) != e.isMoveTo() || e.isCurveTo())
            return false;
        hull << QPointF(e);
    }
    if (hull.size() > 3 && hull.back() == hull.front())
        hull.removeLast();
    // Every turn the same way round: convex, and which side is inside.
    double turn = 0;
    const int m = int(hull.size());
    for (int i = 0; i < m; ++i) {
        const QPointF a = hull[i], b = hull[(i + 1) % m], c = hull[(i + 2) % m];
        const double cross = (b.x() - a.x()) * (c.y() - b.y()) - (b.y() - a.y()) * (c.x() - b.x());
        if (cross == 0)
            continue;
        if (turn != 0 && (cross > 0) != (turn > 0))
            return false;
        turn = cross;
    }
    if (turn == 0)
        return false;
    for (int k = 0; k < inner.elementCount(); ++k) {
        const QPointF p = inner.elementAt(k);
        for (int i = 0; i < m; ++i) {
            const QPointF a = hull[i], b = hull[(i + 1) % m];
            const double side = (b.x() - a.x()) * (p.y() - a.y()) - (b.y() - a.y()) * (p.x() - a.x());
            if (side != 0 && (side > 0) != (turn > 0))
                return false;
        }
    }
    return true;
}

}  // namespace

void PagePainter::setClip(const PageOp& op, bool dropClip)
{
    if (op.clipped && clipKnown_ && clipped_ && op.clip == clip_)
        return;
    if (!op.clipped || dropClip) {
        if (!clipKnown_ || clipped_)
            painter_->setClipping(false);
        clipKnown_ = true;
        clipped_ = false;
        return;
    }
    clip_ = op.clip;
    clipKnown_ = true;
    clipped_ = true;
    if (!clip_.outlines().empty()) {
        setOutlineClip();
    } else if (clip_.rectCount() == 1) {
        painter_->setClipRect(clip_.boundingRect());
    } else {
        painter_->setClipRegion(clip_);
    }
}

bool PagePainter::clipCuts(const PageOp& op)
{
    // Text alone is looked into, under a clip of one rectangle (a label's
    // cell, mostly).
    if (op.kind != PageOp::kGlyphs || !op.detail || !op.detail->face || !op.clip.outlines().empty() ||
        op.clip.rectCount() != 1)
        return true;
    return !GlyphsOnlyWithin(*op.detail, QRectF(op.clip.boundingRect()), fontOf(*op.detail), &glyphBoxes_);
}

void PagePainter::playPage(const PageOps& ops)
{
    // Where a clip governs only text that lies inside it, the text draws
    // the same unclipped: the clip is not written, nor the restore and the
    // state set again around it, and the text of neighbouring labels then
    // follows on in one piece. A clip that governs shapes as well is kept
    // for all it governs: the output draws what a clip holds from a point
    // of its own (pdf_local_origins.h), so that the labels of a page
    // repeat one another byte for byte, which saves more than the clip
    // costs, and text left out of it would stand apart. So only text that
    // comes under a clip not set yet has what follows under that clip
    // looked into; shapes look first.
    size_t at = 0;
    while (at < ops.size()) {
        const PageOp& first = ops[at];
        if (first.kind != PageOp::kGlyphs || !first.clipped || (clipKnown_ && clipped_ && first.clip == clip_)) {
            play(first);
            ++at;
            continue;
        }
        size_t to = at + 1;
        while (to < ops.size() && ops[to].clipped && ops[to].clip == first.clip)
            ++to;
        const auto begin = ops.begin() + ptrdiff_t(at), end = ops.begin() + ptrdiff_t(to);
        const bool dropClip =
            first.clip.outlines().empty() && first.clip.rectCount() == 1 &&
            std::all_of(begin, end, [](const PageOp& op) { return op.kind == PageOp::kGlyphs; }) &&
            std::none_of(begin, end, [this](const PageOp& op) { return clipCuts(op); });
        for (; at < to; ++at)
            play(ops[at], dropClip);
    }
}

void PagePainter::setOutlineClip()
{
    // A page writes each clip it is given again with every clip given
    // before it, so the shortest outlines go first and the longest once,
    // and the rectangle of the clip's pixels only where what the outlines
    // share reaches a pixel or more beyond it (letters cut by the edge of
    // their card). A straight-sided convex outline holding all of another
    // (the turned frame display text is filled through) cuts nothing that
    // one leaves, and is left out.
    std::vector<const QPainterPath*> outlines;
    for (const QPainterPath& outline : clip_.outlines())
        outlines.push_back(&outline);
    std::stable_sort(outlines.begin(), outlines.end(), [](const QPainterPath* a, const QPainterPath* b) {
        return a->elementCount() < b->elementCount();
    });
    std::vector<const QPainterPath*> kept;
    for (const QPainterPath* outline : outlines) {
        const bool spare = std::any_of(outlines.begin(), outlines.end(), [&](const QPainterPath* other) {
            return other != outline && HoldsAll(*outline, *other) && !HoldsAll(*other, *outline);
        });
        if (!spare)
            kept.push_back(outline);
    }
    QRectF shared = kept.empty() ? QRectF() : kept.front()->controlPointRect();
    for (const QPainterPath* outline : kept)
        shared &= outline->controlPointRect();
    const QRectF box = QRectF(clip_.boundingRect()).adjusted(-1, -1, 1, 1);
    Qt::ClipOperation operation = Qt::ReplaceClip;
    if (!box.contains(shared)) {
        painter_->setClipRect(clip_.boundingRect());
        operation = Qt::IntersectClip;
    }
    for (const QPainterPath* outline : kept) {
        painter_->setClipPath(*outline, operation);
        operation = Qt::IntersectClip;
    }
}

void PagePainter::fill(const PageOp& op)
{
    if (painter_->pen().style() != Qt::NoPen)
        painter_->setPen(Qt::NoPen);
    const QBrush* brush = op.detail && op.detail->brush ? &*op.detail->brush : &solidBrush(op.fillColour);
    if (!(painter_->brush() == *brush))
        painter_->setBrush(*brush);
    // A pattern's tile is stored as its exact pixels: a lossy picture of a
    // few hard-edged pixels blurs its lines and costs more.
    if (brush->style() == Qt::TexturePattern)
        setLossless(true);
    if (op.path.isEmpty())
        painter_->drawRect(op.box);
    else if (const std::optional<QRectF> r = AsRectangle(op.path))
        painter_->drawRect(r->translated(op.offset));
    else if (op.offset.isNull())
        painter_->drawPath(op.path);
    else
        painter_->drawPath(op.path.translated(op.offset));
}

void PagePainter::setLossless(bool lossless)
{
    // A vector target writes the brush again with every change of hints.
    if (painter_->testRenderHint(QPainter::LosslessImageRendering) != lossless)
        painter_->setRenderHint(QPainter::LosslessImageRendering, lossless);
}

const QBrush& PagePainter::solidBrush(const QColor& colour)
{
    for (const Solid& known : solids_) {
        if (known.brush.style() == Qt::SolidPattern && known.colour == colour)
            return known.brush;
    }
    Solid& made = solids_[nextSolid_];
    nextSolid_ = (nextSolid_ + 1) % solids_.size();
    made = Solid{colour, QBrush(colour)};
    return made.brush;
}

QRawFont PagePainter::fontOf(const PageOpDetail& detail)
{
    if (detail.face != lastFace_) {
        lastFace_ = detail.face;
        lastFont_ = ownFonts_ ? detail.face->threadRawFont() : detail.face->rawFont();
    }
    return lastFont_;
}

void PagePainter::keepWidths(const PageOpDetail& detail)
{
    // Each glyph is the face's own for its character, or the run's widths
    // are not known: a PDF would place such a run glyph by glyph. So is a
    // turned run: its glyphs, moved a hair along the line where written as
    // one string, move across the page's pixels, and a renderer that snaps
    // glyphs to fractions of a pixel may draw one a fraction away.
    const FontFace& face = *detail.face;
    const size_t n = size_t(detail.glyphs.size());
    const size_t before = runWidths_->widths.size();
    bool known = detail.chars.size() == n && detail.transform.type() <= QTransform::TxScale &&
                 detail.transform.m11() > 0;
    for (size_t i = 0; known && i < n; ++i) {
        const auto ch = uint8_t(detail.chars[i]);
        const int32_t width = face.pdfWidth(ch);
        known = width >= 0 && face.glyph[ch] == detail.glyphs[qsizetype(i)];
        runWidths_->widths.push_back(width);
    }
    if (!known)
        runWidths_->widths.resize(before);
    runWidths_->counts.push_back(known ? int32_t(n) : GlyphRunWidths::kUnknown);
}

void PagePainter::play(const PageOp& op, bool dropClip)
{
    setClip(op, dropClip);
    switch (op.kind) {
    case PageOp::kFill:
        fill(op);
        break;
    case PageOp::kStroke:
    case PageOp::kPolyline: {
        if (!op.detail)
            break;
        const PageOpDetail& d = *op.detail;
        if (painter_->brush().style() != Qt::NoBrush)
            painter_->setBrush(Qt::NoBrush);
        if (!(painter_->pen() == d.pen))
            painter_->setPen(d.pen);
        if (op.kind == PageOp::kStroke)
            painter_->drawPath(op.path);
        else
            painter_->drawPolyline(d.polyline);
        break;
    }
    case PageOp::kGlyphs: {
        if (!op.detail || !op.detail->face || op.detail->glyphs.isEmpty())
            break;
        const PageOpDetail& d = *op.detail;
        QGlyphRun run;
        run.setRawFont(fontOf(d));
        run.setGlyphIndexes(d.glyphs);
        run.setPositions(d.positions);
        if (painter_->pen().color() != d.colour || painter_->pen().style() != Qt::SolidLine)
            painter_->setPen(d.colour);
        if (runWidths_)
            keepWidths(d);
        // A run that is only moved is drawn at its place, which leaves the
        // painter's transform (and so the output's graphics state) alone.
        if (d.transform.type() <= QTransform::TxTranslate) {
            painter_->drawGlyphRun(QPointF(d.transform.dx(), d.transform.dy()), run);
        } else {
            // One text for each aslant run, though it says nothing: the
            // texts follow the runs one for one.
            if (aslantTexts_ && RunsAslant(d.transform))
                aslantTexts_->push_back(PdfTextString(d.chars));
            painter_->setTransform(d.transform);
            painter_->drawGlyphRun(QPointF(0, 0), run);
            painter_->resetTransform();
        }
        break;
    }
    case PageOp::kImage:
        if (!op.detail)
            break;
        painter_->setTransform(op.detail->transform);
        setLossless(op.detail->lossless);
        painter_->drawImage(QPointF(0, 0), op.detail->image);
        painter_->resetTransform();
        break;
    }
}
