#include "typography/font_combo_box.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include <QAbstractItemDelegate>
#include <QAbstractItemView>
#include <QPainter>
#include <QStyleOptionComboBox>
#include <QStylePainter>

#include "foundation/cp1252.h"
#include "platform/dc.h"
#include "typography/font_list.h"

namespace {

// The mark is drawn at the item's left + 2, the name at left + 15.
constexpr int32_t kMarkLeft = 2;
constexpr int32_t kNameLeft = 15;
constexpr int32_t kMarkLimit = 11;

// Paints the rows of the drop-down list through the box.
class FontItemDelegate : public QAbstractItemDelegate {
public:
    explicit FontItemDelegate(CFontComboBox* box) : QAbstractItemDelegate(box), box_(box) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const QRect r = option.rect;
        if (r.isEmpty())
            return;
        QImage surface(r.size(), QImage::Format_RGB32);
        {
            std::unique_ptr<Dc> dc = Dc::ForImage(&surface);
            box_->DrawFontItem(dc.get(), IntRect{0, 0, r.width(), r.height()}, index.row(),
                               (option.state & QStyle::State_Selected) != 0,
                               (option.state & QStyle::State_HasFocus) != 0);
        }
        painter->drawImage(r.topLeft(), surface);
    }

    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override
    {
        return QSize(box_->DroppedWidth(), std::max(box_->fontMetrics().height() + 2, kMarkLimit + 4));
    }

private:
    CFontComboBox* box_;
};

}  // namespace

CFontComboBox::CFontComboBox(QWidget* parent) : QComboBox(parent) { setItemDelegate(new FontItemDelegate(this)); }

bool CFontComboBox::Initialize(const FontList* list, int32_t trueTypeMarkId, int32_t trueTypeSilhouetteId,
                               int32_t deviceMarkId, int32_t deviceSilhouetteId)
{
    list_ = list;
    return marks_.Load(trueTypeMarkId, trueTypeSilhouetteId, deviceMarkId, deviceSilhouetteId);
}

void CFontComboBox::FillFontList()
{
    clear();
    if (!list_)
        return;
    std::unique_ptr<Dc> measure = Dc::ForMeasuring();
    measure->selectFont(LogFontOfWidget(font()));
    int32_t widest = 0;
    for (int32_t i = 0; i < list_->GetCount(); ++i) {
        char face[32];
        list_->GetFaceName(i, face);
        // The name lets the box show and find the item; drawing takes it
        // from the list.
        addItem(Cp1252ToQString(face));
        widest = std::max(widest, measure->getTextExtent(face).width);
    }
    droppedWidth_ = widest + style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    view()->setMinimumWidth(droppedWidth_);
}

void CFontComboBox::DrawFontItem(Dc* dc, const IntRect& rect, int32_t index, bool selected, bool focused) const
{
    const QPalette& pal = palette();
    ColorRef back = FromQColor(pal.color(QPalette::Base));
    ColorRef ink = FromQColor(pal.color(QPalette::Text));
    if (!isEnabled()) {
        back = FromQColor(pal.color(QPalette::Button));
        ink = FromQColor(pal.color(QPalette::Disabled, QPalette::Text));
    } else if (selected) {
        back = FromQColor(pal.color(QPalette::Highlight));
        ink = FromQColor(pal.color(QPalette::HighlightedText));
    }
    dc->fillRect(rect, Brush::Solid(back));
    if (!list_ || index < 0 || index >= list_->GetCount())
        return;
    const FontRecord record = list_->GetAt(index);
    if (!marks_.IsNull())
        DrawFontMark(dc, marks_, record.type, rect.left + kMarkLeft, rect.top, rect.bottom, kMarkLimit, kMarkLimit);
    const LogFont oldFont = dc->selectFont(LogFontOfWidget(font()));
    const ColorRef oldInk = dc->setTextColor(ink);
    DrawCentredText(dc, rect.left + kNameLeft, rect.top, rect.bottom, record.faceName);
    dc->setTextColor(oldInk);
    dc->selectFont(oldFont);
    if (selected && focused) {
        const Pen oldPen = dc->selectPen(Pen{PS_DOT, 1, ink});
        const Brush oldBrush = dc->selectBrush(Brush::Hollow());
        dc->rectangle(rect.left, rect.top, rect.right, rect.bottom);
        dc->selectBrush(oldBrush);
        dc->selectPen(oldPen);
    }
}

void CFontComboBox::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    option.currentText.clear();
    option.currentIcon = QIcon();
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    const QRect field = style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    if (field.isEmpty())
        return;
    QImage surface(field.size(), QImage::Format_RGB32);
    {
        std::unique_ptr<Dc> dc = Dc::ForImage(&surface);
        DrawFontItem(dc.get(), IntRect{0, 0, field.width(), field.height()}, currentIndex(), hasFocus(), hasFocus());
    }
    painter.drawImage(field.topLeft(), surface);
}
