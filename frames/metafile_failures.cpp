#include "frames/metafile_failures.h"

#include <QCoreApplication>
#include <QTimer>

#include "foundation/alerts.h"
#include "frames/picture_job_memory.h"

MetafileFailures& MetafileFailures::Shared()
{
    static MetafileFailures failures;
    return failures;
}

uint64_t MetafileFailures::KeyOf(Handle bits)
{
    if (!bits)
        return 0;
    const uint8_t* data = HandleData(bits);
    const uint32_t size = HandleGetSize(bits);
    // FNV-1a over the bits, their size mixed in.
    uint64_t h = 1469598103934665603ull ^ size;
    for (uint32_t i = 0; i < size; ++i)
        h = (h ^ data[i]) * 1099511628211ull;
    return h;
}

MetafileOutcome MetafileFailures::Failed(uint64_t key, const std::string& name)
{
    MetafileOutcome outcome = MetafileOutcome::kDrawn;
    {
        std::lock_guard<std::mutex> hold(lock_);
        const auto it = failed_.find(key);
        if (it == failed_.end())
            return outcome;
        outcome = it->second;
    }
    Tell(key, name, outcome);
    return outcome;
}

void MetafileFailures::Remember(uint64_t key, const std::string& name, MetafileOutcome outcome)
{
    if (outcome == MetafileOutcome::kDrawn)
        return;
    {
        std::lock_guard<std::mutex> hold(lock_);
        failed_[key] = outcome;
    }
    Tell(key, name, outcome);
}

void MetafileFailures::RememberStandIn(uint64_t pictureKey, uint64_t key)
{
    std::lock_guard<std::mutex> hold(lock_);
    standIns_[pictureKey] = key;
}

void MetafileFailures::TellIfStandIn(uint64_t pictureKey, const std::string& name)
{
    uint64_t key = 0;
    {
        std::lock_guard<std::mutex> hold(lock_);
        const auto it = standIns_.find(pictureKey);
        if (it == standIns_.end())
            return;
        key = it->second;
    }
    Failed(key, name);
}

void MetafileFailures::Clear()
{
    std::lock_guard<std::mutex> hold(lock_);
    failed_.clear();
    told_.clear();
    standIns_.clear();
}

void MetafileFailures::Tell(uint64_t key, const std::string& name, MetafileOutcome outcome)
{
    // A print job says it once at its end, whatever the window was told.
    PictureJobMemory& job = PictureJobMemory::Shared();
    if (job.InJob()) {
        job.RememberMetafile(std::to_string(key), name, outcome);
        return;
    }
    {
        std::lock_guard<std::mutex> hold(lock_);
        if (!told_.insert(key).second)
            return;
    }
    // Met while painting, where nothing may wait for the user: the message
    // comes once the window's events run again.
    QCoreApplication* app = QCoreApplication::instance();
    if (!app)
        return;
    const std::string picture = name.empty() ? std::string("A metafile picture") : "The picture \"" + name + "\"";
    const std::string text =
        picture + " could not be drawn: " + MetafileOutcomeText(outcome) + " The frame shows its stand-in.";
    QTimer::singleShot(0, app, [text] { AlertNote(text.c_str(), 0); });
}
