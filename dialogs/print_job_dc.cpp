#include "dialogs/print_job_dc.h"

#include <QCoreApplication>
#include <QPrinter>

#include "pdf/pdf_print_job.h"
#include "platform/dc.h"
#include "platform/print_printer.h"
#include "postscript/postscript_job.h"
#include "printqueue/cups_queue.h"

std::unique_ptr<Dc> MakePrintJobDc(QPrinter* printer, const QString& postScriptFile)
{
    if (!printer)
        return nullptr;
    const QString queue = postScriptFile.isEmpty() ? JobQueue(printer) : QString();
    const bool toQueue = CupsQueueTakesPostScript(queue);
    if (postScriptFile.isEmpty() && !toQueue)
        return PdfPrintJobDc(printer);
    PostScriptJobSettings settings;
    settings.layout = printer->pageLayout();
    settings.resolution = printer->resolution();
    settings.title = printer->docName();
    settings.creator = printer->creator().isEmpty() ? QCoreApplication::applicationName() : printer->creator();
    if (toQueue) {
        settings.queue = queue;
        settings.copies = printer->copyCount();
    } else {
        settings.path = postScriptFile;
    }
    return PostScriptJobDc(settings);
}
