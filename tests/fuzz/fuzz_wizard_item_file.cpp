// Reads arbitrary bytes as a wizard item file and as a template file. A
// body must come out only at the size the header promises, and never cost
// more memory than the header's checked sizes allow.

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "catalog/item_file.h"
#include "catalog/item_file_format.h"
#include "catalog/template_file.h"
#include "catalog/template_file_format.h"
#include "foundation/byte_order.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    uint8_t header[kTemplateHeaderSize];
    HandleOwner body(HandleNew(0));
    if (ParseItemFile(data, size, header, body.get()) == 0 && HandleGetSize(body.get()) != GetU32LE(header + kItemSizeAt))
        abort();
    for (int32_t which : {kTemplatePreviewBlock, kTemplateDocumentBlock}) {
        if (ParseTemplateFile(data, size, header, body.get(), which) == 0 &&
            HandleGetSize(body.get()) !=
                GetU32LE(header + (which == kTemplatePreviewBlock ? kTemplateSize2At : kTemplateSize1At)))
            abort();
    }
    return 0;
}
