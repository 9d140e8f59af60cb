#include "database/open_database_registry.h"

#include <utility>

#include "database/db_document.h"
#include "database/field_table.h"
#include "database/merge_text.h"
#include "database/record_file_format.h"

namespace {

struct Registry {
    DbDocument* current = nullptr;
    DbDocument* setAside = nullptr;
    DbDocument* open[kMaxOpenDatabases] = {};
    uint8_t resort = 0;
};

Registry g_registry;

// The merge texts see the current database even while it is suppressed:
// they lift the flag for the moment of their own lookup.
DataFile* MergeLookup()
{
    return g_registry.current ? &g_registry.current->Data() : nullptr;
}

DbDocument* ByOrdinal(int32_t ordinal)
{
    if (ordinal < 1)
        return nullptr;
    for (DbDocument* document : g_registry.open) {
        if (document && --ordinal == 0)
            return document;
    }
    return nullptr;
}

void FileNameOf(const DbDocument* document, char* out)
{
    PathRecordGetFileName(&document->Path(), out, 256);
}

}  // namespace

int32_t RegisterDatabase(DbDocument* document)
{
    SetMergeDatabaseLookup(MergeLookup);
    for (int32_t slot = 0; slot < kMaxOpenDatabases; ++slot) {
        if (g_registry.open[slot] == document)
            return slot;
    }
    for (int32_t slot = 0; slot < kMaxOpenDatabases; ++slot) {
        if (!g_registry.open[slot]) {
            g_registry.open[slot] = document;
            return slot;
        }
    }
    return -1;
}

bool UnregisterDatabase(DbDocument* document)
{
    bool found = false;
    for (DbDocument*& slot : g_registry.open) {
        if (slot == document) {
            slot = nullptr;
            found = true;
        }
    }
    // A database that was never offered to the card side may still have
    // been made current by its window; it must not stay behind either.
    if (g_registry.current == document)
        g_registry.current = nullptr;
    if (g_registry.setAside == document)
        g_registry.setAside = nullptr;
    return found;
}

void SetCurrentDatabase(DbDocument* document)
{
    SetMergeDatabaseLookup(MergeLookup);
    g_registry.current = document;
    if (document)
        SetCustomFieldNames(document->Header() + dbh::kCustomNames);
    else
        ResetCustomFieldNames();
}

void SetAsideCurrentDatabase()
{
    g_registry.setAside = g_registry.current;
    SetCurrentDatabase(nullptr);
}

void RestoreSetAsideDatabase()
{
    DbDocument* document = std::exchange(g_registry.setAside, nullptr);
    if (document && !g_registry.current)
        SetCurrentDatabase(document);
}

DbDocument* GetCurrentDatabaseDoc()
{
    return IsCurrentDatabaseSuppressed() ? nullptr : g_registry.current;
}

DataFile* GetCurrentDataFile()
{
    DbDocument* document = GetCurrentDatabaseDoc();
    return document ? &document->Data() : nullptr;
}

int32_t GetCurrentLiveRecordCount()
{
    const DataFile* data = GetCurrentDataFile();
    return data ? data->GetLiveCount() : 0;
}

bool GotoCurrentDatabaseRecord(int32_t row)
{
    DbDocument* document = GetCurrentDatabaseDoc();
    if (!document || row < 0 || row >= document->RowCount())
        return false;
    return document->GotoRow(row);
}

CurrentRecordKeeper::CurrentRecordKeeper()
    : document_(GetCurrentDatabaseDoc()),
      row_(document_ && document_->IsOpen() ? document_->Data().CurrentPosition() : -1)
{
}

CurrentRecordKeeper::~CurrentRecordKeeper()
{
    if (document_ && row_ >= 0 && GetCurrentDatabaseDoc() == document_ && document_->IsOpen() &&
        document_->Data().CurrentPosition() != row_)
        GotoCurrentDatabaseRecord(row_);
}

bool ActivateOpenDatabase(int32_t ordinal)
{
    DbDocument* document = ByOrdinal(ordinal);
    if (!document)
        return false;
    SetCurrentDatabase(document);
    return true;
}

int32_t GetCurrentDatabaseOrdinal()
{
    if (!g_registry.current)
        return 0;
    int32_t ordinal = 0;
    for (DbDocument* document : g_registry.open) {
        if (document) {
            ++ordinal;
            if (document == g_registry.current)
                return ordinal;
        }
    }
    return 0;
}

int32_t CountOpenDatabases()
{
    int32_t count = 0;
    for (DbDocument* document : g_registry.open)
        count += document ? 1 : 0;
    return count;
}

bool AnyDatabaseOpen() { return CountOpenDatabases() > 0; }

int32_t GetCurrentDatabaseName(char* out)
{
    out[0] = 0;
    if (!g_registry.current)
        return 1;
    FileNameOf(g_registry.current, out);
    return 0;
}

int32_t GetOpenDatabaseName(int32_t ordinal, char* out)
{
    out[0] = 0;
    const DbDocument* document = ByOrdinal(ordinal);
    if (!document)
        return 1;
    FileNameOf(document, out);
    return 0;
}

int32_t ApplyPendingDatabaseSort()
{
    if (!g_registry.resort)
        return 0;
    DbDocument* document = GetCurrentDatabaseDoc();
    if (!document)
        return 1;
    return document->SortRecords(2);
}

void SetBulkMailResortFlag(uint8_t on) { g_registry.resort = on; }
uint8_t GetBulkMailResortFlag() { return g_registry.resort; }
