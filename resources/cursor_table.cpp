#include "resources/cursor_table.h"

namespace {

// By position in the table the tools index (id - 389); what each is for
// comes from the tools that show it.
constexpr Qt::CursorShape kShapes[kLastAppCursorId - kFirstAppCursorId + 1] = {
    Qt::ArrowCursor,         // 0 the selection arrow
    Qt::OpenHandCursor,      // 1 hand: scrolling the view
    Qt::ArrowCursor,         // 2
    Qt::SizeAllCursor,       // 3 moving the selection
    Qt::ForbiddenCursor,     // 4 the selection is locked or fixed
    Qt::SizeFDiagCursor,     // 5 dragging a frame handle
    Qt::ArrowCursor,         // 6
    Qt::IBeamCursor,         // 7 over the text in edit
    Qt::CrossCursor,         // 8 zoom in
    Qt::CrossCursor,         // 9 zoom out
    Qt::CrossCursor,         // 10 drawing a shape or text frame
    Qt::ArrowCursor,         // 11
    Qt::ArrowCursor,         // 12
    Qt::ArrowCursor,         // 13
    Qt::CrossCursor,         // 14 placing a counter barcode
    Qt::CrossCursor,         // 15 placing a barcode
    Qt::ArrowCursor,         // 16
    Qt::ArrowCursor,         // 17
    Qt::CrossCursor,         // 18 rotating
    Qt::CrossCursor,         // 19 placing a picture
    Qt::CrossCursor,         // 20 placing a quick card block
    Qt::PointingHandCursor,  // 21 preview over a record-fed frame
    Qt::CrossCursor,         // 22 placing a database field
    Qt::ArrowCursor,         // 23
    Qt::ArrowCursor,         // 24
    Qt::ArrowCursor,         // 25
    Qt::ArrowCursor,         // 26
    Qt::ArrowCursor,         // 27
    Qt::ArrowCursor,         // 28
    Qt::ArrowCursor,         // 29
    Qt::ArrowCursor,         // 30
    Qt::ArrowCursor,         // 31
    Qt::ArrowCursor,         // 32
    Qt::CrossCursor,         // 33 placing a quick card
    Qt::ClosedHandCursor,    // 34 moving a picture inside its frame
    Qt::ArrowCursor,         // 35
};

}  // namespace

bool LookupCursorResource(int32_t id, Qt::CursorShape* shape)
{
    if (id < kFirstAppCursorId || id > kLastAppCursorId)
        return false;
    *shape = kShapes[id - kFirstAppCursorId];
    return true;
}
