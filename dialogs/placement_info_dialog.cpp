#include "dialogs/placement_info_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QVBoxLayout>

#include "dialogs/numeric_edit.h"
#include "dialogs/object_dialog_kit.h"

CPlacementInfoDialog::CPlacementInfoDialog(const char* title, const char* name, QWidget* parent)
    : OpeningDialog(title, name, parent)
{
}

CFloatEdit* CPlacementInfoDialog::AddLength(int32_t id, const char* name, double* value, uint32_t bit)
{
    CFloatEdit* edit = MeasureEdit(id, name, this);
    fields_.AddLength(edit, value, bit);
    connect(edit, &CFilteredEdit::EditChanged, this, [this] { EditChanged(); });
    return edit;
}

CFloatEdit* CPlacementInfoDialog::AddPlain(int32_t id, const char* name, double* value, uint32_t bit,
                                           double minimum, double maximum, double step)
{
    CFloatEdit* edit = MeasureEdit(id, name, this);
    fields_.AddPlain(edit, value, bit, minimum, maximum, step);
    connect(edit, &CFilteredEdit::EditChanged, this, [this] { EditChanged(); });
    return edit;
}

void CPlacementInfoDialog::AddFlagBoxes(int32_t* printable, int32_t* locked, int32_t* visible)
{
    printable_ = AddBox("Printable", printable, kFieldPrintable);
    locked_ = AddBox("Locked", locked, kFieldLocked);
    visible_ = AddBox("Visible", visible, kFieldVisible);
}

QCheckBox* CPlacementInfoDialog::AddBox(const char* text, int32_t* value, uint32_t bit)
{
    QCheckBox* box = TriStateBox(text, this);
    boxes_.push_back(Box{box, value, bit});
    connect(box, &QCheckBox::clicked, this, [this, box, bit] { BoxClicked(box, bit); });
    return box;
}

void CPlacementInfoDialog::AddUnits()
{
    units_ = Named(new QComboBox(this), "units");
    connect(units_, &QComboBox::activated, this, [this](int index) { UnitsChosen(index); });
}

QVBoxLayout* CPlacementInfoDialog::FlagColumn() const
{
    auto* column = new QVBoxLayout;
    column->addWidget(printable_);
    column->addWidget(locked_);
    column->addWidget(visible_);
    return column;
}

void CPlacementInfoDialog::Open()
{
    ready_ = false;
    // A blank field gets its range too, so that a value typed into it
    // later is held to the same limits as in a field shown with a value.
    fields_.Open(units_, unitsOfRecord_());
    fields_.BlankUnknown(*flags_);
    Opened();
    for (const Box& b : boxes_)
        ShowBoxState(b.box, *b.value, *flags_, b.bit);
    if (word_ == FlagWord::kUserSetOnly) {
        shown_ = *flags_;
        *flags_ = 0;
    }
    ready_ = true;
}

void CPlacementInfoDialog::EditChanged()
{
    if (ready_)
        *flags_ |= fields_.ReadModified();
}

void CPlacementInfoDialog::UnitsChosen(int index)
{
    if (index < 0 || index == unitsOfRecord_())
        return;
    setUnitsOfRecord_(index);
    ready_ = false;
    fields_.SwitchUnit(index, flags_, &shown_);
    ready_ = true;
}

void CPlacementInfoDialog::BoxClicked(const QCheckBox* box, uint32_t bit)
{
    if (ready_)
        NoteBoxClick(box, bit, flags_);
}

void CPlacementInfoDialog::accept()
{
    for (const Box& b : boxes_)
        *b.value = BoxState(b.box);
    setUnitsOfRecord_(units_->currentIndex());
    QDialog::accept();
}
