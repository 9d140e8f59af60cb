#include "frames/frame_obj_image.h"

#include <algorithm>
#include <vector>

#include "foundation/byte_order.h"
#include "foundation/win_error.h"
#include "frames/ctfile_mng.h"
#include "frames/frame_document.h"

namespace {

constexpr uint32_t kCopyChunk = 64 * 1024;

// Copies n bytes from the swap file at position to where file stands.
int32_t CopyFromSwap(CTFileMng* swap, uint32_t position, uint32_t n, FileHandle file)
{
    std::vector<uint8_t> buffer(std::min(n, kCopyChunk));
    for (uint32_t done = 0; done < n;) {
        const uint32_t step = std::min(n - done, kCopyChunk);
        int32_t err = swap->ReadAt(position + done, step, buffer.data());
        if (err == kErrNone)
            err = FileWrite(file, buffer.data(), step);
        if (err != kErrNone)
            return err;
        done += step;
    }
    return kErrNone;
}

// Copies a stretch of the swap file to a new stretch of it.
uint32_t DuplicateInSwap(CTFileMng* swap, uint32_t position, uint32_t n)
{
    if (uint64_t(position) + n > swap->GetFileSize())
        return kNoSwapPosition;
    std::vector<uint8_t> bytes(n);
    if (n && swap->ReadAt(position, n, bytes.data()) != kErrNone)
        return kNoSwapPosition;
    const uint32_t at = swap->Allocate(n);
    if (at == kNoSwapPosition)
        return at;
    if (n && swap->WriteAt(at, n, bytes.data()) != kErrNone) {
        swap->FreeSpace(at, n);
        return kNoSwapPosition;
    }
    return at;
}

}  // namespace

void ClearImageStorePlaces(ImageBlockB* b)
{
    b->previewStored = 0;
    b->previewPosition = kImageNoPosition;
    b->imageStored = 0;
    b->imagePosition = kImageNoPosition;
    b->rotatedStored = 0;
    b->rotatedPosition = kImageNoPosition;
    b->rotatedAngle = 0;
    b->rotationPending = 1;
}

FrameObjImage::FrameObjImage()
{
    a_.fit = 1;
    a_.hScale = 100.0f;
    a_.vScale = 100.0f;
    a_.keepInDocument = 1;
    a_.tag = FourCC("PICT");
    a_.printPicture = 1;
    a_.displayPicture = 1;
    b_.previewPosition = kImageNoPosition;
    b_.imagePosition = kImageNoPosition;
    b_.rotatedPosition = kImageNoPosition;
}

CTFileMng* FrameObjImage::Swap() const { return document_ ? document_->SwapFile() : nullptr; }

uint32_t FrameObjImage::DataSize() const { return FrameObjRect::DataSize() + kImageBlocksSize; }

int32_t FrameObjImage::WritePicture(FileHandle file, ImageBlockB* written)
{
    CTFileMng* swap = Swap();
    if (!a_.keepInDocument || !swap)
        return 0;
    const bool metafile = a_.kind == kImageKindMetafile;
    const uint32_t stored = metafile ? b_.previewStored : b_.imageStored;
    const uint32_t position = metafile ? b_.previewPosition : b_.imagePosition;
    const uint32_t length = metafile ? b_.previewLength : a_.imageStoreLength;
    if (!stored || position == kImageNoPosition)
        return 0;
    uint32_t here = 0;
    int32_t err = FileTell(file, &here);
    if (err == kErrNone)
        err = CopyFromSwap(swap, position, length, file);
    if (err != kErrNone)
        return err;
    if (metafile) {
        written->previewStored = 1;
        written->previewPosition = here;
        written->previewLength = length;
    } else {
        written->imageStored = 1;
        written->imagePosition = here;
    }
    return 0;
}

int32_t FrameObjImage::WriteBody(FileHandle file, BlockTarget target)
{
    const int32_t result = FrameObjRect::WriteBody(file, target);
    if (result != 0)
        return result;
    uint8_t bytes[kImageBlocksSize];
    ImageBlockB b = b_;
    if (target == BlockTarget::kDocument)
        ClearImageStorePlaces(&b);
    PutImageBlockA(bytes, a_);
    PutImageBlockB(bytes + kImageBlockASize, b);
    uint32_t blockB = 0;
    int32_t err = FileTell(file, &blockB);
    blockB += kImageBlockASize;
    if (err == kErrNone)
        err = FileWrite(file, bytes, sizeof bytes);
    if (err != kErrNone || target != BlockTarget::kDocument)
        return err;

    // The picture goes behind the blocks; then block B is rewritten in
    // place with where it went, and the file is left at its end.
    ImageBlockB patched = b;
    err = WritePicture(file, &patched);
    if (err != kErrNone || (patched.imageStored == 0 && patched.previewStored == 0))
        return err;
    uint32_t end = 0;
    err = FileTell(file, &end);
    PutImageBlockB(bytes + kImageBlockASize, patched);
    if (err == kErrNone)
        err = FileSeek(file, kSeekStart, int32_t(blockB));
    if (err == kErrNone)
        err = FileWrite(file, bytes + kImageBlockASize, kImageBlockBSize);
    if (err == kErrNone)
        err = FileSeek(file, kSeekStart, int32_t(end));
    return err;
}

int32_t FrameObjImage::ReadPicture(FileHandle file, ImageBlockB* read)
{
    ImageBlockB found = *read;
    ClearImageStorePlaces(read);
    read->rotationPending = found.rotationPending;
    read->rotatedAngle = found.rotatedAngle;
    CTFileMng* swap = Swap();
    if (!swap)
        return 0;
    if (found.previewStored && found.previewPosition != kImageNoPosition) {
        Handle bits = nullptr;
        int32_t err = FileSeek(file, kSeekStart, int32_t(found.previewPosition));
        if (err == kErrNone)
            err = ReadHandleFromFile(file, found.previewLength, &bits);
        if (err != kErrNone)
            return err;
        b_ = *read;
        err = StorePreviewBytes(HandleData(bits), HandleGetSize(bits));
        HandleFree(bits);
        *read = b_;
        if (err != 0)
            return err;
    }
    if (found.imageStored && found.imagePosition != kImageNoPosition) {
        uint8_t sizeBytes[4];
        int32_t err = FileSeek(file, kSeekStart, int32_t(found.imagePosition));
        if (err == kErrNone)
            err = FileRead(file, sizeBytes, 4);
        Handle picture = nullptr;
        if (err == kErrNone)
            err = ReadHandleFromFile(file, GetU32LE(sizeBytes), &picture);
        if (err != kErrNone)
            return err;
        std::vector<uint8_t> storeForm(4 + HandleGetSize(picture));
        PutU32LE(storeForm.data(), HandleGetSize(picture));
        std::copy(HandleData(picture), HandleData(picture) + HandleGetSize(picture), storeForm.begin() + 4);
        HandleFree(picture);
        b_ = *read;
        err = StoreImageBytes(storeForm.data(), uint32_t(storeForm.size()));
        *read = b_;
        if (err != 0)
            return err;
    }
    return 0;
}

int32_t FrameObjImage::ReadBody(FileHandle file, BlockTarget target)
{
    const int32_t result = FrameObjRect::ReadBody(file, target);
    if (result != 0)
        return result;
    uint8_t bytes[kImageBlocksSize];
    int32_t err = FileRead(file, bytes, sizeof bytes);
    if (err != kErrNone) {
        a_ = ImageBlockA{};
        b_ = ImageBlockB{};
        return err;
    }
    const ImageBlockA a = GetImageBlockA(bytes);
    ImageBlockB b = GetImageBlockB(bytes + kImageBlockASize);
    a_ = a;
    b_ = b;
    if (target == BlockTarget::kSwap) {
        redrawPending_ = 1;
        maskStale_ = 1;
        return 0;
    }
    uint32_t end = 0;
    FileTell(file, &end);
    err = ReadPicture(file, &b);
    if (err != kErrNone) {
        a_ = ImageBlockA{};
        b_ = ImageBlockB{};
        return err;
    }
    b_ = b;
    // The file is left behind the blocks and the picture that follows.
    uint32_t here = 0;
    FileTell(file, &here);
    FileSeek(file, kSeekStart, int32_t(std::max(end, here)));
    return 0;
}

int32_t FrameObjImage::StoreImageBytes(const uint8_t* storeForm, uint32_t length)
{
    CTFileMng* swap = Swap();
    if (!swap)
        return 1;
    const uint32_t at = swap->Allocate(length);
    if (at == kNoSwapPosition)
        return 1;
    if (swap->WriteAt(at, length, storeForm) != kErrNone) {
        swap->FreeSpace(at, length);
        return 1;
    }
    if (b_.imageStored && b_.imagePosition != kImageNoPosition)
        swap->FreeSpace(b_.imagePosition, a_.imageStoreLength);
    b_.imageStored = 1;
    b_.imagePosition = at;
    a_.imageStoreLength = length;
    return 0;
}

int32_t FrameObjImage::StorePreviewBytes(const uint8_t* bits, uint32_t length)
{
    CTFileMng* swap = Swap();
    if (!swap)
        return 1;
    const uint32_t at = swap->Allocate(length);
    if (at == kNoSwapPosition)
        return 1;
    if (swap->WriteAt(at, length, bits) != kErrNone) {
        swap->FreeSpace(at, length);
        return 1;
    }
    if (b_.previewStored && b_.previewPosition != kImageNoPosition)
        swap->FreeSpace(b_.previewPosition, b_.previewLength);
    b_.previewStored = 1;
    b_.previewPosition = at;
    b_.previewLength = length;
    return 0;
}

void FrameObjImage::ReleaseImage(bool dropStore)
{
    CTFileMng* swap = Swap();
    if (!dropStore || !swap)
        return;
    if (b_.imageStored && b_.imagePosition != kImageNoPosition)
        swap->FreeSpace(b_.imagePosition, a_.imageStoreLength);
    if (b_.rotatedStored && b_.rotatedPosition != kImageNoPosition)
        swap->FreeSpace(b_.rotatedPosition, b_.rotatedLength);
    b_.imageStored = 0;
    b_.imagePosition = kImageNoPosition;
    b_.rotatedStored = 0;
    b_.rotatedPosition = kImageNoPosition;
    modified_ = 1;
}

void FrameObjImage::ReleasePreview(bool dropStore)
{
    CTFileMng* swap = Swap();
    if (!dropStore || !swap)
        return;
    if (b_.previewStored && b_.previewPosition != kImageNoPosition)
        swap->FreeSpace(b_.previewPosition, b_.previewLength);
    b_.previewStored = 0;
    b_.previewPosition = kImageNoPosition;
    modified_ = 1;
}

int32_t FrameObjImage::CopyTo(FrameObj* destination)
{
    FrameObjRect::CopyTo(destination);
    auto* d = dynamic_cast<FrameObjImage*>(destination);
    if (!d)
        return 0;
    d->a_ = a_;
    d->b_ = b_;
    d->a_.reserved = 0;
    ClearImageStorePlaces(&d->b_);
    CTFileMng* swap = Swap();
    if (!swap)
        return 0;
    int32_t result = 0;
    if (b_.imageStored && b_.imagePosition != kImageNoPosition) {
        const uint32_t at = DuplicateInSwap(swap, b_.imagePosition, a_.imageStoreLength);
        if (at == kNoSwapPosition) {
            result = 1;
        } else {
            d->b_.imageStored = 1;
            d->b_.imagePosition = at;
        }
    }
    if (b_.previewStored && b_.previewPosition != kImageNoPosition) {
        const uint32_t at = DuplicateInSwap(swap, b_.previewPosition, b_.previewLength);
        if (at == kNoSwapPosition) {
            result = 1;
        } else {
            d->b_.previewStored = 1;
            d->b_.previewPosition = at;
        }
    }
    return result;
}
