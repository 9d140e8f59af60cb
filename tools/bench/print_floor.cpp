#include "print_floor.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <tuple>

#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>
#include <QPolygonF>

#include "database/field_table.h"

namespace fs = std::filesystem;

namespace {

const QColor kBlue(0, 0, 160), kOrange(255, 128, 64), kGrey(80, 80, 80);

// Sizes in points on a painter already scaled to points.
QFont Font(double points, bool bold, bool italic, const char* face = "Liberation Sans")
{
    QFont f(face);
    f.setPointSizeF(points * 72.0 / 600.0);
    f.setBold(bold);
    f.setItalic(italic);
    return f;
}

QString Field(const FloorContact& c, int id)
{
    return size_t(id) < c.size() ? QString::fromStdString(c[size_t(id)]) : QString();
}

// The bars of a barcode of `bars` bars and its caption under them.
void Bars(QPainter* painter, double x, double y, double width, double height, int bars, const QString& caption)
{
    painter->setPen(Qt::NoPen);
    painter->setBrush(Qt::black);
    const double step = width / (bars * 1.6);
    for (int bar = 0; bar < bars; ++bar) {
        const double w = (bar * 7) % 3 == 0 ? step * 1.4 : step * 0.6;
        painter->drawRect(QRectF(x, y, w, height));
        x += w + ((bar * 5) % 3 == 0 ? step * 1.2 : step * 0.4);
    }
    if (caption.isEmpty())
        return;
    painter->setPen(Qt::black);
    painter->setFont(Font(6, false, false));
    painter->drawText(QRectF(x - width, y + height, width, 8), Qt::AlignHCenter | Qt::AlignTop, caption);
}

void Turned(QPainter* painter, double x, double y, double angle, const QRectF& box, const QString& text)
{
    painter->save();
    painter->translate(x, y);
    painter->rotate(-angle);
    painter->drawText(box, Qt::AlignLeft | Qt::AlignTop, text);
    painter->restore();
}

class Pictures {
public:
    explicit Pictures(const fs::path& folder) : folder_(folder) {}
    // Read once, as a program that knows its pictures repeat would.
    const QImage& operator()(const char* name)
    {
        auto found = std::find_if(images_.begin(), images_.end(), [&](const auto& p) { return p.first == name; });
        if (found != images_.end())
            return found->second;
        images_.emplace_back(name, QImage(QString::fromStdString((folder_ / name).string())));
        return images_.back().second;
    }

private:
    fs::path folder_;
    std::vector<std::pair<std::string, QImage>> images_;
};

void DrawSample(QPainter* painter, const FloorContact& c)
{
    static const QPolygonF star = [] {
        QPolygonF p;
        for (int k = 0; k < 10; ++k) {
            const double angle = k * M_PI / 5 - M_PI / 2, r = k % 2 ? 7 : 16;
            p << QPointF(34 + r * std::cos(angle), 34 + r * std::sin(angle));
        }
        return p;
    }();
    painter->setPen(Qt::NoPen);
    painter->setBrush(kBlue);
    painter->drawEllipse(QRectF(14, 14, 40, 40));
    painter->setBrush(kOrange);
    painter->drawPolygon(star);
    painter->drawRect(QRectF(62, 42, 176, 3));
    painter->setFont(Font(14, true, false));
    painter->setPen(kBlue);
    painter->drawText(QRectF(62, 16, 178, 24), Qt::AlignLeft | Qt::AlignTop, Field(c, kFieldCompany));
    painter->setFont(Font(11, true, false));
    painter->setPen(Qt::black);
    painter->drawText(QRectF(14, 62, 166, 16), Qt::AlignLeft | Qt::AlignTop,
                      Field(c, kFieldFirstName) + ' ' + Field(c, kFieldLastName));
    painter->setFont(Font(8, false, true));
    painter->setPen(kGrey);
    painter->drawText(QRectF(14, 78, 166, 16), Qt::AlignLeft | Qt::AlignTop, Field(c, kFieldTitle));
    painter->setFont(Font(7, false, false));
    painter->setPen(Qt::black);
    painter->drawText(QRectF(14, 96, 154, 40), Qt::AlignLeft | Qt::AlignTop,
                      Field(c, kFieldAddress1) + '\n' + Field(c, kFieldCity) + ", " + Field(c, kFieldState) + ' ' +
                          Field(c, kFieldZipCode) + "\nTel. " + Field(c, kFieldPhone1) + "  " + Field(c, kFieldEMail));
    // A Code 39 symbol's worth of bars (9 characters of 5 bars) and its text.
    Bars(painter, 172, 104, 73, 22, 45, "TS-0042");
}

void DrawLabel(QPainter* painter, const FloorContact& c, Pictures& pictures)
{
    painter->drawImage(QRectF(8, 8, 144, 96), pictures("photo.jpg"));
    painter->setPen(kBlue);
    painter->setFont(Font(11, true, false));
    painter->drawText(QRectF(163, 13, 82, 16), Qt::AlignLeft | Qt::AlignTop, Field(c, kFieldCompany));
    painter->setPen(Qt::black);
    painter->setFont(Font(9, false, false));
    painter->drawText(QRectF(163, 30, 82, 14), Qt::AlignLeft | Qt::AlignTop,
                      Field(c, kFieldFirstName) + ' ' + Field(c, kFieldLastName));
    painter->setFont(Font(8, false, false));
    painter->drawText(QRectF(163, 44, 82, 30), Qt::AlignLeft | Qt::AlignTop,
                      Field(c, kFieldAddress1) + '\n' + Field(c, kFieldCity) + ' ' + Field(c, kFieldZipCode));
}

void DrawTurned(QPainter* painter, const FloorContact& c, Pictures& pictures)
{
    painter->drawImage(QRectF(10, 100, 34, 34), pictures("logo.png"));
    painter->setPen(Qt::NoPen);
    painter->setBrush(kOrange);
    painter->drawRect(QRectF(110, 40, 110, 3));
    painter->setPen(kBlue);
    painter->setFont(Font(14, true, false));
    painter->drawText(QRectF(113, 17, 104, 18), Qt::AlignLeft | Qt::AlignTop, Field(c, kFieldCompany));
    painter->setPen(Qt::black);
    painter->setFont(Font(11, true, false));
    painter->drawText(QRectF(113, 51, 104, 26), Qt::AlignLeft | Qt::AlignTop,
                      Field(c, kFieldFirstName) + ' ' + Field(c, kFieldLastName));
    painter->setFont(Font(12, false, false));
    for (const auto& [x, y, angle] : {std::tuple{6.0, 70.0, 30.0}, {224.0, 140.0, 90.0}, {50.0, 140.0, 45.0}})
        Turned(painter, x, y, angle, QRectF(3, 3, 104, 18), "Tel. " + Field(c, kFieldPhone1));
    Bars(painter, 150, 108, 62, 18, 45, "TS-0042");
}

// The front of the every-frame card: as tools/bench/every-frame.glabels.
void DrawEveryFront(QPainter* painter, const FloorContact& c, Pictures& pictures)
{
    painter->drawImage(QRectF(8, 8, 32, 32), pictures("every-200.png"));
    painter->drawImage(QRectF(44, 8, 40, 30), pictures("every-500.gif"));
    painter->drawImage(QRectF(8, 44, 40, 30), pictures("every-800.bmp"));
    painter->drawImage(QRectF(52, 44, 40, 30), pictures("every-1600.tif"));
    painter->drawImage(QRectF(96, 64, 54, 36), pictures("every-6000.jpg"));
    painter->setPen(Qt::NoPen);
    painter->setBrush(kOrange);
    painter->drawRect(QRectF(0, 0, 252, 4));
    painter->setBrush(Qt::cyan);
    painter->drawEllipse(QRectF(194, 64, 28, 28));
    painter->setPen(QPen(kBlue, 1));
    painter->drawLine(QPointF(156, 106), QPointF(224, 106));
    painter->setPen(kBlue);
    painter->setFont(Font(12, true, false, "DejaVu Serif"));
    painter->drawText(QRectF(100, 6, 150, 24), Qt::AlignLeft | Qt::AlignTop, Field(c, kFieldCompany));
    painter->setPen(Qt::black);
    painter->setFont(Font(10, true, false));
    painter->drawText(QRectF(100, 28, 146, 13), Qt::AlignLeft | Qt::AlignTop,
                      Field(c, kFieldFirstName) + ' ' + Field(c, kFieldLastName));
    painter->setPen(kGrey);
    painter->setFont(Font(8, false, true, "Liberation Serif"));
    painter->drawText(QRectF(100, 41, 146, 12), Qt::AlignLeft | Qt::AlignTop,
                      Field(c, kFieldCity) + ", " + Field(c, kFieldState) + ' ' + Field(c, kFieldZipCode));
    painter->setPen(Qt::black);
    painter->setFont(Font(9, false, false));
    for (const auto& [x, y, angle] : {std::tuple{4.0, 140.0, 30.0}, {228.0, 142.0, 90.0}, {100.0, 142.0, 45.0}})
        Turned(painter, x, y, angle, QRectF(0, 0, 100, 20), "Tel. " + Field(c, kFieldPhone1));
    Bars(painter, 160, 114, 66, 14, 45, "EV-0042");
    Bars(painter, 10, 78, 84, 12, 59, "4 006381 333931");
}

// Its back: display text as outlines, the other shapes, and the grid of
// barcodes (17 of them, one fed from the ZIP code).
void DrawEveryBack(QPainter* painter, const FloorContact& c)
{
    static const QPainterPath letters = [] {
        QPainterPath p;
        QFont f = Font(20, true, false);
        f.setPointSizeF(20);
        p.addText(0, 0, f, "EVERY FRAME");
        const QRectF r = p.boundingRect();
        QTransform t;
        t.translate(6, 4);
        t.scale(114 / r.width(), 30 / r.height());
        t.translate(-r.left(), -r.top());
        return t.map(p);
    }();
    painter->setPen(Qt::NoPen);
    painter->setBrush(kBlue);
    painter->drawPath(letters);
    QPolygonF star;
    for (int k = 0; k < 10; ++k) {
        const double angle = k * M_PI / 5 - M_PI / 2, r = k % 2 ? 7 : 15;
        star << QPointF(138 + r * std::cos(angle), 19 + r * std::sin(angle));
    }
    painter->setBrush(kOrange);
    painter->drawPolygon(star);
    painter->setBrush(Qt::yellow);
    painter->drawRoundedRect(QRectF(156, 6, 30, 26), 5, 5);
    painter->setPen(QPen(Qt::magenta, 2));
    painter->setBrush(Qt::NoBrush);
    painter->drawArc(QRectF(166, 6, 48, 52), 90 * 16, 90 * 16);
    painter->setPen(Qt::NoPen);
    painter->setBrush(Qt::darkGreen);
    painter->drawRect(QRectF(218, 6, 18, 18));
    painter->setBrush(Qt::red);
    painter->drawEllipse(QRectF(228, 14, 20, 20));
    for (int cell = 0; cell < 17; ++cell) {
        const double x = 4 + (cell % 6) * 41, y = 38 + (cell / 6) * 36;
        Bars(painter, x, y, 39, 12, 30, cell == 16 ? Field(c, kFieldZipCode) : QString::number(cell));
    }
}

}  // namespace

bool FloorKnows(const std::string& design)
{
    return design == "sample" || design == "turned-card" || design == "label-card" || design == "every-frame";
}

int DrawFloor(const std::vector<FloorContact>& contacts, long pages, const fs::path& output, const std::string& design,
              const fs::path& folder)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    int argc = 1;
    char name[] = "print_bench";
    char* argv[] = {name, nullptr};
    QGuiApplication app(argc, argv);
    const long count = long(contacts.size());
    const long sheets = (count + 9) / 10;
    const int sides = design == "every-frame" ? 2 : 1;
    const long pagesPerSheet = sheets > 0 ? std::max(long(sides), pages / sheets) : sides;
    QPdfWriter writer(QString::fromStdString(output.string()));
    writer.setResolution(600);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait, QMarginsF()));
    writer.setTitle("Business Card");
    writer.setCreator("print_bench");
    QPainter painter(&writer);
    painter.scale(600.0 / 72.0, 600.0 / 72.0);  // points
    Pictures pictures(folder);
    for (long sheet = 0; sheet < sheets; ++sheet) {
        for (long page = 0; page < pagesPerSheet; ++page) {
            if (sheet > 0 || page > 0)
                writer.newPage();
            if (page >= sides)
                continue;
            for (long slot = 0; slot < 10 && sheet * 10 + slot < count; ++slot) {
                const FloorContact& c = contacts[size_t(sheet * 10 + slot)];
                painter.save();
                painter.translate(54 + 252 * double(slot % 2), 36 + 144 * double(slot / 2));
                if (design == "turned-card")
                    DrawTurned(&painter, c, pictures);
                else if (design == "label-card")
                    DrawLabel(&painter, c, pictures);
                else if (design == "every-frame" && page == 0)
                    DrawEveryFront(&painter, c, pictures);
                else if (design == "every-frame")
                    DrawEveryBack(&painter, c);
                else
                    DrawSample(&painter, c);
                painter.restore();
            }
        }
    }
    return painter.end() ? 0 : 1;
}
