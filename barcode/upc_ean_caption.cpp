#include "barcode/upc_ean_caption.h"

#include "barcode/bar_drawing.h"
#include "barcode/barcode_scale.h"
#include "barcode/caption_font.h"
#include "graphics/font_state.h"

namespace {

uint8_t DigitChar(int value) { return uint8_t('0' + value); }

// Baselines: the digits under the bars, and the add-on digits above the
// add-on's bars.
double MainBaseline(const BarcodeRecord& rec) { return rec.originY + rec.barHeight + rec.captionSize / 2.0; }
double AddOnBaseline(const BarcodeRecord& rec) { return rec.originY + rec.captionSize; }

// count digits centred in equal cells from start.
void DrawDigitCells(Dc* dc, const BarcodeRecord& rec, const uint8_t* digits, int count, double start, double cell,
                    double y)
{
    CaptionRun run(dc, rec);
    for (int i = 0; i < count; ++i) {
        const uint8_t ch = DigitChar(digits[i]);
        run.Add(start + i * cell + (cell - BarcodeCharWidth(dc, ch)) / 2.0, y, ch);
    }
    run.Draw();
}

// The digits spread evenly over the range [start, end).
void DrawDigitsOver(Dc* dc, const BarcodeRecord& rec, const uint8_t* digits, int count, double start, double end)
{
    DrawDigitCells(dc, rec, digits, count, start, (end - start) / count, MainBaseline(rec));
}

// The add-on digits in cells of the given width, two modules in.
void DrawAddOnCells(Dc* dc, const BarcodeRecord& rec, const UpcEanDigits& d, const UpcEanCaptionLayout& layout,
                    double cell)
{
    DrawDigitCells(dc, rec, d.addOn, d.addOnCount, layout.addOnStart + 2.0 * rec.module, cell, AddOnBaseline(rec));
}

void DrawEanAddOnCaption(Dc* dc, const BarcodeRecord& rec, const UpcEanDigits& d, const UpcEanCaptionLayout& layout)
{
    if (d.addOnCount > 0)
        DrawAddOnCells(dc, rec, d, layout, (d.addOnCount == 2 ? 7.0 : 8.6) * rec.module);
}

void SelectCaptionFont(FontState& font, const BarcodeRecord& rec, double scale)
{
    font.SetHeightAndAngle(CaptionSizeFrom(rec.captionSize * scale), rec.angle);
}

constexpr double kOutsideDigitScale = 0.8;

// The number-system digit at the left edge and the check digit beyond the
// end guard, in the smaller font.
void DrawOutsideDigits(Dc* dc, const BarcodeRecord& rec, uint8_t systemDigit, uint8_t checkDigit,
                       const UpcEanCaptionLayout& layout)
{
    FontState font(dc);
    SelectCaptionFont(font, rec, kOutsideDigitScale);
    if (rec.showSystemDigit)
        DrawCaptionChar(dc, rec, rec.originX, MainBaseline(rec), systemDigit);
    if (rec.showCheckDigit)
        DrawCaptionChar(dc, rec, layout.endGuard + gHalfDigit, MainBaseline(rec), checkDigit);
}

}  // namespace

int32_t UpcOutsideDigitWidth(Dc* dc, const BarcodeRecord& rec, uint8_t ch)
{
    FontState font(dc);
    font.SetHeight(CaptionSizeFrom(rec.captionSize * kOutsideDigitScale));
    return BarcodeCharWidth(dc, ch);
}

void DrawUpcACaption(Dc* dc, const BarcodeRecord& rec, const UpcEanDigits& d, const UpcEanCaptionLayout& layout)
{
    {
        FontState font(dc);
        SelectCaptionFont(font, rec, 1.0);
        DrawDigitsOver(dc, rec, d.main + 1, 5, layout.leftStart, layout.leftEnd);
        DrawDigitsOver(dc, rec, d.main + 6, 5, layout.rightStart, layout.rightEnd);
        if (d.addOnCount > 0) {
            // The add-on digits as one group centred over the add-on.
            const double gap = 2.0 * rec.module;
            double group = 0.0;
            for (int i = 0; i < d.addOnCount; ++i)
                group += BarcodeCharWidth(dc, DigitChar(d.addOn[i])) + gap;
            double x = layout.addOnStart + (layout.addOnEnd - layout.addOnStart - group) / 2.0;
            CaptionRun run(dc, rec);
            for (int i = 0; i < d.addOnCount; ++i) {
                const uint8_t ch = DigitChar(d.addOn[i]);
                run.Add(x, AddOnBaseline(rec), ch);
                x += BarcodeCharWidth(dc, ch) + gap;
            }
            run.Draw();
        }
    }
    DrawOutsideDigits(dc, rec, DigitChar(d.main[0]), DigitChar(d.main[11]), layout);
}

void DrawUpcECaption(Dc* dc, const BarcodeRecord& rec, const UpcEanDigits& d, const UpcEanCaptionLayout& layout)
{
    {
        FontState font(dc);
        SelectCaptionFont(font, rec, 1.0);
        DrawDigitsOver(dc, rec, d.main, 6, layout.leftStart, layout.leftEnd);
        if (d.addOnCount > 0)
            DrawAddOnCells(dc, rec, d, layout, (layout.addOnEnd - layout.addOnStart) / d.addOnCount);
    }
    DrawOutsideDigits(dc, rec, '0', DigitChar(d.main[6]), layout);
}

void DrawEan13Caption(Dc* dc, const BarcodeRecord& rec, const UpcEanDigits& d, const UpcEanCaptionLayout& layout)
{
    FontState font(dc);
    SelectCaptionFont(font, rec, 1.0);
    if (rec.showSystemDigit)
        DrawCaptionChar(dc, rec, rec.originX, MainBaseline(rec), DigitChar(d.main[0]));
    DrawDigitsOver(dc, rec, d.main + 1, 6, layout.leftStart, layout.leftEnd);
    DrawDigitsOver(dc, rec, d.main + 7, 6, layout.rightStart, layout.rightEnd);
    DrawEanAddOnCaption(dc, rec, d, layout);
}

void DrawEan8Caption(Dc* dc, const BarcodeRecord& rec, const UpcEanDigits& d, const UpcEanCaptionLayout& layout)
{
    FontState font(dc);
    SelectCaptionFont(font, rec, 1.0);
    const double cell = 28.0 * rec.module / 4.0;
    DrawDigitCells(dc, rec, d.main, 4, layout.leftStart, cell, MainBaseline(rec));
    DrawDigitCells(dc, rec, d.main + 4, 4, layout.rightStart, cell, MainBaseline(rec));
    DrawEanAddOnCaption(dc, rec, d, layout);
}
