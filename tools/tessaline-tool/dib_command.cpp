// dib from-bmp, to-bmp and info: between bitmap files and the program's
// file form of a picture (the size word and the packed bitmap), so that the
// form can be checked with other tools.

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "foundation/byte_order.h"
#include "foundation/file_io.h"
#include "foundation/path_record.h"
#include "graphics/dib_bmp.h"
#include "graphics/dib_format.h"
#include "graphics/dib_imaging.h"
#include "graphics/dib_serial.h"
#include "graphics/imaging_bitmap.h"
#include "graphics/imaging_formats.h"
#include "tool_command.h"

namespace {

constexpr const char* kUsage = "usage: dib from-bmp IN.bmp OUT.dib | dib to-bmp IN.dib OUT.bmp | dib info FILE";

std::string Code(int32_t code) { return " (error " + std::to_string(code) + ")"; }

bool ReadBytes(const std::string& path, std::vector<uint8_t>* bytes)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    if (size < 0 || uint64_t(size) > kDibMaxBlockSize + kBmpFileHeaderSize)
        return false;
    in.seekg(0);
    bytes->resize(size_t(size));
    return bool(in.read(reinterpret_cast<char*>(bytes->data()), size));
}

int32_t OpenFile(const std::string& path, bool create, FileHandle* file)
{
    PathRecord record{};
    if (int32_t e = PathRecordFromPosix(path, &record))
        return e;
    return create ? FileCreate(&record, kFileWrite, file) : FileOpen(&record, kFileRead, file);
}

// Reads a picture in the program's file form; the whole file must be it.
int32_t ReadDibFile(const std::string& path, DibHandle* h)
{
    FileHandle file = kNoFile;
    int32_t result = OpenFile(path, false, &file);
    if (result == 0) {
        result = DibHandleReadFile(file, h);
        uint32_t position = 0, size = 0;
        if (result == 0 && FileTell(file, &position) == 0 && FileGetSize(file, &size) == 0 && position != size)
            result = 1;
        FileClose(file);
    }
    return result;
}

// Any picture file the imaging engine reads, for bitmap files the checked
// reader does not take (compressed rows, old short headers).
bool LoadThroughEngine(const std::string& path, DibHandle h)
{
    ImagingBitmap bitmap;
    ImagingFileInfo info;
    return ImagingBitmap::ReadFileInfo(path, &info) && info.format == kImagingBmp && bitmap.LoadFile(path, info) &&
           DibHandleFromSdkBitmap(h, &bitmap, true) == 0;
}

int FromBmp(const std::string& in, const std::string& out)
{
    std::vector<uint8_t> bytes;
    if (!ReadBytes(in, &bytes))
        return ToolFail("dib from-bmp: cannot read " + in);
    DibHandleOwner h;
    if (!h)
        return ToolFail("dib from-bmp: out of memory");
    if (DibHandleFromBmpBytes(h.get(), bytes.data(), bytes.size(), false) != 0 && !LoadThroughEngine(in, h.get()))
        return ToolFail("dib from-bmp: " + in + " is not a bitmap file this program reads");
    FileHandle file = kNoFile;
    int32_t result = OpenFile(out, true, &file);
    if (result == 0) {
        result = DibHandleWriteFile(file, h.get());
        const int32_t closed = FileClose(file);
        if (result == 0)
            result = closed;
    }
    if (result)
        return ToolFail("dib from-bmp: cannot write " + out + Code(result));
    return 0;
}

int ToBmp(const std::string& in, const std::string& out)
{
    DibHandleOwner owner(nullptr);
    const int32_t result = ReadDibFile(in, owner.address());
    DibHandle h = owner.get();
    if (result)
        return ToolFail("dib to-bmp: " + in + " is not a picture in the program's file form" + Code(result));
    std::vector<uint8_t> bytes;
    if (DibHandleToBmpBytes(h, &bytes))
        return ToolFail("dib to-bmp: " + in + " holds an empty picture");
    std::ofstream file(out, std::ios::binary | std::ios::trunc);
    if (!file || !file.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size())) ||
        !file.flush())
        return ToolFail("dib to-bmp: cannot write " + out);
    return 0;
}

int Info(const std::string& path)
{
    std::vector<uint8_t> bytes;
    if (!ReadBytes(path, &bytes))
        return ToolFail("dib info: cannot read " + path);
    DibHandleOwner h;
    if (!h)
        return ToolFail("dib info: out of memory");
    const bool bmp = bytes.size() >= 2 && GetU16LE(bytes.data()) == kBmpMagic;
    int32_t result = 0;
    if (bmp) {
        result = DibHandleFromBmpBytes(h.get(), bytes.data(), bytes.size(), false);
    } else {
        result = DibHandleDeserialize(h.get(), bytes.data(), bytes.size(), 0);
        if (result == 0 && DibHandleSerialSize(h.get()) != bytes.size())
            result = 1;
    }
    if (result)
        return ToolFail("dib info: " + path + " is neither a bitmap file nor a picture in the program's file form");
    DibHandle dib = h.get();
    const DibRecord* r = DibHandleBlockSlot(dib);
    std::printf("form: %s\n", bmp ? "bmp" : "dib");
    if (DibHandleIsEmpty(dib)) {
        std::printf("empty: yes\n");
    } else {
        std::printf("width: %d\nheight: %d\nbits: %d\ncolours: %u\nstride: %d\nblock: %u\n", DibHandleWidth(dib),
                    DibHandleHeight(dib), DibHandleBitCount(dib), GetU32LE(r->block + kBiClrUsed),
                    DibHandleStride(dib), r->byteSize);
    }
    return 0;
}

}  // namespace

int RunDib(const ToolArgs& args)
{
    if (args.size() == 3 && args[0] == "from-bmp")
        return FromBmp(args[1], args[2]);
    if (args.size() == 3 && args[0] == "to-bmp")
        return ToBmp(args[1], args[2]);
    if (args.size() == 2 && args[0] == "info")
        return Info(args[1]);
    return ToolFail(kUsage);
}

TESSALINE_TOOL_COMMAND("dib", "dib from-bmp IN.bmp OUT.dib | to-bmp IN.dib OUT.bmp | info FILE", RunDib);
