// Reads arbitrary bytes as a Windows metafile file (with or without its
// placeable header), converts it and plays what is accepted onto a small
// picture. Nothing may read outside the input, loop for ever or allocate
// absurdly, and the conversion must give a well-formed enhanced metafile.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "graphics/metafile.h"
#include "metafile_fuzz.h"
#include "offscreen_gui.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    StartOffscreenGui(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const auto read = [](const uint8_t* bytes, uint32_t n) { return WmfBytesToEnhMetafile(bytes, n, nullptr); };
    WithMetafile(data, size, read, [](EnhMetafile mf) {
        CheckTakenInAgain(mf->bits, mf);
        PlayOnSmallPicture(*mf);
    });
    return 0;
}
