#include "dialogs/style_list_box.h"

#include "dialogs/dc_row_delegate.h"
#include "dialogs/object_dialog_kit.h"
#include "graphics/brush_state.h"
#include "graphics/frame_border.h"
#include "graphics/pen_state.h"
#include "platform/dc.h"

namespace {

constexpr int16_t kSampleLineWidth = 10;

}  // namespace

CStyleListBox::CStyleListBox(QWidget* parent) : QListWidget(parent)
{
    setItemDelegate(new DcRowDelegate(
        this,
        [this](Dc* dc, const IntRect& r, int32_t row, QStyle::State state) {
            DrawItem(dc, r, row, state.testFlag(QStyle::State_Selected), state.testFlag(QStyle::State_HasFocus));
        },
        [this] { return ItemHeight(); }));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true);
}

int SelectedRow(const QListWidget* list)
{
    const QList<QListWidgetItem*> items = list->selectedItems();
    return items.isEmpty() ? -1 : list->row(items.first());
}

void CStyleListBox::focusInEvent(QFocusEvent* event)
{
    const bool none = currentRow() < 0;
    QListWidget::focusInEvent(event);
    if (none && currentRow() >= 0 && selectedItems().isEmpty()) {
        const QSignalBlocker quiet(this);
        setCurrentRow(-1, QItemSelectionModel::NoUpdate);
    }
}

void CStyleListBox::Init(uint8_t mode, int32_t count, int32_t itemHeight, int32_t extra)
{
    mode_ = mode;
    count_ = count;
    itemHeight_ = itemHeight;
    extra_ = extra;
    for (int32_t i = 0; i < count; ++i)
        addItem(QStringLiteral("---"));
}

void CStyleListBox::DrawItem(Dc* dc, const IntRect& rect, int32_t item, bool selected, bool focused) const
{
    const ColorRef background = PaletteColour(this, selected ? QPalette::Highlight : QPalette::Base);
    const ColorRef foreground = PaletteColour(this, selected ? QPalette::HighlightedText : QPalette::Text);
    const bool patterns = mode_ == kModePatterns;
    {
        PenState pen(dc);
        BrushState brush(dc);
        const ColorRef oldText = dc->setTextColor(foreground);
        const ColorRef oldBack = dc->setBkColor(background);
        dc->fillRect(rect, Brush::Solid(background));
        pen.SetPen(foreground, 1, PenState::kSetColour | PenState::kSetWidth);
        brush.Set(foreground, background, patterns ? item : 0, BrushState::kSetText | BrushState::kSetBackground);
        LineRecord line;
        const int32_t middle = (rect.top + rect.bottom) / 2;
        line.start = IntPoint{rect.left + 3, middle};
        line.end = IntPoint{rect.right - 3, middle};
        line.lineWidth = kSampleLineWidth;
        line.lineStyle = int16_t(patterns ? 1 : item + 1);
        DrawFrameBorder(dc, line, 0);
        if (patterns)
            dc->rectangle(rect.left + 2, rect.top + 1, rect.right - 2, rect.bottom - 1);
        dc->setTextColor(oldText);
        dc->setBkColor(oldBack);
    }
    if (focused)
        DrawFocusRect(dc, rect);
}
