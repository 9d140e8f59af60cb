// The second "Quick Card Specification": a quick card as an ordered list of
// items (database fields and captions), each with its own spacing, line
// break, font size, style and alignment, and a preview of the selected
// item. The list reorders by dragging and toggles line breaks by
// double-clicking.
//
// The dialog works on its own copy of the caller's quick-card block (or a
// new empty one) and hands the edited block over on GetItem.
#pragma once

#include <cstdint>
#include <functional>

#include <QListWidget>
#include <QWidget>

#include "dialogs/record_dialog.h"
#include "foundation/handle.h"
#include "foundation/int_geometry.h"
#include "records/preferences.h"

class CFloatEdit;
class Dc;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class SpinSteps;

// What the list tells its dialog.
enum : int32_t {
    kQuickCardListReordered = 1,
    kQuickCardListNewLineToggled = 2,
};

// The words of the caller's record this dialog reads.
enum : size_t {
    kQuickCardUnitsWord = 2,
};

class CQuickCardListBox : public QListWidget {
public:
    explicit CQuickCardListBox(QWidget* parent = nullptr);
    // The block whose items the rows show; the dialog keeps it.
    void SetBlock(Handle* block) { block_ = block; }
    void OnMessage(std::function<void(int32_t)> handler) { message_ = std::move(handler); }
    // One row per item of the block.
    void Fill();
    QString RowText(int32_t row) const;
    bool RowStartsLine(int32_t row) const;
    bool Dragging() const { return dragging_; }

    // What a drag does as the pointer reaches a row: the dragged item moves
    // there and stays selected.
    void DragTo(int32_t row);
    void ToggleNewLine(int32_t row);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    Handle* block_ = nullptr;
    std::function<void(int32_t)> message_;
    bool dragging_ = false;
    int32_t dragSource_ = -1;
    int32_t dragTarget_ = -1;
};

class CQuickCardItemWnd : public QWidget {
public:
    explicit CQuickCardItemWnd(QWidget* parent = nullptr);
    ~CQuickCardItemWnd() override;
    // A copy of the item (none: n out of range).
    void ShowItem(Handle block, int32_t n);
    void Draw(Dc* dc, const IntRect& client) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Handle shown_ = nullptr;  // a block holding the one item shown
};

class CDlgQuickCardLayout : public OpeningDialog {
public:
    explicit CDlgQuickCardLayout(QWidget* parent = nullptr);
    ~CDlgQuickCardLayout() override;

    // Keeps the index, copies the record and takes a copy of its block (a
    // new block when it has none valid). Without a record: a new block and
    // the second and third settings words 1.
    void Init(int32_t fieldIndex, const QuickCardItem* record);
    // The record's own block is freed; the record then holds the dialog's
    // words and owns the dialog's block.
    void GetItem(QuickCardItem* record);

    Handle Block() const { return block_; }
    CQuickCardListBox* List() const { return list_; }
    CQuickCardItemWnd* Preview() const { return preview_; }
    QComboBox* Units() const { return units_; }
    QComboBox* FieldCombo() const { return fields_; }
    QComboBox* FontSize() const { return sizes_; }
    CFloatEdit* HorizontalSpace() const { return hSpace_; }
    CFloatEdit* VerticalSpace() const { return vSpace_; }
    SpinSteps* HorizontalSpin() const { return hSpin_; }
    SpinSteps* VerticalSpin() const { return vSpin_; }
    QCheckBox* NewLine() const { return newLine_; }
    QCheckBox* Auto() const { return auto_; }
    QCheckBox* SkipBlankFields() const { return skipFields_; }
    QCheckBox* SkipBlankLines() const { return skipLines_; }
    QPushButton* Style(int32_t n) const { return style_[n]; }  // bold, italic, underlined
    QPushButton* Align(int32_t n) const { return align_[n]; }  // left, centre, right
    QLineEdit* Caption() const { return caption_; }
    QLabel* CaptionLabel() const { return captionLabel_; }
    QPushButton* InsertButton() const { return insert_; }
    QPushButton* DeleteButton() const { return delete_; }

protected:
    void Open() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    uint8_t* Selected() const;
    double Factor() const;
    void FillList();
    void LoadProperties();
    void EnableControls();
    void Refresh();
    void OnInsert();
    void OnDelete();
    void OnAlign(int32_t n);
    void OnStyle();
    void OnCheck(QCheckBox* box, size_t offset);
    void OnSpin(CFloatEdit* edit, int32_t delta);
    void StoreSpacing();
    void ShowSpacing();
    void OnFontSize(int index);
    void OnCaptionEdited();
    void OnListMessage(int32_t message);

    QuickCardItem record_;
    Handle block_ = nullptr;
    int32_t fieldIndex_ = 0;
    bool loading_ = false;

    CQuickCardListBox* list_;
    CQuickCardItemWnd* preview_;
    QComboBox* units_;
    QComboBox* fields_;
    QComboBox* sizes_;
    CFloatEdit* hSpace_;
    CFloatEdit* vSpace_;
    SpinSteps* hSpin_;
    SpinSteps* vSpin_;
    QCheckBox* newLine_;
    QCheckBox* auto_;
    QCheckBox* skipFields_;
    QCheckBox* skipLines_;
    QCheckBox* showPreview_;
    QPushButton* style_[3];
    QPushButton* align_[3];
    QLineEdit* caption_;
    QLabel* captionLabel_;
    QPushButton* insert_;
    QPushButton* delete_;
};
