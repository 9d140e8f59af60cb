// Reads arbitrary bytes as frame blocks and as a frame-store section.
//
// Input byte 0 picks the frame type, byte 1 the mode. Modes 0 and 1 read
// the rest as one frame's block (for the document or for the swap file); a
// block that is accepted must write back to bytes that read and write the
// same again. Mode 2 reads it as a document: a u32 section length, the
// section of 56-byte frame records, and whatever the records point at; every
// frame is loaded and unloaded and the whole store is saved.
#include <unistd.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "foundation/byte_order.h"
#include "frame_fuzz.h"
#include "frames/frame_factory.h"
#include "frames/frame_obj.h"
#include "frames/frame_record_format.h"

namespace {

// The bytes, with the file's position back at its start.
void PutRewound(FileHandle f, const uint8_t* data, size_t n)
{
    Put(f, data, n);
    Check(FileSeek(f, kSeekStart, 0) == 0);
}

using Document = SwapFileDocument;

void OneBlock(int16_t type, bool swapTarget, const uint8_t* data, size_t size, FileHandle in, FileHandle out)
{
    Document doc;
    PutRewound(in, data, size);
    std::unique_ptr<FrameObj> frame(NewFrameObject(type));
    frame->SetDocument(&doc);
    const int32_t read = swapTarget ? frame->ReadBack(in, 0) : frame->Read(in, 0);
    if (read != 0)
        return;
    PutRewound(out, nullptr, 0);
    Check((swapTarget ? frame->WriteBack(out, 0) : frame->Write(out, 0)) == 0);
    const std::vector<uint8_t> once = FileBytes(out);
    if (swapTarget)
        Check(once.size() == frame->DataSize());
    std::unique_ptr<FrameObj> again(NewFrameObject(type));
    again->SetDocument(&doc);
    Check((swapTarget ? again->ReadBack(out, 0) : again->Read(out, 0)) == 0);
    PutRewound(out, nullptr, 0);
    Check((swapTarget ? again->WriteBack(out, 0) : again->Write(out, 0)) == 0);
    Check(FileBytes(out) == once);
}

void Section(const uint8_t* data, size_t size, FileHandle in, FileHandle out)
{
    if (size < 4)
        return;
    Document doc;
    PutRewound(in, data, size);
    Check(doc.swap.WriteAt(0, uint32_t(size), data) == 0);
    if (doc.frames.ReadStore(in, 4, GetU32LE(data)) != 0)
        return;
    Check(uint64_t(doc.frames.Count()) * kFrameRecordSize <= size);
    for (int32_t i = 0; i < doc.frames.Count() && i < 64; ++i) {
        const uint16_t id = HeaderId(doc.frames.RecordPtr(i));
        if (FrameObj* frame = doc.frames.LoadFrame(id, 0)) {
            Check(frame->FrameId() == id);
            doc.frames.UnloadData(id);
        }
    }
    PutRewound(out, nullptr, 0);
    doc.frames.WriteStore(out, 0);
    Check(doc.frames.WindowSize() == 0 || doc.frames.WindowSize() == uint32_t(doc.frames.Count()) * kFrameRecordSize);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    SilenceAlerts();
    static FileHandle in = Scratch("frame-in");
    static FileHandle out = Scratch("frame-out");
    if (size < 2 || size > (1 << 16))
        return 0;
    const int16_t type = int16_t(data[0] % 19);
    const int mode = data[1] % 3;
    if (mode == 2)
        Section(data + 2, size - 2, in, out);
    else if (IsFrameTypeKnown(type))
        OneBlock(type, mode == 1, data + 2, size - 2, in, out);
    return 0;
}
