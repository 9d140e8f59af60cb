// Reads arbitrary bytes as the swap-file block of a frame that shows
// content (text, barcode, counter, Quick Card, field barcode, power text,
// image and picture frames) and then uses the frame as a page would:
// recomputes it, draws it on the screen and as printed, measures it, and
// for pictures prepares the picture and traces its outline.
//
// Input byte 0 picks the frame type, byte 1 the zoom; the rest is the block.
#include <unistd.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "foundation/alert_sink.h"
#include "foundation/file_io.h"
#include "foundation/path_record.h"
#include "frames/frame_factory.h"
#include "frames/frame_obj.h"
#include "frames/frame_obj_barcode.h"
#include "frames/frame_obj_image.h"
#include "frames/frame_obj_text.h"
#include "frames/wrap_point_list.h"
#include "fuzz_support.h"
#include "offscreen_gui.h"
#include "tools/stand_ins/sample_page.h"

namespace {

const int16_t kContentTypes[] = {kFrameText,          kFrameImage,        kFrameBarcode,      kFrameCounterBarcode,
                                 kFrameBarcode13,     kFrameFieldBarcode, kFramePicture,      kFramePowerText,
                                 kFrameBarcode18};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    StartOffscreenGui(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    SilenceAlerts();
    static const std::string folder = ProcessFolder("content");
    if (size < 2 || size > (1 << 16))
        return 0;
    const int16_t type = kContentTypes[data[0] % (sizeof kContentTypes / sizeof kContentTypes[0])];
    const uint16_t zoom = uint16_t(25 + data[1] % 8 * 25);

    SamplePageDocument doc(folder, IntSize{300, 200}, zoom);
    Check(doc.ok());
    // The block sits at the start of the swap file, as a document's frames
    // do after opening; whatever positions it names are read from there.
    Check(doc.SwapFile()->WriteAt(0, uint32_t(size - 2), data + 2) == 0);
    std::unique_ptr<FrameObj> frame(NewFrameObject(type));
    frame->SetDocument(&doc);
    if (frame->ReadBack(doc.SwapFile()->GetFileHandle(), 0) != 0)
        return 0;

    Dc* dc = doc.GetViewDC();
    frame->Recompute(1);
    frame->DrawClipped(dc, 1);
    frame->SetGhost(1);
    frame->Draw(dc);
    frame->SetGhost(0);
    frame->ShiftForOutput(1, uint8_t(data[1] & 1 ? kOutputPostScript : 0), 5, 5);
    frame->Draw(dc);
    frame->ShiftForOutput(0, 0, 5, 5);
    frame->OffsetBy(IntPoint{7, -3}, 1, 1);

    WrapPointList list;
    frame->AddOutlinePoints(dc, &list, WrapPointList::kCapacity);
    if (auto* barcode = dynamic_cast<FrameObjBarcode*>(frame.get())) {
        IntRect measured;
        barcode->MeasureContent(&measured);
    }
    if (auto* image = dynamic_cast<FrameObjImage*>(frame.get())) {
        image->PrepareImage(0);
        image->PrepareImage(1);
        image->BuildPictureOutline(true, true);
        Check(image->PictureOutline().size() <= 8 || image->PictureOutline().size() <= size_t(kImageOutlinePoints));
        image->AdjustScale(int32_t(data[1]) - 128, 50);
        image->PanBy(3, 4);
        image->PrepareImage(0);
    }
    return 0;
}
