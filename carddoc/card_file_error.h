// Tells the user why a card file could not be opened or written. Card files
// are opened without sharing: a file another program holds answers with a
// sharing violation, one the user may not change with access denied; each
// is said as what it is, any other code as the file layer shows it, each
// after the file's name ("fifo.lqx is a pipe, not a file.").
#pragma once

#include <cstdint>

int32_t ShowCardFileError(const char* name, int32_t code);
