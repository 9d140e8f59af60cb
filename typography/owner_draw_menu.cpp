#include "typography/owner_draw_menu.h"

#include <algorithm>
#include <memory>

#include <QAction>
#include <QPaintEvent>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleOption>
#include <QVariant>

#include "platform/dc.h"
#include "platform/menus.h"

namespace {

constexpr const char* kItemDataProperty = "tessalineItemData";

// Reports each owner-drawn item's cell as its size.
class CellStyle : public QProxyStyle {
public:
    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                           const QWidget* widget) const override
    {
        if (type == CT_MenuItem) {
            if (const auto* menu = dynamic_cast<const OwnerDrawMenu*>(widget)) {
                const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
                if (!item || item->menuItemType != QStyleOptionMenuItem::Separator)
                    return menu->ItemSize();
            }
        }
        return QProxyStyle::sizeFromContents(type, option, size, widget);
    }

    // The items keep clear of the menu's frame.
    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override
    {
        if (dynamic_cast<const OwnerDrawMenu*>(widget)) {
            if (metric == PM_MenuPanelWidth)
                return kFrameWidth;
            if (metric == PM_MenuHMargin || metric == PM_MenuVMargin)
                return 0;
        }
        return QProxyStyle::pixelMetric(metric, option, widget);
    }

    static constexpr int kFrameWidth = 2;
};

CellStyle* SharedCellStyle()
{
    static CellStyle* style = new CellStyle;
    return style;
}

}  // namespace

OwnerDrawMenu::OwnerDrawMenu(QWidget* parent) : QMenu(parent) { setStyle(SharedCellStyle()); }

void OwnerDrawMenu::SetItemSize(int32_t width, int32_t height)
{
    itemSize_ = QSize(std::max(width, 1), std::max(height, 1));
}

QAction* OwnerDrawMenu::AppendItem(uint32_t id, int32_t data)
{
    QAction* action = addAction(QString());
    MenuSetCommandId(action, id);
    action->setProperty(kItemDataProperty, data);
    return action;
}

int32_t OwnerDrawMenu::ItemData(const QAction* action) { return action->property(kItemDataProperty).toInt(); }

ColorRef OwnerDrawMenu::MenuColour() const { return FromQColor(palette().color(QPalette::Window)); }
ColorRef OwnerDrawMenu::MenuTextColour() const { return FromQColor(palette().color(QPalette::WindowText)); }
ColorRef OwnerDrawMenu::HighlightColour() const { return FromQColor(palette().color(QPalette::Highlight)); }
ColorRef OwnerDrawMenu::HighlightTextColour() const
{
    return FromQColor(palette().color(QPalette::HighlightedText));
}

void OwnerDrawMenu::paintEvent(QPaintEvent* event)
{
    QImage surface(size(), QImage::Format_RGB32);
    surface.fill(palette().color(QPalette::Window));
    {
        std::unique_ptr<Dc> dc = Dc::ForImage(&surface);
        for (QAction* action : actions()) {
            const QRect r = actionGeometry(action);
            if (!action->isVisible() || r.isEmpty() || !event->rect().intersects(r) || action->isSeparator())
                continue;
            MenuItemDraw item;
            item.dc = dc.get();
            item.rect = IntRect{r.left(), r.top(), r.right() + 1, r.bottom() + 1};
            item.id = MenuGetCommandId(action);
            item.data = ItemData(action);
            item.selected = activeAction() == action;
            item.greyed = !action->isEnabled();
            item.checked = action->isChecked();
            dc->saveDc();
            dc->intersectClipRect(item.rect.left, item.rect.top, item.rect.right, item.rect.bottom);
            DrawItem(item);
            dc->restoreDc(-1);
        }
    }
    QPainter p(this);
    p.drawImage(0, 0, surface);
    // A raised frame around the items.
    const QRect outer = rect().adjusted(0, 0, -1, -1);
    p.setPen(palette().color(QPalette::Mid));
    p.drawRect(outer);
    p.setPen(palette().color(QPalette::Light));
    p.drawRect(outer.adjusted(1, 1, -1, -1));
}
