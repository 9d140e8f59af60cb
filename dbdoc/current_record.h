// Passes that append records use the record buffer of the engine; the
// record the data-entry form shows must be current again afterwards, or
// the form's next commit would write its texts into another record.
#pragma once

#include <cstdint>

#include "database/data_file.h"

// Makes the record at offset current again, at its new place in the
// selection (the first record when it is no longer listed, or offset is
// -1). Its position, or -1 when the selection is empty.
int32_t ReturnToRecord(DataFile& data, int32_t offset);
