#include "dialogs/picture_preview_wnd.h"

#include <algorithm>

#include <QFileInfo>
#include <QImage>
#include <QPainter>

#include "foundation/int_math.h"
#include "foundation/scoped_wait_cursor.h"
#include "graphics/dib_draw.h"
#include "graphics/dib_image.h"
#include "graphics/dib_imaging.h"
#include "graphics/imaging_bitmap.h"
#include "graphics/metafile.h"
#include "platform/dc.h"

namespace {

QString UpperExtension(const std::string& path)
{
    return QFileInfo(QString::fromLocal8Bit(path.c_str())).suffix().toUpper();
}

}  // namespace

CPicturePreviewWnd::CPicturePreviewWnd(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("picturePreview"));
    setAttribute(Qt::WA_OpaquePaintEvent);
}

CPicturePreviewWnd::~CPicturePreviewWnd() { FreePicture(); }

void CPicturePreviewWnd::FreePicture()
{
    if (kind_ == kPreviewBitmap || kind_ == kPreviewMetafile || picture_)
        DibHandleFree(&picture_);
    kind_ = kPreviewNothing;
}

void CPicturePreviewWnd::SetPicture(DibHandle picture)
{
    if (DibHandleIsEmpty(picture)) {
        DibHandleFree(&picture);
        return;
    }
    FreePicture();
    picture_ = picture;
    kind_ = kPreviewBitmap;
}

void CPicturePreviewWnd::LoadPicture(const std::string& path)
{
    FreePicture();
    ScopedWaitCursor wait;
    const QString extension = UpperExtension(path);
    if (!Switch(kPreviewPictureModeOffset))
        return;
    if (extension == QLatin1String("WMF") || extension == QLatin1String("EMF")) {
        LoadMetafile(path);
        return;
    }
    int32_t type = -1;
    if (extension == QLatin1String("JPEG") || extension == QLatin1String("JPG"))
        type = kPictureJpeg;
    else if (extension == QLatin1String("PNG"))
        type = kPicturePng;
    else if (extension == QLatin1String("ICO"))
        type = kPictureIco;
    else if (extension == QLatin1String("TIF") || extension == QLatin1String("TIFF"))
        type = kPictureTiff;
    if (type >= 0 && LoadOwnDecoder(path, type))
        return;
    // A picture too large to show is not handed to a reader that would
    // hold it whole.
    if (type == kPictureTiff)
        return;
    LoadThroughImaging(path);
}

void CPicturePreviewWnd::LoadMetafile(const std::string& path)
{
    EnhMetafile metafile = MetafileLoadByExtension(path.c_str());
    if (!metafile)
        return;
    picture_ = DibHandleNew();
    int32_t frameWidth = 0;
    int32_t frameHeight = 0;
    MetafileGetFrameSize(metafile, &frameWidth, &frameHeight, 0);
    // The bitmap is made once, at the size that fits the window now;
    // painting only stretches it.
    if (picture_ && frameWidth > 0 && frameHeight > 0) {
        const double scale = std::min(double(width()) / frameWidth, double(height()) / frameHeight);
        std::unique_ptr<Dc> reference = Dc::ForMeasuring();
        MetafileToDib(metafile, reference.get(), TruncToInt32(frameWidth * scale), TruncToInt32(frameHeight * scale),
                      picture_);
    }
    kind_ = kPreviewMetafile;
    DeleteEnhMetaFile(metafile);
}

bool CPicturePreviewWnd::LoadOwnDecoder(const std::string& path, int32_t type)
{
    CDibImage image(path.c_str(), type);
    if (image.GetWidth() <= 0 || image.GetHeight() <= 0)
        return false;
    DibHandle h = DibHandleNew();
    if (!h)
        return false;
    const uint32_t size = image.GetPackedSize();
    if (DibHandleAdoptBlock(h, image.Detach(), size) != 0) {
        DibHandleFree(&h);
        return false;
    }
    picture_ = h;
    kind_ = kPreviewBitmap;
    return true;
}

void CPicturePreviewWnd::LoadThroughImaging(const std::string& path)
{
    ImagingFileInfo info;
    if (!ImagingBitmap::ReadFileInfo(path, &info))
        return;
    kind_ = kPreviewBitmap;
    ImagingBitmap bitmap;
    if (!bitmap.LoadFile(path, info))
        return;
    picture_ = DibHandleNew();
    if (!picture_ || DibHandleFromSdkBitmap(picture_, &bitmap, true) != 0) {
        bitmap.Release();
        DibHandleFree(&picture_);
    }
}

void CPicturePreviewWnd::paintEvent(QPaintEvent*)
{
    QImage surface(size(), QImage::Format_RGB32);
    {
        std::unique_ptr<Dc> dc = Dc::ForImage(&surface);
        Draw(dc.get());
    }
    QPainter(this).drawImage(0, 0, surface);
}

void CPicturePreviewWnd::Draw(Dc* dc)
{
    const IntRect client{0, 0, width(), height()};
    const bool drawable = (picture_ && kind_ == kPreviewBitmap) || kind_ == kPreviewMetafile;
    // A metafile that could not be rendered leaves an empty picture.
    if (!drawable || !Switch(kPreviewShowOffset) || DibHandleIsEmpty(picture_)) {
        dc->fillRect(client, Brush::Solid(FromQColor(palette().color(QPalette::Button))));
        return;
    }
    dc->fillRect(client, Brush::Solid(FromQColor(palette().color(QPalette::Base))));
    const int32_t bitmapWidth = DibHandleWidth(picture_);
    const int32_t bitmapHeight = DibHandleHeight(picture_);
    if (bitmapWidth <= 0 || bitmapHeight <= 0)
        return;
    const double scale = std::min(double(client.right) / bitmapWidth, double(client.bottom) / bitmapHeight);
    const int32_t targetWidth = TruncToInt32(bitmapWidth * scale);
    const int32_t targetHeight = TruncToInt32(bitmapHeight * scale);
    const int32_t left = (client.right - targetWidth) / 2;
    const int32_t top = (client.bottom - targetHeight) / 2;
    // 2 pixels in on every side; the drawing takes right and bottom as the
    // last pixels covered.
    const IntRect target{left + 2, top + 2, left + targetWidth - 2 - 1, top + targetHeight - 2 - 1};
    DibHandleDraw(dc, picture_, target, SRCCOPY);
}
