// Reads arbitrary bytes as an EPS file: where its PostScript lies (a DOS
// EPS header or none) and its bounding box comment. Whatever the bytes,
// the section lies within the file and a box is four numbers or none.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "foundation/file_io.h"
#include "foundation/path_record.h"
#include "fuzz_support.h"
#include "graphics/eps_bounding_box.h"
#include "graphics/eps_section.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string path = ProcessTempPath("fuzz_eps_") + ".eps";
    WriteWholeFile(path, data, size);
    const PathRecord record = PathOf(path);
    FileHandle file = OpenExisting(record, kFileRead);
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
