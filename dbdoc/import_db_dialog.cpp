#include "dbdoc/import_db_dialog.h"

#include <algorithm>
#include <cstring>

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

#include "dbdoc/column_names.h"
#include "dbdoc/export_report_db_dialogs.h"
#include "dialogs/filtered_edit.h"
#include "dialogs/object_dialog_kit.h"
#include "dialogs/up_down_buttons.h"
#include "foundation/cp1252.h"
#include "foundation/import_reader.h"
#include "resources/artwork_resources.h"

namespace {

constexpr int32_t kMostRecord = 32767;

void PutText(ImportEntry* entry, const char* text)
{
    std::memset(entry->text, 0, sizeof entry->text);
    std::strncpy(entry->text, text, sizeof entry->text - 1);
}

class ImportRowDelegate : public QStyledItemDelegate {
public:
    explicit ImportRowDelegate(CImportFieldListBox* list)
        : QStyledItemDelegate(list), list_(list), marker_(LoadResourceBitmap(133).convertToFormat(QImage::Format_RGB32))
    {
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const int32_t row = index.row();
        const auto* left = list_->Left();
        const auto* right = list_->Right();
        if (!left || !right || row < 0 || row >= int32_t(left->size()) || row >= int32_t(right->size()))
            return;
        const ImportEntry& l = (*left)[row];
        const ImportEntry& r = (*right)[row];
        const bool selected = option.state & QStyle::State_Selected;
        const QPalette& pal = option.palette;
        const QRect whole = option.rect;
        const QRect leftPart(whole.left(), whole.top(), list_->MiddleLeft() - whole.left(), whole.height());
        const QRect middle(list_->MiddleLeft(), whole.top(), CImportFieldListBox::kMiddleWidth, whole.height());
        const QRect rightPart(list_->MiddleRight(), whole.top(), whole.right() - list_->MiddleRight() + 1,
                              whole.height());
        painter->save();
        const auto part = [&](const QRect& rect, const ImportEntry& e, bool active, bool skipped) {
            const bool lit = selected && active;
            painter->fillRect(rect, pal.color(lit ? QPalette::Highlight : QPalette::Base));
            painter->setPen(skipped ? QColor(255, 0, 0) : pal.color(lit ? QPalette::HighlightedText : QPalette::Text));
            painter->drawText(rect.adjusted(3, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine,
                              Cp1252ToQString(std::string_view(e.text, strnlen(e.text, sizeof e.text))));
            if (lit) {
                painter->setPen(QPen(pal.color(QPalette::HighlightedText), 1, Qt::DotLine));
                painter->drawRect(rect.adjusted(0, 0, -1, -1));
            }
        };
        part(leftPart, l, list_->LeftActive(), l.number == 0);
        part(rightPart, r, !list_->LeftActive(), false);
        // The middle strip, raised, with the pairing mark of a used column.
        const QColor face = pal.color(QPalette::Button);
        painter->fillRect(middle, face);
        painter->setPen(Qt::white);
        painter->drawLine(middle.left() + 1, middle.top(), middle.left() + 1, middle.bottom());
        painter->drawLine(middle.left() + 2, middle.top(), middle.left() + 2, middle.bottom());
        if (l.number != 0 && !marker_.isNull()) {
            // Bitmap 133 combined with SRCAND: its white leaves the strip.
            const QPoint at(middle.left() + (middle.width() - marker_.width()) / 2,
                            middle.top() + (middle.height() - marker_.height()) / 2);
            painter->setCompositionMode(QPainter::RasterOp_SourceAndDestination);
            painter->drawImage(at, marker_);
        }
        painter->restore();
    }

private:
    CImportFieldListBox* list_;
    QImage marker_;  // the field-order marker, 8 x 7
};

}  // namespace

// --- The pairing list -----------------------------------------------------------

CImportFieldListBox::CImportFieldListBox(QWidget* parent) : QListWidget(parent)
{
    setObjectName(QStringLiteral("importFields"));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setItemDelegate(new ImportRowDelegate(this));
}

void CImportFieldListBox::SetEntries(std::vector<ImportEntry>* left, std::vector<ImportEntry>* right)
{
    left_ = left;
    right_ = right;
}

void CImportFieldListBox::SetRows(int32_t rows)
{
    const QSignalBlocker quiet(this);
    const int32_t current = currentRow();
    clear();
    rows_ = rows;
    for (int32_t i = 0; i < rows; ++i)
        addItem(QString());
    if (current >= 0 && current < rows)
        setCurrentRow(current);
}

int32_t CImportFieldListBox::MiddleLeft() const { return viewport()->width() / 2 - kMiddleWidth / 2; }

void CImportFieldListBox::PressAt(bool leftSide, int32_t row)
{
    if (row < 0 || row >= rows_)
        return;
    activeLeft_ = leftSide;
    setCurrentRow(row);
    leftDragging_ = leftSide;
    rightDragging_ = !leftSide;
    rightSource_ = leftSide ? -1 : row;
    viewport()->update();
}

void CImportFieldListBox::DragTo(int32_t row)
{
    if (row < 0 || row >= rows_ || (!leftDragging_ && !rightDragging_))
        return;
    // On the left the selection follows; on the right the field travels
    // with it, one row at a time.
    if (rightDragging_ && right_ && rightSource_ >= 0) {
        const int32_t step = row > rightSource_ ? 1 : -1;
        while (rightSource_ != row) {
            std::swap((*right_)[rightSource_], (*right_)[rightSource_ + step]);
            rightSource_ += step;
        }
    }
    setCurrentRow(row);
    viewport()->update();
}

void CImportFieldListBox::Release()
{
    leftDragging_ = false;
    rightDragging_ = false;
    rightSource_ = -1;
}

void CImportFieldListBox::DoubleClickAt(bool leftSide, int32_t row)
{
    activeLeft_ = true;
    if (leftSide && left_ && row >= 0 && row < int32_t(left_->size())) {
        ImportEntry& e = (*left_)[row];
        e.number = e.number > 0 ? 0 : 1;
    }
    viewport()->update();
}

void CImportFieldListBox::mousePressEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    if (event->button() == Qt::LeftButton)
        PressAt(at.x() < MiddleLeft(), indexAt(at).row());
}

void CImportFieldListBox::mouseMoveEvent(QMouseEvent* event) { DragTo(indexAt(event->position().toPoint()).row()); }

void CImportFieldListBox::mouseReleaseEvent(QMouseEvent*) { Release(); }

void CImportFieldListBox::mouseDoubleClickEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    DoubleClickAt(at.x() < MiddleLeft(), indexAt(at).row());
}


// --- The dialog -----------------------------------------------------------

CDlgImportDB::CDlgImportDB(QWidget* parent) : OpeningDialog("Import database", "importDbDialog", parent)
{
    list_ = new CImportFieldListBox(this);
    list_->SetEntries(&left_, &right_);
    record_ = Named(new QLineEdit(this), "recordToShow");
    record_->setMaxLength(5);
    spin_ = new UpDownButtons(record_, this);
    spin_->SetRange(1, kMostRecord);
    delimiterCombo_ = Named(new QComboBox(this), "delimiter");
    // Wide enough for its longest entry, "Double Quotes AND Comma".
    delimiterCombo_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    delimiterCombo_->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    firstLabel_ = Named(new QLabel(this), "firstName");
    secondLabel_ = Named(new QLabel(this), "secondName");

    auto* heads = new QGridLayout;
    heads->addWidget(new QLabel(QStringLiteral("Contents of "), this), 0, 0);
    heads->addWidget(firstLabel_, 0, 1);
    heads->addWidget(new QLabel(QStringLiteral("Contents of "), this), 0, 2);
    heads->addWidget(secondLabel_, 0, 3);
    auto* leftGuide = new QLabel(QStringLiteral("Double click on a field to skip while importing"), this);
    auto* rightGuide = new QLabel(QStringLiteral("Drag the fields into the sequence you prefer for import"), this);
    leftGuide->setWordWrap(true);
    rightGuide->setWordWrap(true);
    heads->addWidget(leftGuide, 1, 0, 1, 2);
    heads->addWidget(rightGuide, 1, 2, 1, 2);
    auto* controls = new QHBoxLayout;
    controls->addWidget(new QLabel(QStringLiteral("Show record :"), this));
    controls->addWidget(record_);
    controls->addWidget(spin_);
    controls->addSpacing(20);
    controls->addWidget(new QLabel(QStringLiteral("Delimiter :"), this));
    controls->addWidget(delimiterCombo_);
    controls->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(heads);
    layout->addWidget(list_, 1);
    layout->addLayout(controls);
    layout->addLayout(OkCancelRow(this));
    resize(DialogUnitsX(330), DialogUnitsY(230));

    connect(record_, &QLineEdit::textChanged, this, [this] { RefreshFromReader(); });
    connect(delimiterCombo_, &QComboBox::currentIndexChanged, this, [this] { RefreshFromReader(); });
}

void CDlgImportDB::SetData(const std::string& fileName, const std::string& secondName, int32_t fieldCount,
                           int32_t delimiter)
{
    fileName_ = fileName;
    secondName_ = secondName;
    fieldCount_ = std::clamp(fieldCount, 0, kEntryColumnCount);
    delimiter_ = delimiter;
    ImportSeekLine(1);
    {
        const QSignalBlocker quiet(record_);
        record_->setText(QStringLiteral("1"));
    }
    BuildRows(true);
}

void CDlgImportDB::BuildRows(bool fresh)
{
    const int32_t n = ImportGetFieldCount();
    // A pairing made on a longer record stays in view on a shorter one.
    rows_ = std::max({rows_, n, fieldCount_});
    if (fresh) {
        left_.clear();
        right_.clear();
        const auto names = ColumnNames();
        for (int32_t i = 0; i < rows_; ++i) {
            ImportEntry l;
            ImportEntry r;
            if (i < fieldCount_) {
                PutText(&r, names[size_t(i)].c_str());
                r.number = int16_t(i + 1);
            }
            left_.push_back(l);
            right_.push_back(r);
        }
    }
    left_.resize(size_t(rows_));
    right_.resize(size_t(rows_));
    char field[kImportFieldSize];
    for (int32_t i = 0; i < rows_; ++i) {
        ImportEntry& l = left_[size_t(i)];
        if (l.number == 0)
            l.number = int16_t(i + 1);
        // A column the shown record does not have shows empty.
        PutText(&l, i < n && ImportGetField(i, field) ? field : "");
    }
}

void CDlgImportDB::RefreshFromReader()
{
    if (!initialised_)
        return;
    const int32_t shown = std::clamp(LeadingInteger(record_->text()), 1, kMostRecord);
    delimiter_ = delimiterCombo_->currentIndex();
    ImportSetSeparator(int16_t(delimiter_));
    ImportSeekLine(shown);
    BuildRows(false);
    list_->SetRows(rows_);
}

void CDlgImportDB::GetData(uint16_t* order, int32_t* delimiter) const
{
    std::fill(order, order + fieldCount_, uint16_t(0));
    for (int32_t i = 0; i < rows_; ++i) {
        const int32_t f = right_[size_t(i)].number;
        if (f > 0 && f <= fieldCount_ && left_[size_t(i)].number >= 1)
            order[f - 1] = uint16_t(i + 1);
    }
    *delimiter = delimiter_;
}

ImportOptions CDlgImportDB::Record() const
{
    ImportOptions options;
    int32_t delimiter = 0;
    GetData(options.matching, &delimiter);
    options.delimiter = int16_t(delimiter);
    return options;
}

void CDlgImportDB::Open()
{
    firstLabel_->setText(Cp1252ToQString(fileName_));
    secondLabel_->setText(Cp1252ToQString(secondName_));
    {
        const QSignalBlocker quiet(delimiterCombo_);
        FillDelimiterCombo(delimiterCombo_);
        delimiterCombo_->setCurrentIndex(delimiter_);
    }
    rows_ = 0;
    BuildRows(true);
    list_->SetRows(rows_);
    initialised_ = true;
}
