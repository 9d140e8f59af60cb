// CColorComboBox: the sixteen colours of a document's table as solid
// swatches; item i is entry i, and the selected colour shows as the swatch
// in the closed box.
#pragma once

#include <cstdint>

#include "dialogs/combo_frame.h"
#include "foundation/int_geometry.h"
#include "typography/color_table.h"

class Dc;

class CColorComboBox : public COwnerDrawnCombo {
public:
    explicit CColorComboBox(QWidget* parent = nullptr);

    // Copies the table and appends one item per entry. The caller selects.
    void SetColors(const ColorTable& table);
    const ColorTable& Colors() const { return table_; }

    // Item `item` as a swatch filling rect, with a focus rectangle.
    void DrawItem(Dc* dc, const IntRect& rect, int32_t item, bool focused) const;

protected:
    void DrawCurrent(Dc* dc, const IntRect& field) override;

private:
    ColorTable table_;
};
