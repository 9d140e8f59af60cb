// Reads arbitrary bytes as an EPS file: where its PostScript lies (a DOS
// EPS header or none) and its bounding box comment. Whatever the bytes,
// the section lies within the file and a box is four numbers or none.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>

#include "foundation/file_io.h"
#include "foundation/path_record.h"
#include "graphics/eps_bounding_box.h"
#include "graphics/eps_section.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const char* folder = std::getenv("TMPDIR");
    const std::string path = std::string(folder && *folder ? folder : "/tmp") + "/fuzz_eps_" +
                             std::to_string(::getpid()) + ".eps";
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), std::streamsize(size));
    }
    PathRecord record{};
    if (PathRecordFromPosix(path, &record) != 0)
        std::abort();
    FileHandle file = kNoFile;
    if (FileOpen(&record, kFileRead, &file) != 0)
        std::abort();
    uint32_t offset = 0, length = 0;
    if (EpsLocateSection(file, &offset, &length) == 0 && uint64_t(offset) + length > size)
        std::abort();
    FileClose(file);

    IntRect box;
    const int32_t result = EpsReadBoundingBox(&record, &box);
    if (result != 0 && (box.left || box.top || box.right || box.bottom))
        std::abort();
    return 0;
}
