#include "barcode/upc_ean.h"

#include "barcode/bar_drawing.h"
#include "barcode/barcode_measure.h"
#include "barcode/barcode_scale.h"
#include "barcode/upc_ean_caption.h"
#include "barcode/upc_ean_encoding.h"

namespace {

// How high one element is drawn.
enum class Height { kFull, kShortened, kAddOn };

class UpcEanBars {
public:
    UpcEanBars(Dc* dc, const BarcodeRecord& rec, double x) : rec_(rec), track_(dc, rec, x) {}

    double x() const { return track_.x(); }
    void Skip(double width) { track_.Space(width); }

    // n one-module bars with one module of space between them.
    void Guard(int n)
    {
        for (int i = 0; i < n; ++i) {
            if (i > 0)
                track_.Space(rec_.space);
            Bar(1, Height::kFull);
        }
    }
    void CentreGuard()
    {
        track_.Space(rec_.space);
        Guard(2);
        track_.Space(rec_.space);
    }
    void UpcEEndGuard()
    {
        track_.Space(rec_.space);
        Guard(3);
    }

    void Digit(int digit, EanSet set, Height height)
    {
        int w[4];
        EanDigitWidths(digit, set, w);
        const bool barFirst = set == EanSet::kC;
        for (int i = 0; i < 4; ++i) {
            if ((i % 2 == 0) == barFirst)
                Bar(w[i], height);
            else
                track_.Space(w[i] * rec_.space);
        }
    }

    // The add-on guard 1011 and the digits, one module of space and a
    // one-module bar between two digits.
    void AddOn(const UpcEanDigits& d)
    {
        Bar(1, Height::kAddOn);
        track_.Space(rec_.space);
        Bar(2, Height::kAddOn);
        for (int k = 0; k < d.addOnCount; ++k) {
            if (k > 0) {
                track_.Space(rec_.space);
                Bar(1, Height::kAddOn);
            }
            Digit(d.addOn[k], AddOnDigitSet(d.addOn, d.addOnCount, k), Height::kAddOn);
        }
    }

private:
    void Bar(int modules, Height height)
    {
        double top = rec_.originY;
        double h = rec_.barHeight;
        if (rec_.showText && height != Height::kFull) {
            h -= gCaptionBand;
            if (height == Height::kAddOn) {
                top += gCaptionRise;
                h -= gCaptionRise;
            }
        }
        track_.Bar(modules * rec_.module, BarcodeTrunc(top), BarcodeTrunc(h));
    }

    const BarcodeRecord& rec_;
    BarTrack track_;
};

Height Shortened(const BarcodeRecord& rec) { return rec.showText ? Height::kShortened : Height::kFull; }

void DrawAddOnAfter(UpcEanBars& bars, const UpcEanDigits& d, UpcEanCaptionLayout* layout)
{
    if (d.addOnCount == 0)
        return;
    bars.Skip(gAddOnGap);
    layout->addOnStart = bars.x();
    bars.AddOn(d);
    layout->addOnEnd = bars.x();
}

bool DrawEan13Digits(Dc* dc, BarcodeRecord* rec, const UpcEanDigits& d)
{
    double x = rec->originX;
    if (rec->showText && rec->showSystemDigit)
        x += gAddOnGap;
    UpcEanBars bars(dc, *rec, x);
    UpcEanCaptionLayout layout;
    bars.Guard(2);
    layout.leftStart = bars.x();
    for (int k = 0; k < 6; ++k)
        bars.Digit(d.main[1 + k], Ean13DigitSet(d.main[0], k), Shortened(*rec));
    layout.leftEnd = bars.x();
    bars.CentreGuard();
    layout.rightStart = bars.x();
    for (int k = 7; k < 13; ++k)
        bars.Digit(d.main[k], EanSet::kC, Shortened(*rec));
    layout.rightEnd = bars.x();
    bars.Guard(2);
    layout.endGuard = bars.x();
    DrawAddOnAfter(bars, d, &layout);
    if (rec->showText)
        DrawEan13Caption(dc, *rec, d, layout);
    return true;
}

}  // namespace

bool DrawUpcA(Dc* dc, BarcodeRecord* rec)
{
    UpcEanDigits d;
    if (!SplitUpcEanData(rec->type, rec->data, rec->bookPrefix, &d))
        return false;
    double x = rec->originX;
    if (rec->showText && rec->showSystemDigit)
        x += UpcOutsideDigitWidth(dc, *rec, uint8_t('0' + d.main[0])) + gHalfDigit;
    UpcEanBars bars(dc, *rec, x);
    UpcEanCaptionLayout layout;
    bars.Guard(2);
    bars.Digit(d.main[0], EanSet::kA, Height::kFull);
    layout.leftStart = bars.x();
    for (int k = 1; k < 6; ++k)
        bars.Digit(d.main[k], EanSet::kA, Shortened(*rec));
    layout.leftEnd = bars.x();
    bars.CentreGuard();
    layout.rightStart = bars.x();
    for (int k = 6; k < 11; ++k)
        bars.Digit(d.main[k], EanSet::kC, Shortened(*rec));
    layout.rightEnd = bars.x();
    bars.Digit(d.main[11], EanSet::kC, Height::kFull);
    bars.Guard(2);
    layout.endGuard = bars.x();
    DrawAddOnAfter(bars, d, &layout);
    if (rec->showText)
        DrawUpcACaption(dc, *rec, d, layout);
    return true;
}

bool DrawUpcE(Dc* dc, BarcodeRecord* rec)
{
    UpcEanDigits d;
    if (!SplitUpcEanData(rec->type, rec->data, rec->bookPrefix, &d))
        return false;
    double x = rec->originX;
    if (rec->showText && rec->showSystemDigit)
        x += UpcOutsideDigitWidth(dc, *rec, '0') + gHalfDigit;
    UpcEanBars bars(dc, *rec, x);
    UpcEanCaptionLayout layout;
    bars.Guard(2);
    layout.leftStart = bars.x();
    for (int k = 0; k < 6; ++k)
        bars.Digit(d.main[k], UpcEDigitSet(d.main[6], k), Shortened(*rec));
    layout.leftEnd = bars.x();
    bars.UpcEEndGuard();
    layout.endGuard = bars.x();
    DrawAddOnAfter(bars, d, &layout);
    if (rec->showText)
        DrawUpcECaption(dc, *rec, d, layout);
    return true;
}

bool DrawEan13(Dc* dc, BarcodeRecord* rec)
{
    UpcEanDigits d;
    return SplitUpcEanData(rec->type, rec->data, rec->bookPrefix, &d) && DrawEan13Digits(dc, rec, d);
}

bool DrawIsbnIssn(Dc* dc, BarcodeRecord* rec) { return DrawEan13(dc, rec); }

bool DrawEan8(Dc* dc, BarcodeRecord* rec)
{
    UpcEanDigits d;
    if (!SplitUpcEanData(rec->type, rec->data, rec->bookPrefix, &d))
        return false;
    UpcEanBars bars(dc, *rec, rec->originX);
    UpcEanCaptionLayout layout;
    bars.Guard(2);
    layout.leftStart = bars.x();
    for (int k = 0; k < 4; ++k)
        bars.Digit(d.main[k], EanSet::kA, Shortened(*rec));
    layout.leftEnd = bars.x();
    bars.CentreGuard();
    layout.rightStart = bars.x();
    for (int k = 4; k < 8; ++k)
        bars.Digit(d.main[k], EanSet::kC, Shortened(*rec));
    layout.rightEnd = bars.x();
    bars.Guard(2);
    layout.endGuard = bars.x();
    DrawAddOnAfter(bars, d, &layout);
    if (rec->showText)
        DrawEan8Caption(dc, *rec, d, layout);
    return true;
}

namespace {

int AddOnModules(int n, int firstTwo, int firstFive)
{
    if (n >= firstFive)
        return 57;
    return n >= firstTwo ? 32 : 0;
}

double CaptionBandIf(const BarcodeRecord& rec) { return rec.showText ? gCaptionBand : 0.0; }

bool AllDigitsOfLength(const uint8_t* data, int a, int b, int c)
{
    const int n = data[0];
    if (n != a && n != b && n != c)
        return false;
    for (int i = 1; i <= n; ++i) {
        if (data[i] < '0' || data[i] > '9')
            return false;
    }
    return true;
}

}  // namespace

void MeasureUpcEan(Dc*, BarcodeRecord* rec)
{
    int n = rec->data[0];
    if (rec->type == kBarcodeIsbn || rec->type == kBarcodeIssn)
        n += 3;
    int modules = 95 + AddOnModules(n, 13, 15);
    if (rec->showText) {
        modules += rec->showSystemDigit ? 10 : 0;
        modules += rec->showCheckDigit && n < 12 ? 10 : 0;
    }
    SetMeasuredBounds(rec, modules * rec->module, rec->barHeight + CaptionBandIf(*rec));
}

void MeasureUpcE(Dc* dc, BarcodeRecord* rec)
{
    if (!AllDigitsOfLength(rec->data, 6, 8, 11)) {
        SetFailureBounds(dc, rec);
        return;
    }
    const int n = rec->data[0];
    int modules = 51 + AddOnModules(n, 8, 11);
    if (rec->showText) {
        modules += rec->showSystemDigit ? 10 : 0;
        modules += rec->showCheckDigit && n < 8 ? 10 : 0;
    }
    SetMeasuredBounds(rec, modules * rec->module, rec->barHeight + CaptionBandIf(*rec));
}

void MeasureEan8(Dc* dc, BarcodeRecord* rec)
{
    if (!AllDigitsOfLength(rec->data, 7, 9, 12)) {
        SetFailureBounds(dc, rec);
        return;
    }
    const int n = rec->data[0];
    SetMeasuredBounds(rec, (67 + AddOnModules(n, 9, 11)) * rec->module, rec->barHeight + CaptionBandIf(*rec));
}
