#include "dialogs/first_card_dialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "dialogs/label_type_page.h"
#include "dialogs/object_dialog_kit.h"
#include "dialogs/sheet_preview_wnd.h"
#include "platform/print_printer.h"
#include "records/label_stock.h"
#include "records/print_job_record.h"

CDlgFirstCard::CDlgFirstCard(QWidget* parent) : QDialog(parent)
{
    auto* layout = new QHBoxLayout(this);
    preview_ = Named(new CSheetPreviewWnd(this), "sheetPreview");
    preview_->setMinimumSize(260, 320);
    layout->addWidget(preview_, 1);
    auto* side = new QVBoxLayout;
    help_ = new QLabel(QStringLiteral("Click on a card\nto skip it while printing.\n\nClick again\nto remove "
                                      "skipping.\n\nCard will only be skipped\non the first printed page"),
                       this);
    side->addWidget(help_);
    side->addStretch();
    side->addWidget(OkCancelBox(this, Qt::Vertical));
    layout->addLayout(side);

    QRect paper, printable;
    JobPrinterPageInfo(&paper, &printable, nullptr, nullptr);
    const IntRect area{printable.left(), printable.top(), printable.left() + printable.width(),
                       printable.top() + printable.height()};
    preview_->SetSheetSize(IntSize{paper.width(), paper.height()}, &area);
}

void CDlgFirstCard::Init(int32_t mode, PrintJobRecord* job, Handle skipGrid)
{
    job_ = job;
    mode_ = mode;
    setWindowTitle(mode == kSheetSkipCards ? QStringLiteral("Skip Cards.") : QStringLiteral("First card."));
    LabelTypeRecord record;
    LabelTypeDecode(job->layout, &record);
    const int32_t firstCard[2] = {job->firstCardColumn, job->firstCardRow};
    preview_->SetLabelTypeAndFirstCard(LabelSheetLayout(record), firstCard);
    preview_->SetMode(mode, skipGrid);
}

Handle CDlgFirstCard::GetFirstCard() const { return preview_->GetSkipGrid(); }

void CDlgFirstCard::accept()
{
    if (job_) {
        int32_t firstCard[2] = {0, 0};
        preview_->GetFirstCard(firstCard);
        job_->firstCardColumn = firstCard[0];
        job_->firstCardRow = firstCard[1];
    }
    QDialog::accept();
}
