#include "frames/frame_obj_image.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include <QCursor>
#include <QHash>
#include <QDir>
#include <QGuiApplication>

#include "foundation/alerts.h"
#include "foundation/byte_order.h"
#include "foundation/cursors.h"
#include "foundation/file_io.h"
#include "foundation/int_math.h"
#include "foundation/long_work.h"
#include "foundation/program_folder.h"
#include "foundation/win_error.h"
#include "foundation/string_table.h"
#include "frames/content_frame_host.h"
#include "frames/frame_font.h"
#include "frames/ctfile_mng.h"
#include "frames/frame_document.h"
#include "frames/frame_view_services.h"
#include "frames/image_postscript.h"
#include "frames/picture_file_lookup.h"
#include "frames/pointer_poll.h"
#include "frames/turned_paper_pictures.h"
#include "frames/wrap_point_list.h"
#include "graphics/dib_draw.h"
#include "graphics/offscreen_dc.h"
#include "graphics/placement.h"
#include "graphics/postscript.h"
#include "graphics/ps_text_builders.h"
#include "graphics/rotation.h"
#include "frames/image_file.h"
#include "frames/image_geometry.h"
#include "frames/visible_part.h"
#include "frames/image_metafile.h"
#include "frames/metafile_failures.h"
#include "graphics/corner_quad.h"
#include "graphics/dib_derived.h"
#include "graphics/dib_imaging.h"
#include "graphics/dib_serial.h"
#include "graphics/ghostscript.h"
#include "graphics/picture_loader.h"
#include "platform/dc.h"
#include "platform/paper_blit.h"

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

FrameObjImage::~FrameObjImage()
{
    StopAwaiting();
    DibHandleFree(&keptMask_);
    DibHandleFree(&decoded_);
    DibHandleFree(&rotated_);
    DibHandleFree(&mask_);
    HandleFree(metafile_);
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

    // A picture that is only in its file is brought into the swap file
    // first, so that the document keeps the picture as decoded, never a
    // turned copy (which would be turned again when it is read).
    if (a_.keepInDocument && a_.kind != kImageKindMetafile && !b_.imageStored)
        LoadDecoded();

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
    ReleaseImage(false);
    ReleasePreview(false);
    outlineStale_ = 1;
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

int32_t FrameObjImage::StoreInSwap(const uint8_t* bytes, uint32_t length, uint32_t* stored, uint32_t* position,
                                   uint32_t* storedLength)
{
    CTFileMng* swap = Swap();
    if (!swap)
        return 1;
    const uint32_t at = swap->Allocate(length);
    if (at == kNoSwapPosition)
        return 1;
    if (swap->WriteAt(at, length, bytes) != kErrNone) {
        swap->FreeSpace(at, length);
        return 1;
    }
    if (*stored && *position != kImageNoPosition)
        swap->FreeSpace(*position, *storedLength);
    *stored = 1;
    *position = at;
    *storedLength = length;
    return 0;
}

int32_t FrameObjImage::StoreImageBytes(const uint8_t* storeForm, uint32_t length)
{
    return StoreInSwap(storeForm, length, &b_.imageStored, &b_.imagePosition, &a_.imageStoreLength);
}

int32_t FrameObjImage::StorePreviewBytes(const uint8_t* bits, uint32_t length)
{
    return StoreInSwap(bits, length, &b_.previewStored, &b_.previewPosition, &b_.previewLength);
}

void FrameObjImage::ReleaseImage(bool dropStore)
{
    DibHandleFree(&keptMask_);
    DibHandleFree(&decoded_);
    DibHandleFree(&rotated_);
    DibHandleFree(&mask_);
    currentRotated_ = false;
    maskStale_ = 1;
    CTFileMng* swap = Swap();
    if (!dropStore || !swap)
        return;
    if (b_.imageStored && b_.imagePosition != kImageNoPosition)
        swap->FreeSpace(b_.imagePosition, a_.imageStoreLength);
    FreeRotatedStore();
    b_.imageStored = 0;
    b_.imagePosition = kImageNoPosition;
    modified_ = 1;
}

void FrameObjImage::ReleasePreview(bool dropStore)
{
    HandleFree(metafile_);
    metafile_ = nullptr;
    CTFileMng* swap = Swap();
    if (!dropStore || !swap)
        return;
    if (b_.previewStored && b_.previewPosition != kImageNoPosition)
        swap->FreeSpace(b_.previewPosition, b_.previewLength);
    b_.previewStored = 0;
    b_.previewPosition = kImageNoPosition;
    modified_ = 1;
}

void FrameObjImage::FreeRotatedStore()
{
    CTFileMng* swap = Swap();
    if (swap && b_.rotatedStored && b_.rotatedPosition != kImageNoPosition)
        swap->FreeSpace(b_.rotatedPosition, b_.rotatedLength);
    b_.rotatedStored = 0;
    b_.rotatedPosition = kImageNoPosition;
    b_.rotatedLength = 0;
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

// ---- the picture ----

Dc* FrameObjImage::ReferenceDc()
{
    if (!measuring_)
        measuring_ = Dc::ForMeasuring();
    return measuring_.get();
}

void FrameObjImage::MarkPictureStale()
{
    maskStale_ = 1;
    outlineStale_ = 1;
    drawState_ = 2;
    redrawPending_ = 1;
    modified_ = 1;
}

int32_t FrameObjImage::StoreDecoded(DibHandle image)
{
    CTFileMng* swap = Swap();
    uint32_t position = kImageNoPosition;
    uint32_t length = 0;
    if (swap && DibHandleWriteStore(swap, image, &position, &length) == 0) {
        if (b_.imageStored && b_.imagePosition != kImageNoPosition)
            swap->FreeSpace(b_.imagePosition, a_.imageStoreLength);
        b_.imageStored = 1;
        b_.imagePosition = position;
        a_.imageStoreLength = length;
    }
    decodedFrom_ = position;
    DibHandleFree(&keptMask_);
    DibHandleFree(&decoded_);
    decoded_ = image;
    decodedKey_ = PictureHash(image);
    return 0;
}

int32_t FrameObjImage::SetImage(DibHandle image, bool reset)
{
    if (!image || DibHandleIsEmpty(image)) {
        DibHandleFree(&image);
        return 1;
    }
    ReleaseImage(true);
    sourceType_ = kSourceUnknown;
    a_.imageRect = IntRect{0, 0, DibHandleWidth(image) - 1, DibHandleHeight(image) - 1};
    a_.cropRect = a_.imageRect;
    StoreDecoded(image);
    if (reset) {
        a_.fit = 0;
        a_.hScale = 100.0f;
        a_.vScale = 100.0f;
        a_.pictureAngle = 0;
        a_.keepInDocument = 1;
        a_.tag = kImageTagPict;
        a_.fromFile = 0;
        a_.kind = kImageKindRaster;
        a_.pan = IntPoint{};
    }
    rotationStale_ = 1;
    MarkPictureStale();
    if (TotalAngle() != 0)
        RebuildRotation();
    // What is safe in the swap file need not stay in memory.
    if (b_.imageStored) {
        DibHandleFree(&decoded_);
        if (b_.rotatedStored)
            DibHandleFree(&rotated_);
    }
    return 0;
}

int32_t FrameObjImage::SetMetafile(Handle bits)
{
    if (!bits)
        return 1;
    ReleaseImage(true);
    ReleasePreview(true);
    a_.fit = 1;
    a_.hScale = 100.0f;
    a_.vScale = 100.0f;
    a_.pictureAngle = 0;
    a_.keepInDocument = 1;
    a_.tag = kImageTagEmf;
    a_.fromFile = 0;
    a_.kind = kImageKindMetafile;
    a_.pan = IntPoint{};
    const FrameGeometry& g = Geometry();
    a_.imageRect = IntRect{g.x, g.y, Add32(g.x, g.width), Add32(g.y, g.height)};
    a_.cropRect = a_.imageRect;
    if (StorePreviewBytes(HandleData(bits), HandleGetSize(bits)) == 0)
        HandleFree(bits);
    else
        metafile_ = bits;
    rotationStale_ = 1;
    MarkPictureStale();
    return 0;
}

int32_t FrameObjImage::LoadFromFile(const PathRecord& path, uint8_t keep)
{
    sourceType_ = kSourceUnknown;
    unreadable_ = formatUnknown_ = false;
    unreadableReason_.clear();
    PathRecordStore(path, a_.fileSpec);
    FileInfo info;
    if (FileGetInfo(&path, &info) != 0)
        return 1;
    a_.keepInDocument = keep;
    a_.tag = kImageTagPict;
    a_.fromFile = 1;
    a_.kind = kImageKindRaster;
    if (info.find.attributes == kFileAttributeDevice) {
        // Its bytes may never end: it is not read at all.
        ReleasePreview(true);
        ReleaseImage(true);
        unreadable_ = true;
        unreadableReason_ = "It is not a file but a device or a pipe.";
        MarkPictureStale();
        return 0;
    }
    ImageClassifyFile(path, &a_.tag, &a_.kind);
    ReleasePreview(true);
    std::string why;
    DibHandle image = ImageLoadPicture(path, a_.tag, ReferenceDc(), nullptr, nullptr, &why);
    unreadable_ = !image && a_.kind == kImageKindRaster;
    if (unreadable_)
        unreadableReason_ = why;
    formatUnknown_ = !image && a_.kind == kImageKindNone;
    if (image)
        SetImage(image, false);
    else
        ReleaseImage(true);
    if (a_.kind == kImageKindMetafile) {
        if (Handle bits = ImageLoadMetafileBits(path)) {
            if (StorePreviewBytes(HandleData(bits), HandleGetSize(bits)) == 0)
                HandleFree(bits);
            else
                metafile_ = bits;
        }
    }
    MarkPictureStale();
    return 0;
}

int32_t FrameObjImage::LocateFile(PathRecord* out, bool report) const
{
    if (!a_.fromFile)
        return 1;
    PathRecord stored{};
    PathRecordLoad(a_.fileSpec, &stored);
    // The file as stored, else its name in the current folder, else in the
    // program's folder.
    const auto places = [&stored](int n, PathRecord* place) {
        if (n == 0) {
            *place = stored;
            return true;
        }
        if (n > 2)
            return false;
        *place = PathRecord{};
        const std::string folder = n == 1 ? QDir::currentPath().toStdString() + "/" : ProgramFolderPath();
        if (PathRecordFromPosix(folder, place) == 0) {
            std::strncpy(place->name, stored.name, sizeof place->name - 1);
            std::strncpy(place->extension, stored.extension, sizeof place->extension - 1);
        }
        return true;
    };
    if (PictureFileLookup::Shared().Find("file:" + PathRecordToPosix(stored), places, out) == 0)
        return 0;
    if (report)
        AlertStopById(435, 4, 0);
    return 4;
}

Handle FrameObjImage::LoadPreviewBits() const
{
    CTFileMng* swap = Swap();
    if (!swap || !b_.previewStored || b_.previewPosition == kImageNoPosition)
        return nullptr;
    if (uint64_t(b_.previewPosition) + b_.previewLength > swap->GetFileSize())
        return nullptr;
    Handle bits = HandleNew(b_.previewLength);
    if (bits && b_.previewLength && swap->ReadAt(b_.previewPosition, b_.previewLength, HandleData(bits)) != 0) {
        HandleFree(bits);
        return nullptr;
    }
    return bits;
}

int32_t FrameObjImage::LoadDecoded()
{
    // Paper never gets the stand-in shown while the picture is drawn for
    // the screen: it waits for the picture itself.
    if (!awaitedFile_.empty() && WaitsForPictures()) {
        StopAwaiting();
        DibHandleFree(&decoded_);
    }
    if (decoded_ && !DibHandleIsEmpty(decoded_))
        return 0;
    CTFileMng* swap = Swap();
    if (swap && b_.imageStored && b_.imagePosition != kImageNoPosition) {
        DibHandle kept = nullptr, keptMask = nullptr;
        uint64_t keptKey = 0;
        if (swap->Pictures().Take(b_.imagePosition, MaskKey(), &kept, &keptMask, &keptKey)) {
            DibHandleFree(&decoded_);
            decoded_ = kept;
            decodedKey_ = keptKey;
            decodedFrom_ = b_.imagePosition;
            DibHandleFree(&keptMask_);
            keptMask_ = keptMask;
            return 0;
        }
        DibHandle h = DibHandleNew();
        if (h && DibHandleReadStore(swap, h, b_.imagePosition) == 0) {
            DibHandleFree(&keptMask_);
            DibHandleFree(&decoded_);
            decoded_ = h;
            decodedKey_ = PictureHash(h);
            decodedFrom_ = b_.imagePosition;
            return 0;
        }
        DibHandleFree(&h);
    }
    if (a_.kind == kImageKindMetafile) {
        Handle bits = metafile_ ? metafile_ : LoadPreviewBits();
        DibHandle h = bits ? ImageRenderMetafileBits(bits, ReferenceDc(), kMetafilePreviewSide, PictureName())
                           : nullptr;
        if (bits != metafile_)
            HandleFree(bits);
        if (h)
            return StoreDecoded(h);
    }
    PathRecord path{};
    if (a_.fromFile && LocateFile(&path, false) == 0) {
        // Read for paper, the picture brings the alpha of its soft mask
        // along instead of being read again for it.
        const bool forPaper = outputShift_ && MayPrintSoftly();
        std::vector<uint8_t> alpha;
        bool pending = false;
        if (DibHandle h = ImageLoadPicture(path, a_.tag, ReferenceDc(), forPaper ? &alpha : nullptr,
                                           WaitsForPictures() ? nullptr : &pending)) {
            if (pending) {
                ShowWhileDrawn(h, PathRecordToPosix(path));
                return 0;
            }
            StoreDecoded(h);
            if (forPaper)
                PictureSoftMasks::Shared().Take(decodedKey_, decoded_, alpha, MaskKey());
            return 0;
        }
    }
    return 1;
}

bool FrameObjImage::RotationNeeded() const
{
    const int16_t total = TotalAngle();
    if (total == 0)
        return false;
    if (total != b_.rotatedAngle || rotationStale_ || b_.rotationPending)
        return true;
    return !rotated_ && !(b_.rotatedStored && b_.rotatedPosition != kImageNoPosition);
}

int32_t FrameObjImage::RebuildRotation()
{
    const int16_t total = TotalAngle();
    DibHandleFree(&rotated_);
    FreeRotatedStore();
    b_.rotatedAngle = 0;
    maskStale_ = 1;
    outlineStale_ = 1;
    if (total == 0)
        return 0;
    if (LoadDecoded() != 0)
        return 1;
    const IntRect target = ImageTargetRect(a_, Geometry());
    const int64_t w = int64_t(target.right) - target.left + 1;
    const int64_t h = int64_t(target.bottom) - target.top + 1;
    double boxWidth = 0, boxHeight = 0;
    TurnedBoxSize(double(w), double(h), total, &boxWidth, &boxHeight);
    if (!ImageSizeWorkable(int64_t(boxWidth) + 2, int64_t(boxHeight) + 2))
        return 1;
    // The turned picture is stretched into its place when drawn; one that
    // would turn into more pixels than any page shows is made with less
    // detail, so that no frame costs more than its share of the page.
    const double scale = FrameImageScale(boxWidth, boxHeight);
    const IntRect made = scale < 1.0 ? IntRect{0, 0, std::max<int32_t>(int32_t(double(w) * scale), 1) - 1,
                                               std::max<int32_t>(int32_t(double(h) * scale), 1) - 1}
                                     : target;
    DibHandleOwner turned;
    if (!turned)
        return 1;
    const bool resample = a_.fit || a_.hScale != 100.0f || a_.vScale != 100.0f || scale < 1.0;
    if (resample) {
        if (DibHandleConvertSdk(turned.get(), made, decoded_, nullptr, false) != 0)
            return 1;
    } else if (DibHandleCopy(turned.get(), decoded_) != 0) {
        return 1;
    }
    const int16_t by = int16_t((360 - ((total % 360) + 360) % 360) % 360);
    const ColorRef background = a_.kind == kImageKindMetafile ? 0xFEFFFF : 0xFFFFFF;
    if (DibHandleSdkTransform(turned.get(), by, background) != 0)
        return 1;
    ImageRotatedGeometry(a_, Geometry(), &b_);
    rotated_ = turned.release();
    rotatedKey_ = PictureHash(rotated_);
    uint32_t position = kImageNoPosition;
    uint32_t length = 0;
    if (CTFileMng* swap = Swap(); swap && DibHandleWriteStore(swap, rotated_, &position, &length) == 0) {
        b_.rotatedStored = 1;
        b_.rotatedPosition = position;
        b_.rotatedLength = length;
    }
    b_.rotatedAngle = total;
    rotationStale_ = 0;
    b_.rotationPending = 0;
    MarkPictureStale();
    return 0;
}

int32_t FrameObjImage::PrepareImage(int16_t mode)
{
    const bool turned = mode == 2 || (mode == 0 && TotalAngle() != 0);
    if (!turned) {
        currentRotated_ = false;
        return LoadDecoded();
    }
    currentRotated_ = true;
    if (RotationNeeded())
        return RebuildRotation();
    if (rotated_ && !DibHandleIsEmpty(rotated_))
        return 0;
    DibHandle h = DibHandleNew();
    if (h && Swap() && DibHandleReadStore(Swap(), h, b_.rotatedPosition) == 0) {
        rotated_ = h;
        rotatedKey_ = PictureHash(h);
        return 0;
    }
    DibHandleFree(&h);
    return RebuildRotation();
}

DibHandle FrameObjImage::CurrentMask()
{
    DibHandle current = CurrentImage();
    if (!current || DibHandleIsEmpty(current))
        return nullptr;
    if (mask_ && !maskStale_)
        return mask_;
    // The mask handed back with the picture, made from these very pixels.
    if (keptMask_ && current == decoded_) {
        DibHandleFree(&mask_);
        mask_ = keptMask_;
        keptMask_ = nullptr;
        maskOfDecoded_ = true;
        maskStale_ = 0;
        return mask_;
    }
    if (!mask_)
        mask_ = DibHandleNew();
    if (!mask_ || DibHandleMakeMask(current, mask_, MaskKey()) != 0) {
        DibHandleFree(&mask_);
        return nullptr;
    }
    maskOfDecoded_ = current == decoded_;
    maskStale_ = 0;
    return mask_;
}

ColorRef FrameObjImage::MaskKey() const { return a_.kind == kImageKindMetafile ? 0xFEFFFF : 0xFFFFFF; }

void FrameObjImage::LeavingMemory()
{
    // Only a picture that is what its stretch holds, and a mask made from
    // it (not from the turned picture) under the same key.
    CTFileMng* swap = Swap();
    if (!swap || !decoded_ || DibHandleIsEmpty(decoded_) || !b_.imageStored ||
        b_.imagePosition == kImageNoPosition || decodedFrom_ != b_.imagePosition)
        return;
    DibHandle mask = nullptr;
    if (keptMask_)
        std::swap(mask, keptMask_);
    else if (mask_ && !maskStale_ && maskOfDecoded_)
        std::swap(mask, mask_);
    swap->Pictures().Keep(b_.imagePosition, a_.imageStoreLength, decoded_, mask, MaskKey(), decodedKey_);
    decoded_ = nullptr;
}

uint64_t FrameObjImage::PictureHash(DibHandle h)
{
    const DibRecord* r = DibHandleBlockSlot(h);
    if (!r || !r->block)
        return 0;
    // Never 0, which stands for no key.
    return uint64_t(qHashBits(r->block, r->byteSize, size_t(0x9E3779B97F4A7C15ull))) | 1u;
}

// ---- placing it ----

int16_t FrameObjImage::TotalAngle() const { return ImageTotalAngle(a_.pictureAngle, Geometry().angle); }

void FrameObjImage::PanBy(int32_t dx, int32_t dy)
{
    if (a_.fit)
        return;
    a_.pan.x = Add32(a_.pan.x, dx);
    a_.pan.y = Add32(a_.pan.y, dy);
    outlineStale_ = 1;
    modified_ = 1;
}

uint8_t FrameObjImage::SetFitToFrame(uint8_t on)
{
    const uint8_t old = a_.fit;
    a_.fit = on;
    if (on)
        a_.pictureAngle = 0;
    rotationStale_ = 1;
    outlineStale_ = 1;
    modified_ = 1;
    return old;
}

void FrameObjImage::SetPictureAngle(int16_t angle)
{
    MarkChanged(1, 0);
    a_.pictureAngle = int16_t(angle % 360);
    rotationStale_ = 1;
    MarkPictureStale();
}

void FrameObjImage::SetPan(const IntPoint& pan)
{
    MarkChanged(1, 0);
    a_.pan = pan;
    MarkPictureStale();
}

void FrameObjImage::SetScales(float horizontal, float vertical)
{
    MarkChanged(1, 0);
    a_.hScale = horizontal;
    a_.vScale = vertical;
    rotationStale_ = 1;
    MarkPictureStale();
}

void FrameObjImage::SetDisplayAndPrint(uint8_t display, uint8_t print)
{
    MarkChanged(1, 0);
    a_.displayPicture = display;
    a_.printPicture = print;
}

void FrameObjImage::AdjustScale(int32_t dx, int32_t dy)
{
    MarkChanged(1, 0);
    a_.hScale = ImageAdjustedScale(a_.hScale, dx);
    a_.vScale = ImageAdjustedScale(a_.vScale, dy);
    if (dx != 0 || dy != 0) {
        rotationStale_ = 1;
        redrawPending_ = 1;
        maskStale_ = 1;
        outlineStale_ = 1;
    }
}

void FrameObjImage::GetDestination(bool toView, IntRect* rect, CornerQuad* corners) const
{
    ImageDestination(a_, b_, Geometry(), rect, corners);
    if (!toView)
        return;
    int16_t numerator = 1;
    int16_t denominator = 1;
    GetZoom(&numerator, &denominator);
    for (IntPoint& p : corners->corners) {
        p.x = ScaleTrunc(p.x, numerator, denominator);
        p.y = ScaleTrunc(p.y, numerator, denominator);
    }
    rect->left = ScaleTrunc(rect->left, numerator, denominator);
    rect->top = ScaleTrunc(rect->top, numerator, denominator);
    rect->right = ScaleTrunc(rect->right, numerator, denominator);
    rect->bottom = ScaleTrunc(rect->bottom, numerator, denominator);
}

// ---- change protocol ----

void FrameObjImage::MarkChanged(uint8_t on, uint8_t keepRegion)
{
    if (on && !changed_) {
        savedHScale_ = a_.hScale;
        savedVScale_ = a_.vScale;
        savedPan_ = a_.pan;
    }
    FrameObjRect::MarkChanged(on, keepRegion);
}

void FrameObjImage::ToggleSaved()
{
    std::swap(savedHScale_, a_.hScale);
    std::swap(savedVScale_, a_.vScale);
    std::swap(savedPan_, a_.pan);
    rotationStale_ = 1;
    maskStale_ = 1;
    outlineStale_ = 1;
    FrameObjRect::ToggleSaved();
}

// ---- drawing ----

void FrameObjImage::DrawRaster(Dc* dc, const IntRect& rect, DibHandle image, DibHandle mask, bool postScript)
{
    if (!outputShift_) {
        if (!mask || rop_ == DSXN)
            DibHandleDraw(dc, image, rect, rop_);
        else
            DibHandleDrawTransparent(dc, image, mask, rect, true);
        return;
    }
    // A picture of a file that keeps every pixel keeps them on paper; a
    // photograph's JPEG may be compressed as JPEG again.
    dc->setPicturesLossless(!FromJpegFile());
    if (!mask || postScript) {
        if (!mask && a_.kind != kImageKindMetafile)
            dc->fillRect(IntRect{rect.left, rect.top, rect.right + 1, rect.bottom + 1}, Brush::Solid(kWhite));
        IntRect device = rect;
        DibHandlePaintSdk(dc, image, &device, SRCCOPY);
    } else {
        DibHandleDrawTransparent(dc, image, mask, rect, true);
    }
    dc->setPicturesLossless(false);
}

bool FrameObjImage::FromJpegFile() const { return SourceType() == kPictureJpeg; }

int32_t FrameObjImage::SourceType() const
{
    if (a_.kind != kImageKindRaster || !a_.fromFile)
        return -1;
    // Known by the file's first bytes, whatever its name says; read once
    // for each picture the frame takes, not on every card printed.
    if (sourceType_ == kSourceUnknown) {
        PathRecord stored{};
        PathRecordLoad(a_.fileSpec, &stored);
        uint8_t head[64] = {};
        size_t got = 0;
        if (!FileIsDeviceOrPipe(&stored)) {
            std::ifstream file(FileHostPath(&stored), std::ios::binary);
            file.read(reinterpret_cast<char*>(head), sizeof head);
            got = size_t(file.gcount());
        }
        sourceType_ = PictureTypeFromContent(head, got);
    }
    return sourceType_;
}

bool FrameObjImage::MayPrintSoftly() const
{
    const int32_t type = SourceType();
    return type == kPicturePng || type == kPictureTiff || type == kPictureBmp;
}

std::shared_ptr<const PictureSoftMasks::Mask> FrameObjImage::PrintSoftMask(Dc* dc)
{
    if (!outputShift_ || !decoded_ || !decodedKey_ || !dc->takesSoftMasks() || !MayPrintSoftly())
        return nullptr;
    PictureSoftMasks& masks = PictureSoftMasks::Shared();
    bool known = false;
    std::shared_ptr<const PictureSoftMasks::Mask> mask = masks.Find(decodedKey_, &known);
    PathRecord file{};
    if (!known && LocateFile(&file, false) == 0)
        mask = masks.Make(decodedKey_, decoded_, file, a_.tag, MaskKey());
    return mask;
}

bool FrameObjImage::ViewEnlarged() const
{
    int16_t numerator = 1;
    int16_t denominator = 1;
    GetZoom(&numerator, &denominator);
    return denominator > 0 && numerator > denominator;
}

bool FrameObjImage::DrawTurnedSmoothly(Dc* dc, const IntRect& rect, const CornerQuad& picture, bool transparent,
                                       bool postScript)
{
    if (a_.kind != kImageKindRaster || LoadDecoded() != 0 || !decoded_ || !decodedKey_)
        return false;
    // The picture's sides on the device, before the turn.
    CornerQuad device = picture;
    dc->lpToDp(device.corners, 4);
    const IntPoint* c = device.corners;
    const auto length = [](IntPoint a, IntPoint b) { return std::hypot(double(b.x) - a.x, double(b.y) - a.y); };
    // A pixel for each of the screen's; paper shows no more than
    // kPaperMaxDpi.
    const bool paper = outputShift_ != 0;
    const auto pixels = [paper](double onDevice, int32_t dpi, int32_t own) {
        const double most = paper ? std::min(kPaperMaxDpi, double(std::max(dpi, 1))) : double(std::max(dpi, 1));
        return std::clamp(int32_t(std::ceil(onDevice * most / std::max(dpi, 1))), 1, std::max(own, 1));
    };
    TurnedPaperPictures::Request request;
    request.width = pixels(length(c[kQuadTopLeft], c[kQuadTopRight]), dc->getDeviceCaps(LOGPIXELSX),
                           DibHandleWidth(decoded_));
    request.height = pixels(length(c[kQuadTopRight], c[kQuadBottomRight]), dc->getDeviceCaps(LOGPIXELSY),
                            DibHandleHeight(decoded_));
    // A picture whose place reaches far past the page is made with less
    // detail, so that no frame costs more than its share of the paper.
    double boxWidth = 0, boxHeight = 0;
    TurnedBoxSize(request.width, request.height, TotalAngle(), &boxWidth, &boxHeight);
    if (const double scale = FrameImageScale(boxWidth, boxHeight); scale < 1.0) {
        request.width = std::max(int32_t(request.width * scale), 1);
        request.height = std::max(int32_t(request.height * scale), 1);
    }
    const std::shared_ptr<const PictureSoftMasks::Mask> soft =
        transparent && !postScript ? PrintSoftMask(dc) : nullptr;
    const bool graded = paper && transparent && !postScript && dc->takesSoftMasks() && MayPrintSoftly();
    request.picture = decoded_;
    request.pictureKey = decodedKey_;
    request.softMask = soft ? soft->mask : nullptr;
    request.key = MaskKey();
    request.cover = !transparent ? TurnedPaperPictures::Cover::kOpaque
                    : graded     ? TurnedPaperPictures::Cover::kGraded
                                 : TurnedPaperPictures::Cover::kKeyed;
    request.angle = TotalAngle();
    const std::shared_ptr<const TurnedPaperPictures::Turned> turned = TurnedPaperPictures::Shared().Get(request);
    if (!turned)
        return false;
    const DibRecord* bits = DibHandleBlockSlot(turned->picture);
    const DibRecord* maskBits = graded ? DibHandleBlockSlot(turned->mask) : nullptr;
    dc->setPictureKey(bits->bits, turned->pictureKey, maskBits ? maskBits->bits : nullptr,
                      maskBits ? turned->maskKey : 0);
    dc->setSoftMasks(graded);
    DrawRaster(dc, rect, turned->picture, turned->mask, postScript);
    dc->setSoftMasks(false);
    dc->setPictureKey(nullptr, 0);
    return true;
}

bool FrameObjImage::DrawMetafileForPrint(Dc* dc, const IntRect& rect, bool transparent, bool postScript)
{
    Handle bits = metafile_ ? metafile_ : LoadPreviewBits();
    if (!bits)
        return false;
    bool drawn = false;
    const int16_t total = TotalAngle();
    const std::string name = PictureName();
    if (total == 0) {
        const int32_t level = dc->saveDc();
        const int32_t played = ImagePlayMetafileBits(dc, bits, rect, name);
        dc->restoreDc(level);
        drawn = played == 0;
        // One that could not be drawn prints its stand-in, over whatever
        // of it was drawn before it stopped.
        if (played == 2) {
            DibHandleOwner standIn(ImageMetafileStandIn(bits, dc, kMetafilePreviewSide, name));
            if (standIn.get()) {
                DrawRaster(dc, rect, standIn.get(), nullptr, postScript);
                drawn = true;
            }
        }
    } else {
        IntPoint corners[2] = {{rect.left, rect.top}, {rect.right, rect.bottom}};
        dc->lpToDp(corners, 2);
        DibHandleOwner image(ImageRenderMetafileBitsAt(bits, dc, std::abs(corners[1].x - corners[0].x) + 1,
                                                       std::abs(corners[1].y - corners[0].y) + 1, name));
        const int16_t by = int16_t((360 - ((total % 360) + 360) % 360) % 360);
        if (image && DibHandleSdkTransform(image.get(), by, 0xFEFFFF) == 0) {
            DibHandleOwner mask;
            const bool masked = transparent && mask && DibHandleMakeMask(image.get(), mask.get(), 0xFEFFFF) == 0;
            DrawRaster(dc, rect, image.get(), masked ? mask.get() : nullptr, postScript);
            drawn = true;
        }
    }
    if (bits != metafile_)
        HandleFree(bits);
    return drawn;
}

std::string FrameObjImage::PictureName() const
{
    if (!a_.fromFile)
        return std::string();
    PathRecord path{};
    PathRecordLoad(a_.fileSpec, &path);
    char name[kPathTextSize] = {};
    PathRecordGetFileName(&path, name, int32_t(sizeof name));
    return name;
}

bool FrameObjImage::WaitsForPictures() const
{
    return outputShift_ && !ContentHostOf(this)->InPrintPreview();
}

EpsPlacement FrameObjImage::PlaceEps(Dc* dc, const CornerQuad& picture, IntPoint origin) const
{
    EpsPlacement p;
    CornerQuad corners;
    GetCorners(&corners, 1, 0);
    dc->lpToDp(corners.corners, 4);
    for (IntPoint& c : corners.corners) {
        c.x -= origin.x;
        c.y -= origin.y;
    }
    p.clipCorners = corners;
    p.windowOrigin = origin;
    // The placement turns the file by the angles about the picture's
    // centre, so it takes the picture as it is before the turn: its centre
    // and the lengths of its sides. (The turned picture's bounding
    // rectangle would turn it twice and stretch it to the wrong size.)
    CornerQuad device = picture;
    dc->lpToDp(device.corners, 4);
    const IntPoint* c = device.corners;
    const auto length = [](IntPoint a, IntPoint b) {
        return int32_t(std::lround(std::hypot(double(b.x) - a.x, double(b.y) - a.y)));
    };
    const int32_t width = length(c[kQuadTopLeft], c[kQuadTopRight]);
    const int32_t height = length(c[kQuadTopRight], c[kQuadBottomRight]);
    const IntPoint centre{int32_t((int64_t(c[kQuadTopLeft].x) + c[kQuadBottomRight].x) / 2),
                          int32_t((int64_t(c[kQuadTopLeft].y) + c[kQuadBottomRight].y) / 2)};
    p.frameOrigin = centre;
    p.destination = IntRect{centre.x - width / 2, centre.y - height / 2, centre.x - width / 2 + width,
                            centre.y - height / 2 + height};
    p.frameAngle = block_.attr.geometry.angle;
    p.pictureAngle = a_.pictureAngle;
    p.fit = a_.fit != 0;
    p.hScale = a_.hScale;
    p.vScale = a_.vScale;
    const int32_t dpiX = dc->getDeviceCaps(LOGPIXELSX);
    const int32_t dpiY = dc->getDeviceCaps(LOGPIXELSY);
    p.deviceX = dpiX > 0 ? dpiX / 72.0 : 1.0;
    p.deviceY = dpiY > 0 ? dpiY / 72.0 : 1.0;
    return p;
}

bool FrameObjImage::SendEps(Dc* dc, PassThroughSink* sink, const CornerQuad& picture)
{
    PathRecord file{};
    if (LocateFile(&file, false) != 0) {
        char name[kPathTextSize] = {};
        PathRecordLoad(a_.fileSpec, &file);
        PathRecordGetFileName(&file, name, int32_t(sizeof name));
        char notFound[256] = {};
        char eps[256] = {};
        LoadStringByIndex(435, 4, notFound);
        LoadStringByIndex(435, 5, eps);
        AlertShow(kAlertKindStop, notFound, name, eps, nullptr);
        return false;
    }
    // PostScript that Ghostscript fails on or that never ends would stop
    // or hang the printer too: the card gets the stand-in the job names.
    if (!EpsPrintableInJob(file))
        return false;
    return ImageSendEps(sink, file, PlaceEps(dc, picture, IntPoint{})) == 0;
}

bool FrameObjImage::DrawEpsRendered(Dc* dc, const IntRect& rect, const CornerQuad& picture, bool transparent)
{
    // A file that is nowhere prints its preview without a word: the print
    // preview draws this way too.
    PathRecord file{};
    if (LocateFile(&file, false) != 0)
        return false;
    // The print preview shows the picture of the card view, or its
    // stand-in, until the page is drawn in the background; while the
    // card view's is drawn it waits for that first, as a file that fails
    // there would fail here too.
    const bool waits = WaitsForPictures();
    if (!waits && !awaitedFile_.empty())
        return false;
    // Only the part of the picture's rectangle that the frame shows is
    // rendered, in device pixels.
    IntPoint box[2] = {{rect.left, rect.top}, {rect.right, rect.bottom}};
    dc->lpToDp(box, 2);
    CornerQuad corners;
    GetCorners(&corners, 1, 0);
    dc->lpToDp(corners.corners, 4);
    IntRect frame;
    CornerQuadBounds(corners, &frame);
    const IntRect area{std::max(std::min(box[0].x, box[1].x), frame.left),
                       std::max(std::min(box[0].y, box[1].y), frame.top),
                       std::min(std::max(box[0].x, box[1].x), frame.right),
                       std::min(std::max(box[0].y, box[1].y), frame.bottom)};
    if (area.right < area.left || area.bottom < area.top)
        return true;
    const int64_t width = int64_t(area.right) - area.left + 1;
    const int64_t height = int64_t(area.bottom) - area.top + 1;
    if (width * height > kGhostscriptMaxPixels)
        return false;
    const int32_t dpiX = dc->getDeviceCaps(LOGPIXELSX);
    const int32_t dpiY = dc->getDeviceCaps(LOGPIXELSY);
    // Everything counted from the area's corner: the same frame on every
    // card of a sheet then asks Ghostscript for the same page.
    const IntPoint corner{area.left, area.top};
    EpsPlacement placement = PlaceEps(dc, picture, corner);
    placement.windowOrigin = IntPoint{};
    placement.frameOrigin = IntPoint{placement.frameOrigin.x - corner.x, placement.frameOrigin.y - corner.y};
    IntRect& destination = placement.destination;
    destination = IntRect{destination.left - corner.x, destination.top - corner.y, destination.right - corner.x,
                          destination.bottom - corner.y};
    bool pending = false;
    DibHandleOwner page(ImageRenderEps(file, placement, int32_t(width), int32_t(height), dpiX > 0 ? dpiX : 72,
                                       dpiY > 0 ? dpiY : 72, waits ? nullptr : &pending));
    if (!page.get())
        return false;
    DibHandleOwner mask;
    const bool masked = transparent && mask && DibHandleMakeMask(page.get(), mask.get(), kWhite) == 0;
    IntPoint back[2] = {{area.left, area.top}, {area.right, area.bottom}};
    dc->dpToLp(back, 2);
    DrawRaster(dc, IntRect{back[0].x, back[0].y, back[1].x, back[1].y}, page.get(), masked ? mask.get() : nullptr,
               false);
    return true;
}

namespace {

PicturesNotPrinted g_picturesNotPrinted;

}  // namespace

PicturesNotPrinted TakePicturesNotPrinted() { return std::exchange(g_picturesNotPrinted, PicturesNotPrinted{}); }

bool FrameObjImage::MissedPicture(std::string* file, std::string* record) const
{
    if (a_.kind == kImageKindNone)
        return false;
    file->clear();
    record->clear();
    if (a_.fromFile) {
        PathRecord path{};
        PathRecordLoad(a_.fileSpec, &path);
        *file = PathRecordToPosix(path);
    }
    return true;
}

void FrameObjImage::DrawContent(Dc* dc)
{
    if (outputShift_ ? !a_.printPicture : !a_.displayPicture)
        return;
    // Half drawn, the frame must not be reached by a click, a close or a
    // timer: whatever its picture needs, nothing waits for events here.
    PaintingScope painting;
    if (PrepareImage(0) != 0) {
        // A card printed without its picture is not what the user asked for;
        // the job tells them.
        std::string file, record;
        PicturesNotPrinted& missed = g_picturesNotPrinted;
        if (outputShift_ && MissedPicture(&file, &record)) {
            if (missed.count++ == 0) {
                missed.file = file;
                missed.record = record;
                PathRecord stored{};
                PathRecordLoad(a_.fileSpec, &stored);
                missed.notAFile = a_.fromFile && FileIsDeviceOrPipe(&stored);
            } else if (file != missed.file) {
                missed.others = true;
            }
        }
        return;
    }
    // A metafile that could not be drawn shows its stand-in, on paper as on
    // the screen; a print job names it whoever made the stand-in.
    if (a_.kind == kImageKindMetafile && outputShift_)
        MetafileFailures::Shared().TellIfStandIn(decodedKey_, PictureName());
    rop_ = SRCCOPY;
    const bool background = block_.attr.background != kNoBackground;
    if (background && a_.kind != kImageKindMetafile)
        DibHandleFree(&mask_);
    DibHandle mask = nullptr;
    if (ghost_)
        rop_ = DSXN;
    else if (!background) {
        rop_ = SRCAND;
        mask = CurrentMask();
    }

    const bool postScript = outputShift_ && outputMode_ == kOutputPostScript;
    PassThroughSink* sink = postScript ? ContentHostOf(this)->PostScriptSink() : nullptr;
    const bool hadClip = dc->hasClip();
    const Region previous = dc->clipRegion();
    if (sink) {
        // The job's PostScript is in device pixels, where the context's
        // mapping (window origin included) has already put the frame.
        CornerQuad corners;
        GetCorners(&corners, 1, 0);
        dc->lpToDp(corners.corners, 4);
        HandleOwner text(HandleNew(1));
        PsGsave(sink);
        if (text.get() && PsPolygonClipPath(corners.corners, 4, text.get()) == 0 &&
            TextHandleAppend(text.get(), " \n") == 0)
            PsSendCStr(sink, reinterpret_cast<const char*>(HandleData(text.get())));
    } else {
        // The frame's inside: its view corners less the border on the
        // bordered sides.
        FramePlacement inside = viewGeometry_;
        PlacementInsetSides(&inside, viewGeometry_.lineWidth, viewGeometry_.sides);
        CornerQuad q;
        PlacementCorners(inside, &q);
        Region inner = Region::FromPolygon(q.corners, 4, ALTERNATE);
        RegionToDevice(dc, &inner);
        dc->extSelectClipRgn(&inner, RGN_AND);
    }

    IntRect rect;
    CornerQuad corners;
    GetDestination(true, &rect, &corners);
    bool done = false;
    if (a_.kind == kImageKindEps && sink)
        done = SendEps(dc, sink, corners);
    else if (a_.kind == kImageKindEps && outputShift_)
        done = DrawEpsRendered(dc, rect, corners, !background && !ghost_);
    if (!done && a_.kind == kImageKindMetafile && outputShift_)
        done = DrawMetafileForPrint(dc, rect, !background, postScript);
    // The screen's turned picture has a pixel a point; a view that shows
    // more gets one turned at its own pixels rather than that one in
    // blocks, while 100% and less keep it.
    if (!done && (outputShift_ || ViewEnlarged()) && currentRotated_ && !ghost_)
        done = DrawTurnedSmoothly(dc, rect, corners, mask != nullptr, postScript);
    if (!done) {
        // On paper, the picture is known by the hash of its pixels made once
        // when it was decoded, not hashed again for every card.
        const DibRecord* current = outputShift_ ? DibHandleBlockSlot(CurrentImage()) : nullptr;
        // Paper that takes a graded mask shows a picture with alpha over
        // what lies beneath the frame; PostScript level 2 has none, and
        // keeps the mask it has, as does the screen's turned picture where
        // paper's could not be made.
        const std::shared_ptr<const PictureSoftMasks::Mask> soft =
            mask && !postScript && !currentRotated_ ? PrintSoftMask(dc) : nullptr;
        const DibRecord* softBits = soft ? DibHandleBlockSlot(soft->mask) : nullptr;
        if (current)
            dc->setPictureKey(current->bits, currentRotated_ ? rotatedKey_ : decodedKey_,
                              softBits ? softBits->bits : nullptr, soft ? soft->key : 0);
        dc->setSoftMasks(soft != nullptr);
        DrawRaster(dc, rect, CurrentImage(), soft ? soft->mask : mask, postScript);
        dc->setSoftMasks(false);
        if (current)
            dc->setPictureKey(nullptr, 0);
    }

    // A print job draws the same frame on every card; the decoded picture
    // stays for the next one instead of coming back from the swap file and
    // being unpacked again each time. It goes when the picture changes or
    // the frame does.
    if (sink)
        PsGrestore(sink);
    dc->selectClipRgn(hadClip ? &previous : nullptr);
    dc->setRop2(R2_COPYPEN);
}

// ---- interaction ----

FrameTracker* FrameObjImage::CreateTracker(FrameView* view, int16_t mode)
{
    if (block_.attr.locked || block_.pinned || groupIds_ || !view)
        return nullptr;
    FrameTracker* tracker = view->NewTracker(TrackerKind::kPicture, this, mode);
    if (a_.fit) {
        rotationStale_ = 1;
        redrawPending_ = 1;
        maskStale_ = 1;
        outlineStale_ = 1;
    }
    return tracker;
}

bool FrameObjImage::TrackContent()
{
    Dc* dc = ViewDc();
    if (a_.fit || !dc)
        return false;
    FrameAttributes& attr = block_.attr;
    const uint8_t savedBackground = attr.background;
    attr.background = 0;
    MarkChanged(1, 0);
    if (attr.geometry.lineWidth == 0) {
        attr.geometry.lineWidth = 1;
        Recompute(0);
        DrawBorder(dc);
    }
    std::optional<Region> savedClip;
    GetClipRegion(dc, &savedClip);
    const int32_t rop = dc->setRop2(R2_COPYPEN);
    const int32_t border = attr.geometry.lineWidth;
    a_.pan.x -= border;
    a_.pan.y -= border;

    // The program's panning cursor while the button is held.
    const QCursor* hand = GetAppCursor(34);
    const bool showHand = hand && qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    if (showHand)
        QGuiApplication::setOverrideCursor(*hand);
    PointerPoll* poll = InstalledPointerPoll();
    IntPoint last = poll->CursorPos();
    while (poll->LeftButtonDown()) {
        const IntPoint now = poll->CursorPos();
        if (now.x == last.x && now.y == last.y)
            continue;
        IntPoint moved{now.x - last.x, now.y - last.y};
        last = now;
        ViewToDocPoint(&moved);
        RotatePoint(&moved, 1, 0, 0, -double(attr.geometry.angle));
        a_.pan.x = Add32(a_.pan.x, moved.x);
        a_.pan.y = Add32(a_.pan.y, moved.y);
        rotationStale_ = 1;
        DrawFill(dc);
        attr.geometry.height = int16_t(attr.geometry.height - 1);
        attr.geometry.width = int16_t(attr.geometry.width - 1);
        DrawContent(dc);
        attr.geometry.height = int16_t(attr.geometry.height + 1);
        attr.geometry.width = int16_t(attr.geometry.width + 1);
    }
    if (showHand)
        QGuiApplication::restoreOverrideCursor();
    a_.pan.x += border;
    a_.pan.y += border;
    attr.background = savedBackground;
    dc->selectClipRgn(savedClip ? &*savedClip : nullptr);
    dc->setRop2(rop);
    outlineStale_ = 1;
    modified_ = 1;
    return true;
}

// ---- text wrap ----

void FrameObjImage::BuildPictureOutline(bool useInset, bool prepare)
{
    outline_.clear();
    const int32_t distance = useInset ? block_.outlineInset : 0;
    IntRect bounds;
    GetBounds(&bounds, kGeometryCurrent);
    const IntRect grown{bounds.left - distance, bounds.top - distance, bounds.right + distance,
                        bounds.bottom + distance};
    outline_ = {{grown.left, grown.top},     {grown.right, grown.top},   {grown.right, grown.top},
                {grown.right, grown.bottom}, {grown.right, grown.bottom}, {grown.left, grown.bottom},
                {grown.left, grown.bottom},  {grown.left, grown.top}};
    outlineStale_ = 0;
    if (block_.attr.geometry.lineWidth != 0 || !prepare || PrepareImage(0) != 0)
        return;

    // The picture drawn on white in a bitmap of the frame's box, at 1:1
    // (with less detail for a box larger than any page).
    const double scale =
        FrameImageScale(double(bounds.right) - bounds.left, double(bounds.bottom) - bounds.top);
    OffscreenDC offscreen(MeasuringDc());
    IntRect covered;
    if (offscreen.Begin(0, 0, int32_t(double(bounds.right - bounds.left) * scale) - 1,
                        int32_t(double(bounds.bottom - bounds.top) * scale) - 1, kWhite, &covered, true) != 0)
        return;
    IntRect rect;
    CornerQuad corners;
    GetDestination(false, &rect, &corners);
    const int32_t sx = covered.right - covered.left;
    const int32_t sy = covered.bottom - covered.top;
    const int32_t w = std::max(1, bounds.right - bounds.left);
    const int32_t h = std::max(1, bounds.bottom - bounds.top);
    auto toBitmap = [&](int32_t x, int32_t y) {
        return IntPoint{int32_t(int64_t(x - bounds.left) * sx / w), int32_t(int64_t(y - bounds.top) * sy / h)};
    };
    const IntPoint lt = toBitmap(rect.left, rect.top);
    const IntPoint rb = toBitmap(rect.right, rect.bottom);
    DibHandleDraw(offscreen.GetSafeHdc(), CurrentImage(), IntRect{lt.x, lt.y, rb.x, rb.y}, SRCCOPY);
    DibHandleOwner picture;
    if (!picture || offscreen.End(picture.get()) != 0)
        return;
    std::vector<IntPoint> traced;
    if (DibHandleTraceOutline(picture.get(), &traced, kImageOutlinePoints, nullptr, kWhite) != 0 || traced.size() < 3)
        return;
    const size_t sides = (traced.size() - 1) / 2;
    for (size_t i = 0; i < traced.size(); ++i) {
        IntPoint p{bounds.left + int32_t(int64_t(traced[i].x) * w / std::max(1, sx)),
                   bounds.top + int32_t(int64_t(traced[i].y) * h / std::max(1, sy))};
        if (i < sides || i == traced.size() - 1)
            p.x -= distance;
        else
            p.x += distance;
        traced[i] = p;
    }
    outline_ = traced;
}

bool FrameObjImage::AddRotatedPoints(Dc*, WrapPointList* list, int32_t limit)
{
    if (!list->HasRoom(2 * kImageOutlinePoints, limit))
        return false;
    if (outlineStale_ || redrawPending_ || outline_.empty())
        BuildPictureOutline(true, true);
    const size_t n = outline_.size();
    for (size_t i = 0; i < n; ++i) {
        list->Add(outline_[i]);
        list->Add(outline_[(i + 1) % n]);
    }
    return list->Count() > 0;
}
