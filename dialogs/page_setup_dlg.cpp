#include "dialogs/page_setup_dlg.h"

#include <set>
#include <vector>

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

#include "dialogs/object_dialog_kit.h"
#include "dialogs/print_setup.h"
#include "foundation/cp1252.h"
#include "foundation/paper_table.h"
#include "platform/printer_handles.h"
#include "platform/printer_paper.h"

const char* const kFixedPaperCaption = "Paper (fixed by the label layout):";
const char* const kFixedOrientationCaption = "Orientation (fixed by the label layout)";

CDlgPageSetup::CDlgPageSetup(QWidget* parent, PageChoice* page)
    : OpeningDialog("Page Setup", "pageSetupDialog", parent), page_(page)
{
    const PrinterSettings* settings = GetPrinterHandles();
    // With a printer, the choice is the printer's; a card's page only says
    // what its label layout fixes.
    PageChoice* own = settings ? nullptr : page;
    paperFixed_ = page && page->paperFixed;
    orientationFixed_ = page && page->orientationFixed;

    paper_ = Named(new QComboBox(this), "pageSizeCombo");
    std::vector<int16_t> listed;
    const bool known = settings && CurrentPrinterCaps().PaperCodes(settings->deviceName, settings->portName, &listed);
    const std::set<int16_t> offered(listed.begin(), listed.end());
    std::set<uint32_t> shown;
    for (int32_t i = 0; i < kPaperTableCount; ++i) {
        const uint32_t code = PaperTable[i].code;
        if (code == 0 || shown.count(code) || (known && !offered.count(int16_t(code))))
            continue;
        shown.insert(code);
        paper_->addItem(Cp1252ToQString(PaperTable[i].name), i);
    }
    int32_t index = kPaperEntryLetter;
    if (own || paperFixed_)
        index = page->paper;
    else
        PrinterGetPaperIndex(&index);
    // A fixed paper the printer does not list is still shown, as what the
    // card prints on.
    if (paper_->findData(index) < 0 && paperFixed_ && index > 0 && index < kPaperTableCount)
        paper_->addItem(Cp1252ToQString(PaperTable[index].name), index);
    paper_->setCurrentIndex(std::max(0, paper_->findData(index)));

    portrait_ = Named(new QRadioButton(QStringLiteral("P&ortrait"), this), "portrait");
    landscape_ = Named(new QRadioButton(QStringLiteral("L&andscape"), this), "landscape");
    int32_t upright = 1;
    if (own || orientationFixed_)
        upright = page->orientation != 2;
    else
        PrinterGetOrientation(&upright);
    (upright ? portrait_ : landscape_)->setChecked(true);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Printer:"),
                 new QLabel(settings ? settings->deviceName
                                     : QStringLiteral("None installed: the page of PDF and PostScript files"),
                            this));
    // What the label layout fixes can't be chosen here; the captions say
    // so, rather than a choice being dropped after OK.
    paper_->setEnabled(!paperFixed_);
    portrait_->setEnabled(!orientationFixed_);
    landscape_->setEnabled(!orientationFixed_);
    form->addRow(paperFixed_ ? QString::fromLatin1(kFixedPaperCaption) : QStringLiteral("&Paper:"), paper_);
    auto* orientation = new QGroupBox(
        orientationFixed_ ? QString::fromLatin1(kFixedOrientationCaption) : QStringLiteral("Orientation"), this);
    auto* radios = new QHBoxLayout(orientation);
    radios->addWidget(portrait_);
    radios->addWidget(landscape_);
    auto* buttons = OkCancelBox(this);
    auto* whole = new QVBoxLayout(this);
    whole->addLayout(form);
    whole->addWidget(orientation);
    whole->addWidget(buttons);
}

void CDlgPageSetup::accept()
{
    if (page_ && !GetPrinterHandles()) {
        if (paper_->currentIndex() >= 0)
            page_->paper = paper_->currentData().toInt();
        page_->orientation = portrait_->isChecked() ? 1 : 2;
        QDialog::accept();
        return;
    }
    // What the layout fixes is the card's, not the printer's to change.
    const bool paper = paper_->currentIndex() >= 0 && !paperFixed_;
    if (paper)
        PrinterSelectPaper(paper_->currentData().toInt());
    if (!orientationFixed_)
        PrinterSetOrientation(portrait_->isChecked() ? 1 : 0);
    KeepAsPrinterOwnPage(paper, !orientationFixed_);
    QDialog::accept();
}
