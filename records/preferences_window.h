// "QXDocPref", the program folder's file of window records: for every
// document path the place of its window, the page and zoom it showed, how
// it was scrolled and the state of its rulers, so that reopening a
// document restores its view (layout in preferences_format.h). Errors of
// this file are never shown; a document then opens with its default view.
#pragma once

#include <cstdint>
#include <string>

#include "foundation/int_geometry.h"
#include "foundation/path_record.h"
#include "records/preferences_format.h"

struct DocWndPref {
    uint32_t version = kPrefVersion;
    // 1 when no stored record applies; never stored.
    uint8_t notFound = 1;
    char path[kDocWndPathSize] = {};
    IntRect frameRect;
    int16_t page = 0;
    int16_t zoomNumerator = 0;
    int16_t zoomDenominator = 0;
    int16_t zoomMode = 0;
    int32_t scrollX = 0;
    int32_t scrollY = 0;
    int16_t word296 = 0;
    uint8_t rulerH[kRulerStateSize] = {};
    uint8_t rulerV[kRulerStateSize] = {};
};

// The record as stored (the not-found flag as 0), and back; the path is
// always zero-terminated after decoding.
void EncodeDocWndPref(const DocWndPref& record, uint8_t* out);
void DecodeDocWndPref(const uint8_t* in, DocWndPref* record);

// The program folder's "QXDocPref". 0 or the code of the program folder.
int32_t GetDocPrefPath(PathRecord* out);

// The record key of a document path: its full text; false when it does
// not fit a record's path field (such a document keeps no record).
bool DocWndPrefKey(const PathRecord& document, std::string* key);

// Finds the record of the key. Returns the not-found flag: 0 with the
// record in out, 1 when there is none (out is then left as it was). A file
// holding a record of another version is deleted as a whole, with a beep.
uint8_t LookupDocWndPref(const std::string& key, DocWndPref* out);
// Replaces the record of its path in place, or adds it at the end. 0, or
// the code of the failed step (the record is then not stored).
int32_t StoreDocWndPref(const DocWndPref& record);

// A stored window rectangle made to lie inside the client area: no larger
// than it, and moved in from its right and bottom, then its left and top.
IntRect FitWindowRect(const IntRect& stored, const IntRect& client);
