#include "foundation/stop_request.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

#include <QCoreApplication>
#include <QSocketNotifier>

namespace {

volatile std::sig_atomic_t g_request = 0;
// The end of a pipe the event loop watches; -1 while none does.
volatile std::sig_atomic_t g_wake = -1;

void Wake()
{
    const int keptErrno = errno;
    const char byte = 1;
    if (g_wake >= 0 && ::write(g_wake, &byte, 1) < 0) {
        // A full pipe has already woken the loop.
    }
    errno = keptErrno;
}

// Ends the program at once by the signal that asked. Only what is safe in
// a signal handler, here and below.
void EndNow(int signal)
{
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

// Still running a few seconds after the request.
extern "C" void OnStopUnanswered(int) { EndNow(g_request); }

extern "C" void OnStopRequest(int signal)
{
    if (g_request != 0) {
        EndNow(signal);
        return;
    }
    g_request = signal;
    Wake();
    // Work that never looks at the request (a print system that does not
    // answer) is ended all the same, as the request would have.
    std::signal(SIGALRM, OnStopUnanswered);
    ::alarm(5);
}

}  // namespace

void CatchStopRequests()
{
    for (const int signal : {SIGTERM, SIGHUP, SIGINT})
        std::signal(signal, OnStopRequest);
}

bool StopRequested() { return g_request != 0; }

void EndEventLoopOnStopRequest()
{
    int ends[2];
    if (g_wake >= 0 || !QCoreApplication::instance() || ::pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    auto* notifier = new QSocketNotifier(ends[0], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [notifier] {
        notifier->setEnabled(false);
        QCoreApplication::exit(1);
    });
    g_wake = ends[1];
    // A request that came before the loop was watched.
    if (StopRequested())
        Wake();
}

void EndIfStopRequested()
{
    if (g_request != 0)
        EndNow(g_request);
}
