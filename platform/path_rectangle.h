// The rectangle a path outlines, for targets that draw a rectangle more
// cheaply than an outline.
#pragma once

#include <optional>

#include <QPainterPath>
#include <QRectF>

// The rectangle, when the path is one figure of four straight sides along
// the axes.
std::optional<QRectF> AsRectangle(const QPainterPath& path);
