// The printed report: the listing of the selection laid out on printer
// pages, with a header on every page, and tables wider than the paper
// printed in strips side by side.
//
// The report draws through a ReportSurface: the application's printer job
// implements it over the printer's context, tests record what it draws.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>

#include "dbdoc/database_report.h"
#include "platform/gdi_types.h"

class DbDocument;

class ReportSurface {
public:
    virtual ~ReportSurface() = default;
    // The printable area in device units and the vertical resolution.
    virtual int32_t PrintableWidth() = 0;
    virtual int32_t PrintableHeight() = 0;
    virtual int32_t VerticalDpi() = 0;
    // The job and its pages; 0 or the system's error code.
    virtual int32_t StartDoc(const std::string& name) = 0;
    virtual int32_t StartPage() = 0;
    virtual int32_t EndPage() = 0;
    // Ends the job; 0, or the code of what kept it from being written.
    virtual int32_t EndDoc() = 0;
    virtual void AbortDoc() = 0;
    // Text in device units, in the font selected last; y is the baseline.
    virtual void SelectFont(const LogFont& font) = 0;
    virtual int32_t TextWidth(std::string_view text) = 0;
    virtual TextMetrics Metrics() = 0;
    virtual void DrawText(int32_t x, int32_t y, std::string_view text) = 0;
    // Moves what is drawn left by x (the window origin).
    virtual void SetOriginX(int32_t x) = 0;
};

// The report's fonts: Courier, fixed pitch, TrueType only; the body at 9
// points, the page header bold at 8.
LogFont ReportFont(bool header, int32_t dpi);

// Prints the selection. time is when it was printed (the page header
// shows it). 1 when the job was printed (also when the user stopped it:
// the job ends with what was printed); 0 without live records (database
// message 23); -1 when the job failed ("Printing error " with the code;
// the job is aborted).
int32_t PrintReport(DbDocument& document, const ReportOptions& options, ReportSurface& surface,
                    std::time_t time, ReportResult* result);
