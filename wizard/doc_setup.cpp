#include "wizard/doc_setup.h"

#include <cstring>

#include "foundation/byte_order.h"
#include "wizard/wiz_tree_format.h"

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

std::string DocSetupText(const DocSetup& setup, int32_t k)
{
    if (k < 0 || size_t(k) >= kDocSetupFieldTextCount)
        return std::string();
    const char* text = setup.fieldTexts[k];
    return std::string(text, strnlen(text, kDocSetupFieldTextSize - 1));
}

void DocSetupSetText(DocSetup* setup, int32_t k, const char* text)
{
    if (k < 0 || size_t(k) >= kDocSetupFieldTextCount)
        return;
    char* field = setup->fieldTexts[k];
    std::memset(field, 0, kDocSetupFieldTextSize);
    if (text)
        std::memcpy(field, text, strnlen(text, kDocSetupFieldTextSize - 1));
}

double DocSetupLabelWidth(const DocSetup& setup) { return GetF64LE(setup.labelLayout + kWizLayoutWidthAt); }
double DocSetupLabelHeight(const DocSetup& setup) { return GetF64LE(setup.labelLayout + kWizLayoutHeightAt); }
