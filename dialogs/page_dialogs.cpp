#include "dialogs/page_dialogs.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>

#include "dialogs/numeric_edit.h"
#include "dialogs/object_dialog_kit.h"
#include "dialogs/up_down_buttons.h"

namespace {

constexpr int32_t kMostPages = 1000;

CIntEdit* PageEdit(int32_t id, const char* name, QWidget* parent)
{
    auto* edit = new CIntEdit(parent);
    edit->SetControlId(id);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setMaxLength(5);
    return edit;
}

}  // namespace

// --- Goto Page ------------------------------------------------------------

CDlgGotoPage::CDlgGotoPage(QWidget* parent) : RecordDialog("Goto Page", "gotoPageDialog", parent)
{
    page_ = PageEdit(1132, "page", this);
    spin_ = new UpDownButtons(page_, this);
    total_ = Named(new QLabel(this), "total");
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("Page:"), this));
    row->addWidget(page_);
    row->addWidget(spin_);
    row->addWidget(new QLabel(QStringLiteral("of"), this));
    row->addWidget(total_);
    SetBody(row);
}

void CDlgGotoPage::Open()
{
    page_->setText(QString::number(record_.page));
    total_->setText(QString::asprintf("%li", long(record_.total)));
    spin_->SetRange(1, record_.total);
    page_->SetRange(1, record_.total, 1);
}

void CDlgGotoPage::accept()
{
    if (!ExchangeIntInRange(page_, &record_.page, 1, record_.total))
        return;
    QDialog::accept();
}

// --- Insert Page ------------------------------------------------------------

CDlgInsertPage::CDlgInsertPage(QWidget* parent) : RecordDialog("Insert Page", "insertPageDialog", parent)
{
    count_ = PageEdit(1134, "count", this);
    spin_ = new UpDownButtons(count_, this);
    place_ = Named(new QComboBox(this), "place");
    pageNumber_ = PageEdit(1136, "pageNumber", this);
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Insert :"), this), 0, 0);
    grid->addWidget(count_, 0, 1);
    grid->addWidget(spin_, 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("Page(s)"), this), 0, 3);
    grid->addWidget(place_, 1, 0, 1, 2);
    grid->addWidget(pageNumber_, 1, 2, 1, 2);
    SetBody(grid);
    connect(place_, &QComboBox::currentIndexChanged, this, [this](int index) { PlaceChosen(index); });
}

void CDlgInsertPage::Open()
{
    count_->setText(QString::number(record_.count));
    pageNumber_->setText(QString::number(record_.pageNumber));
    {
        const QSignalBlocker quiet(place_);
        for (const char* name : {"Into the beginning", "Before page", "After page", "Into the end"})
            place_->addItem(QString::fromLatin1(name));
        place_->setCurrentIndex(record_.place >= 0 && record_.place <= kInsertAtEnd ? record_.place : 0);
    }
    spin_->SetRange(1, kMostPages);
    count_->SetRange(1, kMostPages, 1);
    pageNumber_->SetRange(1, kMostPages, 1);
    PlaceChosen(place_->currentIndex());
}

void CDlgInsertPage::PlaceChosen(int index)
{
    if (index < 0)
        return;
    record_.place = int16_t(index);
    pageNumber_->setEnabled(index == kInsertBeforePage || index == kInsertAfterPage);
}

void CDlgInsertPage::accept()
{
    if (!ExchangeIntInRange(count_, &record_.count, 1, kMostPages))
        return;
    // The page number only counts before or after a page; the others
    // keep what the document gave.
    int32_t page = record_.pageNumber;
    if (pageNumber_->isEnabled() && !ExchangeInt(pageNumber_, &page))
        return;
    record_.pageNumber = page;
    QDialog::accept();
}

// --- Delete Pages -----------------------------------------------------------

CDlgDeletePages::CDlgDeletePages(QWidget* parent) : RecordDialog("Delete Pages", "deletePagesDialog", parent)
{
    from_ = PageEdit(1134, "from", this);
    thru_ = PageEdit(1137, "thru", this);
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("Delete Page(s):"), this));
    row->addWidget(from_);
    row->addWidget(new QLabel(QStringLiteral("Thru:"), this));
    row->addWidget(thru_);
    SetBody(row);
}

void CDlgDeletePages::Open()
{
    from_->SetRange(1, record_.total, 1);
    thru_->SetRange(1, record_.total, 1);
    from_->setText(QString::number(record_.fromPage));
    thru_->setText(QString::number(record_.thruPage));
}

void CDlgDeletePages::accept()
{
    int32_t from = 0;
    int32_t thru = 0;
    if (!ExchangeIntInRange(from_, &from, 1, record_.total) || !ExchangeIntInRange(thru_, &thru, 1, record_.total))
        return;
    record_.fromPage = from;
    record_.thruPage = thru;
    QDialog::accept();
}
