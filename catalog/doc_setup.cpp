#include "catalog/doc_setup.h"

#include <cstring>

#include "catalog/wiz_tree_format.h"
#include "foundation/byte_order.h"

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
