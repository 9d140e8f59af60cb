#include "catalog/template_list.h"

#include <cstring>
#include <vector>

#include "catalog/item_file.h"
#include "catalog/template_file.h"
#include "catalog/template_file_format.h"
#include "catalog/wizard_file_io.h"
#include "catalog/wizard_folders.h"
#include "catalog/wizard_list_files.h"
#include "catalog/wizard_list_format.h"
#include "catalog/wizard_resources.h"
#include "catalog/wizard_results.h"
#include "foundation/alerts.h"
#include "foundation/byte_order.h"
#include "foundation/file_io.h"
#include "foundation/resfile.h"
#include "foundation/win_error.h"

int32_t ReadTemplateInfo(int32_t id, uint8_t* info)
{
    std::memset(info, 0, kTmInSize);
    ListFileScope list(kWizListTemplates, kResReadOnly);
    if (list.result())
        return list.result();
    return ResFileReadInto(kWizTemplateType, id, info, kTmInSize);
}

int32_t WriteTemplateInfo(int32_t* id, const uint8_t* info)
{
    ListFileScope list(kWizListTemplates, kResReadWrite);
    if (list.result())
        return list.result();
    int32_t target = *id;
    if (target == 0) {
        if (int32_t err = WizNextResourceId(kWizTemplateType, &target))
            return err;
    }
    if (int32_t err = ResFilePut(kWizTemplateType, target, info, kTmInSize, 1))
        return err;
    *id = target;
    return 0;
}

int32_t RemoveTemplateInfo(int32_t id)
{
    ListFileScope list(kWizListTemplates, kResReadWrite);
    if (list.result())
        return list.result();
    return ResFileRemove(kWizTemplateType, id);
}

int32_t TemplateInfoFilePath(const uint8_t* info, PathRecord* path)
{
    const char* name = reinterpret_cast<const char*>(info + kTmInFileAt);
    if (!WizIsPlainFileName(name, kWizFileNameSize))
        return kWizMissing;
    return WizardFilePath(kWizFolderTemplates, name, path);
}

int32_t DeleteTemplate(int32_t id)
{
    uint8_t info[kTmInSize];
    if (int32_t err = ReadTemplateInfo(id, info))
        return err;
    if (int32_t err = RemoveTemplateInfo(id))
        return err;
    PathRecord path;
    if (TemplateInfoFilePath(info, &path) == 0)
        FileDelete(&path);
    return 0;
}

int32_t MoveTemplate(int32_t id, int32_t n)
{
    // The new order is the file's: it needs the list open for writing.
    ListFileScope list(kWizListTemplates, kResReadWrite);
    if (list.result())
        return list.result();
    return ResFileMoveToIndex(kWizTemplateType, id, n);
}

int32_t ListTemplates(Handle records, Handle ids, int32_t* count)
{
    *count = 0;
    if (!records || !ids)
        return kWizMissing;
    ListFileScope list(kWizListTemplates, kResReadOnly);
    if (list.result())
        return list.result();
    const int32_t n = ResFileCountType(kWizTemplateType);
    if (n < 0)
        return ResFileLastError();
    if (HandleResize(records, int32_t(size_t(n) * kTmInSize)) != 0 || HandleResize(ids, n * 4) != 0)
        return MemLastError();
    for (int32_t i = 0; i < n; ++i) {
        uint8_t* record = HandleData(records) + size_t(i) * kTmInSize;
        const int32_t id = ResFileGetIndexedId(kWizTemplateType, i + 1);
        const bool read = ResFileReadInto(kWizTemplateType, id, record, kTmInSize) == 0;
        if (!read)
            std::memset(record, 0, kTmInSize);
        PutU32LE(HandleData(ids) + i * 4, read ? uint32_t(id) : 0u);
    }
    *count = n;
    return 0;
}

int32_t ReadTemplateFile(const PathRecord* source, int32_t* id, uint8_t* info)
{
    uint8_t header[kTemplateHeaderSize];
    HandleOwner block1(HandleNew(0));
    HandleOwner block2(HandleNew(0));
    int32_t err = LoadTemplateFile(source, header, block1.get(), kTemplateDocumentBlock);
    if (err == kErrNone)
        err = LoadTemplateFile(source, header, block2.get(), kTemplatePreviewBlock);

    PathRecord copy;
    if (err == kErrNone && (err = WizardFilePath(kWizFolderTemplates, "tmpl.tp", &copy)) == kErrNone)
        err = MakeUniqueFileName(&copy);
    if (err == kErrNone) {
        PutU32LE(header + kTemplatePackedAt, 1);
        err = SaveTemplateFile(&copy, header, block1.get(), block2.get());
    }
    if (err == kErrNone) {
        std::memset(info, 0, kTmInSize);
        std::memcpy(info + kTmInHeaderAt, header + 4, kTmInHeaderSize);
        PutU32LE(info + kTmInPictureAt, 0);
        // The record names the template after the file it came from.
        WizPutName(info + kTmInNameAt, kWizFileNameSize, source->name);
        char fileName[kPathTextSize] = {};
        PathRecordGetFileName(&copy, fileName, int32_t(sizeof fileName));
        WizPutName(info + kTmInFileAt, kWizFileNameSize, fileName);
        int32_t newId = 0;
        err = WriteTemplateInfo(&newId, info);
        if (err == kErrNone)
            *id = newId;
        else
            FileDelete(&copy);
    }
    if (err != kErrNone)
        AlertStop("Error read template or template is old version.", err);
    return err;
}

namespace {

// The preview block of the template's file, with the file's header; null
// when the template or its file cannot be read.
Handle LoadPreviewBlock(int32_t id, uint8_t* header)
{
    uint8_t info[kTmInSize];
    PathRecord path;
    if (ReadTemplateInfo(id, info) != 0 || TemplateInfoFilePath(info, &path) != 0)
        return nullptr;
    HandleOwner data(HandleNew(0));
    if (!data || LoadTemplateFile(&path, header, data.get(), kTemplatePreviewBlock) != 0)
        return nullptr;
    return data.release();
}

}  // namespace

Handle LoadTemplatePreviewData(int32_t id)
{
    uint8_t header[kTemplateHeaderSize];
    return LoadPreviewBlock(id, header);
}

DibHandle LoadTemplatePreview(int32_t id)
{
    uint8_t header[kTemplateHeaderSize];
    HandleOwner data(LoadPreviewBlock(id, header));
    if (!data)
        return nullptr;
    DibHandleOwner picture;
    if (!picture || ItemPicture(data.get(), GetU32LE(header + kTemplateKindAt), picture.get()) != 0)
        return nullptr;
    return picture.release();
}

void TemplateInfoName(const uint8_t* info, char* buffer, int32_t size)
{
    WizGetName(info + kTmInNameAt, kWizFileNameSize, buffer, size);
}

void TemplateInfoSize(const uint8_t* info, double* width, double* height)
{
    *width = GetF64LE(info + kTmInWidthAt);
    *height = GetF64LE(info + kTmInHeightAt);
}
