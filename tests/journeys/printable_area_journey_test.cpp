// Where a print queue's printable area ends, from the window: a card whose
// one label is the whole sheet, filled black, printed with File > Print into
// queues whose four margins differ (left 18, bottom 36, right 9, top 24
// points on A4; 10, 20, 30, 40 on Letter), portrait and landscape. The
// print system keeps a margin in hundredths of a millimetre, most whole
// points a little off (10 points as 353, 10.006 points), and against the
// sheet the queue's description names: the cups-pdf description rounds A4
// to 595 x 842 points, and its printable area's right and top edges lie
// that many points from the sheet's lower left corner, not from the far
// edges of the real A4 sheet (595.28 x 841.89). The ink stops on each side
// where the description puts the printable area's edge, to that hundredth,
// on the rounded A4 as on Letter, and a landscape page has the sheet's
// margins turned with it; a queue that prints to the paper's edges inks
// A4 to its edges. The card view's grey band shows the same margins.
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QImage>
#include <QImageReader>
#include <QLineEdit>
#include <QMarginsF>
#include <QRadioButton>
#include <QSizeF>
#include <QSpinBox>
#include <QTest>
#include <QToolButton>

#include <cmath>
#include <cstdio>
#include <string>

#include "app/main_frame.h"
#include "app/tool_bar_draw_tools.h"
#include "carddoc/labels_doc.h"
#include "dialogs/color_combo_box.h"
#include "dialogs/fill_info_dialog.h"
#include "dialogs/label_type_dlg.h"
#include "dialogs/style_list_box.h"
#include "dialogs/numeric_edit.h"
#include "dialogs/object_info_dialog.h"
#include "dialogs/print_dialog.h"
#include "journey_fixture.h"
#include "support/cups_scheduler.h"
#include "support/needed_tools.h"
#include "support/run_program.h"

namespace printable_area_journey {

constexpr int kDpi = 720;
constexpr double kPixelsPerPoint = kDpi / 72.0;
// One pixel here: the job's clip lies within a fiftieth of a point of the
// queue's margins, and its sheet ends on a whole pixel of the job's 600 dpi
// (A4 is not whole in points), under a tenth of a point inside.
constexpr double kTolerance = 0.1;

// A length in the print system's hundredths of a millimetre.
long Hundredths(double points) { return std::lround(points * 2540.0 / 72.0); }
double Points(long hundredths) { return hundredths * 72.0 / 2540.0; }

// The margin the print system keeps for one given in points.
double Kept(double points) { return Points(Hundredths(points)); }

// A portrait sheet: the paper's own size, and the size the queue's
// description names for it, in points.
struct Sheet {
    QSizeF own;
    QSizeF named;
};
const Sheet kA4{{210 * 72 / 25.4, 297 * 72 / 25.4}, {595, 842}};
const Sheet kLetter{{612, 792}, {612, 792}};

// The queue's margins for the page, left, top, right, bottom: the right and
// top ones from where the printable area ends on the named sheet; a
// landscape page is the sheet turned a quarter left, its top on the
// sheet's left.
QMarginsF PageMargins(const SchedulerMargins& sides, const Sheet& sheet, bool landscape)
{
    // A queue that prints to the paper's edges does so on any sheet.
    const auto far = [](double margin, double own, double named) {
        return margin == 0 ? 0 : own - Points(Hundredths(named) - Hundredths(margin));
    };
    const QMarginsF kept(Kept(sides.left), far(sides.top, sheet.own.height(), sheet.named.height()),
                         far(sides.right, sheet.own.width(), sheet.named.width()), Kept(sides.bottom));
    return landscape ? QMarginsF(kept.bottom(), kept.left(), kept.top(), kept.right()) : kept;
}

// Paper left across one line of a page, from `from` towards `to` (either
// way), until the ink: whole pixels of paper and the part of the first
// inked one that is not, in points.
double PaperBeforeInk(const QImage& page, bool across, int line, int from, int to)
{
    const int step = to > from ? 1 : -1;
    double paper = 0;
    for (int i = from; i != to; i += step) {
        const double white = qGray(across ? page.pixel(i, line) : page.pixel(line, i)) / 255.0;
        paper += white;
        if (white < 0.5)
            break;
    }
    return paper / kPixelsPerPoint;
}

// Where the ink of a page inked all over its printable area stops, measured
// from each edge of the paper, in points.
QMarginsF InkMargins(const QImage& page)
{
    const int midX = page.width() / 2, midY = page.height() / 2;
    return QMarginsF(PaperBeforeInk(page, true, midY, 0, midX), PaperBeforeInk(page, false, midX, 0, midY),
                     PaperBeforeInk(page, true, midY, page.width() - 1, midX),
                     PaperBeforeInk(page, false, midX, page.height() - 1, midY));
}

std::string Describe(const QMarginsF& m)
{
    char text[96];
    std::snprintf(text, sizeof text, "left %.3f top %.3f right %.3f bottom %.3f", m.left(), m.top(), m.right(),
                  m.bottom());
    return text;
}

class PrintableAreaJourney : public JourneyTest {
protected:
    // File > New > Label...: one label as large as the sheet, a black
    // rectangle over all of it.
    void WholeSheetCard(bool letter, bool landscape)
    {
        const double widthCm = letter ? 21.59 : 21.0, heightCm = letter ? 27.94 : 29.7;
        const CLabelsDoc* card = NewLabelSheet([=](CDlgLabelType* type) {
            type->NameEdit()->setText(letter ? "Letter whole sheet" : "A4 whole sheet");
            type->UnitsCombo()->setCurrentIndex(2);  // centimetres
            type->WidthEdit()->setValue(landscape ? heightCm : widthCm);
            type->HeightEdit()->setValue(landscape ? widthCm : heightCm);
            type->TopEdit()->setValue(0);
            type->LeftEdit()->setValue(0);
            type->HorizontalEdit()->setValue(0);
            type->VerticalEdit()->setValue(0);
            type->AcrossEdit()->setValue(1);
            type->DownEdit()->setValue(1);
            type->PaperCombo()->setCurrentIndex(
                type->PaperCombo()->findText(letter ? "Letter" : "A4", Qt::MatchStartsWith));
            type->OrientationButton(landscape ? 2 : 1)->click();
        });
        ASSERT_NE(card, nullptr) << alerts.lastText();
        ASSERT_TRUE(DrawRectangleFromTheCorner(CardPoint(30, 20), CardPoint(60, 40)));
        const int width = int(std::ceil(CardDocument()->PageGeometry().cardWidth));
        const int height = int(std::ceil(CardDocument()->PageGeometry().cardHeight));
        SizeSelectedFrameInPoints(width, height);
        OnNextDialog([](QWidget* dialog) {
            auto* fill = dynamic_cast<CDlgFillInfo*>(dialog);
            ASSERT_NE(fill, nullptr);
            fill->Opaque()->click();
            fill->Patterns()->setCurrentRow(0);  // solid
            const int black = fill->Colour()->count() - 1;  // the table's last colour
            fill->Colour()->setCurrentIndex(black);
            Q_EMIT fill->Colour()->activated(black);
            const int full = fill->Shade()->findText("100", Qt::MatchStartsWith);
            fill->Shade()->setCurrentIndex(full);
            Q_EMIT fill->Shade()->activated(full);
            fill->accept();
        });
        ASSERT_TRUE(Trigger("Object > Fill Info..."));
    }

    // File > Print > Sheet of Active Document... into the queue chosen in
    // the Print dialog, drawn in grey.
    QImage PrintInto(CupsScheduler& scheduler, const std::string& queue)
    {
        const std::string pdf = SpoolInto(scheduler, queue);
        if (pdf.empty())
            return {};
        const std::string prefix = TempFile(queue);
        const ProgramRun run =
            RunProgramFor("pdftoppm", {"-r", std::to_string(kDpi), "-gray", "-singlefile", pdf, prefix});
        EXPECT_TRUE(run.ok) << run.failure;
        return QImage(QString::fromStdString(prefix + ".pgm")).convertToFormat(QImage::Format_Grayscale8);
    }
};

TEST_F(PrintableAreaJourney, InkStopsWhereEachQueuePrintsNoFurtherAndTheViewShowsThoseMargins)
{
    if (!CupsScheduler::Missing().empty())
        SKIP_FOR_MISSING_TOOL() << "the print scheduler needs" << CupsScheduler::Missing();
    if (!HaveTool("pdftoppm"))
        SKIP_FOR_MISSING_TOOL() << "pdftoppm is needed";
    const SchedulerMargins sides{18, 36, 9, 24}, tens{10, 20, 30, 40};
    CupsScheduler scheduler({{"Sides", 0, "", true, sides}, {"Tens", 0, "Letter", false, tens}, {"Edge", 0}});
    ASSERT_TRUE(scheduler.ok()) << scheduler.why();
    const int allocationLimit = QImageReader::allocationLimit();
    QImageReader::setAllocationLimit(512);

    struct Case {
        const char* queue;
        SchedulerMargins margins;
        bool letter;
        bool landscape;
    };
    // The card view's band: where the program's printer cannot print on the
    // card's own paper and orientation, in whole points (the label lies at
    // the paper's corner; its far edges a fraction of a point inside the
    // paper's whole points).
    const auto expectBand = [this](const QMarginsF& expected, const char* when) {
        SCOPED_TRACE(when);
        // The band follows the printer once the print system has answered
        // about it, which on a busy machine may be a while after the card
        // opened.
        const auto near = [this, &expected] {
            const int32_t* b = CardDocument()->NonPrintingMargins();
            return std::abs(b[0] - expected.left()) <= 1.5 && std::abs(b[1] - expected.top()) <= 1.5 &&
                   std::abs(b[2] - expected.right()) <= 1.5 && std::abs(b[3] - expected.bottom()) <= 1.5;
        };
        SettleUntil(near);
        const int32_t* band = CardDocument()->NonPrintingMargins();
        std::printf("  band %s: left %d top %d right %d bottom %d\n", when, band[0], band[1], band[2], band[3]);
        EXPECT_NEAR(band[0], expected.left(), 1.5) << "left band";
        EXPECT_NEAR(band[1], expected.top(), 1.5) << "top band";
        EXPECT_NEAR(band[2], expected.right(), 1.5) << "right band";
        EXPECT_NEAR(band[3], expected.bottom(), 1.5) << "bottom band";
    };
    // The default queue is the program's printer until another is printed
    // on; each queue has the same margins on every paper.
    SchedulerMargins printer = sides;
    for (const Case& c : {Case{"Sides", sides, false, false}, Case{"Sides", sides, false, true},
                          Case{"Tens", tens, true, false}, Case{"Tens", tens, true, true},
                          Case{"Edge", SchedulerMargins{}, false, false}}) {
        SCOPED_TRACE(std::string(c.queue) + (c.landscape ? " landscape" : " portrait"));
        ASSERT_NO_FATAL_FAILURE(WholeSheetCard(c.letter, c.landscape));
        if (!CardDocument()->ShowsNonPrintingAreas()) {
            ASSERT_TRUE(Trigger("View > Show Nonprinting Areas"));
        }
        const Sheet& sheet = c.letter ? kLetter : kA4;
        expectBand(PageMargins(printer, sheet, c.landscape), "before printing");

        const QImage page = PrintInto(scheduler, c.queue);
        ASSERT_FALSE(page.isNull());
        EXPECT_EQ(page.width() > page.height(), c.landscape) << "the page is not turned as the sheet is";
        const QMarginsF expected = PageMargins(c.margins, sheet, c.landscape);
        const QMarginsF ink = InkMargins(page);
        std::printf("%s %s: ink stops at %s (the queue's: %s)\n", c.queue, c.landscape ? "landscape" : "portrait",
                    Describe(ink).c_str(), Describe(expected).c_str());
        EXPECT_NEAR(ink.left(), expected.left(), kTolerance) << Describe(ink);
        EXPECT_NEAR(ink.top(), expected.top(), kTolerance) << Describe(ink);
        EXPECT_NEAR(ink.right(), expected.right(), kTolerance) << Describe(ink);
        EXPECT_NEAR(ink.bottom(), expected.bottom(), kTolerance) << Describe(ink);
        // The queue printed on is the program's printer now.
        printer = c.margins;
        expectBand(expected, "after printing");
    }
    QImageReader::setAllocationLimit(allocationLimit);
}

}  // namespace printable_area_journey
