// "Ruler Settings": the measurement unit of each ruler.
#pragma once

#include <cstdint>

#include <QDialog>

class QComboBox;

struct RulerSettingsRecord {
    int32_t vertical = 0;  // units-table indexes
    int32_t horizontal = 0;
};

class CDlgRulerSettings : public QDialog {
public:
    explicit CDlgRulerSettings(QWidget* parent = nullptr);
    void SetRecord(const RulerSettingsRecord& record) { record_ = record; }
    const RulerSettingsRecord& Record() const { return record_; }
    int32_t DoModal();

    QComboBox* Horizontal() const { return horizontal_; }
    QComboBox* Vertical() const { return vertical_; }
    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    RulerSettingsRecord record_;
    bool opened_ = false;
    QComboBox* horizontal_;
    QComboBox* vertical_;
};
