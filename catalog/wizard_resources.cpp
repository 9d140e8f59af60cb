#include "catalog/wizard_resources.h"

#include "catalog/wizard_results.h"

int32_t WizReadResource(ResType type, int32_t id, std::vector<uint8_t>* bytes)
{
    bytes->clear();
    for (const ResEntry& e : ResFileTable()) {
        if (e.type != type || e.id != id)
            continue;
        bytes->resize(e.data ? HandleGetSize(e.data) : e.size);
        if (bytes->empty())
            return kResNotFound;
        const int32_t err = ResFileReadInto(type, id, bytes->data(), int32_t(bytes->size()));
        if (err)
            bytes->clear();
        return err;
    }
    return kResNotFound;
}

int32_t WizNextResourceId(ResType type, int32_t* id)
{
    const int32_t next = ResFileNextId(type);
    if (next == -1) {
        // No resource of the type yet, or the highest id is the largest.
        if (ResFileCountType(type) > 0)
            return kWizMissing;
        *id = 1;
        return 0;
    }
    if (next < 1)
        return kWizMissing;
    *id = next;
    return 0;
}
