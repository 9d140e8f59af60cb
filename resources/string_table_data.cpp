#include "resources/string_table_data.h"

// One section per subsystem; ids are unique across the whole table.
const StringTableEntry kStringTable[] = {
    // Platform utility layer: file errors.
    {365, "IO FILE ERORR"},
    {367, "Disk is Write Protected"},
    {370, "File is Locked."},

    // Managers' alert groups: the base string is the box title.
    {435, "PICT MNG  ERROR"},
    {450, "FILE MNG ERROR"},
    {470, "CURRPAGE MNG ERROR"},
    {500, "TEXT MNG ERROR"},
    {600, "FRAME MNG ERROR"},
};

const size_t kStringTableSize = sizeof(kStringTable) / sizeof(kStringTable[0]);
