// Writing metafiles to open files: enhanced bits, or a placeable Windows
// metafile.
#include <vector>

#include "graphics/metafile.h"
#include "graphics/metafile_format.h"
#include "graphics/wmf_header.h"
#include "graphics/wmf_writer.h"
#include "platform/gdi_types.h"

int32_t MetafileWriteFile(FileHandle file, EnhMetafile object, Dc* reference, int32_t enhanced)
{
    if (!object)
        return 1;
    if (enhanced) {
        const uint32_t n = GetEnhMetaFileBits(object, 0, nullptr);
        std::vector<uint8_t> bits;
        try {
            bits.resize(n);
        } catch (const std::bad_alloc&) {
            return 1;
        }
        if (n == 0 || GetEnhMetaFileBits(object, n, bits.data()) != n)
            return 1;
        return FileWrite(file, bits.data(), n);
    }
    const uint32_t n = GetWinMetaFileBits(object, 0, nullptr, MM_ANISOTROPIC, reference);
    if (n == 0)
        return 1;
    std::vector<uint8_t> bits;
    try {
        bits.resize(n);
    } catch (const std::bad_alloc&) {
        return 1;
    }
    if (GetWinMetaFileBits(object, n, bits.data(), MM_ANISOTROPIC, reference) != n)
        return 1;
    // The header names the same size the picture's window has; a frame too
    // large for 16 bits at 1000 units an inch takes fewer units.
    uint16_t inch;
    int16_t width, height;
    WmfPictureSize(*object, &inch, &width, &height);
    uint8_t header[kPlaceableSize];
    PlaceableHeaderBuild(width, height, inch, header);
    const int32_t err = FileWrite(file, header, kPlaceableSize);
    return err ? err : FileWrite(file, bits.data(), n);
}
