// Reads arbitrary bytes as an index block and as a whole index file. A
// block the reader accepts must be safe to walk; a file that opens must
// stay a sound tree through walks and changes; nothing may crash or hang.

#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "database/index_block.h"
#include "database/index_file.h"
#include "foundation/alert_sink.h"
#include "foundation/path_record.h"
#include "fuzz_support.h"

namespace {

void CheckBlockReader(const uint8_t* data, size_t size)
{
    uint8_t block[kIndexBlockSize] = {};
    std::memcpy(block, data, std::min(size, size_t(kIndexBlockSize)));
    const uint32_t fileSize = uint32_t(kIndexHeaderPageSize + 16 * kIndexBlockSize);
    for (int expectLeaf = -1; expectLeaf <= 1; ++expectLeaf) {
        if (!IndexBlockIsSound(block, BlockOwnPosition(block), fileSize, expectLeaf))
            continue;
        int32_t at = 0;
        const int32_t used = BlockUsed(block);
        while (at < used) {
            const uint8_t* entry = BlockEntry(block, at);
            if (std::strlen(EntryKey(entry)) > size_t(kIndexMaxKeyLength))
                std::abort();
            at += EntrySize(entry);
        }
        if (at != used || used > kIndexEntryAreaSize)
            std::abort();
    }
}

const std::string& IndexPath()
{
    static const std::string path = ProcessTempPath("fuzz_db_index_") + ".idx";
    return path;
}

void CheckIndexFile(const uint8_t* data, size_t size)
{
    WriteWholeFile(IndexPath(), data, size);
    PathRecord path = PathOf(IndexPath());
    IndexFile index(4);
    index.SetErrorReporter([](void*, int16_t, int32_t, int32_t, const char*) {}, nullptr);
    if (index.Open(&path, 1) != 1)
        return;  // refused files are deleted

    // A sound tree holds at most one entry per 13 bytes of the file.
    const size_t bound = size / 13 + 2;
    IndexEntry entry{};
    size_t steps = 0;
    index.GoFirst();
    while (index.GetNext(&entry) == 1)
        if (++steps > bound)
            std::abort();
    steps = 0;
    index.GoLast();
    while (index.GetPrev(&entry) == 1)
        if (++steps > bound)
            std::abort();

    // Changes keyed by the input's own bytes.
    for (size_t i = 0; i + 4 <= size && i < 64 * 4; i += 4) {
        IndexEntry change{};
        const size_t length = data[i] % 24;
        for (size_t c = 0; c < length; ++c)
            change.key[c] = char('A' + (data[i + 1] + c) % 8);
        change.recordPosition = data[i + 2];
        index.SetDescending(data[i + 3] & 1);
        index.SetIgnoreSequence(data[i + 3] & 2);
        switch (data[i + 3] % 5) {
        case 0: index.AddKeySequenced(&change); break;
        case 1: index.DeleteKey(&change); break;
        case 2: index.LocateKey(&change); break;
        case 3: index.ReplaceRecordPosition(&change, data[i]); break;
        default: index.SeekEntry(&change); break;
        }
    }
    IndexCheckReport report;
    if (!index.Failed() && !index.CheckStructure(false, &report))
        std::abort();
    index.Close();
    ::unlink(IndexPath().c_str());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    SilenceAlerts();
    if (size > (1u << 20))
        return 0;
    CheckBlockReader(data, size);
    CheckIndexFile(data, size);
    return 0;
}
