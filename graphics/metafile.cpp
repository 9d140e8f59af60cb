#include "graphics/metafile.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "foundation/cp1252.h"
#include "graphics/metafile_format.h"
#include "graphics/wmf_reader.h"

namespace {

// Windows metafiles name their size in 16-bit words; files are read no
// further than they reach, and never beyond this.
constexpr uint32_t kWmfMaxBytes = 256u << 20;

// The extension of the path's last component, upper-cased, dot included.
std::string UpperExtension(const char* path)
{
    const char* name = path;
    for (const char* p = path; *p; ++p) {
        if (*p == '/' || *p == '\\')
            name = p + 1;
    }
    const char* dot = std::strrchr(name, '.');
    std::string ext = dot ? dot : "";
    for (char& c : ext)
        c = char(Cp1252ToUpper(uint8_t(c)));
    return ext;
}

}  // namespace

EnhMetafile MetafileLoadByExtension(const char* path)
{
    if (!path)
        return nullptr;
    const std::string ext = UpperExtension(path);
    if (ext == ".WMF")
        return WmfFileToEnhMetafile(path, nullptr);
    if (ext == ".EMF")
        return GetEnhMetaFileA(path);
    return nullptr;
}

int32_t MetafileLoadString(EnhMetafile* object, const char* path)
{
    *object = MetafileLoadByExtension(path);
    return *object ? 0 : 1;
}

int32_t MetafileLoadPath(const PathRecord* record, EnhMetafile* object)
{
    *object = nullptr;
    char path[kPathTextSize];
    if (!record || PathRecordToString(record, path))
        return 1;
    return MetafileLoadString(object, path);
}

EnhMetafile WmfFileToEnhMetafile(const char* path, WmfHeader* headerOut)
{
    std::vector<uint8_t> file;
    if (MetafileReadWholeFile(path, kWmfMaxBytes, &file))
        return nullptr;
    return WmfBytesToEnhMetafile(file.data(), uint32_t(file.size()), headerOut);
}

EnhMetafile WmfBytesToEnhMetafile(const uint8_t* data, uint32_t size, WmfHeader* headerOut)
{
    if (!data)
        return nullptr;
    IntSize extents{kWmfDefaultExtent, kWmfDefaultExtent};
    IntRect window;
    bool placeable = false;
    uint32_t start = 0;
    PlaceableHeader ph;
    if (PlaceableHeaderRead(data, size, &ph)) {
        start = kPlaceableSize;
        // Units per inch of 0 would divide by zero: such a header says
        // nothing of the size, so the default extents stand.
        if (ph.unitsPerInch > 0) {
            extents.width = int32_t(std::abs((int64_t(ph.right) - ph.left) * 2540 / ph.unitsPerInch));
            extents.height = int32_t(std::abs((int64_t(ph.bottom) - ph.top) * 2540 / ph.unitsPerInch));
            window = IntRect{ph.left, ph.top, ph.right, ph.bottom};
            placeable = true;
        }
    }

    WmfHeader header;
    if (!WmfHeaderRead(data + start, size - start, &header) || !WmfHeaderValid(header))
        return nullptr;
    // The header's size is trusted no further than the bytes reach.
    const uint64_t claimed = uint64_t(header.sizeWords) * 2;
    const uint32_t available = size - start;
    const uint32_t n = claimed >= kWmfHeaderSize && claimed <= available ? uint32_t(claimed) : available;
    if (headerOut)
        *headerOut = header;
    if (extents.width == 0 || extents.height == 0)
        extents = IntSize{200, 200};
    return SetWinMetaFileBits(n, data + start, extents, placeable ? &window : nullptr);
}

int32_t MetafileFromHandle(EnhMetafile* object, Handle bits)
{
    *object = bits ? SetEnhMetaFileBits(HandleGetSize(bits), HandleData(bits)) : nullptr;
    return *object ? 0 : 1;
}

int32_t MetafileToHandle(EnhMetafile object, Handle bits)
{
    const uint32_t n = GetEnhMetaFileBits(object, 0, nullptr);
    if (n > uint32_t(INT32_MAX))
        return 1;
    const int32_t err = HandleResize(bits, int32_t(n));
    if (err)
        return err;
    if (n == 0 || GetEnhMetaFileBits(object, n, HandleData(bits)) != n) {
        HandleResize(bits, 0);
        return 1;
    }
    return 0;
}

int32_t MetafileFileToHandle(const PathRecord* record, Handle bits)
{
    EnhMetafile mf = nullptr;
    if (MetafileLoadPath(record, &mf))
        return 1;
    const int32_t err = MetafileToHandle(mf, bits);
    DeleteEnhMetaFile(mf);
    return err;
}

void MetafileGetFrameSize(EnhMetafile object, int32_t* width, int32_t* height, int32_t maxSide)
{
    *width = *height = 0;
    if (!object)
        return;
    const IntRect& f = object->header.frame;
    // 72 / 254 taken exactly: the same truncation the factor gives, without
    // its rounding error.
    int64_t w = (int64_t(f.right) - f.left) * 72 / 254;
    int64_t h = (int64_t(f.bottom) - f.top) * 72 / 254;
    if (maxSide >= 1 && (w > maxSide || h > maxSide)) {
        // The smaller of maxSide / w and maxSide / h is maxSide over the
        // larger side, which is positive here: a side of 0 cannot divide.
        const int64_t side = std::max(w, h);
        w = w * maxSide / side;
        h = h * maxSide / side;
    }
    *width = int32_t(w);
    *height = int32_t(h);
}
