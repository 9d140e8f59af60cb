#include "frames/frame_obj_quick_card_barcode.h"

#include "barcode/barcode_measure.h"
#include "barcode/barcode_record.h"
#include "foundation/byte_order.h"
#include "foundation/keys.h"
#include "frames/address_block_layout.h"
#include "frames/card_edge_cut.h"
#include "frames/frame_document.h"
#include "frames/frame_font.h"
#include "frames/frame_view_services.h"
#include "frames/print_losses.h"
#include "graphics/font_state.h"
#include "graphics/rect_ops.h"
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
    MarkLinesPastTheCard(dc);
    if (!block_.barcodeOption)
        return;
    FetchData();
    SetRemeasure();
    if (IsPostnetLength(record_[kBarcodeDataOffset]))
        DrawBars(dc);
}

void FrameObjQuickCardBarcode::MarkLinesPastTheCard(Dc* dc)
{
    if (ghost_)
        return;
    const FrameGeometry& v = viewGeometry_;
    const IntRect lines{v.x, v.y, v.x + v.width, v.y + v.height};
    IntRect shown;
    if (IsOutputShift()) {
        IntRect label;
        dc->getClipBox(&label);
        if (CardEdgeCuts(lines, label, &shown))
            NoteQuickCardCutOff();
        return;
    }
    FrameView* view = View();
    if (!view || !view->IsScreenTarget() || !document_)
        return;
    // The card is the page slot the frame stands on.
    IntRect frame;
    PlacementToRect(block_.attr.geometry, &frame);
    for (int16_t slot = 0; slot < 2; ++slot) {
        IntRect card, common;
        document_->GetPageSlotRect(slot, &card);
        if (!RectIntersect(frame, card, &common))
            continue;
        DocToViewRect(&card);
        if (!CardEdgeCuts(lines, card, &shown) || shown.right <= shown.left)
            return;
        DrawOverflowMark(dc, shown);
        return;
    }
}

void FrameObjQuickCardBarcode::EditInfo(int32_t arg)
{
    if (IsKeyDown(kVkShift))
        FrameObjText::EditInfo(arg);
    else
        EditBlock();
}
