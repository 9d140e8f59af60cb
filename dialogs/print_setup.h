// File > Print Setup: the printer, paper and orientation the program prints
// with from now on, chosen in the system's page set-up dialog.
#pragma once

class QWidget;

// True after OK, the application's printer settings then holding the
// choice; false when cancelled or when there is no printer to set up.
bool DoPrintSetup(QWidget* owner);
