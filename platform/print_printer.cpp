#include "platform/print_printer.h"

#include <algorithm>
#include <cmath>

#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>

#include "platform/paper_codes.h"
#include "platform/printer_handles.h"
#include "platform/sheet_size.h"
#include "printqueue/cups_queue.h"

void ApplyPrinterSettings(QPrinter* printer)
{
    if (!printer)
        return;
    if (const PrinterSettings* settings = GetPrinterHandles()) {
        if (settings->dmFields & DM_PAPERSIZE) {
            const QPageSize size = PageSizeForPaperCode(settings->dmPaperSize);
            if (size.isValid())
                printer->setPageSize(size);
        } else if ((settings->dmFields & DM_PAPERWIDTH) && (settings->dmFields & DM_PAPERLENGTH) &&
                   settings->dmPaperWidth > 0 && settings->dmPaperLength > 0) {
            printer->setPageSize(QPageSize(QSizeF(settings->dmPaperWidth / 10.0, settings->dmPaperLength / 10.0),
                                           QPageSize::Millimeter));
        }
        if (settings->dmFields & DM_ORIENTATION)
            printer->setPageOrientation(settings->dmOrientation == DMORIENT_LANDSCAPE ? QPageLayout::Landscape
                                                                                    : QPageLayout::Portrait);
    }
    FitPrinterMargins(printer);
}

void FitPrinterMargins(QPrinter* printer)
{
    if (!printer || printer->outputFormat() != QPrinter::NativeFormat || printer->printerName().isEmpty())
        return;
    const QPageLayout layout = printer->pageLayout();
    // Asked for the portrait sheet as exactly as its standard gives it, on
    // which the job places the printable area.
    QPageLayout portrait = layout;
    portrait.setOrientation(QPageLayout::Portrait);
    QMarginsF margins;
    if (!CupsQueuePrintableMargins(printer->printerName(), ExactSheetPoints(portrait), &margins)) {
        // Qt's print support read the same description of the queue.
        QPageLayout inPoints = layout;
        inPoints.setUnits(QPageLayout::Point);
        margins = inPoints.minimumMargins();
    }
    // Both are the portrait sheet's margins; a landscape page is that sheet
    // turned a quarter left, its top on the sheet's left.
    if (layout.orientation() == QPageLayout::Landscape)
        margins = QMarginsF(margins.bottom(), margins.left(), margins.top(), margins.right());
    // As the queue keeps them, to its hundredth of a millimetre: the job
    // draws from them and clips to them itself (PrintableArea). Qt checks
    // margins against minimum margins that its print support takes from the
    // portrait sheet whatever the orientation, and so refuses a landscape
    // page's own; margins set on a full page are taken as they are, and
    // stay when the page has them again.
    const bool fullPage = printer->fullPage();
    printer->setFullPage(true);
    printer->setPageMargins(QMarginsF(std::max(margins.left(), 0.0), std::max(margins.top(), 0.0),
                                      std::max(margins.right(), 0.0), std::max(margins.bottom(), 0.0)),
                            QPageLayout::Point);
    printer->setFullPage(fullPage);
}

std::unique_ptr<QPrinter> MakeJobPrinter(const QString& pdfPath, const QString& printerName)
{
    std::unique_ptr<QPrinter> printer;
    if (!pdfPath.isEmpty()) {
        {
            // Qt's printer asks the print system for its default queue and
            // that queue's description, which a file never prints on.
            const PrintSystemOutOfReach file;
            printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        }
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(pdfPath);
        printer->setPageSize(QPageSize(QPageSize::Letter));
        printer->setFullPage(true);
        printer->setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Point);
    } else {
        const PrinterSettings* settings = GetPrinterHandles();
        QPrinterInfo info;
        if (!printerName.isEmpty())
            info = QPrinterInfo::printerInfo(printerName);
        else if (settings && !settings->deviceName.isEmpty())
            info = QPrinterInfo::printerInfo(settings->deviceName);
        if (info.isNull())
            info = QPrinterInfo::defaultPrinter();
        if (info.isNull())
            return nullptr;
        printer = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    }
    printer->setResolution(kPrintResolution);
    ApplyPrinterSettings(printer.get());
    return printer;
}

std::unique_ptr<QPrinter> MakePostScriptFilePrinter()
{
    std::unique_ptr<QPrinter> printer;
    {
        const PrintSystemOutOfReach file;
        printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    }
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setPageSize(QPageSize(QPageSize::Letter));
    printer->setFullPage(true);
    printer->setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Point);
    printer->setResolution(kPrintResolution);
    ApplyPrinterSettings(printer.get());
    return printer;
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
    const QPageLayout layout = printer->pageLayout();
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
