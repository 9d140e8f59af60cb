// The compressed container of the memory compressor.
//
// A container is a raw Deflate stream (RFC 1951 blocks, no zlib or gzip
// header) followed by an eight-byte trailer. With the ten-byte gzip header
// in front, a container is a complete gzip member, which is how it can be
// checked with standard tools.
#pragma once

#include <cstdint>

constexpr uint32_t kPackTrailerSize = 8;
// CRC-32 of the uncompressed bytes (gzip's: reflected, all-ones start,
// final complement), little-endian.
constexpr uint32_t kPackTrailerCrcOffset = 0;
// Number of uncompressed bytes modulo 2^32, little-endian.
constexpr uint32_t kPackTrailerLengthOffset = 4;

// Log2 of the Deflate window: 32 KiB, the largest RFC 1951 allows, so any
// conforming stream expands.
constexpr int kPackWindowBits = 15;

constexpr int32_t kPackMinLevel = 1;
constexpr int32_t kPackMaxLevel = 9;
constexpr int32_t kPackDefaultLevel = 6;
