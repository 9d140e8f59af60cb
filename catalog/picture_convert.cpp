// Turning a picture file into the body of an item file.
#include <cstring>

#include "catalog/item_file.h"
#include "catalog/item_file_format.h"
#include "catalog/wizard_folders.h"
#include "foundation/file_io.h"
#include "foundation/scoped_wait_cursor.h"
#include "foundation/win_error.h"
#include "frames/image_file.h"
#include "graphics/metafile.h"

int32_t ConvertPictureFile(const PathRecord* source, Handle body, uint32_t* kind)
{
    if (!source || !body)
        return 1;
    ScopedWaitCursor wait;
    uint32_t tag = 0;
    uint8_t imageKind = 0;
    if (ImageClassifyFile(*source, &tag, &imageKind)) {
        DibHandleOwner picture(ImageLoadPicture(*source, tag, nullptr));
        if (!picture || DibHandleIsEmpty(picture.get()) || DibHandleToPacked(picture.get(), body) != 0)
            return 1;
        *kind = kWizPictureDib;
        return 0;
    }
    if (tag == kImageTagEmf || tag == kImageTagWmf) {
        if (MetafileFileToHandle(source, body) != 0)
            return 1;
        *kind = kWizPictureMetafile;
        return 0;
    }
    // EPS pictures and files of no known kind are not taken.
    return 1;
}

int32_t MakeItemFile(const PathRecord* source, const PathRecord* dest, uint8_t* header)
{
    HandleOwner body(HandleNew(0));
    uint32_t kind = 0;
    if (!body || ConvertPictureFile(source, body.get(), &kind) != 0)
        return 1;
    std::memset(header, 0, kItemHeaderSize);
    char name[kPathTextSize] = {};
    PathRecordGetFileName(source, name, int32_t(sizeof name));
    std::memcpy(header + kItemSourceAt, name, strnlen(name, kItemSourceSize - 1));
    PutU32LE(header + kItemKindAt, kind);
    return WriteItemFile(dest, header, body.get());
}

int32_t MakeNewItemFile(const PathRecord* source, int32_t folder, const char* pattern, PathRecord* file,
                        uint8_t* header)
{
    int32_t err = WizardFilePath(folder, pattern, file);
    if (err == kErrNone)
        err = MakeUniqueFileName(file);
    if (err != kErrNone)
        return err;
    return MakeItemFile(source, file, header);
}
