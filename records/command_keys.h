// The keys of the commands, one per command id: the menus, the context
// menus and the window's keys without an item all take them from here.
#pragma once

#include <cstdint>

#include <QKeySequence>

#include "records/command_ids.h"

// The command's key in QKeySequence's portable form ("Ctrl+Shift+N"), as
// the menus show it; null when the command has none.
const char* CommandKeys(uint32_t id);

// The command's key as a shortcut of its action. Keys typed into the
// database form (Enter, Shift+Enter) belong to its edits: only keys with
// Ctrl become shortcuts, the others are only shown.
QKeySequence CommandShortcut(uint32_t id);
