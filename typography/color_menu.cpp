#include "typography/color_menu.h"

#include "graphics/brush_state.h"
#include "platform/dc.h"
#include "typography/color_table.h"

int32_t ColorMenu::Build(const ColorTable* table, int32_t width, int32_t height, int32_t iconId, uint32_t firstId,
                         uint32_t /*lastId*/, int32_t /*flag*/)
{
    table_ = table;
    checkIcon_ = iconId != 0 ? LoadMenuIcon(iconId) : MenuIcon{};
    SetItemSize(width + kMenuCheckRoom, height);
    for (int32_t i = 0; i < kColorCount; ++i)
        AppendItem(firstId + uint32_t(i), i);
    return 1;
}

void ColorMenu::DrawItem(const MenuItemDraw& item)
{
    Dc* dc = item.dc;
    const ColorRef c = table_ ? table_->GetColor(item.data) : kWhite;
    BrushState brush(dc);
    const uint32_t flags = item.greyed ? (BrushState::kSetText | BrushState::kSetBackground |
                                          BrushState::kCheckerboardPattern)
                                       : (BrushState::kSetText | BrushState::kSetBackground);
    brush.Set(c, MenuColour(), 0, flags);
    IntRect swatch = item.rect;
    swatch.left += kMenuCheckRoom;
    swatch.top += 2;
    swatch.bottom -= 2;
    dc->fillRect(swatch, dc->brush());
    if (item.selected)
        dc->frameRect(swatch, Brush::Solid(MakeRgb(255 - RedOf(c), 255 - GreenOf(c), 255 - BlueOf(c))));
    if (item.checked)
        DrawMenuIcon(dc, item.rect.left, item.rect.top, checkIcon_);
}
