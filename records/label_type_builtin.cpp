#include "records/label_type_builtin.h"

#include "records/label_stock.h"

// The built-in layouts live once, in the label-stock table; the document's
// set-up record takes them as stored bytes.
void GetBuiltinLabelType(uint8_t* out, int32_t index)
{
    if (!out)
        return;
    LabelTypeRecord record;
    GetBuiltinLabelType(&record, index == 1 ? 1 : 0);
    LabelTypeEncode(record, out);
}
