// Little-endian field access for stored records.
//
// Every stored format of the system is a packed little-endian record. Its
// fields are read and written one at a time at explicit offsets with these
// helpers; a record is never copied into or out of a C++ struct, because
// struct padding, pointer width and host byte order must not reach a file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

inline uint16_t GetU16LE(const uint8_t* p) { return uint16_t(p[0] | (p[1] << 8)); }
inline int16_t GetI16LE(const uint8_t* p) { return int16_t(GetU16LE(p)); }
inline uint32_t GetU32LE(const uint8_t* p)
{
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}
inline int32_t GetI32LE(const uint8_t* p) { return int32_t(GetU32LE(p)); }
inline uint64_t GetU64LE(const uint8_t* p) { return uint64_t(GetU32LE(p)) | (uint64_t(GetU32LE(p + 4)) << 32); }
inline float GetF32LE(const uint8_t* p)
{
    uint32_t bits = GetU32LE(p);
    float f;
    std::memcpy(&f, &bits, 4);
    return f;
}
inline double GetF64LE(const uint8_t* p)
{
    uint64_t bits = GetU64LE(p);
    double d;
    std::memcpy(&d, &bits, 8);
    return d;
}

inline void PutU16LE(uint8_t* p, uint16_t v)
{
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
}
inline void PutI16LE(uint8_t* p, int16_t v) { PutU16LE(p, uint16_t(v)); }
inline void PutU32LE(uint8_t* p, uint32_t v)
{
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
    p[2] = uint8_t(v >> 16);
    p[3] = uint8_t(v >> 24);
}
inline void PutI32LE(uint8_t* p, int32_t v) { PutU32LE(p, uint32_t(v)); }
inline void PutU64LE(uint8_t* p, uint64_t v)
{
    PutU32LE(p, uint32_t(v));
    PutU32LE(p + 4, uint32_t(v >> 32));
}
// Big-endian, for the picture formats of other platforms.
inline void PutU16BE(uint8_t* p, uint16_t v)
{
    p[0] = uint8_t(v >> 8);
    p[1] = uint8_t(v);
}
inline void PutU32BE(uint8_t* p, uint32_t v)
{
    p[0] = uint8_t(v >> 24);
    p[1] = uint8_t(v >> 16);
    p[2] = uint8_t(v >> 8);
    p[3] = uint8_t(v);
}
inline void PutF32LE(uint8_t* p, float f)
{
    uint32_t bits;
    std::memcpy(&bits, &f, 4);
    PutU32LE(p, bits);
}
inline void PutF64LE(uint8_t* p, double d)
{
    uint64_t bits;
    std::memcpy(&bits, &d, 8);
    PutU64LE(p, bits);
}

// Four-character tags ('RESF', 'PICT', 'EMF ') are stored as little-endian
// 32-bit values; the tag's first character is the value's high byte.
constexpr uint32_t FourCC(const char (&s)[5])
{
    return (uint32_t(uint8_t(s[0])) << 24) | (uint32_t(uint8_t(s[1])) << 16) |
           (uint32_t(uint8_t(s[2])) << 8) | uint32_t(uint8_t(s[3]));
}

// A bounded cursor over untrusted bytes. Reads past the end yield zeros and
// clear ok(), so a parser can read a whole record and check once.
class LeReader {
public:
    LeReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    bool ok() const { return ok_; }
    size_t pos() const { return pos_; }
    size_t size() const { return size_; }
    size_t remaining() const { return pos_ < size_ ? size_ - pos_ : 0; }
    void seek(size_t pos)
    {
        if (pos > size_) {
            ok_ = false;
            pos_ = size_;
        } else {
            pos_ = pos;
        }
    }
    void skip(size_t n) { seek(n > remaining() ? size_ + 1 : pos_ + n); }

    uint8_t u8() { return take(1) ? data_[pos_ - 1] : 0; }
    uint16_t u16() { return take(2) ? GetU16LE(data_ + pos_ - 2) : 0; }
    int16_t i16() { return int16_t(u16()); }
    uint32_t u32() { return take(4) ? GetU32LE(data_ + pos_ - 4) : 0; }
    int32_t i32() { return int32_t(u32()); }
    float f32() { return take(4) ? GetF32LE(data_ + pos_ - 4) : 0.0f; }
    double f64() { return take(8) ? GetF64LE(data_ + pos_ - 8) : 0.0; }
    // Copies n bytes into out; on a short input out is zero-filled.
    void bytes(void* out, size_t n)
    {
        if (take(n))
            std::memcpy(out, data_ + pos_ - n, n);
        else
            std::memset(out, 0, n);
    }

private:
    bool take(size_t n)
    {
        if (!ok_ || n > remaining()) {
            ok_ = false;
            return false;
        }
        pos_ += n;
        return true;
    }

    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
    bool ok_ = true;
};
