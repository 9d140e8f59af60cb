// "Star Info": the shape of a star frame (its number of peaks, star or
// polygon, and how acute the peaks are) with a live sample.
//
// The caller loads the star's settings and its drawing geometry (SetStar),
// runs the dialog and, after OK, takes the settings back (GetStar). The
// geometry only feeds the sample: the changes made to it for the sample
// never reach the caller.
#pragma once

#include <cstdint>

#include <QWidget>

#include "dialogs/record_dialog.h"
#include "frames/frame_block_format.h"
#include "frames/star_record_format.h"

class Dc;
class QLineEdit;
class QRadioButton;
class QSlider;
class QToolButton;

constexpr int16_t kStarMinPeaks = 3;
constexpr int16_t kStarMaxPeaks = 20;
constexpr int kStarSliderMax = 20;

class CStarPreviewWnd : public QWidget {
public:
    explicit CStarPreviewWnd(QWidget* parent = nullptr);
    // The dialog's settings and geometry; both outlive the window.
    void Bind(const StarParams* star, const FrameGeometry* geometry);
    void Draw(Dc* dc);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const StarParams* star_ = nullptr;
    const FrameGeometry* geometry_ = nullptr;
};

class CDlgStarInfo : public OpeningDialog {
public:
    explicit CDlgStarInfo(QWidget* parent = nullptr);

    void SetStar(const StarParams& star, const FrameGeometry& geometry);
    void GetStar(StarParams* out) const { *out = star_; }
    // The geometry the sample draws with.
    const FrameGeometry& SampleGeometry() const { return geometry_; }

    QLineEdit* PeaksEdit() const { return peaks_; }
    QToolButton* PeaksUp() const { return up_; }
    QToolButton* PeaksDown() const { return down_; }
    QRadioButton* PolygonButton() const { return polygon_; }
    QRadioButton* StarButton() const { return starButton_; }
    QSlider* AcutenessSlider() const { return slider_; }
    CStarPreviewWnd* Sample() const { return sample_; }

private:
    void ShowSettings();
    void OnPeaksEdited();
    void StepPeaks(int delta);
    void OnShapeClicked();
    void OnSliderMoved(int position);

    StarParams star_;
    FrameGeometry geometry_;

    QLineEdit* peaks_;
    QToolButton* up_;
    QToolButton* down_;
    QRadioButton* polygon_;
    QRadioButton* starButton_;
    QSlider* slider_;
    CStarPreviewWnd* sample_;
};
