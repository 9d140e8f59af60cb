// The two label layouts built into the program: 2 x 5 business cards of
// 3.5 x 2 inches filling a US Letter sheet, for laser and for ink-jet
// stock.
#pragma once

#include <cstdint>

// Copies built-in record 0 or 1 into out (168 bytes); any other index gives
// record 0; a null out does nothing.
void GetBuiltinLabelType(uint8_t* out, int32_t index);
