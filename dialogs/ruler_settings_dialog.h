// "Ruler Settings": the measurement unit of each ruler.
#pragma once

#include <cstdint>

#include "dialogs/record_dialog.h"

class QComboBox;

struct RulerSettingsRecord {
    int32_t vertical = 0;  // units-table indexes
    int32_t horizontal = 0;
};

class CDlgRulerSettings : public RecordDialog<RulerSettingsRecord> {
public:
    explicit CDlgRulerSettings(QWidget* parent = nullptr);

    QComboBox* Horizontal() const { return horizontal_; }
    QComboBox* Vertical() const { return vertical_; }
    void accept() override;

protected:
    void Open() override;

private:
    QComboBox* horizontal_;
    QComboBox* vertical_;
};
