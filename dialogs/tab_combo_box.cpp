#include "dialogs/tab_combo_box.h"

#include <algorithm>
#include <cstdio>

#include "dialogs/dc_row_delegate.h"
#include "dialogs/object_dialog_kit.h"
#include "foundation/cp1252.h"
#include "platform/dc.h"

CTabComboBox::CTabComboBox(QWidget* parent) : COwnerDrawnCombo(parent)
{
    setItemDelegate(new DcRowDelegate(
        this,
        [this](Dc* dc, const IntRect& r, int32_t row, QStyle::State state) {
            DrawItem(dc, r, row, false, state.testFlag(QStyle::State_Selected), state.testFlag(QStyle::State_HasFocus));
        },
        [this] { return ItemHeight(); }));
    // The user's pick becomes the shown selection before the dialog hears
    // of it.
    connect(this, &QComboBox::activated, this, [this](int index) { shown_ = index; }, Qt::DirectConnection);
}

void CTabComboBox::Fill(const std::vector<QImage>& bitmaps, const QStringList& names, int32_t kinds, int32_t margins)
{
    bitmaps_ = bitmaps;
    names_ = names;
    kinds_ = kinds;
    margins_ = margins;
    int32_t tallest = 0;
    widest_ = 0;
    for (const QImage& b : bitmaps_) {
        tallest = std::max(tallest, b.height());
        widest_ = std::max(widest_, b.width());
    }
    itemHeight_ = std::max(17, tallest) + 2;
    for (int32_t i = 0; i < kinds_; ++i)
        addItem(i + margins_ < names_.size() ? names_[i + margins_] : QString());
    setMinimumWidth(widest_ + 4 + fontMetrics().horizontalAdvance(QStringLiteral("Right margin")) + 30);
}

void CTabComboBox::SetSelection(int32_t selection)
{
    if (selection >= -margins_ && selection <= -1) {
        shown_ = selection;
        setCurrentIndex(0);
    } else if (selection >= 0 && selection < kinds_) {
        shown_ = selection;
        setCurrentIndex(selection);
    } else {
        return;
    }
    update();
}

void CTabComboBox::DrawItem(Dc* dc, const IntRect& rect, int32_t index, bool field, bool selected, bool focused) const
{
    const int32_t shown = field && shown_ >= -margins_ && shown_ <= -1 ? shown_ : index;
    const int32_t slot = shown + margins_;
    const bool disabled = !isEnabled();
    const ColorRef back = selected ? PaletteColour(this, disabled ? QPalette::Button : QPalette::Highlight)
                                   : PaletteColour(this, disabled ? QPalette::Button : QPalette::Base);
    const ColorRef fore = PaletteColour(this, selected ? QPalette::HighlightedText : QPalette::Text);
    dc->fillRect(rect, Brush::Solid(back));
    if (slot < 0 || slot >= int32_t(bitmaps_.size())) {
        std::fprintf(stderr, "********* Tab Combo Item %u Greater then size %i\n", unsigned(slot),
                     int(bitmaps_.size()));
        return;
    }
    const QImage& bitmap = bitmaps_[size_t(slot)];
    const int32_t top = rect.top + (rect.bottom - rect.top - bitmap.height()) / 2;
    dc->stretchImage(IntRect{rect.left + 2, top, rect.left + 2 + bitmap.width(), top + bitmap.height()}, bitmap,
                     QRect(), SRCCOPY);
    LogFont font;
    font.height = -fontInfo().pixelSize();
    const std::string face = QStringToCp1252(fontInfo().family()).substr(0, 31);
    std::copy(face.begin(), face.end(), font.faceName);
    const LogFont oldFont = dc->selectFont(font);
    const ColorRef oldText = dc->setTextColor(fore);
    const int32_t oldMode = dc->setBkMode(TRANSPARENT);
    const TextMetrics m = dc->getTextMetrics();
    const std::string name = slot < names_.size() ? QStringToCp1252(names_[slot]) : std::string();
    dc->textOut(rect.left + widest_ + 4, rect.top + (rect.bottom - rect.top - m.height) / 2, name);
    dc->setBkMode(oldMode);
    dc->setTextColor(oldText);
    dc->selectFont(oldFont);
    if (focused)
        DrawFocusRect(dc, rect);
}

void CTabComboBox::DrawCurrent(Dc* dc, const IntRect& field) { DrawItem(dc, field, currentIndex(), true, false, false); }
