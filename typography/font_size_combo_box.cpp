#include "typography/font_size_combo_box.h"

#include <QKeyEvent>
#include <QLineEdit>

FontSizeComboBox::FontSizeComboBox(QWidget* parent) : QComboBox(parent)
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    lineEdit()->installEventFilter(this);
}

bool FontSizeComboBox::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == lineEdit() && (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride)) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            if (event->type() == QEvent::KeyPress)
                Q_EMIT EnterPressed();
            event->accept();
            return true;
        }
    }
    return QComboBox::eventFilter(watched, event);
}
