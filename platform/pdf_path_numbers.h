// A page's content with its numbers written shorter, drawing the same.
// Qt's PDF engine writes every number that is not whole with nine
// significant digits, trailing zeros kept ("1756.72921", "0.120000000"),
// and closes each filled outline with a line back to where it began before
// closing it again. A barcode whose bars sit at exact, fractional places
// thus writes twice what it did when they sat on whole units.
//
// Made anew: trailing zeros go; a point of an outline goes to the nearest
// hundredth of the unit it is drawn in when that moves it no more than
// kMaxMovePoints on the page (a hundredth of a 600 dpi unit moves it
// 1/120000 in, far below any printer's dot); a filled outline's line back
// to its start, and its closing, go, as filling closes it anyway (a
// stroked one keeps both). Colours, matrices, text and everything else
// keep their values.
#pragma once

#include <QByteArray>

QByteArray ShortenPathNumbers(const QByteArray& content);
