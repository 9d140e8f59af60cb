#include "dialogs/label_type_list_dlg.h"

#include <string>

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "dialogs/label_type_dlg.h"
#include "dialogs/label_type_list.h"
#include "dialogs/label_type_page.h"
#include "dialogs/object_dialog_kit.h"
#include "dialogs/sheet_preview_wnd.h"
#include "foundation/alert_sink.h"
#include "foundation/alerts.h"
#include "foundation/cp1252.h"
#include "foundation/cursors.h"
#include "foundation/win_error.h"

const char* const kLabelDeleteQuestionText = "Do You really want delete this Label Type?";
const char* const kLabelUpdateFailedText = "Failed to update item";

namespace {

// The path as the user knows it, in the code page of the message boxes.
std::string ShownPath(const PathRecord& path)
{
    return QStringToCp1252(QString::fromStdString(PathRecordToPosix(path)));
}

}  // namespace

CDlgListOfLabels::CDlgListOfLabels(QWidget* parent) : OpeningDialog("List of Labels", "listOfLabelsDialog", parent)
{
    list_ = Named(new CLabelListBox(this), "labelList");
    list_->setMinimumWidth(220);
    new_ = PlainButton("New..", "new", this);
    edit_ = PlainButton("Edit...", "edit", this);
    delete_ = PlainButton("Delete", "delete", this);
    sort_ = PlainButton("Sort", "sort", this);
    preview_ = Named(new CSheetPreviewWnd(this), "preview");
    preview_->setMinimumSize(220, 270);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    ok_ = buttons->button(QDialogButtonBox::Ok);

    auto* commands = new QVBoxLayout;
    for (QPushButton* b : {new_, edit_, delete_, sort_})
        commands->addWidget(b);
    commands->addStretch(1);
    auto* row = new QHBoxLayout;
    row->addWidget(list_, 1);
    row->addLayout(commands);
    row->addWidget(preview_);
    auto* whole = new QVBoxLayout(this);
    whole->addLayout(row, 1);
    whole->addWidget(buttons);

    connect(buttons, &QDialogButtonBox::accepted, this, &CDlgListOfLabels::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(new_, &QPushButton::clicked, this, &CDlgListOfLabels::OnNew);
    connect(edit_, &QPushButton::clicked, this, &CDlgListOfLabels::OnEdit);
    connect(delete_, &QPushButton::clicked, this, &CDlgListOfLabels::OnDelete);
    connect(sort_, &QPushButton::clicked, this, &CDlgListOfLabels::OnSort);
    connect(list_, &QListWidget::itemSelectionChanged, this, &CDlgListOfLabels::OnSelectionChanged);
    // The first row starts selected: clicking it is the user's choice too.
    connect(list_, &QListWidget::itemClicked, this, &CDlgListOfLabels::OnSelectionChanged);
    connect(list_, &QListWidget::itemDoubleClicked, this, &CDlgListOfLabels::OnEdit);
}

void CDlgListOfLabels::OpenTable()
{
    const int32_t err = GetLabelFilePath(&path_);
    if (err != kErrNone) {
        ShowMessageBox(kLabelFileOpenErrorText, kMbOk | kMbIconExclamation);
        return;
    }
    if (table_.OpenLabelFile(&path_)) {
        table_.ReadAll();
    } else if (table_.PendingError().kind == LabelErrorKind::kFile &&
               table_.PendingError().cause == kErrFileNotFound) {
        const std::string question = "File not Found " + ShownPath(path_) + ". Create it? ";
        if (ShowMessageBox(question, kMbYesNo | kMbIconQuestion) == kIdYes) {
            if (table_.CreateLabelFile(&path_))
                table_.ReadAll();
            else
                ShowMessageBox("Failed to create " + ShownPath(path_), kMbOk | kMbIconExclamation);
            return;
        }
        // Left pending: the list stays empty and nothing is saved.
        return;
    }
    if (table_.HasPendingError())
        ShowMessageBox(kLabelFileOpenErrorText, kMbOk | kMbIconExclamation);
}

void CDlgListOfLabels::Open()
{
    OpenTable();
    if (ReadLabelPrinterPage(&paper_, &printable_))
        preview_->SetSheetSize(paper_, &printable_);
    printerPaper_ = paper_;
    {
        const QSignalBlocker quiet(list_);
        list_->SetLabelBase(&table_);
        list_->SelectLabel(0);
    }
    EnableCommands(list_->count() > 0);
    // OK waits for the user's own choice.
    ok_->setEnabled(false);
    PreviewSelected();
}

void CDlgListOfLabels::EnableCommands(bool on)
{
    for (QPushButton* b : {ok_, edit_, delete_, sort_})
        b->setEnabled(on);
}

void CDlgListOfLabels::PreviewSelected()
{
    LabelTypeRecord r;
    if (list_->GetCurLabel(&r) >= 0) {
        LabelStockPage(r, printerPaper_, &paper_, &printable_);
        preview_->SetSheetSize(paper_, &printable_);
        preview_->SetLabelType(LabelSheetLayout(r));
    }
    preview_->Redraw();
}

void CDlgListOfLabels::OnSelectionChanged()
{
    LabelTypeRecord r;
    EnableCommands(list_->GetCurLabel(&r) >= 0);
    PreviewSelected();
}

bool CDlgListOfLabels::EditLabelType(LabelTypeRecord* record)
{
    CDlgLabelType dialog(this);
    dialog.SetMode(kLabelTypeModeNamed);
    dialog.SetPreviewParams(printerPaper_, IntRect{0, 0, printerPaper_.width, printerPaper_.height});
    dialog.SetLabelType(*record);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    dialog.GetLabelType(record);
    return true;
}

void CDlgListOfLabels::OnNew()
{
    LabelTypeRecord r;
    LabelTypeSetName(&r, "New Name");
    // One card across and down, as the dialog shows it: a count the user
    // leaves alone is kept as shown, not as a sheet of no cards.
    r.columns = 1;
    r.rows = 1;
    if (!EditLabelType(&r))
        return;
    if (list_->InsertLabel(r, list_->count() - 1))
        list_->SelectLabel(list_->count() - 1);
    PreviewSelected();
}

void CDlgListOfLabels::OnEdit()
{
    LabelTypeRecord r;
    const int32_t index = list_->GetCurLabel(&r);
    if (index < 0 || !EditLabelType(&r))
        return;
    if (!list_->UpdateLabel(index, r))
        ShowMessageBox(kLabelUpdateFailedText, kMbOk | kMbIconExclamation);
    PreviewSelected();
}

void CDlgListOfLabels::OnDelete()
{
    LabelTypeRecord r;
    const int32_t index = list_->GetCurLabel(&r);
    if (index < 0 || AlertConfirm(kLabelDeleteQuestionText, 0) != 1)
        return;
    if (!list_->DeleteLabel(index))
        return;
    if (list_->count() == 0) {
        EnableCommands(false);
        preview_->SetLabelType(SheetLabelLayout{});
        preview_->Redraw();
        return;
    }
    list_->SelectLabel(index < list_->count() ? index : index - 1);
    // The list may have selected the row behind the deleted one by itself,
    // without telling: the buttons follow what is selected now.
    OnSelectionChanged();
}

void CDlgListOfLabels::OnSort()
{
    list_->SortLabels();
    PreviewSelected();
}

void CDlgListOfLabels::accept()
{
    SetWaitCursor();
    table_.WriteAll();
    RestoreSavedCursor();
    chosenIndex_ = list_->GetCurLabel(&chosen_);
    QDialog::accept();
}

int32_t CDlgListOfLabels::GetCurLabel(LabelTypeRecord* out) const
{
    if (chosenIndex_ >= 0 && out)
        *out = chosen_;
    return chosenIndex_;
}
