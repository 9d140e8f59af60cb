// The program's cursor resources, ids 389 to 424.
//
// Until the cursor images are drawn, each id stands for the nearest cursor
// shape of the desktop.
#pragma once

#include <Qt>
#include <cstdint>

constexpr int32_t kFirstAppCursorId = 389;
constexpr int32_t kLastAppCursorId = 424;

// The shape of cursor resource id; false when the program has no cursor of
// that id.
bool LookupCursorResource(int32_t id, Qt::CursorShape* shape);
