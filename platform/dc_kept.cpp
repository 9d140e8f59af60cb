// Drawing done again: a piece of drawing that follows from a key and the
// context's state alone is drawn twice and its output given to the device
// again whenever the same key comes with an equal state after that.
#include <string>
#include <utility>
#include <vector>

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
    if (recorder_ || turn_ || state_->path.phase != DcPath::kNone || !device_->keepsOutput())
        return false;
    // A drawing is kept the second time its key comes from an equal state,
    // and given again from the third on: a job's keys that change card by
    // card (a barcode of each record's own data) never come again, and
    // keeping each would only copy its output and hold it until it made
    // way for another.
    size_t seen = k.drawings.size();
    for (size_t i = 0; i < k.drawings.size(); ++i) {
        const Kept::Drawing& d = k.drawings[i];
        if (d.key != key || !Kept::SameState(d.before, *state_))
            continue;
        if (!d.output) {
            seen = i;
            continue;
        }
        if (!device_->giveAgain(*d.output)) {
            seen = i;  // drawn and kept anew
            break;
        }
        *state_ = d.after;
        if (result)
            *result = d.result;
        k.depth = 0;
        return true;
    }
    if (seen == k.drawings.size()) {
        k.add(Kept::Drawing{std::string(key), *state_, State(), 0, nullptr});
        return false;
    }
    k.keeping = device_->keepOutput();
    if (k.keeping) {
        k.spoilt = false;
        k.savedDepth = saved_.size();
        k.seen = seen;
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
    // The ring is as beginKept left it: pairs within this one keep nothing.
    Kept::Drawing& d = k.drawings[k.seen];
    d.after = *state_;
    d.result = result;
    d.output = std::move(output);
}

void Dc::Kept::add(Drawing d)
{
    if (drawings.size() < kDrawings) {
        drawings.push_back(std::move(d));
    } else {
        drawings[replaceNext] = std::move(d);
        replaceNext = (replaceNext + 1) % kDrawings;
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
