// "Guide settings": the guide grid spacing of the current page and the
// Show Guide and Snap to Guide switches.
#pragma once

#include <cstdint>

#include "dialogs/measure_fields.h"
#include "dialogs/record_dialog.h"

class CFloatEdit;
class QCheckBox;
class QComboBox;

struct GuideSettingsRecord {
    double horizontal = 0.0;  // points
    double vertical = 0.0;
    int32_t showGuide = 0;
    int32_t snapToGuide = 0;
    int16_t units = 0;
    int32_t changed = 0;  // 1 once either spacing was edited
};

class CDlgGuideSettings : public RecordDialog<GuideSettingsRecord> {
public:
    explicit CDlgGuideSettings(QWidget* parent = nullptr);

    CFloatEdit* Horizontal() const { return horizontal_; }
    CFloatEdit* Vertical() const { return vertical_; }
    QCheckBox* ShowGuide() const { return show_; }
    QCheckBox* SnapToGuide() const { return snap_; }
    QComboBox* Units() const { return units_; }

    void accept() override;

private:
    void Open() override;
    void UnitsChosen(int index);

    MeasureFields fields_;
    CFloatEdit* horizontal_;
    CFloatEdit* vertical_;
    QCheckBox* show_;
    QCheckBox* snap_;
    QComboBox* units_;
};
