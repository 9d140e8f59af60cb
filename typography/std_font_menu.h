// StdFontMenu: the font menu. In its list form it holds one item per font
// of the program's font list, drawn with the font's mark and name; in its
// placeholder form it holds a single item, and showing it opens the
// program's scrolling font list in its place (typography/font_menu_popup.h).
#pragma once

#include <cstdint>

#include <QImage>

#include "typography/font_item_painter.h"
#include "typography/font_menu_popup.h"
#include "typography/owner_draw_menu.h"

class StdFontMenu : public OwnerDrawMenu {
    Q_OBJECT

public:
    static constexpr int32_t kItemHeight = 19;

    explicit StdFontMenu(QWidget* parent = nullptr);

    // The list form: one item per font (at most maxItems), ids from
    // firstId. False, with nothing made, when a bitmap is missing.
    bool CreateFontList(int32_t trueTypeMarkId, int32_t trueTypeSilhouetteId, int32_t deviceMarkId,
                        int32_t deviceSilhouetteId, int32_t checkId, uint32_t firstId, int32_t maxItems);
    // The placeholder form: one item sized for the font list.
    bool CreateFontMenu(uint32_t commandId, int32_t value1, int32_t value2);

    bool IsPlaceholder() const { return placeholder_; }
    // The font of this list index is shown checked (-1: none).
    void SetCurrentIndex(int32_t index);
    int32_t CurrentIndex() const { return current_; }

Q_SIGNALS:
    // A font was chosen, in either form.
    void FontChosen(const FontChoice& choice);

protected:
    void DrawItem(const MenuItemDraw& item) override;
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool Tracking() const;
    void Finish(FontListTracker::Outcome outcome);
    void CloseAll();

    FontMarkBitmaps marks_;
    QImage check_;
    uint32_t firstId_ = 0;
    int32_t count_ = 0;
    bool placeholder_ = false;
    int32_t value1_ = 0;
    int32_t value2_ = 0;
    int32_t current_ = -1;
};
