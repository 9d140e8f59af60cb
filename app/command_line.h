// The program's command line: the documents to open, or one card document
// to print without showing the program ("/p FILE" on the default printer,
// "/pt FILE PRINTER" on the printer named: what the desktop's Print action
// runs), or a request for the usage text.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class CCardApp;

struct CommandLineRecord {
    enum Action {
        kOpen,
        kPrint,
        kPrintTo,
        kUsage,
    };
    Action action = kOpen;
    // The files named, in order; printing takes the first.
    std::vector<std::string> files;
    // "/pt": the printer; a driver and port after it are taken and ignored.
    std::string printerName;
    // A switch that runs the program unattended: no splash picture.
    bool quiet = false;
};

CommandLineRecord ParseCommandLine(const std::vector<std::string>& arguments);

// What "tessaline --help" prints.
const char* CommandLineUsage();

// Where a command-line print job goes when this environment variable names
// a file: a PDF file there instead of a printer. Machines without a print
// system use it, and so do the tests.
constexpr const char* kPrintToPdfVariable = "TESSALINE_PRINT_PDF";

// Prints the first file of the record, a card document, as File > Print >
// "Sheet of Active Document..." does but without the Print dialog, and
// closes it again. The program's exit code: 0 when the sheet was printed,
// 1 when it was not (the user has been told why).
int32_t PrintFromCommandLine(CCardApp* app, const CommandLineRecord& line);
// The printer /pt names becomes the application's before anything asks for
// the default one, which that print does not print on.
void ChooseCommandLinePrinter(const CommandLineRecord& line);
