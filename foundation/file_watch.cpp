#include "foundation/file_watch.h"

#include <utility>

FileWatcher* g_fileWatcher = nullptr;

FileWatcher* SetFileWatcher(FileWatcher* watcher) { return std::exchange(g_fileWatcher, watcher); }
