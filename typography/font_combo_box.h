// CFontComboBox: the font name combo box of the text bar and of the font
// dialogs. It lists a FontList, each item drawn with the mark of its font
// technology and its face name, taken from the list by the item's index.
#pragma once

#include <cstdint>

#include <QComboBox>

#include "typography/font_item_painter.h"

class FontList;

class CFontComboBox : public QComboBox {
public:
    explicit CFontComboBox(QWidget* parent = nullptr);

    // The list to show and the four mark bitmaps (TrueType and device, each
    // mark and silhouette). False when a bitmap is missing; the items then
    // show their names alone.
    bool Initialize(const FontList* list, int32_t trueTypeMarkId, int32_t trueTypeSilhouetteId,
                    int32_t deviceMarkId, int32_t deviceSilhouetteId);
    // One item per record of the list; the drop-down is made as wide as the
    // widest face name and a scroll bar.
    void FillFontList();

    const FontList* List() const { return list_; }
    const FontMarkBitmaps& Marks() const { return marks_; }
    int32_t DroppedWidth() const { return droppedWidth_; }

    // Draws item `index` into rect as the box shows it.
    void DrawFontItem(Dc* dc, const IntRect& rect, int32_t index, bool selected, bool focused) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const FontList* list_ = nullptr;
    FontMarkBitmaps marks_;
    int32_t droppedWidth_ = 0;
};
