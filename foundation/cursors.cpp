#include "foundation/cursors.h"

#include <QCursor>
#include <QGuiApplication>
#include <QPixmap>

#include "foundation/handle.h"
#include "resources/artwork_resources.h"

namespace {

QCursor** g_table = nullptr;
int16_t g_count = 0;
// Cursors this module pushed onto the application's override stack, so that
// a restore never pops one that somebody else pushed.
int32_t g_savedDepth = 0;

bool HaveGuiApplication() { return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr; }

}  // namespace

int32_t LoadAppCursors(int32_t firstId, int32_t lastId)
{
    FreeAppCursors();
    const int64_t count = int64_t(lastId) - firstId + 1;
    if (count <= 0 || count > INT16_MAX)
        return 1;
    auto** table = static_cast<QCursor**>(MemAllocClear(uint32_t(count) * sizeof(QCursor*)));
    if (!table)
        return 1;
    // Cursors belong to the window system: without it the entries stay empty.
    const bool gui = HaveGuiApplication();
    for (int32_t i = 0; gui && i < count; ++i) {
        QImage picture;
        QPoint hotSpot;
        if (LoadResourceCursor(firstId + i, &picture, &hotSpot))
            table[i] = new QCursor(QPixmap::fromImage(picture), hotSpot.x(), hotSpot.y());
    }
    g_table = table;
    g_count = int16_t(count);
    return 0;
}

void FreeAppCursors()
{
    for (int32_t i = 0; i < g_count; ++i)
        delete g_table[i];
    MemFree(g_table);
    g_table = nullptr;
    g_count = 0;
}

const QCursor* GetAppCursor(int32_t index)
{
    if (!g_table || index < 0 || index >= g_count)
        return nullptr;
    return g_table[index];
}

void SetSavedCursorShape(Qt::CursorShape shape)
{
    if (!HaveGuiApplication())
        return;
    QGuiApplication::setOverrideCursor(QCursor(shape));
    ++g_savedDepth;
}

void SetWaitCursor() { SetSavedCursorShape(Qt::WaitCursor); }

void SetArrowCursor() { SetSavedCursorShape(Qt::ArrowCursor); }

void RestoreSavedCursor()
{
    if (g_savedDepth == 0 || !HaveGuiApplication())
        return;
    QGuiApplication::restoreOverrideCursor();
    --g_savedDepth;
}
