// Reads arbitrary bytes as a typed resource file. Whatever is accepted must
// read the same with write access, and must take a few changes that read
// back exactly as made.

#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "foundation/file_io.h"
#include "foundation/path_record.h"
#include "foundation/resfile.h"

namespace {

// Inputs this large add time without reaching new code in the changes.
constexpr size_t kMaxChanged = 1 << 16;
constexpr ResType kFuzzType = 0x66757A7A;  // 'fuzz'

struct Snapshot {
    std::map<std::pair<ResType, int32_t>, std::string> data;
    std::map<ResType, std::vector<int32_t>> order;
    bool operator==(const Snapshot&) const = default;
};

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

Snapshot Take()
{
    Snapshot s;
    const std::vector<ResEntry> table = ResFileTable();
    for (const ResEntry& e : table) {
        Handle h = ResFileGet(e.type, e.id);
        Check(h != nullptr && HandleGetSize(h) == e.size);
        std::string bytes(reinterpret_cast<char*>(HandleData(h)), HandleGetSize(h));
        std::string copy(e.size, '\0');
        Check(ResFileReadInto(e.type, e.id, copy.data(), int32_t(e.size)) == 0 && copy == bytes);
        s.data[{e.type, e.id}] = bytes;
        s.order[e.type].push_back(e.id);
    }
    for (const auto& [type, ids] : s.order)
        Check(ResFileCountType(type) == int32_t(ids.size()));
    ResFileCountTypes();
    ResFileNextType();
    return s;
}

// A folder of the process's own, so that nothing else touches the file.
const std::string& Path()
{
    static const std::string path = [] {
        std::string folder = std::string(access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp") +
                             "/tessaline-fuzz-resfile-XXXXXX";
        if (!mkdtemp(folder.data()))
            std::abort();
        static std::string remove;
        remove = folder;
        std::atexit([] {
            unlink((remove + "/input.res").c_str());
            rmdir(remove.c_str());
        });
        return folder + "/input.res";
    }();
    return path;
}

bool Store(const PathRecord& record, const uint8_t* data, size_t size)
{
    FileHandle file = kNoFile;
    if (FileCreate(&record, kFileWrite, &file))
        return false;
    const bool ok = FileWrite(file, data, uint32_t(size)) == 0;
    FileClose(file);
    return ok;
}

// Opens the file and makes it current. *refused tells a file the layer
// would not read from one that could not be opened at all.
FileHandle Use(const PathRecord& record, int16_t mode, bool* refused)
{
    *refused = false;
    const FileHandle file = ResFileOpen(&record, mode);
    if (file == kNoFile)
        return kNoFile;
    if (ResFileUse(file, mode) != 0) {
        *refused = true;
        ResFileClose(file);
        return kNoFile;
    }
    return file;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    PathRecord record;
    if (size > UINT32_MAX || PathRecordFromPosix(Path(), &record) || !Store(record, data, size))
        return 0;

    bool refused;
    FileHandle file = Use(record, kResReadOnly, &refused);
    if (file == kNoFile)
        return 0;
    Snapshot expected = Take();
    ResFileClose(file);
    if (size > kMaxChanged)
        return 0;

    // With write access an interrupted change is completed: the content
    // stays what the reader saw.
    file = Use(record, kResReadWrite, &refused);
    Check(!refused);
    if (file == kNoFile)
        return 0;
    Check(Take() == expected);

    const int32_t id = size >= 4 ? int32_t(data[size - 1] | (data[size - 2] << 8)) - 300 : 5;
    const std::string bytes = std::string(reinterpret_cast<const char*>(data), std::min<size_t>(size, 37)) + "+";
    const ResType type = expected.order.empty() || (size & 1) ? kFuzzType : expected.order.begin()->first;
    Check(ResFilePut(type, id, bytes.data(), int32_t(bytes.size()), 1) == 0);
    Snapshot made = Take();
    Check(made.data[{type, id}] == bytes);
    if (!expected.order.empty()) {
        const auto& [firstType, ids] = *expected.order.begin();
        Check(ResFileMoveToIndex(firstType, ids.back(), 1) == 0);
        Check(ResFilePut(firstType, ids.front(), "changed", 7, 0) == 0);
        Check(ResFileRemove(firstType, ids[ids.size() / 2]) == 0);
        made = Take();
    }
    ResFileClose(file);

    file = Use(record, kResReadOnly, &refused);
    Check(!refused);
    if (file == kNoFile)
        return 0;
    Check(Take() == made);
    ResFileClose(file);
    return 0;
}
