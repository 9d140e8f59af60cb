// The "List of Labels" dialog: the label-type file "Tessaline.dat" of the
// program folder, with New, Edit, Delete and Sort and a preview of the
// chosen label type on its paper (the printer's page for a label type that
// leaves the paper to the printer). OK writes the file back when
// anything changed; Cancel leaves it as it was.
//
// A missing file is offered to be made. After any error the table refuses
// further work: the dialog stays usable, but nothing reaches the file.
#pragma once

#include <cstdint>

#include "dialogs/record_dialog.h"
#include "foundation/int_geometry.h"
#include "records/label_stock.h"
#include "records/label_stock_table.h"

class QPushButton;
class CLabelListBox;
class CSheetPreviewWnd;

class CDlgListOfLabels : public OpeningDialog {
public:
    explicit CDlgListOfLabels(QWidget* parent = nullptr);

    // The label type chosen when the dialog ended with OK; -1 when none.
    int32_t GetCurLabel(LabelTypeRecord* out) const;

    CLabelListBox* List() const { return list_; }
    QPushButton* NewButton() const { return new_; }
    QPushButton* EditButton() const { return edit_; }
    QPushButton* DeleteButton() const { return delete_; }
    QPushButton* SortButton() const { return sort_; }
    QPushButton* OkButton() const { return ok_; }
    CSheetPreviewWnd* Preview() const { return preview_; }
    // The page the preview shows, in points.
    IntSize Page() const { return paper_; }
    const CDBLabel& Table() const { return table_; }

    void accept() override;

protected:
    // Runs a Label Type dialog in the named mode on *record; true after OK
    // with the edited record in *record.
    virtual bool EditLabelType(LabelTypeRecord* record);

private:
    void Open() override;
    void OpenTable();
    void EnableCommands(bool on);
    void PreviewSelected();
    void OnNew();
    void OnEdit();
    void OnDelete();
    void OnSort();
    void OnSelectionChanged();

    CDBLabel table_;
    PathRecord path_{};
    IntSize printerPaper_{612, 792};
    IntSize paper_{612, 792};
    IntRect printable_{0, 0, 612, 792};
    LabelTypeRecord chosen_;
    int32_t chosenIndex_ = -1;

    CLabelListBox* list_;
    QPushButton* new_;
    QPushButton* edit_;
    QPushButton* delete_;
    QPushButton* sort_;
    QPushButton* ok_;
    CSheetPreviewWnd* preview_;
};

extern const char* const kLabelDeleteQuestionText;
extern const char* const kLabelUpdateFailedText;
