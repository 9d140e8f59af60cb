#include "typography/font_size_combo_box.h"

#include <QKeyEvent>
#include <QLineEdit>

FontSizeComboBox::FontSizeComboBox(QWidget* parent) : QComboBox(parent)
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    // A size is taken as typed: completing "7" to "72" from the list would
    // apply a size nobody asked for.
    setCompleter(nullptr);
    lineEdit()->installEventFilter(this);
}

bool FontSizeComboBox::TakeEnter(QEvent* event)
{
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride)
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
        return false;
    if (event->type() == QEvent::KeyPress)
        Q_EMIT EnterPressed();
    event->accept();
    return true;
}

bool FontSizeComboBox::event(QEvent* event)
{
    // The window system gives the keys to the box, whose edit field it
    // passes them to without asking the field's filters: a size that is
    // not in the list would otherwise be dropped.
    if (TakeEnter(event))
        return true;
    return QComboBox::event(event);
}

bool FontSizeComboBox::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == lineEdit() && TakeEnter(event))
        return true;
    return QComboBox::eventFilter(watched, event);
}
