// Reads arbitrary bytes as the power-text styles file. Whatever it holds,
// the list read must be whole styles that the file really holds, byte for
// byte, and saving and reading it again must give the same list.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include <unistd.h>

#include "foundation/byte_order.h"
#include "foundation/file_io.h"
#include "foundation/handle.h"
#include "foundation/path_record.h"
#include "typography/power_text_styles.h"

namespace {

PathRecord gFile;

bool WriteInput(const uint8_t* data, size_t size)
{
    FileHandle f = kNoFile;
    if (FileCreate(&gFile, kFileWrite, &f) != 0)
        return false;
    const bool ok = size == 0 || FileWrite(f, data, uint32_t(size)) == 0;
    FileClose(f);
    return ok;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    char folder[] = "/tmp/fuzz-styles-XXXXXX";
    if (!mkdtemp(folder) || PathRecordFromPosix(std::string(folder) + "/QX_PTStyles.dat", &gFile) != 0)
        std::abort();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > (1u << 16) || !WriteInput(data, size))
        return 0;
    HandleOwner list(HandleNew(0));
    if (LoadPowerTextStyles(gFile, list.get()) != 0)
        std::abort();
    const uint32_t n = HandleGetSize(list.get());
    const uint32_t stated = size >= 4 ? GetU32LE(data) : 0;
    if (n % kGlyphStyleSize != 0 || n > stated || (n > 0 && 4 + size_t(n) > size))
        std::abort();
    if (n > 0 && std::memcmp(HandleData(list.get()), data + 4, n) != 0)
        std::abort();
    for (int32_t i = 1; i <= PowerTextStyleCount(list.get()); ++i) {
        GlyphStyle style;
        if (!GetPowerTextStyle(list.get(), i, &style) || FindPowerTextStyle(list.get(), style) > i)
            std::abort();
    }

    if (SavePowerTextStyles(gFile, list.get()) != 0)
        std::abort();
    HandleOwner again(HandleNew(0));
    if (LoadPowerTextStyles(gFile, again.get()) != 0 || HandleGetSize(again.get()) != n ||
        (n > 0 && std::memcmp(HandleData(again.get()), HandleData(list.get()), n) != 0))
        std::abort();
    return 0;
}
