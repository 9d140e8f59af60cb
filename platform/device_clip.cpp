#include "platform/device_clip.h"

DeviceClip::DeviceClip(const QRegion& pixels, std::vector<QPainterPath> outlines) : QRegion(pixels)
{
    if (outlines.empty())
        return;
    // A path works out its bounds when first asked and keeps them; asked
    // here, before pages painted in threads of their own share the
    // outlines, so that those only read them.
    for (const QPainterPath& outline : outlines) {
        static_cast<void>(outline.boundingRect());
        static_cast<void>(outline.controlPointRect());
    }
    outlines_ = std::make_shared<const std::vector<QPainterPath>>(std::move(outlines));
}

const std::vector<QPainterPath>& DeviceClip::outlines() const
{
    static const std::vector<QPainterPath> none;
    return outlines_ ? *outlines_ : none;
}

bool DeviceClip::operator==(const DeviceClip& other) const
{
    if (!(static_cast<const QRegion&>(*this) == static_cast<const QRegion&>(other)))
        return false;
    return outlines_ == other.outlines_ || outlines() == other.outlines();
}
