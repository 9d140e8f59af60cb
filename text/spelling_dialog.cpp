#include "text/spelling_dialog.h"

#include <string>

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <utility>

#include "foundation/cp1252.h"
#include "foundation/pstr.h"
#include "graphics/beep.h"
#include "text/spell_checker.h"
#include "text/spell_dictionary.h"

namespace {

// Replacements of this many characters or more are not taken.
constexpr size_t kReplacementLimit = 255;
constexpr int32_t kBeepAddFailed = 1;
constexpr int32_t kBeepRemoveFailed = 15;

SpellingDialogRunner& Runner()
{
    static SpellingDialogRunner runner;
    return runner;
}

QString WordText(const uint8_t* pstr)
{
    return Cp1252ToQString(std::string_view(reinterpret_cast<const char*>(pstr + 1), pstr[0]));
}

// The field's text as a PStr (cut at 255 characters).
void FieldWord(const QLineEdit* edit, uint8_t* pstr)
{
    const std::string bytes = QStringToCp1252(edit->text());
    const size_t n = bytes.size() < size_t(kPStrMaxLength) ? bytes.size() : size_t(kPStrMaxLength);
    pstr[0] = uint8_t(n);
    bytes.copy(reinterpret_cast<char*>(pstr + 1), n);
}

QPushButton* Button(const char* text, const char* name, QWidget* parent)
{
    auto* b = new QPushButton(QString::fromLatin1(text), parent);
    b->setObjectName(QString::fromLatin1(name));
    // Enter presses the one default button the dialog chooses, whichever
    // button has the focus.
    b->setAutoDefault(false);
    return b;
}

}  // namespace

SpellingDialog::SpellingDialog(SpellCheck* check, QWidget* parent) : QDialog(parent), check_(check)
{
    setWindowTitle(QStringLiteral("Spelling"));
    setObjectName(QStringLiteral("spellingDialog"));

    auto* suspectCaption = new QLabel(QStringLiteral("Suspect Word :"), this);
    suspect_ = new QLabel(this);
    suspect_->setObjectName(QStringLiteral("suspectWord"));
    QFont bold = suspect_->font();
    bold.setBold(true);
    suspect_->setFont(bold);
    suspect_->setTextFormat(Qt::PlainText);
    auto* replaceCaption = new QLabel(QStringLiteral("Replace With :"), this);
    edit_ = new QLineEdit(this);
    edit_->setObjectName(QStringLiteral("replaceWith"));
    replaceCaption->setBuddy(edit_);
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("suggestions"));
    list_->setSelectionMode(QAbstractItemView::SingleSelection);

    replace_ = Button("Replace", "replace", this);
    skip_ = Button("Skip", "skip", this);
    add_ = Button("Add", "add", this);
    remove_ = Button("Remove", "remove", this);
    close_ = Button("Close", "close", this);

    auto* fields = new QGridLayout;
    fields->addWidget(suspectCaption, 0, 0);
    fields->addWidget(suspect_, 0, 1);
    fields->addWidget(replaceCaption, 1, 0);
    fields->addWidget(edit_, 1, 1);
    fields->addWidget(list_, 2, 0, 1, 2);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(replace_);
    buttons->addWidget(skip_);
    buttons->addSpacing(8);
    buttons->addWidget(add_);
    buttons->addWidget(remove_);
    buttons->addStretch(1);
    buttons->addWidget(close_);
    auto* layout = new QGridLayout(this);
    layout->addLayout(fields, 0, 0);
    layout->addLayout(buttons, 0, 1);
    layout->setColumnStretch(0, 1);

    connect(list_, &QListWidget::currentRowChanged, this, [this](int row) { Choose(row); });
    connect(list_, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        Choose(list_->row(item));
        Replace();
    });
    connect(skip_, &QPushButton::clicked, this, [this] { Skip(); });
    connect(replace_, &QPushButton::clicked, this, [this] { Replace(); });
    connect(add_, &QPushButton::clicked, this, [this] { Add(); });
    connect(remove_, &QPushButton::clicked, this, [this] { Remove(); });
    connect(close_, &QPushButton::clicked, this, [this] { reject(); });

    Refill();
    replace_->setEnabled(false);
    skip_->setDefault(true);
    edit_->setFocus();
}

void SpellingDialog::Refill()
{
    {
        const QSignalBlocker quiet(list_);
        list_->clear();
        for (int i = 0; i < SuggestionCount(); ++i)
            list_->addItem(WordText(SuggestionAt(i)));
        list_->setCurrentRow(-1);
    }
    const QString word = WordText(check_->Word());
    suspect_->setText(word);
    edit_->setText(word);
}

void SpellingDialog::Choose(int row)
{
    if (row < 0 || row >= list_->count())
        return;
    edit_->setText(list_->item(row)->text());
    replace_->setEnabled(true);
    if (!replaceIsDefault_) {
        skip_->setDefault(false);
        replace_->setDefault(true);
        replaceIsDefault_ = true;
    }
    edit_->setFocus();
}

void SpellingDialog::Skip()
{
    if (replaceIsDefault_) {
        replace_->setDefault(false);
        replace_->setEnabled(false);
        skip_->setDefault(true);
        replaceIsDefault_ = false;
    }
    if (check_->FindNextMisspelled() != 0) {
        accept();
        return;
    }
    Refill();
}

void SpellingDialog::Replace()
{
    if (!replace_->isEnabled())
        return;
    const std::string bytes = QStringToCp1252(edit_->text());
    if (bytes.size() >= kReplacementLimit)
        return;
    PStr text;
    FieldWord(edit_, text);
    check_->ClearWordSelection();
    check_->ReplaceWord(text);
    if (check_->Mode() == SpellMode::kWord) {
        accept();
        return;
    }
    Skip();
}

void SpellingDialog::Add()
{
    PStr word;
    FieldWord(edit_, word);
    if (AddWord(word) != 0) {
        PlayBeep(kBeepAddFailed);
        return;
    }
    SuggestionListEdit(word, 1);
    Refill();
}

void SpellingDialog::Remove()
{
    PStr word;
    FieldWord(edit_, word);
    if (RemoveWord(word) != 0) {
        PlayBeep(kBeepRemoveFailed);
        return;
    }
    SuggestionListEdit(word, 0);
    Refill();
}

SpellingDialogRunner SetSpellingDialogRunner(SpellingDialogRunner runner)
{
    return std::exchange(Runner(), std::move(runner));
}

int RunSpellingDialog(SpellingDialog& dialog)
{
    if (Runner())
        return Runner()(dialog);
    return dialog.exec();
}
