#include "carddoc/print_manager.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include <QFile>
#include <QDir>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>

#include "carddoc/card_view_services.h"
#include "carddoc/fill_pattern_store.h"
#include "carddoc/labels_doc.h"
#include "carddoc/print_losses_text.h"
#include "carddoc/print_target_view.h"
#include "carddoc/sheet_fit.h"
#include "database/database_messages.h"
#include "database/db_document.h"
#include "database/merge_text.h"
#include "database/open_database_registry.h"
#include "dialogs/print_dialog.h"
#include "dialogs/print_job_dc.h"
#include "dialogs/print_progress_dlg.h"
#include "foundation/alerts.h"
#include "foundation/byte_order.h"
#include "foundation/cp1252.h"
#include "foundation/file_io.h"
#include "foundation/int_math.h"
#include "foundation/paper_table.h"
#include "foundation/stop_request.h"
#include "foundation/string_table.h"
#include "foundation/win_error.h"
#include "frames/page_table.h"
#include "frames/picture_file_lookup.h"
#include "frames/picture_job_memory.h"
#include "frames/frame_obj_image.h"
#include "frames/frame_store.h"
#include "platform/dc.h"
#include "platform/locale_paper.h"
#include "platform/print_printer.h"
#include "platform/printer_handles.h"
#include "platform/paper_codes.h"
#include "platform/printer_paper.h"
#include "printqueue/cups_queue.h"
#include "records/label_stock.h"

namespace {

bool CurrentDatabaseDamaged()
{
    const DbDocument* database = GetCurrentDatabaseDoc();
    return database && database->IsOpen() && database->Data().DataMark();
}

// The rows of a selection the index does not hold read as blank records.
bool CurrentSelectionFailed()
{
    const DbDocument* database = GetCurrentDatabaseDoc();
    return database && database->IsOpen() && database->Data().SelectionFailed();
}

PrintDialogRunner& DialogRunner()
{
    static PrintDialogRunner runner;
    return runner;
}

constexpr const char* kCancelledText = "Printing canceled by user.";
constexpr const char* kErrorText = "Error while printing.";
constexpr const char* kSelectionFailedText =
    "The records of the database could not be selected, because its index could not be written: its cards "
    "would come out blank, and nothing was printed. Make room on the disk and open the database again.";
// A file the job could not write: the disk is full, or the folder or file
// may not be written.
constexpr int32_t kDiskFullString = 368;
constexpr int32_t kWriteProtectedString = 367;
// A file the user may not write, or in a folder they may not write.
constexpr int32_t kPermissionString = 371;
// The path longer than a file's path may be here, in the file layer's words.
constexpr int32_t kPathTooLongString = 377;
// How much of a path a message shows before its middle is left out.
constexpr int kPathShown = 100;

// The path as the user gave it; a very long one keeps its start and its
// end, where the file's name is, with "…" for its middle.
QString ShortenedPath(const QString& path)
{
    if (path.size() <= kPathShown)
        return path;
    const int head = kPathShown / 3;
    return path.left(head) + QChar(0x2026) + path.right(kPathShown - head - 1);
}

// What is said of an output the job could not be written to ends so,
// whatever kept it from there.
std::string NothingWasPrinted(std::string text)
{
    return text + " Nothing was printed.";
}

std::string PathTooLongText(const QString& output)
{
    std::string text = QStringToCp1252(QLatin1Char('"') + ShortenedPath(output) + QStringLiteral("\": "));
    text += LookupString(kPathTooLongString);
    return NothingWasPrinted(text);
}

// Names the first picture missed, and the record it was to show.
std::string PicturesNotPrintedText(const PicturesNotPrinted& missing)
{
    std::string text = missing.file.empty() ? std::string("A picture") : "The picture \"" + missing.file + "\"";
    if (!missing.record.empty())
        text += " of the record of " + missing.record;
    text += missing.notAFile ? " is not a file but a device or a pipe;"
                             : " could not be drawn (its file is missing or can't be read);";
    text += " the cards printed without it.";
    if (missing.others)
        text += " Other pictures could not be drawn either.";
    return text;
}

}  // namespace

std::string NoCardOnSheetText(const uint8_t* layout)
{
    const int32_t columns = GetI16LE(layout + kLabelTypeColumnsOffset);
    const int32_t rows = GetI16LE(layout + kLabelTypeRowsOffset);
    if (columns >= 1 && rows >= 1 && columns <= kLabelTypeMaxCount && rows <= kLabelTypeMaxCount)
        return {};
    return "The card's label layout has " + std::to_string(columns) + " columns and " + std::to_string(rows) +
           " rows: its sheet has no place for a card, and nothing was printed. Choose the layout again (Edit > "
           "Change Layout and Design).";
}

std::string MissingPageText(CLabelsDoc* document, int16_t only)
{
    const int16_t first = document->PageGeometry().firstPage;
    const int32_t count = document->GetPageCount();
    for (int32_t i = 0; i < count; ++i) {
        if (only != 0 && i + 1 != only)
            continue;
        uint32_t handle = 0;
        if (document->Pages()->HandleOfNumber(int16_t(first + i), &handle) < 0)
            return "Page " + std::to_string(i + 1) +
                   " of the card is missing from its file (the file is damaged): nothing was printed.";
    }
    return {};
}

bool SayIfSelectionFailed()
{
    if (!CurrentSelectionFailed())
        return false;
    AlertStop(kSelectionFailedText, 0);
    return true;
}

LentPrintView::LentPrintView(CLabelsDoc* document) : document_(document)
{
    if (!document_->CardView())
        document_->SetView(&view_);
    else
        document_ = nullptr;
}

LentPrintView::~LentPrintView()
{
    if (document_)
        document_->SetView(nullptr);
}

PrintDialogRunner SetPrintDialogRunner(PrintDialogRunner runner)
{
    return std::exchange(DialogRunner(), std::move(runner));
}

PrintSheetCount CountPrintSheets(int32_t range, int32_t cellsPerSheet, int32_t skip, bool withDatabase,
                                 bool printAll, int32_t cardPages)
{
    PrintSheetCount out;
    const int32_t cells = std::max(cellsPerSheet, 1);
    if (range > cells - skip) {
        const int32_t remainder = range % cells;
        out.sheets = range / cells + (remainder ? 1 : 0);
        out.extra = skip > 0 && (skip + remainder > cells || remainder == 0) ? 1 : 0;
        if (!withDatabase && printAll) {
            out.sheets = range / cells;
            out.extra = 0;
        }
    } else {
        out.sheets = 1;
        out.extra = 0;
    }
    out.pages = cardPages * (out.sheets + out.extra);
    if (!withDatabase && printAll)
        out.pages = cardPages;
    return out;
}

PrintManager::PrintManager(CLabelsDoc* document) : document_(document) {}

PrintManager::~PrintManager() = default;

PrintSettingsRecord& PrintManager::Settings() { return document_->PrintSettings(); }

namespace {

// The orientation and paper the card prints on: what its label layout
// fixes, and the card's own choice for what the layout leaves open.
void PageOfCard(CLabelsDoc* document, uint32_t* orientation, uint32_t* paper)
{
    const uint8_t* layout = document->LabelLayout();
    *orientation = GetU32LE(layout + kLabelTypeOrientationOffset);
    *paper = GetU32LE(layout + kLabelTypePaperOffset);
    uint32_t ownOrientation = 0, ownPaper = 0;
    document->GetAlternatePaper(&ownOrientation, &ownPaper);
    if (*orientation == 0)
        *orientation = ownOrientation;
    if (*paper == 0)
        *paper = ownPaper;
}

}  // namespace

void PrintManager::ApplyPaperAndOrientation()
{
    // Over the printer's own page, not over what another card put there.
    UsePrinterOwnPage();
    uint32_t orientation = 0, paper = 0;
    PageOfCard(document_, &orientation, &paper);
    if (orientation != 0)
        PrinterSetOrientation(orientation == 1 ? 1 : 0);
    if (paper != 0)
        PrinterSelectPaper(int32_t(paper));
}

namespace {

// The paper and the orientation the card fixes for its job, each put with
// its setter where the card fixes it. A paper with a standard code is that
// standard's size exactly (A4 is 595.28 x 841.89 points, not the table's
// whole points), so that a printer or a viewer takes it for that paper and
// does not scale it.
template <class SetSize, class SetOrientation>
void PutFixedPage(CLabelsDoc* document, SetSize setSize, SetOrientation setOrientation)
{
    uint32_t orientation = 0, paper = 0;
    PageOfCard(document, &orientation, &paper);
    if (paper > 0 && paper < uint32_t(kPaperTableCount)) {
        const QPageSize size = PageSizeForPaperCode(int32_t(PaperTable[paper].code));
        if (size.isValid())
            setSize(size);
    }
    if (orientation != 0)
        setOrientation(orientation == 1 ? QPageLayout::Portrait : QPageLayout::Landscape);
}

}  // namespace

void PrintManager::ApplyLayoutPaper(QPrinter* printer)
{
    PutFixedPage(
        document_, [printer](const QPageSize& size) { printer->setPageSize(size); },
        [printer](QPageLayout::Orientation orientation) { printer->setPageOrientation(orientation); });
}

void PrintManager::ApplyLayoutPaper(QPageLayout* page)
{
    PutFixedPage(
        document_, [page](const QPageSize& size) { page->setPageSize(size); },
        [page](QPageLayout::Orientation orientation) { page->setOrientation(orientation); });
}

bool PrintManager::GetJobPage(QRect* paper, QRect* printable)
{
    // The settings' page with the card's own paper and orientation, as its
    // job has them, and the margins its queue leaves there as the print
    // system says: no printer is made for it.
    if (const PrinterSettings* settings = GetPrinterHandles()) {
        QPageLayout page = SettingsPageLayout(*settings);
        ApplyLayoutPaper(&page);
        if (FitQueueMargins(settings->deviceName, &page)) {
            PageLayoutInfo(page, paper, printable);
            return true;
        }
    }
    // Nothing is known of the printer while the print system is still
    // asked about it (a server may hold the answer for seconds): the card's
    // own paper, else the locale's, with no margins known.
    if (PrinterAnswerPending()) {
        QPageLayout page(LocalePaper(), QPageLayout::Portrait, QMarginsF(), QPageLayout::Point);
        ApplyLayoutPaper(&page);
        PageLayoutInfo(page, paper, printable);
        return false;
    }
    // Otherwise as the application's printer has them.
    if (QPrinter* printer = InfoPrinter()) {
        ApplyLayoutPaper(printer);
        FitPrinterMargins(printer);
        PrinterPageInfo(printer, paper, printable);
        return true;
    }
    const OwnPrinterPageAfterwards ownPage;
    ApplyPaperAndOrientation();
    JobPrinterPageInfo(paper, printable, nullptr, nullptr);
    // The stand-in printer's margins, on the paper the file gets.
    const QMargins margins(printable->left() - paper->left(), printable->top() - paper->top(),
                           paper->right() - printable->right(), paper->bottom() - printable->bottom());
    const std::unique_ptr<QPrinter> file = MakePostScriptFilePrinter();
    ApplyLayoutPaper(file.get());
    *paper = file->pageLayout().fullRectPoints();
    *printable = paper->marginsRemoved(margins);
    return false;
}

QPrinter* PrintManager::GetPrinterDC()
{
    if (inJob_ && job_.printer)
        return job_.printer.get();
    return InfoPrinter();
}

QPrinter* PrintManager::InfoPrinter()
{
    // Made again only for another queue: Qt's printer reads its queue's
    // description from the print system as it is made. The settings' paper
    // and orientation are put on it anew each time.
    const PrinterSettings* settings = GetPrinterHandles();
    if (!settings && PrinterAnswerPending())
        return nullptr;
    if (infoPrinter_ && settings && infoPrinter_->printerName() == settings->deviceName)
        ApplyPrinterSettings(infoPrinter_.get());
    else
        infoPrinter_ = MakeJobPrinter(QString(), QString());
    return infoPrinter_.get();
}

void PrintManager::GetPrinterCaps(IntRect* physical, IntRect* printable, int32_t* xResolution,
                                  int32_t* yResolution, IntPoint* offsetPixels)
{
    QPrinter* printer = GetPrinterDC();
    if (!printer) {
        *physical = IntRect{-31, -30, 582, 761};
        *printable = IntRect{0, 0, 552, 730};
        *xResolution = 300;
        *yResolution = 300;
        *offsetPixels = IntPoint{31 * 300 / 72, 30 * 300 / 72};
        return;
    }
    PrinterPageMetrics(printer, physical, printable, xResolution, yResolution, offsetPixels);
}

bool PrintManager::NeedsTiling() const
{
    return paperWidth_ + 1 < pageWidth_ || paperHeight_ + 1 < pageHeight_;
}

void PrintManager::ComputeSheetTiling()
{
    GetPrinterCaps(&physical_, &printable_, &xResolution_, &yResolution_, &offsetPixels_);
    pageWidth_ = int16_t(std::clamp(TruncToInt32(document_->PageGeometry().cardWidth), 0, int32_t(INT16_MAX)));
    pageHeight_ = int16_t(std::clamp(TruncToInt32(document_->PageGeometry().cardHeight), 0, int32_t(INT16_MAX)));
    paperWidth_ = int16_t(physical_.right + std::abs(physical_.left));
    paperHeight_ = int16_t(physical_.bottom + std::abs(physical_.top));
    if (paperWidth_ == 0 || paperHeight_ == 0) {
        tilesAcross_ = tilesDown_ = 1;
    } else {
        tilesAcross_ = int16_t(std::max(pageWidth_ - 1, 0) / paperWidth_ + 1);
        tilesDown_ = int16_t(std::max(pageHeight_ - 1, 0) / paperHeight_ + 1);
    }
    // The document keeps where its centred grid starts on this paper; the
    // sheet drawing adds it to every cell.
    uint8_t layout[kLabelTypeSize];
    document_->GetLabelLayout(layout);
    int32_t left = 0, top = 0;
    if (GetU32LE(layout + kLabelTypeCenteringOffset) != 0) {
        LabelTypeRecord record;
        LabelTypeDecode(layout, &record);
        double x = 0, y = 0;
        CenterLabelGrid(&record, paperWidth_, paperHeight_, &x, &y);
        left = TruncToInt32(x);
        top = TruncToInt32(y);
    }
    document_->SetCentringOffsets(left, top);
}

int32_t PrintManager::Print(QWidget* owner, int16_t currentPage)
{
    const uint8_t* layout = document_->LabelLayout();
    const int32_t columns = GetI16LE(layout + kLabelTypeColumnsOffset);
    const int32_t rows = GetI16LE(layout + kLabelTypeRowsOffset);
    const int32_t cellsPerSheet = columns * rows;
    int32_t cardPages = document_->GetPageCount();
    lastLosses_ = PrintLosses{};
    // The card's paper is its job's: the printer keeps its own after it.
    const OwnPrinterPageAfterwards ownPage;

    std::memcpy(job_.layout, layout, kLabelTypeSize);
    job_.databaseOrdinal = int16_t(GetCurrentDatabaseOrdinal());
    job_.noDatabase = IsCurrentDatabaseSuppressed() ? 1 : 0;
    cardPageIndex_ = currentPage;

    ApplyPaperAndOrientation();
    job_.printer.reset();
    job_.postScriptFile.clear();
    // Copies are asked for each job: the first-card choice is what the
    // next dialog shows again, not the copies of the job before.
    job_.copies = 1;
    const PrintDialogRunner& runner = DialogRunner();
    // The Print dialog asks the print system afresh; a print from the
    // command line asked before it started.
    if (!runner)
        AskBeforeJobSetUp();
    const int32_t answer = runner ? runner(owner, &job_) : DoPrintDialog(owner, &job_);
    if (answer != 1 || !job_.printer) {
        job_.printer.reset();
        return kPrintDialogCancelled;
    }
    // A job on a queue asks the print system about it afresh, once; a file
    // asks nothing of it.
    if (!JobQueue(job_.printer.get()).isEmpty())
        StartQueueJob();
    // A layout the label dialogs cannot make (a damaged document) has no
    // sheet to count; printing it would loop over nothing or forever.
    if (const std::string why = NoCardOnSheetText(layout); !why.empty()) {
        job_.printer.reset();
        lastResult_ = kPrintNoCardOnSheet;
        AlertStop(why.c_str(), 0);
        return kPrintDone;
    }
    // A page the sheets ask for that the file lacks would print as another
    // page or as nothing, the job going on as if whole.
    if (const std::string why = MissingPageText(document_, job_.side != kPrintSideNotAsked ? job_.side : 0);
        !why.empty()) {
        job_.printer.reset();
        lastResult_ = kPrintPageMissing;
        AlertStop(why.c_str(), 0);
        return kPrintDone;
    }
    if (job_.side != kPrintSideNotAsked)
        cardPageIndex_ = int16_t(document_->PageGeometry().firstPage + job_.side - 1);
    int32_t from = job_.from == 0 ? 1 : job_.from;
    int32_t to = job_.to == 0 || job_.to > kPrintMaxRecord ? kPrintMaxRecord : job_.to;
    firstCardColumn_ = job_.firstCardColumn;
    firstCardRow_ = job_.firstCardRow;

    if (job_.databaseOrdinal > 0)
        ActivateOpenDatabase(job_.databaseOrdinal);
    if (ApplyPendingDatabaseSort() != 0) {
        job_.printer.reset();
        return kPrintDone;
    }
    // Whether cards take records is settled by the database the dialog
    // left current, which may not be the one current before it.
    const bool withDatabase = GetCurrentDatabaseDoc() != nullptr;
    // A damaged database has lost its selection: its cards would come out
    // blank.
    if (CurrentDatabaseDamaged()) {
        char name[256] = {};
        GetCurrentDatabaseName(name);
        DatabaseErrorBox(AboutFile(name).c_str(), 8);
        lastResult_ = kPrintDatabaseDamaged;
        job_.printer.reset();
        return kPrintDone;
    }
    if (CurrentSelectionFailed()) {
        lastResult_ = kPrintSelectionFailed;
        ReportPrintError(lastResult_);
        job_.printer.reset();
        return kPrintDone;
    }
    const int32_t count = GetCurrentLiveRecordCount();
    if (from > to)
        std::swap(from, to);
    const bool printAll = from == 1 && to == kPrintMaxRecord;
    if (withDatabase)
        to = std::min(to, count);
    else if (printAll)
        to = std::min(to, cellsPerSheet);

    inJob_ = true;
    ApplyPaperAndOrientation();
    ApplyPrinterSettings(job_.printer.get());
    if (!GetPrinterHandles())
        ApplyLayoutPaper(job_.printer.get());
    FitPrinterMargins(job_.printer.get());
    ComputeSheetTiling();
    // Rows that lie off the paper would print as nothing at all: the user
    // hears of it before the job goes, and may stop it.
    // The paper's exact size: the whole points of the tiling fall short of
    // A4 by most of a point.
    const QSizeF paper = job_.printer->pageLayout().fullRect(QPageLayout::Point).size();
    const SheetFit fit = CheckSheetFit(document_, paper.width(), paper.height());
    if (!fit.Fits() && AlertConfirm(SheetFitText(*document_, fit, paper.width(), paper.height()).c_str(), 0) != 1) {
        inJob_ = false;
        lastResult_ = kPrintSheetDoesNotFit;
        job_.printer.reset();
        return kPrintDone;
    }
    if (printAll) {
        from = 1;
        to = withDatabase ? count : cellsPerSheet;
    }

    int32_t skip = 0;
    if (job_.firstCardMode == kFirstCardManual) {
        if (firstCardRow_ > 0)
            skip += (firstCardRow_ - 1) * columns;
        if (firstCardColumn_ > 0)
            skip += firstCardColumn_ - 1;
    } else {
        skip = LabelGridCountCells(job_.firstCardGrid);
        firstCardColumn_ = 0;
        firstCardRow_ = 0;
    }
    skipCount_ = int16_t(std::clamp(skip, 0, cellsPerSheet));

    const int32_t range = to - from + 1;
    if (job_.side != kPrintSideNotAsked)
        cardPages = 1;
    const PrintSheetCount sheets = CountPrintSheets(range, cellsPerSheet, skipCount_, withDatabase, printAll, cardPages);
    // Cards are skipped on the first printed page only: every copy after
    // the first fills its sheets from the first cell.
    const PrintSheetCount unskipped = CountPrintSheets(range, cellsPerSheet, 0, withDatabase, printAll, cardPages);
    if (!withDatabase) {
        to = range;
        from = 1;
    }

    // Fill patterns are blown up once for the job, not per page.
    const int32_t resolution = std::min(xResolution_, yResolution_);
    ScalePatternBitmaps(uint16_t(std::max(resolution / 72, 1)));
    const int32_t pages = std::clamp(sheets.pages, 0, int32_t(INT16_MAX));
    const int32_t laterPages = std::clamp(unskipped.pages, 0, int32_t(INT16_MAX));
    // What killed prints left among the temporary files goes as this one
    // starts.
    PathRecord temp{};
    if (GetSystemTempFolder(&temp) == 0)
        RemoveOwnLeftovers(&temp);
    TakePicturesNotPrinted();
    TakePrintLosses();
    PictureJobMemory::Shared().BeginJob();
    PictureFileLookup::Shared().BeginJob();
    const int32_t result = PrintJob(owner, int16_t(pages), int16_t(laterPages), from, to);
    const PicturesNotPrinted missing = TakePicturesNotPrinted();
    lastLosses_ = TakePrintLosses();
    const std::string epsFailures = PictureJobMemory::Shared().EndJob();
    PictureFileLookup::Shared().EndJob();
    ScalePatternBitmaps(1);
    inJob_ = false;

    lastResult_ = result;
    ReportPrintError(result);
    if (result == 0 && missing.count > 0)
        AlertNote(PicturesNotPrintedText(missing).c_str(), 0);
    if (result == 0 && !epsFailures.empty())
        AlertNote(epsFailures.c_str(), 0);
    if (result == 0)
        SayPrintLosses(lastLosses_);
    job_.printer.reset();
    return kPrintDone;
}

int32_t PrintManager::PrintJob(QWidget* owner, int16_t pages, int16_t laterPages, int32_t from, int32_t to)
{
    constexpr int16_t firstPage = 1;
    const int32_t copies = std::max(job_.copies, 1);
    const int16_t cardPages = job_.side != kPrintSideNotAsked ? int16_t(1) : document_->GetPageCount();
    const int16_t keptSkip = skipCount_;
    const int32_t keptColumn = firstCardColumn_, keptRow = firstCardRow_;
    overlap_ = int16_t(std::clamp(TruncToInt32(PrintSettingsOverlap(Settings())), -10000, 10000));
    pagesPrinted_ = 0;

    std::string name = document_->HasPath() ? PathRecordToPosix(document_->Path()) : document_->Title();
    if (name.size() > 255)
        name.resize(255);
    const int32_t pagesInJob = std::max<int32_t>(pages, 0) + (copies - 1) * std::max<int32_t>(laterPages, 0);
    std::unique_ptr<PrintProgress> progress = MakePrintProgress(owner, name.c_str(), pagesInJob * 2);

    QPrinter* printer = job_.printer.get();
    // The printer's queue shows the job by the document's file name; its
    // folders say nothing there.
    char fileName[512] = {};
    if (document_->HasPath())
        PathRecordGetFileName(&document_->Path(), fileName, sizeof fileName);
    // Both are the program's own text (Windows-1252), never the locale's.
    printer->setDocName(Cp1252ToQString(fileName[0] ? fileName : document_->Title().c_str()));
    std::unique_ptr<Dc> dc = MakePrintJobDc(printer, job_.postScriptFile);
    if (!dc || !dc->beginOutput())
        return dc && dc->outputError() != 0 ? dc->outputError() : -1;
    // The sheet's corner where the job's output puts it: each output knows
    // where its own drawing starts (Qt's on whole points of the margins).
    offsetPixels_ = IntPoint{dc->getDeviceCaps(PHYSICALOFFSETX), dc->getDeviceCaps(PHYSICALOFFSETY)};
    const int16_t outputMode = dc->supportsPostScriptPassThrough() ? 3 : 1;

    LentPrintView lentView(document_);
    int32_t result = 0;
    // The progress counts the pages of the whole job, every copy's, as its
    // bar does.
    int32_t pagesBefore = 0;
    for (int32_t copy = 0; copy < copies && result == 0; ++copy) {
        document_->Frames()->SetCounterValueAll(0);
        const int32_t lastPage = firstPage - 1 + (copy == 0 ? pages : laterPages);
        for (int32_t page = firstPage; page <= lastPage; ++page) {
            progress->SetPage(pagesBefore + page - firstPage + 1);
            if (progress->IsCancelled() || StopRequested()) {
                result = kPrintCancelledByUser;
                break;
            }
            if (copy > 0) {
                // No cell is skipped and the sheet starts at its first.
                firstSheet_ = 0;
                skipCount_ = 0;
                firstCardColumn_ = 1;
                firstCardRow_ = 1;
            } else if (page > firstPage + cardPages - 1) {
                firstSheet_ = 0;
                skipCount_ = keptSkip;
                firstCardColumn_ = 1;
                firstCardRow_ = 1;
            } else {
                firstSheet_ = 1;
                skipCount_ = 0;
                firstCardColumn_ = keptColumn;
                firstCardRow_ = keptRow;
            }
            result = PrintPage(dc.get(), int16_t(page), outputMode, from, to);
            // A record that could not be read damages the database and
            // would print as a blank card: the job stops there.
            if (result == 0 && CurrentDatabaseDamaged())
                result = kPrintDatabaseDamaged;
            if (result == 0 && CurrentSelectionFailed())
                result = kPrintSelectionFailed;
            if (result == 0 && (progress->IsCancelled() || StopRequested()))
                result = kPrintCancelledByUser;
            if (result != 0)
                break;
        }
        pagesBefore += lastPage - firstPage + 1;
    }
    skipCount_ = keptSkip;
    firstCardColumn_ = keptColumn;
    firstCardRow_ = keptRow;

    // Only a whole job is written or reaches the printer's queue; one that
    // stopped leaves a file already under its name as it was.
    if (result == 0) {
        if (!dc->flush())
            result = dc->outputError() != 0 ? dc->outputError() : 1;
        dc.reset();
        if (result == 0 && printer->printerState() == QPrinter::Error)
            result = 1;
    } else {
        dc.reset();
    }
    document_->Frames()->SetCounterValueAll(0);
    return result;
}

int32_t PrintManager::PrintPage(Dc* dc, int16_t page, int16_t outputMode, int32_t from, int32_t to)
{
    const bool tiling = PrintSettingsTile(Settings()) && NeedsTiling();
    const int32_t across = tiling ? tilesAcross_ : 1;
    const int32_t down = tiling ? tilesDown_ : 1;
    const int32_t resolution = std::max(std::min(xResolution_, yResolution_), 1);
    for (int32_t row = 0; row < down; ++row) {
        for (int32_t column = 0; column < across; ++column) {
            // The window's origin in device pixels. A page that is not
            // tiled starts at the printer's own offset, exactly: a whole
            // point of it would move every label by up to a point.
            int32_t windowX = 0, windowY = 0;
            if (tiling) {
                const int32_t overlapX = column == 0 ? 0 : overlap_;
                const int32_t overlapY = row == 0 ? 0 : overlap_;
                const int32_t originX =
                    paperWidth_ * column + (column == 0 ? 0 : 2 * (column + 1) * physical_.left - 1) - overlapX;
                const int32_t originY =
                    paperHeight_ * row + (row == 0 ? 0 : 2 * (row + 1) * physical_.top - 1) - overlapY;
                windowX = int32_t(int64_t(originX) * resolution / 72);
                windowY = int32_t(int64_t(originY) * resolution / 72);
            } else {
                windowX = offsetPixels_.x - int32_t(int64_t(centreX_) * resolution / 72);
                windowY = offsetPixels_.y - int32_t(int64_t(centreY_) * resolution / 72);
            }
            // Every sheet after the job's first one starts a new page.
            if (pagesPrinted_ > 0 && !dc->newPage())
                return 1;
            ++pagesPrinted_;
            dc->setMapMode(MM_TEXT);
            dc->setWindowOrg(windowX, windowY);
            dc->selectClipRgn(nullptr);
            dc->setTextAlign(TA_BASELINE | TA_UPDATECP);
            dc->setBkColor(kWhite);

            FrameView* view = document_->View();
            if (view)
                view->PushDrawTarget(dc, 0);
            const int32_t firstCard[2] = {firstCardColumn_, firstCardRow_};
            document_->DrawSheet(dc, int16_t(xResolution_), int16_t(yResolution_), page, outputMode, skipCount_,
                                 firstCard, job_.firstCardGrid, from, to, firstSheet_,
                                 job_.side != kPrintSideNotAsked ? cardPageIndex_ : int16_t(0));
            if (view)
                view->PopDrawTarget();
            dc->setWindowOrg(0, 0);
            dc->selectClipRgn(nullptr);
            if (!tiling)
                return 0;
        }
    }
    return 0;
}

void PrintManager::ReportPrintError(int32_t result)
{
    if (result == 0)
        return;
    if (result == kPrintCancelledByUser)
        AlertNote(kCancelledText, 0);
    else if (result == kPrintDatabaseDamaged)
        return;
    else if (result == kPrintSelectionFailed)
        AlertStop(kSelectionFailedText, 0);
    else if (result == kErrDiskFull)
        AlertStop(LookupString(kDiskFullString), 0);
    else if (result == kErrWriteProtect)
        AlertStop(LookupString(kWriteProtectedString), result);
    else if (result == kErrAccessDenied)
        AlertStop(LookupString(kPermissionString), 0);
    else if (const std::string folder = MissingOutputFolder(); result == kErrPathNotFound && !folder.empty())
        AlertStop(("Nothing was printed: the folder \"" + folder +
                   "\" that the output goes to does not exist. Choose a folder that does, or make this one.")
                      .c_str(),
                  0);
    else if (result == kErrCantResolveFilename && !OutputFile().isEmpty())
        AlertStop(("Nothing was printed: \"" + QStringToCp1252(QFileInfo(OutputFile()).fileName()) +
                   "\" is a link that leads back to itself (its links name each other in a loop).")
                      .c_str(),
                  0);
    else if (result == kErrFilenameExceedsRange && !OutputFile().isEmpty())
        AlertStop(PathTooLongText(OutputFile()).c_str(), result);
    else if ((result == kErrIsFolder || result == kErrIsPipe || result == kErrIsDevice || result == kErrIsSocket ||
              result == kErrInvalidName) &&
             !OutputFile().isEmpty())
        // "folder/" names the folder.
        AlertStop(NothingWasPrinted(FileErrorTextAbout(
                                        QStringToCp1252(QFileInfo(QDir::cleanPath(OutputFile())).fileName()).c_str(),
                                        result))
                      .c_str(),
                  result);
    else if (const QString silence = PrintServerSilenceText();
             !silence.isEmpty() && !JobQueue(job_.printer.get()).isEmpty())
        // The server took the job's first questions and then held it.
        AlertStop(silence.toUtf8().constData(), 0);
    else
        AlertStop(kErrorText, result);
}

QString PrintManager::OutputFile() const
{
    QString file = job_.postScriptFile;
    if (file.isEmpty() && job_.printer)
        file = job_.printer->outputFileName();
    return file;
}

std::string PrintManager::MissingOutputFolder() const
{
    const QString file = OutputFile();
    if (file.isEmpty() || QFileInfo(QFileInfo(file).absolutePath()).isDir())
        return {};
    return QStringToCp1252(QFileInfo(file).absolutePath());
}
