// A page's content written anew for compression, drawing what it drew.
//
// Qt's PDF engine writes every point where it lies on the page, so the
// labels of a sheet, which draw the same outlines, bars and text at other
// places, share hardly a byte, and the compressor finds little to match
// from one label to the next. Here each part the engine opens at the
// outermost level (q ... Q: a label's clip and what is drawn in it) is
// drawn from its first point: "1 0 0 1 x y cm" is written ahead of it and
// x, y taken from every point in it, so that labels repeat byte for byte
// but for what each record fills in. The subtraction is exact (decimal,
// not floating point); a matrix, text or picture placed within such a part
// is moved back by the same amount.
//
// On the way a point of an outline goes to the nearest hundredth of the
// unit it is drawn in, where that moves it no more than 0.001 pt on the
// page (Qt writes nine significant digits).
//
// A part this cannot follow (an operator it does not know, operands it
// cannot read) keeps its content as it was; a page with inline image data,
// or whose strings do not close, is returned as it is.
#pragma once

#include <QByteArray>

QByteArray DrawFromLocalOrigins(const QByteArray& content);
