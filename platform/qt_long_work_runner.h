// The long-work runner of the application: the work runs on a thread of
// its own while the window's thread keeps the windows live. When it takes
// longer than a moment, a progress window tells what is being done and for
// how long, and its Cancel button (or Esc) asks the work to stop.
#pragma once

#include <atomic>
#include <list>
#include <memory>
#include <thread>

#include <QObject>

#include "foundation/long_work.h"

class QtLongWorkRunner final : public LongWorkRunner {
public:
    QtLongWorkRunner();
    ~QtLongWorkRunner() override;
    QtLongWorkRunner(const QtLongWorkRunner&) = delete;
    QtLongWorkRunner& operator=(const QtLongWorkRunner&) = delete;

    // How long the work runs before its progress window shows, so that
    // work that ends at once flashes nothing.
    static constexpr int kShowAfterMs = 800;

    bool Run(const std::string& what, const LongWork& work) override;
    void Start(const LongWork& work, std::function<void()> done) override;

private:
    struct Background {
        std::thread thread;
        std::atomic<bool> cancelled{false};
    };
    void Finish(Background* ended);

    // The receiver of the ends of background work on the window's thread:
    // what arrives after it has gone is dropped.
    std::unique_ptr<QObject> receiver_;
    std::list<std::unique_ptr<Background>> background_;
};
