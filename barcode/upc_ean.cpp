#include "barcode/upc_ean.h"

#include "barcode/bar_drawing.h"
#include "barcode/barcode_measure.h"
#include "barcode/barcode_scale.h"
#include "barcode/upc_ean_caption.h"
#include "barcode/upc_ean_encoding.h"

namespace {

// How high one element is drawn.
enum class Height { kFull, kShortened, kAddOn };

Height Shortened(const BarcodeRecord& rec) { return rec.showText ? Height::kShortened : Height::kFull; }

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

    // One half's digits, shortened over the caption; setOf gives the set
    // of the half's k-th digit. Where the caption goes under them is kept.
    template <typename SetOf>
    void Half(const uint8_t* digits, int count, SetOf setOf, double* start, double* end)
    {
        *start = x();
        for (int k = 0; k < count; ++k)
            Digit(digits[k], setOf(k), Shortened(rec_));
        *end = x();
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

EanSet LeftSet(int) { return EanSet::kA; }
EanSet RightSet(int) { return EanSet::kC; }

// Called just after the end guard; the add-on follows it at a gap.
void DrawAddOnAfter(UpcEanBars& bars, const UpcEanDigits& d, UpcEanCaptionLayout* layout)
{
    layout->endGuard = bars.x();
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
    bars.Half(d.main + 1, 6, [&](int k) { return Ean13DigitSet(d.main[0], k); }, &layout.leftStart, &layout.leftEnd);
    bars.CentreGuard();
    bars.Half(d.main + 7, 6, RightSet, &layout.rightStart, &layout.rightEnd);
    bars.Guard(2);
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
    bars.Half(d.main + 1, 5, LeftSet, &layout.leftStart, &layout.leftEnd);
    bars.CentreGuard();
    bars.Half(d.main + 6, 5, RightSet, &layout.rightStart, &layout.rightEnd);
    bars.Digit(d.main[11], EanSet::kC, Height::kFull);
    bars.Guard(2);
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
    bars.Half(d.main, 6, [&](int k) { return UpcEDigitSet(d.main[6], k); }, &layout.leftStart, &layout.leftEnd);
    bars.UpcEEndGuard();
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
    bars.Half(d.main, 4, LeftSet, &layout.leftStart, &layout.leftEnd);
    bars.CentreGuard();
    bars.Half(d.main + 4, 4, RightSet, &layout.rightStart, &layout.rightEnd);
    bars.Guard(2);
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

// The caption's digits printed outside the bars, ten modules each: the
// number system digit, and the check digit when the data leaves it out.
int OutsideDigitModules(const BarcodeRecord& rec, bool checkDigitOutside)
{
    if (!rec.showText)
        return 0;
    return (rec.showSystemDigit ? 10 : 0) + (rec.showCheckDigit && checkDigitOutside ? 10 : 0);
}

void SetUpcEanBounds(BarcodeRecord* rec, int modules)
{
    SetMeasuredBounds(rec, modules * rec->module, rec->barHeight + CaptionBandIf(*rec));
}

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

void MeasureUpcEan(Dc* dc, BarcodeRecord* rec)
{
    uint8_t data[256];
    if (!DropTypedCheckDigit(rec->type, rec->data, data)) {
        SetFailureBounds(dc, rec);
        return;
    }
    int n = data[0];
    if (rec->type == kBarcodeIsbn || rec->type == kBarcodeIssn)
        n += 3;
    SetUpcEanBounds(rec, 95 + AddOnModules(n, 13, 15) + OutsideDigitModules(*rec, n < 12));
}

void MeasureUpcE(Dc* dc, BarcodeRecord* rec)
{
    if (!AllDigitsOfLength(rec->data, 6, 8, 11)) {
        SetFailureBounds(dc, rec);
        return;
    }
    const int n = rec->data[0];
    SetUpcEanBounds(rec, 51 + AddOnModules(n, 8, 11) + OutsideDigitModules(*rec, n < 8));
}

void MeasureEan8(Dc* dc, BarcodeRecord* rec)
{
    uint8_t data[256];
    if (!DropTypedCheckDigit(rec->type, rec->data, data) || !AllDigitsOfLength(data, 7, 9, 12)) {
        SetFailureBounds(dc, rec);
        return;
    }
    SetUpcEanBounds(rec, 67 + AddOnModules(data[0], 9, 11));
}
