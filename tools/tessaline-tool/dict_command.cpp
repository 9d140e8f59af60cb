// dict build WORDLIST OUT.dic: a spelling dictionary from a word list, one
// word a line (UTF-8 or Windows-1252). Words are kept as the dictionary
// keeps them, lower-cased and each once; words with a character outside
// a-z . - ' space, or not starting with a letter, are left out.
// dict dump FILE: the words of a dictionary, one a line, in stored order;
// a damaged file is refused. build on the dump gives the same file back.

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include <QByteArray>
#include <QStringDecoder>

#include "foundation/byte_order.h"
#include "foundation/cp1252.h"
#include "foundation/file_io.h"
#include "foundation/path_record.h"
#include "foundation/pstr.h"
#include "foundation/whole_file_writer.h"
#include "text/spell_dictionary.h"
#include "text/spell_dictionary_format.h"
#include "text/spell_word_codec.h"
#include "tool_command.h"

namespace {

std::string Reason(int32_t code)
{
    switch (code) {
    case kDictErrBadFile: return "not a sound dictionary";
    case kDictErrNoMemory: return "out of memory";
    case 2:
    case 3: return "no such file";
    case 5: return "access denied";
    case 32: return "the file is in use";
    default: return "file error";
    }
}

int Fail(const std::string& path, int32_t code)
{
    return ToolFail(path + ": " + Reason(code) + " [" + std::to_string(code) + "]");
}

// A line of the list as Windows-1252 bytes: UTF-8 text is converted (a
// character the code page lacks becomes '?', which no word may hold).
std::string LineBytes(const std::string& line)
{
    if (std::all_of(line.begin(), line.end(), [](char c) { return uint8_t(c) < 0x80; }))
        return line;
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8(QByteArrayView(line.data(), qsizetype(line.size())));
    return utf8.hasError() ? line : QStringToCp1252(text);
}

// Each bucket's stored texts, as code strings (whose byte order is the
// dictionary's order).
using Buckets = std::vector<std::vector<std::string>>;

int Build(const std::string& listPath, const std::string& outPath)
{
    std::ifstream in(listPath, std::ios::binary);
    if (!in)
        return Fail(listPath, 2);
    Buckets buckets(kDictBucketCount);
    uint32_t lines = 0;
    std::string line;
    while (std::getline(in, line)) {
        while (!line.empty() && (line.back() == '\r' || line.back() == '\n'))
            line.pop_back();
        if (line.empty())
            continue;
        ++lines;
        const std::string bytes = LineBytes(line);
        if (bytes.size() > size_t(kPStrMaxLength))
            continue;
        PStr word;
        word[0] = uint8_t(bytes.size());
        std::copy(bytes.begin(), bytes.end(), word + 1);
        DictNormalizeWord(word, word);
        DictWordKey key;
        uint8_t codes[kPStrMaxLength];
        if (!DictWordKeyOf(word, &key) || !DictCharsToCodes(word + 1, word[0], codes))
            continue;
        buckets[size_t(key.bucket)].emplace_back(reinterpret_cast<const char*>(codes) + key.textStart,
                                                 size_t(word[0] - key.textStart));
    }
    if (in.bad())
        return Fail(listPath, 31);

    std::vector<uint8_t> file;
    size_t words = 0;
    for (std::vector<std::string>& texts : buckets) {
        std::sort(texts.begin(), texts.end());
        texts.erase(std::unique(texts.begin(), texts.end()), texts.end());
        if (texts.size() > kDictListMaxCount)
            return ToolFail(listPath + ": too many words for one bucket");
        words += texts.size();
        std::vector<uint8_t> list(kDictListHeaderLength);
        PutU16LE(list.data() + kDictListCountOffset, uint16_t(texts.size()));
        for (const std::string& text : texts) {
            const size_t at = list.size();
            list.resize(at + DictEntryLength(uint32_t(text.size())));
            list[at + kDictEntryLengthOffset] = uint8_t(text.size());
            DictPackCodes(reinterpret_cast<const uint8_t*>(text.data()), uint32_t(text.size()),
                          list.data() + at + kDictEntryCodesOffset);
        }
        if (list.size() < kDictSmallestStoredList)
            list.clear();
        const size_t at = file.size();
        file.resize(at + kDictSizeFieldLength);
        PutU32LE(file.data() + at, uint32_t(list.size()));
        file.insert(file.end(), list.begin(), list.end());
    }

    // Written beside the target and put in its place, so a build cut short
    // never leaves a partial dictionary under its name.
    PathRecord out;
    if (PathRecordFromPosix(outPath, &out))
        return ToolFail(outPath + ": path too long");
    const int32_t err = ReplaceFileWhole(out, "DIC", [&file](FileHandle h) {
        return FileWrite(h, file.data(), uint32_t(file.size()));
    });
    if (err != 0)
        return Fail(outPath, err);
    std::printf("%s: %zu words from %u lines, %zu bytes\n", outPath.c_str(), words, unsigned(lines), file.size());
    return 0;
}

void PrintWord(const uint8_t* word, void* user)
{
    auto* ok = static_cast<bool*>(user);
    if (std::fwrite(word + 1, 1, word[0], stdout) != word[0] || std::fputc('\n', stdout) == EOF)
        *ok = false;
}

int Dump(const std::string& path)
{
    PathRecord record;
    if (PathRecordFromPosix(path, &record))
        return ToolFail(path + ": path too long");
    FileHandle file = kNoFile;
    int32_t err = FileOpen(&record, kFileRead, &file);
    if (err == 0)
        err = LoadDictionary(file, 0);
    FileClose(file);
    if (err != 0)
        return Fail(path, err);
    bool ok = true;
    ForEachDictionaryWord(PrintWord, &ok);
    ClearDictionary();
    if (!ok || std::fflush(stdout) != 0)
        return ToolFail("cannot write the words");
    return 0;
}

int RunDict(const ToolArgs& args)
{
    if (args.size() == 3 && args[0] == "build")
        return Build(args[1], args[2]);
    if (args.size() == 2 && args[0] == "dump")
        return Dump(args[1]);
    return ToolFail("usage: dict build WORDLIST OUT.dic | dict dump FILE");
}

}  // namespace

TESSALINE_TOOL_COMMAND("dict", "dict build WORDLIST OUT.dic | dict dump FILE", RunDict);
