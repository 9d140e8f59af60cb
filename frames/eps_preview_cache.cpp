#include "frames/eps_preview_cache.h"

#include <memory>
#include <utility>

#include <QCryptographicHash>

#include "foundation/long_work.h"
#include "graphics/ghostscript.h"

EpsPreviewCache& EpsPreviewCache::Shared()
{
    static EpsPreviewCache cache;
    return cache;
}

EpsPreviewCache::~EpsPreviewCache()
{
    for (auto& [key, entry] : entries_)
        DibHandleFree(&entry.picture);
}

EpsPreviewCache::State EpsPreviewCache::Ask(const QByteArray& program, int32_t width, int32_t height,
                                            double dpiX, double dpiY, const std::string& file,
                                            DibHandle* picture)
{
    *picture = nullptr;
    // The picture is known by its PostScript, which holds the file's bytes:
    // a file changed on disk is drawn afresh.
    QByteArray key = QCryptographicHash::hash(program, QCryptographicHash::Sha256);
    key += QByteArray::number(width) + 'x' + QByteArray::number(height) + '@' + QByteArray::number(dpiX) + 'x' +
           QByteArray::number(dpiY);
    if (const auto found = entries_.find(key); found != entries_.end()) {
        if (found->second.state == State::kReady) {
            DibHandle copy = DibHandleNew();
            if (copy && DibHandleCopy(copy, found->second.picture) != 0)
                DibHandleFree(&copy);
            *picture = copy;
            return copy ? State::kReady : State::kFailed;
        }
        return found->second.state;
    }
    // Held apart from the cache: a drawing cancelled as the window goes
    // frees what it made.
    auto drawn = std::make_shared<DibHandleOwner>(nullptr);
    const bool started = StartLongWork(
        [program, width, height, dpiX, dpiY, drawn](const std::atomic<bool>& cancelled) {
            *drawn->address() =
                GhostscriptRender(program, width, height, dpiX, dpiY, GhostscriptTimeLimitMs(), &cancelled);
        },
        [this, key, file, drawn] { Ended(key, file, drawn->release()); });
    if (!started)
        return State::kNotStarted;
    entries_[key] = Entry{};
    return State::kPending;
}

int32_t EpsPreviewCache::AddListener(std::function<void(const std::string& file)> listener)
{
    listeners_[nextListener_] = std::move(listener);
    return nextListener_++;
}

void EpsPreviewCache::RemoveListener(int32_t id) { listeners_.erase(id); }

void EpsPreviewCache::Ended(const QByteArray& key, const std::string& file, DibHandle picture)
{
    Entry& entry = entries_[key];
    DibHandleFree(&entry.picture);
    entry.picture = picture;
    entry.state = picture ? State::kReady : State::kFailed;
    if (picture)
        failedFiles_.erase(file);
    else
        failedFiles_.insert(file);
    // A listener may add or remove listeners as it hears: they are read as
    // they were.
    const auto listeners = listeners_;
    for (const auto& [id, listener] : listeners)
        if (listeners_.count(id))
            listener(file);
}
