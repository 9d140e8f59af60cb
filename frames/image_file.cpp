#include "frames/image_file.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>
#include <memory>
#include <string>

#include "foundation/cursors.h"
#include "foundation/file_io.h"
#include "foundation/int_math.h"
#include "foundation/scoped_wait_cursor.h"
#include "frames/image_block_format.h"
#include "frames/image_metafile.h"
#include "frames/image_postscript.h"
#include "graphics/dib_image.h"
#include "graphics/dib_imaging.h"
#include "graphics/eps_bounding_box.h"
#include "graphics/imaging_bitmap.h"
#include "graphics/imaging_formats.h"
#include "graphics/offscreen_dc.h"
#include "graphics/picture_limits.h"
#include "platform/dc.h"

namespace {

constexpr ColorRef kStandInBackground = 0xC0C0C0;

std::string UpperExtension(const PathRecord& path)
{
    std::string ext;
    for (const char* p = path.extension; *p && p < path.extension + sizeof path.extension; ++p)
        ext += char(std::toupper(static_cast<unsigned char>(*p)));
    return ext;
}

// The decoder the program has of its own for the extension, -1 for none.
int32_t OwnDecoderType(const std::string& ext)
{
    if (ext == ".JPEG" || ext == ".JPG")
        return kPictureJpeg;
    if (ext == ".PNG")
        return kPicturePng;
    if (ext == ".ICO")
        return kPictureIco;
    // A scan may hold far more pixels than any picture may: the program's
    // own reader takes it reduced, where a general reader would hold it
    // whole.
    if (ext == ".TIF" || ext == ".TIFF")
        return kPictureTiff;
    return -1;
}

// refused: the picture is beyond what any picture may be, and no other
// reader is to try it.
// why: the decoder's own words when it fails.
DibHandle DecodeOwn(const std::string& hostPath, int32_t type, bool* refused, std::vector<uint8_t>* alpha,
                    std::string* why)
{
    CDibImage image;
    image.KeepAlpha(alpha != nullptr);
    if (!image.DibLoadByType(hostPath.c_str(), type) || image.GetWidth() <= 0 || image.GetHeight() <= 0) {
        *refused = IsPictureTooLargeText(image.ErrorText());
        *why = image.ErrorText();
        return nullptr;
    }
    if (alpha)
        *alpha = image.TakeAlpha();
    DibHandle h = DibHandleNew();
    if (!h)
        return nullptr;
    const uint32_t size = image.GetPackedSize();
    if (DibHandleAdoptBlock(h, image.Detach(), size) != 0) {
        DibHandleFree(&h);
        return nullptr;
    }
    return h;
}

DibHandle DecodeThroughImaging(const std::string& hostPath, std::vector<uint8_t>* alpha)
{
    ImagingFileInfo info;
    ImagingBitmap bitmap;
    if (!ImagingBitmap::ReadFileInfo(hostPath, &info) || !bitmap.LoadFile(hostPath, info, alpha))
        return nullptr;
    DibHandle h = DibHandleNew();
    if (h && DibHandleFromSdkBitmap(h, &bitmap, true) != 0)
        DibHandleFree(&h);
    bitmap.Release();
    return h;
}

}  // namespace

bool ImageClassifyFile(const PathRecord& path, uint32_t* tag, uint8_t* kind)
{
    *tag = kImageTagNone;
    *kind = kImageKindNone;
    const std::string ext = UpperExtension(path);
    if (OwnDecoderType(ext) >= 0) {
        *tag = kImageTagPict;
        *kind = kImageKindRaster;
        return true;
    }
    ImagingFileInfo info;
    if (ImagingBitmap::ReadFileInfo(FileHostPath(&path), &info)) {
        *tag = kImageTagPict;
        *kind = kImageKindRaster;
        if (info.format == kImagingPostScript) {
            *tag = kImageTagEps;
            *kind = kImageKindEps;
            return false;
        }
        if (info.format == kImagingWindowsMetafile) {
            *tag = kImageTagWmf;
            *kind = kImageKindMetafile;
            return false;
        }
        return true;
    }
    if (ext == ".EMF") {
        *tag = kImageTagEmf;
        *kind = kImageKindMetafile;
        return false;
    }
    IntRect box;
    if ((ext == ".EPS" || ext == ".PS") && EpsReadBoundingBox(&path, &box) == 0) {
        *tag = kImageTagEps;
        *kind = kImageKindEps;
    }
    return false;
}

DibHandle ImageLoadPicture(const PathRecord& path, uint32_t tag, Dc* reference, std::vector<uint8_t>* alpha,
                           bool* pending, std::string* why)
{
    if (alpha)
        alpha->clear();
    if (pending)
        *pending = false;
    std::string ownWhy;
    if (!why)
        why = &ownWhy;
    why->clear();
    ScopedWaitCursor wait;
    const std::string hostPath = FileHostPath(&path);
    const int32_t own = OwnDecoderType(UpperExtension(path));
    if (own >= 0) {
        bool refused = false;
        if (DibHandle h = DecodeOwn(hostPath, own, &refused, alpha, why))
            return h;
        if (refused)
            return nullptr;
    }
    uint32_t classified = 0;
    uint8_t kind = 0;
    if (ImageClassifyFile(path, &classified, &kind)) {
        if (DibHandle h = DecodeThroughImaging(hostPath, alpha)) {
            why->clear();
            return h;
        }
        return nullptr;
    }
    if (tag == kImageTagEmf || tag == kImageTagWmf)
        return ImageRenderMetafileFile(path, reference, kMetafilePreviewSide);
    if (tag == kImageTagEps) {
        if (DibHandle rendered = EpsRenderedPreview(path, pending))
            return rendered;
        return EpsStandInPicture(path, reference);
    }
    return nullptr;
}

int32_t EpsStandInFontSize(int32_t boxWidth, int32_t boxHeight, int32_t nameLength)
{
    int32_t size = boxHeight / 2;
    if (nameLength > 0)
        size = std::min(size, TruncToInt32(double(boxWidth) / nameLength * 1.4));
    return std::max(size, 9);
}

DibHandle EpsStandInPicture(const PathRecord& path, Dc* reference)
{
    IntRect box;
    if (EpsReadBoundingBox(&path, &box) != 0)
        return nullptr;
    char name[kPathTextSize] = {};
    PathRecordGetFileName(&path, name, int32_t(sizeof name));
    return PictureStandIn(std::abs(Sub32(box.right, box.left)), std::abs(Sub32(box.bottom, box.top)), name,
                          reference);
}

DibHandle PictureStandIn(int32_t width, int32_t height, const char* name, Dc* reference)
{
    std::unique_ptr<Dc> measuring;
    if (!reference) {
        measuring = Dc::ForMeasuring();
        reference = measuring.get();
    }
    OffscreenDC offscreen(reference);
    IntRect covered;
    if (offscreen.Begin(0, 0, width, height, kStandInBackground, &covered, true) != 0)
        return nullptr;
    Dc* dc = offscreen.GetSafeHdc();
    // A section that had to shrink draws at its own scale.
    const double sx = double(covered.right - covered.left) / (double(width) + 1);
    const double sy = double(covered.bottom - covered.top) / (double(height) + 1);

    const int32_t length = int32_t(std::strlen(name));
    LogFont font;
    std::strncpy(font.faceName, "Arial", sizeof font.faceName - 1);
    font.height = -std::max(1, TruncToInt32(EpsStandInFontSize(width, height, length) * sy));
    const LogFont old = dc->selectFont(font);
    const IntSize extent = dc->getTextExtent(name);
    const TextMetrics metrics = dc->getTextMetrics();
    const int32_t x = std::max(0, (TruncToInt32(width * sx) - extent.width) / 2);
    const int32_t y = std::max(0, TruncToInt32(height * sy) / 2 + metrics.ascent / 2);
    dc->setTextAlign(TA_BASELINE | TA_LEFT);
    dc->setBkMode(TRANSPARENT);
    dc->setTextColor(kBlack);
    dc->textOut(x, y, name);
    dc->selectFont(old);

    DibHandle h = DibHandleNew();
    if (!h || offscreen.End(h) != 0 || DibHandleIsEmpty(h)) {
        DibHandleFree(&h);
        return nullptr;
    }
    return h;
}
