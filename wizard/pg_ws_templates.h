// CPgWS_Templates: the "Edit Template List" page. It lists the templates
// of the wizard, all of them or only those of one document size, shows the
// selected template's name, size and preview, and lets the user rename,
// reorder (by dragging), import and delete templates.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "foundation/handle.h"
#include "wizard/pg_ws.h"

class CSmartEdit;
class CSmartListbox;
class QComboBox;
struct SmartListChange;

class CPgWS_Templates : public CPgWS {
public:
    CPgWS_Templates();
    ~CPgWS_Templates() override;

    void OnPageShown(bool shown) override;

    QComboBox* SizeFilter() const { return sizeFilter_; }
    QComboBox* Units() const { return units_; }
    CSmartEdit* NameEdit() const { return name_; }
    CSmartListbox* Templates() const { return list_; }
    int32_t TemplateCount() const { return count_; }
    const std::vector<std::pair<double, double>>& Sizes() const { return sizes_; }
    double SelectedWidth() const { return width_; }
    double SelectedHeight() const { return height_; }

    void OnSelectionChanged();
    void OnNameEdited();
    void OnImport();
    void OnDelete();
    void OnUnitsChosen();
    void OnSizeFilterChosen();
    void OnListChanged(const SmartListChange& change);

protected:
    void BuildControls() override;
    bool OnInitDialog() override;

private:
    void Load();
    bool ListAll();
    void RebuildSizes();
    bool AddSize(double width, double height);
    void FillSizeFilter();
    void FillTemplateList();
    void ShowSizeTexts();
    void UpdateEnableState();
    double UnitFactor() const;
    // The record of a template id in the list read last; null when absent.
    uint8_t* RecordOf(uint32_t id);
    // Where a template stands in the whole list, from 1; 0 when absent.
    int32_t StorePosition(uint32_t id) const;

    QComboBox* sizeFilter_ = nullptr;
    QComboBox* units_ = nullptr;
    CSmartEdit* name_ = nullptr;
    CSmartListbox* list_ = nullptr;
    double width_ = 0;
    double height_ = 0;
    HandleOwner records_{HandleNew(0)};
    HandleOwner ids_{HandleNew(0)};
    int32_t count_ = 0;
    std::vector<std::pair<double, double>> sizes_;
    std::string importFolder_;
};
