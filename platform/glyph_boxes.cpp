#include "platform/glyph_boxes.h"

#include <algorithm>
#include <cmath>

#include <QPainterPath>

#include "platform/page_ops.h"

QRectF GlyphBoxes::of(const std::shared_ptr<const FontFace>& face, const QRawFont& font, quint32 glyph)
{
    // The faces of a job are few; a job of very many starts over now and
    // then rather than growing.
    constexpr size_t kMostFaces = 64;
    auto it = faces_.find(face.get());
    if (it == faces_.end()) {
        if (faces_.size() >= kMostFaces)
            faces_.clear();
        it = faces_.emplace(face.get(), Known{face, {}}).first;
    }
    const auto known = it->second.boxes.constFind(glyph);
    if (known != it->second.boxes.constEnd())
        return *known;
    const QRectF box = font.pathForGlyph(glyph).controlPointRect();
    it->second.boxes.insert(glyph, box);
    return box;
}

bool GlyphsOnlyWithin(const PageOpDetail& run, const QRectF& area, const QRawFont& font, GlyphBoxes* boxes)
{
    if (!run.face || !font.isValid() || run.glyphs.isEmpty() || run.glyphs.size() != run.positions.size())
        return false;
    double left = 0, top = 0, right = 0, bottom = 0, height = 0;
    for (qsizetype i = 0; i < run.glyphs.size(); ++i) {
        const QRectF b = boxes->of(run.face, font, run.glyphs[i]);
        const QPointF at = run.positions[i];
        // A glyph that draws nothing still counts where it stands.
        const double l = at.x() + std::min(b.left(), 0.0), r = at.x() + std::max(b.right(), 0.0);
        const double t = at.y() + std::min(b.top(), 0.0), u = at.y() + std::max(b.bottom(), 0.0);
        left = i == 0 ? l : std::min(left, l);
        right = i == 0 ? r : std::max(right, r);
        top = i == 0 ? t : std::min(top, t);
        bottom = i == 0 ? u : std::max(bottom, u);
        height = std::max({height, -b.top(), b.bottom()});
    }
    // A slant the output makes leans a glyph by 0.3 of its height; a stroke
    // that emboldens it widens it by a small part of the em; a pixel more
    // for the rest.
    const double em = font.pixelSize();
    const double across = 0.3 * height + 0.05 * em + 1, down = 0.05 * em + 1;
    const QRectF box = QRectF(QPointF(left, top), QPointF(right, bottom)).adjusted(-across, -down, across, down);
    const QRectF reach = run.transform.type() <= QTransform::TxTranslate
                             ? box.translated(run.transform.dx(), run.transform.dy())
                             : run.transform.mapRect(box);
    return std::isfinite(reach.left()) && std::isfinite(reach.right()) && std::isfinite(reach.top()) &&
           std::isfinite(reach.bottom()) && reach.left() >= area.left() && reach.right() <= area.right() &&
           reach.top() >= area.top() && reach.bottom() <= area.bottom();
}
