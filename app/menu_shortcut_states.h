// A menu item's key works only while its item is enabled, and an item
// takes its state from the command route only when its menu opens. Before
// the window system matches a key with Ctrl or Alt against the menus, the
// items of the menu bar shown are brought up to date, so that a key works
// exactly when its command can run, whatever the menu showed last.
//
// A key the menus show is the program's wherever the focus is in the main
// window: a field's own binding for it (a line edit's Ctrl+U, Ctrl+Z,
// Ctrl+A ...) never runs in its place, not even while the command is off.
#pragma once

#include <QObject>

class CMainFrame;
class QKeyEvent;

class MenuShortcutStates final : public QObject {
public:
    // Watches the application's keys for the frame's menus; a child of the
    // frame.
    explicit MenuShortcutStates(CMainFrame* frame);
    ~MenuShortcutStates() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // A key of an item of the menus shown or of the frame's own keys,
    // pressed in the frame's window.
    bool IsProgramKey(QObject* watched, const QKeyEvent* key) const;

    CMainFrame* frame_;
};
