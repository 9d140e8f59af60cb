#include "platform/print_job_dc.h"

#include <QCoreApplication>
#include <QPrinter>

#include "platform/cups_queue.h"
#include "platform/dc.h"
#include "platform/postscript_job.h"

std::unique_ptr<Dc> MakePrintJobDc(QPrinter* printer, const QString& postScriptFile)
{
    if (!printer)
        return nullptr;
    const bool toQueue = postScriptFile.isEmpty() && printer->outputFormat() == QPrinter::NativeFormat &&
                         CupsQueueTakesPostScript(printer->printerName());
    if (postScriptFile.isEmpty() && !toQueue)
        return Dc::ForPrintJob(printer);
    PostScriptJobSettings settings;
    settings.layout = printer->pageLayout();
    settings.resolution = printer->resolution();
    settings.title = printer->docName();
    settings.creator = printer->creator().isEmpty() ? QCoreApplication::applicationName() : printer->creator();
    if (toQueue) {
        settings.queue = printer->printerName();
        settings.copies = printer->copyCount();
    }
    else
        settings.path = postScriptFile;
    return Dc::ForPostScript(settings);
}
