// Text: Windows-1252 bytes placed glyph by glyph at whole-pixel advances
// (see font_mapper.h), aligned to the reference point by the text
// alignment and turned about it by the font's escapement.
#include <algorithm>
#include <cmath>

#include "foundation/cp1252.h"
#include "platform/dc.h"
#include "platform/dc_device.h"
#include "platform/dc_recorder.h"
#include "platform/dc_state.h"
#include "platform/font_mapper.h"

namespace {

int32_t Round(double v) { return RoundToInt(v); }

// Whole device pixels at full range.
int64_t Whole(double v) { return v == v ? int64_t(std::clamp(std::floor(v + 0.5), -kDeviceLimit, kDeviceLimit)) : 0; }

// Upright glyphs up to this size (the em, in device pixels) are kept as
// pixels per face; bigger ones are drawn from their outlines each time.
constexpr double kCachedGlyphPixels = 1024;

}  // namespace

const FontFace& Dc::face() const
{
    if (!state_->face)
        state_->face = MapLogFont(state_->font, scaleX(), scaleY(), device_->dpiY());
    return *state_->face;
}

QPointF Dc::alignedText(int64_t w) const
{
    const FontFace& f = face();
    const uint32_t align = state_->textAlign;
    double hx = 0;
    if ((align & TA_CENTER) == TA_CENTER)
        hx = -(w / 2);
    else if (align & TA_RIGHT)
        hx = -w;
    double vy = f.ascent;
    if ((align & TA_BASELINE) == TA_BASELINE)
        vy = 0;
    else if (align & TA_BOTTOM)
        vy = -f.descent;
    return {hx, vy};
}

QTransform Dc::textTurn(const QPointF& reference) const
{
    QTransform t;
    t.translate(reference.x(), reference.y());
    if (face().escapement != 0)
        t.rotate(-face().escapement);
    return t;
}

QPainterPath Dc::layoutText(const QPointF& reference, std::string_view text, const int32_t* dx,
                            const int64_t* placed, DeviceText* out, QPolygonF* cell, int32_t* width) const
{
    const FontFace& f = face();
    const size_t n = text.size();
    // Positions in 64 bits: a long text in a huge font reaches past int.
    std::vector<int64_t> pos(n);
    int64_t w = 0;
    if (placed) {
        for (size_t i = 0; i < n; ++i)
            pos[i] = placed[i];
        if (n > 0)
            w = pos[n - 1] + f.advance[uint8_t(text[n - 1])];
    } else if (dx) {
        // Advances in logical units, placed without drift by rounding the
        // running sum rather than each step.
        const double sx = std::fabs(scaleX());
        int64_t sum = 0;
        for (size_t i = 0; i < n; ++i) {
            pos[i] = Whole(double(sum) * sx);
            sum += dx[i];
        }
        w = Whole(double(sum) * sx);
    } else {
        for (size_t i = 0; i < n; ++i) {
            pos[i] = w;
            w += f.advance[uint8_t(text[i])];
        }
    }
    const QPointF at = alignedText(w);
    const double hx = at.x(), vy = at.y();
    const QTransform t = textTurn(reference);

    // An image draws upright glyphs from the face's cached coverage: the
    // reference point, the alignment offsets and the advances are all whole
    // pixels, so each glyph lands exactly where its outline would. Glyphs
    // too big to keep as pixels are drawn from their outlines. A target
    // that keeps text as text gets the glyph run and only the bars as an
    // area.
    const bool drawing = out && device_->isRaster();
    const bool asText = out && !device_->isRaster();
    const bool cached = drawing && f.escapement == 0 && f.emPixels <= kCachedGlyphPixels;
    // On an image, only glyphs that may reach the visible pixels are laid
    // out; the reach allows for ink beyond the glyph's cell.
    const QRectF visible = drawing ? QRectF(visibleBox()) : QRectF();
    const double reach = 2 * f.emPixels + f.maxCharWidth + 2;
    auto reachOf = [&](double x, double width) {
        return t.mapRect(QRectF(x, vy - f.ascent, width, f.ascent + f.descent).adjusted(-reach, -reach, reach, reach));
    };
    const bool wholeSeen = drawing && visible.contains(reachOf(hx, double(w)));
    auto seen = [&](size_t i) {
        return wholeSeen || reachOf(hx + double(pos[i]), f.advance[uint8_t(text[i])]).intersects(visible);
    };
    QPainterPath glyphs;
    glyphs.setFillRule(Qt::WindingFill);
    if (cached) {
        out->face = state_->face;
        out->glyphs.reserve(n);
        for (size_t i = 0; i < n; ++i) {
            if (seen(i))
                out->glyphs.push_back({uint8_t(text[i]), QPoint(int(reference.x() + hx + double(pos[i])),
                                                                int(reference.y() + vy))});
        }
    } else if (!asText) {
        for (size_t i = 0; i < n; ++i) {
            if (!drawing || seen(i))
                glyphs.addPath(f.glyphPath(uint8_t(text[i])).translated(hx + double(pos[i]), vy));
        }
    }
    // Underline and strike-out: one bar under the whole text, or under
    // each run of characters that touch when they were placed one by one.
    const double thick = std::max(1, Round(f.lineThickness));
    auto bars = [&](double y) {
        if (!placed) {
            if (w > 0)
                glyphs.addRect(QRectF(hx, y, double(w), thick));
            return;
        }
        for (size_t i = 0; i < n;) {
            const int64_t from = pos[i];
            int64_t to = from + f.advance[uint8_t(text[i])];
            for (++i; i < n && pos[i] == to; ++i)
                to += f.advance[uint8_t(text[i])];
            if (to > from)
                glyphs.addRect(QRectF(hx + double(from), y, double(to - from), thick));
        }
    };
    if (f.underline)
        bars(vy + Round(f.underlinePosition - thick / 2));
    if (f.strikeOut)
        bars(vy - Round(f.strikeOutPosition + thick / 2));
    QPainterPath outline = t.map(glyphs);
    outline.setFillRule(Qt::WindingFill);

    if (cell)
        *cell = t.map(QPolygonF(QRectF(hx, vy - f.ascent, double(w), f.ascent + f.descent)));
    if (width)
        *width = int32_t(std::clamp<int64_t>(w, INT32_MIN, INT32_MAX));
    if (asText) {
        QList<quint32> indexes;
        QList<QPointF> positions;
        indexes.reserve(qsizetype(n));
        positions.reserve(qsizetype(n));
        for (size_t i = 0; i < n; ++i) {
            indexes.append(f.glyph[uint8_t(text[i])]);
            positions.append(QPointF((hx + double(pos[i])) / f.xScale, vy));
        }
        out->face = state_->face;
        out->glyphIndexes = std::move(indexes);
        out->positions = std::move(positions);
        out->transform = QTransform::fromScale(f.xScale, 1) * t;
        out->chars = std::string(text);
    }
    if (out) {
        out->outline = outline;
        out->color = state_->textColor;
    }
    return outline;
}

bool Dc::textOut(int32_t x, int32_t y, std::string_view text) { return extTextOut(x, y, 0, nullptr, text); }

bool Dc::extTextOut(int32_t x, int32_t y, uint32_t options, const IntRect* rect, std::string_view text,
                    const int32_t* dx)
{
    if (recorder_)
        recorder_->extTextOut(x, y, options, rect, text, dx);
    State& s = *state_;
    const bool updateCp = (s.textAlign & TA_UPDATECP) != 0;
    const IntPoint ref = updateCp ? s.position : IntPoint{x, y};
    const QPointF refDevice = toPixel(ref.x, ref.y);
    const bool path = inPath();

    DeviceText drawn;
    QPolygonF cell;
    int32_t width = 0;
    const QPainterPath outline = layoutText(refDevice, text, dx, nullptr, path ? nullptr : &drawn, &cell, &width);

    bool ok = true;
    if (path) {
        pathAdd(outline);
    } else {
        const DeviceClip* savedClip = clip();
        DeviceClip textClip;
        const QRect box = rect ? deviceRect(rect->left, rect->top, rect->right, rect->bottom) : QRect();
        if (rect && (options & ETO_OPAQUE) && !box.isEmpty()) {
            QPainterPath area;
            area.addRect(QRectF(box.left(), box.top(), box.width(), box.height()));
            DeviceShape shape;
            shape.fill = area;
            shape.brush = DevicePaint::Solid(s.bkColor);
            ok = device_->drawShape(shape, savedClip) && ok;
        }
        const DeviceClip* textClipPtr = savedClip;
        if (rect && (options & ETO_CLIPPED)) {
            textClip = savedClip ? DeviceClip(*savedClip & QRegion(box), savedClip->outlines())
                                 : DeviceClip(QRegion(box));
            textClipPtr = &textClip;
        }
        if (s.bkMode == OPAQUE && width > 0) {
            QPainterPath area;
            area.addPolygon(cell);
            area.closeSubpath();
            DeviceShape shape;
            shape.fill = area;
            shape.brush = DevicePaint::Solid(s.bkColor);
            ok = device_->drawShape(shape, textClipPtr) && ok;
        }
        if (!text.empty())
            ok = device_->drawText(drawn, textClipPtr) && ok;
    }

    if (updateCp) {
        // The position moves to the far end of the text along its baseline:
        // right for left-aligned text, left for right-aligned, not at all
        // for centred text.
        const int32_t logicalWidth = Round(width / std::fabs(scaleX()));
        const uint32_t h = s.textAlign & TA_CENTER;
        const int32_t sign = h == TA_CENTER ? 0 : (h == TA_RIGHT ? -1 : 1);
        const double a = face().escapement * M_PI / 180.0;
        s.position.x += Round(sign * logicalWidth * std::cos(a));
        s.position.y -= Round(sign * logicalWidth * std::sin(a));
    }
    return ok;
}

bool Dc::placedTextOut(int32_t y, std::string_view text, const int32_t* x)
{
    if (text.empty() || !x)
        return true;
    std::vector<IntPoint> at(text.size());
    for (size_t i = 0; i < text.size(); ++i)
        at[i] = IntPoint{x[i], y};
    return placedTextOut(text, at.data());
}

bool Dc::placedTextOut(std::string_view text, const IntPoint* at)
{
    if (text.empty() || !at)
        return true;
    const State& s = *state_;
    // One run only where it lays every glyph down as the character-wise
    // calls would: left-aligned, transparent text on a target that keeps
    // text as text; turned, only without underline or strike-out, whose
    // bars would join across the characters. Anything else (a recorder, a
    // path, turned or opaque text on an image) goes character by character.
    const FontFace& f = face();
    const uint32_t h = s.textAlign & TA_CENTER;
    const bool oneRun = !device_->isRaster() && !recorder_ && !inPath() && s.bkMode == TRANSPARENT &&
                        h == TA_LEFT && (f.escapement == 0 || (!f.underline && !f.strikeOut));
    // On an image, unturned glyphs go to the device together, each where
    // its own call would put it, so that neighbours can be kept apart.
    if (device_->isRaster() && !recorder_ && !inPath() && s.bkMode == TRANSPARENT && f.escapement == 0 &&
        f.emPixels <= kCachedGlyphPixels) {
        DeviceText all;
        for (size_t i = 0; i < text.size(); ++i) {
            DeviceText one;
            layoutText(toPixel(at[i].x, at[i].y), text.substr(i, 1), nullptr, nullptr, &one, nullptr, nullptr);
            all.glyphs.insert(all.glyphs.end(), one.glyphs.begin(), one.glyphs.end());
            all.outline.addPath(one.outline);
            all.face = one.face;
            all.color = one.color;
        }
        all.outline.setFillRule(Qt::WindingFill);
        all.keepApart = true;
        return device_->drawText(all, clip());
    }
    if (!oneRun) {
        const uint32_t align = s.textAlign;
        if (align & TA_UPDATECP)
            setTextAlign(align & ~uint32_t(TA_UPDATECP));
        bool ok = true;
        for (size_t i = 0; i < text.size(); ++i)
            ok = extTextOut(at[i].x, at[i].y, 0, nullptr, text.substr(i, 1)) && ok;
        if (align & TA_UPDATECP)
            setTextAlign(align);
        return ok;
    }
    // Each character's point, brought back onto the run's unturned
    // baseline: its offset along the baseline places the glyph, and what
    // is left across it (rounding of the turned points) moves the glyph as
    // the character's own call would.
    const QPointF reference = toPixel(at[0].x, at[0].y);
    QTransform unturn;
    if (f.escapement != 0)
        unturn.rotate(f.escapement);
    std::vector<QPointF> offsets(text.size());
    std::vector<int64_t> placed(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        offsets[i] = unturn.map(toPixel(at[i].x, at[i].y) - reference);
        placed[i] = int64_t(offsets[i].x());
    }
    DeviceText drawn;
    layoutText(reference, text, nullptr, placed.data(), &drawn, nullptr, nullptr);
    if (f.escapement != 0) {
        for (qsizetype i = 0; i < drawn.positions.size(); ++i)
            drawn.positions[i] += QPointF((offsets[size_t(i)].x() - double(placed[size_t(i)])) / f.xScale,
                                          offsets[size_t(i)].y());
    }
    return device_->drawText(drawn, clip());
}

IntSize Dc::getTextExtent(std::string_view text) const
{
    const FontFace& f = face();
    int64_t w = 0;
    for (char c : text)
        w += f.advance[uint8_t(c)];
    return IntSize{Round(double(w) / std::fabs(scaleX())), Round((f.ascent + f.descent) / std::fabs(scaleY()))};
}

TextMetrics Dc::getTextMetrics() const
{
    const FontFace& f = face();
    const double sx = std::fabs(scaleX());
    const double sy = std::fabs(scaleY());
    TextMetrics m;
    m.ascent = Round(f.ascent / sy);
    m.descent = Round(f.descent / sy);
    m.height = m.ascent + m.descent;
    m.internalLeading = Round(f.internalLeading / sy);
    m.externalLeading = Round(f.externalLeading / sy);
    m.aveCharWidth = Round(f.aveCharWidth / sx);
    m.maxCharWidth = Round(f.maxCharWidth / sx);
    return m;
}

int32_t Dc::getCharWidth(uint8_t ch) const { return Round(face().advance[ch] / std::fabs(scaleX())); }

std::string Dc::getTextFace() const
{
    if (state_->font.faceName[0] != '\0')
        return std::string(state_->font.faceName, strnlen(state_->font.faceName, sizeof(state_->font.faceName)));
    return QStringToCp1252(face().family);
}

QRectF Dc::textReach(int32_t x, int32_t y, std::string_view text) const
{
    const FontFace& f = face();
    // The glyphs' boxes where textPath places their outlines, with a pixel
    // more for rounding, and the underline and strike-out bars.
    QRectF glyphs;
    int64_t w = 0;
    for (char ch : text) {
        const QRectF box = f.glyphBounds(uint8_t(ch));
        if (!box.isNull())
            glyphs = glyphs.united(box.translated(double(w), 0));
        w += f.advance[uint8_t(ch)];
    }
    if ((f.underline || f.strikeOut) && w > 0) {
        const double bar = std::max(1.0, std::ceil(f.lineThickness)) + 1;
        const double above = std::fabs(f.strikeOutPosition) + bar, below = std::fabs(f.underlinePosition) + bar;
        glyphs = glyphs.united(QRectF(0, -above, double(w), above + below));
    }
    if (glyphs.isNull())
        return {};
    const IntPoint ref = (state_->textAlign & TA_UPDATECP) != 0 ? state_->position : IntPoint{x, y};
    const QPointF at = alignedText(w);
    const QRectF placed = glyphs.translated(at).adjusted(-1, -1, 1, 1);
    return logicalToDevice().inverted().mapRect(textTurn(toPixel(ref.x, ref.y)).mapRect(placed));
}

QPainterPath Dc::textPath(int32_t x, int32_t y, std::string_view text) const
{
    const bool updateCp = (state_->textAlign & TA_UPDATECP) != 0;
    const IntPoint ref = updateCp ? state_->position : IntPoint{x, y};
    const QPainterPath device =
        layoutText(toPixel(ref.x, ref.y), text, nullptr, nullptr, nullptr, nullptr, nullptr);
    QPainterPath logical = logicalToDevice().inverted().map(device);
    logical.setFillRule(Qt::WindingFill);
    return logical;
}
