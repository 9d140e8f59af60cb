// The Quick Card frames (types 13 and 18): a Postnet barcode of the
// address's ZIP code over an address block. They share the bars, whose
// height pushes the block down, and the data; each keeps its own block,
// stored behind the barcode record in its own layout, and its own
// settings dialog.
#pragma once

#include "frames/frame_obj_barcode.h"

class FontState;

class FrameObjQuickCardBarcode : public FrameObjBarcode {
public:
    // The block, then (with the barcode option) the Postnet bars above it.
    void DrawContent(Dc* dc) override;
    void DrawTextInto(Dc* dc) override { DrawText(dc); }
    // Postnet digits of the record, or the sample on screen.
    void GetBarcodeData(uint8_t* out) override;
    // Shift: object info; else the frame's own settings.
    void EditInfo(int32_t arg) override;

protected:
    // Whether field texts come from the current record.
    bool UsesRecord() const { return block_.recordFed || outputShift_; }
    // Height of the Postnet bars above the block at the zoom, 0 when
    // none are shown.
    int32_t BarsHeight(Dc* dc, int16_t numerator, int16_t denominator, int32_t* width);
    // The view's zoom and the bars' size at it.
    struct ViewBars {
        int16_t numerator = 1;
        int16_t denominator = 1;
        int32_t height = 0;
        int32_t width = 0;
    };
    ViewBars BarsAtViewZoom(Dc* dc);
    // Selects the frame's font at its view size, in its text colour.
    void SelectViewFont(FontState* font) const;
    // The block is as large as its lines: where the card's edge cuts it,
    // lines are lost. The window marks the frame, as a text frame whose
    // text does not fit; a print job counts the label.
    void MarkLinesPastTheCard(Dc* dc);

    // The stored word that tells whether the bars were shown when the
    // frame was last drawn.
    virtual uint8_t* ShownWord() = 0;
    // Opens the dialog of the frame's block.
    virtual void EditBlock() = 0;
};
