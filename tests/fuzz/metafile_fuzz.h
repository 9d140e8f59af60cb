// What the metafile targets share: the bound on the input, and what they do
// with a metafile they took in: take its bytes in again, and play it onto a
// small picture.
#pragma once

#include <QImage>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "fuzz_support.h"
#include "graphics/emf_reader.h"
#include "graphics/metafile_player.h"
#include "platform/dc.h"

// Larger inputs add time without reaching new code.
constexpr size_t kMaxMetafileInput = 1 << 16;

// Hands use the metafile read takes in from the input, and deletes it
// afterwards; an input read refuses ends there.
template <typename Read, typename Use>
void WithMetafile(const uint8_t* data, size_t size, Read read, Use use)
{
    if (size > kMaxMetafileInput)
        return;
    EnhMetafile mf = read(data, uint32_t(size));
    if (!mf)
        return;
    use(mf);
    DeleteEnhMetaFile(mf);
}

// bits, the bytes of mf, are taken in again as the very same metafile.
inline void CheckTakenInAgain(const std::vector<uint8_t>& bits, EnhMetafile mf)
{
    EnhMetafile again = SetEnhMetaFileBits(uint32_t(bits.size()), bits.data());
    Check(again && again->bits == mf->bits);
    DeleteEnhMetaFile(again);
}

inline void PlayOnSmallPicture(const EnhMetafileRec& mf)
{
    QImage image(48, 32, QImage::Format_RGB32);
    image.fill(Qt::white);
    auto dc = Dc::ForImage(&image);
    PlayEnhMetaFile(*dc, mf, IntRect{2, 2, 46, 30});
}
