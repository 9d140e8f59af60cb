// The graded masks pictures print through. A picture file with alpha is
// laid over white when it is read, which is what the screen, the exports
// and the stored card keep; paper (a PDF file, a printer) can show it over
// whatever lies beneath it instead. Its mask is made when the picture is
// first printed, from its file read again, and is kept by the picture's
// content for the rest of the process: one byte a pixel, and only for
// pictures that are not wholly opaque.
#pragma once

#include <cstdint>
#include <list>
#include <memory>
#include <mutex>
#include <vector>

#include "foundation/path_record.h"
#include "graphics/dib_handle.h"
#include "platform/gdi_types.h"

class PictureSoftMasks {
public:
    struct Mask {
        Mask(DibHandle h, uint64_t k) : mask(h), key(k) {}
        ~Mask() { DibHandleFree(&mask); }
        Mask(const Mask&) = delete;
        Mask& operator=(const Mask&) = delete;
        // 8 bits, grey: how much of the picture is left out.
        DibHandle mask;
        // A hash of the mask's pixels (Dc::setPictureKey).
        uint64_t key;
    };

    // The one every picture frame prints through.
    static PictureSoftMasks& Shared();

    // The mask of the picture known by pictureKey (FrameObjImage's hash of
    // its pixels). Known is false when the picture was never asked about;
    // a known picture without a mask is opaque, or its file no longer
    // gives it, and prints through its mask of one bit.
    std::shared_ptr<const Mask> Find(uint64_t pictureKey, bool* known);
    // Reads the file of picture (24 bits, laid over white, known by
    // pictureKey) again for its alpha and keeps the mask made of it: grey
    // 255 less the alpha, and 255 where the picture shows `key`, the colour
    // its mask of one bit leaves out. Null, and so kept, when the file has
    // no alpha or no longer holds the very picture.
    std::shared_ptr<const Mask> Make(uint64_t pictureKey, DibHandle picture, const PathRecord& file, uint32_t tag,
                                     ColorRef key);
    // The same from the alpha the picture was just read with (empty for an
    // opaque one), by a caller that read its file anyway.
    std::shared_ptr<const Mask> Take(uint64_t pictureKey, DibHandle picture, const std::vector<uint8_t>& alpha,
                                     ColorRef key);

private:
    struct Entry {
        uint64_t pictureKey;
        std::shared_ptr<const Mask> mask;
        uint64_t bytes;
    };
    // The masks kept: a few sheets' worth of distinct pictures.
    static constexpr uint64_t kKeptBytes = 64ull << 20;
    static constexpr size_t kKept = 256;
    void Keep(uint64_t pictureKey, std::shared_ptr<const Mask> mask);

    std::mutex mutex_;
    // The latest first.
    std::list<Entry> kept_;
    uint64_t bytes_ = 0;
};
