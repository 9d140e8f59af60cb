#include "foundation/file_watch.h"

FileWatcher* g_fileWatcher = nullptr;

void SetFileWatcher(FileWatcher* watcher) { g_fileWatcher = watcher; }
