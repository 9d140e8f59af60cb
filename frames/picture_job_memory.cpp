#include "frames/picture_job_memory.h"

#include <algorithm>

PictureJobMemory& PictureJobMemory::Shared()
{
    static PictureJobMemory memory;
    return memory;
}

void PictureJobMemory::BeginJob()
{
    std::lock_guard<std::mutex> hold(lock_);
    inJob_ = true;
    failures_.clear();
    drawn_.clear();
}

std::string PictureJobMemory::EndJob()
{
    std::lock_guard<std::mutex> hold(lock_);
    inJob_ = false;
    std::string message;
    for (const Failure& failure : failures_) {
        if (!message.empty())
            message += "\n";
        message += failure.text;
    }
    if (!message.empty())
        message += failures_.size() == 1 ? " Its stand-in was printed on every card."
                                         : " Their stand-ins were printed on every card.";
    failures_.clear();
    drawn_.clear();
    return message;
}

bool PictureJobMemory::InJob() const
{
    std::lock_guard<std::mutex> hold(lock_);
    return inJob_;
}

bool PictureJobMemory::Failed(const std::string& file) const
{
    std::lock_guard<std::mutex> hold(lock_);
    return std::any_of(failures_.begin(), failures_.end(), [&](const Failure& f) { return f.file == file; });
}

bool PictureJobMemory::Drawn(const std::string& file) const
{
    std::lock_guard<std::mutex> hold(lock_);
    return std::find(drawn_.begin(), drawn_.end(), file) != drawn_.end();
}

void PictureJobMemory::Remember(const std::string& file, const std::string& name, GhostscriptOutcome outcome)
{
    if (outcome == GhostscriptOutcome::kDrawn) {
        std::lock_guard<std::mutex> hold(lock_);
        if (inJob_ && std::find(drawn_.begin(), drawn_.end(), file) == drawn_.end())
            drawn_.push_back(file);
        return;
    }
    if (outcome != GhostscriptOutcome::kFailed && outcome != GhostscriptOutcome::kTimedOut)
        return;
    std::string text = "The PostScript picture \"" + name + "\" could not be drawn: ";
    text += outcome == GhostscriptOutcome::kTimedOut ? std::string("it took longer than ") + PictureTimeLimitText() + "."
                                                     : std::string("Ghostscript failed on it.");
    Add(file, std::move(text));
}

void PictureJobMemory::RememberMetafile(const std::string& file, const std::string& name, MetafileOutcome outcome)
{
    if (outcome == MetafileOutcome::kDrawn)
        return;
    const std::string picture = name.empty() ? std::string("A metafile picture") : "The picture \"" + name + "\"";
    Add(file, picture + " could not be drawn: " + MetafileOutcomeText(outcome));
}

void PictureJobMemory::Add(const std::string& file, std::string text)
{
    std::lock_guard<std::mutex> hold(lock_);
    if (!inJob_ ||
        std::any_of(failures_.begin(), failures_.end(), [&](const Failure& f) { return f.file == file; }))
        return;
    failures_.push_back(Failure{file, std::move(text)});
}
