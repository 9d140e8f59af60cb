// Printing a sheet of labels from the window into a print queue, as a
// person does: File > Print, the queue chosen in the Print dialog. The
// queues are a print scheduler's of the test's own that make PDF files as a
// cups-pdf queue does, one printing to the paper's edges and two that
// leave a margin on every side (18 points, and 12.5). Each label's corner on the paper is read
// from the PDF the queue made and measured against the stock. Another
// queue than the default one, chosen in the Print dialog, prints on its
// own paper.
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QLabel>
#include <QSpinBox>
#include <QTest>
#include <QToolButton>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <regex>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "app/main_frame.h"
#include "app/tool_bar_draw_tools.h"
#include "dialogs/frame_info_dialog.h"
#include "dialogs/label_type_dlg.h"
#include "dialogs/numeric_edit.h"
#include "dialogs/object_info_dialog.h"
#include "dialogs/print_dialog.h"
#include "dialogs/style_list_box.h"
#include "foundation/byte_order.h"
#include "journey_fixture.h"
#include "legal_sheet.h"
#include "records/label_stock_format.h"
#include "carddoc/labels_doc.h"
#include "frames/curr_page_mng.h"
#include "frames/frame_obj.h"
#include "support/cups_scheduler.h"
#include "support/needed_tools.h"
#include "support/run_program.h"

namespace {

constexpr double kDpi = 600;
constexpr double kPixelsPerMm = kDpi / 25.4;
constexpr double kPixelsPerPoint = kDpi / 72;
constexpr double kTolerance = 0.04;  // mm
constexpr double kQueueMargin = 18;  // points
constexpr double kOddMargin = 12.5;

// A4 3x8: labels of 70 x 37 mm, 0.5 mm from the top and none from the
// sides, no gaps: the labels of the outer columns reach the paper's edges.
constexpr double kWidthMm = 70, kHeightMm = 37, kTopMm = 0.5;
constexpr int kColumns = 3, kRows = 8;
constexpr double kPaperWidthMm = 210, kPaperHeightMm = 297;
// The size the queues' description (cups-pdf's) names A4, in points.
constexpr double kNamedWidth = 595, kNamedHeight = 842;

// The box drawn on the card: from its corner, its solid border 2 points
// wide, its far sides 6 points inside the card's, so that each label's
// box stands clear of its neighbours'.
constexpr int kBoxInset = 6;

double ToMm(double pixels) { return pixels / kPixelsPerMm; }

// How much of a pixel is ink, 0 to 1.
double InkAt(const QImage& page, int x, int y)
{
    return page.valid(x, y) ? 1.0 - qGray(page.pixel(x, y)) / 255.0 : 0;
}

// Where the first ink lies along a line within [from, to) (pixels, in
// fractions of one where the edge falls inside a pixel); -1 for none.
double FirstInk(const QImage& page, bool across, int line, double from, double to)
{
    for (int i = std::max(int(from), 0); i < int(to); ++i) {
        const double ink = across ? InkAt(page, i, line) : InkAt(page, line, i);
        if (ink > 0.05)
            return i + 1 - std::min(ink * 1.02, 1.0);
    }
    return -1;
}

bool InkWithin(const QImage& page, bool across, int line, double from, double to)
{
    return FirstInk(page, across, line, from, to) >= 0;
}

struct Sheet {
    double worst = 0;     // the largest error of a corner, mm
    int measured = 0;     // corners measured
    int missing = 0;      // sides of boxes not printed
};

class PrintQueueJourney : public JourneyTest {
protected:
    // File > New > Label...: the stock typed into the Label Type dialog.
    void NewStock()
    {
        const CLabelsDoc* card = NewLabelSheet([](CDlgLabelType* type) {
            type->NameEdit()->setText("A4 3x8 70x37 mm");
            type->UnitsCombo()->setCurrentIndex(2);  // centimetres
            type->WidthEdit()->setValue(kWidthMm / 10);
            type->HeightEdit()->setValue(kHeightMm / 10);
            type->TopEdit()->setValue(kTopMm / 10);
            type->LeftEdit()->setValue(0);
            type->HorizontalEdit()->setValue(0);
            type->VerticalEdit()->setValue(0);
            type->AcrossEdit()->setValue(kColumns);
            type->DownEdit()->setValue(kRows);
            type->PaperCombo()->setCurrentIndex(type->PaperCombo()->findText("A4", Qt::MatchStartsWith));
            type->OrientationButton(1)->click();
        });
        ASSERT_NE(card, nullptr) << alerts.lastText();
    }

    // A rectangle drawn on the card, put at its corner with its size
    // through Object Info and given a solid border through Frame Info.
    void BoxFromTheCorner(int width, int height)
    {
        ASSERT_TRUE(DrawRectangleFromTheCorner(CardPoint(30, 20), CardPoint(60, 40)));
        SizeSelectedFrameInPoints(width, height);
        OnNextDialog([](QWidget* dialog) {
            auto* frame = dynamic_cast<CDlgFrameInfo*>(dialog);
            ASSERT_NE(frame, nullptr);
            frame->Styles()->setCurrentRow(1);  // two thin lines, 2 points in all
            frame->accept();
        });
        ASSERT_TRUE(Trigger("Object > Frame Info..."));
    }

    // The same, drawn at 600 dpi in grey.
    QImage PrintInto(CupsScheduler& scheduler, const std::string& queue)
    {
        const std::string pdf = SpoolInto(scheduler, queue);
        if (pdf.empty())
            return {};
        const std::string prefix = TempFile(queue);
        const ProgramRun run = RunProgramFor("pdftoppm", {"-r", "600", "-gray", "-singlefile", pdf, prefix});
        EXPECT_TRUE(run.ok) << run.failure;
        const QString pgm = QString::fromStdString(prefix + ".pgm");
        const QImage page = QImage(pgm).convertToFormat(QImage::Format_Grayscale8);
        QFile::remove(pgm);
        return page;
    }

    // Every label's box: its corner against the stock's (where the paper
    // holds it in the printable area, whose edges are `margin` points in),
    // and whether each of its four sides printed.
    static Sheet Measure(const QImage& page, double margin, int boxWidth, int boxHeight)
    {
        Sheet sheet;
        const double edge = margin * kPixelsPerPoint;
        const double right = page.width() - edge, bottom = page.height() - edge;
        for (int row = 0; row < kRows; ++row) {
            for (int column = 0; column < kColumns; ++column) {
                const double left = column * kWidthMm * kPixelsPerMm;
                const double top = (kTopMm + row * kHeightMm) * kPixelsPerMm;
                const int midX = int(left + boxWidth / 2 * kPixelsPerPoint);
                const int midY = int(top + boxHeight / 2 * kPixelsPerPoint);
                const double farX = left + (boxWidth - 1) * kPixelsPerPoint;
                const double farY = top + (boxHeight - 1) * kPixelsPerPoint;
                const double reach = 2 * kPixelsPerPoint;
                const auto corner = [&](bool across, int line, double at) {
                    // Only a side the printable area holds whole.
                    if (at < edge || at + reach > (across ? right : bottom))
                        return;
                    const double found = FirstInk(page, across, line, at - 15, at + reach + 15);
                    ++sheet.measured;
                    if (found < 0) {
                        ++sheet.missing;
                        return;
                    }
                    sheet.worst = std::max(sheet.worst, std::abs(ToMm(found - at)));
                };
                corner(true, midY, left);
                corner(false, midX, top);
                // The far sides: printed wherever the printable area holds
                // them.
                for (const auto& [across, line, at] : {std::tuple{true, midY, farX}, {false, midX, farY}}) {
                    if (at - reach < edge || at + reach > (across ? right : bottom))
                        continue;
                    if (!InkWithin(page, across, line, at - reach, at + reach))
                        ++sheet.missing;
                }
            }
        }
        return sheet;
    }

    // Ink in the strips the queue can't print on: the left and bottom ones
    // `margin` wide; the right and top ones end where the description's
    // sheet (A4 named 595 x 842 points) puts the printable area's far edges.
    static int InkInMargins(const QImage& page, double margin)
    {
        const double width = kPaperWidthMm / 25.4 * 72, height = kPaperHeightMm / 25.4 * 72;
        const auto strip = [](double points) { return int(std::floor(points * kPixelsPerPoint)) - 1; };
        const int left = strip(margin), bottom = strip(margin);
        const int right = strip(width - (kNamedWidth - margin)), top = strip(height - (kNamedHeight - margin));
        int inked = 0;
        for (int y = 0; y < page.height(); ++y) {
            const uchar* line = page.constScanLine(y);
            const bool band = y < top || y >= page.height() - bottom;
            for (int x = 0; x < page.width(); ++x)
                if ((band || x < left || x >= page.width() - right) && line[x] < 192)
                    ++inked;
        }
        return inked;
    }
};

TEST_F(PrintQueueJourney, EveryLabelLandsOnItsPlaceAndOnlyWhatTheQueueCannotPrintIsLeftOut)
{
    if (!CupsScheduler::Missing().empty())
        SKIP_FOR_MISSING_TOOL() << "the print scheduler needs" << CupsScheduler::Missing();
    if (!HaveTool("pdftoppm"))
        SKIP_FOR_MISSING_TOOL() << "pdftoppm is needed";
    CupsScheduler scheduler({{"Edge", 0}, {"Margins", kQueueMargin}, {"Odd", kOddMargin}});
    ASSERT_TRUE(scheduler.ok()) << scheduler.why();

    ASSERT_NO_FATAL_FAILURE(NewStock());
    const int boxWidth = int(kWidthMm / 25.4 * 72) - kBoxInset;
    const int boxHeight = int(kHeightMm / 25.4 * 72) - kBoxInset;
    ASSERT_NO_FATAL_FAILURE(BoxFromTheCorner(boxWidth, boxHeight));
    // The box stands at the card's corner (checked, not changed, here).
    {
        CurrPageMng* pages = CardDocument()->PageManager();
        ASSERT_EQ(pages->FrameCount(), 1);
        IntRect box;
        pages->FrameAt(0)->GetBounds(&box, 0);
        const IntRect slot = CardDocument()->PageGeometry().slots[0];
        ASSERT_EQ(box.left, slot.left);
        ASSERT_EQ(box.top, slot.top);
    }
    const int allocationLimit = QImageReader::allocationLimit();
    QImageReader::setAllocationLimit(512);

    // To the paper's edges: every label whole, every corner in its place.
    {
        const QImage page = PrintInto(scheduler, "Edge");
        ASSERT_FALSE(page.isNull());
        EXPECT_NEAR(ToMm(page.width()), kPaperWidthMm, 0.5);
        EXPECT_NEAR(ToMm(page.height()), kPaperHeightMm, 0.5);
        const Sheet sheet = Measure(page, 0, boxWidth, boxHeight);
        std::printf("edge to edge: %d corners, worst %.3f mm, %d sides missing\n", sheet.measured, sheet.worst,
                    sheet.missing);
        EXPECT_EQ(sheet.measured, 2 * kColumns * kRows);
        EXPECT_EQ(sheet.missing, 0) << "labels were cut";
        EXPECT_LE(sheet.worst, kTolerance);
    }
    // Margins: those strips blank, the rest as before. 18 points are a
    // whole number of the job's pixels; 12.5 points are neither whole
    // points nor whole pixels.
    for (const auto& [queue, margin] : {std::pair{"Margins", kQueueMargin}, {"Odd", kOddMargin}}) {
        SCOPED_TRACE(queue);
        const QImage page = PrintInto(scheduler, queue);
        ASSERT_FALSE(page.isNull());
        const Sheet sheet = Measure(page, margin, boxWidth, boxHeight);
        std::printf("%s (%.1f pt margins): %d corners, worst %.3f mm, %d sides missing\n", queue, margin,
                    sheet.measured, sheet.worst, sheet.missing);
        EXPECT_GE(sheet.measured, 30);
        EXPECT_EQ(sheet.missing, 0) << "more than the margins was left out";
        EXPECT_LE(sheet.worst, kTolerance);
        EXPECT_EQ(InkInMargins(page, margin), 0) << "the queue's margins were printed on";
        // A side that crosses into a margin stops at its edge, not at a
        // whole point past it: the second row's top (its outer line), from
        // the paper's left.
        const int line = int((kTopMm + kHeightMm) * kPixelsPerMm) + 1;
        const double start = ToMm(FirstInk(page, true, line, 0, 200 * kPixelsPerPoint));
        EXPECT_GE(start, margin * 25.4 / 72 - kTolerance);
        EXPECT_LE(start, margin * 25.4 / 72 + kTolerance);
    }
    QImageReader::setAllocationLimit(allocationLimit);
}

// Another queue than the default one chosen in the Print dialog: the card
// prints on that queue's own paper, unless its sheet fixes one, and that
// queue is the program's printer from then on.
TEST_F(PrintQueueJourney, AQueueChosenInThePrintDialogPrintsOnItsOwnPaper)
{
    if (!CupsScheduler::Missing().empty())
        SKIP_FOR_MISSING_TOOL() << "the print scheduler needs" << CupsScheduler::Missing();
    if (!HaveTool("pdfinfo"))
        SKIP_FOR_MISSING_TOOL() << "pdfinfo is needed";
    CupsScheduler scheduler({{"PDF", 0, "", true}, {"Letter", 0, "Letter"}});
    ASSERT_TRUE(scheduler.ok()) << scheduler.why();
    const auto pageSize = [](const std::string& pdf) {
        const ProgramRun run = RunProgramFor("pdfinfo", {pdf});
        std::smatch size;
        return std::regex_search(run.out, size, std::regex("Page size: +([0-9.]+ x [0-9.]+) pts")) ? size[1].str()
                                                                                                   : run.out;
    };

    // The sample card, whose layout takes any paper.
    ASSERT_NE(OpenThroughMenu(CopySample("Business Card.lqx")), nullptr) << alerts.lastText();
    ASSERT_EQ(GetU32LE(CardDocument()->LabelLayout() + kLabelTypePaperOffset), 0u);
    EXPECT_EQ(pageSize(SpoolInto(scheduler, "Letter")), "612 x 792") << "not the Letter queue's paper";

    // Page Setup shows that queue and its paper.
    QString paper;
    bool named = false;
    OnNextDialog([&paper, &named](QWidget* dialog) {
        if (auto* combo = dialog->findChild<QComboBox*>("pageSizeCombo"))
            paper = combo->currentText();
        for (const QLabel* label : dialog->findChildren<QLabel*>())
            named = named || label->text() == "Letter";
        Reject()(dialog);
    });
    ASSERT_TRUE(Trigger("File > Page Setup..."));
    EXPECT_TRUE(paper.contains("Letter")) << paper.toStdString();
    EXPECT_TRUE(named) << "Page Setup does not name the Letter queue";

    // A sheet whose layout fixes its paper keeps it on that queue.
    OnNextDialog(TypeTheLegalSheetInto("Legal"));
    ASSERT_TRUE(Trigger("File > Document Setup..."));
    EXPECT_EQ(pageSize(SpoolInto(scheduler, "Letter")), "612 x 1008") << "not the sheet's Legal";

#ifdef TESSALINE_PROGRAM_PATH
    // The same queue named on the command line, to a program just started.
    const ProgramRun run =
        RunProgramFor(TESSALINE_PROGRAM_PATH, {"/pt", CopySample("Business Card.lqx", "by-name.lqx"), "Letter"}, 60);
    ASSERT_TRUE(run.ok) << run.failure;
    EXPECT_EQ(pageSize(scheduler.NextOutput("Letter")), "612 x 792") << "/pt: not the Letter queue's paper";
#endif
}

// The next Print dialog offers the queue the last job went to, the first
// listed as any other; once that queue is removed, the default queue, as
// the job would use, not the first by name.
TEST_F(PrintQueueJourney, APrintDialogAfterItsQueueWentOffersTheDefaultQueue)
{
    if (!CupsScheduler::Missing().empty())
        SKIP_FOR_MISSING_TOOL() << "the print scheduler needs" << CupsScheduler::Missing();
    CupsScheduler scheduler({{"Annex", 0}, {"Office", 0, "", true}, {"Studio", 0}});
    ASSERT_TRUE(scheduler.ok()) << scheduler.why();
    ASSERT_NE(OpenThroughMenu(CopySample("Business Card.lqx")), nullptr) << alerts.lastText();
    const auto offered = [this] {
        QString chosen;
        OnNextDialog([&chosen](QWidget* dialog) {
            if (auto* print = dynamic_cast<CDlgPrint*>(dialog))
                chosen = print->PrinterList()->currentData().toString();
            Reject()(dialog);
        });
        EXPECT_TRUE(Trigger("File > Print > Sheet of Active Document..."));
        return chosen.toStdString();
    };
    ASSERT_FALSE(SpoolInto(scheduler, "Annex").empty());
    EXPECT_EQ(offered(), "Annex");
    ASSERT_FALSE(SpoolInto(scheduler, "Studio").empty());
    const ProgramRun removed = RunProgramFor("lpadmin", {"-x", "Studio"});
    ASSERT_TRUE(removed.ok) << removed.failure;
    EXPECT_EQ(offered(), "Office");
}

}  // namespace
