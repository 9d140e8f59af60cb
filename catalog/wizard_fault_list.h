// The fault lists the wizard's repair bench fills: one entry per file,
// record or node found at fault, with what is known about it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct WizNode;

// Faults of the link check of the wizard tree.
enum : int32_t {
    kWizTreeFaultChildCycle = 11,
    kWizTreeFaultNextCycle = 12,
    kWizTreeFaultParent = 13,
    kWizTreeFaultPrev = 14,
    kWizTreeFaultChildPtr = 21,
    kWizTreeFaultNextPtr = 22,
};

// Which link a tree fault concerns.
enum : uint32_t {
    kWizLinkPrev = 1,
    kWizLinkNext = 2,
    kWizLinkChild = 4,
    kWizLinkParent = 8,
    kWizLinkCycle = 16,
    kWizLinkBadPtr = 32,
};

// A reference of a backdrop node that the lists do not hold.
enum : uint32_t {
    kWizRelationGroupMissing = 1,
    kWizRelationTemplateMissing = 2,
};

struct WizardFault {
    std::string displayName;
    std::string headerName;  // the name a file's own header gives
    std::string fileName;    // by which file entries are found
    uint32_t isFolder = 0;
    uint32_t filePresent = 0;
    uint32_t registered = 0;
    uint32_t versionFound = 0;
    uint32_t versionExpected = 0;
    uint32_t id = 0;  // group or template id
    uint32_t itemNumber = 0;
    uint32_t unknownFormat = 0;
    uint32_t referenceCount = 0;
    uint32_t headerPicture = 0;
    uint32_t relationFault = 0;
    std::string parentName;
    const WizNode* node = nullptr;
    uint32_t linkFaults = 0;
    int32_t treeFaultCode = 0;
    std::string treeFaultText;
};

struct WizardFaultList {
    std::vector<WizardFault> entries;
    bool scanned = false;

    WizardFault* FindByFileName(const std::string& name);
    WizardFault* FindById(uint32_t id);
};
