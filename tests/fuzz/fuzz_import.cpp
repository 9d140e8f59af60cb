// Splits fuzzed text with the import reader. Beyond not crashing, the text
// must split the same whether the splitter gets it whole or in pieces, and
// whether the reader reads it through a buffer that holds every line or one
// of a few bytes.
//
// Input: byte 0 selects the separator (low bits), UTF-8 text (bit 6) and the
// trim flag (bit 7), byte 1 the piece and small buffer sizes; the rest is
// the text. The delimiter guess of the import command reads it too.
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "dbdoc/text_import.h"
#include "foundation/file_io.h"
#include "foundation/import_reader.h"
#include "foundation/path_record.h"

namespace {

using Record = std::vector<std::string>;

bool Collect(void* user, const char* text, int32_t length)
{
    if (length < 0 || length > kImportFieldMaxLength || text[length] != '\0')
        std::abort();
    static_cast<Record*>(user)->emplace_back(text, static_cast<size_t>(length));
    return true;
}

Record Split(const char* text, size_t n, size_t piece, int16_t separator, bool trim)
{
    static const char kSeparators[] = {' ', ',', '\t', ':', ';', ','};
    Record fields;
    ImportLineSplitter splitter(kSeparators[separator], separator == kImportQuotedComma, trim, Collect, &fields);
    for (size_t at = 0; at < n; at += piece)
        splitter.Feed(text + at, std::min(piece, n - at));
    splitter.Finish();
    return fields;
}

Record CurrentFields()
{
    Record fields;
    char text[kImportFieldSize];
    for (int32_t i = 0; i < ImportGetFieldCount(); ++i) {
        if (!ImportGetField(i, text))
            std::abort();
        fields.emplace_back(text);
    }
    return fields;
}

std::vector<Record> ReadAll(FileHandle file, int32_t bufferSize, int16_t separator, bool utf8)
{
    if (!ImportOpen(file, bufferSize, 0))
        std::abort();
    ImportSetSeparator(separator);
    if (utf8)
        ImportSetUtf8(true);
    std::vector<Record> records;
    while (ImportNextLine())
        records.push_back(CurrentFields());
    return records;
}

// One scratch file for the whole run, rewritten for every input. It goes
// away with its handle, also when the run ends in a crash.
class ScratchFile {
public:
    ScratchFile()
    {
        PathRecord record{};
        const std::string path = "/tmp/tessaline-fuzz-import-" + std::to_string(getpid()) + ".txt";
        if (PathRecordFromPosix(path, &record) != 0 || FileCreate(&record, kFileReadWrite, &file_) != 0 ||
            FileClose(file_) != 0 || FileOpenDeleteOnClose(&record, kFileReadWrite, &file_) != 0)
            std::abort();
    }
    ~ScratchFile()
    {
        ImportClose();
        FileClose(file_);
    }
    FileHandle Write(const char* text, size_t n)
    {
        if (FileSetSize(file_, 0) != 0 || FileSeek(file_, kSeekStart, 0) != 0 ||
            FileWrite(file_, text, static_cast<uint32_t>(n)) != 0)
            std::abort();
        return file_;
    }

private:
    FileHandle file_ = kNoFile;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    const int16_t separator = static_cast<int16_t>((data[0] & 0x7F) % kImportSeparatorCount);
    const bool trim = (data[0] & 0x80) != 0;
    const bool utf8 = (data[0] & 0x40) != 0;
    const size_t piece = 1 + data[1] % 16;
    const int32_t smallBuffer = 2 + data[1] % 24;
    const char* text = reinterpret_cast<const char*>(data) + 2;
    const size_t n = size - 2;

    if (Split(text, n, n ? n : 1, separator, trim) != Split(text, n, piece, separator, trim))
        std::abort();

    static ScratchFile scratch;
    const FileHandle file = scratch.Write(text, n);
    ImportSetTrimSpaces(trim);
    const std::vector<Record> whole = ReadAll(file, static_cast<int32_t>(n) + 2, separator, utf8);
    const std::vector<Record> pieces = ReadAll(file, smallBuffer, separator, utf8);
    if (whole != pieces)
        std::abort();

    // Going back to a line, or staying on it, reads the same fields again.
    for (size_t line : {whole.size(), whole.size() / 2, size_t{1}}) {
        if (line == 0 || line > whole.size())
            continue;
        if (!ImportSeekLine(static_cast<int32_t>(line)) || CurrentFields() != whole[line - 1])
            std::abort();
    }
    ImportGuessSeparator();
    if (!whole.empty() && (!ImportNextLine() || CurrentFields() != whole[0]))
        std::abort();
    ImportClose();
    const int16_t guessed = GuessDelimiter(std::string_view(text, n));
    if (guessed < 0 || guessed >= kImportSeparatorCount)
        std::abort();
    return 0;
}
