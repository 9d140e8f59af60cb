// Writing template files.
#include <cstring>
#include <vector>

#include "catalog/stored_block.h"
#include "catalog/template_file.h"
#include "catalog/template_file_format.h"
#include "catalog/wizard_file_io.h"
#include "catalog/wizard_results.h"
#include "foundation/byte_order.h"
#include "foundation/win_error.h"

int32_t SaveTemplateFile(const PathRecord* path, uint8_t* header, Handle block1, Handle block2)
{
    const uint32_t size1 = HandleGetSize(block1);
    const uint32_t size2 = HandleGetSize(block2);
    PutU32LE(header + kTemplateCodeAt, kTemplateFileCode);
    PutU32LE(header + kTemplateVersionAt, kTemplateFileVersion);
    PutU32LE(header + kTemplateSize1At, size1);
    PutU32LE(header + kTemplateSize2At, size2);
    PutU32LE(header + kTemplateStored1At, 0);
    PutU32LE(header + kTemplateStored2At, 0);

    WizBytes stored1{HandleData(block1), size1};
    WizBytes stored2{HandleData(block2), size2};
    HandleOwner packed1(HandleNew(0));
    HandleOwner packed2(HandleNew(0));
    if (GetU32LE(header + kTemplatePackedAt) != 0) {
        if (WizPackBlock(block2, packed2.get()) && WizPackBlock(block1, packed1.get())) {
            stored1 = {HandleData(packed1.get()), HandleGetSize(packed1.get())};
            stored2 = {HandleData(packed2.get()), HandleGetSize(packed2.get())};
            PutU32LE(header + kTemplateStored1At, uint32_t(stored1.size));
            PutU32LE(header + kTemplateStored2At, uint32_t(stored2.size));
        } else {
            PutU32LE(header + kTemplatePackedAt, 0);
        }
    }
    return WizWriteFile(*path, {WizBytes{header, kTemplateHeaderSize}, stored1, stored2});
}
