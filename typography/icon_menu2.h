// IconMenu2: the line-style menu. Item i shows line style i + 1 as a
// sample line, the check icon when checked and a focus rectangle when
// highlighted.
#pragma once

#include <cstdint>

#include "typography/menu_bitmaps.h"
#include "typography/owner_draw_menu.h"

class IconMenu2 : public OwnerDrawMenu {
public:
    explicit IconMenu2(QWidget* parent = nullptr) : OwnerDrawMenu(parent) {}

    // count items with ids firstId + i in cells of width x height, the
    // check icon of iconId (0: none); owner-drawn unless ownerDrawn is
    // false, when they are plain items named by their line style.
    int32_t Create(int32_t count, uint32_t firstId, int32_t iconId, int32_t width, int32_t height, bool ownerDrawn);

    int32_t ItemCount() const { return count_; }

protected:
    void DrawItem(const MenuItemDraw& item) override;
    void paintEvent(QPaintEvent* event) override;

private:
    int32_t count_ = 0;
    uint32_t firstId_ = 0;
    MenuIcon icon_;
    bool ownerDrawn_ = true;
};
