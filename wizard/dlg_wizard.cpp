#include "wizard/dlg_wizard.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

#include "database/open_database_registry.h"
#include "wizard/pg_wiz_1.h"
#include "wizard/pg_wiz_2.h"
#include "wizard/pg_wiz_3.h"
#include "wizard/pg_wiz_all_bd.h"
#include "wizard/pg_wiz_db_info.h"
#include "wizard/pg_wiz_doc_prop.h"
#include "wizard/pg_wiz_finish.h"
#include "wizard/wiz_preview_document.h"

CDlgWizard::CDlgWizard(const char* caption, QWidget* parent, int32_t firstPage)
    : QDialog(parent), startIndex_(firstPage)
{
    setWindowTitle(QString::fromLatin1(caption));
    setModal(true);
    page1_ = std::make_unique<CPgWiz_1>();
    page2_ = std::make_unique<CPgWiz_2>();
    page3_ = std::make_unique<CPgWiz_3>();
    pageAllBd_ = std::make_unique<CPgWiz_AllBd>();
    pageDbInfo_ = std::make_unique<CPgWiz_DBInfo>();
    pageDocProp_ = std::make_unique<CPgWizDocProp>();
    pageFinish_ = std::make_unique<CPgWiz_Finish>();

    stack_ = new QStackedWidget(this);
    back_ = new QPushButton(QStringLiteral("< &Back"), this);
    next_ = new QPushButton(QStringLiteral("&Next >"), this);
    finish_ = new QPushButton(QStringLiteral("Finish"), this);
    cancel_ = new QPushButton(QStringLiteral("Cancel"), this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(back_);
    buttons->addWidget(next_);
    buttons->addWidget(finish_);
    buttons->addSpacing(8);
    buttons->addWidget(cancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(stack_);
    layout->addLayout(buttons);
    connect(back_, &QPushButton::clicked, this, [this] { PressBack(); });
    connect(next_, &QPushButton::clicked, this, [this] { PressNext(); });
    connect(finish_, &QPushButton::clicked, this, [this] { PressFinish(); });
    connect(cancel_, &QPushButton::clicked, this, [this] { PressCancel(); });
    ApplyButtons(0);
}

CDlgWizard::~CDlgWizard()
{
    ClosePreviewDocument();
    // The database window the user came from feeds the cards again: its
    // window is still the active one and won't be activated anew.
    if (mode_ == 1)
        RestoreSetAsideDatabase();
    // Pages go in the reverse order of their making.
    pageFinish_.reset();
    pageDocProp_.reset();
    pageDbInfo_.reset();
    pageAllBd_.reset();
    page3_.reset();
    page2_.reset();
    page1_.reset();
}

CPgWiz* CDlgWizard::Page(int32_t index) const
{
    return index >= 0 && index < kWizPageCount ? table_[size_t(index)] : nullptr;
}

int32_t CDlgWizard::PageIndexOfId(int32_t dialogId) const
{
    for (int32_t i = 0; i < kWizPageCount; ++i)
        if (table_[size_t(i)] && table_[size_t(i)]->DialogId() == dialogId)
            return i;
    return -1;
}

void CDlgWizard::Init(CWizTree* tree, int32_t mode, const DocSetup* record)
{
    mode_ = mode;
    tree_ = tree;
    table_ = {page1_.get(), page2_.get(), page3_.get(), pageDbInfo_.get(),
              pageFinish_.get(), pageDocProp_.get(), pageAllBd_.get()};
    for (int32_t i = 0; i < kWizPageCount; ++i) {
        table_[size_t(i)]->Attach(tree, &currentNode_, i, this);
        stack_->addWidget(table_[size_t(i)]);
    }
    if (mode == 1) {
        SetAsideCurrentDatabase();
        previewDocument_ = MakeWizPreviewDocument();
        startIndex_ = kPageDocumentType;
    } else if (mode == 2) {
        if (record)
            record_ = *record;
        WizNode* node = nullptr;
        if (!tree || tree->FindCategory(record_, &node) != 0) {
            startIndex_ = -1;
            return;
        }
        currentNode_ = node;
        startIndex_ = node ? kPageBackdrop : kPageAllBackdrops;
    }
}

void CDlgWizard::GetResult(uint8_t* bytes) const
{
    DocSetupEncode(record_, bytes);
}

int32_t CDlgWizard::DoModal()
{
    return exec();
}

void CDlgWizard::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    Start();
}

void CDlgWizard::Start()
{
    if (started_ || !Page(startIndex_))
        return;
    started_ = true;
    SetActivePage(startIndex_);
}

void CDlgWizard::SetActivePage(int32_t index)
{
    CPgWiz* page = Page(index);
    if (!page)
        return;
    active_ = index;
    stack_->setCurrentWidget(page);
    page->EnsureCreated();
    page->OnShow();
}

int32_t CDlgWizard::GetNextPageId(int32_t index) const
{
    switch (index) {
    case kPageDocumentType:
        return currentNode_ && currentNode_->kind == kWizKindCustomCategory ? 591 : 0;
    case kPageDocProperties:
        return 600;
    case kPageAllBackdrops:
        return 562;
    default:
        return 0;
    }
}

int32_t CDlgWizard::GetPrevPageId(int32_t index) const
{
    switch (index) {
    case kPageLayout:
        return record_.fromCategory != 0 ? 561 : 600;
    case kPageDocProperties:
        return 560;
    case kPageAllBackdrops:
        return 591;
    default:
        return 0;
    }
}

void CDlgWizard::UpdateWizardButtons(int32_t index)
{
    uint32_t flags = 0;
    if (mode_ == 1) {
        if (index == kPageDocumentType)
            flags = kWizButtonNext;
        else if (index == kPageFinish)
            flags = kWizButtonBack | kWizButtonFinish;
        else
            flags = kWizButtonBack | kWizButtonNext;
    } else if (mode_ == 2) {
        if (index == kPageBackdrop || index == kPageAllBackdrops)
            flags = kWizButtonNext;
        else if (index == kPageLayout)
            flags = kWizButtonBack | kWizButtonFinish;
        else
            flags = kWizButtonBack | kWizButtonNext;
    }
    SetWizardButtons(flags);
}

void CDlgWizard::SetWizardButtons(uint32_t flags)
{
    QMetaObject::invokeMethod(this, [this, flags] { ApplyButtons(flags); }, Qt::QueuedConnection);
}

void CDlgWizard::ApplyButtons(uint32_t flags)
{
    shownFlags_ = flags;
    back_->setEnabled(flags & kWizButtonBack);
    // As on every wizard, Finish takes Next's place on the page that ends
    // it.
    const bool finish = flags & kWizButtonFinish;
    next_->setVisible(!finish);
    next_->setEnabled(flags & kWizButtonNext);
    finish_->setVisible(finish);
    finish_->setEnabled(finish);
    (finish ? finish_ : next_)->setDefault(true);
}

void CDlgWizard::PressNext()
{
    CPgWiz* page = ActivePage();
    if (!page || !(shownFlags_ & kWizButtonNext) || (shownFlags_ & kWizButtonFinish))
        return;
    const int32_t id = page->OnWizardNext();
    if (id == -1)
        return;
    SetActivePage(id == 0 ? active_ + 1 : PageIndexOfId(id));
}

void CDlgWizard::PressBack()
{
    CPgWiz* page = ActivePage();
    if (!page || !(shownFlags_ & kWizButtonBack))
        return;
    const int32_t id = page->OnWizardBack();
    if (id == -1)
        return;
    SetActivePage(id == 0 ? active_ - 1 : PageIndexOfId(id));
}

void CDlgWizard::PressFinish()
{
    CPgWiz* page = ActivePage();
    if (!page || !(shownFlags_ & kWizButtonFinish))
        return;
    if (page->OnWizardFinish())
        done(kIdWizFinish);
}

void CDlgWizard::PressCancel()
{
    CPgWiz* page = ActivePage();
    if (page && !page->OnQueryCancel())
        return;
    if (!page)
        CancelPages();
    QDialog::done(kIdCancel);
}

void CDlgWizard::reject()
{
    PressCancel();
}

bool CDlgWizard::FinishPages()
{
    bool all = true;
    for (CPgWiz* page : table_)
        if (page && !page->OnFinishPage())
            all = false;
    ClosePreviewDocument();
    return all;
}

bool CDlgWizard::CancelPages()
{
    bool all = true;
    for (CPgWiz* page : table_)
        if (page && !page->OnCancelPage())
            all = false;
    ClosePreviewDocument();
    return all;
}

void CDlgWizard::ClosePreviewDocument()
{
    if (previewDocument_) {
        previewDocument_->OnCloseDocument();
        previewDocument_.reset();
    }
}
