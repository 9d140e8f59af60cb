// CViewBrowser: the left view of a database window: the record list and,
// under it, the three numbers of the status line (current record, records
// in the browser, records in the database).
#pragma once

#include <cstdint>
#include <string>

#include <QWidget>

class CBrsListBox;
class CDBDocument;
class CTransparentStatic;

class CViewBrowser : public QWidget {
public:
    CViewBrowser(CDBDocument* document, QWidget* parent = nullptr);
    ~CViewBrowser() override;

    // Binds the list to the document and, with first set, lets the
    // document fill both views once the form is ready too.
    void RefreshRecords(bool first);
    // The document goes before the window: nothing may reach it from here
    // on.
    void DetachDocument();

    CBrsListBox* List() const { return list_; }
    CDBDocument* Document() const { return document_; }
    void SetStatus(const std::string& current, const std::string& inBrowser, const std::string& inDatabase,
                   bool redraw);
    std::string StatusText(int32_t index) const;
    // The tool tip of the status text with control id.
    static std::string StatusToolTip(int32_t controlId);

    // The list operations the document uses.
    void AddRows(int32_t count);
    void ClearRows();
    void RemoveRow();
    void SetRowCount(int32_t count);
    void SelectRow(int32_t row);
    int32_t CurrentRow() const;
    void RedrawRow(int32_t row);
    void EnsureVisible(int32_t row);
    int32_t PageSize() const;
    int32_t RowCount() const;
    void RedrawList();

    // Never narrower than the three record counters at their longest
    // (the most records a database holds): a counter cut short reads as
    // another number.
    QSize minimumSizeHint() const override;
    QSize sizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void Layout();
    // The width a counter needs for the longest number it shows.
    int32_t CounterWidth() const;

    CDBDocument* document_;
    CBrsListBox* list_ = nullptr;
    CTransparentStatic* status_[3] = {};
    bool initialised_ = false;
};

// Control ids of the three status texts.
constexpr int32_t kStatusCurrentId = 1372;
