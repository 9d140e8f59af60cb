// CToolBarDraw: the text tool bar: the font name and size combos among the
// text format buttons. Choosing a font or a size becomes a command to the
// active window with the choice (CFontChoosen) handed over with it.
#pragma once

#include <cstdint>
#include <string>

#include <QToolBar>

#include "app/tool_bar_db.h"

class CFontComboBox;
class FontList;
class FontSizeComboBox;

class CToolBarDraw : public QToolBar {
public:
    // Bits of ShowFont's which.
    enum : int32_t {
        kShowFont = 2,
        kShowSize = 4,
        kShowBold = 8,
        kShowItalic = 16,
        kShowUnderline = 32,
    };

    explicit CToolBarDraw(QWidget* parent = nullptr);

    // Lays the bar out from its resource over the font list; false when a
    // control cannot be made. Both combos start disabled.
    bool Create(int32_t resourceId, const FontList* fonts, BarCommandSink sink);
    // Fills the name combo from the font list, selecting its first font,
    // and the size list.
    void InitCombos();
    void EnableFontCombos(bool enable);

    // Shows a font (index into the list, -1 or -1111 for none), a size
    // (-1 or -1111 for none) and the style buttons, as which asks.
    void ShowFont(int32_t which, int32_t fontIndex, int32_t size, bool bold, bool italic, bool underline);
    // Checks the button of alignment 1-4 (none for other values).
    void ShowAlignment(int32_t alignment);
    // Single Spacing is checked exactly for spacing 3, Double for 4.
    void ShowSpacing(int32_t spacing);

    // The bar's current choice; the size from the edit field or from the
    // selected list entry.
    void GetFontChoice(CFontChoosen* out, bool fromEditField) const;

    // Around a rebuild of the font list: the same face and size are shown
    // again when the face is still there.
    void SaveFontSelection();
    void RestoreFontSelection();

    CFontComboBox* NameCombo() const { return name_; }
    FontSizeComboBox* SizeCombo() const { return size_; }
    QAction* Button(uint32_t id) const;

private:
    void OnFontNameChange();
    // Shows the size (none when not above 0) and keeps it to show again.
    void ShowSize(int32_t size);
    // Enter in the size box: the size typed applies, or a beep refuses it
    // and the box shows the size it showed.
    void OnSizeEntered();
    void FillSizeList(int32_t fontIndex);
    void SendChoice(uint32_t id, bool fromEditField);

    const FontList* fonts_ = nullptr;
    BarCommandSink sink_;
    CFontComboBox* name_ = nullptr;
    FontSizeComboBox* size_ = nullptr;
    // The selection kept across a font-list rebuild.
    int32_t savedNameIndex_ = -1;
    int32_t savedSizeIndex_ = -1;
    char savedFace_[32] = {};
    uint32_t savedType_ = 0;
    int32_t savedSize_ = 0;
    int32_t shownSize_ = -1;
};
