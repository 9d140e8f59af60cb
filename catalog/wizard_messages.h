// The wizard's messages: string-table entries base + index.
#pragma once

#include <cstdint>

constexpr int32_t kWizMessageBase = 1000;

enum : int32_t {
    kWizMsgListOldVersion = 1,   // the list files: "Create new ?"
    kWizMsgTreeOldVersion = 2,   // the tree file: "Create new ?"
    kWizMsgCreationError = 3,    // a file cannot be created
    kWizMsgListNoVersion = 6,    // a list file without its version record
    kWizMsgTreeDamaged = 7,      // the tree file's blocks do not read
};
