// The start-up check of the list files: version, conversion of an older
// backdrop list, and creating a list afresh. A list is always rebuilt
// beside the old one and put in its place in one step, so a crash leaves
// the old list or the new one, never a mixture.
#include <vector>

#include "catalog/backdrop_records.h"
#include "catalog/wizard_folders.h"
#include "catalog/wizard_list_files.h"
#include "catalog/wizard_list_format.h"
#include "catalog/wizard_messages.h"
#include "catalog/wizard_results.h"
#include "foundation/alerts.h"
#include "foundation/byte_order.h"
#include "foundation/file_io.h"
#include "foundation/resfile.h"
#include "foundation/win_error.h"

namespace {

struct Resource {
    ResType type;
    int32_t id;
    std::vector<uint8_t> data;
};

uint32_t ExpectedVersion(int32_t selector)
{
    return selector == kWizListTemplates ? kWizTemplateListVersion : kWizBackdropListVersion;
}

// Writes the resources, in their order, into a new list file that then
// takes the place of path. Not through ReplaceFileWhole: the resource file
// layer opens the new file by its name and keeps it open until its index is
// written, so it cannot be handed an open file.
int32_t WriteListFile(const PathRecord& path, const std::vector<Resource>& resources)
{
    PathRecord temp;
    RemoveStaleTempFiles(&path, "WIZ");
    int32_t err = CreateTempFileName(&path, "WIZ", &temp);
    if (err != kErrNone)
        return err;
    const FileHandle file = ResFileOpen(&temp, kResReadWrite);
    if (file == kNoFile) {
        err = ResFileLastError();
    } else {
        err = ResFileGetMode() == kResReadWrite ? ResFileUse(file, kResReadWrite) : kErrAccessDenied;
        for (const Resource& r : resources) {
            if (err != kErrNone)
                break;
            err = ResFilePut(r.type, r.id, r.data.data(), int32_t(r.data.size()), 1);
        }
        const int32_t closed = ResFileClose(file);
        if (err == kErrNone)
            err = closed;
    }
    if (err == kErrNone)
        err = FileReplace(&temp, &path);
    if (err != kErrNone)
        FileDelete(&temp);
    return err;
}

std::vector<uint8_t> VersionRecord(uint32_t version)
{
    std::vector<uint8_t> record(kWizVersionSize, 0);
    PutU32LE(record.data() + kWizVersionAt, version);
    return record;
}

int32_t ReadAllResources(std::vector<Resource>* resources)
{
    for (const ResEntry& e : ResFileTable()) {
        Resource r{e.type, e.id, std::vector<uint8_t>(e.size)};
        if (int32_t err = ResFileReadInto(e.type, e.id, r.data.data(), int32_t(e.size)))
            return err;
        resources->push_back(std::move(r));
    }
    return 0;
}

// Every group in the current item form and version 4; 2 on any failure.
int32_t ConvertBackdropList(const PathRecord& path, std::vector<Resource> resources)
{
    for (Resource& r : resources) {
        if (r.type == kWizBackdropType) {
            BackdropRecord converted;
            if (BackdropRecordConvert(r.data.data(), r.data.size(), &converted) != 0)
                return kWizWrongCode;
            r.data = std::move(converted);
        } else if (r.type == kWizVersionType && r.id == kWizVersionId) {
            r.data = VersionRecord(kWizBackdropListVersion);
        }
    }
    if (WriteListFile(path, resources) != kErrNone)
        return kWizWrongCode;
    AlertNote("Backdrop Rsrc was converted successful.", 0);
    return 0;
}

}  // namespace

int32_t CreateWizardListFile(int32_t selector)
{
    PathRecord path;
    int32_t err = WizardListFilePath(&path, selector);
    if (err == kErrNone)
        err = WriteListFile(path, {Resource{kWizVersionType, kWizVersionId, VersionRecord(ExpectedVersion(selector))}});
    if (err != kErrNone)
        AlertStopById(kWizMessageBase, kWizMsgCreationError, 0);
    return err;
}

int32_t CheckWizardListFile(int32_t selector)
{
    PathRecord path;
    if (int32_t err = WizardListFilePath(&path, selector))
        return err;
    if (!FileExists(&path, 0))
        return CreateWizardListFile(selector);

    const FileHandle file = ResFileOpen(&path, kResReadWrite);
    if (file == kNoFile)
        return ResFileLastError();
    const int16_t mode = ResFileGetMode();
    int32_t result = ResFileUse(file, mode);
    uint32_t version = 0;
    if (result == 0) {
        uint8_t record[kWizVersionSize];
        result = ResFileReadInto(kWizVersionType, kWizVersionId, record, kWizVersionSize);
        version = GetU32LE(record + kWizVersionAt);
    }
    std::vector<Resource> resources;
    bool convert = false;
    if (result == 0 && version != ExpectedVersion(selector)) {
        convert = mode == kResReadWrite && selector == kWizListBackdrops && version == kWizOldBackdropListVersion &&
                  ReadAllResources(&resources) == 0;
        if (!convert)
            result = kWizWrongCode;
    }
    ResFileClose(file);
    if (convert)
        result = ConvertBackdropList(path, std::move(resources));

    if (result == kWizWrongCode) {
        if (AlertConfirmById(kWizMessageBase, kWizMsgListOldVersion, 0) == 1)
            return CreateWizardListFile(selector);
        return result;
    }
    // A file without its version record, and one that is no resource file
    // at all, cannot be the list.
    if (result == kResNotFound || result == kResBadFile) {
        if (AlertConfirmById(kWizMessageBase, kWizMsgListNoVersion, 0) == 1)
            return CreateWizardListFile(selector);
    }
    return result;
}
