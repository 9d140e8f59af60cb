// CPgWizDocProp: the Document Properties page of a custom document. The
// user starts from a preset layout (the built-in ones, then those of the
// catalogue's categories) and adjusts size, margins, spacing and counts,
// with the label sheet shown beside.
#pragma once

#include <cstdint>
#include <memory>

#include "foundation/handle.h"
#include "wizard/label_type_fields.h"
#include "wizard/pg_wiz.h"

class CSheetPreviewWnd;
class QComboBox;

class CPgWizDocProp : public CPgWiz {
public:
    CPgWizDocProp();
    ~CPgWizDocProp() override;

    void UpdateButtons() override;
    void OnPageShown() override;
    void StoreChoice() override;

    const uint8_t* Layout() const { return record_; }
    QComboBox* Presets() const { return presets_; }
    CLabelTypeFields* Fields() const { return fields_.get(); }
    CSheetPreviewWnd* SheetPreview() const { return preview_; }
    void ApplyPreset();
    void OnNameEdited(const QString& text);

protected:
    void BuildControls() override;
    bool OnInitDialog() override;

private:
    void Refresh();
    void ShowEverything();

    uint8_t record_[kLabelTypeSize] = {};
    CSheetPreviewWnd* preview_ = nullptr;
    HandleOwner presetRecords_{HandleNew(0)};
    int32_t presetCount_ = 0;
    QComboBox* presets_ = nullptr;
    std::unique_ptr<CLabelTypeFields> fields_;
};
