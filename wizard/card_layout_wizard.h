// The wizard's answer to the card document: Change Layout and Design and
// the wizard's set-up. The application installs it at start-up; a test
// that runs these commands installs it too.
#pragma once

#include "carddoc/layout_wizard_host.h"

class CardLayoutWizard : public LayoutWizardHost {
public:
    bool RunLayoutWizard(uint8_t* record, QWidget* parent) override;
    void RunWizardSetup(QWidget* parent) override;
};

// Installs the program's one CardLayoutWizard.
void InstallCardLayoutWizard();
