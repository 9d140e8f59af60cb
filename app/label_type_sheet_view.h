// The sheet the label dialogs show: the paper scaled into the window, its
// printable area, and the cards the label type places on it.
#pragma once

#include <QWidget>

#include "app/label_stock.h"
#include "foundation/int_geometry.h"

class LabelSheetView : public QWidget {
public:
    explicit LabelSheetView(QWidget* parent = nullptr);

    // The paper in points and its printable area within it.
    void SetSheetSize(IntSize paper, const IntRect* printable);
    // Null shows the sheet without cards.
    void SetLabelType(const LabelTypeRecord* record);
    const LabelTypeRecord& LabelType() const { return label_; }
    IntSize SheetSize() const { return IntSize{sheet_.right - sheet_.left, sheet_.bottom - sheet_.top}; }
    const IntRect& Printable() const { return printable_; }
    // Repaints at once.
    void Redraw();

    // Where card (column, row) is drawn, in the widget's pixels; false when
    // it lies off the sheet.
    bool GetCellRect(int column, int row, QRect* out) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void Layout();

    IntRect sheet_{0, 0, 210, 297};
    IntRect printable_{0, 0, 197, 285};
    QRect sheetImage_;
    QRect printableImage_;
    double scale_ = 1.0;
    LabelTypeRecord label_;
    bool labelSet_ = false;
};
