#include "typography/glyph_layout.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

#include "foundation/alert_sink.h"
#include "foundation/int_math.h"
#include "graphics/matrix2.h"
#include "platform/dc.h"
#include "typography/glyph_shape.h"
#include "typography/glyph_sources.h"
#include "typography/glyph_warp.h"

namespace {

// TrueType em squares lie between these.
constexpr uint32_t kSmallestEm = 16;
constexpr uint32_t kLargestEm = 16384;

std::string Measurable(std::string text)
{
    std::replace(text.begin(), text.end(), ' ', '|');
    return text;
}

// Pads the shorter of two lines with spaces to about the width of the
// longer, by the alignment, within the 63 characters a line holds.
void PadLines(Dc* dc, uint16_t alignment, std::string* a, std::string* b)
{
    if (alignment < kGlyphAlignLeft || alignment > kGlyphAlignRight)
        return;
    const int32_t bar = dc->getTextExtent("|").width;
    if (bar <= 0)
        return;
    const int64_t wa = dc->getTextExtent(*a).width;
    const int64_t wb = dc->getTextExtent(*b).width;
    std::string* shorter = wa < wb ? a : b;
    size_t n = size_t(std::llabs(wa - wb) / bar);
    n = std::min(n, kGlyphLineMax - std::min(kGlyphLineMax, shorter->size()));
    if (n == 0)
        return;
    if (alignment == kGlyphAlignLeft)
        *shorter += std::string(n, ' ');
    else if (alignment == kGlyphAlignCenter)
        *shorter = std::string(n / 2, ' ') + *shorter + std::string(n - n / 2, ' ');
    else
        *shorter = std::string(n, ' ') + *shorter;
}

struct Rotation {
    Matrix2 m;
    IntPoint centre;
    bool on = false;

    GlyphPoint About(GlyphPoint p) const
    {
        if (!on)
            return p;
        const double dx = std::trunc(p.x - centre.x);
        const double dy = std::trunc(p.y - centre.y);
        const DoublePoint q = Matrix2Apply(m, DoublePoint{dx, dy});
        return {q.x + centre.x, q.y + centre.y};
    }
};

int32_t DrawLine(Dc* dc, const std::string& line, const GlyphEffect& effect, IntRect rect, int32_t inset,
                 const Rotation& turn, double angle, bool flipX, bool flipY, const TextMetrics& tm)
{
    const bool horizontal = GlyphIsHorizontal(effect);
    const std::string measured = Measurable(line);
    if (measured.empty()) {
        MessageBeep(0);
        return kGlyphErrorGeneral;
    }
    const double left = double(rect.left) + inset, top = double(rect.top) + inset;
    const double right = double(rect.right) - inset, bottom = double(rect.bottom) - inset;
    if (right - left <= 0 || bottom - top <= 0)
        return kGlyphErrorFrameTooSmall;

    IntRect box;
    if (const int32_t err = MeasureGlyphText(dc, measured, horizontal, &box))
        return err;
    const double boxLeft = double(box.left) - 1, boxTop = double(box.top) - 1;
    const double boxRight = double(box.right) + 1, boxBottom = double(box.bottom) + 1;
    // Each line is stretched to fill its rectangle exactly, whatever the
    // font's size.
    const double sx = (right - left) / (boxRight - boxLeft);
    const double sy = (bottom - top) / (boxBottom - boxTop);

    // The pen starts where the stretched text box meets the rectangle's
    // top and leading edge, so that the glyphs fill the rectangle and no
    // more: a first glyph that begins right of its pen would otherwise push
    // the line out of its frame by its bearing times the stretch.
    GlyphPoint pen{std::trunc(flipX ? right + boxLeft * sx : left - boxLeft * sx), std::trunc(top - boxTop * sy)};
    // The envelope, where the glyphs land before they are turned.
    GlyphBox envelope{left - 1, top - 1, right + 1, bottom + 1};
    GlyphPoint drawn = turn.About(pen);

    for (const char c : line) {
        const bool space = c == ' ';
        GlyphShape shape;
        if (const int32_t err = GlyphOutlineExtract(dc, uint8_t(space ? '|' : c), &shape))
            return err;
        if (!horizontal)
            shape.advance = {0, double(tm.height) + tm.externalLeading};
        ScaleGlyph(&shape, sx, sy);
        WarpGlyph(&shape, envelope, effect.shape, horizontal, pen, flipX, flipY);
        const GlyphPoint step = shape.advance;
        if (turn.on)
            RotateGlyph(&shape, angle);
        if (!space)
            DrawGlyphPath(dc, IntPoint{TruncToInt32(drawn.x), TruncToInt32(drawn.y)}, shape);
        // A mirrored line runs backwards along x.
        const GlyphPoint move{flipX ? -step.x : step.x, step.y};
        pen.x += move.x;
        pen.y += move.y;
        const DoublePoint turned = turn.on ? Matrix2Apply(turn.m, DoublePoint{move.x, move.y}) : DoublePoint{move.x, move.y};
        drawn.x += turned.x;
        drawn.y += turned.y;
        GlyphShapeFree(&shape);
    }
    return 0;
}

uint32_t UsableEm(uint32_t em) { return em >= kSmallestEm && em <= kLargestEm ? em : kDefaultGlyphEm; }

}  // namespace

bool GetEffectLogFont(const FontSpec& face, LogFont* font)
{
    *font = LogFontFromSpec(face, *font);
    font->height = -int32_t(UsableEm(face.emSize));
    return face.type != kFontTypeTrueType;
}

bool GetEffectLogFont(int32_t fontId, const GlyphFontTable* table, LogFont* font)
{
    FontSpec face;
    if (!table || !table->Lookup(fontId, &face))
        return true;
    return GetEffectLogFont(face, font);
}

int32_t MeasureGlyphText(Dc* dc, std::string_view text, bool horizontal, IntRect* out)
{
    *out = IntRect{};
    if (text.empty()) {
        MessageBeep(0);
        return kGlyphErrorGeneral;
    }
    const TextMetrics tm = dc->getTextMetrics();
    double penX = 0, penY = 0;
    double left = 0, top = 0, right = 0, bottom = 0;
    bool first = true;
    for (const char c : text) {
        GlyphShape shape;
        if (const int32_t err = GlyphOutlineExtract(dc, uint8_t(c == ' ' ? '|' : c), &shape))
            return err;
        for (const GlyphPoint& p : shape.box) {
            const double x = penX + p.x, y = penY + p.y;
            if (first) {
                left = right = x;
                top = bottom = y;
                first = false;
            }
            left = std::min(left, x);
            top = std::min(top, y);
            right = std::max(right, x);
            bottom = std::max(bottom, y);
        }
        if (horizontal)
            penX += shape.advance.x;
        else
            penY += double(tm.height) + tm.externalLeading;
    }
    *out = IntRect{TruncToInt32(left), TruncToInt32(top), TruncToInt32(right), TruncToInt32(bottom)};
    return 0;
}

int32_t DrawGlyphText(Dc* dc, const GlyphEffect& effect, const LogFont& font, const IntRect& frame, IntPoint centre,
                      double angle, bool flipX, bool flipY, int32_t inset)
{
    if (!dc)
        return kGlyphErrorGeneral;
    const LogFont previous = dc->selectFont(font);
    const TextMetrics tm = dc->getTextMetrics();
    const bool horizontal = GlyphIsHorizontal(effect);

    std::string lines[2] = {GlyphLineText(effect.line1), GlyphLineText(effect.line2)};
    IntRect rect = frame;
    if (!lines[0].empty() && !lines[1].empty()) {
        if (horizontal)
            rect.bottom = Sub32(rect.bottom, Sub32(rect.bottom, rect.top) / 2);
        else
            rect.right = Sub32(rect.right, Sub32(rect.right, rect.left) / 2);
        PadLines(dc, effect.alignment, &lines[0], &lines[1]);
    }

    Rotation turn;
    turn.centre = centre;
    turn.on = std::isfinite(angle) && angle != 0;
    Matrix2Identity(&turn.m);
    if (turn.on)
        Matrix2Rotate(&turn.m, angle);

    int32_t result = 0;
    for (int k = 0; k < 2 && result == 0; ++k) {
        if (lines[k].empty())
            continue;
        IntRect lineRect = rect;
        if (k == 1 && !lines[0].empty()) {
            const int32_t dx = horizontal ? 0 : Sub32(rect.right, rect.left);
            const int32_t dy = horizontal ? Sub32(rect.bottom, rect.top) : 0;
            lineRect = IntRect{Add32(rect.left, dx), Add32(rect.top, dy), Add32(rect.right, dx),
                               Add32(rect.bottom, dy)};
        }
        result = DrawLine(dc, lines[k], effect, lineRect, inset, turn, angle, flipX, flipY, tm);
    }
    dc->selectFont(previous);
    if (result != 0)
        dc->abortPath();
    return result;
}
