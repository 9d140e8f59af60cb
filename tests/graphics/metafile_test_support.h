// Drawings, pictures and outside tools for the metafile suites.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include <QImage>
#include <QProcess>
#include <QStandardPaths>

#include "graphics/emf_reader.h"
#include "platform/dc.h"

// A card-like drawing in pixels of a 96-dpi device, about 240 x 160: the
// calls the program's frames make (fills, borders, hatches and patterns,
// shapes, curves, a path, clipping, text and a picture). plainFills puts
// solid brushes in place of the hatch and the pattern.
inline void DrawCardLike(Dc& dc, bool plainFills = false)
{
    dc.fillRect(IntRect{0, 0, 240, 160}, Brush::Solid(MakeRgb(250, 245, 230)));
    const Pen oldPen = dc.selectPen(Pen{PS_SOLID, 3, MakeRgb(20, 40, 160)});
    dc.selectBrush(plainFills ? Brush::Solid(MakeRgb(200, 0, 0)) : Brush::Hatched(HS_DIAGCROSS, MakeRgb(200, 0, 0)));
    if (!plainFills)
        dc.setBkMode(TRANSPARENT);
    dc.rectangle(10, 10, 120, 70);
    dc.selectBrush(Brush::Solid(MakeRgb(0, 160, 60)));
    dc.selectPen(Pen{PS_SOLID, 0, kBlack});
    dc.ellipse(130, 10, 230, 70);
    const IntPoint star[] = {{40, 80}, {50, 110}, {80, 110}, {55, 128}, {65, 155}, {40, 138}, {15, 155}, {25, 128},
                             {0, 110},  {30, 110}};
    dc.setPolyFillMode(WINDING);
    dc.selectBrush(Brush::Solid(MakeRgb(240, 200, 0)));
    dc.polygon(star, 10);
    const IntPoint curve[] = {{90, 150}, {110, 80}, {150, 160}, {170, 90}};
    dc.selectPen(Pen{PS_SOLID, 2, MakeRgb(120, 0, 120)});
    dc.polyBezier(curve, 4);
    MonoPattern checker;
    for (int i = 0; i < 8; ++i)
        checker.rows[i] = i % 2 ? 0x55 : 0xAA;
    dc.setTextColor(MakeRgb(0, 0, 200));
    dc.setBkColor(kWhite);
    dc.selectBrush(plainFills ? Brush::Solid(MakeRgb(0, 0, 200)) : Brush::Pattern(checker));
    dc.selectPen(Pen{PS_NULL, 0, kBlack});
    dc.beginPath();
    dc.roundRect(180, 80, 235, 130, 20, 20);
    dc.endPath();
    dc.fillPath();
    const int32_t level = dc.saveDc();
    dc.intersectClipRect(180, 135, 210, 158);
    dc.selectBrush(Brush::Solid(MakeRgb(255, 0, 255)));
    dc.rectangle(170, 130, 240, 160);
    dc.restoreDc(level);
    LogFont font;
    font.height = -18;
    font.weight = FW_BOLD;
    std::snprintf(font.faceName, sizeof(font.faceName), "Arial");
    dc.selectFont(font);
    dc.setTextColor(MakeRgb(10, 10, 10));
    dc.textOut(95, 75, "Card \xE9t\xE9");
    QImage picture(12, 8, QImage::Format_RGB32);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 12; ++x)
            picture.setPixel(x, y, qRgb(x * 20, y * 30, 128));
    dc.stretchImage(IntRect{200, 20, 224, 36}, picture, QRect(), SRCCOPY);
    dc.selectPen(oldPen);
}

// Share of pixels whose colours differ by more than `tolerance` in a
// channel (1.0 when the sizes differ).
inline double DiffShare(const QImage& a, const QImage& b, int tolerance = 0)
{
    if (a.size() != b.size() || a.isNull())
        return 1.0;
    const QImage x = a.convertToFormat(QImage::Format_RGB32);
    const QImage y = b.convertToFormat(QImage::Format_RGB32);
    int64_t differ = 0;
    for (int j = 0; j < x.height(); ++j) {
        const auto* p = reinterpret_cast<const QRgb*>(x.constScanLine(j));
        const auto* q = reinterpret_cast<const QRgb*>(y.constScanLine(j));
        for (int i = 0; i < x.width(); ++i) {
            if (std::abs(qRed(p[i]) - qRed(q[i])) > tolerance || std::abs(qGreen(p[i]) - qGreen(q[i])) > tolerance ||
                std::abs(qBlue(p[i]) - qBlue(q[i])) > tolerance)
                ++differ;
        }
    }
    return double(differ) / (double(x.width()) * x.height());
}

// Mean colour of each cell of a grid: a comparison that forgives the
// edges and the antialiasing of another renderer.
inline double CellDifference(const QImage& a, const QImage& b, int cell)
{
    if (a.size() != b.size() || a.isNull())
        return 255.0;
    const QImage x = a.convertToFormat(QImage::Format_RGB32);
    const QImage y = b.convertToFormat(QImage::Format_RGB32);
    double worst = 0;
    for (int cy = 0; cy + cell <= x.height(); cy += cell) {
        for (int cx = 0; cx + cell <= x.width(); cx += cell) {
            double d[3] = {0, 0, 0};
            for (int j = cy; j < cy + cell; ++j) {
                for (int i = cx; i < cx + cell; ++i) {
                    const QRgb p = x.pixel(i, j), q = y.pixel(i, j);
                    d[0] += qRed(p) - qRed(q);
                    d[1] += qGreen(p) - qGreen(q);
                    d[2] += qBlue(p) - qBlue(q);
                }
            }
            for (double v : d)
                worst = std::max(worst, std::abs(v) / (cell * cell));
        }
    }
    return worst;
}

inline bool HaveTool(const char* name) { return !QStandardPaths::findExecutable(name).isEmpty(); }

// Runs a program; its exit code, or -1 when it does not run.
inline int RunTool(const QString& program, const QStringList& args, QByteArray* out = nullptr)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForStarted(10000) || !p.waitForFinished(60000))
        return -1;
    if (out)
        *out = p.readAllStandardOutput();
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

inline bool WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream f(path, std::ios::binary);
    f.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return bool(f);
}

inline std::vector<uint8_t> ReadBytes(const std::string& path)
{
    std::ifstream f(path, std::ios::binary);
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
}

// An SVG file rendered to a picture of the given size by rsvg-convert.
inline QImage RenderSvg(const std::string& svg, int width, int height, const std::string& png)
{
    // wmf2svg uses the xlink prefix without declaring it, and writes the
    // text's own single bytes without naming their encoding.
    std::vector<uint8_t> bytes = ReadBytes(svg);
    std::string text(bytes.begin(), bytes.end());
    if (text.find("xmlns:xlink") == std::string::npos) {
        const size_t at = text.find("<svg ");
        if (at != std::string::npos)
            text.insert(at + 5, "xmlns:xlink=\"http://www.w3.org/1999/xlink\" ");
        const std::string plain = "<?xml version=\"1.0\" ";
        if (text.compare(0, plain.size(), plain) == 0 && text.find("encoding=") == std::string::npos)
            text.insert(plain.size(), "encoding=\"ISO-8859-1\" ");
        WriteBytes(svg, std::vector<uint8_t>(text.begin(), text.end()));
    }
    if (RunTool("rsvg-convert", {"-w", QString::number(width), "-h", QString::number(height), "-b", "white", "-o",
                                 QString::fromStdString(png), QString::fromStdString(svg)}) != 0)
        return QImage();
    return QImage(QString::fromStdString(png)).convertToFormat(QImage::Format_RGB32);
}
