#include "dialogs/combo_frame.h"

#include <QComboBox>
#include <QStyleOptionComboBox>
#include <QStylePainter>

QRect PaintComboFrame(const QComboBox* box, QStylePainter* painter, QStyleOptionComboBox* option)
{
    option->currentText.clear();
    painter->drawComplexControl(QStyle::CC_ComboBox, *option);
    return box->style()->subControlRect(QStyle::CC_ComboBox, option, QStyle::SC_ComboBoxEditField, box);
}
