// "Paragraph Info": indents, leading, spacing, keep options and alignment
// of the paragraphs of the text selection, shown in the document's unit.
#pragma once

#include <cstdint>

#include "dialogs/measure_fields.h"
#include "dialogs/record_dialog.h"

class CFloatEdit;
class QCheckBox;
class QComboBox;

enum : int32_t {
    kParaAlignNone = 0,
    kParaAlignLeft = 1,
    kParaAlignCenter = 2,
    kParaAlignRight = 3,
    kParaAlignJustified = 4,
};

// Copied into the dialog and out of it as one block.
struct ParagraphInfoRecord {
    double leftIndent = 0.0;  // points
    double rightIndent = 0.0;
    double firstLine = 0.0;
    double leading = 0.0;
    double spaceBefore = 0.0;
    double spaceAfter = 0.0;
    int32_t keepWithNext = 0;
    int32_t keepLinesTogether = 0;
    int32_t units = 0;
    int32_t alignment = 0;
};
static_assert(sizeof(ParagraphInfoRecord) == 64);

class CDlgParagraphInfo : public RecordDialog<ParagraphInfoRecord> {
public:
    explicit CDlgParagraphInfo(QWidget* parent = nullptr);

    // By control id: 1259 left indent, 1260 first line, 1261 right indent,
    // 1262 leading, 1263 space before, 1264 space after.
    CFloatEdit* Edit(int32_t controlId) const;
    QCheckBox* KeepWithNext() const { return keepWithNext_; }
    QCheckBox* KeepLinesTogether() const { return keepLines_; }
    QComboBox* Alignment() const { return alignment_; }
    QComboBox* Units() const { return units_; }

    void accept() override;

protected:
    void Open() override;

private:
    void UnitsChosen(int index);

    MeasureFields fields_;
    CFloatEdit* edits_[6];
    QCheckBox* keepWithNext_;
    QCheckBox* keepLines_;
    QComboBox* alignment_;
    QComboBox* units_;
};
