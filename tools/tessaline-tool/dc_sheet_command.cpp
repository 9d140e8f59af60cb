// dc-sheet OUT.png|OUT.pdf: one sheet of what the device context draws
// (pens, shapes, brushes, paths, regions, text and raster operations), for
// looking at. A .pdf name draws the same sheet through the vector target.

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include <QGuiApplication>
#include <QImage>
#include <QPageSize>
#include <QPdfWriter>

#include "platform/dc.h"
#include "offscreen_application.h"
#include "tool_command.h"

namespace {

constexpr ColorRef kRed = MakeRgb(220, 30, 30);
constexpr ColorRef kBlue = MakeRgb(30, 60, 200);
constexpr ColorRef kGreen = MakeRgb(20, 150, 60);
constexpr ColorRef kGrey = MakeRgb(160, 160, 160);
constexpr int kCell = 160;

LogFont Face(const char* name, int32_t height)
{
    LogFont f;
    std::strncpy(f.faceName, name, sizeof(f.faceName) - 1);
    f.height = height;
    return f;
}

void Label(Dc& dc, int x, int y, const char* text)
{
    const LogFont old = dc.selectFont(Face("Arial", -11));
    const uint32_t align = dc.setTextAlign(TA_LEFT | TA_TOP);
    const int32_t mode = dc.setBkMode(TRANSPARENT);
    const ColorRef color = dc.setTextColor(kBlack);
    dc.textOut(x, y, text);
    dc.setTextColor(color);
    dc.setBkMode(mode);
    dc.setTextAlign(align);
    dc.selectFont(old);
}

// Moves the origin to cell (col, row) and labels it.
void Cell(Dc& dc, int col, int row, const char* title)
{
    dc.setViewportOrg(10 + col * kCell, 10 + row * kCell);
    dc.selectPen(Pen{PS_SOLID, 0, kGrey});
    dc.selectBrush(Brush::Hollow());
    dc.rectangle(0, 0, kCell - 10, kCell - 10);
    Label(dc, 4, 2, title);
    dc.selectPen(Pen{PS_SOLID, 0, kBlack});
}

void DrawSheet(Dc& dc)
{
    Cell(dc, 0, 0, "pen styles, widths");
    const int32_t styles[] = {PS_SOLID, PS_DASH, PS_DOT, PS_DASHDOT, PS_DASHDOTDOT};
    for (int i = 0; i < 5; ++i) {
        dc.selectPen(Pen{styles[i], 0, kBlue});
        dc.moveTo(10, 22 + i * 10);
        dc.lineTo(140, 22 + i * 10);
    }
    for (int w = 2; w <= 8; w += 2) {
        dc.selectPen(Pen{PS_SOLID, w, kRed});
        dc.moveTo(10, 70 + w * 8);
        dc.lineTo(140, 60 + w * 8);
    }

    Cell(dc, 1, 0, "shapes");
    dc.selectBrush(Brush::Solid(MakeRgb(250, 220, 120)));
    dc.rectangle(10, 20, 60, 60);
    dc.ellipse(70, 20, 140, 60);
    dc.roundRect(10, 70, 70, 110, 20, 20);
    dc.selectPen(Pen{PS_INSIDEFRAME, 5, kBlue});
    dc.rectangle(80, 70, 140, 110);
    dc.selectPen(Pen{PS_SOLID, 0, kBlack});
    dc.pie(10, 115, 50, 148, 50, 115, 10, 115);
    dc.chord(55, 115, 95, 148, 95, 131, 55, 148);
    dc.arc(100, 115, 140, 148, 140, 131, 120, 115);

    Cell(dc, 2, 0, "hatches, pattern");
    const char* names[] = {"hor", "ver", "fdiag", "bdiag", "cross", "diagx"};
    for (int h = 0; h < 6; ++h) {
        const int x = 10 + (h % 3) * 45;
        const int y = 20 + (h / 3) * 45;
        dc.selectBrush(Brush::Hatched(h, kBlue));
        dc.rectangle(x, y, x + 40, y + 40);
        Label(dc, x + 2, y + 28, names[h]);
    }
    MonoPattern sparse;
    for (int r = 0; r < 8; ++r)
        sparse.rows[r] = (r & 1) ? 0x22 : 0x88;
    dc.setTextColor(kRed);
    dc.setBkColor(MakeRgb(255, 255, 200));
    dc.selectBrush(Brush::Pattern(sparse));
    dc.rectangle(10, 112, 140, 145);
    dc.setTextColor(kBlack);
    dc.setBkColor(kWhite);

    Cell(dc, 3, 0, "alternate / winding");
    const IntPoint star[] = {{40, 20}, {65, 100}, {5, 50}, {75, 50}, {15, 100}};
    dc.selectBrush(Brush::Solid(kGreen));
    dc.setPolyFillMode(ALTERNATE);
    dc.polygon(star, 5);
    IntPoint star2[5];
    for (int i = 0; i < 5; ++i)
        star2[i] = {star[i].x + 70, star[i].y};
    dc.setPolyFillMode(WINDING);
    dc.polygon(star2, 5);
    dc.setPolyFillMode(ALTERNATE);

    Cell(dc, 0, 1, "Bezier ring path");
    dc.selectBrush(Brush::Solid(kRed));
    dc.beginPath();
    for (int r : {60, 30}) {
        const int cx = 75, cy = 85, d = r * 55 / 100;
        const IntPoint p[] = {{cx, cy - r},     {cx + d, cy - r}, {cx + r, cy - d}, {cx + r, cy},
                              {cx + r, cy + d}, {cx + d, cy + r}, {cx, cy + r},     {cx - d, cy + r},
                              {cx - r, cy + d}, {cx - r, cy},     {cx - r, cy - d}, {cx - d, cy - r},
                              {cx, cy - r}};
        dc.polyBezier(p, 13);
        dc.closeFigure();
    }
    dc.endPath();
    dc.strokeAndFillPath();

    Cell(dc, 1, 1, "regions");
    {
        const IntPoint tri[] = {{10, 140}, {75, 20}, {140, 140}};
        const Region a = Region::FromPolygon(tri, 3, WINDING);
        const Region b = Region::FromEllipse(IntRect{45, 60, 105, 120});
        Region x;
        x.combine(a, b, RGN_XOR);
        dc.fillRgn(x, Brush::Solid(MakeRgb(150, 200, 250)));
        dc.frameRgn(x, Brush::Solid(kBlue), 2, 2);
    }

    Cell(dc, 2, 1, "NOT-XOR, mask blit");
    for (int i = 0; i < 4; ++i)
        dc.fillRect(IntRect{10 + i * 32, 20, 42 + i * 32, 140}, Brush::Solid(MakeRgb(60 * i, 200 - 40 * i, 120)));
    dc.setRop2(R2_NOTXORPEN);
    dc.selectPen(Pen{PS_SOLID, 0, kBlack});
    dc.selectBrush(Brush::Solid(kWhite));
    dc.rectangle(20, 30, 130, 70);
    dc.setRop2(R2_COPYPEN);
    {
        QImage picture(16, 16, QImage::Format_RGB32);
        QImage mask(16, 16, QImage::Format_RGB32);
        for (int y = 0; y < 16; ++y) {
            for (int x = 0; x < 16; ++x) {
                const bool inside = (x - 8) * (x - 8) + (y - 8) * (y - 8) < 49;
                picture.setPixel(x, y, inside ? qRgb(240, 200, 0) : qRgb(255, 255, 255));
                mask.setPixel(x, y, inside ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
            }
        }
        dc.stretchImage(IntRect{30, 80, 90, 140}, mask, QRect(), MERGEPAINT);
        dc.stretchImage(IntRect{30, 80, 90, 140}, picture, QRect(), SRCAND);
    }

    Cell(dc, 3, 1, "faces");
    const char* faces[] = {"Arial", "Times New Roman", "Courier New"};
    dc.setBkMode(TRANSPARENT);
    for (int i = 0; i < 3; ++i) {
        dc.selectFont(Face(faces[i], -16));
        dc.textOut(6, 20 + i * 22, faces[i]);
    }
    LogFont styled = Face("Arial", -16);
    styled.weight = FW_BOLD;
    styled.italic = 1;
    dc.selectFont(styled);
    dc.textOut(6, 90, "Bold italic");
    styled.weight = FW_NORMAL;
    styled.italic = 0;
    styled.underline = 1;
    styled.strikeOut = 1;
    dc.selectFont(styled);
    dc.textOut(6, 112, "Under \xE9 strike");

    Cell(dc, 0, 2, "escapement");
    for (int a = 0; a < 360; a += 45) {
        LogFont f = Face("Arial", -12);
        f.escapement = a * 10;
        dc.selectFont(f);
        dc.setTextAlign(TA_LEFT | TA_BASELINE);
        dc.textOut(75, 80, "  turned");
    }
    dc.setTextAlign(TA_LEFT | TA_TOP);

    Cell(dc, 1, 2, "alignment, opaque");
    dc.selectPen(Pen{PS_SOLID, 0, kRed});
    dc.moveTo(75, 20);
    dc.lineTo(75, 140);
    dc.moveTo(10, 60);
    dc.lineTo(140, 60);
    dc.selectFont(Face("Times New Roman", -18));
    dc.setBkMode(OPAQUE);
    dc.setBkColor(MakeRgb(200, 230, 255));
    dc.setTextAlign(TA_CENTER | TA_BASELINE);
    dc.textOut(75, 60, "Baseline");
    dc.setTextAlign(TA_RIGHT | TA_TOP);
    dc.textOut(75, 80, "Right");
    dc.setTextAlign(TA_LEFT | TA_BOTTOM);
    dc.textOut(75, 130, "Left");
    dc.setTextAlign(TA_BASELINE | TA_UPDATECP);
    dc.setBkMode(TRANSPARENT);
    dc.moveTo(10, 145);
    for (const char* p = "Update CP"; *p; ++p)
        dc.textOut(0, 0, std::string_view(p, 1));
    dc.setTextAlign(TA_LEFT | TA_TOP);

    Cell(dc, 2, 2, "sizes");
    int y = 18;
    for (int h : {-8, -10, -12, -16, -24, -32}) {
        dc.selectFont(Face("Arial", h));
        dc.textOut(6, y, "Tessaline Rag");
        y += -h + 4;
    }

    Cell(dc, 3, 2, "mapping (anisotropic)");
    dc.saveDc();
    dc.setMapMode(MM_ANISOTROPIC);
    dc.setWindowExt(1000, 1000);
    dc.setViewportExt(140, 120);
    dc.setWindowOrg(-50, -150);
    dc.selectPen(Pen{PS_SOLID, 40, kBlue});
    dc.selectBrush(Brush::Hatched(HS_DIAGCROSS, kGreen));
    dc.ellipse(0, 0, 800, 600);
    dc.selectFont(Face("Arial", -120));
    dc.setBkMode(TRANSPARENT);
    dc.textOut(150, 250, "Scaled");
    dc.restoreDc(-1);
}

}  // namespace

int RunDcSheet(const ToolArgs& args)
{
    if (args.size() != 1)
        return ToolFail("usage: dc-sheet OUT.png|OUT.pdf");
    const std::unique_ptr<QGuiApplication> app = StartOffscreenGuiApplication();
    const QString out = QString::fromLocal8Bit(args[0].c_str());
    if (out.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive)) {
        QPdfWriter pdf(out);
        pdf.setResolution(96);
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        pdf.setPageSize(QPageSize(QSizeF((4 * kCell + 20) * 0.75, (3 * kCell + 20) * 0.75), QPageSize::Point));
        {
            auto dc = Dc::ForDevice(&pdf, DT_RASPRINTER);
            DrawSheet(*dc);
            dc->flush();
        }
        return 0;
    }
    QImage image(4 * kCell + 20, 3 * kCell + 20, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        auto dc = Dc::ForImage(&image);
        DrawSheet(*dc);
    }
    if (!image.save(out))
        return ToolFail("cannot write " + args[0]);
    return 0;
}

TESSALINE_TOOL_COMMAND("dc-sheet", "dc-sheet OUT.png|OUT.pdf", RunDcSheet);
