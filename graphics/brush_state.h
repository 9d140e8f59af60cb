// Keeps a device context's brush, text colour and background colour for
// the length of a scope and changes them.
#pragma once

#include <cstdint>
#include <optional>

#include "platform/gdi_types.h"

class Dc;

class BrushState {
public:
    enum : uint32_t {
        kSetText = 1,
        kSetBackground = 2,
        kHollow = 4,
        kSparsePattern = 8,         // bitmap resource 26074
        kCheckerboardPattern = 16,  // bitmap resource 26073
    };

    explicit BrushState(Dc* dc);
    ~BrushState();
    BrushState(const BrushState&) = delete;
    BrushState& operator=(const BrushState&) = delete;

    // Sets the colours the flags choose first, so that a pattern brush
    // draws in the new ones, then selects the brush of the first flag
    // that applies (hollow, sparse, checkerboard) or of fill pattern n.
    // A pattern that cannot be made leaves the brush as it was. Returns 1.
    int32_t Set(ColorRef text, ColorRef background, int32_t n, uint32_t flags);
    // The brush of fill pattern n in the device context's colours, without
    // selecting it; nothing when the pattern's bitmap is missing.
    std::optional<Brush> MakePatternBrush(int32_t n) const;
    // Selects fill pattern n; 0 when there is no such brush.
    int32_t SetPattern(int32_t n);
    void SetSolid(ColorRef colour);
    void SetColours(ColorRef text, ColorRef background);
    void GetColours(ColorRef* text, ColorRef* background) const;

private:
    Dc* dc_;
    Brush saved_;
    ColorRef savedText_ = kBlack;
    ColorRef savedBackground_ = kWhite;
};
