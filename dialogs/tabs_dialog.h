// "Tabs": the tab stops and margins of the paragraph, on a ruler, with the
// kind and position of the chosen stop in controls beside it.
#pragma once

#include <cstdint>

#include "dialogs/record_dialog.h"
#include "dialogs/tab_record.h"
#include "dialogs/tab_ruler_wnd.h"

class CAutoRepeatButton;
class CTabComboBox;
class QLineEdit;
class QPushButton;

class CDlgTabs : public OpeningDialog {
public:
    explicit CDlgTabs(QWidget* parent = nullptr);

    // Copies the record in (its entries made ready for editing) and takes
    // the unit the document shows measures in.
    void Init(int32_t units, const TabRecord& record);
    const TabRecord& Record() const { return record_; }

    CTabRulerWnd* Ruler() const { return ruler_; }
    CTabComboBox* Kind() const { return kind_; }
    QLineEdit* Position() const { return position_; }
    QPushButton* ClearAllButton() const { return clearAll_; }
    QPushButton* DeleteButton() const { return delete_; }
    QPushButton* AddButton() const { return add_; }
    CAutoRepeatButton* ScrollBack() const { return back_; }
    CAutoRepeatButton* ScrollOn() const { return on_; }
    const TabEntry& Current() const { return current_; }
    int32_t SharedMarker() const { return marker_; }

protected:
    void Open() override;

private:
    void FillControls();
    void ReadControls();
    void KindChosen(int index);
    void ClearAll();
    void Delete();
    void Add();

    TabRecord record_;
    TabEntry current_;
    int32_t units_ = 0;
    int32_t marker_ = kMarkerNone;
    bool filling_ = false;
    CTabRulerWnd* ruler_;
    CTabComboBox* kind_;
    QLineEdit* position_;
    QPushButton* clearAll_;
    QPushButton* delete_;
    QPushButton* add_;
    CAutoRepeatButton* back_;
    CAutoRepeatButton* on_;
};

// Kind combo index of a tab alignment and back: "Left tab", "Center tab",
// "Right tab".
int32_t KindIndexOfAlignment(uint8_t alignment);
uint8_t AlignmentOfKindIndex(int32_t index);
