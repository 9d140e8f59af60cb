// Reads arbitrary bytes as the colour section of a document. A section is
// taken only whole; what is taken has colours of 24 bits and names that end
// inside their field, writes back in the stored form and reads back the
// same, and every tint of it stays a colour.
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "foundation/byte_order.h"
#include "foundation/file_io.h"
#include "foundation/path_record.h"
#include "fuzz_support.h"
#include "typography/color_table.h"

namespace {

bool SameTable(const ColorTable& a, const ColorTable& b)
{
    for (int32_t i = 0; i < kColorCount; ++i) {
        ColorEntry x, y;
        a.GetEntry(i, &x);
        b.GetEntry(i, &y);
        if (x.color != y.color || std::memcmp(x.name, y.name, sizeof(x.name)) != 0)
            return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static FileHandle file = Scratch("colours");
    if (size > 4096)
        return 0;
    Put(file, data, size);
    ColorTable table;
    const ColorTable defaults;
    if (table.Read(file, 0) != 0) {
        Check(size < kColorSectionSize && SameTable(table, defaults));
        return 0;
    }
    Check(size >= kColorSectionSize);
    for (int32_t i = 0; i < kColorCount; ++i) {
        ColorEntry e;
        table.GetEntry(i, &e);
        Check(e.color <= 0xFFFFFF);
        const size_t n = strnlen(e.name, sizeof(e.name));
        Check(n < sizeof(e.name));
        Check(std::memcmp(e.name, data + i * kColorEntrySize + kColorEntryName, n) == 0);
        for (size_t k = n; k < sizeof(e.name); ++k)
            Check(e.name[k] == 0);
        Check(e.color == (GetU32LE(data + i * kColorEntrySize) & 0xFFFFFF));
    }

    Put(file, nullptr, 0);
    Check(table.Write(file, 0) == 0);
    uint8_t written[kColorSectionSize];
    Check(FileSeek(file, kSeekStart, 0) == 0 && FileRead(file, written, sizeof(written)) == 0);
    for (int32_t i = 0; i < kColorCount; ++i)
        Check(written[i * kColorEntrySize + 3] == 0 && written[i * kColorEntrySize + kColorEntrySize - 1] == 0);
    ColorTable again;
    Check(again.Read(file, 0) == 0 && SameTable(table, again));

    const int32_t shade = size > kColorSectionSize ? int32_t(GetU32LE(data + size - 4)) : 50;
    for (int32_t i = -1; i <= kColorCount; ++i) {
        for (int32_t percent : {0, 1, 99, 100, 255, shade}) {
            ColorRef c = 0xFFFFFFFF;
            table.GetTint(&c, i, percent);
            Check(c <= 0xFFFFFF);
        }
    }
    return 0;
}
