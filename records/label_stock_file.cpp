#include "records/label_stock_file.h"

#include <new>

LabelFileStatus LabelFileDecode(const uint8_t* data, size_t size, std::vector<LabelTypeRecord>* out,
                                int32_t* badIndex)
{
    out->clear();
    const size_t count = size / kLabelTypeSize;
    if (count > size_t(kLabelFileMaxRecords))
        return LabelFileStatus::kTooMany;
    std::vector<LabelTypeRecord> records;
    try {
        records.resize(count);
    } catch (const std::bad_alloc&) {
        return LabelFileStatus::kNoMemory;
    }
    for (size_t i = 0; i < count; ++i) {
        LabelTypeDecode(data + i * kLabelTypeSize, &records[i]);
        if (!LabelTypeIsSane(records[i])) {
            if (badIndex)
                *badIndex = int32_t(i);
            return LabelFileStatus::kBadRecord;
        }
    }
    out->swap(records);
    return LabelFileStatus::kOk;
}

std::vector<uint8_t> LabelFileEncode(const std::vector<LabelTypeRecord>& records)
{
    std::vector<uint8_t> bytes(records.size() * kLabelTypeSize);
    for (size_t i = 0; i < records.size(); ++i)
        LabelTypeEncode(records[i], bytes.data() + i * kLabelTypeSize);
    return bytes;
}
