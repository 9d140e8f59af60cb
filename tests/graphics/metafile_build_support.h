// Small metafiles made byte by byte for the metafile suites.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <vector>

#include "foundation/byte_order.h"
#include "graphics/emf_builder.h"
#include "graphics/metafile_format.h"

// An enhanced metafile of a 100 x 100 pixel frame on a 100-dpi reference
// device (so that a logical unit is a pixel and 0.254 mm).
struct TestEmf {
    explicit TestEmf(IntRect frame = IntRect{0, 0, 2540, 2540}) : b(Header(frame)) {}
    static EmfHeaderInfo Header(IntRect frame)
    {
        EmfHeaderInfo h;
        h.bounds = IntRect{0, 0, 99, 99};
        h.frame = frame;
        h.devicePixels = IntSize{1000, 1000};
        h.deviceMillimeters = IntSize{254, 254};
        return h;
    }
    TestEmf& rec(uint32_t type, std::initializer_list<int32_t> values)
    {
        b.begin(type);
        for (int32_t v : values)
            b.i32(v);
        b.end();
        return *this;
    }
    TestEmf& pen(uint32_t index, ColorRef c, int32_t width = 0, int32_t style = PS_SOLID)
    {
        return rec(EMR_CREATEPEN, {int32_t(index), style, width, 0, int32_t(c)});
    }
    TestEmf& brush(uint32_t index, ColorRef c, int32_t style = BS_SOLID, int32_t hatch = 0)
    {
        return rec(EMR_CREATEBRUSHINDIRECT, {int32_t(index), style, int32_t(c), hatch});
    }
    TestEmf& select(uint32_t index) { return rec(EMR_SELECTOBJECT, {int32_t(index)}); }
    TestEmf& rect(int32_t l, int32_t t, int32_t r, int32_t bottom) { return rec(EMR_RECTANGLE, {l, t, r, bottom}); }
    // A region of rectangles, in the reference device's units.
    TestEmf& clipRegion(std::initializer_list<IntRect> rects, int32_t mode)
    {
        b.begin(EMR_EXTSELECTCLIPRGN);
        b.u32(kRgnDataHeaderSize + 16 * uint32_t(rects.size()));
        b.u32(uint32_t(mode));
        b.u32(kRgnDataHeaderSize);
        b.u32(kRdhRectangles);
        b.u32(uint32_t(rects.size()));
        b.u32(16 * uint32_t(rects.size()));
        b.rect(IntRect{});
        for (const IntRect& r : rects)
            b.rect(r);
        b.end();
        return *this;
    }
    std::vector<uint8_t> bytes()
    {
        b.setHandleCount(16);
        return b.finish();
    }
    EmfBuilder b;
};

// A Windows metafile: records of 16-bit words, the header in front.
struct TestWmf {
    TestWmf(uint16_t objects = 8) : objects_(objects) {}
    TestWmf& rec(uint16_t function, std::initializer_list<int16_t> params)
    {
        const uint32_t words = 3 + uint32_t(params.size());
        put32(words);
        put16(function);
        for (int16_t v : params)
            put16(uint16_t(v));
        return *this;
    }
    // Any record given as raw parameter bytes (an even count).
    TestWmf& raw(uint16_t function, const std::vector<uint8_t>& params)
    {
        put32(3 + uint32_t(params.size() / 2));
        put16(function);
        body.insert(body.end(), params.begin(), params.end());
        return *this;
    }
    // The file: an optional placeable header, then the metafile header
    // (whose size field may be given), then the records and the end.
    std::vector<uint8_t> bytes(const uint8_t* placeable = nullptr, int64_t sizeWords = -1)
    {
        std::vector<uint8_t> out;
        if (placeable)
            out.assign(placeable, placeable + kPlaceableSize);
        std::vector<uint8_t> all = body;
        const uint8_t eof[6] = {3, 0, 0, 0, 0, 0};
        all.insert(all.end(), eof, eof + 6);
        uint8_t h[kWmfHeaderSize] = {};
        PutU16LE(h + kWmfHeaderType, 1);
        PutU16LE(h + kWmfHeaderSizeWords, 9);
        PutU16LE(h + kWmfHeaderVersion, 0x300);
        PutU32LE(h + kWmfHeaderFileWords,
                 sizeWords >= 0 ? uint32_t(sizeWords) : uint32_t((kWmfHeaderSize + all.size()) / 2));
        PutU16LE(h + kWmfHeaderObjects, objects_);
        out.insert(out.end(), h, h + kWmfHeaderSize);
        out.insert(out.end(), all.begin(), all.end());
        return out;
    }
    void put16(uint16_t v)
    {
        body.push_back(uint8_t(v));
        body.push_back(uint8_t(v >> 8));
    }
    void put32(uint32_t v)
    {
        put16(uint16_t(v));
        put16(uint16_t(v >> 16));
    }
    std::vector<uint8_t> body;
    uint16_t objects_;
};
