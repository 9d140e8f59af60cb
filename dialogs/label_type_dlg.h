// The "Label Type" dialog: edits one label-stock layout, in one of three
// modes: a named label type (1, also for any mode other than 2 and 3), a
// choice from the label-type file (2), or the document's sheet settings
// (3, "Document Settings", where the built-in layouts and the wizard's
// document formats are offered and the grid can be centred).
//
// The caller sets the mode, the printable page and the record, runs the
// dialog and, after OK, reads the record back. Cancel changes nothing.
// The paper and orientation the sheet is printed on are the record's own
// ("Any Format" and "Any orientation" leave them to the printer).
// Lengths show in the unit chosen in "Units :"; only a value the user
// changed is written back into the record, so a layout shown in another
// unit keeps its exact lengths.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "dialogs/record_dialog.h"
#include "foundation/int_geometry.h"
#include "records/label_stock.h"
#include "records/label_stock_table.h"

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class CLabelTypeComboBox;
class CSheetPreviewWnd;

enum : uint8_t {
    kLabelTypeModeNamed = 1,
    kLabelTypeModeChoose = 2,
    kLabelTypeModeDocument = 3,
};

class CDlgLabelType : public OpeningDialog {
public:
    explicit CDlgLabelType(QWidget* parent = nullptr);

    void SetMode(uint8_t mode) { mode_ = mode; }
    void SetPreviewParams(IntSize paper, const IntRect& printable);
    void SetLabelType(const LabelTypeRecord& record) { record_ = record; }
    void GetLabelType(LabelTypeRecord* out) const { *out = record_; }
    const LabelTypeRecord& Record() const { return record_; }

    // The controls, for the tests and the picture of the dialog.
    CLabelTypeComboBox* FormatCombo() const { return format_; }
    QLineEdit* NameEdit() const { return name_; }
    QDoubleSpinBox* WidthEdit() const { return width_; }
    QDoubleSpinBox* HeightEdit() const { return height_; }
    QDoubleSpinBox* TopEdit() const { return top_; }
    QDoubleSpinBox* LeftEdit() const { return left_; }
    QDoubleSpinBox* HorizontalEdit() const { return horizontal_; }
    QDoubleSpinBox* VerticalEdit() const { return vertical_; }
    QSpinBox* AcrossEdit() const { return across_; }
    QSpinBox* DownEdit() const { return down_; }
    QComboBox* UnitsCombo() const { return units_; }
    QCheckBox* CenteringCheck() const { return centering_; }
    QComboBox* PaperCombo() const { return paperType_; }
    // "Any orientation", "Portrait" and "Landscape", as the record's words.
    QRadioButton* OrientationButton(int32_t orientation) const { return orientation_[orientation]; }
    QPushButton* OkButton() const { return ok_; }
    CSheetPreviewWnd* Preview() const { return preview_; }
    // The page the preview shows, in points.
    IntSize Page() const { return paper_; }
    const CDBLabel& Table() const { return table_; }
    uint8_t ShownMode() const { return shownMode_; }

    void accept() override;

private:
    void Open() override;
    void ShowRecord();
    // The lengths in the edits' unit.
    void ShowLengths();
    void UpdatePreview();
    void OnLengthEdited(QDoubleSpinBox* edit, double LabelTypeRecord::*field);
    void OnCountEdited(QSpinBox* edit, int16_t LabelTypeRecord::*field);
    void OnUnitChanged(int index);
    void OnFormatChosen(int index);
    void OnNameEdited();
    void OnCentering(bool on);
    void OnPaperChosen(int index);
    void OnOrientationChosen(int32_t orientation);

    LabelTypeRecord record_;
    // The sheet the name on show stands for (as opened, or as chosen from
    // the list): a name is kept only while the sheet is still that one.
    LabelTypeRecord named_;
    uint8_t mode_ = kLabelTypeModeNamed;
    uint8_t shownMode_ = 0;
    double factor_ = 1.0;
    CDBLabel table_;
    std::vector<LabelTypeRecord> formats_;
    // The printer's page, for a layout that leaves the paper to it, and the
    // page the preview shows.
    IntSize printerPaper_{612, 792};
    IntSize paper_{612, 792};
    IntRect printable_{0, 0, 612, 792};
    bool filling_ = false;

    QLabel* formatLabel_;
    CLabelTypeComboBox* format_;
    QLabel* nameLabel_;
    QLineEdit* name_;
    QDoubleSpinBox* width_;
    QDoubleSpinBox* height_;
    QDoubleSpinBox* top_;
    QDoubleSpinBox* left_;
    QDoubleSpinBox* horizontal_;
    QDoubleSpinBox* vertical_;
    QSpinBox* across_;
    QSpinBox* down_;
    QComboBox* units_;
    QCheckBox* centering_;
    QComboBox* paperType_;
    QRadioButton* orientation_[3];
    QPushButton* ok_;
    CSheetPreviewWnd* preview_;
};

// The document formats the wizard knows, listed in Document Settings after
// the two built-in layouts. The application installs the source (null
// restores none) and gets the previous one back.
using LabelDocFormatSource = std::function<std::vector<LabelTypeRecord>()>;
LabelDocFormatSource SetLabelDocFormatSource(LabelDocFormatSource source);

// Shown when the label-type file cannot be read.
extern const char* const kLabelFileOpenErrorText;
