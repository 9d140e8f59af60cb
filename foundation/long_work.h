// Work that may take long (an outside program drawing a picture) and that
// the user must be able to stop.
//
// The engines hand such work to the current LongWorkRunner. The
// application installs one that runs it off the window's thread while a
// progress window with a Cancel button shows and the windows stay live;
// without one (tessaline-tool, a print from the command line, tests of the
// engines) the work runs where it is asked for.
#pragma once

#include <atomic>
#include <functional>
#include <string>

// The work checks the flag and stops soon after it is set.
using LongWork = std::function<void(const std::atomic<bool>& cancelled)>;

class LongWorkRunner {
public:
    virtual ~LongWorkRunner() = default;
    // Runs the work to its end; what tells the user about it, Windows-1252
    // bytes. False when the user cancelled it.
    virtual bool Run(const std::string& what, const LongWork& work) = 0;
};

// Installs a runner (null restores running in place) and returns the
// previous one.
LongWorkRunner* SetLongWorkRunner(LongWorkRunner* runner);

// Runs the work through the current runner; false when it was cancelled.
bool RunLongWork(const std::string& what, const LongWork& work);
