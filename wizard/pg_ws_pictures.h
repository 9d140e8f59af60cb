// CPgWS_Pictures: the "Wizard Pictures" page. It sets the pictures shown
// over the top of each page of the new-document wizard, and the picture
// on the right of its "Finish" page, each kept as a header picture
// numbered after its page.
#pragma once

#include <cstdint>

#include "dialogs/picture_file_dialogs.h"
#include "wizard/pg_ws.h"

class QListWidget;

class CPgWS_Pictures : public CPgWS {
public:
    CPgWS_Pictures();

    QListWidget* Slots() const { return slots_; }
    CWizardPreviewWnd* FinalPreview() const { return final_; }
    // The picture number of the selected slot; 0 for none.
    int32_t SelectedNumber() const;

    void OnSlotSelected();
    void OnSetPicture();

protected:
    void BuildControls() override;
    bool OnInitDialog() override;

private:
    QListWidget* slots_ = nullptr;
    CWizardPreviewWnd* final_ = nullptr;
    OpenPictureSettings settings_{};
};
