#include "foundation/long_work.h"

#include <utility>

namespace {

LongWorkRunner* g_runner = nullptr;
thread_local int g_painting = 0;

}  // namespace

LongWorkRunner* SetLongWorkRunner(LongWorkRunner* runner) { return std::exchange(g_runner, runner); }

PaintingScope::PaintingScope() { ++g_painting; }

PaintingScope::~PaintingScope() { --g_painting; }

bool InsidePainting() { return g_painting > 0; }

bool RunLongWork(const std::string& what, const LongWork& work)
{
    if (g_runner && !InsidePainting())
        return g_runner->Run(what, work);
    const std::atomic<bool> never{false};
    work(never);
    return true;
}

bool StartLongWork(const LongWork& work, std::function<void()> done)
{
    if (!g_runner)
        return false;
    g_runner->Start(work, std::move(done));
    return true;
}
