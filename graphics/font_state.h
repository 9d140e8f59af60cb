// Keeps a device context's font and text colour for the length of a scope
// and changes the font.
#pragma once

#include <cstdint>

#include "platform/gdi_types.h"

class Dc;
struct FontSpec;

// What FontState::SetFont changes.
enum : uint32_t {
    kFontSetFace = 1,      // face, character set, pitch and family, precision
    kFontSetHeight = 2,    // character height, width 0
    kFontSetStyle = 4,     // bold (1), italic (2), underline (4)
    kFontSetColour = 8,    // the text colour
    kFontSetAngle = 32,    // escapement and orientation
};

// Style bits of SetFont and SelectFontStyle.
enum : uint32_t {
    kFontStyleBold = 1,
    kFontStyleItalic = 2,
    kFontStyleUnderline = 4,
};

class FontState {
public:
    // Saves the text colour and the selected font and selects a copy.
    explicit FontState(Dc* dc);
    // Selects the saved font back and restores the text colour.
    ~FontState();
    FontState(const FontState&) = delete;
    FontState& operator=(const FontState&) = delete;

    // A copy with character height n (the negative height) and width 0.
    void SetHeight(int32_t n);
    // The character height of the saved font.
    int32_t GetSavedHeight() const;
    // The general setter: a copy of the selected font changed as mask says
    // (angle in whole degrees). The colour is set even when no face is
    // given.
    void SetFont(const FontSpec* record, int32_t height, uint32_t style, ColorRef colour, int32_t angle, uint32_t mask);
    // Height and angle; fractions of a degree are dropped.
    void SetHeightAndAngle(int32_t height, double angle);
    void SetFaceHeightStyle(const FontSpec* record, int32_t height, uint32_t style);

private:
    Dc* dc_;
    LogFont saved_;
    ColorRef savedColour_ = kBlack;
};

// Weight, italic and underline of the style bits; strike-out cleared.
void ApplyFontStyle(LogFont* font, uint32_t style);
