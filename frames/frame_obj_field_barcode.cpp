#include "frames/frame_obj_field_barcode.h"

#include <string>

#include "database/field_table.h"
#include "frames/content_frame_host.h"
#include "graphics/field_text_provider.h"

FrameObjFieldBarcode::FrameObjFieldBarcode()
{
    block_.barcodeOption = 0;
    SetSymbology(1);
}

bool FrameObjFieldBarcode::DrawsBars() const
{
    return ShownAsBarcode() && (InOutput() || block_.recordFed || ContentHostOf(this)->InPrintPreview());
}

void FrameObjFieldBarcode::GetBarcodeData(uint8_t* out)
{
    const int16_t field = block_.attr.dataField;
    std::string text;
    if (InOutput() || block_.recordFed) {
        if (FieldTextProvider* provider = InstalledFieldTextProvider())
            text = provider->MergeFieldText(field, InOutput());
    } else {
        char name[kFieldTypeNameSize] = {};
        FieldTypeName(field, name, true, true);
        text = name;
        if (ShownAsBarcode() && !text.empty())
            text = "[Barcoded " + text.substr(1);
    }
    PStrFromCStr(out, text.c_str());
}

void FrameObjFieldBarcode::SetRecordFed(uint8_t on)
{
    FrameObjBarcode::SetRecordFed(on);
    FetchData();
    SetRemeasure();
    Recompute(0);
}

void FrameObjFieldBarcode::SetDataField(int16_t field)
{
    FrameObjBarcode::SetDataField(field);
    FetchData();
    SetRemeasure();
    Recompute(0);
}
