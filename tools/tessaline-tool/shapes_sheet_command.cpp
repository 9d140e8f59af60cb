// shapes-sheet OUT.png: one sheet of the styled drawing, for looking at:
// the nine line styles with every cap, every border style on a rectangle
// and every combination of border sides, rounded rectangles, ellipses,
// quarter arcs, polygons and stars, and the fill patterns.

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include <QGuiApplication>
#include <QImage>

#include "graphics/border_stripes.h"
#include "graphics/brush_state.h"
#include "graphics/ellipse_shape.h"
#include "graphics/fill_pattern_strip.h"
#include "graphics/fill_patterns.h"
#include "graphics/frame_border.h"
#include "graphics/placement.h"
#include "graphics/rect_shape.h"
#include "graphics/round_rect_shape.h"
#include "graphics/shape_helpers.h"
#include "graphics/styled_polygon.h"
#include "platform/dc.h"
#include "offscreen_application.h"
#include "tool_command.h"

namespace {

constexpr ColorRef kInk = MakeRgb(20, 50, 140);
constexpr ColorRef kGuide = MakeRgb(200, 200, 200);
constexpr int kSheetWidth = 1320;
constexpr int kSheetHeight = 1840;

void Label(Dc& dc, int x, int y, const std::string& text, int size = -11)
{
    LogFont f;
    std::strncpy(f.faceName, "Arial", sizeof(f.faceName) - 1);
    f.height = size;
    const LogFont old = dc.selectFont(f);
    const int32_t mode = dc.setBkMode(TRANSPARENT);
    const ColorRef colour = dc.setTextColor(kBlack);
    dc.textOut(x, y, text);
    dc.setTextColor(colour);
    dc.setBkMode(mode);
    dc.selectFont(old);
}

void Heading(Dc& dc, int y, const char* text) { Label(dc, 10, y, text, -15); }

void Ink(Dc& dc)
{
    dc.selectPen(Pen{PS_SOLID, 1, kInk});
    dc.selectBrush(Brush::Solid(kInk));
}

// A faint box where a shape's placement lies, to see the rings sit inside.
void Guide(Dc& dc, const FramePlacement& p)
{
    if (p.angle != 0)
        return;
    dc.selectPen(Pen{PS_DOT, 1, kGuide});
    dc.selectBrush(Brush::Hollow());
    dc.rectangle(p.x - 1, p.y - 1, p.x + p.width + 1, p.y + p.height + 1);
    Ink(dc);
}

PlacementBlock Block(int x, int y, int w, int h, int width, int style, double angle = 0, uint8_t sides = kAllSides)
{
    PlacementBlock b;
    b.x = x;
    b.y = y;
    b.width = int16_t(w);
    b.height = int16_t(h);
    b.angle = float(angle);
    b.lineWidth = int16_t(width);
    b.lineStyle = int16_t(style);
    b.sides = sides;
    return b;
}

int LinesWithCaps(Dc& dc, int y)
{
    Heading(dc, y, "Line styles 1-9 (rows) with caps 0-6 at both ends (columns), width 8; last column caps 2 and 4, width 3");
    y += 24;
    for (int cap = 0; cap <= 7; ++cap)
        Label(dc, 80 + cap * 150 + 50, y, cap == 7 ? "2 / 4, width 3" : "cap " + std::to_string(cap));
    y += 22;
    for (int style = 1; style <= 9; ++style) {
        Label(dc, 10, y + 8, "style " + std::to_string(style));
        for (int cap = 0; cap <= 7; ++cap) {
            LineRecord line;
            const int x = 80 + cap * 150;
            line.start = {x + 14, y + 12};
            line.end = {x + 132, y + 12};
            line.leftCap = uint8_t(cap == 7 ? 2 : cap);
            line.rightCap = uint8_t(cap == 7 ? 4 : cap);
            line.lineWidth = int16_t(cap == 7 ? 3 : 8);
            line.lineStyle = int16_t(style);
            Ink(dc);
            DrawFrameBorder(&dc, line, 0);
        }
        y += 34;
    }
    return y;
}

int WideAndTurnedLines(Dc& dc, int y)
{
    Heading(dc, y, "Styles 1-9 at width 24 (stripes); lines turned in steps of 30 degrees, round start cap, caps 2-5 at the end");
    y += 26;
    for (int style = 1; style <= 9; ++style) {
        LineRecord line;
        const int x = 10 + (style - 1) * 110;
        line.start = {x, y + 20};
        line.end = {x + 96, y + 20};
        line.lineWidth = 24;
        line.lineStyle = int16_t(style);
        Ink(dc);
        DrawFrameBorder(&dc, line, 0);
        Label(dc, x + 36, y + 40, std::to_string(style));
    }
    const int cx = 1130, cy = y + 120;
    for (int i = 0; i < 7; ++i) {
        LineRecord line;
        line.start = {cx, cy};
        const double a = i * 3.14159265358979 / 6;
        line.end = {cx + int(110 * std::cos(a)), cy - int(110 * std::sin(a))};
        line.lineWidth = 4;
        line.lineStyle = int16_t(i % 3 == 0 ? 1 : i % 3 == 1 ? 2 : 7);
        line.rightCap = uint8_t(2 + i % 4);
        line.leftCap = 1;
        Ink(dc);
        DrawFrameBorder(&dc, line, 0);
    }
    return y + 130;
}

int RectBorders(Dc& dc, int y)
{
    Heading(dc, y, "Rectangle borders: styles 1-9, width 12, all sides; the last two turned by 30 and 90 degrees");
    y += 26;
    for (int style = 1; style <= 11; ++style) {
        const int x = 10 + (style - 1) * 118;
        const bool turned = style > 9;
        const PlacementBlock b = turned ? Block(x + 20, y + (style == 10 ? 30 : 80), 70, 60, 12, 3,
                                                style == 10 ? 30 : 90)
                                        : Block(x, y, 100, 80, 12, style);
        Guide(dc, b);
        DrawRectShape(&dc, b);
        Label(dc, x + 40, y + 86, turned ? (style == 10 ? "3 @30" : "3 @90") : std::to_string(style));
    }
    return y + 110;
}

int SideMasks(Dc& dc, int y, int style, int width)
{
    Heading(dc, y,
            ("Border sides 1-15 (8 top, 4 right, 2 bottom, 1 left), style " + std::to_string(style) + ", width " +
             std::to_string(width))
                .c_str());
    y += 24;
    for (int mask = 1; mask <= 15; ++mask) {
        const int x = 10 + (mask - 1) * 86;
        const PlacementBlock b = Block(x, y, 70, 56, width, style, 0, uint8_t(mask));
        Guide(dc, b);
        DrawRectShape(&dc, b);
        std::string sides;
        if (mask & 8)
            sides += "T";
        if (mask & 4)
            sides += "R";
        if (mask & 2)
            sides += "B";
        if (mask & 1)
            sides += "L";
        Label(dc, x + 4, y + 60, std::to_string(mask) + " " + sides);
    }
    return y + 80;
}

int RoundRects(Dc& dc, int y)
{
    Heading(dc, y, "Rounded rectangles: styles 1-9, width 14 (dashes and dots draw solid); the last turned by 20");
    y += 26;
    for (int style = 1; style <= 10; ++style) {
        const int x = 10 + (style - 1) * 130;
        const PlacementBlock b = style == 10 ? Block(x + 10, y + 30, 100, 70, 14, 2, 20)
                                             : Block(x, y, 110, 90, 14, style);
        Guide(dc, b);
        DrawRoundRectShape(&dc, b);
        Label(dc, x + 45, y + 96, style == 10 ? "2 @20" : std::to_string(style));
    }
    return y + 120;
}

int Ellipses(Dc& dc, int y)
{
    Heading(dc, y, "Ellipses: styles 1-9, width 14; the last turned by 30");
    y += 26;
    for (int style = 1; style <= 10; ++style) {
        const int x = 10 + (style - 1) * 130;
        const PlacementBlock b = style == 10 ? Block(x + 5, y + 40, 110, 70, 14, 5, 30)
                                             : Block(x, y, 116, 90, 14, style);
        Guide(dc, b);
        DrawEllipseShape(&dc, b, 1, kArcNone);
        Label(dc, x + 50, y + 96, style == 10 ? "5 @30" : std::to_string(style));
    }
    return y + 120;
}

int Arcs(Dc& dc, int y)
{
    Heading(dc, y, "Quarter arcs, centre at the corner marked: codes 1-4 (style 2, width 12); style 1 width 1; "
                   "width = the smaller side; style 5 width 20");
    y += 26;
    struct ArcCase {
        int code;
        int width;
        int style;
    };
    const ArcCase cases[] = {{1, 12, 2}, {2, 12, 2}, {3, 12, 2}, {4, 12, 2},
                             {2, 1, 1},  {2, 70, 1}, {3, 20, 5}};
    int x = 10;
    for (const ArcCase& c : cases) {
        const PlacementBlock b = Block(x, y, 110, 70, c.width, c.style);
        Guide(dc, b);
        DrawEllipseShape(&dc, b, 0, c.code);
        const int cx = c.code == 1 || c.code == 4 ? x + 110 : x;
        const int cy = c.code <= 2 ? y : y + 70;
        dc.selectPen(Pen{PS_SOLID, 1, MakeRgb(200, 30, 30)});
        DrawCenterMark(&dc, cx, cy, 10);
        Label(dc, x + 30, y + 76, "code " + std::to_string(c.code));
        x += 150;
    }
    return y + 100;
}

int Stars(Dc& dc, int y)
{
    Heading(dc, y, "Polygons and stars: 5-star, 6-gon, 8-star (ratio 0.5), 3-gon, 12-star, turned 5-star; "
                   "styles 1, 2, 5");
    y += 26;
    struct StarCase {
        StarDescription d;
        int style;
        int width;
        double angle;
    };
    const StarCase cases[] = {
        {{5, 0, 0.6}, 1, 1, 0},   {{6, 1, 0}, 2, 14, 0},    {{8, 0, 0.5}, 1, 8, 0},  {{3, 1, 0}, 5, 20, 0},
        {{12, 0, 0.3}, 1, 4, 0},  {{5, 0, 0.6}, 2, 12, 20}, {{5, 0, 0.6}, 5, 24, 0}, {{7, 1, 0}, 9, 10, 0},
    };
    int x = 10;
    for (const StarCase& c : cases) {
        const PlacementBlock b = Block(x, y, 120, 110, c.width, c.style, c.angle);
        Guide(dc, b);
        DrawStyledPolygon(&dc, b, c.d);
        x += 150;
    }
    return y + 130;
}

int Patterns(Dc& dc, int y)
{
    Heading(dc, y, "Fill patterns 0-7 (solid, hollow, six hatches, black on white), the two built-in bitmaps, "
                   "and the pattern sample strip");
    y += 26;
    for (int n = 0; n < 10; ++n) {
        const int x = 10 + n * 90;
        BrushState brush(&dc);
        if (n < 8)
            brush.Set(kBlack, kWhite, n, BrushState::kSetText | BrushState::kSetBackground);
        else
            brush.Set(kBlack, kWhite, 0,
                      BrushState::kSetText | BrushState::kSetBackground |
                          (n == 8 ? BrushState::kCheckerboardPattern : BrushState::kSparsePattern));
        dc.selectPen(Pen{PS_SOLID, 1, kBlack});
        dc.rectangle(x, y, x + 72, y + 60);
        Label(dc, x + 4, y + 64, n < 8 ? "pattern " + std::to_string(n) : n == 8 ? "26073" : "26074");
    }
    const QImage strip = MakeFillPatternStrip(60, 20);
    dc.stretchImage(IntRect{920, y, 920 + strip.width(), y + strip.height()}, strip, QRect(), SRCCOPY);
    return y + strip.height() + 10;
}

void DrawSheet(Dc& dc)
{
    int y = 10;
    y = LinesWithCaps(dc, y) + 10;
    y = WideAndTurnedLines(dc, y) + 10;
    y = RectBorders(dc, y) + 8;
    y = SideMasks(dc, y, 3, 10) + 6;
    y = SideMasks(dc, y, 7, 6) + 6;
    y = SideMasks(dc, y, 9, 6) + 8;
    y = RoundRects(dc, y) + 8;
    y = Ellipses(dc, y) + 8;
    y = Arcs(dc, y) + 8;
    y = Stars(dc, y) + 8;
    Patterns(dc, y);
}

int RunShapesSheet(const ToolArgs& args)
{
    if (args.size() != 1)
        return ToolFail("usage: shapes-sheet OUT.png");
    const std::unique_ptr<QGuiApplication> app = StartOffscreenGuiApplication();
    SetUseHatchBrushes(true);
    QImage image(kSheetWidth, kSheetHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        auto dc = Dc::ForImage(&image);
        DrawSheet(*dc);
    }
    if (!image.save(QString::fromLocal8Bit(args[0].c_str())))
        return ToolFail("cannot write " + args[0]);
    return 0;
}

}  // namespace

TESSALINE_TOOL_COMMAND("shapes-sheet", "shapes-sheet OUT.png", RunShapesSheet);
