// SurfaceWidget: a window whose picture is an image that its device
// context draws into at any time, inside or outside a paint. Showing the
// window only copies the image; whenever the image changed (a drawing
// call, a drag's feedback, the caret's blink) the window is shown again
// shortly after. The card view, the rulers and the ruler corner are such
// windows.
#pragma once

#include <memory>

#include <QImage>
#include <QWidget>

class Dc;
class QTimer;

class SurfaceWidget : public QWidget {
public:
    explicit SurfaceWidget(QWidget* parent);
    ~SurfaceWidget() override;

    // The window's own context, on its image; it lives as long as the
    // window, whatever its size.
    Dc* SurfaceDc() const { return dc_.get(); }
    const QImage& Surface() const { return surface_; }
    // Shows the image as it is now, at once.
    void Present();

protected:
    QImage& MutableSurface() { return surface_; }
    // After the image and its context were made for a new size: set the
    // context up and draw.
    virtual void SurfaceResized() {}

    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void Poll();
    // Makes the image (and its context) the size given, when it is not.
    void FitSurface(const QSize& size);

    QImage surface_;
    std::unique_ptr<Dc> dc_;
    QTimer* poll_ = nullptr;
    qint64 shownKey_ = 0;
};
