// Enhanced metafiles of many records, as a hostile file would be made: a
// path of Bezier curves that cross the whole picture, or ellipses. The
// picture is 1000 x 500 reference pixels (about 31 x 16 mm).
#pragma once

#include <cstdint>
#include <vector>

#include "graphics/emf_builder.h"
#include "graphics/metafile_format.h"

inline std::vector<uint8_t> RunawayMetafile(bool curves, uint32_t records)
{
    EmfHeaderInfo h;
    h.bounds = IntRect{0, 0, 999, 499};
    h.frame = IntRect{0, 0, 31250, 15625};
    h.devicePixels = IntSize{1024, 768};
    h.deviceMillimeters = IntSize{320, 240};
    EmfBuilder b(h);
    uint32_t seed = 12345;
    const auto next = [&seed](uint32_t m) {
        seed = (seed * 1103515245u + 12345u) & 0x7FFFFFFFu;
        return int32_t(seed % m);
    };
    if (curves) {
        b.record(EMR_BEGINPATH);
        b.begin(EMR_MOVETOEX);
        b.point(IntPoint{500, 250});
        b.end();
        for (uint32_t i = 0; i < records; ++i) {
            b.begin(EMR_POLYBEZIERTO16);
            b.rect(IntRect{0, 0, 1000, 500});
            b.u32(3);
            for (int k = 0; k < 3; ++k) {
                b.i16(int16_t(next(1000)));
                b.i16(int16_t(next(500)));
            }
            b.end();
        }
        b.record(EMR_ENDPATH);
        b.begin(EMR_STROKEANDFILLPATH);
        b.rect(IntRect{0, 0, 1000, 500});
        b.end();
    } else {
        for (uint32_t i = 0; i < records; ++i) {
            const int32_t l = next(1000), t = next(500);
            b.begin(EMR_ELLIPSE);
            b.rect(IntRect{l, t, l + 1 + next(1000 - l), t + 1 + next(500 - t)});
            b.end();
        }
    }
    return b.finish();
}
