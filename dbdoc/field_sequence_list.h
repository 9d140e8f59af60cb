// The list in which the Export and Report dialogs order the fields: each
// row shows the field of an order entry (1-based field numbers; a negative
// entry is a skipped field, drawn in red). Dragging moves the field one
// place at a time as the selection follows the pointer; double-clicking
// skips or restores it. The entries are changed in place.
#pragma once

#include <cstdint>

#include <QListWidget>
#include <QStringList>

class FieldSequenceList : public QListWidget {
public:
    explicit FieldSequenceList(QWidget* parent = nullptr);
    void Init(int32_t count, const QStringList* names, int16_t* order);
    // What a drag does as the selection reaches a row.
    void DragTo(int32_t row);
    void ToggleSkip(int32_t row);
    QString RowText(int32_t row) const;
    bool RowSkipped(int32_t row) const;
    int32_t Count() const { return count_; }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void Redraw(int32_t row);

    int32_t count_ = 0;
    const QStringList* names_ = nullptr;
    int16_t* order_ = nullptr;
    bool dragging_ = false;
    int32_t dragSource_ = -1;
};
