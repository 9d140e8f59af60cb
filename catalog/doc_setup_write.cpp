// Writing the set-up record.
#include "catalog/doc_setup.h"

#include <cstring>

#include "foundation/byte_order.h"

void DocSetupEncode(const DocSetup& setup, uint8_t* bytes)
{
    PutU32LE(bytes + kDocSetupFromCategory, setup.fromCategory);
    PutU32LE(bytes + kDocSetupBackdropId, setup.backdropId);
    PutU32LE(bytes + kDocSetupBackdropColour, setup.backdropColour);
    PutU32LE(bytes + kDocSetupTemplateId, setup.templateId);
    std::memcpy(bytes + kDocSetupLabelType, setup.labelLayout, kDocSetupLabelTypeSize);
    PutU32LE(bytes + kDocSetupPreviewSlot, 0);
    PutU32LE(bytes + kDocSetupDatabaseUse, setup.databaseUse);
    for (size_t k = 0; k < kDocSetupFieldTextCount; ++k)
        std::memcpy(bytes + kDocSetupFieldTexts + k * kDocSetupFieldTextSize, setup.fieldTexts[k],
                    kDocSetupFieldTextSize);
    std::memcpy(bytes + kDocSetupReserved, setup.reserved, kDocSetupReservedSize);
}
