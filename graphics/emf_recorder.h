// Recording drawing as an enhanced metafile.
//
// EmfRecording hands out a recording Dc (Dc::ForRecording) whose every
// state change and drawing call becomes an enhanced-metafile record, in the
// logical units it was made in. Pens, brushes and fonts become objects of
// the metafile, created when selected and deleted once neither the Dc nor
// any saved state still holds them. The metafile's reference device is the
// reference context given at the start, so its device units are that
// context's pixels and its frame is the drawing's rectangle in them.
#pragma once

#include <cstdint>
#include <memory>

#include "foundation/int_geometry.h"
#include "graphics/emf_reader.h"

class Dc;
class EmfRecorder;

// The frame in 0.01 mm of a rectangle in pixels of a device with ppiX and
// ppiY pixels an inch: across with ppiX, down with ppiY, each truncated.
IntRect MetafileFrameFromPixels(const IntRect& pixels, double ppiX, double ppiY);
// Pixels an inch of a context as its size in pixels and millimetres give
// them (its logical resolution when it has no size).
void MetafileReferencePpi(const Dc* reference, double* ppiX, double* ppiY);

class EmfRecording {
public:
    // Records a drawing of the pixel rectangle (left, top, right, bottom)
    // of the reference context (null: a 96-dpi screen), starting with the
    // reference's text alignment and colours. The description
    // (Windows-1252, may be null) goes into the header. Null when the
    // rectangle is empty.
    static std::unique_ptr<EmfRecording> Begin(const Dc* reference, int32_t left, int32_t top, int32_t right,
                                               int32_t bottom, const char* description);
    ~EmfRecording();
    EmfRecording(const EmfRecording&) = delete;
    EmfRecording& operator=(const EmfRecording&) = delete;

    // The context to draw on, with the rectangle's own coordinates.
    Dc* dc() const { return dc_.get(); }
    // Ends the recording; the caller owns the metafile (null when memory
    // ran out). The context must not be used afterwards.
    EnhMetafile End();

private:
    EmfRecording() = default;
    std::unique_ptr<EmfRecorder> recorder_;
    std::unique_ptr<Dc> dc_;
};
