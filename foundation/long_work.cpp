#include "foundation/long_work.h"

namespace {

LongWorkRunner* g_runner = nullptr;

}  // namespace

LongWorkRunner* SetLongWorkRunner(LongWorkRunner* runner)
{
    LongWorkRunner* previous = g_runner;
    g_runner = runner;
    return previous;
}

bool RunLongWork(const std::string& what, const LongWork& work)
{
    if (g_runner)
        return g_runner->Run(what, work);
    const std::atomic<bool> never{false};
    work(never);
    return true;
}
