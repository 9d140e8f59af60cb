#include "typography/glyph_postscript.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "foundation/cstr.h"
#include "foundation/int_math.h"
#include "graphics/postscript.h"
#include "platform/dc.h"
#include "typography/glyph_layout.h"
#include "typography/glyph_paint.h"
#include "typography/glyph_sources.h"

namespace {

constexpr int32_t kBands = 20;

enum class Layer { kShadow, kInterior, kOutline };

// PostScript words, written without the locale.
class PsText {
public:
    void Int(int64_t v)
    {
        char b[24];
        s_ += ' ';
        s_.append(b, std::to_chars(b, b + sizeof b, v).ptr);
    }
    void Point(IntPoint p)
    {
        Int(p.x);
        Int(p.y);
    }
    void Word(const char* w)
    {
        s_ += ' ';
        s_ += w;
        s_ += ' ';
    }
    void Colour(ColorRef c)
    {
        for (uint8_t v : {RedOf(c), GreenOf(c), BlueOf(c)}) {
            char b[32];
            s_ += ' ';
            s_.append(b, std::to_chars(b, b + sizeof b, v / 255.0, std::chars_format::fixed, 6).ptr);
        }
        Word("setrgbcolor");
    }
    void Angle(double degrees)
    {
        char b[kFixedTextSize];
        FormatDoubleFixed(degrees, b, 4);
        s_ += ' ';
        s_ += b;
        Word("rotate");
    }
    void Quad(double left, double top, double right, double bottom, ColorRef c)
    {
        Word("newpath");
        Point({TruncToInt32(left), TruncToInt32(top)});
        Word("moveto");
        Point({TruncToInt32(right), TruncToInt32(top)});
        Word("lineto");
        Point({TruncToInt32(right), TruncToInt32(bottom)});
        Word("lineto");
        Point({TruncToInt32(left), TruncToInt32(bottom)});
        Word("lineto");
        Word("closepath");
        Colour(c);
        Word("fill");
    }
    void Disc(IntPoint centre, int64_t radius, ColorRef c)
    {
        // A negative radius is a rangecheck that ends the whole job.
        Word("newpath");
        Point(centre);
        Int(std::max<int64_t>(radius, 0));
        Int(0);
        Int(360);
        Word("arc");
        Word("closepath");
        Colour(c);
        Word("fill");
    }
    const std::string& str() const { return s_; }

private:
    std::string s_;
};

void Fill(PsText* ps, const IntRect& f, int32_t style, ColorRef c1, ColorRef c2)
{
    const double left = f.left, top = f.top, right = f.right, bottom = f.bottom;
    switch (style) {
    case kFillBlendAcross:
    case kFillBlendDown:
    case kFillDoubleBlendAcross:
    case kFillDoubleBlendDown: {
        const bool across = style == kFillBlendAcross || style == kFillDoubleBlendAcross;
        const bool both = style == kFillDoubleBlendAcross || style == kFillDoubleBlendDown;
        const double extent = across ? right - left : bottom - top;
        const double size = extent / (both ? 2 * kBands : kBands);
        const double grow = size != std::floor(size) ? 2 : 0;
        for (int32_t i = 0; i < kBands; ++i) {
            const ColorRef c = BlendColor(c1, c2, kBands - 1, i);
            for (int side = 0; side < (both ? 2 : 1); ++side) {
                double from = std::trunc(i * size), to = std::trunc((i + 1) * size) + grow;
                if (side == 1) {
                    const double a = extent - to;
                    to = extent - from;
                    from = a;
                }
                if (across)
                    ps->Quad(left + from, top, left + to, bottom, c);
                else
                    ps->Quad(left, top + from, right, top + to, c);
            }
        }
        break;
    }
    case kFillRadiant: {
        ps->Quad(left, top, right, bottom, c1);
        const int64_t w = int64_t(f.right) - f.left, h = int64_t(f.bottom) - f.top;
        const int64_t side = std::max(std::llabs(w), std::llabs(h));
        const IntPoint centre{TruncToInt32(left + w / 2.0), TruncToInt32(top + h / 2.0)};
        for (int32_t i = 0; i < kBands; ++i)
            ps->Disc(centre, side / 2 - i * (side / (2 * kBands)), BlendColor(c1, c2, kBands, i + 1));
        break;
    }
    default:
        ps->Quad(left, top, right, bottom, c1);
        break;
    }
}

struct Job {
    PassThroughSink* sink;
    const GlyphStyle& style;
    const IntRect& frame;
    double angle;
    int32_t width;
    const GlyphTints& tints;
};

// One layer: the path (or, for a silhouette, the frame box) moved by
// (dx, dy), then clipped and filled, or stroked.
int32_t WriteLayer(const Job& job, const std::vector<PathPoint>& path, int32_t dx, int32_t dy, Layer layer,
                   bool frameBox)
{
    if (PsGsave(job.sink) != 0)
        return kGlyphErrorGsave;
    const GlyphStyle& s = job.style;
    // Drawn from the frame's corner (and turned about it): the same text on
    // every label of a sheet is written alike, which the job's compression
    // then keeps as little more than once.
    const IntRect& place = job.frame;
    const IntRect f{0, 0, Sub32(place.right, place.left), Sub32(place.bottom, place.top)};
    PsText ps;
    ps.Point({place.left, place.top});
    ps.Word("translate");
    if (job.angle != 0 && std::isfinite(job.angle))
        ps.Angle(-job.angle);
    ps.Word("newpath");
    if (frameBox) {
        ps.Point({f.left, f.top});
        ps.Word("moveto");
        ps.Point({f.right, f.top});
        ps.Word("lineto");
        ps.Point({f.right, f.bottom});
        ps.Word("lineto");
        ps.Point({f.left, f.bottom});
        ps.Word("lineto");
    } else {
        auto at = [&](size_t i) {
            return IntPoint{Sub32(Add32(path[i].point.x, dx), place.left),
                            Sub32(Add32(path[i].point.y, dy), place.top)};
        };
        // After the first point each goes from the one before: the steps
        // of a letter are alike wherever it stands, and alike in every
        // layer, which the job's compression keeps as little more than once.
        bool started = false;
        int64_t cx = 0, cy = 0;
        auto step = [&](IntPoint p) {
            ps.Int(int64_t(p.x) - cx);
            ps.Int(int64_t(p.y) - cy);
        };
        for (size_t i = 0; i < path.size(); ++i) {
            const uint8_t type = path[i].type & ~PT_CLOSEFIGURE;
            size_t last = i;
            if (type == PT_MOVETO && !started) {
                ps.Point(at(i));
                ps.Word("moveto");
            } else if (type == PT_MOVETO || (type == PT_LINETO && started)) {
                step(at(i));
                ps.Word(type == PT_MOVETO ? "rmoveto" : "rlineto");
            } else if (type == PT_LINETO) {
                ps.Point(at(i));
                ps.Word("lineto");
            } else if (type == PT_BEZIERTO) {
                // Three points make a curve; a run cut short is left out.
                if (i + 2 < path.size() && (path[i + 1].type & ~PT_CLOSEFIGURE) == PT_BEZIERTO &&
                    (path[i + 2].type & ~PT_CLOSEFIGURE) == PT_BEZIERTO) {
                    for (size_t k = i; k < i + 3; ++k) {
                        if (started)
                            step(at(k));
                        else
                            ps.Point(at(k));
                    }
                    ps.Word(started ? "rcurveto" : "curveto");
                    last = i + 2;
                    i += 2;
                } else {
                    continue;
                }
            } else {
                continue;
            }
            started = true;
            cx = at(last).x;
            cy = at(last).y;
        }
    }
    ps.Word("closepath");
    if (layer == Layer::kOutline) {
        const ColorRef c = job.tints.Tint(s.outlineColor, s.outlineTint);
        if (s.outlineStyle == kOutlineHilited) {
            ps.Colour(kWhite);
            ps.Word("gsave");
            ps.Int(2 * int64_t(job.width));
            ps.Word("setlinewidth stroke grestore");
        }
        ps.Colour(c);
        ps.Int(s.outlineStyle == kOutlineThick ? 2 * int64_t(job.width) : job.width);
        ps.Word("setlinewidth stroke");
    } else {
        ps.Word("clip");
        if (layer == Layer::kShadow)
            Fill(&ps, f, s.shadowFill, job.tints.Tint(s.shadowColor, s.shadowTint),
                 job.tints.Tint(s.shadowBlendColor, s.shadowBlendTint));
        else
            Fill(&ps, f, s.fillStyle, job.tints.Tint(s.fillColor, s.fillTint),
                 job.tints.Tint(s.blendColor, s.blendTint));
    }
    const std::string text = ps.str() + "\r";
    if (PsSendData(job.sink, text.data(), int32_t(std::min<size_t>(text.size(), INT32_MAX))) != 0)
        return kGlyphErrorGeneral;
    return PsGrestore(job.sink) != 0 ? kGlyphErrorGeneral : 0;
}

}  // namespace

int32_t WriteGlyphEffectPostScript(Dc* dc, PassThroughSink* sink, const GlyphEffect& effect, IntPoint offset,
                                   const IntRect& logicalFrame, double angle, int32_t outlineWidth,
                                   const GlyphTints& tints)
{
    if (!dc)
        return kGlyphErrorGeneral;
    std::vector<PathPoint> path = dc->getPath();
    dc->abortPath();
    if (path.empty())
        return kGlyphErrorGeneral;
    // Device units, where the printer's pass-through draws.
    for (PathPoint& p : path) {
        dc->lpToDp(&p.point, 1);
        p.point = {Add32(p.point.x, offset.x), Add32(p.point.y, offset.y)};
    }
    IntPoint corners[2] = {{logicalFrame.left, logicalFrame.top}, {logicalFrame.right, logicalFrame.bottom}};
    dc->lpToDp(corners, 2);
    const IntRect frame{Add32(corners[0].x, offset.x), Add32(corners[0].y, offset.y), Add32(corners[1].x, offset.x),
                        Add32(corners[1].y, offset.y)};

    const GlyphStyle& s = effect.style;
    const Job job{sink, s, frame, angle, std::max(outlineWidth, 1), tints};
    if (PsGsave(sink) != 0)
        return kGlyphErrorGsave;
    int32_t result = 0;
    if (s.shadowStyle >= kShadowDrop && s.shadowStyle <= kShadowSilhouette) {
        const IntPoint d = GlyphShadowStep(s, frame);
        if (s.shadowStyle == kShadowDrop) {
            result = WriteLayer(job, path, d.x, d.y, Layer::kShadow, false);
        } else if (s.shadowStyle == kShadowBlock) {
            const int32_t n = std::abs(d.x);
            const int32_t sx = d.x > 0 ? 1 : -1, sy = d.y > 0 ? 1 : -1;
            for (int32_t k = 1; k <= n && result == 0; ++k)
                result = WriteLayer(job, path, k * sx, k * sy, Layer::kShadow, false);
        } else {
            result = WriteLayer(job, path, 0, 0, Layer::kShadow, true);
        }
    }
    if (result == 0)
        result = WriteLayer(job, path, 0, 0, Layer::kInterior, false);
    if (result == 0 && s.outlineStyle >= kOutlineThin && s.outlineStyle <= kOutlineHilited)
        result = WriteLayer(job, path, 0, 0, Layer::kOutline, false);
    if (PsGrestore(sink) != 0 && result == 0)
        result = kGlyphErrorGeneral;
    return result;
}
