#include "dialogs/color_combo_box.h"

#include <QPainter>
#include <QStyledItemDelegate>
#include <QStylePainter>

#include "dialogs/combo_frame.h"
#include "dialogs/object_dialog_kit.h"
#include "platform/dc.h"

namespace {

constexpr int kSwatchHeight = 16;

class SwatchDelegate : public QStyledItemDelegate {
public:
    explicit SwatchDelegate(CColorComboBox* box) : QStyledItemDelegate(box), box_(box) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const bool focused = option.state & (QStyle::State_HasFocus | QStyle::State_Selected);
        PaintWithDc(painter, option.rect, [&](Dc* dc, const IntRect& r) {
            box_->DrawItem(dc, r, index.row(), focused);
        });
    }
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        size.setHeight(kSwatchHeight);
        return size;
    }

private:
    CColorComboBox* box_;
};

}  // namespace

CColorComboBox::CColorComboBox(QWidget* parent) : QComboBox(parent)
{
    setItemDelegate(new SwatchDelegate(this));
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

void CColorComboBox::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    const QRect field = PaintComboFrame(this, &painter, &option);
    if (currentIndex() < 0)
        return;
    PaintWithDc(&painter, field.adjusted(1, 1, -1, -1), [&](Dc* dc, const IntRect& r) {
        DrawItem(dc, r, currentIndex(), hasFocus());
    });
}
