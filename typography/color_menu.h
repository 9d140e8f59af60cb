// ColorMenu: the sixteen colours of a colour table as swatches. The menu
// reads the table whenever it draws, so it shows the table's colours as
// they are then; the table must outlive the menu.
#pragma once

#include <cstdint>

#include "typography/menu_bitmaps.h"
#include "typography/owner_draw_menu.h"

class ColorTable;

class ColorMenu : public OwnerDrawMenu {
public:
    explicit ColorMenu(QWidget* parent = nullptr) : OwnerDrawMenu(parent) {}

    // Sixteen items with ids firstId + i and item data i (the colour
    // index), cells of width x height, the check icon of iconId (0: none).
    // lastId and flag are not used. Returns 1.
    int32_t Build(const ColorTable* table, int32_t width, int32_t height, int32_t iconId, uint32_t firstId,
                  uint32_t lastId, int32_t flag);

protected:
    void DrawItem(const MenuItemDraw& item) override;

private:
    const ColorTable* table_ = nullptr;
    MenuIcon checkIcon_;
};
