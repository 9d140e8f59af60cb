// The wizard's two list files, typed resource files in the "Wizard"
// folder: "Wiz_Tmpl" lists the templates ('TmIn', one record per template,
// id = template id) and "Wiz_Back" the backdrop groups ('BkIn', one record
// per group, id = group id). Each holds a 'vers' record of id 1.
//
//   'vers' (44)   0  u32  version: 3 in "Wiz_Tmpl", 4 in "Wiz_Back"
//                 4  40   0
//
//   'TmIn' (200)  0  u32  picture code: 0 when the template file exists
//                 4  64   template file name in the "Templates" folder
//                68  120  bytes 4-123 of the template file's header:
//                68  u32    its version
//                72  64     the template's display name
//               136  f64    the template's document width, points
//               144  f64    and height
//               188  12   0
//
//   'BkIn'        0  12   0
//                12  u32  number of items
//                16  ...  the items, 264 bytes each; the record is 280
//                         bytes while it holds no more than one
//
//   item (264)    0  u32  group id (the record's id)
//                 4  u32  item number in the group, from 1
//                 8  64   display name
//                72  64   source picture file name
//               136  u32  picture code: 0 when the item file exists
//               140  64   item file name in the "Backdrops" folder
//               204  40   bytes 68-107 of the item file's header
//               244  20   0
//
// Backdrop lists of version 3 held items of 200 bytes:
//
//   item (200)    0  u32  group id
//                 4  u32  item number
//                 8  64   display name
//                72  u32  picture code
//                76  64   item file name
//               140  40   bytes 68-107 of the item file's header
//               180  20   0
#pragma once

#include <cstddef>
#include <cstdint>

#include "foundation/byte_order.h"
#include "foundation/resfile.h"

constexpr ResType kWizVersionType = FourCC("vers");
constexpr ResType kWizTemplateType = FourCC("TmIn");
constexpr ResType kWizBackdropType = FourCC("BkIn");
constexpr int32_t kWizVersionId = 1;

constexpr uint32_t kWizTemplateListVersion = 3;
constexpr uint32_t kWizBackdropListVersion = 4;
constexpr uint32_t kWizOldBackdropListVersion = 3;

constexpr size_t kWizVersionSize = 44;
constexpr size_t kWizVersionAt = 0;

constexpr size_t kTmInSize = 200;
constexpr size_t kTmInPictureAt = 0;
constexpr size_t kTmInFileAt = 4;
constexpr size_t kTmInHeaderAt = 68;
constexpr size_t kTmInHeaderSize = 120;
constexpr size_t kTmInVersionAt = 68;
constexpr size_t kTmInNameAt = 72;
constexpr size_t kTmInWidthAt = 136;
constexpr size_t kTmInHeightAt = 144;

constexpr size_t kBkInHeadSize = 16;
constexpr size_t kBkInCountAt = 12;
constexpr size_t kBkInMinSize = 280;

constexpr size_t kBkItemSize = 264;
constexpr size_t kBkItemGroupAt = 0;
constexpr size_t kBkItemNumberAt = 4;
constexpr size_t kBkItemNameAt = 8;
constexpr size_t kBkItemSourceAt = 72;
constexpr size_t kBkItemPictureAt = 136;
constexpr size_t kBkItemFileAt = 140;
constexpr size_t kBkItemHeaderAt = 204;
constexpr size_t kBkItemHeaderSize = 40;

constexpr size_t kBkOldItemSize = 200;
constexpr size_t kBkOldItemGroupAt = 0;
constexpr size_t kBkOldItemNumberAt = 4;
constexpr size_t kBkOldItemNameAt = 8;
constexpr size_t kBkOldItemPictureAt = 72;
constexpr size_t kBkOldItemFileAt = 76;
constexpr size_t kBkOldItemHeaderAt = 140;

constexpr size_t kWizFileNameSize = 64;
