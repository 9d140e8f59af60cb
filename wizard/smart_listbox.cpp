#include "wizard/smart_listbox.h"

#include <algorithm>

#include <QMouseEvent>

#include "catalog/wizard_fault_list.h"
#include "dialogs/dc_row_delegate.h"
#include "dialogs/object_dialog_kit.h"
#include "foundation/cp1252.h"
#include "platform/dc.h"

namespace {

const QString kPlaceholder = QStringLiteral("---");

LogFont FontOf(const QWidget* widget)
{
    LogFont font;
    font.height = -widget->fontInfo().pixelSize();
    const std::string face = QStringToCp1252(widget->fontInfo().family()).substr(0, 31);
    std::copy(face.begin(), face.end(), font.faceName);
    return font;
}

// One line, centred from top to bottom, starting x pixels in.
void DrawLine(Dc* dc, const IntRect& rect, int32_t x, const std::string& text)
{
    const TextMetrics m = dc->getTextMetrics();
    dc->textOut(rect.left + x, rect.top + (rect.bottom - rect.top - m.height) / 2, text);
}

}  // namespace

// --- CSmartListbox --------------------------------------------------------

CSmartListbox::CSmartListbox(QWidget* parent) : QListWidget(parent)
{
    setItemDelegate(new DcRowDelegate(this, [this](Dc* dc, const IntRect& r, int32_t row, QStyle::State state) {
        DrawItemText(dc, r, row, state.testFlag(QStyle::State_Selected));
    }));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true);
    setDragEnabled(false);
    normalText_ = PaletteColour(this, QPalette::Text);
    disabledText_ = PaletteColour(this, QPalette::Text, QPalette::Disabled);
    selectedBack_ = PaletteColour(this, QPalette::Highlight);
    selectedText_ = PaletteColour(this, QPalette::HighlightedText);
    selectedDisabledBack_ = disabledText_;
    selectedDisabledText_ = normalText_;
}

CSmartListbox::~CSmartListbox() = default;

uint32_t CSmartListbox::SetStyle(uint32_t bits)
{
    const uint32_t previous = style_;
    style_ = bits;
    setSelectionMode((bits & kSmartMultiSelect) ? QAbstractItemView::ExtendedSelection
                                                : QAbstractItemView::SingleSelection);
    return previous;
}

void CSmartListbox::ResetContent()
{
    const QSignalBlocker quiet(this);
    clear();
    items_.clear();
}

int32_t CSmartListbox::InsertItem(const CSmartListItem* item, int32_t index)
{
    if (!item)
        return -1;
    index = std::clamp(index, 0, Count());
    items_.insert(items_.begin() + index, *item);
    const QSignalBlocker quiet(this);
    insertItem(index, kPlaceholder);
    return index;
}

int32_t CSmartListbox::AddItem(const CSmartListItem* item)
{
    return InsertItem(item, 32000);
}

void CSmartListbox::DeleteItem(int32_t index)
{
    if (index < 0 || index >= Count())
        return;
    items_.erase(items_.begin() + index);
    const QSignalBlocker quiet(this);
    delete takeItem(index);
}

bool CSmartListbox::GetItem(int32_t index, CSmartListItem* item) const
{
    if (index < 0 || index >= Count() || !item)
        return false;
    *item = items_[size_t(index)];
    return true;
}

uint32_t CSmartListbox::GetItemData(int32_t index) const
{
    return index >= 0 && index < Count() ? items_[size_t(index)].data : 0;
}

void CSmartListbox::MoveItem(int32_t from, int32_t to)
{
    if (from < 0 || from >= Count())
        return;
    to = std::clamp(to, 0, Count() - 1);
    if (to == from)
        return;
    CSmartListItem moved = std::move(items_[size_t(from)]);
    items_.erase(items_.begin() + from);
    items_.insert(items_.begin() + to, std::move(moved));
    viewport()->update();
}

void CSmartListbox::ToggleItem(int32_t index)
{
    if (index < 0 || index >= Count())
        return;
    items_[size_t(index)].enabled ^= 1;
}

void CSmartListbox::SetItemText(int32_t index, const std::string& text)
{
    if (index < 0 || index >= Count())
        return;
    items_[size_t(index)].text = text;
    RedrawItem(index);
}

void CSmartListbox::RedrawItem(int32_t index)
{
    if (QListWidgetItem* it = item(index))
        viewport()->repaint(visualItemRect(it));
}

std::vector<int32_t> CSmartListbox::SelectedIndexes() const
{
    std::vector<int32_t> rows;
    for (const QModelIndex& index : selectionModel()->selectedIndexes())
        rows.push_back(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

int32_t CSmartListbox::GetFirstSelected() const
{
    const std::vector<int32_t> rows = SelectedIndexes();
    return rows.empty() ? -1 : rows.front();
}

bool CSmartListbox::IsSelected(int32_t index) const
{
    const QListWidgetItem* it = item(index);
    return it && it->isSelected();
}

void CSmartListbox::SelectRange(int32_t first, int32_t last)
{
    // Only the user's own selections are reported to the page.
    const QSignalBlocker quiet(this);
    clearSelection();
    if (first < 0 || first >= Count())
        return;
    last = std::clamp(last, first, Count() - 1);
    setCurrentRow(first, QItemSelectionModel::NoUpdate);
    for (int32_t i = first; i <= last; ++i)
        item(i)->setSelected(true);
}

void CSmartListbox::Notify(int32_t code, int32_t first, int32_t second)
{
    if (changed_)
        changed_(SmartListChange{code, first, second}, this);
}

void CSmartListbox::DragStart(int32_t index)
{
    if (!(style_ & kSmartDragReorder) || index < 0 || index >= Count())
        return;
    anchor_ = current_ = target_ = index;
    dragging_ = true;
}

void CSmartListbox::DragOver(int32_t index)
{
    if (!dragging_ || index < 0 || index >= Count())
        return;
    target_ = index;
    if (target_ == current_)
        return;
    if (anchor_ == current_)
        SelectRange(-1, -1);
    anchor_ = -2;
    const int32_t from = current_;
    MoveItem(from, target_);
    // The entry being dragged stays the one highlighted.
    SelectRange(target_, target_);
    current_ = target_;
    Notify(kSmartMoved, from, target_);
}

void CSmartListbox::DragEnd(int32_t index)
{
    if (!dragging_)
        return;
    dragging_ = false;
    if (index >= 0 && index < Count() && anchor_ != target_)
        SelectRange(index, index);
    viewport()->update();
}

void CSmartListbox::DoubleClickAt(int32_t index)
{
    if (!(style_ & kSmartItemFlags) || index < 0 || index >= Count())
        return;
    ToggleItem(index);
    RedrawItem(index);
    Notify(kSmartToggled, index, -2);
}

void CSmartListbox::mousePressEvent(QMouseEvent* event)
{
    QListWidget::mousePressEvent(event);
    if (event->button() == Qt::LeftButton)
        DragStart(indexAt(event->position().toPoint()).row());
}

void CSmartListbox::mouseMoveEvent(QMouseEvent* event)
{
    if (!dragging_) {
        QListWidget::mouseMoveEvent(event);
        return;
    }
    DragOver(indexAt(event->position().toPoint()).row());
}

void CSmartListbox::mouseReleaseEvent(QMouseEvent* event)
{
    const bool moved = dragging_ && anchor_ != target_;
    DragEnd(indexAt(event->position().toPoint()).row());
    // A drag that moved something ends with the dragged entry selected; the
    // release must not select anything else.
    if (!moved)
        QListWidget::mouseReleaseEvent(event);
}

void CSmartListbox::mouseDoubleClickEvent(QMouseEvent* event)
{
    QListWidget::mouseDoubleClickEvent(event);
    DoubleClickAt(indexAt(event->position().toPoint()).row());
}

LogFont CSmartListbox::WidgetFont(bool drag) const
{
    LogFont font = FontOf(this);
    if (drag) {
        font.italic = 1;
        font.outPrecision = 6;
        font.quality = 2;
        font.pitchAndFamily = 0x22;
        std::fill(std::begin(font.faceName), std::end(font.faceName), '\0');
        const char face[] = "Small Fonts";
        std::copy(face, face + sizeof face - 1, font.faceName);
    }
    return font;
}

void CSmartListbox::DrawItemText(Dc* dc, const IntRect& rect, int32_t index, bool selected)
{
    if (index < 0 || index >= Count())
        return;
    const CSmartListItem& it = items_[size_t(index)];
    const bool disabled = (style_ & kSmartItemFlags) && !it.enabled;
    ColorRef back = PaletteColour(this, QPalette::Base);
    ColorRef text = disabled ? disabledText_ : normalText_;
    bool drag = false;
    if (selected && (!dragging_ || index == current_)) {
        back = disabled ? selectedDisabledBack_ : selectedBack_;
        text = disabled ? selectedDisabledText_ : selectedText_;
        drag = dragging_ && anchor_ == -2;
    }
    dc->fillRect(rect, Brush::Solid(back));
    const LogFont old = dc->selectFont(WidgetFont(drag));
    const ColorRef oldText = dc->setTextColor(text);
    const int32_t oldMode = dc->setBkMode(TRANSPARENT);
    DrawLine(dc, rect, 2, it.text);
    dc->setBkMode(oldMode);
    dc->setTextColor(oldText);
    dc->selectFont(old);
}

// --- CSmartEdit -----------------------------------------------------------

void CSmartEdit::SetTextQuiet(const std::string& text)
{
    // setText never counts as the user's edit, and the page listens to
    // those alone.
    setText(Cp1252ToQString(text));
    setModified(false);
}

// --- CFolderListBox -------------------------------------------------------

std::string FolderListItemText(const WizardFault& f, int32_t tab)
{
    std::string text = f.displayName;
    const bool file = !f.isFolder && !f.unknownFormat;
    if (tab == 0 || tab == 1) {
        if (file) {
            if (!f.filePresent)
                text += " (-)";
            text += " [" + std::to_string(f.referenceCount) + "]";
        }
        if (f.isFolder)
            text += " <FOLDER>";
        if (f.itemNumber > 1)
            text += " <SubType>";
    } else if (tab == 2) {
        if (file && !f.filePresent)
            text += " (-)";
        if (f.isFolder)
            text += " <FOLDER>";
    }
    return text;
}

ColorRef FolderListMarkColour(uint32_t rating)
{
    ColorRef colour = 0;
    if (rating & kFaultMarkGreen)
        colour = 0x00FF00;
    if (rating & kFaultMarkYellow)
        colour = 0x00FFFF;
    if (rating & kFaultMarkRed)
        colour = 0x0000FF;
    return colour;
}

CFolderListBox::CFolderListBox(QWidget* parent) : QListWidget(parent)
{
    setItemDelegate(new DcRowDelegate(this, [this](Dc* dc, const IntRect& r, int32_t row, QStyle::State state) {
        DrawItem(dc, r, row, state.testFlag(QStyle::State_Selected));
    }));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true);
}

void CFolderListBox::SetSource(const WizardFaultList* list, int32_t tab)
{
    const QSignalBlocker quiet(this);
    clear();
    source_ = list;
    tab_ = tab;
    if (!list)
        return;
    for (size_t i = 0; i < list->entries.size(); ++i)
        addItem(kPlaceholder);
}

int32_t CFolderListBox::SelectedIndex() const
{
    const QList<QListWidgetItem*> items = selectedItems();
    return items.isEmpty() ? -1 : row(items.first());
}

void CFolderListBox::DrawItem(Dc* dc, const IntRect& rect, int32_t index, bool selected) const
{
    if (!source_ || index < 0 || size_t(index) >= source_->entries.size())
        return;
    const WizardFault& f = source_->entries[size_t(index)];
    dc->fillRect(rect, Brush::Solid(selected ? PaletteColour(this, QPalette::Highlight)
                                             : PaletteColour(this, QPalette::Base)));
    const LogFont old = dc->selectFont(FontOf(this));
    const ColorRef oldText = dc->setTextColor(selected ? kWhite : kBlack);
    const int32_t oldMode = dc->setBkMode(TRANSPARENT);
    DrawLine(dc, rect, 10, FolderListItemText(f, tab_));
    dc->setBkMode(oldMode);
    dc->setTextColor(oldText);
    dc->selectFont(old);
    if (selected)
        DrawFocusRect(dc, rect);
    const uint32_t rating = rater_ ? rater_(f) : 0;
    if (rating & (kFaultMarkGreen | kFaultMarkYellow | kFaultMarkRed)) {
        const IntRect mark{rect.left + 2, rect.top + 3, rect.left + 8, rect.bottom - 3};
        dc->fillRect(mark, Brush::Solid(FolderListMarkColour(rating)));
    }
}
