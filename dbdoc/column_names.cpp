#include "dbdoc/column_names.h"

std::array<std::string, kEntryColumnCount> ColumnNames()
{
    std::array<std::string, kEntryColumnCount> names;
    for (int32_t column = 0; column < kEntryColumnCount; ++column) {
        char name[kFieldTypeNameSize];
        FieldTypeName(FieldIdByIndex(column), name, true, false);
        names[size_t(column)] = name;
    }
    return names;
}
