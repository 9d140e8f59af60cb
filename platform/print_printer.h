// The printer a job prints on, made from the application's printer
// settings (paper, orientation): a printer of the system, or a PDF file.
// Jobs print at 600 dots per inch.
#pragma once

#include <cstdint>
#include <memory>

#include <QString>

#include "foundation/int_geometry.h"

class QPageLayout;
class QPageSize;
class QPrinter;
class QRect;
struct PrinterSettings;

constexpr int32_t kPrintResolution = 600;

// pdfPath empty: the printer named (or, for an empty name, the one the
// settings name, else the default one); null when there is none.
// Otherwise a PDF file at pdfPath, whose sheet is all printable.
std::unique_ptr<QPrinter> MakeJobPrinter(const QString& pdfPath, const QString& printerName);
// The queue the printer's job goes to; empty for a file.
QString JobQueue(const QPrinter* printer);
// Why a job can't go to the queue named (empty: the default one), as the
// user hears it: no such queue, none set, one named where there is no such
// queue, or a print server that did not answer; empty when it can.
QString PrinterUnavailableText(const QString& queue);
// Why no printer was made for a job on a queue, when a print server did
// not answer within the bound (it is named); empty otherwise.
QString PrintServerSilenceText();
// The printer of a job written as a PostScript file: a sheet that is all
// printable, as for a PDF file, with nothing written by the printer itself.
std::unique_ptr<QPrinter> MakePostScriptFilePrinter();
// The settings' paper and orientation into the printer, with the margins
// its queue leaves for that paper (FitPrinterMargins).
void ApplyPrinterSettings(QPrinter* printer);
// A printer of the system prints from the corner of the part of the paper
// its queue can print on, and nothing outside it: its margins become the
// queue's own for the paper and orientation set (nothing when the queue
// prints to the paper's edges), as exact as the queue keeps them and
// turned with a landscape page. Files and printers the print system does
// not know keep theirs.
void FitPrinterMargins(QPrinter* printer);

// The settings' paper (invalid when they name none), and that paper with
// their orientation as a page layout in points, without margins.
QPageSize SettingsPageSize(const PrinterSettings& settings);
QPageLayout SettingsPageLayout(const PrinterSettings& settings);
// The margins the queue leaves on the layout's paper, as FitPrinterMargins
// puts them on a printer, put on the layout, as the print system gives
// them: no printer is made for it. False, the layout unchanged, when the
// print system does not say.
bool FitQueueMargins(const QString& queue, QPageLayout* layout);

// The sheet relative to the printable area's corner (left and top are
// minus the printer's offsets) and the printable area, in points, each
// length converted on its own as value x 72 / resolution; the resolutions;
// and the offsets themselves in device pixels, each on the pixel nearest
// the printable area's edge.
void PrinterPageMetrics(QPrinter* printer, IntRect* physical, IntRect* printable, int32_t* xResolution,
                        int32_t* yResolution, IntPoint* offsetPixels);

// The printer's paper and the part of it the printer prints on, in points
// from the paper's corner, each edge on the nearest point.
void PrinterPageInfo(QPrinter* printer, QRect* paper, QRect* printable);
void PageLayoutInfo(const QPageLayout& layout, QRect* paper, QRect* printable);

// The printer as the program prints on it, with the paper and orientation
// of the settings (Page Setup): its paper and printable area in points and
// its resolutions; false, with US Letter defaults, without a printer.
bool JobPrinterPageInfo(QRect* paper, QRect* printable, int32_t* xResolution, int32_t* yResolution);
