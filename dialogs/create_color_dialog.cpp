#include "dialogs/create_color_dialog.h"

#include <QColorDialog>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "dialogs/object_dialog_kit.h"
#include "foundation/cp1252.h"
#include "typography/color_pane.h"

namespace {

// A pane's place in the template (20 x 20 dialog units); the pane keeps 2
// pixels from its placeholder on every side.
constexpr int kPlaceWidth = 20 * 3 / 2;
constexpr int kPlaceHeight = 20 * 13 / 8;
constexpr int kPanesPerRow = 8;
constexpr int kNameLimit = int(kColorNameSize) - 1;

}  // namespace

CDlgCreateColor::CDlgCreateColor(QWidget* parent) : OpeningDialog("Create Color", "createColorDialog", parent)
{
    auto* grid = new QGridLayout;
    grid->setSpacing(4);
    for (int i = 0; i < kColorCount; ++i) {
        auto* place = new QFrame(this);
        place->setFixedSize(kPlaceWidth, kPlaceHeight);
        auto* pane = new ColorPane(place);
        pane->setObjectName(QStringLiteral("colorPane%1").arg(i));
        pane->setGeometry(2, 2, kPlaceWidth - 4, kPlaceHeight - 4);
        panes_[size_t(i)] = pane;
        grid->addWidget(place, i / kPanesPerRow, i % kPanesPerRow);
        connect(pane, &ColorPane::Selected, this, [this](ColorPane* p) { OnSelected(p); });
        connect(pane, &ColorPane::ChangedColor, this, [this](ColorPane* p, ColorRef c) { OnChangedColor(p, c); });
    }

    auto* nameCaption = new QLabel(QStringLiteral("Color Name :"), this);
    name_ = Named(new QLineEdit(this), "colorName");
    name_->setMaxLength(kNameLimit);
    nameCaption->setBuddy(name_);
    name_->installEventFilter(this);

    setColor_ = PlainButton("Set Color", "setColor", this);
    resetAll_ = PlainButton("Reset All", "resetAll", this);
    resetColor_ = PlainButton("Reset Color", "resetColor", this);
    auto* buttons = OkCancelBox(this);
    connect(setColor_, &QPushButton::clicked, this, [this] { OnSetColor(); });
    connect(resetColor_, &QPushButton::clicked, this, [this] { OnResetColor(); });
    connect(resetAll_, &QPushButton::clicked, this, [this] { OnResetAll(); });

    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(nameCaption);
    nameRow->addWidget(name_, 1);
    auto* side = new QVBoxLayout;
    side->addWidget(setColor_);
    side->addWidget(resetColor_);
    side->addWidget(resetAll_);
    side->addStretch(1);
    auto* layout = new QGridLayout(this);
    layout->addLayout(grid, 0, 0);
    layout->addLayout(nameRow, 1, 0);
    layout->addLayout(side, 0, 1, 2, 1);
    layout->addWidget(buttons, 2, 0, 1, 2);

    SetColorTable(working_);
}

void CDlgCreateColor::SetColorTable(const ColorTable& table)
{
    reference_ = table;
    working_ = table;
    for (int i = 0; i < kColorCount; ++i)
        panes_[size_t(i)]->SetColor(working_.GetColor(i));
    ShowName();
}

int CDlgCreateColor::IndexOf(const ColorPane* pane) const
{
    for (int i = 0; i < kColorCount; ++i) {
        if (panes_[size_t(i)] == pane)
            return i;
    }
    return -1;
}

void CDlgCreateColor::ShowName()
{
    char name[kColorNameSize] = {};
    working_.GetName(current_, name);
    name_->setText(Cp1252ToQString(name));
}

void CDlgCreateColor::TakeName()
{
    if (current_ < 0)
        return;
    std::string bytes = QStringToCp1252(name_->text());
    if (bytes.size() > size_t(kNameLimit))
        bytes.resize(size_t(kNameLimit));
    working_.SetName(current_, bytes.c_str());
}

bool CDlgCreateColor::eventFilter(QObject* watched, QEvent* event)
{
    // The name reaches the entry when the field is left, whichever control
    // takes the focus, so that it is stored before a new entry is chosen.
    if (watched == name_ && event->type() == QEvent::FocusOut)
        TakeName();
    return QDialog::eventFilter(watched, event);
}

void CDlgCreateColor::OnSelected(ColorPane* pane)
{
    const int i = IndexOf(pane);
    if (i < 0)
        return;
    current_ = i;
    ShowName();
}

void CDlgCreateColor::OnChangedColor(ColorPane* pane, ColorRef colour)
{
    const int i = IndexOf(pane);
    if (i < 0)
        return;
    working_.SetColor(i, colour);
    current_ = i;
    ShowName();
}

bool CDlgCreateColor::ChooseColor(ColorRef* colour)
{
    QColorDialog chooser(ToQColor(*colour), this);
    chooser.setWindowTitle(QStringLiteral("Color"));
    if (chooser.exec() != QDialog::Accepted)
        return false;
    *colour = FromQColor(chooser.selectedColor());
    return true;
}

void CDlgCreateColor::OnSetColor()
{
    if (current_ < 0)
        return;
    ColorRef colour = working_.GetColor(current_);
    if (!ChooseColor(&colour))
        return;
    working_.SetColor(current_, colour);
    ColorPane* pane = panes_[size_t(current_)];
    pane->SetColor(colour);
    pane->Redraw();
}

void CDlgCreateColor::OnResetColor()
{
    if (current_ < 0)
        return;
    ColorEntry entry;
    reference_.GetEntry(current_, &entry);
    working_.SetEntry(current_, entry);
    ColorPane* pane = panes_[size_t(current_)];
    pane->SetColor(entry.color);
    ShowName();
    pane->Redraw();
}

void CDlgCreateColor::OnResetAll()
{
    working_ = reference_;
    for (int i = 0; i < kColorCount; ++i) {
        panes_[size_t(i)]->SetColor(working_.GetColor(i));
        panes_[size_t(i)]->Redraw();
    }
    ShowName();
}
