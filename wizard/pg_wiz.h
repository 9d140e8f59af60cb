// CPgWiz: what the seven pages of the new-document wizard have in common.
// A page knows its place in the sheet, shares the sheet's current node,
// shows its header picture over the top strip, and turns Back, Next,
// Finish and Cancel into the wizard's flow. A snapshot of the sheet's
// choices lets a page see, when it is shown again, whether its preview has
// to be rebuilt.
//
// Controls are laid out in dialog units as the page templates give them,
// and found again by their control ids. A dialog unit follows the page's
// font (a quarter of its average character width across, an eighth of its
// height down), as the templates were measured: a larger font makes a
// larger page, and every text keeps the room it was given.
#pragma once

#include <cstdint>
#include <string>

#include "catalog/doc_setup.h"
#include "catalog/wiz_tree.h"
#include "foundation/handle.h"
#include "wizard/template_page.h"

class CDlgWizard;
class CWizardPreviewWnd;
class QLabel;

// Control ids every page has.
enum : int32_t {
    kIdHeaderStrip = 1529,
    kIdPreviewFrame = 1000,
    kIdHeaderPreview = 4099,
    kIdContentPreview = 4097,
    kIdSecondPreview = 4098,
};

// Groups of HasChanged.
enum : uint32_t {
    kChangedNodeOrLayout = 1,
    kChangedBackdrop = 2,
    kChangedDataOrTemplate = 4,
    kChangedAll = 0xFFFFFFFF,
};

class CPgWiz : public CTemplatePage {
public:
    CPgWiz(int32_t dialogId, const char* caption);
    ~CPgWiz() override;
    CPgWiz(const CPgWiz&) = delete;
    CPgWiz& operator=(const CPgWiz&) = delete;

    int32_t PageIndex() const { return index_; }
    CDlgWizard* Sheet() const { return sheet_; }
    // The sheet's caption as it was when the page was first shown.
    const std::string& SavedSheetCaption() const { return sheetCaption_; }

    virtual void Attach(CWizTree* tree, WizNode** nodeSlot, int32_t index, CDlgWizard* sheet);
    virtual void UpdateButtons();
    virtual void OnPageShown() {}
    virtual bool OnFinishPage() { return true; }
    virtual bool OnCancelPage() { return true; }
    // The string id of the control's tool tip; 0 for none.
    virtual int32_t GetToolTipId(int32_t /*controlId*/) { return 0; }
    virtual void StoreChoice() {}
    // Brings the sheet's hidden card document up to date with the record.
    virtual void ApplyToPreviewDocument();
    // The hidden document as metafile bits of the label's size, or null.
    virtual Handle RenderPreviewDocument();

    void TakeSnapshot();
    bool HasChanged(uint32_t mask) const;
    WizNode* SnapshotNode() const { return pageNode_; }

    // The page is being shown.
    void OnShow();
    // What the sheet's buttons ask of the page: the dialog id of the page
    // to go to, 0 for the neighbour in sheet order.
    int32_t OnWizardNext();
    int32_t OnWizardBack();
    bool OnWizardFinish();
    bool OnQueryCancel();

    CWizardPreviewWnd* HeaderPreview() const { return header_; }
    CWizardPreviewWnd* ContentPreview() const { return content_; }

protected:
    // Makes the template's controls; every page adds its own after the
    // base's.
    void BuildControls() override;
    bool OnInitDialog() override;
    QRect TemplateRect(int32_t x, int32_t y, int32_t width, int32_t height) const override;

    // The content preview over control 1000 (child 4097) in mode 3.
    void CreateContentPreview();

    DocSetup& Record() const;
    WizNode* CurrentNode() const { return nodeSlot_ ? *nodeSlot_ : nullptr; }
    void SetCurrentNode(WizNode* node)
    {
        if (nodeSlot_)
            *nodeSlot_ = node;
    }
    int32_t Mode() const;
    // The record's label size truncated, as the previews take it.
    int32_t LabelWidth() const;
    int32_t LabelHeight() const;

    CWizTree* tree_ = nullptr;
    WizNode* pageNode_ = nullptr;
    CWizardPreviewWnd* content_ = nullptr;

    // Dialog units in the page's pixels.
    int32_t UnitsX(int32_t units) const { return (units * baseX_ + 2) / 4; }
    int32_t UnitsY(int32_t units) const { return (units * baseY_ + 4) / 8; }

private:
    int32_t index_ = -1;
    CDlgWizard* sheet_ = nullptr;
    std::string sheetCaption_;
    int32_t baseX_ = 6;
    int32_t baseY_ = 13;
    bool captionPending_ = true;
    CWizardPreviewWnd* header_ = nullptr;
    WizNode** nodeSlot_ = nullptr;

    // The snapshot.
    uint32_t backdropId_ = 0xFFFFFFFF;
    uint32_t backdropColour_ = 0xFFFFFFFF;
    uint32_t templateId_ = 0xFFFFFFFF;
    uint8_t layout_[kDocSetupLabelTypeSize] = {};
    uint32_t dataCounter_ = 0;
};
