// Template files (".tp", "tmpl" + counter, "Templates" folder): a 144-byte
// header, then block 1 (the document data) and block 2 (the preview
// picture), each stored packed or raw.
//
//     0  u32  code 'TMPL' (the bytes "LPMT")
//     4  u32  version 4
//     8  64   the template's name
//    72  f64  document width, points
//    80  f64  document height, points
//    88  u32  picture kind of block 2: 1 packed bitmap, 5 enhanced metafile
//    92  u32  size of block 1 unpacked
//    96  u32  size of block 2 unpacked
//   100  u32  packing flag: non-zero when both blocks are stored packed
//   104  u32  stored size of block 1 when packed
//   108  u32  stored size of block 2 when packed
//   112  32   further fields of the document that saved the template
//   144  ...  block 1, block 2
#pragma once

#include <cstddef>
#include <cstdint>

#include "foundation/byte_order.h"

constexpr uint32_t kTemplateFileCode = FourCC("TMPL");
constexpr uint32_t kTemplateFileVersion = 4;

constexpr size_t kTemplateHeaderSize = 144;
constexpr size_t kTemplateCodeAt = 0;
constexpr size_t kTemplateVersionAt = 4;
constexpr size_t kTemplateNameAt = 8;
constexpr size_t kTemplateNameSize = 64;
constexpr size_t kTemplateWidthAt = 72;
constexpr size_t kTemplateHeightAt = 80;
constexpr size_t kTemplateKindAt = 88;
constexpr size_t kTemplateSize1At = 92;
constexpr size_t kTemplateSize2At = 96;
constexpr size_t kTemplatePackedAt = 100;
constexpr size_t kTemplateStored1At = 104;
constexpr size_t kTemplateStored2At = 108;

// Which block LoadTemplateFile reads.
enum : int32_t {
    kTemplatePreviewBlock = 0,
    kTemplateDocumentBlock = 1,
};
