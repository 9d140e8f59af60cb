// Keeps a device context's pen for the length of a scope and changes it.
//
// Each change copies the selected pen, changes the copy and selects it;
// the end of the scope selects the pen that was there at the start. State
// objects on one device context end in the reverse order they began.
#pragma once

#include <cstdint>

#include "platform/gdi_types.h"

class Dc;

class PenState {
public:
    // Saves the selected pen and selects a copy of it one unit wide.
    explicit PenState(Dc* dc);
    ~PenState();
    PenState(const PenState&) = delete;
    PenState& operator=(const PenState&) = delete;

    // A copy of the selected pen with another width (the pen has one width
    // for both directions; widthY is taken for the interface's sake).
    void SetWidth(int32_t widthX, int32_t widthY);

    enum : uint32_t {
        kSetColour = 1,
        kSetWidth = 2,
        kNullPen = 4,
    };
    // A solid copy of the selected pen; flags choose what changes.
    void SetPen(ColorRef colour, int32_t width, uint32_t flags);

    const Pen& saved() const { return saved_; }

private:
    Dc* dc_;
    Pen saved_;
};
