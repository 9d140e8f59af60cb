// The owner-drawn combo boxes draw their current item themselves: the
// style paints the box without its text, and the item goes in the edit
// field, drawn through a Dc.
#pragma once

#include <QComboBox>

#include "foundation/int_geometry.h"

class Dc;

class COwnerDrawnCombo : public QComboBox {
public:
    // inset: the pixels the item keeps off the edit field's edges.
    explicit COwnerDrawnCombo(QWidget* parent, int inset = 0) : QComboBox(parent), inset_(inset) {}

protected:
    // Draws the current item into the edit field.
    virtual void DrawCurrent(Dc* dc, const IntRect& field) = 0;
    // Whether there is a current item to draw; without one the box shows
    // empty.
    virtual bool HasCurrent() const { return currentIndex() >= 0; }

    void paintEvent(QPaintEvent* event) override;

private:
    int inset_;
};
