// Byte layout of the "QXPreview" file in the program folder: the sample
// texts cards show for the 21 data-entry columns when no database is at
// hand. No header: 21 blocks of 256 bytes in column order, each a
// NUL-terminated text whose bytes after the NUL mean nothing.
#pragma once

#include <cstdint>

constexpr char kPreviewFileName[] = "QXPreview";
constexpr uint32_t kPreviewBlockSize = 256;
constexpr uint32_t kPreviewBlockCount = 21;
constexpr uint32_t kPreviewFileSize = kPreviewBlockSize * kPreviewBlockCount;  // 5376
