// A block of an item or template file, stored packed (the compressor's
// container, level 6) or raw.
#pragma once

#include <cstddef>
#include <cstdint>

#include "foundation/handle.h"

// The block at `at` of the file's bytes into body, expanded when packed.
// It must lie within the bytes, and a packed block's trailer must promise
// the unpacked size before anything is expanded, so a damaged file never
// costs more memory than it claims: kWizWrongCode otherwise, or the
// compressor's code.
int32_t WizReadBlock(const uint8_t* bytes, size_t size, size_t at, uint32_t unpacked, uint32_t stored, bool packed,
                     Handle body);
// Packs block into packedOut; false when that fails, and the block is
// then stored raw.
bool WizPackBlock(Handle block, Handle packedOut);
