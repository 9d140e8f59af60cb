#include "typography/icon_menu2.h"

#include <algorithm>

#include "graphics/frame_border.h"
#include "graphics/placement_records.h"
#include "platform/dc.h"
#include "platform/menus.h"

namespace {

// The width of the sample lines: wide enough to show the stripes of every
// style within a cell.
constexpr int16_t kSampleWidth = 8;

}  // namespace

int32_t IconMenu2::Create(int32_t count, uint32_t firstId, int32_t iconId, int32_t width, int32_t height,
                          bool ownerDrawn)
{
    firstId_ = firstId;
    ownerDrawn_ = ownerDrawn;
    icon_ = iconId != 0 ? LoadMenuIcon(iconId) : MenuIcon{};
    SetItemSize(width + kMenuCheckRoom, height);
    for (int32_t i = 0; i < count; ++i) {
        QAction* action = AppendItem(firstId + uint32_t(i), i);
        if (!ownerDrawn)
            action->setText(QStringLiteral("Style %1").arg(i + 1));
        ++count_;
    }
    return 1;
}

void IconMenu2::paintEvent(QPaintEvent* event)
{
    if (ownerDrawn_)
        OwnerDrawMenu::paintEvent(event);
    else
        QMenu::paintEvent(event);
}

void IconMenu2::DrawItem(const MenuItemDraw& item)
{
    Dc* dc = item.dc;
    dc->fillRect(item.rect, Brush::Solid(MenuColour()));
    const ColorRef ink = item.greyed ? MakeRgb(128, 128, 128) : MenuTextColour();
    const int32_t middle = (item.rect.top + item.rect.bottom) / 2;
    LineRecord line;
    line.start = IntPoint{item.rect.left + kMenuCheckRoom + 3, middle};
    line.end = IntPoint{item.rect.right - 3, middle};
    line.lineWidth = int16_t(std::min<int32_t>(kSampleWidth, std::max(1, item.rect.bottom - item.rect.top - 6)));
    line.lineStyle = int16_t(item.data + 1);
    const Brush oldBrush = dc->selectBrush(Brush::Solid(ink));
    const Pen oldPen = dc->selectPen(Pen{PS_SOLID, 1, ink});
    DrawFrameBorder(dc, line, 0);
    if (item.selected) {
        dc->selectPen(Pen{PS_DOT, 1, MenuTextColour()});
        dc->selectBrush(Brush::Hollow());
        dc->rectangle(item.rect.left, item.rect.top, item.rect.right, item.rect.bottom);
    }
    dc->selectPen(oldPen);
    dc->selectBrush(oldBrush);
    if (item.checked)
        DrawMenuIcon(dc, item.rect.left, item.rect.top, icon_);
}
