#include "platform/print_printer.h"

#include <algorithm>
#include <cmath>

#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QPrintEngine>

#include "foundation/alerts.h"
#include "platform/locale_paper.h"
#include "platform/paper_codes.h"
#include "platform/printer_handles.h"
#include "platform/sheet_size.h"
#include "printqueue/cups_queue.h"

namespace {

// The portrait sheet's margins on a page turned as the layout is: a
// landscape page is that sheet turned a quarter left, its top on the
// sheet's left.
QMarginsF Turned(const QPageLayout& layout, const QMarginsF& margins)
{
    if (layout.orientation() == QPageLayout::Landscape)
        return QMarginsF(margins.bottom(), margins.left(), margins.top(), margins.right());
    return margins;
}

// The margins the queue leaves on the layout's paper, turned as the layout
// is, as the print system gives them; false when it does not say.
bool QueueMargins(const QString& queue, const QPageLayout& layout, QMarginsF* margins)
{
    // Asked for the portrait sheet as exactly as its standard gives it, on
    // which the job places the printable area.
    QPageLayout portrait = layout;
    portrait.setOrientation(QPageLayout::Portrait);
    if (!CupsQueuePrintableMargins(queue, ExactSheetPoints(portrait), margins))
        return false;
    *margins = Turned(layout, *margins);
    return true;
}

QMarginsF NotNegative(const QMarginsF& m)
{
    return QMarginsF(std::max(m.left(), 0.0), std::max(m.top(), 0.0), std::max(m.right(), 0.0),
                     std::max(m.bottom(), 0.0));
}

// A file printed while the print system has a default queue it could not
// give (a default named where there is no such queue, a server that did
// not answer) goes on the locale's paper; `say` tells the user so.
void PutFilePaper(QPrinter* printer, bool say)
{
    // A default queue whose paper the server did not tell (it named the
    // queue, then held the question about it) is as one it could not give.
    const PrinterSettings* settings = GetPrinterHandles();
    if (settings && SettingsPageSize(*settings).isValid())
        return;
    const QString trouble = settings ? CupsServerSilence() : CupsDefaultQueueTrouble();
    if (trouble.isEmpty())
        return;
    const QPageSize paper = LocalePaper();
    printer->setPageSize(paper);
    if (say)
        AlertNote((trouble + " The file is printed on " + paper.name() + ", the paper of your language settings.")
                      .toUtf8()
                      .constData(),
                  0);
}

}  // namespace

QPageSize SettingsPageSize(const PrinterSettings& settings)
{
    if (settings.dmFields & DM_PAPERSIZE)
        return PageSizeForPaperCode(settings.dmPaperSize);
    if ((settings.dmFields & DM_PAPERWIDTH) && (settings.dmFields & DM_PAPERLENGTH) && settings.dmPaperWidth > 0 &&
        settings.dmPaperLength > 0)
        return QPageSize(QSizeF(settings.dmPaperWidth / 10.0, settings.dmPaperLength / 10.0), QPageSize::Millimeter);
    return QPageSize();
}

QPageLayout SettingsPageLayout(const PrinterSettings& settings)
{
    const bool across = (settings.dmFields & DM_ORIENTATION) && settings.dmOrientation == DMORIENT_LANDSCAPE;
    return QPageLayout(SettingsPageSize(settings), across ? QPageLayout::Landscape : QPageLayout::Portrait,
                       QMarginsF(), QPageLayout::Point);
}

bool FitQueueMargins(const QString& queue, QPageLayout* layout)
{
    QMarginsF margins;
    if (!layout->pageSize().isValid() || !QueueMargins(queue, *layout, &margins))
        return false;
    *layout = QPageLayout(layout->pageSize(), layout->orientation(), NotNegative(margins), QPageLayout::Point);
    return true;
}

void ApplyPrinterSettings(QPrinter* printer)
{
    if (!printer)
        return;
    if (const PrinterSettings* settings = GetPrinterHandles()) {
        const QPageSize size = SettingsPageSize(*settings);
        if (size.isValid())
            printer->setPageSize(size);
        if (settings->dmFields & DM_ORIENTATION)
            printer->setPageOrientation(settings->dmOrientation == DMORIENT_LANDSCAPE ? QPageLayout::Landscape
                                                                                    : QPageLayout::Portrait);
    }
    FitPrinterMargins(printer);
}

QString JobQueue(const QPrinter* printer)
{
    return printer && printer->outputFileName().isEmpty() ? printer->printerName() : QString();
}

void FitPrinterMargins(QPrinter* printer)
{
    const QString queue = JobQueue(printer);
    if (queue.isEmpty())
        return;
    const QPageLayout layout = printer->pageLayout();
    QMarginsF margins;
    // A paper the description does not give the margins of is printed to
    // its edges, as the queue's own writer of PDF would.
    if (!QueueMargins(queue, layout, &margins))
        margins = QMarginsF();
    // As the queue keeps them, to its hundredth of a millimetre: the job
    // draws from them and clips to them itself (PrintableArea). Qt checks
    // margins against minimum margins that its print support takes from the
    // portrait sheet whatever the orientation, and so refuses a landscape
    // page's own; margins set on a full page are taken as they are, and
    // stay when the page has them again.
    const bool fullPage = printer->fullPage();
    printer->setFullPage(true);
    printer->setPageMargins(NotNegative(margins), QPageLayout::Point);
    printer->setFullPage(fullPage);
}

namespace {

// Qt's printer writing PDF, made with the print system out of reach: as it
// is made, Qt's printer asks the print system for the default queue and
// downloads that queue's description, which no job of ours needs of it.
std::unique_ptr<QPrinter> PdfWriter()
{
    const PrintSystemOutOfReach none;
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    return printer;
}

// The printer of a job on the queue: a writer of PDF named for the queue,
// on the paper the queue starts with as the print system described it for
// this job. The program makes the job whole and hands it to the queue
// itself (Dc::ForPrintJob); Qt's own printer of a queue would ask about the
// queue again and download its description each time one is made. Null
// when there is no such queue.
std::unique_ptr<QPrinter> MakeQueuePrinter(const QString& queue)
{
    // The print system's library answers for an instance lpoptions does not
    // list too: the queue, with options of its own.
    if (CupsLookUpQueue(queue) != QueueLookup::kFound)
        return nullptr;
    std::unique_ptr<QPrinter> printer = PdfWriter();
    QSizeF paper;
    if (CupsQueueDefaultPaper(queue, &paper) && !paper.isEmpty())
        printer->setPageSize(QPageSize(paper, QPageSize::Millimeter, QString(), QPageSize::FuzzyMatch));
    // Named without Qt looking the name up, which setPrinterName does.
    printer->printEngine()->setProperty(QPrintEngine::PPK_PrinterName, queue);
    return printer;
}

}  // namespace

std::unique_ptr<QPrinter> MakeJobPrinter(const QString& pdfPath, const QString& printerName)
{
    std::unique_ptr<QPrinter> printer;
    if (!pdfPath.isEmpty()) {
        printer = PdfWriter();
        printer->setOutputFileName(pdfPath);
        printer->setPageSize(QPageSize(QPageSize::Letter));
        printer->setFullPage(true);
        printer->setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Point);
    } else {
        const PrinterSettings* settings = GetPrinterHandles();
        // The default queue as the print system's library finds it, on a
        // connection that gives up on a silent server.
        QString queue = !printerName.isEmpty() ? printerName : settings ? settings->deviceName : QString();
        if (queue.isEmpty())
            queue = CupsDefaultQueue();
        if (queue.isEmpty() || !(printer = MakeQueuePrinter(queue)))
            return nullptr;
    }
    printer->setResolution(kPrintResolution);
    ApplyPrinterSettings(printer.get());
    if (!pdfPath.isEmpty())
        PutFilePaper(printer.get(), true);
    return printer;
}

std::unique_ptr<QPrinter> MakePostScriptFilePrinter()
{
    std::unique_ptr<QPrinter> printer = PdfWriter();
    printer->setPageSize(QPageSize(QPageSize::Letter));
    printer->setFullPage(true);
    printer->setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Point);
    printer->setResolution(kPrintResolution);
    ApplyPrinterSettings(printer.get());
    PutFilePaper(printer.get(), false);
    return printer;
}

QString PrinterUnavailableText(const QString& queue)
{
    const QString notPrinted = " The document was not printed.";
    if (queue.isEmpty()) {
        if (!CupsDefaultQueue().isEmpty())
            return QString();
        const QString trouble = CupsDefaultQueueTrouble();
        return trouble.isEmpty() ? "No printer is installed, so the document can't be printed." : trouble + notPrinted;
    }
    switch (CupsLookUpQueue(queue)) {
    case QueueLookup::kFound: return QString();
    case QueueLookup::kNoAnswer: return CupsServerSilence() + notPrinted;
    case QueueLookup::kNoSuchQueue: break;
    }
    return "The printer \"" + queue + "\" is not installed.";
}

QString PrintServerSilenceText()
{
    const QString silence = CupsServerSilence();
    return silence.isEmpty() ? QString() : silence + " The document was not printed.";
}

void PrinterPageMetrics(QPrinter* printer, IntRect* physical, IntRect* printable, int32_t* xResolution,
                        int32_t* yResolution, IntPoint* offsetPixels)
{
    const int32_t xRes = printer->logicalDpiX() > 0 ? printer->logicalDpiX() : kPrintResolution;
    const int32_t yRes = printer->logicalDpiY() > 0 ? printer->logicalDpiY() : kPrintResolution;
    const QRect paper = printer->paperRect(QPrinter::DevicePixel).toRect();
    // Qt's own printable rectangle takes the margins to whole points.
    const QRect paint = PrintableAreaPixels(printer->pageLayout(), xRes);
    auto px = [xRes](int64_t v) { return int32_t(v * 72 / xRes); };
    auto py = [yRes](int64_t v) { return int32_t(v * 72 / yRes); };
    const int32_t offsetX = paint.left() - paper.left(), offsetY = paint.top() - paper.top();
    if (physical)
        *physical = IntRect{-px(offsetX), -py(offsetY), px(paper.width()) - px(offsetX),
                            py(paper.height()) - py(offsetY)};
    if (printable)
        *printable = IntRect{0, 0, px(paint.width()), py(paint.height())};
    if (xResolution)
        *xResolution = xRes;
    if (yResolution)
        *yResolution = yRes;
    if (offsetPixels)
        *offsetPixels = IntPoint{offsetX, offsetY};
}

void PrinterPageInfo(QPrinter* printer, QRect* paper, QRect* printable)
{
    PageLayoutInfo(printer->pageLayout(), paper, printable);
}

void PageLayoutInfo(const QPageLayout& layout, QRect* paper, QRect* printable)
{
    if (paper)
        *paper = layout.fullRectPoints();
    if (printable) {
        // From the paper's corner, each edge on the point nearest it.
        const QRectF area = PrintableAreaPoints(layout);
        const auto point = [](double v) { return int(std::lround(v)); };
        *printable = QRect(QPoint(point(area.left()), point(area.top())),
                           QPoint(point(area.right()) - 1, point(area.bottom()) - 1));
    }
}

bool JobPrinterPageInfo(QRect* paper, QRect* printable, int32_t* xResolution, int32_t* yResolution)
{
    // The printer as the program prints on it: with the paper and
    // orientation of the application's settings (Page Setup).
    const std::unique_ptr<QPrinter> printer = MakeJobPrinter(QString(), QString());
    if (!printer) {
        if (paper)
            *paper = QRect(0, 0, 612, 792);
        if (printable)
            *printable = QRect(QPoint(31, 30), QPoint(582, 759));
        return false;
    }
    PrinterPageInfo(printer.get(), paper, printable);
    if (xResolution)
        *xResolution = printer->resolution();
    if (yResolution)
        *yResolution = printer->resolution();
    return true;
}
