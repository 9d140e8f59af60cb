// Where the main window comes up: the profile section "Window size" keeps
// its normal position ("Rect"), whether it was minimised ("icon") and
// whether it was or restores to maximised ("max"); the tool bars keep
// their places too.

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include <QGuiApplication>
#include <QMdiArea>
#include <QScreen>
#include <QSettings>

#include "app/document_child_frame.h"
#include "app/first_exposure.h"
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

// The screen a window at the rectangle opens on: the one under its centre,
// else the first.
const QScreen* ScreenOf(const QRect& rect)
{
    const QScreen* screen = QGuiApplication::screenAt(rect.center());
    return screen ? screen : QGuiApplication::primaryScreen();
}

// The rectangle moved and, where it must be, made smaller so that it and the
// frame around it lie within the area: a place kept from a larger screen,
// or from a smaller scale, would leave the title bar's buttons beyond
// reach.
QRect FitWithin(QRect rect, const QRect& area, const QMargins& frame)
{
    const QRect room = area.marginsRemoved(frame);
    if (room.width() < 100 || room.height() < 100)
        return rect;
    rect.setWidth(std::min(rect.width(), room.width()));
    rect.setHeight(std::min(rect.height(), room.height()));
    rect.moveLeft(std::clamp(rect.left(), room.left(), room.right() + 1 - rect.width()));
    rect.moveTop(std::clamp(rect.top(), room.top(), room.bottom() + 1 - rect.height()));
    return rect;
}

}  // namespace

QMargins CMainFrame::FrameMargins() const
{
    const QRect outer = frameGeometry();
    const QRect inner = geometry();
    return QMargins(inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
                    outer.bottom() - inner.bottom());
}

void CMainFrame::KeepOnScreen()
{
    if (isMaximized() || isMinimized() || isFullScreen())
        return;
    const QScreen* screen = ScreenOf(geometry());
    if (!screen)
        return;
    const QRect fitted = FitWithin(geometry(), screen->availableGeometry(), FrameMargins());
    if (fitted == geometry())
        return;
    keepChildrenInside_ = !frames_.empty();
    setGeometry(fitted);
}

void CMainFrame::KeepChildFramesInside()
{
    const QRect area(QPoint(0, 0), mdi_->viewport()->size());
    for (DocumentChildFrame* frame : frames_) {
        if (frame->isMaximized() || frame->isMinimized())
            continue;
        const QRect fitted = FitWithin(frame->geometry(), area, QMargins());
        if (fitted != frame->geometry())
            frame->setGeometry(fitted);
    }
}

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
    if (const QScreen* screen = ScreenOf(normal))
        normal = FitWithin(normal, screen->availableGeometry(), FrameMargins());
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
        // The frame around the window is known once the window system
        // shows it, which may be later than now; a window placed otherwise
        // meanwhile stays where it was put.
        KeepOnScreen();
        const QRect placed = geometry();
        FirstExposure::Watch(windowHandle(), [this, placed] {
            if (geometry() == placed)
                KeepOnScreen();
        });
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
