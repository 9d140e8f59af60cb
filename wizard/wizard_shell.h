// What the wizard asks of the application around it: the set-up record of
// the last wizard run since the program started, whose personal texts the
// Personal Info page offers again. The application installs itself; without
// one the page starts from the wizard's own record.
#pragma once

#include <cstdint>

class WizardShell {
public:
    virtual ~WizardShell() = default;
    // The last run's document set-up record; null when there is none.
    virtual const uint8_t* LastDocSetup() = 0;
};

// The installed shell, or null.
WizardShell* CurrentWizardShell();
// Installs a shell (null takes it away); returns the previous one.
WizardShell* SetWizardShell(WizardShell* shell);
