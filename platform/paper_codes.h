// Printer paper codes and Qt's page sizes.
//
// Qt knows most codes, but gives 24, 25 and 26 to the architectural C, D
// and E sheets instead of the 17 x 22, 22 x 34 and 34 x 44 inch sheets, the
// 8 1/2 x 13 inch folio has no code in Qt, and Qt's code 12 is the JIS B4
// sheet of 257 x 364 mm, not the 250 x 354 mm our paper table gives. Here a
// code of our paper table always stands for the size the table gives.
#pragma once

#include <cstdint>

#include <QPageSize>

// The paper code a page size is known by; 0 when it has none.
int32_t PaperCodeForPageSize(const QPageSize& page);
// The page size of a paper code; invalid for a code nobody knows.
QPageSize PageSizeForPaperCode(int32_t code);
