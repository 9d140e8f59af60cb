// Where the main window comes up: the profile section "Window size" keeps
// its normal position ("Rect"), whether it was minimised ("icon") and
// whether it was or restores to maximised ("max"); the tool bars keep
// their places too.

#include <cstdio>
#include <cstdlib>

#include <QGuiApplication>
#include <QScreen>
#include <QSettings>

#include "app/main_frame.h"
#include "app/tool_bar_draw_tools.h"
#include "platform/profile.h"

namespace {

const char* const kSection = "Window size";
const char* const kToolBarState = "Toolbar State/State";

// The field at offset at of the "%04d %04d %04d %04d" text, read as far as
// integer conversion gets.
int32_t FieldAt(const std::string& text, size_t at)
{
    return at < text.size() ? std::atoi(text.c_str() + at) : 0;
}

// Where the window first comes up while the profile keeps no place for it:
// three quarters of the screen's free area, centred, so that a card window,
// its rulers and the tool bars have room; never smaller than the default
// rectangle.
QRect FirstPlacement(const QRect& fallback)
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return fallback;
    const QRect area = screen->availableGeometry();
    if (area.isEmpty())
        return fallback;
    const QSize size = QSize(area.width() * 3 / 4, area.height() * 3 / 4).expandedTo(fallback.size());
    QRect placed(QPoint(0, 0), size);
    placed.moveCenter(area.center());
    return placed;
}

}  // namespace

void CMainFrame::ActivateFrame()
{
    QRect normal = FirstPlacement(kDefaultRect);
    const std::string rect = GetProfileString(kSection, "Rect");
    if (!rect.empty()) {
        const int32_t left = FieldAt(rect, 0);
        const int32_t top = FieldAt(rect, 5);
        const int32_t right = FieldAt(rect, 10);
        const int32_t bottom = FieldAt(rect, 15);
        normal = QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
    }
    // A rectangle too small to hold anything comes up at the default size
    // instead of as an invisible window.
    if (normal.width() < 100 || normal.height() < 100)
        normal.setSize(kDefaultRect.size());
    const bool iconic = GetProfileInt(kSection, "icon", 0) != 0;
    const bool maximised = GetProfileInt(kSection, "max", 0) != 0;

    QSettings settings;
    const QByteArray state = settings.value(kToolBarState).toByteArray();
    if (!state.isEmpty())
        restoreState(state);

    setGeometry(normal);
    if (iconic) {
        // Shown minimised without taking the focus; restoring gives back
        // the maximised window when it was one.
        setAttribute(Qt::WA_ShowWithoutActivating, true);
        setWindowState(maximised ? (Qt::WindowMinimized | Qt::WindowMaximized) : Qt::WindowMinimized);
        show();
        setAttribute(Qt::WA_ShowWithoutActivating, false);
    } else if (maximised) {
        showMaximized();
    } else {
        showNormal();
    }
}

void CMainFrame::SaveWindowPlacement()
{
    const QRect normal = isMaximized() || isMinimized() ? normalGeometry() : geometry();
    const Qt::WindowStates state = windowState();
    int32_t icon = 0;
    int32_t max = 0;
    if (state & Qt::WindowMinimized) {
        icon = 1;
        max = (state & Qt::WindowMaximized) ? 1 : 0;
    } else if (state & Qt::WindowMaximized) {
        max = 1;
    }
    char text[64];
    std::snprintf(text, sizeof text, "%04d %04d %04d %04d", normal.left(), normal.top(), normal.right() + 1,
                  normal.bottom() + 1);
    WriteProfileString(kSection, "Rect", text);
    WriteProfileInt(kSection, "icon", icon);
    WriteProfileInt(kSection, "max", max);
    QSettings settings;
    settings.setValue(kToolBarState, saveState());
}
