// The two lists of label types: CLabelListBox, the list of the List of
// Labels dialog, which also reorders the table when a label type is dragged
// up or down, and CLabelTypeComboBox, the drop-down of the Label Type
// dialog.
//
// The items hold nothing of their own: item i always draws the name of
// record i of the attached table, so every change goes to the table first
// and the list only follows it.
#pragma once

#include <cstdint>

#include <QComboBox>
#include <QListWidget>

#include "records/label_stock.h"

class CDBLabel;

class CLabelListBox : public QListWidget {
public:
    explicit CLabelListBox(QWidget* parent = nullptr);

    // One item per record of the table (not owned).
    void SetLabelBase(CDBLabel* base);
    CDBLabel* LabelBase() const { return base_; }

    // Copies the selected record; its index, or -1 (nothing copied) when
    // nothing is selected or no table is attached.
    int32_t GetCurLabel(LabelTypeRecord* out) const;
    bool GetLabel(int32_t index, LabelTypeRecord* out) const;
    // False when out of range or the table refuses.
    bool UpdateLabel(int32_t index, const LabelTypeRecord& record);
    void SelectLabel(int32_t index);
    // Inserts the record after index in the table and adds an item; false,
    // with no item added, when the table refuses.
    bool InsertLabel(const LabelTypeRecord& record, int32_t index);
    bool DeleteLabel(int32_t index);
    // Sorts the table by name; the record that was selected stays selected.
    void SortLabels();

    bool IsDragging() const { return dragging_; }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void Refill();

    CDBLabel* base_ = nullptr;
    bool ready_ = false;
    int32_t dragSource_ = -1;
    int32_t dragCurrent_ = -1;
    bool dragging_ = false;
};

class CLabelTypeComboBox : public QComboBox {
public:
    explicit CLabelTypeComboBox(QWidget* parent = nullptr);

    void SetLabelBase(CDBLabel* base);
    CDBLabel* LabelBase() const { return base_; }
    // Copies the selected record; its index, or -1.
    int32_t GetCurLabel(LabelTypeRecord* out) const;

private:
    CDBLabel* base_ = nullptr;
    bool ready_ = false;
};

// The height of an item of either list, in pixels.
constexpr int kLabelListItemHeight = 20;
