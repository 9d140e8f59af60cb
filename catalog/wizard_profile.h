// The values of profile section "Wizard" that the wizard tree reads.
#pragma once

#include <cstdint>

// A value of section "Wizard" ("DocCtg", "DocSubCtg", "MasterMode"), or
// defaultValue when it is absent or not a number.
int32_t WizardProfileInt(const char* name, int32_t defaultValue);

// Replaces where the values come from (tests, tools); null returns to the
// program's settings. Returns the previous reader.
using WizardProfileReader = int32_t (*)(const char* name, int32_t defaultValue);
WizardProfileReader SetWizardProfileReader(WizardProfileReader reader);
