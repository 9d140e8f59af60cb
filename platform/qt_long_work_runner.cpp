#include "platform/qt_long_work_runner.h"

#include <thread>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QPointer>
#include <QProgressDialog>
#include <QThread>
#include <QTimer>

#include "foundation/cp1252.h"

QtLongWorkRunner::QtLongWorkRunner() : receiver_(std::make_unique<QObject>()) {}

QtLongWorkRunner::~QtLongWorkRunner()
{
    for (const std::unique_ptr<Background>& work : background_)
        work->cancelled = true;
    for (const std::unique_ptr<Background>& work : background_)
        work->thread.join();
    // Ends already posted go with their receiver.
    receiver_.reset();
}

void QtLongWorkRunner::Start(const LongWork& work, std::function<void()> done)
{
    auto started = std::make_unique<Background>();
    Background* job = started.get();
    QObject* receiver = receiver_.get();
    background_.push_back(std::move(started));
    job->thread = std::thread([this, job, work, done = std::move(done), receiver] {
        work(job->cancelled);
        if (job->cancelled)
            return;
        QMetaObject::invokeMethod(
            receiver,
            [this, job, done] {
                Finish(job);
                done();
            },
            Qt::QueuedConnection);
    });
}

void QtLongWorkRunner::Finish(Background* ended)
{
    for (auto it = background_.begin(); it != background_.end(); ++it) {
        if (it->get() != ended)
            continue;
        (*it)->thread.join();
        background_.erase(it);
        return;
    }
}

bool QtLongWorkRunner::Run(const std::string& what, const LongWork& work)
{
    // Work asked for from another thread (a print's drawing thread) is
    // already off the window's thread.
    if (!qApp || QThread::currentThread() != qApp->thread()) {
        const std::atomic<bool> never{false};
        work(never);
        return true;
    }
    std::atomic<bool> cancelled{false};
    std::atomic<bool> done{false};
    std::thread worker([&] {
        work(cancelled);
        done = true;
    });

    const QString text = Cp1252ToQString(what);
    QProgressDialog progress(text, QApplication::translate("QtLongWorkRunner", "Cancel"), 0, 0,
                             QApplication::activeWindow());
    progress.setWindowTitle(QApplication::applicationName());
    progress.setWindowModality(Qt::ApplicationModal);
    progress.setAutoClose(false);
    progress.setAutoReset(false);
    progress.setMinimumDuration(0);
    progress.reset();
    progress.hide();
    QObject::connect(&progress, &QProgressDialog::canceled, [&] { cancelled = true; });

    QElapsedTimer clock;
    clock.start();
    QEventLoop loop;
    QTimer poll;
    poll.setInterval(30);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (done) {
            loop.quit();
            return;
        }
        const qint64 ms = clock.elapsed();
        if (ms < kShowAfterMs)
            return;
        // Once cancelled, the window is gone (the work ends at once) and is
        // not shown again.
        if (cancelled)
            return;
        progress.setLabelText(QApplication::translate("QtLongWorkRunner", "%1\n%2 s").arg(text).arg(ms / 1000));
        if (!progress.isVisible())
            progress.show();
        // The busy bar moves as time goes.
        progress.setValue(int(ms / 30));
    });
    poll.start();
    loop.exec(QEventLoop::AllEvents);
    poll.stop();
    worker.join();
    progress.hide();
    return !cancelled;
}
