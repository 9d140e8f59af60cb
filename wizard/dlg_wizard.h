// CDlgWizard: the new-document wizard, a sheet of seven pages run as a
// wizard. It leads from a document category through backdrop, layout and
// personal data to a finished set-up record (mode 1, File > New >
// Document), or edits a document's backdrop and layout (mode 2, Change
// Layout and Design). The pages fill the sheet's DocSetup; the caller takes
// it with GetResult once the wizard has finished.
//
// While a mode-1 wizard runs, a hidden card document (when the card side
// can make one) renders the previews and prints; the database the
// Personal Info page holds stays open for the new document.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include <QDialog>

#include "catalog/doc_setup.h"
#include "catalog/wiz_tree.h"
#include "foundation/alert_sink.h"

class CPgWiz;
class CPgWiz_1;
class CPgWiz_2;
class CPgWiz_3;
class CPgWiz_AllBd;
class CPgWiz_DBInfo;
class CPgWiz_Finish;
class CPgWizDocProp;
class QPushButton;
class QStackedWidget;
class WizDatabase;
class WizPreviewDocument;

// Wizard buttons.
enum : uint32_t {
    kWizButtonBack = 1,
    kWizButtonNext = 2,
    kWizButtonFinish = 4,
};

// What DoModal answers.
constexpr int32_t kIdWizFinish = 12325;

// Page indexes in the sheet's table.
enum : int32_t {
    kPageDocumentType = 0,
    kPageBackdrop = 1,
    kPageLayout = 2,
    kPagePersonalInfo = 3,
    kPageFinish = 4,
    kPageDocProperties = 5,
    kPageAllBackdrops = 6,
    kWizPageCount = 7,
};

class CDlgWizard : public QDialog {
public:
    CDlgWizard(const char* caption, QWidget* parent, int32_t firstPage = 0);
    ~CDlgWizard() override;
    CDlgWizard(const CDlgWizard&) = delete;
    CDlgWizard& operator=(const CDlgWizard&) = delete;

    // Once, before DoModal. record is read in mode 2 only.
    void Init(CWizTree* tree, int32_t mode, const DocSetup* record);
    // kIdWizFinish or kIdCancel.
    int32_t DoModal();
    void GetResult(DocSetup* out) const { *out = record_; }
    void GetResult(uint8_t* bytes) const;

    int32_t GetNextPageId(int32_t index) const;
    int32_t GetPrevPageId(int32_t index) const;
    // Picks the buttons for the page and posts them.
    void UpdateWizardButtons(int32_t index);
    // The change takes effect after the message being handled.
    void SetWizardButtons(uint32_t flags);
    bool FinishPages();
    bool CancelPages();
    void NoteDataChanged() { ++dataCounter_; }

    DocSetup& Record() { return record_; }
    uint32_t DataCounter() const { return dataCounter_; }
    WizNode* CurrentNode() const { return currentNode_; }
    int32_t Mode() const { return mode_; }
    CWizTree* Tree() const { return tree_; }
    WizPreviewDocument* PreviewDocument() const { return previewDocument_.get(); }
    // The database the Personal Info page holds (null for none).
    WizDatabase*& HeldDatabase() { return database_; }

    // The pages by index, and which is shown.
    CPgWiz* Page(int32_t index) const;
    int32_t PageIndexOfId(int32_t dialogId) const;
    int32_t ActiveIndex() const { return active_; }
    CPgWiz* ActivePage() const { return active_ >= 0 ? Page(active_) : nullptr; }
    void SetActivePage(int32_t index);
    // The buttons' state once the posted change has arrived.
    uint32_t ButtonFlags() const { return shownFlags_; }

    // The sheet's buttons, as the user presses them.
    void PressBack();
    void PressNext();
    void PressFinish();
    void PressCancel();

    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void ApplyButtons(uint32_t flags);
    void ClosePreviewDocument();
    void Start();

    CWizTree* tree_ = nullptr;
    WizNode* currentNode_ = nullptr;
    std::unique_ptr<CPgWiz_1> page1_;
    std::unique_ptr<CPgWiz_2> page2_;
    std::unique_ptr<CPgWiz_3> page3_;
    std::unique_ptr<CPgWiz_AllBd> pageAllBd_;
    std::unique_ptr<CPgWiz_DBInfo> pageDbInfo_;
    std::unique_ptr<CPgWizDocProp> pageDocProp_;
    std::unique_ptr<CPgWiz_Finish> pageFinish_;
    std::array<CPgWiz*, kWizPageCount> table_{};
    int32_t mode_ = 0;
    DocSetup record_;
    uint32_t dataCounter_ = 1;
    std::unique_ptr<WizPreviewDocument> previewDocument_;
    WizDatabase* database_ = nullptr;

    int32_t startIndex_ = 0;
    int32_t active_ = -1;
    bool started_ = false;
    uint32_t shownFlags_ = 0;
    QStackedWidget* stack_ = nullptr;
    QPushButton* back_ = nullptr;
    QPushButton* next_ = nullptr;
    QPushButton* finish_ = nullptr;
    QPushButton* cancel_ = nullptr;
};
