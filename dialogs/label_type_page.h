// The printer's page as the label dialogs show it: the paper's size and its
// printable area, in points; and the layout their sheet preview shows.
#pragma once

#include <functional>
#include <vector>

#include "dialogs/sheet_preview_wnd.h"
#include "foundation/int_geometry.h"
#include "records/label_stock.h"

// Fills paper and printable; false when there is no page to read.
using LabelPageReader = std::function<bool(IntSize* paper, IntRect* printable)>;

// Installs the reader the dialogs use (null restores the default) and
// returns the previous one.
LabelPageReader SetLabelPageReader(LabelPageReader reader);

// The page from the installed reader. The default one takes the paper and
// orientation of the application's printer settings, the whole sheet
// printable; US Letter, portrait, when there are no settings.
bool ReadLabelPrinterPage(IntSize* paper, IntRect* printable);

// The sheet a layout is printed on: the paper and the orientation it names;
// the printer's page (from ReadLabelPrinterPage, turned as the layout asks)
// for what it leaves to the printer.
void LabelStockPage(const LabelTypeRecord& record, IntSize printerPaper, IntSize* paper, IntRect* printable);

// What the sheet preview draws of a layout. A layout no sheet can have (a
// document may carry anything) shows as no cards at all rather than as a
// loop over millions of them.
SheetLabelLayout LabelSheetLayout(const LabelTypeRecord& record);

// The document formats the wizard's catalogue knows, which Document
// Settings lists after the two built-in layouts; none when the catalogue
// cannot be read.
std::vector<LabelTypeRecord> WizardDocumentFormats();
// Makes the Document Settings dialog list them (the program does this at
// start-up; off again with false).
void InstallWizardDocumentFormats(bool on);
