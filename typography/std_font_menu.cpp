#include "typography/std_font_menu.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include <QAction>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>

#include "platform/dc.h"
#include "platform/menus.h"
#include "typography/font_list.h"
#include "typography/menu_bitmaps.h"

StdFontMenu::StdFontMenu(QWidget* parent) : OwnerDrawMenu(parent)
{
    connect(this, &QMenu::triggered, this, [this](QAction* action) {
        if (placeholder_)
            return;
        FontChoice choice;
        const int32_t index = ItemData(action);
        const FontList* list = GetGlobalFontList();
        if (index < 0 || index >= list->GetCount())
            return;
        const FontRecord record = list->GetAt(index);
        std::memcpy(choice.faceName, record.faceName, sizeof(choice.faceName));
        choice.type = record.type;
        choice.index = index;
        Q_EMIT FontChosen(choice);
    });
}

bool StdFontMenu::CreateFontList(int32_t trueTypeMarkId, int32_t trueTypeSilhouetteId, int32_t deviceMarkId,
                                 int32_t deviceSilhouetteId, int32_t checkId, uint32_t firstId, int32_t maxItems)
{
    check_ = LoadMenuBitmap(checkId);
    if (!marks_.Load(trueTypeMarkId, trueTypeSilhouetteId, deviceMarkId, deviceSilhouetteId) || check_.isNull()) {
        marks_ = FontMarkBitmaps{};
        check_ = QImage();
        return false;
    }
    placeholder_ = false;
    firstId_ = firstId;
    std::unique_ptr<Dc> measure = Dc::ForMeasuring();
    measure->selectFont(LogFontOfWidget(font()));
    SetItemSize(32 * std::max(1, measure->getTextMetrics().aveCharWidth), kItemHeight);
    const FontList* list = GetGlobalFontList();
    count_ = std::max(0, std::min(maxItems, list->GetCount()));
    for (int32_t i = 0; i < count_; ++i)
        AppendItem(firstId + uint32_t(i), i);
    return true;
}

bool StdFontMenu::CreateFontMenu(uint32_t commandId, int32_t value1, int32_t value2)
{
    placeholder_ = true;
    firstId_ = commandId;
    value1_ = value1;
    value2_ = value2;
    count_ = 1;
    QSize size(FontMenuPopup::kRowHeight, FontMenuPopup::kRowHeight);
    if (FontMenuPopup* popup = FontMenuPopup::Instance())
        size = popup->MeasureList(*GetGlobalFontList(), LogFontOfWidget(font()));
    SetItemSize(size.width(), std::max(size.height(), 1));
    AppendItem(commandId, 0);
    return true;
}

void StdFontMenu::SetCurrentIndex(int32_t index)
{
    current_ = index;
    if (!placeholder_) {
        for (QAction* action : actions()) {
            action->setCheckable(true);
            action->setChecked(ItemData(action) == index);
        }
    }
    update();
}

void StdFontMenu::DrawItem(const MenuItemDraw& item)
{
    if (placeholder_)
        return;
    Dc* dc = item.dc;
    const ColorRef back = item.selected ? HighlightColour() : MenuColour();
    const ColorRef ink = item.selected ? HighlightTextColour() : MenuTextColour();
    dc->fillRect(item.rect, Brush::Solid(back));
    int32_t x = item.rect.left + 1;
    if (item.checked) {
        const int32_t top = item.rect.top + (item.rect.bottom - item.rect.top - check_.height()) / 2;
        dc->stretchImage(IntRect{x, top, x + check_.width(), top + check_.height()}, check_, QRect(), SRCAND);
    }
    x += check_.width() + 1;
    const FontList* list = GetGlobalFontList();
    if (item.data < 0 || item.data >= list->GetCount())
        return;
    const FontRecord record = list->GetAt(item.data);
    const QSize mark = marks_.Size();
    DrawFontMark(dc, marks_, record.type, x, item.rect.top, item.rect.bottom, mark.width(), mark.height());
    x += mark.width() + 1;
    const LogFont oldFont = dc->selectFont(LogFontOfWidget(font()));
    const ColorRef oldInk = dc->setTextColor(ink);
    DrawCentredText(dc, x, item.rect.top, item.rect.bottom, record.faceName);
    dc->setTextColor(oldInk);
    dc->selectFont(oldFont);
    if (item.selected) {
        const Pen oldPen = dc->selectPen(Pen{PS_DOT, 1, ink});
        const Brush oldBrush = dc->selectBrush(Brush::Hollow());
        dc->rectangle(item.rect.left, item.rect.top, item.rect.right, item.rect.bottom);
        dc->selectBrush(oldBrush);
        dc->selectPen(oldPen);
    }
}

bool StdFontMenu::Tracking() const
{
    const FontMenuPopup* popup = FontMenuPopup::Instance();
    return placeholder_ && popup && popup->IsTracking();
}

void StdFontMenu::showEvent(QShowEvent* event)
{
    OwnerDrawMenu::showEvent(event);
    FontMenuPopup* popup = FontMenuPopup::Instance();
    if (!placeholder_ || !popup)
        return;
    QWidget* parentMenu = nullptr;
    for (QObject* o : menuAction()->associatedObjects()) {
        if (auto* w = qobject_cast<QWidget*>(o); w && w != this && w->isVisible())
            parentMenu = w;
    }
    popup->TakeOverMenu(this, parentMenu);
    setMouseTracking(true);
}

void StdFontMenu::hideEvent(QHideEvent* event)
{
    if (Tracking())
        FontMenuPopup::Instance()->Release();
    OwnerDrawMenu::hideEvent(event);
}

void StdFontMenu::paintEvent(QPaintEvent* event)
{
    if (!Tracking()) {
        OwnerDrawMenu::paintEvent(event);
        return;
    }
    QImage surface(size(), QImage::Format_RGB32);
    {
        std::unique_ptr<Dc> dc = Dc::ForImage(&surface);
        dc->selectFont(LogFontOfWidget(font()));
        FontMenuPopup::Instance()->Paint(dc.get(), width(), height(), current_);
    }
    QPainter p(this);
    p.drawImage(0, 0, surface);
}

void StdFontMenu::keyPressEvent(QKeyEvent* event)
{
    if (!Tracking()) {
        OwnerDrawMenu::keyPressEvent(event);
        return;
    }
    FontListTracker::Key key;
    switch (event->key()) {
    case Qt::Key_Up:
        key = FontListTracker::kKeyUp;
        break;
    case Qt::Key_Down:
        key = FontListTracker::kKeyDown;
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        key = FontListTracker::kKeyEnter;
        break;
    case Qt::Key_Escape:
        key = FontListTracker::kKeyEscape;
        break;
    case Qt::Key_Left:
        key = FontListTracker::kKeyLeft;
        break;
    case Qt::Key_Alt:
        key = FontListTracker::kKeyAlt;
        break;
    default:
        event->accept();
        return;
    }
    event->accept();
    Finish(FontMenuPopup::Instance()->Key(key));
}

void StdFontMenu::mouseMoveEvent(QMouseEvent* event)
{
    if (!Tracking()) {
        OwnerDrawMenu::mouseMoveEvent(event);
        return;
    }
    FontMenuPopup::Instance()->PointerAt(int32_t(event->position().y()));
}

void StdFontMenu::mousePressEvent(QMouseEvent* event)
{
    if (!Tracking()) {
        OwnerDrawMenu::mousePressEvent(event);
        return;
    }
    FontMenuPopup::Instance()->PointerAt(int32_t(event->position().y()));
}

void StdFontMenu::mouseReleaseEvent(QMouseEvent* event)
{
    if (!Tracking()) {
        OwnerDrawMenu::mouseReleaseEvent(event);
        return;
    }
    if (event->button() == Qt::LeftButton)
        Finish(FontMenuPopup::Instance()->PointerReleased(int32_t(event->position().y())));
}

void StdFontMenu::CloseAll()
{
    QWidget* w = this;
    while (w) {
        QWidget* next = nullptr;
        if (auto* menu = qobject_cast<QMenu*>(w)) {
            for (QObject* o : menu->menuAction()->associatedObjects()) {
                if (auto* parent = qobject_cast<QMenu*>(o); parent && parent != menu && parent->isVisible())
                    next = parent;
            }
        }
        w->close();
        w = next;
    }
}

void StdFontMenu::Finish(FontListTracker::Outcome outcome)
{
    FontMenuPopup* popup = FontMenuPopup::Instance();
    switch (outcome) {
    case FontListTracker::kGoOn:
        return;
    case FontListTracker::kCloseList:
        popup->Release();
        close();
        return;
    case FontListTracker::kCloseMenus:
        popup->Release();
        CloseAll();
        return;
    case FontListTracker::kAccept: {
        FontChoice choice;
        const bool chosen = popup->Choice(&choice);
        popup->Release();
        CloseAll();
        if (chosen)
            Q_EMIT FontChosen(choice);
        return;
    }
    }
}
