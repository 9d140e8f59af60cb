// The sample strip the fill-pattern menus draw their items from.
#pragma once

#include <cstdint>

#include <QImage>

// One cell of width x height for each fill pattern, stacked downward in
// pattern order: white, with a band ten units wide across its middle in
// the pattern (black on white) and a black frame. Null for sizes that are
// not positive.
QImage MakeFillPatternStrip(int32_t width, int32_t height);
