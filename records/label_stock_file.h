// Reading and writing the label-type file's bytes (layout in
// label_stock_format.h). The table (label_stock_table.h) moves them between
// the file and memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "records/label_stock.h"

enum class LabelFileStatus : int32_t {
    kOk = 0,
    kTooMany = 1,    // more than kLabelFileMaxRecords whole records
    kBadRecord = 2,  // a record fails LabelTypeIsSane
    kNoMemory = 3,
};

// The whole records of size bytes (the rest is not read). Anything but kOk
// leaves out empty; *badIndex, when given, receives the first bad record's
// index for kBadRecord.
LabelFileStatus LabelFileDecode(const uint8_t* data, size_t size, std::vector<LabelTypeRecord>* out,
                                int32_t* badIndex = nullptr);
// The records one after the other.
std::vector<uint8_t> LabelFileEncode(const std::vector<LabelTypeRecord>& records);
