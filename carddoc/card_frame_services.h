// What the card view needs of the window around it: the scroll bars (the
// horizontal one lives in the zoom and page bar, the vertical one in the
// frame), the two rulers with their corner, the zoom and page bar, the
// tools bar and the command route. The card window implements it; a view
// without one keeps its scroll state to itself.
#pragma once

#include <cstdint>

#include <Qt>

class CRuler;
class QMenu;
class CRulerCorner;
class CZoomPageBar;

// What a scroll bar shows: positions run from min to max - page + 1.
struct ScrollInfo {
    int32_t min = 0;
    int32_t max = 0;
    int32_t page = 1;
    int32_t pos = 0;
};

// A view that takes the frame's scroll bar actions (QAbstractSlider's).
class FrameScrollClient {
public:
    virtual ~FrameScrollClient() = default;
    virtual void OnFrameScroll(Qt::Orientation orientation, int32_t action, int32_t position) = 0;
};

class CardFrameServices {
public:
    virtual ~CardFrameServices() = default;
    // Null leaves a bar as it is.
    virtual void SetScrollBars(const ScrollInfo* horizontal, const ScrollInfo* vertical) = 0;
    virtual void GetScrollBars(ScrollInfo* horizontal, ScrollInfo* vertical) const = 0;
    virtual CRuler* HorizontalRuler() const = 0;
    virtual CRuler* VerticalRuler() const = 0;
    virtual CRulerCorner* RulerCorner() const = 0;
    virtual CZoomPageBar* ZoomPageBar() const = 0;
    // The tools bar shows the tool kind checked.
    virtual void UpdateToolButtons(int16_t kind) = 0;
    // Offers a command to the window's route; true when carried out.
    virtual bool RouteCommand(uint32_t id) = 0;
    // The items of a menu (and its submenus) take the states the route
    // gives their commands.
    virtual void UpdateMenuStates(QMenu* menu) = 0;
};
