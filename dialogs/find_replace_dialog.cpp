#include "dialogs/find_replace_dialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "dialogs/object_dialog_kit.h"
#include "foundation/cp1252.h"
#include "text/edit_primitives.h"
#include "text/text_context.h"

namespace {

std::string FieldBytes(const QLineEdit* edit)
{
    std::string bytes = QStringToCp1252(edit->text());
    if (bytes.size() > size_t(kPStrMaxLength))
        bytes.resize(size_t(kPStrMaxLength));
    return bytes;
}

}  // namespace

CDlgFindReplace::CDlgFindReplace(QWidget* parent) : OpeningDialog("Find/Replace Text", "findReplaceDialog", parent)
{
    setModal(false);

    auto* findCaption = new QLabel(QStringLiteral("Find  What  :"), this);
    find_ = Named(new QLineEdit(this), "findWhat");
    find_->setMaxLength(kPStrMaxLength);
    findCaption->setBuddy(find_);
    auto* replaceCaption = new QLabel(QStringLiteral("Change To :"), this);
    replace_ = Named(new QLineEdit(this), "changeTo");
    replace_->setMaxLength(kPStrMaxLength);
    replaceCaption->setBuddy(replace_);
    wholeWord_ = Named(new QCheckBox(QStringLiteral("Whole word"), this), "wholeWord");
    ignoreCase_ = Named(new QCheckBox(QStringLiteral("Ignore case"), this), "ignoreCase");
    findNext_ = PlainButton("Find Next", "findNext", this);
    replaceOne_ = PlainButton("Replace", "replace", this);
    replaceAll_ = PlainButton("Replace All", "replaceAll", this);
    close_ = PlainButton("Close", "close", this);
    findNext_->setDefault(true);

    auto* fields = new QGridLayout;
    fields->addWidget(findCaption, 0, 0);
    fields->addWidget(find_, 0, 1, 1, 2);
    fields->addWidget(replaceCaption, 1, 0);
    fields->addWidget(replace_, 1, 1, 1, 2);
    fields->addWidget(wholeWord_, 2, 1);
    fields->addWidget(ignoreCase_, 2, 2);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(findNext_);
    buttons->addWidget(replaceOne_);
    buttons->addWidget(replaceAll_);
    buttons->addWidget(close_);
    buttons->addStretch(1);
    auto* layout = new QGridLayout(this);
    layout->addLayout(fields, 0, 0);
    layout->addLayout(buttons, 0, 1);
    layout->setColumnStretch(0, 1);

    connect(findNext_, &QPushButton::clicked, this, [this] { Run(FindMode::kFindNext); });
    connect(replaceOne_, &QPushButton::clicked, this, [this] { Run(FindMode::kReplace); });
    connect(replaceAll_, &QPushButton::clicked, this, [this] { Run(FindMode::kReplaceAll); });
    connect(close_, &QPushButton::clicked, this, [this] { reject(); });
    connect(find_, &QLineEdit::textChanged, this, [this] { OnTextChanged(); });
    connect(replace_, &QLineEdit::textChanged, this, [this] { OnTextChanged(); });
}

CDlgFindReplace::~CDlgFindReplace()
{
    if (document_ && document_->findReplaceDialog == this)
        document_->findReplaceDialog = nullptr;
}

void CDlgFindReplace::Init(const FindSettings& settings, FindReplaceDocument* document)
{
    document_ = document;
    ReadSelection();
    settings_ = settings;
    {
        const QSignalBlocker quietFind(find_);
        const QSignalBlocker quietReplace(replace_);
        find_->setText(Cp1252ToQString(settings_.find));
        replace_->setText(Cp1252ToQString(settings_.replace));
    }
    wholeWord_->setChecked(settings_.wholeWord);
    ignoreCase_->setChecked(settings_.ignoreCase);
    UpdateButtons();
    FocusFindText();
}

void CDlgFindReplace::Activate()
{
    ReadSelection();
    UpdateButtons();
    show();
    raise();
    activateWindow();
    FocusFindText();
}

void CDlgFindReplace::reject()
{
    QDialog::reject();
    deleteLater();
}

void CDlgFindReplace::FocusFindText()
{
    find_->selectAll();
    find_->setFocus();
}

void CDlgFindReplace::ReadSelection()
{
    selection_[0] = 0;
    TextContext* ctx = document_ ? document_->TextToolContext() : nullptr;
    if (ctx)
        GetSelectedText(ctx, selection_);
}

void CDlgFindReplace::StoreControls()
{
    settings_.find = FieldBytes(find_);
    settings_.replace = FieldBytes(replace_);
    settings_.wholeWord = wholeWord_->isChecked();
    settings_.ignoreCase = ignoreCase_->isChecked();
}

void CDlgFindReplace::UpdateButtons()
{
    const std::string& find = settings_.find;
    const bool match = selection_[0] != 0 && find.size() == selection_[0] &&
                       find.compare(0, find.size(), reinterpret_cast<const char*>(selection_ + 1), selection_[0]) == 0;
    if (TextContext* ctx = document_ ? document_->TextToolContext() : nullptr)
        ctx->match.selected = match;
    if (!find.empty()) {
        findNext_->setEnabled(true);
        replaceAll_->setEnabled(true);
        replaceOne_->setEnabled(match);
    } else {
        findNext_->setEnabled(false);
        replaceAll_->setEnabled(false);
        replaceOne_->setEnabled(selection_[0] != 0);
    }
}

void CDlgFindReplace::Run(FindMode mode)
{
    // The engine works with what the dialog shows, the switches included.
    StoreControls();
    if (TextContext* ctx = document_ ? document_->TextToolContext() : nullptr) {
        ReplaceInText(ctx, mode, settings_);
        ReadSelection();
    }
    StoreControls();
    UpdateButtons();
}

void CDlgFindReplace::OnTextChanged()
{
    ReadSelection();
    StoreControls();
    UpdateButtons();
}

CDlgFindReplace* ShowFindReplaceDialog(FindReplaceDocument* document, const FindSettings& settings, QWidget* parent)
{
    if (!document)
        return nullptr;
    if (CDlgFindReplace* open = document->findReplaceDialog) {
        open->show();
        open->Activate();
        return open;
    }
    auto* dialog = new CDlgFindReplace(parent);
    dialog->Init(settings, document);
    document->findReplaceDialog = dialog;
    dialog->show();
    dialog->FindEdit()->selectAll();
    dialog->FindEdit()->setFocus();
    return dialog;
}
