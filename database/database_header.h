// The record file's 4152-byte header as the database document keeps it: a
// byte image, created with its defaults, read, written and checked.
//
// Fields are reached at the offsets of record_file_format.h. Bytes the
// engine does not set keep whatever the file holds.
#pragma once

#include <cstdint>

#include "foundation/file_io.h"

// 6000 when whole is non-zero (header and filler), else 4152.
uint32_t DatabaseHeaderSize(int whole);

// The preferences block a new document starts from: delete the index at
// close, sort by LastName ascending, domestic verification, no Fast Find.
void SetDefaultPreferences(uint8_t* header);

// Fills a header image for a new database from its preferences block
// (which must already hold the user's preferences). Returns 6000.
int32_t InitDatabaseHeader(uint8_t* header);

// Reads the header into the image and restores the file position; 6000.
// An empty file gets a fresh header (with createIfShort) and the result of
// writing it. Any other file shorter than 6000 bytes is a damaged database:
// database message 8 and -1, and nothing is written to it.
// fileName, when given, names the file in what is said.
int32_t ReadDatabaseHeader(FileHandle file, uint8_t* header, bool createIfShort, const char* fileName = nullptr);

// Writes the image at offset 0 and the filler up to 6000, then restores
// the position when asked. 6000, or -1 when the header write fails.
int32_t WriteDatabaseHeader(FileHandle file, const uint8_t* header, bool restorePosition);

// 0: good and sound. 2: good, damaged, and the user agreed to recover it
// (database message 26). 1 otherwise, after telling the user (naming the
// file when fileName is given: "Notes.txt: This File is not DataBase file.").
int32_t CheckDatabaseHeader(const uint8_t* header, const char* fileName = nullptr);

// Sort order: three field ids (0xFFFF none), bulk-mail mode, descending.
struct SortSpec {
    uint16_t fields[3] = {3, 0xFFFF, 0xFFFF};
    uint8_t bulkMail = 0;
    uint8_t descending = 0;

    bool operator==(const SortSpec&) const = default;
    // A field id the engine can use, or -1 for "none" and for ids that no
    // body field has.
    int32_t FieldAt(int32_t i) const;
};
SortSpec LoadSortSpec(const uint8_t* bytes);
void StoreSortSpec(const SortSpec& order, uint8_t* bytes);

// A NUL-terminated text of a fixed header slot, cut to size - 1
// characters when the slot has no terminator.
void HeaderText(const uint8_t* header, uint32_t offset, uint32_t size, char* out);
void SetHeaderText(uint8_t* header, uint32_t offset, uint32_t size, const char* text);
