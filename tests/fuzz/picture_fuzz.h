// The body of the picture fuzz targets: load the bytes with one loader and
// read every byte of what it made, so that a block smaller than its header
// says shows up under the sanitizers.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <initializer_list>

#include "graphics/dib_image.h"

inline void FuzzPictureLoader(const uint8_t* data, size_t size, int32_t type)
{
    // Pictures the size of the real limit are legitimate, but the fuzzers'
    // memory limit can't hold several of them with the sanitizers' overhead.
    CDibImage::SetBlockLimit(64ull << 20);
    for (uint32_t index : {0u, 1u}) {
        CDibImage image;
        image.SetImageIndex(index);
        if (!image.DibLoadBytesByType(data, size, type))
            continue;
        const uint32_t stride = (uint32_t(image.GetWidth()) * image.GetBitCount() + 31) / 32 * 4;
        if (image.GetStride() != stride ||
            image.GetPackedSize() != 40 + 4 * image.GetColourCount() + stride * uint32_t(image.GetHeight()))
            std::abort();
        const uint8_t* block = image.GetBits();
        uint32_t sum = 0;
        for (uint32_t i = 0; i < image.GetPackedSize(); ++i)
            sum += block[i];
        volatile uint32_t sink = sum;
        (void)sink;
    }
}
