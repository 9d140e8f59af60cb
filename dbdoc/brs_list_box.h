// CBrsListBox: the record list of the database browser. One line per
// record of the selection, in index order, showing the browse field. Only
// the visible rows are read, through the data file and its record cache;
// a window of records around them is kept preloaded. A click or a drag
// picks a row (with automatic scrolling while the button is held outside
// the list), and every such pick is reported through the selection
// callback.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include <QFont>
#include <QWidget>

class CDBDocument;
class DataFile;
class QScrollBar;
class QTimer;

class CBrsListBox : public QWidget {
public:
    explicit CBrsListBox(QWidget* parent = nullptr);
    ~CBrsListBox() override;

    void SetDocument(CDBDocument* document);
    // Called with the selected row whenever the user picks one.
    void SetSelChange(std::function<void(int32_t row)> callback) { selChange_ = std::move(callback); }

    void Initialise(int32_t rowCount, bool tabStop);
    void SetRowCount(int32_t count, bool repaint);
    // The previous selection; -2 when the row had to be clamped.
    int32_t SetSelection(int32_t row);
    void EnsureVisible(int32_t row);
    int32_t RowFromPoint(int32_t x, int32_t y) const;
    bool GetRowRect(int32_t row, QRect* rect) const;
    void PaintRow(int32_t row) { update(RowRect(row)); }
    void RedrawAll() { update(); }

    // What the row shows: the browse field of its record.
    QString RowText(int32_t row);
    int32_t RowCount() const { return rowCount_; }
    int32_t Selection() const { return selected_; }
    int32_t TopRow() const { return top_; }
    int32_t VisibleRows() const { return visible_; }
    int32_t RowHeight() const { return rowHeight_; }
    bool AutoScrolling() const { return timerInterval_ != 0; }
    int32_t AutoScrollInterval() const { return timerInterval_; }
    bool AutoScrollUp() const { return scrollUp_; }

    // The scroll codes of a vertical scroll bar.
    enum ScrollCode { kLineUp, kLineDown, kPageUp, kPageDown, kThumb, kTop, kBottom };
    void Scroll(ScrollCode code, int32_t position = 0);
    // One tick of the drag's automatic scroll.
    void AutoScrollTick();
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QRect RowRect(int32_t row) const;
    QRect ListArea() const;
    void Layout();
    void SetTop(int32_t top);
    void UpdateScrollBar();
    void StopTimer();
    void StartTimer(bool up, int32_t interval);
    void PrimeCache();
    QString ReadRowText(int32_t row, int32_t browseField);
    // The texts of the visible rows, or none when the database may not be
    // read. What reading them said is shown after the paint, and a
    // database found damaged is then handed to its document.
    std::vector<QString> ReadVisibleRows();
    void Notify();

    CDBDocument* document_ = nullptr;
    DataFile* data_ = nullptr;
    std::function<void(int32_t)> selChange_;
    int32_t cacheFirst_ = -1;
    int32_t cacheLast_ = -1;
    QFont font_;
    int32_t rowCount_ = 0;
    int32_t selected_ = -1;
    int32_t top_ = -1;
    int32_t visible_ = 0;
    bool partial_ = false;
    int32_t rowHeight_ = 16;
    bool scrollUp_ = false;
    int32_t timerInterval_ = 0;
    bool tabStop_ = false;
    bool initialised_ = false;
    bool dragging_ = false;
    QScrollBar* bar_ = nullptr;
    QTimer* timer_ = nullptr;
};
