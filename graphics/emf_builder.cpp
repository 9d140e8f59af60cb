#include "graphics/emf_builder.h"

#include <cstring>

#include "foundation/byte_order.h"
#include "foundation/cp1252.h"
#include "graphics/metafile_format.h"

EmfBuilder::EmfBuilder(const EmfHeaderInfo& h)
{
    begin(EMR_HEADER);
    rect(h.bounds);
    rect(h.frame);
    u32(kEmfSignature);
    u32(kEmfVersion);
    u32(0);  // bytes, set by finish
    u32(0);  // records
    u16(0);  // handles
    u16(0);
    const uint32_t chars = uint32_t(h.description.size());
    u32(chars);
    u32(chars ? uint32_t(kEmfHeaderFullSize) : 0u);
    u32(0);  // palette entries
    i32(h.devicePixels.width);
    i32(h.devicePixels.height);
    i32(h.deviceMillimeters.width);
    i32(h.deviceMillimeters.height);
    u32(0);  // no pixel format
    u32(0);
    u32(0);  // not OpenGL
    const IntSize um = h.deviceMicrometers.width > 0 && h.deviceMicrometers.height > 0
                           ? h.deviceMicrometers
                           : IntSize{h.deviceMillimeters.width * 1000, h.deviceMillimeters.height * 1000};
    i32(um.width);
    i32(um.height);
    for (char16_t c : h.description)
        u16(uint16_t(c));
    align4();
    end();
}

void EmfBuilder::begin(uint32_t type)
{
    recordStart_ = bytes_.size();
    u32(type);
    u32(0);
}

void EmfBuilder::end()
{
    align4();
    PutU32LE(bytes_.data() + recordStart_ + 4, uint32_t(bytes_.size() - recordStart_));
    ++records_;
}

void EmfBuilder::u16(uint16_t v)
{
    uint8_t b[2];
    PutU16LE(b, v);
    bytes_.insert(bytes_.end(), b, b + 2);
}

void EmfBuilder::u32(uint32_t v)
{
    uint8_t b[4];
    PutU32LE(b, v);
    bytes_.insert(bytes_.end(), b, b + 4);
}

void EmfBuilder::f32(float v)
{
    uint8_t b[4];
    PutF32LE(b, v);
    bytes_.insert(bytes_.end(), b, b + 4);
}

void EmfBuilder::rect(const IntRect& r)
{
    i32(r.left);
    i32(r.top);
    i32(r.right);
    i32(r.bottom);
}

void EmfBuilder::raw(const uint8_t* data, size_t n)
{
    if (n)
        bytes_.insert(bytes_.end(), data, data + n);
}

void EmfBuilder::align4()
{
    while ((bytes_.size() - recordStart_) % 4)
        bytes_.push_back(0);
}

void EmfBuilder::patchU32(uint32_t offset, uint32_t v) { PutU32LE(bytes_.data() + recordStart_ + offset, v); }

void EmfBuilder::setBounds(const IntRect& b)
{
    PutI32LE(bytes_.data() + kEmfHeaderBounds, b.left);
    PutI32LE(bytes_.data() + kEmfHeaderBounds + 4, b.top);
    PutI32LE(bytes_.data() + kEmfHeaderBounds + 8, b.right);
    PutI32LE(bytes_.data() + kEmfHeaderBounds + 12, b.bottom);
}

void EmfBuilder::createDibBrush(uint32_t type, uint32_t index, const std::vector<uint8_t>& info,
                                const std::vector<uint8_t>& bits)
{
    begin(type);
    u32(index);
    u32(DIB_RGB_COLORS);
    u32(32);
    u32(uint32_t(info.size()));
    u32(32 + uint32_t(info.size()));
    u32(uint32_t(bits.size()));
    raw(info.data(), info.size());
    raw(bits.data(), bits.size());
    end();
}

void EmfBuilder::createFont(uint32_t index, const LogFont& f)
{
    begin(EMR_EXTCREATEFONTINDIRECTW);
    u32(index);
    i32(f.height);
    i32(f.width);
    i32(f.escapement);
    i32(f.orientation);
    i32(f.weight);
    u8(f.italic);
    u8(f.underline);
    u8(f.strikeOut);
    u8(f.charSet);
    u8(f.outPrecision);
    u8(f.clipPrecision);
    u8(f.quality);
    u8(f.pitchAndFamily);
    bool ended = false;
    for (uint32_t i = 0; i < kFaceChars; ++i) {
        const uint8_t c = ended || i + 1 == kFaceChars ? 0 : uint8_t(f.faceName[i]);
        ended = ended || c == 0;
        u16(ended ? 0 : uint16_t(Cp1252ToUnicode(c)));
    }
    end();
}

void EmfBuilder::textRecord(uint32_t type, const IntRect& bounds, IntPoint reference, uint32_t options,
                            const IntRect* r, const uint8_t* text, uint32_t chars, uint32_t unit, const int32_t* dx)
{
    begin(type);
    rect(bounds);
    u32(GM_COMPATIBLE);
    f32(0.0f);
    f32(0.0f);
    point(reference);
    u32(chars);
    const uint32_t offString = 8 + 16 + 12 + kEmrTextSize;
    const uint32_t stringBytes = (chars * unit + 3) / 4 * 4;
    u32(offString);
    u32(options);
    rect(r ? *r : IntRect{0, 0, -1, -1});
    u32(dx ? offString + stringBytes : 0);
    raw(text, size_t(chars) * unit);
    align4();
    if (dx) {
        for (uint32_t i = 0; i < chars; ++i)
            i32(dx[i]);
    }
    end();
}

void EmfBuilder::extTextOutA(const IntRect& bounds, IntPoint reference, uint32_t options, const IntRect* r,
                             std::string_view text, const int32_t* dx)
{
    textRecord(EMR_EXTTEXTOUTA, bounds, reference, options, r, reinterpret_cast<const uint8_t*>(text.data()),
               uint32_t(text.size()), 1, dx);
}

void EmfBuilder::extTextOutW(const IntRect& bounds, IntPoint reference, uint32_t options, const IntRect* r,
                             std::u16string_view text, const int32_t* dx)
{
    std::vector<uint8_t> units(text.size() * 2);
    for (size_t i = 0; i < text.size(); ++i)
        PutU16LE(units.data() + 2 * i, uint16_t(text[i]));
    textRecord(EMR_EXTTEXTOUTW, bounds, reference, options, r, units.data(), uint32_t(text.size()), 2, dx);
}

void EmfBuilder::stretchDIBits(const IntRect& bounds, const IntRect& dest, const IntRect& source,
                               const uint8_t* info, uint32_t infoSize, const uint8_t* bits, uint32_t bitsSize,
                               uint32_t usage, uint32_t rop)
{
    constexpr uint32_t kFixed = 80;
    const uint32_t infoPadded = (infoSize + 3) / 4 * 4;
    begin(EMR_STRETCHDIBITS);
    rect(bounds);
    i32(dest.left);
    i32(dest.top);
    i32(source.left);
    i32(source.top);
    i32(source.right - source.left);
    i32(source.bottom - source.top);
    u32(kFixed);
    u32(infoSize);
    u32(kFixed + infoPadded);
    u32(bitsSize);
    u32(usage);
    u32(rop);
    i32(dest.right - dest.left);
    i32(dest.bottom - dest.top);
    raw(info, infoSize);
    align4();
    raw(bits, bitsSize);
    end();
}

void EmfBuilder::patBlt(const IntRect& bounds, int32_t x, int32_t y, int32_t width, int32_t height, uint32_t rop)
{
    begin(EMR_BITBLT);
    rect(bounds);
    i32(x);
    i32(y);
    i32(width);
    i32(height);
    u32(rop);
    i32(0);  // source position
    i32(0);
    f32(1.0f);  // source transform: identity
    f32(0.0f);
    f32(0.0f);
    f32(1.0f);
    f32(0.0f);
    f32(0.0f);
    u32(0);  // source background colour
    u32(DIB_RGB_COLORS);
    zeros(16);  // no bitmap
    end();
}

std::vector<uint8_t> EmfBuilder::finish()
{
    begin(EMR_EOF);
    u32(0);   // palette entries
    u32(16);  // their offset
    u32(20);  // the record's size, last
    end();
    PutU32LE(bytes_.data() + kEmfHeaderBytes, uint32_t(bytes_.size()));
    PutU32LE(bytes_.data() + kEmfHeaderRecords, records_);
    PutU16LE(bytes_.data() + kEmfHeaderHandles, handles_);
    return std::move(bytes_);
}
