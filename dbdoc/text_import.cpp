#include "dbdoc/text_import.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "database/data_file.h"
#include "database/db_document.h"
#include "database/field_table.h"
#include "database/progress_window.h"
#include "dbdoc/current_record.h"
#include "dbdoc/text_export.h"
#include "foundation/alert_sink.h"
#include "foundation/alerts.h"
#include "foundation/import_reader.h"
#include "foundation/utf8_text.h"
#include "foundation/win_error.h"

namespace {

constexpr int32_t kGuessBytes = 10000;
constexpr int32_t kReaderBufferSize = 10000;
constexpr int32_t kStringImporting = 269;
constexpr int32_t kProgressShowAt = 1;
constexpr int32_t kBinaryCheckBytes = 65536;
constexpr char kImportUndoneText[] = "The import did not finish. No record of it was added: the database is as it was.";

// The text reader is one for the whole program: an import that opened it
// after another must not have it closed under it by the older one.
const TextImport* g_readerOwner = nullptr;

// Fills the record from the line just read, counting what the database
// could not hold as it stood.
void TakeFields(const ImportOptions& options, CardRecord& record, TextImportResult* result)
{
    const int32_t number = ImportGetLineNumber();
    for (int32_t column = 0; column < kEntryColumnCount; ++column) {
        char text[kImportFieldSize];
        const int32_t source = options.matching[column];
        if (source <= 0 || !ImportGetField(source - 1, text))
            continue;
        const int32_t id = FieldIdByIndex(column);
        record.SetFieldText(id, text);
        if (const int32_t replaced = ImportGetFieldReplaced(source - 1); replaced > 0) {
            if (result->replaced == 0)
                result->firstReplacedLine = number;
            result->replaced += replaced;
        }
        if (ImportGetFieldCut(source - 1) || std::strlen(text) > FieldMaxLength(id)) {
            if (result->cut++ == 0) {
                result->firstCutLine = number;
                result->firstCutField = id;
            }
        }
    }
    if (const int32_t past = ImportGetLineFieldCount() - kEntryColumnCount; past > 0) {
        if (result->past == 0)
            result->firstPastLine = number;
        result->past += past;
    }
    if (ImportLineHasOnlySeparators() && result->emptyRecords++ == 0)
        result->firstEmptyLine = number;
    if (ImportLineNotUtf8() && result->windowsLines++ == 0)
        result->firstWindowsLine = number;
}

}  // namespace

int16_t GuessImportDelimiter(FileHandle file)
{
    char buffer[kGuessBytes];
    uint32_t got = kGuessBytes;
    FileSeek(file, kSeekStart, 0);
    FileReadCount(file, &got, buffer);
    FileSeek(file, kSeekStart, 0);
    return GuessDelimiter(std::string_view(buffer, got));
}

int16_t GuessDelimiter(std::string_view text)
{
    // The text is read as the reader reads it: a quotation mark that starts
    // a field opens it, and what stands inside is text, not separators. An
    // address in quotes would otherwise vote for Space or Comma.
    enum class State { FieldStart, Plain, Quoted, AfterQuote };
    State state = State::FieldStart;
    bool quotedField = false;
    int32_t breaks = 0;
    int32_t counts[kDelimiterQuotedComma] = {};
    const auto separator = [](char c) {
        for (int16_t code = kDelimiterSpace; code < kDelimiterQuotedComma; ++code)
            if (c == DelimiterChar(code))
                return code;
        return int16_t(-1);
    };
    for (const char c : text) {
        const bool lineEnd = c == '\r' || c == '\n';
        switch (state) {
        case State::FieldStart:
            if (c == '"') {
                state = State::Quoted;
                breaks = 0;
                break;
            }
            state = State::Plain;
            [[fallthrough]];
        case State::Plain:
            if (const int16_t code = separator(c); code >= 0) {
                ++counts[code];
                state = State::FieldStart;
            } else if (lineEnd) {
                state = State::FieldStart;
            }
            break;
        case State::Quoted:
            if (c == '"')
                state = State::AfterQuote;
            // A quotation mark open for this many lines is unmatched.
            else if (c == '\n' && ++breaks > kImportMaxQuotedBreaks)
                state = State::FieldStart;
            break;
        case State::AfterQuote:
            if (c == '"') {
                state = State::Quoted;
                break;
            }
            if (const int16_t code = separator(c); code >= 0) {
                ++counts[code];
                quotedField = true;
                state = State::FieldStart;
            } else if (lineEnd) {
                quotedField = true;
                state = State::FieldStart;
            } else {
                state = State::Plain;
            }
            break;
        }
    }
    quotedField = quotedField || state == State::AfterQuote;
    int16_t best = kDelimiterComma;
    int32_t bestCount = 0;
    for (int16_t code = kDelimiterSpace; code < kDelimiterQuotedComma; ++code) {
        if (counts[code] > bestCount) {
            best = code;
            bestCount = counts[code];
        }
    }
    return best == kDelimiterComma && quotedField ? int16_t(kDelimiterQuotedComma) : best;
}

TextKind FileTextKind(FileHandle file)
{
    char buffer[kBinaryCheckBytes];
    uint32_t got = kBinaryCheckBytes;
    FileSeek(file, kSeekStart, 0);
    FileReadCount(file, &got, buffer);
    FileSeek(file, kSeekStart, 0);
    const std::string_view head(buffer, got);
    if (head.substr(0, 2) == "\xFF\xFE" || head.substr(0, 2) == "\xFE\xFF")
        return TextKind::Utf16;
    // Text of any code page holds no NUL and hardly a control character
    // besides tab, line ends, form feed and the old end-of-file mark.
    int32_t controls = 0;
    for (const char c : head) {
        const auto b = static_cast<unsigned char>(c);
        if (b == 0)
            return TextKind::Binary;
        if (b < 0x20 && b != '\t' && b != '\n' && b != '\r' && b != '\f' && b != 0x1A)
            ++controls;
    }
    return controls * 100 > int32_t(got) ? TextKind::Binary : TextKind::Text;
}

bool FileIsUtf8(FileHandle file)
{
    char buffer[kGuessBytes];
    Utf8Check check;
    FileSeek(file, kSeekStart, 0);
    for (;;) {
        uint32_t got = kGuessBytes;
        const int32_t err = FileReadCount(file, &got, buffer);
        check.Feed(buffer, got);
        if (err != kErrNone || got < kGuessBytes || !check.StillValid())
            break;
    }
    FileSeek(file, kSeekStart, 0);
    return check.IsUtf8();
}

bool FileMostlyUtf8(FileHandle file)
{
    char buffer[kGuessBytes];
    Utf8Check line;
    int32_t utf8 = 0;
    int32_t other = 0;
    const auto endLine = [&] {
        utf8 += line.IsUtf8();
        other += !line.StillValid();
        line = Utf8Check{};
    };
    FileSeek(file, kSeekStart, 0);
    for (;;) {
        uint32_t got = kGuessBytes;
        const int32_t err = FileReadCount(file, &got, buffer);
        uint32_t from = 0;
        for (uint32_t i = 0; i < got; ++i) {
            if (buffer[i] == '\n') {
                line.Feed(buffer + from, i - from);
                endLine();
                from = i + 1;
            }
        }
        line.Feed(buffer + from, got - from);
        if (err != kErrNone || got < kGuessBytes)
            break;
    }
    endLine();
    FileSeek(file, kSeekStart, 0);
    return utf8 > other;
}

TextImport::TextImport() = default;

TextImport::~TextImport()
{
    if (reader_ && g_readerOwner == this) {
        ImportClose();
        ImportSetTrimSpaces(trim_);
        g_readerOwner = nullptr;
    }
    if (file_ != kNoFile)
        FileClose(file_);
}

std::string TooManyRecordsText(const std::string& fileName, int32_t lines, int32_t room)
{
    const auto records = [](int32_t n) { return n == 1 ? " record" : " records"; };
    return "\"" + fileName + "\" holds " + std::to_string(lines) + records(lines) +
           ", and the database has room for " +
           (room > 0 ? std::to_string(room) + " more" + records(room) : std::string("no more records")) +
           " (a database holds at most " + std::to_string(kMaxLiveRecords) + " records). Nothing was imported.";
}

std::string ImportNoteText(const TextImportResult& result)
{
    std::string text;
    const auto add = [&text](const std::string& sentence) { text += (text.empty() ? "" : "\n") + sentence; };
    const auto line = [](int32_t n) { return "line " + std::to_string(n) + " of the file"; };
    if (result.replaced == 1)
        add("1 character of the file has no place in the database's character set; it was stored as \"?\" (in " +
            line(result.firstReplacedLine) + ").");
    else if (result.replaced > 1)
        add(std::to_string(result.replaced) +
            " characters of the file have no place in the database's character set; each was stored as \"?\" (the "
            "first in " +
            line(result.firstReplacedLine) + ").");
    if (result.windowsLines == 1)
        add("1 line of the file is not UTF-8 as the rest of it is; it was read as Windows text (" +
            line(result.firstWindowsLine) + ").");
    else if (result.windowsLines > 1)
        add(std::to_string(result.windowsLines) +
            " lines of the file are not UTF-8 as the rest of it is; they were read as Windows text (the first: " +
            line(result.firstWindowsLine) + ").");
    if (result.cut > 0) {
        char name[kFieldTypeNameSize] = {};
        FieldTypeName(result.firstCutField, name, true, false);
        add((result.cut == 1 ? std::string("1 field was longer than its database field holds and was cut to fit ("
                                           "the ")
                             : std::to_string(result.cut) +
                                   " fields were longer than their database fields hold and were cut to fit (the "
                                   "first: the ") +
            name + " of " + line(result.firstCutLine) + ", cut to " +
            std::to_string(FieldMaxLength(result.firstCutField)) + " characters).");
    }
    const std::string most = std::to_string(kEntryColumnCount);
    if (result.past == 1)
        add("1 field was left out: a record takes only the first " + most + " fields of a line (in " +
            line(result.firstPastLine) + ").");
    else if (result.past > 1)
        add(std::to_string(result.past) + " fields were left out: a record takes only the first " + most +
            " fields of a line (the first in " + line(result.firstPastLine) + ").");
    if (result.blankLines == 1)
        add("1 blank line was skipped: a line without characters is no record.");
    else if (result.blankLines > 1)
        add(std::to_string(result.blankLines) + " blank lines were skipped: a line without characters is no record.");
    if (result.emptyRecords == 1)
        add("1 line held nothing but separators and was added as a record with every field empty (" +
            line(result.firstEmptyLine) + ").");
    else if (result.emptyRecords > 1)
        add(std::to_string(result.emptyRecords) +
            " lines held nothing but separators and were added as records with every field empty (the first: " +
            line(result.firstEmptyLine) + ").");
    return text;
}

bool TextImport::Open(const PathRecord& source)
{
    if (file_ != kNoFile)
        return false;
    if (const int32_t err = FileOpen(&source, kFileRead, &file_); err != kErrNone) {
        file_ = kNoFile;
        // A pipe or a device (/dev/zero) opens to no file: its bytes may
        // never end, and "access denied" would send the user to its rights.
        if (FileIsDeviceOrPipe(&source)) {
            char name[256] = {};
            PathRecordGetFileName(&source, name, sizeof name);
            std::string text(1, '"');
            text += name;
            text += "\" is not a file but a device or a pipe. Nothing was imported.";
            AlertNote(text.c_str(), 0);
            return false;
        }
        char name[256] = {};
        PathRecordGetFileName(&source, name, sizeof name);
        AlertFileErrorAbout(name, err);
        return false;
    }
    // Nothing is added from a file that is not text: its bytes would make
    // records of garbage.
    if (const TextKind kind = FileTextKind(file_); kind != TextKind::Text) {
        char name[256] = {};
        PathRecordGetFileName(&source, name, sizeof name);
        std::string text(1, '"');
        text += name;
        text += kind == TextKind::Utf16 ? "\" is Unicode (UTF-16) text, which can't be imported. Save it as UTF-8 or "
                                          "Windows text and import it again."
                                        : "\" is not a text file. Nothing was imported.";
        AlertNote(text.c_str(), 0);
        FileClose(file_);
        file_ = kNoFile;
        return false;
    }
    char fileName[256] = {};
    PathRecordGetFileName(&source, fileName, sizeof fileName);
    name_ = fileName;
    guessed_ = GuessImportDelimiter(file_);
    if (!ImportOpen(file_, kReaderBufferSize, kEntryColumnCount)) {
        g_readerOwner = nullptr;
        AlertFileError(kErrNotEnoughMemory);
        return false;
    }
    reader_ = true;
    g_readerOwner = this;
    // Fields are taken as they stand, spaces included: what an export
    // wrote comes back byte for byte.
    trim_ = ImportGetTrimSpaces();
    ImportSetTrimSpaces(0);
    ImportSetSeparator(guessed_);
    // Files from elsewhere are often UTF-8 without a byte order mark (the
    // reader has seen to a file with one).
    if (!ImportGetUtf8() && FileMostlyUtf8(file_))
        ImportSetUtf8(true);
    ImportRewind();
    return true;
}

int32_t TextImport::Run(DbDocument& document, const ImportOptions& options, TextImportResult* result)
{
    *result = TextImportResult{};
    if (!reader_ || g_readerOwner != this)
        return 0;
    if (document.InBulkMailMode()) {
        MessageBeep(0);
        return 0;
    }
    DataFile& data = document.Data();
    ImportSetSeparator(ValidDelimiter(options.delimiter));
    // A file that cannot fit is refused before anything is added: adding
    // it up to the limit only to take it all back costs the user minutes
    // and says nothing about how far over it is.
    int32_t lines = 0;
    ImportRewind();
    while (ImportNextLine())
        lines += ImportLineIsBlank() ? 0 : 1;
    ImportRewind();
    const int32_t held = std::max(data.GetStoredCount() - data.GetDeletedCount(), 0);
    const int32_t room = std::max(kMaxLiveRecords - held, 0);
    if (lines > room) {
        result->failed = true;
        AlertNote(TooManyRecordsText(name_, lines, room).c_str(), 0);
        return 0;
    }
    document.CommitEdits();
    data.FlushRecordCache();
    const int32_t shown = data.CurrentOffset();
    {
        // The import is committed as one change when it ends; a crash
        // before that, or a record that cannot be added, leaves the
        // database as it was: every line goes in, or none.
        DbChange batch(data);
        data.GatherAppendsInChange();
        DbProgressWindow progress(data.DatabaseName(), WorkingMessage(kStringImporting), data.GetLiveCount(),
                                  kProgressShowAt, 1);
        CardRecord& record = data.Current();
        for (;;) {
            const bool goOn = progress.Step();
            record.Clear();
            if (!ImportNextLine())
                break;
            result->blankLines += ImportGetBlankLines();
            if (!ImportLineIsBlank()) {
                TakeFields(options, record, result);
                record.SetGrown(false);
                record.SetNew(false);
                record.SetModified(false);
                if (data.AddRecord(false, false) < 0) {
                    result->failed = true;
                    data.AbandonChange();
                    break;
                }
                ++result->records;
            }
            if (!goOn) {
                result->aborted = true;
                break;
            }
        }
        if (!result->failed && result->records > 0 && !document.StoreCountsInChange())
            result->failed = true;
    }
    // A batch that could not be made durable was taken back too.
    if (!data.LastChangeKept())
        result->failed = true;
    if (result->failed) {
        result->records = 0;
        AlertNote(kImportUndoneText, 0);
    }
    ReturnToRecord(data, shown);
    if (result->records > 0)
        document.RecordsAppended(result->records);
    return result->records;
}
