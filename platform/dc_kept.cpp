// Drawing done again: a piece of drawing that follows from a key and the
// context's state alone is drawn once and its output given to the device
// again whenever the same key comes with an equal state.
#include <utility>

#include "platform/dc.h"
#include "platform/dc_kept.h"

namespace {

bool SameBrush(const Brush& a, const Brush& b)
{
    if (a.style != b.style || a.color != b.color || a.hatch != b.hatch || a.scale != b.scale || a.image != b.image)
        return false;
    if (!a.mono || !b.mono)
        return a.mono == b.mono;
    return *a.mono == *b.mono;
}

}  // namespace

bool Dc::beginKept(std::string_view key, int32_t* result)
{
    if (!kept_)
        kept_ = std::make_unique<Kept>();
    Kept& k = *kept_;
    if (k.depth++ > 0)
        return false;
    // A recording target takes every call; a path being made takes the
    // calls' outlines, not output; output under a turn is not what the
    // same drawing gives elsewhere.
    if (recorder_ || turn_ || state_->path.phase != DcPath::kNone)
        return false;
    for (const Kept::Drawing& d : k.drawings) {
        if (d.key != key || !Kept::SameState(d.before, *state_))
            continue;
        if (!device_->giveAgain(*d.output))
            break;
        *state_ = d.after;
        if (result)
            *result = d.result;
        k.depth = 0;
        return true;
    }
    k.keeping = device_->keepOutput();
    if (k.keeping) {
        k.spoilt = false;
        k.savedDepth = saved_.size();
        k.key.assign(key);
        k.before = *state_;
    }
    return false;
}

void Dc::endKept(int32_t result)
{
    if (!kept_ || kept_->depth == 0)
        return;
    Kept& k = *kept_;
    if (--k.depth > 0 || !k.keeping)
        return;
    k.keeping = false;
    std::shared_ptr<const KeptOutput> output = device_->keptOutput();
    if (!output || k.spoilt || saved_.size() != k.savedDepth || state_->path.phase != DcPath::kNone)
        return;
    Kept::Drawing d{std::move(k.key), std::move(k.before), *state_, result, std::move(output)};
    if (k.drawings.size() < Kept::kDrawings) {
        k.drawings.push_back(std::move(d));
    } else {
        k.drawings[k.replaceNext] = std::move(d);
        k.replaceNext = (k.replaceNext + 1) % Kept::kDrawings;
    }
}

bool Dc::Kept::SameState(const State& a, const State& b)
{
    return a.pen == b.pen && SameBrush(a.brush, b.brush) && a.font == b.font && a.textColor == b.textColor &&
           a.bkColor == b.bkColor && a.bkMode == b.bkMode && a.rop2 == b.rop2 && a.polyFillMode == b.polyFillMode &&
           a.textAlign == b.textAlign && a.brushOrg.x == b.brushOrg.x && a.brushOrg.y == b.brushOrg.y &&
           a.mapMode == b.mapMode && a.windowOrg.x == b.windowOrg.x && a.windowOrg.y == b.windowOrg.y &&
           a.viewportOrg.x == b.viewportOrg.x && a.viewportOrg.y == b.viewportOrg.y &&
           a.windowExt.width == b.windowExt.width && a.windowExt.height == b.windowExt.height &&
           a.viewportExt.width == b.viewportExt.width && a.viewportExt.height == b.viewportExt.height &&
           a.hasClip == b.hasClip && (!a.hasClip || a.clip == b.clip) && a.position.x == b.position.x &&
           a.position.y == b.position.y && a.path.phase == b.path.phase;
}
