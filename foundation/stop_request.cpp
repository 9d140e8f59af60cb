#include "foundation/stop_request.h"

#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>

// Everything in this file may run in a signal handler: it calls only
// functions that are safe there (tools/check_signal_safety.py).

namespace {

static_assert(std::atomic<int>::is_always_lock_free);

std::atomic<int> g_request{0};
// The end of a pipe the event loop watches; -1 while none does.
std::atomic<int> g_wake{-1};

// How long work may leave a request unlooked at.
constexpr unsigned kUnansweredSeconds = 5;

constexpr char kUnansweredNote[] = "Nothing answered the request to end: ended at once.\n";

void Wake()
{
    const int keptErrno = errno;
    const char byte = 1;
    if (const int wake = g_wake.load(); wake >= 0 && ::write(wake, &byte, 1) < 0) {
        // A full pipe has already woken the loop.
    }
    errno = keptErrno;
}

void SetHandler(int signal, void (*handler)(int))
{
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    ::sigaction(signal, &action, nullptr);
}

// Ends the program at once by the signal that asked.
void EndNow(int signal)
{
    SetHandler(signal, SIG_DFL);
    ::raise(signal);
}

extern "C" void OnStopUnanswered(int)
{
    if (::write(STDERR_FILENO, kUnansweredNote, sizeof kUnansweredNote - 1) < 0) {
        // Nowhere to say it.
    }
    EndNow(g_request.load());
}

extern "C" void OnStopRequest(int signal)
{
    if (g_request.load() != 0) {
        EndNow(signal);
        return;
    }
    // Work that never looks at the request (a print system that does not
    // answer) is ended all the same, as the request would have. The timer
    // runs before the request shows, so that whoever sees the request may
    // stop it.
    SetHandler(SIGALRM, OnStopUnanswered);
    ::alarm(kUnansweredSeconds);
    g_request.store(signal);
    Wake();
}

}  // namespace

void CatchStopRequests()
{
    for (const int signal : {SIGTERM, SIGHUP, SIGINT}) {
        struct sigaction given {};
        if (::sigaction(signal, nullptr, &given) == 0 && given.sa_handler == SIG_IGN)
            continue;
        SetHandler(signal, OnStopRequest);
    }
}

bool StopRequested()
{
    if (g_request.load() == 0)
        return false;
    // The request is answered: the close that follows is in order.
    ::alarm(0);
    return true;
}

void SetStopRequestWake(int fd)
{
    g_wake.store(fd);
    // A request that came before the loop was watched.
    if (fd >= 0 && g_request.load() != 0)
        Wake();
}

void EndIfStopRequested()
{
    if (const int signal = g_request.load(); signal != 0)
        EndNow(signal);
}
