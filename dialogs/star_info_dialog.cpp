#include "dialogs/star_info_dialog.h"

#include <algorithm>
#include <cstdlib>

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QRadioButton>
#include <QSlider>
#include <QToolButton>
#include <QVBoxLayout>

#include "dialogs/object_dialog_kit.h"
#include "graphics/styled_polygon.h"
#include "platform/dc.h"

namespace {

constexpr int kSampleWidth = 150;
constexpr int kSampleHeight = 150;
constexpr int kSampleInset = 5;
// A border wider than this would fill the small sample.
constexpr int16_t kSampleMaxLineWidth = 20;
constexpr int kPeaksChars = 2;

// The integer at the start of the text, as the edit's value is read: 0
// when it starts with no digit.
int LeadingInt(const QString& text)
{
    const QByteArray bytes = text.left(30).toLatin1();
    return std::atoi(bytes.constData());
}

}  // namespace

CStarPreviewWnd::CStarPreviewWnd(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Star Preview"));
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CStarPreviewWnd::Bind(const StarParams* star, const FrameGeometry* geometry)
{
    star_ = star;
    geometry_ = geometry;
}

void CStarPreviewWnd::paintEvent(QPaintEvent*)
{
    QImage surface(size(), QImage::Format_RGB32);
    {
        std::unique_ptr<Dc> dc = Dc::ForImage(&surface);
        Draw(dc.get());
    }
    QPainter(this).drawImage(0, 0, surface);
}

void CStarPreviewWnd::Draw(Dc* dc)
{
    dc->fillRect(IntRect{0, 0, width(), height()}, Brush::Solid(FromQColor(palette().color(QPalette::Base))));
    if (!star_ || !geometry_)
        return;
    const Brush oldBrush = dc->selectBrush(Brush::Solid(kBlack));
    const Pen oldPen = dc->selectPen(Pen{PS_SOLID, 1, kBlack});
    StarDescription d;
    d.points = star_->points;
    d.starFlag = star_->shape;
    d.innerRatio = star_->acuteness;
    DrawStyledPolygon(dc, *geometry_, d);
    dc->selectPen(oldPen);
    dc->selectBrush(oldBrush);
}

CDlgStarInfo::CDlgStarInfo(QWidget* parent) : OpeningDialog("Star Info", "starInfoDialog", parent)
{
    auto* peaksCaption = new QLabel(QStringLiteral("Number of peaks"), this);
    peaks_ = Named(new QLineEdit(this), "peaks");
    peaks_->setMaxLength(kPeaksChars);
    peaks_->setFixedWidth(peaks_->fontMetrics().horizontalAdvance(QStringLiteral("000")) + 12);
    peaksCaption->setBuddy(peaks_);
    up_ = Named(new QToolButton(this), "peaksUp");
    up_->setArrowType(Qt::UpArrow);
    up_->setAutoRepeat(true);
    down_ = Named(new QToolButton(this), "peaksDown");
    down_->setArrowType(Qt::DownArrow);
    down_->setAutoRepeat(true);
    polygon_ = Named(new QRadioButton(QStringLiteral("Polygon"), this), "polygon");
    starButton_ = Named(new QRadioButton(QStringLiteral("Star"), this), "star");
    slider_ = Named(new QSlider(Qt::Horizontal, this), "acuteness");
    slider_->setRange(1, kStarSliderMax);
    auto* obtuse = new QLabel(QStringLiteral("obtuse"), this);
    auto* acute = new QLabel(QStringLiteral("acute"), this);
    sample_ = new CStarPreviewWnd(this);
    sample_->setFixedSize(kSampleWidth, kSampleHeight);
    sample_->Bind(&star_, &geometry_);

    auto* buttons = OkCancelBox(this);

    auto* arrows = new QVBoxLayout;
    arrows->setSpacing(0);
    arrows->addWidget(up_);
    arrows->addWidget(down_);
    auto* peaksRow = new QHBoxLayout;
    peaksRow->addWidget(peaksCaption);
    peaksRow->addWidget(peaks_);
    peaksRow->addLayout(arrows);
    peaksRow->addStretch(1);
    auto* sliderRow = new QHBoxLayout;
    sliderRow->addWidget(obtuse);
    sliderRow->addWidget(slider_, 1);
    sliderRow->addWidget(acute);
    auto* settings = new QVBoxLayout;
    settings->addLayout(peaksRow);
    settings->addWidget(polygon_);
    settings->addWidget(starButton_);
    settings->addLayout(sliderRow);
    settings->addStretch(1);
    auto* layout = new QGridLayout(this);
    layout->addLayout(settings, 0, 0);
    layout->addWidget(sample_, 0, 1);
    layout->addWidget(buttons, 1, 0, 1, 2);

    SetStar(star_, geometry_);
    connect(peaks_, &QLineEdit::textChanged, this, [this] { OnPeaksEdited(); });
    connect(up_, &QToolButton::clicked, this, [this] { StepPeaks(1); });
    connect(down_, &QToolButton::clicked, this, [this] { StepPeaks(-1); });
    connect(polygon_, &QRadioButton::clicked, this, [this] { OnShapeClicked(); });
    connect(starButton_, &QRadioButton::clicked, this, [this] { OnShapeClicked(); });
    connect(slider_, &QSlider::valueChanged, this, [this](int position) { OnSliderMoved(position); });
}

void CDlgStarInfo::SetStar(const StarParams& star, const FrameGeometry& geometry)
{
    star_ = star;
    // The sample draws the star at its own place and size, unturned, with
    // at most a moderate border. The polygon drawing draws only the border,
    // so a star without one is shown with the thinnest.
    geometry_ = geometry;
    geometry_.x = kSampleInset;
    geometry_.y = kSampleInset;
    geometry_.width = int16_t(kSampleWidth - 2 * kSampleInset);
    geometry_.height = int16_t(kSampleHeight - 2 * kSampleInset);
    geometry_.angle = 0;
    geometry_.lineWidth = std::clamp(geometry_.lineWidth, int16_t(1), kSampleMaxLineWidth);
    if (geometry_.lineStyle < 1 || geometry_.lineStyle > 9)
        geometry_.lineStyle = 1;
    ShowSettings();
}

void CDlgStarInfo::ShowSettings()
{
    const QSignalBlocker quietEdit(peaks_);
    const QSignalBlocker quietSlider(slider_);
    slider_->setValue(int(kStarSliderMax * star_.acuteness));
    polygon_->setChecked(star_.shape == 1);
    starButton_->setChecked(star_.shape == 0);
    peaks_->setText(QString::asprintf("%i", int(star_.points)));
    sample_->update();
}

void CDlgStarInfo::OnPeaksEdited()
{
    // Fewer than three peaks are kept as typed; the drawing copes with them.
    star_.points = int16_t(std::min(LeadingInt(peaks_->text()), int(kStarMaxPeaks)));
    sample_->repaint();
}

void CDlgStarInfo::StepPeaks(int delta)
{
    const int value = std::clamp(LeadingInt(peaks_->text()) + delta, int(kStarMinPeaks), int(kStarMaxPeaks));
    peaks_->setText(QString::asprintf("%i", value));
}

void CDlgStarInfo::OnShapeClicked()
{
    star_.shape = polygon_->isChecked() ? 1 : 0;
    sample_->repaint();
}

void CDlgStarInfo::OnSliderMoved(int position)
{
    star_.acuteness = double(position) / double(slider_->maximum());
    sample_->repaint();
}
