#include "catalog/wizard_designs.h"

#include <string>

#include "catalog/item_file.h"
#include "catalog/item_file_format.h"
#include "catalog/wiz_tree_format.h"
#include "catalog/wizard_file_io.h"
#include "catalog/wizard_folders.h"
#include "catalog/wizard_results.h"
#include "foundation/byte_order.h"
#include "foundation/file_io.h"
#include "foundation/win_error.h"

namespace {

DibHandle ItemFilePicture(const PathRecord& path)
{
    uint8_t header[kItemHeaderSize];
    HandleOwner body(HandleNew(0));
    if (!body || ReadItemFile(&path, header, body.get()) != 0)
        return nullptr;
    DibHandleOwner picture;
    if (!picture || ItemPicture(body.get(), GetU32LE(header + kItemKindAt), picture.get()) != 0)
        return nullptr;
    return picture.release();
}

int32_t DesignPath(const char* name, PathRecord* path)
{
    if (!name || !WizIsPlainFileName(name, kWizNameSize))
        return kWizMissing;
    return WizardFilePath(kWizFolderDesigns, name, path);
}

int32_t HeaderPath(int32_t number, PathRecord* path)
{
    return WizardFilePath(kWizFolderDesigns, ("hdrp" + std::to_string(number) + ".sp").c_str(), path);
}

}  // namespace

int32_t MakeDesignFile(const PathRecord* source, char* name, int32_t size)
{
    PathRecord file;
    uint8_t header[kItemHeaderSize];
    if (int32_t err = MakeNewItemFile(source, kWizFolderDesigns, "docp.dp", &file, header); err != kErrNone)
        return err;
    char fileName[kPathTextSize] = {};
    PathRecordGetFileName(&file, fileName, int32_t(sizeof fileName));
    WizGetName(reinterpret_cast<const uint8_t*>(fileName), sizeof fileName, name, size);
    return 0;
}

DibHandle LoadDesignPicture(const char* name)
{
    PathRecord path;
    if (DesignPath(name, &path) != 0)
        return nullptr;
    return ItemFilePicture(path);
}

void DeleteDesignFile(const char* name)
{
    PathRecord path;
    if (DesignPath(name, &path) == 0)
        FileDelete(&path);
}

int32_t SaveHeaderPicture(const PathRecord* source, int32_t number)
{
    PathRecord path;
    if (int32_t err = HeaderPath(number, &path))
        return err;
    uint8_t header[kItemHeaderSize];
    return MakeItemFile(source, &path, header);
}

DibHandle GetHeaderPicture(int32_t number)
{
    PathRecord path;
    if (HeaderPath(number, &path) == 0) {
        if (DibHandle picture = ItemFilePicture(path))
            return picture;
    }
    DibHandleOwner fallback;
    const int32_t id = number < 1000 ? kWizBitmapHeader : kWizBitmapDefault;
    if (!fallback || DibHandleFromResource(id, fallback.get()) != 0)
        return nullptr;
    return fallback.release();
}
