#include "graphics/postscript.h"

#include <cstring>
#include <vector>

#include "foundation/byte_order.h"
#include "foundation/file_io.h"
#include "foundation/win_error.h"
#include "graphics/eps_section.h"
#include "platform/dc.h"

const char* const kEpsProlog =
    " /b4_Inc_state save def  /dict_count countdictstack def  /op_count count 1 sub def  userdict begin  "
    "/showpage {} def  0 setgray 0 setlinecap  1 setlinewidth 0 setlinejoin  10 setmiterlimit [] 0 setdash "
    "newpath  /languagelevel where  {pop languagelevel  1 ne   {false setstrokeadjust false setoverprint   } if  "
    "} if ";
const char* const kEpsEpilog =
    " count op_count sub {pop} repeat  countdictstack dict_count sub {end} repeat  b4_Inc_state restore ";

int32_t PassThroughBuffer::Escape(const uint8_t* buffer, uint32_t size)
{
    if (!buffer || size < 2 || GetU16LE(buffer) != size - 2)
        return 0;
    text_.append(reinterpret_cast<const char*>(buffer) + 2, size - 2);
    return 1;
}

int32_t DcPassThrough::Escape(const uint8_t* buffer, uint32_t size)
{
    if (!dc_ || !buffer || size < 2 || GetU16LE(buffer) != size - 2)
        return 0;
    return dc_->passThrough(reinterpret_cast<const char*>(buffer) + 2, size - 2) ? 1 : 0;
}

int32_t PsSendData(PassThroughSink* sink, const void* bytes, int32_t count)
{
    if (count < 1)
        return 0;
    if (!sink || !bytes)
        return 1;
    const uint8_t* p = static_cast<const uint8_t*>(bytes);
    std::vector<uint8_t> buffer(kPassThroughChunk + 2);
    uint32_t left = uint32_t(count);
    while (left > 0) {
        const uint32_t n = left < kPassThroughChunk ? left : kPassThroughChunk;
        PutU16LE(buffer.data(), uint16_t(n));
        std::memcpy(buffer.data() + 2, p, n);
        if (sink->Escape(buffer.data(), n + 2) <= 0)
            return 1;
        p += n;
        left -= n;
    }
    return 0;
}

int32_t PsSendCStr(PassThroughSink* sink, const char* text)
{
    if (!text || !*text)
        return 0;
    const size_t n = std::strlen(text);
    return PsSendData(sink, text, n > size_t(INT32_MAX) ? INT32_MAX : int32_t(n));
}

int32_t PsGsave(PassThroughSink* sink)
{
    return PsSendCStr(sink, " gsave \n");
}

int32_t PsGrestore(PassThroughSink* sink)
{
    return PsSendCStr(sink, " grestore \n");
}

int32_t PsSendFile(PassThroughSink* sink, const PathRecord* record)
{
    FileHandle file = kNoFile;
    int32_t result = FileOpen(record, kFileRead, &file);
    if (result != 0)
        return result;
    uint32_t offset = 0, length = 0;
    result = EpsLocateSection(file, &offset, &length);
    if (result == 0)
        result = FileSeek(file, kSeekStart, int32_t(offset));
    uint8_t chunk[kPassThroughChunk];
    while (result == 0 && length > 0) {
        uint32_t n = length < kPassThroughChunk ? length : kPassThroughChunk;
        result = FileReadCount(file, &n, chunk);
        if (result == kErrHandleEof && n > 0)
            result = 0;
        if (result != 0)
            break;
        if (PsSendData(sink, chunk, int32_t(n)) != 0)
            result = 1;
        length -= n;
    }
    FileClose(file);
    return result;
}

int32_t PsIncludeEps(PassThroughSink* sink, const PathRecord* file)
{
    int32_t refused = PsSendCStr(sink, kEpsProlog);
    refused |= PsSendCStr(sink, "%%BeginDocument:A\n");
    const int32_t result = refused ? 1 : PsSendFile(sink, file);
    // The epilog goes out after a failed file too: it restores the state
    // the prolog saved, so the rest of the job still runs.
    refused |= PsSendCStr(sink, "%%EndDocument\n");
    refused |= PsSendCStr(sink, kEpsEpilog);
    if (result != 0)
        return result;
    return refused ? 1 : 0;
}
