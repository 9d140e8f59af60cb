// The texts that merge fields show on cards: a field of the current
// database's current record, or the field's preview text when there is no
// database, or the field's name.
#pragma once

#include <cstdint>

class DataFile;

// How the merge texts reach the current database; the open-database
// registry installs it. The lookup answers the current database even while
// it is suppressed (null when there is none).
using MergeDatabaseLookup = DataFile* (*)();
void SetMergeDatabaseLookup(MergeDatabaseLookup lookup);

// Process-wide flags the merge texts obey. The suppress flag makes the
// current database count as none; preview-only makes merge texts come from
// the preview texts even with a database open.
void SetNoDatabaseFlag(bool on);
bool IsCurrentDatabaseSuppressed();
void SetPreviewOnlyMode(bool on);
bool IsPreviewOnlyMode();

// The text a merge field of id shows, into out (256 bytes). An empty text
// becomes the field's name, unless keepEmpty and the text is a record's
// (without a database the sample texts never stay empty); with the
// show-names flag set the result is always the bracketed name.
void GetMergeFieldText(int32_t id, char* out, bool keepEmpty);
// set: the row's preview text becomes text. get: copies it into text
// (256 bytes), "[???]" for an id without a row, ids 23 and 100 computed
// from the preview texts, trailing spaces removed.
void GetPreviewFieldText(int32_t id, bool set, char* text);
// The delivery point: from the database's current record, or worked out
// from the preview address without one.
void DeliveryPointText(const DataFile* dataFile, char* out);
// The digits of the ZIP code, and the delivery point when they are not 5
// or 11, as the postal barcode encodes them.
void PostalCodeDigits(const DataFile* dataFile, char* out);
