#include "postscript/ps_packer.h"

#include <utility>

#include "postscript/ps_words.h"

PsPacker::~PsPacker()
{
    {
        std::lock_guard<std::mutex> hold(lock_);
        stop_ = true;
        todo_.clear();
    }
    changed_.notify_all();
    if (thread_.joinable())
        thread_.join();
}

void PsPacker::add(std::string bytes)
{
    {
        std::lock_guard<std::mutex> hold(lock_);
        todo_.push_back(std::move(bytes));
    }
    ++added_;
    if (!thread_.joinable())
        thread_ = std::thread([this] { run(); });
    changed_.notify_all();
}

bool PsPacker::ready()
{
    std::lock_guard<std::mutex> hold(lock_);
    return !done_.empty();
}

std::string PsPacker::take()
{
    if (waiting() == 0)
        return {};
    std::unique_lock<std::mutex> hold(lock_);
    changed_.wait(hold, [this] { return !done_.empty(); });
    std::string packed = std::move(done_.front());
    done_.pop_front();
    ++taken_;
    return packed;
}

void PsPacker::run()
{
    std::unique_lock<std::mutex> hold(lock_);
    for (;;) {
        changed_.wait(hold, [this] { return stop_ || !todo_.empty(); });
        if (stop_)
            return;
        // Packed outside the lock; one thread packs, so the order holds.
        const std::string bytes = std::move(todo_.front());
        todo_.pop_front();
        hold.unlock();
        std::string packed;
        PsAppendFlateAscii85(&packed, bytes);
        hold.lock();
        done_.push_back(std::move(packed));
        changed_.notify_all();
    }
}
