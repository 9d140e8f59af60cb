// print-pdf FILE.lqx [DB.dqx] OUT.pdf [--copies N]: prints the sheets of a
// card document into a PDF file, as the Print command does with "Print to
// file": every record of the database (the whole database, one record per
// card, N copies of each; 1 unless given) or, without one, one sheet of the
// card. The database is only read. A job in which a barcode could not be
// made, or ran past its label and was cut, is written whole and says so;
// the exit status is then 2. print-ps writes the same job as
// PostScript, as the program sends it to a printer that takes PostScript
// (EPS pictures and power text as their own PostScript). Works with a
// program folder of its own, so that neither the user's preferences nor
// their window records are read or changed.

#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "carddoc/labels_doc.h"
#include "carddoc/labels_doc_registry.h"
#include "carddoc/print_manager.h"
#include "database/db_document.h"
#include "database/open_database_registry.h"
#include "foundation/file_io.h"
#include "foundation/path_record.h"
#include "foundation/scratch_mark.h"
#include "foundation/stop_request.h"
#include "foundation/program_folder.h"
#include "graphics/fill_patterns.h"
#include "platform/print_printer.h"
#include "printqueue/cups_queue.h"
#include "card_verdict.h"
#include "offscreen_application.h"
#include "tool_command.h"

namespace {

// The exit status of a job written whole in which a barcode could not be
// made or was cut (1: nothing was printed).
constexpr int kBarcodeNotMade = 2;

class PrintSession {
public:
    PrintSession()
    {
        app_ = StartOffscreenGuiApplication();
        // A killed print's folder is cleared by the next print or start.
        MarkOwnScratch(QFile::encodeName(folder_.path()).toStdString());
        SetProgramFolderForTesting(folder_.path().toStdString());
        // The fill patterns are numbered as the program numbers them.
        SetUseHatchBrushes(true);
        // Of the print system only the default paper is wanted.
        AskQueuePaperAlone();
    }
    ~PrintSession()
    {
        SetPrintDialogRunner(nullptr);
        SetCurrentDatabase(nullptr);
        SetProgramFolderForTesting("");
    }
    PrintSession(const PrintSession&) = delete;
    PrintSession& operator=(const PrintSession&) = delete;

private:
    std::unique_ptr<QGuiApplication> app_;
    QTemporaryDir folder_;
};

int PrintOnce(const ToolArgs& given, bool postScript)
{
    const char* usage = postScript ? "usage: print-ps FILE.lqx [DB.dqx] OUT.ps [--copies N]"
                                   : "usage: print-pdf FILE.lqx [DB.dqx] OUT.pdf [--copies N]";
    ToolArgs args = given;
    int32_t copies = 1;
    if (args.size() >= 2 && args[args.size() - 2] == "--copies") {
        copies = std::atoi(args.back().c_str());
        if (copies < 1 || copies > 9999)
            return ToolFail(usage);
        args.resize(args.size() - 2);
    }
    if (args.size() != 2 && args.size() != 3)
        return ToolFail(usage);
    const std::string& cardPath = args[0];
    const std::string* databasePath = args.size() == 3 ? &args[1] : nullptr;
    const QString out = QString::fromLocal8Bit(args.back().c_str());

    PrintSession session;
    PathRecord path{};
    if (const int32_t err = PathRecordFromPosix(cardPath, &path); err != 0)
        return ToolFail(cardPath + ": " + FileErrorWords(err) + " Nothing is printed.");
    // A card that is not whole is not printed: nothing is written, and a
    // file already under the output's name stays as it was.
    CardVerdict verdict = CardVerdict::kGood;
    std::unique_ptr<CLabelsDoc> document = OpenJudgedCard(path, &verdict);
    if (!document)
        return ToolFail(cardPath + " " + CardRefusal(verdict) + ": nothing is printed");

    DbDocument database;
    if (databasePath) {
        PathRecord dbPath{};
        // Only read: the database may be one the user may not change, or
        // on a full disk; its index is built among the temporary files.
        if (PathRecordFromPosix(*databasePath, &dbPath) != 0 || !database.Open(dbPath, true))
            return ToolFail("cannot open " + *databasePath);
        // Its cards would print blank; opening it has said why.
        if (database.Data().DataMark())
            return 1;
        SetCurrentDatabase(&database);
    }

    SetPrintDialogRunner([&out, copies, postScript](QWidget*, PrintJobRecord* job) {
        job->printer = postScript ? MakePostScriptFilePrinter() : MakeJobPrinter(out, QString());
        if (postScript)
            job->postScriptFile = out;
        job->from = 0;
        job->to = 0;
        job->copies = copies;
        return job->printer ? 1 : 0;
    });
    document->InitialUpdate();
    const int32_t result = document->PrintDocument(nullptr);
    PrintManager& printer = document->Printer();
    SetCurrentDatabase(nullptr);
    database.Close();
    if (result != kPrintDone)
        return ToolFail("the print job did not start");
    // The database message has told why.
    if (printer.LastResult() == kPrintDatabaseDamaged || printer.LastResult() == kPrintSelectionFailed)
        return 1;
    // The question has named the rows that would be lost; it is declined
    // here, as the tool answers every question.
    if (printer.LastResult() == kPrintSheetDoesNotFit)
        return ToolFail("the sheet does not fit its paper: nothing is printed");
    // The print's message has said why (a cancel, a full disk, ...).
    if (printer.LastResult() != 0)
        return 1;
    std::printf("%d pages\n", printer.PagesPrinted());
    // The file is whole, but labels carry failure boxes or cut bars where
    // barcodes were wanted; the message has said which.
    if (printer.LastLosses().barcodes > 0 || printer.LastLosses().cutBarcodes > 0)
        return kBarcodeNotMade;
    return 0;
}

// A print told to end (terminated, or its terminal gone) stops as a
// cancelled one, clearing its scratch files, and then ends as told.
int RunPrint(const ToolArgs& args, bool postScript)
{
    CatchStopRequests();
    const int status = PrintOnce(args, postScript);
    EndIfStopRequested();
    return status;
}

int RunPrintPdf(const ToolArgs& args) { return RunPrint(args, false); }
int RunPrintPs(const ToolArgs& args) { return RunPrint(args, true); }

}  // namespace

TESSALINE_TOOL_COMMAND("print-pdf",
                       "print-pdf FILE.lqx [DB.dqx] OUT.pdf [--copies N]  (exit status 2: written, but a barcode "
                       "could not be made or was cut at its label)",
                       RunPrintPdf);
TESSALINE_TOOL_COMMAND("print-ps",
                       "print-ps FILE.lqx [DB.dqx] OUT.ps [--copies N]  (exit status 2: written, but a barcode could "
                       "not be made or was cut at its label)",
                       RunPrintPs);
