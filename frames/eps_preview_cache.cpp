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
                                            const std::string& file, DibHandle* picture)
{
    *picture = nullptr;
    // The picture is known by its PostScript, which holds the file's bytes:
    // a file changed on disk is drawn afresh.
    QByteArray key = QCryptographicHash::hash(program, QCryptographicHash::Sha256);
    key += QByteArray::number(width) + 'x' + QByteArray::number(height);
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
        [program, width, height, drawn](const std::atomic<bool>& cancelled) {
            *drawn->address() =
                GhostscriptRender(program, width, height, 72.0, 72.0, GhostscriptTimeLimitMs(), &cancelled);
        },
        [this, key, file, drawn] { Ended(key, file, drawn->release()); });
    if (!started)
        return State::kNotStarted;
    entries_[key] = Entry{};
    return State::kPending;
}

void EpsPreviewCache::SetListener(std::function<void(const std::string& file)> listener)
{
    listener_ = std::move(listener);
}

void EpsPreviewCache::Ended(const QByteArray& key, const std::string& file, DibHandle picture)
{
    Entry& entry = entries_[key];
    DibHandleFree(&entry.picture);
    entry.picture = picture;
    entry.state = picture ? State::kReady : State::kFailed;
    if (listener_)
        listener_(file);
}
