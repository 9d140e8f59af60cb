// glyph-sheet OUT.png: power text for looking at. The top rows show whole
// effects (outlines, blended and radiant interiors, the four shadows, two
// lines, vertical text, a frame turned by 20 degrees), the rows below every
// envelope shape with its name. The text is Liberation Sans standing for
// Arial, in the sixteen colours a new document starts with.

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include <QGuiApplication>
#include <QImage>

#include "platform/dc.h"
#include "offscreen_application.h"
#include "tool_command.h"
#include "typography/glyph_effect.h"
#include "typography/glyph_layout.h"
#include "typography/glyph_render.h"
#include "typography/glyph_sources.h"

namespace {

constexpr int32_t kMargin = 12;
constexpr int32_t kLabel = 16;
constexpr int32_t kBigWidth = 300;
constexpr int32_t kBigHeight = 130;
constexpr int32_t kSmallWidth = 170;
constexpr int32_t kSmallHeight = 80;
constexpr int kBigColumns = 4;
constexpr int kSmallColumns = 7;

struct Panel {
    const char* label;
    const char* line1;
    const char* line2;
    uint16_t shape;
    uint16_t alignment;
    bool horizontal;
    double angle;
    GlyphStyle style;
};

// outline style, colour, tint; fill style, colour, tint; blend colour,
// tint; shadow style, position, fill, colour, tint, blend colour, tint.
const Panel kPanels[] = {
    {"Thin outline, solid", "Tessaline", "", 1, 1, true, 0, {2, 15, 100, 1, 6, 100, 0, 100, 1, 1, 1, 13, 100, 1, 100}},
    {"Thick outline, blend across", "Gradient", "", 1, 1, true, 0,
     {3, 5, 100, 2, 1, 100, 3, 100, 1, 1, 1, 13, 100, 1, 100}},
    {"Hilited, double blend down", "Hilite", "", 1, 1, true, 0,
     {4, 3, 100, 5, 8, 100, 9, 100, 1, 1, 1, 13, 100, 1, 100}},
    {"Radiant blend, drop shadow", "Radiant", "", 1, 1, true, 0,
     {2, 15, 100, 6, 1, 100, 3, 100, 2, 1, 1, 13, 100, 1, 100}},
    {"Block shadow, lower left", "Block", "", 1, 1, true, 0,
     {2, 15, 100, 1, 7, 100, 0, 100, 3, 2, 1, 14, 100, 1, 100}},
    {"Silhouette, blend down", "Silhouette", "", 1, 1, true, 0,
     {3, 0, 100, 1, 0, 100, 0, 100, 4, 1, 3, 5, 100, 7, 100}},
    {"Two lines, centred", "Labels", "and cards", 1, 2, true, 0,
     {2, 15, 100, 3, 4, 100, 2, 100, 2, 1, 1, 12, 100, 1, 100}},
    {"Turned 20 degrees, tint 50", "Turned", "", 1, 1, true, 20,
     {3, 6, 100, 4, 6, 50, 7, 100, 2, 4, 1, 13, 60, 1, 100}},
};

const Panel kVertical = {"Vertical, two lines", "AB", "CD", 1, 1, false, 0,
                         {2, 15, 100, 2, 9, 100, 8, 100, 2, 1, 1, 13, 100, 1, 100}};

GlyphEffect EffectOf(const Panel& p)
{
    GlyphEffect e;
    SetGlyphLine(e.line1, p.line1);
    SetGlyphLine(e.line2, p.line2);
    e.shape = p.shape;
    e.alignment = p.alignment;
    e.orientation = p.horizontal ? kGlyphHorizontal : 0;
    e.style = p.style;
    return e;
}

void DrawPanel(Dc& dc, const GlyphEffect& effect, const LogFont& font, const char* label, const IntRect& frame,
               double angle, const GlyphTints& tints)
{
    dc.selectPen(Pen{PS_SOLID, 1, MakeRgb(200, 200, 200)});
    dc.selectBrush(Brush::Hollow());
    dc.rectangle(frame.left - 1, frame.top - 1, frame.right + 1, frame.bottom + 1);
    LogFont caption;
    std::strcpy(caption.faceName, "Arial");
    caption.height = -11;
    const LogFont old = dc.selectFont(caption);
    dc.setBkMode(TRANSPARENT);
    dc.setTextColor(kBlack);
    dc.textOut(frame.left, frame.top - kLabel + 1, label);
    dc.selectFont(old);
    // A turned frame turns about its top-left corner; it is laid out at
    // the origin and placed, as the frame draws it.
    IntRect at{0, 0, frame.right - frame.left, frame.bottom - frame.top};
    IntPoint place{frame.left, frame.top};
    if (angle != 0) {
        at = IntRect{0, 0, at.right * 2 / 3, at.bottom / 2};
        place = IntPoint{frame.left + 30, frame.top + 60};
    }
    const IntPoint viewport = dc.setViewportOrg(place.x, place.y);
    RenderGlyphEffect(&dc, effect, font, at, angle, 1, tints);
    dc.setViewportOrg(viewport.x, viewport.y);
}

int RunGlyphSheet(const ToolArgs& args)
{
    if (args.size() != 1)
        return ToolFail("usage: glyph-sheet OUT.png");
    const std::unique_ptr<QGuiApplication> app = StartOffscreenGuiApplication();

    FontSpec face;
    face.type = kFontTypeTrueType;
    face.pitchAndFamily = 0x22;
    face.emSize = 2048;
    std::strcpy(face.faceName, "Arial");
    LogFont font;
    GetEffectLogFont(face, &font);
    const DefaultGlyphTints tints;

    const int bigRows = (int(std::size(kPanels)) + 1 + kBigColumns - 1) / kBigColumns;
    const int smallRows = (kGlyphShapeCount + kSmallColumns - 1) / kSmallColumns;
    const int32_t width =
        kMargin + std::max(kBigColumns * (kBigWidth + kMargin), kSmallColumns * (kSmallWidth + kMargin));
    const int32_t height =
        kMargin + bigRows * (kBigHeight + kLabel + kMargin) + smallRows * (kSmallHeight + kLabel + kMargin);
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        auto dc = Dc::ForImage(&image);
        int n = 0;
        auto bigFrame = [&](int i) {
            const int32_t x = kMargin + (i % kBigColumns) * (kBigWidth + kMargin);
            const int32_t y = kMargin + kLabel + (i / kBigColumns) * (kBigHeight + kLabel + kMargin);
            return IntRect{x, y, x + kBigWidth, y + kBigHeight};
        };
        for (const Panel& p : kPanels) {
            DrawPanel(*dc, EffectOf(p), font, p.label, bigFrame(n), p.angle, tints);
            ++n;
        }
        DrawPanel(*dc, EffectOf(kVertical), font, kVertical.label, bigFrame(n), 0, tints);

        const int32_t top = kMargin + bigRows * (kBigHeight + kLabel + kMargin);
        for (int s = 1; s <= kGlyphShapeCount; ++s) {
            Panel p{GlyphShapeName(s), "Envelope", "", uint16_t(s), 1, true, 0,
                    {2, 15, 100, 3, 6, 100, 7, 100, 1, 1, 1, 13, 100, 1, 100}};
            const int32_t x = kMargin + ((s - 1) % kSmallColumns) * (kSmallWidth + kMargin);
            const int32_t y = top + kLabel + ((s - 1) / kSmallColumns) * (kSmallHeight + kLabel + kMargin);
            DrawPanel(*dc, EffectOf(p), font, p.label, IntRect{x, y, x + kSmallWidth, y + kSmallHeight}, 0, tints);
        }
    }
    if (!image.save(QString::fromLocal8Bit(args[0].c_str()), "PNG"))
        return ToolFail("cannot write " + args[0]);
    return 0;
}

}  // namespace

TESSALINE_TOOL_COMMAND("glyph-sheet", "glyph-sheet OUT.png", RunGlyphSheet);
