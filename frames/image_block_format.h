// The two persistent blocks of the image frame, written behind the frame's
// block: A (844 bytes) then B (96 bytes), little-endian. Spare bytes are
// kept as read.
//
// Block A:
//     0  u8   kind: 0 none, 1 raster picture, 4 EPS, 5 metafile
//     4  u32  length of the decoded image's store form in the swap file
//     8  16   image rectangle (i32 left, top, right, bottom)
//    24  8    pan (i32 x, y)
//    32  u8   fit to frame
//    36  f32  horizontal scale (percent)   40  f32  vertical scale
//    44  i16  picture angle                46  u8   keep in document
//    48  u32  image tag ('PICT', 'EMF ', 'WMF ', 'EPSF' as LE values)
//    52  771  the picture file's path (a stored path record)
//   823  u8   from file
//   824  16   crop rectangle
//   840  u8   print picture   841  u8  display picture   842  u8  reserved
//
// Block B:
//     0  16   rotated rectangle          16  8   rotated pan
//    24  36   rotated corners: four (i32, i32) points and an f32 angle
//    60  u32  preview stored   64  u32 preview position   68  u32 preview length
//    72  u32  image stored     76  u32 image position
//    80  u16  rotated stored   82  i16 rotated angle
//    84  u32  rotated length   88  u32 rotated position
//    92  u16  reserved         94  u8  rotation pending
//
// A picture kept in the document follows the blocks: a raster picture as
// u32 byte size and the packed bitmap, metafile bits as they are. Its
// position and stored flag are written into block B afterwards.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "foundation/byte_order.h"
#include "foundation/int_geometry.h"
#include "foundation/path_record.h"
#include "graphics/placement_records.h"

constexpr size_t kImageBlockASize = 844;
constexpr size_t kImageBlockBSize = 96;
constexpr size_t kImageBlocksSize = kImageBlockASize + kImageBlockBSize;
constexpr size_t kImageFileSpecOffset = 52;
constexpr uint32_t kImageNoPosition = 0xFFFFFFFF;

enum : uint8_t {
    kImageKindNone = 0,
    kImageKindRaster = 1,
    kImageKindEps = 4,
    kImageKindMetafile = 5,
};

struct ImageBlockA {
    uint8_t kind = 0;
    uint8_t spare1[3] = {};
    uint32_t imageStoreLength = 0;
    IntRect imageRect;
    IntPoint pan;
    uint8_t fit = 0;
    uint8_t spare33[3] = {};
    float hScale = 0.0f;
    float vScale = 0.0f;
    int16_t pictureAngle = 0;
    uint8_t keepInDocument = 0;
    uint8_t spare47 = 0;
    uint32_t tag = 0;
    uint8_t fileSpec[kPathRecordStoredSize] = {};
    uint8_t fromFile = 0;
    IntRect cropRect;
    uint8_t printPicture = 0;
    uint8_t displayPicture = 0;
    uint8_t reserved = 0;
    uint8_t spare843 = 0;
};

struct ImageBlockB {
    IntRect rotatedRect;
    IntPoint rotatedPan;
    CornerQuad rotatedCorners;
    uint32_t previewStored = 0;
    uint32_t previewPosition = 0;
    uint32_t previewLength = 0;
    uint32_t imageStored = 0;
    uint32_t imagePosition = 0;
    uint16_t rotatedStored = 0;
    int16_t rotatedAngle = 0;
    uint32_t rotatedLength = 0;
    uint32_t rotatedPosition = 0;
    uint16_t reserved92 = 0;
    uint8_t rotationPending = 0;
    uint8_t spare95 = 0;
};

inline IntRect GetIntRect(const uint8_t* p)
{
    return IntRect{GetI32LE(p), GetI32LE(p + 4), GetI32LE(p + 8), GetI32LE(p + 12)};
}

inline void PutIntRect(uint8_t* p, const IntRect& r)
{
    PutI32LE(p, r.left);
    PutI32LE(p + 4, r.top);
    PutI32LE(p + 8, r.right);
    PutI32LE(p + 12, r.bottom);
}

inline ImageBlockA GetImageBlockA(const uint8_t* p)
{
    ImageBlockA a;
    a.kind = p[0];
    std::memcpy(a.spare1, p + 1, 3);
    a.imageStoreLength = GetU32LE(p + 4);
    a.imageRect = GetIntRect(p + 8);
    a.pan = IntPoint{GetI32LE(p + 24), GetI32LE(p + 28)};
    a.fit = p[32];
    std::memcpy(a.spare33, p + 33, 3);
    a.hScale = GetF32LE(p + 36);
    a.vScale = GetF32LE(p + 40);
    a.pictureAngle = GetI16LE(p + 44);
    a.keepInDocument = p[46];
    a.spare47 = p[47];
    a.tag = GetU32LE(p + 48);
    std::memcpy(a.fileSpec, p + kImageFileSpecOffset, kPathRecordStoredSize);
    a.fromFile = p[823];
    a.cropRect = GetIntRect(p + 824);
    a.printPicture = p[840];
    a.displayPicture = p[841];
    a.reserved = p[842];
    a.spare843 = p[843];
    return a;
}

inline void PutImageBlockA(uint8_t* p, const ImageBlockA& a)
{
    p[0] = a.kind;
    std::memcpy(p + 1, a.spare1, 3);
    PutU32LE(p + 4, a.imageStoreLength);
    PutIntRect(p + 8, a.imageRect);
    PutI32LE(p + 24, a.pan.x);
    PutI32LE(p + 28, a.pan.y);
    p[32] = a.fit;
    std::memcpy(p + 33, a.spare33, 3);
    PutF32LE(p + 36, a.hScale);
    PutF32LE(p + 40, a.vScale);
    PutI16LE(p + 44, a.pictureAngle);
    p[46] = a.keepInDocument;
    p[47] = a.spare47;
    PutU32LE(p + 48, a.tag);
    std::memcpy(p + kImageFileSpecOffset, a.fileSpec, kPathRecordStoredSize);
    p[823] = a.fromFile;
    PutIntRect(p + 824, a.cropRect);
    p[840] = a.printPicture;
    p[841] = a.displayPicture;
    p[842] = a.reserved;
    p[843] = a.spare843;
}

inline ImageBlockB GetImageBlockB(const uint8_t* p)
{
    ImageBlockB b;
    b.rotatedRect = GetIntRect(p);
    b.rotatedPan = IntPoint{GetI32LE(p + 16), GetI32LE(p + 20)};
    for (int i = 0; i < 4; ++i)
        b.rotatedCorners.corners[i] = IntPoint{GetI32LE(p + 24 + 8 * i), GetI32LE(p + 28 + 8 * i)};
    b.rotatedCorners.angle = GetF32LE(p + 56);
    b.previewStored = GetU32LE(p + 60);
    b.previewPosition = GetU32LE(p + 64);
    b.previewLength = GetU32LE(p + 68);
    b.imageStored = GetU32LE(p + 72);
    b.imagePosition = GetU32LE(p + 76);
    b.rotatedStored = GetU16LE(p + 80);
    b.rotatedAngle = GetI16LE(p + 82);
    b.rotatedLength = GetU32LE(p + 84);
    b.rotatedPosition = GetU32LE(p + 88);
    b.reserved92 = GetU16LE(p + 92);
    b.rotationPending = p[94];
    b.spare95 = p[95];
    return b;
}

inline void PutImageBlockB(uint8_t* p, const ImageBlockB& b)
{
    PutIntRect(p, b.rotatedRect);
    PutI32LE(p + 16, b.rotatedPan.x);
    PutI32LE(p + 20, b.rotatedPan.y);
    for (int i = 0; i < 4; ++i) {
        PutI32LE(p + 24 + 8 * i, b.rotatedCorners.corners[i].x);
        PutI32LE(p + 28 + 8 * i, b.rotatedCorners.corners[i].y);
    }
    PutF32LE(p + 56, b.rotatedCorners.angle);
    PutU32LE(p + 60, b.previewStored);
    PutU32LE(p + 64, b.previewPosition);
    PutU32LE(p + 68, b.previewLength);
    PutU32LE(p + 72, b.imageStored);
    PutU32LE(p + 76, b.imagePosition);
    PutU16LE(p + 80, b.rotatedStored);
    PutI16LE(p + 82, b.rotatedAngle);
    PutU32LE(p + 84, b.rotatedLength);
    PutU32LE(p + 88, b.rotatedPosition);
    PutU16LE(p + 92, b.reserved92);
    p[94] = b.rotationPending;
    p[95] = b.spare95;
}
