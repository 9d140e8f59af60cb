// The message beeps by the program's own numbering.
#pragma once

#include <cstdint>

// 1 the default sound, 2 question, 3 exclamation, 4 asterisk, any other
// kind the simple beep.
void PlayBeep(int32_t kind);
