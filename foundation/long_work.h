// Work that may take long (an outside program drawing a picture) and that
// the user must be able to stop.
//
// The engines hand such work to the current LongWorkRunner. The
// application installs one that runs it off the window's thread while a
// progress window with a Cancel button shows and the windows stay live;
// without one (tessaline-tool, a print from the command line, tests of the
// engines) the work runs where it is asked for.
//
// Painting never waits that way: letting the windows live while a frame is
// half drawn would let a click or a close reach it, or delete it. Work asked
// for while painting runs where it is asked for; a painting that must not
// wait starts the work in the background instead and draws what it has.
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
    // Starts the work on a thread of its own and returns at once; done runs
    // on the window's thread once the work has ended. Work still running
    // when the runner goes is cancelled and waited for, and its done does
    // not run.
    virtual void Start(const LongWork& work, std::function<void()> done) = 0;
};

// While one lives on a thread, that thread is painting.
class PaintingScope {
public:
    PaintingScope();
    ~PaintingScope();
    PaintingScope(const PaintingScope&) = delete;
    PaintingScope& operator=(const PaintingScope&) = delete;
};

// True while a PaintingScope lives on this thread.
bool InsidePainting();

// Installs a runner (null restores running in place) and returns the
// previous one.
LongWorkRunner* SetLongWorkRunner(LongWorkRunner* runner);

// Runs the work through the current runner; false when it was cancelled.
// Inside painting it runs where it is asked for, whatever the runner.
bool RunLongWork(const std::string& what, const LongWork& work);

// Starts the work in the background through the current runner; false,
// and nothing started, when there is no runner (no window whose thread
// could hear that the work ended).
bool StartLongWork(const LongWork& work, std::function<void()> done);
