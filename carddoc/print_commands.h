// The print commands of a card window, for the card document's command
// route: Document From Database, Print BulkMail Labels, Sheet of Active
// Document, Default Card Info, Print Preview and Print Options. Each sets
// the program-wide print flags it needs around the document's print job
// and clears them again, whatever the job does.
#pragma once

#include <cstdint>

#include "records/command_ids.h"

struct CmdUI;
class CLabelsDoc;
class QWidget;

// True when id is one of these commands; it has then been carried out.
// owner is the window the job's dialogs belong to.
bool OnCardPrintCommand(CLabelsDoc* document, uint32_t id, QWidget* owner);
// True when ui.id is one of these commands; its state is then set.
bool OnUpdateCardPrintCommand(CLabelsDoc* document, CmdUI& ui);

// The command workers.
int32_t PrintFromDatabase(CLabelsDoc* document, QWidget* owner);
int32_t PrintBulkMailLabels(CLabelsDoc* document, QWidget* owner);
int32_t PrintSheetOfDocument(CLabelsDoc* document, QWidget* owner);
int32_t PrintDefaultCardInfo(CLabelsDoc* document, QWidget* owner);
// The page's print options in the Print Options dialog; true after OK.
bool EditPrintOptions(CLabelsDoc* document, QWidget* owner);
