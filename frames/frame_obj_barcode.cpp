#include "frames/frame_obj_barcode.h"

#include <cstring>

#include "foundation/byte_order.h"

FrameObjBarcode::FrameObjBarcode()
{
    static const char kData[] = "01234567890123";
    record_[kBarcodeDataOffset] = uint8_t(sizeof kData - 1);
    std::memcpy(record_ + kBarcodeDataOffset + 1, kData, sizeof kData - 1);
    PutF64LE(record_ + kBarcodeEngineValuesOffset, 72.0);
    PutF64LE(record_ + kBarcodeEngineValuesOffset + 8, 1.0);
    PutF64LE(record_ + kBarcodeEngineValuesOffset + 16, 1.0);
    PutF64LE(record_ + kBarcodeEngineValuesOffset + 24, 1.0);
    PutF64LE(record_ + kBarcodeAngleOffset, 0.0);
    SetSymbology(9);
    std::memset(record_ + kBarcodeOptionsOffset, 1, kBarcodeOptionCount);
    PutF64LE(record_ + kBarcodeCaptionSizeOffset, 10.0);

    block_.attr.fontId = 0;
    block_.attr.fontSize = 12;
    block_.attr.fontStyle = 0;
    block_.handleCount = 4;
    block_.resizable = 0;
    block_.textInset = 0;
    block_.barcodeOption = 1;
    block_.autoSize = 1;
}

uint16_t FrameObjBarcode::Symbology() const { return GetU16LE(record_ + kBarcodeSymbologyOffset); }

void FrameObjBarcode::SetSymbology(uint16_t symbology) { PutU16LE(record_ + kBarcodeSymbologyOffset, symbology); }

uint32_t FrameObjBarcode::DataSize() const { return FrameObjText::DataSize() + kBarcodeRecordSize; }

int32_t FrameObjBarcode::ReadBody(FileHandle file, BlockTarget target)
{
    const int32_t result = FrameObjText::ReadBody(file, target);
    if (result != 0)
        return result;
    uint8_t bytes[kBarcodeRecordSize];
    const int32_t err = FileRead(file, bytes, sizeof bytes);
    if (err == 0)
        std::memcpy(record_, bytes, sizeof bytes);
    return err;
}

int32_t FrameObjBarcode::WriteBody(FileHandle file, BlockTarget target)
{
    const int32_t result = FrameObjText::WriteBody(file, target);
    if (result != 0)
        return result;
    return FileWrite(file, record_, sizeof record_);
}

int32_t FrameObjBarcode::CopyTo(FrameObj* destination)
{
    if (auto* d = dynamic_cast<FrameObjBarcode*>(destination))
        std::memcpy(d->record_, record_, kBarcodeRecordSize);
    return FrameObjText::CopyTo(destination);
}

void FrameObjBarcode::SetBarcodeRecord(const uint8_t* record)
{
    MarkChanged(1, 0);
    std::memcpy(record_, record, kBarcodeRecordSize);
    Recompute(0);
}

void FrameObjBarcode::GetBarcodeData(uint8_t* out) { PStrCopy(out, record_ + kBarcodeDataOffset); }

void FrameObjBarcode::FetchData()
{
    PStr data = {};
    GetBarcodeData(data);
    PStrCopy(record_ + kBarcodeDataOffset, data);
}

void FrameObjBarcode::SetColour(uint8_t value, uint8_t selector)
{
    FrameObjText::SetColour(value, selector);
    if (selector == 3)
        SetRemeasure();
}

void FrameObjBarcode::SetTint(uint8_t value, uint8_t selector)
{
    FrameObjText::SetTint(value, selector);
    if (selector == 3)
        SetRemeasure();
}

void FrameObjBarcode::SetPattern(uint8_t value, uint8_t selector)
{
    FrameObjText::SetPattern(value, selector);
    if (selector == 3)
        SetRemeasure();
}

void FrameObjBarcode::SetBorderWidth(int16_t width)
{
    FrameObjText::SetBorderWidth(width);
    SetRemeasure();
}

void FrameObjBarcode::SetFont(int16_t font)
{
    FrameObjText::SetFont(font);
    SetRemeasure();
}

void FrameObjBarcode::SetFontSize(int16_t size)
{
    FrameObjText::SetFontSize(size);
    SetRemeasure();
}

void FrameObjBarcode::SetFontStyle(int16_t style, int32_t arg2, int32_t arg3)
{
    FrameObjText::SetFontStyle(style, arg2, arg3);
    SetRemeasure();
}

void FrameObjBarcode::ToggleSaved()
{
    FrameObjText::ToggleSaved();
    SetRemeasure();
}
