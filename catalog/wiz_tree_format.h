// The wizard tree file "Wiz_Tree" and the payloads of its nodes.
//
// File: a 32-byte header, then one block per node in pre-order (a node,
// its children's subtrees in sibling order, then its next sibling). A
// block is a 24-byte link record followed by the node's payload bytes.
//
//   header   0  u32  code 'TREE' (the bytes "EERT")
//            4  u32  version 3
//            8  u32  node count, root included
//           12  20   0
//   block    0  u32  position of the parent's block (0 for the root)
//            4  u32  position of the first child's block (0: none)
//            8  u32  position of the next sibling's block (0: none)
//           12  u32  position of the previous sibling's block (0: none)
//           16  u32  kind
//           20  u32  payload length
//           24  ...  payload
//
// A first child's block starts right after its parent's payload and a
// next sibling's right after the previous sibling's subtree, so in a whole
// file every block starts where the block read before it ended.
//
// Payloads (strings zero-terminated within their field, Windows-1252):
//
//   category, sub-category (248)
//            0  u32  picture code: 0 with a design file, 595 without
//            4  64   design file name in the "Designs" folder
//           68  168  label layout; its name is the node's name
//          236  12   0
//   filter (76)
//            0  64   name
//           64  12   0
//   backdrop (164, or 84 + count x 80 beyond one entry)
//            0  64   name
//           64  u32  backdrop group id
//           68  12   0
//           80  u32  number of template entries
//           84  ...  template entries of 80 bytes:
//                      0  64   template name
//                     64  u32  template id
//                     68  12   0
#pragma once

#include <cstddef>
#include <cstdint>

#include "foundation/byte_order.h"
#include "records/label_stock_format.h"

constexpr uint32_t kWizTreeCode = FourCC("TREE");
constexpr uint32_t kWizTreeVersion = 3;

constexpr size_t kWizTreeHeaderSize = 32;
constexpr size_t kWizTreeCodeAt = 0;
constexpr size_t kWizTreeVersionAt = 4;
constexpr size_t kWizTreeCountAt = 8;

constexpr size_t kWizBlockSize = 24;
constexpr size_t kWizBlockParentAt = 0;
constexpr size_t kWizBlockFirstChildAt = 4;
constexpr size_t kWizBlockNextAt = 8;
constexpr size_t kWizBlockPrevAt = 12;
constexpr size_t kWizBlockKindAt = 16;
constexpr size_t kWizBlockLengthAt = 20;

// Node kinds. Those above 100 are the synthetic entries the category tree
// control puts in front of the real ones.
enum : uint32_t {
    kWizKindRoot = 0,
    kWizKindCategory = 1,
    kWizKindSubCategory = 2,
    kWizKindFilter = 3,
    kWizKindBackdrop = 4,
    kWizKindCustomCategory = 101,
    kWizKindCustomSubCategory = 102,
    kWizKindNoFilter = 103,
    kWizKindNoBackdrop = 104,
    kWizKindSynthetic5 = 105,
};

constexpr size_t kWizNameSize = 64;

constexpr size_t kWizCategorySize = 248;
constexpr size_t kWizCategoryPictureAt = 0;
constexpr size_t kWizCategoryDesignAt = 4;
constexpr size_t kWizCategoryLayoutAt = 68;

constexpr size_t kWizFilterSize = 76;
constexpr size_t kWizFilterNameAt = 0;

constexpr size_t kWizBackdropMinSize = 164;
constexpr size_t kWizBackdropNameAt = 0;
constexpr size_t kWizBackdropGroupAt = 64;
constexpr size_t kWizBackdropCountAt = 80;
constexpr size_t kWizBackdropEntriesAt = 84;
constexpr size_t kWizEntrySize = 80;
constexpr size_t kWizEntryNameAt = 0;
constexpr size_t kWizEntryTemplateAt = 64;

// The parts of the label layout (records/label_stock_format.h) the wizard reads
// itself.
constexpr size_t kWizLayoutSize = kLabelTypeSize;
constexpr size_t kWizLayoutNameAt = kLabelTypeNameOffset;
constexpr size_t kWizLayoutWidthAt = kLabelTypeCardWidthOffset;
constexpr size_t kWizLayoutHeightAt = kLabelTypeCardHeightOffset;

// Picture codes of a category: a design file is attached, or the default
// picture (bitmap resource 595) stands for it.
enum : uint32_t {
    kWizDesignAttached = 0,
    kWizDefaultPicture = 595,
};

// Bitmap resources of the wizard's default pictures.
enum : int32_t {
    kWizBitmapDefault = 595,
    kWizBitmapHeader = 596,
    kWizBitmapSubCategory = 622,
};

// A catalogue of many thousand nodes stays far below this.
constexpr uint32_t kMaxTreeFileSize = 64u << 20;

inline void WizTreePutHeader(uint8_t* header, uint32_t count)
{
    for (size_t i = 0; i < kWizTreeHeaderSize; ++i)
        header[i] = 0;
    PutU32LE(header + kWizTreeCodeAt, kWizTreeCode);
    PutU32LE(header + kWizTreeVersionAt, kWizTreeVersion);
    PutU32LE(header + kWizTreeCountAt, count);
}

// Size of a backdrop payload holding count entries.
constexpr size_t WizBackdropSizeFor(uint32_t count)
{
    return kWizBackdropEntriesAt + size_t(count < 1 ? 1 : count) * kWizEntrySize;
}
