// Reads arbitrary bytes as an enhanced metafile and plays whatever is
// accepted onto a small picture, then converts it to a Windows metafile.
// Nothing may read outside the input, loop for ever or allocate absurdly.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

#include <QGuiApplication>
#include <QImage>

#include "graphics/emf_reader.h"
#include "graphics/metafile_player.h"
#include "graphics/wmf_writer.h"
#include "platform/dc.h"

namespace {

// Larger inputs add time without reaching new code.
constexpr size_t kMaxInput = 1 << 16;

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    // Text needs the font database.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > kMaxInput)
        return 0;
    EnhMetafile mf = SetEnhMetaFileBits(uint32_t(size), data);
    if (!mf)
        return 0;
    // What was taken in is well-formed: its bytes read back as they are.
    std::vector<uint8_t> bits(GetEnhMetaFileBits(mf, 0, nullptr));
    Check(GetEnhMetaFileBits(mf, uint32_t(bits.size()), bits.data()) == bits.size());
    EnhMetafile again = SetEnhMetaFileBits(uint32_t(bits.size()), bits.data());
    Check(again && again->bits == mf->bits);
    DeleteEnhMetaFile(again);

    QImage image(48, 32, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        auto dc = Dc::ForImage(&image);
        PlayEnhMetaFile(*dc, *mf, IntRect{2, 2, 46, 30});
    }
    std::vector<uint8_t> wmf;
    EnhMetafileToWmfBits(*mf, 300, 200, &wmf);
    DeleteEnhMetaFile(mf);
    return 0;
}
