// The owner-drawn combo boxes draw their current item themselves: the
// style paints the box without its text, and the item goes in the edit
// field.
#pragma once

#include <QRect>

class QComboBox;
class QStyleOptionComboBox;
class QStylePainter;

// Paints the box of option (the combo's own, from its initStyleOption)
// without text, and returns its edit field, where the item goes.
QRect PaintComboFrame(const QComboBox* box, QStylePainter* painter, QStyleOptionComboBox* option);
