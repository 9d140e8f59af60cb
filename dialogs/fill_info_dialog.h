// "Fill Information": the interior fill of the selected frames (pattern,
// colour, background, shade, opaque or clear), with a sample.
#pragma once

#include <cstdint>

#include "dialogs/object_dialog_kit.h"
#include "dialogs/record_dialog.h"

class CColorComboBox;
class CStyleListBox;
class ColorTable;
class QComboBox;
class QRadioButton;

struct FillInfoRecord {
    int32_t pattern = 0;
    int32_t colour = 0;
    int32_t background = 0;
    int32_t shade = 0;  // percent
    int32_t unused = 0;
    int32_t opaque = 0;
    uint32_t flags = 0;
    const ColorTable* colorTable = nullptr;  // the document's, not owned
};

class CFillPreviewWnd : public SamplePane {
public:
    explicit CFillPreviewWnd(QWidget* parent);
    void SetData(FillInfoRecord* record, const ColorTable* table);

protected:
    void Draw(Dc* dc, const IntRect& client) override;

private:
    FillInfoRecord* record_ = nullptr;
    const ColorTable* table_ = nullptr;
};

class CDlgFillInfo : public RecordDialog<FillInfoRecord> {
public:
    explicit CDlgFillInfo(QWidget* parent = nullptr);

    CStyleListBox* Patterns() const { return patterns_; }
    CColorComboBox* Colour() const { return colour_; }
    CColorComboBox* Background() const { return background_; }
    QComboBox* Shade() const { return shade_; }
    QRadioButton* Opaque() const { return opaque_; }
    QRadioButton* Clear() const { return clear_; }
    CFillPreviewWnd* Sample() const { return sample_; }

private:
    void Open() override;
    void VisibilityClicked(bool clear);

    uint32_t shown_ = 0;
    bool ready_ = false;
    CStyleListBox* patterns_;
    CColorComboBox* colour_;
    CColorComboBox* background_;
    QComboBox* shade_;
    QRadioButton* opaque_;
    QRadioButton* clear_;
    CFillPreviewWnd* sample_;
};
