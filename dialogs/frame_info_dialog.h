// "Frame Information": the border of the selected frames (style, pattern,
// colour, shade, width and the sides it runs along), with a sample that
// also shows the frames' fill.
#pragma once

#include <cstdint>

#include "dialogs/object_dialog_kit.h"
#include "dialogs/record_dialog.h"

class CColorComboBox;
class CStyleListBox;
class ColorTable;
class QCheckBox;
class QComboBox;

struct FrameInfoRecord {
    int16_t borderStyle = 0;  // 1-based
    int16_t colour = 0;
    int16_t width = 0;  // 0-100
    int16_t shade = 0;  // percent
    uint8_t above = 0;
    uint8_t below = 0;
    uint8_t left = 0;
    uint8_t right = 0;
    int16_t borderPattern = 0;
    int16_t fillColour = 0;  // the rest of the fill only feeds the sample
    int16_t background = 0;
    int16_t fillShade = 0;
    int16_t fillPattern = 0;
    uint8_t opaque = 0;
    uint8_t sidesAllowed = 0;  // 0: the frame kind has only a whole border
    int16_t spare[2] = {};
    uint32_t flags = 0;
    const ColorTable* colorTable = nullptr;
};

class CFramePreviewWnd : public SamplePane {
public:
    explicit CFramePreviewWnd(QWidget* parent);
    void SetData(FrameInfoRecord* record, const ColorTable* table);

protected:
    void Draw(Dc* dc, const IntRect& client) override;

private:
    FrameInfoRecord* record_ = nullptr;
    const ColorTable* table_ = nullptr;
};

class CDlgFrameInfo : public RecordDialog<FrameInfoRecord> {
public:
    explicit CDlgFrameInfo(QWidget* parent = nullptr);

    CStyleListBox* Styles() const { return styles_; }
    CStyleListBox* Patterns() const { return patterns_; }
    CColorComboBox* Colour() const { return colour_; }
    QComboBox* Shade() const { return shade_; }
    QComboBox* LineWidth() const { return width_; }
    QCheckBox* Above() const { return above_; }
    QCheckBox* Below() const { return below_; }
    QCheckBox* Left() const { return left_; }
    QCheckBox* Right() const { return right_; }
    CFramePreviewWnd* Sample() const { return sample_; }

private:
    void Open() override;
    void SideClicked(QCheckBox* box, uint8_t* side, uint32_t bit);

    uint32_t shown_ = 0;
    bool ready_ = false;
    CStyleListBox* styles_;
    CStyleListBox* patterns_;
    CColorComboBox* colour_;
    QComboBox* shade_;
    QComboBox* width_;
    QCheckBox* above_;
    QCheckBox* below_;
    QCheckBox* left_;
    QCheckBox* right_;
    CFramePreviewWnd* sample_;
};
