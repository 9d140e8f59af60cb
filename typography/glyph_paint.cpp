#include "typography/glyph_paint.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <optional>

#include "foundation/int_math.h"
#include "graphics/rotation.h"
#include "platform/dc.h"
#include "typography/glyph_sources.h"

namespace {

constexpr int32_t kBands = 20;

// The clip as it was, put back when the painting ends.
class SavedClip {
public:
    explicit SavedClip(Dc* dc) : dc_(dc), clip_(dc->wholeClip()) {}
    ~SavedClip() { Restore(); }
    void Restore() { dc_->restoreClip(clip_); }
    // The saved clip narrowed to a region in device units.
    void NarrowTo(const Region& device)
    {
        Restore();
        dc_->extSelectClipRgn(&device, RGN_AND);
    }

private:
    Dc* dc_;
    std::optional<DeviceClip> clip_;
};

IntPoint DeviceOffset(const Dc* dc)
{
    IntPoint p{0, 0};
    dc->lpToDp(&p, 1);
    return p;
}

Region Shifted(const Region& r, int32_t dx, int32_t dy)
{
    Region out = r;
    out.offset(dx, dy);
    return out;
}

// The union of copies moved 1, 2, ... n steps along (sx, sy), built by
// doubling so that deep shadows cost a few unions.
Region Block(const Region& r, int32_t n, int32_t sx, int32_t sy)
{
    Region acc = Shifted(r, sx, sy);
    int32_t covered = 1;
    while (covered < n) {
        const int32_t step = std::min(covered, n - covered);
        Region next;
        next.combine(acc, Shifted(acc, step * sx, step * sy), RGN_OR);
        acc = next;
        covered += step;
    }
    return acc;
}

// The same union on a target that keeps shapes, as the copies' outlines:
// where the region's pixels would be a rectangle for each row of the
// block, the page clips with a few paths. Under the winding rule any part
// a copy covers is inside, which is the union while the shape's own
// outlines hold the same pixels under that rule as under its own (its
// holes run against its outsides, as in fonts); nothing when they do not.
// Steps finer than a pixel add nothing the paper shows, so a deep block
// takes at most kMostCopies copies.
std::optional<Region> BlockOutline(const Region& r, int32_t n, int32_t sx, int32_t sy)
{
    constexpr int32_t kMostCopies = 24;
    QPainterPath shape = r.shape();
    if (shape.isEmpty())
        return std::nullopt;
    if (shape.fillRule() != Qt::WindingFill) {
        shape.setFillRule(Qt::WindingFill);
        if (!(Region::FromPath(shape) == r))
            return std::nullopt;
    }
    const int32_t copies = std::min(n, kMostCopies);
    QPainterPath block;
    block.setFillRule(Qt::WindingFill);
    for (int32_t i = 1; i <= copies; ++i) {
        const int32_t step = int32_t(int64_t(i) * n / copies);
        block.addPath(shape.translated(double(step) * sx, double(step) * sy));
    }
    return Region::FromPath(block);
}

int32_t Sign(int32_t v) { return v > 0 ? 1 : v < 0 ? -1 : 0; }

// A rectangle of the frame's own coordinates, turned with the frame.
void TurnedQuad(double left, double top, double right, double bottom, const IntRect& frame, double angle,
                IntPoint out[4])
{
    out[0] = {TruncToInt32(left), TruncToInt32(top)};
    out[1] = {TruncToInt32(right), TruncToInt32(top)};
    out[2] = {TruncToInt32(right), TruncToInt32(bottom)};
    out[3] = {TruncToInt32(left), TruncToInt32(bottom)};
    if (angle != 0 && std::isfinite(angle))
        RotatePoint(out, 4, frame.left, frame.top, angle);
}

void FillQuad(Dc* dc, const IntPoint quad[4], ColorRef colour)
{
    const Brush old = dc->selectBrush(Brush::Solid(colour));
    dc->polygon(quad, 4);
    dc->selectBrush(old);
}

void Bands(Dc* dc, const IntRect& f, bool across, bool fromBothEdges, ColorRef c1, ColorRef c2, double angle)
{
    const double extent = across ? double(f.right) - f.left : double(f.bottom) - f.top;
    const int32_t count = fromBothEdges ? 2 * kBands : kBands;
    const double size = extent / count;
    // Fractional bands are drawn wider so that no seam shows between them.
    const double grow = size != std::floor(size) ? 2 : 0;
    for (int32_t i = 0; i < kBands; ++i) {
        const ColorRef c = BlendColor(c1, c2, kBands - 1, i);
        for (int side = 0; side < (fromBothEdges ? 2 : 1); ++side) {
            double from = std::trunc(i * size);
            double to = std::trunc((i + 1) * size) + grow;
            if (side == 1) {
                const double a = extent - to, b = extent - from;
                from = a;
                to = b;
            }
            IntPoint q[4];
            if (across)
                TurnedQuad(f.left + from, f.top, f.left + to, f.bottom, f, angle, q);
            else
                TurnedQuad(f.left, f.top + from, f.right, f.top + to, f, angle, q);
            FillQuad(dc, q, c);
        }
    }
}

void Radiant(Dc* dc, const IntRect& f, ColorRef c1, ColorRef c2, double angle)
{
    IntPoint q[4];
    TurnedQuad(f.left, f.top, f.right, f.bottom, f, angle, q);
    FillQuad(dc, q, c1);
    const int64_t w = int64_t(f.right) - f.left, h = int64_t(f.bottom) - f.top;
    const int64_t side = std::max(std::llabs(w), std::llabs(h));
    IntPoint centre{TruncToInt32(f.left + w / 2.0), TruncToInt32(f.top + h / 2.0)};
    if (angle != 0 && std::isfinite(angle))
        RotatePoint(&centre, 1, f.left, f.top, angle);
    const Pen oldPen = dc->selectPen(Pen{PS_SOLID, 3, c1});
    const Brush oldBrush = dc->selectBrush(Brush::Hollow());
    const int64_t step = side / (2 * kBands);
    for (int32_t i = 0; i < kBands; ++i) {
        dc->selectPen(Pen{PS_SOLID, 3, BlendColor(c1, c2, kBands, i + 1)});
        const int64_t half = side / 2 - i * step;
        dc->ellipse(TruncToInt32(double(centre.x) - half), TruncToInt32(double(centre.y) - half),
                    TruncToInt32(double(centre.x) - half + 2 * half), TruncToInt32(double(centre.y) - half + 2 * half));
    }
    dc->selectBrush(oldBrush);
    dc->selectPen(oldPen);
}

}  // namespace

ColorRef BlendColor(ColorRef c1, ColorRef c2, int32_t steps, int32_t step)
{
    if (steps == 0)
        return c1;
    if (step == steps)
        return c2;
    auto mix = [&](uint8_t a, uint8_t b) {
        return uint8_t(std::clamp<int64_t>(a + (int64_t(b) - a) * step / steps, 0, 255));
    };
    return MakeRgb(mix(RedOf(c1), RedOf(c2)), mix(GreenOf(c1), GreenOf(c2)), mix(BlueOf(c1), BlueOf(c2)));
}

void FillGradient(Dc* dc, const IntRect& frame, int32_t fillStyle, ColorRef c1, ColorRef c2, double angle)
{
    if (!dc)
        return;
    IntPoint q[4];
    TurnedQuad(frame.left, frame.top, frame.right, frame.bottom, frame, angle, q);
    dc->lpToDp(q, 4);
    SavedClip clip(dc);
    clip.NarrowTo(Region::FromPolygon(q, 4, ALTERNATE));
    const Pen oldPen = dc->selectPen(Pen{PS_NULL, 0, kBlack});
    switch (fillStyle) {
    case kFillBlendAcross:
        Bands(dc, frame, true, false, c1, c2, angle);
        break;
    case kFillBlendDown:
        Bands(dc, frame, false, false, c1, c2, angle);
        break;
    case kFillDoubleBlendAcross:
        Bands(dc, frame, true, true, c1, c2, angle);
        break;
    case kFillDoubleBlendDown:
        Bands(dc, frame, false, true, c1, c2, angle);
        break;
    case kFillRadiant:
        Radiant(dc, frame, c1, c2, angle);
        break;
    default:
        TurnedQuad(frame.left, frame.top, frame.right, frame.bottom, frame, angle, q);
        FillQuad(dc, q, c1);
        break;
    }
    dc->selectPen(oldPen);
}

IntPoint GlyphShadowStep(const GlyphStyle& style, const IntRect& frame)
{
    const int64_t w = std::llabs(int64_t(frame.right) - frame.left);
    const int64_t h = std::llabs(int64_t(frame.bottom) - frame.top);
    const int32_t d = int32_t(std::min<int64_t>(std::min(w, h) / 50, INT32_MAX));
    switch (style.shadowPosition) {
    case kShadowLowerLeft:
        return {-d, d};
    case kShadowTopLeft:
        return {-d, -d};
    case kShadowTopRight:
        return {d, -d};
    default:
        return {d, d};
    }
}

int32_t DrawGlyphEffect(Dc* dc, const Region& text, const GlyphStyle& s, const IntRect& frame, double angle,
                        int32_t outlineWidth, const GlyphTints& tints)
{
    if (!dc)
        return 1;
    SavedClip clip(dc);
    const IntPoint toDevice = DeviceOffset(dc);
    const Region deviceText = Shifted(text, toDevice.x, toDevice.y);

    if (s.shadowStyle >= kShadowDrop && s.shadowStyle <= kShadowSilhouette) {
        const IntPoint d = GlyphShadowStep(s, frame);
        bool paint = true;
        if (s.shadowStyle == kShadowDrop) {
            clip.NarrowTo(Shifted(deviceText, d.x, d.y));
        } else if (s.shadowStyle == kShadowBlock) {
            const int32_t n = std::abs(d.x);
            paint = n > 0;
            if (paint) {
                const std::optional<Region> outline =
                    dc->keepsShapes() ? BlockOutline(deviceText, n, Sign(d.x), Sign(d.y)) : std::nullopt;
                clip.NarrowTo(outline ? *outline : Block(deviceText, n, Sign(d.x), Sign(d.y)));
            }
        }
        if (paint)
            FillGradient(dc, frame, s.shadowFill, tints.Tint(s.shadowColor, s.shadowTint),
                         tints.Tint(s.shadowBlendColor, s.shadowBlendTint), angle);
    }

    clip.NarrowTo(deviceText);
    FillGradient(dc, frame, s.fillStyle, tints.Tint(s.fillColor, s.fillTint), tints.Tint(s.blendColor, s.blendTint),
                 angle);

    const int32_t w = std::clamp(outlineWidth, 1, 1 << 16);
    const Brush colour = Brush::Solid(tints.Tint(s.outlineColor, s.outlineTint));
    switch (s.outlineStyle) {
    case kOutlineThin:
        dc->frameRgn(text, colour, w, w);
        break;
    case kOutlineThick:
        dc->frameRgn(text, colour, 2 * w, 2 * w);
        break;
    case kOutlineHilited:
        dc->frameRgn(text, Brush::Solid(kWhite), 2 * w, 2 * w);
        dc->frameRgn(text, colour, w, w);
        break;
    default:
        break;
    }
    return 0;
}
