// Tells the user why a card file could not be opened or written. Card files
// are opened without sharing: a file another program holds answers with a
// sharing violation, one the user may not change with access denied; each
// is said as what it is, any other code as the file layer shows it.
#pragma once

#include <cstdint>

int32_t ShowCardFileError(int32_t code);
