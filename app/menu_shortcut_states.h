// A menu item's key works only while its item is enabled, and an item
// takes its state from the command route only when its menu opens. Before
// the window system matches a key with Ctrl or Alt against the menus, the
// items of the menu bar shown are brought up to date, so that a key works
// exactly when its command can run, whatever the menu showed last.
#pragma once

#include <QObject>

class CMainFrame;

class MenuShortcutStates final : public QObject {
public:
    // Watches the application's keys for the frame's menus; a child of the
    // frame.
    explicit MenuShortcutStates(CMainFrame* frame);
    ~MenuShortcutStates() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    CMainFrame* frame_;
};
