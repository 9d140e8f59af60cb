// The delimited text import reader: splits the lines of an open text file
// into fields at one separator character.
//
// There is one reader for the whole process. It reads the file the caller
// opened (and still owns) line by line and keeps the fields of the last line
// read, each at most 255 bytes of Windows-1252 text.
//
// Separator indexes: 0 space, 1 ',', 2 tab, 3 ':', 4 ';', 5 ',' with quoted
// fields (for the reader the same as 1). With every separator a field that
// starts with a quotation mark runs to its closing quotation mark: separators
// and line breaks inside it don't split, and a doubled quotation mark inside
// it stands for one. So one record of the file may take several lines, as a
// two-line address in quotes does; a field holds one line, so each run of
// line breaks inside the quotes is kept as a comma and a space ("12 Main St,
// Apt 4"). A quotation mark still open after kImportMaxQuotedBreaks line
// breaks, or at the end of the file, is taken as unmatched: its field then
// ends with its line, so it can't swallow the lines after it.
//
// A line longer than the line buffer is read in pieces and still split as one
// line. A field longer than 255 bytes keeps its first 255.
//
// Text in UTF-8 (said by a byte order mark at the start of the file, which
// the reader then skips, or by the caller) is brought into Windows-1252 field
// by field; characters the code page lacks become '?' and are counted.
#pragma once

#include <cstddef>
#include <cstdint>

#include "foundation/file_io.h"

constexpr int16_t kImportSeparatorCount = 6;
constexpr int16_t kImportQuotedComma = 5;
constexpr int32_t kImportFieldSize = 256;  // one table entry, terminator included
constexpr int32_t kImportFieldMaxLength = kImportFieldSize - 1;
// Fields of a line beyond this many are dropped, which bounds the memory a
// single line can claim however long it is.
constexpr int32_t kImportMaxFields = 32767;
constexpr int32_t kImportMaxQuotedBreaks = 16;

// True when both buffers could be made. The line buffer must hold at least
// one byte besides the terminator.
bool ImportOpen(FileHandle file, int32_t lineBufferSize, int32_t fieldCapacity);
// Leaves the file open: it belongs to the caller.
void ImportClose();

void ImportSetSeparator(int16_t index);
void ImportSetSeparatorChar(char separator);
int16_t ImportGetSeparatorIndex();
// The most frequent separator character of the first line, ',' when it holds
// none or no file is open. Leaves the reader rewound.
char ImportGuessSeparator();

void ImportSetTrimSpaces(uint8_t trim);
uint8_t ImportGetTrimSpaces();

// UTF-8 text instead of Windows-1252; ImportOpen sets it for a file that
// starts with a byte order mark.
void ImportSetUtf8(bool utf8);
bool ImportGetUtf8();

// Back to the first line (past a byte order mark).
void ImportRewind();
// Reads and splits the next record (a line, or several when a quoted field
// holds line breaks). False at the end of the file, or when the fields could
// not be kept.
bool ImportNextLine();
// Makes record n (the first is 1) the split one.
bool ImportSeekLine(int32_t n);

int32_t ImportGetFieldCount();
// Copies field index into out (kImportFieldSize bytes); out is emptied and
// false returned when there is no such field.
bool ImportGetField(int32_t index, char* out);
// The characters of field index that the code page lacked and that became
// '?'; 0 for Windows-1252 text.
int32_t ImportGetFieldReplaced(int32_t index);
// Whether field index was longer than 255 bytes and lost the rest.
bool ImportGetFieldCut(int32_t index);
// Whether a field of the record last read, in a file read as UTF-8, was no
// UTF-8 and was taken as Windows text.
bool ImportLineNotUtf8();
// Whether the record last read was a line without a single character.
bool ImportLineIsBlank();
// The number of the record last read (the first is 1), as ImportSeekLine
// and the Import dialog count them.
int32_t ImportGetRecordNumber();
// The line of the file the record last read begins on, counted as an editor
// counts lines (CR LF, LF and CR each end one; the first is 1).
int32_t ImportGetLineNumber();
// The lines without a character the record last read took: all of its
// lines when it is blank, else the one that may stand behind its end (the
// reader takes LF LF as one line end).
int32_t ImportGetBlankLines();
// The fields of the record last read, those past the most the table keeps
// included.
int32_t ImportGetLineFieldCount();
// The record last read was no blank line, yet none of its fields holds a
// character: a line of separators alone.
bool ImportLineHasOnlySeparators();
// The field table: ImportGetFieldCount() zero-terminated entries,
// kImportFieldSize bytes apart. Valid until the next read.
const char* ImportFieldTable();

// Receives one field of a split line; false stops the splitting.
using ImportFieldSink = bool (*)(void* user, const char* text, int32_t length);

// Splits one line into fields. The line may arrive in pieces: Feed each piece
// in order, then Finish. The first CR or LF ends the line; bytes fed after it
// are ignored. A line that ends without CR or LF keeps its last field. NUL
// bytes are not text and are dropped.
//
// With line breaks in quotes allowed, a CR or LF inside a quoted field does
// not end the line: the field goes on with the next piece fed, and the run of
// line breaks becomes ", " in the field (none at its start or end).
class ImportLineSplitter {
public:
    ImportLineSplitter(char separator, bool quoted, bool trimSpaces, ImportFieldSink sink, void* user);
    void AllowLineBreaksInQuotes(bool allow) { breaksInQuotes_ = allow; }
    // False once the sink has refused a field.
    bool Feed(const char* bytes, size_t n);
    bool Finish();
    // Inside a quoted field that has not been closed yet.
    bool InQuotes() const { return state_ == State::Quoted; }
    // While the sink takes a field: it lost bytes past the 255 it keeps.
    bool FieldCut() const { return cut_; }
    // No character but the line end was fed.
    bool Blank() const { return blank_; }

private:
    enum class State { FieldStart, Unquoted, Quoted, QuoteInQuoted, LineDone };

    void Take(char c);
    void EndField();
    // A line end closes the field and the line; anything else belongs to
    // the field.
    void EndLineOrTake(char c);

    char separator_;
    bool quoted_;
    bool trim_;
    bool breaksInQuotes_ = false;
    bool pendingBreak_ = false;
    ImportFieldSink sink_;
    void* user_;
    State state_ = State::FieldStart;
    bool refused_ = false;
    bool cut_ = false;
    bool blank_ = true;
    int32_t length_ = 0;
    char field_[kImportFieldSize];
};
