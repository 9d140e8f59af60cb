// A menu whose items the program draws itself, cell by cell, through a Dc.
//
// Every item of such a menu has the same cell size, which the menu reports
// to the style as the item's size; the menu paints each visible item into
// its cell with the item's state, the way the desktop asks an owner-drawn
// menu to draw an item.
#pragma once

#include <cstdint>

#include <QColor>
#include <QMenu>

#include "foundation/int_geometry.h"
#include "platform/gdi_types.h"

class Dc;

// The desktop gives an owner-drawn menu item room for a check mark in
// front of what the item measures; the pictures start past it.
constexpr int32_t kMenuCheckRoom = 10;

struct MenuItemDraw {
    Dc* dc = nullptr;
    IntRect rect;           // the item's cell
    uint32_t id = 0;        // its command id
    int32_t data = 0;       // its item data
    bool selected = false;  // highlighted
    bool greyed = false;    // disabled
    bool checked = false;
};

class OwnerDrawMenu : public QMenu {
public:
    explicit OwnerDrawMenu(QWidget* parent = nullptr);

    // The cell every item takes; set before the items are appended.
    void SetItemSize(int32_t width, int32_t height);
    QSize ItemSize() const { return itemSize_; }

    // Appends an owner-drawn item with a command id and item data.
    QAction* AppendItem(uint32_t id, int32_t data);
    static int32_t ItemData(const QAction* action);

    // The menu's system colours.
    ColorRef MenuColour() const;
    ColorRef MenuTextColour() const;
    ColorRef HighlightColour() const;
    ColorRef HighlightTextColour() const;

protected:
    virtual void DrawItem(const MenuItemDraw& item) = 0;
    void paintEvent(QPaintEvent* event) override;

private:
    QSize itemSize_{60, 20};
};
