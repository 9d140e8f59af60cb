// Compresses the bytes of one Handle into another and expands them back
// (the container is described in pack_format.h).
//
// The codec shows nothing itself. A failure comes back as the result, and
// the caller shows it once: the stop alert with PackDataLastMessage() after
// kPackDataError, the file error alert with PackDataLastFileError() after
// kPackFileError. Those two values are process-wide: one call at a time,
// on one thread.
#pragma once

#include <cstdint>

#include "foundation/handle.h"

// Modes.
enum : int32_t {
    kPackExpand = 0,
    kPackCompress = 1,
};

// Results.
enum : int32_t {
    kPackOk = 0,
    // The input ends before the container is complete, or the destination
    // cannot grow.
    kPackFileError = 22,
    // Damaged data or no memory for the codec; a message says which.
    kPackDataError = 23,
};

// Mode kPackCompress packs the source's bytes into a container; any other
// mode expands a container. The level (1 fastest .. 9 smallest) applies to
// compression; any other value is taken as 6. reserved is 0.
//
// The destination's size becomes the number of bytes produced. After a
// failure it holds what was produced before it, which callers discard.
// Bytes behind a container's trailer are ignored: the trailer's CRC and
// length already prove the expanded bytes whole.
int32_t PackData(Handle source, Handle destination, int32_t mode, int32_t level, int32_t reserved);

// After kPackDataError, the message for the stop alert (for example
// "invalid compressed data--crc error"); otherwise "".
const char* PackDataLastMessage();

// After kPackFileError, the code for the file error alert: 38 (end of file)
// when the input ends too soon, the memory layer's error when the
// destination cannot grow; otherwise 0.
int32_t PackDataLastFileError();
