#include "foundation/file_watch.h"

FileWatcher* g_fileWatcher = nullptr;

FileWatcher* SetFileWatcher(FileWatcher* watcher)
{
    FileWatcher* previous = g_fileWatcher;
    g_fileWatcher = watcher;
    return previous;
}
