#include "typography/icon_menu.h"

#include <algorithm>

#include "graphics/brush_state.h"
#include "platform/dc.h"

int32_t IconMenu::AddIconItem(const QImage& strip, int32_t count, int32_t width, int32_t height, int32_t iconId,
                              uint32_t firstId, uint32_t lastId, bool popup)
{
    popup_ = popup;
    firstId_ = firstId;
    lastId_ = lastId;
    itemWidth_ = width;
    itemHeight_ = height;
    strip_ = strip;
    checkIcon_ = iconId != 0 ? LoadMenuIcon(iconId) : MenuIcon{};
    SetItemSize(width + kMenuCheckRoom, height);
    for (int32_t i = 0; i < count; ++i) {
        AppendItem(firstId + uint32_t(i), i);
        ++itemCount_;
    }
    return 1;
}

void IconMenu::DrawItem(const MenuItemDraw& item)
{
    if (item.id < firstId_ || item.id > lastId_ || strip_.isNull())
        return;
    Dc* dc = item.dc;
    const int32_t row = int32_t(item.id - firstId_) * itemHeight_;
    BrushState brush(dc);
    const uint32_t flags = item.greyed ? (BrushState::kSetText | BrushState::kSetBackground |
                                          BrushState::kCheckerboardPattern)
                                       : (BrushState::kSetText | BrushState::kSetBackground);
    IntRect picture = item.rect;
    picture.left += kMenuCheckRoom;
    uint32_t rop = SRCAND;
    if (item.selected) {
        brush.Set(HighlightColour(), MenuColour(), 0, flags);
        dc->fillRect(picture, dc->brush());
        rop = MERGEPAINT;
    } else {
        brush.Set(MenuColour(), kWhite, 0, flags);
        dc->fillRect(item.rect, dc->brush());
    }
    const int32_t w = std::min(itemWidth_, picture.right - picture.left);
    const int32_t h = std::min(itemHeight_, item.rect.bottom - item.rect.top);
    if (w > 0 && h > 0)
        dc->stretchImage(IntRect{picture.left, picture.top, picture.left + w, picture.top + h}, strip_,
                         QRect(0, row, w, h), rop);
    if (item.checked)
        DrawMenuIcon(dc, item.rect.left, item.rect.top, checkIcon_);
}
