// The printer settings the application holds, and the printers it asks.
#pragma once

#include "platform/printer_caps.h"
#include "platform/printer_settings.h"

// The application's printer settings, taken from the default printer the
// first time they are asked for; null while no printer is installed.
// Their paper and orientation are the printer's own (its queue's, or what
// Page Setup chose) with what the card being set up or printed fixes put
// over them: a card's paper is for that card only.
PrinterSettings* GetPrinterHandles();

// Back to the printer's own paper and orientation, before a card puts its
// own over them and once it is done with them.
void UsePrinterOwnPage();
// What Page Setup chose (the paper, the orientation, or both) is the
// printer's own from now on, for every card that leaves it open.
void KeepAsPrinterOwnPage(bool paper, bool orientation);

// Goes back to the printer's own paper and orientation when it goes: held
// while a card's page is put over them and read.
class OwnPrinterPageAfterwards {
public:
    OwnPrinterPageAfterwards() = default;
    ~OwnPrinterPageAfterwards() { UsePrinterOwnPage(); }
    OwnPrinterPageAfterwards(const OwnPrinterPageAfterwards&) = delete;
    OwnPrinterPageAfterwards& operator=(const OwnPrinterPageAfterwards&) = delete;
};

// The printer chosen for a job (in the Print dialog, or named on the
// command line) is the application's printer from then on, with the
// settings it starts with (its own paper and orientation), as a print
// dialog hands back the chosen printer's settings. The printer already
// held keeps its settings, with what Page Setup chose. False, changing
// nothing, for a printer that is not there.
bool ChoosePrinter(const QString& device);
// The same for the job about to start (a print from the command line, or
// one the Print dialog sends to a queue): what the print system says of
// the printer from now on serves that job, which does not ask it again.
// An empty name keeps the application's printer (the default one unless
// another was chosen); false when there is none.
bool ChoosePrinterForJob(const QString& device);
// Starts asking for the default printer without waiting for it: until the
// answer is in, the application has no printer (GetPrinterHandles returns
// null) rather than waiting on the print system.
void AskPrinterAhead();
// Whether the default printer asked for ahead has not answered yet: what
// only shows a card takes what it knows (the card's own paper, else the
// locale's) rather than waiting, and is measured again once it answers.
bool PrinterAnswerPending();

// The printers the settings come from and are checked against.
const PrinterCaps& CurrentPrinterCaps();

// Asks another set of printers from now on (tests; the caller keeps it
// alive); null goes back to the printers of this computer. The settings
// held so far are dropped.
void SetPrinterCaps(const PrinterCaps* caps);
