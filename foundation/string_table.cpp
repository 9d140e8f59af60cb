#include "foundation/string_table.h"

#include <cstring>
#include <unordered_map>

#include "resources/string_table_data.h"

namespace {

const std::unordered_map<int32_t, const char*>& Table()
{
    static const std::unordered_map<int32_t, const char*> table = [] {
        std::unordered_map<int32_t, const char*> t;
        for (size_t i = 0; i < kStringTableSize; ++i)
            t.emplace(kStringTable[i].id, kStringTable[i].text);
        return t;
    }();
    return table;
}

}  // namespace

const char* LookupString(int32_t id)
{
    auto it = Table().find(id);
    return it == Table().end() ? nullptr : it->second;
}

int32_t LoadStringByIndex(int32_t base, int32_t index, char* buffer)
{
    buffer[0] = 0;
    const char* text = LookupString(base + index);
    if (!text)
        return 1;
    size_t n = std::strlen(text);
    if (n > 255)
        n = 255;
    std::memcpy(buffer, text, n);
    buffer[n] = 0;
    return 0;
}
