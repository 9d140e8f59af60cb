#include <gtest/gtest.h>

#include <set>

#include "resources/string_table_data.h"

namespace {

// Each subsystem keeps its own section of the table; an id given twice would
// make one of the two texts unreachable without any other sign.
TEST(StringTable, EveryIdIsGivenOnce)
{
    std::set<int32_t> seen;
    for (size_t i = 0; i < kStringTableSize; ++i)
        EXPECT_TRUE(seen.insert(kStringTable[i].id).second) << "id " << kStringTable[i].id << " given twice";
}

}  // namespace
