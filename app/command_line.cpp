#include "app/command_line.h"

#include <QPrinter>
#include <QString>

#include "app/card_app.h"
#include "app/card_document_kind.h"
#include "carddoc/labels_doc.h"
#include "carddoc/print_commands.h"
#include "carddoc/print_manager.h"
#include "foundation/alerts.h"
#include "platform/print_printer.h"
#include "platform/printer_handles.h"
#include "records/print_job_side.h"

namespace {

bool Is(const std::string& argument, const char* name)
{
    return argument.size() > 1 && (argument[0] == '/' || argument[0] == '-') && argument.substr(1) == name;
}

// "/p", "-pt", "/dde": a slash or dash and a word. A path such as "/tmp/a"
// is a file; anything else after a dash is an option this program ignores.
bool IsSwitch(const std::string& argument)
{
    if (argument.size() < 2)
        return false;
    if (argument[0] == '-')
        return true;
    return argument[0] == '/' && argument.find('/', 1) == std::string::npos &&
           argument.find('.') == std::string::npos;
}

}  // namespace

CommandLineRecord ParseCommandLine(const std::vector<std::string>& arguments)
{
    CommandLineRecord line;
    std::vector<std::string> names;
    for (const std::string& argument : arguments) {
        if (!IsSwitch(argument)) {
            names.push_back(argument);
            continue;
        }
        if (Is(argument, "-help") || Is(argument, "h") || Is(argument, "?")) {
            line.action = CommandLineRecord::kUsage;
            return line;
        }
        if (Is(argument, "p") && line.action == CommandLineRecord::kOpen)
            line.action = CommandLineRecord::kPrint;
        else if (Is(argument, "pt"))
            line.action = CommandLineRecord::kPrintTo;
        if (Is(argument, "p") || Is(argument, "pt") || Is(argument, "dde") || Is(argument, "Embedding") ||
            Is(argument, "Automation"))
            line.quiet = true;
    }
    if (line.action == CommandLineRecord::kPrintTo) {
        // FILE PRINTER [DRIVER PORT]
        if (!names.empty())
            line.files.push_back(names[0]);
        if (names.size() > 1)
            line.printerName = names[1];
        return line;
    }
    line.files = std::move(names);
    return line;
}

const char* CommandLineUsage()
{
    return "Usage: tessaline [FILE...]\n"
           "       tessaline /p FILE\n"
           "       tessaline /pt FILE PRINTER\n"
           "Opens the card documents (.lqx) and databases (.dqx) named. With /p a sheet of the\n"
           "card document FILE is printed on the default printer, with /pt on the printer named,\n"
           "and the program ends without showing its window.\n";
}

void ChooseCommandLinePrinter(const CommandLineRecord& line)
{
    if (!qEnvironmentVariable(kPrintToPdfVariable).isEmpty())
        return;
    // The program runs for this one job: what the print system says of the
    // queue from now on serves it, and is not asked again as it starts.
    if (line.action == CommandLineRecord::kPrint)
        ChoosePrinterForJob(QString());
    else if (!line.printerName.empty())
        ChoosePrinterForJob(QString::fromLocal8Bit(line.printerName.c_str()));
}

int32_t PrintFromCommandLine(CCardApp* app, const CommandLineRecord& line)
{
    if (line.files.empty()) {
        AlertStop("Name the card document to print after /p or /pt.", 0);
        return 1;
    }
    const std::string& file = line.files.front();
    const QString pdf = qEnvironmentVariable(kPrintToPdfVariable);
    const QString printerName = QString::fromLocal8Bit(line.printerName.c_str());
    if (pdf.isEmpty()) {
        // Asked on a connection that gives up on a silent server, before
        // Qt's print support asks on one that waits.
        const bool named = line.action == CommandLineRecord::kPrintTo;
        const QString why = named && printerName.isEmpty()
                                ? "The printer \"\" is not installed."
                                : PrinterUnavailableText(named ? printerName : QString());
        if (!why.isEmpty()) {
            AlertStop(why.toUtf8().constData(), 0);
            return 1;
        }
    }
    // The printer named prints on its own paper, as one chosen in the
    // Print dialog does.
    ChooseCommandLinePrinter(line);

    DocManager& documents = app->Documents();
    DocTemplate* kind = documents.TemplateForFile(file);
    if (!kind || kind->String(DocTemplate::kRegFileTypeId) != "TessalineLB") {
        AlertStop((file + "\nOnly card documents (.lqx) can be printed from the command line.").c_str(), 0);
        return 1;
    }
    // The document opens without a window on the screen, as the job needs
    // nothing more of it.
    auto* card = dynamic_cast<CardShellDocument*>(documents.OpenDocument(kind, file, false));
    if (!card)
        return 1;
    // A card the opening found damaged (it has said so) is not what was
    // saved: it is not printed, and the script running us hears that.
    if (card->Document()->FoundDamaged()) {
        documents.CloseDocument(card);
        return 1;
    }

    bool printerMade = false;
    PrintDialogRunner previous = SetPrintDialogRunner([&](QWidget*, PrintJobRecord* job) {
        job->printer = MakeJobPrinter(pdf, printerName);
        job->from = 0;
        job->to = 0;
        job->copies = 1;
        // The sheets the Print dialog would send as it opens: one side.
        SettleJobSide(job);
        printerMade = job->printer != nullptr;
        return printerMade ? 1 : 0;
    });
    PrintSheetOfDocument(card->Document(), nullptr);
    SetPrintDialogRunner(std::move(previous));
    const bool printed = printerMade && card->Document()->Printer().LastResult() == 0;
    if (!printerMade) {
        // A server that held Qt's print support past the bound is named.
        const QString silence = PrintServerSilenceText();
        AlertStop(silence.isEmpty() ? "Error while printing." : silence.toUtf8().constData(), 0);
    }
    documents.CloseDocument(card);
    return printed ? 0 : 1;
}
