// Reading template files.
#include <cstring>
#include <vector>

#include "catalog/stored_block.h"
#include "catalog/template_file.h"
#include "catalog/template_file_format.h"
#include "catalog/wizard_file_io.h"
#include "catalog/wizard_results.h"
#include "foundation/byte_order.h"
#include "foundation/win_error.h"

int32_t ParseTemplateFile(const uint8_t* bytes, size_t size, uint8_t* header, Handle data, int32_t which)
{
    std::memset(header, 0, kTemplateHeaderSize);
    if (size < kTemplateHeaderSize) {
        std::memcpy(header, bytes, size);
        return kErrHandleEof;
    }
    std::memcpy(header, bytes, kTemplateHeaderSize);
    if (GetU32LE(header + kTemplateCodeAt) != kTemplateFileCode)
        return kWizWrongCode;
    if (GetU32LE(header + kTemplateVersionAt) != kTemplateFileVersion)
        return kWizWrongVersion;
    if (!data)
        return 0;
    const bool packed = GetU32LE(header + kTemplatePackedAt) != 0;
    const uint32_t size1 = GetU32LE(header + kTemplateSize1At);
    const uint32_t stored1 = packed ? GetU32LE(header + kTemplateStored1At) : size1;
    if (which != kTemplatePreviewBlock)
        return WizReadBlock(bytes, size, kTemplateHeaderSize, size1, stored1, packed, data);
    return WizReadBlock(bytes, size, kTemplateHeaderSize + size_t(stored1), GetU32LE(header + kTemplateSize2At),
                        GetU32LE(header + kTemplateStored2At), packed, data);
}

int32_t LoadTemplateFile(const PathRecord* path, uint8_t* header, Handle data, int32_t which)
{
    std::memset(header, 0, kTemplateHeaderSize);
    std::vector<uint8_t> bytes;
    if (int32_t err = WizReadFile(*path, &bytes))
        return err;
    return ParseTemplateFile(bytes.data(), bytes.size(), header, data, which);
}
