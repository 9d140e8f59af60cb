#include "foundation/import_reader.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <vector>

#include "foundation/handle.h"
#include "foundation/utf8_text.h"

namespace {

constexpr char kSeparators[kImportSeparatorCount] = {' ', ',', '\t', ':', ';', ','};

constexpr bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }

struct Reader {
    FileHandle file = kNoFile;
    char separator = 0;
    int16_t separatorIndex = 0;
    uint8_t trim = 0;
    Handle lineBuffer = nullptr;
    int32_t lineBufferSize = 0;
    Handle fields = nullptr;
    int32_t fieldCapacity = 0;
    int32_t fieldCount = 0;
    int32_t fieldsSeen = 0;  // of the last line, those past the table's most too
    bool anyText = false;    // a field of the last line held a character
    uint32_t lineStart = 0;  // where the last line read begins
    int32_t linesRead = 0;
    // Lines as an editor counts them (CR LF, LF and CR each end one), which
    // the reader's records don't: a record takes a second line end behind
    // its own, and may run over several lines inside quotes.
    int32_t firstLine = 0;   // the line the last record read begins on
    int32_t nextLine = 1;    // the line the next record begins on
    int32_t blankLines = 0;  // lines without a character the last record took
    uint32_t textStart = 0;  // past a byte order mark
    bool utf8 = false;
    bool notUtf8 = false;           // a field of the last line was no UTF-8
    std::vector<int32_t> replaced;  // per field of the last line
    std::vector<bool> cut;          // per field of the last line
    bool blank = false;             // the last line held no character
    const ImportLineSplitter* splitter = nullptr;  // the one feeding AddField
};

Reader g_reader;

bool Ready() { return g_reader.lineBuffer && g_reader.fields && g_reader.file != kNoFile; }

bool AddField(void*, const char* text, int32_t length)
{
    Reader& r = g_reader;
    ++r.fieldsSeen;
    r.anyText = r.anyText || length > 0;
    if (r.fieldCount >= kImportMaxFields)
        return true;
    if (r.fieldCount >= r.fieldCapacity) {
        if (HandleResize(r.fields, (r.fieldCapacity + 2) * kImportFieldSize) != 0)
            return false;
        r.fieldCapacity += 2;
    }
    char* entry = HandleData<char>(r.fields) + static_cast<size_t>(r.fieldCount) * kImportFieldSize;
    int32_t replaced = 0;
    Utf8Check check;
    if (r.utf8)
        check.Feed(text, static_cast<size_t>(length));
    // A UTF-8 file may hold a line another program wrote in Windows text:
    // its bytes are taken as they stand, which keeps its letters.
    if (r.utf8 && !check.StillValid()) {
        r.notUtf8 = true;
        std::memcpy(entry, text, static_cast<size_t>(length));
    } else if (r.utf8) {
        // The code page never takes more bytes than UTF-8 for a character.
        const std::string text1252 = Utf8ToCp1252(std::string_view(text, static_cast<size_t>(length)), &replaced);
        length = static_cast<int32_t>(text1252.size());
        std::memcpy(entry, text1252.data(), text1252.size());
    } else {
        std::memcpy(entry, text, static_cast<size_t>(length));
    }
    entry[length] = '\0';
    r.replaced.resize(static_cast<size_t>(r.fieldCount) + 1);
    r.replaced[static_cast<size_t>(r.fieldCount)] = replaced;
    r.cut.resize(static_cast<size_t>(r.fieldCount) + 1);
    r.cut[static_cast<size_t>(r.fieldCount)] = r.splitter && r.splitter->FieldCut();
    ++r.fieldCount;
    return true;
}

bool SkipField(void*, const char*, int32_t) { return true; }

enum class LineRead { None, Read, Unmatched };

// Reads the next record into the splitter: one line, in pieces when it is
// longer than the line buffer, and the lines after it while a quoted field
// stays open. An open quotation mark that never closes leaves the file where
// the record began and reports Unmatched.
LineRead ReadLine(ImportLineSplitter* splitter, int32_t* lastEnds)
{
    Reader& r = g_reader;
    char* buffer = HandleData<char>(r.lineBuffer);
    uint32_t start = 0;
    FileTell(r.file, &start);
    bool any = false;
    int32_t breaks = 0;
    int32_t lines = 0;
    for (;;) {
        int32_t ends = 0;
        const int32_t n = FileReadLine(r.file, buffer, r.lineBufferSize, &ends);
        if (n <= 0)
            break;
        any = true;
        lines += ends;
        *lastEnds = ends;
        splitter->Feed(buffer, static_cast<size_t>(n));
        // Only a piece that fills the buffer without a line end goes on,
        // or a line that ends inside quotes.
        if (n < r.lineBufferSize - 1 || IsLineEnd(buffer[n - 1])) {
            if (!IsLineEnd(buffer[n - 1]) || !splitter->InQuotes())
                break;
            if (++breaks > kImportMaxQuotedBreaks) {
                FileSeek(r.file, kSeekStart, static_cast<int32_t>(start));
                return LineRead::Unmatched;
            }
        }
    }
    if (!any)
        return LineRead::None;
    // The file ended inside the quotes.
    if (breaks > 0 && splitter->InQuotes()) {
        FileSeek(r.file, kSeekStart, static_cast<int32_t>(start));
        return LineRead::Unmatched;
    }
    r.lineStart = start;
    ++r.linesRead;
    r.firstLine = r.nextLine;
    r.nextLine += lines;
    return LineRead::Read;
}

// Reads and splits the next record, handing its fields to the sink.
bool ReadRecord(ImportFieldSink sink)
{
    Reader& r = g_reader;
    r.blank = false;
    r.notUtf8 = false;
    r.blankLines = 0;
    r.fieldsSeen = 0;
    r.anyText = false;
    int32_t lastEnds = 0;
    ImportLineSplitter splitter(r.separator, true, r.trim != 0, sink, nullptr);
    splitter.AllowLineBreaksInQuotes(true);
    r.splitter = &splitter;
    const LineRead read = ReadLine(&splitter, &lastEnds);
    bool done = false;
    if (read != LineRead::Unmatched) {
        done = read == LineRead::Read && splitter.Finish();
        r.blank = done && splitter.Blank();
    } else {
        r.fieldCount = 0;
        r.fieldsSeen = 0;
        r.anyText = false;
        ImportLineSplitter oneLine(r.separator, true, r.trim != 0, sink, nullptr);
        r.splitter = &oneLine;
        done = ReadLine(&oneLine, &lastEnds) == LineRead::Read && oneLine.Finish();
    }
    r.splitter = nullptr;
    // A blank record is as many blank lines as it took line ends; any
    // record may have taken one more behind its own end (LF LF).
    if (done)
        r.blankLines = r.blank ? std::max(r.nextLine - r.firstLine, 1) : (lastEnds == 2 ? 1 : 0);
    return done;
}

}  // namespace

ImportLineSplitter::ImportLineSplitter(char separator, bool quoted, bool trimSpaces, ImportFieldSink sink,
                                       void* user)
    : separator_(separator), quoted_(quoted), trim_(trimSpaces), sink_(sink), user_(user)
{
}

void ImportLineSplitter::Take(char c)
{
    if (pendingBreak_) {
        pendingBreak_ = false;
        // A field holds one line: the lines of a quoted field are joined by
        // a comma and a space (a space only after a comma or semicolon).
        if (length_ > 0) {
            if (field_[length_ - 1] != ',' && field_[length_ - 1] != ';')
                Take(',');
            Take(' ');
        }
    }
    if (length_ < kImportFieldMaxLength)
        field_[length_++] = c;
    else
        cut_ = true;
}

void ImportLineSplitter::EndField()
{
    int32_t n = length_;
    if (trim_)
        while (n > 0 && field_[n - 1] == ' ')
            --n;
    field_[n] = '\0';
    length_ = 0;
    pendingBreak_ = false;
    if (!sink_(user_, field_, n))
        refused_ = true;
    cut_ = false;
}

void ImportLineSplitter::EndLineOrTake(char c)
{
    if (IsLineEnd(c)) {
        EndField();
        state_ = State::LineDone;
    } else {
        Take(c);
    }
}

bool ImportLineSplitter::Feed(const char* bytes, size_t n)
{
    for (size_t i = 0; i < n && state_ != State::LineDone && !refused_; ++i) {
        const char c = bytes[i];
        if (c == '\0')
            continue;
        if (!IsLineEnd(c))
            blank_ = false;
        switch (state_) {
        case State::QuoteInQuoted:
            if (c == '"') {
                Take('"');
                state_ = State::Quoted;
                break;
            }
            // Text after the closing quotation mark belongs to the field.
            [[fallthrough]];
        case State::FieldStart:
            if (quoted_ && c == '"' && state_ == State::FieldStart) {
                state_ = State::Quoted;
                break;
            }
            state_ = State::Unquoted;
            [[fallthrough]];
        case State::Unquoted:
            if (c == separator_) {
                EndField();
                state_ = State::FieldStart;
            } else {
                EndLineOrTake(c);
            }
            break;
        case State::Quoted:
            if (c == '"') {
                state_ = State::QuoteInQuoted;
            } else if (IsLineEnd(c) && breaksInQuotes_) {
                pendingBreak_ = true;
            } else {
                EndLineOrTake(c);
            }
            break;
        case State::LineDone:
            break;
        }
    }
    return !refused_;
}

bool ImportLineSplitter::Finish()
{
    if (state_ != State::LineDone && !refused_)
        EndField();
    state_ = State::LineDone;
    return !refused_;
}

bool ImportOpen(FileHandle file, int32_t lineBufferSize, int32_t fieldCapacity)
{
    ImportClose();
    if (lineBufferSize < 2 || fieldCapacity < 0 || fieldCapacity > kImportMaxFields)
        return false;
    Reader& r = g_reader;
    r.lineBuffer = HandleNew(static_cast<uint32_t>(lineBufferSize));
    r.fields = HandleNew(static_cast<uint32_t>(fieldCapacity) * kImportFieldSize);
    if (!r.lineBuffer || !r.fields) {
        ImportClose();
        return false;
    }
    r.lineBufferSize = lineBufferSize;
    r.fieldCapacity = fieldCapacity;
    r.file = file;
    // A byte order mark says the text is UTF-8, and is not text itself.
    char head[kUtf8BomLength] = {};
    uint32_t got = kUtf8BomLength;
    if (FileSeek(file, kSeekStart, 0) == 0 && FileReadCount(file, &got, head) == 0 &&
        StartsWithUtf8Bom(std::string_view(head, got))) {
        r.textStart = kUtf8BomLength;
        r.utf8 = true;
    }
    ImportRewind();
    return true;
}

void ImportClose()
{
    Reader& r = g_reader;
    HandleFree(r.lineBuffer);
    HandleFree(r.fields);
    const uint8_t trim = r.trim;
    r = Reader{};
    r.trim = trim;
}

void ImportSetSeparator(int16_t index)
{
    if (index < 0 || index >= kImportSeparatorCount)
        index = 0;
    g_reader.separatorIndex = index;
    g_reader.separator = kSeparators[index];
}

void ImportSetSeparatorChar(char separator)
{
    for (int16_t i = 0; i < kImportSeparatorCount; ++i) {
        if (kSeparators[i] == separator) {
            ImportSetSeparator(i);
            return;
        }
    }
    ImportSetSeparator(0);
}

int16_t ImportGetSeparatorIndex()
{
    for (int16_t i = 0; i < kImportSeparatorCount; ++i)
        if (kSeparators[i] == g_reader.separator)
            return i;
    return 0;
}

char ImportGuessSeparator()
{
    if (!Ready())
        return ',';
    Reader& r = g_reader;
    ImportRewind();
    char* buffer = HandleData<char>(r.lineBuffer);
    const int32_t n = FileReadLine(r.file, buffer, r.lineBufferSize);
    int32_t counts[kImportSeparatorCount] = {};
    for (int32_t i = 0; i < n; ++i)
        for (int16_t k = 0; k < kImportSeparatorCount; ++k)
            if (buffer[i] == kSeparators[k])
                ++counts[k];
    ImportRewind();
    int16_t best = -1;
    int32_t bestCount = 0;
    for (int16_t k = 0; k < kImportSeparatorCount; ++k) {
        if (counts[k] > bestCount) {
            best = k;
            bestCount = counts[k];
        }
    }
    return best < 0 ? ',' : kSeparators[best];
}

void ImportSetTrimSpaces(uint8_t trim) { g_reader.trim = trim; }

uint8_t ImportGetTrimSpaces() { return g_reader.trim; }

void ImportSetUtf8(bool utf8) { g_reader.utf8 = utf8; }

bool ImportGetUtf8() { return g_reader.utf8; }

bool ImportLineNotUtf8() { return g_reader.notUtf8; }

int32_t ImportGetFieldReplaced(int32_t index)
{
    const Reader& r = g_reader;
    return index >= 0 && index < r.fieldCount && size_t(index) < r.replaced.size() ? r.replaced[size_t(index)] : 0;
}

void ImportRewind()
{
    Reader& r = g_reader;
    r.lineStart = r.textStart;
    r.linesRead = 0;
    r.firstLine = 0;
    r.nextLine = 1;
    r.blankLines = 0;
    if (r.file != kNoFile)
        FileSeek(r.file, kSeekStart, static_cast<int32_t>(r.textStart));
}

bool ImportNextLine()
{
    Reader& r = g_reader;
    r.fieldCount = 0;
    if (!Ready())
        return false;
    return ReadRecord(AddField);
}

bool ImportSeekLine(int32_t n)
{
    Reader& r = g_reader;
    r.fieldCount = 0;
    if (!Ready() || n < 1)
        return false;
    if (n == r.linesRead && r.lineStart <= INT32_MAX) {
        // Read the line again rather than split what the buffer holds: the
        // buffer keeps only the last piece of a long line.
        if (FileSeek(r.file, kSeekStart, static_cast<int32_t>(r.lineStart)) != 0)
            return false;
        --r.linesRead;
        r.nextLine = r.firstLine;
    } else if (n <= r.linesRead) {
        ImportRewind();
    }
    while (r.linesRead < n - 1)
        if (!ReadRecord(SkipField))
            return false;
    return ImportNextLine();
}

int32_t ImportGetFieldCount() { return g_reader.fieldCount; }

bool ImportGetFieldCut(int32_t index)
{
    const Reader& r = g_reader;
    return index >= 0 && index < r.fieldCount && size_t(index) < r.cut.size() && r.cut[size_t(index)];
}

bool ImportLineIsBlank() { return g_reader.blank; }

int32_t ImportGetRecordNumber() { return g_reader.linesRead; }

int32_t ImportGetLineNumber() { return g_reader.firstLine; }

int32_t ImportGetBlankLines() { return g_reader.blankLines; }

int32_t ImportGetLineFieldCount() { return g_reader.fieldsSeen; }

bool ImportLineHasOnlySeparators() { return !g_reader.blank && !g_reader.anyText && g_reader.fieldsSeen > 0; }

bool ImportGetField(int32_t index, char* out)
{
    const Reader& r = g_reader;
    if (index < 0 || index >= r.fieldCount || !r.fields) {
        out[0] = '\0';
        return false;
    }
    const char* entry = HandleData<char>(r.fields) + static_cast<size_t>(index) * kImportFieldSize;
    std::memcpy(out, entry, strnlen(entry, kImportFieldMaxLength) + 1);
    return true;
}

const char* ImportFieldTable() { return HandleData<char>(g_reader.fields); }
