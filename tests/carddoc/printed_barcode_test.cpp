// Barcodes of narrow modules printed into a PDF file, the page rasterised at
// 600 dpi and every barcode of every card read back by zbar, and the edges
// of the straight ones measured finer still. A module of 0.35 points is less
// than three dots of the job: a bar or space put to the job's whole unit
// loses a third of its module, which a reader takes for another symbol.
#include <gtest/gtest.h>

#include <QImage>
#include <QPrinter>
#include <algorithm>
#include <cmath>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "barcode/barcode_record.h"
#include "card_test_support.h"
#include "carddoc/print_commands.h"
#include "carddoc/print_manager.h"
#include "foundation/byte_order.h"
#include "frames/frame_obj_barcode.h"
#include "platform/print_printer.h"
#include "records/label_stock_format.h"
#include "support/needed_tools.h"
#include "support/run_program.h"
#include "support/zbar_read.h"

namespace {

constexpr int kReadDpi = 600;
// A quarter of the card each: two across, two down.
constexpr int kSlotWidth = 126;
constexpr int kSlotHeight = 72;

struct Code {
    int16_t type;
    const char* data;
    const char* read;  // what zbar reports, check digits included
};

const Code kCodes[] = {{kBarcodeCode39, "T1", "T1"},
                       {kBarcodeCode128, "Ab1", "Ab1"},
                       {kBarcodeEan13, "400638133393", "4006381333931"},
                       {kBarcodeCodabar, "A12B", "A12B"}};

class PrintedBarcodes : public CardDocTest {
protected:
    // A card with the four codes, one to a quarter of the card, turned by
    // angle about their top-left corners, which stand so that the bars
    // stay within their quarter.
    std::unique_ptr<CLabelsDoc> CardOfCodes(double module, int16_t angle)
    {
        auto doc = NewCardDocument();
        EXPECT_NE(doc, nullptr);
        if (!doc)
            return doc;
        doc->InitialUpdate();
        const IntRect page = doc->PageGeometry().slots[0];
        for (int slot = 0; slot < 4; ++slot) {
            auto* frame = static_cast<FrameObjBarcode*>(doc->NewFrame(kFrameBarcode));
            EXPECT_NE(frame, nullptr);
            if (!frame)
                return nullptr;
            const int32_t x = page.left + (slot % 2) * kSlotWidth + 10;
            const int32_t y = page.top + (slot / 2) * kSlotHeight + (angle == 90 ? 66 : angle == 0 ? 8 : 16);
            frame->SetFromRect(IntRect{x, y, x + 60, y + 30});
            BarcodeRecord rec;
            BarcodeRecordRead(frame->Record(), &rec);
            PStrFromCStr(rec.data, kCodes[slot].data);
            rec.type = kCodes[slot].type;
            rec.barHeight = 48.0;
            rec.module = rec.space = rec.charGap = module;
            rec.addCheckDigit = rec.type == kBarcodeCode128;
            rec.showText = 0;
            uint8_t bytes[kBarcodeRecordSize];
            BarcodeRecordWrite(rec, bytes);
            frame->SetBarcodeRecord(bytes);
            frame->SetColour(kNoBackground, 2);
            frame->SetGeometryField(4, angle);
        }
        return doc;
    }

    // Prints one sheet of the card into a PDF, rasterises each card and
    // writes each quarter of it as a picture of its own; gives the
    // pictures with their code's index.
    std::map<std::string, int> PrintAndCut(CLabelsDoc& doc, const std::string& name)
    {
        const std::string pdf = docs_.file(name + ".pdf");
        SetPrintDialogRunner([&](QWidget*, PrintJobRecord* job) {
            job->printer = MakeJobPrinter(QString::fromStdString(pdf), QString());
            job->copies = 1;
            return 1;
        });
        EXPECT_EQ(doc.PrintDocument(nullptr), 0);
        SetPrintDialogRunner(nullptr);
        std::map<std::string, int> pictures;
        const int columns = GetI16LE(doc.LabelLayout() + kLabelTypeColumnsOffset);
        const int rows = GetI16LE(doc.LabelLayout() + kLabelTypeRowsOffset);
        for (int cell = 0; cell < columns * rows; ++cell) {
            IntRect r;
            doc.GetCellRect(&r, int16_t(cell % columns), int16_t(cell / columns));
            const std::string card = docs_.file(name + "-" + std::to_string(cell));
            const ProgramRun raster = RunProgramFor(
                "pdftoppm", {"-r", std::to_string(kReadDpi), "-gray", "-png", "-f", "1", "-l", "1", "-singlefile", "-x",
                             std::to_string(r.left * kReadDpi / 72), "-y", std::to_string(r.top * kReadDpi / 72), "-W",
                             std::to_string(2 * kSlotWidth * kReadDpi / 72), "-H",
                             std::to_string(2 * kSlotHeight * kReadDpi / 72), pdf, card});
            EXPECT_TRUE(raster.ok) << raster.failure;
            const QImage image(QString::fromStdString(card + ".png"));
            EXPECT_FALSE(image.isNull()) << card;
            for (int slot = 0; slot < 4 && !image.isNull(); ++slot) {
                const QRect area((slot % 2) * kSlotWidth * kReadDpi / 72, (slot / 2) * kSlotHeight * kReadDpi / 72,
                                 kSlotWidth * kReadDpi / 72, kSlotHeight * kReadDpi / 72);
                const std::string file = card + "-" + std::to_string(slot) + ".png";
                EXPECT_TRUE(image.copy(area).save(QString::fromStdString(file)));
                pictures[file] = slot;
            }
        }
        return pictures;
    }
};

// How far the edges of the bars along the middle of a straight code's
// quarter lie from the code's grid of modules (in modules), measured at
// 4800 dpi, where a dot is a few hundredths of a module: each edge is where
// the ink of the pixel it crosses puts it.
double WorstEdge(const std::string& pdf, const std::string& strip, const IntRect& cell, int slot, double module)
{
    constexpr int kFine = 4800;
    const int left = (cell.left + (slot % 2) * kSlotWidth) * kFine / 72;
    const int middle = (cell.top + (slot / 2) * kSlotHeight + 8 + 24) * kFine / 72;
    const ProgramRun raster =
        RunProgramFor("pdftoppm", {"-r", std::to_string(kFine), "-gray", "-f", "1", "-l", "1", "-singlefile", "-x",
                                   std::to_string(left), "-y", std::to_string(middle), "-W",
                                   std::to_string(kSlotWidth * kFine / 72), "-H", "1", pdf, strip});
    EXPECT_TRUE(raster.ok) << raster.failure;
    const QImage row = QImage(QString::fromStdString(strip + ".pgm")).convertToFormat(QImage::Format_Grayscale8);
    if (row.isNull())
        return 1.0;
    std::vector<double> edges;
    const double dots = module * kFine / 72;
    double previous = 0.0;
    for (int x = 0; x < row.width(); ++x) {
        const double ink = 1.0 - row.constScanLine(0)[x] / 255.0;
        if ((ink > 0.0) != (previous > 0.0))
            edges.push_back(ink > 0.0 ? x + 1.0 - ink : x - 1.0 + previous);
        previous = ink;
    }
    if (edges.size() < 4)
        return 1.0;
    double worst = 0.0;
    for (const double edge : edges) {
        const double modules = (edge - edges.front()) / dots;
        worst = std::max(worst, std::fabs(modules - std::round(modules)));
    }
    return worst;
}

TEST_F(PrintedBarcodes, NarrowModulesReadBackFromEveryCardStraightAndTurned)
{
    if (!HaveTool("pdftoppm") || !HaveTool("zbarimg"))
        SKIP_FOR_MISSING_TOOL() << "pdftoppm and zbarimg read the printed bars back";
    for (const int16_t angle : {0, 15, 90}) {
        auto doc = CardOfCodes(0.35, angle);
        ASSERT_NE(doc, nullptr);
        const std::map<std::string, int> pictures = PrintAndCut(*doc, "turned" + std::to_string(angle));
        ASSERT_FALSE(pictures.empty());
        std::vector<std::string> files;
        for (const auto& [file, slot] : pictures)
            files.push_back(file);
        auto found = ZbarRead({"-Scodabar.enable=1", "-Si25.disable"}, files);
        for (const auto& [file, slot] : pictures)
            EXPECT_EQ(found[file], std::vector<std::string>{kCodes[slot].read})
                << "angle " << angle << ", type " << kCodes[slot].type << ": " << file;
        if (angle != 0)
            continue;
        // Every edge where the symbology puts it, on cards that start at
        // different fractions of a dot.
        for (const int16_t column : {0, 1}) {
            IntRect cell;
            doc->GetCellRect(&cell, column, 0);
            for (int slot = 0; slot < 4; ++slot) {
                const std::string strip = docs_.file("strip-" + std::to_string(column) + std::to_string(slot));
                EXPECT_LT(WorstEdge(docs_.file("turned0.pdf"), strip, cell, slot, 0.35), 0.1)
                    << "type " << kCodes[slot].type << " on card " << column;
            }
        }
    }
}

// A turned bar sits at exact, fractional places; the points of its outline
// go into the page to hundredths of the job's unit (far below a printer's
// dot), not with the nine digits the PDF engine writes, which doubled the
// page's size for a sheet of barcodes.
TEST_F(PrintedBarcodes, TurnedBarsWriteTheirPointsToHundredths)
{
    if (!HaveTool("qpdf"))
        SKIP_FOR_MISSING_TOOL() << "qpdf opens the page's content";
    auto doc = CardOfCodes(0.35, 15);
    ASSERT_NE(doc, nullptr);
    const std::string pdf = docs_.file("points.pdf"), open = docs_.file("points-open.pdf");
    SetPrintDialogRunner([&](QWidget*, PrintJobRecord* job) {
        job->printer = MakeJobPrinter(QString::fromStdString(pdf), QString());
        job->copies = 1;
        return 1;
    });
    ASSERT_EQ(doc->PrintDocument(nullptr), 0);
    SetPrintDialogRunner(nullptr);
    const ProgramRun opened = RunProgramFor("qpdf", {"--stream-data=uncompress", pdf, open});
    ASSERT_TRUE(opened.ok) << opened.failure;
    std::ifstream in(open, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    const std::string content = text.str();
    const std::regex point(R"((^|\n)(-?\d+(\.\d+)? ){2}[ml]\n)"), fine(R"(\.\d{3})");
    int points = 0, fractional = 0, finer = 0;
    std::string first;
    for (auto it = std::sregex_iterator(content.begin(), content.end(), point); it != std::sregex_iterator(); ++it) {
        const std::string line = it->str();
        ++points;
        fractional += line.find('.') != std::string::npos;
        if (std::regex_search(line, fine) && finer++ == 0)
            first = line;
    }
    EXPECT_EQ(finer, 0) << "such as " << first;
    // The turned bars are there, most of them between whole units.
    EXPECT_GT(points, 200);
    EXPECT_GT(fractional, points / 2);
}

}  // namespace
