#include "frames/eps_job_memory.h"

#include <algorithm>

namespace {

// "30 s", "1.5 s".
std::string Seconds(int32_t ms)
{
    if (ms % 1000 == 0)
        return std::to_string(ms / 1000) + " s";
    return std::to_string(ms / 1000) + "." + std::to_string(ms % 1000 / 100) + " s";
}

}  // namespace

EpsJobMemory& EpsJobMemory::Shared()
{
    static EpsJobMemory memory;
    return memory;
}

void EpsJobMemory::BeginJob()
{
    std::lock_guard<std::mutex> hold(lock_);
    inJob_ = true;
    failures_.clear();
}

std::string EpsJobMemory::EndJob()
{
    std::lock_guard<std::mutex> hold(lock_);
    inJob_ = false;
    std::string message;
    for (const Failure& failure : failures_) {
        if (!message.empty())
            message += "\n";
        message += "The PostScript picture \"" + failure.name + "\" could not be drawn: ";
        message += failure.outcome == GhostscriptOutcome::kTimedOut
                       ? "it took longer than " + Seconds(GhostscriptTimeLimitMs()) + "."
                       : "Ghostscript failed on it.";
    }
    if (!message.empty())
        message += failures_.size() == 1 ? " Its stand-in was printed on every card."
                                         : " Their stand-ins were printed on every card.";
    failures_.clear();
    return message;
}

bool EpsJobMemory::Failed(const std::string& file) const
{
    std::lock_guard<std::mutex> hold(lock_);
    return std::any_of(failures_.begin(), failures_.end(), [&](const Failure& f) { return f.file == file; });
}

void EpsJobMemory::Remember(const std::string& file, const std::string& name, GhostscriptOutcome outcome)
{
    if (outcome != GhostscriptOutcome::kFailed && outcome != GhostscriptOutcome::kTimedOut)
        return;
    std::lock_guard<std::mutex> hold(lock_);
    if (!inJob_ ||
        std::any_of(failures_.begin(), failures_.end(), [&](const Failure& f) { return f.file == file; }))
        return;
    failures_.push_back(Failure{file, name, outcome});
}
