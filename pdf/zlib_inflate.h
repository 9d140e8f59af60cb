#pragma once

#include <cstddef>

#include <QByteArray>

// The zlib stream of `size` bytes at `data` inflated into `out`, piece by
// piece (no size need be known first); `used` the bytes it took. False
// where the stream is broken or ends early.
bool ZlibInflate(const char* data, size_t size, QByteArray* out, size_t* used);
