// Import of a delimited text file: one record per line, appended to the
// database. The file is opened and the text reader started first, so that
// the Import dialog can show records of the file through the reader
// (ImportSeekLine) before the user chooses how columns feed fields.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "database/field_table.h"
#include "foundation/file_io.h"
#include "foundation/path_record.h"

class DbDocument;

// What the Import dialog hands back: entry c is the 1-based field of the
// line that feeds column c, 0 for none; and the delimiter code.
struct ImportOptions {
    uint16_t matching[kEntryColumnCount] = {};
    int16_t delimiter = 1;
};

// The most frequent separator of the delimiter table (" ,\t:;,") over the
// first 10000 bytes of the file, the first in table order on a tie; Comma
// when none occurs. Separators inside quoted fields don't count, and a
// comma-separated file with quoted fields gets the quoted mode. The file
// position is left at the start.
int16_t GuessImportDelimiter(FileHandle file);
int16_t GuessDelimiter(std::string_view text);
enum class TextKind { Text, Binary, Utf16 };
// What the first 64 KB of the file hold: text, text in UTF-16 (said by its
// byte order mark), or bytes that are no text (a NUL, or control characters
// in more than one byte in a hundred). The file position is left at the
// start.
TextKind FileTextKind(FileHandle file);
// Valid UTF-8 with characters beyond ASCII, read to the end. The file
// position is left at the start.
bool FileIsUtf8(FileHandle file);
// Whether the file is read as UTF-8: more of its lines are UTF-8 beyond
// ASCII than are no UTF-8 at all (a line another program added in Windows
// text does not turn the rest of it into other letters). The file position
// is left at the start.
bool FileMostlyUtf8(FileHandle file);

struct TextImportResult {
    int32_t records = 0;  // records added
    bool aborted = false;
    // A record could not be added: none were (the user was told).
    bool failed = false;
    // Characters of the fields taken that Windows-1252 lacks, stored as '?'.
    // Lines are those of the file as an editor numbers them, the first 1.
    int32_t replaced = 0;
    int32_t firstReplacedLine = 0;  // the line holding the first
    // Lines of a UTF-8 file that were no UTF-8: read as Windows text.
    int32_t windowsLines = 0;
    int32_t firstWindowsLine = 0;
    // Fields taken that were longer than their database field: what was
    // stored is their start.
    int32_t cut = 0;
    int32_t firstCutLine = 0;
    int32_t firstCutField = -1;  // field id
    // Fields of a line past the last one a record takes: left out.
    int32_t past = 0;
    int32_t firstPastLine = 0;
    // Lines without a character: no record is made of them.
    int32_t blankLines = 0;
    // Lines of separators alone: each made a record of empty fields.
    int32_t emptyRecords = 0;
    int32_t firstEmptyLine = 0;
};

// What an import refused for want of room says: the file's records and
// the room left, in records.
std::string TooManyRecordsText(const std::string& fileName, int32_t lines, int32_t room);
// What an import that went through says of the characters stored as "?",
// the fields cut to their width, the fields past the last a record takes,
// the blank lines passed over and the lines of separators alone, each kind
// with the first line of the file it met; empty when there is nothing.
std::string ImportNoteText(const TextImportResult& result);

class TextImport {
public:
    TextImport();
    // Releases the reader and closes the file.
    ~TextImport();
    TextImport(const TextImport&) = delete;
    TextImport& operator=(const TextImport&) = delete;

    // Opens the file and starts the reader over it; false after the
    // file-error box, or after telling the user that the file is not text.
    bool Open(const PathRecord& source);
    int16_t GuessedDelimiter() const { return guessed_; }

    // Adds one record per line from the start of the file, after the
    // document committed its edits. Refused with a beep in bulk-mail mode,
    // and before anything is added when the file holds more records than
    // the database has room for (the user is told).
    // Ends at the end of the file, when the user stops it (the records
    // added stay) or when a record cannot be added: the engine has said
    // why, every record of the import is taken back and the user is told
    // so. The number of records added.
    int32_t Run(DbDocument& document, const ImportOptions& options, TextImportResult* result);

private:
    FileHandle file_ = kNoFile;
    bool reader_ = false;
    uint8_t trim_ = 0;
    int16_t guessed_ = 1;
    std::string name_;  // the file's name, for what is said about it
};
