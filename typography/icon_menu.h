// IconMenu: a menu whose items are cells of a strip bitmap (the fill
// patterns), one cell per item stacked downward in item order.
#pragma once

#include <cstdint>

#include <QImage>

#include "typography/menu_bitmaps.h"
#include "typography/owner_draw_menu.h"

class IconMenu : public OwnerDrawMenu {
public:
    explicit IconMenu(QWidget* parent = nullptr) : OwnerDrawMenu(parent) {}

    // Takes the strip (cells of width x height), the check icon of iconId
    // (0: none) and appends count items with ids firstId, firstId + 1, ...
    // Returns 1.
    int32_t AddIconItem(const QImage& strip, int32_t count, int32_t width, int32_t height, int32_t iconId,
                        uint32_t firstId, uint32_t lastId, bool popup);

    int32_t ItemCount() const { return itemCount_; }
    bool IsPopup() const { return popup_; }

protected:
    void DrawItem(const MenuItemDraw& item) override;

private:
    QImage strip_;
    uint32_t firstId_ = 0;
    uint32_t lastId_ = 0;
    MenuIcon checkIcon_;
    int32_t itemCount_ = 0;
    int32_t itemWidth_ = 0;
    int32_t itemHeight_ = 0;
    bool popup_ = false;
};
