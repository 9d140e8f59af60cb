#include "app/tool_bar_draw.h"

#include <cstdlib>
#include <cstring>

#include <QAction>
#include <QLineEdit>
#include <QToolTip>

#include "app/tool_bar_buttons.h"
#include "dialogs/value_dialogs.h"
#include "foundation/cp1252.h"
#include "graphics/beep.h"
#include "platform/menus.h"
#include "records/command_ids.h"
#include "typography/font_combo_box.h"
#include "typography/font_list.h"
#include "typography/font_size_combo_box.h"
#include "typography/font_size_range.h"
#include "typography/menu_bitmaps.h"

namespace {

bool IsNone(int32_t value)
{
    return value == -1 || value == -1111;
}

// A size of the list, or one typed into the box: taken only when the Other
// Size prompt would take it, so that no other value reaches the text.
int32_t SizeOfText(const QString& text)
{
    int32_t size = 0;
    return OtherValueAccepts(OtherValueKind::kTextSize, text, &size) ? size : 0;
}

}  // namespace

CToolBarDraw::CToolBarDraw(QWidget* parent) : QToolBar(parent)
{
    setObjectName("DocumentBar");
    setWindowTitle("Document");
    setAllowedAreas(Qt::TopToolBarArea | Qt::BottomToolBarArea);
}

bool CToolBarDraw::Create(int32_t resourceId, const FontList* fonts, BarCommandSink sink)
{
    fonts_ = fonts;
    sink_ = std::move(sink);
    const std::vector<ToolBarButton> buttons = ToolBarResource(resourceId);
    if (buttons.empty())
        return false;
    for (size_t slot = 0; slot < buttons.size(); ++slot) {
        const ToolBarButton& b = buttons[slot];
        if (b.id == 0) {
            if (slot == 1)
                AddToolBarGap(this, 8);
            else
                addSeparator();
        } else if (b.id == kCmdFontNameCombo) {
            name_ = new CFontComboBox(this);
            name_->setFixedWidth(128);
            name_->setMaxVisibleItems(300 / 15);
            name_->Initialize(fonts_, kTrueTypeMarkBitmap, kTrueTypeSilhouetteBitmap, kDeviceMarkBitmap,
                              kDeviceSilhouetteBitmap);
            name_->setEnabled(false);
            addWidget(name_);
        } else if (b.id == kCmdFontSizeCombo) {
            size_ = new FontSizeComboBox(this);
            size_->setEditable(true);
            size_->setInsertPolicy(QComboBox::NoInsert);
            size_->setFixedWidth(48);
            size_->setMaxVisibleItems(300 / 15);
            size_->setEnabled(false);
            addWidget(size_);
        } else {
            QAction* action = AddCommandButton(this, b);
            const bool toggles = (b.id >= kCmdBold && b.id <= kCmdJustify) || b.id == kCmdSingleSpacing ||
                                 b.id == kCmdDoubleSpacing;
            action->setCheckable(toggles);
        }
    }
    if (!name_) {
        qWarning("Failed to create ComboBox FontName");
        return false;
    }
    if (!size_) {
        qWarning("Failed to create ComboBox FontSize");
        return false;
    }
    connect(name_, &QComboBox::activated, this, [this](int) { OnFontNameChange(); });
    connect(size_, &QComboBox::activated, this, [this](int) { SendChoice(kCmdFontSizeCombo, false); });
    connect(size_, &FontSizeComboBox::EnterPressed, this, [this] { OnSizeEntered(); });
    return true;
}

QAction* CToolBarDraw::Button(uint32_t id) const
{
    for (QAction* action : actions())
        if (MenuGetCommandId(action) == id)
            return action;
    return nullptr;
}

void CToolBarDraw::InitCombos()
{
    if (!name_ || !fonts_)
        return;
    name_->FillFontList();
    if (name_->count() > 0)
        name_->setCurrentIndex(0);
    FillSizeList(name_->currentIndex());
}

void CToolBarDraw::EnableFontCombos(bool enable)
{
    if (name_)
        name_->setEnabled(enable);
    if (size_)
        size_->setEnabled(enable);
}

void CToolBarDraw::FillSizeList(int32_t fontIndex)
{
    if (!size_)
        return;
    const QString text = size_->currentText();
    size_->clear();
    std::vector<uint32_t> sizes;
    if (fonts_ && fontIndex >= 0 && fonts_->GetSizeList(fontIndex, &sizes))
        for (const uint32_t s : sizes)
            size_->addItem(QString::number(s));
    size_->setCurrentIndex(-1);
    size_->setEditText(text);
}

void CToolBarDraw::ShowFont(int32_t which, int32_t fontIndex, int32_t size, bool bold, bool italic, bool underline)
{
    if ((which & kShowFont) && name_) {
        if (IsNone(fontIndex) || IsNone(size)) {
            name_->setCurrentIndex(-1);
        } else {
            name_->setCurrentIndex(fontIndex);
            FillSizeList(fontIndex);
        }
    }
    if (which & kShowSize)
        ShowSize(size);
    const std::pair<int32_t, std::pair<uint32_t, bool>> styles[] = {
        {kShowBold, {kCmdBold, bold}}, {kShowItalic, {kCmdItalic, italic}}, {kShowUnderline, {kCmdUnderline, underline}}};
    for (const auto& [bit, button] : styles)
        if (which & bit)
            if (QAction* action = Button(button.first))
                action->setChecked(button.second);
}

void CToolBarDraw::ShowSize(int32_t size)
{
    shownSize_ = size;
    if (!size_)
        return;
    // A size no text can have (none, mixed, or a value the selection
    // never set) shows as an empty box.
    if (size <= 0) {
        size_->setCurrentIndex(-1);
        size_->setEditText(QString());
        return;
    }
    const QString text = QString::number(size);
    const int found = size_->findText(text, Qt::MatchExactly);
    if (found >= 0) {
        size_->setCurrentIndex(found);
    } else {
        size_->setCurrentIndex(-1);
        size_->setEditText(text);
    }
}

void CToolBarDraw::OnSizeEntered()
{
    if (SizeOfText(size_->currentText()) == 0) {
        PlayBeep(0);
        // The beep alone would not say what the box takes.
        const QString typed = size_->currentText().trimmed();
        QToolTip::showText(size_->mapToGlobal(QPoint(0, size_->height())),
                           QStringLiteral("%1A text size is a whole number of points from %2 to %3.")
                               .arg(typed.isEmpty() ? QString() : QStringLiteral("\"%1\" is not a size. ").arg(typed))
                               .arg(kMinFontSize)
                               .arg(kMaxFontSize),
                           size_);
        ShowSize(shownSize_);
        size_->lineEdit()->selectAll();
        return;
    }
    SendChoice(kCmdFontSizeCombo, true);
}

void CToolBarDraw::ShowAlignment(int32_t alignment)
{
    for (uint32_t id = kCmdAlignLeft; id <= kCmdJustify; ++id)
        if (QAction* action = Button(id))
            action->setChecked(alignment >= 1 && alignment <= 4 && id == kCmdAlignLeft - 1 + uint32_t(alignment));
}

void CToolBarDraw::ShowSpacing(int32_t spacing)
{
    if (QAction* single = Button(kCmdSingleSpacing))
        single->setChecked(spacing == 3);
    if (QAction* twice = Button(kCmdDoubleSpacing))
        twice->setChecked(spacing == 4);
}

void CToolBarDraw::GetFontChoice(CFontChoosen* out, bool fromEditField) const
{
    *out = CFontChoosen();
    out->fontIndex = name_ ? name_->currentIndex() : -1;
    if (out->fontIndex >= 0 && fonts_) {
        const FontRecord record = fonts_->GetAt(out->fontIndex);
        std::memcpy(out->faceName, record.faceName, sizeof out->faceName);
        out->faceName[sizeof out->faceName - 1] = 0;
        out->fontType = int32_t(record.type);
    }
    if (size_) {
        QString text;
        if (fromEditField)
            text = size_->currentText();
        else if (size_->currentIndex() >= 0)
            text = size_->itemText(size_->currentIndex());
        out->size = SizeOfText(text);
    }
    const QAction* b = Button(kCmdBold);
    const QAction* i = Button(kCmdItalic);
    const QAction* u = Button(kCmdUnderline);
    out->bold = b && b->isChecked();
    out->italic = i && i->isChecked();
    out->underline = u && u->isChecked();
}

void CToolBarDraw::SendChoice(uint32_t id, bool fromEditField)
{
    auto choice = std::make_unique<CFontChoosen>();
    GetFontChoice(choice.get(), fromEditField);
    if (sink_)
        sink_(id, std::move(choice));
}

void CToolBarDraw::OnFontNameChange()
{
    if (!name_ || name_->currentIndex() < 0)
        return;
    const QString kept = size_ ? size_->currentText() : QString();
    FillSizeList(name_->currentIndex());
    if (size_) {
        const int found = size_->findText(kept, Qt::MatchExactly);
        size_->setCurrentIndex(found >= 0 ? found : (size_->count() > 0 ? 0 : -1));
    }
    SendChoice(kCmdFontNameCombo, true);
}

void CToolBarDraw::SaveFontSelection()
{
    savedNameIndex_ = name_ ? name_->currentIndex() : -1;
    savedSizeIndex_ = size_ ? size_->currentIndex() : -1;
    std::memset(savedFace_, 0, sizeof savedFace_);
    savedType_ = 0;
    if (fonts_ && savedNameIndex_ >= 0) {
        const FontRecord record = fonts_->GetAt(savedNameIndex_);
        std::memcpy(savedFace_, record.faceName, sizeof savedFace_ - 1);
        savedType_ = record.type;
    }
    savedSize_ = size_ ? std::atoi(size_->currentText().left(4).toStdString().c_str()) : 0;
}

void CToolBarDraw::RestoreFontSelection()
{
    if (name_ && fonts_) {
        name_->FillFontList();
        const int32_t found = savedFace_[0] ? fonts_->FindFont(savedFace_, savedType_) : -1;
        if (found >= 0) {
            name_->setCurrentIndex(found);
            FillSizeList(found);
            if (savedSizeIndex_ < 0 || savedSizeIndex_ >= size_->count()) {
                size_->setCurrentIndex(-1);
                size_->setEditText(QString::number(uint32_t(savedSize_)));
            } else {
                size_->setCurrentIndex(savedSizeIndex_);
            }
        } else {
            name_->setCurrentIndex(name_->count() > 0 ? 0 : -1);
            FillSizeList(name_->currentIndex());
        }
    }
    savedNameIndex_ = -1;
    savedSizeIndex_ = -1;
    std::memset(savedFace_, 0, sizeof savedFace_);
    savedType_ = 0;
    savedSize_ = 0;
}
