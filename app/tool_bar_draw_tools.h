// CToolBarDrawTools: the floating tool palette: one button per drawing
// tool of the card window.
#pragma once

#include <cstdint>

#include <QToolBar>

class CToolBarDrawTools : public QToolBar {
public:
    explicit CToolBarDrawTools(QWidget* parent = nullptr);
    // False when the resource has no buttons.
    bool Create(int32_t resourceId);
};
