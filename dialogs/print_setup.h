// File > Print Setup: the printer, paper and orientation the program prints
// with from now on, chosen in the system's page set-up dialog.
#pragma once

#include <cstdint>

class QWidget;

// A page set-up's choice: an entry of the paper table, and 1 for portrait
// or 2 for landscape (as label layouts store them).
// A part the card's label layout fixes is shown fixed and kept as it is.
struct PageChoice {
    int32_t paper = 1;
    int32_t orientation = 1;
    bool paperFixed = false;
    bool orientationFixed = false;
};

// True after OK, the application's printer settings then holding the
// choice; false when cancelled or when there is no printer to set up.
// With a card's page (`page`), what its label layout fixes is shown fixed
// and left as it is. Without a printer, that page is still chosen, for the
// PDF and PostScript files it prints to; true after OK with the choice in
// *page.
bool DoPrintSetup(QWidget* owner, PageChoice* page = nullptr);
