// "Goto Page", "Insert Page" and "Delete Pages": the page numbers and
// counts of the card document's page commands. A number outside its range
// is refused on OK and the dialog stays open.
#pragma once

#include <cstdint>

#include "dialogs/record_dialog.h"

class CIntEdit;
class QComboBox;
class QLabel;
class UpDownButtons;

struct GotoPageRecord {
    int32_t page = 0;
    int32_t total = 0;
};

class CDlgGotoPage : public RecordDialog<GotoPageRecord> {
public:
    explicit CDlgGotoPage(QWidget* parent = nullptr);

    CIntEdit* Page() const { return page_; }
    QLabel* Total() const { return total_; }
    UpDownButtons* Spin() const { return spin_; }
    void accept() override;

protected:
    void Open() override;

private:
    CIntEdit* page_;
    QLabel* total_;
    UpDownButtons* spin_;
};

// Where new pages go.
enum : int16_t {
    kInsertAtBeginning = 0,
    kInsertBeforePage = 1,
    kInsertAfterPage = 2,
    kInsertAtEnd = 3,
};

struct InsertPageRecord {
    int32_t count = 0;
    int32_t pageNumber = 0;
    int16_t place = 0;
};

class CDlgInsertPage : public RecordDialog<InsertPageRecord> {
public:
    explicit CDlgInsertPage(QWidget* parent = nullptr);

    CIntEdit* Count() const { return count_; }
    CIntEdit* PageNumber() const { return pageNumber_; }
    QComboBox* Place() const { return place_; }
    void accept() override;

protected:
    void Open() override;

private:
    void PlaceChosen(int index);

    CIntEdit* count_;
    CIntEdit* pageNumber_;
    QComboBox* place_;
    UpDownButtons* spin_;
};

struct DeletePagesRecord {
    int32_t fromPage = 0;
    int32_t thruPage = 0;
    int32_t total = 0;
};

class CDlgDeletePages : public RecordDialog<DeletePagesRecord> {
public:
    explicit CDlgDeletePages(QWidget* parent = nullptr);

    CIntEdit* From() const { return from_; }
    CIntEdit* Thru() const { return thru_; }
    void accept() override;

protected:
    void Open() override;

private:
    CIntEdit* from_;
    CIntEdit* thru_;
};
