// The wizard as the card document reaches it: Change Layout and Design runs
// the layout wizard over the document's set-up, and master mode runs the
// wizard's own set-up. The wizard installs its answer (the application does
// so at start-up); without one these commands do nothing.
#pragma once

#include <cstdint>

class QWidget;

class LayoutWizardHost {
public:
    virtual ~LayoutWizardHost() = default;
    // The wizard over record (a document set-up record), starting from it;
    // true, with record changed, when the user finished it.
    virtual bool RunLayoutWizard(uint8_t* record, QWidget* parent) = 0;
    // The wizard's own set-up.
    virtual void RunWizardSetup(QWidget* parent) = 0;
};

// The installed wizard, or null.
LayoutWizardHost* CurrentLayoutWizard();
// Installs one (null takes it away); returns the previous one.
LayoutWizardHost* SetLayoutWizard(LayoutWizardHost* wizard);
