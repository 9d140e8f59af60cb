// "Guide settings": the guide grid spacing of the current page and the
// Show Guide and Snap to Guide switches.
#pragma once

#include <cstdint>

#include <QDialog>

#include "dialogs/measure_fields.h"

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

class CDlgGuideSettings : public QDialog {
public:
    explicit CDlgGuideSettings(QWidget* parent = nullptr);

    void SetRecord(const GuideSettingsRecord& record) { record_ = record; }
    const GuideSettingsRecord& Record() const { return record_; }
    int32_t DoModal();

    CFloatEdit* Horizontal() const { return horizontal_; }
    CFloatEdit* Vertical() const { return vertical_; }
    QCheckBox* ShowGuide() const { return show_; }
    QCheckBox* SnapToGuide() const { return snap_; }
    QComboBox* Units() const { return units_; }

    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Open();
    void UnitsChosen(int index);

    GuideSettingsRecord record_;
    MeasureFields fields_;
    bool opened_ = false;
    CFloatEdit* horizontal_;
    CFloatEdit* vertical_;
    QCheckBox* show_;
    QCheckBox* snap_;
    QComboBox* units_;
};
