#include "dbdoc/report_print_job.h"

#include <algorithm>
#include <ctime>

#include <QMarginsF>
#include <QPageLayout>
#include <QPrinter>

#include "dialogs/print_dialog.h"
#include "dialogs/print_job_dc.h"
#include "foundation/cp1252.h"
#include "foundation/win_error.h"
#include "platform/dc.h"
#include "platform/gdi_types.h"
#include "records/print_job_record.h"

namespace {

// A quarter of an inch, about what desktop printers cannot reach.
constexpr double kPdfMarginPoints = 18.0;

}  // namespace

PrinterReportSurface::PrinterReportSurface(QPrinter* printer) : printer_(printer)
{
    if (printer_->outputFormat() == QPrinter::PdfFormat) {
        printer_->setFullPage(false);
        printer_->setPageMargins(QMarginsF(kPdfMarginPoints, kPdfMarginPoints, kPdfMarginPoints, kPdfMarginPoints),
                                 QPageLayout::Point);
    }
}

PrinterReportSurface::~PrinterReportSurface() = default;

Dc& PrinterReportSurface::Context()
{
    if (!measure_)
        measure_ = Dc::ForMeasuring(VerticalDpi());
    return *measure_;
}

int32_t PrinterReportSurface::PrintableWidth() { return printer_->pageRect(QPrinter::DevicePixel).toRect().width(); }

int32_t PrinterReportSurface::PrintableHeight()
{
    return printer_->pageRect(QPrinter::DevicePixel).toRect().height();
}

int32_t PrinterReportSurface::VerticalDpi() { return printer_->logicalDpiY() > 0 ? printer_->logicalDpiY() : 600; }

int32_t PrinterReportSurface::StartDoc(const std::string& name)
{
    printer_->setDocName(Cp1252ToQString(name));
    // The report is made whole before it is written over a file of that
    // name or handed to the printer's queue; it goes to the queue as a
    // card's job does, so that its text reads back as text.
    dc_ = MakePrintJobDc(printer_, QString());
    if (!dc_ || !dc_->beginOutput()) {
        const int32_t err = dc_ && dc_->outputError() != 0 ? dc_->outputError() : kErrGeneralFailure;
        dc_.reset();
        return err;
    }
    dc_->setMapMode(MM_TEXT);
    dc_->setTextAlign(TA_BASELINE | TA_LEFT);
    dc_->setBkMode(TRANSPARENT);
    dc_->setTextColor(0);
    dc_->selectFont(font_);
    return kErrNone;
}

int32_t PrinterReportSurface::StartPage()
{
    if (!dc_)
        return kErrGeneralFailure;
    // The job opens on its first sheet; every further page is a new one.
    if (pages_ > 0 && !dc_->newPage())
        return kErrGeneralFailure;
    ++pages_;
    return printer_->printerState() == QPrinter::Error ? kErrGeneralFailure : kErrNone;
}

int32_t PrinterReportSurface::EndPage()
{
    return printer_->printerState() == QPrinter::Error ? kErrGeneralFailure : kErrNone;
}

int32_t PrinterReportSurface::EndDoc()
{
    int32_t err = kErrNone;
    if (dc_ && !dc_->flush())
        err = dc_->outputError() != 0 ? dc_->outputError() : kErrGeneralFailure;
    dc_.reset();
    return err;
}

void PrinterReportSurface::AbortDoc()
{
    // Half a report is no report: nothing is written or printed, and a file
    // under its name stays as it was.
    dc_.reset();
}

void PrinterReportSurface::SelectFont(const LogFont& font)
{
    font_ = font;
    Context().selectFont(font);
    if (dc_)
        dc_->selectFont(font);
}

int32_t PrinterReportSurface::TextWidth(std::string_view text) { return Context().getTextExtent(text).width; }

TextMetrics PrinterReportSurface::Metrics() { return Context().getTextMetrics(); }

void PrinterReportSurface::DrawText(int32_t x, int32_t y, std::string_view text)
{
    if (dc_)
        dc_->textOut(x, y, text);
}

void PrinterReportSurface::SetOriginX(int32_t x)
{
    if (dc_)
        dc_->setWindowOrg(x, 0);
}

int32_t PrintDatabaseReport(QWidget* owner, DbDocument& document, const ReportOptions& options)
{
    PrintJobRecord job;
    job.noDatabase = 1;
    job.copies = 1;
    CDlgPrint dialog(owner, &job);
    dialog.HideCardChoices();
    if (dialog.exec() != QDialog::Accepted || !job.printer)
        return 0;
    job.printer->setCopyCount(std::max(job.copies, 1));
    PrinterReportSurface surface(job.printer.get());
    ReportResult result;
    return PrintReport(document, options, surface, std::time(nullptr), &result);
}
