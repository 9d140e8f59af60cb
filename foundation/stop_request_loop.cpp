#include <fcntl.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QSocketNotifier>

#include "foundation/stop_request.h"

void EndEventLoopOnStopRequest()
{
    static bool watched = false;
    int ends[2];
    if (watched || !QCoreApplication::instance() || ::pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    watched = true;
    auto* notifier = new QSocketNotifier(ends[0], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [notifier] {
        notifier->setEnabled(false);
        // Asked, the request counts as answered: the windows' close is
        // not cut short however long it takes.
        if (StopRequested())
            QCoreApplication::exit(1);
    });
    SetStopRequestWake(ends[1]);
}
