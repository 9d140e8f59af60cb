// The program-wide table of open databases and the one current database
// whose current record fills the cards. The card side (printing, preview,
// merge texts, the print dialog's choice of database) reaches a database
// only through these functions.
//
// Up to 20 databases are registered; a further one works in its own window
// but is never offered to the card side.
#pragma once

#include <cstdint>

class DbDocument;
class DataFile;

constexpr int32_t kMaxOpenDatabases = 20;

// The first empty slot's index, or -1 when all are taken.
int32_t RegisterDatabase(DbDocument* document);
// Clears the document's slot; the current database becomes none when it
// was this one. Whether the document was registered.
bool UnregisterDatabase(DbDocument* document);

// With a document its custom field names go to the field table; with null
// the placeholders do.
void SetCurrentDatabase(DbDocument* document);
// Makes no database current for a while (a wizard's previews show the
// fields' names), and makes the one that was current so again when the
// while ends, unless another was made current meanwhile or it was closed.
void SetAsideCurrentDatabase();
void RestoreSetAsideDatabase();
// Null while the suppress flag is set.
DbDocument* GetCurrentDatabaseDoc();
DataFile* GetCurrentDataFile();
int32_t GetCurrentLiveRecordCount();
// Makes row n of the current database's list the current record; false
// without a current database or for a row outside the list.
bool GotoCurrentDatabaseRecord(int32_t row);

// Keeps the record the current database shows across a print or a
// preview, which step through its rows: the record the user was on is made
// current again when the keeper goes, if that database is still current.
class CurrentRecordKeeper {
public:
    CurrentRecordKeeper();
    ~CurrentRecordKeeper();
    CurrentRecordKeeper(const CurrentRecordKeeper&) = delete;
    CurrentRecordKeeper& operator=(const CurrentRecordKeeper&) = delete;

private:
    DbDocument* document_;
    int32_t row_;
};

// Ordinals count the filled slots in slot order, from 1.
bool ActivateOpenDatabase(int32_t ordinal);
int32_t GetCurrentDatabaseOrdinal();
int32_t CountOpenDatabases();
bool AnyDatabaseOpen();
// File name and extension into out (256 bytes); 0, or 1 with out empty
// when there is no such database.
int32_t GetCurrentDatabaseName(char* out);
int32_t GetOpenDatabaseName(int32_t ordinal, char* out);

// 0 when no bulk-mail re-sort is pending, 1 without a current database,
// else what the current document's bulk-mail sort answers.
int32_t ApplyPendingDatabaseSort();
void SetBulkMailResortFlag(uint8_t on);
uint8_t GetBulkMailResortFlag();
