// Reads arbitrary bytes as a Windows metafile file (with or without its
// placeable header), converts it and plays what is accepted onto a small
// picture. Nothing may read outside the input, loop for ever or allocate
// absurdly, and the conversion must give a well-formed enhanced metafile.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

#include <QGuiApplication>
#include <QImage>

#include "graphics/metafile.h"
#include "graphics/metafile_player.h"
#include "platform/dc.h"

namespace {

constexpr size_t kMaxInput = 1 << 16;

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > kMaxInput)
        return 0;
    EnhMetafile mf = WmfBytesToEnhMetafile(data, uint32_t(size), nullptr);
    if (!mf)
        return 0;
    EnhMetafile again = SetEnhMetaFileBits(uint32_t(mf->bits.size()), mf->bits.data());
    Check(again && again->bits == mf->bits);
    DeleteEnhMetaFile(again);
    QImage image(48, 32, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        auto dc = Dc::ForImage(&image);
        PlayEnhMetaFile(*dc, *mf, IntRect{2, 2, 46, 30});
    }
    DeleteEnhMetaFile(mf);
    return 0;
}
