// PackBits, the run-length code of Macintosh pictures: a count byte n of
// 0-127 is followed by n + 1 bytes as they are; 129-255 by one byte that
// stands 257 - n times.
#pragma once

#include <cstddef>
#include <cstdint>

#include <QByteArray>

void AppendPackBits(const uint8_t* data, size_t length, QByteArray* out);
