// The small dialogs of the database commands: Find One (also Find All and
// Default Card Info), Query, Search All Fields, Sorting Criteria, Name
// Custom Fields, Bulk Mail Sorting and Preferences. Each is loaded with a
// copy of what the document keeps and hands the edited copy back on OK.
// Find One and Search All Fields also run modeless, one of each for the
// whole program, and call the current database's searches themselves.
#pragma once

#include <cstdint>
#include <string>

#include <QDialog>

#include "database/database_header.h"
#include "database/field_table.h"
#include "dialogs/filtered_edit.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The 21 column names with their bracket marks.
QString ColumnFieldName(int32_t column);

class CDlgFindOne : public QDialog {
public:
    enum Mode { kFindOne = 1, kFindAll = 2, kDefaultCardInfo = 3 };
    explicit CDlgFindOne(int32_t mode = kFindOne, QWidget* parent = nullptr);
    ~CDlgFindOne() override;

    // values: 21 texts of 256 bytes; names: 6 of 32 bytes.
    void SetFields(const char values[kEntryColumnCount][256], const uint8_t* names, uint8_t dateOrder);
    void GetFields(char values[kEntryColumnCount][256]) const;
    // The document's stored find values: 21 slots of 40 bytes.
    void SetFields40(const uint8_t* values, const uint8_t* names, uint8_t dateOrder);
    void GetFields40(uint8_t* values) const;
    int32_t Mode() const { return mode_; }
    CFilteredEdit* Edit(int32_t column) const { return edits_[column]; }
    QPushButton* Button(int32_t id) const;

    // The one modeless Find One of the program; null when none is open.
    static CDlgFindOne* Open();
    // Opens it (or brings it forward) over the current database's values.
    static void ShowModeless(QWidget* parent);

    // OK and Cancel: the modeless Find One searches and goes; the others
    // end with their result.
    void accept() override;
    void reject() override;

private:
    void TakeTexts();
    void Search(int32_t direction);
    void FillFromActiveRecord();

    int32_t mode_;
    uint8_t dateOrder_ = 0;
    CFilteredEdit* edits_[kEntryColumnCount] = {};
    QLabel* labels_[6] = {};
    char values_[kEntryColumnCount][256] = {};
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QPushButton* prev_ = nullptr;
    QPushButton* next_ = nullptr;
    QPushButton* active_ = nullptr;
};

// The twelve operators of the query, in the order the header stores them.
constexpr int32_t kQueryOperatorCount = 12;
extern const char* const kQueryOperators[kQueryOperatorCount];
// The header bytes the Query dialog works on: active criteria through the
// query value.
constexpr uint32_t kQueryBlockOffset = 222;
constexpr uint32_t kQueryBlockSize = 1880;

class CDlgQuery : public QDialog {
public:
    explicit CDlgQuery(QWidget* parent = nullptr);
    void SetData(const uint8_t* block);
    void GetData(uint8_t* block);
    QComboBox* FieldCombo() const { return field_; }
    QComboBox* OperatorCombo() const { return operator_; }
    QLineEdit* ValueEdit() const { return value_; }

private:
    void OperatorChosen(int index);

    uint8_t block_[kQueryBlockSize] = {};
    QComboBox* operator_ = nullptr;
    QComboBox* field_ = nullptr;
    QLineEdit* value_ = nullptr;
};

class CDlgSearchAllFields : public QDialog {
public:
    explicit CDlgSearchAllFields(QWidget* parent = nullptr);
    ~CDlgSearchAllFields() override;
    void SetData(const uint8_t* header);
    void GetData(uint8_t* header) const;
    QLineEdit* TextEdit() const { return text_; }
    QPushButton* SearchButton() const { return search_; }

    static CDlgSearchAllFields* Open();
    static void ShowModeless(QWidget* parent);

protected:
    void accept() override;
    void reject() override;

private:
    int32_t kind_ = 1;
    QLineEdit* text_ = nullptr;
    QPushButton* search_ = nullptr;
};

class CDlgSortCriteria : public QDialog {
public:
    explicit CDlgSortCriteria(QWidget* parent = nullptr);
    void SetData(const SortSpec& order);
    void GetData(SortSpec* order) const;
    QComboBox* Combo(int32_t i) const { return combos_[i]; }
    void SetDescending(bool on);

private:
    SortSpec sortOrder_;
    QComboBox* combos_[3] = {};
    QButtonGroup* order_ = nullptr;
};

class CDlgNameCustomFields : public QDialog {
public:
    explicit CDlgNameCustomFields(QWidget* parent = nullptr);
    // Six names of 32 bytes.
    void SetNames(const uint8_t* names);
    void GetNames(uint8_t* names) const;
    QLineEdit* Edit(int32_t i) const { return edits_[i]; }

private:
    QLineEdit* edits_[6] = {};
};

class CDlgBulkMailSort : public QDialog {
public:
    explicit CDlgBulkMailSort(QWidget* parent = nullptr);
    void SetMode(int32_t mode);
    // 1 First Class, 2 Standard (A); 0 while nothing is chosen.
    int32_t GetMode() const;

private:
    QButtonGroup* group_ = nullptr;
};

class CDlgDBPreferences : public QDialog {
public:
    explicit CDlgDBPreferences(QWidget* parent = nullptr);
    // The 24-byte preferences block.
    void SetData(const uint8_t* block);
    void GetData(uint8_t* block) const;
    QCheckBox* DeleteIndexCheck() const { return deleteIndex_; }

private:
    uint8_t block_[24] = {};
    QCheckBox* deleteIndex_ = nullptr;
    QCheckBox* fastFind_ = nullptr;
    QComboBox* sortCombos_[3] = {};
    QButtonGroup* verification_ = nullptr;
};
