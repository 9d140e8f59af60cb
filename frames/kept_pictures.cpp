#include "frames/kept_pictures.h"


KeptPictures::~KeptPictures() { Clear(); }

void KeptPictures::Free(Kept& k)
{
    DibHandleFree(&k.image);
    DibHandleFree(&k.mask);
}

void KeptPictures::Keep(uint32_t position, uint32_t length, DibHandle image, DibHandle mask, uint32_t maskKey,
                        uint64_t hash)
{
    Forget(position, length);
    Kept k{position, length, image, mask, maskKey, hash};
    const uint64_t bytes = uint64_t(DibHandleBytes(image)) + (mask ? DibHandleBytes(mask) : 0);
    if (bytes > kKeptBytes) {
        Free(k);
        return;
    }
    kept_.push_back(k);
    uint64_t total = 0;
    for (const Kept& e : kept_)
        total += uint64_t(DibHandleBytes(e.image)) + (e.mask ? DibHandleBytes(e.mask) : 0);
    while (kept_.size() > kKept || total > kKeptBytes) {
        total -= uint64_t(DibHandleBytes(kept_.front().image)) +
                 (kept_.front().mask ? DibHandleBytes(kept_.front().mask) : 0);
        Free(kept_.front());
        kept_.erase(kept_.begin());
    }
}

bool KeptPictures::Take(uint32_t position, uint32_t maskKey, DibHandle* image, DibHandle* mask, uint64_t* hash)
{
    for (auto it = kept_.begin(); it != kept_.end(); ++it) {
        if (it->position != position)
            continue;
        *image = it->image;
        *hash = it->hash;
        if (it->maskKey == maskKey) {
            *mask = it->mask;
        } else {
            DibHandleFree(&it->mask);
            *mask = nullptr;
        }
        kept_.erase(it);
        return true;
    }
    return false;
}

void KeptPictures::Forget(uint64_t position, uint64_t length)
{
    for (auto it = kept_.begin(); it != kept_.end();) {
        if (position < uint64_t(it->position) + it->length && uint64_t(it->position) < position + length) {
            Free(*it);
            it = kept_.erase(it);
        } else {
            ++it;
        }
    }
}

void KeptPictures::Clear()
{
    for (Kept& k : kept_)
        Free(k);
    kept_.clear();
}
