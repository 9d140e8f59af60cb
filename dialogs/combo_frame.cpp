#include "dialogs/combo_frame.h"

#include <QStyleOptionComboBox>
#include <QStylePainter>

#include "dialogs/object_dialog_kit.h"

void COwnerDrawnCombo::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    option.currentText.clear();
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    const QRect field = style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    if (!HasCurrent())
        return;
    PaintWithDc(&painter, field.adjusted(inset_, inset_, -inset_, -inset_),
                [this](Dc* dc, const IntRect& r) { DrawCurrent(dc, r); });
}
