#include "catalog/backdrop_list.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "catalog/backdrop_records.h"
#include "catalog/item_file.h"
#include "catalog/item_file_format.h"
#include "catalog/wizard_file_io.h"
#include "catalog/wizard_folders.h"
#include "catalog/wizard_list_files.h"
#include "catalog/wizard_list_format.h"
#include "catalog/wizard_resources.h"
#include "catalog/wizard_results.h"
#include "foundation/byte_order.h"
#include "foundation/file_io.h"
#include "foundation/resfile.h"
#include "foundation/win_error.h"

namespace {

// The group's record, checked. The list must be open.
int32_t ReadGroup(int32_t group, BackdropRecord* record, uint32_t* count)
{
    if (int32_t err = WizReadResource(kWizBackdropType, group, record))
        return err;
    return BackdropRecordCount(*record, count);
}

// Reads the group's record with the list open only for the read.
int32_t ReadListedGroup(int32_t group, BackdropRecord* record, uint32_t* count)
{
    ListFileScope list(kWizListBackdrops, kResReadOnly);
    if (list.result())
        return list.result();
    return ReadGroup(group, record, count);
}

int32_t WriteGroup(int32_t group, const BackdropRecord& record)
{
    return ResFilePut(kWizBackdropType, group, record.data(), int32_t(record.size()), 1);
}

// Reads the group's record, lets change alter it and writes it back. The
// list must be open to be written.
template <class Change>
int32_t ChangeGroup(int32_t group, Change change)
{
    BackdropRecord record;
    uint32_t count = 0;
    if (int32_t err = ReadGroup(group, &record, &count))
        return err;
    if (int32_t err = change(&record))
        return err;
    return WriteGroup(group, record);
}

}  // namespace

int32_t GetGroupItemCount(int32_t group, int32_t* count)
{
    *count = 0;
    BackdropRecord record;
    uint32_t n = 0;
    if (int32_t err = ReadListedGroup(group, &record, &n))
        return err;
    *count = int32_t(std::min<uint32_t>(n, INT32_MAX));
    return 0;
}

int32_t GetBackdropItem(int32_t group, int32_t n, uint8_t* item)
{
    BackdropRecord record;
    uint32_t count = 0;
    if (int32_t err = ReadListedGroup(group, &record, &count))
        return err;
    return BackdropRecordGet(record, n, item);
}

int32_t PutBackdropItem(int32_t* group, int32_t* n, const uint8_t* item)
{
    ListFileScope list(kWizListBackdrops, kResReadWrite);
    if (list.result())
        return list.result();
    BackdropRecord record;
    int32_t target = *group;
    int32_t number = *n;
    if (target == 0) {
        if (int32_t err = WizNextResourceId(kWizBackdropType, &target))
            return err;
        record = BackdropRecordNew();
        number = 0;
    } else {
        uint32_t count = 0;
        if (int32_t err = ReadGroup(target, &record, &count))
            return err;
    }
    if (int32_t err = BackdropRecordPut(&record, uint32_t(target), &number, item))
        return err;
    if (int32_t err = WriteGroup(target, record))
        return err;
    *group = target;
    *n = number;
    return 0;
}

int32_t RemoveBackdropItem(int32_t group, int32_t n)
{
    ListFileScope list(kWizListBackdrops, kResReadWrite);
    if (list.result())
        return list.result();
    if (n == 0)
        return ResFileRemove(kWizBackdropType, group);
    return ChangeGroup(group, [n](BackdropRecord* record) { return BackdropRecordRemove(record, n); });
}

int32_t MoveBackdropItem(int32_t group, int32_t from, int32_t to)
{
    ListFileScope list(kWizListBackdrops, kResReadWrite);
    if (list.result())
        return list.result();
    if (from == 0)
        return ResFileMoveToIndex(kWizBackdropType, group, to);
    return ChangeGroup(group, [from, to](BackdropRecord* record) { return BackdropRecordMove(record, from, to); });
}

int32_t BackdropItemFilePath(const uint8_t* item, PathRecord* path)
{
    const char* name = reinterpret_cast<const char*>(item + kBkItemFileAt);
    if (!WizIsPlainFileName(name, kWizFileNameSize))
        return kWizMissing;
    return WizardFilePath(kWizFolderBackdrops, name, path);
}

int32_t DeleteBackdrop(int32_t group, int32_t n)
{
    ListFileScope list(kWizListBackdrops, kResReadWrite);
    if (list.result())
        return list.result();
    BackdropRecord record;
    uint32_t count = 0;
    if (int32_t err = ReadGroup(group, &record, &count))
        return err;
    std::vector<std::vector<uint8_t>> removed;
    if (n == 0) {
        for (uint32_t i = count; i >= 1; --i) {
            std::vector<uint8_t> item(kBkItemSize);
            BackdropRecordGet(record, int32_t(i), item.data());
            removed.push_back(std::move(item));
        }
        if (int32_t err = ResFileRemove(kWizBackdropType, group))
            return err;
    } else {
        std::vector<uint8_t> item(kBkItemSize);
        if (int32_t err = BackdropRecordGet(record, n, item.data()))
            return err;
        if (int32_t err = BackdropRecordRemove(&record, n))
            return err;
        if (int32_t err = WriteGroup(group, record))
            return err;
        removed.push_back(std::move(item));
    }
    // The records are gone first; a file that cannot be deleted is only
    // left over.
    for (const std::vector<uint8_t>& item : removed) {
        PathRecord path;
        if (BackdropItemFilePath(item.data(), &path) == 0)
            FileDelete(&path);
    }
    return 0;
}

int32_t ListBackdropGroups(Handle items, Handle ids, int32_t* count)
{
    *count = 0;
    if (!items || !ids)
        return kWizMissing;
    ListFileScope list(kWizListBackdrops, kResReadOnly);
    if (list.result())
        return list.result();
    const int32_t n = ResFileCountType(kWizBackdropType);
    if (n < 0)
        return ResFileLastError();
    if (HandleResize(items, int32_t(size_t(n) * kBkItemSize)) != 0 || HandleResize(ids, n * 4) != 0)
        return MemLastError();
    for (int32_t i = 0; i < n; ++i) {
        const int32_t id = ResFileGetIndexedId(kWizBackdropType, i + 1);
        uint8_t* item = HandleData(items) + size_t(i) * kBkItemSize;
        BackdropRecord record;
        uint32_t itemCount = 0;
        std::memset(item, 0, kBkItemSize);
        // A group without items still names its (empty) first slot.
        if (ReadGroup(id, &record, &itemCount) == 0 && record.size() >= kBkInHeadSize + kBkItemSize)
            std::memcpy(item, record.data() + kBkInHeadSize, kBkItemSize);
        PutU32LE(HandleData(ids) + i * 4, uint32_t(id));
    }
    *count = n;
    return 0;
}

std::vector<BackdropGroupEntry> BackdropGroupEntries()
{
    std::vector<BackdropGroupEntry> groups;
    HandleOwner items(HandleNew(0));
    HandleOwner ids(HandleNew(0));
    int32_t count = 0;
    if (!items || !ids || ListBackdropGroups(items.get(), ids.get(), &count) != 0)
        return groups;
    for (int32_t i = 0; i < count; ++i) {
        char name[256] = {};
        BackdropItemName(HandleData<uint8_t>(items.get()) + size_t(i) * kBkItemSize, name, int32_t(sizeof name));
        groups.push_back({name, GetU32LE(HandleData<uint8_t>(ids.get()) + size_t(i) * 4)});
    }
    return groups;
}

int32_t ListGroupItemNames(int32_t group, Handle names, int32_t* count)
{
    *count = 0;
    if (!names)
        return kWizMissing;
    BackdropRecord record;
    uint32_t n = 0;
    if (int32_t err = ReadListedGroup(group, &record, &n))
        return err;
    if (HandleResize(names, int32_t(size_t(n) * kWizFileNameSize)) != 0)
        return MemLastError();
    for (uint32_t i = 0; i < n; ++i) {
        const uint8_t* item = record.data() + kBkInHeadSize + size_t(i) * kBkItemSize;
        WizPutName(HandleData(names) + size_t(i) * kWizFileNameSize, kWizFileNameSize,
                   reinterpret_cast<const char*>(item + kBkItemNameAt));
    }
    *count = int32_t(n);
    return 0;
}

int32_t ReadBackdropFile(const PathRecord* source, const char* name, int32_t* group, int32_t* n, uint8_t* item)
{
    PathRecord file;
    uint8_t header[kItemHeaderSize];
    int32_t err = MakeNewItemFile(source, kWizFolderBackdrops, "bckp.bp", &file, header);
    if (err != kErrNone)
        return err;

    std::memset(item, 0, kBkItemSize);
    std::memcpy(item + kBkItemHeaderAt, header + 68, kBkItemHeaderSize);
    char fileName[kPathTextSize] = {};
    PathRecordGetFileName(&file, fileName, int32_t(sizeof fileName));
    WizPutName(item + kBkItemFileAt, kWizFileNameSize, fileName);
    char sourceName[kPathTextSize] = {};
    PathRecordGetFileName(source, sourceName, int32_t(sizeof sourceName));
    WizPutName(item + kBkItemSourceAt, kWizFileNameSize, sourceName);
    PutU32LE(item + kBkItemPictureAt, 0);
    WizPutName(item + kBkItemNameAt, kWizFileNameSize, name && *name ? name : source->name);

    if ((err = PutBackdropItem(group, n, item)) != kErrNone) {
        FileDelete(&file);
        return err;
    }
    PutU32LE(item + kBkItemGroupAt, uint32_t(*group));
    PutU32LE(item + kBkItemNumberAt, uint32_t(*n));
    return 0;
}

namespace {

int32_t ReadItemBody(int32_t group, int32_t n, uint8_t* header, Handle body)
{
    uint8_t item[kBkItemSize];
    if (int32_t err = GetBackdropItem(group, n, item))
        return err;
    PathRecord path;
    if (int32_t err = BackdropItemFilePath(item, &path))
        return err;
    return ReadItemFile(&path, header, body);
}

}  // namespace

DibHandle GetBackdropPicture(int32_t group, int32_t n)
{
    uint8_t header[kItemHeaderSize];
    HandleOwner body(HandleNew(0));
    if (!body || ReadItemBody(group, n, header, body.get()) != 0)
        return nullptr;
    DibHandleOwner picture;
    if (!picture || ItemPicture(body.get(), GetU32LE(header + kItemKindAt), picture.get()) != 0)
        return nullptr;
    return picture.release();
}

int32_t GetBackdropPictureData(int32_t group, int32_t n, uint32_t* kind, Handle* data)
{
    *data = nullptr;
    uint8_t header[kItemHeaderSize];
    HandleOwner body(HandleNew(0));
    if (!body)
        return MemLastError();
    if (int32_t err = ReadItemBody(group, n, header, body.get()))
        return err;
    const uint32_t pictureKind = GetU32LE(header + kItemKindAt);
    if (pictureKind == kWizPictureDib) {
        DibHandleOwner picture;
        if (!picture || ItemPicture(body.get(), pictureKind, picture.get()) != 0)
            return kWizMissing;
        *data = picture.release();
    } else if (pictureKind == kWizPictureEps || pictureKind == kWizPictureMetafile) {
        *data = body.release();
    } else {
        return kWizMissing;
    }
    *kind = pictureKind;
    return 0;
}

void BackdropItemName(const uint8_t* item, char* buffer, int32_t size)
{
    WizGetName(item + kBkItemNameAt, kWizFileNameSize, buffer, size);
}
