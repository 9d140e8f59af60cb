#include "graphics/packbits.h"

namespace {

constexpr size_t kLongest = 128;

}  // namespace

void AppendPackBits(const uint8_t* data, size_t length, QByteArray* out)
{
    size_t i = 0;
    while (i < length) {
        size_t run = 1;
        while (i + run < length && run < kLongest && data[i + run] == data[i])
            ++run;
        if (run >= 2) {
            out->append(char(uint8_t(257 - run)));
            out->append(char(data[i]));
            i += run;
            continue;
        }
        // Bytes as they are, up to where a run of three begins: a run of
        // two inside a literal stretch costs no more than it saves.
        size_t end = i + 1;
        while (end < length && end - i < kLongest &&
               !(end + 2 < length && data[end] == data[end + 1] && data[end] == data[end + 2]))
            ++end;
        out->append(char(uint8_t(end - i - 1)));
        out->append(reinterpret_cast<const char*>(data + i), qsizetype(end - i));
        i = end;
    }
}
