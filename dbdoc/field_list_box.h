// CFieldListBox: the owner-drawn list in which the Data Entry Options sheet
// orders the form's fields and the Export and Report dialogs order the
// fields they write. Each row shows the field of an order entry (1-based
// field numbers; a negative entry is a skipped field, drawn in red whether
// selected or not). Dragging moves the field one place at a time as the
// selection follows the pointer; double-clicking skips or restores it. The
// entries belong to the page or dialog and are changed in place.
#pragma once

#include <cstdint>

#include <QFont>
#include <QListWidget>
#include <QStringList>

class CFieldListBox : public QListWidget {
public:
    explicit CFieldListBox(QWidget* parent = nullptr);
    // Keeps names and order (neither is copied), adds count placeholder
    // rows and takes the italic drawing font from the list's own.
    void Init(int32_t count, const QStringList* names, int16_t* order);
    // What a drag does as the selection reaches a row: the dragged entry is
    // exchanged with each neighbour on the way, so it passes every row.
    void DragTo(int32_t row);
    void ToggleSkip(int32_t row);
    int32_t Count() const { return count_; }
    QString RowText(int32_t row) const;
    bool RowSkipped(int32_t row) const;
    const QFont& DrawingFont() const { return font_; }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void Redraw(int32_t row);

    int32_t dragSource_ = -1;
    int32_t dragCurrent_ = -1;
    bool dragging_ = false;
    int32_t count_ = 0;
    const QStringList* names_ = nullptr;
    int16_t* order_ = nullptr;
    QFont font_;
};
