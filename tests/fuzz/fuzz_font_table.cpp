// Reads arbitrary bytes as the font-table section of a document. Whatever
// is read writes back and reads back the same fonts under the same ids, and
// the table stays usable: new fonts get unused 16-bit ids, lookups and the
// substitute operations hold.
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "foundation/byte_order.h"
#include "foundation/file_io.h"
#include "foundation/path_record.h"
#include "fuzz_support.h"
#include "typography/font_table.h"
#include "typography/font_table_format.h"

namespace {

bool SameTables(const FontTable& a, const FontTable& b)
{
    if (a.Fonts().GetCount() != b.Fonts().GetCount())
        return false;
    bool same = true;
    a.Fonts().ForEach([&](int32_t id, const FontEntry& entry) {
        FontSpec other;
        same = same && b.LookupIn(id, &other, true) && SameFont(entry.fontSpec, other);
    });
    return same;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static FileHandle file = Scratch("fonts");
    if (size > (1 << 20))
        return 0;
    Put(file, data, size);
    FontTable table;
    const uint32_t result = table.Read(file, 0);
    const uint32_t count = size >= 4 ? GetU32LE(data) : 0;
    Check(uint32_t(table.Fonts().GetCount()) <= count);
    if (result == 0)
        Check(size >= 4 && count <= kFontTableMaxEntries && size >= 4 + size_t(count) * kFontTableEntrySize);
    table.Fonts().ForEach([](int32_t, const FontEntry& entry) {
        Check(strnlen(entry.fontSpec.faceName, sizeof(entry.fontSpec.faceName)) < sizeof(entry.fontSpec.faceName));
    });

    Put(file, nullptr, 0);
    Check(table.Write(file, 0) == 0);
    FontTable again;
    Check(again.Read(file, 0) == 0 && SameTables(table, again));

    FontSpec added;
    added.type = kFontTypeTrueType;
    std::memcpy(added.faceName, "Fuzz", 5);
    const bool full = table.Fonts().GetCount() >= int32_t(kFontTableMaxEntries);
    const int32_t before = table.Fonts().GetCount();
    const int32_t id = table.GetFontId(&added);
    Check(table.FindId(&added, true) == id);
    if (id >= 0) {
        FontSpec back;
        Check(table.Lookup(id, &back) && SameFont(back, added));
        Check(table.Fonts().GetCount() == before || (id < int32_t(kFontTableMaxEntries) && !full));
    }
    const int32_t fresh = table.AddFont(&added);
    Check(fresh == -1 || (fresh >= 0 && fresh < int32_t(kFontTableMaxEntries) && fresh != id));

    FontTable copy;
    copy.CopyFrom(table);
    Check(SameTables(copy, table));
    table.Fonts().ForEach([&](int32_t key, const FontEntry&) {
        Check(!copy.AdoptSubstitute(key) && !copy.SetSubstitute(key, &added));
        LogFont lf;
        Check(copy.GetLogFont(key, &lf));
    });
    return 0;
}
