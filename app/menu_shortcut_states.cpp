#include "app/menu_shortcut_states.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMenu>

#include "app/main_frame.h"

MenuShortcutStates::MenuShortcutStates(CMainFrame* frame) : QObject(frame), frame_(frame)
{
    qApp->installEventFilter(this);
}

MenuShortcutStates::~MenuShortcutStates()
{
    qApp->removeEventFilter(this);
}

bool MenuShortcutStates::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::ShortcutOverride) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))
            for (QMenu* menu : frame_->MenuSet(frame_->ShownMenuSet()))
                frame_->UpdateMenu(menu);
    }
    return QObject::eventFilter(watched, event);
}
