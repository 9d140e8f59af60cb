// Reads arbitrary bytes as a spelling dictionary file. A file the loader
// accepts must be safe to look up, change and write, and what it writes
// must load again; nothing may crash or hang.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include "foundation/alert_sink.h"
#include "foundation/file_io.h"
#include "foundation/path_record.h"
#include "foundation/pstr.h"
#include "fuzz_support.h"
#include "text/spell_dictionary.h"

namespace {

std::string TempPath(const char* name) { return ProcessTempPath("fuzz_dictionary_") + name; }

FileHandle Open(const std::string& path, int16_t mode) { return OpenExisting(PathOf(path), mode); }

void Exercise(const uint8_t* word)
{
    LookupWord(word, 0);
    LookupWord(word, 1);
    for (int i = 0; i < SuggestionCount(); ++i)
        if (!SuggestionAt(i))
            std::abort();
    LookupWord(word, 2);
    if (AddWord(word) != 0)
        return;
    // The word was missing, so the file's lists hold no copy of it.
    if (LookupWord(word, 0) != 0 || RemoveWord(word) != 0 || LookupWord(word, 0) != 1)
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    SilenceAlerts();
    const std::string input = TempPath(".dic");
    const std::string output = TempPath("-out.dic");
    WriteWholeFile(input, data, size);
    FileHandle file = Open(input, kFileRead);
    const int32_t err = LoadDictionary(file, 0);
    FileClose(file);
    if (err != 0) {
        ClearDictionary();
        return 0;
    }

    ForEachDictionaryWord([](const uint8_t* w, void*) { LookupWord(w, 1); }, nullptr);
    PStr word = {3, 'c', 'a', 't'};
    Exercise(word);
    // A word made of the input's last bytes, whatever they are.
    const size_t n = size < 12 ? size : 12;
    word[0] = uint8_t(n);
    std::memcpy(word + 1, data + size - n, n);
    Exercise(word);

    { std::ofstream(output, std::ios::binary | std::ios::trunc); }
    file = Open(output, kFileReadWrite);
    if (SaveDictionary(file) != 0 || LoadDictionary(file, 0) != 0)
        std::abort();
    FileClose(file);
    ClearDictionary();
    return 0;
}
