// Results of the wizard's data operations, besides 0 for success, the file
// layer's system codes and the resource layer's negative codes.
#pragma once

#include <cstdint>

enum : int32_t {
    // A missing argument, item, node or path, a refused check, an item
    // number out of range, or no memory for a node or payload.
    kWizMissing = 1,
    // Not a file of the expected kind: another code, or fields that
    // contradict the file's own size.
    kWizWrongCode = 2,
    kWizWrongVersion = 3,
};
