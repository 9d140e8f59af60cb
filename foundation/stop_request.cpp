#include "foundation/stop_request.h"

#include <unistd.h>

#include <csignal>

namespace {

volatile std::sig_atomic_t g_request = 0;

// Only what is safe in a signal handler.
extern "C" void OnStopRequest(int signal)
{
    if (g_request != 0) {
        std::signal(signal, SIG_DFL);
        std::raise(signal);
        return;
    }
    g_request = signal;
    // Work that never looks at the request is ended all the same.
    ::alarm(5);
}

}  // namespace

void CatchStopRequests()
{
    std::signal(SIGTERM, OnStopRequest);
    std::signal(SIGHUP, OnStopRequest);
}

bool StopRequested() { return g_request != 0; }

void EndIfStopRequested()
{
    const int signal = g_request;
    if (signal == 0)
        return;
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}
