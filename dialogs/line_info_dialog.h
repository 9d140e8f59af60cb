// "Line Information": style, pattern, colour, shade, width, end caps, end
// points and the Printable, Locked and Visible flags of the selected lines.
// The caps are shown and chosen on CLineCapsWnd, which draws the line as it
// will look; a click on its left or right half opens a menu of the seven
// cap shapes for that end.
#pragma once

#include <cstdint>

#include "dialogs/measure_fields.h"
#include "dialogs/object_dialog_kit.h"
#include "dialogs/record_dialog.h"
#include "platform/gdi_types.h"
#include "typography/color_table.h"

class CColorComboBox;
class CFloatEdit;
class CStyleListBox;
class IconMenu;
class QCheckBox;
class QComboBox;

struct LineInfoRecord {
    int32_t borderStyle = 0;  // 1-based
    int32_t pattern = 0;
    int32_t leftCap = 0;  // 0-6
    int32_t rightCap = 0;
    int32_t colour = 0;
    int32_t shade = 0;  // percent
    int32_t width = 0;  // 0-100
    int32_t printable = 0;  // 0 off, 1 on, 2 mixed
    int32_t locked = 0;
    int32_t visible = 0;
    double leftAcross = 0.0;  // points
    double leftDown = 0.0;
    double rightAcross = 0.0;
    double rightDown = 0.0;
    int32_t units = 0;
    int32_t unused = 0;
    int32_t endPointLock = 0;  // above 1: the right end point stays
    uint32_t flags = 0;
};

// Command ids of the cap menus' items, one per cap shape.
enum : uint32_t {
    kCapCommandFirst = 33314,
    kCapCommandLast = 33320,
};

class CLineCapsWnd : public SamplePane {
    Q_OBJECT

public:
    explicit CLineCapsWnd(QWidget* parent);

    // The two halves that choose the ends, and the colours.
    void Setup(const IntRect& leftArea, const IntRect& rightArea, const ColorTable* table);
    void SetData(const LineInfoRecord* record);
    const LineInfoRecord& Data() const { return record_; }
    const IntRect& LeftArea() const { return left_; }
    const IntRect& RightArea() const { return right_; }

Q_SIGNALS:
    // "Caps Clicked": where (screen coordinates) and which end.
    void CapsClicked(QPoint screenPoint, bool leftEnd);

protected:
    void Draw(Dc* dc, const IntRect& client) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    LineInfoRecord record_;
    IntRect left_;
    IntRect right_;
    QPoint lastClick_;
    const ColorTable* table_ = nullptr;
    LogFont font_;
};

class CDlgLineInfo : public RecordDialog<LineInfoRecord> {
public:
    explicit CDlgLineInfo(QWidget* parent = nullptr);

    void SetColorTable(const ColorTable& table) { table_ = table; }

    CStyleListBox* Styles() const { return styles_; }
    CStyleListBox* Patterns() const { return patterns_; }
    CColorComboBox* Colour() const { return colour_; }
    QComboBox* Shade() const { return shade_; }
    QComboBox* LineWidth() const { return width_; }
    QCheckBox* Printable() const { return printable_; }
    QCheckBox* Locked() const { return locked_; }
    QCheckBox* Visible() const { return visible_; }
    QComboBox* Units() const { return units_; }
    CFloatEdit* LeftAcross() const { return leftAcross_; }
    CFloatEdit* LeftDown() const { return leftDown_; }
    CFloatEdit* RightAcross() const { return rightAcross_; }
    CFloatEdit* RightDown() const { return rightDown_; }
    CLineCapsWnd* Caps() const { return caps_; }
    IconMenu* LeftCapMenu() const { return leftMenu_; }
    IconMenu* RightCapMenu() const { return rightMenu_; }

    // Opens the cap menu of an end at a screen point, the end's cap checked.
    void OpenCapMenu(QPoint screenPoint, bool leftEnd);
    // A cap menu's command: the cap of the end whose menu is open.
    bool CapCommand(uint32_t id);

    void accept() override;

private:
    void Open() override;
    void UpdatePane();
    void UnitsChosen(int index);
    void BoxClicked(QCheckBox* box, uint32_t bit);

    ColorTable table_;
    MeasureFields fields_;
    uint32_t shown_ = 0;
    bool ready_ = false;
    int32_t menuEnd_ = 0;  // 0 none, 1 left, 2 right
    CStyleListBox* styles_;
    CStyleListBox* patterns_;
    CColorComboBox* colour_;
    QComboBox* shade_;
    QComboBox* width_;
    QCheckBox* printable_;
    QCheckBox* locked_;
    QCheckBox* visible_;
    QComboBox* units_;
    CFloatEdit* leftAcross_;
    CFloatEdit* leftDown_;
    CFloatEdit* rightAcross_;
    CFloatEdit* rightDown_;
    CLineCapsWnd* caps_;
    IconMenu* leftMenu_;
    IconMenu* rightMenu_;
};

// The picture strip of a cap menu: seven 25 x 20 cells stacked downward,
// cap i drawn on the left (or right) end of a short line in cell i.
QImage CapMenuStrip(bool leftEnd);
