// Keeps a device context's raster operation for the length of a scope.
#pragma once

#include <cstdint>

#include "platform/dc.h"

class RopState {
public:
    explicit RopState(Dc* dc) : dc_(dc), saved_(dc ? dc->rop2() : R2_COPYPEN) {}
    ~RopState()
    {
        if (dc_)
            dc_->setRop2(saved_);
    }
    RopState(const RopState&) = delete;
    RopState& operator=(const RopState&) = delete;

    void Set(int32_t rop)
    {
        if (dc_)
            dc_->setRop2(rop);
    }

private:
    Dc* dc_;
    int32_t saved_;
};
