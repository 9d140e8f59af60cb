// CPgWS: what the pages of the wizard set-up sheet have in common. Each
// page edits the wizard's data through the one wizard tree, shows what is
// selected in a preview window, and keeps in step with the other pages
// through two change counters the sheet holds: a page that changes the
// backdrop list or the template list raises the counter of that list and
// takes the new value as seen, so that only the other pages reload when
// they are shown next.
//
// A page's window is made when it is first shown: its controls, then its
// initialisation. Controls are laid out in dialog units and found again by
// their control ids.
#pragma once

#include <cstdint>

#include "catalog/wiz_tree.h"
#include "wizard/template_page.h"

class CDlgWizardSetup;
class CWizardPreviewWnd;
class QPushButton;

// Control ids every page has.
enum : int32_t {
    kIdSetupPreviewPlace = 1000,
    kIdSetupPreview = 4097,
};

class CPgWS : public CTemplatePage {
public:
    CPgWS(int32_t dialogId, const char* caption);
    ~CPgWS() override;
    CPgWS(const CPgWS&) = delete;
    CPgWS& operator=(const CPgWS&) = delete;

    void Attach(CWizTree* tree, CDlgWizardSetup* sheet, uint32_t* backdropCounter, uint32_t* templateCounter);

    bool Initialised() const { return initialised_; }
    CWizardPreviewWnd* Preview() const { return preview_; }
    uint32_t SeenBackdropCounter() const { return seenBackdrop_; }
    uint32_t SeenTemplateCounter() const { return seenTemplate_; }

    // The page window is shown (true) or hidden (false).
    virtual void OnPageShown(bool shown);
    // The string id of the control's tool tip; 0 for none.
    virtual int32_t GetToolTipId(int32_t controlId);
    // The text of the tool tip a control shows now; empty for none.
    QString ToolTipText(int32_t controlId);

    QPushButton* Button(int32_t id) const;

protected:
    bool OnInitDialog() override;
    QRect TemplateRect(int32_t x, int32_t y, int32_t width, int32_t height) const override;
    void ControlPlaced(QWidget* control) override;

    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    // Tool tips are asked for when they are shown: what they say can
    // depend on the page's state.
    bool eventFilter(QObject* watched, QEvent* event) override;

    QPushButton* AddButton(const char* text, int32_t id, int32_t x, int32_t y, int32_t width, int32_t height);
    void AddGroup(const char* text, int32_t x, int32_t y, int32_t width, int32_t height);
    void EnableControl(int32_t id, bool on);
    // The template's preview picture alone in the preview, at a size in
    // points; an empty preview when there is none.
    void ShowTemplatePicture(uint32_t templateId, int32_t width, int32_t height);

    // The counters of the sheet.
    bool BackdropsChanged() const { return backdropCounter_ && *backdropCounter_ != seenBackdrop_; }
    bool TemplatesChanged() const { return templateCounter_ && *templateCounter_ != seenTemplate_; }
    void RaiseBackdropCounter();
    void RaiseTemplateCounter();
    void TakeBackdropCounter();
    void TakeTemplateCounter();

    CWizTree* tree_ = nullptr;
    CDlgWizardSetup* sheet_ = nullptr;
    CWizardPreviewWnd* preview_ = nullptr;

private:
    bool initialised_ = false;
    uint32_t seenBackdrop_ = 0;
    uint32_t seenTemplate_ = 0;
    uint32_t* backdropCounter_ = nullptr;
    uint32_t* templateCounter_ = nullptr;
};
