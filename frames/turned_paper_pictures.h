// The turned pictures paper and an enlarged view get. The screen turns a
// picture at the size of its frame in points, which on paper, or on a view
// zoomed past 100%, would show one pixel a point; these turn the picture as
// it was read instead, brought down to what its place on the device shows
// (on paper at most kPaperMaxDpi, never more pixels than it has),
// smoothly, and its transparency with it. Each is made once and kept by
// what it is made of and its size (within a pixel or two, as the cells of
// a sheet round the same frame), so that every card of a job hands the
// very same bitmap on and the file keeps it once, and a view repainted or
// scrolled at one zoom turns it only once.
#pragma once

#include <cstdint>
#include <list>
#include <memory>
#include <mutex>

#include "graphics/dib_handle.h"
#include "platform/gdi_types.h"

class TurnedPaperPictures {
public:
    // How what the picture leaves out is shown: not at all (the frame has a
    // background), by a mask of one bit (the pixels of the key colour), or
    // by a graded mask (paper that takes one).
    enum class Cover : uint8_t { kOpaque, kKeyed, kGraded };

    struct Turned {
        Turned() = default;
        ~Turned()
        {
            DibHandleFree(&picture);
            DibHandleFree(&mask);
        }
        Turned(const Turned&) = delete;
        Turned& operator=(const Turned&) = delete;
        // 24 bits, laid over white; the corners the turn opens are the key
        // colour.
        DibHandle picture = nullptr;
        // Null for kOpaque; one bit for kKeyed; 8 bits of grey, how much
        // is left out, for kGraded.
        DibHandle mask = nullptr;
        // Hashes of what they were made of (Dc::setPictureKey).
        uint64_t pictureKey = 0;
        uint64_t maskKey = 0;
    };

    struct Request {
        // The picture as read (24 bits, laid over white), known by
        // `pictureKey`, and its graded mask when it has alpha (8 bits,
        // PictureSoftMasks), else null.
        DibHandle picture = nullptr;
        uint64_t pictureKey = 0;
        DibHandle softMask = nullptr;
        ColorRef key = 0xFFFFFF;
        Cover cover = Cover::kOpaque;
        // Counter-clockwise, in whole degrees.
        int16_t angle = 0;
        // The pixels the picture is brought to before it is turned.
        int32_t width = 0;
        int32_t height = 0;
    };

    // The one every picture frame prints through.
    static TurnedPaperPictures& Shared();

    // The picture turned as asked; null when it cannot be made.
    std::shared_ptr<const Turned> Get(const Request& request);

private:
    struct Entry {
        // What it is made of, and the pixels it was brought to: a place a
        // pixel or two different gets it too.
        uint64_t made;
        int32_t width;
        int32_t height;
        std::shared_ptr<const Turned> turned;
        uint64_t bytes;
    };
    // A few sheets' worth of distinct turned pictures.
    static constexpr uint64_t kKeptBytes = 64ull << 20;
    static constexpr size_t kKept = 64;

    std::mutex mutex_;
    // The latest first.
    std::list<Entry> kept_;
    uint64_t bytes_ = 0;
};
