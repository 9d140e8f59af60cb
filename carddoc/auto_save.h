// Auto-save: a card document can save itself every n minutes. Each timed
// document has one timer, found again through a table of 20 (timer id,
// document) entries for the whole program; a timer whose id the table does
// not hold saves nothing.
#pragma once

#include <cstdint>

class CLabelsDoc;

constexpr int32_t kAutoSaveSlots = 20;

// Nothing for a null document or 0 minutes (a running timer of the
// document is then left alone). Otherwise the document's timer is stopped
// and a new one started with a period of minutes x 60000 ms.
void AutoSaveStart(CLabelsDoc* document, uint32_t minutes);
void AutoSaveStop(CLabelsDoc* document);

// The table.
bool AutoSaveAdd(uint32_t timer, CLabelsDoc* document);
void AutoSaveRemove(uint32_t timer);
CLabelsDoc* AutoSaveFindDocument(uint32_t timer);
uint32_t AutoSaveFindTimer(const CLabelsDoc* document);
// The period the timer of the document runs with, in ms; 0 when none.
int32_t AutoSaveInterval(const CLabelsDoc* document);

// A timer elapsed: its document saves itself to its current path (asking
// for a name when it has none).
void AutoSaveTimerProc(uint32_t timer);
