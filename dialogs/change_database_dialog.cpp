#include "dialogs/change_database_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

#include "database/open_database_registry.h"
#include "dialogs/object_dialog_kit.h"
#include "foundation/cp1252.h"

CDlgChangeDatabase::CDlgChangeDatabase(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Change Database"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Change Database to:"), this));
    list_ = Named(new QComboBox(this), "databaseList");
    layout->addWidget(list_);
    layout->addWidget(OkCancelBox(this));

    const int32_t count = CountOpenDatabases();
    for (int32_t ordinal = 1; ordinal <= count; ++ordinal) {
        char name[256] = {};
        GetOpenDatabaseName(ordinal, name);
        list_->addItem(Cp1252ToQString(name));
    }
    connect(list_, QOverload<int>::of(&QComboBox::activated), this, [this](int) { TakeSelection(); });
}

void CDlgChangeDatabase::SetIndex(int16_t index)
{
    index_ = index;
    list_->setCurrentIndex(index >= 1 && index <= list_->count() ? index - 1 : -1);
}

void CDlgChangeDatabase::TakeSelection() { index_ = int16_t(list_->currentIndex() + 1); }

void CDlgChangeDatabase::accept()
{
    TakeSelection();
    QDialog::accept();
}
