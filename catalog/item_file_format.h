// Item files: one picture each, a 128-byte header and a body. Backdrops
// (".bp", "bckp" + counter, "Backdrops" folder), category designs (".dp",
// "docp" + counter, "Designs" folder) and header pictures (".sp", "hdrp" +
// number, "Designs" folder).
//
//     0  u32  code 'BACK' (the bytes "KCAB")
//     4  64   file name of the source picture
//    68  u32  version 3
//    72  8    0
//    80  u32  picture kind: 1 packed bitmap, 4 EPS, 5 enhanced metafile
//    84  u32  packing flag: 1 when the body is stored packed
//    88  u32  body size unpacked
//    92  u32  body size as stored when packed
//    96  32   0
//   128  ...  the body
#pragma once

#include <cstddef>
#include <cstdint>

#include "foundation/byte_order.h"

constexpr uint32_t kItemFileCode = FourCC("BACK");
constexpr uint32_t kItemFileVersion = 3;

constexpr size_t kItemHeaderSize = 128;
constexpr size_t kItemCodeAt = 0;
constexpr size_t kItemSourceAt = 4;
constexpr size_t kItemSourceSize = 64;
constexpr size_t kItemVersionAt = 68;
constexpr size_t kItemKindAt = 80;
constexpr size_t kItemPackedAt = 84;
constexpr size_t kItemSizeAt = 88;
constexpr size_t kItemStoredSizeAt = 92;

// Picture kinds of item bodies and template previews.
enum : uint32_t {
    kWizPictureDib = 1,
    kWizPictureEps = 4,
    kWizPictureMetafile = 5,
};
