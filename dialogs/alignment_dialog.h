// The "Alignment" dialog (Object > Align Object): lines the selected frames
// up horizontally by their left sides, centres or right sides and
// vertically by their top sides, centres or bottom sides, against the
// extreme frames of the selection or against the first selected frame. A
// preview shows the card with every selected frame's outline where the
// alignment would put it.
//
// The card document fills an AlignSelection from its selection tool, runs
// the dialog and, after OK, moves each frame by its entry's offset. The
// offsets are in preview pixels scaled back by the caller; the entries keep
// the selection's order.
#pragma once

#include <cstdint>
#include <vector>

#include <QWidget>

#include "dialogs/record_dialog.h"
#include "foundation/int_geometry.h"

class QButtonGroup;
class QCheckBox;
class Dc;
class CDlgAlignment;

// How a line frame runs across its bounds, for its outline in the preview.
enum class AlignLineSlope : uint8_t {
    kFalls = 0,  // from top-left to bottom-right
    kRises = 1,  // from bottom-left to top-right
    kHorizontal = 2,
    kVertical = 3,
};

// One selected frame as the selection tool reports it.
struct AlignFrame {
    int16_t type = 0;      // frame type code
    bool grouped = false;  // it belongs to a group
    IntRect bounds;        // document units; the group's bounds for a grouped frame
    int16_t lineStyle = 1;
    AlignLineSlope slope = AlignLineSlope::kFalls;
};

struct AlignSelection {
    IntRect pageRect;  // the current page, document units
    IntPoint pageOrigin;
    int16_t currentIndex = 0;  // the current frame (the first selected one)
    int16_t leftIndex = 0;     // the frame with the smallest left
    int16_t topIndex = 0;      // the frame with the smallest top
    std::vector<AlignFrame> frames;
};

enum : int16_t {
    kAlignTypeRepeatedGroup = -1,
    kAlignTypeGrouped = 9,
};

struct AlignEntry {
    int16_t type = 0;  // frame type, 9 grouped, -1 a group already listed
    int16_t dx = 0;
    int16_t dy = 0;
    int16_t spare = 0;
    IntRect bounds;  // preview pixels, from the drawing area's corner
};

// The entries of a selection mapped into a card rectangle of the preview,
// with every group listed once.
std::vector<AlignEntry> BuildAlignEntries(const AlignSelection& selection, const IntRect& card);
// Fills in every entry's offset for the modes (0 no change, 1 left or top,
// 2 centres, 3 right or bottom; below 0 as 0).
void ComputeAlignOffsets(std::vector<AlignEntry>* entries, int32_t horizontal, int32_t vertical, bool toFirst,
                         int16_t currentIndex, int16_t leftIndex, int16_t topIndex);
// The preview's card rectangle in a client rectangle of that size: narrower
// margins on the long side of the page.
IntRect AlignCardRect(const IntRect& client, const IntRect& page);

class CAlignPreviewWnd : public QWidget {
public:
    explicit CAlignPreviewWnd(QWidget* parent = nullptr);
    void SetDialog(CDlgAlignment* dialog) { dialog_ = dialog; }
    void Draw(Dc* dc);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    CDlgAlignment* dialog_ = nullptr;
};

class CDlgAlignment : public OpeningDialog {
public:
    explicit CDlgAlignment(const AlignSelection& selection, QWidget* parent = nullptr);

    // Modes the dialog opens with (-1 leaves a group without a choice).
    void SetModes(int32_t horizontal, int32_t vertical, bool toFirst);
    int32_t HorizontalMode() const { return horizontal_; }
    int32_t VerticalMode() const { return vertical_; }
    bool ToFirstSelected() const { return toFirst_; }
    // After OK: one entry per selected frame, with its offset.
    const std::vector<AlignEntry>& Entries() const { return entries_; }

    const IntRect& CardRect() const { return card_; }
    const IntRect& DrawingArea() const { return area_; }
    // The entry drawn green: the current one with "To First Selected
    // Frame", else none (-1).
    int32_t HighlightedEntry() const;
    // Offsets for the modes as they stand.
    void UpdateOffsets();
    const AlignSelection& Selection() const { return selection_; }

    QButtonGroup* HorizontalGroup() const { return horizontalGroup_; }
    QButtonGroup* VerticalGroup() const { return verticalGroup_; }
    QCheckBox* ToFirstBox() const { return toFirstBox_; }
    CAlignPreviewWnd* Preview() const { return preview_; }

    void accept() override;

private:
    void ExchangeIn();
    void ExchangeOut();

    AlignSelection selection_;
    int32_t horizontal_ = -1;
    int32_t vertical_ = -1;
    bool toFirst_ = false;
    std::vector<AlignEntry> entries_;
    IntRect card_;
    IntRect area_;

    QButtonGroup* horizontalGroup_;
    QButtonGroup* verticalGroup_;
    QCheckBox* toFirstBox_;
    CAlignPreviewWnd* preview_;
};
