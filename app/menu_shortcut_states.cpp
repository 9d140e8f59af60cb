#include "app/menu_shortcut_states.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QWidget>

#include "app/main_frame.h"

namespace {

bool HasKey(const QAction* action, const QKeySequence& key)
{
    for (const QKeySequence& shortcut : action->shortcuts())
        if (shortcut == key)
            return true;
    return false;
}

bool MenuHasKey(const QMenu* menu, const QKeySequence& key)
{
    for (const QAction* action : menu->actions()) {
        if (HasKey(action, key))
            return true;
        if (const QMenu* sub = action->menu(); sub && MenuHasKey(sub, key))
            return true;
    }
    return false;
}

}  // namespace

MenuShortcutStates::MenuShortcutStates(CMainFrame* frame) : QObject(frame), frame_(frame)
{
    qApp->installEventFilter(this);
}

MenuShortcutStates::~MenuShortcutStates()
{
    qApp->removeEventFilter(this);
}

bool MenuShortcutStates::IsProgramKey(QObject* watched, const QKeyEvent* key) const
{
    if (!(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
        return false;
    const auto* widget = qobject_cast<const QWidget*>(watched);
    if (!widget || widget->window() != frame_)
        return false;
    const QKeySequence sequence(key->keyCombination());
    for (const QMenu* menu : frame_->MenuSet(frame_->ShownMenuSet()))
        if (MenuHasKey(menu, sequence))
            return true;
    for (const QAction* action : frame_->actions())
        if (HasKey(action, sequence))
            return true;
    return false;
}

bool MenuShortcutStates::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::ShortcutOverride) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))
            for (QMenu* menu : frame_->MenuSet(frame_->ShownMenuSet()))
                frame_->UpdateMenu(menu);
        // Kept from the focused widget, which would otherwise claim the key
        // for its own binding; the menu's item takes it.
        if (IsProgramKey(watched, key))
            return true;
    } else if (event->type() == QEvent::KeyPress) {
        // Only a program key whose command is off arrives here: it does
        // nothing, as its disabled item does.
        if (IsProgramKey(watched, static_cast<QKeyEvent*>(event)))
            return true;
    }
    return QObject::eventFilter(watched, event);
}
