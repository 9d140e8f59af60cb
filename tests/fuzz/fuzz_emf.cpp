// Reads arbitrary bytes as an enhanced metafile and plays whatever is
// accepted onto a small picture, then converts it to a Windows metafile.
// Nothing may read outside the input, loop for ever or allocate absurdly.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

#include "graphics/emf_reader.h"
#include "graphics/wmf_writer.h"
#include "metafile_fuzz.h"
#include "offscreen_gui.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    // Text needs the font database.
    StartOffscreenGui(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const auto read = [](const uint8_t* bytes, uint32_t n) { return SetEnhMetaFileBits(n, bytes); };
    WithMetafile(data, size, read, [](EnhMetafile mf) {
        // What was taken in is well-formed: its bytes read back as they are.
        std::vector<uint8_t> bits(GetEnhMetaFileBits(mf, 0, nullptr));
        Check(GetEnhMetaFileBits(mf, uint32_t(bits.size()), bits.data()) == bits.size());
        CheckTakenInAgain(bits, mf);

        PlayOnSmallPicture(*mf);
        std::vector<uint8_t> wmf;
        EnhMetafileToWmfBits(*mf, 300, 200, &wmf);
    });
    return 0;
}
