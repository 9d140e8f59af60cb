// The clip a device draws under.
#pragma once

#include <memory>
#include <vector>

#include <QPainterPath>
#include <QRegion>

// The allowed device pixels. Where the clip was made by cutting a rectangle
// with shapes, it also holds those shapes' outlines: the pixels are then
// exactly those of the bounding rectangle whose centres lie in every
// outline. A page device clips with the outlines, which reach its output as
// a few paths where the pixels would be a rectangle for each row of every
// letter; a raster device uses the pixels.
class DeviceClip : public QRegion {
public:
    DeviceClip() = default;
    DeviceClip(const QRegion& pixels) : QRegion(pixels) {}  // pixels alone
    DeviceClip(const QRegion& pixels, std::vector<QPainterPath> outlines);

    // Empty when the pixels are all that is known.
    const std::vector<QPainterPath>& outlines() const;
    bool operator==(const DeviceClip& other) const;

private:
    // Shared by the copies every operation under the clip takes.
    std::shared_ptr<const std::vector<QPainterPath>> outlines_;
};
