#include "catalog/wizard_fault_list.h"

WizardFault* WizardFaultList::FindByFileName(const std::string& name)
{
    for (WizardFault& f : entries) {
        if (f.fileName == name)
            return &f;
    }
    return nullptr;
}

WizardFault* WizardFaultList::FindById(uint32_t id)
{
    for (WizardFault& f : entries) {
        if (f.id == id)
            return &f;
    }
    return nullptr;
}
