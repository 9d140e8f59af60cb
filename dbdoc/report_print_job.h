// The printed database report on the program's print job: the Print
// dialog chooses a printer of the system or a PDF file and the copies, and
// the report's pages are drawn on that printer through a Dc.
#pragma once

#include <cstdint>
#include <memory>

#include "dbdoc/report_print.h"

class Dc;
class QPrinter;
class QWidget;

// A report surface over a printer. The printable area is the printer's; a
// PDF file, whose sheet is all printable, gets the margins a printer of
// the desktop would have, so that the listing can be printed from it.
class PrinterReportSurface : public ReportSurface {
public:
    explicit PrinterReportSurface(QPrinter* printer);
    ~PrinterReportSurface() override;

    int32_t PrintableWidth() override;
    int32_t PrintableHeight() override;
    int32_t VerticalDpi() override;
    int32_t StartDoc(const std::string& name) override;
    int32_t StartPage() override;
    int32_t EndPage() override;
    int32_t EndDoc() override;
    void AbortDoc() override;
    void SelectFont(const LogFont& font) override;
    int32_t TextWidth(std::string_view text) override;
    TextMetrics Metrics() override;
    void DrawText(int32_t x, int32_t y, std::string_view text) override;
    void SetOriginX(int32_t x) override;

    int32_t PagesStarted() const { return pages_; }

private:
    // Text is measured before the job starts (the measuring pass) and while
    // it runs on one context of the printer's resolution, so that the
    // columns laid out fit what is drawn.
    Dc& Context();

    QPrinter* printer_;
    std::unique_ptr<Dc> measure_;
    std::unique_ptr<Dc> dc_;
    LogFont font_{};
    int32_t pages_ = 0;
};

// File > Print > Quick Database Report and the bulk-mail print: the Print
// dialog over owner, then the report of the selection. The result of
// PrintReport, or 0 when the dialog was cancelled.
int32_t PrintDatabaseReport(QWidget* owner, DbDocument& document, const ReportOptions& options);
