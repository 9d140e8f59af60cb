// Reading the set-up record.
#include "catalog/doc_setup.h"

#include <cstring>

#include "foundation/byte_order.h"

void DocSetupDecode(const uint8_t* bytes, DocSetup* setup)
{
    setup->fromCategory = GetU32LE(bytes + kDocSetupFromCategory);
    setup->backdropId = GetU32LE(bytes + kDocSetupBackdropId);
    setup->backdropColour = GetU32LE(bytes + kDocSetupBackdropColour);
    setup->templateId = GetU32LE(bytes + kDocSetupTemplateId);
    std::memcpy(setup->labelLayout, bytes + kDocSetupLabelType, kDocSetupLabelTypeSize);
    // The preview slot held a pointer of the program that wrote the
    // record; nothing of it is valid here.
    setup->databaseUse = GetU32LE(bytes + kDocSetupDatabaseUse);
    for (size_t k = 0; k < kDocSetupFieldTextCount; ++k)
        std::memcpy(setup->fieldTexts[k], bytes + kDocSetupFieldTexts + k * kDocSetupFieldTextSize,
                    kDocSetupFieldTextSize);
    std::memcpy(setup->reserved, bytes + kDocSetupReserved, kDocSetupReservedSize);
}
