// A walk over the current selection in the order the browser lists it,
// reading each record: what export, reports and split write out.
#pragma once

#include <cstdint>

#include "database/card_record.h"
#include "database/data_file.h"

class SelectionWalk {
public:
    // Flushes the record cache first: the walk reads the file.
    explicit SelectionWalk(DataFile& data);
    // Puts the index back on the current record, where the document's
    // moves expect it.
    ~SelectionWalk();
    SelectionWalk(const SelectionWalk&) = delete;
    SelectionWalk& operator=(const SelectionWalk&) = delete;

    // The next record into record; false at the end, or when a record
    // could not be read (the database is then marked damaged and failed()
    // is true).
    bool Next(CardRecord& record);
    bool failed() const { return failed_; }
    int32_t offset() const { return offset_; }

private:
    DataFile& data_;
    bool started_ = false;
    bool failed_ = false;
    int32_t offset_ = -1;
};
