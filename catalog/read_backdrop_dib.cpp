#include "catalog/read_backdrop_dib.h"

#include "catalog/item_file.h"
#include "catalog/item_file_format.h"
#include "foundation/byte_order.h"
#include "foundation/handle.h"

DibHandle ReadBackdropDib(const PathRecord& path)
{
    uint8_t header[kItemHeaderSize];
    HandleOwner body(HandleNew(0));
    if (!body || ReadItemFile(&path, header, body.get()) != 0)
        return nullptr;
    DibHandleOwner picture(DibHandleNew());
    if (!picture.get() || ItemPicture(body.get(), GetU32LE(header + kItemKindAt), picture.get()) != 0)
        return nullptr;
    return picture.release();
}
