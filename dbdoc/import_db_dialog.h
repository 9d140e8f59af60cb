// "Import database": pairs the columns of one record of a delimited text
// file with the database fields. The left side shows the shown record's
// columns (double-click skips or uses one), the right side the database
// fields (drag to pair a field with another column). The document reads the
// file through the process-wide text reader (positioned on a record here)
// and adds the records; this dialog only collects the pairing and the
// delimiter.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <QListWidget>

#include "dbdoc/text_import.h"
#include "dialogs/record_dialog.h"

class QComboBox;
class QLabel;
class QLineEdit;
class UpDownButtons;

struct ImportEntry {
    char text[32] = {};  // at most 31 characters
    int16_t number = 0;  // left: the column's mark (0 skip); right: the field's 1-based number
};

class CImportFieldListBox : public QListWidget {
public:
    explicit CImportFieldListBox(QWidget* parent = nullptr);
    void SetEntries(std::vector<ImportEntry>* left, std::vector<ImportEntry>* right);
    // One row per entry pair.
    void SetRows(int32_t rows);
    int32_t Rows() const { return rows_; }

    // The three parts of a row, in the list's pixels across.
    int32_t MiddleLeft() const;
    int32_t MiddleRight() const { return MiddleLeft() + kMiddleWidth; }
    bool LeftActive() const { return activeLeft_; }
    bool RightDragging() const { return rightDragging_; }
    const std::vector<ImportEntry>* Left() const { return left_; }
    const std::vector<ImportEntry>* Right() const { return right_; }

    // What the mouse does, by side and row.
    void PressAt(bool leftSide, int32_t row);
    void DragTo(int32_t row);
    void Release();
    void DoubleClickAt(bool leftSide, int32_t row);

    static constexpr int32_t kMiddleWidth = 18;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    std::vector<ImportEntry>* left_ = nullptr;
    std::vector<ImportEntry>* right_ = nullptr;
    int32_t rows_ = 0;
    bool activeLeft_ = true;
    bool leftDragging_ = false;
    bool rightDragging_ = false;
    int32_t rightSource_ = -1;
};

class CDlgImportDB : public OpeningDialog {
public:
    explicit CDlgImportDB(QWidget* parent = nullptr);

    // The reader must be open on the file (TextImport::Open). Positions it
    // on the first record and builds the rows from it.
    void SetData(const std::string& fileName, const std::string& secondName, int32_t fieldCount,
                 int32_t delimiter);
    // Entry f of order: the 1-based file column that feeds field f + 1, 0
    // for none.
    void GetData(uint16_t* order, int32_t* delimiter) const;
    ImportOptions Record() const;

    CImportFieldListBox* FieldList() const { return list_; }
    QLineEdit* RecordToShow() const { return record_; }
    UpDownButtons* RecordSpin() const { return spin_; }
    QComboBox* Delimiter() const { return delimiterCombo_; }
    int32_t RowCount() const { return rows_; }

private:
    void Open() override;
    void BuildRows(bool fresh);
    void RefreshFromReader();

    bool initialised_ = false;
    int32_t fieldCount_ = kEntryColumnCount;
    int32_t rows_ = 0;
    std::vector<ImportEntry> left_;
    std::vector<ImportEntry> right_;
    std::string fileName_;
    std::string secondName_;
    int32_t delimiter_ = -1;
    CImportFieldListBox* list_;
    QLineEdit* record_;
    UpDownButtons* spin_;
    QComboBox* delimiterCombo_;
    QLabel* firstLabel_;
    QLabel* secondLabel_;
};
