// A card view for tests: a widget whose picture is an image that the view's
// device context draws into (logical units start at a margin from the
// corner), which hands presses on to a handler and holds the mouse while a
// tracker runs. What it was asked to do is recorded.
#pragma once

#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

#include "platform/dc.h"
#include "toolbase/tracker.h"
#include "tools/stand_ins/stand_in_hosts.h"

class SurfaceView : public QWidget, public TrackerViewStandIn<TrackerView> {
public:
    SurfaceView(int width, int height, int margin) : margin_(margin)
    {
        resize(width, height);
        surface = QImage(width, height, QImage::Format_RGB32);
        surface.fill(Qt::white);
        dc_ = Dc::ForImage(&surface);
        dc_->setViewportOrg(margin, margin);
        pageRect = IntRect{0, 0, width - 2 * margin, height - 2 * margin};
    }

    // The press at a view point (logical units).
    std::function<void(const IntPoint&)> onPress;
    // The view's paint.
    std::function<void()> onPaint;

    QImage surface;
    IntRect pageRect;
    bool buttonDown = false;
    int32_t refreshes = 0;
    int32_t scrolls = 0;
    std::vector<IntRect> invalidated;

    // The device pixel of a logical point.
    QPoint Pixel(const IntPoint& logical) const { return QPoint(logical.x + margin_, logical.y + margin_); }

    // ---- FrameView ----
    Dc* GetViewDC() override { return targets_.empty() ? dc_.get() : targets_.back(); }
    void PushDrawTarget(Dc* dc, uint32_t) override { targets_.push_back(dc); }
    void PopDrawTarget() override
    {
        if (!targets_.empty())
            targets_.pop_back();
    }
    bool IsScreenTarget() const override { return targets_.empty(); }
    void GetClientRectLogical(IntRect* r) override
    {
        *r = IntRect{-margin_, -margin_, surface.width() - margin_, surface.height() - margin_};
    }
    void InvalidateRect(const IntRect& device, bool) override { invalidated.push_back(device); }
    void InvalidateRgn(const Region& device, bool) override { invalidated.push_back(device.bounds()); }
    void Refresh() override { ++refreshes; }
    void UpdateNow() override
    {
        if (onPaint)
            onPaint();
        invalidated.clear();
    }

    // ---- TrackerView ----
    QWidget* CaptureWidget() override { return this; }
    bool IsLeftButtonDown() override { return buttonDown; }
    void GetPageRectView(IntRect* r) override { *r = pageRect; }
    // Scrolls by 10 pixels toward a point outside.
    bool AutoScroll(const IntPoint& device, bool doScroll) override
    {
        const int dx = device.x < 0 ? 10 : device.x >= width() ? -10 : 0;
        const int dy = device.y < 0 ? 10 : device.y >= height() ? -10 : 0;
        if ((dx || dy) && doScroll) {
            const IntPoint origin = dc_->viewportOrg();
            dc_->setViewportOrg(origin.x + dx, origin.y + dy);
            ++scrolls;
        }
        return dx || dy;
    }

protected:
    void mousePressEvent(QMouseEvent* event) override
    {
        if (event->button() != Qt::LeftButton)
            return;
        buttonDown = true;
        IntPoint p{event->position().toPoint().x(), event->position().toPoint().y()};
        DPtoLPPoint(&p);
        if (onPress)
            onPress(p);
        buttonDown = false;
    }
    void mouseReleaseEvent(QMouseEvent*) override { buttonDown = false; }
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.drawImage(0, 0, surface);
    }

private:
    int margin_;
    std::unique_ptr<Dc> dc_;
    std::vector<Dc*> targets_;
};
