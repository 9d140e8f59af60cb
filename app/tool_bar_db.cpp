#include "app/tool_bar_db.h"

#include <algorithm>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionComboBox>

#include "app/tool_bar_buttons.h"
#include "database/field_table.h"
#include "foundation/cp1252.h"
#include "records/command_ids.h"

namespace {

const char* const kFindEntries[] = {"Find One", "Find All", "Search All Fields", "Query", "Show All Records"};

// Empty slots between the controls, in pixels, by slot.
int32_t GapWidth(size_t slot)
{
    switch (slot) {
    case 1:
    case 5:
    case 17:
        return 6;
    case 3:
        return 13;
    case 7:
    case 15:
        return 12;
    case 12:
        return 9;
    default:
        return 0;
    }
}

QComboBox* MakeCombo(QWidget* parent, bool editable, int32_t width)
{
    auto* combo = new QComboBox(parent);
    combo->setEditable(editable);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setFixedWidth(width);
    combo->setMaxVisibleItems(350 / 15);
    combo->setEnabled(false);
    return combo;
}

QString FieldName(int32_t column)
{
    char name[kFieldTypeNameSize] = {};
    FieldTypeName(FieldIdByIndex(column), name, true, false);
    return Cp1252ToQString(name);
}

}  // namespace

CToolBarDB::CToolBarDB(QWidget* parent) : QToolBar(parent)
{
    setObjectName("DatabaseBar");
    setWindowTitle("Database");
    setAllowedAreas(Qt::TopToolBarArea | Qt::BottomToolBarArea);
}

bool CToolBarDB::Create(int32_t resourceId, BarCommandSink sink)
{
    sink_ = std::move(sink);
    const std::vector<ToolBarButton> buttons = ToolBarResource(resourceId);
    if (buttons.empty())
        return false;
    for (size_t slot = 0; slot < buttons.size(); ++slot) {
        const ToolBarButton& b = buttons[slot];
        if (b.id == 0) {
            if (GapWidth(slot) > 0)
                AddToolBarGap(this, GapWidth(slot));
            else
                addSeparator();
        } else if (b.id == 33241 || b.id == 33242 || b.id == 33255) {
            auto* label = new QLabel(QString::fromLatin1(b.label), this);
            label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            addWidget(label);
        } else if (b.id == kCmdFindCombo) {
            find_ = MakeCombo(this, true, 105);
            addWidget(find_);
        } else if (b.id == kCmdSortCombo) {
            sort_ = MakeCombo(this, false, 105);
            addWidget(sort_);
        } else if (b.id == kCmdInsertFieldCombo) {
            insert_ = MakeCombo(this, false, 90);
            addWidget(insert_);
        } else {
            AddCommandButton(this, b);
        }
    }
    if (!find_ || !sort_ || !insert_)
        return false;
    for (const char* entry : kFindEntries)
        find_->addItem(QString::fromLatin1(entry));
    find_->setCurrentIndex(-1);
    // The widths were made for a smaller system font: the choices show
    // whole in the font this desktop uses.
    int32_t text = 0;
    for (const char* entry : kFindEntries)
        text = std::max<int32_t>(text, find_->fontMetrics().horizontalAdvance(QString::fromLatin1(entry)));
    QStyleOptionComboBox option;
    option.initFrom(find_);
    option.editable = true;
    const QSize needed = find_->style()->sizeFromContents(
        QStyle::CT_ComboBox, &option, QSize(text + 6, find_->fontMetrics().height()), find_);
    find_->setFixedWidth(std::max(find_->width(), needed.width()));

    connect(find_, &QComboBox::activated, this, [this](int index) {
        auto data = std::make_unique<CChoosenFind>();
        data->index = index;
        data->text = QStringToCp1252(find_->itemText(index));
        if (sink_)
            sink_(kCmdFindCombo, std::move(data));
    });
    connect(find_->lineEdit(), &QLineEdit::textEdited, this, &CToolBarDB::SendFindTyped);
    connect(sort_, &QComboBox::activated, this, [this](int index) {
        auto data = std::make_unique<CChoosenField>();
        data->index = index;
        data->text = QStringToCp1252(sort_->itemText(index));
        if (sink_)
            sink_(kCmdSortCombo, std::move(data));
    });
    connect(insert_, &QComboBox::activated, this, [this](int index) {
        if (sink_ && index >= 0)
            sink_(kCmdPlaceFieldFirst + uint32_t(index), nullptr);
    });
    RefreshFieldCombos();
    return true;
}

void CToolBarDB::SendFindTyped(const QString& text)
{
    QLineEdit* edit = find_->lineEdit();
    if (!edit || !sink_)
        return;
    auto data = std::make_unique<CChoosenFind>();
    data->index = -1;
    data->text = QStringToCp1252(text);
    // The handler may move the focus; the user goes on typing where he was.
    const int32_t cursor = edit->cursorPosition();
    const int32_t selStart = edit->selectionStart();
    const int32_t selLength = int32_t(edit->selectedText().size());
    sink_(kCmdFindCombo, std::move(data));
    edit->setFocus();
    if (selStart >= 0)
        edit->setSelection(selStart, selLength);
    else
        edit->setCursorPosition(cursor);
}

void CToolBarDB::RefreshFieldCombos()
{
    if (!sort_ || !insert_)
        return;
    sort_->clear();
    insert_->clear();
    sort_->addItem("None");
    for (int32_t column = 0; column < kEntryColumnCount; ++column) {
        const QString name = FieldName(column);
        sort_->addItem(name);
        insert_->addItem(name);
    }
    sort_->setCurrentIndex(-1);
    insert_->setCurrentIndex(-1);
}

void CToolBarDB::EnableAll(bool enable)
{
    for (QComboBox* combo : {find_, sort_, insert_})
        if (combo)
            combo->setEnabled(enable);
}

void CToolBarDB::EnableInsertField(bool enable)
{
    if (insert_)
        insert_->setEnabled(enable);
}

int32_t CToolBarDB::GetSortSelection() const
{
    return sort_ ? sort_->currentIndex() : -1;
}

int32_t CToolBarDB::GetInsertFieldSelection() const
{
    return insert_ ? insert_->currentIndex() : -1;
}

std::string CToolBarDB::GetSortText() const
{
    return sort_ && sort_->currentIndex() >= 0 ? QStringToCp1252(sort_->currentText()) : std::string();
}

std::string CToolBarDB::GetInsertFieldText() const
{
    return insert_ && insert_->currentIndex() >= 0 ? QStringToCp1252(insert_->currentText()) : std::string();
}

bool CToolBarDB::IsMissingFromInsertField(const std::string& text) const
{
    return !insert_ || insert_->findText(Cp1252ToQString(text), Qt::MatchExactly | Qt::MatchCaseSensitive) < 0;
}

void CToolBarDB::SetSortField(int32_t index)
{
    if (sort_)
        sort_->setCurrentIndex(index);
}

void CToolBarDB::SetInsertField(int32_t index)
{
    if (insert_)
        insert_->setCurrentIndex(index);
}

void CToolBarDB::SetFindText(int32_t index, const std::string& text)
{
    if (!find_)
        return;
    if (index == -1)
        find_->setEditText(Cp1252ToQString(text));
    else
        find_->setCurrentIndex(index);
}
