// What the database engine needs of the program around it besides message
// boxes (which go through the alert sink): the progress and working
// windows of the long passes, the abort key and the wait cursor.
//
// The engine never opens a window itself. The application installs a host
// that shows the windows; tests and tessaline-tool install their own.
// Without one nothing is shown and the abort key is read from the key
// state.
#pragma once

#include <cstdint>
#include <string>

class DbHost {
public:
    virtual ~DbHost() = default;

    // The "Database progress" window: a record counter that becomes visible
    // when position reaches showAt. Windows open and close in nested order.
    virtual void ProgressOpen(const std::string& database, const std::string& operation, int32_t total,
                              int32_t showAt)
    {
    }
    virtual void ProgressStep(int32_t position) {}
    virtual void ProgressClose() {}

    // The working window: a caption over a progress bar of range 0..total.
    virtual void WorkingOpen(const std::string& caption, int32_t total) {}
    virtual void WorkingSetPos(int32_t position) {}
    virtual void WorkingClose() {}

    // True while the user asks the running pass to stop (Esc, or Ctrl with
    // '.').
    virtual bool AbortRequested();

    virtual void WaitCursor(bool on) {}
};

// Installs a host (null restores the default) and returns the previous one.
DbHost* SetDbHost(DbHost* host);
DbHost& CurrentDbHost();
