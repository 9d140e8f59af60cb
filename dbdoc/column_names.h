// The names the Import, Export and Report dialogs show for the 21 columns
// of the data-entry form.
#pragma once

#include <array>
#include <string>

#include "database/field_table.h"

// The field table's names, the custom names of the current database
// included. A custom field that still has no name of its own shows as
// "Custom1".."Custom6": six rows of placeholder dots could not be told
// apart.
std::array<std::string, kEntryColumnCount> ColumnNames();
