// "Goto Page", "Insert Page" and "Delete Pages": the page numbers and
// counts of the card document's page commands. A number outside its range
// is refused on OK and the dialog stays open.
#pragma once

#include <cstdint>

#include <QDialog>

class CIntEdit;
class QComboBox;
class QLabel;
class UpDownButtons;

struct GotoPageRecord {
    int32_t page = 0;
    int32_t total = 0;
};

class CDlgGotoPage : public QDialog {
public:
    explicit CDlgGotoPage(QWidget* parent = nullptr);
    void SetRecord(const GotoPageRecord& record) { record_ = record; }
    const GotoPageRecord& Record() const { return record_; }
    int32_t DoModal();

    CIntEdit* Page() const { return page_; }
    QLabel* Total() const { return total_; }
    UpDownButtons* Spin() const { return spin_; }
    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    GotoPageRecord record_;
    bool opened_ = false;
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

class CDlgInsertPage : public QDialog {
public:
    explicit CDlgInsertPage(QWidget* parent = nullptr);
    void SetRecord(const InsertPageRecord& record) { record_ = record; }
    const InsertPageRecord& Record() const { return record_; }
    int32_t DoModal();

    CIntEdit* Count() const { return count_; }
    CIntEdit* PageNumber() const { return pageNumber_; }
    QComboBox* Place() const { return place_; }
    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void PlaceChosen(int index);

    InsertPageRecord record_;
    bool opened_ = false;
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

class CDlgDeletePages : public QDialog {
public:
    explicit CDlgDeletePages(QWidget* parent = nullptr);
    void SetRecord(const DeletePagesRecord& record) { record_ = record; }
    const DeletePagesRecord& Record() const { return record_; }
    int32_t DoModal();

    CIntEdit* From() const { return from_; }
    CIntEdit* Thru() const { return thru_; }
    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    DeletePagesRecord record_;
    bool opened_ = false;
    CIntEdit* from_;
    CIntEdit* thru_;
};
