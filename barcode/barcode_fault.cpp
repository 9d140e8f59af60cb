#include "barcode/barcode_fault.h"

#include "barcode/code128_encoding.h"
#include "barcode/upc_ean_encoding.h"

namespace {

bool AllDigits(const uint8_t* data)
{
    for (int i = 1; i <= data[0]; ++i) {
        if (data[i] < '0' || data[i] > '9')
            return false;
    }
    return true;
}

// The digits a retail symbology takes before its check digit, and whether
// the check digit may be typed too.
struct RetailLengths {
    int main;
    bool typedCheck;
};

bool RetailLengthsOf(int16_t type, RetailLengths* out)
{
    switch (type) {
    case kBarcodeUpcA: *out = {11, true}; return true;
    case kBarcodeUpcE: *out = {6, false}; return true;
    case kBarcodeEan13: *out = {12, true}; return true;
    case kBarcodeEan8: *out = {7, true}; return true;
    case kBarcodeIsbn:
    case kBarcodeIssn: *out = {9, false}; return true;
    default: return false;
    }
}

std::string RetailFault(const BarcodeRecord& rec, const RetailLengths& lengths)
{
    const std::string name = BarcodeSymbologyName(rec.type);
    if (!AllDigits(rec.data))
        return name + " takes digits only";
    uint8_t rest[256];
    TypedCheckDigit wrong;
    if (!DropTypedCheckDigit(rec.type, rec.data, rest, &wrong))
        return "the check digit " + std::to_string(wrong.typed) + " is wrong: it should be " +
               std::to_string(wrong.expected);
    const std::string main = std::to_string(lengths.main);
    if (lengths.typedCheck)
        return name + " takes " + main + " digits, or " + std::to_string(lengths.main + 1) +
               " with the check digit, either followed by a 2- or 5-digit add-on; this has " +
               std::to_string(rec.data[0]);
    return name + " takes " + main + " digits, followed by a 2- or 5-digit add-on or not; this has " +
           std::to_string(rec.data[0]);
}

std::string Code128Fault(const BarcodeRecord& rec)
{
    for (int i = 1; i <= rec.data[0]; ++i) {
        if (rec.data[i] > kCode128LastDataByte)
            return "Code 128 can't encode the character at position " + std::to_string(i);
    }
    return "it is too long for one Code 128 symbol";
}

}  // namespace

std::string BarcodeSymbologyName(int16_t type)
{
    static const char* const kNames[] = {"POSTNET", "FIM A",  "FIM B", "FIM C",  "bar pattern",
                                         "Interleaved 2 of 5", "Code 39", "Code 128", "UPC-A", "UPC-E",
                                         "EAN-13",  "EAN-8",  "ISBN",  "ISSN",   "Codabar"};
    if (type < kBarcodeFirstType || type > kBarcodeLastType)
        return "an unknown kind of barcode";
    return kNames[type - kBarcodeFirstType];
}

std::string BarcodeDataFault(const BarcodeRecord& rec)
{
    if (rec.type < kBarcodeFirstType || rec.type > kBarcodeLastType)
        return "the barcode's kind is not one this program knows";
    if (rec.data[0] == 0)
        return "there is nothing to encode";
    RetailLengths lengths;
    if (RetailLengthsOf(rec.type, &lengths))
        return RetailFault(rec, lengths);
    if (rec.type == kBarcodeCode128)
        return Code128Fault(rec);
    return BarcodeSymbologyName(rec.type) + " can't encode it";
}
