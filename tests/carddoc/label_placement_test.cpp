// Where the cards land on the sheet. Each stock's card is a frame of four
// coloured strips that run past the card's edges, so that what is printed
// of them ends where the card is clipped: on the label's edges. The sheet is
// printed as print-pdf, print-ps and the Print dialog's PDF file write it,
// rasterised at 600 dpi, and every edge of every label is measured against
// the stock's published dimensions.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QImageReader>
#include <QLineEdit>
#include <QComboBox>
#include <QProcess>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "card_test_support.h"
#include "carddoc/print_manager.h"
#include "catalog/doc_setup_format.h"
#include "dialogs/print_dialog.h"
#include "foundation/paper_table.h"
#include "foundation/units.h"
#include "records/label_stock.h"
#include "support/needed_tools.h"

namespace {

constexpr double kDpi = 600;
constexpr double kPixelsPerMm = kDpi / 25.4;
constexpr double kPixelsPerPoint = kDpi / 72.0;
// Strips a few points wide; what shows of them is the card's clip.
constexpr int32_t kStrip = 3;
constexpr int32_t kOverhang = 30;

// Colours of a new document's colour table.
constexpr uint8_t kRed = 3, kBlue = 6, kGreen = 9, kYellow = 1;

// A sheet as its maker publishes it: lengths in the unit typed (inches or
// centimetres), the paper an entry of the paper table.
struct Stock {
    const char* name;
    int16_t unit;
    double width, height, top, left, rowGap, columnGap;
    int16_t columns, rows;
    int32_t paper;
    int32_t orientation;  // 1 portrait, 2 landscape
    const char* shipped;  // the shipped sheet of this name, when it is one
};

const Stock kStocks[] = {
    {"Letter 3x10 address labels", kUnitInches, 2.625, 1, 0.5, 0.1875, 0, 0.125, 3, 10, kPaperEntryLetter, 1,
     nullptr},
    {"Letter 2x5 business cards", kUnitInches, 3.5, 2, 0.5, 0.75, 0, 0, 2, 5, kPaperEntryLetter, 1, nullptr},
    {"A4 3x8 70x37 mm in cm", kUnitCentimeters, 7, 3.7, 0.05, 0, 0, 0, 3, 8, kPaperEntryA4, 1, nullptr},
    {"A4 2x7 99.1x38.1 mm shipped", kUnitCentimeters, 9.91, 3.81, 1.515, 0.465, 0, 0.25, 2, 7, kPaperEntryA4, 1,
     "Address labels 2\xD7" "7, 99.1\xD7" "38.1 mm, A4"},
    {"A4 2x4 90x55 mm uneven margins", kUnitCentimeters, 9, 5.5, 2.15, 1.2, 0.2, 0.5, 2, 4, kPaperEntryA4, 1,
     nullptr},
    // Return address labels 4x15 of 1.75 x 2/3 in.
    {"Letter 4x15 return address", kUnitInches, 1.75, 2.0 / 3.0, 0.5, 0.3, 0, 0.3, 4, 15, kPaperEntryLetter, 1,
     nullptr},
    // Mini labels 5x13 of 38.1 x 21.2 mm.
    {"A4 5x13 38.1x21.2 mm", kUnitCentimeters, 3.81, 2.12, 1.07, 0.475, 0, 0.25, 5, 13, kPaperEntryA4, 1, nullptr},
    // A5 halves of a landscape A4 sheet.
    {"A4 landscape 2x1 A5 halves", kUnitCentimeters, 14.85, 21, 0, 0, 0, 0, 2, 1, kPaperEntryA4, 2, nullptr},
};

double Millimetres(const Stock& s, double v)
{
    return v * (s.unit == kUnitInches ? 25.4 : 10.0);
}

// The layout as a person types it into the label dialogs.
LabelTypeRecord Typed(const Stock& s)
{
    LabelTypeRecord r;
    GetBuiltinLabelType(&r, 0);
    const double f = UnitFactorPoints(s.unit);
    r.unit = s.unit;
    r.cardWidth = s.width * f;
    r.cardHeight = s.height * f;
    r.topMargin = s.top * f;
    r.leftMargin = s.left * f;
    r.verticalSpacing = s.rowGap * f;
    r.horizontalSpacing = s.columnGap * f;
    r.columns = s.columns;
    r.rows = s.rows;
    r.sides = 1;
    r.paper = s.paper;
    r.orientation = s.orientation;
    return r;
}

bool Shipped(const char* name, LabelTypeRecord* out)
{
    const std::string bytes = ReadFileBytes(std::string(TESSALINE_SOURCE_DATA_DIR) + "/Tessaline.dat");
    for (size_t at = 0; at + kLabelTypeSize <= bytes.size(); at += kLabelTypeSize) {
        LabelTypeDecode(reinterpret_cast<const uint8_t*>(bytes.data()) + at, out);
        if (LabelTypeName(*out) == name)
            return true;
    }
    return false;
}

bool Run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    return process.waitForFinished(120000) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

bool HaveRasterisers()
{
    return Run(QStringLiteral("sh"), {QStringLiteral("-c"), QStringLiteral("command -v pdftoppm && command -v gs")});
}

// A page at 600 dpi is a 100 MB file: it is read and gone at once, so that
// the suites running beside this one keep their room on the disk.
QImage ReadAndRemove(const std::string& path)
{
    QImage page(QString::fromStdString(path));
    std::remove(path.c_str());
    return page;
}

QImage RasterisePdf(const std::string& pdf, const std::string& prefix)
{
    Run(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QString::number(kDpi), QStringLiteral("-singlefile"),
                                     QString::fromStdString(pdf),
                                     QString::fromStdString(prefix)});
    return ReadAndRemove(prefix + ".ppm");
}

QImage RasterisePostScript(const std::string& ps, const std::string& out)
{
    Run(QStringLiteral("gs"), {QStringLiteral("-q"), QStringLiteral("-dNOPAUSE"), QStringLiteral("-dBATCH"),
                               QStringLiteral("-dSAFER"), QStringLiteral("-sDEVICE=ppmraw"),
                               QStringLiteral("-r") + QString::number(kDpi), QStringLiteral("-dGraphicsAlphaBits=4"),
                               QStringLiteral("-sOutputFile=") + QString::fromStdString(out),
                               QString::fromStdString(ps)});
    return ReadAndRemove(out);
}

enum class Ink { Red, Blue, Green, Yellow };

// How much of a pixel the ink covers, where it meets white paper or the
// strip of the next label: the page is rasterised smooth, so that an edge
// between two pixels is found to a fraction of one.
double Coverage(QRgb p, Ink ink)
{
    const double r = qRed(p) / 255.0, g = qGreen(p) / 255.0, b = qBlue(p) / 255.0;
    switch (ink) {
    case Ink::Red: return r - g;
    case Ink::Blue: return b - g;
    case Ink::Green: return g > r + 0.1 ? 1 - r : 0;  // the green is (0, 160, 0)
    case Ink::Yellow: return r - b;
    }
    return 0;
}

// Where the ink starts and ends along a line, within [from, to), in
// fractions of pixels; false when there is none.
bool Span(const QImage& image, bool across, int line, int from, int to, Ink ink, double* start, double* end)
{
    constexpr double kTrace = 0.02;
    int first = -1, last = -1;
    for (int i = std::max(from, 0); i < to; ++i) {
        const int x = across ? i : line, y = across ? line : i;
        if (!image.valid(x, y) || Coverage(image.pixel(x, y), ink) <= kTrace)
            continue;
        if (first < 0)
            first = i;
        last = i;
    }
    if (first < 0)
        return false;
    auto at = [&](int i) { return Coverage(image.pixel(across ? i : line, across ? line : i), ink); };
    *start = first + 1 - std::clamp(at(first), 0.0, 1.0);
    *end = last + std::clamp(at(last), 0.0, 1.0);
    return true;
}

struct Errors {
    double largest = 0;
    double sum = 0;
    int count = 0;
    void Add(double mm)
    {
        largest = std::max(largest, std::abs(mm));
        sum += std::abs(mm);
        ++count;
    }
    double Mean() const { return count ? sum / count : 0; }
};

// Every label edge of the sheet against the published place (outer), and
// the strips' inner edges against where the card's own frames put them.
void Measure(const QImage& page, const Stock& s, const LabelTypeRecord& layout, Errors* edges, Errors* content)
{
    const double w = Millimetres(s, s.width) * kPixelsPerMm, h = Millimetres(s, s.height) * kPixelsPerMm;
    const double strip = kStrip * kPixelsPerPoint;
    const double farStripX = (std::trunc(layout.cardWidth) - kStrip) * kPixelsPerPoint;
    const double farStripY = (std::trunc(layout.cardHeight) - kStrip) * kPixelsPerPoint;
    const int reach = int(strip) + 40;
    for (int row = 0; row < s.rows; ++row) {
        for (int column = 0; column < s.columns; ++column) {
            SCOPED_TRACE("column " + std::to_string(column) + ", row " + std::to_string(row));
            const double left = Millimetres(s, s.left + column * (s.width + s.columnGap)) * kPixelsPerMm;
            const double top = Millimetres(s, s.top + row * (s.height + s.rowGap)) * kPixelsPerMm;
            const int midY = int(top + h / 2), midX = int(left + w / 2);
            double red[2], blue[2], green[2], yellow[2];
            if (!Span(page, true, midY, int(left) - 40, int(left) + reach, Ink::Red, &red[0], &red[1]) ||
                !Span(page, true, midY, int(left + w) - reach, int(left + w) + 40, Ink::Blue, &blue[0], &blue[1]) ||
                !Span(page, false, midX, int(top) - 40, int(top) + reach, Ink::Green, &green[0], &green[1]) ||
                !Span(page, false, midX, int(top + h) - reach, int(top + h) + 40, Ink::Yellow, &yellow[0],
                      &yellow[1])) {
                ADD_FAILURE() << "an edge of the label is not printed";
                edges->Add(99);
                continue;
            }
            edges->Add((red[0] - left) / kPixelsPerMm);
            edges->Add((blue[1] - (left + w)) / kPixelsPerMm);
            edges->Add((green[0] - top) / kPixelsPerMm);
            edges->Add((yellow[1] - (top + h)) / kPixelsPerMm);
            content->Add((red[1] - (left + strip)) / kPixelsPerMm);
            content->Add((blue[0] - (left + farStripX)) / kPixelsPerMm);
            content->Add((green[1] - (top + strip)) / kPixelsPerMm);
            content->Add((yellow[0] - (top + farStripY)) / kPixelsPerMm);
        }
    }
}

class LabelPlacement : public CardDocTest {
protected:
    // The stock's card: four strips along its edges, running past them.
    std::unique_ptr<CLabelsDoc> Card(const LabelTypeRecord& layout)
    {
        std::vector<uint8_t> setup(kDocSetupSize, 0);
        LabelTypeEncode(layout, setup.data() + kDocSetupLabelType);
        auto doc = NewCardDocument(setup.data());
        if (!doc)
            return doc;
        doc->InitialUpdate();
        const IntRect page = doc->PageGeometry().slots[0];
        const int32_t w = page.right - page.left, h = page.bottom - page.top;
        auto strip = [&](uint8_t colour, int32_t l, int32_t t, int32_t r, int32_t b) {
            FrameObj* f = doc->NewFrame(kFrameRect);
            f->SetFromRect(IntRect{page.left + l, page.top + t, page.left + r, page.top + b});
            f->SetColour(colour, 1);
            f->SetColour(colour, 2);
            f->SetColour(colour, 0);
            f->SetBorderWidth(0);
        };
        strip(kGreen, -kOverhang, -kOverhang, w + kOverhang, kStrip);
        strip(kYellow, -kOverhang, h - kStrip, w + kOverhang, h + kOverhang);
        strip(kRed, -kOverhang, -kOverhang, kStrip, h + kOverhang);
        strip(kBlue, w - kStrip, -kOverhang, w + kOverhang, h + kOverhang);
        return doc;
    }

    // The Print dialog, answered as a person does: the PDF entry and a file.
    void PrintThroughDialog(CLabelsDoc& doc, const std::string& pdf)
    {
        SetPrintDialogRunner(nullptr);
        QTimer answer;
        answer.setInterval(20);
        QObject::connect(&answer, &QTimer::timeout, [&] {
            auto* print = dynamic_cast<CDlgPrint*>(QApplication::activeModalWidget());
            if (!print)
                return;
            print->PrinterList()->setCurrentIndex(print->PdfEntry());
            print->FileEdit()->setText(QString::fromStdString(pdf));
            print->accept();
        });
        answer.start();
        doc.PrintDocument(nullptr);
        answer.stop();
    }
};

TEST_F(LabelPlacement, EveryEdgeOfEveryLabelLandsOnTheStockOnItsPaper)
{
    if (!HaveRasterisers())
        SKIP_FOR_MISSING_TOOL() << "pdftoppm and gs are needed";
    // A Letter page at 600 dpi is more than Qt reads by default.
    const int allocationLimit = QImageReader::allocationLimit();
    QImageReader::setAllocationLimit(512);
    for (const Stock& s : kStocks) {
        SCOPED_TRACE(s.name);
        LabelTypeRecord layout = Typed(s);
        if (s.shipped) {
            ASSERT_TRUE(Shipped(s.shipped, &layout));
            EXPECT_EQ(layout.paper, kPaperEntryA4);
        }
        const bool landscape = s.orientation == 2;
        const double paperW = s.paper == kPaperEntryA4 ? 210 : 215.9, paperH = s.paper == kPaperEntryA4 ? 297 : 279.4;
        const QSize paper(int(std::lround((landscape ? paperH : paperW) * kPixelsPerMm)),
                          int(std::lround((landscape ? paperW : paperH) * kPixelsPerMm)));

        const std::string dialogPdf = docs_.file("dialog.pdf"), card = docs_.file("card.lqx");
        {
            auto doc = Card(layout);
            ASSERT_NE(doc, nullptr);
            PrintThroughDialog(*doc, dialogPdf);
            const PathRecord path = DocPath("card.lqx");
            ASSERT_TRUE(doc->DoSave(&path));
        }
        ASSERT_EQ(Shell(docs_, "\"$T\" print-pdf card.lqx tool.pdf >/dev/null && "
                               "\"$T\" print-ps card.lqx tool.ps >/dev/null"),
                  0);
        const struct {
            const char* how;
            QImage page;
        } prints[] = {
            {"print-pdf", RasterisePdf(docs_.file("tool.pdf"), docs_.file("tool-pdf"))},
            {"print-ps", RasterisePostScript(docs_.file("tool.ps"), docs_.file("tool-ps.ppm"))},
            {"Print dialog", RasterisePdf(dialogPdf, docs_.file("dialog-pdf"))},
        };
        for (const auto& p : prints) {
            SCOPED_TRACE(p.how);
            ASSERT_FALSE(p.page.isNull());
            EXPECT_LE(std::abs(p.page.width() - paper.width()), 1) << "the stock's paper";
            EXPECT_LE(std::abs(p.page.height() - paper.height()), 1) << "the stock's paper";
            Errors edges, content;
            Measure(p.page, s, layout, &edges, &content);
            std::printf("%-34s %-13s edges max %.3f mean %.3f mm; content max %.3f mm\n", s.name, p.how,
                        edges.largest, edges.Mean(), content.largest);
            EXPECT_LE(edges.largest, 0.05);
            // The card's own frames sit on whole device units of their own.
            EXPECT_LE(content.largest, 0.1);
        }
        std::remove(dialogPdf.c_str());
    }
    QImageReader::setAllocationLimit(allocationLimit);
}

}  // namespace
