#include "foundation/long_work.h"

#include <utility>

namespace {

LongWorkRunner* g_runner = nullptr;

}  // namespace

LongWorkRunner* SetLongWorkRunner(LongWorkRunner* runner) { return std::exchange(g_runner, runner); }

bool RunLongWork(const std::string& what, const LongWork& work)
{
    if (g_runner)
        return g_runner->Run(what, work);
    const std::atomic<bool> never{false};
    work(never);
    return true;
}
