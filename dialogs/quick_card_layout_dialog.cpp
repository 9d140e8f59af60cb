#include "dialogs/quick_card_layout_dialog.h"

#include <algorithm>
#include <cstring>

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

#include "database/field_table.h"
#include "dialogs/numeric_edit.h"
#include "dialogs/object_dialog_kit.h"
#include "dialogs/spin_steps.h"
#include "foundation/byte_order.h"
#include "foundation/cp1252.h"
#include "foundation/units.h"
#include "graphics/beep.h"
#include "graphics/quick_card_block.h"
#include "graphics/quick_card_draw.h"
#include "graphics/quick_card_format.h"
#include "platform/dc.h"
#include "typography/button_bitmap.h"

namespace {

struct QuickCardUnit {
    const char* name;
    double points;
};
constexpr QuickCardUnit kUnits[] = {{"Point", 1.0}, {"Inch", 72.0}, {"Cm", kPointsPerCentimetre}, {"Pica", 12.0}};
constexpr int32_t kDefaultUnit = 1;

constexpr int16_t kFontSizes[] = {8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72};
constexpr int16_t kDefaultFontSize = -1;
constexpr float kNewItemSpaceAbove = 3.0f;
constexpr double kMostSpace = 10000.0;
constexpr int32_t kSpaceEditLimit = 10;
// The preview's font: 8 points at the screen's 96 pixels per inch.
constexpr int32_t kPreviewFontHeight = 8 * 96 / 72;

QString EntryText(const uint8_t* item)
{
    const int32_t id = GetI32LE(item + kQcItemField);
    if (id < 0)
        return QStringLiteral("Caption");
    char name[kFieldTypeNameSize] = {};
    FieldTypeName(id, name, true, true);
    return Cp1252ToQString(name);
}

// Draws the rows as the list wants them: a row that starts a line in red
// (red ground when selected), the selected row in the drag font while it
// is dragged.
class QuickCardRowDelegate : public QStyledItemDelegate {
public:
    explicit QuickCardRowDelegate(CQuickCardListBox* list) : QStyledItemDelegate(list), list_(list) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const int32_t row = index.row();
        const bool selected = option.state & QStyle::State_Selected;
        const bool startsLine = list_->RowStartsLine(row);
        const QPalette& pal = option.palette;
        QColor ground = pal.color(QPalette::Base);
        QColor ink = pal.color(QPalette::Text);
        if (selected) {
            ground = startsLine ? QColor(255, 0, 0) : pal.color(QPalette::Highlight);
            ink = startsLine ? QColor(0, 0, 0) : pal.color(QPalette::HighlightedText);
        } else if (startsLine) {
            ink = QColor(255, 0, 0);
        }
        painter->save();
        painter->fillRect(option.rect, ground);
        QFont font = option.font;
        if (selected && list_->Dragging()) {
            font.setItalic(true);
            font.setWeight(QFont::Normal);
        }
        painter->setFont(font);
        painter->setPen(ink);
        painter->drawText(option.rect.adjusted(2, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine,
                          list_->RowText(row));
        if (selected) {
            painter->setPen(QPen(ink, 1, Qt::DotLine));
            painter->drawRect(option.rect.adjusted(0, 0, -1, -1));
        }
        painter->restore();
    }

private:
    CQuickCardListBox* list_;
};

}  // namespace

// --- The list -----------------------------------------------------------

CQuickCardListBox::CQuickCardListBox(QWidget* parent) : QListWidget(parent)
{
    setObjectName(QStringLiteral("quickCardList"));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setItemDelegate(new QuickCardRowDelegate(this));
}

void CQuickCardListBox::Fill()
{
    const QSignalBlocker quiet(this);
    clear();
    const int32_t count = block_ && QuickCardBlockIsValid(*block_) ? GetI32LE(HandleData<uint8_t>(*block_) + kQcHeaderCount) : 0;
    for (int32_t i = 0; i < count; ++i)
        addItem(RowText(i));
}

QString CQuickCardListBox::RowText(int32_t row) const
{
    const uint8_t* item = block_ ? QuickCardBlockGetItem(*block_, row) : nullptr;
    return item && QuickCardBlockIndexValid(*block_, row) ? EntryText(item) : QString();
}

bool CQuickCardListBox::RowStartsLine(int32_t row) const
{
    const uint8_t* item = block_ && QuickCardBlockIndexValid(*block_, row) ? QuickCardBlockGetItem(*block_, row) : nullptr;
    return item && GetU16LE(item + kQcItemNewLine) != 0;
}

void CQuickCardListBox::DragTo(int32_t row)
{
    if (!block_ || row == dragSource_ || !QuickCardBlockIndexValid(*block_, row) ||
        !QuickCardBlockIndexValid(*block_, dragSource_))
        return;
    if (QuickCardBlockMoveItem(*block_, dragSource_, row) != 0)
        return;
    const int32_t from = dragSource_;
    dragSource_ = row;
    dragTarget_ = row;
    {
        const QSignalBlocker quiet(this);
        for (int32_t r = std::min(from, row); r <= std::max(from, row); ++r)
            item(r)->setText(RowText(r));
        setCurrentRow(row);
    }
    if (message_)
        message_(kQuickCardListReordered);
}

void CQuickCardListBox::ToggleNewLine(int32_t row)
{
    uint8_t* item = block_ && QuickCardBlockIndexValid(*block_, row) ? QuickCardBlockGetItem(*block_, row) : nullptr;
    if (!item)
        return;
    PutU16LE(item + kQcItemNewLine, GetU16LE(item + kQcItemNewLine) ? 0 : 1);
    viewport()->update();
    if (message_)
        message_(kQuickCardListNewLineToggled);
}

void CQuickCardListBox::mousePressEvent(QMouseEvent* event)
{
    QListWidget::mousePressEvent(event);
    const int32_t row = indexAt(event->position().toPoint()).row();
    if (event->button() != Qt::LeftButton || row < 0)
        return;
    dragSource_ = dragTarget_ = row;
    dragging_ = true;
}

void CQuickCardListBox::mouseMoveEvent(QMouseEvent* event)
{
    if (!dragging_)
        return;
    const int32_t row = indexAt(event->position().toPoint()).row();
    if (row >= 0 && row != dragSource_)
        DragTo(row);
}

void CQuickCardListBox::mouseReleaseEvent(QMouseEvent* event)
{
    QListWidget::mouseReleaseEvent(event);
    dragging_ = false;
    viewport()->update();
}

void CQuickCardListBox::mouseDoubleClickEvent(QMouseEvent* event)
{
    const int32_t row = indexAt(event->position().toPoint()).row();
    if (row >= 0)
        ToggleNewLine(row);
}

// --- The preview ----------------------------------------------------------

CQuickCardItemWnd::CQuickCardItemWnd(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("quickCardItemPreview"));
    setAttribute(Qt::WA_OpaquePaintEvent);
}

CQuickCardItemWnd::~CQuickCardItemWnd() { QuickCardBlockFree(&shown_); }

void CQuickCardItemWnd::ShowItem(Handle block, int32_t n)
{
    QuickCardBlockFree(&shown_);
    if (!QuickCardBlockIndexValid(block, n))
        return;
    shown_ = QuickCardBlockNew();
    HandleOwner item(HandleNew(0));
    if (!shown_ || !item.get() || QuickCardBlockCopyItem(block, item.get(), n) != 0) {
        QuickCardBlockFree(&shown_);
        return;
    }
    // The item is shown as the first of a line, with the block's empty
    // space rules.
    std::memcpy(HandleData<uint8_t>(shown_), HandleData<uint8_t>(block), kQcHeaderCount);
    QuickCardBlockAppendItem(shown_, item.get());
}

void CQuickCardItemWnd::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    PaintWithDc(&painter, rect(), [this](Dc* dc, const IntRect& client) { Draw(dc, client); });
}

void CQuickCardItemWnd::Draw(Dc* dc, const IntRect& client) const
{
    dc->fillRect(client, Brush::Solid(PaletteColour(this, QPalette::Base)));
    if (!shown_ || !QuickCardBlockIsValid(shown_))
        return;
    LogFont font;
    font.height = -kPreviewFontHeight;
    std::strcpy(font.faceName, "Arial");
    const LogFont old = dc->selectFont(font);
    const IntRect area{client.left + 10, client.top + 10, client.right - 10, client.bottom - 10};
    QuickCardBlockDraw(dc, area, 0, 1.0, 1.0, shown_, 0);
    dc->selectFont(old);
}

// --- The dialog -----------------------------------------------------------

CDlgQuickCardLayout::CDlgQuickCardLayout(QWidget* parent)
    : OpeningDialog("Quick Card Specification", "quickCardLayoutDialog", parent)
{
    fields_ = Named(new QComboBox(this), "field");
    insert_ = Named(new QPushButton(QStringLiteral("&Insert"), this), "insert");
    delete_ = Named(new QPushButton(QStringLiteral("&Delete"), this), "delete");
    for (QPushButton* b : {insert_, delete_})
        b->setAutoDefault(false);
    list_ = new CQuickCardListBox(this);
    list_->SetBlock(&block_);
    units_ = Named(new QComboBox(this), "units");
    sizes_ = Named(new QComboBox(this), "fontSize");
    hSpace_ = new CFloatEdit(this);
    hSpace_->SetControlId(1722);
    hSpace_->setObjectName(QStringLiteral("horizontalSpace"));
    vSpace_ = new CFloatEdit(this);
    vSpace_->SetControlId(1724);
    vSpace_->setObjectName(QStringLiteral("verticalSpace"));
    hSpin_ = new SpinSteps(this);
    vSpin_ = new SpinSteps(this);
    newLine_ = Named(new QCheckBox(QStringLiteral("&New Line"), this), "newLine");
    auto_ = Named(new QCheckBox(QStringLiteral("&Auto"), this), "auto");
    skipFields_ = Named(new QCheckBox(QStringLiteral("Skip Blank fields."), this), "skipBlankFields");
    skipLines_ = Named(new QCheckBox(QStringLiteral("Skip Blank Lines."), this), "skipBlankLines");
    showPreview_ = Named(new QCheckBox(QStringLiteral("Show Preview"), this), "showPreview");
    showPreview_->setChecked(true);
    const char* styleNames[3] = {"&Bold", "&Italic", "&Underlined"};
    const char* alignNames[3] = {"&Left", "&Center", "&Right"};
    for (int i = 0; i < 3; ++i) {
        style_[i] = new QPushButton(QString::fromLatin1(styleNames[i]), this);
        align_[i] = new QPushButton(QString::fromLatin1(alignNames[i]), this);
        style_[i]->setObjectName(QStringLiteral("style%1").arg(i));
        align_[i]->setObjectName(QStringLiteral("align%1").arg(i));
        for (QPushButton* b : {style_[i], align_[i]}) {
            b->setCheckable(true);
            b->setAutoDefault(false);
        }
    }
    // The buttons' pictures: the alignments 602, 26068 and 26069, the
    // styles 26070 to 26072, and 619 for "Auto".
    const int32_t alignBitmaps[3] = {602, 26068, 26069};
    for (int i = 0; i < 3; ++i) {
        SetButtonBitmap(align_[i], alignBitmaps[i]);
        SetButtonBitmap(style_[i], 26070 + i);
    }
    SetButtonBitmap(auto_, 619);
    caption_ = Named(new QLineEdit(this), "caption");
    caption_->setMaxLength(kQcItemMaxText);
    caption_->installEventFilter(this);
    captionLabel_ = new QLabel(QStringLiteral("Ca&ption:"), this);
    captionLabel_->setBuddy(caption_);
    preview_ = new CQuickCardItemWnd(this);
    preview_->setFixedSize(DialogUnitsX(120) - 4, DialogUnitsY(50) - 4);

    // Layout: the field chooser and the list on the left, the item's
    // properties on the right, the empty-space rules and the preview below.
    auto* left = new QVBoxLayout;
    auto* fieldLabel = new QLabel(QStringLiteral("Database &Field:"), this);
    fieldLabel->setBuddy(fields_);
    left->addWidget(fieldLabel);
    left->addWidget(fields_);
    auto* insertRow = new QHBoxLayout;
    insertRow->addWidget(insert_);
    insertRow->addWidget(delete_);
    left->addLayout(insertRow);
    auto* listLabel = new QLabel(QStringLiteral("Fields in &Quick Card:"), this);
    listLabel->setBuddy(list_);
    left->addWidget(listLabel);
    left->addWidget(list_, 1);

    auto* props = new QGroupBox(QStringLiteral("Item Properties"), this);
    auto* grid = new QGridLayout(props);
    grid->addWidget(captionLabel_, 0, 0);
    grid->addWidget(caption_, 0, 1, 1, 3);
    auto* sizeLabel = new QLabel(QStringLiteral("Font &Size:"), props);
    sizeLabel->setBuddy(sizes_);
    grid->addWidget(sizeLabel, 1, 0);
    grid->addWidget(sizes_, 1, 1);
    auto* unitsLabel = new QLabel(QStringLiteral("&Units"), props);
    unitsLabel->setBuddy(units_);
    grid->addWidget(unitsLabel, 1, 2);
    grid->addWidget(units_, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("Horizontal space"), props), 2, 0);
    grid->addWidget(hSpace_, 2, 1);
    grid->addWidget(hSpin_, 2, 2);
    grid->addWidget(auto_, 2, 3);
    grid->addWidget(new QLabel(QStringLiteral("Vertical space"), props), 3, 0);
    grid->addWidget(vSpace_, 3, 1);
    grid->addWidget(vSpin_, 3, 2);
    grid->addWidget(newLine_, 3, 3);
    auto* styleRow = new QHBoxLayout;
    for (QPushButton* b : style_)
        styleRow->addWidget(b);
    grid->addLayout(styleRow, 4, 0, 1, 4);
    auto* alignBox = new QGroupBox(QStringLiteral("Alignment"), props);
    auto* alignRow = new QHBoxLayout(alignBox);
    for (QPushButton* b : align_)
        alignRow->addWidget(b);
    grid->addWidget(alignBox, 5, 0, 1, 4);

    auto* empty = new QGroupBox(QStringLiteral("Empty Space"), this);
    auto* emptyLayout = new QVBoxLayout(empty);
    emptyLayout->addWidget(skipFields_);
    emptyLayout->addWidget(skipLines_);
    auto* previewBox = new QVBoxLayout;
    previewBox->addWidget(new QLabel(QStringLiteral("Preview"), this));
    previewBox->addWidget(preview_);
    previewBox->addWidget(showPreview_);
    auto* right = new QVBoxLayout;
    right->addWidget(props);
    auto* lower = new QHBoxLayout;
    lower->addWidget(empty);
    lower->addLayout(previewBox);
    right->addLayout(lower);
    auto* top = new QHBoxLayout;
    top->addLayout(left);
    top->addLayout(right);
    SetBody(top);

    connect(insert_, &QPushButton::clicked, this, [this] { OnInsert(); });
    connect(delete_, &QPushButton::clicked, this, [this] { OnDelete(); });
    connect(list_, &QListWidget::currentRowChanged, this, [this] { Refresh(); });
    list_->OnMessage([this](int32_t m) { OnListMessage(m); });
    connect(fields_, &QComboBox::currentIndexChanged, this, [this] { EnableControls(); });
    connect(skipFields_, &QCheckBox::clicked, this, [this](bool on) {
        if (QuickCardBlockIsValid(block_))
            HandleData<uint8_t>(block_)[kQcHeaderKeepEmptyPieces] = on ? 0 : 1;
        preview_->ShowItem(block_, list_->currentRow());
        preview_->repaint();
    });
    connect(skipLines_, &QCheckBox::clicked, this, [this](bool on) {
        if (QuickCardBlockIsValid(block_))
            HandleData<uint8_t>(block_)[kQcHeaderKeepEmptyLines] = on ? 0 : 1;
        preview_->ShowItem(block_, list_->currentRow());
        preview_->repaint();
    });
    for (int i = 0; i < 3; ++i) {
        connect(align_[i], &QPushButton::clicked, this, [this, i] { OnAlign(i); });
        connect(style_[i], &QPushButton::clicked, this, [this] { OnStyle(); });
    }
    connect(newLine_, &QCheckBox::clicked, this, [this] { OnCheck(newLine_, kQcItemNewLine); });
    connect(auto_, &QCheckBox::clicked, this, [this] { OnCheck(auto_, kQcItemSeparator); });
    hSpin_->OnStep([this](int32_t d) { OnSpin(hSpace_, d); });
    vSpin_->OnStep([this](int32_t d) { OnSpin(vSpace_, d); });
    connect(hSpace_, &CFilteredEdit::EditChanged, this, [this] { StoreSpacing(); });
    connect(vSpace_, &CFilteredEdit::EditChanged, this, [this] { StoreSpacing(); });
    connect(units_, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!loading_ && index >= 0) {
            record_.words[kQuickCardUnitsWord] = uint32_t(index);
            ShowSpacing();
        }
    });
    connect(sizes_, &QComboBox::activated, this, [this](int index) { OnFontSize(index); });
    connect(caption_, &QLineEdit::textEdited, this, [this] { OnCaptionEdited(); });
}

CDlgQuickCardLayout::~CDlgQuickCardLayout() { QuickCardBlockFree(&block_); }

void CDlgQuickCardLayout::Init(int32_t fieldIndex, const QuickCardItem* record)
{
    fieldIndex_ = fieldIndex;
    QuickCardBlockFree(&block_);
    record_ = QuickCardItem();
    if (record) {
        record_ = *record;
        record_.data = nullptr;
        if (QuickCardBlockIsValid(record->data))
            HandleFromBytes(HandleData<uint8_t>(record->data), &block_, HandleGetSize(record->data));
    } else {
        record_.words[1] = 1;
        record_.words[2] = 1;
    }
    if (!block_)
        block_ = QuickCardBlockNew();
}

void CDlgQuickCardLayout::GetItem(QuickCardItem* record)
{
    QuickCardBlockFree(&record->data);
    *record = record_;
    record->data = block_;
    block_ = nullptr;
}

double CDlgQuickCardLayout::Factor() const
{
    const int32_t unit = int32_t(record_.words[kQuickCardUnitsWord]);
    return kUnits[unit >= 0 && unit < kUnitCount ? unit : kDefaultUnit].points;
}

uint8_t* CDlgQuickCardLayout::Selected() const
{
    const int32_t row = list_->currentRow();
    return QuickCardBlockIndexValid(block_, row) ? QuickCardBlockGetItem(block_, row) : nullptr;
}

void CDlgQuickCardLayout::Open()
{
    loading_ = true;
    if (record_.words[kQuickCardUnitsWord] >= uint32_t(kUnitCount))
        record_.words[kQuickCardUnitsWord] = kDefaultUnit;
    for (const QuickCardUnit& u : kUnits)
        units_->addItem(QString::fromLatin1(u.name));
    units_->setCurrentIndex(int(record_.words[kQuickCardUnitsWord]));
    hSpace_->Setup(0.0, 0.0, kMostSpace, 1.0, kSpaceEditLimit, 0.0, 0);
    vSpace_->Setup(0.0, 0.0, kMostSpace, 1.0, kSpaceEditLimit, 0.0, 0);
    const uint8_t* header = HandleData<uint8_t>(block_);
    skipFields_->setChecked(header[kQcHeaderKeepEmptyPieces] == 0);
    skipLines_->setChecked(header[kQcHeaderKeepEmptyLines] == 0);
    sizes_->addItem(QStringLiteral("Default"), int(kDefaultFontSize));
    for (int16_t size : kFontSizes)
        sizes_->addItem(QString::asprintf("%li", long(size)), int(size));
    fields_->addItem(QStringLiteral("Caption"));
    for (int32_t column = 0; column < kEntryColumnCount; ++column) {
        char name[kFieldTypeNameSize] = {};
        FieldTypeName(FieldIdByIndex(column), name, true, false);
        fields_->addItem(Cp1252ToQString(name));
    }
    fields_->setCurrentIndex(0);
    loading_ = false;
    FillList();
    Refresh();
}

void CDlgQuickCardLayout::FillList()
{
    const int32_t previous = list_->currentRow();
    list_->Fill();
    const int32_t count = list_->count();
    const QSignalBlocker quiet(list_);
    list_->setCurrentRow(previous >= 0 && previous < count ? previous : count - 1);
}

void CDlgQuickCardLayout::Refresh()
{
    LoadProperties();
    EnableControls();
}

void CDlgQuickCardLayout::LoadProperties()
{
    loading_ = true;
    const uint8_t* item = Selected();
    preview_->ShowItem(block_, list_->currentRow());
    if (item) {
        const bool caption = GetI32LE(item + kQcItemField) < 0;
        captionLabel_->setText(caption ? QStringLiteral("Ca&ption:") : QStringLiteral("Field &Prefix:"));
        const uint16_t style = GetU16LE(item + kQcItemStyle);
        for (int i = 0; i < 3; ++i)
            style_[i]->setChecked(style & (1u << i));
        const uint16_t align = GetU16LE(item + kQcItemAlign);
        for (int i = 0; i < 3; ++i)
            align_[i]->setChecked(align == i + 1);
        auto_->setChecked(GetU16LE(item + kQcItemSeparator) != 0);
        newLine_->setChecked(GetU16LE(item + kQcItemNewLine) != 0);
        const char* text = reinterpret_cast<const char*>(item + kQcItemText);
        caption_->setText(Cp1252ToQString(std::string_view(text, strnlen(text, kQcItemMaxText))));
        const int16_t size = GetI16LE(item + kQcItemFontSize);
        const int entry = sizes_->findData(int(size));
        sizes_->setCurrentIndex(entry >= 0 ? entry : 0);
    }
    ShowSpacing();
    loading_ = false;
    preview_->repaint();
}

void CDlgQuickCardLayout::ShowSpacing()
{
    const uint8_t* item = Selected();
    const double factor = Factor();
    const double h = item ? GetF32LE(item + kQcItemGap) : 0.0;
    const double v = item ? GetF32LE(item + kQcItemSpaceAbove) : 0.0;
    hSpace_->SetValue(h / factor, 0.0, false, 0, true);
    vSpace_->SetValue(v / factor, 0.0, false, 0, true);
    hSpace_->setModified(false);
    vSpace_->setModified(false);
}

void CDlgQuickCardLayout::EnableControls()
{
    const int32_t row = list_->currentRow();
    const uint8_t* item = Selected();
    const bool any = item != nullptr;
    const bool startsLine = any && (row == 0 || GetU16LE(item + kQcItemNewLine) != 0);
    const bool manualGap = any && !auto_->isChecked();
    delete_->setEnabled(any);
    sizes_->setEnabled(any);
    caption_->setEnabled(any);
    vSpace_->setEnabled(startsLine);
    vSpin_->setEnabled(startsLine);
    for (QPushButton* b : align_)
        b->setEnabled(startsLine);
    hSpace_->setEnabled(manualGap);
    hSpin_->setEnabled(manualGap);
    insert_->setEnabled(fields_->currentIndex() >= 0);
}

void CDlgQuickCardLayout::OnInsert()
{
    const int32_t column = fields_->currentIndex() - 1;
    if (column < -1)
        return;
    HandleOwner item(QuickCardItemNew());
    if (!item.get())
        return;
    uint8_t* p = HandleData<uint8_t>(item.get());
    PutI32LE(p + kQcItemField, column < 0 ? -1 : FieldIdByIndex(column));
    PutF32LE(p + kQcItemSpaceAbove, kNewItemSpaceAbove);
    PutU16LE(p + kQcItemSeparator, 1);
    PutI16LE(p + kQcItemFontSize, kDefaultFontSize);
    const int32_t row = list_->currentRow();
    const int32_t at = row >= 0 ? row + 1 : list_->count();
    // A full block refuses the item and stays as it was.
    if (QuickCardBlockInsertItem(block_, item.get(), at) != 0) {
        PlayBeep(1);
        return;
    }
    list_->Fill();
    {
        const QSignalBlocker quiet(list_);
        list_->setCurrentRow(at);
    }
    Refresh();
}

void CDlgQuickCardLayout::OnDelete()
{
    const int32_t row = list_->currentRow();
    if (!Selected())
        return;
    QuickCardBlockDeleteItem(block_, row);
    list_->Fill();
    {
        const QSignalBlocker quiet(list_);
        list_->setCurrentRow(std::min(row, list_->count() - 1));
    }
    Refresh();
}

void CDlgQuickCardLayout::OnAlign(int32_t n)
{
    uint8_t* item = Selected();
    if (!item)
        return;
    const bool on = align_[n]->isChecked();
    for (int i = 0; i < 3; ++i) {
        if (i != n)
            align_[i]->setChecked(false);
    }
    PutU16LE(item + kQcItemAlign, on ? uint16_t(n + 1) : 0);
    Refresh();
}

void CDlgQuickCardLayout::OnStyle()
{
    uint8_t* item = Selected();
    if (!item)
        return;
    const uint16_t style = (style_[0]->isChecked() ? 1 : 0) | (style_[1]->isChecked() ? 2 : 0) |
                           (style_[2]->isChecked() ? 4 : 0);
    PutU16LE(item + kQcItemStyle, style);
    Refresh();
}

void CDlgQuickCardLayout::OnCheck(QCheckBox* box, size_t offset)
{
    uint8_t* item = Selected();
    if (!item)
        return;
    PutU16LE(item + offset, box->isChecked() ? 1 : 0);
    list_->viewport()->update();
    Refresh();
}

void CDlgQuickCardLayout::OnSpin(CFloatEdit* edit, int32_t delta)
{
    const QString before = edit->text();
    edit->Step(delta);
    if (edit->text() != before)
        StoreSpacing();
}

void CDlgQuickCardLayout::StoreSpacing()
{
    if (loading_)
        return;
    uint8_t* item = Selected();
    if (!item)
        return;
    const double factor = Factor();
    if (hSpace_->isModified()) {
        PutF32LE(item + kQcItemGap, float(hSpace_->GetValue() * factor));
        hSpace_->setModified(false);
    }
    if (vSpace_->isModified()) {
        PutF32LE(item + kQcItemSpaceAbove, float(vSpace_->GetValue() * factor));
        vSpace_->setModified(false);
    }
    preview_->ShowItem(block_, list_->currentRow());
    preview_->repaint();
}

void CDlgQuickCardLayout::OnFontSize(int index)
{
    uint8_t* item = Selected();
    if (!item || index < 0)
        return;
    PutI16LE(item + kQcItemFontSize, int16_t(sizes_->itemData(index).toInt()));
    Refresh();
}

void CDlgQuickCardLayout::OnCaptionEdited()
{
    const int32_t row = list_->currentRow();
    if (!Selected())
        return;
    HandleOwner copy(HandleNew(0));
    if (!copy.get() || QuickCardBlockCopyItem(block_, copy.get(), row) != 0)
        return;
    const std::string text = QStringToCp1252(caption_->text().left(kQcItemMaxText));
    if (QuickCardItemSetText(copy.get(), text.c_str(), int32_t(text.size())) != 0 ||
        QuickCardBlockReplaceItem(block_, copy.get(), row) != 0)
        return;
    preview_->ShowItem(block_, row);
    preview_->repaint();
}

void CDlgQuickCardLayout::OnListMessage(int32_t message)
{
    if (message == kQuickCardListNewLineToggled) {
        if (const uint8_t* item = Selected())
            newLine_->setChecked(GetU16LE(item + kQcItemNewLine) != 0);
    }
    Refresh();
}

bool CDlgQuickCardLayout::eventFilter(QObject* watched, QEvent* event)
{
    // Up and Down in the caption move through the list, stopping at its ends.
    if (watched == caption_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            const int32_t row = list_->currentRow() + (key == Qt::Key_Up ? -1 : 1);
            if (row >= 0 && row < list_->count()) {
                const QSignalBlocker quiet(list_);
                list_->setCurrentRow(row);
                Refresh();
            }
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
