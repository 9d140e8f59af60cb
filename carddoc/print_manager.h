// PrintManager: the print jobs of one card document. It keeps the job
// record between jobs (so the next Print dialog shows the last first-card
// choice), works out from the Print dialog's answer which records go on
// how many sheets and printed pages, runs the page loop with its progress
// dialog and reports how the job ended. The document draws each page
// (CLabelsDoc::DrawSheet).
//
// Printing goes through QPrinter: a printer of the system, or a PDF file.
// No printer here takes PostScript pass-through, so the sheet drawing gets
// output mode 1 and pictures of EPS frames print their preview.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "foundation/int_geometry.h"
#include "frames/print_losses.h"

#include "records/print_job_record.h"
#include "records/print_settings_record.h"

class CLabelsDoc;
class Dc;
class PrintProgress;
class QPageLayout;
class QPrinter;
class QRect;
class QString;
class QWidget;

// Results of Print.
enum : int32_t {
    kPrintDone = 0,
    kPrintDialogCancelled = 10,
    // A job's own result: the user stopped it.
    kPrintCancelledByUser = 1111,
    // The database the cards take their records from is damaged; the
    // database message has said so.
    kPrintDatabaseDamaged = 1112,
    // The database's selection could not be built (its index could not be
    // written) or was lost: its cards would print blank. Nothing printed.
    kPrintSelectionFailed = 1113,
    // The sheet does not fit the paper and the user chose not to print it
    // (having been told which rows or columns would be lost).
    kPrintSheetDoesNotFit = 1114,
    // The card's label layout places no card on its sheet (0 columns or
    // rows, or more than any sheet holds: a damaged document); it has been
    // said, and nothing printed.
    kPrintNoCardOnSheet = 1115,
    // A page of the card the job prints is not in its file (its page table
    // numbers another in its place: a damaged document); it has been said,
    // and nothing printed.
    kPrintPageMissing = 1116,
};

// Why the label layout places no card on its sheet, or empty when it
// places some: the label dialogs make 1 to 100 columns and rows.
std::string NoCardOnSheetText(const uint8_t* layout);

// Which page of the card (counted from 1; only the one given, when not 0)
// its file does not hold, said as the print says it, or empty when it
// holds all.
std::string MissingPageText(CLabelsDoc* document, int16_t only = 0);

// True, after saying so, when the current database's records could not be
// selected (its index could not be written): its cards would come out
// blank, in a print or a preview.
bool SayIfSelectionFailed();

// Sheets and printed pages of a job, from its record range.
struct PrintSheetCount {
    int32_t sheets = 0;
    int32_t extra = 0;
    int32_t pages = 0;
};
// range: records (or cards) to print; skip: cells left empty on the first
// sheet; printAll without a database prints one sheet of cards.
PrintSheetCount CountPrintSheets(int32_t range, int32_t cellsPerSheet, int32_t skip, bool withDatabase,
                                 bool printAll, int32_t cardPages);

// The Print dialog as the job runs it: 1 for OK, with the job's printer,
// range and copies filled in. Replaceable (the command-line tool and the
// tests answer it themselves); the default shows the program's dialog.
using PrintDialogRunner = std::function<int32_t(QWidget* owner, PrintJobRecord* job)>;
PrintDialogRunner SetPrintDialogRunner(PrintDialogRunner runner);

class PrintManager {
public:
    explicit PrintManager(CLabelsDoc* document);
    virtual ~PrintManager();
    PrintManager(const PrintManager&) = delete;
    PrintManager& operator=(const PrintManager&) = delete;

    void SetDocument(CLabelsDoc* document) { document_ = document; }
    // The document's 48-byte print settings, which the document file
    // stores; read and written whole at position (-1: where the file
    // stands). The file layer's code.
    PrintSettingsRecord& Settings();
    int32_t ReadSettings(FileHandle file, int32_t position) { return ReadPrintSettings(file, position, &Settings()); }
    int32_t WriteSettings(FileHandle file, int32_t position) { return WritePrintSettings(file, position, Settings()); }
    void CopySettings(const PrintSettingsRecord& from) { Settings() = from; }

    // The whole job for the document: the Print dialog, the range, sheets
    // and pages, the page loop and the report. kPrintDialogCancelled when
    // the dialog was cancelled or could not run, else kPrintDone (also
    // when the job failed or was stopped: that has been reported).
    int32_t Print(QWidget* owner, int16_t currentPage);

    // The layout's orientation and paper, or the document's own choice
    // when the layout fixes neither, into the application's printer
    // settings.
    void ApplyPaperAndOrientation();
    // The sheet a job prints on, in points, as the preview shows it: the
    // printer's page (true), or without a printer the page a PDF file gets.
    bool GetJobPage(QRect* paper, QRect* printable);
    // The printer's paper (relative to the printable area's corner) and
    // printable area in points, its resolutions, and where the printable
    // area's corner lies on the paper in device pixels; the stand-in
    // figures without a printer.
    void GetPrinterCaps(IntRect* physical, IntRect* printable, int32_t* xResolution, int32_t* yResolution,
                        IntPoint* offsetPixels);
    // The job's printer while a job runs; otherwise one for the default
    // printer, kept by the manager; null when there is none.
    QPrinter* GetPrinterDC();
    // The application's printer, kept by the manager while the settings
    // name its queue; null when there is none.
    QPrinter* InfoPrinter();
    // A card larger than the paper by a point or more is printed in tiles;
    // less is the rounding of the paper's size to whole points (an A4 card
    // on A4 paper), and the paper's edge cuts it.
    bool NeedsTiling() const;
    // As many tiles as it takes to hold the card, not one more.
    void ComputeSheetTiling();

    PrintJobRecord& Job() { return job_; }
    int32_t LastResult() const { return lastResult_; }
    int16_t TilesAcross() const { return tilesAcross_; }
    int16_t TilesDown() const { return tilesDown_; }
    int32_t PagesPrinted() const { return pagesPrinted_; }
    // What the last job's labels lost (barcodes not made, text cut off).
    const PrintLosses& LastLosses() const { return lastLosses_; }

private:
    // pages for the first copy, laterPages for each further one (which
    // skips no cards).
    int32_t PrintJob(QWidget* owner, int16_t pages, int16_t laterPages, int32_t from, int32_t to);
    int32_t PrintPage(Dc* dc, int16_t page, int16_t outputMode, int32_t from, int32_t to);
    void ReportPrintError(int32_t result);
    // The folder of the file the job writes (a PDF or PostScript file)
    // when it does not exist; empty otherwise, and for a printer.
    std::string MissingOutputFolder() const;
    // The file the job writes (a PDF or PostScript file), as named; empty
    // for a printer.
    QString OutputFile() const;
    // The layout's paper and orientation (or the document's own choice)
    // into that printer only: without any printer (and so without the
    // application's printer settings) a PDF job still takes them, and the
    // page the card prints on is measured without changing the settings.
    void ApplyLayoutPaper(QPrinter* printer);
    void ApplyLayoutPaper(QPageLayout* page);

    CLabelsDoc* document_;
    IntRect physical_{-31, -30, 582, 761};
    IntRect printable_{0, 0, 552, 730};
    // The printable area's corner on the paper, in device pixels: the
    // sheet is placed from it, not from its whole points.
    IntPoint offsetPixels_{129, 125};
    int16_t pageWidth_ = 0;
    int16_t pageHeight_ = 0;
    int16_t paperWidth_ = 0;
    int16_t paperHeight_ = 0;
    int16_t tilesAcross_ = 1;
    int16_t tilesDown_ = 1;
    int16_t centreX_ = 0;
    int16_t centreY_ = 0;
    int16_t overlap_ = 0;
    int32_t firstCardColumn_ = 0;
    int32_t firstCardRow_ = 0;
    int16_t firstSheet_ = 1;
    int16_t cardPageIndex_ = 0;
    int32_t xResolution_ = 72;
    int32_t yResolution_ = 72;
    int16_t skipCount_ = 0;
    PrintJobRecord job_;
    std::unique_ptr<QPrinter> infoPrinter_;
    bool inJob_ = false;
    int32_t lastResult_ = 0;
    PrintLosses lastLosses_;
    int32_t pagesPrinted_ = 0;
};
