#include "dialogs/color_combo_box.h"

#include "dialogs/dc_row_delegate.h"
#include "dialogs/object_dialog_kit.h"
#include "platform/dc.h"

namespace {

constexpr int kSwatchHeight = 16;

}  // namespace

CColorComboBox::CColorComboBox(QWidget* parent) : COwnerDrawnCombo(parent, 1)
{
    setItemDelegate(new DcRowDelegate(
        this,
        [this](Dc* dc, const IntRect& r, int32_t row, QStyle::State state) {
            DrawItem(dc, r, row, state.testFlag(QStyle::State_HasFocus) || state.testFlag(QStyle::State_Selected));
        },
        [] { return kSwatchHeight; }));
    setMinimumWidth(60);
}

void CColorComboBox::SetColors(const ColorTable& table)
{
    table_ = table;
    for (int32_t i = 0; i < kColorCount; ++i)
        addItem(QStringLiteral("---"));
}

void CColorComboBox::DrawItem(Dc* dc, const IntRect& rect, int32_t item, bool focused) const
{
    dc->fillRect(rect, Brush::Solid(table_.GetColor(item)));
    if (focused)
        DrawFocusRect(dc, rect);
}

void CColorComboBox::DrawCurrent(Dc* dc, const IntRect& field) { DrawItem(dc, field, currentIndex(), hasFocus()); }
