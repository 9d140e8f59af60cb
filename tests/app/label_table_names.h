// What the label stock tests compare a table by: its types' names.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "records/label_stock.h"
#include "records/label_stock_table.h"

// The names of the label types the table holds, in its order.
inline std::vector<std::string> Names(const CDBLabel& table)
{
    std::vector<std::string> names;
    for (int32_t i = 0; i < table.GetCount(); ++i)
        names.push_back(LabelTypeName(*table.GetLabelType(i)));
    return names;
}
