// EmfBuilder: writes enhanced-metafile records into a byte buffer.
//
// The header goes first with its totals left open; finish() appends the
// end-of-file record and fills in the byte count, record count and object
// table size. Records are built field by field, in order, and their size is
// patched when they end.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/int_geometry.h"
#include "platform/gdi_types.h"

struct EmfHeaderInfo {
    IntRect bounds;       // device units, inclusive
    IntRect frame;        // 0.01 mm, inclusive
    IntSize devicePixels;  // reference device
    IntSize deviceMillimeters;
    IntSize deviceMicrometers;  // 0, 0: derived from the millimetres
    std::u16string description;  // the two strings, each zero-terminated
};

class EmfBuilder {
public:
    explicit EmfBuilder(const EmfHeaderInfo& header);

    void begin(uint32_t type);
    void end();
    // A whole record without parameters.
    void record(uint32_t type)
    {
        begin(type);
        end();
    }

    void u8(uint8_t v) { bytes_.push_back(v); }
    void u16(uint16_t v);
    void i16(int16_t v) { u16(uint16_t(v)); }
    void u32(uint32_t v);
    void i32(int32_t v) { u32(uint32_t(v)); }
    void f32(float v);
    void point(IntPoint p)
    {
        i32(p.x);
        i32(p.y);
    }
    void rect(const IntRect& r);
    void raw(const uint8_t* data, size_t n);
    void zeros(size_t n) { bytes_.insert(bytes_.end(), n, 0); }
    // Pads the record to a multiple of four bytes.
    void align4();
    // Offset of the next byte from the start of the open record.
    uint32_t offsetInRecord() const { return uint32_t(bytes_.size() - recordStart_); }
    // Writes v over the u32 at `offset` of the open record.
    void patchU32(uint32_t offset, uint32_t v);

    // Whole records that both writers of this code need.
    // EMR_EXTCREATEFONTINDIRECTW with the face converted from Windows-1252.
    void createFont(uint32_t index, const LogFont& font);
    // EMR_CREATEMONOBRUSH or EMR_CREATEDIBPATTERNBRUSHPT (`type`): a
    // pattern brush from a packed bitmap's header and bits.
    void createDibBrush(uint32_t type, uint32_t index, const std::vector<uint8_t>& info,
                        const std::vector<uint8_t>& bits);
    // EMR_EXTTEXTOUTA (bytes) or EMR_EXTTEXTOUTW (UTF-16 units, one a
    // byte of `text` for A). dx may be null (no offsets written).
    void extTextOutA(const IntRect& bounds, IntPoint reference, uint32_t options, const IntRect* rect,
                     std::string_view text, const int32_t* dx);
    void extTextOutW(const IntRect& bounds, IntPoint reference, uint32_t options, const IntRect* rect,
                     std::u16string_view text, const int32_t* dx);
    // EMR_STRETCHDIBITS; the source rectangle in the bitmap's pixels, y
    // from its last stored row.
    void stretchDIBits(const IntRect& bounds, const IntRect& dest, const IntRect& source, const uint8_t* info,
                       uint32_t infoSize, const uint8_t* bits, uint32_t bitsSize, uint32_t usage, uint32_t rop);

    // EMR_BITBLT without a source bitmap: the selected brush combined with
    // the destination by rop.
    void patBlt(const IntRect& bounds, int32_t x, int32_t y, int32_t width, int32_t height, uint32_t rop);

    size_t size() const { return bytes_.size(); }

    // The object table size the header announces (index 0 is reserved).
    void setHandleCount(uint16_t n) { handles_ = n; }
    void setBounds(const IntRect& bounds);
    // Appends EMR_EOF, completes the header and hands the bytes over.
    std::vector<uint8_t> finish();

private:
    void textRecord(uint32_t type, const IntRect& bounds, IntPoint reference, uint32_t options, const IntRect* rect,
                    const uint8_t* text, uint32_t chars, uint32_t unit, const int32_t* dx);

    std::vector<uint8_t> bytes_;
    size_t recordStart_ = 0;
    uint32_t records_ = 0;
    uint16_t handles_ = 1;
};
