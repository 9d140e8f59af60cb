// OffscreenDC: drawing into a picture instead of onto a device.
//
// Begin opens a memory context on a bitmap section of the target
// rectangle (both edges included), with the target's text alignment and
// colours and its origin at the rectangle's top-left, so that drawing code
// uses the coordinates it would use on the target; End hands the picture
// over as a DibHandle. BeginMetafile and EndMetafile do the same for an
// enhanced metafile recorded in memory.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include <QImage>

#include "foundation/handle.h"
#include "foundation/int_geometry.h"
#include "graphics/dib_handle.h"
#include "platform/dc_recorder.h"
#include "platform/gdi_types.h"

class Dc;

// Sections of more bytes than this are shrunk when Begin may shrink.
constexpr uint64_t kOffscreenShrinkBytes = 5000000;

// What records a metafile drawn through OffscreenDC: it sees every call on
// the recording context and finally gives the metafile's bytes (empty when
// the recording failed).
class MetafileRecorder : public DcRecorder {
public:
    virtual std::vector<uint8_t> finish() = 0;
    // The recording context, once it exists, for reading its state.
    virtual void attach(const Dc*) {}
};

class OffscreenDC {
public:
    enum State : int16_t {
        kIdle = 0,
        kBitmap = 1,
        kMetafile = 2,
    };

    explicit OffscreenDC(Dc* target);
    ~OffscreenDC();
    OffscreenDC(const OffscreenDC&) = delete;
    OffscreenDC& operator=(const OffscreenDC&) = delete;

    // Opens a 24-bit section of (right - left + 1) x (bottom - top + 1)
    // pixels filled with the background colour; out receives the
    // rectangle it covers (right and bottom excluded). With shrink, a
    // section of more than kOffscreenShrinkBytes is made smaller by the
    // same factor across and down, and one that cannot be made is halved
    // until it can (down to 1 x 1). 0 on success, 1 on failure with
    // nothing left open.
    int32_t Begin(int32_t left, int32_t top, int32_t right, int32_t bottom, ColorRef background, IntRect* out,
                  bool shrink);
    // Hands the picture to out (cleared first; null discards it) and
    // closes the drawing. 1 when no drawing was open.
    int32_t End(DibHandle out);

    // Starts recording a metafile whose frame is the rectangle, given in
    // the target's pixels. pixelsPerInch, when above 0, is the resolution
    // the metafile declares for those pixels (its frame's size follows),
    // else the target's. 1 when it cannot be made.
    int32_t BeginMetafile(int32_t left, int32_t top, int32_t right, int32_t bottom, const char* description,
                          int32_t pixelsPerInch = 0);
    // Ends the recording and puts the metafile's bytes into bits (resized
    // to them). 1 when no recording was open or it gave nothing.
    int32_t EndMetafile(Handle bits);

    // The context to draw into while a drawing or recording is open.
    Dc* GetSafeHdc() const;
    State state() const { return state_; }

private:
    bool makeSection(int32_t width, int32_t height);
    void release();

    Dc* target_;
    std::unique_ptr<Dc> memory_;
    QImage section_;
    IntRect rect_;
    DibHandle dib_ = nullptr;
    std::unique_ptr<MetafileRecorder> recorder_;
    State state_ = kIdle;
};

// The frame of a metafile in hundredths of a millimetre from a rectangle in
// the reference device's pixels: x values through its horizontal
// resolution, y values through its vertical one.
IntRect MetafileFrameOfPixels(const Dc& reference, const IntRect& pixels);

// For tests: sections of more than `bytes` cannot be made; -1 lifts the
// limit.
void OffscreenInjectSectionLimit(int64_t bytes);
