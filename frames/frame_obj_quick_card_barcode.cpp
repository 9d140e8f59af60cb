#include "frames/frame_obj_quick_card_barcode.h"

#include "barcode/barcode_measure.h"
#include "barcode/barcode_record.h"
#include "foundation/byte_order.h"
#include "foundation/keys.h"
#include "frames/address_block_layout.h"
#include "frames/frame_font.h"
#include "graphics/font_state.h"
#include "platform/dc.h"

void FrameObjQuickCardBarcode::GetBarcodeData(uint8_t* out)
{
    PStrFromCStr(out, QuickCardPostnetData(UsesRecord(), outputShift_ != 0).c_str());
}

int32_t FrameObjQuickCardBarcode::BarsHeight(Dc* dc, int16_t numerator, int16_t denominator, int32_t* width)
{
    *width = 0;
    if (!block_.barcodeOption || !IsPostnetLength(QuickCardZipText(UsesRecord(), outputShift_ != 0).size()))
        return 0;
    SetSymbology(1);
    FetchData();
    BarcodeRecord rec;
    BarcodeRecordRead(record_, &rec);
    IntRect r;
    MeasureBarcode(dc, &rec, &r, numerator, denominator);
    *width = r.right - r.left;
    return r.bottom - r.top;
}

FrameObjQuickCardBarcode::ViewBars FrameObjQuickCardBarcode::BarsAtViewZoom(Dc* dc)
{
    ViewBars bars;
    GetZoom(&bars.numerator, &bars.denominator);
    bars.height = BarsHeight(dc, bars.numerator, bars.denominator, &bars.width);
    return bars;
}

void FrameObjQuickCardBarcode::SelectViewFont(FontState* font) const
{
    const FrameAttributes& a = block_.attr;
    SelectFrameFont(font, this, DocToViewLength(FrameFontSize(a.fontSize)),
                    Tint(uint8_t(a.textColour), uint8_t(a.textTint)));
}

void FrameObjQuickCardBarcode::DrawContent(Dc* dc)
{
    SetSymbology(1);
    PutI32LE(ShownWord(), block_.barcodeOption);
    DrawTextContent(dc);
    if (!block_.barcodeOption)
        return;
    FetchData();
    SetRemeasure();
    if (IsPostnetLength(record_[kBarcodeDataOffset]))
        DrawBars(dc);
}

void FrameObjQuickCardBarcode::EditInfo(int32_t arg)
{
    if (IsKeyDown(kVkShift))
        FrameObjText::EditInfo(arg);
    else
        EditBlock();
}
