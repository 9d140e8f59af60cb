// The program's cursor table, and the wait and arrow cursors.
//
// The table is loaded once at start-up from the cursor resources and freed
// at exit; tools and trackers pick their cursors from it by index.
//
// The wait and arrow cursors show over every window of the program until
// RestoreSavedCursor. Each call saves the cursor it replaces, and the saved
// cursors form a stack, so nested waits undo one another in order. Without a
// GUI application all of this does nothing.
#pragma once

#include <Qt>
#include <cstdint>

class QCursor;

// Frees an old table, then loads cursor resources first to last. Returns 0,
// or 1 with an empty table when the range is empty or the table cannot be
// allocated. An id without a cursor resource leaves its entry null, and so
// does every id without a GUI application.
int32_t LoadAppCursors(int32_t firstId, int32_t lastId);
void FreeAppCursors();
// The cursor of entry index, or null when there is no table, no such entry,
// or no cursor in it.
const QCursor* GetAppCursor(int32_t index);

void SetWaitCursor();
void SetArrowCursor();
// Shows a desktop cursor the same way (the hyperlink hand).
void SetSavedCursorShape(Qt::CursorShape shape);
// Shows the cursor the last of the calls above replaced; nothing when none
// is saved.
void RestoreSavedCursor();
